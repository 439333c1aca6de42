// Centring one rectangle in another, as the windows of the installer do it.
#pragma once

namespace setuvane {

// The offset that centres `inner` in `outer`: (outer - inner) / 2, the quotient
// truncated toward zero. Negative when `inner` is the larger; it is applied as is.
constexpr int CentredOffset(int outer, int inner) { return (outer - inner) / 2; }

}  // namespace setuvane
