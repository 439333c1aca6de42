// A C stream on a file named by the program's UTF-8 path, for the few files the
// installer writes through the C runtime (the log of /LOG). Windows takes the name
// through the set of calls the program uses (system/wide_or_ansi_files_win32.h).
#pragma once

#include <cstdio>
#include <string>

namespace setuvane {

// fopen with "wb": the file made anew or emptied; nullptr when it cannot be.
std::FILE* OpenFileForWriting(const std::string& path);

}  // namespace setuvane
