// The product's files: each entry of the package whose destination text is not
// empty is installed into the folder that text names. On entering the install page
// the package is opened a second time and the destinations are resolved (folder
// macros, then the program folder); the first installation step then writes every
// product entry alone into its folder, flat under its bare file name, asking before
// it replaces a settings ("inf") or database ("mdb") file the user already has.
// While an uninstall record is kept, the files and folders are recorded ahead of
// their writing, many at once (system/uninstall_items.h).
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "archive/unzipper.h"
#include "core/installation/files_kept_aside.h"
#include "core/wizard/wizard_view.h"

namespace setuvane {

class ProductInstallation {
 public:
  ProductInstallation(WizardView& view, archive::FileSystem& files);

  // Opens the package in zipPacker and writes each product entry's resolved folder
  // into its ExtraText (in memory, as the program's UTF-8 where the package had
  // Windows-1250). Ends the program at once when the package is
  // missing; false after a report when it cannot be read.
  bool PreparePayload();
  // Installs the product entries in archive order; false after the first failure,
  // already reported.
  bool InstallProductFiles();

  archive::TAbUnZipper& zipPacker() { return zipPacker_; }
  // The files written over and those in use (zipPacker writes through it).
  FilesKeptAside& KeptAside() { return keptAside_; }

  // The handlers of zipPacker.
  void zipPackerArchiveItemProgress(int progress);
  void zipPackerConfirmOverwrite(std::string& name, bool& confirm);

 private:
  // False after a report when a product entry's folder came out empty or not as a
  // full path.
  bool DestinationUsable(const std::string& destination, const std::string& folder);
  // Makes the folder when it cannot be entered and makes it zipPacker's base folder.
  bool EnterFolder(const std::string& folder);
  bool InstallEntry(int index, const std::string& folder, const std::string& name);
  // Records the files of the coming entries, from `index` on, with the folder levels
  // they need, in one batch. A settings or data file that exists already waits for
  // the overwrite question: only a file replaced is the installation's.
  void RecordComingFiles(int index);
  // The levels of a product folder to record as made before it is made, each once.
  std::vector<std::string> FolderLevelsToRecord(const std::string& folder);
  // Records the file of entry `index` about to be written to `path` (`there`: a
  // file lies there now; nullopt: asked when it matters) as ClaimProductFile
  // decides (core/installation/product_file_claim.h); a file lying there now is
  // kept aside when it is written over. False when the record is not kept: the
  // file must not be written.
  bool RecordFile(int index, const std::string& path, std::optional<bool> there);

  WizardView& view_;
  archive::FileSystem& files_;
  FilesKeptAside keptAside_;
  archive::TAbUnZipper zipPacker_;
  // Each entry's destination text as the package holds it, trimmed and in UTF-8
  // (empty for a setup file), from the last PreparePayload.
  std::vector<std::string> destinations_;
  // Folders known to exist during this run, so that the files of one folder do not
  // check it again and again.
  std::set<std::string> knownFolders_;
  std::string baseFolder_;  // zipPacker's base folder as last set
  std::optional<std::string> entryFailure_;
  bool declined_ = false;
  // For the uninstall record: the entries whose file is recorded, the folder
  // levels recorded, and the file that waits for the overwrite question.
  std::vector<bool> recordedEntries_;
  std::set<std::string> recordedFolders_;
  std::optional<std::pair<int, std::string>> askedFile_;
  std::string programFolder_;  // ProductLocation's normal path
};

}  // namespace setuvane
