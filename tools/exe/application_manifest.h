// The application manifest a Windows program carries as a resource: here, only the
// execution level it asks Windows for, which decides whether Windows elevates the
// program when it starts.
#pragma once

#include <string>
#include <vector>

#include "pe/resource_tree.h"

namespace setuvane::pack {

// The level of the manifest's requestedExecutionLevel ("asInvoker",
// "highestAvailable", "requireAdministrator"); empty when the program carries no
// manifest or its manifest names none.
std::string RequestedExecutionLevel(const std::vector<Resource>& resources);

}  // namespace setuvane::pack
