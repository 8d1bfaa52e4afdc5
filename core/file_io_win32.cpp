#include "core/file_io_win32.h"

#include <windows.h>

namespace {

class Win32File final : public WritableFile {
 public:
  explicit Win32File(HANDLE handle) : handle_(handle) {}
  ~Win32File() override { close(); }
  bool append(const void* data, size_t size) override {
    if (handle_ == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    if (size == 0) return true;
    return WriteFile(handle_, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
  }
  bool close() override {
    if (handle_ == INVALID_HANDLE_VALUE) return true;
    const bool flushed = FlushFileBuffers(handle_) != 0;
    const bool closed = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return flushed && closed;
  }

 private:
  HANDLE handle_;
};

// Windows refuses to write or replace a read-only file; Wine run by root goes ahead, so ask first.
bool isReadOnly(const std::string& name) {
  const DWORD attributes = GetFileAttributesA(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY)) return false;
  SetLastError(ERROR_ACCESS_DENIED);
  return true;
}

class Win32FileSystem final : public FileSystem {
 public:
  std::unique_ptr<WritableFile> createFile(const std::string& name) override {
    if (isReadOnly(name)) return nullptr;
    HANDLE handle = CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32File>(handle);
  }
  bool renameReplacing(const std::string& from, const std::string& to) override {
    if (isReadOnly(to)) return false;
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }
  bool removeFile(const std::string& name) override { return DeleteFileA(name.c_str()) != 0; }
  bool readFile(const std::string& name, std::string* contents) override {
    // Others may read and write it meanwhile: a transponder file an editor holds open is still listed.
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

FileSystem& systemFileSystem() {
  static Win32FileSystem fileSystem;
  return fileSystem;
}
