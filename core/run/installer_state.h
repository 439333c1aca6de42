// core/run/: what one run of the installer shares, whatever it does: the global
// state (folders, page), the switches, the exit codes, the screen cursor, the
// problem reports and their texts, and the stopping of a failed installation. It
// uses dialogs/ and system/ only; every other room of core/ may use it.
//
// The installer's global state, created at start-up and alive for the whole run.
// The start-up sequence writes the folders; the other parts of the program read them.
#pragma once

#include <string>

namespace setuvane {

// A page panel of the wizard, known by its page number.
struct PagePanel {
  int page;
};

// The six page panels, pages 1 to 6.
extern const PagePanel scrWelcome, scrLicense, scrReadme, scrLocation, scrInstall, scrComplete;

// The folder of the running installer (the installation medium), ending in a
// backslash: install.zip, install.wav and the component folders are found here.
extern std::string LaunchFolder;
// The setup folder, ending in a backslash: the system's temporary folder at
// start-up, then the folder of this run's own below it (core/run/setup_folder.h)
// that the package's setup files are unpacked into and read from.
extern std::string SetupFolder;
// The wizard page shown, 1 to 6, and its panel (none before the first page).
extern int PageIndex;
extern const PagePanel* CurrentPage;

}  // namespace setuvane
