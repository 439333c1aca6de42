#include "dialogs/event_logger.h"

#include "system/machine.h"
#include "system/registry.h"

namespace setuvane {
namespace {

// The source's key is this prefix followed directly by its name.
constexpr char kApplicationLogKey[] = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\";
constexpr std::uint32_t kErrorWarningAndInformation = 7;

}  // namespace

TEventLogger::TEventLogger(EventSources& sources) : sources_(sources) {}

TEventLogger::~TEventLogger() { Close(); }

void TEventLogger::SetProcessName(const std::string& name) { processName_ = name.empty() ? "Undefined" : name; }

void TEventLogger::Open() {
  RegisterSource();
  Close();  // a second Open replaces the handle rather than leaking it
  source_ = sources_.Register(processName_);
}

void TEventLogger::Write(const std::string& text) {
  if (source_) sources_.ReportError(*source_, text);
}

void TEventLogger::RegisterSource() {
  Registry& registry = CurrentRegistry();
  const std::string keyName = kApplicationLogKey + processName_;
  if (std::optional<Registry::Key> existing = registry.OpenKey(kHkeyLocalMachine, keyName)) {
    registry.CloseKey(*existing);  // registered before: its values are left as they are
    return;
  }
  std::optional<Registry::Key> key = registry.CreateKey(kHkeyLocalMachine, keyName);
  if (!key) return;
  const std::string program = CurrentMachine().ModulePath().value_or("");
  std::string failed;
  if (!registry.SetValue(*key, "EventMessageFile", kRegSz, StringValueData(program))) {
    failed = "EventMessageFile";
  } else if (!registry.SetValue(*key, "TypesSupported", kRegDword, DwordValueData(kErrorWarningAndInformation))) {
    failed = "TypesSupported";
  }
  registry.CloseKey(*key);
  if (!failed.empty()) throw ERegistryError(FailedToSetDataText(failed));
}

void TEventLogger::Close() {
  if (source_) sources_.Deregister(*source_);
  source_.reset();
}

}  // namespace setuvane
