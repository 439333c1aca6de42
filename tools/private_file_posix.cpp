#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "tools/private_file.h"

namespace setuvane::pack {

bool WritePrivateFile(const std::filesystem::path& path, std::string_view content) {
  const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (file < 0) return false;
  for (size_t done = 0; done < content.size();) {
    const ssize_t written = write(file, content.data() + done, content.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      close(file);
      unlink(path.c_str());
      return false;
    }
    done += size_t(written);
  }
  return close(file) == 0;
}

}  // namespace setuvane::pack
