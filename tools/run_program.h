// Running another program from the tool (the signing tool): the arguments are
// handed over as they are, the tool waits for the program to end.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace setuvane::pack {

// Runs `arguments[0]` (found on the PATH) with the rest as its arguments (UTF-8
// texts, as PathText gives paths); its exit code, or nullopt when it could not be
// started.
std::optional<int> RunProgram(const std::vector<std::string>& arguments);

}  // namespace setuvane::pack
