#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/crash_report.h"

namespace {

CrashFrame frameAt(uint64_t address, const char* path, uint64_t base) {
  CrashFrame frame;
  frame.address = address;
  if (path != nullptr) setFrameModule(&frame, path, base);
  return frame;
}

std::string frameText(const CrashFrame& frame, size_t size = 96) {
  char text[96];
  formatFrame(frame, text, size);
  return text;
}

CrashFacts cardCrash() {
  CrashFacts facts;
  facts.time = {2026, 12, 10, 0, 7, 5};
  facts.version = "1.1.0";
  facts.pointerBits = 64;
  facts.code = 0xC0000005u;
  facts.threadId = 52;
  facts.where = frameAt(0x6A8C1A2B, "C:\\Quorvan\\tunersim.ax", 0x6A8C0000);
  facts.frames[0] = facts.where;
  facts.frames[1] = frameAt(0x140005C10, "C:\\Quorvan\\Quorvan.exe", 0x140000000);
  facts.frames[2] = frameAt(0x7B012345, nullptr, 0);
  facts.frameCount = 3;
  return facts;
}

}  // namespace

TEST(CrashFrame, IsTheModuleFileNameAndTheOffsetFromItsBase) {
  const struct {
    uint64_t address;
    const char* path;
    uint64_t base;
    const char* expected;
  } cases[] = {
      {0x6A8C1A2B, "C:\\Quorvan\\tunersim.ax", 0x6A8C0000, "tunersim.ax+0x1a2b"},
      {0x140000000, "Z:/build/Quorvan.exe", 0x140000000, "Quorvan.exe+0x0"},
      {0x7FFE12345678, "ntdll.dll", 0x7FFE12340000, "ntdll.dll+0x5678"},
      {0x1000, nullptr, 0, "0x0000000000001000"},          // no module holds it
      {0x1000, "C:\\x\\odd.dll", 0x2000, "0x0000000000001000"},  // below the base: not that module's
      {0x2010, "C:\\folder\\", 0x2000, "0x0000000000002010"},     // a path without a file name
  };
  for (const auto& c : cases) EXPECT_EQ(frameText(frameAt(c.address, c.path, c.base)), c.expected) << c.expected;
}

TEST(CrashFrame, CutsALongModuleNameAndStaysTerminated) {
  const std::string longName = "C:\\" + std::string(200, 'm') + ".dll";
  const CrashFrame frame = frameAt(0x1010, longName.c_str(), 0x1000);
  EXPECT_EQ(std::strlen(frame.module), kCrashModuleNameSize - 1);
  EXPECT_EQ(frameText(frame, 8), "mmmmmmm");
}

TEST(CrashReport, SaysTimeVersionExceptionAndEveryFrame) {
  char text[kCrashReportSize];
  ASSERT_TRUE(formatCrashReport(cardCrash(), text, sizeof(text)));
  EXPECT_STREQ(text,
               "Quorvan crash report\r\n"
               "time: 2026-12-10 00:07:05 UTC\r\n"
               "version: 1.1.0 (64-bit)\r\n"
               "exception: 0xC0000005 access violation\r\n"
               "address: 0x000000006a8c1a2b tunersim.ax+0x1a2b\r\n"
               "thread: 52\r\n"
               "frames:\r\n"
               "#0 tunersim.ax+0x1a2b\r\n"
               "#1 Quorvan.exe+0x5c10\r\n"
               "#2 0x000000007b012345\r\n");
}

TEST(CrashReport, NamesOnlyKnownExceptionsAndCutsWhatDoesNotFit) {
  EXPECT_STREQ(exceptionName(0xC00000FDu), "stack overflow");
  EXPECT_STREQ(exceptionName(0xE06D7363u), "");  // a C++ exception: no name of its own here
  CrashFacts facts = cardCrash();
  facts.frameCount = kMaxCrashFrames;
  for (CrashFrame& frame : facts.frames) frame = facts.where;
  char whole[kCrashReportSize];
  EXPECT_TRUE(formatCrashReport(facts, whole, sizeof(whole))) << "the most frames fit the report's buffer";
  char cut[64];
  std::memset(cut, 'x', sizeof(cut));
  EXPECT_FALSE(formatCrashReport(facts, cut, sizeof(cut)));
  EXPECT_EQ(std::string(cut), std::string(whole, sizeof(cut) - 1));
}
