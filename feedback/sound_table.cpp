#include "feedback/sound_table.h"

#include <cstring>

#include "resources/resource_ids.h"

namespace {

// Language blocks in the order the table is filled at start-up.
constexpr const char* kLoadingOrder[kSoundLanguageCount] = {"EN", "RU", "DE", "IT", "CH", "FR", "PL", "PR"};
// Prefix of each language index, in the order the main window cycles through them.
constexpr const char* kLanguagePrefix[kSoundLanguageCount] = LANGUAGE_RESOURCE_PREFIXES;

struct EntryNames {
  char names[kSoundTableSize][8];
};

EntryNames makeEntryNames() {
  EntryNames table{};
  for (int block = 0; block < kSoundLanguageCount; ++block) {
    for (int digit = 0; digit < kDigitsPerLanguage; ++digit) {
      char* name = table.names[block * kDigitsPerLanguage + digit];
      name[0] = kLoadingOrder[block][0];
      name[1] = kLoadingOrder[block][1];
      name[2] = static_cast<char>('0' + digit);
    }
  }
  std::strcpy(table.names[kToneEntry], TONE_RESOURCE);
  static_assert(kBirdCount == BIRD_RESOURCE_COUNT);
  for (int bird = 0; bird < kBirdCount; ++bird) {
    char* name = table.names[kFirstBirdEntry + bird];
    std::strcpy(name, BIRD_RESOURCE_PREFIX);
    name[sizeof(BIRD_RESOURCE_PREFIX) - 1] = static_cast<char>('0' + bird);
  }
  std::strcpy(table.names[kFoundEntry], FOUND_RESOURCE);
  std::strcpy(table.names[kWrongEntry], WRONG_RESOURCE);
  return table;
}

const EntryNames& entryNames() {
  static const EntryNames table = makeEntryNames();
  return table;
}

}  // namespace

const char* soundEntryName(int entry) {
  if (entry < 0 || entry >= kSoundTableSize) return nullptr;
  return entryNames().names[entry];
}

int digitEntry(int32_t languageIndex, int digit) {
  if (languageIndex < 0 || languageIndex >= kSoundLanguageCount) return -1;
  if (digit < 0 || digit >= kDigitsPerLanguage) return -1;
  const char* prefix = kLanguagePrefix[languageIndex];
  for (int block = 0; block < kSoundLanguageCount; ++block) {
    if (std::strcmp(kLoadingOrder[block], prefix) == 0) return block * kDigitsPerLanguage + digit;
  }
  return -1;
}
