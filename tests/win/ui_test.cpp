// The main window's regions and lists, the message dialog and the shaded frame on real GDI/USER.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/main_window_win32.h"
#include "core/globals.h"
#include "core/globals_win32.h"
#include "resources/resource_ids.h"
#include "window/drawing_objects_win32.h"
#include "window/hot_regions_win32.h"
#include "window/message_dialog.h"
#include "window/message_dialog_win32.h"
#include "window/shaded_frame_win32.h"
#include "window/skin_win32.h"

namespace {

struct Colour {
  int r, g, b;
};

// A 32-bit DIB section on a memory DC, cleared to white.
struct Canvas {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  uint32_t* bits = nullptr;
  int width, height;
  Canvas(int w, int h) : width(w), height(h) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    SelectObject(dc, bitmap);
    for (int i = 0; i < w * h; ++i) bits[i] = 0xFFFFFF;
  }
  ~Canvas() {
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  Colour at(int x, int y) const {
    GdiFlush();
    const uint32_t p = bits[y * width + x];
    return {int(p >> 16 & 0xFF), int(p >> 8 & 0xFF), int(p & 0xFF)};
  }
};

std::string text(Colour c) {
  return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
}
bool same(Colour a, Colour b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
constexpr Colour kFace{205, 205, 213};
constexpr Colour kWhite{255, 255, 255};

void drawFrame(Canvas& canvas, int corner, int style) {
  HBRUSH face = CreateSolidBrush(RGB(kFace.r, kFace.g, kFace.b));
  const RECT all{0, 0, canvas.width, canvas.height};
  drawShadedFrame(canvas.dc, all, face, corner, style);
  DeleteObject(face);
}

TEST(ShadedFrameOnGdi, BrighteningRingsAroundAFaceInTheBrushColour) {
  Canvas canvas(200, 100);
  drawFrame(canvas, 35, 1);
  const Colour middle = canvas.at(100, 50);
  EXPECT_TRUE(same(middle, kFace)) << "got " << text(middle) << ", expected the face colour";
  const Colour outer = canvas.at(1, 50), inner = canvas.at(13, 50);
  EXPECT_LT(outer.r, inner.r) << "got outer " << text(outer) << " inner " << text(inner) << ", expected brighter inward";
  EXPECT_LE(outer.r, 65) << "got " << text(outer);
  EXPECT_GE(inner.r, 160) << "got " << text(inner);
  EXPECT_EQ(inner.b - inner.r, 8) << "got " << text(inner) << ", expected the blue 8 above red";
  const Colour corner = canvas.at(0, 0);
  EXPECT_TRUE(same(corner, kWhite)) << "got " << text(corner) << ", expected the rounded corner left untouched";
}

TEST(ShadedFrameOnGdi, DarkeningRingsAndASquareFrameForCornerZero) {
  Canvas canvas(200, 100);
  drawFrame(canvas, 0, 0);
  const Colour outer = canvas.at(1, 50), inner = canvas.at(13, 50);
  EXPECT_GT(outer.r, inner.r) << "got outer " << text(outer) << " inner " << text(inner) << ", expected darker inward";
  EXPECT_GE(outer.r, 140) << "got " << text(outer);
  // Corner 0 keeps every ring square: the corner pixels carry the ring colours too.
  for (int i : {1, 5, 12}) {
    const Colour c = canvas.at(i, i);
    EXPECT_FALSE(same(c, kWhite) || same(c, kFace)) << "at " << i << "," << i << " got " << text(c);
  }
  const Colour middle = canvas.at(100, 50);
  EXPECT_TRUE(same(middle, kFace)) << "got " << text(middle);
}

// The dialog procedure on an in-memory copy of the empty template, owned by a plain window.
struct DialogTemplate {
  alignas(DWORD) WORD words[16] = {};
  DialogTemplate() {
    DLGTEMPLATE* t = reinterpret_cast<DLGTEMPLATE*>(words);
    t->style = WS_POPUP | WS_BORDER | WS_SYSMENU;
    t->cx = 60;
    t->cy = 42;
  }
};

struct DialogProbe {
  bool found = false;
  bool stillOpenAfterEsc = false;
  int buttons = 0;
  RECT ok{}, cancel{};
  RECT window{};
  int pressId = kIdOk;
};
DialogProbe probe;

BOOL CALLBACK takeVisibleDialog(HWND w, LPARAM found) {
  char name[32] = {};
  GetClassNameA(w, name, sizeof(name));
  if (std::string(name) != "#32770" || !IsWindowVisible(w)) return TRUE;
  *reinterpret_cast<HWND*>(found) = w;
  return FALSE;
}

// A named CALLBACK function: a lambda has no stdcall conversion on 32-bit.
HWND findDialog() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), takeVisibleDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

void CALLBACK inspectDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = findDialog();
  if (dialog == nullptr) return;
  KillTimer(nullptr, timer);
  probe.found = true;
  GetWindowRect(dialog, &probe.window);
  for (int id : {kIdOk, kIdCancel}) {
    HWND button = GetDlgItem(dialog, id);
    if (button == nullptr) continue;
    ++probe.buttons;
    RECT r;
    GetWindowRect(button, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    (id == kIdOk ? probe.ok : probe.cancel) = r;
  }
  SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);  // what Esc sends
  SendMessageA(dialog, WM_COMMAND, IDOK, 0);      // what Enter sends
  probe.stillOpenAfterEsc = IsWindow(dialog) && IsWindowVisible(dialog);
  SendMessageA(GetDlgItem(dialog, probe.pressId), BM_CLICK, 0, 0);
}

