// Small DirectShow enumerators for filters of our own: the program's stream sink and the
// simulated BDA tuner. Each holds references to what it lists and releases them with itself.
#pragma once
#include <windows.h>
#include <dshow.h>

#include <atomic>

class PinEnumerator final : public IEnumPins {
 public:
  // Lists up to two pins from index; takes a reference on each.
  PinEnumerator(IPin* const* pins, ULONG count, ULONG index = 0);
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE Next(ULONG wanted, IPin** pins, ULONG* fetched) override;
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
  HRESULT STDMETHODCALLTYPE Reset() override;
  HRESULT STDMETHODCALLTYPE Clone(IEnumPins** out) override;

 private:
  ~PinEnumerator();
  std::atomic<ULONG> references_{1};
  IPin* pins_[2] = {};
  ULONG count_ = 0;
  ULONG index_ = 0;
};

// Lists one media type without a format block, or none when major is null.
class MediaTypeEnumerator final : public IEnumMediaTypes {
 public:
  MediaTypeEnumerator(const GUID* major, const GUID* sub, ULONG index = 0);
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE Next(ULONG wanted, AM_MEDIA_TYPE** types, ULONG* fetched) override;
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
  HRESULT STDMETHODCALLTYPE Reset() override;
  HRESULT STDMETHODCALLTYPE Clone(IEnumMediaTypes** out) override;

 private:
  std::atomic<ULONG> references_{1};
  GUID major_ = {};
  GUID sub_ = {};
  ULONG count_ = 0;
  ULONG index_ = 0;
};

// A media type of major and sub type with no format block, as pins hand them out.
AM_MEDIA_TYPE plainMediaType(const GUID& major, const GUID& sub);
// Copies a media type's major and sub type; the format block is not kept.
void copyPlainMediaType(const AM_MEDIA_TYPE& from, AM_MEDIA_TYPE* to);
// A wide string in task memory, as QueryId and QueryFilterInfo's callers free it.
LPWSTR taskMemoryCopy(LPCWSTR text);
