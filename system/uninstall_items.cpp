#include "system/uninstall_items.h"

#include "system/machine.h"

namespace setuvane {
namespace {

std::function<void(const UninstallItem&)>& Recorder() {
  static std::function<void(const UninstallItem&)> recorder;
  return recorder;
}

std::function<void()>& Keeper() {
  static std::function<void()> keep;
  return keep;
}

RecordedPlaceLookup& Lookup() {
  static RecordedPlaceLookup lookup;
  return lookup;
}

int g_openBatches = 0;
bool g_unkept = false;  // items recorded since the last keep

void Keep() {
  if (g_openBatches > 0 || !g_unkept) return;
  g_unkept = false;
  if (Keeper()) Keeper()();
}

bool FolderExists(const std::string& folder) {
  const std::optional<std::uint32_t> attributes = CurrentMachine().FileAttributes(folder);
  return attributes && (*attributes & kDirectoryAttribute);
}

}  // namespace

void SetUninstallRecorder(std::function<void(const UninstallItem&)> recorder, std::function<void()> keep,
                          RecordedPlaceLookup lookup) {
  Recorder() = std::move(recorder);
  Keeper() = std::move(keep);
  Lookup() = std::move(lookup);
}

std::optional<UninstallItem> RecordedPlace(const std::string& path) {
  if (!Recorder() || !Lookup()) return std::nullopt;
  return Lookup()(path);
}

bool UninstallRecording() { return static_cast<bool>(Recorder()); }

void RecordUninstallItem(const UninstallItem& item) {
  if (!Recorder()) return;
  Recorder()(item);
  g_unkept = true;
  Keep();
}

UninstallItemBatch::UninstallItemBatch() { ++g_openBatches; }

UninstallItemBatch::~UninstallItemBatch() {
  --g_openBatches;
  Keep();
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

void RecordFoldersToCreate(const std::vector<std::string>& levels, UninstallItemKind kind) {
  UninstallItemBatch batch;
  for (const std::string& level : levels) RecordUninstallItem(PathItem(kind, level));
}

}  // namespace setuvane
