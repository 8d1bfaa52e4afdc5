#include "core/debug_log.h"

MarkerBytes markerBytes(std::string_view text) {
  MarkerBytes bytes{};
  for (size_t i = 0; i < text.size() && i < kMarkerSize; ++i) bytes[i] = static_cast<uint8_t>(text[i]);
  return bytes;
}
