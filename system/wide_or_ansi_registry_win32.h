// The registry through the set of calls that system/wide_or_ansi_choice_win32.h
// chooses: key paths, value names and texts as UTF-8, UTF-16 through the W calls on
// the NT family, the ANSI code page through the ANSI calls on Windows 9x (a name or
// text the code page cannot hold fails with kNameNotHeld before the call). Each
// answers the call's own result code. The W calls are looked up in advapi32.dll
// when first needed (system/wide_or_ansi_choice_win32.h, LoadedFunction).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "system/registry.h"

namespace setuvane::win32 {

// RegCreateKeyEx (REG_OPTION_NON_VOLATILE; `disposition`, when given, receives
// REG_CREATED_NEW_KEY or REG_OPENED_EXISTING_KEY) and RegOpenKeyEx.
LONG CreateRegistryKey(HKEY parent, const std::string& path, REGSAM access, HKEY& key,
                       DWORD* disposition = nullptr);
LONG OpenRegistryKey(HKEY parent, const std::string& path, REGSAM access, HKEY& key);

// A value of type REG_SZ or REG_EXPAND_SZ holding the text (with its NUL, as the
// system keeps text: UTF-16 on the NT family).
LONG SetRegistryText(HKEY key, const std::string& name, DWORD type, std::string_view text);
// A value with the data's bytes exactly: through the calls of the set in use, or
// through the ANSI calls for data in their form (RegistryData::ansiForm).
LONG SetRegistryData(HKEY key, const std::string& name, const RegistryData& data);
// The value's type and whole data as the set in use hands them (the NT family's
// W calls give the stored bytes themselves).
LONG QueryRegistryData(HKEY key, const std::string& name, RegistryData& data);
// The text of a REG_SZ or REG_EXPAND_SZ value up to its first NUL; ERROR_INVALID_DATATYPE
// for a value of another type.
LONG QueryRegistryText(HKEY key, const std::string& name, std::string& text);

LONG DeleteRegistryValue(HKEY key, const std::string& name);
// RegDeleteKey: the key without subkeys (Windows 9x would delete them too).
LONG DeleteRegistryKey(HKEY parent, const std::string& path);
// The names of the key's subkeys (RegEnumKeyEx).
LONG RegistrySubkeyNames(HKEY key, std::vector<std::string>& names);

}  // namespace setuvane::win32
