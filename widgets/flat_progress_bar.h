// TFlatProgressBar: a bordered progress bar drawn as blocks of 8 pixels or as one
// smooth bar. Position is read as a percentage (0 empty, 100 full); Min and Max are
// kept but do not change the scale. Painted off-screen.
#pragma once

#include <windows.h>

#include <memory>

#include "widgets/colors.h"
#include "widgets/progress_geometry.h"

namespace setuvane {

class TFlatProgressBar {
 public:
  TFlatProgressBar();
  ~TFlatProgressBar();
  TFlatProgressBar(const TFlatProgressBar&) = delete;
  TFlatProgressBar& operator=(const TFlatProgressBar&) = delete;

  // Default size 147 x 16. In block mode the length along the bar is snapped so
  // that whole blocks fit (e.g. 10 becomes 12).
  bool Create(HWND parent, int x, int y, int width = 147, int height = 16);
  HWND Handle() const;

  void SetColor(TColor color);  // also turns ParentColor off
  TColor Color() const;
  void SetParentColor(bool value);
  bool ParentColor() const;
  void SetColorElement(TColor color);
  TColor ColorElement() const;
  void SetColorBorder(TColor color);
  TColor ColorBorder() const;
  void SetAdvColorBorder(int percent);
  int AdvColorBorder() const;
  void SetUseAdvColors(bool value);
  bool UseAdvColors() const;

  void SetOrientation(TProgressOrientation orientation);
  TProgressOrientation Orientation() const;
  void SetPosition(int position);  // repaints at once; not clamped
  int Position() const;
  void SetMin(int value);
  int Min() const;
  void SetMax(int value);
  int Max() const;
  void SetSmooth(bool value);
  bool Smooth() const;

  void SetVisible(bool value);
  bool Visible() const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace setuvane
