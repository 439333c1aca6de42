// Before the product files are written: which of the files the installation will
// write over are held by running programs (core/installation/file_holders.h). A
// person is shown who holds them and chooses: close the programs and go on, try
// again, or stop before anything is changed. Unattended, /CLOSEAPPLICATIONS closes
// the programs. A file that stays in use is replaced at the next restart
// (core/installation/files_kept_aside.h).
#pragma once

#include <string>
#include <vector>

#include "archive/file_system.h"

namespace setuvane {

struct FilesInUseRun {
  bool ask = true;                 // a person is there
  bool closeApplications = false;  // /CLOSEAPPLICATIONS
};

// Settles the files in use among `targets` (the product files' paths; `disk` is
// asked about their folders, each once). False when the person chose to stop; nothing
// has been changed then. `holders` receives the programs' names for the log
// (empty when they are not known).
bool SettleFilesInUse(const std::vector<std::string>& targets, archive::FileSystem& disk, const FilesInUseRun& run,
                      std::string& holders);

}  // namespace setuvane
