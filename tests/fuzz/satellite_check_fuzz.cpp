// Any bytes as a transport stream, fed in pieces the input itself chooses: the reader must never
// step outside its buffers, and what it says must hold together; fed again after a reset in
// other pieces, it must say the same. The same bytes go through the name decoder and, as a card
// script, through the dish lines.
#include <cstdint>
#include <cstdlib>

#include "satcheck/dvb_text.h"
#include "satcheck/satellite_check.h"
#include "tunersim/sim_dish.h"

namespace {

void check(bool condition, const char* what) {
  if (condition) return;
  __builtin_printf("invariant broken: %s\n", what);
  std::abort();
}

bool same(const SatelliteIdentity& a, const SatelliteIdentity& b) {
  return a.nitSeen == b.nitSeen && a.positionFound == b.positionFound && a.positionNumber == b.positionNumber &&
         a.east == b.east && a.foundByIds == b.foundByIds && a.networkName == b.networkName &&
         a.providerName == b.providerName;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  // The first bytes pick the piece size and the tuning (10700 to 12749 MHz); the rest is the stream.
  const size_t piece = 1 + data[0] % 200u;
  const TunedTransponder tuned{10700000 + ((data[1] << 8 | data[2]) % 2050) * 1000, data[3] & 1};
  data += 4;
  size -= 4;
  SatelliteCheck whole(tuned);
  whole.feed(data, size);
  const SatelliteIdentity id = whole.identity();
  check(!id.positionFound || id.nitSeen, "a position without a NIT");
  check(!id.positionFound || (id.positionNumber >= 0 && id.positionNumber < kFullCircleTenths), "position outside the circle");
  check(!id.foundByIds || id.positionFound, "found by ids without a position");
  whole.reset(tuned);
  check(!whole.identity().nitSeen && whole.identity().networkName.empty(), "reset kept the NIT");
  for (size_t at = 0; at < size; at += piece) whole.feed(data + at, size - at < piece ? size - at : piece);
  check(same(whole.identity(), id), "other pieces, other answer");
  // The text decoder on its own, over the raw bytes.
  const std::string text = dvbTextToAnsi(std::string_view(reinterpret_cast<const char*>(data), size < 300 ? size : 300));
  check(text.size() <= 300, "text grew beyond its bytes");
  // The same bytes as a card script: dish lines in time order, at positions on the circle.
  const std::vector<tunersim::DishLine> lines = tunersim::parseDishLines(std::string_view(reinterpret_cast<const char*>(data), size));
  for (size_t i = 0; i < lines.size(); ++i) {
    check(lines[i].positionNumber >= 0 && lines[i].positionNumber < kFullCircleTenths, "dish off the circle");
    check(i == 0 || lines[i - 1].ms <= lines[i].ms, "dish lines out of time order");
  }
  return 0;
}
