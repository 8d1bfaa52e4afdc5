// The dish calculator: a modal dialog on the empty template with the position lists, a copy of
// the satellite list, the dish-size boxes and the results drawn through an off-screen image.
#include "dishcalc/calculator_win32.h"

#include <cstdlib>
#include <cstring>

#include "core/globals.h"
#include "core/globals_win32.h"
#include "dishcalc/calculator_drawing.h"
#include "dishcalc/calculator_lists.h"
#include "dishcalc/geometry.h"
#include "dishcalc/magnetic_model.h"
#include "resources/resource_ids.h"
#include "window/shaded_frame_win32.h"
#include "window/skin_win32.h"

namespace {

constexpr int kIdLongitudeDegreeList = IDC_LONGITUDE_DEGREES;
constexpr int kIdLongitudeMinuteList = IDC_LONGITUDE_MINUTES;
constexpr int kIdLatitudeDegreeList = IDC_LATITUDE_DEGREES;
constexpr int kIdLatitudeMinuteList = IDC_LATITUDE_MINUTES;
constexpr int kIdCalculatorSatelliteList = IDC_CALCULATOR_SATELLITES;
constexpr int kIdDishWidthBox = IDC_DISH_WIDTH;
constexpr int kIdDishHeightBox = IDC_DISH_HEIGHT;

constexpr DWORD kListStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST;
constexpr DWORD kBoxStyle = WS_CHILD | WS_TABSTOP | ES_NUMBER;  // shown once results are
constexpr int kShadedFrameBrightening = 1;

// One calculator can be open at a time; these live from opening to OK.
struct CalculatorWindow {
  bool ready = false;  // commands are ignored until the controls are all built
  HDC imageDC = nullptr;
  HBITMAP imageBitmap = nullptr;
  HGDIOBJ originalBitmap = nullptr;
  HWND satelliteList = nullptr;
  HWND latitudeDegreeList = nullptr;
  HWND latitudeMinuteList = nullptr;
  HWND longitudeDegreeList = nullptr;
  HWND longitudeMinuteList = nullptr;
  HWND widthBox = nullptr;
  HWND heightBox = nullptr;
  SatelliteCopy satelliteCopy;
  double year = 0;         // today, from the system clock, as a decimal year
  MagneticField field{};   // at the chosen site, today
};
CalculatorWindow calculator;

HWND createControl(HWND dialog, const char* className, const char* text, DWORD style, int left, int top, int width,
                   int height, int id) {
  return CreateWindowExA(0, className, text, style, left, top, width, height, dialog,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), shell.instance, nullptr);
}

void addItem(HWND list, const char* text, int32_t value) {
  const LRESULT index = SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  if (index >= 0) SendMessageA(list, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(value));
}

