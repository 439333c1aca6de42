// Where an entry is written: the target path built from the base directory and the
// stored name, the checks that keep it below the base directory, and the making of
// missing folders.
#pragma once

#include <set>
#include <string>
#include <string_view>

#include "archive/file_system.h"

namespace setuvane::archive {

// Why Windows cannot hold `part` (one file or folder name, no separators) as the
// name it was given: a character it refuses (< > : " | ? * or a control code), a
// device name (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, in any letter case,
// also before an extension as in "nul.txt"), or a final dot or blank, which Windows
// drops. kNone for a name it holds as it stands.
enum class NameFault { kNone, kCharacter, kDeviceName, kFinalDotOrBlank };
NameFault WindowsNameFault(std::string_view part);

// The check every entry passes before it is written or tested, on the parts of its
// stored name that become parts of the target path: the file-name part, and with
// `restorePath` the folder parts too (a folder entry, ending in a separator, has
// only folder parts, and none without `restorePath`). Throws EAbZipUnsafePath when
// the target could leave the base directory (with `restorePath` a name that is
// absolute, has a drive or a ".." part; in either mode a file-name part that is "."
// or ".."), and EAbZipBadName, naming the part, when Windows cannot hold a part.
void CheckStoredName(const std::string& storedName, bool restorePath);

// The base directory and "\" (nothing for an empty base), then the name with "\"
// separators: whole with `restorePath`, else only its file-name part. The stored
// name is the archive's Windows-1250 and has passed CheckStoredName; the base and
// the path are the program's UTF-8.
std::string TargetPath(const std::string& baseDirectory, const std::string& storedName, bool restorePath);

// True for a stored name that denotes a folder (it ends in a separator).
bool IsFolderName(const std::string& storedName);

// The part of `path` before its last "\" (empty when there is none).
std::string FolderOf(const std::string& path);

// Makes `folder` and each missing parent; a drive ("C:") or UNC share prefix
// (\\server\share) is taken as existing. Throws EInOutError when one cannot be made.
// Each folder made is added to `made` when it is given.
void MakeFolders(FileSystem& fileSystem, const std::string& folder, std::set<std::string>* made = nullptr);

}  // namespace setuvane::archive
