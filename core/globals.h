// The program's process-wide state that is not tied to Windows, in one place.
// Win32 handles live in core/globals_win32.h.
#pragma once
#include <atomic>
#include <cstdint>

#include "core/settings.h"

// Readings and flags shared by the user-interface thread and the worker threads.
// Each is written by one side only (see the comments); atomics make them visible.
struct SignalState {
  std::atomic<int32_t> watch{0};          // UI thread: 1 while the signal is watched
  std::atomic<int32_t> level{0};          // poll thread, percent
  std::atomic<int32_t> quality{0};        // poll thread, percent, 100 stored as 99
  std::atomic<uint8_t> levelSeen{0};      // poll thread
  std::atomic<uint8_t> qualitySeen{0};    // poll thread
  std::atomic<uint8_t> locked{0};         // poll thread: the last read's lock
  std::atomic<uint32_t> unlockedReads{0}; // poll thread: reads without lock since start-up
  std::atomic<uint8_t> pollRunning{0};    // poll thread
  std::atomic<uint8_t> soundRunning{0};   // sound thread
  std::atomic<uint8_t> meterRunning{0};   // meter thread
};

// Tuning values of the current transponder text; the frequency lives in the settings record.
struct TuningValues {
  int32_t polarization = 0;  // 1 H/L, 0 V/R, 2 none found
  int32_t symbolRate = 0;    // kS/s
  bool dvbS2 = false;        // the entry carries the DVB-S2 mark
};

extern SettingsRecord settingsRecord;
extern SignalState signalState;
extern TuningValues tuningValues;
// Beeps played in Auto mode since the reading was last zero or the mode changed.
extern std::atomic<int32_t> autoToneCounter;
