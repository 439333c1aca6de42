// Fuzz target: the input is an uninstall record as the uninstaller reads it from
// the program folder, where anyone may have written it. Reading never fails
// otherwise than with a problem; a record that verifies writes back to one that
// reads the same; a seal vouches for exactly the part it was made of; and what a
// record without a seal is trusted with is a part of its items.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/uninstallation/record_authentication.h"
#include "core/uninstallation/uninstall_record.h"

using namespace setuvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ParsedUninstallRecord parsed = ParseUninstallRecord(text);
  if (!parsed.Verified()) {
    if (!parsed.items.empty()) std::abort();
    return 0;
  }
  const ParsedUninstallRecord again = ParseUninstallRecord(UninstallRecordText(parsed.items));
  if (!again.Verified() || again.items != parsed.items || again.tornTail) std::abort();

  // The seal of the first half vouches for that half of the text and no more.
  const std::string_view half = text.substr(0, size / 2);
  const RecordSeal seal = SealOf(half);
  if (SealedPart(text, seal) != std::optional<std::string_view>(half)) std::abort();
  if (!half.empty() && SealedPart(half.substr(0, half.size() - 1), seal)) std::abort();

  std::vector<std::string> distrusted;
  const std::vector<UninstallItem> trusted = TrustedWithoutSeal(parsed.items, "C:\\Program Files\\P\\", distrusted);
  if (trusted.size() + distrusted.size() != parsed.items.size()) std::abort();
  MergeUninstallItems(parsed.items, trusted);
  return 0;
}
