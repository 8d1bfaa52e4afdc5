#include "app/startup_win32.h"

#include <windows.h>

#include "app/main_window_win32.h"
#include "app/startup_trace_win32.h"
#include "core/debug_log.h"
#include "core/globals.h"
#include "core/globals_win32.h"
#include "core/program_folder_win32.h"
#include "core/settings_file_win32.h"
#include "feedback/sound_table_win32.h"
#include "transponders/transponder_lists_win32.h"
#include "window/drawing_objects_win32.h"
#include "window/layout.h"
#include "window/skin_win32.h"

namespace {

void createBackBuffer() {
  shell.backBuffer = CreateCompatibleDC(shell.windowDC);
  shell.backBufferBitmap = CreateCompatibleBitmap(shell.windowDC, kWindowWidth, kWindowHeight);
  SelectObject(shell.backBuffer, shell.backBufferBitmap);
  SetBkMode(shell.backBuffer, TRANSPARENT);
}

}  // namespace

void startupSequence() {
  CoInitialize(nullptr);
  traceStartupStep("com");
  InitializeCriticalSection(&shell.lock);
  clearSettingsPrefix(settingsRecord);
  enterProgramFolder();
  DeleteFileA(kDebugLogFile);  // no debug log of an earlier run survives a start
  loadSettings();
  traceStartupStep("settings");
  createBackBuffer();
  traceStartupStep("back-buffer");
  beginSkinPictureLoad();  // decodes while the steps below run; joined before the sequence ends
  traceStartupStep("skin");
  createWindowShapeAndHotRegions();
  traceStartupStep("shape");
  createComboBoxes();
  traceStartupStep("combo-boxes");
  createFontsAndTextState();
  createPensAndBrushes();
  setComboBoxFonts();
  fillLnbList();
  traceStartupStep("fonts-lnb");
  buildSatelliteList();
  traceStartupStep("satellites");
  loadTransponderList();
  traceStartupStep("transponders");
  loadSoundTable();
  traceStartupStep("sounds");
  finishSkinPictureLoad();  // without the picture the window draws a plain panel
  traceStartupStep("skin-joined");
}
