// The setup files the installer reads, by name.
#pragma once

#include <string>
#include <string_view>

namespace setuvane::pack {

inline constexpr std::string_view kSettingsFile = "install.inf";
inline constexpr std::string_view kRegistryScript = "registry.inf";
inline constexpr std::string_view kShortcutScript = "shortcut.inf";
inline constexpr std::string_view kLicenceText = "license.inf";
inline constexpr std::string_view kProductText = "readme.inf";

// install.inf, registry.inf or shortcut.inf (any letter case): files the installer
// reads line by line and whose lines are commands.
bool IsScriptName(std::string_view storedName);

// Equal without regard to ASCII letter case.
bool SameName(std::string_view a, std::string_view b);

// A to Z for a to z, as the installer's masks and keys compare.
std::string AsciiUpper(std::string_view text);

}  // namespace setuvane::pack
