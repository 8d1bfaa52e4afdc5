#include "tuner/bda_tuner_win32.h"

#include <oleauto.h>

#include <new>

#include "tuner/bda_guids_win32.h"

namespace {

// Control nodes sit between the tuner's input pin and its output pin (pin ids 0 and 1 in the
// tuner's own topology, as BDA drivers number them).
constexpr ULONG kInputPinId = 0;
constexpr ULONG kOutputPinId = 1;
constexpr ULONG kMostNodeTypes = 32;

template <class T>
void releaseInto(T*& object) {
  if (object == nullptr) return;
  object->Release();
  object = nullptr;
}

template <class T>
T* query(IUnknown* object) {
  void* found = nullptr;
  if (object == nullptr || FAILED(object->QueryInterface(__uuidof(T), &found))) return nullptr;
  return static_cast<T*>(found);
}

// The first pin of that direction not yet connected, with a reference; null when none.
IPin* freePin(IBaseFilter* filter, PIN_DIRECTION wanted) {
  IEnumPins* pins = nullptr;
  if (FAILED(filter->EnumPins(&pins)) || pins == nullptr) return nullptr;
  IPin* found = nullptr;
  IPin* pin = nullptr;
  while (found == nullptr && pins->Next(1, &pin, nullptr) == S_OK) {
    PIN_DIRECTION direction;
    IPin* peer = nullptr;
    const bool connected = SUCCEEDED(pin->ConnectedTo(&peer)) && peer != nullptr;
    if (peer != nullptr) peer->Release();
    if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == wanted && !connected)
      found = pin;
    else
      pin->Release();
  }
  pins->Release();
  return found;
}

bool connectFilters(IGraphBuilder* graph, IBaseFilter* from, IBaseFilter* to) {
  IPin* out = freePin(from, PINDIR_OUTPUT);
  IPin* in = freePin(to, PINDIR_INPUT);
  const bool connected = out != nullptr && in != nullptr && SUCCEEDED(graph->ConnectDirect(out, in, nullptr));
  if (in != nullptr) in->Release();
  if (out != nullptr) out->Release();
  return connected;
}

// Monikers of a device category; null when the category is empty (the enumerator gives S_FALSE).
IEnumMoniker* categoryMonikers(const GUID& category) {
  ICreateDevEnum* devices = nullptr;
  if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                              reinterpret_cast<void**>(&devices))))
    return nullptr;
  IEnumMoniker* monikers = nullptr;
  if (devices->CreateClassEnumerator(category, &monikers, 0) != S_OK) monikers = nullptr;
  devices->Release();
  return monikers;
}

IBaseFilter* bindFilter(IMoniker* moniker) {
  void* filter = nullptr;
  if (FAILED(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, &filter))) return nullptr;
  return static_cast<IBaseFilter*>(filter);
}

std::string friendlyName(IMoniker* moniker) {
  IPropertyBag* bag = nullptr;
  if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, reinterpret_cast<void**>(&bag)))) return {};
  VARIANT value;
  VariantInit(&value);
  std::string name;
  if (SUCCEEDED(bag->Read(L"FriendlyName", &value, nullptr)) && value.vt == VT_BSTR) {
    char narrow[256];
    if (WideCharToMultiByte(CP_ACP, 0, value.bstrVal, -1, narrow, sizeof(narrow), nullptr, nullptr) > 0) name = narrow;
  }
  VariantClear(&value);
  bag->Release();
  return name;
}

}  // namespace

