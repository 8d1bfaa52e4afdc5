// Names in DVB tables as the window can show them: the character table chosen by the text's
// first byte (the default table, ISO 8859 parts, UCS-2, UTF-8) turned into Windows-1252, the
// program's ANSI code page. A character it cannot show becomes "?"; control codes are dropped,
// the line break becomes a space.
#pragma once
#include <string>
#include <string_view>

std::string dvbTextToAnsi(std::string_view text);
