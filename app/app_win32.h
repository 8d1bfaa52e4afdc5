// Application shell services used across the Win32 side.
#pragma once
#include <atomic>
#include <cstdint>
#include <string_view>

// Makes the program file's folder the current directory. Returns 0, or 1 when the
// program's path cannot be had (the directory is then unchanged). Call before every file access.
int enterProgramFolder();
// Appends one 4-byte marker to "log.txt" with its own open, write and close.
void appendLogMarker(std::string_view text);
// The shutdown sequence; may run more than once (every release skips what is gone).
void shutdownSequence();
// Reads "qvnth.dat" into the settings record (missing file: the record stays as it is).
void loadSettings();
// Writes the settings record; returns 0 when written, 1 when it could not be.
int saveSettings();
// Stop handshake: sleeps 200 ms between tests, without a time limit, until the flag is clear.
constexpr unsigned kStopPollMs = 200;
void waitUntilClear(const std::atomic<uint8_t>& runningFlag);
