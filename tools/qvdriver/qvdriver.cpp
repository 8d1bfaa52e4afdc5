// Test driver: a small console program run under Wine beside Quorvan. It finds the main
// window (class "108") and reads or sets its controls and dialogs from outside, and
// prints what it found as one JSON value. Cross-process sends use the W forms with a time
// limit: Wine mis-marshals CB_GETLBTEXT from an A caller in another process.
//
//   qvdriver state                     main window, its combo boxes and the process's dialogs (their
//                                      combo boxes with count and selection too)
//   qvdriver items <id>                the items of combo box <id> (text and item data)
//   qvdriver select <id> <index> [notify|change]  CB_SETCURSEL; then "notify" posts CBN_CLOSEUP and
//                                      "change" CBN_SELCHANGE to the list's parent, as a user's choice would
//   qvdriver settext <hwnd|id> <text>  WM_SETTEXT on a window handle or a main-window control id
//   qvdriver close [hwnd]              posts WM_CLOSE to the main window (or to hwnd)
//   qvdriver click <hwnd>              BM_CLICK on a button (posted, so a modal loop may follow)
//   qvdriver key <hwnd> <vk>           posts WM_KEYDOWN and WM_KEYUP with virtual key <vk>
//   qvdriver resources                 the program's process id, open handles and GDI objects (all, and by kind)
//
// Exit code 0 on success, 2 when the main window is not there, 1 on bad arguments or failure, 3 when
// the driver itself crashed; each failure prints {"error": why}. Its first act is to write
// "qvdriver: started" on its error output.
#include <windows.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr UINT kSendTimeoutMs = 3000;
constexpr int kComboIds[] = {110, 111, 112};

std::string utf8(const wchar_t* text, int length = -1) {
  if (length == 0) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string out(size > 0 ? size : 0, '\0');
  if (size > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
  if (length < 0 && !out.empty()) out.pop_back();  // the terminating zero
  return out;
}

std::string jsonString(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof(escaped), "\\u%04x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string handleText(HWND window) {
  char text[32];
  std::snprintf(text, sizeof(text), "%llu", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
  return text;
}

bool send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  DWORD_PTR value = 0;
  const bool ok = SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK, kSendTimeoutMs,
                                      &value) != 0;
  if (result != nullptr) *result = static_cast<LRESULT>(value);
  return ok;
}

std::string windowText(HWND window) {
  LRESULT length = 0;
  if (!send(window, WM_GETTEXTLENGTH, 0, 0, &length) || length <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
  LRESULT copied = 0;
  if (!send(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), &copied)) return {};
  return utf8(buffer.data(), static_cast<int>(copied));
}

std::string className(HWND window) {
  wchar_t name[128] = {};
  GetClassNameW(window, name, 128);
  return utf8(name);
}

std::string rectJson(const RECT& rect) {
  char text[96];
  std::snprintf(text, sizeof(text), "{\"x\": %ld, \"y\": %ld, \"width\": %ld, \"height\": %ld}", rect.left, rect.top,
                rect.right - rect.left, rect.bottom - rect.top);
  return text;
}

std::string windowJson(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  std::string out = "{\"hwnd\": " + handleText(window) + ", \"id\": " + std::to_string(GetDlgCtrlID(window)) +
                    ", \"class\": " + jsonString(className(window)) + ", \"text\": " + jsonString(windowText(window)) +
                    ", \"visible\": " + (IsWindowVisible(window) ? "true" : "false") +
                    ", \"enabled\": " + (IsWindowEnabled(window) ? "true" : "false") + ", \"rect\": " + rectJson(rect);
  return out;
}

std::string comboItem(HWND combo, int index) {
  LRESULT length = 0;
  if (!send(combo, CB_GETLBTEXTLEN, index, 0, &length) || length < 0) return {};
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
  LRESULT copied = 0;
  if (!send(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer.data()), &copied) || copied < 0) return {};
  return utf8(buffer.data(), static_cast<int>(copied));
}

