// NOT BUILT YET: placeholder so the program links; replaced by the sound table and sound thread.
#include "feedback/feedback_win32.h"
void loadSoundTable() {}
void playSoundModePreview(int) {}
DWORD WINAPI soundThread(LPVOID) { return 0; }
