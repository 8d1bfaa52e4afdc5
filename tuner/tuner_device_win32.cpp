// NOT BUILT YET: placeholder so the program links; replaced by the COM tuner device.
#include "tuner/tuner_win32.h"
#include <strmif.h>
#include "tuner/tuner_control_win32.h"
IBaseFilter* sourceFilter = nullptr;
TunerControl* tunerControl = nullptr;
bool openTuner() { return false; }
void releaseTunerInterface() {}
void releaseSourceFilter() {}
