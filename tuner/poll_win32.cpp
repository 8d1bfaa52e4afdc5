// The tune operation and the poll thread on the tuner in use.
#include "tuner/poll_win32.h"

#include "core/env_win32.h"
#include "core/globals.h"
#include "tuner/poll.h"
#include "tuner/tune.h"
#include "tuner/tuner_device_win32.h"

void tuneOperation() { tuneOperation(tunerInUse(), currentTuneRequest()); }

DWORD WINAPI pollThread(LPVOID) {
  runPollThread(tunerInUse(), watchStopEvent(), signalState, currentTuneRequest);
  return 0;
}
