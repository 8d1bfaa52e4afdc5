// The satellite line while watching: the tuner's stream goes to the satellite check, a timer on
// the main window follows the lock and repaints the line when what it says changes, and the
// sound thread plays the check's sounds.
#pragma once
#include <windows.h>

constexpr UINT_PTR kSatelliteTimerId = 23;
constexpr UINT kSatelliteTimerMs = 100;

// Watching starts on the current transponder (after its tune): the check starts afresh.
void startSatelliteLine();
// Watching stops: the line goes back to the satellite's name alone.
void stopSatelliteLine();
// The timer's tick on the user-interface thread.
void OnSatelliteTimer();
// Draws the satellite line at its place in the DC's font; in the DC's colour while the stream
// has said nothing.
void drawSatelliteLine(HDC dc);
