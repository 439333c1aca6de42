// The progress line is drawn only on a console: not on the null device (which the C
// runtime's isatty takes for a terminal) and not into a file.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include <gtest/gtest.h>

#include "tools/console.h"

namespace setuvane::pack {
namespace {

// Points file descriptor 2 (standard error) at `path` for the test's lifetime.
class StandardErrorTo {
 public:
  explicit StandardErrorTo(const char* path) : saved_(_dup(2)) {
    std::fflush(stderr);
    const int fd = _open(path, _O_WRONLY | _O_CREAT | _O_TRUNC, 0666);
    _dup2(fd, 2);
    _close(fd);
  }
  ~StandardErrorTo() {
    std::fflush(stderr);
    _dup2(saved_, 2);
    _close(saved_);
  }

 private:
  int saved_;
};

TEST(ConsoleTest, NullDeviceAndFilesAreNoTerminal) {
  {
    StandardErrorTo nul("NUL");
    EXPECT_NE(_isatty(2), 0);  // why isatty is not asked
    EXPECT_FALSE(ErrorStreamIsTerminal());
  }
  {
    StandardErrorTo file("console_test.txt");
    EXPECT_FALSE(ErrorStreamIsTerminal());
  }
  std::remove("console_test.txt");
}

}  // namespace
}  // namespace setuvane::pack
