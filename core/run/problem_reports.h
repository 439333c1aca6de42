// Reports of the installer core: the cursor goes back to the arrow, then the
// problem dialog shows the four texts.
#pragma once

#include <string>

#include "core/run/report_texts.h"
#include "system/problem_report.h"

namespace setuvane {

void ReportProblem(const std::string& title, const std::string& message, const std::string& hint,
                   const std::string& details);

// `texts` with `details` in place of its own (for reports that show a failure's text).
void ReportProblem(const ReportTexts& texts, const std::string& details);

// The reporter handed to the installation steps below the core.
ProblemReporter StepReporter();

// `text` between double quotes.
std::string Quoted(const std::string& text);

}  // namespace setuvane
