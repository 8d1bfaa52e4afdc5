// Adding and removing transponders: the list's text, the message dialog and the file rewrite.
#include "transponders/transponder_edit_win32.h"

#include <windows.h>

#include <string>

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
  // A file that cannot be written (read-only, say) stays as it was and this is not reported;
  // the reload that follows shows the file's own entries again.
  if (currentTransponderFile(&fileName))
    addTransponderToFile(systemFileSystem(), fileName, readShared(settingsRecord.satellitePosition), text);
  showMessage(kMessageAdded);
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
  if (currentTransponderFile(&fileName))
    removeTransponderFromFile(systemFileSystem(), fileName, readShared(settingsRecord.satellitePosition),
                              static_cast<size_t>(index), itemText);
  return true;
}
