// Not a check but a picture: with SETUVANE_WIDGETS_GALLERY set to a file name, lays
// out every control in its usual states and saves the window as a BMP
// (tests/widgets/gallery.sh turns it into docs/widgets.png).
#include <gtest/gtest.h>

#include <cstdlib>

#include "test_window_win32.h"
#include "widgets/edit97.h"
#include "widgets/flat_button.h"
#include "widgets/flat_progress_bar.h"
#include "widgets/flat_radio_button.h"
#include "widgets/plain_button.h"
#include "widgets/static_memo.h"
#include "widgets/toolbar_button97.h"

namespace setuvane {
namespace {

TEST(Gallery, SavesAPictureOfTheControls) {
  const char* path = std::getenv("SETUVANE_WIDGETS_GALLERY");
  if (!path) GTEST_SKIP() << "SETUVANE_WIDGETS_GALLERY not set";
  test::TestWindow window(560, 300, RGB(255, 255, 255));
  const HWND w = window.hwnd();

  TStaticMemo memo;
  memo.SetColor(0xFFFFFF);
  memo.SetFontColor(colors::kBtnShadow);
  memo.SetText(
      "Witamy w instalacji aplikacji. Ten program pomoże państwu\r\n"
      "zainstalować oprogramowanie na państwa komputerze.");
  memo.Create(w, 10, 10, 300, 40);

  TEdit97 folder;
  folder.SetText("C:\\Program Files\\Księgowość\\");
  folder.Create(w, 10, 60, 187, 19);
  TToolbarButton97 browse;
  browse.SetCaption("...");
  browse.SetHandCursor(true);
  browse.Create(w, 201, 59, 23, 22);
  TToolbarButton97 hovered;
  hovered.SetCaption("...");
  hovered.Create(w, 230, 59, 23, 22);

  TFlatProgressBar smooth, blocks, vertical;
  smooth.SetSmooth(true);
  smooth.SetColor(0xFFFFFF);
  smooth.SetColorElement(colors::kSilver);
  smooth.SetColorBorder(colors::kGray);
  smooth.SetPosition(60);
  smooth.Create(w, 10, 95, 255, 16);
  blocks.SetColor(0xFFFFFF);
  blocks.SetPosition(50);
  blocks.Create(w, 10, 117, 147, 16);
  vertical.SetOrientation(pbVertical);
  vertical.SetColor(0xFFFFFF);
  vertical.SetPosition(70);
  vertical.Create(w, 280, 95, 16, 93);

  TFlatRadioButton restart, reset, disabledRadio;
  restart.SetColor(0xFFFFFF);
  restart.SetCaption("Tak, mogę teraz ponownie uruchomić komputer.");
  restart.Create(w, 10, 145, 265, 17);
  restart.SetChecked(true);
  reset.SetColor(0xFFFFFF);
  reset.SetCaption("Nie, chcę teraz powrócić do systemu Windows.");
  reset.Create(w, 10, 161, 265, 17);
  disabledRadio.SetColor(0xFFFFFF);
  disabledRadio.SetGroupIndex(1);
  disabledRadio.SetCaption("Wyłączony");
  disabledRadio.SetEnabled(false);
  disabledRadio.SetChecked(true);
  disabledRadio.Create(w, 10, 177, 265, 17);

  TFlatButton prior("< Poprzedni"), next("Następny >"), close("Zamknij");
  prior.SetEnabled(false);
  prior.Create(w, 10, 205);
  next.Create(w, 98, 205);
  close.Create(w, 186, 205);

  TPlainButton yes, no, cancel;
  for (TPlainButton* b : {&yes, &no, &cancel}) {
    b->SetColor(0xFFFFFF);
    b->SetColorFocused(0xFFFFFF);
    b->SetColorDown(0xFFFFFF);
    b->SetColorBorder(colors::kSilver);
    b->SetColorHighLight(colors::kSilver);
    b->SetColorShadow(colors::kGray);
  }
  yes.SetCaption("Tak");
  no.SetCaption("Nie");
  cancel.SetCaption("Anuluj");
  cancel.SetEnabled(false);
  yes.Create(w, 10, 245, 81, 25);
  no.Create(w, 95, 245, 81, 25);
  cancel.Create(w, 180, 245, 81, 25);

  TPlainButton colourful;
  colourful.SetCaption("Domyślne kolory");
  colourful.Create(w, 320, 245, 120, 25);
  SendMessageW(next.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, test::At(5, 5));  // shown pressed
  test::MoveMouseOver(hovered.Handle(), 5, 5);
  test::MoveMouseOver(no.Handle(), 5, 5);

  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const auto picture = test::CaptureScreen(w);
  EXPECT_TRUE(test::SaveBmp(picture, path));
  SendMessageW(next.Handle(), WM_LBUTTONUP, 0, test::At(500, 5));
  SetCursorPos(1000, 700);
}

}  // namespace
}  // namespace setuvane
