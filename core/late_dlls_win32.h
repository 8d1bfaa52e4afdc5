// System functions needed only on a user's action: playing a sound, opening a page. Their DLLs
// (winmm, shell32) load at the first call instead of with the program, so start-up does not
// wait for them.
#pragma once
#include <windows.h>

// sndPlaySoundA; FALSE when winmm.dll cannot be loaded.
BOOL lateSndPlaySound(LPCSTR sound, UINT flags);
// ShellExecuteA; a value of 32 or less (as ShellExecuteA gives on failure) when shell32.dll cannot be loaded.
HINSTANCE lateShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show);
