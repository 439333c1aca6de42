// The starter's reports, shown before the installer's own code runs: wide texts,
// for MessageBoxW, which shows them whatever the system's code page.
#pragma once

namespace setuvane::starter {

struct StarterTexts {
  const wchar_t* title;
  const wchar_t* damaged;   // the carried code is damaged (the package's own report)
  const wchar_t* noFolder;  // it cannot be unpacked into the temporary folder
};

const StarterTexts& StarterText();

}  // namespace setuvane::starter
