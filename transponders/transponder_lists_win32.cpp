// The satellite and transponder lists: moves text between the transponder files, the two
// combo boxes and the portable rules of transponders/.
#include "transponders/transponder_lists_win32.h"

#include <windows.h>

#include <string>
#include <vector>

#include "core/file_io_win32.h"
#include "core/globals.h"
#include "core/globals_win32.h"
#include "core/program_folder_win32.h"
#include "transponders/satellite_list.h"
#include "transponders/satellite_name_cache.h"
#include "transponders/transponder_file.h"

namespace {

bool sortByName = false;  // false: position first. Never stored; every start begins with false.

uint64_t joined(DWORD high, DWORD low) { return (uint64_t{high} << 32) | low; }

std::vector<FoundTransponderFile> transponderFiles() {
  std::vector<FoundTransponderFile> files;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA("Transponders\\*.ini", &found);
  if (search == INVALID_HANDLE_VALUE) return files;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    files.push_back({found.cFileName, joined(found.nFileSizeHigh, found.nFileSizeLow),
                     joined(found.ftLastWriteTime.dwHighDateTime, found.ftLastWriteTime.dwLowDateTime)});
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return files;
}

}  // namespace

bool buildSatelliteList() {
  enterProgramFolder();
  const std::vector<FoundTransponderFile> files = transponderFiles();
  if (files.empty()) return false;
  FileSystem& fs = systemFileSystem();
  const SatelliteNameCache noted = loadSatelliteNameCache(fs);
  SatelliteNameCache cache = noted;
  const SatelliteScan scan = scanSatellites(fs, files, sortByName, readShared(settingsRecord.satellitePosition), &cache);
  // Without the note (a read-only folder, a full disk) the next start reads the files again.
  if (cache != noted) saveSatelliteNameCache(fs, cache);
  // Added in the control's own order, so each lands at the end and the selection stays put.
  // Without redraw the list box leaves its scroll bar alone until all are in.
  HWND list = controls.satelliteList;
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, CB_INITSTORAGE, scan.items.size(), scan.items.size() * kSatelliteItemRoom);
  for (const SatelliteItem& item : scan.items) {
    const LRESULT index = SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.text.c_str()));
    if (index >= 0) SendMessageA(list, CB_SETITEMDATA, index, item.position);
  }
  if (scan.selected >= 0) {
    const std::string& text = scan.items[scan.selected].text;
    const LRESULT index = SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(text.c_str()));
    if (index != CB_ERR) SendMessageA(list, CB_SETCURSEL, index, 0);
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  return scan.skipped == 0;
}

bool loadTransponderList() {
  std::string fileName;
  std::string bytes;
  enterProgramFolder();
  const bool read = transponderFileName(readShared(settingsRecord.satellitePosition), &fileName) &&
                    systemFileSystem().readFile(fileName, &bytes);
  // A file that cannot be read (gone, locked, too large) leaves the list and its text empty rather than
  // the previous satellite's: start, add and remove must never act on another satellite's entries.
  const std::vector<std::string> items = read ? transponderItems(readTransponderFile(bytes)) : std::vector<std::string>{};
  const int selected = selectedTransponderIndex(items, readShared(settingsRecord.frequencyKHz));
  HWND list = controls.transponderList;
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, CB_RESETCONTENT, 0, 0);
  for (const std::string& item : items) SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  if (selected >= 0) SendMessageA(list, CB_SETCURSEL, selected, 0);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  return read;
}

bool selectSatellite() {
  const LRESULT index = SendMessageA(controls.satelliteList, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return false;
  const LRESULT position = SendMessageA(controls.satelliteList, CB_GETITEMDATA, index, 0);
  if (position == CB_ERR) return false;
  writeShared(settingsRecord.satellitePosition, static_cast<int32_t>(position));
  return true;
}

bool toggleSortOrder() {
  sortByName = !sortByName;
  SendMessageA(controls.satelliteList, CB_RESETCONTENT, 0, 0);
  return buildSatelliteList();
}
