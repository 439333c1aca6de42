#include "tools/plan/planning_machine.h"

#include "archive/file_system.h"
#include "system/cp1250.h"
#include "system/text_helpers.h"

namespace setuvane::pack {
namespace {

constexpr std::uint32_t kFileNotFound = 2;   // ERROR_FILE_NOT_FOUND
constexpr std::uint32_t kFileAttribute = 0x20;  // FILE_ATTRIBUTE_ARCHIVE, a plain file

// Windows compares names without regard to letter case.
std::string Folded(std::string_view path) {
  std::string folded = UpperCp1250Letters(path);
  while (folded.size() > 3 && folded.back() == '\\') folded.pop_back();
  return folded;
}

std::optional<std::string> Answer(const std::string& folder) {
  if (folder.empty()) return std::nullopt;
  return folder;
}

}  // namespace

PlanningMachine::PlanningMachine(const StandardLayout& layout, std::string medium,
                                 std::map<std::string, std::string> setupFiles)
    : layout_(layout), medium_(std::move(medium)) {
  for (auto& [name, bytes] : setupFiles) setupFiles_[Folded(name)] = std::move(bytes);
}

std::optional<std::string> PlanningMachine::Below(const std::string& path, const std::string& folder) {
  const std::string base = AddBackslash(Folded(folder));
  if (base.size() <= 1 || Folded(path).compare(0, base.size(), base) != 0) return std::nullopt;
  return path.substr(base.size());
}

ShellFolderValue PlanningMachine::ReadShellFolderValue(const std::string& valueName) {
  const std::string folder = layout_.Folder(valueName);
  if (folder.empty()) return {};
  return {ShellFolderValue::Kind::kText, folder};
}

std::optional<std::string> PlanningMachine::WindowsDirectory() { return Answer(layout_.Folder("Windows")); }
std::optional<std::string> PlanningMachine::SystemDirectory() { return Answer(layout_.Folder("System")); }
std::optional<std::string> PlanningMachine::TempPath() { return Answer(AddBackslash(layout_.Folder("Temp"))); }

std::optional<std::string> PlanningMachine::ModulePath() {
  return AddBackslash(layout_.Folder("Source")) + "setuvane.exe";
}

// Folders made during the run exist; below the medium the real folder answers;
// nothing else exists (so every folder the installation needs counts as made).
std::optional<std::uint32_t> PlanningMachine::FileAttributes(const std::string& path) {
  if (madeFolders_.count(Folded(path))) return kDirectoryAttribute;
  if (const std::optional<std::string> setupFile = Below(path, layout_.Folder("Temp"))) {
    if (setupFiles_.count(Folded(*setupFile))) return kFileAttribute;
  }
  const std::optional<std::string> onMedium = Below(path, layout_.Folder("Source"));
  if (!onMedium) return std::nullopt;
  const std::string real = (medium_.empty() ? std::string(".") : medium_) + "\\" + *onMedium;
  archive::FileSystem& disk = archive::NativeFileSystem();
  if (disk.FolderExists(real)) return kDirectoryAttribute;
  if (disk.FileExists(real)) return kFileAttribute;
  return std::nullopt;
}

bool PlanningMachine::MakeDirectory(const std::string& path) {
  madeFolders_.insert(Folded(path));
  return true;
}

std::optional<std::string> PlanningMachine::CurrentDirectory() { return layout_.Folder("Source"); }
bool PlanningMachine::ChangeCurrentDirectory(const std::string&) { return true; }
std::optional<DiskSpace> PlanningMachine::DiskFreeSpace(const std::string&) { return std::nullopt; }

std::optional<std::string> PlanningMachine::ReadWholeFile(const std::string& path, std::uint32_t& osError) {
  const std::optional<std::string> name = Below(path, layout_.Folder("Temp"));
  const auto found = name ? setupFiles_.find(Folded(*name)) : setupFiles_.end();
  if (found == setupFiles_.end()) {
    osError = kFileNotFound;
    return std::nullopt;
  }
  return found->second;
}

std::optional<VersionRecord> PlanningMachine::Version() { return layout_.Version(); }

std::optional<std::uint32_t> PlanningMachine::RunProcess(const std::string& commandLine, int) {
  commandLines_.push_back(commandLine);
  return 0;
}

// A plan never restarts Windows or plays a sound.
std::optional<Machine::Handle> PlanningMachine::OpenOwnToken(std::uint32_t) { return std::nullopt; }
std::optional<std::uint64_t> PlanningMachine::LookupPrivilege(const std::string&) { return std::nullopt; }
std::uint32_t PlanningMachine::EnablePrivilege(Handle, std::uint64_t, std::uint32_t) { return 1; }
void PlanningMachine::ReleaseHandle(Handle) {}
bool PlanningMachine::RequestExitWindows(std::uint32_t) { return false; }
bool PlanningMachine::PlaySoundFile(const char*, std::uint32_t) { return false; }

}  // namespace setuvane::pack
