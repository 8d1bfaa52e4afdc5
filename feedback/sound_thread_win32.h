// The sound thread's entry.
#pragma once
#include <windows.h>

// Snapshots under the program's lock, plays from the sound table, pauses on the watch stop event.
DWORD WINAPI soundThread(LPVOID);
