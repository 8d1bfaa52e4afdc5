// A watch session: the three worker threads that run while the signal is watched, and the
// handshake with them. Free of Windows; the threads come through a seam so tests can start
// them late, and every pause of theirs waits on the stop event.
//
// Start: the stop event is cleared and the watch flag raised (open), then the poll, sound and
// meter threads start in that order (startThreads). Stop: the watch flag drops and the stop
// event is set (requestStop), which ends every pause at once; then the threads are waited for,
// poll, sound, meter, each for as long as it exists (waitForEnd). A session's threads have all
// ended before its stop returns, so a new start never runs beside them and shutdown never
// releases the card under a running thread.
#pragma once
#include <cstdint>

#include "core/env.h"
#include "core/globals.h"

enum class Worker { Poll, Sound, Meter };
constexpr int kWorkerCount = 3;
// The order in which they start and in which stop waits for them.
constexpr Worker kWorkerOrder[kWorkerCount] = {Worker::Poll, Worker::Sound, Worker::Meter};

class WorkerThreads {
 public:
  virtual ~WorkerThreads() = default;
  // Starts the worker's thread and keeps hold of it; false when it could not be started.
  virtual bool start(Worker worker) = 0;
  // Waits, without a time limit, until the worker's thread has ended, then lets go of it.
  // Returns at once when no thread of that worker is held.
  virtual void join(Worker worker) = 0;
};

class WatchSession {
 public:
  WatchSession(SignalState& signal, StopEvent& stop, WorkerThreads& threads)
      : signal_(signal), stop_(stop), threads_(threads) {}

  bool watching() const { return signal_.watch.load() != 0; }
  // Clears the stop event and raises the watch flag.
  void open();
  // Starts the poll, sound and meter threads, in that order. When one cannot be started, stops the
  // session (the ones started have ended on return) and returns false.
  bool startThreads();
  // Drops the watch flag and sets the stop event.
  void requestStop();
  // Waits until the worker's thread has ended (after requestStop).
  void waitForEnd(Worker worker);
  // requestStop, then waits for poll, sound and meter in that order.
  void stop();

 private:
  SignalState& signal_;
  StopEvent& stop_;
  WorkerThreads& threads_;
};
