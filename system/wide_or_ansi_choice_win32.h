// The one place where the program chooses between Windows' two sets of calls, and
// the text forms each set takes. Inside, the program keeps every text as UTF-8
// (system/utf8.h). On the NT family the W calls run, with UTF-16, so that any name
// Windows can hold goes in and comes back exactly, whatever the system's code page.
// Windows 95, 98 and Me export most W calls only as stubs that fail: there the ANSI
// calls run, with the text in the system's own ANSI code page, and a name that code
// page cannot hold is refused before the call (kNameNotHeld) rather than written
// garbled.
//
// The choice is made once, at the first call, and holds for the whole process. The
// thin layers that make the calls follow it: windows and drawing
// (widgets/wide_or_ansi_win32.h), files, folders and processes
// (system/wide_or_ansi_files_win32.h), the registry
// (system/wide_or_ansi_registry_win32.h). Nothing else asks which set is in use.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace setuvane::win32 {

// Set to "1", forces the ANSI calls on a system that has the W calls: for tests,
// which run under Wine, where the W calls always work.
inline constexpr char kForceAnsiVariable[] = "SETUVANE_ANSI_WINDOWS";

// True when the ANSI calls are in use: on Windows 95, 98 and Me (the top bit of
// GetVersion's answer), or when forced.
bool AnsiCalls();

// The error of a call refused because a name has no form in the system's code page.
inline constexpr DWORD kNameNotHeld = ERROR_NO_UNICODE_TRANSLATION;

// "system error N" for a failed call's code; for kNameNotHeld also what it means.
std::string SystemErrorText(DWORD code);

// UTF-16 for the W calls (NUL-terminated by the string), and back.
std::wstring Wide(std::string_view utf8);
std::string FromWide(const wchar_t* text, std::size_t length);
std::string FromWide(const wchar_t* text);  // up to its NUL; empty for a null pointer

// The system's ANSI code page form for the ANSI calls; nullopt when a character has
// none there (also one the system would only approximate, as "L" for "Ł").
std::optional<std::string> Ansi(std::string_view utf8);
std::string FromAnsi(std::string_view ansi);

// The OEM code page form, which DOS programs read (WININIT.INI): the ANSI form
// through CharToOemA; nullopt as for Ansi.
std::optional<std::string> Oem(std::string_view utf8);

// A function of a system DLL that the program has loaded already, found by name
// (nullptr when missing). The W calls whose export on Windows 9x no documentation
// vouches for are reached this way, so that the program loads there whatever the
// DLL exports; they are called only when AnsiCalls() is false.
void* LoadedFunction(const char* dll, const char* name);
template <class Function>
Function LoadedFunctionAs(const char* dll, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(LoadedFunction(dll, name)));
}

}  // namespace setuvane::win32
