#include "tools/plan/recording_registry.h"

namespace setuvane::pack {

std::optional<Registry::Key> RecordingRegistry::Hand(Key parent, const std::string& path) {
  std::string name(RootKeyName(parent));
  if (name.empty()) {
    const auto found = names_.find(parent);
    if (found == names_.end()) return std::nullopt;
    name = found->second;
  }
  if (!path.empty()) name += "\\" + path;
  const Key key = next_++;
  names_[key] = name;
  RegistryWrite opened;
  opened.key = name;
  writes_.push_back(std::move(opened));
  return key;
}

std::optional<Registry::Key> RecordingRegistry::CreateKey(Key parent, const std::string& path) {
  return Hand(parent, path);
}

std::optional<Registry::Key> RecordingRegistry::OpenKey(Key parent, const std::string& path) {
  return Hand(parent, path);
}

bool RecordingRegistry::SetValue(Key key, const std::string& name, std::uint32_t type, std::string_view data) {
  const auto found = names_.find(key);
  if (found == names_.end()) return false;
  writes_.push_back({.key = found->second, .isValue = true, .name = name, .type = type, .data = std::string(data)});
  return true;
}

void RecordingRegistry::CloseKey(Key key) { names_.erase(key); }

}  // namespace setuvane::pack
