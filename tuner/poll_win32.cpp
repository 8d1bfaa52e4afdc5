// NOT BUILT YET: placeholder so the program links; replaced by the tune operation and poll thread.
#include "tuner/tuner_win32.h"
bool tuneOperation() { return false; }
DWORD WINAPI pollThread(LPVOID) { return 0; }
