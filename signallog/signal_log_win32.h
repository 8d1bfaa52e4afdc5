// The full-screen signal log window.
#pragma once
#include <windows.h>

INT_PTR CALLBACK signalLogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
