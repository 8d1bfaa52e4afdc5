// The card maker's source filter and its tuner interface, reached through COM.
#pragma once
#include <strmif.h>

#include "tuner/tuner_control_win32.h"

// Process-wide; null until opened and after release.
extern IBaseFilter* sourceFilter;
extern TunerControl* tunerControl;

// Creates the filter and asks it for the tuner interface. True when both are there; false when
// the program must stop (message kind 4 has been shown when the filter itself could not be made).
bool openTuner();
void releaseTunerInterface();
void releaseSourceFilter();
