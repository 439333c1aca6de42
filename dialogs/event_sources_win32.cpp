// The Application event log of the local computer. Only the NT family keeps one:
// Windows 9x has the calls as stubs, and there RegisterEventSourceA fails, so
// nothing is ever reported through a source.
#include <windows.h>

#include "dialogs/event_logger.h"
#include "system/wide_or_ansi_choice_win32.h"

namespace setuvane {
namespace {

// Severity error, customer bit clear, facility 2, code 2: the program has no
// message table, so the entry's one string is all it says.
constexpr DWORD kProblemEventId = 0xC0020002;

// The entry's text goes as UTF-16, so that the log shows every letter. The W call
// is looked up like the shell's (system/wide_or_ansi_choice_win32.h): the source
// comes only from the NT family, which has it.
using ReportEventWCall = BOOL(WINAPI*)(HANDLE, WORD, WORD, DWORD, PSID, WORD, DWORD, LPCWSTR*, LPVOID);

class Win32EventSources final : public EventSources {
 public:
  std::optional<Handle> Register(const std::string& sourceName) override {
    HANDLE source = RegisterEventSourceA(nullptr, sourceName.c_str());  // an ASCII name
    if (!source) return std::nullopt;
    return reinterpret_cast<Handle>(source);
  }
  void ReportError(Handle source, const std::string& text) override {
    const auto report = win32::LoadedFunctionAs<ReportEventWCall>("advapi32.dll", "ReportEventW");
    if (!report) return;
    const std::wstring wide = win32::Wide(text);
    const wchar_t* strings[] = {wide.c_str()};
    report(reinterpret_cast<HANDLE>(source), EVENTLOG_ERROR_TYPE, 0, kProblemEventId, nullptr, 1, 0, strings, nullptr);
  }
  void Deregister(Handle source) override { DeregisterEventSource(reinterpret_cast<HANDLE>(source)); }
};

}  // namespace

EventSources& SystemEventSources() {
  static Win32EventSources sources;
  return sources;
}

}  // namespace setuvane
