#include "tools/build/settings_file_check.h"

#include <algorithm>
#include <vector>

#include "core/package/settings.h"
#include "system/cp1250.h"
#include "system/setup_text.h"
#include "system/text_helpers.h"
#include "tools/build/folder_macro_check.h"
#include "tools/build/script_names.h"

namespace setuvane::pack {
namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

// Levenshtein distance: insertions, deletions and replacements of single letters.
size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

bool LooksLikeKey(std::string_view name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
  });
}

// The identity becomes a registry key's name beneath the list of installed programs.
void CheckProductId(const std::string& value, int number, const std::string& file, Problems& problems) {
  const std::string_view id = Trim(value);
  if (id.empty()) {
    problems.Error(file, number, "PRODUCT_ID is empty: give the product a lasting identity, such as a GUID, or "
                                 "leave the line out");
  } else if (id.find('\\') != std::string_view::npos) {
    problems.Error(file, number, "PRODUCT_ID holds a backslash, which the name of a registry key cannot");
  } else if (std::any_of(id.begin(), id.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
    problems.Error(file, number, "PRODUCT_ID holds a control character");
  } else if (id.size() > 200) {
    problems.Error(file, number, "PRODUCT_ID is longer than 200 characters");
  }
}

void CheckKeyLine(const SettingsKey& key, const std::string& line, int number, const std::string& file,
                  Problems& problems) {
  const std::string value = ValueAfterSeparator(line, '=');
  if (!value.empty() && (value.front() == ' ' || value.front() == '\t')) {
    problems.Warning(file, number, "the value of " + std::string(key.text) +
                                       " begins with a blank, which the installer keeps as part of it");
  }
  if (key.setting == Setting::kId) CheckProductId(value, number, file, problems);
  if (key.setting == Setting::kLocation) {
    const std::vector<std::string> unknown = UnknownMacros(value, false);
    if (!unknown.empty()) {
      problems.Error(file, number, "unknown folder macro " + Cp1250ToUtf8(QuotedList(unknown)) +
                                       " in the program folder");
    }
  }
}

void CheckOtherLine(const std::string& line, int number, const std::string& file, Problems& problems) {
  const size_t separator = line.find_first_of(line.find('=') != std::string::npos ? "=" : ":");
  const std::string_view name = Trim(std::string_view(line).substr(0, separator));
  if (!LooksLikeKey(name)) return;  // ASCII only, so the name is UTF-8 text too
  const std::string upper = AsciiUpper(name);
  for (const SettingsKey& key : kSettingsKeys) {
    if (upper == key.text) {
      problems.Warning(file, number, "'" + std::string(name) + "' is not read: the installer takes keys only in "
                                         "capitals (" + std::string(key.text) + ")");
      return;
    }
  }
  for (const SettingsKey& key : kSettingsKeys) {
    if (EditDistance(upper, key.text) <= 2) {
      problems.Warning(file, number, "'" + std::string(name) + "' looks like the key " + std::string(key.text) +
                                         " misspelt; the line is not read");
      return;
    }
  }
}

// Deployment tools find an installed product by its entry's key and compare its
// version: without either, every version is a product of its own, or an upgrade
// that never seems to arrive. Read as the installer reads the file.
void CheckIdentity(const std::vector<std::string>& lines, bool idLine, const std::string& file, Problems& problems) {
  SetDefaultSettings();
  for (const std::string& line : lines) ApplySettingsLine(line);
  if (!ProductUninstall) return;  // no entry: nothing to detect
  if (TrimControl(ProductVersion).empty()) {
    problems.Warning(file, 0, "no PRODUCT_VERSION: the entry among the installed programs shows no version, so "
                              "deployment tools cannot tell whether it is up to date and offer the same upgrade again");
  }
  if (!idLine) {
    problems.Warning(file, 0, "no PRODUCT_ID: the entry's key is the title after the publisher, so a new title (one "
                              "naming a new version) makes another product, not an upgrade deployment tools can detect");
  }
}

}  // namespace

void CheckSettingsFile(std::string_view text, const std::string& file, Problems& problems) {
  const std::vector<std::string> lines = SplitSetupLines(text);
  bool idLine = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    const int number = static_cast<int>(i) + 1;
    bool matched = false;
    for (const SettingsKey& key : kSettingsKeys) {
      if (lines[i].find(key.text) == std::string::npos) continue;
      matched = true;
      idLine = idLine || key.setting == Setting::kId;
      CheckKeyLine(key, lines[i], number, file, problems);
    }
    if (!matched) CheckOtherLine(lines[i], number, file, problems);
  }
  CheckIdentity(lines, idLine, file, problems);
}

}  // namespace setuvane::pack
