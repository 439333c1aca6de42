// Windows' convention for files that several products install outside their own
// folders (the system and Windows folders, common folders): a count per file in
// HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\SharedDLLs, the value
// named after the file's full path, REG_DWORD. Each product adds one when it
// installs the file and takes one away when it is removed; the file goes only when
// no product counts it any more. Through the current registry (system/registry.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace setuvane {

inline constexpr char kSharedDllsPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// Counts one more product in for the file at `path`. `earlierOwner`: the file is
// there and was put there by someone else, so a file without a count starts at 1
// for that owner before this product's 1 is added. False when the count cannot be
// written.
bool CountSharedFileIn(const std::string& path, bool earlierOwner);

// Whether the file has a count: the products that put it there count it.
bool SharedFileCounted(const std::string& path);

// The file's count: 0 when it has none; nullopt when the counts cannot be read.
std::optional<std::uint32_t> SharedFileCount(const std::string& path);

// Takes this product's 1 away: the products that still count the file; at 0 the
// value is deleted. A missing count is taken for this product's 1 alone. Nullopt
// when the count cannot be written.
std::optional<std::uint32_t> CountSharedFileOut(const std::string& path);

}  // namespace setuvane
