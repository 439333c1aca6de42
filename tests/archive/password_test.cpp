// Encrypted entries: the password check against the header, the OnNeedPassword
// dialogue with its retries, and the password that carries over to later entries.
#include <gtest/gtest.h>

#include "archive/exceptions.h"
#include "archive/memory_file_system.h"
#include "archive/unzipper.h"
#include "archive/zdecoder.h"
#include "tests/archive/zip_writer.h"

namespace setuvane::archive {
namespace {

using testing::Bytes;
using testing::BuildZip;
using testing::ToBytes;
using testing::ZipLayout;

constexpr char kPassword[] = "tarnwick";

class PasswordTest : public ::testing::Test {
 protected:
  void Open(const ZipLayout& layout) {
    files.AddFile("p.zip", BuildZip(layout).bytes);
    zip.OnProcessItemFailure = [this](TAbUnZipper&, TAbArchiveItem& item, TAbProcessType, TAbErrorClass,
                                      int code) { failures.emplace_back(item.StoredName(), code); };
    zip.OnNeedPassword = [this](TAbUnZipper& sender, std::string& password) {
      EXPECT_EQ(&sender, &zip);
      asked.push_back(password);
      if (!answers.empty()) {
        password = answers.front();
        if (answers.size() > 1) answers.erase(answers.begin());
      }
    };
    zip.OpenZip("p.zip");
  }
  std::string Extracted(const std::string& name) {
    const auto found = files.Files().find(name);
    return found == files.Files().end() ? "<missing>" : std::string(found->second.data.begin(), found->second.data.end());
  }

