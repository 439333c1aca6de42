#include "archive/classify_failure.h"

#include "archive/exceptions.h"
#include "archive/runtime_errors.h"

namespace setuvane::archive {

ClassifiedFailure ClassifyFailure(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const EAbException& e) {
    return {TAbErrorClass::ecArchiveError, e.ErrorCode(), e.what()};
  } catch (const EInOutError& e) {
    return {TAbErrorClass::ecInOutError, e.ErrorCode(), e.what()};
  } catch (const EFilerError& e) {
    return {TAbErrorClass::ecFilerError, 0, e.what()};
  } catch (const EFCreateError& e) {
    return {TAbErrorClass::ecFileCreateError, 0, e.what()};
  } catch (const EFOpenError& e) {
    return {TAbErrorClass::ecFileOpenError, 0, e.what()};
  } catch (const std::bad_alloc&) {
    return {TAbErrorClass::ecOtherError, 0, "Out of memory"};
  } catch (const std::exception& e) {
    return {TAbErrorClass::ecOtherError, 0, e.what()};
  } catch (...) {
    return {TAbErrorClass::ecOtherError, 0, "Unknown failure"};
  }
}

}  // namespace setuvane::archive
