#include "archive/zip_item.h"

#include <algorithm>

#include "archive/zdecoder.h"
#include "system/cp1250.h"

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
  TAbZipDirectoryFileHeader header;
  header.Read(stream);
  LoadFromHeader(std::move(header));
}

void TAbZipItem::LoadFromHeader(TAbZipDirectoryFileHeader header) {
  header_ = std::move(header);
  if (header_.HasUtf8Name()) TakeUtf8Name();
  SetLastModFileTime(header_.LastModFileTime);
  SetLastModFileDate(header_.LastModFileDate);
  SetDiskName(WithBackslashes(GetStoredName()));
  Action = TAbArchiveAction::aaNone;
  Marked = false;
}

// The program's text is Windows-1250; a name that has no Windows-1250 form keeps a
// stand-in with "_" for each character it lacks ("?" would be a wildcard to the
// masks that select entries by name) and fails when the entry is extracted.
void TAbZipItem::TakeUtf8Name() {
  const std::string utf8 = UpToNul(header_.FileName);
  if (const std::optional<std::string> name = Utf8ToCp1250(utf8)) {
    SetStoredName(*name);
    return;
  }
  std::string standIn = Cp1250(utf8);
  std::replace(standIn.begin(), standIn.end(), '?', '_');
  SetStoredName(standIn);
  nameNotCp1250_ = true;
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
