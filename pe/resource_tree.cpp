#include "pe/resource_tree.h"

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>

namespace setuvane {
namespace {

constexpr uint32_t kHighBit = 0x80000000u;
constexpr size_t kDirectorySize = 16;
constexpr size_t kEntrySize = 8;
constexpr size_t kDataEntrySize = 16;

[[noreturn]] void Malformed(const char* what) {
  throw std::runtime_error(std::string("the program's resource section is malformed: ") + what);
}

class SectionReader {
 public:
  explicit SectionReader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
  uint32_t U32(size_t at) const {
    Need(at, 4);
    return uint32_t(bytes_[at]) | uint32_t(bytes_[at + 1]) << 8 | uint32_t(bytes_[at + 2]) << 16 |
           uint32_t(bytes_[at + 3]) << 24;
  }
  uint16_t U16(size_t at) const {
    Need(at, 2);
    return uint16_t(bytes_[at] | bytes_[at + 1] << 8);
  }
  void Need(size_t at, size_t length) const {
    if (at > bytes_.size() || bytes_.size() - at < length) Malformed("an offset lies outside the section");
  }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

 private:
  const std::vector<uint8_t>& bytes_;
};

struct Entry {
  ResourceId id;
  uint32_t target;  // with the high bit: a subdirectory
};

ResourceId ReadId(const SectionReader& in, uint32_t field) {
  if (!(field & kHighBit)) {
    if (field > 0xFFFF) Malformed("a number beyond 16 bits");
    return {static_cast<uint16_t>(field), {}};
  }
  const size_t at = field & ~kHighBit;
  const uint16_t length = in.U16(at);
  in.Need(at + 2, size_t(length) * 2);
  ResourceId id;
  for (uint16_t i = 0; i < length; ++i) id.text.push_back(static_cast<char16_t>(in.U16(at + 2 + 2 * size_t(i))));
  if (id.text.empty()) Malformed("an empty name");
  return id;
}

std::vector<Entry> ReadDirectory(const SectionReader& in, size_t at) {
  const size_t count = size_t(in.U16(at + 12)) + in.U16(at + 14);
  in.Need(at + kDirectorySize, count * kEntrySize);
  std::vector<Entry> entries;
  for (size_t i = 0; i < count; ++i) {
    const size_t entry = at + kDirectorySize + i * kEntrySize;
    entries.push_back({ReadId(in, in.U32(entry)), in.U32(entry + 4)});
  }
  return entries;
}

size_t Subdirectory(const Entry& entry, bool expected) {
  if (bool(entry.target & kHighBit) != expected) Malformed(expected ? "a resource where a directory belongs" : "a directory where a resource belongs");
  return entry.target & ~kHighBit;
}

bool Before(const ResourceId& a, const ResourceId& b) {
  // Named entries come first, in ascending order of their texts; then numbers.
  if (a.text.empty() != b.text.empty()) return !a.text.empty();
  return a.text.empty() ? a.number < b.number : a.text < b.text;
}

void Put32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

void Put16(std::vector<uint8_t>& out, size_t at, uint16_t value) {
  out[at] = static_cast<uint8_t>(value);
  out[at + 1] = static_cast<uint8_t>(value >> 8);
}

size_t Align(size_t value, size_t to) { return (value + to - 1) / to * to; }

}  // namespace

std::vector<Resource> ReadResources(const std::vector<uint8_t>& section, uint32_t sectionRva) {
  const SectionReader in(section);
  // The tree is read exactly three levels deep, each directory once, with no more
  // entries and data than the section could hold laid out plainly: directories
  // that all point at one another would otherwise multiply into more resources
  // than memory holds.
  std::set<size_t> visited;
  size_t entries = 0;
  size_t dataBytes = 0;
  const auto directory = [&](size_t at) {
    if (!visited.insert(at).second) Malformed("a directory reached twice");
    std::vector<Entry> read = ReadDirectory(in, at);
    entries += read.size();
    if (entries > section.size() / kEntrySize) Malformed("more entries than the section holds");
    return read;
  };
  std::vector<Resource> resources;
  for (const Entry& type : directory(0)) {
    for (const Entry& name : directory(Subdirectory(type, true))) {
      for (const Entry& language : directory(Subdirectory(name, true))) {
        if (!language.id.text.empty()) Malformed("a language given by a name");
        const size_t entry = Subdirectory(language, false);
        const uint32_t rva = in.U32(entry);
        const uint32_t size = in.U32(entry + 4);
        if (rva < sectionRva) Malformed("data before the section");
        in.Need(rva - sectionRva, size);
        dataBytes += size;
        if (dataBytes > section.size()) Malformed("more data than the section holds");
        Resource resource{type.id, name.id, language.id.number, in.U32(entry + 8), {}};
        resource.data.assign(section.begin() + (rva - sectionRva), section.begin() + (rva - sectionRva) + size);
        resources.push_back(std::move(resource));
      }
    }
  }
  return resources;
}

std::vector<uint8_t> WriteResources(std::vector<Resource> resources, uint32_t sectionRva) {
  std::stable_sort(resources.begin(), resources.end(), [](const Resource& a, const Resource& b) {
    if (!(a.type == b.type)) return Before(a.type, b.type);
    if (!(a.name == b.name)) return Before(a.name, b.name);
    return a.language < b.language;
  });
  // The tree: types, the names of each type, the languages of each name.
  struct NameNode {
    ResourceId id;
    std::vector<size_t> resources;
  };
  struct TypeNode {
    ResourceId id;
    std::vector<NameNode> names;
  };
  std::vector<TypeNode> types;
  for (size_t i = 0; i < resources.size(); ++i) {
    const Resource& r = resources[i];
    if (types.empty() || !(types.back().id == r.type)) types.push_back({r.type, {}});
    std::vector<NameNode>& names = types.back().names;
    if (names.empty() || !(names.back().id == r.name)) names.push_back({r.name, {}});
    if (!names.back().resources.empty() && resources[names.back().resources.back()].language == r.language) {
      throw std::runtime_error("two resources of the same type, name and language");
    }
    names.back().resources.push_back(i);
  }

  // Sizes and places: all directories, then the names, the data entries, the data.
  size_t size = kDirectorySize + kEntrySize * types.size();
  std::vector<size_t> typeTables, nameTables;
  for (const TypeNode& type : types) {
    typeTables.push_back(size);
    size += kDirectorySize + kEntrySize * type.names.size();
  }
  for (const TypeNode& type : types) {
    for (const NameNode& name : type.names) {
      nameTables.push_back(size);
      size += kDirectorySize + kEntrySize * name.resources.size();
    }
  }
  std::map<std::u16string, size_t> texts;
  for (const TypeNode& type : types) {
    if (!type.id.text.empty()) texts[type.id.text] = 0;
    for (const NameNode& name : type.names) {
      if (!name.id.text.empty()) texts[name.id.text] = 0;
    }
  }
  for (auto& [text, at] : texts) {
    at = size;
    size += 2 + 2 * text.size();
  }
  size = Align(size, 4);
  const size_t dataEntries = size;
  size += kDataEntrySize * resources.size();
  std::vector<size_t> dataPlaces;
  for (const Resource& r : resources) {
    size = Align(size, 8);
    dataPlaces.push_back(size);
    size += r.data.size();
  }

  std::vector<uint8_t> out(size, 0);
  auto field = [&](const ResourceId& id) { return id.text.empty() ? uint32_t(id.number) : kHighBit | uint32_t(texts[id.text]); };
  auto table = [&](size_t at, const auto& children, auto idOf, auto targetOf) {
    size_t named = 0;
    for (const auto& child : children) named += !idOf(child).text.empty();
    Put16(out, at + 12, static_cast<uint16_t>(named));
    Put16(out, at + 14, static_cast<uint16_t>(children.size() - named));
    size_t i = 0;
    for (const auto& child : children) {
      Put32(out, at + kDirectorySize + kEntrySize * i, field(idOf(child)));
      Put32(out, at + kDirectorySize + kEntrySize * i + 4, targetOf(child, i));
      ++i;
    }
  };
  table(0, types, [](const TypeNode& t) -> const ResourceId& { return t.id; },
        [&](const TypeNode&, size_t i) { return kHighBit | uint32_t(typeTables[i]); });
  size_t nameIndex = 0;
  for (size_t t = 0; t < types.size(); ++t) {
    const size_t first = nameIndex;
    table(typeTables[t], types[t].names, [](const NameNode& n) -> const ResourceId& { return n.id; },
          [&](const NameNode&, size_t i) { return kHighBit | uint32_t(nameTables[first + i]); });
    nameIndex += types[t].names.size();
  }
  nameIndex = 0;
  for (const TypeNode& type : types) {
    for (const NameNode& name : type.names) {
      const size_t at = nameTables[nameIndex++];
      Put16(out, at + 14, static_cast<uint16_t>(name.resources.size()));
      for (size_t i = 0; i < name.resources.size(); ++i) {
        const size_t r = name.resources[i];
        Put32(out, at + kDirectorySize + kEntrySize * i, resources[r].language);
        Put32(out, at + kDirectorySize + kEntrySize * i + 4, uint32_t(dataEntries + kDataEntrySize * r));
      }
    }
  }
  for (const auto& [text, at] : texts) {
    Put16(out, at, static_cast<uint16_t>(text.size()));
    for (size_t i = 0; i < text.size(); ++i) Put16(out, at + 2 + 2 * i, static_cast<uint16_t>(text[i]));
  }
  for (size_t r = 0; r < resources.size(); ++r) {
    const size_t entry = dataEntries + kDataEntrySize * r;
    Put32(out, entry, sectionRva + uint32_t(dataPlaces[r]));
    Put32(out, entry + 4, uint32_t(resources[r].data.size()));
    Put32(out, entry + 8, resources[r].codePage);
    std::copy(resources[r].data.begin(), resources[r].data.end(), out.begin() + dataPlaces[r]);
  }
  return out;
}

}  // namespace setuvane
