// Main-window decisions that need no Windows: the language cycle and the add/remove halves.
#pragma once
#include <cstdint>

#include "window/layout.h"

constexpr int kLanguageCount = 8;

// +1, wrapping 7 to 0. A damaged index of 8 or more keeps counting (and paints no name).
int32_t nextLanguageIndex(int32_t index);
inline bool isAddHalf(int y) { return y < kAddRemoveBorderY; }
