// The settings record: the user's choices, kept as the raw 256 bytes of "qvnth.dat".
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>

constexpr size_t kSettingsSize = 256;
// Start-up clears only this leading part; the unused tail keeps whatever the file held.
constexpr size_t kSettingsClearedPrefix = 80;
constexpr int32_t kDefaultDishWidth = 1000;
constexpr int32_t kDefaultDishHeight = 1200;

// Field order and offsets are the file format: never reorder. Little-endian int32 on every
// build we make (x86 and x86-64), so the struct is the file image.
struct SettingsRecord {
  int32_t languageIndex;     // 0 English .. 7 Portuguese
  int32_t soundMode;         // 0 Auto, 1 Tone, 2 Voice, 3 Mute, 4 Birds, 5 Pitch
  int32_t lnbSelection;      // 0 None, 1..4 LNB1..LNB4, -1 none selected
  int32_t satellitePosition; // tenths of a degree eastward, 0..3599
  int32_t frequencyKHz;      // current transponder, kHz
  int32_t readingSelector;   // 0 level, otherwise quality
  uint8_t unused24[56];
  int32_t latitudeDegreeIndex;
  int32_t longitudeDegreeIndex;
  int32_t latitudeMinuteIndex;
  int32_t longitudeMinuteIndex;
  int32_t dishWidth;
  int32_t dishHeight;
  uint8_t unused104[152];
};
static_assert(sizeof(SettingsRecord) == kSettingsSize);
static_assert(offsetof(SettingsRecord, readingSelector) == 20);
static_assert(offsetof(SettingsRecord, latitudeDegreeIndex) == 80);
static_assert(offsetof(SettingsRecord, dishHeight) == 100);

// Start-up step 3: clear the first 80 bytes.
void clearSettingsPrefix(SettingsRecord& record);
// Copies up to 256 bytes of a file image into the record; a short file fills only its length.
void settingsFromBytes(SettingsRecord& record, const uint8_t* bytes, size_t size);
// The exact 256 bytes to store.
void settingsToBytes(const SettingsRecord& record, uint8_t out[kSettingsSize]);

// Fields that worker threads read while the user-interface thread writes them.
inline int32_t readShared(const int32_t& field) {
  return std::atomic_ref<int32_t>(const_cast<int32_t&>(field)).load(std::memory_order_relaxed);
}
inline void writeShared(int32_t& field, int32_t value) {
  std::atomic_ref<int32_t>(field).store(value, std::memory_order_relaxed);
}
