// The real seams of the Win32 build that the standard library does not give.
#pragma once
#include "core/env.h"

// The one stop event of watching: a manual-reset Win32 event, set by stop and shutdown.
StopEvent& watchStopEvent();
// The same event's handle, for a wait on it beside another (the sound device's buffers).
void* watchStopEventHandle();
// The program's critical section, made at start-up and never deleted.
Lock& programLock();
// Held by whatever draws on the main window's device context or the back buffer (the paint, the hover
// images, the status messages, the meter's frames), so that a paint never runs beside a frame on the
// same contexts; never held while waiting for a thread. Made on first use and never deleted.
Lock& drawingLock();
