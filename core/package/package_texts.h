// The reports about the install package (UTF-8): a package that is missing,
// cannot be unpacked or carries unreadable settings.
#pragma once

#include <string>

#include "core/run/report_texts.h"

namespace setuvane {

struct PackageTexts {
  // In the formats "%s" stands for a file name or a path.
  ReportTexts packageMissing;       // message has "%s" (without quotes)
  ReportTexts payloadMissing;       // message has "\"%s\""
  ReportTexts packageInvalid;       // details: the failure's text
  ReportTexts settingsUnreadable;   // hint has "%s"; details: the failure's text
};

const PackageTexts& PackageText();

}  // namespace setuvane
