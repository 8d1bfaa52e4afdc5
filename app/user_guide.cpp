#include "app/user_guide.h"

#include "window/message_dialog.h"

std::string userGuidePath(std::string_view programPath) {
  const size_t lastBackslash = programPath.rfind('\\');
  if (lastBackslash == std::string_view::npos) return {};
  std::string path(programPath.substr(0, lastBackslash + 1));
  path += kUserGuideFileName;
  return path;
}

std::string userGuideTarget(std::string_view guidePath, bool guideExists) {
  if (guideExists && !guidePath.empty()) return std::string(guidePath);
  return kUserGuideAddress;
}
