// Which uninstall record an uninstallation, or a later installation of the
// product that carries it over, may act on. The record lies in the program folder,
// where users may be able to write; its entry lies in HKEY_LOCAL_MACHINE, where only
// administrators can. So a record is trusted only as far as its entry vouches for
// it: the entry must be this program's, name this record's uninstaller, and hold a
// seal (length and SHA-256 digest) that the record's first bytes match; a tail
// beyond the sealed length was written after the last seal and is left out. The
// record being written anew beside its place (kPendingRecordSuffix) counts when it
// is the one the seal names. An entry of the first releases holds no seal: its
// record is trusted only with what cannot do harm elsewhere (TrustedWithoutSeal).
#pragma once

#include <string>
#include <vector>

#include "system/uninstall_items.h"

namespace setuvane {

struct AuthenticRecord {
  std::vector<UninstallItem> items;
  std::string entryKey;  // the product's entry, vouching for the record
  std::string problem;   // refused: what is wrong (English); empty when accepted
  bool changed = false;  // refused because no entry vouches for it (else it cannot be read)
  std::vector<std::string> distrusted;  // what a record without a seal is not trusted with, for the log
  bool Accepted() const { return problem.empty(); }
};

AuthenticRecord ReadAuthenticRecord(const std::string& recordPath);

// What the product's entry says of it: only an administrator can have written it.
struct ProductNames {
  std::string entryKey, displayName, publisher;
};

// The folders where the shell keeps shortcuts, of the account that runs: the
// desktop, the Start menu, Favorites, SendTo, Recent and Quick Launch.
std::vector<std::string> ShellShortcutFolders();

// Of the items of a record whose entry holds no seal (whose lines prove nothing:
// anyone who can write the program folder can write them, check values and all),
// those it is trusted with: the product, the files and folders in the program
// folder, shortcuts (".lnk" files) and the folders made for them in the shell's
// shortcut folders, and the keys below HKEY_LOCAL_MACHINE\Software or
// HKEY_CURRENT_USER\Software named after the product (its entry's key, display
// name or publisher) with the values it created inside them; folders and keys are
// removed only when empty. Every other item is left, with a line for the log in
// `distrusted`: above all no earlier value is written back.
std::vector<UninstallItem> TrustedWithoutSeal(const std::vector<UninstallItem>& items, const std::string& programFolder,
                                              const ProductNames& product,
                                              const std::vector<std::string>& shortcutFolders,
                                              std::vector<std::string>& distrusted);

}  // namespace setuvane
