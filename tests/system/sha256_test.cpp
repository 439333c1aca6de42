#include "system/sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace setuvane {
namespace {

// The test vectors of FIPS 180-4's examples and NIST's byte-oriented set.
TEST(Sha256, StandardVectors) {
  EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  EXPECT_EQ(Sha256Hex("abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrs"
                      "mnopqrstnopqrstu"),
            "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1");
  EXPECT_EQ(Sha256Hex(std::string(1000000, 'a')), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

// Fed in pieces of every size across the block edges, and read in between: the
// digest is that of the bytes so far, and reading it changes nothing.
TEST(Sha256, PiecesAndIntermediateDigests) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += static_cast<char>(i * 7);
  for (size_t piece = 1; piece <= 130; piece += 43) {
    Sha256 sha;
    for (size_t at = 0; at < text.size(); at += piece) {
      sha.Update(std::string_view(text).substr(at, piece));
      const size_t seen = std::min(text.size(), at + piece);
      ASSERT_EQ(DigestHex(sha.Final()), Sha256Hex(text.substr(0, seen))) << piece << " " << seen;
    }
    EXPECT_EQ(sha.Length(), text.size());
  }
}

}  // namespace
}  // namespace setuvane