bool BdaTuner::open() {
  IEnumMoniker* tuners = categoryMonikers(kBdaNetworkTunerCategory);
  if (tuners == nullptr) return false;
  if (SUCCEEDED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                 reinterpret_cast<void**>(&graph_)))) {
    control_ = query<IMediaControl>(graph_);
    // Windows' network provider, where it exists, drives the tuner's input; without one (Wine,
    // or a driver that needs none) the tuner is tuned through its nodes alone.
    if (SUCCEEDED(CoCreateInstance(kNetworkProviderClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                   reinterpret_cast<void**>(&provider_))) &&
        FAILED(graph_->AddFilter(provider_, L"Network provider")))
      releaseInto(provider_);
    sink_ = new (std::nothrow) StreamSink();
    if (sink_ != nullptr && SUCCEEDED(graph_->AddFilter(sink_, L"Transport stream"))) {
      IMoniker* moniker = nullptr;
      while (tuner_ == nullptr && tuners->Next(1, &moniker, nullptr) == S_OK) {
        IBaseFilter* candidate = bindFilter(moniker);
        if (candidate != nullptr && tryTuner(candidate))
          name_ = friendlyName(moniker);
        else if (candidate != nullptr)
          candidate->Release();
        moniker->Release();
      }
    }
  }
  tuners->Release();
  if (tuner_ == nullptr || control_ == nullptr) {
    releaseNodes();
    releaseGraph();
    return false;
  }
  control_->Run();  // S_FALSE: the graph goes on to running by itself
  return true;
}

bool BdaTuner::tryTuner(IBaseFilter* tuner) {
  if (FAILED(graph_->AddFilter(tuner, L"Tuner"))) return false;
  if (provider_ != nullptr) connectFilters(graph_, provider_, tuner);
  // Drivers give their control nodes only once the pins are connected.
  if (connectToSink(tuner)) {
    takeNodes(tuner);
    if (nodes_.satellite()) {
      tuner_ = tuner;
      return true;
    }
  }
  releaseNodes();
  dropFilter(receiver_);
  graph_->RemoveFilter(tuner);
  return false;
}

bool BdaTuner::connectToSink(IBaseFilter* tuner) {
  if (IEnumMoniker* receivers = categoryMonikers(kBdaReceiverCategory)) {
    IMoniker* moniker = nullptr;
    while (receiver_ == nullptr && receivers->Next(1, &moniker, nullptr) == S_OK) {
      IBaseFilter* receiver = bindFilter(moniker);
      moniker->Release();
      if (receiver == nullptr) continue;
      receiver_ = receiver;
      if (FAILED(graph_->AddFilter(receiver, L"Receiver")) || !connectFilters(graph_, tuner, receiver) ||
          !connectFilters(graph_, receiver, sink_))
        dropFilter(receiver_);
    }
    receivers->Release();
    if (receiver_ != nullptr) return true;
  }
  return connectFilters(graph_, tuner, sink_);
}

void BdaTuner::takeNodes(IBaseFilter* tuner) {
  nodes_.control = query<IBDA_DeviceControl>(tuner);
  IBDA_Topology* topology = query<IBDA_Topology>(tuner);
  if (topology == nullptr) return;
  ULONG types[kMostNodeTypes];
  ULONG count = 0;
  if (FAILED(topology->GetNodeTypes(&count, kMostNodeTypes, types))) count = 0;
  for (ULONG i = 0; i < count && i < kMostNodeTypes; ++i) {
    IUnknown* node = nullptr;
    if (FAILED(topology->GetControlNode(kInputPinId, kOutputPinId, types[i], &node)) || node == nullptr) continue;
    if (nodes_.frequency == nullptr && (nodes_.frequency = query<IBDA_FrequencyFilter>(node)) != nullptr)
      nodes_.rfStatistics = query<IBDA_SignalStatistics>(node);
    if (nodes_.demodulator == nullptr && (nodes_.demodulator = query<IBDA_DigitalDemodulator>(node)) != nullptr)
      nodes_.demodulatorStatistics = query<IBDA_SignalStatistics>(node);
    if (nodes_.lnb == nullptr) nodes_.lnb = query<IBDA_LNBInfo>(node);
    if (nodes_.diseqc == nullptr) nodes_.diseqc = query<IBDA_DiseqCommand>(node);
    node->Release();
  }
  topology->Release();
  if (nodes_.diseqc == nullptr) nodes_.diseqc = query<IBDA_DiseqCommand>(tuner);
}

void BdaTuner::releaseNodes() {
  releaseInto(nodes_.diseqc);
  releaseInto(nodes_.lnb);
  releaseInto(nodes_.demodulatorStatistics);
  releaseInto(nodes_.demodulator);
  releaseInto(nodes_.rfStatistics);
  releaseInto(nodes_.frequency);
  releaseInto(nodes_.control);
}

