// Painting the main window and its hover images.
#pragma once
#include <windows.h>

// The skin (or a plain panel without it), the hint or the satellite name, the settings strip
// and the web link.
void OnPaint(HWND window);
// Draws or removes the hover images for a pointer at (x, y).
void drawHoverImages(int x, int y);
