#include "system/wide_or_ansi_registry_win32.h"

#include <cstdint>
#include <optional>

#include "system/utf8.h"
#include "system/wide_or_ansi_choice_win32.h"

namespace setuvane::win32 {
namespace {

// The W calls of advapi32.dll, found once.
struct WideCalls {
  template <class Function>
  static Function Find(const char* name) {
    return LoadedFunctionAs<Function>("advapi32.dll", name);
  }
  decltype(&RegCreateKeyExW) createKey = Find<decltype(&RegCreateKeyExW)>("RegCreateKeyExW");
  decltype(&RegOpenKeyExW) openKey = Find<decltype(&RegOpenKeyExW)>("RegOpenKeyExW");
  decltype(&RegSetValueExW) setValue = Find<decltype(&RegSetValueExW)>("RegSetValueExW");
  decltype(&RegQueryValueExW) queryValue = Find<decltype(&RegQueryValueExW)>("RegQueryValueExW");
  decltype(&RegDeleteValueW) deleteValue = Find<decltype(&RegDeleteValueW)>("RegDeleteValueW");
  decltype(&RegDeleteKeyW) deleteKey = Find<decltype(&RegDeleteKeyW)>("RegDeleteKeyW");
  decltype(&RegEnumKeyExW) enumKey = Find<decltype(&RegEnumKeyExW)>("RegEnumKeyExW");
};

const WideCalls& W() {
  static const WideCalls calls;
  return calls;
}

// `wide` with the name in UTF-16 (its call found) on the NT family, `ansi` with its
// ANSI form on Windows 9x.
template <class WideCall, class AnsiCall>
LONG WithName(const std::string& name, WideCall wide, AnsiCall ansi) {
  if (!AnsiCalls()) return wide(Wide(name).c_str());
  const std::optional<std::string> text = Ansi(name);
  return text ? ansi(text->c_str()) : static_cast<LONG>(kNameNotHeld);
}

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

LONG Missing() { return ERROR_CALL_NOT_IMPLEMENTED; }

// The whole data of a value through one set's query (the value may grow between
// the call that measures it and the one that reads it: asked again until it fits).
template <class Query>
LONG QueryWhole(Query query, std::uint32_t& type, std::string& data) {
  DWORD kind = 0;
  DWORD size = 0;
  LONG result = query(&kind, nullptr, &size);
  if (result != ERROR_SUCCESS) return result;
  data.assign(size, '\0');
  for (;;) {
    size = static_cast<DWORD>(data.size());
    result = query(&kind, reinterpret_cast<BYTE*>(data.data()), &size);
    if (result != ERROR_MORE_DATA) break;
    data.resize(size);
  }
  if (result == ERROR_SUCCESS) data.resize(size);
  type = kind;
  return result;
}

LONG SetAnsiValue(HKEY key, const char* name, DWORD type, std::string_view data) {
  return RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                        static_cast<DWORD>(data.size()));
}

}  // namespace

LONG CreateRegistryKey(HKEY parent, const std::string& path, REGSAM access, HKEY& key, DWORD* disposition) {
  return WithName(
      path,
      [&](const wchar_t* p) {
        return W().createKey
                   ? W().createKey(parent, p, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, disposition)
                   : Missing();
      },
      [&](const char* p) {
        return RegCreateKeyExA(parent, p, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, disposition);
      });
}

LONG OpenRegistryKey(HKEY parent, const std::string& path, REGSAM access, HKEY& key) {
  return WithName(
      path, [&](const wchar_t* p) { return W().openKey ? W().openKey(parent, p, 0, access, &key) : Missing(); },
      [&](const char* p) { return RegOpenKeyExA(parent, p, 0, access, &key); });
}

