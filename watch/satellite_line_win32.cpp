#include "watch/satellite_line_win32.h"

#include <string>

#include "core/env.h"
#include "core/globals.h"
#include "core/globals_win32.h"
#include "feedback/sound_table.h"
#include "feedback/sound_thread_win32.h"
#include "satcheck/satellite_watch.h"
#include "transponders/satellite_list.h"
#include "tuner/tuner_device_win32.h"
#include "window/drawing_objects.h"
#include "window/layout.h"
#include "window/layout_win32.h"
#include "window/status_message.h"
#include "window/window_text_win32.h"

namespace {

SatelliteWatch& satelliteWatch() {
  static SatelliteWatch watch(systemClock());
  return watch;
}

class StreamToCheck final : public TransportStreamReader {
 public:
  void onTransportStream(const uint8_t* bytes, size_t size) override { satelliteWatch().feed(bytes, size); }
};

class CheckCues final : public CueSource {
 public:
  int takeCue() override {
    switch (satelliteWatch().takeCue()) {
      case SatelliteCue::Found: return kFoundEntry;
      case SatelliteCue::Wrong: return kWrongEntry;
      case SatelliteCue::None: break;
    }
    return -1;
  }
};

// The satellite list's items, whose data is the position number.
class ListNames final : public SatelliteNames {
 public:
  std::string nameOf(int32_t positionNumber) override {
    HWND list = controls.satelliteList;
    const LRESULT count = SendMessageA(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      if (SendMessageA(list, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) != positionNumber) continue;
      const LRESULT length = SendMessageA(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
      if (length <= 0) return {};
      std::string text(static_cast<size_t>(length) + 1, '\0');
      const LRESULT copied = SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
      text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
      return satelliteNameOfItem(text, positionNumber);
    }
    return {};
  }
};

StreamToCheck streamToCheck;
CheckCues checkCues;
SatelliteLine shownLine;  // user-interface thread only

SatelliteLine currentLine() {
  ListNames names;
  return satelliteWatch().line(names);
}

void repaintLine() {
  RECT line = toRect(kSatelliteLineRect);
  InvalidateRect(shell.mainWindow, &line, TRUE);
}

}  // namespace

void startSatelliteLine() {
  setTransportStreamReader(&streamToCheck);
  setSoundCues(&checkCues);
  satelliteWatch().start({readShared(settingsRecord.frequencyKHz), tuningValues.polarization},
                         readShared(settingsRecord.satellitePosition));
  shownLine = {};
  SetTimer(shell.mainWindow, kSatelliteTimerId, kSatelliteTimerMs, nullptr);
}

void stopSatelliteLine() {
  KillTimer(shell.mainWindow, kSatelliteTimerId);
  satelliteWatch().stop();
  shownLine = {};
}

void OnSatelliteTimer() {
  satelliteWatch().observeLock(signalState.locked.load() != 0, signalState.unlockedReads.load());
  if (currentLine() != shownLine) repaintLine();
}

void drawSatelliteLine(HDC dc) {
  shownLine = currentLine();
  const std::string listText = windowText(controls.satelliteList);
  const std::string text = satelliteLineText(listText, shownLine);
  if (shownLine.verdict != SatelliteVerdict::Unknown) {
    const TextColour colour = shownLine.verdict == SatelliteVerdict::Other ? kStatusColour : kTextColour;
    SetTextColor(dc, RGB(colour.r, colour.g, colour.b));
  }
  if (!text.empty()) TextOutA(dc, kSatelliteNameX, kSatelliteNameY, text.data(), static_cast<int>(text.size()));
}
