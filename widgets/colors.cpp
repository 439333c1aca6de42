// The HSL scale is that of the Windows colour-picker: hue 0..239, saturation and
// lightness 0..240, each rounded to the nearest integer with ties to even
// (std::nearbyint under the default rounding mode).
#include "widgets/colors.h"

#include <algorithm>
#include <cmath>

namespace setuvane {
namespace {

int RoundEven(double value) { return static_cast<int>(std::nearbyint(value)); }

double HueToChannel(double m1, double m2, double t) {
  if (t < 0) t += 1;
  if (t > 1) t -= 1;
  if (6 * t < 1) return m1 + (m2 - m1) * 6 * t;
  if (2 * t < 1) return m2;
  if (3 * t < 2) return m1 + (m2 - m1) * (2.0 / 3 - t) * 6;
  return m1;
}

// The parent's lightness, raised by 10 as the derived colours have always been,
// then moved by `delta` and kept on the scale (0..240).
TColor ShiftLightness(TColor parent, int delta) {
  Hsl hsl = RgbToHsl(parent);
  hsl.l = std::clamp(hsl.l + 10 + delta, 0, kHslMax);
  return HslToRgb(hsl);
}

}  // namespace

Hsl RgbToHsl(TColor rgb) {
  const double r = RedOf(rgb) / 255.0, g = GreenOf(rgb) / 255.0, b = BlueOf(rgb) / 255.0;
  const double max = std::max({r, g, b}), min = std::min({r, g, b});
  const double l = (max + min) / 2;
  double h = 0, s = 0;
  if (max != min) {
    const double d = max - min;
    s = l < 0.5 ? d / (max + min) : d / (2 - max - min);
    if (r == max) {
      h = (g - b) / d;
    } else if (g != max) {
      h = 4 + (r - g) / d;
    } else {
      h = 2 + (b - r) / d;
    }
    h /= 6;
    if (h < 0) h += 1;
  }
  return {RoundEven(kHueMax * h), RoundEven(kHslMax * s), RoundEven(kHslMax * l)};
}

TColor HslToRgb(Hsl hsl) {
  const double h = static_cast<double>(hsl.h) / kHueMax;
  const double s = static_cast<double>(hsl.s) / kHslMax;
  const double l = static_cast<double>(hsl.l) / kHslMax;
  if (s == 0) {
    const int v = RoundEven(255 * l);
    return MakeColor(v, v, v);
  }
  const double m2 = l > 0.5 ? l + s - l * s : l * (1 + s);
  const double m1 = 2 * l - m2;
  auto channel = [&](double t) { return std::clamp(RoundEven(255 * HueToChannel(m1, m2, t)), 0, 255); };
  return MakeColor(channel(h + 1.0 / 3), channel(h), channel(h - 1.0 / 3));
}

TColor Lighten(TColor parent, TColor current, int percent) {
  if (percent == 0) return current;
  return ShiftLightness(parent, percent);
}

TColor Darken(TColor parent, TColor current, int percent) {
  if (percent == 0) return current;
  return ShiftLightness(parent, -percent);
}

AdvColors DeriveAdvColors(TColor base, const AdvColors& current, const AdvPercents& percents) {
  return {Lighten(base, current.focused, percents.focused),
          Darken(base, current.down, percents.down),
          Darken(base, current.border, percents.border)};
}

int ClampPercent(int percent) { return std::clamp(percent, 0, 100); }

}  // namespace setuvane
