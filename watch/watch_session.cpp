#include "watch/watch_session.h"

void WatchSession::open() {
  stop_.reset();
  signal_.watch.store(1);
}

void WatchSession::startThreads() {
  for (Worker worker : kWorkerOrder) threads_.start(worker);
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
