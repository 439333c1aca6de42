#include "core/uninstallation/uninstall_record.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "archive/crc32.h"
#include "system/sha256.h"
#include "system/system_queries.h"
#include "system/text_helpers.h"

namespace setuvane {
namespace {

struct KindName {
  UninstallItemKind kind;
  std::string_view name;
  size_t fields;  // after the kind, before the check value
};

constexpr KindName kKinds[] = {
    {UninstallItemKind::kProduct, "product", 2},     {UninstallItemKind::kFolder, "folder", 1},
    {UninstallItemKind::kShortcutFolder, "linkfolder", 1}, {UninstallItemKind::kFile, "file", 3},
    {UninstallItemKind::kShortcut, "shortcut", 1},   {UninstallItemKind::kKey, "key", 2},
    {UninstallItemKind::kValue, "value", 4},         {UninstallItemKind::kEnd, "end", 0},
    {UninstallItemKind::kForeignFile, "keptfile", 1}, {UninstallItemKind::kSharedFile, "shared", 4},
    {UninstallItemKind::kUser, "user", 1},            {UninstallItemKind::kBegin, "begin", 2},
    {UninstallItemKind::kAside, "aside", 2},          {UninstallItemKind::kPending, "pending", 2},
    {UninstallItemKind::kCountedOut, "countedout", 4}, {UninstallItemKind::kShortcutSum, "shortcutsum", 3},
};

// Whether a shared file was made by the product that counted it.
constexpr std::string_view kCreated = "created";
constexpr std::string_view kExisted = "existed";

const KindName* FindKind(UninstallItemKind kind) {
  for (const KindName& k : kKinds)
    if (k.kind == kind) return &k;
  return nullptr;
}

const KindName* FindKind(std::string_view name) {
  for (const KindName& k : kKinds)
    if (k.name == name) return &k;
  return nullptr;
}

std::string Hex8(std::uint32_t value) {
  char text[9];
  std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(value));
  return text;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}


// Field texts keep every byte: tabs, line ends and other control characters, and
// the escape sign itself, are written as "%" and two hexadecimal digits.
std::string Escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || c == '%') {
      char escape[4];
      std::snprintf(escape, sizeof escape, "%%%02X", byte);
      out += escape;
    } else {
      out += c;
    }
  }
  return out;
}

