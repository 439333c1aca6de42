// The shapes winget takes, counted in characters as its schemas count them; the
// manifests' texts themselves are checked against the schemas in pack_tool_test.
#include <gtest/gtest.h>

#include "tools/winget/winget_manifest.h"

namespace setuvane::pack {
namespace {

WingetProduct Notatnik() {
  WingetProduct product;
  product.title = "Notatnik 2.0";
  product.version = "2.0";
  product.publisher = "Firma";
  return product;
}

WingetOptions Options(const std::string& identifier) {
  WingetOptions options;
  options.identifier = identifier;
  options.installerUrl = "HTTPS://firma.example/setup.exe";
  return options;
}

TEST(WingetManifest, IdentifiersOfTwoToEightPartsOfUpToThirtyTwoCharacters) {
  const auto refused = [](const std::string& id) { return !WingetRefusals(Notatnik(), Options(id)).empty(); };
  for (const char* good : {"A.B", "A.B.C.D.E.F.G.H", "Zażółć.Gęślą", "Firma.Notatnik-2"})
    EXPECT_FALSE(refused(good)) << good;
  EXPECT_FALSE(refused(std::string(32, 'x') + ".Ą" + std::string(31, 'y')));
  EXPECT_TRUE(refused(std::string(33, 'x') + ".B"));
  for (const char* bad : {"Firma", "A.B.C.D.E.F.G.H.I", "Firma..Notatnik", "Firma.", "Firma.Note pad",
                          "Firma.Note\u00A0pad", "Firma.Note:pad", "Firma/Notatnik.X"})
    EXPECT_TRUE(refused(bad)) << bad;
}

TEST(WingetManifest, TheNameDropsTheVersionItsTitleEndsIn) {
  const std::string locale = WingetManifests(Notatnik(), Options("Firma.Notatnik"))[2].text;
  EXPECT_NE(locale.find("\nPackageName: \"Notatnik\"\n"), std::string::npos) << locale;
  EXPECT_NE(locale.find("\nShortDescription: \"Notatnik\"\n"), std::string::npos) << locale;
}

}  // namespace
}  // namespace setuvane::pack
