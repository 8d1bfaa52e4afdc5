#include "core/program_folder_win32.h"

#include <windows.h>

#include <cstring>

#include "core/globals_win32.h"

bool programFolder(char* path, unsigned room) {
  const DWORD length = GetModuleFileNameA(shell.instance, path, room);
  if (length == 0 || length >= room) return false;  // a cut path names another folder
  char* lastBackslash = strrchr(path, '\\');
  if (lastBackslash != nullptr) *lastBackslash = '\0';
  return true;
}

bool enterProgramFolder() {
  char path[512];
  if (!programFolder(path, sizeof(path))) return false;
  SetCurrentDirectoryA(path);
  return true;
}
