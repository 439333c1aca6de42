// The starter's reports (UTF-8), shown before the installer's own code runs.
#pragma once

namespace setuvane::starter {

struct StarterTexts {
  const char* title;
  const char* damaged;   // the carried code is damaged (the package's own report)
  const char* noFolder;  // it cannot be unpacked into the temporary folder
};

const StarterTexts& StarterText();

}  // namespace setuvane::starter
