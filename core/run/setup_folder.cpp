#include "core/run/setup_folder.h"

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <stdexcept>
#include <vector>

#include "archive/file_system.h"

namespace setuvane {
namespace {

// Names are tried from a number that differs between runs, so that runs started
// together rarely try the same name first; making the folder is what claims it.
constexpr int kNamesTried = 1000;

struct OwnFolder {
  std::string path;  // with no final "\"; empty: none made
  std::vector<std::string> entries;
  std::vector<std::string> subfolders;
};

OwnFolder& Own() {
  static OwnFolder own;
  return own;
}

}  // namespace

std::string MakeOwnSetupFolder(archive::FileSystem& files, const std::string& temporaryFolder) {
  // The C run-time's clock, not std::chrono: that would bring in calls Windows 95
  // lacks. The address of this run's state differs between runs too.
  const auto start = static_cast<unsigned>((uint64_t(std::time(nullptr)) * 7919 +
                                            reinterpret_cast<uintptr_t>(&Own()) / 16) % 100000);
  for (int i = 0; i < kNamesTried; ++i) {
    const std::string path = temporaryFolder + "Setuvane-" + std::to_string(start + unsigned(i));
    if (files.FolderExists(path) || files.FileExists(path)) continue;
    try {
      files.MakeFolder(path);
    } catch (const std::exception&) {
      continue;  // taken meanwhile, or not to be made here: the next name
    }
    Own() = {path, {}, {}};
    return path + "\\";
  }
  throw std::runtime_error("Cannot make a setup folder in " + temporaryFolder);
}

void NoteSetupFolderFile(const std::string& path) { Own().entries.push_back(path); }

void NoteSetupFolderSubfolder(const std::string& path) { Own().subfolders.push_back(path); }

void RemoveOwnSetupFolder(archive::FileSystem& files) {
  OwnFolder& own = Own();
  if (own.path.empty()) return;
  for (const std::string& path : own.entries) files.Remove(path);
  // Deeper folders first: a longer path never holds a shorter one.
  std::sort(own.subfolders.begin(), own.subfolders.end(),
            [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
  for (const std::string& path : own.subfolders) files.RemoveFolder(path);
  files.RemoveFolder(own.path);
  own = {};
}

}  // namespace setuvane
