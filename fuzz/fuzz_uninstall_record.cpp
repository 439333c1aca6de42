// Fuzz target: the input is an uninstall record as the uninstaller reads it from
// the program folder, where anyone may have written it; it is read as it stands
// and once more with each line's check value made right, so that the fields
// behind the check are reached too. Reading never fails otherwise than with a
// problem; a record that verifies writes back to one that reads the same; a seal
// vouches for exactly the part it was made of; and what a record without a seal
// is trusted with is a part of its items.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/crc32.h"
#include "core/uninstallation/record_authentication.h"
#include "core/uninstallation/uninstall_record.h"

using namespace setuvane;

namespace {

// The text with the last field of every line after the first replaced by the
// right check value (docs/uninstall-record.md).
std::string Rechained(std::string_view text) {
  std::string out;
  std::uint32_t chain = 0;
  bool heading = true;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find("\r\n", at);
    const bool whole = end != std::string_view::npos;
    std::string_view line = text.substr(at, whole ? end - at : std::string_view::npos);
    at = whole ? end + 2 : text.size();
    const size_t tab = line.rfind('\t');
    if (heading || tab == std::string_view::npos) {
      out.append(line);
    } else {
      char previous[9];
      std::snprintf(previous, sizeof previous, "%08X", static_cast<unsigned>(chain));
      std::uint32_t crc = archive::Crc32Update(0xFFFFFFFFu, reinterpret_cast<const std::uint8_t*>(previous), 8);
      crc = archive::Crc32Update(crc, reinterpret_cast<const std::uint8_t*>(line.data()), tab + 1);
      chain = crc ^ 0xFFFFFFFFu;
      std::snprintf(previous, sizeof previous, "%08X", static_cast<unsigned>(chain));
      out.append(line.substr(0, tab + 1)).append(previous);
    }
    if (whole) out += "\r\n";
    heading = false;
  }
  return out;
}

void Check(std::string_view text) {
  const size_t size = text.size();
  const ParsedUninstallRecord parsed = ParseUninstallRecord(text);
  if (parsed.verifiedLength > size) std::abort();
  const std::optional<std::string> key = ProductKeyNamed(text);
  if (!parsed.Verified()) {
    if (!parsed.items.empty()) std::abort();
    return;
  }
  const ParsedUninstallRecord again = ParseUninstallRecord(UninstallRecordText(parsed.items));
  if (!again.Verified() || again.items != parsed.items || again.tornTail) std::abort();

  // The seal of the first half vouches for that half of the text and no more.
  const std::string_view half = text.substr(0, size / 2);
  const RecordSeal seal = SealOf(half);
  if (SealedPart(text, seal) != std::optional<std::string_view>(half)) std::abort();
  if (!half.empty() && SealedPart(half.substr(0, half.size() - 1), seal)) std::abort();

  std::vector<std::string> distrusted;
  const std::vector<UninstallItem> trusted = TrustedWithoutSeal(
      parsed.items, "C:\\Program Files\\P\\", {key.value_or("P"), "P", "Firma"}, {"C:\\Menu\\"}, distrusted);
  if (trusted.size() + distrusted.size() != parsed.items.size()) std::abort();
  MergeUninstallItems(parsed.items, trusted);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Check(text);
  Check(Rechained(text));
  return 0;
}
