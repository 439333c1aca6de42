#include "core/installation/files_in_use.h"

#include <map>

#include "core/installation/file_holders.h"
#include "core/installation/files_in_use_texts.h"
#include "dialogs/application_title.h"
#include "dialogs/message_routines.h"
#include "system/install_journal.h"

namespace setuvane {
namespace {

constexpr size_t kFilesNamed = 8;  // in the question; the log has them all

// The targets in folders that exist, each folder asked once: a fresh
// installation's are not there, and the files of one that is are not asked about
// one by one (the Restart Manager takes files that are missing).
std::vector<std::string> InExistingFolders(const std::vector<std::string>& targets, archive::FileSystem& disk) {
  std::map<std::string, bool> folders;
  std::vector<std::string> found;
  for (const std::string& path : targets) {
    const std::string folder = path.substr(0, path.find_last_of('\\'));
    auto known = folders.find(folder);
    if (known == folders.end()) known = folders.emplace(folder, disk.FolderExists(folder)).first;
    if (known->second) found.push_back(path);
  }
  return found;
}

std::string ProgramNames(const FilesHeld& held) {
  std::string names;
  for (const HoldingProgram& program : held.programs) names += (names.empty() ? "" : ", ") + program.name;
  return names;
}

std::string Question(const FilesHeld& held) {
  const FilesInUseTexts& t = FilesInUseText();
  std::string text = held.programs.empty() ? t.filesHeld : t.programsHold;
  for (const HoldingProgram& program : held.programs) text += "\r\n" + program.name;
  for (size_t i = 0; i < held.files.size() && i < kFilesNamed; ++i) text += "\r\n" + held.files[i];
  if (held.files.size() > kFilesNamed) text += "\r\n…";
  return text + "\r\n" + t.atRestart;
}

}  // namespace

bool SettleFilesInUse(const std::vector<std::string>& targets, archive::FileSystem& disk, const FilesInUseRun& run,
                      std::string& holders) {
  const std::vector<std::string> existing = InExistingFolders(targets, disk);
  if (existing.empty()) return true;
  FileHolders& found = CurrentFileHolders();
  const FilesInUseTexts& t = FilesInUseText();
  for (;;) {
    const FilesHeld held = found.Find(existing);
    if (!held.Any()) return true;
    holders = ProgramNames(held);
    for (const HoldingProgram& program : held.programs)
      JournalNote("files in use by: " + program.name + " (process " + std::to_string(program.processId) + ")");
    for (const std::string& file : held.files) JournalNote("in use: " + file);
    if (run.ask) {
      const int choice = ShowChoiceDialog(ApplicationTitle(), Question(held), {t.closeAndGoOn, t.retry, t.stop});
      if (choice == 2) continue;
      if (choice != 1) {
        JournalNote("the user stopped the installation: its files are in use");
        return false;
      }
    }
    if ((run.ask || run.closeApplications) && !held.programs.empty())
      JournalNote(found.CloseThem() ? "closed: " + holders : "not all closed: " + holders);
    return true;
  }
}

}  // namespace setuvane
