// Main-window decisions that need no Windows: cycles, halves, addresses, message kinds.
#pragma once
#include <cstdint>

constexpr int kLanguageCount = 8;
constexpr int kSoundModeCount = 5;
// The add/remove button: above this y it adds, from it on it removes.
constexpr int kAddRemoveBorderY = 186;

// The product's host, named once: a reserved ".example" name until the product has its own site.
#define QV_WEB_HOST "www.quorvan.example"
// What the window shows, the site and the online user guide page.
constexpr const char* kWebAddressText = QV_WEB_HOST;
constexpr const char* kWebSiteAddress = "http://" QV_WEB_HOST;
constexpr const char* kUserGuideAddress = "http://" QV_WEB_HOST "/qvnhelp.php";

// Message kinds of the message dialog.
constexpr uint32_t kMessageAbout = 0;
constexpr uint32_t kMessageParametersError = 1;
constexpr uint32_t kMessageDuplicate = 2;
constexpr uint32_t kMessageAdded = 3;
constexpr uint32_t kMessageNoFilter = 4;
constexpr uint32_t kMessageConfirmDelete = 100;
constexpr uint32_t kMessageUserGuide = 101;

// +1, wrapping 7 to 0. A damaged index of 8 or more keeps counting (and paints no name).
int32_t nextLanguageIndex(int32_t index);
// +1, wrapping 4 to 0; 5 or more keeps counting.
int32_t nextSoundMode(int32_t mode);
inline bool isAddHalf(int y) { return y < kAddRemoveBorderY; }
