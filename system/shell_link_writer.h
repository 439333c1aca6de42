// The seam between the shortcut writer TShellLink and the shell: one call writes a
// shortcut file (.lnk) with the properties given. Windows writes it through the
// shell link object; natively every write fails; tests and the package tool's dry
// run record the writes instead (ScopedShellLinkWriter). Texts are UTF-8.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace setuvane {

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };

// What a shortcut file records.
struct ShellLinkProperties {
  std::string parameters;     // command-line arguments
  std::string description;
  std::string iconFile;       // empty: no icon location
  std::int32_t iconIndex = 0;
  std::uint16_t hotKey = 0;   // in the form of IShellLink::SetHotkey; 0 none
  std::string linkFile;       // the .lnk file itself
  std::string programFile;    // the target
  TWindowState windowState = TWindowState::wsNormal;
  std::string workingFolder;
};

// A shortcut file that could not be written.
class EShellLinkError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ShellLinkWriter {
 public:
  virtual ~ShellLinkWriter() = default;
  // Writes linkFile as the properties describe it; throws EShellLinkError.
  virtual void Write(const ShellLinkProperties& link) = 0;
};

// The show command a shortcut records for a window state (SW_SHOWNORMAL,
// SW_MINIMIZE, SW_SHOWMAXIMIZED).
int ShowCommandOf(TWindowState state);

// The writer TShellLink uses.
ShellLinkWriter& CurrentShellLinkWriter();

// The real writer of this build: the shell link object on Windows; natively one
// that fails every write.
ShellLinkWriter& DefaultShellLinkWriter();

// Makes TShellLink write through another writer for its lifetime.
class ScopedShellLinkWriter {
 public:
  explicit ScopedShellLinkWriter(ShellLinkWriter& writer);
  ~ScopedShellLinkWriter();
  ScopedShellLinkWriter(const ScopedShellLinkWriter&) = delete;
  ScopedShellLinkWriter& operator=(const ScopedShellLinkWriter&) = delete;

 private:
  ShellLinkWriter* previous_;
};

}  // namespace setuvane
