#include "core/package/package_source.h"

#include <memory>

#include "archive/unzipper.h"
#include "core/run/abort_installation.h"
#include "core/package/embedded_package.h"
#include "core/run/exit_codes.h"
#include "core/package/package_texts.h"
#include "core/run/installer_state.h"
#include "core/run/problem_reports.h"
#include "system/install_journal.h"
#include "system/machine.h"

namespace setuvane {
namespace {

std::optional<PackageSource> g_chosen;

PackageSource FolderPackage() { return {LaunchFolder + kPackageName, std::nullopt, nullptr}; }

[[noreturn]] void RefuseCarriedPackage(const char* failure) {
  ReportProblem(PackageText().packageInvalid, failure);
  SetEndingExitCode(kExitPackageUnreadable);
  EndProgramAtOnce();
}

// The package the running program carries, through the handle it was checked by.
// Its record is read with others' sharing first: a program that names a package
// must then get the handle nobody may write through, or it installs nothing (a
// folder medium beside it is never a fallback).
std::optional<PackageSource> CarriedPackage(archive::FileSystem& files) {
  const std::optional<std::string> program = CurrentMachine().ModulePath();
  if (!program) return std::nullopt;
  try {
    if (!ReadEmbeddedPackage(*files.OpenRead(*program))) return std::nullopt;
  } catch (const std::exception&) {
    // The running program's own file cannot be read: it carries nothing usable.
    return std::nullopt;
  }
  std::shared_ptr<archive::ReadableFile> file;
  std::optional<EmbeddedPackage> carried;
  PackageIntegrity integrity = PackageIntegrity::kIntact;
  try {
    file = files.OpenReadLocked(*program);
    carried = ReadEmbeddedPackage(*file);
    if (carried) integrity = CheckEmbeddedPackage(*file, *carried);
  } catch (const std::exception& failure) {
    RefuseCarriedPackage(failure.what());
  }
  if (!carried) RefuseCarriedPackage(kPackageTruncatedText);  // changed since it was read a moment ago
  if (integrity == PackageIntegrity::kTruncated) RefuseCarriedPackage(kPackageTruncatedText);
  if (integrity == PackageIntegrity::kDamaged) RefuseCarriedPackage(kPackageDamagedText);
  return PackageSource{*program, archive::FilePart{carried->offset, carried->size}, std::move(file)};
}

}  // namespace

std::optional<PackageSource> LocateInstallPackage(archive::FileSystem& files) {
  g_chosen.reset();
  const PackageSource folder = FolderPackage();
  if (std::optional<PackageSource> carried = CarriedPackage(files)) {
    if (files.FileExists(folder.path)) JournalNote("ignored beside the single file: " + folder.path);
    return g_chosen = std::move(carried);
  }
  if (files.FileExists(folder.path)) return g_chosen = folder;
  return std::nullopt;
}

PackageSource InstallPackage() { return g_chosen ? *g_chosen : FolderPackage(); }

void ForgetInstallPackage() { g_chosen.reset(); }

bool PackageExists(archive::FileSystem& files, const PackageSource& package) {
  return package.file != nullptr || files.FileExists(package.path);
}

void OpenPackage(archive::TAbUnZipper& zip, const PackageSource& package) {
  if (package.file) {
    zip.OpenZip(package.path, package.file, *package.part);
  } else if (package.part) {
    zip.OpenZip(package.path, *package.part);
  } else {
    zip.OpenZip(package.path);
  }
}

std::string ComponentFolder() { return InstallPackage().Carried() ? SetupFolder : LaunchFolder; }

}  // namespace setuvane
