// The poll thread's work, free of Windows so it runs against a fake tuner and fake pauses.
#pragma once
#include <cstdint>

#include "core/env.h"
#include "core/globals.h"
#include "tuner/tune.h"
#include "tuner/tuner.h"

constexpr uint32_t kPollIntervalMs = 100;
// A card reports 100 for a perfect quality; the meter and the voices expect at most 99.
constexpr int32_t kQualityCap = 99;

// One poll cycle: pause, read the card, then either note what was seen (locked) or zero the
// readings and retune at once (lock lost). lock is the thread's own lock byte; request gives
// the transponder to retune to (the current one, in the program). False, without reading the
// card, when stop cut the pause short.
bool pollCycle(Tuner& tuner, StopEvent& stop, SignalState& signal, uint8_t& lock, TuneRequest (*request)());

// The poll thread's whole life: raises the poll-running flag, cycles while the watch flag is
// set (tested after each cycle, and once before the first) and stop has not cut a pause short,
// then zeroes the readings and the seen flags and clears the running flag last.
void runPollThread(Tuner& tuner, StopEvent& stop, SignalState& signal, TuneRequest (*request)());
