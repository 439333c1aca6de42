// Block-style YAML, the form winget's manifests take: a mapping as "key: value"
// lines, a sequence as "- " items at its key's indentation. Every scalar is written
// as JSON, which YAML 1.2 reads as the same string, number or literal, so no
// quoting rule of YAML's own is needed.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

namespace setuvane::pack {

// The YAML of `document`, an object whose keys are plain names; empty objects and
// arrays, and arrays inside arrays, are written in JSON's own flow form.
std::string YamlText(const nlohmann::ordered_json& document);

}  // namespace setuvane::pack
