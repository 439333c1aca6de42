#include "core/uninstallation/record_authentication.h"

#include <optional>
#include <set>

#include "core/uninstallation/product_entry.h"
#include "core/uninstallation/uninstall_files.h"
#include "core/uninstallation/uninstall_record.h"
#include "system/path_identity.h"
#include "system/text_helpers.h"

namespace setuvane {
namespace {

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\') + 1); }

std::string KeyOf(const UninstallItem& item) { return AsciiLower(item.root + "\\" + item.path); }

// The entry's key as the record names it (its latest product line).
std::optional<std::string> NamedKey(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  std::optional<std::string> key;
  for (const UninstallItem& item : ParseUninstallRecord(*text).items)
    if (item.kind == UninstallItemKind::kProduct) key = item.path;
  return key;
}

}  // namespace

std::vector<UninstallItem> TrustedWithoutSeal(const std::vector<UninstallItem>& items, const std::string& programFolder,
                                              std::vector<std::string>& distrusted) {
  std::set<std::string> createdKeys;
  for (const UninstallItem& item : items)
    if (item.kind == UninstallItemKind::kKey) createdKeys.insert(KeyOf(item));
  std::vector<UninstallItem> trusted;
  for (const UninstallItem& item : items) {
    bool trust = true;
    switch (item.kind) {
      case UninstallItemKind::kFile: trust = IsBelowFolder(item.path, programFolder); break;
      case UninstallItemKind::kShortcut: trust = AsciiLower(item.path).ends_with(".lnk"); break;
      case UninstallItemKind::kValue: trust = !item.prior && createdKeys.count(KeyOf(item)); break;
      // The first releases wrote none of these: a shared count would take a
      // system file, another account's registry would be reached through
      // HKEY_USERS, and a run's lines would move files back over others.
      case UninstallItemKind::kSharedFile:
      case UninstallItemKind::kUser:
      case UninstallItemKind::kBegin:
      case UninstallItemKind::kAside:
      case UninstallItemKind::kPending: trust = false; break;
      default: break;
    }
    if (trust) {
      trusted.push_back(item);
      continue;
    }
    const std::string what = item.kind == UninstallItemKind::kValue ? item.root + "\\" + item.path + " \"" + item.name + "\""
                                                                    : item.path;
    distrusted.push_back("stayed: " + what + " (the record of an earlier version has no seal in its entry: it is "
                         "not trusted with this)");
  }
  return trusted;
}

AuthenticRecord ReadAuthenticRecord(const std::string& recordPath) {
  UninstallFiles& files = CurrentUninstallFiles();
  AuthenticRecord record;
  const std::optional<std::string> text = files.ReadWhole(recordPath);
  const std::optional<std::string> pending = files.ReadWhole(recordPath + std::string(kPendingRecordSuffix));
  if (!text && !pending) {
    record.problem = "the record cannot be read";
    return record;
  }
  const std::optional<std::string> key = NamedKey(text) ? NamedKey(text) : NamedKey(pending);
  const std::optional<ExistingEntry> entry = key ? ReadExistingEntry(*key) : std::nullopt;
  if (!entry || !entry->ours || !SamePath(RecordPathOfUninstaller(entry->uninstaller), recordPath)) {
    record.changed = true;
    record.problem = key ? "no entry of this program among the installed programs names the record (" + *key + ")"
                         : "the record names no product";
    return record;
  }
  record.entryKey = *key;
  if (!entry->seal) {
    const ParsedUninstallRecord parsed = ParseUninstallRecord(text.value_or(std::string()));
    if (!parsed.Verified()) {
      record.problem = parsed.problem;
      return record;
    }
    record.items = TrustedWithoutSeal(parsed.items, FolderOf(recordPath), record.distrusted);
    return record;
  }
  for (const std::optional<std::string>& candidate : {text, pending}) {
    if (!candidate) continue;
    const std::optional<std::string_view> sealed = SealedPart(*candidate, *entry->seal);
    if (!sealed) continue;
    ParsedUninstallRecord parsed = ParseUninstallRecord(*sealed);
    if (!parsed.Verified() || parsed.tornTail) break;
    record.items = std::move(parsed.items);
    return record;
  }
  record.changed = true;
  record.problem = "changed or damaged record: it differs from the seal in its entry";
  return record;
}

}  // namespace setuvane
