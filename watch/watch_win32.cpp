#include "watch/watch_win32.h"

#include <windows.h>

#include "core/debug_log_win32.h"
#include "core/env_win32.h"
#include "core/globals.h"
#include "core/globals_win32.h"
#include "feedback/meter_win32.h"
#include "feedback/sound_thread_win32.h"
#include "transponders/transponder_parse_win32.h"
#include "tuner/poll_win32.h"
#include "watch/satellite_line_win32.h"
#include "watch/watch_session.h"
#include "window/status_message.h"
#include "window/status_message_win32.h"

namespace {

// Each thread's handle is kept until it has been waited for, so stop knows for certain when a
// thread has ended, even one that was slow to start.
class Win32WorkerThreads final : public WorkerThreads {
 public:
  bool start(Worker worker) override {
    HANDLE& held = handles_[static_cast<int>(worker)];
    held = CreateThread(nullptr, 0, entry(worker), nullptr, 0, nullptr);
    return held != nullptr;
  }
  void join(Worker worker) override {
    HANDLE& held = handles_[static_cast<int>(worker)];
    if (held == nullptr) return;
    WaitForSingleObject(held, INFINITE);
    CloseHandle(held);
    held = nullptr;
  }

 private:
  static LPTHREAD_START_ROUTINE entry(Worker worker) {
    switch (worker) {
      case Worker::Poll: return pollThread;
      case Worker::Sound: return soundThread;
      case Worker::Meter: return meterThread;
    }
    return nullptr;
  }
  HANDLE handles_[kWorkerCount] = {};
};

Win32WorkerThreads workerThreads;
WatchSession session(signalState, watchStopEvent(), workerThreads);

void showListsForIdle(bool idle) {
  const int show = idle ? SW_SHOWNORMAL : SW_HIDE;
  EnableWindow(controls.transponderList, idle);
  ShowWindow(controls.transponderList, show);
  EnableWindow(controls.satelliteList, idle);
  ShowWindow(controls.satelliteList, show);
  EnableWindow(controls.lnbList, idle);
}

}  // namespace

void startWatching() {
  if (!parseTransponderText(true)) return;
  tuneOperation();
  session.open();
  startSatelliteLine();
  showListsForIdle(false);
  // Painted before the meter thread draws on the same window device context: a paint still
  // pending (the settings strip just after a click) would otherwise run beside its frames, and
  // Wine then loses a clip region now and then.
  InvalidateRect(shell.mainWindow, nullptr, TRUE);
  UpdateWindow(shell.mainWindow);
  if (session.startThreads()) return;
  // The session has stopped again: idle, and the user is told rather than left with a silent window.
  stopSatelliteLine();
  showListsForIdle(true);
  showStatusForAWhile(kStatusCannotWatch);
}

// The wait takes milliseconds, so no messages are pumped meanwhile and nothing can re-enter.
void stopWatching() {
  session.requestStop();
  showStatusMessage(kStatusPleaseWait);
  for (Worker worker : kWorkerOrder) session.waitForEnd(worker);
  stopSatelliteLine();
  showListsForIdle(true);
  InvalidateRect(shell.mainWindow, nullptr, TRUE);
}

void stopWatchingForShutdown() {
  static constexpr const char* kEndedMarkers[kWorkerCount] = {"1;", "2;", "3;"};
  session.requestStop();
  for (int i = 0; i < kWorkerCount; ++i) {
    session.waitForEnd(kWorkerOrder[i]);
    appendLogMarker(kEndedMarkers[i]);
  }
  stopSatelliteLine();
}
