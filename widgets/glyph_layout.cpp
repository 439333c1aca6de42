// Layout of glyph and caption inside a button. Along the layout's axis the glyph
// and caption are placed one after the other (margin, glyph, spacing, caption);
// across it each is centred on its own. Integer division truncates toward zero.
#include "widgets/glyph_layout.h"

namespace setuvane {
namespace {

bool Horizontal(ButtonLayout layout) {
  return layout == ButtonLayout::GlyphLeft || layout == ButtonLayout::GlyphRight;
}

}  // namespace

GlyphLayoutResult LayoutGlyphAndCaption(const GlyphLayoutInput& in) {
  const SizeI client{in.client.Width(), in.client.Height()};
  const SizeI glyph = in.glyph;
  const SizeI text = in.caption;
  const bool horizontal = Horizontal(in.layout);

  PointI glyphPos, textPos;
  // Across the axis: centre each part on its own.
  if (horizontal) {
    glyphPos.y = (client.cy - glyph.cy + 1) / 2;
    textPos.y = (client.cy - text.cy + 1) / 2;
  } else {
    glyphPos.x = (client.cx - glyph.cx + 1) / 2;
    textPos.x = (client.cx - text.cx + 1) / 2;
  }

  // Along the axis.
  const int clientLen = horizontal ? client.cx : client.cy;
  const int glyphLen = horizontal ? glyph.cx : glyph.cy;
  const int textLen = horizontal ? text.cx : text.cy;
  int margin = in.margin;
  int spacing = in.spacing;
  if (text.cx == 0 || glyph.cx == 0) spacing = 0;
  if (margin == -1) {
    if (spacing == -1) {
      margin = (clientLen - (glyphLen + textLen)) / 3;
      spacing = margin;
    } else {
      margin = (clientLen - (glyphLen + spacing + textLen) + 1) / 2;
    }
  } else if (spacing == -1) {
    spacing = ((clientLen - (margin + glyphLen)) - textLen) / 2;
  }

  switch (in.layout) {
    case ButtonLayout::GlyphLeft:
      glyphPos.x = margin;
      textPos.x = glyphPos.x + glyph.cx + spacing;
      break;
    case ButtonLayout::GlyphRight:
      glyphPos.x = client.cx - margin - glyph.cx;
      textPos.x = glyphPos.x - spacing - text.cx;
      break;
    case ButtonLayout::GlyphTop:
      glyphPos.y = margin;
      textPos.y = glyphPos.y + glyph.cy + spacing;
      break;
    case ButtonLayout::GlyphBottom:
      glyphPos.y = client.cy - margin - glyph.cy;
      textPos.y = glyphPos.y - spacing - text.cy;
      break;
  }

  const int dx = in.client.left + in.offset.x;
  const int dy = in.client.top + in.offset.y;
  GlyphLayoutResult out;
  out.glyph = {glyphPos.x + dx, glyphPos.y + dy};
  out.caption = RectI{0, 0, text.cx, text.cy}.Offset(textPos.x + dx, textPos.y + dy);
  return out;
}

GlyphColumns GlyphSourceColumns(int numGlyphs, ButtonState state, int glyphWidth) {
  if (numGlyphs < 1) numGlyphs = 1;
  if (numGlyphs > 4) numGlyphs = 4;
  const int w = glyphWidth / numGlyphs;
  const int W = glyphWidth;
  const int s = static_cast<int>(state);
  // Rows: NumGlyphs 1..4; columns: up, disabled, down, exclusive (image index).
  static constexpr int kImage[4][4] = {
      {0, 0, 0, 0},
      {0, 1, 0, 0},
      {0, 1, 2, 2},
      {0, 1, 2, 3},
  };
  const int image = kImage[numGlyphs - 1][s];
  const int left = image * w;
  // The last image runs to the strip's end, whatever the rounding of w.
  const int right = image == numGlyphs - 1 ? W : left + w;
  return {left, right};
}

std::optional<int> NumGlyphsForPicture(int width, int height) {
  if (width <= 0 || height <= 0 || width % height != 0) return std::nullopt;
  const int count = width / height;
  return count > 4 ? 1 : count;
}

}  // namespace setuvane