LONG SetRegistryText(HKEY key, const std::string& name, DWORD type, std::string_view text) {
  if (!AnsiCalls()) {
    if (!W().setValue) return Missing();
    const std::wstring data = Wide(text);
    return W().setValue(key, Wide(name).c_str(), 0, type, reinterpret_cast<const BYTE*>(data.c_str()),
                        static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  }
  const std::optional<std::string> ansiName = Ansi(name);
  const std::optional<std::string> data = Ansi(text);
  if (!ansiName || !data) return static_cast<LONG>(kNameNotHeld);
  return SetAnsiValue(key, ansiName->c_str(), type, std::string_view(data->c_str(), data->size() + 1));
}

LONG SetRegistryData(HKEY key, const std::string& name, const RegistryData& data) {
  if (!AnsiCalls() && !data.ansiForm) {
    if (!W().setValue) return Missing();
    return W().setValue(key, Wide(name).c_str(), 0, data.type, reinterpret_cast<const BYTE*>(data.data.data()),
                        static_cast<DWORD>(data.data.size()));
  }
  // Data in the ANSI calls' form go back through them, on either family; so does
  // the name, which they take in the system's code page.
  const std::optional<std::string> ansiName = Ansi(name);
  if (!ansiName) return static_cast<LONG>(kNameNotHeld);
  return SetAnsiValue(key, ansiName->c_str(), data.type, data.data);
}

LONG QueryRegistryData(HKEY key, const std::string& name, RegistryData& data) {
  data.ansiForm = AnsiCalls();
  return WithName(
      name,
      [&](const wchar_t* n) {
        if (!W().queryValue) return Missing();
        return QueryWhole([&](DWORD* t, BYTE* b, DWORD* s) { return W().queryValue(key, n, nullptr, t, b, s); },
                          data.type, data.data);
      },
      [&](const char* n) {
        return QueryWhole([&](DWORD* t, BYTE* b, DWORD* s) { return RegQueryValueExA(key, n, nullptr, t, b, s); },
                          data.type, data.data);
      });
}

LONG QueryRegistryText(HKEY key, const std::string& name, std::string& text) {
  RegistryData data;
  const LONG result = QueryRegistryData(key, name, data);
  if (result != ERROR_SUCCESS) return result;
  if (!IsText(data.type)) return ERROR_INVALID_DATATYPE;
  if (data.ansiForm) {
    text = FromAnsi(data.data.substr(0, data.data.find('\0')));
    return ERROR_SUCCESS;
  }
  std::u16string units(data.data.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(data.data[2 * i]) |
                                     static_cast<unsigned char>(data.data[2 * i + 1]) << 8);
  }
  text = Utf16ToUtf8(units.substr(0, units.find(u'\0')));
  return ERROR_SUCCESS;
}

LONG DeleteRegistryValue(HKEY key, const std::string& name) {
  return WithName(
      name, [&](const wchar_t* n) { return W().deleteValue ? W().deleteValue(key, n) : Missing(); },
      [&](const char* n) { return RegDeleteValueA(key, n); });
}

LONG DeleteRegistryKey(HKEY parent, const std::string& path) {
  return WithName(
      path, [&](const wchar_t* p) { return W().deleteKey ? W().deleteKey(parent, p) : Missing(); },
      [&](const char* p) { return RegDeleteKeyA(parent, p); });
}

LONG RegistrySubkeyNames(HKEY key, std::vector<std::string>& names) {
  names.clear();
  // Key names are at most 255 characters.
  for (DWORD index = 0;; ++index) {
    LONG result;
    if (!AnsiCalls()) {
      if (!W().enumKey) return Missing();
      wchar_t name[256];
      DWORD length = 256;
      result = W().enumKey(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
      if (result == ERROR_SUCCESS) names.push_back(FromWide(name, length));
    } else {
      char name[256];
      DWORD length = 256;
      result = RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
      if (result == ERROR_SUCCESS) names.push_back(FromAnsi(std::string_view(name, length)));
    }
    if (result == ERROR_NO_MORE_ITEMS) return ERROR_SUCCESS;
    if (result != ERROR_SUCCESS) return result;
  }
}

}  // namespace setuvane::win32
