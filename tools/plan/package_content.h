// The package as a plan reads it: its entries with their destination texts, and
// its setup files unpacked into memory as start-up unpacks them (flat, under
// their bare names, a later one over an earlier one; the components a single file
// carries below their folders).
#pragma once

#include "tools/archive_session.h"
#include "tools/plan/installation_plan.h"

namespace setuvane::pack {

// Reads the archive named on the command line with `password`. Nothing when it
// cannot be opened or a setup file cannot be unpacked (each reason printed, after
// the name of `command`).
std::optional<PackageContent> ReadPackageContent(const std::string& archiveArgument, const std::string& password,
                                                 const char* command = "plan");

}  // namespace setuvane::pack
