#include "core/settings.h"

#include <cstring>

void clearSettingsPrefix(SettingsRecord& record) {
  std::memset(&record, 0, kSettingsClearedPrefix);
}

void settingsFromBytes(SettingsRecord& record, const uint8_t* bytes, size_t size) {
  if (size > kSettingsSize) size = kSettingsSize;
  std::memcpy(&record, bytes, size);
}

void settingsToBytes(const SettingsRecord& record, uint8_t out[kSettingsSize]) {
  std::memcpy(out, &record, kSettingsSize);
}
