#include "dialogs/mail_opener_win32.h"

#include <shellapi.h>

#include <utility>

namespace setuvane {
namespace {

MailLinkOpener& Opener() {
  static MailLinkOpener opener;
  return opener;
}

}  // namespace

INT_PTR OpenMailLink(HWND parent, const std::string& link) {
  if (Opener()) return Opener()(parent, link);
  // The link is pure ASCII (percent-encoded), so the ANSI call carries it intact.
  return reinterpret_cast<INT_PTR>(
      ShellExecuteA(parent, "open", link.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
}

MailLinkOpener SetMailLinkOpener(MailLinkOpener opener) {
  return std::exchange(Opener(), std::move(opener));
}

}  // namespace setuvane
