// The wizard's own texts (UTF-8): the pages, the buttons, the questions and
// the reports about the licence and product texts, the folder and the product files.
#pragma once

#include <string>
#include <vector>

#include "core/run/report_texts.h"

namespace setuvane {

struct WizardTexts {
  // Pages and controls.
  std::string welcomeTitle, locationTitle, installTitle, completeTitle;
  std::vector<std::string> welcomeLines, locationTooltipLines, completeLines;
  std::string prior, next, close;
  std::string folderLabel, browseCaption;
  std::string restartChoice, resetChoice;
  std::string freeSpaceFormat;    // "%d" for the megabytes
  std::string freeSpaceUnknown;
  std::string folderDialogTitle, folderDialogText;
  // Progress texts of the installation.
  std::string updatingSystem, updatingSettings, creatingShortcuts;
  // Questions.
  std::string stopQuestion;
  std::string overwriteQuestionFormat;  // "%s" for the file name
  // Reports. In the formats "%s" stands for a file name, a path or a folder.
  ReportTexts licenseUnreadable;    // details: the failure's text
  ReportTexts readmeUnreadable;     // details: the failure's text
  ReportTexts folderTooShort;
  ReportTexts folderTooSmall;
  ReportTexts folderNotHeld;        // a name that Windows 9x's code page cannot hold
  ReportTexts folderNotCreated;     // hint: a prefix, the folder follows in quotes
  ReportTexts folderNotOpened;      // as above
  ReportTexts fileNotInstalled;     // hint: a prefix, the entry's name follows in quotes
  // Details of folderNotOpened for a product entry's folder that is no folder here.
  std::string destinationUnknown;   // the destination names a folder this system lacks
  std::string destinationNotFull;   // the destination is no full path
  // Details of fileNotInstalled for a name that Windows 9x's code page cannot hold.
  std::string nameNotHeld;
};

const WizardTexts& WizardText();

}  // namespace setuvane
