// The simulated BDA tuner loaded straight from its DLL, in Wine's filter graph with the program's
// stream sink: it behaves as the program expects a driver to (nodes only once connected, settings
// only at CommitChanges, strength in milli-dB), streams while running, and lets go of everything.
#include <windows.h>
#include <bdaiface.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include <string>

#include "tuner/bda_guids_win32.h"
#include "tuner/stream_sink_win32.h"

namespace {

template <class T>
T* query(IUnknown* object) {
  void* found = nullptr;
  return SUCCEEDED(object->QueryInterface(__uuidof(T), &found)) ? static_cast<T*>(found) : nullptr;
}

IPin* pinOf(IBaseFilter* filter, const wchar_t* name) {
  IPin* pin = nullptr;
  filter->FindPin(name, &pin);
  return pin;
}

// The simulator beside the test program: build/win64/tunersim/bdasim.ax from build/win64/tests.
HMODULE loadSimulator() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  folder.resize(folder.find_last_of('\\') + 1);
  return LoadLibraryA((folder + "..\\tunersim\\bdasim.ax").c_str());
}

class BdaSimulator : public ::testing::Test {
 protected:
  HMODULE module = nullptr;
  std::string script;
  void SetUp() override {
    CoInitialize(nullptr);
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    script = std::string(folder) + "qv-bda-sim-test.txt";
    FILE* file = std::fopen(script.c_str(), "wb");
    std::fputs("0 1 50 40\n", file);
    std::fclose(file);
    SetEnvironmentVariableA("QUORVAN_SIM_SCRIPT", script.c_str());
    module = loadSimulator();
  }
  void TearDown() override {
    SetEnvironmentVariableA("QUORVAN_SIM_SCRIPT", nullptr);
    DeleteFileA(script.c_str());
    if (module != nullptr) FreeLibrary(module);
    CoUninitialize();
  }
};

TEST_F(BdaSimulator, ActsAsADriverInTheGraphAndLetsGoOfEverything) {
  ASSERT_NE(module, nullptr) << "bdasim.ax not found beside the tests";
  auto getClassObject = reinterpret_cast<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
  auto canUnloadNow = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
  IClassFactory* factory = nullptr;
  ASSERT_EQ(getClassObject(kSimulatedBdaTunerClsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  IBaseFilter* tuner = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&tuner)), S_OK);
  factory->Release();

  IBDA_Topology* topology = query<IBDA_Topology>(tuner);
  IBDA_DeviceControl* control = query<IBDA_DeviceControl>(tuner);
  ASSERT_TRUE(topology != nullptr && control != nullptr);
  IUnknown* rf = nullptr;
  EXPECT_TRUE(FAILED(topology->GetControlNode(0, 1, 0, &rf))) << "a node before the output pin is connected";

  IGraphBuilder* graph = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                             reinterpret_cast<void**>(&graph)), S_OK);
  auto* sink = new StreamSink();
  graph->AddFilter(tuner, L"tuner");
  graph->AddFilter(sink, L"sink");
  IPin* out = pinOf(tuner, L"Transport stream");
  IPin* in = pinOf(sink, L"Transport stream");
  ASSERT_TRUE(SUCCEEDED(graph->ConnectDirect(out, in, nullptr)));
  IUnknown* demodulator = nullptr;
  ASSERT_EQ(topology->GetControlNode(0, 1, 0, &rf), S_OK);
  ASSERT_EQ(topology->GetControlNode(0, 1, 1, &demodulator), S_OK);
  IBDA_FrequencyFilter* frequency = query<IBDA_FrequencyFilter>(rf);
  IBDA_LNBInfo* lnb = query<IBDA_LNBInfo>(rf);
  IBDA_DigitalDemodulator* demod = query<IBDA_DigitalDemodulator>(demodulator);
  IBDA_SignalStatistics* statistics = query<IBDA_SignalStatistics>(demodulator);
  ASSERT_TRUE(frequency && lnb && demod && statistics);

  control->StartChanges();
  frequency->put_Frequency(11778000);
  frequency->put_Polarity(BDA_POLARISATION_LINEAR_V);
  lnb->put_LocalOscilatorFrequencyLowBand(9750000);
  lnb->put_LocalOscilatorFrequencyHighBand(10600000);
  lnb->put_HighLowSwitchFrequency(11700000);
  ModulationType qpsk = BDA_MOD_QPSK;
  ULONG rate = 27500;
  demod->put_ModulationType(&qpsk);
  demod->put_SymbolRate(&rate);
  BOOLEAN locked = TRUE;
  statistics->get_SignalLocked(&locked);
  EXPECT_FALSE(locked) << "locked on settings not yet committed";
  control->CommitChanges();
  statistics->get_SignalLocked(&locked);
  EXPECT_TRUE(locked);
  LONG strength = 0, quality = 0;
  statistics->get_SignalStrength(&strength);
  statistics->get_SignalQuality(&quality);
  EXPECT_EQ(strength, 25000) << "level 50 as milli-dB below nominal";
  EXPECT_EQ(quality, 40);

  IMediaControl* media = query<IMediaControl>(graph);
  media->Run();
  for (int i = 0; i < 100 && sink->bytesReceived() == 0; ++i) Sleep(20);
  media->Stop();
  EXPECT_GT(sink->bytesReceived(), 0u);
  EXPECT_EQ(sink->bytesReceived() % 188, 0u) << "whole transport stream packets";

  for (IUnknown* object : {static_cast<IUnknown*>(statistics), static_cast<IUnknown*>(demod),
                           static_cast<IUnknown*>(lnb), static_cast<IUnknown*>(frequency), demodulator, rf,
                           static_cast<IUnknown*>(in), static_cast<IUnknown*>(out), static_cast<IUnknown*>(media),
                           static_cast<IUnknown*>(control), static_cast<IUnknown*>(topology)})
    object->Release();
  graph->Release();
  sink->Release();
  tuner->Release();
  EXPECT_EQ(canUnloadNow(), S_OK) << "simulator objects left";
  EXPECT_EQ(StreamSink::live(), 0) << "sinks left";
}

}  // namespace
