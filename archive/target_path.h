// Where an entry is written: the target path built from the base directory and the
// stored name, the checks that keep it below the base directory, and the making of
// missing folders.
#pragma once

#include <string>

#include "archive/file_system.h"

namespace setuvane::archive {

// The base directory and "\" (nothing for an empty base), then the name with "\"
// separators: whole with `restorePath`, else only its file-name part. Throws
// EAbZipUnsafePath when the result could leave the base directory: with
// `restorePath` a name that is absolute, has a drive or a ".." part; in either mode
// a file-name part that is "." or "..".
std::string TargetPath(const std::string& baseDirectory, const std::string& storedName, bool restorePath);

// True for a stored name that denotes a folder (it ends in a separator).
bool IsFolderName(const std::string& storedName);

// The part of `path` before its last "\" (empty when there is none).
std::string FolderOf(const std::string& path);

// Makes `folder` and each missing parent; a drive ("C:") or UNC share prefix
// (\\server\share) is taken as existing. Throws EInOutError when one cannot be made.
void MakeFolders(FileSystem& fileSystem, const std::string& folder);

}  // namespace setuvane::archive
