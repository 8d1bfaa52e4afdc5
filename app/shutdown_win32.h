// The shutdown sequence: stops the worker threads and releases everything, writing a debug-log
// marker after each step so the log shows how far it came.
#pragma once

// May run more than once (Esc runs it, then WM_DESTROY again): every release skips what is gone.
void shutdownSequence();
