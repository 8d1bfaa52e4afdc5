// Appending to the debug log.
#pragma once
#include <string_view>

// Appends one 4-byte marker to "log.txt" with its own open, write and close, so the log shows
// how far a shutdown came even if the process dies.
void appendLogMarker(std::string_view text);
// Appends a note of any length (noteBytes) the same way.
void appendLogNote(std::string_view text);
