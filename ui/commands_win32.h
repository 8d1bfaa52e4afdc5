// What the main window does with clicks, keys and list notifications.
#pragma once
#include <windows.h>

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void OnLeftButtonDown(HWND window, int x, int y);
void OnLeftButtonDoubleClick(HWND window);
void OnCommand(HWND window, int id, int code);
void OnKeyDown(HWND window, WPARAM key);
void OnDestroy();

void startWatching();
void stopWatching();
void cycleSoundMode();

// The last pointer position of WM_MOUSEMOVE or WM_LBUTTONDOWN.
extern int lastPointerX, lastPointerY;
