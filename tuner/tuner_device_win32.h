// The tuner: the card maker's source filter and its tuner interface, reached through COM, or a
// BDA satellite tuner when the maker's filter is not registered.
#pragma once
#include <strmif.h>

#include <string>

#include "tuner/transport_stream.h"
#include "tuner/tuner_control_win32.h"
#include "tuner/tuner.h"

// Process-wide; null until opened and after release.
extern IBaseFilter* sourceFilter;
extern TunerControl* tunerControl;

// Creates the filter and asks it for the tuner interface. When the filter's class is not
// registered, opens the first BDA satellite tuner instead and notes its name in the debug log.
// True when a tuner is open; false when the program must stop (message kind 4 has been shown
// when neither the filter nor a BDA tuner could be had).
bool openTuner();
// The tuner the tune operation and the poll thread use.
Tuner& tunerInUse();
// Hands the BDA tuner's transport stream to reader (it must outlive the tuner); the maker's
// card gives none, and nothing happens.
void setTransportStreamReader(TransportStreamReader* reader);
// "Tuner: " and the BDA tuner's friendly name, for the about message; empty with the maker's card.
std::string tunerNote();
// Shutdown's steps 8 and 9: the tuner interface (a BDA tuner's control nodes), then the filter
// (a BDA tuner's whole graph).
void releaseTunerInterface();
void releaseSourceFilter();
