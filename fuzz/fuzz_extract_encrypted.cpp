// Fuzz target: extraction of one encrypted entry. The first bytes of the input choose
// the compression method, the entry's CRC-32 and sizes and the passwords that
// OnNeedPassword hands out; the rest is the entry's data as stored (encryption header
// and cipher text). The archive around it is built here, in memory.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "archive/memory_file_system.h"
#include "archive/unzipper.h"

using namespace setuvane::archive;

namespace {

struct Reader {
  const uint8_t* p;
  size_t left;
  uint32_t Take(int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes && left > 0; ++i, --left) v |= uint32_t(*p++) << (8 * i);
    return v;
  }
};

void Put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

// One entry named "e.bin" with general purpose bit 0 set and `flags` added.
std::vector<uint8_t> OneEntryArchive(uint16_t method, uint16_t flags, uint32_t crc, uint32_t size,
                                     const uint8_t* payload, size_t length) {
  std::vector<uint8_t> zip;
  const uint16_t allFlags = uint16_t(flags | 1);
  Put(zip, 0x04034B50, 4);
  Put(zip, 20, 2);
  Put(zip, allFlags, 2);
  Put(zip, method, 2);
  Put(zip, 0x6000, 2);
  Put(zip, 0x5A21, 2);
  Put(zip, crc, 4);
  Put(zip, uint32_t(length), 4);
  Put(zip, size, 4);
  Put(zip, 5, 2);
  Put(zip, 0, 2);
  zip.insert(zip.end(), {'e', '.', 'b', 'i', 'n'});
  zip.insert(zip.end(), payload, payload + length);
  const uint32_t directory = uint32_t(zip.size());
  Put(zip, 0x02014B50, 4);
  Put(zip, 20, 2);
  Put(zip, 20, 2);
  Put(zip, allFlags, 2);
  Put(zip, method, 2);
  Put(zip, 0x6000, 2);
  Put(zip, 0x5A21, 2);
  Put(zip, crc, 4);
  Put(zip, uint32_t(length), 4);
  Put(zip, size, 4);
  Put(zip, 5, 2);
  Put(zip, 0, 4);  // extra and comment lengths
  Put(zip, 0, 4);  // disk number start, internal attributes
  Put(zip, 0, 4);  // external attributes
  Put(zip, 0, 4);  // offset of the local header
  zip.insert(zip.end(), {'e', '.', 'b', 'i', 'n'});
  const uint32_t end = uint32_t(zip.size());
  Put(zip, 0x06054B50, 4);
  Put(zip, 0, 4);
  Put(zip, 1, 2);
  Put(zip, 1, 2);
  Put(zip, end - directory, 4);
  Put(zip, directory, 4);
  Put(zip, 0, 2);
  return zip;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in{data, size};
  const uint16_t methods[] = {0, 8, 1, 2, 5, 6, 9};
  const uint16_t method = methods[in.Take(1) % 7];
  const uint16_t flags = uint16_t(in.Take(1) & 0x0E);
  const uint32_t crc = in.Take(4);
  const uint32_t outputSize = in.Take(3) & 0xFFFFF;  // at most 1 MiB of output
  const uint8_t retries = uint8_t(in.Take(1) % 4);
  const std::string passwords[] = {"tarnwick", "", "wrong", "za\xBF\xF3\xB3\xE6"};
  const uint32_t choices = in.Take(1);

  MemoryFileSystem files;
  files.AddFile("e.zip", OneEntryArchive(method, flags, crc, outputSize, in.p, in.left));
  TAbUnZipper zip(files);
  zip.SetDecodeAhead(false);  // one thread per input: runs repeat exactly (archive_ahead_test covers the worker)
  zip.SetPassword(passwords[choices & 3]);
  zip.SetPasswordRetries(retries);
  int asked = 0;
  zip.OnNeedPassword = [&](TAbUnZipper&, std::string& password) { password = passwords[(choices >> (2 * ++asked)) & 3]; };
  try {
    zip.OpenZip("e.zip");
    zip.ExtractMatching("*.*");
  } catch (const std::exception&) {
  }
  // A failed entry leaves nothing behind; a written one has exactly its declared size.
  for (const auto& [path, file] : files.Files()) {
    if (path != "e.zip" && (path != "e.bin" || file.data.size() != outputSize)) __builtin_trap();
  }
  if (asked > retries) __builtin_trap();
  return 0;
}
