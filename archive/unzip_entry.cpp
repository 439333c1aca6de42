#include "archive/unzip_entry.h"

#include <atomic>
#include <cctype>
#include <limits>
#include <memory>
#include <optional>

#include "archive/decode_ahead.h"
#include "archive/entry_decoding.h"
#include "archive/exceptions.h"
#include "archive/read_ahead_stream.h"
#include "archive/runtime_errors.h"
#include "archive/target_path.h"
#include "archive/unzip_helper.h"

namespace setuvane::archive {
namespace {


// The progress of `item` as its event: an Abort answer stops the entry.
OutputSink::ProgressHandler ItemProgress(TAbZipArchive& archive, TAbZipItem& item) {
  return [&archive, &item](uint8_t percent) {
    bool abort = false;
    if (archive.OnArchiveItemProgress) archive.OnArchiveItemProgress(item, percent, abort);
    if (abort) throw EAbUserAbort();
  };
}

// Decodes the entry here, on the caller's thread; the decoder asks the archive's
// owner for another password when the one it has fails.
void DecodeHere(TAbZipArchive& archive, TAbZipItem& item, int64_t dataOffset, WritableFile& target) {
  const EntryFacts entry = EntryFacts::Of(archive, item);
  TAbZDecoder* decoder = nullptr;
  if (entry.encrypted) {
    auto made = MakeEntryDecoder(entry, archive.Password, archive.PasswordRetries);
    if (archive.OnNeedPassword) made->SetNeedPassword(archive.OnNeedPassword);
    decoder = made.get();
    item.SetDecoder(std::move(made));
  }
  DecodeChecked(archive.Stream(), entry, decoder, dataOffset, target, ItemProgress(archive, item), archive.Buffers());
}

// The temporary files that hold an entry until it replaces an existing file are
// named "~sv", five digits, ".tmp" (an 8.3 name, so that FAT without long names
// takes it too). Only names of exactly that form count as ours.
constexpr char kTemporaryPrefix[] = "~sv";
constexpr int kTemporaryDigits = 5;

bool IsTemporaryName(const std::string& name) {
  if (name.size() != 3 + kTemporaryDigits + 4) return false;
  const auto sameLetters = [&](size_t at, const char* text) {
    for (size_t i = 0; text[i] != 0; ++i) {
      if (std::tolower(static_cast<unsigned char>(name[at + i])) != text[i]) return false;
    }
    return true;
  };
  for (int i = 0; i < kTemporaryDigits; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(name[3 + i]))) return false;
  }
  return sameLetters(0, kTemporaryPrefix) && sameLetters(3 + kTemporaryDigits, ".tmp");
}

// A new file in `folder` ("" = the current one) that no one else uses.
std::unique_ptr<WritableFile> CreateTemporary(FileSystem& files, const std::string& folder,
                                              const std::string& target, std::string& name) {
  static std::atomic<unsigned> counter{0};
  const std::string prefix = folder.empty() ? kTemporaryPrefix : folder + "\\" + kTemporaryPrefix;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    const std::string digits = std::to_string(100000 + counter++ % 100000).substr(1);
    name = prefix + digits + ".tmp";
    if (auto file = files.CreateNew(name)) return file;
    if (!files.FileExists(name)) break;  // not a name clash: the folder refuses files
  }
  throw EFCreateError(target);
}

// A temporary file of ours is left behind only when a process ended inside an entry
// (a crash, a power cut): every failure inside this process removes its own. The
// first entry this archive writes into a folder therefore removes those it finds
// there, except the entry's own target `keep`. One in use by another running
// extraction stays: on Windows it is open without sharing and cannot be deleted.
// The folders the archive made itself have none: MakeFolders marks them swept.
void RemoveStaleTemporaries(TAbZipArchive& archive, const std::string& folder, const std::string& keep) {
  if (!archive.SweptFolders().insert(folder).second) return;
  FileSystem& files = archive.Files();
  for (const std::string& name : files.FileNamesStartingWith(folder, kTemporaryPrefix)) {
    const std::string path = folder.empty() ? name : folder + "\\" + name;
    if (IsTemporaryName(name) && path != keep) files.Remove(path);
  }
}

class DiscardingFile final : public WritableFile {
 public:
  void Write(const uint8_t*, size_t) override {}
  bool SetModificationTime(uint16_t, uint16_t) override { return true; }
  void Close() override {}
};

