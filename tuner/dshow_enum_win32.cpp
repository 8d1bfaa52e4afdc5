#include "tuner/dshow_enum_win32.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <new>

PinEnumerator::PinEnumerator(IPin* const* pins, ULONG count, ULONG index) : count_(std::min<ULONG>(count, 2)), index_(index) {
  for (ULONG i = 0; i < count_; ++i) {
    pins_[i] = pins[i];
    pins_[i]->AddRef();
  }
}

PinEnumerator::~PinEnumerator() {
  for (ULONG i = count_; i > 0; --i) pins_[i - 1]->Release();
}

HRESULT STDMETHODCALLTYPE PinEnumerator::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  if (iid != IID_IUnknown && iid != IID_IEnumPins) {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  *out = static_cast<IEnumPins*>(this);
  AddRef();
  return S_OK;
}

ULONG STDMETHODCALLTYPE PinEnumerator::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT STDMETHODCALLTYPE PinEnumerator::Next(ULONG wanted, IPin** pins, ULONG* fetched) {
  if (pins == nullptr) return E_POINTER;
  ULONG given = 0;
  for (; given < wanted && index_ < count_; ++given, ++index_) {
    pins[given] = pins_[index_];
    pins[given]->AddRef();
  }
  if (fetched != nullptr) *fetched = given;
  return given == wanted ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE PinEnumerator::Skip(ULONG count) {
  index_ = std::min(index_ + count, count_);
  return index_ < count_ ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE PinEnumerator::Reset() {
  index_ = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE PinEnumerator::Clone(IEnumPins** out) {
  if (out == nullptr) return E_POINTER;
  *out = new (std::nothrow) PinEnumerator(pins_, count_, index_);
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

MediaTypeEnumerator::MediaTypeEnumerator(const GUID* major, const GUID* sub, ULONG index) : index_(index) {
  if (major == nullptr || sub == nullptr) return;
  major_ = *major;
  sub_ = *sub;
  count_ = 1;
}

HRESULT STDMETHODCALLTYPE MediaTypeEnumerator::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  if (iid != IID_IUnknown && iid != IID_IEnumMediaTypes) {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  *out = static_cast<IEnumMediaTypes*>(this);
  AddRef();
  return S_OK;
}

ULONG STDMETHODCALLTYPE MediaTypeEnumerator::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT STDMETHODCALLTYPE MediaTypeEnumerator::Next(ULONG wanted, AM_MEDIA_TYPE** types, ULONG* fetched) {
  if (types == nullptr) return E_POINTER;
  ULONG given = 0;
  for (; given < wanted && index_ < count_; ++given, ++index_) {
    auto* type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (type == nullptr) break;
    *type = plainMediaType(major_, sub_);
    types[given] = type;
  }
  if (fetched != nullptr) *fetched = given;
  return given == wanted ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE MediaTypeEnumerator::Skip(ULONG count) {
  index_ = std::min(index_ + count, count_);
  return index_ < count_ ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE MediaTypeEnumerator::Reset() {
  index_ = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE MediaTypeEnumerator::Clone(IEnumMediaTypes** out) {
  if (out == nullptr) return E_POINTER;
  *out = new (std::nothrow) MediaTypeEnumerator(count_ ? &major_ : nullptr, count_ ? &sub_ : nullptr, index_);
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

AM_MEDIA_TYPE plainMediaType(const GUID& major, const GUID& sub) {
  AM_MEDIA_TYPE type = {};
  type.majortype = major;
  type.subtype = sub;
  type.bFixedSizeSamples = TRUE;
  type.lSampleSize = 1;
  type.formattype = GUID_NULL;
  return type;
}

void copyPlainMediaType(const AM_MEDIA_TYPE& from, AM_MEDIA_TYPE* to) { *to = plainMediaType(from.majortype, from.subtype); }

LPWSTR taskMemoryCopy(LPCWSTR text) {
  const size_t bytes = (std::wcslen(text) + 1) * sizeof(wchar_t);
  auto* copy = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
  if (copy != nullptr) std::memcpy(copy, text, bytes);
  return copy;
}