void BdaTuner::dropFilter(IBaseFilter*& filter) {
  if (filter == nullptr) return;
  if (graph_ != nullptr) graph_->RemoveFilter(filter);
  releaseInto(filter);
}

void BdaTuner::releaseGraph() {
  if (control_ != nullptr) control_->Stop();
  IBaseFilter* sink = sink_;
  sink_ = nullptr;
  dropFilter(sink);
  dropFilter(receiver_);
  dropFilter(tuner_);
  dropFilter(provider_);
  releaseInto(control_);
  releaseInto(graph_);
}

void BdaTuner::setLnbFrequencies(int32_t, int32_t lo1Mhz, int32_t lo2Mhz) { planner_.setLnbFrequencies(lo1Mhz, lo2Mhz); }

// Every setting goes in between StartChanges and CommitChanges; the driver applies them together.
void BdaTuner::tune(int32_t frequencyMhz, int32_t symbolRate, int32_t polarization, int32_t tone, int32_t lnbSelection,
                    bool dvbS2) {
  const BdaTuning tuning = planner_.plan(frequencyMhz, symbolRate, polarization, tone, lnbSelection, dvbS2);
  if (nodes_.frequency == nullptr || nodes_.lnb == nullptr) return;
  if (nodes_.control != nullptr) nodes_.control->StartChanges();
  nodes_.frequency->put_Frequency(tuning.frequencyKHz);
  nodes_.frequency->put_Polarity(static_cast<Polarisation>(tuning.polarisation));
  if (tuning.lnb.set) {
    nodes_.lnb->put_LocalOscilatorFrequencyLowBand(tuning.lnb.lowKHz);
    nodes_.lnb->put_LocalOscilatorFrequencyHighBand(tuning.lnb.highKHz);
  }
  nodes_.lnb->put_HighLowSwitchFrequency(tuning.switchKHz);
  if (nodes_.demodulator != nullptr) {
    ModulationType modulation = static_cast<ModulationType>(tuning.modulation);
    ULONG symbols = tuning.symbolRate;
    nodes_.demodulator->put_ModulationType(&modulation);
    nodes_.demodulator->put_SymbolRate(&symbols);
  }
  if (nodes_.diseqc != nullptr && tuning.diseqcPort != kNoDiseqcPort) {
    nodes_.diseqc->put_EnableDiseqCommands(TRUE);
    nodes_.diseqc->put_DiseqLNBSource(static_cast<ULONG>(tuning.diseqcPort));
  }
  if (nodes_.control != nullptr) nodes_.control->CommitChanges();
}

bool BdaTuner::readStatistics(IBDA_SignalStatistics* first, IBDA_SignalStatistics* second, bool strength, LONG* value) {
  for (IBDA_SignalStatistics* statistics : {first, second}) {
    if (statistics == nullptr) continue;
    const HRESULT result = strength ? statistics->get_SignalStrength(value) : statistics->get_SignalQuality(value);
    if (SUCCEEDED(result)) return true;
  }
  return false;
}

// Lock and quality from the demodulator, strength from the RF node, each falling back to the
// other node when its own does not answer.
void BdaTuner::readSignal(uint8_t* lock, int32_t* level, int32_t* quality) {
  BOOLEAN locked = FALSE;
  bool answered = false;
  for (IBDA_SignalStatistics* statistics : {nodes_.demodulatorStatistics, nodes_.rfStatistics})
    if (!answered && statistics != nullptr) answered = SUCCEEDED(statistics->get_SignalLocked(&locked));
  *lock = answered && locked ? 1 : 0;
  if (*lock == 0) return;
  LONG value = 0;
  if (readStatistics(nodes_.rfStatistics, nodes_.demodulatorStatistics, true, &value)) *level = strength_.percent(value);
  if (readStatistics(nodes_.demodulatorStatistics, nodes_.rfStatistics, false, &value)) *quality = qualityPercent(value);
}
