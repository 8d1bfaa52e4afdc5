// NOT BUILT YET: placeholder so the program links; replaced by sound and meter.
#include "feedback/feedback_win32.h"
void loadSoundTable() {}
void playSoundModePreview(int) {}
DWORD WINAPI soundThread(LPVOID) { return 0; }
DWORD WINAPI meterThread(LPVOID) { return 0; }
