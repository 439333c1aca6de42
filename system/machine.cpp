#include "system/machine.h"

namespace setuvane {
namespace {

Machine* g_override = nullptr;

}  // namespace

Machine& CurrentMachine() { return g_override ? *g_override : DefaultMachine(); }

ScopedMachine::ScopedMachine(Machine& machine) : previous_(g_override) { g_override = &machine; }

ScopedMachine::~ScopedMachine() { g_override = previous_; }

}  // namespace setuvane
