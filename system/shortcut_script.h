// The shortcut script shortcut.inf: blocks of lines, each describing one shortcut
// file, written through the wizard's TShellLink.
//
//   {<menustartfolder>Programy\Aplikacja\Aplikacja.lnk   the shortcut file itself
//   -lnk=<programfolder>Aplikacja.exe                    property lines: key at
//   -dsc=Aplikacja                                       positions 2-4, value after
//   }                                                    the first "=" (or ":")
//
// Keys: "cmd" Parameters, "dsc" Description, "fld" WorkingFolder, "icn" IconFile,
// "lnk" ProgramFile; other keys and other lines change nothing. Properties a block
// does not set keep the values of the block before.
#pragma once

#include <string>

#include "system/problem_report.h"
#include "system/shell_link.h"

namespace setuvane {

// Reads `setupFolder` + "shortcut.inf" and fills `linker` line by line, writing
// a shortcut at every "}" after making its folder. Paths and values pass through
// ExpandFolderMacros and then SubstituteProgramFolder with `programFolder`. A
// folder that cannot be made or a shortcut that cannot be written is handed to
// `report` and the script goes on; the result is always true. Two failures reach
// the caller: a script that cannot be read (ESetupFileError), and a shortcut file
// without a folder part, such as a "}" before any "{" (EFolderError, "Unable to
// create directory").
bool RunShortcutScript(TShellLink& linker, const std::string& setupFolder, const std::string& programFolder, const ProblemReporter& report);

// The folder a shortcut file goes into: the text up to its last "\" or ":",
// without that final "\" unless a ":" or "\" stands before it (so "C:\" keeps it);
// empty when the path has neither.
std::string ShortcutFolderOf(const std::string& linkFile);

}  // namespace setuvane
