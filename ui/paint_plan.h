// What a paint of the main window writes besides the background, decided without Windows.
#pragma once
#include <cstdint>

#include "app/settings.h"
#include "ui/hot_regions.h"

constexpr const char* kStartHint = "To activate quorvan : select the parameters and press red button.";
constexpr PixelRect kHintRect{22, 50, 480, 75};
constexpr PixelRect kLevelBox{180, 98, 270, 140};
constexpr PixelRect kQualityBox{180, 166, 270, 208};
constexpr PixelRect kSettingsStrip{20, 270, 250, 320};
// While watching, the satellite name replaces the hint.
constexpr int kSatelliteNameX = 122;
constexpr int kSatelliteNameY = 50;

constexpr int kWebAddressX = 340;
constexpr int kWebAddressY = 355;
constexpr int kUnderlineY = 370;
constexpr int kUnderlineRight = 485;

constexpr int kFlagWidth = 20;
constexpr int kFlagHeight = 15;
constexpr int kFlagX = 48;
constexpr int kFlagY = 305;
constexpr int kLanguageNameY = 288;
constexpr int kSettingsTextY = 305;

constexpr const char* kLnbItems[] = {"None", "LNB1", "LNB2", "LNB3", "LNB4"};
constexpr int kLnbItemCount = 5;

struct Tooltip {
  PixelRect rect;
  const char* text;
};
constexpr Tooltip kTooltips[] = {
    {{172, 334, 242, 366}, "Sound for Level/Quality"},
    {{25, 335, 90, 365}, "Click to change voice language"},
    {{45, 165, 75, 210}, "Add/Remove transponder from ini file"},
    {{100, 335, 165, 365}, "Click to select sound mode"},
    {{45, 110, 70, 130}, "Sort by Position/Name"},
};

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
