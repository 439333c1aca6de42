// TPlainButton: a flat owner-drawn push button with an optional glyph, hover
// highlighting, an optional sticky (grouped) down state and a modal result. It
// paints into an off-screen bitmap and copies that in one piece, so it never flickers.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "widgets/colors.h"
#include "widgets/glyph_layout.h"
#include "widgets/widget_messages.h"

namespace setuvane {

class TPlainButton {
 public:
  TPlainButton();
  ~TPlainButton();  // destroys the window if it still exists
  TPlainButton(const TPlainButton&) = delete;
  TPlainButton& operator=(const TPlainButton&) = delete;

  // Creates the child window (default size 25 x 25). Properties set before are kept.
  bool Create(HWND parent, int x, int y, int width = 25, int height = 25);
  HWND Handle() const;

  // The caption; "&" marks the accelerator.
  void SetCaption(std::string_view caption);
  const std::string& Caption() const;

  void SetColor(TColor color);  // also turns ParentColor off
  TColor Color() const;
  void SetParentColor(bool value);  // the face follows the parent window's background
  bool ParentColor() const;
  void SetColorFocused(TColor color);
  TColor ColorFocused() const;
  void SetColorDown(TColor color);
  TColor ColorDown() const;
  void SetColorBorder(TColor color);
  TColor ColorBorder() const;
  void SetColorHighLight(TColor color);
  TColor ColorHighLight() const;
  void SetColorShadow(TColor color);
  TColor ColorShadow() const;
  void SetAdvColorFocused(int percent);
  int AdvColorFocused() const;
  void SetAdvColorDown(int percent);
  int AdvColorDown() const;
  void SetAdvColorBorder(int percent);
  int AdvColorBorder() const;
  void SetUseAdvColors(bool value);
  bool UseAdvColors() const;

  void SetGroupIndex(int index);
  int GroupIndex() const;
  void SetDown(bool value);
  bool Down() const;
  void SetAllowAllUp(bool value);
  bool AllowAllUp() const;

  // Copies the bitmap (the caller keeps its own); nullptr clears the glyph.
  void SetGlyph(HBITMAP glyph);
  HBITMAP Glyph() const;  // the button's own copy
  void SetNumGlyphs(int count);  // 1..4
  int NumGlyphs() const;
  void SetLayout(ButtonLayout layout);
  ButtonLayout Layout() const;
  void SetMargin(int margin);  // values below -1 are ignored
  int Margin() const;
  void SetSpacing(int spacing);
  int Spacing() const;

  void SetModalResult(int result);
  int ModalResult() const;

  // Font (not owned; nullptr = the parent's font, else Tahoma 8 pt East European).
  void SetFont(HFONT font);
  void SetFontColor(TColor color);
  TColor FontColor() const;

  void SetEnabled(bool value);
  bool Enabled() const;
  void SetVisible(bool value);
  bool Visible() const;
  void SetTabStop(bool value);

  void SetOnClick(std::function<void()> handler);
  void SetOnDblClick(std::function<void()> handler);

  // Clicks the button as the mouse would: modal result to the form, then OnClick.
  void Click();

  // Inspection, mainly for tests: the current state and the hover flag.
  ButtonState State() const;
  bool Hovered() const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace setuvane
