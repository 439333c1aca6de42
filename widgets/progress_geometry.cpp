// Block bar: blocks of B = 8 pixels with a 1-pixel gap, starting 2 pixels inside
// the border, so a length of 3 + n (B + 1) holds exactly n blocks. Position counts
// in whole blocks of (100 div n) percent each.
#include "widgets/progress_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace setuvane {
namespace {

constexpr int kStep = kProgressBlockLength + 1;

// (length * position) div 100 without overflow, clamped to the int range.
int ScaledShare(int length, int position) {
  const std::int64_t share = static_cast<std::int64_t>(length) * position / 100;
  return static_cast<int>(std::clamp<std::int64_t>(share, INT32_MIN / 2, INT32_MAX / 2));
}

}  // namespace

int SnapBlockBarLength(int length) {
  if (length < 12) return 12;
  return (length - 3) / kStep * kStep + 3;
}

int BlockCapacity(int length) { return std::max(0, (length - 3) / kStep); }

int BlocksShown(int position, int capacity) {
  if (capacity <= 0 || position <= 0) return 0;
  const int perBlock = 100 / capacity;
  // More than 100 blocks would make a block worth 0 percent; count them by share.
  const double blocks = perBlock > 0 ? static_cast<double>(position) / perBlock
                                     : static_cast<double>(position) * capacity / 100;
  return static_cast<int>(std::min<double>(std::nearbyint(blocks), capacity));
}

std::vector<RectI> ProgressBlocks(const RectI& r, TProgressOrientation orientation, int position) {
  const bool horizontal = orientation == pbHorizontal;
  const int capacity = BlockCapacity(horizontal ? r.Width() : r.Height());
  const int count = BlocksShown(position, capacity);
  std::vector<RectI> blocks;
  blocks.reserve(count);
  for (int i = 0; i < count; ++i) {
    if (horizontal) {
      const int left = r.left + 2 + i * kStep;
      blocks.push_back({left, r.top + 2, left + kProgressBlockLength, r.bottom - 2});
    } else {
      const int bottom = r.bottom - 2 - i * kStep;
      blocks.push_back({r.left + 2, bottom - kProgressBlockLength, r.right - 2, bottom});
    }
  }
  return blocks;
}

RectI SmoothFill(const RectI& r, TProgressOrientation orientation, int position) {
  if (orientation == pbHorizontal) {
    return {2, 2, r.left + ScaledShare(r.Width() - 2, position), r.bottom - 2};
  }
  return {2, (r.bottom - 2) - ScaledShare(r.Height() - 4, position), r.right - 2, r.bottom - 2};
}

}  // namespace setuvane
