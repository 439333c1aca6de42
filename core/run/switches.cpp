#include "core/run/switches.h"

namespace setuvane {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Switch names are ASCII: a letter of any other script leaves the name unknown.
std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

bool IsOurSwitch(const std::string& name) {
  for (const char* ours : {"SILENT", "VERYSILENT", "RESTART", "DIR", "LOG", "UNINSTALL", "?"}) {
    if (name == ours) return true;
  }
  return false;
}

bool IsHarmlessSwitch(const std::string& name) {
  return name == "NORESTART" || name == "SUPPRESSMSGBOXES" || name == "SP-";
}

}  // namespace

Switches& ProgramSwitches() {
  static Switches switches;
  return switches;
}

std::string_view AfterProgramName(std::string_view commandLine) {
  size_t at = 0;
  if (!commandLine.empty() && commandLine[0] == '"') {
    const size_t close = commandLine.find('"', 1);
    at = close == std::string_view::npos ? commandLine.size() : close + 1;
  }
  while (at < commandLine.size() && !IsBlank(commandLine[at])) ++at;
  return commandLine.substr(at);
}

std::vector<std::string> SplitArguments(std::string_view commandLine) {
  std::vector<std::string> arguments;
  size_t at = 0;
  while (at < commandLine.size()) {
    while (at < commandLine.size() && IsBlank(commandLine[at])) ++at;
    if (at == commandLine.size()) break;
    std::string argument;
    bool quoted = false;
    for (; at < commandLine.size() && (quoted || !IsBlank(commandLine[at])); ++at) {
      if (commandLine[at] == '"') {
        quoted = !quoted;
      } else {
        argument.push_back(commandLine[at]);
      }
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

Switches ParseSwitches(const std::vector<std::string>& arguments) {
  Switches switches;
  std::vector<std::string> unknown;
  for (const std::string& argument : arguments) {
    const bool isSwitch = argument.size() > 1 && (argument[0] == '/' || argument[0] == '-');
    const size_t equals = argument.find('=');
    const std::string name = isSwitch ? Upper(std::string_view(argument).substr(1, equals - 1)) : std::string();
    const std::optional<std::string> value =
        equals == std::string::npos ? std::nullopt : std::optional<std::string>(argument.substr(equals + 1));
    if (name == "SILENT" && !value) {
      if (switches.mode != RunMode::kVerySilent) switches.mode = RunMode::kSilent;
    } else if (name == "VERYSILENT" && !value) {
      switches.mode = RunMode::kVerySilent;
    } else if (name == "RESTART" && !value) {
      switches.restart = true;
    } else if (name == "DIR" && value && !value->empty()) {
      switches.folder = value;
    } else if (name == "LOG" && value && !value->empty()) {
      switches.log = value;
    } else if (name == "UNINSTALL" && !(value && value->empty())) {
      switches.uninstall = value.value_or(std::string());
    } else if (name == "?" && !value) {
      switches.help = true;
    } else if (IsHarmlessSwitch(name) && !value) {
      switches.harmless.push_back(argument);
    } else if (IsOurSwitch(name)) {
      // One of ours with a value it cannot take (or lacking one) is a bad switch in
      // every run, never a launcher's stray argument.
      switches.help = true;
      if (switches.refused.empty()) switches.refused = argument;
    } else {
      unknown.push_back(argument);
    }
  }
  if (!unknown.empty()) {
    if (switches.mode == RunMode::kInteractive) {
      switches.ignored = std::move(unknown);
    } else {
      switches.help = true;
      if (switches.refused.empty()) switches.refused = unknown.front();
    }
  }
  // An uninstallation has no folder to choose and restarts nobody.
  if (switches.uninstall && (switches.folder || switches.restart)) {
    switches.help = true;
    if (switches.refused.empty()) switches.refused = switches.folder ? "/DIR" : "/RESTART";
  }
  return switches;
}

std::string SwitchesHelpText() {
  return "Parametry instalatora:\r\n"
         "/SILENT  instalacja bez pytań, widoczny tylko postęp\r\n"
         "/VERYSILENT  instalacja bez żadnego okna\r\n"
         "/DIR=\"katalog\"  katalog instalacji\r\n"
         "/RESTART  ponowne uruchomienie komputera po instalacji\r\n"
         "/LOG=\"plik\"  zapis przebiegu instalacji do pliku\r\n"
         "/UNINSTALL  usunięcie zainstalowanej aplikacji (program uninstall.exe w jej katalogu)\r\n"
         "/?  ta informacja";
}

std::string LogNotCreatedText(const std::string& path) {
  return "Utworzenie pliku dziennika instalacji \"" + path + "\" jest niemożliwe.";
}

}  // namespace setuvane
