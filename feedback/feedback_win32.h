// Audible feedback and the signal meter.
#pragma once
#include <windows.h>

void loadSoundTable();
// Plays the preview of a newly chosen sound mode while idle (may sleep on the calling thread).
void playSoundModePreview(int soundMode);
DWORD WINAPI soundThread(LPVOID);
DWORD WINAPI meterThread(LPVOID);
