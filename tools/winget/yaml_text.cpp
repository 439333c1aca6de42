#include "tools/winget/yaml_text.h"

namespace setuvane::pack {
namespace {

using Json = nlohmann::ordered_json;

std::string Scalar(const Json& value) { return value.dump(-1, ' ', false, Json::error_handler_t::replace); }

void Block(const Json& node, const std::string& indent, std::string& out);

// "key: value", or "key:" with its block below: a mapping indented, a sequence not.
void Entry(const std::string& key, const Json& value, const std::string& indent, std::string& out) {
  if (value.is_structured() && !value.empty()) {
    out += key + ":\n";
    Block(value, value.is_object() ? indent + "  " : indent, out);
  } else {
    out += key + ": " + Scalar(value) + "\n";
  }
}

void Block(const Json& node, const std::string& indent, std::string& out) {
  if (node.is_object()) {
    for (const auto& [key, value] : node.items()) {
      out += indent;
      Entry(key, value, indent, out);
    }
    return;
  }
  for (const Json& item : node) {
    out += indent + "- ";
    if (!item.is_object() || item.empty()) {
      out += Scalar(item) + "\n";
      continue;
    }
    // A mapping in a sequence starts on the item's line; its other keys line up below.
    bool first = true;
    for (const auto& [key, value] : item.items()) {
      if (!first) out += indent + "  ";
      first = false;
      Entry(key, value, indent + "  ", out);
    }
  }
}

}  // namespace

std::string YamlText(const nlohmann::ordered_json& document) {
  std::string out;
  Block(document, "", out);
  return out;
}

}  // namespace setuvane::pack
