// An installation made again before the restart that an uninstallation asked for
// (it ended with 3010): Windows would remove at that restart the files it writes
// now; or before the restart that an earlier installation asked for, which would
// put the file it left waiting over the one written now. Before the product files
// are written, what the restart would do with them is taken out, and so are the
// removals of the folders that hold them and of the uninstaller and its record;
// every other removal or rename the system lists stays.
#pragma once

#include <string>
#include <vector>

#include "archive/unzipper.h"

namespace setuvane {

// The files the product entries of `package` (opened, with their folders resolved)
// become, the folders on their way below the drive, and with `uninstaller` the
// uninstaller and its record in `programFolder`.
std::vector<std::string> PathsInstalled(const archive::TAbUnZipper& package, const std::string& programFolder,
                                        bool uninstaller);

// The files the product entries of `package` (opened, with their folders
// resolved) become.
std::vector<std::string> ProductTargets(const archive::TAbUnZipper& package);

// Takes the paths out of what the next restart does; the log names each.
void KeepAtRestart(const std::vector<std::string>& paths);

}  // namespace setuvane
