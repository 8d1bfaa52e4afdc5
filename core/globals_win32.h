// Process-wide Win32 objects, grouped per subsystem. Created once in the start-up order
// (app/startup_win32.cpp) and released in the shutdown order (app/shutdown_win32.cpp).
#pragma once
#include <windows.h>

#include <cstdint>

#include "resources/resource_ids.h"

struct ShellGlobals {
  HINSTANCE instance = nullptr;
  HWND mainWindow = nullptr;
  HDC windowDC = nullptr;        // CS_OWNDC: BeginPaint returns this same context
  HDC backBuffer = nullptr;      // 512 x 384, transparent background; the meter draws here
  HBITMAP backBufferBitmap = nullptr;
  CRITICAL_SECTION lock;         // the program's only lock, never deleted
  int screenWidth = 0;
  int screenHeight = 0;
};

// Drawing objects shared by several subsystems (window/drawing_objects_win32.cpp makes them).
struct SkinGlobals {
  BITMAPINFO* header = nullptr;  // the skin picture's bitmap header (bottom-up)
  uint8_t* pixels = nullptr;     // skin pixels, sized for the depth the header reports
  HFONT smallBoldFont = nullptr; // height 18, weight 600
  HFONT largeFont = nullptr;     // height 36, weight 600
  HFONT savedFont = nullptr;     // what the window DC held before the small bold font
  HPEN gridPen = nullptr;        // signal log grid
  HPEN dialPen = nullptr;        // calculator needle
  HPEN tracePen = nullptr;       // signal log bars; created and deleted by the signal log
  HBRUSH lightBrush = nullptr;   // RGB(205, 205, 213)
  HBRUSH blackBrush = nullptr;   // stock, never deleted
};

struct MainControls {
  HWND lnbList = nullptr;          // id 110
  HWND satelliteList = nullptr;    // id 111
  HWND transponderList = nullptr;  // id 112
};

extern ShellGlobals shell;
extern SkinGlobals skin;
extern MainControls controls;

// The one empty dialog template every modal window is built on.
constexpr const char* kDialogTemplate = EMPTY_DIALOG_NAME;
