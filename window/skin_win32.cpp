// The skin picture: decoded once at start-up from the resources, copied from by every drawer.
#include "window/skin_win32.h"

#include <ole2.h>
#include <olectl.h>

#include <cstdlib>
#include <string>

#include "core/globals_win32.h"
#include "core/program_folder_win32.h"
#include "resources/resource_ids.h"
#include "window/skin_picture.h"

namespace {

constexpr const char* kSkinResource = SKIN_PICTURE_RESOURCE;
constexpr const char* kTemporaryFile = "qvnth2099.dat";
constexpr int kPathChars = 512;

// Room for the largest colour table, so GetDIBits may write masks or a palette after the header.
struct SkinHeader {
  BITMAPINFOHEADER header;
  RGBQUAD colours[256];
};
SkinHeader skinHeader;

// The temporary file beside the program, by its full path: OLE picture loading wants one, and the
// loader thread then leaves the process's current directory to the main thread.
bool temporaryFilePath(std::string* path) {
  char folder[kPathChars];
  if (!programFolder(folder, kPathChars)) return false;
  *path = std::string(folder) + '\\' + kTemporaryFile;
  return true;
}

bool writeTemporaryFile(const std::string& path, const void* bytes, DWORD size) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes, size, &written, nullptr);
  CloseHandle(file);
  return ok && written == size;
}

// Copies the picture's bitmap into skin.header / skin.pixels at the depth it reports.
bool copyBitmapPixels(HBITMAP bitmap) {
  HDC dc = shell.backBuffer != nullptr ? shell.backBuffer : shell.windowDC;
  ZeroMemory(&skinHeader, sizeof(skinHeader));
  skinHeader.header.biSize = sizeof(BITMAPINFOHEADER);
  BITMAPINFO* info = reinterpret_cast<BITMAPINFO*>(&skinHeader);
  if (GetDIBits(dc, bitmap, 0, kSkinHeight, nullptr, info, DIB_RGB_COLORS) == 0) return false;
  // Bottom-up rows, so that the source row of a block is height - top - h.
  if (skinHeader.header.biHeight < 0) skinHeader.header.biHeight = -skinHeader.header.biHeight;
  const size_t bytes =
      dibPixelBytes(skinHeader.header.biWidth, skinHeader.header.biHeight, skinHeader.header.biBitCount);
  if (bytes == 0) return false;
  uint8_t* pixels = static_cast<uint8_t*>(std::malloc(bytes));
  if (pixels == nullptr) return false;
  const UINT lines = static_cast<UINT>(skinHeader.header.biHeight);
  if (GetDIBits(dc, bitmap, 0, lines, pixels, info, DIB_RGB_COLORS) == 0) {
    std::free(pixels);
    return false;
  }
  skin.header = info;
  skin.pixels = pixels;
  return true;
}

}  // namespace

bool loadSkinPicture() {
  HRSRC resource = FindResourceA(shell.instance, kSkinResource, MAKEINTRESOURCEA(10));
  if (resource == nullptr) return false;
  HGLOBAL loaded = LoadResource(shell.instance, resource);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  const DWORD size = SizeofResource(shell.instance, resource);
  if (bytes == nullptr || size == 0) return false;
  std::string path;
  if (!temporaryFilePath(&path)) return false;
  if (!writeTemporaryFile(path, bytes, size)) {
    DeleteFileA(path.c_str());
    return false;
  }
  WCHAR widePath[kPathChars];
  // Too long for the buffer: an empty path, which the picture load then refuses.
  if (MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, kPathChars) == 0) widePath[0] = L'\0';
  IPicture* picture = nullptr;
  const HRESULT loadResult =
      OleLoadPicturePath(widePath, nullptr, 0, 0, IID_IPicture, reinterpret_cast<void**>(&picture));
  DeleteFileA(path.c_str());  // also on failure: no stray copy of the skin is left beside the program
  if (FAILED(loadResult) || picture == nullptr) return false;
  OLE_HANDLE handle = 0;
  bool copied = false;
  if (SUCCEEDED(picture->get_Handle(&handle)) && handle != 0) {
    // The OLE handle is 32 bits wide even on Win64.
    copied = copyBitmapPixels(reinterpret_cast<HBITMAP>(static_cast<LONG_PTR>(static_cast<LONG>(handle))));
  }
  picture->Release();
  return copied;
}

namespace {

HANDLE skinLoader = nullptr;

DWORD WINAPI skinLoaderThread(void*) {
  CoInitialize(nullptr);  // OLE picture loading wants COM on the thread that calls it
  loadSkinPicture();
  CoUninitialize();
  return 0;
}

}  // namespace

void beginSkinPictureLoad() {
  skinLoader = CreateThread(nullptr, 0, skinLoaderThread, nullptr, 0, nullptr);
  if (skinLoader == nullptr) loadSkinPicture();
}

void finishSkinPictureLoad() {
  if (skinLoader == nullptr) return;
  // Messages sent from other threads are let through while waiting, so that the loader can never
  // end up waiting on this thread in turn.
  while (MsgWaitForMultipleObjects(1, &skinLoader, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  CloseHandle(skinLoader);
  skinLoader = nullptr;
}

void freeSkinPixels() {
  if (skin.pixels == nullptr) return;
  std::free(skin.pixels);
  skin.pixels = nullptr;
  skin.header = nullptr;
}

void drawSkinPart(HDC dc, int x, int y, int w, int h, int dx, int dy) {
  if (skin.pixels == nullptr || skin.header == nullptr) return;
  const int sourceY = bottomUpSourceY(skin.header->bmiHeader.biHeight, y, h);
  StretchDIBits(dc, dx, dy, w, h, x, sourceY, w, h, skin.pixels, skin.header, DIB_RGB_COLORS, SRCCOPY);
}
