#include "core/globals_win32.h"

ShellGlobals shell;
SkinGlobals skin;
MainControls controls;
