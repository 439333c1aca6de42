#include "system/shortcut_script.h"

#include "system/folder_macros.h"
#include "system/setup_text.h"
#include "system/shell_folders.h"
#include "system/text_helpers.h"
#include "system/uninstall_items.h"

namespace setuvane {
namespace {

struct ShortcutScriptTexts {
  std::string title, linkMessage, linkHint, linkDetails, folderMessage, folderHint, folderDetails;
};

const ShortcutScriptTexts& Texts() {
  static const ShortcutScriptTexts texts{
      .title = "Problem instalacji",
      .linkMessage = "Utworzenie odnośnika pliku jest niemożliwe.",
      .linkHint = "Podczas tworzenia odnośnika %s wystąpił problem",
      .linkDetails = "Dostęp do odnośnika pliku został odwołany.",
      .folderMessage = "Utworzenie folderu odnośnika pliku jest niemożliwe.",
      .folderHint = "Podczas tworzenia folderu odnośnika %s wystąpił problem",
      .folderDetails = "Dostęp do folderu odnośnika został odwołany.",
  };
  return texts;
}

void SetProperty(TShellLink& linker, const std::string& key, std::string value) {
  if (key == "cmd") linker.SetParameters(std::move(value));
  else if (key == "dsc") linker.SetDescription(std::move(value));
  else if (key == "fld") linker.SetWorkingFolder(std::move(value));
  else if (key == "icn") linker.SetIconFile(std::move(value));
  else if (key == "lnk") linker.SetProgramFile(std::move(value));
}

void WriteShortcut(TShellLink& linker, const ProblemReporter& report) {
  const ShortcutScriptTexts& texts = Texts();
  const std::string folder = ShortcutFolderOf(linker.LinkFile());
  const std::vector<std::string> missing = UninstallRecording() && !folder.empty() ? MissingFolderLevels(folder)
                                                                                   : std::vector<std::string>();
  if (!RecordFoldersToCreate(missing, UninstallItemKind::kShortcutFolder)) return;
  const bool folderReady = EnsureDirectory(folder);
  if (!folderReady) {
    report({texts.title, texts.folderMessage, FormatText(texts.folderHint, {folder}), texts.folderDetails});
    return;
  }
  try {
    linker.Write();
  } catch (const EShellLinkError&) {
    report({texts.title, texts.linkMessage, FormatText(texts.linkHint, {linker.LinkFile()}), texts.linkDetails});
  }
}

}  // namespace

std::string ShortcutFolderOf(const std::string& linkFile) {
  const size_t last = linkFile.find_last_of("\\:");
  if (last == std::string::npos) return {};
  std::string folder = linkFile.substr(0, last + 1);
  if (folder.size() > 1 && folder.back() == '\\' && folder[folder.size() - 2] != ':' &&
      folder[folder.size() - 2] != '\\') {
    folder.pop_back();
  }
  return folder;
}

bool RunShortcutScript(TShellLink& linker, const std::string& setupFolder, const std::string& programFolder,
                       const ProblemReporter& report) {
  const std::vector<std::string> lines = ReadSetupTextFile(setupFolder + "shortcut.inf");
  auto resolve = [&](std::string_view text) {
    return SubstituteProgramFolder(ExpandFolderMacros(text), programFolder);
  };
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    switch (line[0]) {
      case '{':
        linker.SetLinkFile(resolve(std::string_view(line).substr(1)));
        break;
      case '-':
        SetProperty(linker, AsciiLower(line.substr(1, 3)), resolve(ValueAfterSeparator(line, '=')));
        break;
      case '}':
        WriteShortcut(linker, report);
        // No further shortcut once the uninstall record cannot list it.
        if (!UninstallRecordKept()) return false;
        break;
      default:
        break;
    }
  }
  return true;
}

}  // namespace setuvane