// An index outside the list (a damaged settings file) leaves the list without a selection.
void selectIndex(HWND list, int32_t index) { SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

int32_t selectedIndex(HWND list) { return static_cast<int32_t>(SendMessageA(list, CB_GETCURSEL, 0, 0)); }

int32_t itemValue(HWND list, int32_t index) {
  return static_cast<int32_t>(SendMessageA(list, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

void createImage(HWND dialog, const RECT& client) {
  HDC windowDC = GetDC(dialog);
  calculator.imageDC = CreateCompatibleDC(windowDC);
  calculator.imageBitmap = CreateCompatibleBitmap(windowDC, client.right, client.bottom);
  calculator.originalBitmap = SelectObject(calculator.imageDC, calculator.imageBitmap);
  ReleaseDC(dialog, windowDC);
}

// Our bitmap goes back out of the memory DC first: GDI will not delete a selected object.
void releaseImage() {
  if (calculator.imageDC != nullptr && calculator.originalBitmap != nullptr)
    SelectObject(calculator.imageDC, calculator.originalBitmap);
  calculator.originalBitmap = nullptr;
  if (calculator.imageBitmap != nullptr) DeleteObject(calculator.imageBitmap);
  calculator.imageBitmap = nullptr;
  if (calculator.imageDC != nullptr) DeleteDC(calculator.imageDC);
  calculator.imageDC = nullptr;
}

// A text that cannot be read is left out; the copy remembers which main entry each one is.
void copySatelliteList(HWND dialog) {
  calculator.satelliteList = createControl(dialog, "COMBOBOX", "", kListStyle, 85, 125, 300, 200,
                                           kIdCalculatorSatelliteList);
  calculator.satelliteCopy = SatelliteCopy{};
  const LRESULT count = SendMessageA(controls.satelliteList, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageA(controls.satelliteList, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length == CB_ERR) continue;
    char* text = static_cast<char*>(std::malloc(static_cast<size_t>(length) + 1));
    if (text == nullptr) continue;
    const LRESULT copied =
        SendMessageA(controls.satelliteList, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    text[copied == CB_ERR ? 0 : copied] = '\0';
    if (SendMessageA(calculator.satelliteList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)) >= 0)
      calculator.satelliteCopy.add(static_cast<int32_t>(i));
    std::free(text);
  }
  const int32_t mainSelection = selectedIndex(controls.satelliteList);
  selectIndex(calculator.satelliteList, calculator.satelliteCopy.selectionIn(mainSelection));
}

void fillLatitudeDegreeList() {
  for (int32_t i = 0; i < kLatitudeDegreeCount; ++i) {
    char text[kLatitudeTextSize];
    latitudeDegreeText(i, text);
    addItem(calculator.latitudeDegreeList, text, latitudeDegreeValue(i));
  }
}

void fillLongitudeDegreeList() {
  for (int32_t i = 0; i < kLongitudeDegreeCount; ++i) {
    char text[kLongitudeTextSize];
    longitudeDegreeText(i, text);
    addItem(calculator.longitudeDegreeList, text, longitudeDegreeValue(i));
  }
}

void fillMinuteLists() {
  for (int32_t i = 0; i < kMinuteCount; ++i) {
    char text[kMinuteTextSize];
    minuteText(i, text);
    addItem(calculator.latitudeMinuteList, text, minuteValue(i));
    addItem(calculator.longitudeMinuteList, text, minuteValue(i));
  }
}

void createPositionLists(HWND dialog) {
  calculator.latitudeDegreeList = createControl(dialog, "COMBOBOX", "", kListStyle, 85, 65, 75, 200,
                                                kIdLatitudeDegreeList);
  calculator.latitudeMinuteList = createControl(dialog, "COMBOBOX", "", kListStyle, 155, 65, 70, 200,
                                                kIdLatitudeMinuteList);
  fillLatitudeDegreeList();
  selectIndex(calculator.latitudeDegreeList, settingsRecord.latitudeDegreeIndex);
  calculator.longitudeDegreeList = createControl(dialog, "COMBOBOX", "", kListStyle, 245, 65, 75, 200,
                                                 kIdLongitudeDegreeList);
  calculator.longitudeMinuteList = createControl(dialog, "COMBOBOX", "", kListStyle, 315, 65, 70, 200,
                                                 kIdLongitudeMinuteList);
  fillLongitudeDegreeList();
  selectIndex(calculator.longitudeDegreeList, settingsRecord.longitudeDegreeIndex);
  fillMinuteLists();
  selectIndex(calculator.latitudeMinuteList, settingsRecord.latitudeMinuteIndex);
  selectIndex(calculator.longitudeMinuteList, settingsRecord.longitudeMinuteIndex);
}

HWND createDishSizeBox(HWND dialog, int top, int id, int32_t& field, int32_t defaultSize) {
  HWND box = createControl(dialog, "EDIT", "", kBoxStyle, 245, top, 60, 15, id);
  SendMessageA(box, EM_LIMITTEXT, kDishSizeDigits, 0);
  field = dishSizeOrDefault(field, defaultSize);
  char text[kDishSizeTextSize];
  dishSizeText(field, text);
  SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  return box;
}

void setSmallBoldFont(HWND control) {
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(skin.smallBoldFont), TRUE);
}

double siteFromLists(HWND degreeList, HWND minuteList) {
  const int32_t degrees = itemValue(degreeList, indexInUse(selectedIndex(degreeList)));
  const int32_t minutes = itemValue(minuteList, indexInUse(selectedIndex(minuteList)));
  return siteCoordinate(degrees, minutes);
}

double satelliteFromList() {
  const int32_t selected = selectedIndex(calculator.satelliteList);
  const std::vector<int32_t>& source = calculator.satelliteCopy.sourceIndex;
  const bool haveSelection = selected >= 0 && static_cast<size_t>(selected) < source.size();
  const int32_t position = haveSelection ? itemValue(controls.satelliteList, source[selected]) : 0;
  return calculatorSatelliteLongitude(haveSelection, position);
}

uint32_t readDishSizeBox(HWND box) {
  char text[kDishSizeTextSize] = {};
  SendMessageA(box, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
  return readDishSize(text);
}

void recomputeCalculator() {
  settingsRecord.latitudeDegreeIndex = selectedIndex(calculator.latitudeDegreeList);
  settingsRecord.longitudeDegreeIndex = selectedIndex(calculator.longitudeDegreeList);
  settingsRecord.latitudeMinuteIndex = selectedIndex(calculator.latitudeMinuteList);
  settingsRecord.longitudeMinuteIndex = selectedIndex(calculator.longitudeMinuteList);
  const double latitude = siteFromLists(calculator.latitudeDegreeList, calculator.latitudeMinuteList);
  const double longitude = siteFromLists(calculator.longitudeDegreeList, calculator.longitudeMinuteList);
  computePointingAngles(calculatorResults, latitude, longitude, satelliteFromList());
  SYSTEMTIME today;
  GetSystemTime(&today);
  calculator.year = decimalYear(today.wYear, today.wMonth, today.wDay);
  calculator.field = magneticField(latitude, longitude, calculator.year);
  // Beneath the satellite too: the drawing shows an offset-dish line with every result.
  const uint32_t width = readDishSizeBox(calculator.widthBox);
  const uint32_t height = readDishSizeBox(calculator.heightBox);
  settingsRecord.dishWidth = static_cast<int32_t>(width);
  settingsRecord.dishHeight = static_cast<int32_t>(height);
  computeOffsetAngle(calculatorResults, width, height);
  const int show = satelliteVisible(calculatorResults.elevation) ? SW_SHOWNORMAL : SW_HIDE;
  ShowWindow(calculator.widthBox, show);
  ShowWindow(calculator.heightBox, show);
}

void drawNeedle(HDC dc, const DrawStep& step) {
  // Thick grey first, then a thin black line along it with the context's own pen.
  const HGDIOBJ previousPen = SelectObject(dc, skin.dialPen);
  MoveToEx(dc, kCompassCentreX, kCompassCentreY, nullptr);
  AngleArc(dc, kCompassCentreX, kCompassCentreY, kNeedleLength, step.startAngle, step.sweepAngle);
  if (previousPen != nullptr) SelectObject(dc, previousPen);
  MoveToEx(dc, kCompassCentreX, kCompassCentreY, nullptr);
  AngleArc(dc, kCompassCentreX, kCompassCentreY, kNeedleLength, step.startAngle, step.sweepAngle);
}

void drawStep(HDC dc, const DrawStep& step) {
  switch (step.kind) {
    case DrawKind::Text:
      SetTextColor(dc, step.colour);
      TextOutA(dc, step.left, step.top, step.text, static_cast<int>(std::strlen(step.text)));
      break;
    case DrawKind::Picture:
      drawSkinPart(dc, step.block.sourceLeft, step.block.sourceTop, step.block.width, step.block.height,
                   step.block.left, step.block.top);
      break;
    case DrawKind::Needle: drawNeedle(dc, step); break;
  }
}

// Everything goes into the image first; the window gets it in one copy, which leaves the
// controls alone (WS_CLIPCHILDREN).
void drawCalculator(HWND dialog) {
  if (calculator.imageDC == nullptr) return;
  HDC windowDC = GetDC(dialog);
  RECT client;
  GetClientRect(dialog, &client);
  HDC dc = calculator.imageDC;
  const HGDIOBJ previousFont = SelectObject(dc, skin.smallBoldFont);
  drawShadedFrame(dc, client, skin.lightBrush, kCalculatorCorner, kShadedFrameBrightening);
  SetBkMode(dc, TRANSPARENT);
  CalculatorDrawing drawing;
  planCalculatorDrawing(calculatorResults, drawing);
  planCompassAndSkew(calculatorResults, calculator.year, calculator.field, drawing);
  for (size_t i = 0; i < drawing.count; ++i) drawStep(dc, drawing.steps[i]);
  if (previousFont != nullptr) SelectObject(dc, previousFont);
  BitBlt(windowDC, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  ReleaseDC(dialog, windowDC);
}

void OnInitDialog(HWND dialog) {
  SetWindowLongPtrA(dialog, GWL_STYLE, GetWindowLongPtrA(dialog, GWL_STYLE) | WS_CLIPCHILDREN);
  RECT mainWindow;
  GetWindowRect(shell.mainWindow, &mainWindow);
  MoveWindow(dialog, mainWindow.left + kCalculatorOffsetX, mainWindow.top + kCalculatorOffsetY, kCalculatorWidth,
             kCalculatorHeight, TRUE);
  RECT client;
  GetClientRect(dialog, &client);
  createImage(dialog, client);
  SetWindowRgn(dialog, CreateRoundRectRgn(0, 0, client.right, client.bottom, kCalculatorCorner, kCalculatorCorner),
               TRUE);
  copySatelliteList(dialog);
  createPositionLists(dialog);
  calculator.widthBox = createDishSizeBox(dialog, 360, kIdDishWidthBox, settingsRecord.dishWidth, kDefaultDishWidth);
  calculator.heightBox =
      createDishSizeBox(dialog, 380, kIdDishHeightBox, settingsRecord.dishHeight, kDefaultDishHeight);
  createControl(dialog, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP, client.right / 2 - 30,
                client.bottom - 35, 60, 20, IDC_OK);
  setSmallBoldFont(calculator.satelliteList);
  setSmallBoldFont(calculator.latitudeDegreeList);
  setSmallBoldFont(calculator.longitudeDegreeList);
  calculator.ready = true;
  recomputeCalculator();
}

void OnCalculatorPaint(HWND dialog) {
  if (!GetUpdateRect(dialog, nullptr, FALSE)) return;
  PAINTSTRUCT paint;
  BeginPaint(dialog, &paint);
  drawCalculator(dialog);
  EndPaint(dialog, &paint);
}

void closeCalculator(HWND dialog) {
  calculator.ready = false;
  releaseImage();
  EndDialog(dialog, IDC_OK);
}

bool isInputChange(int id, int code) {
  if (id >= kIdLongitudeDegreeList && id <= kIdCalculatorSatelliteList) return code == CBN_SELCHANGE;
  if (id == kIdDishWidthBox || id == kIdDishHeightBox) return code == EN_CHANGE;
  return false;
}

// Esc and the system close arrive as IDCANCEL and are ignored: only OK closes.
INT_PTR OnCommand(HWND dialog, int id, int code) {
  if (!calculator.ready) return FALSE;
  if (id == IDC_OK) {
    closeCalculator(dialog);
    return TRUE;
  }
  if (isInputChange(id, code)) {
    recomputeCalculator();
    drawCalculator(dialog);
  }
  return FALSE;
}

}  // namespace

INT_PTR CALLBACK calculatorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: OnInitDialog(dialog); return TRUE;
    case WM_PAINT: OnCalculatorPaint(dialog); return FALSE;
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    case WM_LBUTTONDOWN: SendMessageA(dialog, WM_NCLBUTTONDOWN, HTCAPTION, 0); return FALSE;
  }
  return FALSE;
}
