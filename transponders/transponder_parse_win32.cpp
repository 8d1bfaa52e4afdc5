#include "transponders/transponder_parse_win32.h"

#include "core/globals.h"
#include "core/globals_win32.h"
#include "transponders/transponder_parse.h"
#include "window/status_message_win32.h"
#include "window/window_text_win32.h"

bool parseTransponderText(bool showMessages) {
  TuningResult values{readShared(settingsRecord.frequencyKHz), tuningValues.polarization, tuningValues.symbolRate};
  const auto text = windowText(controls.transponderList);
  const int status = parseTransponderEntry(text, values);
  // A failed parse keeps what it stored before the failing rule, as the next tune expects.
  writeShared(settingsRecord.frequencyKHz, values.frequencyKHz);
  tuningValues.polarization = values.polarization;
  tuningValues.symbolRate = values.symbolRate;
  tuningValues.dvbS2 = dvbS2Marked(text);
  if (status == kTransponderTextValid) return true;
  if (showMessages) showStatusForAWhile(status);
  return false;
}
