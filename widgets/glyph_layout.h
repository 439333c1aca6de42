// Where a button puts its glyph and caption: the layout shared by the plain button,
// the flat controls and the toolbar button, and the choice of the glyph image for a
// button state. Portable; the caption is measured by the caller.
#pragma once

#include <optional>

#include "widgets/geometry.h"

namespace setuvane {

enum class ButtonLayout { GlyphLeft, GlyphRight, GlyphTop, GlyphBottom };

// The states of a plain button; the values are those of the glyph table.
enum class ButtonState { Up = 0, Disabled = 1, Down = 2, Exclusive = 3 };

struct GlyphLayoutInput {
  RectI client;          // the rectangle to lay out in
  PointI offset;         // (1, 1) while pressed
  SizeI caption;         // measured single-line caption, (0, 0) when empty
  SizeI glyph;           // one image of the glyph, (0, 0) without a glyph
  ButtonLayout layout = ButtonLayout::GlyphTop;
  int margin = -1;       // -1 centres
  int spacing = 4;       // -1 spreads evenly
};

struct GlyphLayoutResult {
  PointI glyph;   // top-left corner of the glyph
  RectI caption;  // rectangle to draw the caption into
};

GlyphLayoutResult LayoutGlyphAndCaption(const GlyphLayoutInput& in);

// The glyph strip holds NumGlyphs images side by side (up, disabled, down,
// exclusive); returns the columns [left, right) to copy for `state`.
struct GlyphColumns {
  int left;
  int right;
};
GlyphColumns GlyphSourceColumns(int numGlyphs, ButtonState state, int glyphWidth);

// NumGlyphs implied by a new glyph picture: width / height when the width is a whole
// multiple of the height (1 when that is above 4); nothing when it is not.
std::optional<int> NumGlyphsForPicture(int width, int height);

}  // namespace setuvane
