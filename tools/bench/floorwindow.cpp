// The floor of the start-up benchmark (barewindow.cpp built with QV_FLOOR_WINDOW): the bare window plus what any start-up to the skinned window
// must do first, decoding the skin JPEG from the resources (OleLoadPicture over a stream on a copy
// of them in memory) into device-independent pixels.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <vector>

#include "resources/resource_ids.h"

// The skin's pixels, 24 bits a pixel; empty when any step fails.
std::vector<BYTE> decodeSkin(HINSTANCE instance) {
  std::vector<BYTE> pixels;
  HRSRC resource = FindResourceA(instance, SKIN_PICTURE_RESOURCE, MAKEINTRESOURCEA(10));
  HGLOBAL loaded = resource != nullptr ? LoadResource(instance, resource) : nullptr;
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  const DWORD size = resource != nullptr ? SizeofResource(instance, resource) : 0;
  if (bytes == nullptr || size == 0) return pixels;
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
  void* target = copy != nullptr ? GlobalLock(copy) : nullptr;
  if (target == nullptr) return pixels;
  CopyMemory(target, bytes, size);
  GlobalUnlock(copy);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(copy, TRUE, &stream))) return pixels;
  IPicture* picture = nullptr;
  const HRESULT result = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                        reinterpret_cast<void**>(&picture));
  stream->Release();
  if (FAILED(result) || picture == nullptr) return pixels;
  OLE_HANDLE handle = 0;
  if (SUCCEEDED(picture->get_Handle(&handle)) && handle != 0) {
    HBITMAP bitmap = reinterpret_cast<HBITMAP>(static_cast<LONG_PTR>(static_cast<LONG>(handle)));
    BITMAP shape{};
    GetObjectA(bitmap, sizeof(shape), &shape);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = shape.bmWidth;
    info.bmiHeader.biHeight = shape.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    pixels.resize(static_cast<size_t>((shape.bmWidth * 3 + 3) & ~3) * shape.bmHeight);
    HDC screen = GetDC(nullptr);
    if (GetDIBits(screen, bitmap, 0, shape.bmHeight, pixels.data(), &info, DIB_RGB_COLORS) == 0) pixels.clear();
    ReleaseDC(nullptr, screen);
  }
  picture->Release();
  return pixels;
}
