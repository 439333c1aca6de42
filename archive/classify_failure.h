// Turns an exception caught while an entry was processed into the error class and
// code that the failure event reports, and the text a user can be shown.
#pragma once

#include <exception>
#include <string>

#include "archive/archive_types.h"

namespace setuvane::archive {

struct ClassifiedFailure {
  TAbErrorClass errorClass;
  int errorCode;
  std::string text;
};

ClassifiedFailure ClassifyFailure(const std::exception_ptr& failure);

}  // namespace setuvane::archive
