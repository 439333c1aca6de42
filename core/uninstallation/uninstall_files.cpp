#include "core/uninstallation/uninstall_files.h"

namespace setuvane {
namespace {

UninstallFiles* g_override = nullptr;

}  // namespace

UninstallFiles& CurrentUninstallFiles() { return g_override ? *g_override : DefaultUninstallFiles(); }

ScopedUninstallFiles::ScopedUninstallFiles(UninstallFiles& files) : previous_(g_override) { g_override = &files; }

ScopedUninstallFiles::~ScopedUninstallFiles() { g_override = previous_; }

}  // namespace setuvane
