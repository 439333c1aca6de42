// The settings of an installation, read from install.inf: the two titles, the
// proposed program folder and four Windows flags that are kept but not consulted.
// They hold empty texts and false until the package's defaults are set.
#pragma once

#include <string>

namespace setuvane {

extern std::string InstallTaskTitle;  // the application title: taskbar, questions
extern std::string InstallMainTitle;  // the main window's caption
// The program folder: proposed by the package, replaced by the folder page; the
// value of "<programfolder>".
extern std::string ProductLocation;
extern bool ProductWindows95;
extern bool ProductWindows98;
extern bool ProductWindowsNT;
extern bool ProductWindows2K;

// The defaults that apply when install.inf says nothing: both titles
// "Instalator Aplikacji", the program folder "Aplikacja" in the Program Files
// folder (with a final backslash), all four flags true.
void SetDefaultSettings();

// Applies one line of install.inf: every key that occurs in the line, in capitals,
// anywhere in it, takes the text after the line's first "=" (or, without one, after
// its first ":"), untrimmed.
void ApplySettingsLine(const std::string& line);

}  // namespace setuvane
