// The Unix side of Wine for tests of what Windows programs cannot make under Wine
// (a symbolic link): a Windows path's Unix name, and a Unix program run from the
// test (Wine starts those too). Both fail outside Wine.
#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

namespace setuvane::fakes {

// The Unix name of an existing file or folder (wine_get_unix_file_name).
inline std::optional<std::string> UnixName(const std::filesystem::path& path) {
  using Call = char*(__cdecl*)(const wchar_t*);
  const auto call = reinterpret_cast<Call>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  char* name = call ? call(path.c_str()) : nullptr;
  if (!name) return std::nullopt;
  std::string text(name);
  HeapFree(GetProcessHeap(), 0, name);
  return text;
}

// Starts /bin/PROGRAM with the arguments, each quoted. Wine hands back no handle
// that could be waited for: the caller looks for what the program does.
inline bool StartUnixProgram(const std::string& program, std::initializer_list<std::string> arguments) {
  std::string commandLine = "Z:\\bin\\" + program;
  for (const std::string& argument : arguments) commandLine += " \"" + argument + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  return CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process);
}

// A symbolic link `link` (in an existing folder) to the existing `target`, made
// on the Unix side; true once Windows sees it.
inline bool MakeUnixSymlink(const std::filesystem::path& target, const std::filesystem::path& link) {
  const std::optional<std::string> from = UnixName(target);
  const std::optional<std::string> folder = UnixName(link.parent_path());
  if (!from || !folder || !StartUnixProgram("ln", {"-s", *from, *folder + "/" + link.filename().string()}))
    return false;
  for (int tries = 0; tries < 100; ++tries, Sleep(50))
    if (GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  return false;
}

// Removes such a link (not what it leads to); true once Windows no longer sees it.
inline bool RemoveUnixSymlink(const std::filesystem::path& link) {
  const std::optional<std::string> name = UnixName(link);
  if (!name || !StartUnixProgram("rm", {*name})) return false;
  for (int tries = 0; tries < 100; ++tries, Sleep(50))
    if (GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  return false;
}

}  // namespace setuvane::fakes
