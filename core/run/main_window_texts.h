// The texts of the main window's own reports (UTF-8): the environment
// checks, the stopped installation and the general problem handler.
#pragma once

#include <string>

namespace setuvane {

struct MainWindowTexts {
  // The three environment reports share title, hint and details.
  std::string environmentTitle;
  std::string environmentHint;
  std::string environmentDetails;
  std::string safeModeMessage;
  std::string noMouseMessage;
  std::string fewColoursMessage;

  std::string abortTitle;
  std::string abortText;
  std::string changesUndone;  // the line after abortText when the installation was undone

  std::string generalProblemTitle;
  std::string generalProblemMessage;
  std::string generalProblemHint;
  std::string unreadableLogo;  // after the logo file's path
};

const MainWindowTexts& MainWindowText();

}  // namespace setuvane
