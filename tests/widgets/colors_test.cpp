#include "widgets/colors.h"

#include <gtest/gtest.h>

namespace setuvane {
namespace {

TEST(HslScale, PrimaryAndGreyColours) {
  EXPECT_EQ(RgbToHsl(MakeColor(255, 0, 0)), (Hsl{0, 240, 120}));
  EXPECT_EQ(RgbToHsl(MakeColor(0, 255, 0)), (Hsl{80, 240, 120}));   // 239/3 = 79.67
  EXPECT_EQ(RgbToHsl(MakeColor(0, 0, 255)), (Hsl{159, 240, 120}));  // 2*239/3 = 159.33
  EXPECT_EQ(RgbToHsl(colors::kWhite), (Hsl{0, 0, 240}));
  EXPECT_EQ(RgbToHsl(colors::kSilver), (Hsl{0, 0, 181}));  // 192/255*240 = 180.7
  EXPECT_EQ(RgbToHsl(MakeColor(255, 0, 255)).h, 199);       // magenta: h = -1/6 + 1
}

TEST(HslScale, BackToRgb) {
  EXPECT_EQ(HslToRgb({0, 240, 120}), MakeColor(255, 0, 0));
  // Hue 80 of 239 is not exactly a third: blue gets 255 * 6 / 717.
  EXPECT_EQ(HslToRgb({80, 240, 120}), MakeColor(0, 255, 2));
  EXPECT_EQ(HslToRgb({0, 0, 240}), colors::kWhite);
  EXPECT_EQ(HslToRgb({0, 0, 0}), colors::kBlack);
  // 255 * 120 / 240 = 127.5: ties go to the even neighbour.
  EXPECT_EQ(HslToRgb({0, 0, 120}), MakeColor(128, 128, 128));
  EXPECT_EQ(HslToRgb({0, 0, 200}), MakeColor(212, 212, 212));  // 212.5 -> 212
}

TEST(HslScale, RoundTripStaysClose) {
  for (TColor c : {TColor{0x8396A0}, TColor{0xC5D6D9}, TColor{0xE1EAEB}, TColor{0x996633}}) {
    const TColor back = HslToRgb(RgbToHsl(c));
    EXPECT_NEAR(RedOf(back), RedOf(c), 2) << std::hex << c;
    EXPECT_NEAR(GreenOf(back), GreenOf(c), 2) << std::hex << c;
    EXPECT_NEAR(BlueOf(back), BlueOf(c), 2) << std::hex << c;
  }
}

TEST(DerivedColours, ZeroPercentKeepsTheCurrentColour) {
  EXPECT_EQ(Lighten(colors::kWhite, 0x123456, 0), 0x123456u);
  EXPECT_EQ(Darken(colors::kWhite, 0x123456, 0), 0x123456u);
}

TEST(DerivedColours, LightnessIsRaisedByTenThenMoved) {
  // White: L 240 + 10 - 50 = 200.
  EXPECT_EQ(Darken(colors::kWhite, 0, 50), MakeColor(212, 212, 212));
  // Silver: L 181 + 10 + 10 = 201, lighter than silver itself.
  EXPECT_EQ(Lighten(colors::kSilver, 0, 10), MakeColor(214, 214, 214));
  EXPECT_EQ(Darken(colors::kBlack, 0, 50), colors::kBlack);
}

TEST(DerivedColours, LightnessStaysOnTheScale) {
  // Lightening a light colour never darkens it, and the result never passes white.
  EXPECT_EQ(Lighten(colors::kWhite, 0, 10), colors::kWhite);
  EXPECT_EQ(Lighten(MakeColor(250, 250, 250), 0, 100), colors::kWhite);
  EXPECT_GT(RedOf(Lighten(colors::kSilver, 0, 40)), 192);
  // A slight darkening of white (+10 - 5 = 245) must not wrap the channels.
  EXPECT_EQ(Darken(colors::kWhite, 0, 5), colors::kWhite);
  // A saturated colour keeps its hue.
  const TColor red = Darken(MakeColor(255, 0, 0), 0, 50);
  EXPECT_GT(RedOf(red), 0);
  EXPECT_EQ(GreenOf(red), BlueOf(red));
}

TEST(DerivedColours, AllThreeFromTheBase) {
  const AdvColors current{1, 2, 3};
  const AdvColors derived = DeriveAdvColors(colors::kWhite, current, AdvPercents{});
  EXPECT_EQ(derived.focused, colors::kWhite);
  EXPECT_EQ(derived.down, HslToRgb({0, 0, 240}));        // 240 + 10 - 10
  EXPECT_EQ(derived.border, MakeColor(212, 212, 212));  // 240 + 10 - 50
  const AdvColors kept = DeriveAdvColors(colors::kWhite, current, AdvPercents{0, 0, 0});
  EXPECT_EQ(kept.focused, 1u);
  EXPECT_EQ(kept.down, 2u);
  EXPECT_EQ(kept.border, 3u);
}

TEST(SystemColours, FlagAndIndex) {
  EXPECT_TRUE(IsSystemColor(colors::kBtnFace));
  EXPECT_EQ(SystemColorIndex(colors::kBtnFace), 15);
  EXPECT_FALSE(IsSystemColor(0xFFFFFF));
  EXPECT_EQ(ClampPercent(150), 100);
  EXPECT_EQ(ClampPercent(-1), 0);
}

}  // namespace
}  // namespace setuvane
