#include "archive/unzipper.h"

#include "archive/exceptions.h"
#include "archive/mask_match.h"
#include "archive/unzip_entry.h"

namespace setuvane::archive {

TAbUnZipper::TAbUnZipper(FileSystem& fileSystem)
    : fileSystem_(fileSystem), decodeAhead_(DecodeAheadByDefault()) {}

TAbUnZipper::~TAbUnZipper() = default;

void TAbUnZipper::SetFileName(const std::string& value) {
  part_.reset();
  LoadFile(value);
}

void TAbUnZipper::OpenZip(const std::string& fileName, const FilePart& part) {
  part_ = part;
  LoadFile(fileName);
}

void TAbUnZipper::OpenZip(const std::string& fileName, std::shared_ptr<ReadableFile> file, const FilePart& part) {
  part_ = part;
  LoadFile(fileName, std::move(file));
}

void TAbUnZipper::LoadFile(const std::string& value, std::shared_ptr<ReadableFile> file) {
  fileName_ = value;
  ahead_.reset();
  // Nothing here is ever changed, so there is nothing to save before closing.
  archive_.reset();
  if (file) {
    archive_ = std::make_unique<TAbZipArchive>(fileSystem_, value, std::move(file), 0, part_);
  } else if (!value.empty() && fileSystem_.FileExists(value)) {
    archive_ = std::make_unique<TAbZipArchive>(fileSystem_, value, 0, part_);
  }
  if (archive_) {
    InitArchive();
    archive_->LoadDirectory();
  }
  if (OnChange) OnChange(*this);
}

void TAbUnZipper::CloseZip() {
  if (!fileName_.empty()) SetFileName("");
}

// Routes the archive's handlers to this component's events and copies the settings.
void TAbUnZipper::InitArchive() {
  TAbZipArchive& archive = *archive_;
  archive.OnArchiveProgress = [this](uint8_t progress, bool& abort) {
    if (OnArchiveProgress) OnArchiveProgress(*this, progress, abort);
  };
  archive.OnArchiveItemProgress = [this](TAbArchiveItem& item, uint8_t progress, bool& abort) {
    if (OnArchiveItemProgress) OnArchiveItemProgress(*this, item, progress, abort);
  };
  archive.OnConfirmProcessItem = [this](TAbArchiveItem& item, TAbProcessType type, bool& confirm) {
    if (OnConfirmProcessItem) OnConfirmProcessItem(*this, item, type, confirm);
  };
  archive.OnProcessItemFailure = [this](TAbArchiveItem& item, TAbProcessType type, TAbErrorClass errorClass,
                                        int errorCode) {
    if (OnProcessItemFailure) OnProcessItemFailure(*this, item, type, errorClass, errorCode);
  };
  archive.OnLoad = [this] {
    if (OnLoad) OnLoad(*this);
  };
  archive.OnRequestLastDisk = [this](bool& abort) {
    if (OnRequestLastDisk) OnRequestLastDisk(*this, abort);
  };
  archive.OnRequestNthDisk = [this](uint8_t disk, bool& abort) {
    if (OnRequestNthDisk) OnRequestNthDisk(*this, disk, abort);
  };
  archive.OnConfirmOverwrite = [this](std::string& name, bool& confirm) {
    confirm = true;
    if (OnConfirmOverwrite) OnConfirmOverwrite(name, confirm);
  };
  // The handler's answer becomes the password of the component and of the archive
  // (and so the first one tried on every later entry); without a handler the same
  // password is simply tried again.
  archive.OnNeedPassword = [this](std::string& password) {
    if (!OnNeedPassword) return;
    OnNeedPassword(*this, password);
    password_ = password;
    if (archive_) archive_->Password = password;
  };
  archive.ExtractHelper = [this](TAbArchive& a, TAbArchiveItem& item, const std::string& name) {
    UnzipEntry(static_cast<TAbZipArchive&>(a), static_cast<TAbZipItem&>(item), name, ahead_.get());
  };
  archive.TestHelper = [](TAbArchive& a, TAbArchiveItem& item, const std::string&) {
    TestEntry(static_cast<TAbZipArchive&>(a), static_cast<TAbZipItem&>(item));
  };
  archive.SetExtractOptions(extractOptions_);
  archive.Password = password_;
  archive.PasswordRetries = passwordRetries_;
  archive.SetBaseDirectory(baseDirectory_);
  baseDirectory_ = archive.BaseDirectory();
}

int TAbUnZipper::EntryCount() const { return archive_ ? archive_->Count() : 0; }

TAbZipItem* TAbUnZipper::Entries(int index) const { return archive_ ? &archive_->ItemAt(index) : nullptr; }

TAbZipArchive& TAbUnZipper::OpenArchive() const {
  if (!archive_) throw EAbNoArchive();
  return *archive_;
}

// Runs `extract` with the entries it is going to write decoded ahead, unless a plan
// of the caller's is running.
template <typename Selected>
void TAbUnZipper::ExtractPlanned(Selected selected, const std::function<void(TAbZipArchive&)>& extract) {
  TAbZipArchive& archive = OpenArchive();
  const bool planning = decodeAhead_ && !ahead_ && archive.Status() != TAbArchiveStatus::asInvalid;
  if (planning) {
    std::vector<int> entries;
    for (int i = 0; i < archive.Count(); ++i) {
      if (selected(archive.ItemAt(i))) entries.push_back(i);
    }
    PlanDecodeAhead(entries);
  }
  struct PlanEnd {
    TAbUnZipper& zip;
    bool planned;
    ~PlanEnd() {
      if (planned) zip.EndDecodeAhead();
    }
  } end{*this, planning};
  extract(archive);
}

void TAbUnZipper::ExtractMatching(const std::string& mask) {
  ExtractPlanned([&](const TAbZipItem& item) { return MatchesMask(item.StoredName(), mask); },
                 [&](TAbZipArchive& archive) { archive.ExtractMatching(mask); });
}

void TAbUnZipper::ExtractMarked() {
  ExtractPlanned([](const TAbZipItem& item) { return item.Marked; },
                 [](TAbZipArchive& archive) { archive.ExtractMarked(); });
}

void TAbUnZipper::SetDecodeAhead(bool enabled, size_t memory, DecodeAheadShare share) {
  decodeAhead_ = enabled;
  decodeAheadMemory_ = memory;
  decodeAheadShare_ = share;
  if (!enabled) EndDecodeAhead();
}

void TAbUnZipper::PlanDecodeAhead(const std::vector<int>& entries) {
  ahead_.reset();
  if (!decodeAhead_ || !archive_) return;
  try {
    ahead_ = std::make_unique<DecodeAhead>(
        *archive_, entries, decodeAheadMemory_ != 0 ? decodeAheadMemory_ : DecodeAhead::kDefaultMemory,
        decodeAheadShare_);
  } catch (const std::exception&) {
    // No thread to be had: every entry is decoded where it is written.
  }
}

void TAbUnZipper::EndDecodeAhead() { ahead_.reset(); }

void TAbUnZipper::ExtractEntry(int index) { OpenArchive().ExtractEntry(index); }

void TAbUnZipper::TestMatching(const std::string& mask) { OpenArchive().TestMatching(mask); }

void TAbUnZipper::SetBaseDirectory(const std::string& value) {
  if (!archive_) {
    baseDirectory_ = value;
    return;
  }
  archive_->SetBaseDirectory(value);
  baseDirectory_ = archive_->BaseDirectory();
}

void TAbUnZipper::SetExtractOptions(TAbExtractOptions value) {
  extractOptions_ = value;
  if (archive_) archive_->SetExtractOptions(value);
}

void TAbUnZipper::SetPassword(const std::string& value) {
  password_ = value;
  if (archive_) archive_->Password = value;
}

void TAbUnZipper::SetPasswordRetries(uint8_t value) {
  passwordRetries_ = value;
  if (archive_) archive_->PasswordRetries = value;
}

const std::string& TAbUnZipper::FailureText() const {
  static const std::string none;
  return archive_ ? archive_->LastFailureText() : none;
}

}  // namespace setuvane::archive
