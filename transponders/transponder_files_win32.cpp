#include "transponders/transponder_files_win32.h"

namespace {

class TransponderFileSystem final : public FileSystem {
 public:
  std::unique_ptr<WritableFile> createFile(const std::string& name) override {
    return systemFileSystem().createFile(name);
  }
  bool renameReplacing(const std::string& from, const std::string& to) override {
    return systemFileSystem().renameReplacing(from, to);  // it leaves a read-only file alone
  }
  bool removeFile(const std::string& name) override { return systemFileSystem().removeFile(name); }
  bool readFile(const std::string& name, std::string* contents) override {
    HANDLE handle = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    const DWORD size = GetFileSize(handle, nullptr);
    bool ok = size != INVALID_FILE_SIZE;
    if (ok) {
      contents->assign(size, '\0');
      DWORD read = 0;
      ok = size == 0 || (ReadFile(handle, contents->data(), size, &read, nullptr) && read == size);
    }
    CloseHandle(handle);
    return ok;
  }
};

}  // namespace

FileSystem& transponderReader() {
  static TransponderFileSystem fileSystem;
  return fileSystem;
}

std::string windowText(HWND window) {
  const LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
  if (length < 1) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const LRESULT fetched = SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(fetched > 0 ? static_cast<size_t>(fetched) : 0);
  return text;
}
