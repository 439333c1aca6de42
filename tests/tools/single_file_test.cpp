// The single-file installer's pieces: the resource section read and written again,
// version numbers, and setuvane.exe made into a single file (a package after the
// image and in the record, the version resource in the room kept for it, every
// other resource as it was, the header checksum), also from a signed installer or
// from a single file, and refused for what is no installer.
#include <gtest/gtest.h>

#include "art/version_ids.h"
#include "core/package/embedded_package.h"
#include "pe/pe_layout.h"
#include "tests/core/fake_program.h"
#include "tools/exe/program_file.h"
#include "pe/resource_tree.h"
#include "tools/exe/single_file.h"
#include "pe/version_info.h"

namespace setuvane::pack {
namespace {

constexpr uint32_t kResourceRva = 0x3000;  // the third section of FakeInstaller

Resource Make(ResourceId type, ResourceId name, uint16_t language, std::vector<uint8_t> data) {
  return {std::move(type), std::move(name), language, 0, std::move(data)};
}

std::vector<Resource> InstallerResources() {
  return {Make({2, {}}, {101, {}}, 1033, std::vector<uint8_t>(5000, 0xB1)),
          Make({kRtRcData, {}}, {IDR_VERSION_ROOM, {}}, 1033, std::vector<uint8_t>(4096, 0)),
          Make({kRtVersion, {}}, {1, {}}, 1033, std::vector<uint8_t>(600, 0x56)),
          Make({24, {}}, {1, {}}, 1033, {'<', 'x', '/', '>'})};
}

std::vector<uint8_t> FakeInstaller(const std::vector<Resource>& resources = InstallerResources()) {
  return fakes::FakeProgram({{".text", std::vector<uint8_t>(300, 0xC3)},
                             fakes::PackageRecordSection(),
                             {".rsrc", WriteResources(resources, kResourceRva)}});
}

std::vector<Resource> ResourcesOf(const std::vector<uint8_t>& program) {
  const std::optional<PeLayout> layout = ReadPeLayout(program.data(), program.size());
  const PeSection* section = layout->FindSection(".rsrc");
  const PeDataDirectory directory = layout->Directory(kResourceDirectory);
  EXPECT_EQ(directory.address, section->virtualAddress);
  const auto first = program.begin() + section->rawOffset;
  return ReadResources(std::vector<uint8_t>(first, first + directory.size), section->virtualAddress);
}

const Resource* Find(const std::vector<Resource>& resources, uint16_t type) {
  for (const Resource& r : resources) {
    if (r.type == ResourceId{type, {}}) return &r;
  }
  return nullptr;
}

TEST(ResourceTree, WritesWhatItReadsNamedEntriesFirst) {
  std::vector<Resource> resources = {Make({10, {}}, {7, {}}, 0x415, {1, 2, 3}),
                                     Make({0, u"PNG"}, {0, u"LOGO"}, 0x409, std::vector<uint8_t>(33, 9)),
                                     Make({10, {}}, {7, {}}, 0x409, {4}),
                                     Make({3, {}}, {0, u"IKONA"}, 0, {})};
  const std::vector<uint8_t> section = WriteResources(resources, 0x5000);
  const std::vector<Resource> read = ReadResources(section, 0x5000);
  ASSERT_EQ(read.size(), 4u);
  EXPECT_EQ(read[0].type.text, u"PNG");  // named types before numbered ones
  EXPECT_EQ(read[0].data, resources[1].data);
  EXPECT_EQ(read[1].name.text, u"IKONA");
  EXPECT_EQ(read[2].language, 0x409);  // languages ascending
  EXPECT_EQ(read[3].data, std::vector<uint8_t>({1, 2, 3}));
  EXPECT_EQ(WriteResources(read, 0x5000), section);
  // Data pointing outside the section is refused.
  EXPECT_THROW(ReadResources(section, 0x6000), std::runtime_error);
}

TEST(ResourceTree, RefusesADirectoryReachedTwice) {
  // Types that all lead to one name directory would multiply its resources (a
  // crafted program made the tool run out of memory so).
  std::vector<uint8_t> section =
      WriteResources({Make({3, {}}, {1, {}}, 0, {1}), Make({10, {}}, {1, {}}, 0, {2})}, 0x5000);
  std::copy(section.begin() + 20, section.begin() + 24, section.begin() + 28);  // second type -> first's names
  EXPECT_THROW(ReadResources(section, 0x5000), std::runtime_error);
}

TEST(VersionNumbers, TakeTheLeadingNumbersOfTheText) {
  using V = std::array<uint16_t, 4>;
  EXPECT_EQ(VersionNumbers("1.2.3.4.5"), (V{1, 2, 3, 4}));
  EXPECT_EQ(VersionNumbers("2.1 beta"), (V{2, 1, 0, 0}));
  EXPECT_EQ(VersionNumbers("10"), (V{10, 0, 0, 0}));
  EXPECT_EQ(VersionNumbers("wersja 3"), (V{0, 0, 0, 0}));
  EXPECT_EQ(VersionNumbers("99999.1"), (V{65535, 1, 0, 0}));
}

TEST(ProductVersionInfo, NamesTheProductFromInstallInf) {
  const ProductTexts texts = ReadProductTexts(
      "INSTALL_TASK_TITLE=Instalator Notatnika\r\nINSTALL_MAIN_TITLE=Notatnik\r\nPRODUCT_VERSION=2.5\r\n"
      "PRODUCT_PUBLISHER=Firma \xB9\r\n");  // "ą" in Windows-1250
  const VersionInfo info = ProductVersionInfo(texts, "setup.exe");
  using Strings = std::vector<std::pair<std::u16string, std::u16string>>;
  EXPECT_EQ(info.strings, (Strings{{u"CompanyName", u"Firma ą"},
                                   {u"FileDescription", u"Instalator Notatnika"},
                                   {u"FileVersion", u"2.5"},
                                   {u"InternalName", u"setuvane"},
                                   {u"OriginalFilename", u"setup.exe"},
                                   {u"ProductName", u"Notatnik"},
                                   {u"ProductVersion", u"2.5"}}));
  EXPECT_EQ(info.fileVersion, (std::array<uint16_t, 4>{2, 5, 0, 0}));
  // Without the optional keys: the installer's defaults, no version texts.
  EXPECT_EQ(ProductVersionInfo(ReadProductTexts(""), "a.exe").strings.size(), 4u);
}

TEST(SingleFile, CarriesThePackageAndTheVersionAndKeepsEveryOtherResource) {
  const std::vector<uint8_t> installer = FakeInstaller();
  const std::vector<uint8_t> package(10000, 0x5A);
  VersionInfo version;
  version.strings = {{u"ProductName", u"Notatnik"}};
  const std::vector<uint8_t> single = MakeSingleFile(installer, package, version);

  fakes::ProgramBytes file(single);
  const std::optional<EmbeddedPackage> carried = ReadEmbeddedPackage(file);
  ASSERT_TRUE(carried);
  EXPECT_EQ(carried->offset % 8, 0);
  EXPECT_EQ(std::vector<uint8_t>(single.begin() + carried->offset, single.end()), package);
  EXPECT_EQ(CheckEmbeddedPackage(file, *carried), PackageIntegrity::kIntact);

  const std::vector<Resource> resources = ResourcesOf(single);
  ASSERT_EQ(resources.size(), 3u);  // the room is given up
  EXPECT_EQ(Find(resources, 2)->data, InstallerResources()[0].data);
  EXPECT_EQ(Find(resources, 24)->data, InstallerResources()[3].data);
  EXPECT_EQ(Find(resources, kRtVersion)->data, WriteVersionInfo(version));
  EXPECT_EQ(Find(resources, kRtVersion)->language, 1033);

  const std::optional<PeLayout> layout = ReadPeLayout(single.data(), single.size());
  const size_t field = layout->ChecksumField();
  EXPECT_EQ(uint32_t(single[field] | single[field + 1] << 8 | single[field + 2] << 16 | single[field + 3] << 24),
            ProgramChecksum(single, field));

  // A single file or a signed one made into a single file again: the same bytes.
  EXPECT_EQ(MakeSingleFile(single, package, version), single);
  std::vector<uint8_t> signedInstaller = installer;
  const size_t end = signedInstaller.size();
  signedInstaller.resize(end + 512, 0x30);
  fakes::Put32(signedInstaller, layout->DirectoryEntry(kCertificateTable), uint32_t(end));
  fakes::Put32(signedInstaller, layout->DirectoryEntry(kCertificateTable) + 4, 512);
  EXPECT_EQ(MakeSingleFile(signedInstaller, package, version), single);
}

TEST(SingleFile, IsRefusedForWhatIsNoInstallerAndForTextsBeyondTheRoom) {
  const std::vector<uint8_t> noRecord = fakes::FakeProgram({{".text", std::vector<uint8_t>(300, 0xC3)}});
  EXPECT_THROW(MakeSingleFile(noRecord, {}, {}), std::runtime_error);
  EXPECT_THROW(MakeSingleFile(std::vector<uint8_t>(1000, 'M'), {}, {}), std::runtime_error);
  VersionInfo tooLong;
  tooLong.strings = {{u"ProductName", std::u16string(6000, u'x')}};
  EXPECT_THROW(MakeSingleFile(FakeInstaller(), {}, tooLong), std::runtime_error);
}

}  // namespace
}  // namespace setuvane::pack
