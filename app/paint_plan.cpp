#include "app/paint_plan.h"

#include "app/commands.h"
#include "feedback/sound_mode.h"

namespace {

struct Language {
  const char* name;
  int nameX;
  int flagX, flagY;  // flag block in the skin picture
};
constexpr Language kLanguages[kLanguageCount] = {
    {"English", 34, 532, 355}, {"German", 32, 512, 355}, {"Russian", 30, 512, 340}, {"Italian", 37, 532, 340},
    {"Chinese", 33, 532, 325}, {"French", 36, 512, 325}, {"Polish", 36, 552, 355},  {"Portuguese", 21, 552, 340},
};

constexpr PlacedText kSoundModes[kSoundModeCount] = {
    {"Auto", 117, kSettingsTextY}, {"Tone", 116, kSettingsTextY}, {"Voice", 116, kSettingsTextY},
    {"Mute", 116, kSettingsTextY}, {"Birds", 114, kSettingsTextY}, {"Pitch", 116, kSettingsTextY},
};

constexpr PlacedText kQualityText{"Quality", 183, kSettingsTextY};
constexpr PlacedText kLevelText{"Level", 190, kSettingsTextY};

}  // namespace

SettingsTexts settingsTexts(int32_t languageIndex, int32_t soundMode, int32_t readingSelector) {
  SettingsTexts texts{};
  if (languageIndex >= 0 && languageIndex < kLanguageCount) {
    const Language& language = kLanguages[languageIndex];
    texts.hasLanguage = true;
    texts.languageName = {language.name, language.nameX, kLanguageNameY};
    texts.flag = {language.flagX, language.flagY, kFlagWidth, kFlagHeight, kFlagX, kFlagY};
  }
  if (soundMode >= 0 && soundMode < kSoundModeCount) {
    texts.hasSoundMode = true;
    texts.soundMode = kSoundModes[soundMode];
  }
  texts.reading = readingSelector != 0 ? kQualityText : kLevelText;
  return texts;
}
