#include "core/package/install_package.h"

#include <optional>
#include <stdexcept>

#include "archive/unzipper.h"
#include "core/run/abort_installation.h"
#include "core/run/setup_folder.h"
#include "core/run/installer_state.h"
#include "core/package/package_source.h"
#include "core/package/package_texts.h"
#include "core/run/problem_reports.h"
#include "core/package/settings.h"
#include "system/cp1250.h"
#include "system/machine.h"
#include "system/setup_text.h"
#include "system/shell_folders.h"
#include "system/system_components.h"
#include "system/text_helpers.h"

namespace setuvane {
namespace {

// Notes what an entry of the setup folder becomes, and the folders it needs, so
// that they go at the end of the run.
void NoteUnpacked(const std::string& storedName, bool withFolders) {
  std::string name = storedName;
  for (char& c : name) c = c == '/' ? '\\' : c;
  if (!withFolders) name = name.substr(name.find_last_of('\\') + 1);
  for (size_t slash = name.find('\\'); slash != std::string::npos; slash = name.find('\\', slash + 1))
    NoteSetupFolderSubfolder(SetupFolder + name.substr(0, slash));
  if (!name.empty() && name.back() != '\\') NoteSetupFolderFile(SetupFolder + name);
}

// Extracts the setup entries of one kind, flat or the components with their
// folders, each noted for removal.
void ExtractSetupEntries(archive::TAbUnZipper& zip, bool components) {
  zip.SetExtractOptions(components ? archive::eoCreateDirs | archive::eoRestorePath : archive::eoCreateDirs);
  for (int i = 0; i < zip.EntryCount(); ++i) {
    archive::TAbZipItem& entry = *zip.Entries(i);
    entry.Marked = entry.ExtraText().empty() && IsComponentEntry(entry.StoredName()) == components;
    if (entry.Marked) NoteUnpacked(entry.StoredName(), components);
  }
  zip.ExtractMarked();
}

void UnpackSetupFiles(archive::TAbUnZipper& zipInstall, archive::FileSystem& files) {
  const PackageTexts& t = PackageText();
  const std::optional<PackageSource> package = LocateInstallPackage(files);
  if (!package) {
    ReportProblem(t.packageMissing.title, FormatOne(t.packageMissing.message, kPackageName), t.packageMissing.hint,
                  t.packageMissing.details);
    EndProgramAtOnce();
  }
  SetupFolder = MakeOwnSetupFolder(files, GetTempFolder());
  // The package password is tried first: a wrong one (the empty password the
  // component starts with) passes the one-byte check of traditional encryption
  // once in 256 entries and would then decode garbage.
  zipInstall.SetPassword(kPackagePassword);
  zipInstall.OnNeedPassword = [](archive::TAbUnZipper&, std::string& password) { SupplyPackagePassword(password); };
  // A setup file that cannot be unpacked (a bad checksum, a wrong password, no
  // room) makes the package unreadable here and now, not a missing file later.
  std::optional<std::string> failure;
  zipInstall.OnProcessItemFailure = [&failure](archive::TAbUnZipper& sender, archive::TAbArchiveItem& item,
                                               archive::TAbProcessType, archive::TAbErrorClass, int) {
    if (!failure) failure = Cp1250ToUtf8(item.StoredName()) + ": " + sender.FailureText();
  };
  struct HandlerGone {  // however this ends, the handler does not outlive `failure`
    archive::TAbUnZipper& zip;
    ~HandlerGone() { zip.OnProcessItemFailure = nullptr; }
  } handlerGone{zipInstall};
  zipInstall.SetBaseDirectory(SetupFolder);  // before opening: an earlier run's folder may be gone
  OpenPackage(zipInstall, *package);
  ExtractSetupEntries(zipInstall, false);
  ExtractSetupEntries(zipInstall, true);
  zipInstall.SetExtractOptions(archive::eoCreateDirs);
  zipInstall.CloseZip();
  if (failure) throw std::runtime_error(*failure);
}

}  // namespace

bool OpenInstallPackage(archive::TAbUnZipper& zipInstall, archive::FileSystem& files) {
  const PackageTexts& t = PackageText();
  // The package and the component folders are addressed from the medium's folder.
  CurrentMachine().ChangeCurrentDirectory(LaunchFolder);
  try {
    UnpackSetupFiles(zipInstall, files);
  } catch (const std::exception& failure) {
    ReportProblem(t.packageInvalid, failure.what());
    return false;
  }
  SetDefaultSettings();
  const std::string settings = SetupFolder + "install.inf";
  try {
    for (const std::string& line : ReadSetupTextFile(settings)) ApplySettingsLine(line);
  } catch (const std::exception& failure) {
    ReportProblem(t.settingsUnreadable.title, t.settingsUnreadable.message,
                  FormatOne(t.settingsUnreadable.hint, settings), failure.what());
    EndProgramAtOnce();
  }
  return true;
}

void SupplyPackagePassword(std::string& newPassword) { newPassword = kPackagePassword; }

}  // namespace setuvane
