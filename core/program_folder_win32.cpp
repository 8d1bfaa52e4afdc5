#include "core/program_folder_win32.h"

#include <windows.h>

#include <cstring>

#include "core/globals_win32.h"

bool enterProgramFolder() {
  char path[512];
  const DWORD length = GetModuleFileNameA(shell.instance, path, sizeof(path));
  if (length == 0) return false;
  char* lastBackslash = strrchr(path, '\\');
  if (lastBackslash != nullptr) *lastBackslash = '\0';
  SetCurrentDirectoryA(path);
  return true;
}
