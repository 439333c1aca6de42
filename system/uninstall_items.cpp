#include "system/uninstall_items.h"

#include "system/machine.h"

namespace setuvane {
namespace {

std::function<void(const UninstallItem&)>& Recorder() {
  static std::function<void(const UninstallItem&)> recorder;
  return recorder;
}

bool FolderExists(const std::string& folder) {
  const std::optional<std::uint32_t> attributes = CurrentMachine().FileAttributes(folder);
  return attributes && (*attributes & kDirectoryAttribute);
}

}  // namespace

void SetUninstallRecorder(std::function<void(const UninstallItem&)> recorder) { Recorder() = std::move(recorder); }

bool UninstallRecording() { return static_cast<bool>(Recorder()); }

void RecordUninstallItem(const UninstallItem& item) {
  if (Recorder()) Recorder()(item);
}

std::vector<std::string> MissingFolderLevels(const std::string& folder) {
  std::vector<std::string> missing;
  std::string level = folder;
  while (!level.empty() && level.back() == '\\') level.pop_back();
  // A drive ("C:") or a share's root is never ours to create.
  while (level.size() > 2 && !FolderExists(level)) {
    missing.insert(missing.begin(), level);
    const size_t last = level.find_last_of('\\');
    if (last == std::string::npos) break;
    level.resize(last);
  }
  return missing;
}

void RecordCreatedFolders(const std::vector<std::string>& levels, UninstallItemKind kind) {
  for (const std::string& level : levels) {
    if (FolderExists(level)) RecordUninstallItem(PathItem(kind, level));
  }
}

}  // namespace setuvane
