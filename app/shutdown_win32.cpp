#include "app/shutdown_win32.h"

#include <windows.h>

#include "core/debug_log_win32.h"
#include "core/globals_win32.h"
#include "core/settings_file_win32.h"
#include "transponders/transponder_parse_win32.h"
#include "tuner/tuner_device_win32.h"
#include "watch/watch_win32.h"
#include "window/drawing_objects_win32.h"
#include "window/skin_win32.h"

void shutdownSequence() {
  appendLogMarker("0;");
  stopWatchingForShutdown();  // "1;" to "3;" as the poll, sound and meter threads end
  deleteDrawingObjects();
  appendLogMarker("4;");
  freeSkinPixels();
  appendLogMarker("5;");
  parseTransponderText(false);  // quietly: it puts the current frequency into the settings
  appendLogMarker("6;");
  saveSettings();
  appendLogMarker("7;");
  releaseTunerInterface();
  appendLogMarker("8;");
  releaseSourceFilter();
  appendLogMarker("9;");
  CoUninitialize();
  appendLogMarker("10;");
  if (shell.backBuffer != nullptr) {
    DeleteDC(shell.backBuffer);
    shell.backBuffer = nullptr;
  }
  ReleaseDC(shell.mainWindow, shell.windowDC);
  appendLogMarker("11;");
}
