#include "system/machine.h"

#include "system/cp1250.h"

namespace setuvane {
namespace {

Machine* g_override = nullptr;

}  // namespace

std::string Machine::AnsiCodePageText(std::string_view bytes) { return Cp1250ToUtf8(bytes); }

Machine& CurrentMachine() { return g_override ? *g_override : DefaultMachine(); }

ScopedMachine::ScopedMachine(Machine& machine) : previous_(g_override) { g_override = &machine; }

ScopedMachine::~ScopedMachine() { g_override = previous_; }

}  // namespace setuvane
