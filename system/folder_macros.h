// Folder macros ("<desktopfolder>", "<systemfolder>", ...) in the paths of the setup
// files, the program folder token "<programfolder>", and making sure a folder exists.
// Callers expand the macros first and substitute the program folder second.
// The folders themselves come from system/shell_folders.h.
#pragma once

#include <string>
#include <string_view>

namespace setuvane {

// Replaces every macro of the table, in any letter case, by its folder (with its
// trailing backslash). Tokens that are not macros stay. A folder that itself holds
// a macro is expanded again, up to a bounded number of passes.
std::string ExpandFolderMacros(std::string_view text);

// True when `token` (with its angle brackets, any letter case) is a macro of the
// table; "<programfolder>" is not one.
bool IsFolderMacro(std::string_view token);

// Replaces "<programfolder>" (any letter case) by programFolder and then collapses
// doubled backslashes. A text without the token is returned unchanged.
std::string SubstituteProgramFolder(std::string_view text, std::string_view programFolder);

// Creates the folder level by level unless it exists. True when it exists
// afterwards, false when a creation failed. Throws EFolderError
// ("Unable to create directory") for an empty folder text.
bool EnsureDirectory(std::string_view folder);

}  // namespace setuvane
