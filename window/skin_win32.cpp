// The skin picture: decoded once at start-up from the resources, copied from by every drawer.
#include "window/skin_win32.h"

#include <ole2.h>
#include <olectl.h>

#include <cstdlib>

#include "core/globals_win32.h"
#include "resources/resource_ids.h"
#include "window/skin_picture.h"

namespace {

constexpr const char* kSkinResource = SKIN_PICTURE_RESOURCE;

// Room for the largest colour table, so GetDIBits may write masks or a palette after the header.
struct SkinHeader {
  BITMAPINFOHEADER header;
  RGBQUAD colours[256];
};
SkinHeader skinHeader;

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

// Decodes the picture from a copy of the resource in memory, so that start-up writes no file: a
// shared temporary file beside the program broke when two instances started together, and in a
// read-only folder. The stream owns the copy and frees it with its last reference.
IPicture* decodePicture(const void* bytes, DWORD size) {
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
  void* target = copy != nullptr ? GlobalLock(copy) : nullptr;
  if (target == nullptr) {
    if (copy != nullptr) GlobalFree(copy);
    return nullptr;
  }
  CopyMemory(target, bytes, size);
  GlobalUnlock(copy);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(copy, TRUE, &stream))) {
    GlobalFree(copy);
    return nullptr;
  }
  IPicture* picture = nullptr;
  const HRESULT loaded =
      OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture, reinterpret_cast<void**>(&picture));
  stream->Release();  // the picture keeps what it needs of the stream
  return SUCCEEDED(loaded) ? picture : nullptr;
}

}  // namespace

bool loadSkinPicture() {
  HRSRC resource = FindResourceA(shell.instance, kSkinResource, MAKEINTRESOURCEA(10));
  if (resource == nullptr) return false;
  HGLOBAL loaded = LoadResource(shell.instance, resource);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  const DWORD size = SizeofResource(shell.instance, resource);
  if (bytes == nullptr || size == 0) return false;
  IPicture* picture = decodePicture(bytes, size);
  if (picture == nullptr) return false;
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
