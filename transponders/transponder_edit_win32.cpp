// Adding and removing transponders: the list's text, the message dialog and the file rewrite.
#include "transponders/transponder_edit_win32.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/file_io_win32.h"
#include "core/globals.h"
#include "core/globals_win32.h"
#include "core/program_folder_win32.h"
#include "transponders/transponder_edit.h"
#include "transponders/transponder_file.h"
#include "transponders/transponder_parse_win32.h"
#include "window/message_dialog.h"
#include "window/message_dialog_win32.h"
#include "window/window_text_win32.h"

namespace {

bool currentTransponderFile(std::string* fileName) {
  return transponderFileName(readShared(settingsRecord.satellitePosition), fileName);
}

// A remove that changed nothing because another program took the entry out meanwhile is no
// failure to write: the reload shows the file without it.
bool entryAlreadyGone(const std::string& fileName, const std::string& itemText) {
  std::string bytes;
  if (!systemFileSystem().readFile(fileName, &bytes)) return false;
  const std::vector<std::string> items = transponderItems(readTransponderFile(bytes));
  return std::find(items.begin(), items.end(), itemText) == items.end();
}

}  // namespace

bool addTransponder() {
  if (!parseTransponderText(true)) return false;
  const std::string text = windowText(controls.transponderList);
  HWND list = controls.transponderList;
  const LRESULT existing =
      SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
  if (existing != CB_ERR) {
    showMessage(kMessageDuplicate);
    return true;
  }
  const LRESULT added = SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (added == CB_ERR || added == CB_ERRSPACE) return false;
  std::string fileName;
  enterProgramFolder();
  const bool written =
      currentTransponderFile(&fileName) &&
      addTransponderToFile(systemFileSystem(), fileName, readShared(settingsRecord.satellitePosition), text);
  // A file left as it was (read-only, held, a full disk, too large to read whole) is said; the
  // list drops the item again, and the reload that follows shows what the file holds.
  if (!written) SendMessageA(list, CB_DELETESTRING, added, 0);
  showMessage(written ? kMessageAdded : kMessageCannotWrite);
  return true;
}

bool removeTransponder() {
  const std::string text = windowText(controls.transponderList);
  HWND list = controls.transponderList;
  const LRESULT index =
      SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
  if (index == CB_ERR) return false;
  if (showMessage(kMessageConfirmDelete) == kIdCancel) return false;
  // The item's own text, in the file's letter case, finds the entry in the file.
  const LRESULT length = SendMessageA(list, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return false;
  std::string itemText(static_cast<size_t>(length) + 1, '\0');
  const LRESULT fetched = SendMessageA(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(itemText.data()));
  itemText.resize(fetched > 0 ? static_cast<size_t>(fetched) : 0);
  if (SendMessageA(list, CB_DELETESTRING, index, 0) == CB_ERR) return false;
  std::string fileName;
  enterProgramFolder();
  const bool named = currentTransponderFile(&fileName);
  if (named && removeTransponderFromFile(systemFileSystem(), fileName, readShared(settingsRecord.satellitePosition),
                                         static_cast<size_t>(index), itemText))
    return true;
  if (named && entryAlreadyGone(fileName, itemText)) return true;
  // The file still holds the entry: the list gets it back at its place, and the user is told.
  SendMessageA(list, CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(itemText.c_str()));
  showMessage(kMessageCannotWrite);
  return true;
}
