// Random bytes from the system's cryptographically secure source: getrandom on
// Linux, the system's preferred generator (BCryptGenRandom) on Windows. The
// encryption header of every entry takes eleven of them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace setuvane::pack {

// Fills `bytes`; throws std::runtime_error when the system gives none.
void FillSecureRandom(uint8_t* bytes, size_t count);

}  // namespace setuvane::pack
