// File access for the transponder files.
#pragma once
#include <windows.h>

#include <string>

#include "app/file_io.h"

// Reads open the file for reading only and let other programs read and write it meanwhile,
// so a file an editor holds open is still listed; writes go through systemFileSystem().
FileSystem& transponderReader();

// The text of a window (the transponder list's edit field); empty when it has none.
std::string windowText(HWND window);
