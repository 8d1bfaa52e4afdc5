// The skin picture: decoded once at start-up from the resources, copied from by every drawer.
#pragma once
#include <windows.h>

// Start-up: decodes the picture from the resources in memory and keeps its pixels. False when
// there is no picture to draw from (start-up goes on without it).
bool loadSkinPicture();
// Start-up: loadSkinPicture on a thread of its own (with COM of its own), so that the controls are
// made while the picture decodes; where no thread can be started it loads here. Nothing may draw
// from the skin, or use the back buffer, until finishSkinPictureLoad has returned.
void beginSkinPictureLoad();
// Waits for the load begun above; skin.pixels then says whether there is a picture.
void finishSkinPictureLoad();
// Shutdown: frees the pixels if present.
void freeSkinPixels();

// Copies the block (x, y, w, h) of the skin picture 1:1 to (dx, dy) on dc. No-op without a picture.
void drawSkinPart(HDC dc, int x, int y, int w, int h, int dx, int dy);
