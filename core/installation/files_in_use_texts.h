// The texts of the question about files in use (UTF-8).
#pragma once

#include <string>

namespace setuvane {

struct FilesInUseTexts {
  std::string programsHold;  // before the programs' names, one a line
  std::string filesHeld;     // before the files' paths, where the programs are not known
  std::string atRestart;     // the last line
  std::string closeAndGoOn, retry, stop;  // the three buttons
};

const FilesInUseTexts& FilesInUseText();

}  // namespace setuvane
