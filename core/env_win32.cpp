#include "core/env_win32.h"

#include <windows.h>

#include "core/globals_win32.h"

namespace {

// WaitForSingleObject keeps the 100 ms read pace as Sleep did; the event is made on first use.
class Win32StopEvent final : public StopEvent {
 public:
  Win32StopEvent() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  void set() override { SetEvent(event_); }
  void reset() override { ResetEvent(event_); }
  bool isSet() override { return WaitForSingleObject(event_, 0) == WAIT_OBJECT_0; }
  HANDLE handle() const { return event_; }
  bool pause(uint32_t ms) override {
    if (event_ == nullptr) {  // no event to wait on: still keep the pace
      Sleep(ms);
      return true;
    }
    return WaitForSingleObject(event_, ms) == WAIT_TIMEOUT;
  }

 private:
  HANDLE event_;
};

class CriticalSectionLock final : public Lock {
 public:
  void enter() override { EnterCriticalSection(&shell.lock); }
  void leave() override { LeaveCriticalSection(&shell.lock); }
};

class SectionLock final : public Lock {
 public:
  SectionLock() { InitializeCriticalSection(&section_); }
  void enter() override { EnterCriticalSection(&section_); }
  void leave() override { LeaveCriticalSection(&section_); }

 private:
  CRITICAL_SECTION section_;
};

}  // namespace

namespace {
Win32StopEvent& theStopEvent() {
  static Win32StopEvent event;
  return event;
}
}  // namespace

StopEvent& watchStopEvent() { return theStopEvent(); }

void* watchStopEventHandle() { return theStopEvent().handle(); }

Lock& programLock() {
  static CriticalSectionLock lock;
  return lock;
}

Lock& drawingLock() {
  static SectionLock lock;
  return lock;
}
