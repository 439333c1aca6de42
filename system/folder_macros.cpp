#include "system/folder_macros.h"

#include <algorithm>
#include <array>

#include "system/shell_folders.h"
#include "system/text_helpers.h"

namespace setuvane {
namespace {

struct FolderMacro {
  std::string_view token;  // lower case
  std::string (*folder)();
};

// Replaced in this order in every pass.
const std::array<FolderMacro, 13> kFolderMacros = {{
    {"<desktopfolder>", [] { return GetShellFolder("Desktop"); }},
    {"<favoritesfolder>", [] { return GetShellFolder("Favorites"); }},
    {"<fontsfolder>", [] { return GetShellFolder("Desktop"); }},
    {"<menustartfolder>", [] { return GetShellFolder("Start Menu"); }},
    {"<programsfolder>", GetProgramFilesFolder},
    {"<recentsfolder>", [] { return GetShellFolder("Recent"); }},
    {"<sendtofolder>", [] { return GetShellFolder("SendTo"); }},
    {"<sourcefolder>", GetLaunchFolder},
    {"<systemfolder>", GetSystemFolder},
    {"<temporaryfolder>", GetTempFolder},
    {"<windowsfolder>", GetWindowsFolder},
    {"<windowsvolume>", GetWindowsVolume},
    {"<launchfolder>", GetQuickLaunchFolder},
}};

// A chain of folders naming each other without a cycle resolves within one pass
// per macro plus the pass that finds nothing more; a folder that names its own
// macro would otherwise grow the text for ever.
constexpr int kMaxPasses = static_cast<int>(kFolderMacros.size()) + 1;
// No path can be longer than this, so a text past it stops growing.
constexpr size_t kMaxExpandedLength = 32767;

// Every occurrence of the lower-case token, in any letter case, scanning from the
// left; the replacement is not searched again.
std::string ReplaceIgnoringCase(std::string_view text, std::string_view token, std::string_view replacement) {
  std::string lower = AsciiLower(text);
  std::string result;
  size_t from = 0;
  for (size_t at; (at = lower.find(token, from)) != std::string::npos; from = at + token.size()) {
    result.append(text.substr(from, at - from)).append(replacement);
  }
  return result.append(text.substr(from));
}

void ExpandOnePass(std::string& text) {
  for (const FolderMacro& macro : kFolderMacros) {
    if (AsciiLower(text).find(macro.token) != std::string::npos) {
      text = ReplaceIgnoringCase(text, macro.token, macro.folder());
    }
  }
}

}  // namespace

bool IsFolderMacro(std::string_view token) {
  const std::string lower = AsciiLower(token);
  return std::any_of(kFolderMacros.begin(), kFolderMacros.end(),
                     [&](const FolderMacro& macro) { return macro.token == lower; });
}

std::string ExpandFolderMacros(std::string_view text) {
  std::string result(text);
  for (int pass = 0; pass < kMaxPasses && result.size() <= kMaxExpandedLength; ++pass) {
    if (result.find('<') == std::string::npos) break;
    std::string before = result;
    ExpandOnePass(result);
    if (result == before) break;
  }
  return result;
}

std::string SubstituteProgramFolder(std::string_view text, std::string_view programFolder) {
  constexpr std::string_view kToken = "<programfolder>";
  if (AsciiLower(text).find(kToken) == std::string::npos) return std::string(text);
  return ReplaceIgnoringCase(ReplaceIgnoringCase(text, kToken, programFolder), "\\\\", "\\");
}

}  // namespace setuvane
