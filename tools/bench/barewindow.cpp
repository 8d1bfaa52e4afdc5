// The baseline of the start-up benchmark: a program that only registers a class, opens a
// 512 x 384 popup like the real one and runs a message loop until WM_CLOSE. Built again with
// QV_FLOOR_WINDOW as the floor program, which first decodes the skin (floorwindow.cpp).
#include <windows.h>

#ifdef QV_FLOOR_WINDOW
#include <vector>
std::vector<BYTE> decodeSkin(HINSTANCE instance);  // floorwindow.cpp
#define QV_WINDOW_NAME "FloorWindow"
#else
#define QV_WINDOW_NAME "BareWindow"
#endif

namespace {
LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
#ifdef QV_FLOOR_WINDOW
  CoInitialize(nullptr);
#endif
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_OWNDC;
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = QV_WINDOW_NAME;
  if (!RegisterClassExA(&windowClass)) return 1;
  const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - 256;
  const int y = GetSystemMetrics(SM_CYSCREEN) / 2 - 256;
  HWND window = CreateWindowExA(0, QV_WINDOW_NAME, QV_WINDOW_NAME, WS_POPUP, x, y, 512, 384, nullptr, nullptr, instance,
                                nullptr);
  if (window == nullptr) return 1;
#ifdef QV_FLOOR_WINDOW
  const std::vector<BYTE> skin = decodeSkin(instance);
  if (skin.empty()) return 2;
#endif
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
#ifdef QV_FLOOR_WINDOW
  CoUninitialize();
#endif
  return static_cast<int>(message.wParam);
}
