#include "core/run/exit_codes.h"

namespace setuvane {
namespace {

bool g_unattended = false;
int g_endingCode = kExitInstalled;

}  // namespace

void EnableUnattendedEndings() { g_unattended = true; }

void EnteringStage(UnattendedExitCode codeIfItEndsHere) {
  if (g_unattended) g_endingCode = codeIfItEndsHere;
}

int EndingExitCode() { return g_endingCode; }

void SetEndingExitCode(UnattendedExitCode code) { g_endingCode = code; }

}  // namespace setuvane
