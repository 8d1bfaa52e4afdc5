// Clicks, keys and list notifications of the main window.
#include <windows.h>

#include "app/app_win32.h"
#include "app/env.h"
#include "app/globals.h"
#include "app/globals_win32.h"
#include "dishcalc/calculator_win32.h"
#include "feedback/feedback_win32.h"
#include "signallog/signal_log_win32.h"
#include "transponders/transponders_win32.h"
#include "tuner/tuner_win32.h"
#include "ui/commands_win32.h"
#include "ui/layout.h"
#include "ui/message_dialog_win32.h"
#include "ui/skin_win32.h"
#include "ui/thread_start.h"

int lastPointerX = 0;
int lastPointerY = 0;

namespace {

void invalidateSettingsStrip() { InvalidateRect(shell.mainWindow, &settingsStrip, TRUE); }

// Nobody joins the worker threads: their ends are seen through their running flags alone.
bool startThread(LPTHREAD_START_ROUTINE entry) {
  HANDLE thread = CreateThread(nullptr, 0, entry, nullptr, 0, nullptr);
  if (thread == nullptr) return false;
  CloseHandle(thread);
  return true;
}

void showListsForIdle(bool idle) {
  const int show = idle ? SW_SHOWNORMAL : SW_HIDE;
  EnableWindow(controls.transponderList, idle);
  ShowWindow(controls.transponderList, show);
  EnableWindow(controls.satelliteList, idle);
  ShowWindow(controls.satelliteList, show);
  EnableWindow(controls.lnbList, idle);
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
  const bool failed = isAddHalf(lastPointerY) ? addTransponder() : removeTransponder();
  if (!failed) loadTransponderList();
}

void onHelp() {
  if (showMessage(kMessageUserGuide) == kIdOk)
    ShellExecuteA(nullptr, "open", kUserGuideAddress, nullptr, "", SW_SHOW);
}

void onWebLink() { ShellExecuteA(nullptr, "open", kWebSiteAddress, nullptr, "", SW_SHOW); }

void onAbout() { showMessage(kMessageAbout); }

void onSound() { cycleSoundMode(); }

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
  lastPointerX = x;
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

void OnCommand(HWND, int id, int code) {
  if (code != CBN_CLOSEUP) return;
  if (id == kIdLnbList) {
    writeShared(settingsRecord.lnbSelection, static_cast<int32_t>(SendMessageA(controls.lnbList, CB_GETCURSEL, 0, 0)));
  } else if (id == kIdSatelliteList) {
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

void startWatching() {
  if (parseTransponderText(true)) return;
  if (tuneOperation()) return;
  signalState.watch.store(1);
  showListsForIdle(false);
  InvalidateRect(shell.mainWindow, nullptr, TRUE);
  const bool pollStarted = startThread(pollThread);
  const bool soundStarted = startThread(soundThread);
  const bool meterStarted = startThread(meterThread);
  // So that a stop pressed at once still finds every thread it has to wait for.
  if (pollStarted) waitUntilRaised(systemClock(), signalState.pollRunning, kThreadStartLimitMs);
  if (soundStarted) waitUntilRaised(systemClock(), signalState.soundRunning, kThreadStartLimitMs);
  if (meterStarted) waitUntilRaised(systemClock(), signalState.meterRunning, kThreadStartLimitMs);
}

void stopWatching() {
  signalState.watch.store(0);
  showStatusMessage(0);
  waitUntilClear(signalState.pollRunning);
  waitUntilClear(signalState.soundRunning);
  waitUntilClear(signalState.meterRunning);
  showListsForIdle(true);
  InvalidateRect(shell.mainWindow, nullptr, TRUE);
}

void cycleSoundMode() {
  EnterCriticalSection(&shell.lock);
  writeShared(settingsRecord.soundMode, nextSoundMode(settingsRecord.soundMode));
  autoToneCounter.store(0);
  LeaveCriticalSection(&shell.lock);
  if (signalState.watch.load() != 0) {
    invalidateSettingsStrip();
    return;
  }
  playSoundModePreview(settingsRecord.soundMode);
  invalidateSettingsStrip();
}
