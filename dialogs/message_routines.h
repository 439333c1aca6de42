// The two routines through which the installer talks to the user outside the wizard
// pages. Both take UTF-8 texts, must be called on the user-interface thread,
// and block until the user has closed the window they show.
//
// The Windows build defines them (message_routines_win32.cpp). The native build has
// no definition: a native test of code that calls them links its own fake.
#pragma once

#include <string>
#include <vector>

namespace setuvane {

// Results of ShowMessageDialog, the values of the Win32 dialog answers.
inline constexpr int kResultOk = 1;      // "OK"
inline constexpr int kResultCancel = 2;  // "Anuluj", or closed without a button
inline constexpr int kResultYes = 6;     // "Tak"
inline constexpr int kResultNo = 7;      // "Nie"

// Kinds of ShowMessageDialog: 1 notice (warning bubble, "OK"), 2 notice (cross
// bubble, "OK"), 3 question ("Tak", "Nie"), 4 question ("Tak", "Nie", "Anuluj");
// any other value shows no button (only the close button or the menu end it).
inline constexpr int kKindWarning = 1;
inline constexpr int kKindError = 2;
inline constexpr int kKindQuestion = 3;
inline constexpr int kKindQuestionCancel = 4;

// Shows the question window with `title` in bold above `text` and returns the
// answer: kResultOk, kResultYes, kResultNo or kResultCancel. Callers test against
// kResultYes for yes; anything else counts as no.
int ShowMessageDialog(const std::string& title, const std::string& text, int kind);

// Shows the question window with `title` above `text` and a button for each of
// `captions` (at most three, the first on the left, each as wide as its caption
// needs); returns the number of the button chosen (1 for the first), 0 when the
// window was closed without one (its close button, Escape). Unattended runs
// never ask: with a responder set it answers 0.
int ShowChoiceDialog(const std::string& title, const std::string& text, const std::vector<std::string>& captions);

// Reports a problem in the problem dialog: `title` as its caption (the application
// title when `title` is blank), `message` beside the warning icon, and `hint` and
// `details` as the two lines of its details list (not shown when `hint` is empty).
void ShowProblemDialog(const std::string& title, const std::string& message,
                       const std::string& hint, const std::string& details);

}  // namespace setuvane
