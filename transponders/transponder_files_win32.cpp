#include "transponders/transponder_files_win32.h"

FileSystem& transponderReader() { return systemFileSystem(); }

std::string windowText(HWND window) {
  const LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
  if (length < 1) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const LRESULT fetched = SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(fetched > 0 ? static_cast<size_t>(fetched) : 0);
  return text;
}
