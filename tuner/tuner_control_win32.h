// The card maker's tuner interface, as its source filter offers it through COM.
// Shared by the program and by our simulated card (tunersim), which stands in for it.
#pragma once
#include <windows.h>
#include <strmif.h>
#include <unknwn.h>

// The source filter's class.
constexpr CLSID kSourceFilterClsid = {0x7CDF271B, 0xB889, 0x4CFB, {0x9F, 0x61, 0x9D, 0x5E, 0x7C, 0x18, 0x08, 0x94}};
// The tuner interface.
constexpr IID kTunerControlIid = {0x8430234F, 0xD800, 0x42A6, {0x94, 0x8E, 0x23, 0x7A, 0x0B, 0xE6, 0x59, 0xA0}};

// Vtable slots 3 to 10 after IUnknown's three. The program calls only 3, 5 and 10; the
// others exist in the filter and must keep their places.
struct TunerControl : public IUnknown {
  // band 1 Ku, 0 C; oscillator frequencies in MHz.
  virtual HRESULT STDMETHODCALLTYPE SetLnbFrequencies(LONG band, LONG lo1, LONG lo2) = 0;  // slot 3
  virtual HRESULT STDMETHODCALLTYPE Unused4() = 0;
  // frequency MHz, symbol rate kS/s, polarization 1 H/L 0 V/R, tone 1 on, LNB 0..4 or -1.
  virtual HRESULT STDMETHODCALLTYPE Tune(LONG mhz, LONG ksps, LONG polarization, LONG tone, LONG lnb) = 0;  // slot 5
  virtual HRESULT STDMETHODCALLTYPE Unused6() = 0;
  virtual HRESULT STDMETHODCALLTYPE Unused7() = 0;
  virtual HRESULT STDMETHODCALLTYPE Unused8() = 0;
  virtual HRESULT STDMETHODCALLTYPE Unused9() = 0;
  // lock non-zero when locked; level and quality in percent, written when locked.
  virtual HRESULT STDMETHODCALLTYPE ReadSignal(BYTE* lock, LONG* level, LONG* quality) = 0;  // slot 10
};
