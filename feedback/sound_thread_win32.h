// The sound thread's entry.
#pragma once
#include <windows.h>

#include "feedback/sound_thread.h"

// Snapshots under the program's lock, plays from the sound table, pauses on the watch stop event.
DWORD WINAPI soundThread(LPVOID);
// Where the thread asks for owed cues from its next start on; set once at start-up.
void setSoundCues(CueSource* cues);
