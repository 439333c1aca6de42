#include "system/file_stream.h"

#include "system/wide_or_ansi_files_win32.h"

namespace setuvane {

std::FILE* OpenFileForWriting(const std::string& path) { return win32::OpenStreamForWriting(path); }

}  // namespace setuvane
