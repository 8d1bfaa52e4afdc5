// The tune operation and the poll thread on the card maker's tuner interface.
#pragma once
#include <windows.h>

// Tunes the card to the current transponder.
void tuneOperation();
// The poll thread's entry; its pauses wait on the watch stop event.
DWORD WINAPI pollThread(LPVOID);
