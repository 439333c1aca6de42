// One installation or uninstallation of a product at a time. Each holds a named
// mutex for the product, named after the key of its entry among the installed
// programs that it writes or removes (an installation's key as OwnEntryKey
// chooses it, core/uninstallation/product_entry.h; an uninstallation's as its
// record names it), until its process ends; a second run finds it held and ends
// with exit code 1618 (kExitAnotherRunning: Windows Installer's "another
// installation is in progress", which deployment tools know and retry) before it
// changes anything. A lock the system refuses to make ends the run too: without
// it nothing keeps a second run out.
#pragma once

#include <optional>
#include <string>

#include "core/run/exit_codes.h"

namespace setuvane {

// The mutex's name for the product whose entry key is `entryKey`: in the global
// namespace where Windows has one (2000 and later, so that every session sees it).
// Registry keys ignore letter case, so the name does too; a key whose name would
// be too long for the system is named by its digest.
std::string ProductLockName(const std::string& entryKey, bool globalNamespace);

// Takes the product's mutex: nullopt once it is held; else, after the report
// ("Instalacja jest już uruchomiona." when another run holds it), the exit code to
// end with.
std::optional<UnattendedExitCode> TakeProductLock(const std::string& entryKey);

}  // namespace setuvane
