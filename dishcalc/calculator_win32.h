// The dish calculator window.
#pragma once
#include <windows.h>

INT_PTR CALLBACK calculatorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
