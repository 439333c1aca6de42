#include "archive/percentage.h"

namespace setuvane::archive {

uint8_t Percentage(int64_t done, int64_t total) {
  if (total > 16384000) {
    done = (done + 128) >> 8;
    total = (total + 128) >> 8;
  }
  if (total <= 0) return 0;
  if (done >= total) return 100;
  return static_cast<uint8_t>(done * 100 / total);
}

}  // namespace setuvane::archive
