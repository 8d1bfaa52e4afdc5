// What a paint of the main window writes besides the background, decided without Windows.
#pragma once
#include <cstdint>

#include "core/settings.h"
#include "window/layout.h"

constexpr const char* kStartHint = "To activate quorvan : select the parameters and press red button.";

// The web address is written at the web link's top-left and underlined along its bottom.
constexpr int kWebAddressX = kWebLinkRect.left;
constexpr int kWebAddressY = kWebLinkRect.top;
constexpr int kUnderlineY = kWebLinkRect.bottom;
constexpr int kUnderlineRight = kWebLinkRect.right;

constexpr int kFlagWidth = 20;
constexpr int kFlagHeight = 15;
constexpr int kFlagX = 48;
constexpr int kFlagY = 305;
constexpr int kLanguageNameY = 288;
constexpr int kSettingsTextY = 305;

constexpr const char* kLnbItems[] = {"None", "LNB1", "LNB2", "LNB3", "LNB4"};
constexpr int kLnbItemCount = 5;

struct PlacedText {
  const char* text;
  int x, y;
};

// The language name, its flag, the sound mode and the reading named by the settings.
// A damaged language index or sound mode leaves its entries out.
struct SettingsTexts {
  bool hasLanguage;
  PlacedText languageName;
  SkinBlock flag;
  bool hasSoundMode;
  PlacedText soundMode;
  PlacedText reading;
};
SettingsTexts settingsTexts(int32_t languageIndex, int32_t soundMode, int32_t readingSelector);
