#include "system/uninstall_items.h"

#include "system/machine.h"

namespace setuvane {
namespace {

std::function<void(const UninstallItem&)>& Recorder() {
  static std::function<void(const UninstallItem&)> recorder;
  return recorder;
}

std::function<bool()>& Keeper() {
  static std::function<bool()> keep;
  return keep;
}

RecordedPlaces& Places() {
  static RecordedPlaces places;
  return places;
}

int g_openBatches = 0;
bool g_unkept = false;  // items recorded since the last keep
bool g_lost = false;    // a keep failed: the record no longer covers what would change

void Keep() {
  if (g_openBatches > 0 || !g_unkept) return;
  g_unkept = false;
  if (Keeper() && !Keeper()()) g_lost = true;
}

bool FolderExists(const std::string& folder) {
  const std::optional<std::uint32_t> attributes = CurrentMachine().FileAttributes(folder);
  return attributes && (*attributes & kDirectoryAttribute);
}

}  // namespace

void SetUninstallRecorder(std::function<void(const UninstallItem&)> recorder, std::function<bool()> keep,
                          RecordedPlaces places) {
  Recorder() = std::move(recorder);
  Keeper() = std::move(keep);
  Places() = std::move(places);
  g_unkept = false;
  g_lost = false;
}

std::optional<UninstallItem> RecordedFile(const std::string& path) {
  if (!Recorder() || !Places().file) return std::nullopt;
  return Places().file(path);
}

bool FolderMadeThisRun(const std::string& folder) {
  return Recorder() && Places().madeThisRun && Places().madeThisRun(folder);
}

bool UninstallRecording() { return static_cast<bool>(Recorder()); }

bool UninstallRecordKept() { return !g_lost; }

bool RecordUninstallItem(const UninstallItem& item) {
  if (!Recorder()) return true;
  if (g_lost) return false;
  Recorder()(item);
  g_unkept = true;
  Keep();
  return !g_lost;
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

bool RecordFoldersToCreate(const std::vector<std::string>& levels, UninstallItemKind kind) {
  {
    UninstallItemBatch batch;
    for (const std::string& level : levels) RecordUninstallItem(PathItem(kind, level));
  }
  return UninstallRecordKept();
}

}  // namespace setuvane
