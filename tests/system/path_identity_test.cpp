#include "system/path_identity.h"

#include <gtest/gtest.h>

#include "system/machine.h"
#include "tests/system/fake_machine.h"

namespace setuvane {
namespace {

// The spellings a user, a script or the system may give one folder.
TEST(PathIdentity, OneFolderSpelledManyWays) {
  fakes::FakeMachine machine;
  ScopedMachine scoped(machine);
  machine.longNames["C:\\PROGRA~1\\FIRMA"] = "C:\\Program Files\\Firma";
  machine.longNames["C:\\PROGRA~1"] = "C:\\Program Files";
  const struct {
    const char* path;
    const char* full;
  } cases[] = {
      {"C:\\Program Files\\Firma\\", "C:\\Program Files\\Firma"},
      {"C:/Program Files//Firma", "C:\\Program Files\\Firma"},
      {"C:\\PROGRA~1\\FIRMA\\", "C:\\Program Files\\Firma"},
      {"C:\\PROGRA~1\\FIRMA\\Nowy\\.\\", "C:\\Program Files\\Firma\\Nowy"},  // the part that exists is resolved
      {"C:\\Program Files\\Firma.\\Inne\\..\\", "C:\\Program Files\\Firma"},
      {"C:\\Program Files\\Firma \\", "C:\\Program Files\\Firma"},
      {"C:\\..\\..\\Produkt", "C:\\Produkt"},
      {"C:\\", "C:\\"},
      {"\\\\serwer\\\\udział\\\\Firma\\", "\\\\serwer\\udział\\Firma"},
  };
  for (const auto& c : cases) EXPECT_EQ(FullLongPath(c.path), c.full) << c.path;
  EXPECT_TRUE(SamePath("C:\\PROGRA~1\\FIRMA", "c:\\program files\\firma\\"));
  EXPECT_TRUE(SamePath("C:\\PROGRA~1\\FIRMA\\", "c:/program files/firma//"));
  EXPECT_TRUE(SamePath("C:\\Program Files\\Żółw", "c:\\program files\\żÓŁW"));
  EXPECT_FALSE(SamePath("C:\\Program Files\\Firma", "C:\\Program Files\\Firma2"));
  EXPECT_FALSE(SamePath("C:\\Program Files\\Firma\\a", "C:\\Program Files\\Firma"));
}

// The form every product file is judged in: the text alone decides, but for a name
// that may be a short one.
TEST(PathIdentity, NormalPathsWithoutAskingTheSystem) {
  fakes::FakeMachine machine;
  ScopedMachine scoped(machine);
  machine.longNames["C:\\PRODUK~1"] = "C:\\Produkt";
  machine.longNames["C:\\Inny"] = "C:\\INNY";  // never asked: no name may be short
  EXPECT_EQ(NormalPath("C:\\Inny\\..\\Wspolne\\.\\a.dll"), "C:\\Wspolne\\a.dll");
  EXPECT_EQ(NormalPath("C:/Inny//b.dll"), "C:\\Inny\\b.dll");
  EXPECT_EQ(NormalPath("C:\\PRODUK~1\\c.dll"), "C:\\Produkt\\c.dll");
  EXPECT_TRUE(NormalPathWithin("c:\\produkt\\bin\\d.dll", "C:\\Produkt"));
  EXPECT_TRUE(NormalPathWithin("C:\\Produkt", "C:\\Produkt"));
  EXPECT_FALSE(NormalPathWithin("C:\\Produkt2\\d.dll", "C:\\Produkt"));
  EXPECT_TRUE(NormalPathWithin("C:\\d.dll", "C:\\"));
  EXPECT_EQ(PathRoot("\\\\serwer\\udział\\a"), "\\\\serwer\\udział\\");
  EXPECT_EQ(PathRoot("D:\\a"), "D:\\");
}

}  // namespace
}  // namespace setuvane
