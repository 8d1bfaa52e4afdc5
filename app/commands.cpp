#include "app/commands.h"

int32_t nextLanguageIndex(int32_t index) {
  const int32_t next = static_cast<int32_t>(static_cast<uint32_t>(index) + 1u);  // no overflow on damaged input
  return next == kLanguageCount ? 0 : next;
}
