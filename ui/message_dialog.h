// The message dialog and the shaded frame, decided without Windows: texts, buttons,
// geometry and ring colours.
#pragma once
#include <cstdint>

#include "ui/hot_regions.h"

// The dialog window; its 1-pixel border leaves a 480 x 194 client area.
constexpr int kDialogWidth = 482;
constexpr int kDialogHeight = 196;
constexpr int kDialogOffsetX = 15;   // from the main window's left
constexpr int kDialogOffsetY = 100;  // from the main window's top
constexpr int kDialogCorner = 35;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 25;
// Kinds from here on ask a question and get CANCEL beside OK.
constexpr uint32_t kFirstQuestionKind = 100;

// The text of a message kind; "" for kinds that have none.
const char* messageText(uint32_t kind);

struct DialogButton {
  int id;
  const char* caption;
  int x, y, w, h;
};
struct DialogButtons {
  DialogButton buttons[2];
  int count;
};
// The buttons of a kind for a client area of the given size, OK first.
DialogButtons messageButtons(uint32_t kind, int clientWidth, int clientHeight);

// What a caller gets back: 113 or 114. A dialog that could not be shown at all counts as
// CANCEL, so that no question is taken as answered yes.
long long messageResult(long long dialogResult);

struct DialogPlacement {
  int x, y, w, h;
};
DialogPlacement messageDialogPlacement(int mainLeft, int mainTop);
// The text rectangle: the client rectangle with its top moved to the middle less 25.
PixelRect messageTextRect(int clientWidth, int clientHeight);

// Shaded frame: 16 rounded rings, 0 the outermost.
constexpr int kShadedRingCount = 16;
constexpr int kShadedRingPenWidth = 2;
enum ShadedStyle : int { kDarkening = 0, kBrightening = 1 };
struct RingColour {
  int r, g, b;
  bool operator==(const RingColour&) const = default;
};
RingColour shadedRingColour(int style, int ring);
PixelRect shadedRingRect(const PixelRect& rect, int ring);
// Corner ellipse size of a ring; never negative, so a square frame (corner 0) stays square.
int shadedRingCorner(int corner, int ring);
