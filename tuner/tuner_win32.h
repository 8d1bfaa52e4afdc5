// The card maker's source filter and its tuner interface, reached through COM.
#pragma once
#include <windows.h>

// Creates the filter and asks it for the tuner interface. false on success, true when the
// program must stop (message kind 4 has been shown when the filter itself could not be made).
bool openTuner();
void releaseTunerInterface();
void releaseSourceFilter();

// Tunes the card to the current transponder; always returns false.
bool tuneOperation();
DWORD WINAPI pollThread(LPVOID);
