// The tune operation and the poll thread on the card maker's COM interface, with a fake card.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/globals.h"
#include "tuner/tuner_control_win32.h"
#include "core/env_win32.h"
#include "tuner/poll_win32.h"
#include "tuner/tuner_device_win32.h"

namespace {

// Answers every read with a fixed reading and records the calls in the trace's words.
class FakeCard final : public TunerControl {
 public:
  CRITICAL_SECTION lock;
  std::vector<std::string> calls;
  BYTE lockByte = 1;
  LONG level = 50;
  LONG quality = 100;
  DWORD readThread = 0;

  FakeCard() { InitializeCriticalSection(&lock); }
  ~FakeCard() { DeleteCriticalSection(&lock); }
  std::vector<std::string> recorded() {
    EnterCriticalSection(&lock);
    std::vector<std::string> copy = calls;
    LeaveCriticalSection(&lock);
    return copy;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE SetLnbFrequencies(LONG band, LONG lo1, LONG lo2) override {
    record("SetLnbFrequencies " + std::to_string(band) + " " + std::to_string(lo1) + " " + std::to_string(lo2));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Unused4() override { return record("Unused4"); }
  HRESULT STDMETHODCALLTYPE Tune(LONG mhz, LONG ksps, LONG pol, LONG tone, LONG lnb) override {
    record("Tune " + std::to_string(mhz) + " " + std::to_string(ksps) + " " + std::to_string(pol) + " " +
           std::to_string(tone) + " " + std::to_string(lnb));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Unused6() override { return record("Unused6"); }
  HRESULT STDMETHODCALLTYPE Unused7() override { return record("Unused7"); }
  HRESULT STDMETHODCALLTYPE Unused8() override { return record("Unused8"); }
  HRESULT STDMETHODCALLTYPE Unused9() override { return record("Unused9"); }
  HRESULT STDMETHODCALLTYPE ReadSignal(BYTE* lockOut, LONG* levelOut, LONG* qualityOut) override {
    readThread = GetCurrentThreadId();
    *lockOut = lockByte;
    if (lockByte != 0) {
      *levelOut = level;
      *qualityOut = quality;
    }
    return record("ReadSignal");
  }

 private:
  HRESULT record(const std::string& call) {
    EnterCriticalSection(&lock);
    calls.push_back(call);
    LeaveCriticalSection(&lock);
    return S_OK;
  }
};

class WatchOnCard : public ::testing::Test {
 protected:
  FakeCard card;
  void SetUp() override {
    tunerControl = &card;
    settingsRecord.frequencyKHz = 11778000;
    settingsRecord.lnbSelection = 2;
    tuningValues.symbolRate = 27500;
    tuningValues.polarization = 1;
  }
  void TearDown() override {
    signalState.watch.store(0);
    for (int i = 0; i < 100 && signalState.pollRunning.load() != 0; ++i) Sleep(20);
    tunerControl = nullptr;
  }
};

TEST_F(WatchOnCard, TuneOperationCallsTheCardsSlotsWithTheChosenArguments) {
  tuneOperation();
  EXPECT_EQ(card.recorded(),
            (std::vector<std::string>{"SetLnbFrequencies 1 10600 9750", "Tune 11778 27500 1 1 2"}));
}

// Waits for a condition, polling, for at most ten seconds (a loaded machine is slow, not wrong).
template <typename Condition>
bool eventually(Condition condition) {
  for (int i = 0; i < 1000; ++i) {
    if (condition()) return true;
    Sleep(10);
  }
  return condition();
}

int countOf(const std::vector<std::string>& calls, const std::string& call) {
  int n = 0;
  for (const std::string& c : calls) n += c == call;
  return n;
}

TEST_F(WatchOnCard, PollThreadReadsOnItsOwnThreadAndEndsWhenTheStopEventIsSet) {
  watchStopEvent().reset();
  signalState.watch.store(1);
  HANDLE thread = CreateThread(nullptr, 0, pollThread, nullptr, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  EXPECT_TRUE(eventually([&] { return countOf(card.recorded(), "ReadSignal") >= 3; }));
  EXPECT_EQ(signalState.pollRunning.load(), 1);
  EXPECT_EQ(signalState.level.load(), 50);
  EXPECT_EQ(signalState.quality.load(), 99) << "a perfect quality is shown as 99";
  card.lockByte = 0;  // lock lost: zeroed and retuned within a cycle
  EXPECT_TRUE(eventually([&] { return signalState.level.load() == 0; }));
  EXPECT_EQ(signalState.levelSeen.load(), 1);
  signalState.watch.store(0);
  watchStopEvent().set();
  EXPECT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
  CloseHandle(thread);
  watchStopEvent().reset();
  EXPECT_NE(card.readThread, GetCurrentThreadId());
  EXPECT_EQ(signalState.pollRunning.load(), 0);
  EXPECT_EQ(signalState.levelSeen.load(), 0);
  EXPECT_EQ(signalState.qualitySeen.load(), 0);
  const std::vector<std::string> calls = card.recorded();
  for (const std::string& call : calls) EXPECT_EQ(call.rfind("Unused", 0), std::string::npos) << "got a call to " << call;
  EXPECT_GE(countOf(calls, "Tune 11778 27500 1 1 2"), 1);
}

}  // namespace
