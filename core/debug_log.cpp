#include "core/debug_log.h"

MarkerBytes markerBytes(std::string_view text) {
  MarkerBytes bytes{};
  for (size_t i = 0; i < text.size() && i < kMarkerSize; ++i) bytes[i] = static_cast<uint8_t>(text[i]);
  return bytes;
}

std::vector<uint8_t> noteBytes(std::string_view text) {
  std::vector<uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(';');
  bytes.resize((bytes.size() + kMarkerSize - 1) / kMarkerSize * kMarkerSize, 0);
  return bytes;
}
