// One installation or uninstallation of a product at a time. Each holds a named
// mutex for the product, named after its entry's key among the installed programs
// (ProductEntryKey, core/uninstallation/uninstall_setup.h), until its process
// ends; a second run finds it held and ends with exit code 1618
// (kExitAnotherRunning: Windows Installer's "another installation is in
// progress", which deployment tools know and retry) before it changes anything.
#pragma once

#include <string>

namespace setuvane {

// The mutex's name for the product whose entry key is `entryKey`: in the global
// namespace where Windows has one (2000 and later, so that every session sees it).
std::string ProductLockName(const std::string& entryKey, bool globalNamespace);

// Takes the product's mutex; false (after the report "Instalacja jest już
// uruchomiona.") when another run holds it.
bool HoldProductLock(const std::string& entryKey);

}  // namespace setuvane
