#include "app/main_window_win32.h"

#include <windows.h>
#include <commctrl.h>

#include "app/paint_plan.h"
#include "core/globals.h"
#include "core/globals_win32.h"
#include "core/late_dlls_win32.h"
#include "resources/resource_ids.h"
#include "window/hot_regions_win32.h"
#include "window/layout.h"
#include "window/layout_win32.h"

namespace {

constexpr int kWindowCornerW = 70;
constexpr int kWindowCornerH = 60;

struct ComboSpec {
  HWND* control;
  int id;
  int x, y, w, h;
  DWORD style;
};
// The height includes the opened list.
const ComboSpec kComboBoxes[] = {
    {&controls.lnbList, IDC_LNB_LIST, 46, 228, 119, 170, WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST},
    {&controls.satelliteList, IDC_SATELLITE_LIST, 90, 112, 280, 270,
     WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT},
    {&controls.transponderList, IDC_TRANSPONDER_LIST, 90, 180, 280, 200,
     WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN},
};

}  // namespace

void createWindowShapeAndHotRegions() {
  SetWindowRgn(shell.mainWindow, CreateRoundRectRgn(0, 0, kWindowWidth, kWindowHeight, kWindowCornerW, kWindowCornerH),
               TRUE);
  createHotRegions();
}

void createComboBoxes() {
  for (const ComboSpec& combo : kComboBoxes) {
    *combo.control = CreateWindowExA(0, "COMBOBOX", "", combo.style, combo.x, combo.y, combo.w, combo.h,
                                     shell.mainWindow, reinterpret_cast<HMENU>(static_cast<INT_PTR>(combo.id)),
                                     shell.instance, nullptr);
  }
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
  lateInitCommonControlsEx(&classes);
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
    tool.rect = toRect(hotRegionShape(tip.region).rect);
    tool.lpszText = const_cast<char*>(tip.text);
    SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}
