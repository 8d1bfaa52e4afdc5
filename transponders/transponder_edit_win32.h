// Adding and removing transponders from the main window. Each shows its own messages and
// returns true when it ran to its end (for add: also when the transponder was already listed;
// for both: also when the file could not be written, which the message dialog says), false when
// it stopped early; the caller reloads the list after a true.
#pragma once

bool addTransponder();
bool removeTransponder();
