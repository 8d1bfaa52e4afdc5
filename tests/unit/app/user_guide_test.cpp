#include "app/user_guide.h"

#include <gtest/gtest.h>

#include "window/message_dialog.h"

TEST(UserGuide, PathIsTheProgramsFolderAndTheGuidesName) {
  const struct {
    const char* program;
    const char* guide;
  } cases[] = {
      {"C:\\Quorvan\\Quorvan.exe", "C:\\Quorvan\\UserGuide.html"},
      {"C:\\Quorvan.exe", "C:\\UserGuide.html"},
      {"C:\\Dish kit v1.2\\Quorvan.exe", "C:\\Dish kit v1.2\\UserGuide.html"},
      {"\\\\server\\share\\Quorvan.exe", "\\\\server\\share\\UserGuide.html"},
      {"Quorvan.exe", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(userGuidePath(c.program), c.guide) << c.program;
}

TEST(UserGuide, OpensTheGuideOnlyWhenItIsThere) {
  EXPECT_EQ(userGuideTarget("C:\\Quorvan\\UserGuide.html", true), "C:\\Quorvan\\UserGuide.html");
  EXPECT_EQ(userGuideTarget("C:\\Quorvan\\UserGuide.html", false), kUserGuideAddress);
  EXPECT_EQ(userGuideTarget("", true), kUserGuideAddress);
}