INT_PTR runDialog(uint32_t kind, int pressId) {
  probe = DialogProbe{};
  probe.pressId = pressId;
  messageKind = kind;
  static DialogTemplate dialogTemplate;
  SetTimer(nullptr, 0, 50, inspectDialog);
  return DialogBoxIndirectParamA(shell.instance, reinterpret_cast<DLGTEMPLATE*>(dialogTemplate.words), shell.mainWindow,
                                 messageDialogProc, 0);
}

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    shell.instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = shell.instance;
    windowClass.lpszClassName = "ui_test_main";
    RegisterClassA(&windowClass);
    shell.mainWindow = CreateWindowExA(0, "ui_test_main", "", WS_POPUP, 100, 50, 512, 384, nullptr, nullptr,
                                       shell.instance, nullptr);
    // Windows need Wine's display driver: ctest must run with an X display (xvfb-run).
    if (shell.mainWindow == nullptr) GTEST_SKIP() << "no window could be created: run with an X display";
  }
  void TearDown() override {
    if (shell.mainWindow != nullptr) DestroyWindow(shell.mainWindow);
    shell.mainWindow = nullptr;
    controls = MainControls{};
  }
};

TEST_F(MainWindowTest, DialogKindsGetTheirButtonsOkAndCancelResultsAndIgnoreEscAndEnter) {
  struct Case {
    uint32_t kind;
    int press;
    INT_PTR result;
    int buttons;
  } cases[] = {{4, kIdOk, 113, 1}, {100, kIdCancel, 114, 2}, {101, kIdOk, 113, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.kind);
    const INT_PTR result = runDialog(c.kind, c.press);
    ASSERT_TRUE(probe.found);
    EXPECT_EQ(result, c.result) << "got " << result << ", expected " << c.result;
    EXPECT_TRUE(probe.stillOpenAfterEsc) << "Esc or Enter closed the dialog";
    EXPECT_EQ(probe.buttons, c.buttons);
    EXPECT_EQ(probe.window.left, 115);  // main window (100, 50) + (15, 100)
    EXPECT_EQ(probe.window.top, 150);
    EXPECT_EQ(probe.window.right - probe.window.left, 482);
    EXPECT_EQ(probe.window.bottom - probe.window.top, 196);
    if (c.buttons == 1) {
      EXPECT_EQ(probe.ok.left, 200);
      EXPECT_EQ(probe.ok.top, 149);
    } else {
      EXPECT_EQ(probe.ok.left, 140);
      EXPECT_EQ(probe.cancel.left, 260);
      EXPECT_EQ(probe.cancel.left - probe.ok.right, 40);
    }
  }
}

TEST_F(MainWindowTest, MessageWithoutItsTemplateCountsAsCancel) {
  // This test program carries no dialog template 117, so the dialog cannot open.
  EXPECT_EQ(showMessage(100), 114);
  EXPECT_EQ(messageKind, 100u);
}

TEST_F(MainWindowTest, HotRegionsHaveTheirShapesAndGoAwayAtShutdown) {
  createWindowShapeAndHotRegions();
  struct Case {
    HotRegion region;
    int x, y;
    bool inside;
  } cases[] = {
      {HotRegion::Close, 465, 25, true},      {HotRegion::Close, 450, 10, false},  // rounded corner
      {HotRegion::Close, 480, 25, false},     {HotRegion::Minimise, 420, 25, true},
      {HotRegion::Start, 422, 145, true},     {HotRegion::Start, 396, 116, false},
      {HotRegion::AddRemove, 60, 185, true},  {HotRegion::AddRemove, 60, 186, true},
      {HotRegion::AddRemove, 45, 165, false}, {HotRegion::Sort, 45, 110, true},
      {HotRegion::Sort, 70, 110, false},      {HotRegion::WebLink, 340, 355, true},
      {HotRegion::WebLink, 484, 369, true},   {HotRegion::WebLink, 485, 369, false},
      {HotRegion::Help, 376, 294, true},      {HotRegion::Help, 412, 294, false},
      {HotRegion::About, 420, 280, true},     {HotRegion::DishAlignment, 332, 309, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(pointInHotRegion(c.region, c.x, c.y), c.inside)
        << "region " << static_cast<int>(c.region) << " at " << c.x << "," << c.y;
  deleteDrawingObjects();
  deleteDrawingObjects();  // a second shutdown pass finds nothing left
  EXPECT_FALSE(pointInHotRegion(HotRegion::Close, 465, 25));
}

std::string itemText(HWND list, int index) {
  char buffer[32] = {};
  SendMessageA(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

TEST_F(MainWindowTest, LnbListHoldsNoneToLnb4AndSelectsOnlyAValidSetting) {
  struct Case {
    int32_t setting;
    LRESULT selected;
  } cases[] = {{0, 0}, {2, 2}, {4, 4}, {7, CB_ERR}, {-1, CB_ERR}, {5, CB_ERR}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.setting);
    createComboBoxes();
    settingsRecord.lnbSelection = c.setting;
    fillLnbList();
    ASSERT_EQ(SendMessageA(controls.lnbList, CB_GETCOUNT, 0, 0), 5);
    EXPECT_EQ(itemText(controls.lnbList, 0), "None");
    EXPECT_EQ(itemText(controls.lnbList, 4), "LNB4");
    EXPECT_EQ(SendMessageA(controls.lnbList, CB_GETCURSEL, 0, 0), c.selected);
    EXPECT_EQ(GetDlgCtrlID(controls.transponderList), IDC_TRANSPONDER_LIST);
    EXPECT_EQ(GetWindowLongA(controls.satelliteList, GWL_STYLE) & 0xFFFF, CBS_DROPDOWNLIST | CBS_SORT);
    for (HWND* list : {&controls.lnbList, &controls.satelliteList, &controls.transponderList}) DestroyWindow(*list);
  }
  settingsRecord.lnbSelection = 0;
}

}  // namespace
