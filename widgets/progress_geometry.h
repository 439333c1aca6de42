// Geometry of the flat progress bar: the snapped length of a block bar, the blocks
// that a position shows and the smooth bar's filled rectangle. Portable.
#pragma once

#include <vector>

#include "widgets/geometry.h"

namespace setuvane {

enum TProgressOrientation { pbHorizontal, pbVertical };

inline constexpr int kProgressBlockLength = 8;

// Length along the bar that whole blocks fill: at least 12, else 3 + k * (B + 1).
int SnapBlockBarLength(int length);

// Number of blocks that fit into a (snapped) length.
int BlockCapacity(int length);

// Number of blocks shown for `position` (a percentage, not clamped by the setter).
int BlocksShown(int position, int capacity);

// The block rectangles for a client rectangle, first block nearest the start.
std::vector<RectI> ProgressBlocks(const RectI& client, TProgressOrientation orientation,
                                  int position);

// The filled rectangle of a smooth bar; empty (right <= left or bottom <= top) at 0.
RectI SmoothFill(const RectI& client, TProgressOrientation orientation, int position);

}  // namespace setuvane
