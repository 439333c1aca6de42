// The wizard's own texts (Windows-1250): the pages, the buttons, the questions and
// the reports about the install package and the product files.
#pragma once

#include <string>
#include <vector>

namespace setuvane {

// Four texts of a problem report, in the dialog's order.
struct ReportTexts {
  std::string title, message, hint, details;
};

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
  ReportTexts packageMissing;       // message has "%s" (without quotes)
  ReportTexts payloadMissing;       // message has "\"%s\""
  ReportTexts packageInvalid;       // details: the failure's text
  ReportTexts settingsUnreadable;   // hint has "%s"; details: the failure's text
  ReportTexts licenseUnreadable;    // details: the failure's text
  ReportTexts readmeUnreadable;     // details: the failure's text
  ReportTexts folderTooShort;
  ReportTexts folderTooSmall;
  ReportTexts folderNotCreated;     // hint: a prefix, the folder follows in quotes
  ReportTexts folderNotOpened;      // as above
  ReportTexts fileNotInstalled;     // hint: a prefix, the entry's name follows in quotes
  // Details of folderNotOpened for a product entry's folder that is no folder here.
  std::string destinationUnknown;   // the destination names a folder this system lacks
  std::string destinationNotFull;   // the destination is no full path
  // Details of packageInvalid for a setup file of an earlier run that stays ("%s": its path).
  std::string earlierSetupFileKept;
};

const WizardTexts& WizardText();

// `format` with its one "%s" (or "%d") replaced by `value`.
std::string FormatOne(const std::string& format, const std::string& value);

}  // namespace setuvane
