// The main window's shape, hot regions, combo boxes, shared drawing objects and tooltips.
#include <windows.h>
#include <commctrl.h>

#include "app/globals.h"
#include "app/globals_win32.h"
#include "app/shell.h"
#include "ui/hover.h"
#include "ui/paint_plan.h"
#include "ui/skin_win32.h"

RECT hintRect, levelBox, qualityBox, settingsStrip;

namespace {

constexpr int kWindowCornerW = 70;
constexpr int kWindowCornerH = 60;
constexpr int kSmallFontHeight = 18;
constexpr int kLargeFontHeight = 36;
constexpr int kFontWeight = 600;
constexpr COLORREF kGridPenColour = RGB(100, 100, 100);
constexpr COLORREF kDialPenColour = RGB(140, 140, 150);
constexpr int kDialPenWidth = 3;
constexpr COLORREF kLightBrushColour = RGB(205, 205, 213);

HRGN hotRegions[kHotRegionCount];

struct ComboSpec {
  HWND* control;
  int id;
  int x, y, w, h;
  DWORD style;
};
// The height includes the opened list.
const ComboSpec kComboBoxes[] = {
    {&controls.lnbList, kIdLnbList, 46, 228, 119, 170, WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST},
    {&controls.satelliteList, kIdSatelliteList, 90, 112, 280, 270,
     WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT},
    {&controls.transponderList, kIdTransponderList, 90, 180, 280, 200,
     WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN},
};

RECT toRect(const PixelRect& r) { return {r.left, r.top, r.right, r.bottom}; }

HFONT createBoldFont(int height) {
  LOGFONTA font;
  ZeroMemory(&font, sizeof(font));
  font.lfHeight = height;
  font.lfWeight = kFontWeight;
  return CreateFontIndirectA(&font);
}

template <typename Handle>
void deleteIfPresent(Handle& object) {
  if (object == nullptr) return;
  DeleteObject(object);
  object = nullptr;
}

}  // namespace

void createWindowShapeAndHotRegions() {
  SetWindowRgn(shell.mainWindow, CreateRoundRectRgn(0, 0, kWindowWidth, kWindowHeight, kWindowCornerW, kWindowCornerH),
               TRUE);
  for (const HotRegionShape& shape : kHotRegionShapes) {
    const PixelRect& r = shape.rect;
    hotRegions[static_cast<int>(shape.region)] =
        shape.cornerW != 0 ? CreateRoundRectRgn(r.left, r.top, r.right, r.bottom, shape.cornerW, shape.cornerH)
                           : CreateRectRgn(r.left, r.top, r.right, r.bottom);
  }
}

bool pointInHotRegion(HotRegion region, int x, int y) {
  HRGN handle = hotRegions[static_cast<int>(region)];
  return handle != nullptr && PtInRegion(handle, x, y) != FALSE;
}

void createComboBoxes() {
  for (const ComboSpec& combo : kComboBoxes) {
    *combo.control = CreateWindowExA(0, "COMBOBOX", "", combo.style, combo.x, combo.y, combo.w, combo.h,
                                     shell.mainWindow, reinterpret_cast<HMENU>(static_cast<INT_PTR>(combo.id)),
                                     shell.instance, nullptr);
  }
}

void createFontsAndTextState() {
  skin.smallBoldFont = createBoldFont(kSmallFontHeight);
  skin.largeFont = createBoldFont(kLargeFontHeight);
  skin.savedFont = static_cast<HFONT>(SelectObject(shell.windowDC, skin.smallBoldFont));
  SetTextColor(shell.windowDC, RGB(kTextColour.r, kTextColour.g, kTextColour.b));
  SetBkMode(shell.windowDC, TRANSPARENT);
}

void createPensAndBrushes() {
  skin.gridPen = CreatePen(PS_SOLID, 1, kGridPenColour);
  skin.dialPen = CreatePen(PS_SOLID, kDialPenWidth, kDialPenColour);
  skin.lightBrush = CreateSolidBrush(kLightBrushColour);
  skin.blackBrush = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

void setComboBoxFonts() {
  for (const ComboSpec& combo : kComboBoxes)
    SendMessageA(*combo.control, WM_SETFONT, reinterpret_cast<WPARAM>(skin.smallBoldFont), TRUE);
}

void fillLnbList() {
  for (const char* item : kLnbItems) SendMessageA(controls.lnbList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  // An index outside 0..4 (a damaged file) leaves the list without selection.
  const int32_t selection = settingsRecord.lnbSelection;
  const WPARAM index = selection >= 0 && selection < kLnbItemCount ? static_cast<WPARAM>(selection) : static_cast<WPARAM>(-1);
  SendMessageA(controls.lnbList, CB_SETCURSEL, index, 0);
}

void createTooltips() {
  INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&classes);
  HWND tooltip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX, 0, 0, 0, 0, shell.mainWindow,
                                 nullptr, shell.instance, nullptr);
  if (tooltip == nullptr) return;
  for (const Tooltip& tip : kTooltips) {
    TTTOOLINFOA tool;
    ZeroMemory(&tool, sizeof(tool));
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = shell.mainWindow;
    tool.uId = 0;
    tool.hinst = shell.instance;
    tool.rect = toRect(tip.rect);
    tool.lpszText = const_cast<char*>(tip.text);
    SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void setFixedRectangles() {
  hintRect = toRect(kHintRect);
  levelBox = toRect(kLevelBox);
  qualityBox = toRect(kQualityBox);
  settingsStrip = toRect(kSettingsStrip);
}

void deleteDrawingObjects() {
  deleteIfPresent(skin.smallBoldFont);
  deleteIfPresent(skin.largeFont);
  for (HotRegion region : kHotRegionDeleteOrder) deleteIfPresent(hotRegions[static_cast<int>(region)]);
  deleteIfPresent(skin.lightBrush);
  deleteIfPresent(skin.dialPen);
  deleteIfPresent(skin.tracePen);
  deleteIfPresent(skin.gridPen);
}
