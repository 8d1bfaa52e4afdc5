// Parsing the transponder list's text into the tuning values.
#pragma once

// Parses the transponder text into frequency, polarization and symbol rate. True when all three
// are set; otherwise false, after the status message of the first failing rule has been shown
// for 2 s (only when showMessages; the shutdown's quiet parse shows nothing).
bool parseTransponderText(bool showMessages);
