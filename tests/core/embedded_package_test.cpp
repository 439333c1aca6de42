// A package carried inside the installer's program: its checksum, finding it from
// the program's record, the whole-package check (a flipped byte anywhere, a file
// cut short, bytes after a signature), the program part's length, and start-up
// choosing and checking it.
#include <gtest/gtest.h>

#include <lzma.h>

#include "archive/unzipper.h"
#include "core/run/exit_codes.h"
#include "core/package/install_package.h"
#include "core/package/package_checksum.h"
#include "core/package/package_source.h"
#include "core/run/setup_folder.h"
#include "system/system_components.h"
#include "core/installation/product_installation.h"
#include "tests/core/fake_program.h"
#include "tests/core/fake_wizard_view.h"
#include "tests/core/installer_fixture.h"
#include "tests/core/program_ending.h"
#include "tests/archive/temp_folder.h"

namespace setuvane {
namespace {

using fakes::Dialogs;
using fakes::FakeProgram;
using fakes::PackageEntry;
using fakes::ProgramEnded;
using fakes::ToBytes;
using fakes::WithPackage;

uint32_t Checksum(const std::string& text) { return ChecksumOf(reinterpret_cast<const uint8_t*>(text.data()), text.size()); }

TEST(PackageChecksum, IsXxh32AndTheSameFedInPiecesOfAnySize) {
  // Values of the xxHash project's own command-line tool (xxhsum -H0).
  EXPECT_EQ(Checksum(""), 0x02CC5D05u);
  EXPECT_EQ(ChecksumOf(nullptr, 0), 0x02CC5D05u);
  EXPECT_EQ(Checksum("abc"), 0x32D153FFu);
  EXPECT_EQ(Checksum("Nobody inspects the spammish repetition"), 0xE2293B2Fu);
  std::vector<uint8_t> bytes;
  for (int i = 0; i < 1024; ++i) bytes.push_back(uint8_t(i));
  EXPECT_EQ(ChecksumOf(bytes.data(), bytes.size()), 0x58654D5Au);
  for (size_t piece : {1u, 3u, 15u, 16u, 17u, 100u}) {
    PackageChecksum running;
    for (size_t at = 0; at < bytes.size(); at += piece) running.Update(bytes.data() + at, std::min(piece, bytes.size() - at));
    EXPECT_EQ(running.Value(), 0x58654D5Au) << "pieces of " << piece;
  }
}

std::vector<uint8_t> Program() {
  return FakeProgram({{".text", std::vector<uint8_t>(300, 0xC3)}, fakes::PackageRecordSection()});
}

using MemoryFile = fakes::ProgramBytes;

TEST(EmbeddedPackage, IsFoundFromTheRecordAndCheckedWhole) {
  const std::vector<uint8_t> package = fakes::Bytes(700'000, 'p');  // more than one piece of the check
  const std::vector<uint8_t> program = Program();
  MemoryFile single(WithPackage(program, package));
  const std::optional<EmbeddedPackage> found = ReadEmbeddedPackage(single);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->offset, int64_t(program.size()));
  EXPECT_EQ(found->size, int64_t(package.size()));
  EXPECT_EQ(CheckEmbeddedPackage(single, *found), PackageIntegrity::kIntact);
  EXPECT_EQ(ProgramPartLength(single), int64_t(program.size()));

  for (size_t at : {size_t(0), package.size() / 2, package.size() - 1}) {
    MemoryFile damaged(single.bytes);
    damaged.bytes[program.size() + at] ^= 0x10;
    EXPECT_EQ(CheckEmbeddedPackage(damaged, *found), PackageIntegrity::kDamaged) << "byte " << at;
  }
  MemoryFile cut(single.bytes);
  cut.bytes.pop_back();
  EXPECT_EQ(CheckEmbeddedPackage(cut, *found), PackageIntegrity::kTruncated);
  // A signature and anything else after the package leave it as it was.
  MemoryFile longer(single.bytes);
  longer.bytes.resize(longer.bytes.size() + 3000, 0x30);
  EXPECT_EQ(ReadEmbeddedPackage(longer), found);
  EXPECT_EQ(CheckEmbeddedPackage(longer, *found), PackageIntegrity::kIntact);
  EXPECT_EQ(ProgramPartLength(longer), int64_t(program.size()));
}

TEST(EmbeddedPackage, ABareProgramCarriesNoneAndItsPartEndsBeforeItsSignature) {
  MemoryFile bare(Program());
  EXPECT_FALSE(ReadEmbeddedPackage(bare));
  EXPECT_EQ(ProgramPartLength(bare), bare.Size());
  const size_t end = bare.bytes.size();
  bare.bytes.resize(end + 1000, 0x30);  // the certificate table
  fakes::Put32(bare.bytes, 0x40 + 24 + 96 + 8 * kCertificateTable, uint32_t(end));
  fakes::Put32(bare.bytes, 0x40 + 24 + 96 + 8 * kCertificateTable + 4, 1000);
  EXPECT_EQ(ProgramPartLength(bare), int64_t(end));
  MemoryFile zip(ToBytes("PK\x05\x06 not a program"));
  EXPECT_FALSE(ReadEmbeddedPackage(zip));
  EXPECT_EQ(ProgramPartLength(zip), zip.Size());
}

// The uninstaller written from a single file is the bare installer: the same bytes
// as before the package went in, but for a checksum that is right again.
TEST(EmbeddedPackage, TheBareInstallerOfASignedSingleFileLosesPackageAndSignature) {
  const std::vector<uint8_t> program = Program();
  std::vector<uint8_t> signed_ = WithPackage(program, fakes::Bytes(5000, 'p'));
  const size_t signature = signed_.size();
  signed_.resize(signature + 600, 0x30);
  const size_t directory = 0x40 + 24 + 96 + 8 * kCertificateTable;
  fakes::Put32(signed_, directory, uint32_t(signature));
  fakes::Put32(signed_, directory + 4, 600);

  MemoryFile single(signed_), bare(program);
  const std::optional<std::vector<uint8_t>> written = BareInstallerOfSingleFile(single);
  ASSERT_TRUE(written);
  const std::optional<PeLayout> layout = ReadPeLayout(written->data(), written->size());
  ASSERT_TRUE(layout);
  std::vector<uint8_t> expected = program;
  fakes::Put32(expected, layout->ChecksumField(), ProgramChecksum(program, layout->ChecksumField()));
  EXPECT_EQ(*written, expected);
  EXPECT_NE(ProgramChecksum(program, layout->ChecksumField()), 0u);
  EXPECT_FALSE(BareInstallerOfSingleFile(bare)) << "a bare installer is copied as it is";
  EXPECT_EQ(UninstallerOfSingleFile(single), written) << "without a signed one carried";

  // A signed uninstaller carried after the package is the one written, and the
  // whole-file check covers it: a flipped byte in it makes the file damaged.
  std::vector<uint8_t> carrying = WithPackage(program, fakes::Bytes(5000, 'p'));
  const std::vector<uint8_t> uninstaller = fakes::Bytes(3000, 'u');
  const std::optional<EmbeddedPackage> package = ReadEmbeddedPackage(*std::make_unique<MemoryFile>(carrying));
  ASSERT_TRUE(package);
  EmbeddedPackage withUninstaller = *package;
  withUninstaller.uninstaller =
      CarriedBytes{int64_t(carrying.size()), int64_t(uninstaller.size()), ChecksumOf(uninstaller.data(), uninstaller.size())};
  carrying.insert(carrying.end(), uninstaller.begin(), uninstaller.end());
  const PackageRecord filled = EncodePackageRecord(withUninstaller);
  std::copy(filled.begin(), filled.end(), carrying.begin() + *PackageRecordOffset(*ReadPeLayout(carrying.data(), carrying.size())));
  MemoryFile carrier(carrying);
  EXPECT_EQ(ReadEmbeddedPackage(carrier), withUninstaller);
  EXPECT_EQ(CheckEmbeddedPackage(carrier, withUninstaller), PackageIntegrity::kIntact);
  EXPECT_EQ(UninstallerOfSingleFile(carrier), uninstaller);
  EXPECT_EQ(ProgramPartLength(carrier), int64_t(program.size()));
  carrier.bytes[carrying.size() - 10] ^= 1;
  EXPECT_EQ(CheckEmbeddedPackage(carrier, withUninstaller), PackageIntegrity::kDamaged);
  EXPECT_FALSE(UninstallerOfSingleFile(carrier));
  // A record naming more uninstaller than the file holds is believed no further.
  withUninstaller.uninstaller->size = int64_t(1) << 60;
  const PackageRecord huge = EncodePackageRecord(withUninstaller);
  std::copy(huge.begin(), huge.end(), carrier.bytes.begin() + *PackageRecordOffset(*ReadPeLayout(carrying.data(), carrying.size())));
  EXPECT_EQ(CheckEmbeddedPackage(carrier, withUninstaller), PackageIntegrity::kTruncated);
  EXPECT_FALSE(UninstallerOfSingleFile(carrier));

  // Packed (an .xz stream), as the package tool carries it for a program that
  // unpacks it: unpacked, and the bare installer keeps saying it unpacks.
  std::vector<uint8_t> packed(4096);
  size_t packedSize = 0;
  ASSERT_EQ(lzma_easy_buffer_encode(6, LZMA_CHECK_NONE, nullptr, uninstaller.data(), uninstaller.size(),
                                    packed.data(), &packedSize, packed.size()),
            LZMA_OK);
  packed.resize(packedSize);
  carrying.resize(size_t(withUninstaller.uninstaller->offset));
  withUninstaller.uninstaller = CarriedBytes{int64_t(carrying.size()), int64_t(packed.size()),
                                             ChecksumOf(packed.data(), packed.size()), true};
  carrying.insert(carrying.end(), packed.begin(), packed.end());
  const PackageRecord packing = EncodePackageRecord(withUninstaller, true);
  std::copy(packing.begin(), packing.end(), carrying.begin() + *PackageRecordOffset(*ReadPeLayout(carrying.data(), carrying.size())));
  MemoryFile packedCarrier(carrying);
  EXPECT_EQ(ReadEmbeddedPackage(packedCarrier), withUninstaller);
  EXPECT_EQ(UninstallerOfSingleFile(packedCarrier), uninstaller);
  const std::optional<std::vector<uint8_t>> bareOfPacked = BareInstallerOfSingleFile(packedCarrier);
  ASSERT_TRUE(bareOfPacked);
  EXPECT_TRUE(UnpacksUninstaller(bareOfPacked->data() + *PackageRecordOffset(*ReadPeLayout(bareOfPacked->data(), bareOfPacked->size()))));
  EXPECT_FALSE(UnpacksUninstaller(EncodePackageRecord(withUninstaller).data()));

  // A certificate table that points into the image cuts nothing before the record.
  std::vector<uint8_t> odd = WithPackage(program, fakes::Bytes(5000, 'p'));
  fakes::Put32(odd, directory, 0x200);
  fakes::Put32(odd, directory + 4, 600);
  const std::optional<PeLayout> oddLayout = ReadPeLayout(odd.data(), odd.size());
  ASSERT_TRUE(oddLayout);
  const std::optional<uint32_t> record = PackageRecordOffset(*oddLayout);
  ASSERT_TRUE(record);
  MakeBareProgram(odd, *oddLayout, *record);
  EXPECT_EQ(odd.size(), *record + kPackageRecordSize);
  EXPECT_FALSE(DecodePackageRecord(odd.data() + *record));
}

TEST(EmbeddedPackage, ARecordAmongTheHeadersIsRefusedNotWrittenPast) {
  // The headers moved to 0x200 and the package section's raw data placed at 0x40,
  // in the DOS stub, its record naming a package right after it: a cut there would
  // leave the checksum field beyond the bytes.
  std::vector<uint8_t> bytes = Program();
  std::copy(bytes.begin() + 0x40, bytes.begin() + 0x1C0, bytes.begin() + 0x200);
  std::fill(bytes.begin() + 0x40, bytes.begin() + 0x200, 0);
  fakes::Put32(bytes, 0x3C, 0x200);
  const std::optional<PeLayout> moved = ReadPeLayout(bytes.data(), bytes.size());
  ASSERT_TRUE(moved);
  const PeSection* section = moved->FindSection(kPackageSection);
  ASSERT_NE(section, nullptr);
  fakes::Put32(bytes, section->headerOffset + 20, 0x40);
  const PackageRecord record = EncodePackageRecord(EmbeddedPackage{0x80, 16, 0, std::nullopt});
  std::copy(record.begin(), record.end(), bytes.begin() + 0x40);
  const std::optional<PeLayout> layout = ReadPeLayout(bytes.data(), bytes.size());
  ASSERT_TRUE(layout);
  ASSERT_EQ(PackageRecordOffset(*layout), 0x40u);
  EXPECT_THROW(MakeBareProgram(bytes, *layout, 0x40), std::runtime_error);
  EXPECT_THROW(MakeBareProgram(bytes, *layout, uint32_t(bytes.size() - 10)), std::runtime_error);
}

class SingleFileStartTest : public fakes::InstallerTest {
 protected:
  void SetUp() override {
    fakes::InstallerTest::SetUp();
    ForgetInstallPackage();
  }
  void TearDown() override {
    ForgetInstallPackage();
    SetEndingExitCode(kExitInstalled);
  }
  std::vector<uint8_t> Package() {
    return archive::testing::BuildZip({.entries = {PackageEntry("install.inf", "INSTALL_TASK_TITLE=Jeden plik\r\nPRODUCT_LOCATION=C:\\Aplikacja\\\r\n"),
                                                   PackageEntry("bin/app.exe", "program", "<programfolder>")}})
        .bytes;
  }
  static constexpr char kProgram[] = "E:\\INSTALL\\SETUVANE.EXE";
};

TEST_F(SingleFileStartTest, WithoutInstallZipBesideItTheCarriedPackageInstalls) {
  const std::vector<uint8_t> program = Program();
  disk.AddFile(kProgram, WithPackage(program, Package()));
  archive::TAbUnZipper zipInstall(disk);
  EXPECT_TRUE(OpenInstallPackage(zipInstall, disk));
  EXPECT_EQ(InstallTaskTitle, "Jeden plik");
  EXPECT_EQ(InstallPackage().path, kProgram);
  EXPECT_EQ(InstallPackage().part->offset, int64_t(program.size()));
  // A file swapped in after the check is not what is installed: every read, decoding
  // ahead's too, goes through the handle that was checked.
  disk.AddFile(kProgram, WithPackage(program, archive::testing::BuildZip(
                                                  {.entries = {PackageEntry("bin/app.exe", "podmieniony", "<programfolder>")}})
                                                  .bytes));
  fakes::FakeWizardView view;
  ProductInstallation product(view, disk);
  EXPECT_TRUE(product.PreparePayload() && product.InstallProductFiles());
  EXPECT_EQ(FileText("C:\\Aplikacja\\app.exe"), "program");
  EXPECT_TRUE(Dialogs().problems.empty());
}

// A single file saved where another download left an install.zip and a component
// folder uses its own package and its own components only.
TEST_F(SingleFileStartTest, ReadsOnlyItselfNotWhatLiesBesideIt) {
  std::vector<uint8_t> package = archive::testing::BuildZip(
      {.entries = {PackageEntry("install.inf", "INSTALL_TASK_TITLE=Jeden plik\r\n"),
                   PackageEntry("supaxdo/setup.exe", "własny"), PackageEntry("supaxdo/dane/baza.cab", "cab")}}).bytes;
  disk.AddFile(kProgram, WithPackage(Program(), package));
  WritePackage({PackageEntry("install.inf", "INSTALL_TASK_TITLE=Nosnik\r\n")});
  disk.AddFolder("E:\\INSTALL\\supajet");
  disk.AddFile("E:\\INSTALL\\supajet\\setup.exe", ToBytes("obcy"));
  archive::TAbUnZipper zipInstall(disk);
  EXPECT_TRUE(OpenInstallPackage(zipInstall, disk));
  EXPECT_EQ(InstallTaskTitle, "Jeden plik");
  EXPECT_EQ(InstallPackage().path, kProgram);
  EXPECT_EQ(ComponentFolder(), SetupFolder);
  EXPECT_EQ(FileText(SetupFolder + "supaxdo\\setup.exe"), "własny");
  EXPECT_EQ(FileText(SetupFolder + "supaxdo\\dane\\baza.cab"), "cab");
  EXPECT_EQ(FileText(SetupFolder + "setup.exe"), "<missing>") << "components keep their folders";
  const std::vector<ComponentRun> runs = SystemComponentsToRun(ComponentFolder());
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].commandLine, "\"" + SetupFolder + "supaxdo\\setup.exe\" /QT");
  RemoveOwnSetupFolder(disk);
  EXPECT_FALSE(disk.FolderExists(SetupFolder + "supaxdo"));
  EXPECT_FALSE(disk.FolderExists(SetupFolder.substr(0, SetupFolder.size() - 1)));

