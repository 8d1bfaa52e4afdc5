// Script lines that say where the simulated dish points, beside the signal lines of the card's
// script (which passes these over as lines it does not read):
//
//   <ms> dish <position>[ <option>...]    position "19.2E", "13E" or "5.0W";
//                                         options no-nit, others-first, stale-s2, nit-other
//
// Each holds from its time after the first tune until the next one; before the first, the dish
// points at the satellite the program tuned for.
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "tunersim/sim_tables.h"

namespace tunersim {

struct DishLine {
  int64_t ms = 0;
  int32_t positionNumber = 0;  // tenths of a degree eastward, 0..3599
  TableOptions options;
};

// Malformed dish lines are skipped; the lines come back ordered by time.
std::vector<DishLine> parseDishLines(std::string_view script);
// The line in force msSinceTune after the first tune; none before the first line.
std::optional<DishLine> dishAt(const std::vector<DishLine>& lines, int64_t msSinceTune);

}  // namespace tunersim
