// NOT BUILT YET: placeholder so the program links; replaced by the COM tuner.
#include "tuner/tuner_win32.h"
bool openTuner() { return false; }
void releaseTunerInterface() {}
void releaseSourceFilter() {}
bool tuneOperation() { return false; }
DWORD WINAPI pollThread(LPVOID) { return 0; }
