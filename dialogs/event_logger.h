// TEventLogger writes error entries to the Application log of the Windows event
// log under a source name of its own, registering the source beneath
// HKEY_LOCAL_MACHINE on first use. Set ProcessName, Open, then Write as often as
// needed; the source handle is released when the logger is destroyed. Texts are
// UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace setuvane {

// The seam to the event log: RegisterEventSourceA on the local computer, one
// ReportEvent error entry (category 0, event 0xC0020002, the text as its one
// string), DeregisterEventSource.
class EventSources {
 public:
  using Handle = std::uintptr_t;
  virtual ~EventSources() = default;
  virtual std::optional<Handle> Register(const std::string& sourceName) = 0;
  virtual void ReportError(Handle source, const std::string& text) = 0;
  virtual void Deregister(Handle source) = 0;
};

// The system's event log (Windows build only).
EventSources& SystemEventSources();

class TEventLogger {
 public:
  explicit TEventLogger(EventSources& sources);
  ~TEventLogger();
  TEventLogger(const TEventLogger&) = delete;
  TEventLogger& operator=(const TEventLogger&) = delete;

  // "Undefined" at first; an empty name stores "Undefined".
  const std::string& ProcessName() const { return processName_; }
  void SetProcessName(const std::string& name);

  // True once Open has obtained a source handle.
  bool Enabled() const { return source_.has_value(); }

  // Registers the source unless its key exists ("EventMessageFile" the running
  // program, "TypesSupported" 7), then opens it. A key that can be neither opened
  // nor created (no right to write beneath HKEY_LOCAL_MACHINE) leaves the source
  // unregistered, and it is opened all the same: the event log takes entries of
  // unregistered sources, and the entry's text is all it carries. A value that
  // cannot be written throws ERegistryError and the source stays closed.
  void Open();

  // One error entry with the text; nothing before a successful Open.
  void Write(const std::string& text);

 private:
  void RegisterSource();
  void Close();

  EventSources& sources_;
  std::string processName_ = "Undefined";
  std::optional<EventSources::Handle> source_;
};

}  // namespace setuvane
