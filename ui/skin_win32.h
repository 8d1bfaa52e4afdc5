// The skinned main window: picture, shape, hot regions, combo boxes, shared drawing objects.
#pragma once
#include <windows.h>

#include "ui/hot_regions.h"

// Start-up steps 7 to 16, in that order.
HRESULT loadSkinPicture();           // S_OK or E_FAIL; start-up ignores it
void createWindowShapeAndHotRegions();
void createComboBoxes();
void createFontsAndTextState();      // fonts; small bold into the window DC; colour; transparent
void createPensAndBrushes();
void setComboBoxFonts();
void fillLnbList();
void createTooltips();
void setFixedRectangles();

// Shutdown steps 5 and 6.
void deleteDrawingObjects();
void freeSkinPixels();

// Copies the block (x, y, w, h) of the skin picture 1:1 to (dx, dy) on dc. No-op without a picture.
void drawSkinPart(HDC dc, int x, int y, int w, int h, int dx, int dy);

// Hot regions (ui/hot_regions.h): true when the pointer is inside the region's real shape.
bool pointInHotRegion(HotRegion region, int x, int y);

// Fixed rectangles (client coordinates).
extern RECT hintRect, levelBox, qualityBox, settingsStrip;

// Window procedure helpers.
void OnPaint(HWND window);
void OnMouseMove(int x, int y);  // also stores the last pointer position
