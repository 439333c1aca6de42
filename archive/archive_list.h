// The entries of an open archive: a list in directory order and, beside it, a hash
// table of 1021 buckets over the upper-cased stored names for lookup by name.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "archive/zip_item.h"

namespace setuvane::archive {

class TAbArchiveList {
 public:
  static constexpr uint32_t kBuckets = 1021;

  TAbArchiveList() { buckets_.fill(nullptr); }

  // Takes ownership; the entry goes to the end of the list and the head of its bucket.
  void Add(std::unique_ptr<TAbZipItem> item);
  void Clear();
  int Count() const { return static_cast<int>(items_.size()); }
  // Throws EListError for an index outside 0..Count()-1.
  TAbZipItem& Items(int index) const;
  // The entry of that stored name, letter case ignored (ANSI); nullptr when none.
  TAbZipItem* Find(const std::string& storedName) const;

  // The bucket of a name: the ELF hash of its upper-cased bytes, modulo 1021.
  static uint32_t Bucket(const std::string& storedName);

 private:
  std::vector<std::unique_ptr<TAbZipItem>> items_;
  std::array<TAbArchiveItem*, kBuckets> buckets_;
};

// Upper case of Windows-1250 text: ASCII letters and the accented letters of the
// code page (the upper case of the system's ANSI code page on a Polish Windows).
std::string AnsiUpperCase(std::string text);

}  // namespace setuvane::archive
