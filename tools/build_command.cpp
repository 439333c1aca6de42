// `setuvane-pack build [OPTIONS] MANIFEST`: checks a package and writes it.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "tools/build/deflate.h"
#include "tools/build/manifest.h"
#include "tools/build/package_checks.h"
#include "tools/build/package_writer.h"
#include "tools/build/script_names.h"
#include "tools/build/solid_writer.h"
#include "tools/build/source_files.h"
#include "tools/command.h"
#include "tools/console.h"
#include "tools/exe/single_file.h"
#include "tools/file_bytes.h"
#include "tools/password_option.h"

namespace setuvane::pack {
namespace {

namespace fs = std::filesystem;

const char kDetails[] =
    "Builds an install package from a manifest (see the README): the setup files\n"
    "under [setup], the product files under the destination texts they install to.\n"
    "The package is checked first; every problem is printed as FILE:LINE: error or\n"
    "warning, and errors (or, with --strict, warnings) leave nothing written.\n"
    "An output name ending in .exe makes a single-file installer: setuvane.exe with\n"
    "the package inside it and a version resource naming the product (install.inf's\n"
    "INSTALL_TASK_TITLE, INSTALL_MAIN_TITLE, PRODUCT_VERSION, PRODUCT_PUBLISHER);\n"
    "sign it with `setuvane-pack sign`. With --solid its files are one LZMA2 stream\n"
    "across them (xz), much smaller for many alike files; the ZIP's encryption and\n"
    "--level do not apply to it.\n"
    "Exit code: 0 written, 1 problems in the package, 2 bad usage or a failed write.\n";

// Entries without a time of their own in reproducible builds: 2000-01-01 00:00.
constexpr std::time_t kReproducibleTime = 946684800;

struct BuildOptions {
  std::string manifest;
  std::string output = "install.zip";
  std::string password;
  std::string installer;  // for a single file; empty: the one that ships with the tool
  bool reproducible = false;
  bool fromUtf8 = false;
  bool strict = false;
  bool solid = false;
  bool passwordGiven = false;
  int level = kDefaultDeflateLevel;
  unsigned jobs = 0;
};

std::optional<std::string> ReadManifest(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// SOURCE_DATE_EPOCH, the common way to fix the time of reproducible builds.
std::time_t ReproducibleTime() {
  const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
  if (epoch != nullptr && *epoch != '\0') {
    char* end = nullptr;
    const long long seconds = std::strtoll(epoch, &end, 10);
    if (*end == '\0' && seconds >= 0) return static_cast<std::time_t>(seconds);
  }
  return kReproducibleTime;
}

// A pattern that also matches the package being written (from an earlier build)
// would put the old package into the new one.
void RefuseOwnOutput(const std::vector<PackageFile>& files, const fs::path& output, const std::string& manifest,
                     Problems& problems) {
  std::error_code error;
  const fs::path target = fs::weakly_canonical(output, error);
  for (const PackageFile& file : files) {
    if (!error && fs::weakly_canonical(file.source, error) == target) {
      problems.Error(manifest, file.line, "'" + PathText(file.source.lexically_normal()) + "' is the package being written");
    }
  }
}

bool IsProgramName(const fs::path& output) { return SameName(output.extension().string(), ".exe"); }

// The setuvane.exe that ships with the tool: beside it, else the one of this build tree.
fs::path DefaultInstaller() {
  const fs::path beside = ToolProgramPath().parent_path() / "setuvane.exe";
  std::error_code error;
  if (fs::is_regular_file(beside, error)) return beside;
#ifdef SETUVANE_BUILD_INSTALLER
  if (fs::is_regular_file(SETUVANE_BUILD_INSTALLER, error)) return SETUVANE_BUILD_INSTALLER;
#endif
  return beside;
}

// Through a temporary file beside `output` that replaces it only when complete.
void WriteBytes(const fs::path& output, const std::vector<uint8_t>& bytes) {
  fs::path temporary = output;
  temporary += ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out.flush()) {
      out.close();
      std::error_code ignored;
      fs::remove(temporary, ignored);
      throw std::runtime_error(PathText(output) + ": cannot be written");
    }
  }
  std::error_code error;
  fs::rename(temporary, output, error);
  if (error) {
    fs::remove(temporary, error);
    throw std::runtime_error(PathText(output) + ": cannot be written");
  }
}

// What the installer reads of install.inf: the last one among the setup files
// (all are unpacked into one folder, the last one written stays).
std::string SettingsText(const std::vector<PackageFile>& files) {
  std::string text;
  for (const PackageFile& file : files) {
    const std::string bare = file.storedName.substr(file.storedName.rfind('/') + 1);
    if (file.IsSetup() && !file.IsComponent() && SameName(bare, kSettingsFile) && file.content) text = *file.content;
  }
  return text;
}

// The package written into a temporary file by `writePackage`, then set into the
// installer; returns the single file's size.
uint64_t WriteSingleFile(const std::vector<PackageFile>& files, const fs::path& output, std::vector<uint8_t> installer,
                         const std::function<void(const fs::path& package)>& writePackage) {
  fs::path packagePath = output;
  packagePath += ".zip.tmp";
  writePackage(packagePath);
  const std::optional<std::vector<uint8_t>> package = ReadBytes(packagePath);
  std::error_code ignored;
  fs::remove(packagePath, ignored);
  if (!package) throw std::runtime_error(PathText(packagePath) + ": cannot be read back");
  const VersionInfo version =
      ProductVersionInfo(ReadProductTexts(SettingsText(files)), output.filename().string());
  const std::vector<uint8_t> single = MakeSingleFile(std::move(installer), *package, version);
  WriteBytes(output, single);
  return single.size();
}

int RunBuild(const BuildOptions& options) {
  const std::optional<std::string> password = PasswordText(options.password, "build");
  if (!password) return kUsageOrArchiveError;
  if (options.solid && !IsProgramName(ArgumentToPath(options.output))) {
    std::fprintf(stderr, "setuvane-pack build: --solid makes a single file: name it with -o NAME.exe\n");
    return kUsageOrArchiveError;
  }
  if (options.solid && options.passwordGiven) {
    std::fprintf(stderr, "setuvane-pack build: --password does not go with --solid: the solid stream is not "
                         "encrypted (the README says why)\n");
    return kUsageOrArchiveError;
  }
  const fs::path manifestPath = ArgumentToPath(options.manifest);
  const fs::path output = ArgumentToPath(options.output);
  const std::optional<std::string> text = ReadManifest(manifestPath);
  if (!text) {
    std::fprintf(stderr, "setuvane-pack build: %s: cannot be read\n", options.manifest.c_str());
    return kUsageOrArchiveError;
  }
  const std::string shown = PathText(manifestPath);
  Problems problems;
  const std::vector<ManifestSource> sources = ParseManifest(shown, *text, problems);
  const fs::path folder = manifestPath.has_parent_path() ? manifestPath.parent_path() : fs::path(".");
  std::vector<PackageFile> files = FindSourceFiles(sources, folder, shown, problems);
  CheckPackage(files, shown, options.fromUtf8, problems);
  RefuseOwnOutput(files, output, shown, problems);
  const bool singleFile = IsProgramName(output);
  // A folder medium's installer looks for components in the medium's folders only.
  for (const PackageFile& file : files) {
    if (file.IsComponent() && !singleFile) {
      problems.Error(shown, file.line, "components travel only in a single file (-o NAME.exe); a folder medium "
                                       "carries them in its own folders");
      break;
    }
  }
  problems.Print(stderr);
  const int errors = problems.Count(Severity::kError);
  const int warnings = problems.Count(Severity::kWarning);
  if (errors > 0 || (options.strict && warnings > 0)) {
    std::fprintf(stderr, "setuvane-pack build: %d error(s), %d warning(s)%s; nothing written\n", errors, warnings,
                 errors == 0 ? " (--strict)" : "");
    return kEntriesFailed;
  }

  std::vector<uint8_t> installer;
  if (singleFile) {
    const fs::path path = options.installer.empty() ? DefaultInstaller() : ArgumentToPath(options.installer);
    std::optional<std::vector<uint8_t>> bytes = ReadBytes(path);
    if (!bytes) {
      std::fprintf(stderr, "setuvane-pack build: %s: the installer cannot be read (--installer names it)\n",
                   PathText(path).c_str());
      return kUsageOrArchiveError;
    }
    // Known to be the installer before the package is compressed.
    try {
      MakeSingleFile(*bytes, {}, {});
    } catch (const std::exception& e) {
      std::fprintf(stderr, "setuvane-pack build: %s: %s\n", PathText(path).c_str(), e.what());
      return kUsageOrArchiveError;
    }
    installer = std::move(*bytes);
  }

  WriteOptions write;
  write.password = *password;
  write.level = options.level;
  write.jobs = options.jobs;
  if (options.reproducible) write.fixedTime = ReproducibleTime();
  try {
    if (options.solid) {
      SolidSummary solid;
      const uint64_t bytes = WriteSingleFile(files, output, std::move(installer), [&](const fs::path& package) {
        solid = WriteSolidPackage(files, package, write);
      });
      std::printf("%s: single-file installer, %zu entries in one stream (%d behind the x86 filter), %llu bytes\n",
                  options.output.c_str(), files.size(), solid.programs, static_cast<unsigned long long>(bytes));
      return kSuccess;
    }
    WriteSummary summary;
    if (singleFile) {
      summary.archiveBytes = WriteSingleFile(files, output, std::move(installer), [&](const fs::path& package) {
        summary = WritePackage(files, package, write);
      });
    } else {
      summary = WritePackage(files, output, write);
    }
    std::printf("%s: %s%zu entries (%d deflated, %d stored), %llu bytes\n", options.output.c_str(),
                singleFile ? "single-file installer, " : "", files.size(), summary.deflated, summary.stored,
                static_cast<unsigned long long>(summary.archiveBytes));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "setuvane-pack build: %s\n", e.what());
    return kUsageOrArchiveError;
  }
  return kSuccess;
}

}  // namespace

void AddBuildCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<BuildOptions>();
  CLI::App* command = app.add_subcommand("build", "check a package and write it from a manifest");
  command->footer(kDetails);
  command->add_option("-o,--output", options->output,
                      "the package to write (default: install.zip); NAME.exe: a single-file installer")
      ->option_text("FILE");
  command->add_option("--installer", options->installer,
                      "the setuvane.exe a single file is made of (default: the one beside this tool)")
      ->option_text("PATH");
  AddPasswordOption(*command, options->password);
  command->get_option("--password")->description("password of the entries (default: the package password; '' for none)");
  command->add_flag("--reproducible", options->reproducible,
                    "the same input gives the same bytes: fixed times (SOURCE_DATE_EPOCH or 2000-01-01) "
                    "and header bytes derived from each entry");
  command->add_flag("--from-utf8", options->fromUtf8, "convert the setup texts (*.inf) from UTF-8 to Windows-1250");
  command->add_flag("--strict", options->strict, "warnings fail the build too");
  command->add_flag("--solid", options->solid,
                    "a single file whose files are one compressed stream (LZMA2, xz) instead of a ZIP");
  command->add_option("--level", options->level, "deflate level, 1 (fast) to 12 (small); 0 stores everything")
      ->option_text("N")
      ->check(CLI::Range(0, 12));
  command->add_option("--jobs", options->jobs, "compressing threads (default: one per core)")
      ->option_text("N")
      ->check(CLI::Range(1, 256));
  command->add_option("MANIFEST", options->manifest, "the manifest")->required();
  command->callback([options, command, &exitCode] {
    options->passwordGiven = command->count("--password") > 0;
    exitCode = RunBuild(*options);
  });
}

}  // namespace setuvane::pack
