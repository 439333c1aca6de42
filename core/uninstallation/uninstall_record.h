// The uninstall record: the file beside the uninstaller that lists what an
// installation changed (system/uninstall_items.h), written line by line while the
// installation runs so that a run stopped half-way can still be undone, and read
// back by the uninstaller. docs/uninstall-record.md describes the format: a
// versioned first line, then one line per item whose last field is a CRC-32
// chained through every line before it, so that a changed, lost or reordered line
// is found and nothing is removed on the strength of a damaged record.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/uninstallation/uninstall_files.h"
#include "system/uninstall_items.h"

namespace setuvane {

// The heading this program writes. Records of version 1 (texts in Windows-1250)
// are read as well.
inline constexpr std::string_view kUninstallRecordHeading = "SETUVANE UNINSTALL RECORD 2";

// One item as its line (with CR LF); `chain` is the previous line's check value
// and becomes this line's.
std::string UninstallRecordLine(const UninstallItem& item, std::uint32_t& chain);

// The heading line and the lines of `items`.
std::string UninstallRecordText(const std::vector<UninstallItem>& items);

struct ParsedUninstallRecord {
  std::vector<UninstallItem> items;
  std::string problem;  // empty when the record verified; else what is wrong (English)
  bool Verified() const { return problem.empty(); }
  bool Complete() const;  // the installation reached its end
};

// Items of either version, their texts in UTF-8: those of version 1 taken in the
// system's code page, in which the ANSI calls of the version that wrote them named
// the files, keys and values.
ParsedUninstallRecord ParseUninstallRecord(std::string_view text);

// The record of a second installation of the same product over an earlier one:
// the earlier items first, then the new ones that are not among them. A file
// written again keeps its place and takes the new size and check value; a
// registry value keeps what it held before the first installation; the product's
// name and display name are the latest; completion is the new run's.
std::vector<UninstallItem> MergeUninstallItems(const std::vector<UninstallItem>& earlier,
                                               const std::vector<UninstallItem>& later);

// Writes the record as the installation goes: Start writes what an earlier
// installation left (and so the heading), Add appends one line per item.
class UninstallRecordWriter {
 public:
  UninstallRecordWriter(UninstallFiles& files, std::string path) : files_(files), path_(std::move(path)) {}
  bool Start(const std::vector<UninstallItem>& earlier);
  bool Add(const UninstallItem& item);
  // Writes the whole record anew with `items` (after a partial removal).
  bool Rewrite(const std::vector<UninstallItem>& items);
  const std::string& Path() const { return path_; }
  const std::vector<UninstallItem>& Items() const { return items_; }

 private:
  UninstallFiles& files_;
  std::string path_;
  std::uint32_t chain_ = 0;
  std::vector<UninstallItem> items_;
  bool failed_ = false;
};

}  // namespace setuvane
