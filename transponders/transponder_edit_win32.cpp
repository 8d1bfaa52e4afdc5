// Parsing the transponder text, the status messages, and adding and removing transponders.
#include <string>

#include "app/app_win32.h"
#include "app/globals.h"
#include "app/globals_win32.h"
#include "transponders/transponder_edit.h"
#include "transponders/transponder_file.h"
#include "transponders/transponder_files_win32.h"
#include "transponders/transponder_parse.h"
#include "transponders/transponders_win32.h"
#include "ui/layout.h"
#include "ui/message_dialog_win32.h"

namespace {

constexpr RECT kStatusBox = {64, 20, 448, 80};
constexpr int kStatusCorner = 48;
constexpr int kBrighteningInward = 1;
constexpr COLORREF kStatusTextColour = RGB(200, 0, 0);
constexpr COLORREF kNormalTextColour = RGB(190, 200, 210);
constexpr DWORD kStatusPauseMs = 2000;

// Shows the message long enough to be read, then lets the next paint remove it.
void showStatusForAWhile(int index) {
  showStatusMessage(index);
  Sleep(kStatusPauseMs);
  InvalidateRect(shell.mainWindow, nullptr, TRUE);
}

bool currentTransponderFile(std::string* fileName) {
  return transponderFileName(readShared(settingsRecord.satellitePosition), fileName);
}

}  // namespace

void showStatusMessage(int index) {
  HDC dc = shell.windowDC;
  RECT box = kStatusBox;
  drawShadedFrame(dc, box, skin.lightBrush, kStatusCorner, kBrighteningInward);
  skin.savedFont = static_cast<HFONT>(SelectObject(dc, skin.smallBoldFont));
  SetTextColor(dc, kStatusTextColour);
  DrawTextA(dc, statusMessageText(index), -1, &box, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  SetTextColor(dc, kNormalTextColour);
  SelectObject(dc, skin.savedFont);
  // Wine keeps drawing done outside WM_PAINT in the window surface until the thread next waits
  // for messages; the pause that follows is a Sleep, so without this wait of no time and for no
  // message the text never reaches the screen.
  GdiFlush();
  MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, 0);
}

bool parseTransponderText(bool showMessages) {
  TuningResult values{readShared(settingsRecord.frequencyKHz), tuningValues.polarization, tuningValues.symbolRate};
  const int status = parseTransponderEntry(windowText(controls.transponderList), values);
  // A failed parse keeps what it stored before the failing rule, as the next tune expects.
  writeShared(settingsRecord.frequencyKHz, values.frequencyKHz);
  tuningValues.polarization = values.polarization;
  tuningValues.symbolRate = values.symbolRate;
  if (status == kTransponderTextValid) return false;
  if (showMessages) showStatusForAWhile(status);
  return true;
}

bool addTransponder() {
  if (parseTransponderText(true)) return true;
  const std::string text = windowText(controls.transponderList);
  HWND list = controls.transponderList;
  const LRESULT existing =
      SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
  if (existing != CB_ERR) {
    showMessage(kMessageDuplicate);
    return false;
  }
  const LRESULT added = SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (added == CB_ERR || added == CB_ERRSPACE) return true;
  std::string fileName;
  enterProgramFolder();
  // A file that cannot be written (read-only, say) stays as it was and this is not reported;
  // the reload that follows shows the file's own entries again.
  if (currentTransponderFile(&fileName))
    addTransponderToFile(transponderReader(), fileName, readShared(settingsRecord.satellitePosition), text);
  showMessage(kMessageAdded);
  return false;
}

bool removeTransponder() {
  const std::string text = windowText(controls.transponderList);
  HWND list = controls.transponderList;
  const LRESULT index =
      SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
  if (index == CB_ERR) return true;
  if (showMessage(kMessageConfirmDelete) == kIdCancel) return true;
  // The item's own text, in the file's letter case, finds the entry in the file.
  const LRESULT length = SendMessageA(list, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return true;
  std::string itemText(static_cast<size_t>(length) + 1, '\0');
  const LRESULT fetched = SendMessageA(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(itemText.data()));
  itemText.resize(fetched > 0 ? static_cast<size_t>(fetched) : 0);
  if (SendMessageA(list, CB_DELETESTRING, index, 0) == CB_ERR) return true;
  std::string fileName;
  enterProgramFolder();
  if (currentTransponderFile(&fileName))
    removeTransponderFromFile(transponderReader(), fileName, readShared(settingsRecord.satellitePosition),
                              static_cast<size_t>(index), itemText);
  return false;
}
