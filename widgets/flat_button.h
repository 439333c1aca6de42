// TFlatButton: a panel-style push button with a one-pixel raised bevel (lowered
// while pressed) and a centred single-line caption. Painted off-screen. It clicks
// when a left press on it is released over it; moving off before letting go cancels.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "widgets/colors.h"
#include "widgets/widget_messages.h"

namespace setuvane {

class TFlatButton {
 public:
  // `name` is the default caption, as a designer would give it.
  explicit TFlatButton(std::string_view name = {});
  ~TFlatButton();
  TFlatButton(const TFlatButton&) = delete;
  TFlatButton& operator=(const TFlatButton&) = delete;

  bool Create(HWND parent, int x, int y, int width = 85, int height = 25);
  HWND Handle() const;

  void SetCaption(std::string_view caption);
  const std::string& Caption() const;
  void SetColor(TColor color);  // default: button face
  TColor Color() const;
  void SetFont(HFONT font);  // not owned; nullptr = parent's font or Tahoma 8 pt
  // The caption colour: button text when enabled, button shadow when disabled
  // (set again on every enable change).
  TColor FontColor() const;

  void SetEnabled(bool value);
  bool Enabled() const;
  void SetVisible(bool value);
  bool Visible() const;
  void SetTabStop(bool value);
  void SetCursor(HCURSOR cursor);  // nullptr = arrow
  void SetTag(int tag);
  int Tag() const;

  void SetOnClick(std::function<void()> handler);
  void Click();  // OnClick, if the button is enabled

  bool Pressed() const;  // the bevel is lowered

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace setuvane
