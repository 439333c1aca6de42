// A reproducible set of files for comparisons with other ZIP tools: text-like,
// repetitive, random and empty files of many sizes in nested folders.
#pragma once

#include <filesystem>
#include <random>
#include <string>

#include "tests/archive/temp_folder.h"

namespace setuvane::archive::testing {

inline void MakePayload(const std::filesystem::path& root, int files) {
  std::mt19937 random(20261207);
  const char* words[] = {"instalacja ", "archiwum ", "plik ", "folder ", "setup ", "data\n", "0123 ", "\t"};
  for (int i = 0; i < files; ++i) {
    const std::filesystem::path folder = root / ("dir" + std::to_string(i % 4)) / (i % 3 ? "sub" : "");
    std::filesystem::create_directories(folder);
    const size_t size = i == 0 ? 0 : random() % (i % 5 == 0 ? 300000 : 20000);
    std::vector<uint8_t> bytes;
    bytes.reserve(size);
    while (bytes.size() < size) {
      switch (i % 3) {
        case 0: {  // words: compresses well, with long matches
          const char* w = words[random() % 8];
          bytes.insert(bytes.end(), w, w + std::char_traits<char>::length(w));
          break;
        }
        case 1:  // random bytes: deflate keeps them in stored blocks
          bytes.push_back(uint8_t(random()));
          break;
        default:  // runs: overlapping copies
          bytes.insert(bytes.end(), random() % 600, uint8_t('a' + random() % 3));
      }
    }
    bytes.resize(size);
    WriteFile(folder / ("file" + std::to_string(i) + (i % 2 ? ".txt" : ".bin")), bytes);
  }
}

}  // namespace setuvane::archive::testing
