// A shortcut writer for the native tests: records every shortcut it is asked to
// write, and refuses the link files it is told to.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "system/shell_link_writer.h"

namespace setuvane::fakes {

class FakeLinkWriter : public ShellLinkWriter {
 public:
  std::vector<ShellLinkProperties> written;
  std::set<std::string> refused;  // link files whose writes fail

  void Write(const ShellLinkProperties& link) override {
    if (refused.count(link.linkFile)) throw EShellLinkError("refused");
    written.push_back(link);
  }
};

}  // namespace setuvane::fakes
