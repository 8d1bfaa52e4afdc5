#include "core/crash_report_win32.h"

#include <windows.h>
#include <dbghelp.h>

#include "core/crash_report.h"
#include "core/program_folder_win32.h"
#include "resources/version.h"

namespace {

// dbghelp is loaded only when a crash needs it.
struct DebugHelp {
  decltype(&SymInitialize) initialize = nullptr;
  decltype(&SymSetOptions) setOptions = nullptr;
  decltype(&StackWalk64) stackWalk = nullptr;
  decltype(&SymFunctionTableAccess64) functionTable = nullptr;
  decltype(&SymGetModuleBase64) moduleBase = nullptr;
  decltype(&MiniDumpWriteDump) writeDump = nullptr;
};

template <typename Function>
void take(HMODULE module, const char* name, Function* function) {
  *function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

DebugHelp loadDebugHelp() {
  DebugHelp help;
  HMODULE module = LoadLibraryA("dbghelp.dll");
  if (module == nullptr) return help;
  take(module, "SymInitialize", &help.initialize);
  take(module, "SymSetOptions", &help.setOptions);
  take(module, "StackWalk64", &help.stackWalk);
  take(module, "SymFunctionTableAccess64", &help.functionTable);
  take(module, "SymGetModuleBase64", &help.moduleBase);
  take(module, "MiniDumpWriteDump", &help.writeDump);
  return help;
}

void describe(uint64_t address, CrashFrame* frame) {
  frame->address = address;
  HMODULE module = nullptr;
  char path[MAX_PATH];
  if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(address)), &module) &&
      GetModuleFileNameA(module, path, sizeof(path)) > 0)
    setFrameModule(frame, path, reinterpret_cast<uintptr_t>(module));
}

void walkStack(const DebugHelp& help, const CONTEXT& crashed, CrashFacts* facts) {
  if (help.initialize == nullptr || help.stackWalk == nullptr || help.functionTable == nullptr ||
      help.moduleBase == nullptr)
    return;
  HANDLE process = GetCurrentProcess();
  if (help.setOptions != nullptr) help.setOptions(SYMOPT_DEFERRED_LOADS | SYMOPT_FAIL_CRITICAL_ERRORS);
  if (!help.initialize(process, nullptr, TRUE)) return;
  CONTEXT context = crashed;  // the walk changes it
  STACKFRAME64 frame{};
#if defined(__x86_64__)
  const DWORD machine = IMAGE_FILE_MACHINE_AMD64;
  frame.AddrPC.Offset = context.Rip;
  frame.AddrFrame.Offset = context.Rbp;
  frame.AddrStack.Offset = context.Rsp;
#else
  const DWORD machine = IMAGE_FILE_MACHINE_I386;
  frame.AddrPC.Offset = context.Eip;
  frame.AddrFrame.Offset = context.Ebp;
  frame.AddrStack.Offset = context.Esp;
#endif
  frame.AddrPC.Mode = frame.AddrFrame.Mode = frame.AddrStack.Mode = AddrModeFlat;
  while (facts->frameCount < kMaxCrashFrames &&
         help.stackWalk(machine, process, GetCurrentThread(), &frame, &context, nullptr, help.functionTable,
                        help.moduleBase, nullptr) &&
         frame.AddrPC.Offset != 0)
    describe(frame.AddrPC.Offset, &facts->frames[facts->frameCount++]);
}

HANDLE createBesideProgram(const char* name) {
  char path[MAX_PATH];
  if (!programFolder(path, sizeof(path)) || lstrlenA(path) + 1 + lstrlenA(name) >= MAX_PATH) return INVALID_HANDLE_VALUE;
  lstrcatA(path, "\\");
  lstrcatA(path, name);
  return CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

void writeReport(const CrashFacts& facts) {
  static char text[kCrashReportSize];  // no heap: it may be what broke
  formatCrashReport(facts, text, sizeof(text));
  HANDLE file = createBesideProgram(kCrashReportName);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text, static_cast<DWORD>(lstrlenA(text)), &written, nullptr);
  CloseHandle(file);
}

void writeDump(const DebugHelp& help, EXCEPTION_POINTERS* info) {
  if (help.writeDump == nullptr) return;
  HANDLE file = createBesideProgram(kCrashDumpName);
  if (file == INVALID_HANDLE_VALUE) return;
  MINIDUMP_EXCEPTION_INFORMATION exception{GetCurrentThreadId(), info, FALSE};
  help.writeDump(GetCurrentProcess(), GetCurrentProcessId(), file, MiniDumpNormal, &exception, nullptr, nullptr);
  CloseHandle(file);
}

LONG crashingThread = 0;

LONG WINAPI onUnhandledException(EXCEPTION_POINTERS* info) {
  const LONG self = static_cast<LONG>(GetCurrentThreadId());
  const LONG first = InterlockedCompareExchange(&crashingThread, self, 0);
  if (first == self) TerminateProcess(GetCurrentProcess(), info->ExceptionRecord->ExceptionCode);  // the report crashed
  if (first != 0) Sleep(INFINITE);  // another thread is writing its report and will end the process
  static CrashFacts facts;
  SYSTEMTIME now;
  GetSystemTime(&now);
  facts.time = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
  facts.version = QV_VERSION_TEXT;
  facts.pointerBits = static_cast<int>(sizeof(void*) * 8);
  facts.code = info->ExceptionRecord->ExceptionCode;
  facts.threadId = GetCurrentThreadId();
  describe(reinterpret_cast<uintptr_t>(info->ExceptionRecord->ExceptionAddress), &facts.where);
  const DebugHelp help = loadDebugHelp();
  walkStack(help, *info->ContextRecord, &facts);
  writeReport(facts);
  writeDump(help, info);
  TerminateProcess(GetCurrentProcess(), facts.code);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

void installCrashReport() { SetUnhandledExceptionFilter(onUnhandledException); }
