// System functions whose DLLs load at the first call instead of with the program: winmm and
// shell32 serve only a user's action (a sound, a page), and comctl32 costs start-up less when
// loaded for the tooltips than as an import the loader resolves before the entry point.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

// sndPlaySoundA; FALSE when winmm.dll cannot be loaded.
BOOL lateSndPlaySound(LPCSTR sound, UINT flags);
// The waveOut functions a stream of buffers needs; nullptr when winmm.dll or one of them is missing.
struct LateWaveOut {
  decltype(&waveOutOpen) open;
  decltype(&waveOutPrepareHeader) prepare;
  decltype(&waveOutWrite) write;
  decltype(&waveOutReset) reset;
  decltype(&waveOutUnprepareHeader) unprepare;
  decltype(&waveOutClose) close;
};
const LateWaveOut* lateWaveOut();
// InitCommonControlsEx; FALSE when comctl32.dll cannot be loaded.
BOOL lateInitCommonControlsEx(const INITCOMMONCONTROLSEX* classes);
// ShellExecuteA; a value of 32 or less (as ShellExecuteA gives on failure) when shell32.dll cannot be loaded.
HINSTANCE lateShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show);
