#include "tools/cli/json_spool.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::string array_of(cli::JsonSpool& spool) {
  std::ostringstream out;
  spool.write_array(out);
  return out.str();
}

TEST(JsonSpool, GivesEveryItemInOrderAsOneArray) {
  cli::JsonSpool none;
  EXPECT_EQ(array_of(none), "[]");

  cli::JsonSpool some;
  for (const char* item : {"{\"file\":\"a.xml\"}", "1", "\"\\u00e9\""}) some.add(item);
  EXPECT_EQ(array_of(some), "[{\"file\":\"a.xml\"},1,\"\\u00e9\"]");

  // More than one read buffer's worth comes back whole and in order.
  cli::JsonSpool many;
  std::string expected = "[";
  for (int i = 0; i < 20000; ++i) {
    const std::string item = "{\"n\":" + std::to_string(i) + "}";
    many.add(item);
    expected += (i > 0 ? "," : "") + item;
  }
  EXPECT_EQ(array_of(many), expected + "]");
}

}  // namespace
