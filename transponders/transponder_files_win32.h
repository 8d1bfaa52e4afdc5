// File access for the transponder files.
#pragma once
#include <windows.h>

#include <string>

#include "app/file_io.h"

// The program's file system: reads let other programs read and write the file meanwhile,
// so a file an editor holds open is still listed.
FileSystem& transponderReader();

// The text of a window (the transponder list's edit field); empty when it has none.
std::string windowText(HWND window);
