#include "core/settings.h"

#include "system/cp1250.h"
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

namespace {

// The keys in the order they are tried; a line may match several.
enum class Setting { kTaskTitle, kMainTitle, kLocation, kWindows95, kWindows98, kWindowsNT, kWindows2K };

struct Key {
  const char* text;
  Setting setting;
};

constexpr Key kKeys[] = {
    {"INSTALL_TASK_TITLE", Setting::kTaskTitle}, {"INSTALL_MAIN_TITLE", Setting::kMainTitle},
    {"PRODUCT_LOCATION", Setting::kLocation},    {"PRODUCT_WINDOWS_95", Setting::kWindows95},
    {"PRODUCT_WINDOWS_98", Setting::kWindows98}, {"PRODUCT_WINDOWS_NT", Setting::kWindowsNT},
    {"PRODUCT_WINDOWS_2K", Setting::kWindows2K},
};

void Store(Setting setting, const std::string& value) {
  switch (setting) {
    case Setting::kTaskTitle: InstallTaskTitle = value; break;
    case Setting::kMainTitle: InstallMainTitle = value; break;
    case Setting::kLocation: ProductLocation = ExpandFolderMacros(value); break;
    case Setting::kWindows95: ProductWindows95 = TextToBoolean(value); break;
    case Setting::kWindows98: ProductWindows98 = TextToBoolean(value); break;
    case Setting::kWindowsNT: ProductWindowsNT = TextToBoolean(value); break;
    case Setting::kWindows2K: ProductWindows2K = TextToBoolean(value); break;
  }
}

}  // namespace

void SetDefaultSettings() {
  InstallTaskTitle = Cp1250("Instalator Aplikacji");
  InstallMainTitle = InstallTaskTitle;
  // A full folder with its drive, as the folder page and the installation expect.
  ProductLocation = ExpandFolderMacros("<programsfolder>Aplikacja\\");
  ProductWindows95 = ProductWindows98 = ProductWindowsNT = ProductWindows2K = true;
}

void ApplySettingsLine(const std::string& line) {
  for (const Key& key : kKeys) {
    if (line.find(key.text) != std::string::npos) Store(key.setting, ValueAfterSeparator(line, '='));
  }
}

}  // namespace setuvane
