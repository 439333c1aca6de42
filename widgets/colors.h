// Colours of the flat controls: 0x00BBGGRR values or system colours, the HSL scale
// of the colour-picker dialog (H 0..239, S and L 0..240), and the colours derived
// from a control's base colour when UseAdvColors is set. Portable: system colours
// are resolved by the caller (ResolveColor in widgets/gdi_win32.h) before deriving.
#pragma once

#include <cstdint>

namespace setuvane {

// 0x00BBGGRR, or kSystemColorFlag | a GetSysColor index.
using TColor = std::uint32_t;

inline constexpr TColor kSystemColorFlag = 0x80000000u;
constexpr TColor SystemColor(int index) { return kSystemColorFlag | static_cast<TColor>(index); }
constexpr bool IsSystemColor(TColor c) { return (c & kSystemColorFlag) != 0; }
constexpr int SystemColorIndex(TColor c) { return static_cast<int>(c & 0xFFu); }

constexpr TColor MakeColor(int r, int g, int b) {
  return static_cast<TColor>(r & 0xFF) | (static_cast<TColor>(g & 0xFF) << 8) |
         (static_cast<TColor>(b & 0xFF) << 16);
}
constexpr int RedOf(TColor c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }

namespace colors {
inline constexpr TColor kBlack = 0x000000;
inline constexpr TColor kWhite = 0xFFFFFF;
inline constexpr TColor kSilver = 0xC0C0C0;
inline constexpr TColor kGray = 0x808080;
// System colours (the GetSysColor indices COLOR_WINDOW, COLOR_WINDOWTEXT, ...).
inline constexpr TColor kWindow = SystemColor(5);
inline constexpr TColor kWindowText = SystemColor(8);
inline constexpr TColor kHighlight = SystemColor(13);
inline constexpr TColor kBtnFace = SystemColor(15);
inline constexpr TColor kBtnShadow = SystemColor(16);
inline constexpr TColor kBtnText = SystemColor(18);
inline constexpr TColor kBtnHighlight = SystemColor(20);
}  // namespace colors

struct Hsl {
  int h = 0;  // 0..239
  int s = 0;  // 0..240
  int l = 0;  // 0..240
  friend bool operator==(const Hsl&, const Hsl&) = default;
};

inline constexpr int kHueMax = 239;
inline constexpr int kHslMax = 240;

// Conversions on the integer scale, rounding to nearest with ties to even.
// Only plain 0x00BBGGRR colours; the high byte is ignored.
Hsl RgbToHsl(TColor rgb);
TColor HslToRgb(Hsl hsl);

// A colour derived from a (resolved) parent colour by moving its lightness by
// `percent` points; percent 0 keeps `current` unchanged.
TColor Lighten(TColor parent, TColor current, int percent);
TColor Darken(TColor parent, TColor current, int percent);

// The three derived colours of a control with UseAdvColors: focused lightened,
// down and border darkened from the base colour.
struct AdvColors {
  TColor focused;
  TColor down;
  TColor border;
};
struct AdvPercents {
  int focused = 10;
  int down = 10;
  int border = 50;
};
AdvColors DeriveAdvColors(TColor base, const AdvColors& current, const AdvPercents& percents);

// Percentages are bytes 0..100; anything else is brought into that range.
int ClampPercent(int percent);

}  // namespace setuvane
