// NOT BUILT YET: placeholder so the program links; replaced by the skinned window.
#include "ui/skin_win32.h"
RECT hintRect, levelBox, qualityBox, settingsStrip;
HRESULT loadSkinPicture() { return E_FAIL; }
void createWindowShapeAndHotRegions() {}
void createComboBoxes() {}
void createFontsAndTextState() {}
void createPensAndBrushes() {}
void setComboBoxFonts() {}
void fillLnbList() {}
void createTooltips() {}
void setFixedRectangles() {}
void deleteDrawingObjects() {}
void freeSkinPixels() {}
void drawSkinPart(HDC, int, int, int, int, int, int) {}
bool pointInHotRegion(HotRegion, int, int) { return false; }
void OnPaint(HWND window) { PAINTSTRUCT ps; BeginPaint(window, &ps); EndPaint(window, &ps); }
void OnMouseMove(int, int) {}
