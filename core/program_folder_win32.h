// The program's folder: every file the program names lives there.
#pragma once

// Makes the program file's folder the current directory; false when the program's path cannot
// be had (the directory is then unchanged). Called before every file access.
bool enterProgramFolder();
// The program file's folder without a closing backslash, in path (room bytes); false when the
// program's path cannot be had or does not fit.
bool programFolder(char* path, unsigned room);
