// The settings of an installation, read from install.inf: the two titles, the
// proposed program folder, four Windows flags that are kept but not consulted, and
// the product's version and publisher (optional; shown where Windows lists the
// installed product) and its lasting identity (optional).
// They hold empty texts and false until the package's defaults are set.
#pragma once

#include <string>
#include <string_view>

namespace setuvane {

extern std::string InstallTaskTitle;  // the application title: taskbar, questions
extern std::string InstallMainTitle;  // the main window's caption
// The program folder: proposed by the package, replaced by the folder page; the
// value of "<programfolder>".
extern std::string ProductLocation;
extern bool ProductWindows95;
extern bool ProductWindows98;
extern bool ProductWindowsNT;
extern bool ProductWindows2K;
extern std::string ProductVersion;    // empty unless the package names one
extern std::string ProductPublisher;  // empty unless the package names one
// The product's own name for itself that no version changes (a GUID, say): the key
// of its entry among the installed programs. Empty unless the package names one.
extern std::string ProductId;
// Whether the installation records what it does, leaves an uninstaller and lists
// the product among the installed programs (true unless the package says no).
extern bool ProductUninstall;

// The keys of install.inf, in the order they are tried; a line may match several.
enum class Setting { kTaskTitle, kMainTitle, kLocation, kWindows95, kWindows98, kWindowsNT, kWindows2K,
                     kVersion, kPublisher, kUninstall, kId };

struct SettingsKey {
  std::string_view text;  // as it must stand in a line: in capitals
  Setting setting;
};

inline constexpr SettingsKey kSettingsKeys[] = {
    {"INSTALL_TASK_TITLE", Setting::kTaskTitle}, {"INSTALL_MAIN_TITLE", Setting::kMainTitle},
    {"PRODUCT_LOCATION", Setting::kLocation},    {"PRODUCT_WINDOWS_95", Setting::kWindows95},
    {"PRODUCT_WINDOWS_98", Setting::kWindows98}, {"PRODUCT_WINDOWS_NT", Setting::kWindowsNT},
    {"PRODUCT_WINDOWS_2K", Setting::kWindows2K}, {"PRODUCT_VERSION", Setting::kVersion},
    {"PRODUCT_PUBLISHER", Setting::kPublisher},  {"PRODUCT_UNINSTALL", Setting::kUninstall},
    {"PRODUCT_ID", Setting::kId},
};

// The defaults that apply when install.inf says nothing: both titles
// "Instalator Aplikacji", the program folder "Aplikacja" in the Program Files
// folder (with a final backslash), all four flags true, no version, no publisher and
// no identity, uninstallation on.
void SetDefaultSettings();

// Applies one line of install.inf: every key that occurs in the line, in capitals,
// anywhere in it, takes the text after the line's first "=" (or, without one, after
// its first ":"), untrimmed.
void ApplySettingsLine(const std::string& line);

}  // namespace setuvane
