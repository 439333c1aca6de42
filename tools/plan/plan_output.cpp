#include "tools/plan/plan_output.h"

#include <cinttypes>

#include "system/registry.h"
#include "tools/printable.h"

namespace setuvane::pack {
namespace {

const char* StepName(PlanStep step) {
  switch (step) {
    case PlanStep::kSettings: return "settings";
    case PlanStep::kFiles: return "files";
    case PlanStep::kComponents: return "components";
    case PlanStep::kRegistry: return "registry";
    case PlanStep::kShortcuts: return "shortcuts";
  }
  return "";
}

std::string VersionText(const VersionRecord& v) {
  return std::to_string(v.majorVersion) + "." + std::to_string(v.minorVersion) + "." + std::to_string(v.buildNumber);
}

std::string TypeName(std::uint32_t type) {
  if (type == kRegSz) return "REG_SZ";
  if (type == kRegDword) return "REG_DWORD";
  return "type " + std::to_string(type);
}

std::uint32_t Dword(const std::string& data) {
  std::uint32_t number = 0;
  for (size_t i = 0; i < 4 && i < data.size(); ++i) number |= std::uint32_t(std::uint8_t(data[i])) << (8 * i);
  return number;
}

// A REG_SZ's text without its NUL.
std::string Text(const std::string& data) { return data.substr(0, data.find('\0')); }

std::string Hex(const std::string& data) {
  std::string hex;
  char byte[3];
  for (const char c : data) {
    std::snprintf(byte, sizeof byte, "%02x", static_cast<unsigned char>(c));
    hex += byte;
  }
  return hex;
}

std::string ValueText(const RegistryWrite& w) {
  if (w.type == kRegSz) return "\"" + Printable(Text(w.data)) + "\"";
  if (w.type == kRegDword) {
    char number[32];
    std::snprintf(number, sizeof number, "0x%08" PRIx32 " (%" PRIu32 ")", Dword(w.data), Dword(w.data));
    return number;
  }
  return Hex(w.data);
}

std::string ProblemLine(const PlanProblem& p) {
  std::string line = p.stops ? "the installation stops: " : "problem: ";
  line += Printable(p.report.message);
  if (!p.report.hint.empty()) line += " " + Printable(p.report.hint);
  if (!p.report.details.empty()) line += " (" + Printable(p.report.details) + ")";
  return line;
}

// The step's problems that came after `item` of its items (before the first for
// 0); with `andLater`, also those after later items.
void PrintProblems(const InstallationPlan& plan, PlanStep step, size_t item, bool andLater, std::FILE* out) {
  for (const PlanProblem& p : plan.problems) {
    if (p.step == step && (p.after == item || (andLater && p.after > item))) {
      std::fprintf(out, "  %s\n", ProblemLine(p).c_str());
    }
  }
}

// The items of a step in order, each problem where it arose.
template <typename Item, typename Print>
void PrintStep(const InstallationPlan& plan, PlanStep step, const std::vector<Item>& items, Print print,
               std::FILE* out) {
  for (size_t i = 0; i < items.size(); ++i) {
    PrintProblems(plan, step, i, false, out);
    print(items[i]);
  }
  PrintProblems(plan, step, items.size(), true, out);
}

void PrintHeading(const char* heading, bool empty, std::FILE* out) {
  std::fprintf(out, "\n%s:%s\n", heading, empty ? " none" : "");
}

void PrintMachine(const InstallationPlan& plan, const PlanOptions& options, std::FILE* out) {
  std::fprintf(out, "Machine (--windows-version, --folder NAME=PATH):\n");
  std::fprintf(out, "  %-11s %s\n", "version", VersionText(options.layout.Version()).c_str());
  for (const LayoutFolder& folder : options.layout.Folders()) {
    std::fprintf(out, "  %-11s %s%s\n", folder.name.c_str(), Printable(folder.path).c_str(),
                 folder.name == "Source" ? (" (the medium: " + Printable(options.medium) + ")").c_str() : "");
  }
  std::fprintf(out, "Program folder: %s\n", Printable(plan.programFolder).c_str());
  PrintProblems(plan, PlanStep::kSettings, 0, true, out);
}

void PrintFiles(const InstallationPlan& plan, std::FILE* out) {
  PrintHeading("Product files", plan.files.empty(), out);
  for (const PlannedFile& f : plan.files) {
    if (f.folder.empty()) {
      std::fprintf(out, "  %s: not installed, its folder resolves to nothing\n", Printable(f.storedName).c_str());
      continue;
    }
    std::fprintf(out, "  %s -> %s%s\n", Printable(f.storedName).c_str(), Printable(f.path).c_str(),
                 f.asksBeforeReplacing ? " (asks before replacing an existing file)" : "");
  }
}

void PrintComponents(const InstallationPlan& plan, std::FILE* out) {
  PrintHeading("System components", plan.components.empty(), out);
  PrintStep(plan, PlanStep::kComponents, plan.components, [out](const PlannedComponent& c) {
    std::fprintf(out, "  %s", Printable(c.commandLine).c_str());
    if (!c.status.empty()) std::fprintf(out, "  [%s]", Printable(c.status).c_str());
    std::fprintf(out, "\n");
  }, out);
}

void PrintRegistry(const InstallationPlan& plan, std::FILE* out) {
  PrintHeading("Registry", plan.registry.empty(), out);
  PrintStep(plan, PlanStep::kRegistry, plan.registry, [out](const RegistryWrite& w) {
    if (!w.isValue) {
      std::fprintf(out, "  key   %s\n", Printable(w.key).c_str());
      return;
    }
    const std::string name = w.name.empty() ? "(default)" : "\"" + Printable(w.name) + "\"";
    std::fprintf(out, "  value %s %s = %s %s\n", Printable(w.key).c_str(), name.c_str(), TypeName(w.type).c_str(),
                 ValueText(w).c_str());
  }, out);
}

void PrintShortcuts(const InstallationPlan& plan, std::FILE* out) {
  PrintHeading("Shortcuts", plan.shortcuts.empty(), out);
  PrintStep(plan, PlanStep::kShortcuts, plan.shortcuts, [out](const ShellLinkProperties& link) {
    std::fprintf(out, "  %s -> %s\n", Printable(link.linkFile).c_str(), Printable(link.programFile).c_str());
    const auto detail = [out](const char* label, const std::string& text) {
      if (!text.empty()) std::fprintf(out, "    %s: %s\n", label, Printable(text).c_str());
    };
    detail("arguments", link.parameters);
    detail("description", link.description);
    detail("working folder", link.workingFolder);
    detail("icon", link.iconFile.empty() ? "" : link.iconFile + "," + std::to_string(link.iconIndex));
  }, out);
}

// The entry's values; the size and the date are known only when it is written.
std::string EntryValueText(const UninstallEntryValue& value) {
  if (value.name == "EstimatedSize") return "REG_DWORD (the kilobytes installed)";
  if (value.name == "InstallDate") return "REG_SZ (the day of the installation, YYYYMMDD)";
  if (value.type == kRegDword) return "REG_DWORD " + std::to_string(value.number);
  return "REG_SZ \"" + Printable(value.text) + "\"";
}

void PrintUninstallEntry(const InstallationPlan& plan, std::FILE* out) {
  if (!plan.uninstallEntry) {
    std::fprintf(out, "\nUninstall entry: none (PRODUCT_UNINSTALL turns it off)\n");
    return;
  }
  const std::string key = Printable(plan.uninstallEntry->keyName);
  std::fprintf(out, "\nUninstall entry: HKEY_LOCAL_MACHINE\\%s\\%s\n", kUninstallKeysPath, key.c_str());
  // The key's own name is what deployment tools detect the product by.
  std::fprintf(out, "  key (the product's code for deployment tools): %s\n", key.c_str());
  for (const UninstallEntryValue& value : plan.uninstallEntry->values)
    std::fprintf(out, "  %s = %s\n", value.name.c_str(), EntryValueText(value).c_str());
}

nlohmann::ordered_json RegistryJson(const RegistryWrite& w) {
  nlohmann::ordered_json item{{"key", w.key}};
  if (!w.isValue) return item;
  item["value"] = w.name;
  item["type"] = TypeName(w.type);
  if (w.type == kRegSz) {
    item["data"] = Text(w.data);
  } else if (w.type == kRegDword) {
    item["data"] = Dword(w.data);
  } else {
    item["data"] = Hex(w.data);
  }
  return item;
}

}  // namespace

void PrintPlan(const InstallationPlan& plan, const PlanOptions& options, std::FILE* out) {
  // Each step up to the one that would end the installation.
  const auto reached = [&](PlanStep step) { return !plan.stoppedAt || *plan.stoppedAt >= step; };
  PrintMachine(plan, options, out);
  if (reached(PlanStep::kFiles)) PrintFiles(plan, out);
  if (reached(PlanStep::kComponents)) PrintComponents(plan, out);
  if (reached(PlanStep::kRegistry)) PrintRegistry(plan, out);
  if (reached(PlanStep::kShortcuts)) PrintShortcuts(plan, out);
  if (!plan.stoppedAt) PrintUninstallEntry(plan, out);
}

nlohmann::ordered_json PlanJson(const InstallationPlan& plan, const PlanOptions& options) {
  nlohmann::ordered_json folders = nlohmann::ordered_json::object();
  for (const LayoutFolder& folder : options.layout.Folders()) folders[folder.name] = folder.path;
  nlohmann::ordered_json json{
      {"machine",
       {{"version", VersionText(options.layout.Version())}, {"folders", folders}, {"medium", options.medium}}},
      {"programFolder", plan.programFolder},
      {"files", nlohmann::ordered_json::array()},
      {"components", nlohmann::ordered_json::array()},
      {"registry", nlohmann::ordered_json::array()},
      {"shortcuts", nlohmann::ordered_json::array()},
      {"problems", nlohmann::ordered_json::array()},
      {"stoppedAt", plan.stoppedAt ? nlohmann::ordered_json(StepName(*plan.stoppedAt)) : nlohmann::ordered_json()}};
  for (const PlannedFile& f : plan.files) {
    json["files"].push_back({{"name", f.storedName},
                             {"folder", f.folder},
                             {"path", f.path},
                             {"asksBeforeReplacing", f.asksBeforeReplacing}});
  }
  for (const PlannedComponent& c : plan.components) {
    json["components"].push_back({{"commandLine", c.commandLine}, {"status", c.status}});
  }
  for (const RegistryWrite& w : plan.registry) json["registry"].push_back(RegistryJson(w));
  for (const ShellLinkProperties& link : plan.shortcuts) {
    json["shortcuts"].push_back({{"file", link.linkFile},
                                 {"target", link.programFile},
                                 {"arguments", link.parameters},
                                 {"description", link.description},
                                 {"workingFolder", link.workingFolder},
                                 {"iconFile", link.iconFile},
                                 {"iconIndex", link.iconIndex}});
  }
  if (plan.uninstallEntry) {
    nlohmann::ordered_json values = nlohmann::ordered_json::object();
    for (const UninstallEntryValue& value : plan.uninstallEntry->values) {
      if (value.name == "EstimatedSize" || value.name == "InstallDate") continue;
      values[value.name] =
          value.type == kRegDword ? nlohmann::ordered_json(value.number) : nlohmann::ordered_json(value.text);
    }
    json["uninstallEntry"] = {
        {"key", "HKEY_LOCAL_MACHINE\\" + std::string(kUninstallKeysPath) + "\\" + plan.uninstallEntry->keyName},
        {"keyName", plan.uninstallEntry->keyName},
        {"values", values}};
  } else {
    json["uninstallEntry"] = nullptr;
  }
  for (const PlanProblem& p : plan.problems) {
    json["problems"].push_back({{"step", StepName(p.step)},
                                {"title", p.report.title},
                                {"message", p.report.message},
                                {"hint", p.report.hint},
                                {"details", p.report.details},
                                {"stops", p.stops}});
  }
  return json;
}

}  // namespace setuvane::pack
