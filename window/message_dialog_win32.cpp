// The skinned modal message dialog.
#include "window/message_dialog_win32.h"

#include "core/globals_win32.h"
#include "window/layout_win32.h"
#include "window/message_dialog.h"
#include "window/shaded_frame.h"
#include "window/shaded_frame_win32.h"

uint32_t messageKind = 0;

namespace {

std::string messageNote;

std::string messageWithNote() {
  std::string text = messageText(messageKind);
  if (!messageNote.empty()) text += (text.empty() ? "" : "\r\n") + messageNote;
  return text;
}

void OnInitDialog(HWND dialog) {
  RECT mainRect{};
  GetWindowRect(shell.mainWindow, &mainRect);
  const DialogPlacement place = messageDialogPlacement(mainRect.left, mainRect.top);
  MoveWindow(dialog, place.x, place.y, place.w, place.h, TRUE);
  RECT client{};
  GetClientRect(dialog, &client);
  HRGN shape = CreateRoundRectRgn(client.left, client.top, client.right, client.bottom, kDialogCorner, kDialogCorner);
  if (SetWindowRgn(dialog, shape, TRUE) == 0) DeleteObject(shape);  // the system owns it only once set
  const DialogButtons buttons = messageButtons(messageKind, client.right - client.left, client.bottom - client.top);
  for (int i = 0; i < buttons.count; ++i) {
    const DialogButton& b = buttons.buttons[i];
    CreateWindowExA(0, "BUTTON", b.caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_MULTILINE, b.x, b.y, b.w, b.h,
                    dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(b.id)), shell.instance, nullptr);
  }
}

void OnPaintDialog(HWND dialog) {
  RECT client{};
  GetClientRect(dialog, &client);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(dialog, &paint);
  HGDIOBJ previousFont = SelectObject(dc, skin.smallBoldFont);
  drawShadedFrame(dc, client, skin.lightBrush, kDialogCorner, kBrightening);
  SetBkMode(dc, TRANSPARENT);
  RECT textRect = toRect(messageTextRect(client.right - client.left, client.bottom - client.top));
  DrawTextA(dc, messageWithNote().c_str(), -1, &textRect, DT_CENTER | DT_VCENTER | DT_WORDBREAK);
  if (previousFont != nullptr) SelectObject(dc, previousFont);
  EndPaint(dialog, &paint);
}

// Only our own buttons end it: Esc (IDCANCEL) and Enter (IDOK) are ignored on purpose.
bool OnDialogCommand(HWND dialog, int id) {
  if (id != kIdOk && id != kIdCancel) return false;
  EndDialog(dialog, id);
  return true;
}

}  // namespace

INT_PTR CALLBACK messageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(dialog);
      return TRUE;
    case WM_PAINT:
      OnPaintDialog(dialog);
      return FALSE;
    case WM_COMMAND:
      return OnDialogCommand(dialog, LOWORD(wParam)) ? TRUE : FALSE;
    case WM_LBUTTONDOWN:
      SendMessageA(dialog, WM_NCLBUTTONDOWN, HTCAPTION, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR showMessage(uint32_t kind, const std::string& note) {
  messageKind = kind;
  messageNote = note;
  const INT_PTR result = static_cast<INT_PTR>(
      messageResult(DialogBoxParamA(shell.instance, kDialogTemplate, shell.mainWindow, messageDialogProc, 0)));
  messageNote.clear();
  return result;
}
