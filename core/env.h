// Seams between the program's logic and the system, so thread loops can run against fakes.
#pragma once
#include <cstdint>

// Time and plain sleeping (std::chrono and std::this_thread on every build); tests use a fake.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint64_t nowMs() = 0;
  virtual void sleepMs(uint32_t ms) = 0;
};

// The process's real clock.
Clock& systemClock();

// The worker threads' pauses: a wait that stop cuts short. Stop and shutdown set it, so every
// thread notices within its current pause instead of after it.
class StopEvent {
 public:
  virtual ~StopEvent() = default;
  virtual void set() = 0;
  virtual void reset() = 0;
  virtual bool isSet() = 0;
  // Waits up to ms. True when the whole time passed; false at once when the event is set.
  virtual bool pause(uint32_t ms) = 0;
};

// A manual-reset event on the standard library's condition variable (the native build's, and tests').
class ConditionStopEvent final : public StopEvent {
 public:
  ConditionStopEvent();
  ~ConditionStopEvent() override;
  void set() override;
  void reset() override;
  bool isSet() override;
  bool pause(uint32_t ms) override;

 private:
  struct State;
  State* state_;
};

// The program's one lock around the sound settings the sound thread snapshots.
class Lock {
 public:
  virtual ~Lock() = default;
  virtual void enter() = 0;
  virtual void leave() = 0;
};

class LockHolder {
 public:
  explicit LockHolder(Lock& lock) : lock_(lock) { lock_.enter(); }
  ~LockHolder() { lock_.leave(); }
  LockHolder(const LockHolder&) = delete;
  LockHolder& operator=(const LockHolder&) = delete;

 private:
  Lock& lock_;
};
