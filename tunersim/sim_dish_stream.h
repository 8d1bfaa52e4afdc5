// The simulated BDA tuner's transport stream: the tables of the satellite the dish points at
// (the script's dish line in force, else the satellite the program chose), tuned to the
// transponder last committed, with null packets between.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tunersim/sim_bda.h"
#include "tunersim/sim_dish.h"
#include "tunersim/sim_tables.h"

namespace tunersim {

constexpr int32_t kNoPosition = -1;

// The transponder files beside the program, by position number.
class SatelliteFiles {
 public:
  virtual ~SatelliteFiles() = default;
  // The file's bytes; none when there is no such file.
  virtual std::optional<std::string> read(int32_t positionNumber) = 0;
};

class DishStream final : public PacketSource {
 public:
  explicit DishStream(SatelliteFiles& files) : files_(files) {}
  void useLines(std::vector<DishLine> lines) { lines_ = std::move(lines); }
  // A commit: what was tuned, and the satellite the program has chosen (kNoPosition keeps the
  // one known before). The dish lines' times count from the first.
  void tuned(const TunedStream& tuned, int32_t chosenPosition, int64_t nowMs);
  // The time the next packets are sent at.
  void setNow(int64_t nowMs) { nowMs_ = nowMs; }
  // The position the dish points at now; kNoPosition when nothing says.
  int32_t pointedPosition() const;
  void nextPackets(uint8_t* out, size_t count) override;

 private:
  struct Key {
    int32_t position = kNoPosition;
    TableOptions options;
    TunedStream tuned;
  };
  static bool same(const Key& a, const Key& b);
  Key wanted() const;

  std::vector<DishLine> lines_;
  SatelliteFiles& files_;
  std::optional<int64_t> firstTuneMs_;
  int64_t nowMs_ = 0;
  int32_t chosen_ = kNoPosition;
  TunedStream tuned_;
  Key current_;
  std::unique_ptr<TableStream> tables_;  // none: no file for the position, null packets only
  NullPackets nulls_;
};

}  // namespace tunersim
