#include "system/shell_folders.h"

#include "system/folder_error.h"
#include "system/machine.h"
#include "system/text_helpers.h"

namespace setuvane {
namespace {

std::string FolderOf(const std::optional<std::string>& path) { return AddBackslash(path.value_or("")); }

}  // namespace

std::string GetShellFolder(std::string_view valueName) {
  std::string name(valueName);
  ShellFolderValue value = CurrentMachine().ReadShellFolderValue(name);
  switch (value.kind) {
    case ShellFolderValue::Kind::kMissing: return {};
    case ShellFolderValue::Kind::kText: return AddBackslash(value.text);
    case ShellFolderValue::Kind::kNotText: break;
  }
  throw EFolderError("Invalid data type for '" + name + "'");
}

std::string GetAppDataFolder() {
  std::string folder = GetShellFolder("AppData");
  return folder.empty() ? GetWindowsFolder() : folder;
}

std::string GetQuickLaunchFolder() {
  return GetAppDataFolder() + "Microsoft\\Internet Explorer\\Quick Launch\\";
}

std::string GetLaunchFolder() {
  std::string path = CurrentMachine().ModulePath().value_or("");
  size_t last = path.find_last_of("\\:");
  return AddBackslash(last == std::string::npos ? std::string() : path.substr(0, last + 1));
}

std::string GetSystemFolder() { return FolderOf(CurrentMachine().SystemDirectory()); }

std::string GetTempFolder() { return FolderOf(CurrentMachine().TempPath()); }

std::string GetWindowsFolder() { return FolderOf(CurrentMachine().WindowsDirectory()); }

std::string GetProgramFilesFolder() {
  const std::string registered = FolderOf(CurrentMachine().ProgramFilesDirectory());
  return registered.empty() ? GetWindowsVolume() + "Program Files\\" : registered;
}

std::string GetWindowsVolume() {
  std::string volume = GetWindowsFolder().substr(0, 3);
  for (char& c : volume) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return volume;
}

}  // namespace setuvane
