// NOT BUILT YET: placeholder so the program links; replaced by the meter thread.
#include "feedback/feedback_win32.h"
DWORD WINAPI meterThread(LPVOID) { return 0; }
