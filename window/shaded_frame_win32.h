// Drawing the shaded frame.
#pragma once
#include <windows.h>

// 16 graded rounded rings filled with brush. style 0 darkens inward, 1 brightens inward.
void drawShadedFrame(HDC dc, const RECT& rect, HBRUSH brush, int corner, int style);
