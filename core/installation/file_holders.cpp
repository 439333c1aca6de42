#include "core/installation/file_holders.h"

namespace setuvane {
namespace {

FileHolders* g_override = nullptr;

}  // namespace

FileHolders& CurrentFileHolders() { return g_override ? *g_override : DefaultFileHolders(); }

ScopedFileHolders::ScopedFileHolders(FileHolders& holders) : previous_(g_override) { g_override = &holders; }

ScopedFileHolders::~ScopedFileHolders() { g_override = previous_; }

}  // namespace setuvane
