// What the main window does with clicks, keys and list notifications.
#pragma once
#include <windows.h>

// Stores the pointer, then the first hot region in the click order that holds it acts; on
// none, the window is dragged.
void OnLeftButtonDown(HWND window, int x, int y);
// Opens the signal log while watching.
void OnLeftButtonDoubleClick(HWND window);
// Stores the pointer and updates the hover images.
void OnMouseMove(int x, int y);
// The LNB and satellite lists act when a drop-down list closes.
void OnCommand(HWND window, int id, int code);
// Esc shuts down and destroys the window.
void OnKeyDown(HWND window, WPARAM key);
void OnDestroy();
