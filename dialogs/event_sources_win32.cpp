// The Application event log of the local computer.
#include <windows.h>

#include "dialogs/event_logger.h"

namespace setuvane {
namespace {

// Severity error, customer bit clear, facility 2, code 2: the program has no
// message table, so the entry's one string is all it says.
constexpr DWORD kProblemEventId = 0xC0020002;

class Win32EventSources final : public EventSources {
 public:
  std::optional<Handle> Register(const std::string& sourceName) override {
    HANDLE source = RegisterEventSourceA(nullptr, sourceName.c_str());
    if (!source) return std::nullopt;
    return reinterpret_cast<Handle>(source);
  }
  void ReportError(Handle source, const std::string& text) override {
    const char* strings[] = {text.c_str()};
    ReportEventA(reinterpret_cast<HANDLE>(source), EVENTLOG_ERROR_TYPE, 0, kProblemEventId, nullptr, 1, 0, strings,
                 nullptr);
  }
  void Deregister(Handle source) override { DeregisterEventSource(reinterpret_cast<HANDLE>(source)); }
};

}  // namespace

EventSources& SystemEventSources() {
  static Win32EventSources sources;
  return sources;
}

}  // namespace setuvane