void RunGuarded(TAbZipArchive& archive, const std::function<void()>& work, const std::function<void()>& cleanUp) {
  try {
    work();
  } catch (const EAbUserAbort&) {
    archive.SetStatus(TAbArchiveStatus::asInvalid);
    cleanUp();
    throw;
  } catch (...) {
    cleanUp();
    throw;
  }
}

}  // namespace

void UnzipEntry(TAbZipArchive& archive, TAbZipItem& item, const std::string& name, DecodeAhead* ahead) {
  // Decoded ahead, the entry fails its header checks here all the same, before its
  // target is touched.
  std::unique_ptr<AheadEntry> decoded = ahead != nullptr ? ahead->Take(archive, item) : nullptr;
  int64_t dataOffset = 0;
  if (decoded) decoded->ThrowEarlyFailure();
  else dataOffset = LocateData(archive.Stream(), EntryFacts::Of(archive, item));
  FileSystem& files = archive.Files();
  const bool restorePath = (archive.ExtractOptions() & eoRestorePath) != 0;
  const bool createDirs = (archive.ExtractOptions() & eoCreateDirs) != 0;

  if (IsFolderName(name)) {  // a folder entry makes its folder and writes no file
    if (!restorePath) return;
    std::string folder = TargetPath(archive.BaseDirectory(), name.substr(0, name.size() - 1), true);
    if (DirectoryExists(files, folder)) return;
    if (!createDirs) throw EAbNoSuchDirectory();
    MakeFolders(files, folder, &archive.SweptFolders());
    return;
  }

  std::string path = TargetPath(archive.BaseDirectory(), name, restorePath);
  const std::string folder = FolderOf(path);
  // The usual case first: a new file in a folder that exists. When that succeeds
  // there is no folder to make and nothing to ask about, so the checks below
  // would only have cost system calls.
  std::string writtenName = path;
  std::optional<uint32_t> oldAttributes;  // of the file being replaced
  std::unique_ptr<WritableFile> file = files.CreateNew(path);
  if (file) RemoveStaleTemporaries(archive, folder, path);
  if (!file) {
    if (!folder.empty() && !DirectoryExists(files, folder)) {
      if (!createDirs) throw EAbNoSuchDirectory();
      MakeFolders(files, folder, &archive.SweptFolders());
    }
    RemoveStaleTemporaries(archive, folder, path);
    bool confirm = true;
    const bool replacing = files.FileExists(path);
    if (replacing && archive.OnConfirmOverwrite) archive.OnConfirmOverwrite(path, confirm);
    if (!confirm) return;
    // A read-only file cannot be created over: the entry fails as that creation
    // would, before anything is decoded, and the file stays as it is.
    oldAttributes = files.Attributes(path);
    if (oldAttributes && (*oldAttributes & kReadOnlyAttribute) != 0) throw EFCreateError(path);
    // With no file to protect the entry is written under its own name; otherwise
    // into a temporary file that replaces the target only once the entry is sound.
    writtenName = path;
    if (!replacing) file = files.CreateNew(path);
    if (!file) file = CreateTemporary(files, FolderOf(path), path, writtenName);
  }
  RunGuarded(
      archive,
      [&] {
        if (decoded) decoded->WriteTo(*file, archive, item, ItemProgress(archive, item));
        else DecodeHere(archive, item, dataOffset, *file);
        file->SetModificationTime(item.LastModFileDate(), item.LastModFileTime());  // a failure is ignored
        file->Close();
        file.reset();
        if (writtenName == path) return;
        // The new file takes the old one's attributes (hidden, system...) and, being
        // new content, the archive attribute that a new file has anyway; so only a
        // file with more than that costs a call. Where the call fails the file keeps
        // its own, as a failed time stamp is ignored too.
        constexpr uint32_t kKept = kSettableAttributes & ~(kReadOnlyAttribute | kArchiveAttribute);
        if (oldAttributes && (*oldAttributes & kFolderAttribute) == 0 && (*oldAttributes & kKept) != 0) {
          files.SetAttributes(writtenName, (*oldAttributes & kKept) | kArchiveAttribute);
        }
        if (!files.Replace(writtenName, path)) throw EFCreateError(path);
      },
      [&] {
        file.reset();
        files.Remove(writtenName);
      });
}

void TestEntry(TAbZipArchive& archive, TAbZipItem& item) {
  const int64_t dataOffset = LocateData(archive.Stream(), EntryFacts::Of(archive, item));
  if (IsFolderName(item.StoredName())) return;
  DiscardingFile nowhere;
  RunGuarded(archive, [&] { DecodeHere(archive, item, dataOffset, nowhere); }, [] {});
}

}  // namespace setuvane::archive
