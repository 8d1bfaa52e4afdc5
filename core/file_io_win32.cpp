#include "core/file_io_win32.h"

#include <windows.h>

#include <algorithm>
#include <exception>

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

class Win32ReadFile final : public ReadableFile {
 public:
  explicit Win32ReadFile(HANDLE handle) : handle_(handle) {}
  ~Win32ReadFile() override { CloseHandle(handle_); }
  bool read(void* data, size_t size, size_t* got) override {
    DWORD read = 0;
    const bool ok = ReadFile(handle_, data, static_cast<DWORD>(std::min<size_t>(size, MAXDWORD)), &read, nullptr);
    *got = ok ? read : 0;
    return ok;
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
    // Not shared: a second writer of the same file (another instance adding at the same moment)
    // then fails instead of truncating it and writing over the first one's bytes.
    HANDLE handle = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32File>(handle);
  }
  bool renameReplacing(const std::string& from, const std::string& to) override {
    if (isReadOnly(to)) return false;
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }
  bool removeFile(const std::string& name) override { return DeleteFileA(name.c_str()) != 0; }
  bool readFile(const std::string& name, std::string* contents) override {
    HANDLE handle = openShared(name);
    if (handle == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(handle, &size) && readableWhole(static_cast<uint64_t>(size.QuadPart), contents->max_size());
    if (ok) {
      try {
        contents->assign(static_cast<size_t>(size.QuadPart), '\0');
      } catch (const std::exception&) {  // bad_alloc, or length_error where size_t is 32 bits
        ok = false;
      }
    }
    if (ok && size.QuadPart > 0) {
      DWORD read = 0;
      ok = ReadFile(handle, contents->data(), static_cast<DWORD>(size.QuadPart), &read, nullptr) &&
           read == size.QuadPart;
    }
    CloseHandle(handle);
    return ok;
  }
  std::unique_ptr<ReadableFile> openForReading(const std::string& name) override {
    HANDLE handle = openShared(name);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32ReadFile>(handle);
  }

 private:
  // Others may read and write it meanwhile: a transponder file an editor holds open is still listed.
  static HANDLE openShared(const std::string& name) {
    return CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  }
};

}  // namespace

FileSystem& systemFileSystem() {
  static Win32FileSystem fileSystem;
  return fileSystem;
}
