// `setuvane-pack list [--json] ARCHIVE`: one line per entry, or the same as JSON.
#include <cinttypes>
#include <cstdio>
#include <memory>

#include <nlohmann/json.hpp>

#include "system/cp1250.h"
#include "tools/archive_session.h"
#include "tools/command.h"
#include "tools/printable.h"

namespace setuvane::pack {
namespace {

const char kDetails[] =
    "Lists the entries of a ZIP archive, one line each: uncompressed and compressed\n"
    "size, compression method, '*' for an encrypted entry, CRC-32, stored name and,\n"
    "after '->', the destination text the entry carries (empty for setup files).\n";

struct ListOptions {
  std::string archive;
  bool json = false;
};

std::string MethodName(uint16_t method) {
  switch (method) {
    case 0: return "stored";
    case 1: return "shrunk";
    case 2: case 3: case 4: case 5: return "reduced" + std::to_string(method - 1);
    case 6: return "imploded";
    case 8: return "deflated";
    case 95: return "xz";  // an entry of a solid package (or a ZIP's XZ entry, which is not read)
    default: return "method" + std::to_string(method);
  }
}

void PrintTable(archive::TAbUnZipper& zip) {
  std::printf("%10s %10s %-9s %3s %-8s  %s\n", "Length", "Size", "Method", "Enc", "CRC-32", "Name -> Destination");
  for (int i = 0; i < zip.EntryCount(); ++i) {
    const archive::TAbZipItem& item = *zip.Entries(i);
    const std::string destination = item.ExtraText();
    std::printf("%10" PRIu32 " %10" PRIu32 " %-9s %3s %08" PRIx32 "  %s%s%s\n", item.UncompressedSize(),
                item.CompressedSize(), MethodName(item.CompressionMethod()).c_str(), item.IsEncrypted() ? "*" : "",
                item.CRC32(), PrintableArchiveText(item.StoredName()).c_str(), destination.empty() ? "" : " -> ",
                PrintableArchiveText(destination).c_str());
  }
}

// JSON text is UTF-8, as everything the tool prints.
void PrintJson(archive::TAbUnZipper& zip) {
  nlohmann::json entries = nlohmann::json::array();
  for (int i = 0; i < zip.EntryCount(); ++i) {
    const archive::TAbZipItem& item = *zip.Entries(i);
    entries.push_back({{"name", Cp1250ToUtf8(item.StoredName())},
                       {"destination", Cp1250ToUtf8(item.ExtraText())},
                       {"method", MethodName(item.CompressionMethod())},
                       {"encrypted", item.IsEncrypted()},
                       {"size", item.UncompressedSize()},
                       {"compressedSize", item.CompressedSize()},
                       {"crc32", item.CRC32()}});
  }
  std::printf("%s\n", nlohmann::json{{"entries", entries}}.dump(2).c_str());
}

int RunList(const ListOptions& options) {
  ArchiveSession session("list");
  if (!session.Open(options.archive)) return kUsageOrArchiveError;
  if (options.json) {
    PrintJson(session.Zip());
  } else {
    PrintTable(session.Zip());
  }
  return kSuccess;
}

}  // namespace

void AddListCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<ListOptions>();
  CLI::App* command = app.add_subcommand("list", "list the entries of an archive");
  command->footer(kDetails);
  command->add_option("ARCHIVE", options->archive, "the ZIP archive")->required();
  command->add_flag("--json", options->json, "print the entries as JSON");
  command->callback([options, &exitCode] { exitCode = RunList(*options); });
}

}  // namespace setuvane::pack
