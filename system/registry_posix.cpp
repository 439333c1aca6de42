// The native build has no registry: every operation fails, so the registry script
// reports each line and the event-log registration finds nothing. The logic above
// the seam is exercised natively through fakes.
#include "system/registry.h"

namespace setuvane {
namespace {

class AbsentRegistry final : public Registry {
 public:
  std::optional<Key> CreateKey(Key, const std::string&) override { return std::nullopt; }
  std::optional<Key> OpenKey(Key, const std::string&) override { return std::nullopt; }
  bool SetValue(Key, const std::string&, std::uint32_t, std::string_view) override { return false; }
  void CloseKey(Key) override {}
};

}  // namespace

Registry& DefaultRegistry() {
  static AbsentRegistry registry;
  return registry;
}

}  // namespace setuvane
