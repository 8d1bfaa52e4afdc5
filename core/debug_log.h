// The debug log "log.txt": 4-byte markers of the start-up and shutdown steps.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

constexpr const char* kDebugLogFile = "log.txt";

// Every debug-log marker is exactly 4 bytes: its characters, then zero bytes.
constexpr size_t kMarkerSize = 4;
using MarkerBytes = std::array<uint8_t, kMarkerSize>;
// Texts longer than 4 characters are cut to 4.
MarkerBytes markerBytes(std::string_view text);
// A longer note (the tuner in use): its characters and ';', padded with zero bytes to whole
// 4-byte units, so the log still reads as markers.
std::vector<uint8_t> noteBytes(std::string_view text);