std::string comboJson(HWND combo) {
  LRESULT count = 0, selection = -1, dropped = 0;
  send(combo, CB_GETCOUNT, 0, 0, &count);
  send(combo, CB_GETCURSEL, 0, 0, &selection);
  send(combo, CB_GETDROPPEDSTATE, 0, 0, &dropped);
  return windowJson(combo) + ", \"count\": " + std::to_string(count) + ", \"selection\": " + std::to_string(selection) +
         ", \"dropped\": " + (dropped ? "true" : "false") + "}";
}

std::string itemsJson(HWND combo) {
  LRESULT count = 0;
  send(combo, CB_GETCOUNT, 0, 0, &count);
  std::string out = "[";
  for (int i = 0; i < count; ++i) {
    LRESULT data = 0;
    send(combo, CB_GETITEMDATA, i, 0, &data);
    if (i > 0) out += ", ";
    out += "{\"text\": " + jsonString(comboItem(combo, i)) + ", \"data\": " + std::to_string(data) + "}";
  }
  return out + "]";
}

struct DialogSearch {
  DWORD process;
  HWND mainWindow;
  std::vector<HWND> found;
};

BOOL CALLBACK collectTopLevel(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<DialogSearch*>(parameter);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == search->process && window != search->mainWindow && className(window) != "IME") search->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK collectChild(HWND window, LPARAM parameter) {
  reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
  return TRUE;
}

std::string dialogsJson(HWND mainWindow) {
  DialogSearch search{0, mainWindow, {}};
  GetWindowThreadProcessId(mainWindow, &search.process);
  EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&search));
  std::string out = "[";
  bool first = true;
  for (HWND window : search.found) {
    if (!first) out += ", ";
    first = false;
    std::vector<HWND> children;
    EnumChildWindows(window, collectChild, reinterpret_cast<LPARAM>(&children));
    out += windowJson(window) + ", \"owner\": " + handleText(GetWindow(window, GW_OWNER)) + ", \"children\": [";
    for (size_t i = 0; i < children.size(); ++i)
      out += (i ? ", " : "") + (className(children[i]) == "ComboBox" ? comboJson(children[i]) : windowJson(children[i]) + "}");
    out += "]}";
  }
  return out + "]";
}

std::string stateJson(HWND mainWindow) {
  RECT client{};
  GetClientRect(mainWindow, &client);
  std::string out = "{\"window\": " + windowJson(mainWindow) + ", \"client\": " + rectJson(client) +
                    ", \"iconic\": " + (IsIconic(mainWindow) ? "true" : "false") + "}, \"combos\": {";
  for (size_t i = 0; i < std::size(kComboIds); ++i) {
    HWND combo = GetDlgItem(mainWindow, kComboIds[i]);
    out += (i ? ", " : "") + jsonString(std::to_string(kComboIds[i])) + ": " + (combo ? comboJson(combo) : "null");
  }
  HWND focus = nullptr;
  DWORD thread = GetWindowThreadProcessId(mainWindow, nullptr);
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (GetGUIThreadInfo(thread, &info)) focus = info.hwndFocus;
  return out + "}, \"focus\": " + handleText(focus) + ", \"dialogs\": " + dialogsJson(mainWindow) + "}";
}

HWND parseWindow(const wchar_t* text, HWND mainWindow) {
  const unsigned long long value = std::wcstoull(text, nullptr, 10);
  if (value < 0x10000 && mainWindow != nullptr) return GetDlgItem(mainWindow, static_cast<int>(value));
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(value));
}

