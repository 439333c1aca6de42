#include "tools/redraw_throttle.h"

#include <gtest/gtest.h>

namespace setuvane::pack {
namespace {

TEST(RedrawThrottleTest, DrawsFirstThenAtMostOncePerInterval) {
  RedrawThrottle throttle;
  const auto start = RedrawThrottle::Clock::now();
  const auto at = [&](int ms) { return throttle.Due(start + std::chrono::milliseconds(ms)); };
  EXPECT_TRUE(at(0));
  EXPECT_FALSE(at(1));
  EXPECT_FALSE(at(99));
  EXPECT_TRUE(at(100));
  EXPECT_FALSE(at(150));
  EXPECT_TRUE(at(260));  // measured from the last draw, not on a fixed grid
  EXPECT_FALSE(at(359));
}

}  // namespace
}  // namespace setuvane::pack
