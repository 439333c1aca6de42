#include "dialogs/controls_win32.h"

#include <algorithm>
#include <string>

#include "dialogs/artwork_win32.h"
#include "dialogs/form_window_win32.h"
#include "dialogs/uncaught_failure.h"
#include "widgets/wide_or_ansi_win32.h"

namespace setuvane {
namespace {

constexpr char kPanelClass[] = "SetuvanePanel";
constexpr char kPictureClass[] = "SetuvanePicture";
constexpr char kBevelClass[] = "SetuvaneBevel";

struct PanelState {
  COLORREF colour;
  GdiObject<HBRUSH> brush;
};

struct PictureState {
  bool keyed = false;
  GdiObject<HBITMAP> bitmap;
};

template <typename State>
State* StateOf(HWND window) {
  return reinterpret_cast<State*>(ui::WindowLong(window, GWLP_USERDATA));
}

constexpr char kTextColourProperty[] = "SetuvaneTextColour";

// Colour requests of child controls go up to the nearest panel, whose colour they
// take; the text is in the window-text colour unless the label has one of its own.
LRESULT AnswerColourRequest(HWND window, WPARAM wp, LPARAM lp) {
  PanelState* state = StateOf<PanelState>(window);
  HDC dc = reinterpret_cast<HDC>(wp);
  SetBkColor(dc, state->colour);
  HANDLE own = GetPropA(reinterpret_cast<HWND>(lp), kTextColourProperty);
  // The colour is kept one above its value, so that black is not taken for none.
  SetTextColor(dc, own ? static_cast<COLORREF>(reinterpret_cast<UINT_PTR>(own) - 1) : GetSysColor(COLOR_WINDOWTEXT));
  return reinterpret_cast<LRESULT>(state->brush.get());
}

LRESULT CALLBACK PanelProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCCREATE: {
      const auto colour = static_cast<COLORREF>(reinterpret_cast<UINT_PTR>(ui::CreationParameter(lp)));
      auto* state = new PanelState{colour, GdiObject<HBRUSH>(CreateSolidBrush(colour))};
      ui::ChangeWindowLong(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
      break;
    }
    case WM_NCDESTROY:
      delete StateOf<PanelState>(window);
      ui::ChangeWindowLong(window, GWLP_USERDATA, 0);
      break;
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window, &client);
      FillRect(reinterpret_cast<HDC>(wp), &client, StateOf<PanelState>(window)->brush.get());
      return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      return AnswerColourRequest(window, wp, lp);
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      // A panel is only a surface: its children's messages belong to the window.
      return ui::Send(GetParent(window), msg, wp, lp);
  }
  return ui::DefaultProc(window, msg, wp, lp);
}

COLORREF ParentBackground(HWND picture) {
  HWND parent = GetParent(picture);
  if (ui::IsOfClass(parent, kPanelClass)) return PanelColour(parent);
  return GetSysColor(COLOR_BTNFACE);
}

void PaintPicture(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  PictureState* state = StateOf<PictureState>(window);
  RECT client;
  GetClientRect(window, &client);
  GdiObject<HBRUSH> background(CreateSolidBrush(ParentBackground(window)));
  FillRect(dc, &client, background.get());
  if (HBITMAP bitmap = state->bitmap.get()) {
    BITMAP info{};
    ui::ObjectInfo(bitmap, sizeof info, &info);
    if (state->keyed) {
      DrawKeyedBitmap(dc, 0, 0, client.right, client.bottom, bitmap);
    } else {
      MemoryDC source(dc);
      SelectScope select(source.get(), bitmap);
      BitBlt(dc, 0, 0, std::min<LONG>(client.right, info.bmWidth),
             std::min<LONG>(client.bottom, info.bmHeight), source.get(), 0, 0, SRCCOPY);
    }
  }
  EndPaint(window, &ps);
}

LRESULT CALLBACK PictureProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCCREATE:
      ui::ChangeWindowLong(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(new PictureState{
                            ui::CreationParameter(lp) != nullptr, {}}));
      break;
    case WM_NCDESTROY:
      delete StateOf<PictureState>(window);
      ui::ChangeWindowLong(window, GWLP_USERDATA, 0);
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      CallReportingFailures([&] { PaintPicture(window); });
      return 0;
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // clicks and drags reach the window below
  }
  return ui::DefaultProc(window, msg, wp, lp);
}

LRESULT CALLBACK BevelProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &client, EDGE_ETCHED, BF_LEFT);
    EndPaint(window, &ps);
    return 0;
  }
  if (msg == WM_NCHITTEST) return HTTRANSPARENT;
  return ui::DefaultProc(window, msg, wp, lp);
}

}  // namespace

HWND CreatePanel(HWND parent, int x, int y, int width, int height, COLORREF colour) {
  RegisterFormClass(kPanelClass, PanelProc, nullptr);
  return ui::NewWindow(WS_EX_CONTROLPARENT, kPanelClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y,
                       width, height, parent, reinterpret_cast<void*>(static_cast<UINT_PTR>(colour)));
}

COLORREF PanelColour(HWND panel) {
  PanelState* state = StateOf<PanelState>(panel);
  return state ? state->colour : GetSysColor(COLOR_BTNFACE);
}

HWND CreatePicture(HWND parent, int x, int y, int width, int height, bool keyed) {
  RegisterFormClass(kPictureClass, PictureProc, nullptr);
  return ui::NewWindow(0, kPictureClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, width, height,
                       parent, keyed ? reinterpret_cast<void*>(1) : nullptr);
}

void SetPicture(HWND picture, GdiObject<HBITMAP> bitmap) {
  StateOf<PictureState>(picture)->bitmap = std::move(bitmap);
  InvalidateRect(picture, nullptr, FALSE);
}

HBITMAP PictureBitmap(HWND picture) { return StateOf<PictureState>(picture)->bitmap.get(); }

HWND CreateVerticalBevel(HWND parent, int x, int y, int width, int height) {
  RegisterFormClass(kBevelClass, BevelProc, nullptr);
  return ui::NewWindow(0, kBevelClass, "", WS_CHILD | WS_VISIBLE, x, y, width, height, parent);
}

HWND CreateLabel(HWND parent, int x, int y, int width, int height, std::string_view text) {
  return ui::NewWindow(0, "STATIC", text, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, x, y, width, height,
                       parent);
}

void SetLabelText(HWND label, std::string_view text) { SetWindowTextUtf8(label, text); }

void SetLabelColour(HWND label, COLORREF colour) {
  SetPropA(label, kTextColourProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(colour) + 1));
  InvalidateRect(label, nullptr, TRUE);
}

void SetWindowTextUtf8(HWND window, std::string_view text) { ui::SetText(window, text); }

std::string WindowTextUtf8(HWND window) { return ui::Text(window); }

}  // namespace setuvane
