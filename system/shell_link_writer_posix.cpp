// The native build has no shell to write shortcut files with: every write fails,
// as a failed write does on Windows.
#include "system/shell_link_writer.h"

namespace setuvane {
namespace {

class AbsentShellLinkWriter final : public ShellLinkWriter {
 public:
  void Write(const ShellLinkProperties&) override { throw EShellLinkError("No shell to write shortcuts with"); }
};

}  // namespace

ShellLinkWriter& DefaultShellLinkWriter() {
  static AbsentShellLinkWriter writer;
  return writer;
}

}  // namespace setuvane
