#include "core/uninstallation/record_authentication.h"

#include <algorithm>
#include <optional>
#include <set>

#include "core/uninstallation/product_entry.h"
#include "core/uninstallation/uninstall_files.h"
#include "core/uninstallation/uninstall_record.h"
#include "system/path_identity.h"
#include "system/shell_folders.h"
#include "system/text_helpers.h"

namespace setuvane {
namespace {

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\') + 1); }

std::string KeyOf(const UninstallItem& item) { return AsciiLower(item.root + "\\" + item.path); }

// The system's own keys below Software, which no product's name stands for.
constexpr const char* kSystemSoftwareKeys[] = {"microsoft", "classes", "policies", "wow6432node", "clients"};

// The product's own keys below HKEY_LOCAL_MACHINE\Software and
// HKEY_CURRENT_USER\Software: those named after its entry's key, display name or
// publisher, which only an administrator can have written.
std::vector<std::string> OwnKeyPaths(const ProductNames& product) {
  std::vector<std::string> own;
  for (const std::string& name : {product.entryKey, product.displayName, product.publisher}) {
    const std::string lower = AsciiLower(name);
    const bool system = std::find(std::begin(kSystemSoftwareKeys), std::end(kSystemSoftwareKeys), lower) !=
                        std::end(kSystemSoftwareKeys);
    if (lower.empty() || lower.find('\\') != std::string::npos || system) continue;
    for (const char* root : {"hkey_local_machine", "hkey_current_user"})
      own.push_back(std::string(root) + "\\software\\" + lower);
  }
  return own;
}

bool UnderOwnKey(const UninstallItem& item, const std::vector<std::string>& own) {
  const std::string key = KeyOf(item);
  return std::any_of(own.begin(), own.end(), [&](const std::string& path) {
    return key.size() >= path.size() && key.compare(0, path.size(), path) == 0 &&
           (key.size() == path.size() || key[path.size()] == '\\');
  });
}

bool InShortcutFolder(const std::string& path, const std::vector<std::string>& shortcutFolders) {
  return std::any_of(shortcutFolders.begin(), shortcutFolders.end(),
                     [&](const std::string& folder) { return !folder.empty() && IsBelowFolder(path, folder); });
}

}  // namespace

std::vector<std::string> ShellShortcutFolders() {
  std::vector<std::string> folders;
  for (const char* name : {"Desktop", "Start Menu", "Favorites", "SendTo", "Recent"}) {
    try {
      folders.push_back(GetShellFolder(name));
    } catch (const std::exception&) {
    }
  }
  folders.push_back(GetQuickLaunchFolder());
  return folders;
}

std::vector<UninstallItem> TrustedWithoutSeal(const std::vector<UninstallItem>& items, const std::string& programFolder,
                                              const ProductNames& product,
                                              const std::vector<std::string>& shortcutFolders,
                                              std::vector<std::string>& distrusted) {
  const std::vector<std::string> ownKeys = OwnKeyPaths(product);
  std::set<std::string> createdKeys;
  for (const UninstallItem& item : items)
    if (item.kind == UninstallItemKind::kKey && UnderOwnKey(item, ownKeys)) createdKeys.insert(KeyOf(item));
  std::vector<UninstallItem> trusted;
  for (const UninstallItem& item : items) {
    bool trust = false;
    switch (item.kind) {
      case UninstallItemKind::kProduct:
      case UninstallItemKind::kForeignFile:  // it only stays
      case UninstallItemKind::kEnd: trust = true; break;
      case UninstallItemKind::kFile: trust = IsBelowFolder(item.path, programFolder); break;
      case UninstallItemKind::kFolder:
        trust = SamePath(item.path, programFolder) || IsBelowFolder(item.path, programFolder);
        break;
      case UninstallItemKind::kShortcut:
        trust = AsciiLower(item.path).ends_with(".lnk") && InShortcutFolder(item.path, shortcutFolders);
        break;
      case UninstallItemKind::kShortcutFolder: trust = InShortcutFolder(item.path, shortcutFolders); break;
      case UninstallItemKind::kKey: trust = createdKeys.count(KeyOf(item)) > 0; break;
      case UninstallItemKind::kValue: trust = !item.prior && createdKeys.count(KeyOf(item)); break;
      // The first releases wrote none of the rest: a shared count would take a
      // system file, another account's registry would be reached through
      // HKEY_USERS, and a run's lines would move files back over others.
      default: break;
    }
    if (trust) {
      trusted.push_back(item);
      continue;
    }
    std::string what = item.path;
    if (item.kind == UninstallItemKind::kKey) what = item.root + "\\" + item.path;
    if (item.kind == UninstallItemKind::kValue) what = item.root + "\\" + item.path + " \"" + item.name + "\"";
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
  // The key is read where the record is readable: damage past the part its seal
  // covers (a stop while a batch was appended) must not hide it.
  std::optional<std::string> key = text ? ProductKeyNamed(*text) : std::nullopt;
  if (!key && pending) key = ProductKeyNamed(*pending);
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
    record.items = TrustedWithoutSeal(parsed.items, FolderOf(recordPath), {*key, entry->displayName, entry->publisher},
                                      ShellShortcutFolders(), record.distrusted);
    return record;
  }
  for (const std::optional<std::string>& candidate : {text, pending}) {
    if (!candidate) continue;
    const std::optional<std::string_view> sealed = SealedPart(*candidate, *entry->seal);
    if (!sealed) continue;
    ParsedUninstallRecord parsed = ParseUninstallRecord(*sealed);
    if (!parsed.Verified() || parsed.tornTail) break;
    if (std::none_of(parsed.items.begin(), parsed.items.end(), [&](const UninstallItem& item) {
          return item.kind == UninstallItemKind::kProduct && item.path == *key;
        }))
      break;
    if (sealed->size() < candidate->size())
      record.distrusted.push_back("ignored: " + std::to_string(candidate->size() - sealed->size()) + " bytes of " +
                                  recordPath + " beyond its seal (written after it, never vouched for)");
    record.items = std::move(parsed.items);
    return record;
  }
  record.changed = true;
  record.problem = "changed or damaged record: it differs from the seal in its entry";
  return record;
}

}  // namespace setuvane
