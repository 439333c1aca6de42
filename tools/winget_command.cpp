// `setuvane-pack winget SETUP.EXE --id Publisher.Product --url URL [--license TEXT]
// [--description TEXT] -o DIR`: the winget manifest of a single-file installer,
// made from what the file itself says: install.inf of the package it carries, the
// manifest of its program, and its SHA-256.
#include <cstdio>
#include <fstream>
#include <memory>

#include "system/sha256.h"
#include "system/text_helpers.h"
#include "tools/build/package_file.h"
#include "tools/build/script_names.h"
#include "tools/command.h"
#include "tools/console.h"
#include "tools/exe/application_manifest.h"
#include "tools/exe/program_file.h"
#include "tools/file_bytes.h"
#include "tools/password_option.h"
#include "tools/plan/package_content.h"
#include "tools/winget/winget_manifest.h"

namespace setuvane::pack {
namespace {

namespace fs = std::filesystem;

const char kDetails[] =
    "Writes the three files of a winget manifest (version, installer, defaultLocale;\n"
    "manifest version 1.28.0) for a single-file installer, into DIR: the package's\n"
    "version (PRODUCT_VERSION), publisher and name, the file's SHA-256 and the\n"
    "address it is downloaded from, the switches of an unattended installation, the\n"
    "exit codes winget has a meaning for, and the entry among the installed programs\n"
    "that winget detects the product by (its key as ProductCode, its version).\n"
    "What winget would refuse (an identifier of the wrong shape, a missing version,\n"
    "a text too short or too long) is refused with the reason, and nothing written.\n"
    "Exit code: 0 written, 1 refused, 2 bad usage or a file that cannot be read.\n";

struct WingetArguments {
  std::string program;
  std::string output;
  std::string password;
  WingetOptions options;
};

void Error(const std::string& message) { std::fprintf(stderr, "setuvane-pack winget: %s\n", message.c_str()); }

// install.inf as start-up finds it among the setup files, whatever its letter case.
const std::string* SettingsFile(const PackageContent& package) {
  for (const auto& [name, bytes] : package.setupFiles)
    if (AsciiLower(name) == "install.inf") return &bytes;
  return nullptr;
}

// The file's digest and the elevation its program's manifest asks for.
std::optional<WingetProduct> ReadProgram(const fs::path& path, WingetProduct product) {
  const std::optional<std::vector<uint8_t>> bytes = ReadBytes(path);
  if (!bytes) {
    Error(PathText(path) + ": cannot be read");
    return std::nullopt;
  }
  // Upper-case hexadecimal, as winget's own tools write it.
  product.sha256 =
      AsciiUpper(Sha256Hex(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size())));
  try {
    const std::string level = RequestedExecutionLevel(ProgramFile(*bytes).Resources());
    product.elevatesSelf = level == "requireAdministrator" || level == "highestAvailable";
  } catch (const std::exception& e) {
    Error(PathText(path) + ": " + e.what());
    return std::nullopt;
  }
  return product;
}

bool WriteManifests(const fs::path& folder, const std::vector<ManifestFile>& files) {
  std::error_code error;
  fs::create_directories(folder, error);
  for (const ManifestFile& file : files) {
    const fs::path path = folder / PathFromText(file.name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << file.text;
    if (!out.flush()) {
      Error(PathText(path) + ": cannot be written");
      return false;
    }
    std::printf("%s\n", PathText(path).c_str());
  }
  return true;
}

int RunWinget(const WingetArguments& arguments) {
  const std::optional<std::string> password = PasswordText(arguments.password, "winget");
  if (!password) return kUsageOrArchiveError;
  const std::optional<PackageContent> package = ReadPackageContent(arguments.program, *password, "winget");
  if (!package) return kUsageOrArchiveError;
  if (!package->singleFile) {
    Error(arguments.program + ": not a single-file installer; winget downloads one file (setuvane-pack build -o "
                              "setup.exe makes one)");
    return kUsageOrArchiveError;
  }
  if (!package->carriedWhole) {
    Error(arguments.program + ": the package it carries is damaged or cut short; the installer would refuse it");
    return kUsageOrArchiveError;
  }
  const std::string* settings = SettingsFile(*package);
  if (settings == nullptr) {
    Error(arguments.program + ": the package has no install.inf");
    return kUsageOrArchiveError;
  }
  const std::optional<WingetProduct> product =
      ReadProgram(ArgumentToPath(arguments.program), ProductOfSettings(*settings));
  if (!product) return kUsageOrArchiveError;
  const std::vector<std::string> refusals = WingetRefusals(*product, arguments.options);
  if (!refusals.empty()) {
    for (const std::string& refusal : refusals) Error(refusal);
    Error(std::to_string(refusals.size()) + " refusal(s); nothing written");
    return kEntriesFailed;
  }
  return WriteManifests(ArgumentToPath(arguments.output), WingetManifests(*product, arguments.options))
             ? kSuccess
             : kUsageOrArchiveError;
}

}  // namespace

void AddWingetCommand(CLI::App& app, int& exitCode) {
  auto arguments = std::make_shared<WingetArguments>();
  CLI::App* command = app.add_subcommand("winget", "write the winget manifest of a single-file installer");
  command->footer(kDetails);
  command->add_option("--id", arguments->options.identifier, "the package identifier, Publisher.Product")
      ->option_text("ID")
      ->required();
  command->add_option("--url", arguments->options.installerUrl, "the address the file is downloaded from")
      ->option_text("URL")
      ->required();
  command->add_option("--license", arguments->options.license, "the licence (default: Proprietary)")
      ->option_text("TEXT");
  command->add_option("--description", arguments->options.description,
                      "the short description (default: the product's name)")
      ->option_text("TEXT");
  command->add_option("-o,--output", arguments->output, "the folder the manifests are written into")
      ->option_text("DIR")
      ->required();
  AddPasswordOption(*command, arguments->password);
  command->add_option("SETUP.EXE", arguments->program, "the single-file installer")->required();
  command->callback([arguments, &exitCode] { exitCode = RunWinget(*arguments); });
}

}  // namespace setuvane::pack
