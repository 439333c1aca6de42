// The registry of a dry run: every key opens, every write succeeds, and each is
// recorded in order with the key's full name ("HKEY_LOCAL_MACHINE\Software\A").
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "system/registry.h"

namespace setuvane::pack {

struct RegistryWrite {
  std::string key;  // full name
  bool isValue = false;
  // For a value: its name (empty: the key's default value), type and data as
  // they would be written.
  std::string name;
  std::uint32_t type = 0;
  std::string data;
};

class RecordingRegistry final : public Registry {
 public:
  const std::vector<RegistryWrite>& Writes() const { return writes_; }

  std::optional<Key> CreateKey(Key parent, const std::string& path) override;
  std::optional<Key> OpenKey(Key parent, const std::string& path) override;
  bool SetValue(Key key, const std::string& name, std::uint32_t type, std::string_view data) override;
  void CloseKey(Key key) override;

 private:
  std::optional<Key> Hand(Key parent, const std::string& path);

  std::map<Key, std::string> names_;  // of the keys handed out and not closed
  Key next_ = 1;
  std::vector<RegistryWrite> writes_;
};

}  // namespace setuvane::pack
