// Geometry of the flat radio button: its circle, check dot and text rectangle.
#pragma once

#include "widgets/geometry.h"

namespace setuvane {

enum TRadioLayout { radioLeft, radioRight };

RectI RadioCircle(const RectI& client, TRadioLayout layout);
RectI RadioDot(const RectI& circle);
RectI RadioText(const RectI& client, TRadioLayout layout);

}  // namespace setuvane
