// `setuvane-pack sign --pkcs12 FILE [--pass PASSWORD] [--timestamp URL] EXE`: signs
// a single-file installer or a medium's setuvane.exe with osslsigncode
// (Authenticode). The signature goes after everything in the file, so a carried
// package stays where the program's record says; that is checked before the
// signed file replaces the unsigned one.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <utility>

#include "archive/file_system.h"
#include "core/package/embedded_package.h"
#include "pe/pe_layout.h"
#include "tools/build/package_file.h"
#include "tools/command.h"
#include "tools/console.h"
#include "tools/private_file.h"
#include "tools/run_program.h"

namespace setuvane::pack {
namespace {

namespace fs = std::filesystem;

const char kDetails[] =
    "Signs a Setuvane installer (a single-file setup.exe or a medium's setuvane.exe)\n"
    "with a code-signing certificate and its key in a PKCS#12 file, by running\n"
    "osslsigncode (SHA-256). An existing signature is replaced. With --timestamp the\n"
    "signature is countersigned by that RFC 3161 time-stamping service, so that it\n"
    "stays valid after the certificate expires.\n"
    "Exit code: 0 signed, 2 bad usage or a failed signing.\n";

struct SignOptions {
  std::string pkcs12;
  std::optional<std::string> password;
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

// A carried package still whole after signing.
bool PackageIntact(const fs::path& path) {
  const std::unique_ptr<archive::ReadableFile> file = archive::NativeFileSystem().OpenRead(PathText(path));
  const std::optional<EmbeddedPackage> package = ReadEmbeddedPackage(*file);
  return !package || CheckEmbeddedPackage(*file, *package) == PackageIntegrity::kIntact;
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
  fs::path signedPath = program;
  signedPath += ".signed.tmp";
  std::vector<std::string> arguments = {"osslsigncode", "sign", "-pkcs12", PathText(pkcs12)};
  std::unique_ptr<PasswordFile> password;
  if (options.password) {
    password = PasswordFile::Create(*options.password);
    if (!password) {
      Error("the password cannot be handed to osslsigncode: no private file in the temporary folder");
      return kUsageOrArchiveError;
    }
    arguments.insert(arguments.end(), {"-readpass", PathText(password->Path())});
  }
  if (!options.timestamp.empty()) arguments.insert(arguments.end(), {"-ts", options.timestamp});
  arguments.insert(arguments.end(), {"-in", PathText(program), "-out", PathText(signedPath)});
  fs::remove(signedPath, error);
  const std::optional<int> code = RunProgram(arguments);
  if (!code) {
    Error("osslsigncode cannot be started (is it installed?)");
    return kUsageOrArchiveError;
  }
  if (*code != 0 || !fs::is_regular_file(signedPath, error)) {
    fs::remove(signedPath, error);
    Error(Shown(program) + ": osslsigncode failed (exit code " + std::to_string(*code) + "); nothing changed");
    return kUsageOrArchiveError;
  }
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
  command->add_option("--pass", options->password, "the PKCS#12 file's password")->option_text("PASSWORD");
  command->add_option("--timestamp", options->timestamp, "an RFC 3161 time-stamping service")->option_text("URL");
  command->add_option("EXE", options->program, "the installer to sign (setup.exe or setuvane.exe)")->required();
  command->callback([options, &exitCode] { exitCode = RunSign(*options); });
}

}  // namespace setuvane::pack
