// The sound table: which recording sits at which entry, named as in the resources.
#pragma once
#include <cstdint>

// Eight languages of ten digits, the beep, four bird calls, the satellite check's two sounds.
constexpr int kSoundTableSize = 87;
constexpr int kDigitsPerLanguage = 10;
constexpr int kSoundLanguageCount = 8;
constexpr int kToneEntry = 80;
constexpr int kFirstBirdEntry = 81;
constexpr int kBirdCount = 4;
constexpr int kFoundEntry = 85;  // the stream names the chosen satellite
constexpr int kWrongEntry = 86;  // the stream names another one

// Resource name of a table entry ("EN0" .. "PR9", "TONE", "BIRD0" .. "BIRD3", "FOUND", "WRONG");
// nullptr out of range. Entries follow the loading order: EN, RU, DE, IT, CH, FR, PL, PR, then
// TONE, the birds, FOUND and WRONG.
const char* soundEntryName(int entry);

// Entry of a digit (0..9) in the language of a language index (0 English, 1 German, 2 Russian,
// 3 Italian, 4 Chinese, 5 French, 6 Polish, 7 Portuguese). The loading order is not the
// language order, so this goes by the language's name. -1 when either is out of range.
int digitEntry(int32_t languageIndex, int digit);

inline int birdEntry(int bird) { return kFirstBirdEntry + bird; }
