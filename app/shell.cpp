#include "app/shell.h"

#include <string>

WindowOrigin mainWindowOrigin(int screenWidth, int screenHeight) {
  return {screenWidth / 2 - kWindowOffsetX, screenHeight / 2 - kWindowOffsetY};
}

MarkerBytes markerBytes(std::string_view text) {
  MarkerBytes bytes{};
  for (size_t i = 0; i < text.size() && i < kMarkerSize; ++i) bytes[i] = static_cast<uint8_t>(text[i]);
  return bytes;
}

MarkerBytes shutdownMarker(int step) {
  return markerBytes(std::to_string(step) + ";");
}
