#include "window/message_dialog.h"

#include <gtest/gtest.h>

#include <string>

#include "window/shaded_frame.h"

namespace {

constexpr int kClientW = 480, kClientH = 194;

TEST(MessageDialog, TextsOfEachKind) {
  struct Case {
    uint32_t kind;
    const char* text;
  } cases[] = {
      {0, ""},
      {1, "Transponder parameters error!"},
      {2, "A transponder with the parameters\r\nyou specified already exists"},
      {3, "Transponder is successfuly added"},
      {4, "Cannot load thsource.ax!"},
      {5, "Cannot write the transponder file"},
      {6, ""},
      {99, ""},
      {100, "Delete the current transponder from ini file?"},
      {101, "The User Guide is available online at\r\nhttp://www.quorvan.example/qvnhelp.php"},
      {102, ""},
      {0xFFFFFFFFu, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(std::string(messageText(c.kind)), c.text) << "kind " << c.kind;
}

TEST(MessageDialog, UserGuideTextEndsWithTheGuideAddress) {
  const std::string text = messageText(kMessageUserGuide);
  const std::string address = kUserGuideAddress;
  ASSERT_GE(text.size(), address.size());
  EXPECT_EQ(text.substr(text.size() - address.size()), address);
  EXPECT_NE(address.find(".example/qvnhelp.php"), std::string::npos);
}

TEST(MessageDialog, KindsBelow100GetOneCentredOkButton) {
  for (uint32_t kind : {0u, 1u, 2u, 3u, 4u, 5u, 99u}) {
    SCOPED_TRACE(kind);
    const DialogButtons b = messageButtons(kind, kClientW, kClientH);
    ASSERT_EQ(b.count, 1);
    EXPECT_EQ(b.buttons[0].id, 113);
    EXPECT_STREQ(b.buttons[0].caption, "OK");
    EXPECT_EQ(b.buttons[0].x, 200);
    EXPECT_EQ(b.buttons[0].y, 149);
    EXPECT_EQ(b.buttons[0].w, 80);
    EXPECT_EQ(b.buttons[0].h, 25);
    EXPECT_EQ(b.buttons[0].x + b.buttons[0].w / 2, kClientW / 2);
  }
}

TEST(MessageDialog, QuestionKindsGetOkAndCancel40PixelsApart) {
  for (uint32_t kind : {100u, 101u, 102u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(kind);
    const DialogButtons b = messageButtons(kind, kClientW, kClientH);
    ASSERT_EQ(b.count, 2);
    EXPECT_EQ(b.buttons[0].id, 113);
    EXPECT_EQ(b.buttons[0].x, 140);
    EXPECT_EQ(b.buttons[1].id, 114);
    EXPECT_STREQ(b.buttons[1].caption, "CANCEL");
    EXPECT_EQ(b.buttons[1].x, 260);
    EXPECT_EQ(b.buttons[1].y, b.buttons[0].y);
    EXPECT_EQ(b.buttons[1].x - (b.buttons[0].x + b.buttons[0].w), 40);
  }
}

TEST(MessageDialog, OddClientSizesUseIntegerHalves) {
  const DialogButtons one = messageButtons(0, 481, 195);
  EXPECT_EQ(one.buttons[0].x, 200);  // 481 / 2 = 240
  EXPECT_EQ(one.buttons[0].y, 150);
  const PixelRect text = messageTextRect(481, 195);
  EXPECT_EQ(text.top, 72);  // 195 / 2 - 25
}

TEST(MessageDialog, PlacementAndTextRectangle) {
  const DialogPlacement p = messageDialogPlacement(256, 128);
  EXPECT_EQ(p.x, 271);
  EXPECT_EQ(p.y, 228);
  EXPECT_EQ(p.w, 482);
  EXPECT_EQ(p.h, 196);
  const DialogPlacement offScreen = messageDialogPlacement(-30, -5);
  EXPECT_EQ(offScreen.x, -15);
  EXPECT_EQ(offScreen.y, 95);
  const PixelRect text = messageTextRect(kClientW, kClientH);
  EXPECT_EQ(text.left, 0);
  EXPECT_EQ(text.top, 72);
  EXPECT_EQ(text.right, 480);
  EXPECT_EQ(text.bottom, 194);
}

TEST(MessageDialog, OnlyOkAndCancelComeBackAndAFailedDialogCountsAsCancel) {
  struct Case {
    long long raw, result;
  } cases[] = {{113, 113}, {114, 114}, {-1, 114}, {0, 114}, {1, 114}, {2, 114}, {112, 114}, {115, 114}};
  for (const Case& c : cases) EXPECT_EQ(messageResult(c.raw), c.result) << "dialog result " << c.raw;
}

TEST(ShadedFrame, RingColoursRunFromOuterToInner) {
  EXPECT_EQ(shadedRingColour(kDarkening, 0), (RingColour{160, 170, 180}));
  EXPECT_EQ(shadedRingColour(kDarkening, 1), (RingColour{150, 160, 170}));
  EXPECT_EQ(shadedRingColour(kDarkening, 15), (RingColour{10, 20, 30}));
  EXPECT_EQ(shadedRingColour(kBrightening, 0), (RingColour{45, 45, 53}));
  EXPECT_EQ(shadedRingColour(kBrightening, 7), (RingColour{115, 115, 123}));
  EXPECT_EQ(shadedRingColour(kBrightening, 15), (RingColour{195, 195, 203}));
  for (int ring = 0; ring < kShadedRingCount; ++ring) {
    const RingColour dark = shadedRingColour(kDarkening, ring);
    const RingColour light = shadedRingColour(kBrightening, ring);
    for (int v : {dark.r, dark.g, dark.b, light.r, light.g, light.b}) {
      EXPECT_GE(v, 0) << "ring " << ring;
      EXPECT_LE(v, 255) << "ring " << ring;
    }
  }
}

TEST(ShadedFrame, RingsShrinkOnePixelPerSide) {
  const PixelRect client{0, 0, 480, 194};
  const PixelRect outer = shadedRingRect(client, 0);
  EXPECT_EQ(outer.left, 0);
  EXPECT_EQ(outer.right, 480);
  const PixelRect inner = shadedRingRect(client, 15);
  EXPECT_EQ(inner.left, 15);
  EXPECT_EQ(inner.top, 15);
  EXPECT_EQ(inner.right, 465);
  EXPECT_EQ(inner.bottom, 179);
  const PixelRect status = shadedRingRect({64, 20, 448, 80}, 3);
  EXPECT_EQ(status.left, 67);
  EXPECT_EQ(status.bottom, 77);
}

TEST(ShadedFrame, CornerShrinksWithRingAndNeverGoesNegative) {
  struct Case {
    int corner, ring, expected;
  } cases[] = {{35, 0, 35}, {35, 15, 20}, {48, 15, 33}, {100, 15, 85}, {16, 15, 1},
               {15, 15, 0}, {0, 0, 0},    {0, 1, 0},    {0, 15, 0},    {5, 9, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(shadedRingCorner(c.corner, c.ring), c.expected) << "corner " << c.corner << " ring " << c.ring;
}

}  // namespace
