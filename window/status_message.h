// The one-line red status messages drawn into the status box near the top of the main window.
#pragma once
#include "window/drawing_objects.h"

constexpr TextColour kStatusColour{200, 0, 0};

constexpr int kStatusPleaseWait = 0;
constexpr int kStatusIncorrectParameters = 1;
constexpr int kStatusInvalidFrequency = 2;
constexpr int kStatusInvalidPolarisation = 3;
constexpr int kStatusInvalidSymbolRate = 4;
constexpr int kStatusCannotWatch = 5;

// Text of a status message; empty for an index without one (only the frame is drawn).
const char* statusMessageText(int index);
