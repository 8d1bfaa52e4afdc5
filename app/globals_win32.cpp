#include "app/globals_win32.h"

ShellGlobals shell;
SkinGlobals skin;
MainControls controls;
