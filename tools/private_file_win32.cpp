#include <windows.h>

#include "tools/private_file.h"

namespace setuvane::pack {

// The user's temporary folder gives a new file its owner's access alone.
bool WritePrivateFile(const std::filesystem::path& path, std::string_view content) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
                  written == content.size();
  CloseHandle(file);
  if (!ok) DeleteFileW(path.c_str());
  return ok;
}

}  // namespace setuvane::pack
