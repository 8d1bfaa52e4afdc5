#include "tuner/stream_sink_win32.h"

#include <new>

#include "tuner/bda_guids_win32.h"
#include "tuner/dshow_enum_win32.h"

namespace {
constexpr const wchar_t* kPinName = L"Transport stream";
constexpr const wchar_t* kFilterName = L"Quorvan transport stream sink";
std::atomic<long> liveSinks{0};
}  // namespace

StreamSinkPin::~StreamSinkPin() { Disconnect(); }

HRESULT STDMETHODCALLTYPE StreamSinkPin::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IPin) {
    *out = static_cast<IPin*>(this);
  } else if (iid == IID_IMemInputPin) {
    *out = static_cast<IMemInputPin*>(this);
  } else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG STDMETHODCALLTYPE StreamSinkPin::AddRef() { return filter_.AddRef(); }
ULONG STDMETHODCALLTYPE StreamSinkPin::Release() { return filter_.Release(); }

HRESULT STDMETHODCALLTYPE StreamSinkPin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) {
  if (connector == nullptr || type == nullptr) return E_POINTER;
  if (connector_ != nullptr) return VFW_E_ALREADY_CONNECTED;
  if (QueryAccept(type) != S_OK) return VFW_E_TYPE_NOT_ACCEPTED;
  connector_ = connector;
  connector_->AddRef();
  copyPlainMediaType(*type, &type_);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE StreamSinkPin::Disconnect() {
  if (allocator_ != nullptr) {
    allocator_->Release();
    allocator_ = nullptr;
  }
  if (connector_ == nullptr) return S_FALSE;
  connector_->Release();
  connector_ = nullptr;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE StreamSinkPin::ConnectedTo(IPin** out) {
  if (out == nullptr) return E_POINTER;
  *out = connector_;
  if (connector_ == nullptr) return VFW_E_NOT_CONNECTED;
  connector_->AddRef();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE StreamSinkPin::ConnectionMediaType(AM_MEDIA_TYPE* type) {
  if (type == nullptr) return E_POINTER;
  if (connector_ == nullptr) return VFW_E_NOT_CONNECTED;
  copyPlainMediaType(type_, type);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE StreamSinkPin::QueryPinInfo(PIN_INFO* info) {
  if (info == nullptr) return E_POINTER;
  info->pFilter = &filter_;
  filter_.AddRef();
  info->dir = PINDIR_INPUT;
  lstrcpynW(info->achName, kPinName, MAX_PIN_NAME);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE StreamSinkPin::QueryDirection(PIN_DIRECTION* direction) {
  if (direction == nullptr) return E_POINTER;
  *direction = PINDIR_INPUT;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE StreamSinkPin::QueryId(LPWSTR* id) {
  if (id == nullptr) return E_POINTER;
  *id = taskMemoryCopy(kPinName);
  return *id != nullptr ? S_OK : E_OUTOFMEMORY;
}

// A transport stream comes as a byte stream (BDA receivers name it so); its subtype varies.
HRESULT STDMETHODCALLTYPE StreamSinkPin::QueryAccept(const AM_MEDIA_TYPE* type) {
  if (type == nullptr) return E_POINTER;
  return type->majortype == MEDIATYPE_Stream ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE StreamSinkPin::EnumMediaTypes(IEnumMediaTypes** out) {
  if (out == nullptr) return E_POINTER;
  *out = new (std::nothrow) MediaTypeEnumerator(&MEDIATYPE_Stream, &kMpeg2TransportSubtype);
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE StreamSinkPin::NotifyAllocator(IMemAllocator* allocator, BOOL) {
  if (allocator == nullptr) return E_POINTER;
  allocator->AddRef();
  if (allocator_ != nullptr) allocator_->Release();
  allocator_ = allocator;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE StreamSinkPin::Receive(IMediaSample* sample) {
  if (sample == nullptr) return E_POINTER;
  if (filter_.state_.load() == State_Stopped) return VFW_E_WRONG_STATE;
  BYTE* bytes = nullptr;
  if (FAILED(sample->GetPointer(&bytes)) || bytes == nullptr) return S_OK;
  filter_.take(bytes, sample->GetActualDataLength());
  return S_OK;
}

HRESULT STDMETHODCALLTYPE StreamSinkPin::ReceiveMultiple(IMediaSample** samples, long count, long* processed) {
  if (samples == nullptr || processed == nullptr) return E_POINTER;
  *processed = 0;
  for (; *processed < count; ++*processed) {
    const HRESULT result = Receive(samples[*processed]);
    if (result != S_OK) return result;
  }
  return S_OK;
}

StreamSink::StreamSink() : pin_(*this) { ++liveSinks; }
StreamSink::~StreamSink() {
  if (clock_ != nullptr) clock_->Release();
  --liveSinks;
}

long StreamSink::live() { return liveSinks.load(); }

HRESULT STDMETHODCALLTYPE StreamSink::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  if (iid != IID_IUnknown && iid != IID_IPersist && iid != IID_IMediaFilter && iid != IID_IBaseFilter) {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  *out = static_cast<IBaseFilter*>(this);
  AddRef();
  return S_OK;
}

ULONG STDMETHODCALLTYPE StreamSink::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT STDMETHODCALLTYPE StreamSink::GetClassID(CLSID* id) {
  if (id == nullptr) return E_POINTER;
  *id = kStreamSinkClsid;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE StreamSink::Stop() {
  state_.store(State_Stopped);
  return S_OK;
}
HRESULT STDMETHODCALLTYPE StreamSink::Pause() {
  state_.store(State_Paused);
  return S_OK;
}
HRESULT STDMETHODCALLTYPE StreamSink::Run(REFERENCE_TIME) {
  state_.store(State_Running);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE StreamSink::GetState(DWORD, FILTER_STATE* state) {
  if (state == nullptr) return E_POINTER;
  *state = state_.load();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE StreamSink::SetSyncSource(IReferenceClock* clock) {
  if (clock != nullptr) clock->AddRef();
  if (clock_ != nullptr) clock_->Release();
  clock_ = clock;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE StreamSink::GetSyncSource(IReferenceClock** clock) {
  if (clock == nullptr) return E_POINTER;
  *clock = clock_;
  if (clock_ != nullptr) clock_->AddRef();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE StreamSink::EnumPins(IEnumPins** out) {
  if (out == nullptr) return E_POINTER;
  IPin* pins[1] = {&pin_};
  *out = new (std::nothrow) PinEnumerator(pins, 1);
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE StreamSink::FindPin(LPCWSTR id, IPin** out) {
  if (id == nullptr || out == nullptr) return E_POINTER;
  *out = nullptr;
  if (lstrcmpW(id, kPinName) != 0) return VFW_E_NOT_FOUND;
  *out = &pin_;
  pin_.AddRef();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE StreamSink::QueryFilterInfo(FILTER_INFO* info) {
  if (info == nullptr) return E_POINTER;
  lstrcpynW(info->achName, kFilterName, MAX_FILTER_NAME);
  info->pGraph = graph_;
  if (graph_ != nullptr) graph_->AddRef();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE StreamSink::JoinFilterGraph(IFilterGraph* graph, LPCWSTR) {
  graph_ = graph;
  return S_OK;
}

void StreamSink::take(const BYTE* bytes, long size) {
  if (size <= 0) return;
  bytes_ += static_cast<uint64_t>(size);
  if (TransportStreamReader* reader = reader_.load()) reader->onTransportStream(bytes, static_cast<size_t>(size));
}
