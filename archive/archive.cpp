#include "archive/archive.h"

#include "archive/classify_failure.h"
#include "archive/exceptions.h"
#include "archive/mask_match.h"
#include "archive/percentage.h"

namespace setuvane::archive {

bool DirectoryExists(FileSystem& fileSystem, const std::string& path) {
  if (path.find_first_of("*?") != std::string::npos) return false;
  return fileSystem.FolderExists(path);
}

namespace {

std::unique_ptr<ReadableFile> OpenArchiveFile(FileSystem& fileSystem, const std::string& fileName,
                                              const std::shared_ptr<ReadableFile>& given,
                                              const std::optional<FilePart>& part) {
  std::unique_ptr<ReadableFile> file =
      given ? std::make_unique<SharedFileReader>(given) : fileSystem.OpenRead(fileName);
  if (!part) return file;
  return std::make_unique<FilePartReader>(std::move(file), *part);
}

}  // namespace

TAbArchive::TAbArchive(FileSystem& fileSystem, const std::string& fileName, uint16_t mode,
                       std::optional<FilePart> part)
    : fileSystem_(fileSystem), archiveName_(fileName), part_(part),
      stream_(OpenArchiveFile(fileSystem, fileName, nullptr, part)), mode_(mode) {
  status_ = TAbArchiveStatus::asIdle;
}

TAbArchive::TAbArchive(FileSystem& fileSystem, const std::string& fileName, std::shared_ptr<ReadableFile> file,
                       uint16_t mode, std::optional<FilePart> part)
    : fileSystem_(fileSystem), archiveName_(fileName), part_(part), given_(std::move(file)),
      stream_(OpenArchiveFile(fileSystem, fileName, given_, part)), mode_(mode) {
  status_ = TAbArchiveStatus::asIdle;
}

TAbArchive::~TAbArchive() = default;

std::unique_ptr<ReadableFile> TAbArchive::OpenStreamAgain() const {
  std::unique_ptr<ReadableFile> file = OpenArchiveFile(fileSystem_, archiveName_, given_, part_);
  return decoding_ ? decoding_(std::move(file)) : std::move(file);
}

void TAbArchive::DecodeStreamWith(StreamDecoding decoding) {
  stream_ = decoding(std::move(stream_));
  decoding_ = std::move(decoding);
}

void TAbArchive::SetBaseDirectory(const std::string& value) {
  std::string folder = value;
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  if (!folder.empty() && !DirectoryExists(fileSystem_, folder)) throw EAbNoSuchDirectory();
  baseDirectory_ = folder;
}

void TAbArchive::ReportArchiveProgress(uint8_t progress, bool ignoreAbort) {
  bool abort = false;
  if (OnArchiveProgress) OnArchiveProgress(progress, abort);
  if (abort && !ignoreAbort) {
    status_ = TAbArchiveStatus::asInvalid;
    throw EAbUserAbort();
  }
}

void TAbArchive::ExtractEntry(int index) { ProcessEntry(index, TAbProcessType::ptExtract); }

void TAbArchive::ProcessEntry(int index, TAbProcessType type) {
  // After an abort inside an entry this stops the operation at the next selected one.
  if (status_ == TAbArchiveStatus::asInvalid) throw EAbNoArchive();
  TAbZipItem& item = ItemAt(index);
  status_ = TAbArchiveStatus::asBusy;
  bool confirm = true;
  if (OnConfirmProcessItem) OnConfirmProcessItem(item, type, confirm);
  if (confirm) {
    currentItem_ = &item;
    try {
      const ItemHook& hook = type == TAbProcessType::ptTest ? TestHelper : ExtractHelper;
      if (!hook) throw EAbZipNoExtraction();
      hook(*this, item, item.StoredName());
    } catch (...) {
      const ClassifiedFailure failure = ClassifyFailure(std::current_exception());
      lastFailureText_ = failure.text;
      if (OnProcessItemFailure) OnProcessItemFailure(item, type, failure.errorClass, failure.errorCode);
    }
    currentItem_ = nullptr;
  }
  if (status_ != TAbArchiveStatus::asInvalid) status_ = TAbArchiveStatus::asIdle;
}

void TAbArchive::ProcessEntries(const std::function<bool(TAbZipItem&)>& selected, TAbProcessType type) {
  if (status_ == TAbArchiveStatus::asInvalid) throw EAbNoArchive();
  const int count = Count();
  if (count == 0) return;
  for (int i = 0; i < count; ++i) {
    if (selected(ItemAt(i))) ProcessEntry(i, type);
    ReportArchiveProgress(Percentage(i + 1, count), false);
  }
  ReportArchiveProgress(100, true);
}

void TAbArchive::ExtractMatching(const std::string& mask) {
  ProcessEntries([&](TAbZipItem& item) { return MatchesMask(item.StoredName(), mask); },
                 TAbProcessType::ptExtract);
}

void TAbArchive::ExtractMarked() {
  ProcessEntries([](TAbZipItem& item) { return item.Marked; }, TAbProcessType::ptExtract);
}

void TAbArchive::TestMatching(const std::string& mask) {
  ProcessEntries([&](TAbZipItem& item) { return MatchesMask(item.StoredName(), mask); },
                 TAbProcessType::ptTest);
}

}  // namespace setuvane::archive
