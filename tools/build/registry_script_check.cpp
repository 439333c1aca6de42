#include "tools/build/registry_script_check.h"

#include <vector>

#include "system/cp1250.h"
#include "system/registry_lines.h"
#include "system/setup_text.h"
#include "system/text_helpers.h"
#include "tools/build/folder_macro_check.h"

namespace setuvane::pack {
namespace {

// Words an author writes for false; "bln" takes every text but TRUE and PRAWDA so.
bool MeansFalse(std::string_view value) {
  for (const std::string_view word : {"FALSE", "FA\xA3SZ", "NIE", "0"}) {  // FAŁSZ in Windows-1250
    if (value.size() != word.size()) continue;
    bool same = true;
    for (size_t i = 0; i < word.size() && same; ++i) same = Cp1250Upper(value[i]) == word[i];
    if (same) return true;
  }
  return false;
}

void CheckValueLine(const std::string& line, bool afterKey, int number, const std::string& file,
                    Problems& problems) {
  const RegistryValueLine parsed = ParseRegistryValueLine(line);
  const std::string shown = Cp1250ToUtf8(parsed.value);
  if (!afterKey) problems.Error(file, number, "a value before any key line: the installer has no key to write it to");
  switch (parsed.type) {
    case RegistryValueType::kOther:
      problems.Error(file, number, "unknown value type '" + Cp1250ToUtf8(parsed.typeCode) +
                                       "': the installer skips the line (types: str, int, bln)");
      return;
    case RegistryValueType::kInteger:
      if (!ParseRegistryInteger(parsed.value)) {
        problems.Error(file, number, Cp1250ToUtf8(NotAnIntegerText(parsed.value)) +
                                         " (decimal, or hexadecimal after '$' or '0x', in 32 bits)");
      }
      break;
    case RegistryValueType::kBoolean:
      if (!TextToBoolean(parsed.value) && !MeansFalse(parsed.value)) {
        problems.Warning(file, number, "'" + shown + "' writes 0: only TRUE and PRAWDA (any letter case) write 1");
      }
      break;
    case RegistryValueType::kString:
      break;
  }
  const std::vector<std::string> unknown = UnknownMacros(parsed.value, true);
  if (!unknown.empty()) {
    problems.Error(file, number, "unknown folder macro " + Cp1250ToUtf8(QuotedList(unknown)) + " in the value");
  }
}

}  // namespace

void CheckRegistryScript(std::string_view text, const std::string& file, Problems& problems) {
  const std::vector<std::string> lines = SplitSetupLines(text);
  bool afterKey = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    const int number = static_cast<int>(i) + 1;
    switch (RegistryLineKindOf(lines[i])) {
      case RegistryLineKind::kKey:
        afterKey = true;
        if (lines[i].find('\\') == std::string::npos) {
          problems.Warning(file, number, "the key line has no '\\': the installer takes the whole line '" +
                                             Cp1250ToUtf8(lines[i]) + "' for the key's path");
        }
        break;
      case RegistryLineKind::kValue:
        CheckValueLine(lines[i], afterKey, number, file, problems);
        break;
      case RegistryLineKind::kIgnored:
        break;
    }
  }
}

}  // namespace setuvane::pack
