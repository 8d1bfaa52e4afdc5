// Transponder files, the satellite and transponder lists, parsing and status messages.
// Every bool is true on failure, false on success.
#pragma once
#include <windows.h>

bool buildSatelliteList();
bool loadTransponderList();
bool selectSatellite();
bool toggleSortOrder();
// Draws the window's current text at (x, y) in the DC's current font, colour and mode.
void drawWindowText(HWND window, HDC dc, int x, int y);

// Parses the transponder list's text into frequency, polarization and symbol rate.
bool parseTransponderText(bool showMessages);
// Draws status message index into the status box and returns at once.
void showStatusMessage(int index);

bool addTransponder();
bool removeTransponder();
