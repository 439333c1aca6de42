// A progress line is redrawn at most about ten times a second: entries report up to
// a hundred steps each, and a terminal that draws them all spends more time on the
// line than the work takes.
#pragma once

#include <chrono>

namespace setuvane::pack {

class RedrawThrottle {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr Clock::duration kInterval = std::chrono::milliseconds(100);

  // True for the first call and then once `kInterval` has passed since the last true.
  bool Due(Clock::time_point now) {
    if (drawn_ && now - last_ < kInterval) return false;
    drawn_ = true;
    last_ = now;
    return true;
  }

 private:
  bool drawn_ = false;
  Clock::time_point last_;
};

}  // namespace setuvane::pack
