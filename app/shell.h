// Decisions of the application shell that need no Windows: window placement and log markers.
#pragma once
#include <array>
#include <cstdint>
#include <string_view>

constexpr int kWindowWidth = 512;
constexpr int kWindowHeight = 384;
// The vertical offset is 256, not 192: the window sits 64 pixels above the true centre.
constexpr int kWindowOffsetX = 256;
constexpr int kWindowOffsetY = 256;

struct WindowOrigin {
  int x;
  int y;
};
// Top-left corner of the main window for a screen of the given size (halves truncate toward zero).
WindowOrigin mainWindowOrigin(int screenWidth, int screenHeight);

// Every debug-log marker is exactly 4 bytes: its characters, then zero bytes.
constexpr size_t kMarkerSize = 4;
using MarkerBytes = std::array<uint8_t, kMarkerSize>;
// Texts longer than 4 characters are cut to 4.
MarkerBytes markerBytes(std::string_view text);
// "0;" .. "11;" for shutdown steps 0..11.
MarkerBytes shutdownMarker(int step);
