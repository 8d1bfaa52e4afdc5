// The meter thread's entry.
#pragma once
#include <windows.h>

// Draws each frame in the back buffer and copies the meter area to the window; pauses on the
// watch stop event.
DWORD WINAPI meterThread(LPVOID);
