#include "system/registry.h"

namespace setuvane {
namespace {

Registry* g_override = nullptr;

}  // namespace

std::string_view RootKeyName(Registry::Key key) {
  switch (key) {
    case kHkeyClassesRoot: return "HKEY_CLASSES_ROOT";
    case kHkeyCurrentUser: return "HKEY_CURRENT_USER";
    case kHkeyLocalMachine: return "HKEY_LOCAL_MACHINE";
    case kHkeyUsers: return "HKEY_USERS";
    case kHkeyCurrentConfig: return "HKEY_CURRENT_CONFIG";
    default: return {};
  }
}

std::optional<Registry::Key> RootKeyOfName(std::string_view name) {
  for (Registry::Key root : {kHkeyClassesRoot, kHkeyCurrentUser, kHkeyLocalMachine, kHkeyUsers, kHkeyCurrentConfig}) {
    if (RootKeyName(root) == name) return root;
  }
  return std::nullopt;
}

std::optional<std::string> Registry::QueryText(Key key, const std::string& name) {
  const std::optional<RegistryData> value = QueryValue(key, name);
  if (!value || (value->type != kRegSz && value->type != kRegExpandSz)) return std::nullopt;
  return value->data.substr(0, value->data.find('\0'));
}

std::string StringValueData(std::string_view text) {
  std::string data(text);
  data.push_back('\0');
  return data;
}

std::string DwordValueData(std::uint32_t number) {
  std::string data(4, '\0');
  for (int i = 0; i < 4; ++i) data[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
  return data;
}

std::string FailedToSetDataText(std::string_view valueName) {
  return "Failed to set data for '" + std::string(valueName) + "'";
}

Registry& CurrentRegistry() { return g_override ? *g_override : DefaultRegistry(); }

ScopedRegistry::ScopedRegistry(Registry& registry) : previous_(g_override) { g_override = &registry; }

ScopedRegistry::~ScopedRegistry() { g_override = previous_; }

}  // namespace setuvane
