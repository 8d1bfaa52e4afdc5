// NOT BUILT YET: placeholder so the program links; replaced by the COM tuner device.
#include "tuner/tuner_win32.h"
bool openTuner() { return false; }
void releaseTunerInterface() {}
void releaseSourceFilter() {}
