// The poll thread's work, free of Windows so it runs against a fake tuner and a fake clock.
#pragma once
#include <cstdint>

#include "app/env.h"
#include "app/globals.h"
#include "tuner/tuner.h"

constexpr uint32_t kPollIntervalMs = 100;
// A card reports 100 for a perfect quality; the meter and the voices expect at most 99.
constexpr int32_t kQualityCap = 99;

// One poll cycle: sleep, read the card, then either note what was seen (locked) or zero the
// readings and retune at once (lock lost). lock is the thread's own lock byte.
// request gives the transponder to retune to (the current one, in the program).
void pollCycle(Tuner& tuner, Clock& clock, SignalState& signal, uint8_t& lock, TuneRequest (*request)());

// The poll thread's whole life: raises the poll-running flag, cycles while the watch flag is
// set (tested after each cycle, and once before the first), then zeroes the readings and the
// seen flags and clears the running flag last. Ends within one cycle after the watch flag drops.
void runPollThread(Tuner& tuner, Clock& clock, SignalState& signal, TuneRequest (*request)());