// Counted from outside, so the counting itself adds nothing to the program. Wine answers
// GetProcessHandleCount and GetGuiResources with 0, so the handles come from the system's
// handle list and the GDI objects from the program's own GDI handle table (its PEB points to it).
struct SystemHandle {
  ULONG ownerProcess;
  BYTE objectType;
  BYTE flags;
  USHORT value;
  PVOID object;
  ULONG access;
};
struct GdiHandleEntry {
  UINT64 object;
  ULONG owner;
  USHORT unique;
  UCHAR type;  // 0: a free entry
  UCHAR flags;
  UINT64 userPointer;
};
constexpr ULONG kSystemHandleInformation = 16;
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
constexpr size_t kGdiHandleCount = 0x10000;
constexpr size_t kPebGdiHandleTable = sizeof(void*) == 8 ? 0xF8 : 0x94;
constexpr USHORT kStockObject = 0x80;  // in the entry's unique field

template <typename Function>
Function ntdllFunction(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

long long openHandles(DWORD processId) {
  using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
  const auto query = ntdllFunction<Query>("NtQuerySystemInformation");
  if (query == nullptr) return -1;
  std::vector<BYTE> buffer(1 << 16);
  LONG status;
  ULONG needed = 0;
  while ((status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed)) ==
         kInfoLengthMismatch)
    buffer.resize(std::max<size_t>(buffer.size() * 2, needed));
  if (status < 0) return -1;
  const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
  const auto* handles = reinterpret_cast<const SystemHandle*>(buffer.data() + sizeof(void*));
  long long owned = 0;
  for (ULONG i = 0; i < count; ++i) owned += handles[i].ownerProcess == processId ? 1 : 0;
  return owned;
}

std::string gdiTypeName(UCHAR type) {
  switch (type) {
    case 0x01: return "dc";
    case 0x04: return "region";
    case 0x05: return "surface";
    case 0x08: return "palette";
    case 0x09: return "bitmap";
    case 0x0a: return "font";
    case 0x10: return "brush";
    case 0x30: return "pen";
    case 0x50: return "extpen";
    default: {
      char name[16];
      std::snprintf(name, sizeof(name), "type%#x", type);
      return name;
    }
  }
}

// The program's GDI objects, stock objects left out: the total and a count per kind as JSON members.
bool gdiObjects(HANDLE process, long long* total, std::string* kinds) {
  struct {
    LONG_PTR exitStatus;
    PVOID peb;
    ULONG_PTR affinity, priority, processId, parent;
  } basic{};
  using Query = LONG(WINAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
  const auto query = ntdllFunction<Query>("NtQueryInformationProcess");
  if (query == nullptr || query(process, 0, &basic, sizeof(basic), nullptr) < 0) return false;
  PVOID table = nullptr;
  if (!ReadProcessMemory(process, static_cast<BYTE*>(basic.peb) + kPebGdiHandleTable, &table, sizeof(table), nullptr) ||
      table == nullptr)
    return false;
  std::vector<GdiHandleEntry> entries(kGdiHandleCount);
  if (!ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof(GdiHandleEntry), nullptr)) return false;
  std::vector<std::pair<std::string, long long>> counts;
  *total = 0;
  for (const GdiHandleEntry& entry : entries) {
    if (entry.type == 0 || (entry.unique & kStockObject) != 0) continue;
    ++*total;
    const std::string name = gdiTypeName(entry.type);
    auto it = std::find_if(counts.begin(), counts.end(), [&](const auto& c) { return c.first == name; });
    if (it == counts.end()) counts.emplace_back(name, 1);
    else ++it->second;
  }
  kinds->clear();
  for (const auto& [name, count] : counts) *kinds += ", " + jsonString(name) + ": " + std::to_string(count);
  return true;
}

std::string resourcesJson(HWND mainWindow) {
  DWORD processId = 0;
  GetWindowThreadProcessId(mainWindow, &processId);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  if (process == nullptr) return {};
  long long gdi = 0;
  std::string kinds;
  const bool counted = gdiObjects(process, &gdi, &kinds);
  CloseHandle(process);
  const long long handles = openHandles(processId);
  if (handles < 0 || !counted) return {};
  return "{\"pid\": " + std::to_string(processId) + ", \"handles\": " + std::to_string(handles) +
         ", \"gdi\": " + std::to_string(gdi) + ", \"gdiKinds\": {" + kinds.substr(kinds.empty() ? 0 : 2) + "}}";
}

