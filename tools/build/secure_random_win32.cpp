#include <windows.h>
#include <bcrypt.h>

#include <stdexcept>

#include "tools/build/secure_random.h"

namespace setuvane::pack {

void FillSecureRandom(uint8_t* bytes, size_t count) {
  if (BCryptGenRandom(nullptr, bytes, static_cast<ULONG>(count), BCRYPT_USE_SYSTEM_PREFERRED_RNG) != 0) {
    throw std::runtime_error("the system gives no random bytes");
  }
}

}  // namespace setuvane::pack
