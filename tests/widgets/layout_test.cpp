#include "widgets/glyph_layout.h"
#include "widgets/mouse_rules.h"
#include "widgets/progress_geometry.h"
#include "widgets/radio_geometry.h"

#include <gtest/gtest.h>

#include <climits>

namespace setuvane {
namespace {

GlyphLayoutInput Input(RectI client, SizeI caption, SizeI glyph, ButtonLayout layout, int margin,
                       int spacing) {
  GlyphLayoutInput in;
  in.client = client;
  in.caption = caption;
  in.glyph = glyph;
  in.layout = layout;
  in.margin = margin;
  in.spacing = spacing;
  return in;
}

TEST(GlyphLayout, CaptionAloneIsCentred) {
  // Default layout (top), margin -1, spacing 4: the spacing collapses without a glyph.
  const auto out = LayoutGlyphAndCaption(Input({0, 0, 81, 25}, {30, 13}, {}, ButtonLayout::GlyphTop, -1, 4));
  EXPECT_EQ(out.caption, (RectI{26, 6, 56, 19}));
}

TEST(GlyphLayout, GlyphBesideCaption) {
  const SizeI caption{40, 13}, glyph{16, 16};
  const RectI client{0, 0, 100, 30};
  auto left = LayoutGlyphAndCaption(Input(client, caption, glyph, ButtonLayout::GlyphLeft, -1, 4));
  EXPECT_EQ(left.glyph, (PointI{20, 7}));  // (100 - 60 + 1) div 2
  EXPECT_EQ(left.caption, (RectI{40, 9, 80, 22}));

  auto spread = LayoutGlyphAndCaption(Input(client, caption, glyph, ButtonLayout::GlyphLeft, -1, -1));
  EXPECT_EQ(spread.glyph.x, 14);  // (100 - 56) div 3, spacing the same
  EXPECT_EQ(spread.caption.left, 44);

  auto right = LayoutGlyphAndCaption(Input(client, caption, glyph, ButtonLayout::GlyphRight, 5, 4));
  EXPECT_EQ(right.glyph.x, 79);
  EXPECT_EQ(right.caption.left, 35);
}

TEST(GlyphLayout, VerticalLayoutsAndOffsets) {
  auto bottom = LayoutGlyphAndCaption(Input({0, 0, 40, 60}, {30, 13}, {16, 16}, ButtonLayout::GlyphBottom, 3, -1));
  EXPECT_EQ(bottom.glyph, (PointI{12, 41}));
  EXPECT_EQ(bottom.caption, (RectI{5, 14, 35, 27}));  // spacing ((60 - 19) - 13) div 2 = 14

  auto in = Input({1, 1, 24, 24}, {}, {16, 16}, ButtonLayout::GlyphTop, -1, 4);
  in.offset = {1, 1};
  auto pressed = LayoutGlyphAndCaption(in);
  EXPECT_EQ(pressed.glyph, (PointI{1 + 1 + 4, 1 + 1 + 4}));  // (23 - 16 + 1) div 2 = 4
}

TEST(GlyphLayout, DivisionTruncatesTowardZero) {
  // A caption wider than the button: (20 - 32 + 1) div 2 is -5, not -6.
  auto out = LayoutGlyphAndCaption(Input({0, 0, 20, 20}, {32, 13}, {}, ButtonLayout::GlyphTop, -1, 4));
  EXPECT_EQ(out.caption.left, -5);
}

TEST(GlyphImages, SourceColumnsByCountAndState) {
  struct Case { int num; ButtonState state; int left, right; };
  // A strip 64 wide: w = 64 div NumGlyphs.
  const Case cases[] = {
      {1, ButtonState::Up, 0, 64},        {1, ButtonState::Disabled, 0, 64},
      {2, ButtonState::Up, 0, 32},        {2, ButtonState::Disabled, 32, 64},
      {2, ButtonState::Down, 0, 32},      {2, ButtonState::Exclusive, 0, 32},
      {3, ButtonState::Disabled, 21, 42}, {3, ButtonState::Down, 42, 64},
      {3, ButtonState::Exclusive, 42, 64}, {4, ButtonState::Down, 32, 48},
      {4, ButtonState::Exclusive, 48, 64},
  };
  for (const auto& c : cases) {
    const auto cols = GlyphSourceColumns(c.num, c.state, 64);
    EXPECT_EQ(cols.left, c.left) << c.num << " " << static_cast<int>(c.state);
    EXPECT_EQ(cols.right, c.right) << c.num << " " << static_cast<int>(c.state);
  }
}

TEST(GlyphImages, CountFromPictureSize) {
  EXPECT_EQ(NumGlyphsForPicture(64, 16), 4);
  EXPECT_EQ(NumGlyphsForPicture(80, 16), 1);  // five images: more than the button uses
  EXPECT_EQ(NumGlyphsForPicture(50, 16), std::nullopt);
  EXPECT_EQ(NumGlyphsForPicture(16, 16), 1);
  EXPECT_EQ(NumGlyphsForPicture(16, 0), std::nullopt);
}

TEST(ProgressBlocks, SnappedLengthHoldsWholeBlocks) {
  EXPECT_EQ(SnapBlockBarLength(10), 12);
  EXPECT_EQ(SnapBlockBarLength(147), 147);  // 16 * 9 + 3
  EXPECT_EQ(SnapBlockBarLength(155), 147);
  EXPECT_EQ(SnapBlockBarLength(156), 156);
  EXPECT_EQ(BlockCapacity(147), 16);
  EXPECT_EQ(BlockCapacity(12), 1);
}

TEST(ProgressBlocks, CountRoundsAndCaps) {
  EXPECT_EQ(BlocksShown(50, 16), 8);    // 50 / 6 = 8.33
  EXPECT_EQ(BlocksShown(100, 16), 16);  // 16.67, capped
  EXPECT_EQ(BlocksShown(3, 16), 0);     // 0.5: ties to even
  EXPECT_EQ(BlocksShown(9, 16), 2);     // 1.5: ties to even
  EXPECT_EQ(BlocksShown(-20, 16), 0);
  EXPECT_EQ(BlocksShown(50, 0), 0);
  // Over 100 blocks a block is worth less than one percent: counted by share.
  EXPECT_EQ(BlocksShown(50, 200), 100);
  EXPECT_EQ(BlocksShown(100, 200), 200);
}

TEST(ProgressBlocks, RectanglesOfBothOrientations) {
  auto h = ProgressBlocks({0, 0, 147, 16}, pbHorizontal, 50);
  ASSERT_EQ(h.size(), 8u);
  EXPECT_EQ(h[0], (RectI{2, 2, 10, 14}));
  EXPECT_EQ(h[1], (RectI{11, 2, 19, 14}));
  EXPECT_EQ(ProgressBlocks({0, 0, 147, 16}, pbHorizontal, 100).back(), (RectI{137, 2, 145, 14}));

  auto v = ProgressBlocks({0, 0, 16, 147}, pbVertical, 100);
  ASSERT_EQ(v.size(), 16u);
  EXPECT_EQ(v[0], (RectI{2, 137, 14, 145}));
  EXPECT_EQ(v[1], (RectI{2, 128, 14, 136}));
}

TEST(ProgressSmooth, FillFollowsThePercentage) {
  EXPECT_EQ(SmoothFill({0, 0, 255, 16}, pbHorizontal, 50), (RectI{2, 2, 126, 14}));
  EXPECT_EQ(SmoothFill({0, 0, 255, 16}, pbHorizontal, 100), (RectI{2, 2, 253, 14}));
  EXPECT_LE(SmoothFill({0, 0, 255, 16}, pbHorizontal, 0).Width(), 0);
  EXPECT_GT(SmoothFill({0, 0, 255, 16}, pbHorizontal, 150).right, 253);  // not clamped
  EXPECT_EQ(SmoothFill({0, 0, 16, 100}, pbVertical, 100), (RectI{2, 2, 14, 98}));
  EXPECT_EQ(SmoothFill({0, 0, 16, 100}, pbVertical, 50), (RectI{2, 50, 14, 98}));
  // Huge positions do not overflow.
  EXPECT_GT(SmoothFill({0, 0, 255, 16}, pbHorizontal, INT_MAX).right, 253);
}

TEST(RadioGeometry, CircleDotAndText) {
  const RectI client{0, 0, 121, 17};
  EXPECT_EQ(RadioCircle(client, radioLeft), (RectI{1, 3, 11, 13}));
  EXPECT_EQ(RadioCircle(client, radioRight), (RectI{110, 3, 120, 13}));
  EXPECT_EQ(RadioDot({1, 3, 11, 13}), (RectI{4, 6, 8, 10}));
  EXPECT_EQ(RadioText(client, radioLeft), (RectI{16, 1, 120, 16}));
  EXPECT_EQ(RadioText(client, radioRight), (RectI{1, 1, 105, 16}));
}

TEST(MouseRules, EdgesOfTheClickArea) {
  EXPECT_TRUE(PlainButtonContains(0, 25, 81, 25));    // bottom edge inside
  EXPECT_FALSE(PlainButtonContains(81, 10, 81, 25));  // right edge outside
  EXPECT_FALSE(PlainButtonContains(-1, 10, 81, 25));
  EXPECT_TRUE(RadioButtonContains(121, 17, 121, 17));
  EXPECT_FALSE(RadioButtonContains(122, 0, 121, 17));
}

TEST(MouseRules, Accelerators) {
  EXPECT_EQ(CaptionAccelerator("&Tak"), 'T');
  EXPECT_EQ(CaptionAccelerator("Szczeg&óły"), U'Ó');
  EXPECT_EQ(CaptionAccelerator("a&&b"), std::nullopt);
  EXPECT_EQ(CaptionAccelerator("end&"), std::nullopt);
  EXPECT_TRUE(IsCaptionAccelerator("&tak", 't'));
  EXPECT_TRUE(IsCaptionAccelerator("&łó", U'Ł'));
  EXPECT_FALSE(IsCaptionAccelerator("Tak", 't'));
}

}  // namespace
}  // namespace setuvane
