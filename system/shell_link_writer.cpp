#include "system/shell_link_writer.h"

namespace setuvane {
namespace {

ShellLinkWriter* g_override = nullptr;

}  // namespace

int ShowCommandOf(TWindowState state) {
  switch (state) {
    case TWindowState::wsMinimized: return 6;     // SW_MINIMIZE
    case TWindowState::wsMaximized: return 3;     // SW_SHOWMAXIMIZED
    case TWindowState::wsNormal: break;
  }
  return 1;  // SW_SHOWNORMAL
}

ShellLinkWriter& CurrentShellLinkWriter() { return g_override ? *g_override : DefaultShellLinkWriter(); }

ScopedShellLinkWriter::ScopedShellLinkWriter(ShellLinkWriter& writer) : previous_(g_override) {
  g_override = &writer;
}

ScopedShellLinkWriter::~ScopedShellLinkWriter() { g_override = previous_; }

}  // namespace setuvane
