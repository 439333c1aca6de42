#include <sys/random.h>

#include <cerrno>
#include <stdexcept>

#include "tools/build/secure_random.h"

namespace setuvane::pack {

void FillSecureRandom(uint8_t* bytes, size_t count) {
  while (count > 0) {
    const ssize_t got = getrandom(bytes, count, 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error("the system gives no random bytes");
    }
    bytes += got;
    count -= static_cast<size_t>(got);
  }
}

}  // namespace setuvane::pack
