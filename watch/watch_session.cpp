#include "watch/watch_session.h"

void WatchSession::open() {
  stop_.reset();
  signal_.watch.store(1);
}

bool WatchSession::startThreads() {
  for (Worker worker : kWorkerOrder) {
    if (threads_.start(worker)) continue;
    stop();  // without all three nothing would show or sound: the ones started end again
    return false;
  }
  return true;
}

void WatchSession::requestStop() {
  signal_.watch.store(0);
  stop_.set();
}

void WatchSession::waitForEnd(Worker worker) { threads_.join(worker); }

void WatchSession::stop() {
  requestStop();
  for (Worker worker : kWorkerOrder) waitForEnd(worker);
}
