#include "tunersim/sim_dish_stream.h"

#include <cstring>

namespace tunersim {

void DishStream::tuned(const TunedStream& tuned, int32_t chosenPosition, int64_t nowMs) {
  if (!firstTuneMs_) firstTuneMs_ = nowMs;
  if (chosenPosition != kNoPosition) chosen_ = chosenPosition;
  tuned_ = tuned;
}

int32_t DishStream::pointedPosition() const { return wanted().position; }

DishStream::Key DishStream::wanted() const {
  Key key;
  key.tuned = tuned_;
  key.position = chosen_;
  if (!firstTuneMs_) return key;
  if (const std::optional<DishLine> line = dishAt(lines_, nowMs_ - *firstTuneMs_)) {
    key.position = line->positionNumber;
    key.options = line->options;
  }
  return key;
}

bool DishStream::same(const Key& a, const Key& b) {
  const TableOptions& x = a.options;
  const TableOptions& y = b.options;
  return a.position == b.position && a.tuned.frequencyKHz == b.tuned.frequencyKHz &&
         a.tuned.polarization == b.tuned.polarization && x.noNit == y.noNit &&
         x.otherPositionsFirst == y.otherPositionsFirst && x.staleSystem == y.staleSystem && x.nitOther == y.nitOther;
}

// The tables are made again only when the dish, its options or the tuning change, so a lock lost
// and found again meets them at whatever point of their repetition they are.
void DishStream::nextPackets(uint8_t* out, size_t count) {
  const Key key = wanted();
  if (!same(key, current_)) {
    current_ = key;
    tables_.reset();
    const std::optional<std::string> file =
        key.position == kNoPosition ? std::nullopt : files_.read(key.position);
    if (file) {
      const SimSatellite satellite = readSimSatellite(key.position, *file);
      if (!satellite.transponders.empty()) tables_ = std::make_unique<TableStream>(satellite, key.tuned, key.options);
    }
    // A broadcaster's tables run on their own clock: a lock meets them at any point of their
    // repetition, not always at its start.
    if (tables_) tables_->next(static_cast<size_t>(nowMs_ % kTablePeriodMs * kStreamPacketsPerSecond / 1000));
  }
  if (!tables_) {
    nulls_.nextPackets(out, count);
    return;
  }
  const std::string packets = tables_->next(count);
  std::memcpy(out, packets.data(), packets.size());
}

}  // namespace tunersim
