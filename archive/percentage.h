// The whole percent of `done` out of `total` that every progress event reports.
#pragma once

#include <cstdint>

namespace setuvane::archive {

// Large totals are first scaled down by 256 (rounded), which keeps done × 100 within
// 32 bits; a total of 0 or less gives 0, done at or beyond total gives 100.
uint8_t Percentage(int64_t done, int64_t total);

}  // namespace setuvane::archive
