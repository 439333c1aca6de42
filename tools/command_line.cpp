#include "tools/command_line.h"

#include <algorithm>
#include <cstdio>

#include "tools/command.h"

namespace setuvane::pack {
namespace {

// Usage line first, then what the command does, then its arguments and options.
class HelpFormatter : public CLI::Formatter {
 public:
  HelpFormatter() {
    label("Usage", "usage");
    label("OPTIONS", "OPTIONS");
    column_width(26);
  }
  std::string make_help(const CLI::App* app, std::string, CLI::AppFormatMode mode) const override {
    if (mode == CLI::AppFormatMode::Sub) return make_expanded(app);
    std::string name = app->get_name();
    for (const CLI::App* parent = app->get_parent(); parent != nullptr; parent = parent->get_parent()) {
      name = parent->get_name() + " " + name;
    }
    const std::string footer = make_footer(app);
    return make_usage(app, name) + "\n" + make_description(app) + make_positionals(app) + make_groups(app, mode) +
           make_subcommands(app, mode) + (footer.empty() ? "" : "\n" + footer);
  }
  // Positionals are named in the usage line; options show the name of their value.
  std::string make_option_opts(const CLI::Option* option) const override {
    return option->get_positional() ? "" : CLI::Formatter::make_option_opts(option);
  }
};

}  // namespace

void SetUpApplication(CLI::App& app) {
  app.formatter(std::make_shared<HelpFormatter>());
  app.require_subcommand(1);
  // On Windows CLI11 would take "/x" for an option; a path may begin with "/" there
  // too (Wine, and forward slashes in general). Subcommands inherit the setting.
  app.allow_windows_style_options(false);
  app.footer("`setuvane-pack COMMAND --help` describes a command.");
}

int RunCommandLine(CLI::App& app, std::vector<std::string> arguments, const int& commandExitCode) {
  try {
    std::reverse(arguments.begin(), arguments.end());  // CLI11 takes them from the back
    app.parse(arguments);
  } catch (const CLI::CallForHelp&) {
    const CLI::App* shown = &app;
    for (const CLI::App* sub : app.get_subcommands()) shown = sub;
    std::fputs(shown->help().c_str(), stdout);
    return kSuccess;
  } catch (const CLI::ParseError& e) {
    std::string where = "setuvane-pack";
    for (const CLI::App* sub : app.get_subcommands()) where += " " + sub->get_name();
    std::fprintf(stderr, "%s: %s\n(see %s --help)\n", where.c_str(), e.what(), where.c_str());
    return kUsageOrArchiveError;
  }
  return commandExitCode;
}

}  // namespace setuvane::pack
