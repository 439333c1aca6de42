// `setuvane-pack test [-P PASSWORD] ARCHIVE`: decodes every entry and checks its
// CRC without writing files.
#include <cstdio>
#include <memory>

#include "tools/archive_session.h"
#include "tools/command.h"
#include "tools/password_option.h"

namespace setuvane::pack {
namespace {

const char kDetails[] =
    "Decodes every entry of a ZIP archive and checks its CRC-32; nothing is written.\n"
    "Each failed entry is reported on standard error with the reason, and the exit\n"
    "code is then 1. The package inside a single-file installer is also checked\n"
    "whole, as the installer checks it before it starts (size and checksum).\n";

struct TestOptions {
  std::string archive;
  std::string password;
};

int RunTest(const TestOptions& options) {
  const std::optional<std::string> password = PasswordText(options.password, "test");
  if (!password) return kUsageOrArchiveError;
  ArchiveSession session("test");
  session.Zip().SetPassword(*password);
  if (!session.Open(options.archive)) return kUsageOrArchiveError;
  const std::optional<PackageIntegrity> whole = session.CarriedIntegrity();
  if (whole && *whole != PackageIntegrity::kIntact) {
    session.Error(options.archive + ": the package inside is " +
                  (*whole == PackageIntegrity::kTruncated ? "cut short" : "damaged (its checksum does not match)") +
                  "; the installer refuses it");
  }
  session.ShowProgress("testing");
  session.Zip().TestMatching("*.*");
  session.Done();
  const int count = session.Zip().EntryCount();
  if (session.Failures() > 0) {
    std::printf("%d of %d entries failed\n", session.Failures(), count);
    return kEntriesFailed;
  }
  std::printf("no errors in %d entries\n", count);
  return whole && *whole != PackageIntegrity::kIntact ? kEntriesFailed : kSuccess;
}

}  // namespace

void AddTestCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<TestOptions>();
  CLI::App* command = app.add_subcommand("test", "decode every entry and check its CRC");
  command->footer(kDetails);
  AddPasswordOption(*command, options->password);
  command->add_option("ARCHIVE", options->archive, "the ZIP archive")->required();
  command->callback([options, &exitCode] { exitCode = RunTest(*options); });
}

}  // namespace setuvane::pack
