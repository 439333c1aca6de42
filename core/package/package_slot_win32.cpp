// The blank record of a package carried inside setuvane.exe (core/package/embedded_package.h),
// in a section of its own so that the package tool finds it by the section table.
// The program reads the record from its file, not from here: this object only has
// to be in the image, which linking it into the program itself (not through a
// library), `used` and its name among the linker's roots (core/CMakeLists.txt)
// make sure of.
#include <cstdint>

namespace setuvane {

struct PackageRecordBytes {
  char mark[16];
  uint32_t format;
  uint8_t rest[44];
};
static_assert(sizeof(PackageRecordBytes) == 64, "the record is 64 bytes");

}  // namespace setuvane

extern "C" {
extern const setuvane::PackageRecordBytes setuvane_package_record;
__attribute__((section(".svpkg"), used)) const setuvane::PackageRecordBytes setuvane_package_record = {
    {'S', 'e', 't', 'u', 'v', 'a', 'n', 'e', ' ', 'p', 'a', 'c', 'k', 'a', 'g', 'e'}, 1, {1}};  // unpacks an uninstaller
}
