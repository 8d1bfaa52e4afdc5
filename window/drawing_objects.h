// The shared drawing objects' fixed values, free of Windows.
#pragma once
#include <cstdint>

constexpr int kSmallFontHeight = 18;
constexpr int kLargeFontHeight = 36;
constexpr int kBoldWeight = 600;

struct TextColour {
  uint8_t r, g, b;
  bool operator==(const TextColour&) const = default;
};
// The window DC's text colour after start-up and every paint.
constexpr TextColour kTextColour{40, 60, 80};
