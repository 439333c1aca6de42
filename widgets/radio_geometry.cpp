// A 10 x 10 circle 3 pixels below the client top, a 4 x 4 dot inside it, and the
// text beside the circle with 16 pixels left for it.
#include "widgets/radio_geometry.h"

namespace setuvane {

RectI RadioCircle(const RectI& r, TRadioLayout layout) {
  if (layout == radioRight) return {r.right - 11, r.top + 3, r.right - 1, r.top + 13};
  return {r.left + 1, r.top + 3, r.left + 11, r.top + 13};
}

RectI RadioDot(const RectI& circle) {
  return {circle.left + 3, circle.top + 3, circle.left + 7, circle.top + 7};
}

RectI RadioText(const RectI& r, TRadioLayout layout) {
  if (layout == radioRight) return {r.left + 1, r.top + 1, r.right - 16, r.bottom - 1};
  return {r.left + 16, r.top + 1, r.right - 1, r.bottom - 1};
}

}  // namespace setuvane
