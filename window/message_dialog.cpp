#include "window/message_dialog.h"

namespace {

constexpr int kButtonBottomGap = 45;
constexpr int kTextAboveMiddle = 25;

// Built at compile time so the address appears in one place only.
constexpr const char kUserGuidePrefix[] = "The User Guide is available online at\r\n";
struct UserGuideText {
  char text[sizeof(kUserGuidePrefix) + 128] = {};
  constexpr UserGuideText() {
    int n = 0;
    for (const char* p = kUserGuidePrefix; *p != '\0'; ++p) text[n++] = *p;
    for (const char* p = kUserGuideAddress; *p != '\0' && n + 1 < static_cast<int>(sizeof(text)); ++p)
      text[n++] = *p;
  }
};
constexpr UserGuideText kUserGuideText;

}  // namespace

const char* messageText(uint32_t kind) {
  switch (kind) {
    case kMessageParametersError: return "Transponder parameters error!";
    case kMessageDuplicate: return "A transponder with the parameters\r\nyou specified already exists";
    case kMessageAdded: return "Transponder is successfuly added";
    case kMessageNoFilter: return "Cannot load thsource.ax!";
    case kMessageCannotWrite: return "Cannot write the transponder file";
    case kMessageConfirmDelete: return "Delete the current transponder from ini file?";
    case kMessageUserGuide: return kUserGuideText.text;
    default: return "";
  }
}

DialogButtons messageButtons(uint32_t kind, int clientWidth, int clientHeight) {
  const int y = clientHeight - kButtonBottomGap;
  const int middle = clientWidth / 2;
  if (kind < kFirstQuestionKind)
    return {{{kIdOk, "OK", middle - kButtonWidth / 2, y, kButtonWidth, kButtonHeight}}, 1};
  return {{{kIdOk, "OK", middle - 100, y, kButtonWidth, kButtonHeight},
           {kIdCancel, "CANCEL", middle + 20, y, kButtonWidth, kButtonHeight}},
          2};
}

long long messageResult(long long dialogResult) {
  return dialogResult == kIdOk || dialogResult == kIdCancel ? dialogResult : kIdCancel;
}

DialogPlacement messageDialogPlacement(int mainLeft, int mainTop) {
  return {mainLeft + kDialogOffsetX, mainTop + kDialogOffsetY, kDialogWidth, kDialogHeight};
}

PixelRect messageTextRect(int clientWidth, int clientHeight) {
  return {0, clientHeight / 2 - kTextAboveMiddle, clientWidth, clientHeight};
}
