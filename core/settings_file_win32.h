// The settings file "qvnth.dat": the raw settings record next to the program.
#pragma once

// Reads the file into the settings record; a missing file leaves the record as it is.
void loadSettings();
// Writes the settings record through a temporary file; true when the new file is in place.
bool saveSettings();