  // The bare installer beside an install.zip is the folder medium, as ever.
  disk.AddFile(kProgram, Program());
  EXPECT_TRUE(OpenInstallPackage(zipInstall, disk));
  EXPECT_EQ(InstallTaskTitle, "Nosnik");
  EXPECT_EQ(InstallPackage(), (PackageSource{"E:\\INSTALL\\install.zip", std::nullopt, nullptr}));
  EXPECT_EQ(ComponentFolder(), "E:\\INSTALL\\");
}

TEST_F(SingleFileStartTest, ADamagedOrCutPackageIsRefusedWithExitCodeTwoBeforeAnythingIsUnpacked) {
  const std::vector<uint8_t> single = WithPackage(Program(), Package());
  std::vector<uint8_t> damaged = single;
  damaged[damaged.size() - 30] ^= 1;
  std::vector<uint8_t> cut(single.begin(), single.end() - 1);
  for (const auto& [bytes, details] : {std::pair{damaged, kPackageDamagedText}, std::pair{cut, kPackageTruncatedText}}) {
    Dialogs() = {};
    disk.AddFile(kProgram, bytes);
    archive::TAbUnZipper zipInstall(disk);
    EXPECT_THROW(OpenInstallPackage(zipInstall, disk), ProgramEnded);
    EXPECT_EQ(EndingExitCode(), kExitPackageUnreadable);
    ASSERT_EQ(Dialogs().problems.size(), 1u);
    EXPECT_EQ(Dialogs().problems[0].message, "Nieprawidłowy źródłowy pakiet instalacji.");
    EXPECT_EQ(Dialogs().problems[0].details, details);
    EXPECT_EQ(FileText("C:\\WINDOWS\\TEMP\\install.inf"), "<missing>");
  }
}

