#include "system/file_stream.h"

namespace setuvane {

std::FILE* OpenFileForWriting(const std::string& path) { return std::fopen(path.c_str(), "wb"); }

}  // namespace setuvane
