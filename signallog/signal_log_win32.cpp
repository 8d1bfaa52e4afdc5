// NOT BUILT YET: placeholder so the program links; replaced by the signal log window.
#include "signallog/signal_log_win32.h"
INT_PTR CALLBACK signalLogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) EndDialog(dialog, 0);
  return message == WM_INITDIALOG;
}
