// Reading and drawing a window's current text (the transponder list's edit field, say).
#pragma once
#include <windows.h>

#include <string>

// The text of a window; empty when it has none.
std::string windowText(HWND window);
// Draws the window's current text at (x, y) in the DC's current font, colour and mode.
void drawWindowText(HWND window, HDC dc, int x, int y);
