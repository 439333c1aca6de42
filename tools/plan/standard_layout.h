// The Windows machine a plan is made for: a classic Windows 98 with user profiles
// on drive C:, the installation medium on drive D:. Every folder the installer asks
// the machine for can be set otherwise by its name; the Program Files folder is the
// one Windows 98 registers, "Program Files" on the Windows drive (the planning
// machine registers none, so the installer's own rule for that case gives it).
//
//   Windows      C:\WINDOWS                  System   C:\WINDOWS\SYSTEM
//   Temp         C:\WINDOWS\TEMP             Source   D:\ (the medium)
//   Desktop, Favorites, Start Menu, Recent, SendTo, AppData ("Application Data")
//                C:\WINDOWS\Profiles\User\<name>
//   version      4.10.2222 (Windows 98 Second Edition)
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "system/machine.h"

namespace setuvane::pack {

struct LayoutFolder {
  std::string name;  // "Windows", "Desktop", "Start Menu", ...
  std::string path;  // without a final backslash (a drive root keeps it)
};

class StandardLayout {
 public:
  StandardLayout();

  const std::vector<LayoutFolder>& Folders() const { return folders_; }
  // The folder of that name; empty when there is none or it was set empty.
  std::string Folder(std::string_view name) const;
  // Sets a folder, its name compared without regard to letter case and blanks
  // ("startmenu" is "Start Menu"). False for a name that is none of the folders.
  bool SetFolder(std::string_view name, std::string path);

  const VersionRecord& Version() const { return version_; }
  // "major.minor.build" as Windows reports it; false for another form.
  bool SetVersion(std::string_view text);

 private:
  std::vector<LayoutFolder> folders_;
  VersionRecord version_;
};

}  // namespace setuvane::pack
