#include "window/skin_picture.h"

namespace {
// Larger than any skin we ship by far; keeps a damaged header from asking for gigabytes.
constexpr int kMaxSide = 16384;
}

size_t dibStride(int width, int bitCount) {
  return ((static_cast<size_t>(width) * static_cast<size_t>(bitCount) + 31) / 32) * 4;
}

size_t dibPixelBytes(int width, int height, int bitCount) {
  switch (bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return 0;
  }
  const long long rows = height < 0 ? -static_cast<long long>(height) : height;
  if (width <= 0 || width > kMaxSide || rows == 0 || rows > kMaxSide) return 0;
  return dibStride(width, bitCount) * static_cast<size_t>(rows);
}

int bottomUpSourceY(int pictureHeight, int y, int h) { return pictureHeight - y - h; }
