// Start watching returns only once the worker threads it started have taken their first step.
// A stop (or shutdown) that came earlier would find their running flags still clear, finish its
// handshake, and leave a late thread to run beside the threads of the next start.
#pragma once
#include <atomic>
#include <cstdint>

#include "app/env.h"

// A thread that never comes must not hang the user interface.
constexpr uint32_t kThreadStartLimitMs = 1000;
constexpr uint32_t kThreadStartCheckMs = 1;

// True once the flag is raised; false when limitMs passed without it.
bool waitUntilRaised(Clock& clock, const std::atomic<uint8_t>& runningFlag, uint32_t limitMs);
