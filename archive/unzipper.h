// The unzip component: opens a ZIP archive by file name, lists its entries and
// extracts them below a base directory, asking its owner through events for a
// password and for leave to overwrite, and reporting progress and failed entries.
// Every event gets the component as Sender; answers come back through reference
// parameters preset before the handler runs (Abort false, Confirm true).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/archive_types.h"
#include "archive/decode_ahead.h"
#include "archive/file_part.h"
#include "archive/file_system.h"
#include "archive/zip_archive.h"

namespace setuvane::archive {

class TAbUnZipper;

using TAbArchiveProgressEvent = std::function<void(TAbUnZipper& sender, uint8_t progress, bool& abort)>;
using TAbArchiveItemProgressEvent =
    std::function<void(TAbUnZipper& sender, TAbArchiveItem& item, uint8_t progress, bool& abort)>;
using TNotifyEvent = std::function<void(TAbUnZipper& sender)>;
using TAbConfirmOverwriteEvent = std::function<void(std::string& name, bool& confirm)>;
using TAbArchiveItemConfirmEvent =
    std::function<void(TAbUnZipper& sender, TAbArchiveItem& item, TAbProcessType processType, bool& confirm)>;
using TAbArchiveEvent = std::function<void(TAbUnZipper& sender)>;
using TAbNeedPasswordEvent = std::function<void(TAbUnZipper& sender, std::string& newPassword)>;
using TAbArchiveItemFailureEvent = std::function<void(TAbUnZipper& sender, TAbArchiveItem& item,
                                                      TAbProcessType processType, TAbErrorClass errorClass,
                                                      int errorCode)>;
using TAbRequestDiskEvent = std::function<void(TAbUnZipper& sender, bool& abort)>;
using TAbRequestNthDiskEvent = std::function<void(TAbUnZipper& sender, uint8_t diskNumber, bool& abort)>;

class TAbUnZipper {
 public:
  // Files are reached through `fileSystem` (the real disk unless a test says otherwise).
  explicit TAbUnZipper(FileSystem& fileSystem = NativeFileSystem());
  ~TAbUnZipper();
  TAbUnZipper(const TAbUnZipper&) = delete;
  TAbUnZipper& operator=(const TAbUnZipper&) = delete;

  // Assigning the name opens that archive (a missing file opens none, without an
  // error); an empty name closes. Loading errors reach the caller, with the archive
  // kept and holding the entries read before the failure.
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& value);
  void OpenZip(const std::string& fileName) { SetFileName(fileName); }
  // Opens the archive that is `part` of the file (a package inside a program);
  // every other operation then reads it as if it were a file of its own.
  void OpenZip(const std::string& fileName, const FilePart& part);
  // Opens the archive that is `part` of `file`, a handle open on `fileName`: every
  // read, decoding ahead's too, goes through that handle.
  void OpenZip(const std::string& fileName, std::shared_ptr<ReadableFile> file, const FilePart& part);
  void CloseZip();

  int EntryCount() const;
  // nullptr when no archive is open; EListError for an index out of range.
  TAbZipItem* Entries(int index) const;

  // EAbNoArchive when no archive is open or it was made invalid by an abort.
  void ExtractMatching(const std::string& mask);
  void ExtractMarked();
  // Extracts the entry at `index` alone (its failure goes to OnProcessItemFailure).
  void ExtractEntry(int index);
  // Decodes the matching entries and checks their CRC without writing any file;
  // failures are reported like those of extraction (ProcessType ptTest).
  void TestMatching(const std::string& mask);

  const std::string& BaseDirectory() const { return baseDirectory_; }
  // With an archive open the folder must exist (EAbNoSuchDirectory otherwise).
  void SetBaseDirectory(const std::string& value);
  TAbExtractOptions ExtractOptions() const { return extractOptions_; }
  void SetExtractOptions(TAbExtractOptions value);
  const std::string& Password() const { return password_; }
  void SetPassword(const std::string& value);
  uint8_t PasswordRetries() const { return passwordRetries_; }
  void SetPasswordRetries(uint8_t value);
  static const char* Version() { return "1.06"; }

  // Decoding ahead (archive/decode_ahead.h): a worker thread decodes the entries an
  // extraction is going to write while the ones before them are written. On by
  // default with two processors or more; events, files and failures are the same
  // either way. `memory` bounds the bytes waiting (0: the default); `share` is for
  // tests.
  bool DecodeAheadEnabled() const { return decodeAhead_; }
  void SetDecodeAhead(bool enabled, size_t memory = 0, DecodeAheadShare share = DecodeAheadShare::kBalanced);
  // Tells which entries the ExtractEntry calls that follow will ask for, in this
  // order, so that they are decoded ahead (nothing happens when it is off).
  // ExtractMatching and ExtractMarked do this for themselves. Decoding ahead ends
  // with EndDecodeAhead, another plan, or the archive's closing.
  void PlanDecodeAhead(const std::vector<int>& entries);
  void EndDecodeAhead();

  // The open archive, or nullptr.
  TAbZipArchive* Archive() const { return archive_.get(); }
  // The text of the failure being reported, valid inside OnProcessItemFailure.
  const std::string& FailureText() const;

  TAbArchiveProgressEvent OnArchiveProgress;
  TAbArchiveItemProgressEvent OnArchiveItemProgress;
  TNotifyEvent OnChange;
  TAbConfirmOverwriteEvent OnConfirmOverwrite;
  TAbArchiveItemConfirmEvent OnConfirmProcessItem;
  TAbArchiveEvent OnLoad;
  TAbNeedPasswordEvent OnNeedPassword;
  TAbArchiveItemFailureEvent OnProcessItemFailure;
  TAbRequestDiskEvent OnRequestLastDisk;
  TAbRequestNthDiskEvent OnRequestNthDisk;

 private:
  void LoadFile(const std::string& fileName, std::shared_ptr<ReadableFile> file = nullptr);
  void InitArchive();
  TAbZipArchive& OpenArchive() const;
  template <typename Selected>
  void ExtractPlanned(Selected selected, const std::function<void(TAbZipArchive&)>& extract);

  FileSystem& fileSystem_;
  std::unique_ptr<TAbZipArchive> archive_;
  std::string fileName_;
  std::optional<FilePart> part_;
  std::string baseDirectory_;
  TAbExtractOptions extractOptions_ = eoCreateDirs;
  std::string password_;
  uint8_t passwordRetries_ = 3;
  bool decodeAhead_;
  size_t decodeAheadMemory_ = 0;
  DecodeAheadShare decodeAheadShare_ = DecodeAheadShare::kBalanced;
  std::unique_ptr<DecodeAhead> ahead_;  // after archive_: it goes first
};

}  // namespace setuvane::archive
