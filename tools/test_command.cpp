// `setuvane-pack test [-P PASSWORD] ARCHIVE`: decodes every entry and checks its
// CRC without writing files.
#include <cstdio>

#include "tools/archive_session.h"
#include "tools/command.h"
#include "tools/options.h"
#include "tools/password_option.h"

namespace setuvane::pack {
namespace {

const char kHelp[] =
    "usage: setuvane-pack test [-P PASSWORD] ARCHIVE\n"
    "\n"
    "Decodes every entry of a ZIP archive and checks its CRC-32; nothing is written.\n"
    "Each failed entry is reported on standard error with the reason, and the exit\n"
    "code is then 1.\n"
    "\n"
    "  -P PASSWORD  password of encrypted entries (default: the package password)\n";

}  // namespace

int RunTest(const Arguments& arguments) {
  int exitCode;
  const auto options = ParseCommand(arguments, {"test", kHelp, "P", "", 1, 1}, exitCode);
  if (!options) return exitCode;
  const std::optional<std::string> password = PasswordOption(*options, "test");
  if (!password) return kUsageOrArchiveError;
  ArchiveSession session("test");
  session.Zip().SetPassword(*password);
  if (!session.Open(options->positional[0])) return kUsageOrArchiveError;
  session.ShowProgress("testing");
  session.Zip().TestMatching("*.*");
  session.Done();
  const int count = session.Zip().EntryCount();
  if (session.Failures() > 0) {
    std::printf("%d of %d entries failed\n", session.Failures(), count);
    return kEntriesFailed;
  }
  std::printf("no errors in %d entries\n", count);
  return kSuccess;
}

}  // namespace setuvane::pack
