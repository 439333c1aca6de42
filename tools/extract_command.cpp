// `setuvane-pack extract [-d DIR] [-j] [-P PASSWORD] ARCHIVE [MASK...]`.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "archive/mask_match.h"
#include "archive/target_path.h"
#include "tools/archive_session.h"
#include "tools/command.h"
#include "tools/console.h"
#include "tools/password_option.h"

namespace setuvane::pack {
namespace {

const char kDetails[] =
    "Extracts the entries of a ZIP archive that match any MASK (all without one;\n"
    "'*' and '?' are wildcards, a mask without a folder matches in every folder).\n"
    "Stored folders are restored below DIR and made as needed; existing files are\n"
    "replaced, but only by entries that passed their CRC check. Each failed entry is\n"
    "reported on standard error with the reason, and the exit code is then 1.\n";

struct ExtractOptions {
  std::string archive;
  std::vector<std::string> masks;
  std::string folder;
  bool junkPaths = false;
  std::string password;
};

// The folder option as a path with "\" separators, made when missing.
std::optional<std::string> PrepareFolder(ArchiveSession& session, std::string folder) {
  std::replace(folder.begin(), folder.end(), '/', '\\');
  try {
    archive::MakeFolders(archive::NativeFileSystem(), folder);
  } catch (const std::exception& e) {
    session.Error(e.what());
    return std::nullopt;
  }
  return folder;
}

int RunExtract(const ExtractOptions& options) {
  const std::optional<std::string> password = PasswordText(options.password, "extract");
  if (!password) return kUsageOrArchiveError;

  ArchiveSession session("extract");
  archive::TAbUnZipper& zip = session.Zip();
  zip.SetPassword(*password);
  zip.SetExtractOptions(options.junkPaths ? archive::eoCreateDirs : archive::eoCreateDirs | archive::eoRestorePath);
  if (!options.folder.empty()) {
    const std::optional<std::string> folder = PrepareFolder(session, options.folder);
    if (!folder) return kUsageOrArchiveError;
    zip.SetBaseDirectory(*folder);
  }
  if (!session.Open(options.archive)) return kUsageOrArchiveError;

  std::vector<std::string> masks;
  for (const std::string& given : options.masks) {
    const std::optional<std::string> mask = ArgumentToArchiveText(given);
    if (!mask) {
      session.Error(given + ": the mask has no Windows-1250 form");
      return kUsageOrArchiveError;
    }
    masks.push_back(*mask);
  }
  if (masks.empty()) masks.push_back("*.*");
  int selected = 0;
  for (int i = 0; i < zip.EntryCount(); ++i) {
    archive::TAbZipItem& item = *zip.Entries(i);
    item.Marked = std::any_of(masks.begin(), masks.end(),
                              [&](const std::string& mask) { return archive::MatchesMask(item.StoredName(), mask); });
    selected += item.Marked ? 1 : 0;
  }
  session.ShowProgress("extracting");
  try {
    zip.ExtractMarked();
  } catch (const std::exception& e) {
    session.Done();
    session.Error(e.what());
    return kUsageOrArchiveError;
  }
  session.Done();
  if (session.Failures() > 0) {
    std::printf("%d of %d entries failed\n", session.Failures(), selected);
    return kEntriesFailed;
  }
  if (selected == 0) {
    std::printf("no entry matches\n");
    return kEntriesFailed;
  }
  std::printf("%d %s extracted\n", selected, selected == 1 ? "entry" : "entries");
  return kSuccess;
}

}  // namespace

void AddExtractCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<ExtractOptions>();
  CLI::App* command = app.add_subcommand("extract", "extract entries to disk");
  command->footer(kDetails);
  command->add_option("-d,--directory", options->folder,
                      "extract below DIR (made when missing; default: the current folder)")
      ->option_text("DIR");
  command->add_flag("-j,--junk-paths", options->junkPaths, "write every entry flat into DIR, as the installer does");
  AddPasswordOption(*command, options->password);
  command->add_option("ARCHIVE", options->archive, "the ZIP archive")->required();
  command->add_option("MASK", options->masks, "entries to extract (default: all)");
  command->callback([options, &exitCode] { exitCode = RunExtract(*options); });
}

}  // namespace setuvane::pack
