// The message dialog, decided without Windows: texts, buttons and geometry.
#pragma once
#include <cstdint>

#include "resources/resource_ids.h"
#include "window/layout.h"

// The product's host, named once: a reserved ".example" name until the product has its own site.
#define QV_WEB_HOST "www.quorvan.example"
// What the main window shows, the site and the online user guide page.
constexpr const char* kWebAddressText = QV_WEB_HOST;
constexpr const char* kWebSiteAddress = "http://" QV_WEB_HOST;
constexpr const char* kUserGuideAddress = "http://" QV_WEB_HOST "/qvnhelp.php";

// Message kinds.
constexpr uint32_t kMessageAbout = 0;
constexpr uint32_t kMessageParametersError = 1;
constexpr uint32_t kMessageDuplicate = 2;
constexpr uint32_t kMessageAdded = 3;
constexpr uint32_t kMessageNoFilter = 4;
constexpr uint32_t kMessageCannotWrite = 5;  // adding or removing could not rewrite the transponder file
constexpr uint32_t kMessageConfirmDelete = 100;
constexpr uint32_t kMessageUserGuide = 101;

// The dialog's answers.
constexpr int kIdOk = IDC_OK;
constexpr int kIdCancel = IDC_CANCEL;

// The dialog window; its 1-pixel border leaves a 480 x 194 client area.
constexpr int kDialogWidth = 482;
constexpr int kDialogHeight = 196;
constexpr int kDialogOffsetX = 15;   // from the main window's left
constexpr int kDialogOffsetY = 100;  // from the main window's top
constexpr int kDialogCorner = 35;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 25;
// Kinds from here on ask a question and get CANCEL beside OK.
constexpr uint32_t kFirstQuestionKind = 100;

// The text of a message kind; "" for kinds that have none.
const char* messageText(uint32_t kind);

struct DialogButton {
  int id;
  const char* caption;
  int x, y, w, h;
};
struct DialogButtons {
  DialogButton buttons[2];
  int count;
};
// The buttons of a kind for a client area of the given size, OK first.
DialogButtons messageButtons(uint32_t kind, int clientWidth, int clientHeight);

// What a caller gets back: 113 or 114. A dialog that could not be shown at all counts as
// CANCEL, so that no question is taken as answered yes.
long long messageResult(long long dialogResult);

struct DialogPlacement {
  int x, y, w, h;
};
DialogPlacement messageDialogPlacement(int mainLeft, int mainTop);
// The text rectangle: the client rectangle with its top moved to the middle less 25.
PixelRect messageTextRect(int clientWidth, int clientHeight);
