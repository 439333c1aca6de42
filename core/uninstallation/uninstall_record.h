// The uninstall record: the file beside the uninstaller that lists what an
// installation changed (system/uninstall_items.h), written line by line while the
// installation runs so that a run stopped half-way can still be undone, and read
// back by the uninstaller. docs/uninstall-record.md describes the format: a
// versioned first line, then one line per item whose last field is a CRC-32
// chained through every line before it, so that a changed, lost or reordered line
// is found and nothing is removed on the strength of a damaged record. A line is
// written before the change it announces; the product's entry holds the record's
// length and SHA-256 digest as last written (its seal), which only an
// administrator can change (core/uninstallation/record_authentication.h).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/uninstallation/uninstall_files.h"
#include "system/sha256.h"
#include "system/uninstall_items.h"

namespace setuvane {

// The heading this program writes. Records of version 1 (texts in Windows-1250)
// are read as well.
inline constexpr std::string_view kUninstallRecordHeading = "SETUVANE UNINSTALL RECORD 2";

// What the record held before the run that a "begin" item starts: nothing (a
// first installation), a completed installation, or one that never finished.
inline constexpr std::string_view kEarlierNone = "none";
inline constexpr std::string_view kEarlierComplete = "complete";
inline constexpr std::string_view kEarlierUnfinished = "unfinished";

// The kinds of line that only a run that has not finished needs ("begin",
// "aside", "pending"); a record is written anew without them once it has ended.
bool IsRunLine(UninstallItemKind kind);

// One item as its line (with CR LF); `chain` is the previous line's check value
// and becomes this line's.
std::string UninstallRecordLine(const UninstallItem& item, std::uint32_t& chain);

// The heading line and the lines of `items`.
std::string UninstallRecordText(const std::vector<UninstallItem>& items);

// A record being written anew lies beside its place under this suffix until it is
// moved there; its seal may already name it (see UninstallRecordWriter::Rewrite).
inline constexpr std::string_view kPendingRecordSuffix = ".new";

struct ParsedUninstallRecord {
  std::vector<UninstallItem> items;
  std::string problem;  // empty when the record verified; else what is wrong (English)
  bool tornTail = false;  // a last line cut off (by a stop while it was written) was left out
  // The bytes of the heading and of the whole lines before the first that fails.
  size_t verifiedLength = 0;
  bool Verified() const { return problem.empty(); }
  bool Complete() const;  // the installation reached its end
};

// Items of either version, their texts in UTF-8: those of version 1 taken in the
// system's code page, in which the ANSI calls of the version that wrote them named
// the files, keys and values. A last line without its line end is left out: the
// run that wrote it stopped before the change it announces.
ParsedUninstallRecord ParseUninstallRecord(std::string_view text);

// The product key that the record's readable lines (those before any damage) name
// in their latest product item; nullopt when they name none.
std::optional<std::string> ProductKeyNamed(std::string_view text);

// The record's length in bytes and its SHA-256 digest (64 lower-case hexadecimal
// digits) as the product's entry keeps them.
struct RecordSeal {
  std::uint64_t length = 0;
  std::string digest;
  bool operator==(const RecordSeal&) const = default;
};

// The seal of the whole of `text`.
RecordSeal SealOf(std::string_view text);

// The part of `text` that `seal` vouches for: its first seal.length bytes when
// their digest is the seal's (what lies beyond was written after the seal and is
// not trusted); nullopt when the text is shorter or differs.
std::optional<std::string_view> SealedPart(std::string_view text, const RecordSeal& seal);

// Stores a seal where the uninstaller will look for it (the product's entry);
// `lasting`: on the disk before it returns, not only in the system's memory.
using RecordSealer = std::function<bool(const RecordSeal& seal, bool lasting)>;

// The record of a second installation of the same product over an earlier one:
// the earlier items first, then the new ones that are not among them. A file
// written again keeps its place and takes the new size and check value; a
// registry value keeps what it held before the first installation; the product's
// name and display name are the latest; completion is the new run's. Items of
// HKEY_CURRENT_USER are the same only in one account's registry (kUser).
std::vector<UninstallItem> MergeUninstallItems(const std::vector<UninstallItem>& earlier,
                                               const std::vector<UninstallItem>& later);

// Writes the record ahead of the changes it lists. Start writes what an earlier
// installation left (and so the heading); Announce queues the line of a change to
// come and Commit writes the queued lines in one piece, has them reach the disk
// and then seals the record up to its new end: only after that may the changes be
// made. So a run stopped at any moment leaves a sealed record that lists every
// change made (and perhaps some that never happened: "already gone" to the
// uninstaller), and a tail beyond the seal that nobody trusts.
class UninstallRecordWriter {
 public:
  UninstallRecordWriter(UninstallFiles& files, std::string path, RecordSealer sealer = {})
      : files_(files), path_(std::move(path)), sealer_(std::move(sealer)) {}
  // The earlier items without their end, then lasting on the disk (see Rewrite).
  bool Start(const std::vector<UninstallItem>& earlier);
  void Announce(const UninstallItem& item);
  bool Commit();
  bool Add(const UninstallItem& item) {
    Announce(item);
    return Commit();
  }
  // Has the record and its seal last on the disk (at the installation's end).
  bool MakeLasting();
  // Writes the whole record anew with `items`: first beside its place (the path
  // and kPendingRecordSuffix), on the disk; then the seal, naming that content; then
  // moved over the record, written through. At every moment either the record or
  // the file beside it matches the seal.
  bool Rewrite(const std::vector<UninstallItem>& items);
  const std::string& Path() const { return path_; }
  const std::vector<UninstallItem>& Items() const { return items_; }
  bool Failed() const { return failed_; }

 private:
  bool Seal(bool lasting);

  UninstallFiles& files_;
  std::string path_;
  RecordSealer sealer_;
  std::uint32_t chain_ = 0;
  Sha256 written_;       // every byte of the record so far
  std::string queued_;   // announced lines not yet written
  std::vector<UninstallItem> queuedItems_;
  std::vector<UninstallItem> items_;
  bool failed_ = false;
};

}  // namespace setuvane
