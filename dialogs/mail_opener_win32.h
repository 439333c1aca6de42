// Handing an e-mail link to the shell. Replaceable, so that tests can see the link
// and the shell's answer without starting a mail program.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace setuvane {

// Opens the link and returns the shell's result (32 or less is a failure).
using MailLinkOpener = std::function<INT_PTR(HWND parent, const std::string& link)>;

INT_PTR OpenMailLink(HWND parent, const std::string& link);

// Replaces the opener (empty: the shell's "open" again); returns the previous one.
MailLinkOpener SetMailLinkOpener(MailLinkOpener opener);

}  // namespace setuvane
