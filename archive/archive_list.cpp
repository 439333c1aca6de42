#include "archive/archive_list.h"

#include "archive/runtime_errors.h"
#include "system/cp1250.h"

namespace setuvane::archive {

std::string AnsiUpperCase(std::string text) {
  for (char& c : text) c = Cp1250Upper(c);
  return text;
}

uint32_t TAbArchiveList::Bucket(const std::string& storedName) {
  uint32_t h = 0;
  for (const char c : AnsiUpperCase(storedName)) {
    h = (h << 4) + static_cast<uint8_t>(c);
    const uint32_t g = h & 0xF0000000u;
    if (g != 0) h ^= g >> 24;
    h &= ~g;
  }
  return h % kBuckets;
}

void TAbArchiveList::Add(std::unique_ptr<TAbZipItem> item) {
  TAbArchiveItem*& head = buckets_[Bucket(item->StoredName())];
  item->NextItem = head;
  head = item.get();
  items_.push_back(std::move(item));
}

void TAbArchiveList::Clear() {
  buckets_.fill(nullptr);
  items_.clear();
}

TAbZipItem& TAbArchiveList::Items(int index) const {
  if (index < 0 || index >= Count()) throw EListError(index);
  return *items_[static_cast<size_t>(index)];
}

TAbZipItem* TAbArchiveList::Find(const std::string& storedName) const {
  const std::string key = AnsiUpperCase(storedName);
  for (TAbArchiveItem* item = buckets_[Bucket(storedName)]; item != nullptr; item = item->NextItem) {
    if (AnsiUpperCase(item->StoredName()) == key) return static_cast<TAbZipItem*>(item);
  }
  return nullptr;
}

}  // namespace setuvane::archive
