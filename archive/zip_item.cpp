#include "archive/zip_item.h"

#include <algorithm>

#include "archive/zdecoder.h"

namespace setuvane::archive {
namespace {

std::string UpToNul(const std::string& bytes) { return bytes.substr(0, bytes.find('\0')); }

std::string WithBackslashes(std::string name) {
  std::replace(name.begin(), name.end(), '/', '\\');
  return name;
}

}  // namespace

TAbZipItem::TAbZipItem() = default;
TAbZipItem::~TAbZipItem() = default;

void TAbZipItem::LoadFromStream(ReadAheadStream& stream) {
  header_.Read(stream);
  SetLastModFileTime(header_.LastModFileTime);
  SetLastModFileDate(header_.LastModFileDate);
  SetDiskName(WithBackslashes(GetStoredName()));
  Action = TAbArchiveAction::aaNone;
  Marked = false;
}

std::string TAbZipItem::GetStoredName() const { return UpToNul(header_.FileName); }

void TAbZipItem::SetStoredName(const std::string& value) {
  header_.FileName = value;
  header_.FileNameLength = static_cast<uint16_t>(value.size());
  SetDiskName(WithBackslashes(UpToNul(value)));
}

std::string TAbZipItem::ExtraText() const { return UpToNul(header_.ExtraField); }

void TAbZipItem::SetExtraText(const std::string& value) {
  header_.ExtraField = value;
  header_.ExtraFieldLength = static_cast<uint16_t>(value.size());
}

void TAbZipItem::SetDecoder(std::unique_ptr<TAbZDecoder> decoder) { decoder_ = std::move(decoder); }

}  // namespace setuvane::archive
