#include "crypto/digest.h"

#include <gtest/gtest.h>

namespace {

TEST(Digest, Sha256GivesTheStandardValuesInBytesAndHex) {
  EXPECT_EQ(drovanexis::sha256_hex(""),
            "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(drovanexis::sha256_hex("abc"),
            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  const std::string bytes = drovanexis::sha256_bytes("abc");
  ASSERT_EQ(bytes.size(), 32u);
  EXPECT_EQ(static_cast<unsigned char>(bytes.front()), 0xbau);
  EXPECT_EQ(static_cast<unsigned char>(bytes.back()), 0xadu);
}

}  // namespace