int fail(const char* why) {
  std::printf("{\"error\": %s}\n", jsonString(why).c_str());
  return 1;
}

// A crash of the driver itself says so on its output instead of leaving it empty (the C runtime's
// buffer would be lost with the process).
constexpr int kCrashedExitCode = 3;
constexpr char kStartedMark[] = "qvdriver: started\n";
LONG WINAPI onCrash(EXCEPTION_POINTERS* info) {
  std::printf("{\"error\": \"qvdriver crashed: exception 0x%08lX at %p\"}\n",
              static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode), info->ExceptionRecord->ExceptionAddress);
  std::fflush(stdout);
  TerminateProcess(GetCurrentProcess(), kCrashedExitCode);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int main() {
  // Tells the harness that Wine got as far as our code: a run that ends silently before this line
  // never acted, so it may be tried again whatever it was asked (stderr is unbuffered).
  std::fputs(kStartedMark, stderr);
  SetUnhandledExceptionFilter(onCrash);
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc < 2) return fail("usage: qvdriver state|items|select|settext|close|click|key|resources ...");
  const std::wstring command = argv[1];
  HWND mainWindow = FindWindowW(L"108", nullptr);
  if (mainWindow == nullptr && !(command == L"close" && argc > 2)) {
    std::printf("{\"error\": \"no window of class 108\"}\n");
    return 2;
  }
  if (command == L"state") {
    std::printf("%s\n", stateJson(mainWindow).c_str());
  } else if (command == L"items" && argc > 2) {
    HWND combo = parseWindow(argv[2], mainWindow);
    if (combo == nullptr) return fail("no such control");
    std::printf("%s\n", itemsJson(combo).c_str());
  } else if (command == L"select" && argc > 3) {
    HWND combo = parseWindow(argv[2], mainWindow);
    if (combo == nullptr) return fail("no such control");
    LRESULT result = 0;
    send(combo, CB_SETCURSEL, std::wcstol(argv[3], nullptr, 10), 0, &result);
    const std::wstring notification = argc > 4 ? argv[4] : L"";
    if (notification == L"notify" || notification == L"change")
      PostMessageW(GetParent(combo), WM_COMMAND,
                   MAKEWPARAM(GetDlgCtrlID(combo), notification == L"notify" ? CBN_CLOSEUP : CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(combo));
    std::printf("{\"result\": %lld}\n", static_cast<long long>(result));
  } else if (command == L"settext" && argc > 3) {
    HWND window = parseWindow(argv[2], mainWindow);
    if (window == nullptr) return fail("no such window");
    LRESULT result = 0;
    send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3]), &result);
    std::printf("{\"result\": %lld}\n", static_cast<long long>(result));
  } else if (command == L"close") {
    HWND window = argc > 2 ? parseWindow(argv[2], nullptr) : mainWindow;
    if (!PostMessageW(window, WM_CLOSE, 0, 0)) return fail("WM_CLOSE not posted");
    std::printf("{\"result\": 0}\n");
  } else if (command == L"click" && argc > 2) {
    if (!PostMessageW(parseWindow(argv[2], mainWindow), BM_CLICK, 0, 0)) return fail("BM_CLICK not posted");
    std::printf("{\"result\": 0}\n");
  } else if (command == L"key" && argc > 3) {
    HWND window = parseWindow(argv[2], mainWindow);
    const WPARAM key = std::wcstoul(argv[3], nullptr, 10);
    if (!PostMessageW(window, WM_KEYDOWN, key, 1) || !PostMessageW(window, WM_KEYUP, key, 0xC0000001))
      return fail("key not posted");
    std::printf("{\"result\": 0}\n");
  } else if (command == L"resources") {
    const std::string counts = resourcesJson(mainWindow);
    if (counts.empty()) return fail("cannot count the program's handles");
    std::printf("%s\n", counts.c_str());
  } else {
    return fail("unknown command");
  }
  return 0;
}