  MemoryFileSystem files;
  TAbUnZipper zip{files};
  std::vector<std::pair<std::string, int>> failures;
  std::vector<std::string> asked;    // the password each event was called with
  std::vector<std::string> answers;  // what the handler returns; the last one repeats
};

// Entry data whose header check byte differs from that of the empty password, so that
// the first attempt with an empty password surely fails.
ZipLayout TwoEncryptedAndOnePlain() {
  ZipLayout layout;
  layout.entries.push_back({.name = "one.txt", .data = ToBytes("first secret"), .password = kPassword});
  layout.entries.push_back({.name = "plain.txt", .data = ToBytes("open")});
  layout.entries.push_back({.name = "two.txt", .data = Bytes(70000, 'q'), .method = 8, .password = kPassword});
  return layout;
}

TEST_F(PasswordTest, RightPasswordAsksNothing) {
  zip.SetPassword(kPassword);
  Open(TwoEncryptedAndOnePlain());
  zip.ExtractMatching("*.*");
  EXPECT_TRUE(asked.empty());
  EXPECT_TRUE(failures.empty());
  EXPECT_EQ(Extracted("one.txt"), "first secret");
  EXPECT_EQ(Extracted("two.txt"), std::string(70000, 'q'));
  EXPECT_EQ(Extracted("plain.txt"), "open");
}

TEST_F(PasswordTest, AnswerOfOnNeedPasswordIsKeptForLaterEntries) {
  answers = {kPassword};
  Open(TwoEncryptedAndOnePlain());
  zip.ExtractMatching("*.*");
  EXPECT_EQ(asked, std::vector<std::string>{""});  // once, with the password that failed
  EXPECT_TRUE(failures.empty());
  EXPECT_EQ(zip.Password(), kPassword);
  EXPECT_EQ(zip.Archive()->Password, kPassword);
  EXPECT_EQ(Extracted("two.txt"), std::string(70000, 'q'));

  // The password also survives into the next archive.
  asked.clear();
  files.AddFile("q.zip", BuildZip(TwoEncryptedAndOnePlain()).bytes);
  zip.OpenZip("q.zip");
  zip.SetBaseDirectory("");
  zip.ExtractMatching("one.txt");
  EXPECT_TRUE(asked.empty());
}

TEST_F(PasswordTest, RetriesBoundTheAttempts) {
  zip.SetPassword("wrong");
  answers = {"still wrong"};
  Open(TwoEncryptedAndOnePlain());
  zip.ExtractMatching("one.txt");
  EXPECT_EQ(asked, (std::vector<std::string>{"wrong", "still wrong", "still wrong"}));
  EXPECT_EQ(failures, (std::vector<std::pair<std::string, int>>{{"one.txt", AbZipInvalidPassword}}));
  EXPECT_EQ(Extracted("one.txt"), "<missing>");
}

TEST_F(PasswordTest, OneRetryAsksOnceAndTheNextEntryStartsWithTheAnswer) {
  zip.SetPassword("wrong");
  zip.SetPasswordRetries(1);
  answers = {kPassword};
  Open(TwoEncryptedAndOnePlain());
  zip.ExtractMatching("*.*");
  EXPECT_EQ(asked, std::vector<std::string>{"wrong"});
  EXPECT_EQ(failures, (std::vector<std::pair<std::string, int>>{{"one.txt", AbZipInvalidPassword}}));
  EXPECT_EQ(Extracted("two.txt"), std::string(70000, 'q'));
}

TEST_F(PasswordTest, NoRetriesFailsEveryEncryptedEntryWithoutAsking) {
  zip.SetPasswordRetries(0);
  zip.SetPassword(kPassword);
  Open(TwoEncryptedAndOnePlain());
  zip.ExtractMatching("*.*");
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(failures, (std::vector<std::pair<std::string, int>>{{"one.txt", AbZipInvalidPassword},
                                                                {"two.txt", AbZipInvalidPassword}}));
  EXPECT_EQ(Extracted("plain.txt"), "open");
}

TEST_F(PasswordTest, WithoutAHandlerTheSamePasswordIsTriedAndTheEntryFails) {
  Open(TwoEncryptedAndOnePlain());
  zip.OnNeedPassword = nullptr;
  zip.ExtractMatching("*.*");
  EXPECT_EQ(failures, (std::vector<std::pair<std::string, int>>{{"one.txt", AbZipInvalidPassword},
                                                                {"two.txt", AbZipInvalidPassword}}));
}

// Bit 3 (sizes in a data descriptor) does not change the check: it is made against
// the CRC of the central directory, never against the file time.
TEST_F(PasswordTest, DataDescriptorEntriesAreCheckedAgainstTheirCrc) {
  ZipLayout layout;
  layout.entries.push_back({.name = "dd.txt", .data = ToBytes("descriptor"), .password = kPassword, .extraFlags = 8});
  zip.SetPassword(kPassword);
  Open(layout);
  zip.ExtractMatching("*.*");
  EXPECT_TRUE(failures.empty());
  EXPECT_EQ(Extracted("dd.txt"), "descriptor");
}

// Streaming writers (Info-ZIP zip among them) check the header by the time's high
// byte and set bit 3; that byte is accepted for such entries, and only for them.
TEST_F(PasswordTest, TimeCheckByteIsAcceptedOnlyWithBit3) {
  ZipLayout layout;
  layout.entries.push_back({.name = "streamed.txt", .data = ToBytes("streamed"), .password = kPassword,
                          .dosTime = 0xA1B2, .extraFlags = 8, .timeCheckByte = true});
  layout.entries.push_back({.name = "not.txt", .data = ToBytes("not"), .password = kPassword, .dosTime = 0xA1B2,
                          .timeCheckByte = true});
  zip.SetPassword(kPassword);
  zip.SetPasswordRetries(1);
  Open(layout);
  zip.ExtractMatching("*.*");
  EXPECT_EQ(Extracted("streamed.txt"), "streamed");
  EXPECT_EQ(failures, (std::vector<std::pair<std::string, int>>{{"not.txt", AbZipInvalidPassword}}));
}

// A header that passes the one-byte check with a wrong password decrypts to garbage,
// which the decoder or the CRC check then refuses.
TEST_F(PasswordTest, WrongPasswordPassingTheCheckByteFailsLater) {
  const Bytes data = ToBytes("confidential data of some length");
  const uint32_t crc = testing::ZipCrc(data);
  // Find a password whose header check byte happens to match the encrypted header.
  const Bytes payload = testing::Encrypt(testing::DeflateStored(data), kPassword, uint8_t(crc >> 24));
  std::string lucky;
  for (int i = 0; i < 100000 && lucky.empty(); ++i) {
    const std::string candidate = std::to_string(i) + "x";
    TAbZDecoder decoder(candidate, crc, true);
    MemoryFileSystem scratch;
    scratch.AddFile("h", Bytes(payload.begin(), payload.begin() + 12));
    decoder.SetRetries(1);
    try {
      decoder.CheckPassword(*scratch.OpenRead("h"), 0);
      lucky = candidate;
    } catch (const EAbZipInvalidPassword&) {
    }
  }
  ASSERT_FALSE(lucky.empty());
  ZipLayout layout;
  layout.entries.push_back({.name = "d.txt", .data = data, .method = 8, .password = kPassword});
  layout.entries.push_back({.name = "s.txt", .data = data, .password = kPassword});
  zip.SetPassword(lucky);
  Open(layout);
  zip.ExtractMatching("d.txt");
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_TRUE(failures[0].second == AbInflateBlockError || failures[0].second == AbZipBadCRC);
  EXPECT_EQ(Extracted("d.txt"), "<missing>");
}

TEST(ZDecoderTest, HeaderCutShortIsAReadError) {
  MemoryFileSystem files;
  files.AddFile("h", Bytes(5, 0));
  TAbZDecoder decoder(kPassword, 0, true);
  EXPECT_THROW(decoder.CheckPassword(*files.OpenRead("h"), 0), std::runtime_error);
}

TEST(ZDecoderTest, TwoByteCheckAlsoComparesTheNextCrcByte) {
  const Bytes data = ToBytes("abc");
  const uint32_t crc = testing::ZipCrc(data);
  MemoryFileSystem files;
  files.AddFile("h", testing::Encrypt(data, kPassword, uint8_t(crc >> 24)));  // byte 10 is not crc >> 16
  TAbZDecoder one(kPassword, crc, true), two(kPassword, crc, false);
  EXPECT_NO_THROW(one.CheckPassword(*files.OpenRead("h"), 0));
  EXPECT_THROW(two.CheckPassword(*files.OpenRead("h"), 0), EAbZipInvalidPassword);
  // The keys continue into the data after the header.
  Bytes rest(data.size());
  files.OpenRead("h")->ReadAt(12, rest.data(), rest.size());
  one.DecryptBuffer(rest.data(), rest.size());
  EXPECT_EQ(rest, data);
}

}  // namespace
}  // namespace setuvane::archive
