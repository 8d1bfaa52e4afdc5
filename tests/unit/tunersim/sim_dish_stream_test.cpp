// The simulated BDA tuner's stream: which satellite's tables it carries, as the program's own
// reader names them, from the chosen satellite, the script's dish lines and the files there are.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "satcheck/satellite_check.h"
#include "tunersim/sim_dish_stream.h"

using namespace tunersim;

namespace {

const TunedStream k11778V{11778000, 0};

class StarterFiles final : public SatelliteFiles {
 public:
  std::vector<int32_t> asked;
  std::optional<std::string> read(int32_t position) override {
    asked.push_back(position);
    char name[16];
    std::snprintf(name, sizeof(name), "%04d.ini", position);
    std::ifstream in(std::filesystem::path(__FILE__).parent_path() / "../../../transponders/starter" / name,
                     std::ios::binary);
    if (!in) return std::nullopt;
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
};

// What the program's reader names from one second of the stream sent at nowMs.
SatelliteIdentity heard(DishStream& stream, int64_t nowMs) {
  SatelliteCheck check({k11778V.frequencyKHz, k11778V.polarization});
  stream.setNow(nowMs);
  std::vector<uint8_t> packets(kStreamPacketsPerSecond * kPacketSize);
  stream.nextPackets(packets.data(), kStreamPacketsPerSecond);
  check.feed(packets.data(), packets.size());
  return check.identity();
}

}  // namespace

TEST(DishStream, CarriesTheChosenSatelliteUntilADishLineSaysOtherwise) {
  StarterFiles files;
  DishStream stream(files);
  stream.useLines(parseDishLines("3000 dish 13E\n6000 dish 19.2E no-nit\n"));
  stream.tuned(k11778V, 192, 10000);
  struct Step {
    int64_t ms;
    bool found;
    int32_t position;
    bool nit;
  } steps[] = {{10000, true, 192, true}, {12999, true, 192, true}, {13000, true, 130, true}, {16500, false, 0, false}};
  for (const Step& s : steps) {
    const SatelliteIdentity identity = heard(stream, s.ms);
    EXPECT_EQ(identity.positionFound, s.found) << s.ms;
    if (s.found) {
      EXPECT_EQ(identity.positionNumber, s.position) << s.ms;
    }
    EXPECT_EQ(identity.nitSeen, s.nit) << s.ms;
  }
  // A retune from another thread knows no choice: the one known stays.
  stream.tuned(k11778V, kNoPosition, 17000);
  EXPECT_EQ(stream.pointedPosition(), 192);
  EXPECT_EQ(files.asked, (std::vector<int32_t>{192, 130, 192})) << "each file read once per change";
}

TEST(DishStream, NullPacketsOnlyWithoutAChoiceOrAFile) {
  StarterFiles files;
  DishStream unknown(files), missing(files);
  unknown.tuned(k11778V, kNoPosition, 0);
  missing.tuned(k11778V, 1234, 0);  // no file for 123.4E
  EXPECT_FALSE(heard(unknown, 0).positionFound);
  EXPECT_FALSE(heard(missing, 0).positionFound);
  EXPECT_EQ(files.asked, std::vector<int32_t>{1234}) << "no position, no file asked for";
}
