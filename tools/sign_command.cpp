// `setuvane-pack sign --pkcs12 FILE [--pass-file FILE | --pass-env NAME] [--timestamp URL] EXE`:
// signs a single-file installer or a medium's setuvane.exe with osslsigncode
// (Authenticode). A single file's uninstaller, its bare installer, is signed first
// and carried after the package, so that the installed uninstall.exe is signed too.
// The signature goes after everything in the file, so a carried package stays
// where the program's record says; that is checked before the signed file replaces
// the unsigned one.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <utility>

#include "archive/file_system.h"
#include "core/package/embedded_package.h"
#include "pe/pe_layout.h"
#include "tools/build/package_file.h"
#include "tools/exe/program_file.h"
#include "tools/command.h"
#include "tools/console.h"
#include "tools/file_bytes.h"
#include "tools/private_file.h"
#include "tools/run_program.h"

namespace setuvane::pack {
namespace {

namespace fs = std::filesystem;

const char kDetails[] =
    "Signs a Setuvane installer (a single-file setup.exe or a medium's setuvane.exe)\n"
    "with a code-signing certificate and its key in a PKCS#12 file, by running\n"
    "osslsigncode (SHA-256). An existing signature is replaced. A single file's\n"
    "uninstaller is signed alike and carried inside it, so that the uninstall.exe\n"
    "it installs is signed as well. With --timestamp the signature is countersigned\n"
    "by that RFC 3161 time-stamping service, so that it stays valid after the\n"
    "certificate expires. The PKCS#12 password comes from a file (--pass-file, its\n"
    "first line) or an environment variable (--pass-env); --pass puts it on the\n"
    "command line, where other users of the machine can read it.\n"
    "Exit code: 0 signed, 2 bad usage or a failed signing.\n";

struct SignOptions {
  std::string pkcs12;
  std::optional<std::string> password;
  std::optional<std::string> passwordFile;
  std::optional<std::string> passwordVariable;
  std::string timestamp;
  std::string program;
};

void Error(const std::string& message) { std::fprintf(stderr, "setuvane-pack sign: %s\n", message.c_str()); }

std::string Shown(const fs::path& path) { return PathText(path); }

// The installer's package record is what sets a Setuvane installer apart.
bool IsInstaller(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> head(64 * 1024);
  in.read(reinterpret_cast<char*>(head.data()), std::streamsize(head.size()));
  head.resize(size_t(in.gcount()));
  const std::optional<PeLayout> layout = ReadPeLayout(head.data(), head.size());
  if (!layout) return false;
  const std::optional<uint32_t> record = PackageRecordOffset(*layout);
  if (!record) return false;
  in.clear();
  in.seekg(*record);
  uint8_t bytes[kPackageRecordSize] = {};
  return in.read(reinterpret_cast<char*>(bytes), sizeof bytes) && IsPackageRecord(bytes);
}

// A carried package (and uninstaller) still whole after signing.
bool PackageIntact(const fs::path& path) {
  const std::unique_ptr<archive::ReadableFile> file = archive::NativeFileSystem().OpenRead(PathText(path));
  const std::optional<EmbeddedPackage> package = ReadEmbeddedPackage(*file);
  return !package || CheckEmbeddedPackage(*file, *package) == PackageIntegrity::kIntact;
}

bool WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return bool(out.flush());
}

// The PKCS#12 password: from the file's first line, from the environment, or as
// given; nullopt with `failed` set when the file or the variable is missing.
std::optional<std::string> Password(const SignOptions& options, bool& failed) {
  failed = false;
  if (options.passwordFile) {
    const fs::path path = ArgumentToPath(*options.passwordFile);
    std::ifstream in(path, std::ios::binary);
    std::string line;
    if (!in || (!std::getline(in, line) && !in.eof())) {
      Error(Shown(path) + ": the password file cannot be read");
      failed = true;
      return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  }
  if (options.passwordVariable) {
    const char* value = std::getenv(options.passwordVariable->c_str());
    if (value == nullptr) {
      Error("the environment variable " + *options.passwordVariable + " is not set");
      failed = true;
      return std::nullopt;
    }
    return std::string(value);
  }
  if (options.password) {
    std::fprintf(stderr,
                 "setuvane-pack sign: warning: --pass puts the password on the command line, where other users of "
                 "this machine can read it; use --pass-file or --pass-env\n");
  }
  return options.password;
}

// The password goes to osslsigncode in a file of the user's own, not on a command
// line that every process can read.
class PasswordFile {
 public:
  // Null when no such file can be made in the temporary folder.
  static std::unique_ptr<PasswordFile> Create(const std::string& password) {
    std::random_device random;
    std::error_code error;
    const fs::path folder = fs::temp_directory_path(error);
    if (error) return nullptr;
    for (int attempt = 0; attempt < 16; ++attempt) {
      const fs::path path = folder / ("setuvane-sign-" + std::to_string(random()) + ".tmp");
      if (WritePrivateFile(path, password)) return std::unique_ptr<PasswordFile>(new PasswordFile(path));
    }
    return nullptr;
  }
  ~PasswordFile() {
    std::error_code ignored;
    fs::remove(path_, ignored);
  }
  PasswordFile(const PasswordFile&) = delete;
  PasswordFile& operator=(const PasswordFile&) = delete;
  const fs::path& Path() const { return path_; }

 private:
  explicit PasswordFile(fs::path path) : path_(std::move(path)) {}
  fs::path path_;
};

// Runs osslsigncode with `signing` (the certificate, password and time stamp) on
// `in`, writing `out`; false after saying why.
bool Osslsign(const std::vector<std::string>& signing, const fs::path& in, const fs::path& out,
              const fs::path& program) {
  std::vector<std::string> arguments = signing;
  arguments.insert(arguments.end(), {"-in", PathText(in), "-out", PathText(out)});
  std::error_code error;
  fs::remove(out, error);
  const std::optional<int> code = RunProgram(arguments);
  if (!code) {
    Error("osslsigncode cannot be started (is it installed?)");
    return false;
  }
  if (*code != 0 || !fs::is_regular_file(out, error)) {
    fs::remove(out, error);
    Error(Shown(program) + ": osslsigncode failed (exit code " + std::to_string(*code) + "); nothing changed");
    return false;
  }
  return true;
}

// A single file with its uninstaller signed by `signing` and carried, written to
// `out`; `program` itself when it carries no package. Nullopt after saying why.
std::optional<fs::path> WithSignedUninstaller(const std::vector<std::string>& signing, const fs::path& program,
                                              const fs::path& out) {
  const std::unique_ptr<archive::ReadableFile> file = archive::NativeFileSystem().OpenRead(PathText(program));
  if (!ReadEmbeddedPackage(*file)) return program;
  const std::optional<std::vector<uint8_t>> bare = BareInstallerOfSingleFile(*file);
  fs::path bareUnsigned = program, bareSigned = program;
  bareUnsigned += ".uninstall.tmp";
  bareSigned += ".uninstall.signed.tmp";
  struct Gone {
    std::vector<fs::path> paths;
    ~Gone() {
      std::error_code ignored;
      for (const fs::path& path : paths) fs::remove(path, ignored);
    }
  } gone{{bareUnsigned, bareSigned}};
  if (!bare || !WriteBytes(bareUnsigned, *bare)) {
    Error(Shown(program) + ": its uninstaller cannot be made");
    return std::nullopt;
  }
  if (!Osslsign(signing, bareUnsigned, bareSigned, program)) return std::nullopt;
  const std::optional<std::vector<uint8_t>> uninstaller = ReadBytes(bareSigned);
  const std::optional<std::vector<uint8_t>> single = ReadBytes(program);
  if (!uninstaller || !single) {
    Error(Shown(program) + ": cannot be read");
    return std::nullopt;
  }
  try {
    ProgramFile carrying(*single);
    carrying.CarryUninstaller(*uninstaller);
    carrying.UpdateChecksum();
    if (!WriteBytes(out, carrying.Bytes())) throw std::runtime_error("cannot be written");
  } catch (const std::exception& e) {
    Error(Shown(program) + ": " + e.what());
    return std::nullopt;
  }
  return out;
}

int RunSign(const SignOptions& options) {
  const fs::path program = ArgumentToPath(options.program);
  const fs::path pkcs12 = ArgumentToPath(options.pkcs12);
  std::error_code error;
  if (!fs::is_regular_file(program, error)) {
    Error(Shown(program) + ": no such file");
    return kUsageOrArchiveError;
  }
  if (!IsInstaller(program)) {
    Error(Shown(program) + ": not a Setuvane installer");
    return kUsageOrArchiveError;
  }
  if (!fs::is_regular_file(pkcs12, error)) {
    Error(Shown(pkcs12) + ": no such file");
    return kUsageOrArchiveError;
  }
  bool failed = false;
  const std::optional<std::string> passwordText = Password(options, failed);
  if (failed) return kUsageOrArchiveError;
  std::vector<std::string> signing = {"osslsigncode", "sign", "-pkcs12", PathText(pkcs12)};
  std::unique_ptr<PasswordFile> password;
  if (passwordText) {
    password = PasswordFile::Create(*passwordText);
    if (!password) {
      Error("the password cannot be handed to osslsigncode: no private file in the temporary folder");
      return kUsageOrArchiveError;
    }
    signing.insert(signing.end(), {"-readpass", PathText(password->Path())});
  }
  if (!options.timestamp.empty()) signing.insert(signing.end(), {"-ts", options.timestamp});
  fs::path carryingPath = program, signedPath = program;
  carryingPath += ".carrying.tmp";
  signedPath += ".signed.tmp";
  const std::optional<fs::path> input = WithSignedUninstaller(signing, program, carryingPath);
  const bool signedWhole = input && Osslsign(signing, *input, signedPath, program);
  fs::remove(carryingPath, error);
  if (!signedWhole) return kUsageOrArchiveError;
  if (!PackageIntact(signedPath)) {
    fs::remove(signedPath, error);
    Error(Shown(program) + ": the signed file's package is not whole; nothing changed");
    return kUsageOrArchiveError;
  }
  fs::rename(signedPath, program, error);
  if (error) {
    fs::remove(signedPath, error);
    Error(Shown(program) + ": cannot be replaced");
    return kUsageOrArchiveError;
  }
  std::printf("%s: signed\n", Shown(program).c_str());
  return kSuccess;
}

}  // namespace

void AddSignCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<SignOptions>();
  CLI::App* command = app.add_subcommand("sign", "sign an installer (Authenticode, with osslsigncode)");
  command->footer(kDetails);
  command->add_option("--pkcs12", options->pkcs12, "the certificate and its key (PKCS#12, .pfx/.p12)")
      ->option_text("FILE")
      ->required();
  CLI::Option* file = command->add_option("--pass-file", options->passwordFile,
                                          "the PKCS#12 file's password: the first line of FILE")
                          ->option_text("FILE");
  CLI::Option* variable = command->add_option("--pass-env", options->passwordVariable,
                                              "the PKCS#12 file's password: the environment variable NAME")
                              ->option_text("NAME");
  command->add_option("--pass", options->password, "the password on the command line (readable by other users)")
      ->option_text("PASSWORD")
      ->excludes(file)
      ->excludes(variable);
  file->excludes(variable);
  command->add_option("--timestamp", options->timestamp, "an RFC 3161 time-stamping service")->option_text("URL");
  command->add_option("EXE", options->program, "the installer to sign (setup.exe or setuvane.exe)")->required();
  command->callback([options, &exitCode] { exitCode = RunSign(*options); });
}

}  // namespace setuvane::pack
