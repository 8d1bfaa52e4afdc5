// Entry point, start-up and shutdown sequences.
#include <windows.h>

#include "app/app_win32.h"
#include "app/globals.h"
#include "app/globals_win32.h"
#include "app/shell.h"
#include "feedback/feedback_win32.h"
#include "resources/resource_ids.h"
#include "transponders/transponders_win32.h"
#include "tuner/tuner_win32.h"
#include "ui/commands_win32.h"
#include "ui/skin_win32.h"

namespace {

constexpr const char* kClassName = "108";
constexpr const char* kWindowTitle = "Quorvan";

void createBackBuffer() {
  shell.backBuffer = CreateCompatibleDC(shell.windowDC);
  shell.backBufferBitmap = CreateCompatibleBitmap(shell.windowDC, kWindowWidth, kWindowHeight);
  SelectObject(shell.backBuffer, shell.backBufferBitmap);
  SetBkMode(shell.backBuffer, TRANSPARENT);
}

void startupSequence() {
  CoInitialize(nullptr);
  InitializeCriticalSection(&shell.lock);
  clearSettingsPrefix(settingsRecord);
  enterProgramFolder();
  DeleteFileA("log.txt");
  loadSettings();
  createBackBuffer();
  loadSkinPicture();
  createWindowShapeAndHotRegions();
  createComboBoxes();
  createFontsAndTextState();
  createPensAndBrushes();
  setComboBoxFonts();
  fillLnbList();
  buildSatelliteList();
  loadTransponderList();
  createTooltips();
  setFixedRectangles();
  loadSoundTable();
}

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

void waitUntilClear(const std::atomic<uint8_t>& runningFlag) {
  while (runningFlag.load() != 0) Sleep(kStopPollMs);
}

int enterProgramFolder() {
  char path[512];
  const DWORD length = GetModuleFileNameA(shell.instance, path, sizeof(path));
  if (length == 0) return 1;
  char* lastBackslash = strrchr(path, '\\');
  if (lastBackslash != nullptr) *lastBackslash = '\0';
  SetCurrentDirectoryA(path);
  return 0;
}

void shutdownSequence() {
  appendLogMarker("0;");
  signalState.watch.store(0);
  waitUntilClear(signalState.pollRunning);
  appendLogMarker("1;");
  waitUntilClear(signalState.soundRunning);
  appendLogMarker("2;");
  waitUntilClear(signalState.meterRunning);
  appendLogMarker("3;");
  deleteDrawingObjects();
  appendLogMarker("4;");
  freeSkinPixels();
  appendLogMarker("5;");
  parseTransponderText(false);
  appendLogMarker("6;");
  saveSettings();
  appendLogMarker("7;");
  releaseTunerInterface();
  appendLogMarker("8;");
  releaseSourceFilter();
  appendLogMarker("9;");
  CoUninitialize();
  appendLogMarker("10;");
  if (shell.backBuffer != nullptr) {
    DeleteDC(shell.backBuffer);
    shell.backBuffer = nullptr;
  }
  ReleaseDC(shell.mainWindow, shell.windowDC);
  appendLogMarker("11;");
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  if (!registerMainClass(instance)) return 0;
  shell.instance = instance;
  shell.screenWidth = GetSystemMetrics(SM_CXSCREEN);
  shell.screenHeight = GetSystemMetrics(SM_CYSCREEN);
  const WindowOrigin origin = mainWindowOrigin(shell.screenWidth, shell.screenHeight);
  shell.mainWindow = CreateWindowExA(0, kClassName, kWindowTitle, WS_POPUP, origin.x, origin.y, kWindowWidth,
                                     kWindowHeight, nullptr, nullptr, instance, nullptr);
  if (shell.mainWindow == nullptr) return 0;
  shell.windowDC = GetDC(shell.mainWindow);
  startupSequence();
  ShowWindow(shell.mainWindow, showCommand);
  UpdateWindow(shell.mainWindow);
  if (openTuner()) {
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
