// A plan for the reader: as text on the console, or as JSON (UTF-8) for scripts.
// Both show the machine the plan was made for, then the steps in their order.
#pragma once

#include <cstdio>

#include <nlohmann/json.hpp>

#include "tools/plan/installation_plan.h"

namespace setuvane::pack {

void PrintPlan(const InstallationPlan& plan, const PlanOptions& options, std::FILE* out);

nlohmann::ordered_json PlanJson(const InstallationPlan& plan, const PlanOptions& options);

}  // namespace setuvane::pack
