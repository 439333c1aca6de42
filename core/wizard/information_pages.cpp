#include "core/wizard/information_pages.h"

#include <exception>
#include <string>
#include <vector>

#include "core/run/installer_state.h"
#include "core/run/problem_reports.h"
#include "core/wizard/wizard_texts.h"
#include "system/setup_text.h"
#include "system/text_helpers.h"

namespace setuvane {
namespace {

bool LoadList(const char* fileName, ListItems& list, const ReportTexts& report) {
  try {
    const std::vector<std::string> lines = ReadSetupTextFile(SetupFolder + fileName);
    list.Clear();
    for (const std::string& line : lines) list.Add(TrimControl(line));
    return true;
  } catch (const std::exception& failure) {
    ReportProblem(report, failure.what());
    return false;
  }
}
}  // namespace

bool LoadLicense(ListItems& lsvLicense) { return LoadList("license.inf", lsvLicense, WizardText().licenseUnreadable); }

bool LoadReadme(ListItems& lsvReadme) { return LoadList("readme.inf", lsvReadme, WizardText().readmeUnreadable); }

}  // namespace setuvane
