#include "tools/exe/single_file.h"

#include <algorithm>

#include "art/version_ids.h"
#include "core/package/settings.h"
#include "system/cp1250.h"
#include "system/setup_text.h"
#include "tools/exe/program_file.h"

namespace setuvane::pack {

ProductTexts ReadProductTexts(const std::string& installInf) {
  SetDefaultSettings();
  for (const std::string& line : SplitSetupLines(installInf)) ApplySettingsLine(line);
  return {InstallTaskTitle, InstallMainTitle, ProductVersion, ProductPublisher};
}

VersionInfo ProductVersionInfo(const ProductTexts& texts, const std::string& fileName) {
  VersionInfo info;
  info.fileVersion = info.productVersion = VersionNumbers(texts.version);
  auto add = [&](const char16_t* key, const std::string& cp1250) {
    if (!cp1250.empty()) info.strings.emplace_back(key, Cp1250ToUtf16(cp1250));
  };
  add(u"CompanyName", texts.publisher);
  add(u"FileDescription", texts.taskTitle);
  add(u"FileVersion", texts.version);
  add(u"InternalName", "setuvane");
  add(u"OriginalFilename", fileName);
  add(u"ProductName", texts.mainTitle);
  add(u"ProductVersion", texts.version);
  return info;
}

std::vector<uint8_t> MakeSingleFile(std::vector<uint8_t> installer, const std::vector<uint8_t>& package,
                                    const VersionInfo& version) {
  ProgramFile program(std::move(installer));
  program.MakeBare();
  program.ChangeResources([&](std::vector<Resource>& resources) {
    // The room kept for this resource is given up to it.
    std::erase_if(resources, [](const Resource& r) {
      return r.type == ResourceId{kRtRcData, {}} && r.name == ResourceId{IDR_VERSION_ROOM, {}};
    });
    const auto old = std::find_if(resources.begin(), resources.end(),
                                  [](const Resource& r) { return r.type == ResourceId{kRtVersion, {}}; });
    Resource resource{{kRtVersion, {}}, {1, {}}, version.language, 0, WriteVersionInfo(version)};
    if (old != resources.end()) {
      resource.name = old->name;
      resource.language = old->language;
      resource.codePage = old->codePage;
      resources.erase(old);
    }
    // Other version resources (other languages) would contradict this one.
    std::erase_if(resources, [](const Resource& r) { return r.type == ResourceId{kRtVersion, {}}; });
    resources.push_back(std::move(resource));
  });
  program.AppendPackage(package);
  program.UpdateChecksum();
  return program.Bytes();
}

}  // namespace setuvane::pack
