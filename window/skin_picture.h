// Sizes of the skin picture's pixel buffer, decided without Windows.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int kSkinWidth = 768;
constexpr int kSkinHeight = 512;

// Bytes of one row of a device-independent bitmap: rows are padded to 4 bytes.
size_t dibStride(int width, int bitCount);
// Bytes for all rows at the depth the bitmap reports; 0 for a size or depth we cannot hold
// (the caller then treats the picture as missing).
size_t dibPixelBytes(int width, int height, int bitCount);
// Source row for StretchDIBits of the block (y, h) from a bottom-up picture of the given height.
int bottomUpSourceY(int pictureHeight, int y, int h);
