// TFlatRadioButton: a radio button drawn as a small circle with a dot, and a
// word-wrapped caption beside it. Buttons of one parent with the same GroupIndex
// exclude one another. Painted off-screen.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "widgets/colors.h"
#include "widgets/radio_geometry.h"
#include "widgets/widget_messages.h"

namespace setuvane {

class TFlatRadioButton {
 public:
  TFlatRadioButton();
  ~TFlatRadioButton();
  TFlatRadioButton(const TFlatRadioButton&) = delete;
  TFlatRadioButton& operator=(const TFlatRadioButton&) = delete;

  bool Create(HWND parent, int x, int y, int width = 121, int height = 17);
  HWND Handle() const;

  void SetCaption(std::string_view caption);
  const std::string& Caption() const;
  // Makes the button as high as its word-wrapped caption needs in the font it
  // draws with, never lower than it is; returns the height.
  int FitHeightToCaption();

  // Checking unchecks the others of the group, then raises OnClick.
  void SetChecked(bool value);
  bool Checked() const;
  void SetGroupIndex(int index);
  int GroupIndex() const;
  void SetLayout(TRadioLayout layout);
  TRadioLayout Layout() const;

  void SetColor(TColor color);  // also turns ParentColor off
  TColor Color() const;
  void SetParentColor(bool value);
  bool ParentColor() const;
  void SetColorFocused(TColor color);
  TColor ColorFocused() const;
  void SetColorDown(TColor color);
  TColor ColorDown() const;
  void SetColorDot(TColor color);
  TColor ColorDot() const;
  void SetColorBorder(TColor color);
  TColor ColorBorder() const;
  void SetAdvColorFocused(int percent);
  int AdvColorFocused() const;
  void SetAdvColorDown(int percent);
  int AdvColorDown() const;
  void SetAdvColorBorder(int percent);
  int AdvColorBorder() const;
  void SetUseAdvColors(bool value);
  bool UseAdvColors() const;

  void SetFont(HFONT font);  // not owned; nullptr = parent's font or Tahoma 8 pt
  void SetFontColor(TColor color);
  TColor FontColor() const;

  void SetEnabled(bool value);
  bool Enabled() const;
  void SetVisible(bool value);
  bool Visible() const;
  void SetTabStop(bool value);
  bool TabStop() const;

  void SetOnClick(std::function<void()> handler);

  // Inspection, mainly for tests.
  bool Hovered() const;
  bool Focused() const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace setuvane
