// A package carried inside the installer's program. A single-file installer is
// setuvane.exe with the bytes of an install.zip after its image; a single file
// signed by the package tool carries after them its own uninstaller, the bare
// installer signed alike; a signature, when the file is signed, comes last. The program finds the package from data
// inside its image, never by looking backwards from the end of the file: the
// section ".svpkg" holds one record, blank in setuvane.exe, that the package tool
// fills in when it makes a single file:
//
//   offset  size  field
//        0    16  "Setuvane package" (the record's mark)
//       16     4  format, 1
//       20     4  flags: 1 the program unpacks a packed uninstaller (set in the
//                 blank record of those that do, and kept), 2 the uninstaller is
//                 carried packed (an .xz stream of it)
//       24     8  the package's offset in the file
//       32     8  its size in bytes (0: no package inside)
//       40     4  its checksum (core/package/package_checksum.h)
//       44     8  the signed uninstaller's offset in the file (0: none)
//       52     8  its size in bytes
//       60     4  its checksum
//
// All numbers are little-endian. The package is then read through that window of
// the program file, exactly as install.zip would be. The signed uninstaller is a
// second copy of the program in every signed single file: packed, it costs about a
// third of that; the package tool packs it only for a program whose record says it
// unpacks it, so that an earlier installer never gets one.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace setuvane {

namespace archive {
class ReadableFile;
}
struct PeLayout;

inline constexpr char kPackageSection[] = ".svpkg";
inline constexpr size_t kPackageRecordSize = 64;
using PackageRecord = std::array<uint8_t, kPackageRecordSize>;

// Bytes carried in the program file, with their checksum.
struct CarriedBytes {
  int64_t offset = 0;
  int64_t size = 0;
  uint32_t checksum = 0;
  bool packed = false;  // an .xz stream of the bytes meant
  bool operator==(const CarriedBytes&) const = default;
};

struct EmbeddedPackage {
  int64_t offset = 0;
  int64_t size = 0;
  uint32_t checksum = 0;
  std::optional<CarriedBytes> uninstaller;  // the signed bare installer, when carried
  bool operator==(const EmbeddedPackage&) const = default;
};

// The record with `package` in it, or blank; `unpacksUninstaller` for a program
// that unpacks a packed uninstaller.
PackageRecord EncodePackageRecord(const std::optional<EmbeddedPackage>& package, bool unpacksUninstaller = false);
// Whether the program of this record (blank or filled) unpacks a packed uninstaller.
bool UnpacksUninstaller(const uint8_t* record);
// True for a record of this format, blank or filled.
bool IsPackageRecord(const uint8_t* bytes);
// The package a filled record names; nullopt for a blank record or other bytes.
std::optional<EmbeddedPackage> DecodePackageRecord(const uint8_t* bytes);

// Where the record lies in a program file: the start of its section's raw data.
std::optional<uint32_t> PackageRecordOffset(const PeLayout& layout);

// The package that `program` carries, if its record names one.
std::optional<EmbeddedPackage> ReadEmbeddedPackage(archive::ReadableFile& program);

enum class PackageIntegrity {
  kIntact,
  kTruncated,  // the file ends before the package does
  kDamaged,    // its bytes do not give the recorded checksum
};

// Reads the whole package (and a carried uninstaller) once and compares the
// checksums.
PackageIntegrity CheckEmbeddedPackage(archive::ReadableFile& program, const EmbeddedPackage& package);

// The length of the program part of a file: the image without a package carried
// inside and without a signature. A copy of these bytes is the bare installer.
int64_t ProgramPartLength(archive::ReadableFile& program);

// Makes `bytes`, a program file's first bytes (at least its program part), the bare
// installer: a carried package and a signature cut off, the certificate table's
// directory entry cleared, the package record blank, the header checksum right.
// `layout` and `recordOffset` are those of the bytes. Throws std::runtime_error
// when the record lies among the headers or past the bytes (a crafted file).
void MakeBareProgram(std::vector<uint8_t>& bytes, const PeLayout& layout, uint32_t recordOffset);

// The uninstaller of a single file: the signed one it carries (unpacked), or else
// its bare installer; nullopt when the file carries no package (it is the bare
// installer itself, signature and all) or cannot be read.
std::optional<std::vector<uint8_t>> UninstallerOfSingleFile(archive::ReadableFile& program);
// The bare installer inside a single file, even where it carries a signed one.
std::optional<std::vector<uint8_t>> BareInstallerOfSingleFile(archive::ReadableFile& program);

}  // namespace setuvane