std::optional<std::string> Unescaped(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    const int high = HexDigit(text[i + 1]);
    const int low = HexDigit(text[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out;
}

// Data in the ANSI calls' form are marked so, to go back through those calls.
constexpr std::string_view kAnsiForm = "ansi:";

std::string PriorText(const std::optional<RegistryData>& prior) {
  if (!prior) return "-";
  std::string text = (prior->ansiForm ? std::string(kAnsiForm) : std::string()) + std::to_string(prior->type) + ":";
  for (char c : prior->data) {
    char byte[3];
    std::snprintf(byte, sizeof byte, "%02X", static_cast<unsigned char>(c));
    text += byte;
  }
  return text;
}

// Version 1 kept every value as the ANSI calls gave it, without a mark.
std::optional<std::optional<RegistryData>> ParsePrior(std::string_view text, bool firstVersion) {
  if (text == "-") return std::optional<RegistryData>();
  const bool ansiForm = firstVersion || text.substr(0, kAnsiForm.size()) == kAnsiForm;
  if (!firstVersion && ansiForm) text.remove_prefix(kAnsiForm.size());
  const size_t colon = text.find(':');
  if (colon == std::string_view::npos || (text.size() - colon - 1) % 2 != 0) return std::nullopt;
  const std::optional<std::uint64_t> type = UnsignedNumber(text.substr(0, colon), 10);
  if (!type || *type > 0xFFFFFFFFu) return std::nullopt;
  RegistryData data{static_cast<std::uint32_t>(*type), {}, ansiForm};
  for (size_t i = colon + 1; i < text.size(); i += 2) {
    const int high = HexDigit(text[i]);
    const int low = HexDigit(text[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    data.data += static_cast<char>(high * 16 + low);
  }
  return std::optional<RegistryData>(std::move(data));
}

std::vector<std::string> FieldsOf(const UninstallItem& item) {
  switch (item.kind) {
    case UninstallItemKind::kProduct: return {item.path, item.root};
    case UninstallItemKind::kFile: return {item.path, std::to_string(item.size), Hex8(item.crc)};
    case UninstallItemKind::kSharedFile:
    case UninstallItemKind::kCountedOut:
      return {item.path, std::to_string(item.size), Hex8(item.crc), std::string(item.created ? kCreated : kExisted)};
    case UninstallItemKind::kShortcutSum: return {item.path, std::to_string(item.size), item.digest};
    case UninstallItemKind::kKey: return {item.root, item.path};
    case UninstallItemKind::kValue: return {item.root, item.path, item.name, PriorText(item.prior)};
    case UninstallItemKind::kEnd: return {};
    case UninstallItemKind::kBegin: return {item.name, item.path};
    case UninstallItemKind::kAside:
    case UninstallItemKind::kPending: return {item.path, item.name};
    default: return {item.path};
  }
}

std::optional<UninstallItem> ItemOf(UninstallItemKind kind, const std::vector<std::string>& fields, bool firstVersion) {
  UninstallItem item = PathItem(kind, std::string());
  switch (kind) {
    case UninstallItemKind::kProduct:
      item.path = fields[0];
      item.root = fields[1];
      break;
    case UninstallItemKind::kShortcutSum: {
      const std::optional<std::uint64_t> size = UnsignedNumber(fields[1], 10);
      if (!size || fields[2].size() != 64 ||
          !std::all_of(fields[2].begin(), fields[2].end(), [](char c) { return HexDigit(c) >= 0; }))
        return std::nullopt;
      item.path = fields[0];
      item.size = *size;
      item.digest = fields[2];
      break;
    }
    case UninstallItemKind::kFile:
    case UninstallItemKind::kSharedFile:
    case UninstallItemKind::kCountedOut: {
      const std::optional<std::uint64_t> size = UnsignedNumber(fields[1], 10);
      const std::optional<std::uint64_t> crc = UnsignedNumber(fields[2], 16);
      if (!size || !crc || fields[2].size() != 8) return std::nullopt;
      item.path = fields[0];
      item.size = *size;
      item.crc = static_cast<std::uint32_t>(*crc);
      if (kind != UninstallItemKind::kFile) {
        if (fields[3] != kCreated && fields[3] != kExisted) return std::nullopt;
        item.created = fields[3] == kCreated;
      }
      break;
    }
    case UninstallItemKind::kKey:
    case UninstallItemKind::kValue:
      if (!RootKeyOfName(fields[0])) return std::nullopt;
      item.root = fields[0];
      item.path = fields[1];
      if (kind == UninstallItemKind::kValue) {
        std::optional<std::optional<RegistryData>> prior = ParsePrior(fields[3], firstVersion);
        if (!prior) return std::nullopt;
        item.name = fields[2];
        item.prior = std::move(*prior);
      }
      break;
    case UninstallItemKind::kEnd:
      break;
    case UninstallItemKind::kBegin:
      if (fields[0] != kEarlierNone && fields[0] != kEarlierComplete && fields[0] != kEarlierUnfinished)
        return std::nullopt;
      item.name = fields[0];
      item.path = fields[1];
      break;
    case UninstallItemKind::kAside:
    case UninstallItemKind::kPending:
      item.path = fields[0];
      item.name = fields[1];
      break;
    default:
      item.path = fields[0];
      break;
  }
  return item;
}

std::uint32_t Check(std::uint32_t chain, std::string_view body) {
  const std::string previous = Hex8(chain);
  std::uint32_t crc = 0xFFFFFFFFu;
  crc = archive::Crc32Update(crc, reinterpret_cast<const std::uint8_t*>(previous.data()), previous.size());
  crc = archive::Crc32Update(crc, reinterpret_cast<const std::uint8_t*>(body.data()), body.size());
  return crc ^ 0xFFFFFFFFu;
}

bool Counted(const UninstallItem& item) {
  return item.kind == UninstallItemKind::kSharedFile || item.kind == UninstallItemKind::kCountedOut;
}

// Items are the same thing on the machine when their kind and place are; a shared
// file is one whether its count is in or taken out.
std::string IdentityOf(const UninstallItem& item) {
  const UninstallItemKind kind = Counted(item) ? UninstallItemKind::kSharedFile : item.kind;
  std::string identity = std::to_string(static_cast<int>(kind)) + '\t' + item.root + '\t' + item.path;
  if (item.kind == UninstallItemKind::kValue || item.kind == UninstallItemKind::kAside ||
      item.kind == UninstallItemKind::kPending)
    identity += '\t' + item.name;
  // Windows' file and key names ignore letter case (the ASCII letters at least).
  for (char& c : identity)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return identity;
}

}  // namespace

std::string UninstallRecordLine(const UninstallItem& item, std::uint32_t& chain) {
  std::string body(FindKind(item.kind)->name);
  for (const std::string& field : FieldsOf(item)) body += '\t' + Escaped(field);
  body += '\t';
  chain = Check(chain, body);
  return body + Hex8(chain) + "\r\n";
}

std::string UninstallRecordText(const std::vector<UninstallItem>& items) {
  std::string text = std::string(kUninstallRecordHeading) + "\r\n";
  std::uint32_t chain = 0;
  for (const UninstallItem& item : items) text += UninstallRecordLine(item, chain);
  return text;
}

bool IsRunLine(UninstallItemKind kind) {
  return kind == UninstallItemKind::kBegin || kind == UninstallItemKind::kAside || kind == UninstallItemKind::kPending;
}

bool ParsedUninstallRecord::Complete() const {
  return !items.empty() && items.back().kind == UninstallItemKind::kEnd;
}

ParsedUninstallRecord ParseUninstallRecord(std::string_view text) {
  ParsedUninstallRecord record;
  constexpr std::string_view kStem = "SETUVANE UNINSTALL RECORD ";
  const std::string heading = std::string(kUninstallRecordHeading) + "\r\n";
  const std::string firstHeading = std::string(kStem) + "1\r\n";
  const bool firstVersion = text.substr(0, firstHeading.size()) == firstHeading;
  if (!firstVersion && text.substr(0, heading.size()) != heading) {
    record.problem = text.substr(0, kStem.size()) == kStem ? "unknown version of the uninstall record"
                                                           : "not an uninstall record";
    return record;
  }
  std::uint32_t chain = 0;
  size_t at = (firstVersion ? firstHeading : heading).size();
  for (int lineNumber = 2; at < text.size(); ++lineNumber) {
    const auto fail = [&](const std::string& what) {
      record.items.clear();
      record.problem = "line " + std::to_string(lineNumber) + ": " + what;
      return record;
    };
    record.verifiedLength = at;
    const size_t end = text.find("\r\n", at);
    if (end == std::string_view::npos) {
      record.tornTail = true;
      break;
    }
    const std::string_view line = text.substr(at, end - at);
    at = end + 2;
    const size_t lastTab = line.rfind('\t');
    if (lastTab == std::string_view::npos || line.size() - lastTab - 1 != 8) return fail("no check value");
    const std::optional<std::uint64_t> check = UnsignedNumber(line.substr(lastTab + 1), 16);
    const std::string_view body = line.substr(0, lastTab + 1);
    if (!check || *check != Check(chain, body)) return fail("the check value does not match");
    chain = static_cast<std::uint32_t>(*check);
    std::vector<std::string> fields;
    for (size_t start = 0; start <= lastTab;) {  // the field before the check value may be empty
      const size_t tab = line.find('\t', start);
      std::optional<std::string> field = Unescaped(line.substr(start, tab - start));
      if (!field) return fail("a bad escape");
      if (firstVersion) field = FromAnsiCodePage(*field);  // what the ANSI calls made of it
      fields.push_back(std::move(*field));
      start = tab + 1;
    }
    const KindName* kind = fields.empty() ? nullptr : FindKind(fields[0]);
    if (!kind) return fail("an unknown kind of item");
    fields.erase(fields.begin());
    if (fields.size() != kind->fields) return fail("a wrong number of fields");
    std::optional<UninstallItem> item = ItemOf(kind->kind, fields, firstVersion);
    if (!item) return fail("a field that cannot be read");
    record.items.push_back(std::move(*item));
  }
  if (!record.tornTail) record.verifiedLength = text.size();
  return record;
}

std::optional<std::string> ProductKeyNamed(std::string_view text) {
  const ParsedUninstallRecord whole = ParseUninstallRecord(text);
  const ParsedUninstallRecord readable =
      whole.Verified() ? whole : ParseUninstallRecord(text.substr(0, whole.verifiedLength));
  std::optional<std::string> key;
  for (const UninstallItem& item : readable.items)
    if (item.kind == UninstallItemKind::kProduct) key = item.path;
  return key;
}

std::vector<UninstallItem> MergeUninstallItems(const std::vector<UninstallItem>& earlier,
                                               const std::vector<UninstallItem>& later) {
  std::vector<UninstallItem> merged;
  std::map<std::string, size_t> places;
  // HKEY_CURRENT_USER is the registry of the account a "user" item before it
  // names: that account is part of such an item's place, in what is read and in
  // what is written.
  std::string readUser;
  std::string writtenUser;
  const auto add = [&](const UninstallItem& item) {
    if (item.kind == UninstallItemKind::kEnd) return;
    if (item.kind == UninstallItemKind::kUser) {
      readUser = item.path;
      return;
    }
    if (item.kind == UninstallItemKind::kProduct) {
      for (UninstallItem& existing : merged) {
        if (existing.kind == UninstallItemKind::kProduct) {
          existing = item;
          return;
        }
      }
    }
    const bool currentUser = item.root == RootKeyName(kHkeyCurrentUser);
    const std::string identity = IdentityOf(item) + (currentUser ? '\t' + readUser : std::string());
    const auto found = places.find(identity);
    if (found == places.end()) {
      if (currentUser && readUser != writtenUser) {
        merged.push_back(PathItem(UninstallItemKind::kUser, readUser));
        writtenUser = readUser;
      }
      places.emplace(identity, merged.size());
      merged.push_back(item);
    } else if (item.kind == UninstallItemKind::kFile || Counted(item)) {
      merged[found->second].size = item.size;
      merged[found->second].crc = item.crc;
      // Counted in again, or taken out by a removal: the later line says which.
      merged[found->second].kind = item.kind;
      merged[found->second].created = item.created;
    } else if (item.kind == UninstallItemKind::kShortcutSum) {
      merged[found->second] = item;
    }
  };
  for (const UninstallItem& item : earlier) add(item);
  for (const UninstallItem& item : later) add(item);
  if (!later.empty() && later.back().kind == UninstallItemKind::kEnd) merged.push_back(later.back());
  return merged;
}

RecordSeal SealOf(std::string_view text) {
  Sha256 sha;
  sha.Update(text);
  return {text.size(), DigestHex(sha.Final())};
}

std::optional<std::string_view> SealedPart(std::string_view text, const RecordSeal& seal) {
  if (seal.length > text.size()) return std::nullopt;
  const std::string_view part = text.substr(0, static_cast<size_t>(seal.length));
  if (SealOf(part).digest != seal.digest) return std::nullopt;
  return part;
}

bool UninstallRecordWriter::Start(const std::vector<UninstallItem>& earlier) {
  std::vector<UninstallItem> items;
  for (const UninstallItem& item : earlier)
    if (item.kind != UninstallItemKind::kEnd) items.push_back(item);
  return Rewrite(items);
}

bool UninstallRecordWriter::Rewrite(const std::vector<UninstallItem>& items) {
  items_ = items;
  queued_.clear();
  queuedItems_.clear();
  std::string text = std::string(kUninstallRecordHeading) + "\r\n";
  chain_ = 0;
  for (const UninstallItem& item : items_) text += UninstallRecordLine(item, chain_);
  written_ = Sha256();
  written_.Update(text);
  const std::string pending = path_ + std::string(kPendingRecordSuffix);
  failed_ = !files_.WriteNew(pending, text) || !Seal(true) || !files_.Replace(pending, path_);
  return !failed_;
}

void UninstallRecordWriter::Announce(const UninstallItem& item) {
  queued_ += UninstallRecordLine(item, chain_);
  queuedItems_.push_back(item);
}

bool UninstallRecordWriter::Commit() {
  if (queued_.empty()) return !failed_;
  if (failed_) return false;
  // Once a line fails to reach the disk, or the seal to cover it, nothing more
  // is written: the seal keeps vouching for what is there.
  if (!files_.Append(path_, queued_) || !files_.Flush(path_)) {
    failed_ = true;
    return false;
  }
  written_.Update(queued_);
  queued_.clear();
  items_.insert(items_.end(), queuedItems_.begin(), queuedItems_.end());
  queuedItems_.clear();
  failed_ = !Seal(false);
  return !failed_;
}

bool UninstallRecordWriter::MakeLasting() { return Commit() && files_.Flush(path_) && Seal(true); }

bool UninstallRecordWriter::Seal(bool lasting) {
  return !sealer_ || sealer_({written_.Length(), DigestHex(written_.Final())}, lasting);
}

}  // namespace setuvane
