// An installation medium for one test on the real disk: a medium folder (the
// installer's folder, holding install.zip) and a setup folder of its own standing
// in for the temporary folder, both removed afterwards; and a package whose setup
// files a window can start with.
#pragma once

#include <string>
#include <vector>

#include "tests/archive/temp_folder.h"
#include "tests/archive/zip_writer.h"

namespace setuvane::fakes {

using archive::testing::Bytes;
using archive::testing::ToBytes;
using archive::testing::ZipEntryLayout;

inline ZipEntryLayout MediumEntry(const std::string& name, const std::string& content,
                                  const std::string& destination = "") {
  return {.name = name, .data = ToBytes(content), .method = 8, .password = "tarnwick", .centralExtra = destination};
}

// The setup files of a small package: titles, the program folder, Polish texts.
inline std::vector<ZipEntryLayout> StartablePackage(const std::string& programFolder) {
  return {
      MediumEntry("install.inf", "INSTALL_TASK_TITLE=Instalator Testowy\r\nINSTALL_MAIN_TITLE=Produkt Testowy\r\n"
                                 "PRODUCT_LOCATION=" + programFolder + "\r\n"),
      // "Zażółć gęślą jaźń" in Windows-1250.
      MediumEntry("license.inf", "Umowa licencyjna\r\n\r\n  Za\xbf\xf3\xb3\xe6 g\xea\x9cl\xb9 ja\x9f\xf1\r\n"),
      MediumEntry("readme.inf", "O produkcie\r\n"),
      MediumEntry("registry.inf", ""),
      MediumEntry("shortcut.inf", ""),
  };
}

class TestMedium {
 public:
  TestMedium() {
    std::filesystem::create_directories(root_.Path() / "medium");
    std::filesystem::create_directories(root_.Path() / "setup");
  }
  std::string Medium() const { return archive::testing::WinPath(root_.Path() / "medium") + "\\"; }
  std::string Setup() const { return archive::testing::WinPath(root_.Path() / "setup") + "\\"; }
  std::filesystem::path Path() const { return root_.Path(); }

  void WritePackage(const std::vector<ZipEntryLayout>& entries) const {
    archive::testing::WriteFile(root_.Path() / "medium" / "install.zip",
                                archive::testing::BuildZip({.entries = entries}).bytes);
  }

 private:
  archive::testing::TempFolder root_;
};

}  // namespace setuvane::fakes
