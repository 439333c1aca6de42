// An open archive: its file, its entries, the base directory that extraction writes
// below, and the extract operations that walk the entries and report through
// handlers. The format-specific parts (loading the directory, writing one entry)
// come from the derived class and from the extraction hook.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "archive/archive_list.h"
#include "archive/archive_types.h"
#include "archive/file_part.h"
#include "archive/file_system.h"

namespace setuvane::archive {

class TAbArchive {
 public:
  using ProgressHandler = std::function<void(uint8_t progress, bool& abort)>;
  using ItemProgressHandler = std::function<void(TAbArchiveItem& item, uint8_t progress, bool& abort)>;
  using ConfirmItemHandler = std::function<void(TAbArchiveItem& item, TAbProcessType type, bool& confirm)>;
  using ItemFailureHandler =
      std::function<void(TAbArchiveItem& item, TAbProcessType type, TAbErrorClass errorClass, int errorCode)>;
  using NotifyHandler = std::function<void()>;
  // Writes (or, for ptTest, checks) one entry; `name` is the target name.
  using ItemHook = std::function<void(TAbArchive& archive, TAbArchiveItem& item, const std::string& name)>;

  // Opens `fileName` for reading with sharing through `fileSystem` (EFOpenError);
  // with `part`, the archive is those bytes of the file.
  TAbArchive(FileSystem& fileSystem, const std::string& fileName, uint16_t mode,
             std::optional<FilePart> part = std::nullopt);
  // Reads the archive through `file`, a handle already open on `fileName`, which is
  // never opened by its name again.
  TAbArchive(FileSystem& fileSystem, const std::string& fileName, std::shared_ptr<ReadableFile> file, uint16_t mode,
             std::optional<FilePart> part = std::nullopt);
  virtual ~TAbArchive();
  TAbArchive(const TAbArchive&) = delete;
  TAbArchive& operator=(const TAbArchive&) = delete;

  virtual void LoadDirectory() = 0;

  const std::string& ArchiveName() const { return archiveName_; }
  FileSystem& Files() const { return fileSystem_; }
  ReadableFile& Stream() const { return *stream_; }
  // The archive's file opened once more, as the constructor opened it, for a reader
  // on another thread (decoding ahead); EFOpenError as there. An archive read
  // through a handle it was given reads through that handle again.
  std::unique_ptr<ReadableFile> OpenStreamAgain() const;
  uint16_t Mode() const { return mode_; }
  TAbArchiveStatus Status() const { return status_; }
  void SetStatus(TAbArchiveStatus status) { status_ = status; }

  int Count() const { return itemList_.Count(); }
  TAbZipItem& ItemAt(int index) const { return itemList_.Items(index); }
  TAbArchiveList& ItemList() { return itemList_; }
  TAbArchiveItem* CurrentItem() const { return currentItem_; }

  const std::string& BaseDirectory() const { return baseDirectory_; }
  // One trailing "\" is dropped; a non-empty value must name an existing folder,
  // else EAbNoSuchDirectory and nothing changes.
  void SetBaseDirectory(const std::string& value);
  TAbExtractOptions ExtractOptions() const { return extractOptions_; }
  void SetExtractOptions(TAbExtractOptions value) { extractOptions_ = value; }
  bool IsDirty() const { return isDirty_; }
  void SetDirty(bool value) { isDirty_ = value; }

  // Each entry failure ends here; this is the text of the latest one.
  const std::string& LastFailureText() const { return lastFailureText_; }

  // Extract operations; EAbNoArchive when the archive is invalid. Entry failures go
  // to OnProcessItemFailure; an abort through OnArchiveProgress raises EAbUserAbort.
  void ExtractEntry(int index);
  void ExtractMatching(const std::string& mask);
  void ExtractMarked();
  // Decodes and checks the matching entries without writing files (TestHelper).
  void TestMatching(const std::string& mask);

  ProgressHandler OnArchiveProgress;
  ItemProgressHandler OnArchiveItemProgress;
  ConfirmItemHandler OnConfirmProcessItem;
  ItemFailureHandler OnProcessItemFailure;
  NotifyHandler OnLoad;
  ItemHook ExtractHelper;
  ItemHook TestHelper;

 protected:
  // Makes the archive's bytes those that `decoding` makes of the file's, from now
  // on and for every stream opened again (a solid package's stream decoded).
  using StreamDecoding = std::function<std::unique_ptr<ReadableFile>(std::unique_ptr<ReadableFile> file)>;
  void DecodeStreamWith(StreamDecoding decoding);
  // Reports `progress`; an Abort answer makes the archive invalid and raises
  // EAbUserAbort unless `ignoreAbort`.
  void ReportArchiveProgress(uint8_t progress, bool ignoreAbort);

 private:
  void ProcessEntry(int index, TAbProcessType type);
  void ProcessEntries(const std::function<bool(TAbZipItem&)>& selected, TAbProcessType type);

  FileSystem& fileSystem_;
  std::string archiveName_;
  std::optional<FilePart> part_;  // the bytes of the file that are the archive; none: all
  std::shared_ptr<ReadableFile> given_;  // the handle it was given; none: opened by name
  std::unique_ptr<ReadableFile> stream_;
  StreamDecoding decoding_;  // none: the file's bytes are the archive's
  uint16_t mode_;
  std::string baseDirectory_;
  TAbArchiveStatus status_ = TAbArchiveStatus::asInvalid;
  TAbExtractOptions extractOptions_ = eoCreateDirs;
  TAbArchiveList itemList_;
  TAbArchiveItem* currentItem_ = nullptr;
  bool isDirty_ = false;
  std::string lastFailureText_;
};

// True when `path` names an existing folder; a path with "*" or "?" never does.
bool DirectoryExists(FileSystem& fileSystem, const std::string& path);

}  // namespace setuvane::archive
