// Any bytes as the simulated card's script file (a user may write one): reading it must give
// a result without a crash, in time order, that says the same when written back and read again,
// and the card must answer every read from it with a reading the script holds.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tunersim/sim_card.h"

namespace {

constexpr size_t kLinesRead = 32;

void check(bool condition, const char* what) {
  if (condition) return;
  __builtin_printf("invariant broken: %s\n", what);
  std::abort();
}

bool sameReading(const tunersim::Reading& a, const tunersim::Reading& b) {
  return a.lock == b.lock && a.level == b.level && a.quality == b.quality;
}

std::string written(const tunersim::Script& script) {
  std::string text;
  char line[96];
  for (const tunersim::ScriptLine& entry : script) {
    std::snprintf(line, sizeof(line), "%lld %d %d %d %lld\n", static_cast<long long>(entry.ms),
                  entry.reading.lock ? 1 : 0, entry.reading.level, entry.reading.quality,
                  static_cast<long long>(entry.readMs));
    text += line;
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const tunersim::Script script = tunersim::parseScript(bytes);
  size_t lines = 1;
  for (char c : bytes) lines += c == '\n' ? 1 : 0;
  check(script.size() <= lines, "more script lines than lines of text");
  for (size_t i = 0; i < script.size(); ++i) {
    check(script[i].ms >= 0, "negative time");
    check(i == 0 || script[i - 1].ms <= script[i].ms, "lines out of time order");
  }

  const tunersim::Script again = tunersim::parseScript(written(script));
  check(again.size() == script.size(), "written back, a line was lost or gained");
  for (size_t i = 0; i < script.size(); ++i)
    check(again[i].ms == script[i].ms && sameReading(again[i].reading, script[i].reading) &&
              again[i].readMs == script[i].readMs,
          "written back, a line changed");

  // Reads at each line's time, just before it and past the end; the card answers from the script.
  // A read walks the script, so the first lines stand for all: every input stays quick.
  tunersim::SimulatedCard card;
  card.useScript(script);
  card.setLnbFrequencies(1, 10600, 9750);
  card.tune({true, 11778, 27500, 0, 1, 0}, 0);
  check(!card.readSignal(-1).lock, "signal before the first tune");
  for (size_t i = 0; i < script.size() && i < kLinesRead; ++i) {
    const tunersim::Reading at = tunersim::scriptReading(script, script[i].ms);
    if (i + 1 == script.size() || script[i + 1].ms > script[i].ms)
      check(sameReading(at, script[i].reading), "a line does not hold from its own time");
    if (script[i].ms > 0 && (i == 0 || script[i - 1].ms < script[i].ms)) {
      const tunersim::Reading before = tunersim::scriptReading(script, script[i].ms - 1);
      check(i == 0 ? !before.lock && before.level == 0 : sameReading(before, script[i - 1].reading),
            "the line before does not hold until the next one");
    }
    const tunersim::Reading read = card.readSignal(script[i].ms);
    check(read.lock ? sameReading(read, at) : read.level == 0 && read.quality == 0,
          "card read differs from the script");
  }
  if (!script.empty())
    check(sameReading(tunersim::scriptReading(script, INT64_MAX), script.back().reading), "the last line ends");
  return 0;
}
