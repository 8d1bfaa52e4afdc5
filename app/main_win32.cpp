// The entry point: the main window's class and window, start-up, the tuner, the message loop.
#include <windows.h>

#include "app/main_window_win32.h"
#include "app/shutdown_win32.h"
#include "app/startup_trace_win32.h"
#include "app/startup_win32.h"
#include "app/window_proc_win32.h"
#include "core/crash_report_win32.h"
#include "core/globals_win32.h"
#include "resources/resource_ids.h"
#include "tuner/tuner_device_win32.h"
#include "window/layout.h"

namespace {

constexpr const char* kClassName = "108";
constexpr const char* kWindowTitle = "Quorvan";

bool registerMainClass(HINSTANCE instance) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
  windowClass.lpfnWndProc = mainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_QUORVAN));
  windowClass.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(IDI_QUORVAN));
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  windowClass.lpszClassName = kClassName;
  return RegisterClassExA(&windowClass) != 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  installCrashReport();
  traceStartupStep("entry");
  if (!registerMainClass(instance)) return 0;
  traceStartupStep("class");
  shell.instance = instance;
  shell.screenWidth = GetSystemMetrics(SM_CXSCREEN);
  shell.screenHeight = GetSystemMetrics(SM_CYSCREEN);
  const WindowOrigin origin = mainWindowOrigin(shell.screenWidth, shell.screenHeight);
  shell.mainWindow = CreateWindowExA(0, kClassName, kWindowTitle, WS_POPUP, origin.x, origin.y, kWindowWidth,
                                     kWindowHeight, nullptr, nullptr, instance, nullptr);
  if (shell.mainWindow == nullptr) return 0;
  shell.windowDC = GetDC(shell.mainWindow);
  traceStartupStep("window");
  startupSequence();
  ShowWindow(shell.mainWindow, showCommand);
  UpdateWindow(shell.mainWindow);
  traceStartupStep("shown");
  // The tooltips come after the first paint: nothing before it uses them, and loading the common
  // controls is the dearest part of start-up the window does not need in order to show.
  createTooltips();
  traceStartupStep("tooltips");
  const bool tunerOpen = openTuner();
  traceStartupStep("tuner");
  writeStartupTrace();
  if (!tunerOpen) {
    shutdownSequence();
    return 0;
  }
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
