// TShellLink, the shortcut writer: a set of properties kept from one shortcut to
// the next, and Write, which writes the shortcut file they describe through the
// current link writer (system/shell_link_writer.h). The wizard keeps one instance
// for the whole run; nothing is cleared between shortcuts. Texts are UTF-8.
#pragma once

#include <cstdint>
#include <string>

#include "system/shell_link_writer.h"

namespace setuvane {

class TShellLink {
 public:
  const std::string& Parameters() const { return link_.parameters; }
  void SetParameters(std::string value) { link_.parameters = std::move(value); }
  const std::string& Description() const { return link_.description; }
  void SetDescription(std::string value) { link_.description = std::move(value); }
  const std::string& IconFile() const { return link_.iconFile; }
  void SetIconFile(std::string value) { link_.iconFile = std::move(value); }
  std::int32_t IconIndex() const { return link_.iconIndex; }
  void SetIconIndex(std::int32_t value) { link_.iconIndex = value; }
  std::uint16_t HotKey() const { return link_.hotKey; }
  void SetHotKey(std::uint16_t value) { link_.hotKey = value; }
  const std::string& LinkFile() const { return link_.linkFile; }
  void SetLinkFile(std::string value) { link_.linkFile = std::move(value); }
  const std::string& ProgramFile() const { return link_.programFile; }
  void SetProgramFile(std::string value) { link_.programFile = std::move(value); }
  TWindowState WindowState() const { return link_.windowState; }
  void SetWindowState(TWindowState value) { link_.windowState = value; }
  const std::string& WorkingFolder() const { return link_.workingFolder; }
  void SetWorkingFolder(std::string value) { link_.workingFolder = std::move(value); }

  // Writes LinkFile. An empty WorkingFolder first becomes the folder of
  // ProgramFile (up to and including its last "\" or ":") and keeps that value.
  // Throws EShellLinkError when the file cannot be written. While an uninstall
  // record is kept, the shortcut is recorded before it is written and its bytes
  // after; nothing is written once the record is not kept (UninstallRecordKept).
  void Write();

 private:
  ShellLinkProperties link_;
};

}  // namespace setuvane
