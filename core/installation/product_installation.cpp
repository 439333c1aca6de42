#include "core/installation/product_installation.h"

#include "core/run/abort_installation.h"
#include "core/package/install_package.h"
#include "core/run/installer_state.h"
#include "core/package/package_source.h"
#include "core/package/package_texts.h"
#include "core/run/problem_reports.h"
#include "core/wizard/wizard_texts.h"
#include "core/package/product_destinations.h"
#include "core/installation/product_file_claim.h"
#include "core/package/settings.h"
#include "dialogs/application_title.h"
#include "dialogs/message_routines.h"
#include "system/cp1250.h"
#include "system/folder_macros.h"
#include "system/install_journal.h"
#include "system/machine.h"
#include "system/path_identity.h"
#include "system/shared_file_counts.h"
#include "system/system_queries.h"
#include "system/text_helpers.h"
#include "system/uninstall_items.h"

namespace setuvane {
namespace {

// How many coming files one batch of the uninstall record announces: each batch
// costs a write through to the disk, and a run stopped half-way leaves at most
// this many recorded that were never written ("already gone" to the uninstaller).
constexpr int kFilesRecordedAhead = 256;
constexpr std::uint64_t kBytesRecordedAhead = 64u << 20;

}  // namespace

ProductInstallation::ProductInstallation(WizardView& view, archive::FileSystem& files)
    : view_(view), files_(files), keptAside_(files), zipPacker_(keptAside_) {
  zipPacker_.OnArchiveItemProgress = [this](archive::TAbUnZipper&, archive::TAbArchiveItem&, uint8_t progress,
                                            bool&) { zipPackerArchiveItemProgress(progress); };
  zipPacker_.OnConfirmOverwrite = [this](std::string& name, bool& confirm) { zipPackerConfirmOverwrite(name, confirm); };
  // The package password first, as for the setup files (core/package/install_package.cpp).
  zipPacker_.SetPassword(kPackagePassword);
  zipPacker_.OnNeedPassword = [](archive::TAbUnZipper&, std::string& password) { SupplyPackagePassword(password); };
  // A file that cannot be written, a bad checksum or a wrong password stops the
  // installation with its own text instead of passing unnoticed.
  zipPacker_.OnProcessItemFailure = [this](archive::TAbUnZipper& sender, archive::TAbArchiveItem&,
                                           archive::TAbProcessType, archive::TAbErrorClass,
                                           int) { entryFailure_ = sender.FailureText(); };
}

bool ProductInstallation::PreparePayload() {
  const PackageTexts& t = PackageText();
  CurrentMachine().ChangeCurrentDirectory(LaunchFolder);
  try {
    const PackageSource package = InstallPackage();
    if (!PackageExists(files_, package)) {
      ReportProblem(t.payloadMissing.title, FormatOne(t.payloadMissing.message, kPackageName),
                    t.payloadMissing.hint, t.payloadMissing.details);
      EndProgramAtOnce();
    }
    destinations_.clear();
    OpenPackage(zipPacker_, package);
    for (int i = 0; i < zipPacker_.EntryCount(); ++i) {
      archive::TAbZipItem& entry = *zipPacker_.Entries(i);
      const std::string destination = TrimControl(Cp1250ToUtf8(entry.ExtraText()));
      destinations_.push_back(destination);
      if (destination.empty()) continue;
      const std::string folder = ProductFolderOf(destination, ProductLocation);
      entry.SetExtraText(folder);
      // A name the system cannot hold is refused before anything is written.
      const std::string name = Cp1250ToUtf8(entry.StoredName());
      if (!folder.empty() && !SystemHoldsName(ProductFilePath(folder, name))) {
        const ReportTexts& r = WizardText().fileNotInstalled;
        ReportProblem(r.title, r.message, r.hint + Quoted(name), WizardText().nameNotHeld);
        return false;
      }
    }
  } catch (const std::exception& failure) {
    ReportProblem(t.packageInvalid, failure.what());
    return false;
  }
  return true;
}

bool ProductInstallation::InstallProductFiles() {
  const int count = zipPacker_.EntryCount();
  // The product entries are decoded ahead, on a second processor, while the ones
  // before them are written; whatever is left when this returns is thrown away.
  std::vector<int> productEntries;
  for (int i = 0; i < count; ++i) {
    if (!TrimControl(zipPacker_.Entries(i)->ExtraText()).empty()) productEntries.push_back(i);
  }
  zipPacker_.PlanDecodeAhead(productEntries);
  recordedEntries_.assign(static_cast<size_t>(count), false);
  recordedFolders_.clear();
  programFolder_ = NormalPath(ProductLocation);
  struct PlanEnd {
    archive::TAbUnZipper& zip;
    ~PlanEnd() { zip.EndDecodeAhead(); }
  } planEnd{zipPacker_};
  for (int i = 0; i < count; ++i) {
    archive::TAbZipItem& entry = *zipPacker_.Entries(i);
    const std::string folder = TrimControl(entry.ExtraText());
    const std::string name = Cp1250ToUtf8(entry.StoredName());
    view_.SetProgressCaption(name);
    view_.KeepResponsive();
    const bool product = i < static_cast<int>(destinations_.size()) && !destinations_[i].empty();
    if (product && !DestinationUsable(destinations_[i], folder)) return false;
    if (!folder.empty() && UninstallRecording() && !recordedEntries_[static_cast<size_t>(i)]) {
      RecordComingFiles(i);
    }
    // Nothing more is written once the record cannot say so.
    if (!UninstallRecordKept()) return false;
    if (!folder.empty() && !(EnterFolder(folder) && InstallEntry(i, folder, name))) return false;
    view_.SetOverallPosition((i + 1) * 100 / count);
  }
  return true;
}

bool ProductInstallation::DestinationUsable(const std::string& destination, const std::string& folder) {
  const WizardTexts& t = WizardText();
  // A folder macro of a shell folder this system does not have leaves nothing; a
  // folder that is no full path would land beside the installer on the medium.
  const bool unknown = folder.empty();
  if (!unknown && IsFullFolderPath(folder)) return true;
  ReportProblem(t.folderNotOpened.title, t.folderNotOpened.message,
                t.folderNotOpened.hint + Quoted(unknown ? destination : folder),
                unknown ? t.destinationUnknown : t.destinationNotFull);
  return false;
}

bool ProductInstallation::EnterFolder(const std::string& folder) {
  const WizardTexts& t = WizardText();
  if (!knownFolders_.count(folder) && !CanEnterDirectory(folder)) {
    try {
      if (UninstallRecording() && !RecordFoldersToCreate(FolderLevelsToRecord(folder), UninstallItemKind::kFolder))
        return false;
      EnsureDirectory(folder);
    } catch (const std::exception& failure) {
      ReportProblem(t.folderNotCreated.title, t.folderNotCreated.message, t.folderNotCreated.hint + Quoted(folder),
                    failure.what());
      return false;
    }
  }
  // A folder that could not be made is told here, as one that cannot be opened.
  if (folder != baseFolder_) {
    try {
      zipPacker_.SetBaseDirectory(folder);
    } catch (const std::exception& failure) {
      ReportProblem(t.folderNotOpened.title, t.folderNotOpened.message, t.folderNotOpened.hint + Quoted(folder),
                    failure.what());
      return false;
    }
    baseFolder_ = folder;
  }
  knownFolders_.insert(folder);
  return true;
}

bool ProductInstallation::InstallEntry(int index, const std::string& folder, const std::string& name) {
  entryFailure_.reset();
  declined_ = false;
  const bool recordedAhead = !UninstallRecording() || recordedEntries_[static_cast<size_t>(index)];
  if (!recordedAhead) askedFile_.emplace(index, ProductFilePath(folder, name));
  try {
    zipPacker_.ExtractEntry(index);
  } catch (const std::exception& error) {
    entryFailure_ = error.what();
  }
  if (entryFailure_) {
    const ReportTexts& t = WizardText().fileNotInstalled;
    ReportProblem(t.title, t.message, t.hint + Quoted(name), *entryFailure_);
    return false;
  }
  // A file that waited for the overwrite question and vanished before it was asked.
  if (askedFile_ && !declined_) RecordFile(index, askedFile_->second, false);  // it was gone when written
  askedFile_.reset();
  if (!UninstallRecordKept()) return false;
  if (JournalActive()) JournalNote((declined_ ? "kept: " : "file: ") + ProductFilePath(folder, name));
  return true;
}

void ProductInstallation::RecordComingFiles(int index) {
  UninstallItemBatch batch;
  std::set<std::string> checkedFolders;
  std::uint64_t bytes = 0;
  const int count = zipPacker_.EntryCount();
  for (int i = index, files = 0; i < count && files < kFilesRecordedAhead && bytes < kBytesRecordedAhead; ++i) {
    archive::TAbZipItem& entry = *zipPacker_.Entries(i);
    const std::string folder = TrimControl(entry.ExtraText());
    if (folder.empty() || !IsFullFolderPath(folder)) continue;
    const std::string name = Cp1250ToUtf8(entry.StoredName());
    const std::string path = ProductFilePath(folder, name);
    // Only a file replaced at the overwrite question is the installation's.
    const bool userData = HoldsUserData(name);
    if (userData && files_.FileExists(path)) {
      if (i == index) return;
      break;
    }
    if (!knownFolders_.count(folder) && checkedFolders.insert(folder).second && !CanEnterDirectory(folder))
      RecordFoldersToCreate(FolderLevelsToRecord(folder), UninstallItemKind::kFolder);
    if (!RecordFile(i, path, userData ? std::optional<bool>(false) : std::nullopt)) return;
    bytes += entry.UncompressedSize();
    ++files;
  }
}

std::vector<std::string> ProductInstallation::FolderLevelsToRecord(const std::string& folder) {
  std::vector<std::string> levels;
  for (std::string& level : MissingFolderLevels(NormalPath(folder)))
    if (recordedFolders_.insert(level).second) levels.push_back(std::move(level));
  return levels;
}

bool ProductInstallation::RecordFile(int index, const std::string& writtenPath, std::optional<bool> there) {
  if (!UninstallRecordKept()) return false;
  {
    UninstallItemBatch batch;  // the file's line with its line "aside"
    const archive::TAbZipItem& entry = *zipPacker_.Entries(index);
    const std::string path = NormalPath(writtenPath);
    const std::string folder = path.substr(0, path.find_last_of('\\'));
    // In a folder this run made nothing lay before: a fresh installation asks the
    // disk about none of its files. A folder an earlier installation made may hold
    // another product's since. The disk is asked once, for the attributes: they
    // also tell how the file is kept aside when it is written over.
    std::optional<std::optional<std::uint32_t>> lying;  // asked: the attributes of what lies there
    const auto attributes = [&] {
      if (!lying) lying = FolderMadeThisRun(folder) ? std::nullopt : files_.Attributes(writtenPath);
      return *lying;
    };
    const auto occupied = [&] {
      const std::optional<std::uint32_t> found = attributes();
      return found && (*found & archive::kFolderAttribute) == 0;
    };
    const std::optional<UninstallItem> recorded = RecordedFile(path);
    const ProductFileClaim claim = ClaimProductFile(
        {path, entry.UncompressedSize(), entry.CRC32(), NormalPathWithin(path, programFolder_), recorded},
        [&] { return there.value_or(occupied()); },
        [&] { return SharedFileCounted(recorded ? recorded->path : path); });
    // Counted before the record says so: a run stopped in between leaves the count
    // one too high, so the file outlives its last product, never one too low, which
    // would delete it under a product that still counts it.
    if (claim.countInForEarlierOwner && !CountSharedFileIn(claim.item.path, *claim.countInForEarlierOwner))
      JournalNote("shared file count not written: " + claim.item.path);
    recordedEntries_[static_cast<size_t>(index)] = true;
    RecordUninstallItem(claim.item);
    // A file lying there now is kept aside when it is written over; one that
    // waited for the overwrite question (`there`) goes when its replacement is ready.
    if (!there) {
      if (const std::optional<std::uint32_t> found = attributes()) keptAside_.Announce(writtenPath, found);
    } else if (*there) {
      keptAside_.Announce(writtenPath, std::nullopt);
    }
  }
  return UninstallRecordKept();
}

void ProductInstallation::zipPackerArchiveItemProgress(int progress) { view_.SetInstallPosition(progress); }

void ProductInstallation::zipPackerConfirmOverwrite(std::string& name, bool& confirm) {
  confirm = true;
  if (!HoldsUserData(name)) return;
  const std::string question = FormatOne(WizardText().overwriteQuestionFormat, FileNamePart(name));
  confirm = ShowMessageDialog(ApplicationTitle(), question, kKindQuestion) == kResultYes;
  declined_ = !confirm;
  // Replaced: recorded before it is written; not written when the record cannot say so.
  if (confirm && askedFile_) confirm = RecordFile(askedFile_->first, askedFile_->second, true);
  if (confirm) askedFile_.reset();
}

}  // namespace setuvane
