#include "system/wide_or_ansi_choice_win32.h"

#include <cwchar>

#include "system/utf8.h"

namespace setuvane::win32 {
namespace {

bool ChooseAnsiCalls() {
  if ((GetVersion() & 0x80000000u) != 0) return true;  // Windows 95, 98, Me
  char value[4] = {};
  const DWORD length = GetEnvironmentVariableA(kForceAnsiVariable, value, sizeof value);
  return length == 1 && value[0] == '1';
}

std::wstring WideOfAnsi(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), length);
  return wide;
}

}  // namespace

bool AnsiCalls() {
  static const bool ansi = ChooseAnsiCalls();
  return ansi;
}

std::string SystemErrorText(DWORD code) {
  std::string text = "system error " + std::to_string(code);
  if (code == kNameNotHeld) text += ": the name has characters that this Windows' code page cannot hold";
  return text;
}

std::wstring Wide(std::string_view utf8) {
  const std::u16string text = Utf8ToUtf16(utf8);
  return std::wstring(text.begin(), text.end());
}

std::string FromWide(const wchar_t* text, std::size_t length) {
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

std::string FromWide(const wchar_t* text) { return text ? FromWide(text, std::wcslen(text)) : std::string(); }

std::optional<std::string> Ansi(std::string_view utf8) {
  const std::wstring wide = Wide(utf8);
  if (wide.empty()) return std::string();
  const int size = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return std::nullopt;
  std::string ansi(static_cast<std::size_t>(length), '\0');
  BOOL defaulted = FALSE;
  WideCharToMultiByte(CP_ACP, 0, wide.data(), size, ansi.data(), length, nullptr, &defaulted);
  // A character the code page lacks becomes "?" or a look-alike ("L" for "Ł"): only
  // a form that reads back as the same text holds the name.
  if (defaulted || WideOfAnsi(ansi) != wide) return std::nullopt;
  return ansi;
}

std::string FromAnsi(std::string_view ansi) {
  const std::wstring wide = WideOfAnsi(ansi);
  return FromWide(wide.data(), wide.size());
}

std::optional<std::string> Oem(std::string_view utf8) {
  std::optional<std::string> text = Ansi(utf8);
  if (text && !text->empty()) CharToOemA(text->c_str(), text->data());  // one byte for one, in place
  return text;
}

void* LoadedFunction(const char* dll, const char* name) {
  const HMODULE module = GetModuleHandleA(dll);
  return module ? reinterpret_cast<void*>(GetProcAddress(module, name)) : nullptr;
}

}  // namespace setuvane::win32
