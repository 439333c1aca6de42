#include "core/package/package_source.h"

#include <memory>

#include "archive/unzipper.h"
#include "core/run/abort_installation.h"
#include "core/package/embedded_package.h"
#include "core/run/exit_codes.h"
#include "core/package/package_texts.h"
#include "core/run/installer_state.h"
#include "core/run/problem_reports.h"
#include "system/machine.h"

namespace setuvane {
namespace {

std::optional<PackageSource> g_chosen;

PackageSource FolderPackage() { return {LaunchFolder + kPackageName, std::nullopt}; }

[[noreturn]] void RefuseCarriedPackage(const char* failure) {
  ReportProblem(PackageText().packageInvalid, failure);
  SetEndingExitCode(kExitPackageUnreadable);
  EndProgramAtOnce();
}

}  // namespace

std::optional<PackageSource> LocateInstallPackage(archive::FileSystem& files) {
  g_chosen.reset();
  if (files.FileExists(LaunchFolder + kPackageName)) return g_chosen = FolderPackage();
  const std::optional<std::string> program = CurrentMachine().ModulePath();
  if (!program) return std::nullopt;
  std::optional<EmbeddedPackage> carried;
  PackageIntegrity integrity = PackageIntegrity::kIntact;
  try {
    const std::unique_ptr<archive::ReadableFile> file = files.OpenRead(*program);
    carried = ReadEmbeddedPackage(*file);
    if (carried) integrity = CheckEmbeddedPackage(*file, *carried);
  } catch (const std::exception&) {
    // The running program's own file cannot be read: it carries nothing usable.
    return std::nullopt;
  }
  if (!carried) return std::nullopt;
  if (integrity == PackageIntegrity::kTruncated) RefuseCarriedPackage(kPackageTruncatedText);
  if (integrity == PackageIntegrity::kDamaged) RefuseCarriedPackage(kPackageDamagedText);
  return g_chosen = PackageSource{*program, archive::FilePart{carried->offset, carried->size}};
}

PackageSource InstallPackage() { return g_chosen ? *g_chosen : FolderPackage(); }

void ForgetInstallPackage() { g_chosen.reset(); }

bool PackageExists(archive::FileSystem& files, const PackageSource& package) {
  return files.FileExists(package.path);
}

void OpenPackage(archive::TAbUnZipper& zip, const PackageSource& package) {
  if (package.part) {
    zip.OpenZip(package.path, *package.part);
  } else {
    zip.OpenZip(package.path);
  }
}

}  // namespace setuvane
