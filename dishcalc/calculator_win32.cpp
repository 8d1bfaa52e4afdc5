// NOT BUILT YET: placeholder so the program links; replaced by the calculator window.
#include "dishcalc/calculator_win32.h"
INT_PTR CALLBACK calculatorProc(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) EndDialog(dialog, 0);
  return message == WM_INITDIALOG;
}
