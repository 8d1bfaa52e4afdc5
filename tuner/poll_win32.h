// The tune operation and the poll thread on the tuner in use.
#pragma once
#include <windows.h>

// Tunes the tuner to the current transponder.
void tuneOperation();
// The poll thread's entry; its pauses wait on the watch stop event.
DWORD WINAPI pollThread(LPVOID);
