// What the help command opens: the user guide laid out beside the program, or the web page when
// the guide is not there.
#pragma once
#include <string>
#include <string_view>

constexpr std::string_view kUserGuideFileName = "UserGuide.html";

// The guide's full path: the folder of the program file's full path, a backslash and the guide's
// name. Empty when the program path names no folder.
std::string userGuidePath(std::string_view programPath);
// The guide's path when that file exists, otherwise the online user guide page.
std::string userGuideTarget(std::string_view guidePath, bool guideExists);
