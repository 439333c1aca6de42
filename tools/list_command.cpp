// `setuvane-pack list ARCHIVE`: one line per entry.
#include <cinttypes>
#include <cstdio>

#include "tools/archive_session.h"
#include "tools/command.h"
#include "tools/console.h"
#include "tools/printable.h"
#include "tools/options.h"

namespace setuvane::pack {
namespace {

const char kHelp[] =
    "usage: setuvane-pack list ARCHIVE\n"
    "\n"
    "Lists the entries of a ZIP archive, one line each: uncompressed and compressed\n"
    "size, compression method, '*' for an encrypted entry, CRC-32, stored name and,\n"
    "after '->', the destination text the entry carries (empty for setup files).\n";

std::string MethodName(uint16_t method) {
  switch (method) {
    case 0: return "stored";
    case 1: return "shrunk";
    case 2: case 3: case 4: case 5: return "reduced" + std::to_string(method - 1);
    case 6: return "imploded";
    case 8: return "deflated";
    default: return "method" + std::to_string(method);
  }
}

}  // namespace

int RunList(const Arguments& arguments) {
  int exitCode;
  const auto options = ParseCommand(arguments, {"list", kHelp, "", "", 1, 1}, exitCode);
  if (!options) return exitCode;
  ArchiveSession session("list");
  if (!session.Open(options->positional[0])) return kUsageOrArchiveError;
  archive::TAbUnZipper& zip = session.Zip();
  std::printf("%10s %10s %-9s %3s %-8s  %s\n", "Length", "Size", "Method", "Enc", "CRC-32", "Name -> Destination");
  for (int i = 0; i < zip.EntryCount(); ++i) {
    const archive::TAbZipItem& item = *zip.Entries(i);
    const std::string destination = item.ExtraText();
    std::printf("%10" PRIu32 " %10" PRIu32 " %-9s %3s %08" PRIx32 "  %s%s%s\n", item.UncompressedSize(),
                item.CompressedSize(), MethodName(item.CompressionMethod()).c_str(), item.IsEncrypted() ? "*" : "",
                item.CRC32(), Printable(item.StoredName()).c_str(), destination.empty() ? "" : " -> ",
                Printable(destination).c_str());
  }
  return kSuccess;
}

}  // namespace setuvane::pack
