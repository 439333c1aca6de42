// The shortcut writer of a dry run: records each shortcut instead of writing it.
#pragma once

#include <vector>

#include "system/shell_link_writer.h"

namespace setuvane::pack {

class RecordingLinkWriter final : public ShellLinkWriter {
 public:
  const std::vector<ShellLinkProperties>& Links() const { return links_; }
  void Write(const ShellLinkProperties& link) override { links_.push_back(link); }

 private:
  std::vector<ShellLinkProperties> links_;
};

}  // namespace setuvane::pack
