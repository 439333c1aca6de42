// `setuvane-pack plan [OPTIONS] ARCHIVE`: what an installation of the package would
// do, found by a dry run of the installer's steps; nothing is written.
#include <algorithm>
#include <cstdio>
#include <memory>

#include "tools/command.h"
#include "tools/console.h"
#include "tools/password_option.h"
#include "tools/plan/package_content.h"
#include "tools/plan/plan_output.h"

namespace setuvane::pack {
namespace {

const char kDetails[] =
    "Shows what the installer would do with the package, in its order: each product\n"
    "file with the path it is written to (and whether an existing file of that name\n"
    "raises the overwrite question), the component installers that the medium holds\n"
    "and their command lines, the registry keys and values, the shortcuts. Folders\n"
    "are those of a classic Windows 98 machine, listed first; --folder NAME=PATH\n"
    "changes one (Windows, System, Temp, Source, Desktop, Favorites, Start Menu,\n"
    "Recent, SendTo, AppData). The medium, whose folder stands for Source (D:\\), is\n"
    "looked at for its component folders.\n"
    "Exit code: 0 the installation runs through, 1 it would report a problem or stop,\n"
    "2 bad usage or a package that cannot be read.\n";

struct PlanArguments {
  std::string archive;
  std::string medium;
  std::string programFolder;
  std::vector<std::string> folders;
  std::string version;
  std::string password;
  bool json = false;
};

void UsageError(const std::string& message) { std::fprintf(stderr, "setuvane-pack plan: %s\n", message.c_str()); }

// The folder of the archive: the medium it lies on, unless one is given.
std::string ArchiveFolder(const std::string& archive) {
  const size_t slash = archive.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : archive.substr(0, std::max<size_t>(slash, 1));
}

std::optional<PlanOptions> Options(const PlanArguments& arguments) {
  PlanOptions options;
  for (const std::string& given : arguments.folders) {
    const size_t equals = given.find('=');
    if (equals == std::string::npos || !options.layout.SetFolder(given.substr(0, equals), given.substr(equals + 1))) {
      UsageError("--folder " + given + ": no such folder; the folders are listed by --help");
      return std::nullopt;
    }
  }
  if (!arguments.version.empty() && !options.layout.SetVersion(arguments.version)) {
    UsageError("--windows-version " + arguments.version + ": not of the form MAJOR.MINOR.BUILD");
    return std::nullopt;
  }
  options.medium = arguments.medium.empty() ? ArchiveFolder(arguments.archive) : arguments.medium;
  if (!arguments.programFolder.empty()) options.programFolder = arguments.programFolder;
  return options;
}

int RunPlan(const PlanArguments& arguments) {
  const std::optional<std::string> password = PasswordText(arguments.password, "plan");
  const std::optional<PlanOptions> options = Options(arguments);
  if (!password || !options) return kUsageOrArchiveError;
  const std::optional<PackageContent> package = ReadPackageContent(arguments.archive, *password);
  if (!package) return kUsageOrArchiveError;
  const InstallationPlan plan = MakePlan(*package, *options);
  if (arguments.json) {
    // An argument that is no UTF-8 (a POSIX one may not be) shows its bytes as U+FFFD.
    const nlohmann::ordered_json json = PlanJson(plan, *options);
    std::printf("%s\n", json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
  } else {
    PrintPlan(plan, *options, stdout);
  }
  return plan.problems.empty() ? kSuccess : kEntriesFailed;
}

}  // namespace

void AddPlanCommand(CLI::App& app, int& exitCode) {
  auto arguments = std::make_shared<PlanArguments>();
  CLI::App* command = app.add_subcommand("plan", "show what an installation of a package would do");
  command->footer(kDetails);
  command->add_option("--medium", arguments->medium, "the medium's folder (default: the archive's folder)")
      ->option_text("DIR");
  command->add_option("--program-folder", arguments->programFolder,
                      "the folder the user chooses (default: the package's PRODUCT_LOCATION)")
      ->option_text("PATH");
  command->add_option("--folder", arguments->folders, "a folder of the machine, such as Desktop=D:\\Pulpit")
      ->option_text("NAME=PATH");
  command->add_option("--windows-version", arguments->version, "the Windows version (default: 4.10.2222)")
      ->option_text("X.Y.Z");
  AddPasswordOption(*command, arguments->password);
  command->add_flag("--json", arguments->json, "print the plan as JSON");
  command->add_option("ARCHIVE", arguments->archive, "the install package")->required();
  command->callback([arguments, &exitCode] { exitCode = RunPlan(*arguments); });
}

}  // namespace setuvane::pack
