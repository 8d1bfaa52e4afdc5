#include "window/window_text_win32.h"

std::string windowText(HWND window) {
  const LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
  if (length < 1) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const LRESULT fetched = SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(fetched > 0 ? static_cast<size_t>(fetched) : 0);
  return text;
}

void drawWindowText(HWND window, HDC dc, int x, int y) {
  const std::string text = windowText(window);
  if (!text.empty()) TextOutA(dc, x, y, text.data(), static_cast<int>(text.size()));
}
