#include "core/package/install_package.h"

#include <optional>
#include <stdexcept>

#include "archive/unzipper.h"
#include "core/run/abort_installation.h"
#include "core/run/installer_state.h"
#include "core/package/package_source.h"
#include "core/package/package_texts.h"
#include "core/run/problem_reports.h"
#include "core/package/settings.h"
#include "system/cp1250.h"
#include "system/machine.h"
#include "system/setup_text.h"
#include "system/text_helpers.h"

namespace setuvane {
namespace {

// A copy that stays (read-only, in use) would be read in place of a file the
// package lacks: the package is then refused as one that cannot be unpacked.
void RemoveEarlierSetupFiles(archive::FileSystem& files) {
  for (const char* name : kSetupFilesRead) {
    const std::string path = SetupFolder + name;
    if (files.FileExists(path) && !files.Remove(path))
      throw std::runtime_error(FormatOne(PackageText().earlierSetupFileKept, path));
  }
}

void UnpackSetupFiles(archive::TAbUnZipper& zipInstall, archive::FileSystem& files) {
  const PackageTexts& t = PackageText();
  const std::optional<PackageSource> package = LocateInstallPackage(files);
  if (!package) {
    ReportProblem(t.packageMissing.title, FormatOne(t.packageMissing.message, kPackageName), t.packageMissing.hint,
                  t.packageMissing.details);
    EndProgramAtOnce();
  }
  RemoveEarlierSetupFiles(files);
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
  OpenPackage(zipInstall, *package);
  zipInstall.SetBaseDirectory(SetupFolder);
  for (int i = 0; i < zipInstall.EntryCount(); ++i) {
    archive::TAbZipItem& entry = *zipInstall.Entries(i);
    if (entry.ExtraText().empty()) entry.Marked = true;
  }
  zipInstall.ExtractMarked();
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
