// TStaticMemo: a borderless, read-only multi-line EDIT in a host window. The edit is
// subclassed so that it hides its caret each time it gets the focus: the text can
// be selected and copied, but no caret ever shows.
#include "widgets/static_memo.h"

#include "widgets/control_base_win32.h"
#include "widgets/hosted_edit_win32.h"
#include "widgets/text_lines.h"

namespace setuvane {
namespace {
constexpr char kClassName[] = "SetuvaneStaticMemo";
}  // namespace

struct TStaticMemo::Impl : ControlState {
  HostedEdit edit;
  WNDPROC editProc = nullptr;

  std::string pendingText;
  TColor color = colors::kWindow;
  bool parentColor = true;
  HFONT font = nullptr;
  TColor fontColor = colors::kWindowText;
  HCURSOR cursor = nullptr;
  bool wordWrap = true;

  TColor Background() const { return parentColor ? ParentBackground(hwnd) : color; }

  // Not the painted controls' repaint: the host and the edit are invalidated, both erased.
  void Repaint() const { edit.Invalidate(hwnd); }

  void ApplyFont() {
    edit.ApplyFont(hwnd, font, true);
    FitScrollBar();
  }

  // The width of a line and the height of a line in the edit's font.
  template <class Measure>
  auto Measuring(Measure measure) const {
    ScreenDC screen;
    SelectScope fontScope(screen.get(), EffectiveFont(hwnd, font));
    return measure(screen.get());
  }

  // A text given line by line, laid out for the width of the edit: a paragraph
  // with a line too wide for it is wrapped as a whole, so that nothing is cut.
  std::string LaidOut(const std::vector<std::string>& lines) const {
    RECT format{};
    ui::Send(edit.edit(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    const int width = format.right - format.left;
    return Measuring([&](HDC dc) {
      return LinesToFit(lines, [&](std::string_view line) { return MeasureSingleLine(dc, line, width).cx <= width; });
    });
  }

  // The vertical scroll bar shows exactly when the lines are more than the height holds.
  void FitScrollBar() const {
    const HWND e = edit.edit();
    if (!e || !(ui::WindowLong(e, GWL_STYLE) & ES_MULTILINE)) return;
    ShowScrollBar(e, SB_VERT, FALSE);
    const int lineHeight = Measuring([](HDC dc) { return MeasureSingleLine(dc, "W", 100).cy; });
    const auto lines = static_cast<int>(ui::Send(e, EM_GETLINECOUNT, 0, 0));
    if (lineHeight > 0 && lines * lineHeight > ClientRectOf(e).Height()) ShowScrollBar(e, SB_VERT, TRUE);
  }

  static LRESULT CALLBACK EditProc(HWND editHwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Impl*>(ui::WindowLong(editHwnd, GWLP_USERDATA));
    const WNDPROC original = self->editProc;
    switch (msg) {
      case WM_SETFOCUS: {
        const LRESULT result = ui::CallProc(original, editHwnd, msg, wParam, lParam);
        HideCaret(editHwnd);
        return result;
      }
      case WM_SETCURSOR:
        if (SetClientCursor(self->cursor, lParam)) return TRUE;
        break;
      case WM_NCDESTROY:
        ui::Subclass(editHwnd, original);
        ui::ChangeWindowLong(editHwnd, GWLP_USERDATA, 0);
        break;
      default: break;
    }
    return ui::CallProc(original, editHwnd, msg, wParam, lParam);
  }

  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT forwarded = 0;
    if (msg == WM_SETTEXT && lParam) {
      // Line breaks of any kind start new lines.
      edit.SetText(WithCrLfBreaks(ui::SetTextArgument(lParam)));
      return TRUE;
    }
    if (edit.Forward(msg, wParam, lParam, forwarded)) return forwarded;
    switch (msg) {
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLOREDIT: return edit.AnswerColor(reinterpret_cast<HDC>(wParam), Background(), fontColor);
      case WM_ERASEBKGND: {
        FillSolid(reinterpret_cast<HDC>(wParam), ClientRectOf(hwnd), Background());
        return 1;
      }
      case WM_SIZE:
        if (edit.edit()) MoveWindow(edit.edit(), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
      case WM_SETFOCUS:
        if (edit.edit()) SetFocus(edit.edit());
        return 0;
      default: return ui::DefaultProc(hwnd, msg, wParam, lParam);
    }
  }
};

TStaticMemo::TStaticMemo() : impl_(std::make_unique<Impl>()) {}

TStaticMemo::~TStaticMemo() { impl_->Destroy(); }

bool TStaticMemo::Create(HWND parent, int x, int y, int width, int height, bool wordWrap) {
  // The host is never disabled nor a tab stop itself: the edit takes the focus.
  if (!CreateControl(*impl_, kClassName, parent, x, y, width, height, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT)) {
    return false;
  }
  // Multi-line without horizontal scrolling wraps long lines at the edge; with it,
  // each line stays one line and what passes the edge is cut off.
  impl_->wordWrap = wordWrap;
  const DWORD wrap = wordWrap ? 0 : ES_AUTOHSCROLL;
  if (!impl_->edit.Create(impl_->hwnd, ES_MULTILINE | ES_READONLY | ES_LEFT | wrap, {0, 0, width, height})) {
    DestroyWindow(impl_->hwnd);
    return false;
  }
  const HWND editHwnd = impl_->edit.edit();
  ui::ChangeWindowLong(editHwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(impl_.get()));
  impl_->editProc = ui::Subclass(editHwnd, &Impl::EditProc);
  ui::Send(editHwnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
  impl_->ApplyFont();
  if (!impl_->pendingText.empty()) SetText(impl_->pendingText);
  return true;
}

HWND TStaticMemo::Handle() const { return impl_->hwnd; }
HWND TStaticMemo::EditHandle() const { return impl_->edit.edit(); }

void TStaticMemo::SetText(std::string_view text) {
  if (impl_->hwnd) {
    impl_->edit.SetText(WithCrLfBreaks(text));
    impl_->FitScrollBar();
  } else {
    impl_->pendingText = std::string(text);
  }
}

std::string TStaticMemo::Text() const {
  return impl_->hwnd ? impl_->edit.Text() : WithCrLfBreaks(impl_->pendingText);
}

void TStaticMemo::SetLines(const std::vector<std::string>& lines) {
  if (impl_->hwnd && impl_->wordWrap) {
    SetText(impl_->LaidOut(lines));
    return;
  }
  SetText(LinesToFit(lines, [](std::string_view) { return true; }));
}

void TStaticMemo::SetColor(TColor color) {
  impl_->parentColor = false;
  impl_->color = color;
  impl_->Repaint();
}
TColor TStaticMemo::Color() const { return impl_->Background(); }
void TStaticMemo::SetParentColor(bool value) {
  impl_->parentColor = value;
  impl_->Repaint();
}
void TStaticMemo::SetFont(HFONT font) {
  impl_->font = font;
  impl_->ApplyFont();
}
void TStaticMemo::SetFontColor(TColor color) {
  impl_->fontColor = color;
  impl_->Repaint();
}
TColor TStaticMemo::FontColor() const { return impl_->fontColor; }
void TStaticMemo::SetCursor(HCURSOR cursor) { impl_->cursor = cursor; }
void TStaticMemo::SetVisible(bool value) { impl_->SetVisible(value); }
bool TStaticMemo::Visible() const { return impl_->visible; }

}  // namespace setuvane
