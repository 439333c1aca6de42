// A registry made of plain data for the native tests: keys by their full path
// ("HKEY_CURRENT_USER\Software\A"), values by key and name, every handle it hands
// out remembered until it is closed, and each operation recorded.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "system/registry.h"

namespace setuvane::fakes {

class FakeRegistry : public Registry {
 public:
  struct Value {
    std::uint32_t type = 0;
    std::string data;
    bool operator==(const Value&) const = default;
  };

  std::set<std::string> keys;          // keys that exist besides the roots
  // Full paths that neither open nor create; one that is among `keys` too is there
  // but will not open with full access.
  std::set<std::string> refusedKeys;
  std::set<std::string> refusedNames;  // value names whose writes fail
  std::map<std::string, std::map<std::string, Value>> values;  // by key path, then name
  std::vector<std::string> calls;
  std::map<Key, std::string> openHandles;

  std::optional<Key> CreateKey(Key parent, const std::string& path) override {
    const std::string full = PathOf(parent) + "\\" + path;
    calls.push_back("CreateKey " + full);
    if (refusedKeys.count(full)) return std::nullopt;
    keys.insert(full);
    return Hand(full);
  }
  std::optional<Key> OpenKey(Key parent, const std::string& path) override {
    const std::string full = path.empty() ? PathOf(parent) : PathOf(parent) + "\\" + path;
    calls.push_back("OpenKey " + full);
    const bool isRoot = full.find('\\') == std::string::npos;
    if (refusedKeys.count(full) || (!isRoot && !keys.count(full))) return std::nullopt;
    return Hand(full);
  }
  KeyCreation MakeKey(Key parent, const std::string& path) override {
    const std::string full = PathOf(parent) + "\\" + path;
    calls.push_back("MakeKey " + full);
    if (keys.count(full)) return KeyCreation::kExisted;
    if (refusedKeys.count(full)) return KeyCreation::kFailed;
    keys.insert(full);
    return KeyCreation::kCreated;
  }
  bool KeyMissing(Key parent, const std::string& path) override {
    return !keys.count(PathOf(parent) + "\\" + path);
  }
  bool SetValue(Key key, const std::string& name, std::uint32_t type, std::string_view data) override {
    if (!openHandles.count(key)) return false;
    calls.push_back("SetValue " + openHandles[key] + " " + name);
    if (refusedNames.count(name)) return false;
    values[openHandles[key]][name] = {type, std::string(data)};
    return true;
  }
  void CloseKey(Key key) override {
    if (!RootKeyName(key).empty()) return;
    calls.push_back("CloseKey " + openHandles.at(key));
    openHandles.erase(key);
  }
  std::optional<RegistryData> QueryValue(Key key, const std::string& name) override {
    const Value* value = Find(PathOf(key), name);
    if (!value) return std::nullopt;
    return RegistryData{value->type, value->data};
  }
  bool DeleteValue(Key key, const std::string& name) override {
    calls.push_back("DeleteValue " + PathOf(key) + " " + name);
    if (refusedNames.count(name)) return false;
    values[PathOf(key)].erase(name);
    return true;
  }
  KeyDeletion DeleteEmptyKey(Key parent, const std::string& path) override {
    const std::string full = PathOf(parent) + "\\" + path;
    calls.push_back("DeleteEmptyKey " + full);
    if (!keys.count(full)) return KeyDeletion::kMissing;
    if (refusedKeys.count(full)) return KeyDeletion::kFailed;
    if (!values[full].empty()) return KeyDeletion::kNotEmpty;
    for (const std::string& other : keys)
      if (other.size() > full.size() && other.compare(0, full.size() + 1, full + "\\") == 0) return KeyDeletion::kNotEmpty;
    keys.erase(full);
    values.erase(full);
    return KeyDeletion::kDeleted;
  }
  bool DeleteKey(Key parent, const std::string& path) override {
    const std::string full = PathOf(parent) + "\\" + path;
    calls.push_back("DeleteKey " + full);
    if (refusedKeys.count(full)) return false;
    keys.erase(full);
    values.erase(full);
    return true;
  }

  // A value's text without its NUL; empty when it is missing.
  std::string Text(const std::string& key, const std::string& name) const {
    const Value* value = Find(key, name);
    return value && value->type == kRegSz && !value->data.empty() ? value->data.substr(0, value->data.size() - 1)
                                                                  : std::string();
  }
  std::optional<std::uint32_t> Dword(const std::string& key, const std::string& name) const {
    const Value* value = Find(key, name);
    if (!value || value->type != kRegDword || value->data.size() != 4) return std::nullopt;
    std::uint32_t number = 0;
    for (int i = 3; i >= 0; --i) number = (number << 8) | static_cast<unsigned char>(value->data[i]);
    return number;
  }

 private:
  std::string PathOf(Key key) const {
    std::string_view root = RootKeyName(key);
    return root.empty() ? openHandles.at(key) : std::string(root);
  }
  Key Hand(const std::string& full) {
    openHandles[next_] = full;
    return next_++;
  }
  const Value* Find(const std::string& key, const std::string& name) const {
    auto k = values.find(key);
    if (k == values.end()) return nullptr;
    auto v = k->second.find(name);
    return v == k->second.end() ? nullptr : &v->second;
  }

  Key next_ = 1;
};

}  // namespace setuvane::fakes
