#include "core/late_dlls_win32.h"

#include <shellapi.h>

namespace {

template <typename Function>
Function lateFunction(const char* dll, const char* name) {
  HMODULE module = LoadLibraryA(dll);  // kept for the process's life
  return module != nullptr ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                           : nullptr;
}

}  // namespace

BOOL lateSndPlaySound(LPCSTR sound, UINT flags) {
  using Play = BOOL(WINAPI*)(LPCSTR, UINT);
  static const Play play = lateFunction<Play>("winmm.dll", "sndPlaySoundA");
  return play != nullptr ? play(sound, flags) : FALSE;
}

const LateWaveOut* lateWaveOut() {
  static const LateWaveOut functions = {
      lateFunction<decltype(&waveOutOpen)>("winmm.dll", "waveOutOpen"),
      lateFunction<decltype(&waveOutPrepareHeader)>("winmm.dll", "waveOutPrepareHeader"),
      lateFunction<decltype(&waveOutWrite)>("winmm.dll", "waveOutWrite"),
      lateFunction<decltype(&waveOutReset)>("winmm.dll", "waveOutReset"),
      lateFunction<decltype(&waveOutUnprepareHeader)>("winmm.dll", "waveOutUnprepareHeader"),
      lateFunction<decltype(&waveOutClose)>("winmm.dll", "waveOutClose"),
  };
  const bool complete = functions.open && functions.prepare && functions.write && functions.reset &&
                        functions.unprepare && functions.close;
  return complete ? &functions : nullptr;
}

BOOL lateInitCommonControlsEx(const INITCOMMONCONTROLSEX* classes) {
  using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  static const Init init = lateFunction<Init>("comctl32.dll", "InitCommonControlsEx");
  return init != nullptr ? init(classes) : FALSE;
}

HINSTANCE lateShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show) {
  using Execute = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
  static const Execute execute = lateFunction<Execute>("shell32.dll", "ShellExecuteA");
  return execute != nullptr ? execute(owner, verb, file, parameters, directory, show)
                            : reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND));
}
