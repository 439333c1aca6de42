#include "system/shared_file_counts.h"

#include <algorithm>

#include "system/registry.h"

namespace setuvane {
namespace {

// The count as a number: REG_DWORD as Windows writes it; other data (a count some
// tool wrote as a text, say) are read as their first four bytes would be, at
// least 1, so that a file someone counts is never taken for nobody's.
std::optional<std::uint32_t> CountOf(Registry& registry, Registry::Key key, const std::string& path) {
  const std::optional<RegistryData> value = registry.QueryValue(key, path);
  if (!value) return std::nullopt;
  std::uint32_t count = 0;
  for (size_t i = 0; i < 4 && i < value->data.size(); ++i)
    count |= static_cast<std::uint32_t>(static_cast<unsigned char>(value->data[i])) << (8 * i);
  return value->type == kRegDword ? count : std::max<std::uint32_t>(count, 1);
}

}  // namespace

bool CountSharedFileIn(const std::string& path, bool earlierOwner) {
  Registry& registry = CurrentRegistry();
  const std::optional<Registry::Key> key = registry.CreateKey(kHkeyLocalMachine, kSharedDllsPath);
  if (!key) return false;
  const std::uint32_t count = CountOf(registry, *key, path).value_or(earlierOwner ? 1 : 0);
  const bool ok = registry.SetValue(*key, path, kRegDword, DwordValueData(count + 1));
  registry.CloseKey(*key);
  return ok;
}

bool SharedFileCounted(const std::string& path) { return SharedFileCount(path).value_or(0) > 0; }

std::optional<std::uint32_t> SharedFileCount(const std::string& path) {
  Registry& registry = CurrentRegistry();
  const std::optional<Registry::Key> key = registry.OpenKey(kHkeyLocalMachine, kSharedDllsPath);
  if (!key) return registry.KeyMissing(kHkeyLocalMachine, kSharedDllsPath) ? std::optional<std::uint32_t>(0)
                                                                          : std::nullopt;
  const std::uint32_t count = CountOf(registry, *key, path).value_or(0);
  registry.CloseKey(*key);
  return count;
}

std::optional<std::uint32_t> CountSharedFileOut(const std::string& path) {
  Registry& registry = CurrentRegistry();
  const std::optional<Registry::Key> key = registry.OpenKey(kHkeyLocalMachine, kSharedDllsPath);
  if (!key) return registry.KeyMissing(kHkeyLocalMachine, kSharedDllsPath) ? std::optional<std::uint32_t>(0)
                                                                          : std::nullopt;
  const std::uint32_t count = CountOf(registry, *key, path).value_or(1);
  const std::uint32_t left = count > 0 ? count - 1 : 0;
  const bool ok = left == 0 ? registry.DeleteValue(*key, path) : registry.SetValue(*key, path, kRegDword, DwordValueData(left));
  registry.CloseKey(*key);
  return ok ? std::optional<std::uint32_t>(left) : std::nullopt;
}

}  // namespace setuvane
