#include "core/package/settings.h"

#include "system/folder_macros.h"
#include "system/text_helpers.h"

namespace setuvane {

std::string InstallTaskTitle;
std::string InstallMainTitle;
std::string ProductLocation;
bool ProductWindows95 = false;
bool ProductWindows98 = false;
bool ProductWindowsNT = false;
bool ProductWindows2K = false;
std::string ProductVersion;
std::string ProductPublisher;
std::string ProductId;
bool ProductUninstall = false;

namespace {

void Store(Setting setting, const std::string& value) {
  switch (setting) {
    case Setting::kTaskTitle: InstallTaskTitle = value; break;
    case Setting::kMainTitle: InstallMainTitle = value; break;
    case Setting::kLocation: ProductLocation = ExpandFolderMacros(value); break;
    case Setting::kWindows95: ProductWindows95 = TextToBoolean(value); break;
    case Setting::kWindows98: ProductWindows98 = TextToBoolean(value); break;
    case Setting::kWindowsNT: ProductWindowsNT = TextToBoolean(value); break;
    case Setting::kWindows2K: ProductWindows2K = TextToBoolean(value); break;
    case Setting::kVersion: ProductVersion = value; break;
    case Setting::kPublisher: ProductPublisher = value; break;
    case Setting::kUninstall: ProductUninstall = TextToBoolean(value); break;
    case Setting::kId: ProductId = value; break;
  }
}

}  // namespace

void SetDefaultSettings() {
  InstallTaskTitle = "Instalator Aplikacji";
  InstallMainTitle = InstallTaskTitle;
  // A full folder with its drive, as the folder page and the installation expect.
  ProductLocation = ExpandFolderMacros("<programsfolder>Aplikacja\\");
  ProductWindows95 = ProductWindows98 = ProductWindowsNT = ProductWindows2K = true;
  ProductVersion.clear();
  ProductPublisher.clear();
  ProductId.clear();
  ProductUninstall = true;
}

void ApplySettingsLine(const std::string& line) {
  for (const SettingsKey& key : kSettingsKeys) {
    if (line.find(key.text) != std::string::npos) Store(key.setting, ValueAfterSeparator(line, '='));
  }
}

}  // namespace setuvane
