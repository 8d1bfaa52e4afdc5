// The simulated BDA satellite tuner as an in-process COM server: a filter registered under the
// BDA network tuner category with an antenna input pin, a transport stream output pin, a
// topology of an RF node and a demodulator node, and device control. Like a driver it gives
// its nodes only once its output pin is connected and takes settings only at CommitChanges.
// Its behaviour lives in sim_bda.* and sim_card.*; this file is the COM glue.
#include <windows.h>
#include <bdaiface.h>
#include <dshow.h>
#include <olectl.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "tuner/bda_guids_win32.h"
#include "tuner/dshow_enum_win32.h"
#include "tunersim/sim_bda.h"
#include "tunersim/sim_card.h"
#include "tunersim/sim_com_win32.h"
#include "tunersim/sim_dish_stream.h"

namespace {

using tunersim::liveObjects;
using tunersim::msSinceLoad;
using tunersim::traceLine;

constexpr const wchar_t* kFriendlyName = L"Quorvan simulated DVB-S2 tuner";
constexpr const char* kDescription = "Quorvan simulated DVB-S2 tuner";
constexpr const wchar_t* kInputPinName = L"Antenna";
constexpr const wchar_t* kOutputPinName = L"Transport stream";
constexpr ULONG kRfNodeType = 0;
constexpr ULONG kDemodulatorNodeType = 1;
// Sent while locked: a packet a millisecond, in samples of 50 ms, so the tables' repetition is
// counted in real time.
constexpr DWORD kSampleIntervalMs = 50;
constexpr size_t kPacketsPerSample = tunersim::kStreamPacketsPerSecond * kSampleIntervalMs / 1000;
// The program's satellite list (its item data is the position number).
constexpr int kSatelliteListId = 111;
constexpr int kFileNameLength = 32;
constexpr long kSampleBuffers = 4;

class SimTuner;

// The transponder files in the folder of the program that loaded us.
class ProgramFolderFiles final : public tunersim::SatelliteFiles {
 public:
  std::optional<std::string> read(int32_t positionNumber) override {
    char path[MAX_PATH + kFileNameLength];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::nullopt;
    char* slash = strrchr(path, '\\');
    if (slash == nullptr) return std::nullopt;
    std::snprintf(slash + 1, kFileNameLength, "Transponders\\%04d.ini", static_cast<int>(positionNumber));
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char block[4096];
    DWORD got = 0;
    while (ReadFile(file, block, sizeof(block), &got, nullptr) && got > 0) bytes.append(block, got);
    CloseHandle(file);
    return bytes;
  }
};

BOOL CALLBACK findChosenPosition(HWND window, LPARAM found) {
  HWND list = GetDlgItem(window, kSatelliteListId);
  if (list == nullptr) return TRUE;
  const LRESULT index = SendMessageA(list, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return TRUE;
  const LRESULT position = SendMessageA(list, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  if (position < 0 || position >= 3600) return TRUE;
  *reinterpret_cast<int32_t*>(found) = static_cast<int32_t>(position);
  return FALSE;
}

// The satellite the program has chosen, from its satellite list, when the tune comes from the
// thread that owns the list (its start of watching). Any other thread would have to wait for that
// one, which may itself be waiting for the caller, so it learns nothing.
int32_t chosenPosition() {
  int32_t found = tunersim::kNoPosition;
  EnumThreadWindows(GetCurrentThreadId(), findChosenPosition, reinterpret_cast<LPARAM>(&found));
  return found;
}

// One pin of the tuner; its count is the tuner's.
class SimPin final : public IPin {
 public:
  SimPin(SimTuner& tuner, PIN_DIRECTION direction) : tuner_(tuner), direction_(direction) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE Connect(IPin* receiver, const AM_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE Disconnect() override;
  HRESULT STDMETHODCALLTYPE ConnectedTo(IPin** out) override;
  HRESULT STDMETHODCALLTYPE ConnectionMediaType(AM_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE QueryPinInfo(PIN_INFO* info) override;
  HRESULT STDMETHODCALLTYPE QueryDirection(PIN_DIRECTION* direction) override;
  HRESULT STDMETHODCALLTYPE QueryId(LPWSTR* id) override;
  HRESULT STDMETHODCALLTYPE QueryAccept(const AM_MEDIA_TYPE*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnumMediaTypes(IEnumMediaTypes** out) override;
  HRESULT STDMETHODCALLTYPE QueryInternalConnections(IPin**, ULONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EndOfStream() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE BeginFlush() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EndFlush() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return S_OK; }

  bool connected() const { return peer_ != nullptr; }
  IMemInputPin* receiver() const { return input_; }
  IMemAllocator* allocator() const { return allocator_; }

 private:
  bool takeAllocator();
  const wchar_t* name() const { return direction_ == PINDIR_INPUT ? kInputPinName : kOutputPinName; }
  SimTuner& tuner_;
  PIN_DIRECTION direction_;
  IPin* peer_ = nullptr;
  IMemInputPin* input_ = nullptr;
  IMemAllocator* allocator_ = nullptr;
};

// IBDA_SignalStatistics for both nodes: what the tuner reads now.
class SimStatistics : public IBDA_SignalStatistics {
 public:
  explicit SimStatistics(SimTuner& tuner);
  virtual ~SimStatistics();
  HRESULT STDMETHODCALLTYPE put_SignalStrength(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_SignalStrength(LONG* strength) override;
  HRESULT STDMETHODCALLTYPE put_SignalQuality(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_SignalQuality(LONG* quality) override;
  HRESULT STDMETHODCALLTYPE put_SignalPresent(BOOLEAN) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_SignalPresent(BOOLEAN* present) override { return get_SignalLocked(present); }
  HRESULT STDMETHODCALLTYPE put_SignalLocked(BOOLEAN) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_SignalLocked(BOOLEAN* locked) override;
  HRESULT STDMETHODCALLTYPE put_SampleTime(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_SampleTime(LONG*) override { return E_NOTIMPL; }

 protected:
  HRESULT answer(REFIID iid, void** out);
  SimTuner& tuner_;
  std::atomic<ULONG> references_{1};
};

class SimTuner final : public IBaseFilter, public IBDA_Topology, public IBDA_DeviceControl {
 public:
  SimTuner();
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override;
  // IPersist, IMediaFilter, IBaseFilter.
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* id) override;
  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE Pause() override;
  HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME) override;
  HRESULT STDMETHODCALLTYPE GetState(DWORD, FILTER_STATE* state) override;
  HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock** clock) override;
  HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins** out) override;
  HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR id, IPin** out) override;
  HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO* info) override;
  HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph* graph, LPCWSTR) override;
  HRESULT STDMETHODCALLTYPE QueryVendorInfo(LPWSTR*) override { return E_NOTIMPL; }
  // IBDA_Topology.
  HRESULT STDMETHODCALLTYPE GetNodeTypes(ULONG* count, ULONG most, ULONG types[]) override;
  HRESULT STDMETHODCALLTYPE GetNodeDescriptors(ULONG* count, ULONG most, BDANODE_DESCRIPTOR descriptors[]) override;
  HRESULT STDMETHODCALLTYPE GetNodeInterfaces(ULONG type, ULONG* count, ULONG most, GUID interfaces[]) override;
  HRESULT STDMETHODCALLTYPE GetPinTypes(ULONG* count, ULONG most, ULONG types[]) override;
  HRESULT STDMETHODCALLTYPE GetTemplateConnections(ULONG*, ULONG, BDA_TEMPLATE_CONNECTION[]) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CreatePin(ULONG, ULONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DeletePin(ULONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetMediaType(ULONG, AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetMedium(ULONG, REGPINMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CreateTopology(ULONG, ULONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetControlNode(ULONG input, ULONG output, ULONG type, IUnknown** node) override;
  // IBDA_DeviceControl.
  HRESULT STDMETHODCALLTYPE StartChanges() override;
  HRESULT STDMETHODCALLTYPE CheckChanges() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE CommitChanges() override;
  HRESULT STDMETHODCALLTYPE GetChangeState(ULONG* state) override;

  // For the nodes: settings wait in pending until CommitChanges.
  template <class Change>
  HRESULT change(Change change) {
    EnterCriticalSection(&lock_);
    change(pending_);
    LeaveCriticalSection(&lock_);
    return S_OK;
  }
  tunersim::Reading read(bool trace);
  const tunersim::BdaOptions& options() const { return options_; }

 private:
  ~SimTuner();
  static DWORD WINAPI streamThread(LPVOID self);
  void stream();
  void stopStreaming();
  std::atomic<ULONG> references_{1};
  CRITICAL_SECTION lock_;
  std::atomic<FILTER_STATE> state_{State_Stopped};
  IFilterGraph* graph_ = nullptr;  // not counted: the graph holds the filter
  SimPin input_;
  SimPin output_;
  tunersim::SimulatedCard card_;
  tunersim::BdaOptions options_;
  tunersim::BdaSettings pending_;
  tunersim::BdaSettings committed_;
  ProgramFolderFiles files_;
  tunersim::DishStream packets_{files_};
  std::atomic<uint64_t> packetsTaken_{0};
  HANDLE streamStop_ = nullptr;
  HANDLE streamer_ = nullptr;
};

class SimRfNode final : public SimStatistics, public IBDA_FrequencyFilter, public IBDA_LNBInfo, public IBDA_DiseqCommand {
 public:
  using SimStatistics::SimStatistics;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (iid == __uuidof(IBDA_FrequencyFilter)) {
      *out = static_cast<IBDA_FrequencyFilter*>(this);
    } else if (iid == __uuidof(IBDA_LNBInfo)) {
      *out = static_cast<IBDA_LNBInfo*>(this);
    } else if (iid == __uuidof(IBDA_DiseqCommand)) {
      *out = static_cast<IBDA_DiseqCommand*>(this);
    } else {
      return answer(iid, out);
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
  // IBDA_FrequencyFilter: kHz, the default multiplier.
  HRESULT STDMETHODCALLTYPE put_Autotune(ULONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Autotune(ULONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Frequency(ULONG kHz) override {
    return tuner_.change([&](tunersim::BdaSettings& s) { s.frequencyKHz = kHz; });
  }
  HRESULT STDMETHODCALLTYPE get_Frequency(ULONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Polarity(Polarisation polarity) override {
    return tuner_.change([&](tunersim::BdaSettings& s) { s.polarisation = polarity; });
  }
  HRESULT STDMETHODCALLTYPE get_Polarity(Polarisation*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Range(ULONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Range(ULONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Bandwidth(ULONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Bandwidth(ULONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_FrequencyMultiplier(ULONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_FrequencyMultiplier(ULONG*) override { return E_NOTIMPL; }
  // IBDA_LNBInfo.
  HRESULT STDMETHODCALLTYPE put_LocalOscilatorFrequencyLowBand(ULONG kHz) override {
    return tuner_.change([&](tunersim::BdaSettings& s) { s.lowKHz = kHz; });
  }
  HRESULT STDMETHODCALLTYPE get_LocalOscilatorFrequencyLowBand(ULONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_LocalOscilatorFrequencyHighBand(ULONG kHz) override {
    return tuner_.change([&](tunersim::BdaSettings& s) { s.highKHz = kHz; });
  }
  HRESULT STDMETHODCALLTYPE get_LocalOscilatorFrequencyHighBand(ULONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_HighLowSwitchFrequency(ULONG kHz) override {
    return tuner_.change([&](tunersim::BdaSettings& s) { s.switchKHz = kHz; });
  }
  HRESULT STDMETHODCALLTYPE get_HighLowSwitchFrequency(ULONG*) override { return E_NOTIMPL; }
  // IBDA_DiseqCommand: ports 0..3 are A..D.
  HRESULT STDMETHODCALLTYPE put_EnableDiseqCommands(BOOLEAN) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE put_DiseqLNBSource(ULONG port) override {
    if (port > 3) return E_INVALIDARG;
    return tuner_.change([&](tunersim::BdaSettings& s) { s.diseqcPort = static_cast<int32_t>(port); });
  }
  HRESULT STDMETHODCALLTYPE put_DiseqUseToneBurst(BOOLEAN) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_DiseqRepeats(ULONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_DiseqSendCommand(ULONG, ULONG, BYTE*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_DiseqResponse(ULONG, ULONG*, BYTE[]) override { return E_NOTIMPL; }
};

class SimDemodulatorNode final : public SimStatistics, public IBDA_DigitalDemodulator {
 public:
  using SimStatistics::SimStatistics;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (iid != __uuidof(IBDA_DigitalDemodulator)) return answer(iid, out);
    *out = static_cast<IBDA_DigitalDemodulator*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE put_ModulationType(ModulationType* type) override {
    if (type == nullptr) return E_POINTER;
    return tuner_.change([&](tunersim::BdaSettings& s) { s.modulation = *type; });
  }
  HRESULT STDMETHODCALLTYPE get_ModulationType(ModulationType*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_InnerFECMethod(FECMethod*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE get_InnerFECMethod(FECMethod*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_InnerFECRate(BinaryConvolutionCodeRate*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE get_InnerFECRate(BinaryConvolutionCodeRate*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_OuterFECMethod(FECMethod*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE get_OuterFECMethod(FECMethod*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_OuterFECRate(BinaryConvolutionCodeRate*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE get_OuterFECRate(BinaryConvolutionCodeRate*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_SymbolRate(ULONG* rate) override {
    if (rate == nullptr) return E_POINTER;
    return tuner_.change([&](tunersim::BdaSettings& s) { s.symbolRate = *rate; });
  }
  HRESULT STDMETHODCALLTYPE get_SymbolRate(ULONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_SpectralInversion(SpectralInversion*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE get_SpectralInversion(SpectralInversion*) override { return E_NOTIMPL; }
};

// --- pins

HRESULT STDMETHODCALLTYPE SimPin::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  if (iid != IID_IUnknown && iid != IID_IPin) {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  *out = static_cast<IPin*>(this);
  AddRef();
  return S_OK;
}
ULONG STDMETHODCALLTYPE SimPin::AddRef() { return tuner_.AddRef(); }
ULONG STDMETHODCALLTYPE SimPin::Release() { return tuner_.Release(); }

// The downstream pin's allocator when it offers one, else a memory allocator of our own.
bool SimPin::takeAllocator() {
  void* input = nullptr;
  if (FAILED(peer_->QueryInterface(IID_IMemInputPin, &input))) return false;
  input_ = static_cast<IMemInputPin*>(input);
  if (FAILED(input_->GetAllocator(&allocator_)) &&
      FAILED(CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
                              reinterpret_cast<void**>(&allocator_))))
    return false;
  ALLOCATOR_PROPERTIES wanted = {kSampleBuffers, static_cast<long>(kPacketsPerSample * tunersim::kPacketSize), 1, 0};
  ALLOCATOR_PROPERTIES actual = {};
  return SUCCEEDED(allocator_->SetProperties(&wanted, &actual)) && SUCCEEDED(input_->NotifyAllocator(allocator_, FALSE));
}

HRESULT STDMETHODCALLTYPE SimPin::Connect(IPin* receiver, const AM_MEDIA_TYPE*) {
  if (receiver == nullptr) return E_POINTER;
  if (direction_ != PINDIR_OUTPUT) return E_UNEXPECTED;
  if (peer_ != nullptr) return VFW_E_ALREADY_CONNECTED;
  const AM_MEDIA_TYPE type = plainMediaType(MEDIATYPE_Stream, kMpeg2TransportSubtype);
  if (FAILED(receiver->ReceiveConnection(this, &type))) return VFW_E_NO_ACCEPTABLE_TYPES;
  peer_ = receiver;
  peer_->AddRef();
  if (takeAllocator()) return S_OK;
  receiver->Disconnect();
  Disconnect();
  return VFW_E_NO_ALLOCATOR;
}

HRESULT STDMETHODCALLTYPE SimPin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) {
  if (connector == nullptr || type == nullptr) return E_POINTER;
  if (direction_ != PINDIR_INPUT) return E_UNEXPECTED;
  if (peer_ != nullptr) return VFW_E_ALREADY_CONNECTED;
  peer_ = connector;
  peer_->AddRef();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE SimPin::Disconnect() {
  if (allocator_ != nullptr) {
    allocator_->Decommit();
    allocator_->Release();
    allocator_ = nullptr;
  }
  if (input_ != nullptr) {
    input_->Release();
    input_ = nullptr;
  }
  if (peer_ == nullptr) return S_FALSE;
  peer_->Release();
  peer_ = nullptr;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE SimPin::ConnectedTo(IPin** out) {
  if (out == nullptr) return E_POINTER;
  *out = peer_;
  if (peer_ == nullptr) return VFW_E_NOT_CONNECTED;
  peer_->AddRef();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE SimPin::ConnectionMediaType(AM_MEDIA_TYPE* type) {
  if (type == nullptr) return E_POINTER;
  if (peer_ == nullptr) return VFW_E_NOT_CONNECTED;
  *type = plainMediaType(MEDIATYPE_Stream, kMpeg2TransportSubtype);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE SimPin::QueryPinInfo(PIN_INFO* info) {
  if (info == nullptr) return E_POINTER;
  info->pFilter = static_cast<IBaseFilter*>(&tuner_);
  tuner_.AddRef();
  info->dir = direction_;
  lstrcpynW(info->achName, name(), MAX_PIN_NAME);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE SimPin::QueryDirection(PIN_DIRECTION* direction) {
  if (direction == nullptr) return E_POINTER;
  *direction = direction_;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE SimPin::QueryId(LPWSTR* id) {
  if (id == nullptr) return E_POINTER;
  *id = taskMemoryCopy(name());
  return *id != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE SimPin::EnumMediaTypes(IEnumMediaTypes** out) {
  if (out == nullptr) return E_POINTER;
  const bool output = direction_ == PINDIR_OUTPUT;
  *out = new (std::nothrow) MediaTypeEnumerator(output ? &MEDIATYPE_Stream : nullptr, output ? &kMpeg2TransportSubtype : nullptr);
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// --- statistics

SimStatistics::SimStatistics(SimTuner& tuner) : tuner_(tuner) { tuner_.AddRef(); }
SimStatistics::~SimStatistics() { tuner_.Release(); }

HRESULT SimStatistics::answer(REFIID iid, void** out) {
  if (iid == IID_IUnknown || iid == __uuidof(IBDA_SignalStatistics)) {
    *out = static_cast<IBDA_SignalStatistics*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE SimStatistics::get_SignalLocked(BOOLEAN* locked) {
  if (locked == nullptr) return E_POINTER;
  *locked = tuner_.read(true).lock ? TRUE : FALSE;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE SimStatistics::get_SignalStrength(LONG* strength) {
  if (strength == nullptr) return E_POINTER;
  *strength = tunersim::reportedStrength(tuner_.read(false).level, tuner_.options());
  return S_OK;
}

HRESULT STDMETHODCALLTYPE SimStatistics::get_SignalQuality(LONG* quality) {
  if (quality == nullptr) return E_POINTER;
  *quality = tuner_.read(false).quality;
  return S_OK;
}

// --- the tuner

SimTuner::SimTuner() : input_(*this, PINDIR_INPUT), output_(*this, PINDIR_OUTPUT) {
  InitializeCriticalSection(&lock_);
  std::string script;
  if (tunersim::namedScript(&script)) {
    card_.useScript(tunersim::parseScript(script));
    options_ = tunersim::parseBdaOptions(script);
    packets_.useLines(tunersim::parseDishLines(script));
  }
  streamStop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ++liveObjects;
}

SimTuner::~SimTuner() {
  stopStreaming();
  output_.Disconnect();
  input_.Disconnect();
  CloseHandle(streamStop_);
  DeleteCriticalSection(&lock_);
  --liveObjects;
}

HRESULT STDMETHODCALLTYPE SimTuner::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IPersist || iid == IID_IMediaFilter || iid == IID_IBaseFilter) {
    *out = static_cast<IBaseFilter*>(this);
  } else if (iid == __uuidof(IBDA_Topology)) {
    *out = static_cast<IBDA_Topology*>(this);
  } else if (iid == __uuidof(IBDA_DeviceControl)) {
    *out = static_cast<IBDA_DeviceControl*>(this);
  } else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG STDMETHODCALLTYPE SimTuner::Release() {
  const ULONG left = --references_;
  if (left == 0) {
    traceLine(tunersim::traceRelease(msSinceLoad()));
    delete this;
  }
  return left;
}

HRESULT STDMETHODCALLTYPE SimTuner::GetClassID(CLSID* id) {
  if (id == nullptr) return E_POINTER;
  *id = kSimulatedBdaTunerClsid;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE SimTuner::Pause() {
  if (state_.exchange(State_Paused) == State_Stopped && output_.connected()) {
    output_.allocator()->Commit();
    ResetEvent(streamStop_);
    streamer_ = CreateThread(nullptr, 0, streamThread, this, 0, nullptr);
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE SimTuner::Run(REFERENCE_TIME) {
  if (state_.load() == State_Stopped) Pause();
  state_.store(State_Running);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE SimTuner::Stop() {
  const bool streaming = state_.exchange(State_Stopped) != State_Stopped;
  stopStreaming();
  if (streaming) traceLine(tunersim::traceStop(msSinceLoad(), packetsTaken_.load()));
  return S_OK;
}

void SimTuner::stopStreaming() {
  if (streamer_ == nullptr) return;
  SetEvent(streamStop_);
  // A GetBuffer waiting for a free sample ends when the allocator is decommitted.
  if (output_.allocator() != nullptr) output_.allocator()->Decommit();
  WaitForSingleObject(streamer_, INFINITE);
  CloseHandle(streamer_);
  streamer_ = nullptr;
}

DWORD WINAPI SimTuner::streamThread(LPVOID self) {
  static_cast<SimTuner*>(self)->stream();
  return 0;
}

// The dish's tables while running and locked; nothing otherwise.
void SimTuner::stream() {
  while (WaitForSingleObject(streamStop_, kSampleIntervalMs) == WAIT_TIMEOUT) {
    if (state_.load() != State_Running || !read(false).lock) continue;
    IMediaSample* sample = nullptr;
    if (FAILED(output_.allocator()->GetBuffer(&sample, nullptr, nullptr, 0)) || sample == nullptr) continue;
    BYTE* bytes = nullptr;
    if (SUCCEEDED(sample->GetPointer(&bytes)) &&
        static_cast<size_t>(sample->GetSize()) >= kPacketsPerSample * tunersim::kPacketSize) {
      EnterCriticalSection(&lock_);
      packets_.setNow(msSinceLoad());
      packets_.nextPackets(bytes, kPacketsPerSample);
      LeaveCriticalSection(&lock_);
      sample->SetActualDataLength(static_cast<long>(kPacketsPerSample * tunersim::kPacketSize));
      if (output_.receiver()->Receive(sample) == S_OK) packetsTaken_ += kPacketsPerSample;
    }
    sample->Release();
  }
}

HRESULT STDMETHODCALLTYPE SimTuner::GetState(DWORD, FILTER_STATE* state) {
  if (state == nullptr) return E_POINTER;
  *state = state_.load();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE SimTuner::GetSyncSource(IReferenceClock** clock) {
  if (clock == nullptr) return E_POINTER;
  *clock = nullptr;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE SimTuner::EnumPins(IEnumPins** out) {
  if (out == nullptr) return E_POINTER;
  IPin* pins[2] = {&input_, &output_};
  *out = new (std::nothrow) PinEnumerator(pins, 2);
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE SimTuner::FindPin(LPCWSTR id, IPin** out) {
  if (id == nullptr || out == nullptr) return E_POINTER;
  *out = lstrcmpW(id, kInputPinName) == 0 ? &input_ : lstrcmpW(id, kOutputPinName) == 0 ? &output_ : nullptr;
  if (*out == nullptr) return VFW_E_NOT_FOUND;
  (*out)->AddRef();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE SimTuner::QueryFilterInfo(FILTER_INFO* info) {
  if (info == nullptr) return E_POINTER;
  lstrcpynW(info->achName, kFriendlyName, MAX_FILTER_NAME);
  info->pGraph = graph_;
  if (graph_ != nullptr) graph_->AddRef();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE SimTuner::JoinFilterGraph(IFilterGraph* graph, LPCWSTR) {
  graph_ = graph;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE SimTuner::GetNodeTypes(ULONG* count, ULONG most, ULONG types[]) {
  if (count == nullptr) return E_POINTER;
  *count = 2;
  if (most >= 2 && types != nullptr) {
    types[0] = kRfNodeType;
    types[1] = kDemodulatorNodeType;
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE SimTuner::GetNodeDescriptors(ULONG* count, ULONG most, BDANODE_DESCRIPTOR descriptors[]) {
  if (count == nullptr) return E_POINTER;
  *count = 2;
  if (most >= 2 && descriptors != nullptr) {
    descriptors[0] = {kRfNodeType, kRfTunerNode, kRfTunerNode};
    descriptors[1] = {kDemodulatorNodeType, kQpskDemodulatorNode, kQpskDemodulatorNode};
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE SimTuner::GetNodeInterfaces(ULONG type, ULONG* count, ULONG most, GUID interfaces[]) {
  if (count == nullptr) return E_POINTER;
  const GUID rf[] = {__uuidof(IBDA_FrequencyFilter), __uuidof(IBDA_LNBInfo), __uuidof(IBDA_SignalStatistics),
                     __uuidof(IBDA_DiseqCommand)};
  const GUID demodulator[] = {__uuidof(IBDA_DigitalDemodulator), __uuidof(IBDA_SignalStatistics)};
  if (type != kRfNodeType && type != kDemodulatorNodeType) return E_INVALIDARG;
  const GUID* list = type == kRfNodeType ? rf : demodulator;
  *count = type == kRfNodeType ? 4 : 2;
  for (ULONG i = 0; i < *count && i < most && interfaces != nullptr; ++i) interfaces[i] = list[i];
  return S_OK;
}

HRESULT STDMETHODCALLTYPE SimTuner::GetPinTypes(ULONG* count, ULONG most, ULONG types[]) {
  if (count == nullptr) return E_POINTER;
  *count = 2;
  if (most >= 2 && types != nullptr) {
    types[0] = 0;
    types[1] = 1;
  }
  return S_OK;
}

// As a driver's: no nodes until the output pin is connected.
HRESULT STDMETHODCALLTYPE SimTuner::GetControlNode(ULONG, ULONG, ULONG type, IUnknown** node) {
  if (node == nullptr) return E_POINTER;
  *node = nullptr;
  if (!output_.connected()) return E_FAIL;
  if (type == kRfNodeType)
    *node = static_cast<IBDA_FrequencyFilter*>(new (std::nothrow) SimRfNode(*this));
  else if (type == kDemodulatorNodeType)
    *node = static_cast<IBDA_DigitalDemodulator*>(new (std::nothrow) SimDemodulatorNode(*this));
  else
    return E_INVALIDARG;
  return *node != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE SimTuner::StartChanges() {
  EnterCriticalSection(&lock_);
  pending_ = committed_;
  LeaveCriticalSection(&lock_);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE SimTuner::CommitChanges() {
  const int32_t chosen = chosenPosition();
  EnterCriticalSection(&lock_);
  committed_ = pending_;
  const int64_t now = msSinceLoad();
  tunersim::applyToCard(committed_, card_, now);
  const bool horizontal = committed_.polarisation == tunersim::kPolarisationH;
  packets_.tuned({static_cast<int32_t>(committed_.frequencyKHz), horizontal ? 1 : 0}, chosen, now);
  traceLine(tunersim::traceCommit(now, committed_));
  LeaveCriticalSection(&lock_);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE SimTuner::GetChangeState(ULONG* state) {
  if (state == nullptr) return E_POINTER;
  *state = 0;  // BDA_CHANGES_COMPLETE
  return S_OK;
}

// A read as the card would answer it, unlocked when the modulation does not fit the transponder.
// The lock query is the one the program makes first in each poll: it alone waits out a slow
// script line and is traced.
tunersim::Reading SimTuner::read(bool trace) {
  if (trace) {
    EnterCriticalSection(&lock_);
    const int64_t delay = card_.readDelayMs(msSinceLoad());
    LeaveCriticalSection(&lock_);
    if (delay > 0) Sleep(static_cast<DWORD>(delay));
  }
  EnterCriticalSection(&lock_);
  const int64_t now = msSinceLoad();
  tunersim::Reading reading = card_.readSignal(now);
  if (!tunersim::modulationFits(committed_, options_)) reading = {};
  if (trace) traceLine(tunersim::traceReadSignal(now, reading));
  LeaveCriticalSection(&lock_);
  return reading;
}

tunersim::ClassFactory<SimTuner> classFactory;

// Registered through the filter mapper, so the system device enumerator lists it in the category.
IFilterMapper2* filterMapper() {
  void* mapper = nullptr;
  if (FAILED(CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2, &mapper)))
    return nullptr;
  return static_cast<IFilterMapper2*>(mapper);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  return tunersim::attachDll(instance, reason);
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** out) {
  return tunersim::classObject(classId, kSimulatedBdaTunerClsid, classFactory, iid, out);
}

STDAPI DllCanUnloadNow() { return tunersim::canUnload() ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() {
  if (!tunersim::registerClass(kSimulatedBdaTunerClsid, kDescription)) return SELFREG_E_CLASS;
  const HRESULT com = CoInitialize(nullptr);
  IFilterMapper2* mapper = filterMapper();
  REGFILTER2 filter = {};
  filter.dwVersion = 1;
  filter.dwMerit = MERIT_DO_NOT_USE;
  const bool registered = mapper != nullptr &&
      SUCCEEDED(mapper->RegisterFilter(kSimulatedBdaTunerClsid, kFriendlyName, nullptr, &kBdaNetworkTunerCategory,
                                       nullptr, &filter));
  if (mapper != nullptr) mapper->Release();
  if (SUCCEEDED(com)) CoUninitialize();
  return registered ? S_OK : SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer() {
  const HRESULT com = CoInitialize(nullptr);
  if (IFilterMapper2* mapper = filterMapper()) {
    mapper->UnregisterFilter(&kBdaNetworkTunerCategory, nullptr, kSimulatedBdaTunerClsid);
    mapper->Release();
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return tunersim::unregisterClass(kSimulatedBdaTunerClsid) ? S_OK : SELFREG_E_CLASS;
}
