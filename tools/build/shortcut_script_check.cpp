#include "tools/build/shortcut_script_check.h"

#include <algorithm>
#include <vector>

#include "system/cp1250.h"
#include "system/folder_macros.h"
#include "system/setup_text.h"
#include "system/shortcut_script.h"
#include "system/text_helpers.h"
#include "tools/build/folder_macro_check.h"
#include "tools/plan/planning_machine.h"

namespace setuvane::pack {
namespace {

constexpr std::string_view kKeys[] = {"cmd", "dsc", "fld", "icn", "lnk"};

// The script as the installer reads it, block by block.
class ShortcutScriptCheck {
 public:
  ShortcutScriptCheck(const std::string& file, Problems& problems) : file_(file), problems_(problems) {}

  void Line(const std::string& line, int number) {
    if (line.empty()) return;
    switch (line[0]) {
      case '{': Open(line.substr(1), number); break;
      case '-': Property(line, number); break;
      case '}': Close(number); break;
      default: break;
    }
  }

  void End() {
    if (openLine_ > 0) problems_.Warning(file_, openLine_, "the block has no '}': its shortcut is never written");
  }

 private:
  void Open(const std::string& path, int number) {
    if (openLine_ > 0) {
      problems_.Warning(file_, openLine_, "a '{' follows (line " + std::to_string(number) +
                                              ") before this block's '}': its shortcut is never written");
    }
    openLine_ = number;
    linkFile_ = path;
    Macros(path, number, "the shortcut path");
  }

  void Property(const std::string& line, int number) {
    const std::string key = AsciiLower(line.substr(1, 3));
    const std::string value = ValueAfterSeparator(line, '=');
    if (std::find(std::begin(kKeys), std::end(kKeys), key) == std::end(kKeys)) {
      problems_.Warning(file_, number, "unknown key '-" + Cp1250ToUtf8(key) +
                                           "': the line changes nothing (keys: cmd, dsc, fld, icn, lnk)");
    }
    if (key == "lnk") target_ = value;
    Macros(value, number, "the value");
  }

  void Close(int number) {
    if (openLine_ == 0 && closedLine_ == 0) {
      problems_.Error(file_, number, "'}' before any '{': the shortcut has no path, and the installer stops here");
      return;
    }
    if (openLine_ == 0) {
      problems_.Warning(file_, number, "'}' without its own '{': the shortcut of line " +
                                           std::to_string(closedLine_) + " is written again");
      return;
    }
    if (TrimControl(target_).empty()) {
      problems_.Error(file_, openLine_, "the shortcut has no target: no '-lnk' line so far gives one");
    }
    if (ShortcutFolderOf(Resolved(linkFile_)).empty()) {
      problems_.Error(file_, openLine_, "the shortcut path '" + Cp1250ToUtf8(linkFile_) +
                                            "' names no folder: the installer stops here");
    }
    closedLine_ = openLine_;
    openLine_ = 0;
  }

  void Macros(const std::string& text, int number, const std::string& where) {
    const std::vector<std::string> unknown = UnknownMacros(text, true);
    if (!unknown.empty()) {
      problems_.Error(file_, number, "unknown folder macro " + Cp1250ToUtf8(QuotedList(unknown)) + " in " + where);
    }
  }

  // The path as the installer would resolve it on a standard machine.
  std::string Resolved(const std::string& path) {
    return SubstituteProgramFolder(ExpandFolderMacros(path), "C:\\Program Files\\Aplikacja\\");
  }

  const std::string& file_;
  Problems& problems_;
  StandardLayout layout_;
  PlanningMachine machine_{layout_, "", {}};
  ScopedMachine scopedMachine_{machine_};
  int openLine_ = 0;    // of the "{" of the block being read; 0 outside a block
  int closedLine_ = 0;  // of the "{" of the last block closed
  std::string linkFile_;
  std::string target_;  // kept from block to block, as the installer keeps it
};

}  // namespace

void CheckShortcutScript(std::string_view text, const std::string& file, Problems& problems) {
  const std::vector<std::string> lines = SplitSetupLines(text);
  ShortcutScriptCheck check(file, problems);
  for (size_t i = 0; i < lines.size(); ++i) check.Line(lines[i], static_cast<int>(i) + 1);
  check.End();
}

}  // namespace setuvane::pack
