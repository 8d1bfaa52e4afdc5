// Clicks, keys and list notifications of the main window.
#include "app/commands_win32.h"

#include <string>

#include "app/commands.h"
#include "app/paint_win32.h"
#include "app/shutdown_win32.h"
#include "app/user_guide.h"
#include "core/debug_log_win32.h"
#include "core/env_win32.h"
#include "core/globals.h"
#include "core/globals_win32.h"
#include "core/late_dlls_win32.h"
#include "dishcalc/calculator_win32.h"
#include "feedback/sound_mode.h"
#include "feedback/sound_table_win32.h"
#include "resources/resource_ids.h"
#include "signallog/signal_log_win32.h"
#include "transponders/transponder_edit_win32.h"
#include "transponders/transponder_lists_win32.h"
#include "tuner/tuner_device_win32.h"
#include "watch/watch_win32.h"
#include "window/hot_regions_win32.h"
#include "window/layout_win32.h"
#include "window/message_dialog.h"
#include "window/message_dialog_win32.h"

namespace {

// The pointer of the latest move or press; the add/remove halves go by its y.
int lastPointerY = 0;

void invalidateSettingsStrip() {
  const RECT strip = toRect(kSettingsStrip);
  InvalidateRect(shell.mainWindow, &strip, TRUE);
}

void cycleSoundModeAndPreview() {
  const int32_t mode = cycleSoundMode(settingsRecord, autoToneCounter, programLock());
  // While watching the sound thread picks the new mode up by itself.
  if (signalState.watch.load() == 0) playSoundModePreview(mode);
  invalidateSettingsStrip();
}

void openModal(DLGPROC procedure) {
  DialogBoxParamA(shell.instance, kDialogTemplate, shell.mainWindow, procedure, 0);
}

void onClose() { DestroyWindow(shell.mainWindow); }

void onReading() {
  writeShared(settingsRecord.readingSelector, settingsRecord.readingSelector == 0 ? 1 : 0);
  invalidateSettingsStrip();
}

void onLanguage() {
  writeShared(settingsRecord.languageIndex, nextLanguageIndex(settingsRecord.languageIndex));
  invalidateSettingsStrip();
}

void onSort() {
  if (signalState.watch.load() != 0) return;
  toggleSortOrder();
}

void onStart() {
  if (signalState.watch.load() != 0)
    stopWatching();
  else
    startWatching();
}

void onAddRemove() {
  if (signalState.watch.load() != 0) return;
  const bool ranToEnd = isAddHalf(lastPointerY) ? addTransponder() : removeTransponder();
  if (ranToEnd) loadTransponderList();
}

// The guide shipped beside the program opens without a network; the web page only stands in
// when the file has gone.
void onHelp() {
  if (showMessage(kMessageUserGuide) != kIdOk) return;
  char program[MAX_PATH];
  const DWORD length = GetModuleFileNameA(shell.instance, program, sizeof(program));
  const std::string guide = length > 0 && length < sizeof(program) ? userGuidePath(program) : std::string();
  const DWORD attributes = guide.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(guide.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  lateShellExecute(nullptr, "open", userGuideTarget(guide, exists).c_str(), nullptr, "", SW_SHOW);
}

void onWebLink() { lateShellExecute(nullptr, "open", kWebSiteAddress, nullptr, "", SW_SHOW); }

void onAbout() { showMessage(kMessageAbout, tunerNote()); }

void onSound() { cycleSoundModeAndPreview(); }

void onMinimise() { CloseWindow(shell.mainWindow); }

void onDishAlignment() { openModal(calculatorProc); }

struct ClickAction {
  HotRegion region;
  void (*action)();
};

// The first region holding the pointer decides; the order matters where regions overlap.
constexpr ClickAction kClickDispatch[] = {
    {HotRegion::Close, onClose},       {HotRegion::Reading, onReading},   {HotRegion::Language, onLanguage},
    {HotRegion::Sort, onSort},         {HotRegion::Start, onStart},       {HotRegion::AddRemove, onAddRemove},
    {HotRegion::Help, onHelp},         {HotRegion::WebLink, onWebLink},   {HotRegion::About, onAbout},
    {HotRegion::Sound, onSound},       {HotRegion::Minimise, onMinimise}, {HotRegion::DishAlignment, onDishAlignment},
};

}  // namespace

void OnLeftButtonDown(HWND window, int x, int y) {
  lastPointerY = y;
  for (const ClickAction& entry : kClickDispatch) {
    if (pointInHotRegion(entry.region, x, y)) {
      entry.action();
      return;
    }
  }
  SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void OnLeftButtonDoubleClick(HWND) {
  if (signalState.watch.load() == 1) openModal(signalLogProc);
}

void OnMouseMove(int x, int y) {
  lastPointerY = y;
  drawHoverImages(x, y);
}

void OnCommand(HWND, int id, int code) {
  if (code != CBN_CLOSEUP) return;
  if (id == IDC_LNB_LIST) {
    writeShared(settingsRecord.lnbSelection, static_cast<int32_t>(SendMessageA(controls.lnbList, CB_GETCURSEL, 0, 0)));
  } else if (id == IDC_SATELLITE_LIST) {
    selectSatellite();
    loadTransponderList();
  }
}

void OnKeyDown(HWND window, WPARAM key) {
  if (key != VK_ESCAPE) return;
  appendLogMarker("kd;");
  shutdownSequence();
  appendLogMarker("ok;");
  DestroyWindow(window);
}

void OnDestroy() {
  shutdownSequence();
  appendLogMarker("ok;");
  PostQuitMessage(0);
}
