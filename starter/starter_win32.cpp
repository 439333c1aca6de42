// The program entry of setuvane.exe: a small starter that carries the installer's
// code compressed (starter/carried_code.h), unpacks it into a folder of its own,
// runs it and removes it again. Everything the installer reads from its own
// program file (the package record, the resources, the bytes the uninstaller
// copies) stays in this file.
#include <windows.h>

#include "core/program/dll_search_win32.h"
#include "core/program/program_entry.h"
#include "core/run/exit_codes.h"
#include "starter/carried_code.h"
#include "starter/starter_texts.h"
#include "starter/unpacked_code.h"

namespace {

using setuvane::starter::StartFailure;

// Whether the command line asks for a run without messages (/SILENT or /VERYSILENT,
// with "/" or "-", in any letter case), as the installer's switches read it.
bool Unattended(const char* line) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  auto is = [&](const char* at, const char* end, const char* word) {
    for (; at < end && *word != 0; ++at, ++word)
      if (lower(*at) != *word) return false;
    return at == end && *word == 0;
  };
  bool quoted = false;
  const char* start = nullptr;
  for (const char* at = line;; ++at) {
    const bool blank = *at == 0 || ((*at == ' ' || *at == '\t') && !quoted);
    if (*at == '"') quoted = !quoted;
    if (!blank && start == nullptr) start = at;
    if (blank && start != nullptr) {
      if ((*start == '/' || *start == '-') && (is(start + 1, at, "silent") || is(start + 1, at, "verysilent")))
        return true;
      start = nullptr;
    }
    if (*at == 0) return false;
  }
}

// A start that fails before the installer's code runs ends as the installer's
// would: a damaged program as a damaged package, anything else as a failed step.
int Report(StartFailure failure, bool unattended) {
  if (!unattended) {
    const setuvane::starter::StarterTexts& t = setuvane::starter::StarterText();
    MessageBoxW(nullptr, failure == StartFailure::kDamaged ? t.damaged : t.noFolder, t.title,
                MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
  }
  return failure == StartFailure::kDamaged ? setuvane::kExitPackageUnreadable : setuvane::kExitStepFailed;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  setuvane::RestrictDllSearchPath();
  setuvane::starter::RemoveLeftFolders();
  setuvane::starter::UnpackedCode code;
  const StartFailure failure = code.Unpack(setuvane::starter::TheCarriedCode());
  if (failure != StartFailure::kNone) return Report(failure, Unattended(GetCommandLineA()));
  const setuvane::ProgramStart start{instance, show};
  return reinterpret_cast<setuvane::ProgramEntry>(reinterpret_cast<void*>(code.Entry()))(&start);
}