// A single file that another program holds open for writing cannot get the handle
// its package must be read through: it ends with 2, and never falls back to an
// install.zip and components lying beside it.
TEST_F(SingleFileStartTest, ASingleFileThatCannotHoldItselfEndsWithTwoAndNeverReadsTheFolderMedium) {
  struct HeldOpen : archive::FileSystem {
    explicit HeldOpen(archive::FileSystem& disk) : disk(disk) {}
    std::unique_ptr<archive::ReadableFile> OpenRead(const std::string& path) override { return disk.OpenRead(path); }
    std::unique_ptr<archive::ReadableFile> OpenReadLocked(const std::string&) override {
      throw std::runtime_error("File is in use");
    }
    std::unique_ptr<archive::WritableFile> CreateNew(const std::string& path) override { return disk.CreateNew(path); }
    bool Replace(const std::string& from, const std::string& to) override { return disk.Replace(from, to); }
    bool Remove(const std::string& path) override { return disk.Remove(path); }
    void MakeFolder(const std::string& path) override { disk.MakeFolder(path); }
    bool FolderExists(const std::string& path) override { return disk.FolderExists(path); }
    bool FileExists(const std::string& path) override { return disk.FileExists(path); }
    archive::FileSystem& disk;
  } heldOpen(disk);
  disk.AddFile(kProgram, WithPackage(Program(), Package()));
  WritePackage({PackageEntry("install.inf", "INSTALL_TASK_TITLE=Nosnik\r\n")});
  archive::TAbUnZipper zipInstall(heldOpen);
  EXPECT_THROW(OpenInstallPackage(zipInstall, heldOpen), ProgramEnded);
  EXPECT_EQ(EndingExitCode(), kExitPackageUnreadable);
  ASSERT_EQ(Dialogs().problems.size(), 1u);
  EXPECT_EQ(Dialogs().problems[0].details, "File is in use");
  EXPECT_NE(InstallTaskTitle, "Nosnik");
}

}  // namespace
}  // namespace setuvane
