// Plain points, sizes and rectangles for the portable layout code (the Win32 side
// converts them to POINT and RECT).
#pragma once

namespace setuvane {

struct PointI {
  int x = 0;
  int y = 0;
  friend bool operator==(const PointI&, const PointI&) = default;
};

struct SizeI {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const SizeI&, const SizeI&) = default;
};

struct RectI {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  RectI Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  friend bool operator==(const RectI&, const RectI&) = default;
};

}  // namespace setuvane
