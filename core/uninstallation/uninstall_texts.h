// The uninstaller's own texts (UTF-8): its page, its question and notices,
// and its reports. In the formats "%s" stands for the product's name or a path.
#pragma once

#include <string>

#include "core/run/report_texts.h"

namespace setuvane {

struct UninstallTexts {
  std::string pageTitle;
  std::string questionFormat;        // the product's name
  std::string removedFormat;         // the product's name
  std::string removedAtRestartFormat;
  std::string incompleteFormat;
  std::string stoppedRunQuestionFormat;  // the product's name
  std::string removingShortcuts, removingSettings, removingFiles, removingFolders;
  ReportTexts recordUnreadable;      // hint: "%s" the record's path; details: what is wrong
  ReportTexts recordChanged;         // hint: "%s" the record's path; details: what is wrong
  ReportTexts fileNotRemoved;        // hint: "%s" the file
  ReportTexts linkOnTheWay;          // hint: "%s" the file or folder; details: the link
  ReportTexts registryNotRestored;   // hint: "%s" the key and value
  ReportTexts keyNotRemoved;         // hint: "%s" the key
  ReportTexts entryNotRemoved;       // hint: "%s" the key
  ReportTexts uninstallerNotStarted; // details: the program's path
  ReportTexts anotherRunning;        // details: the product lock's name; the installer's too
  ReportTexts runNotUndone;          // hint: "%s" the product's name; the installer's too
  ReportTexts lockNotMade;           // details: the product lock's name; the installer's too
  ReportTexts recordNotWritten;      // the installer's: hint: "%s" the record's path
  ReportTexts recordNotRewritten;    // hint: "%s" the record's path
};

const UninstallTexts& UninstallText();

}  // namespace setuvane
