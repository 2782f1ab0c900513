#include "tools/cli/arguments.h"

#include <gtest/gtest.h>

namespace cli {
namespace {

struct Case {
  std::vector<std::string_view> words;
  std::string error;  // "" when the command is valid
};

TEST(ParseArguments, AcceptsAndRefusesCommandLines) {
  const Case cases[] = {
      {{}, "missing subcommand"},
      {{"frobnicate"}, "unknown subcommand \"frobnicate\""},
      {{"validate"}, "missing FILE"},
      {{"validate", "a.xml", "b.xml"}, ""},
      {{"validate", "--bogus", "a.xml"}, "unknown option --bogus for \"validate\""},
      {{"validate", "-x", "a.xml"}, "unknown option -x"},
      {{"cadena", "a.xml", "b.xml"}, "too many operands: expected at most 1 FILE"},
      {{"cadena", "--tfd=yes", "a.xml"}, "option --tfd takes no value"},
      {{"check", "a.xml", "--pac-cer"}, "option --pac-cer needs a value"},
      {{"stamp", "--cer", "c", "--key", "k", "dir"}, "missing option --password"},
      {{"stamp", "--cer", "c", "--key", "k", "--password", "p"}, "missing FILE or DIR"},
      {{"balance", "extra"}, "unexpected operand \"extra\""},
      {{"seal", "--cer", "c", "--key", "k", "--password", "p", "a", "b", "c"}, ""},
      {{"qr", "a.xml"}, "missing option --out"},
      {{"cer64", "--help"}, ""},  // --help needs nothing else
  };
  for (const auto& c : cases) {
    std::string joined;
    for (auto word : c.words) joined += std::string(word) + " ";
    EXPECT_EQ(parse_arguments(c.words).error, c.error) << joined;
  }
}

TEST(ParseArguments, ReadsValuesFlagsAndOperandsInAnyOrder) {
  const auto command =
      parse_arguments({"stamp", "in1.xml", "--cer=c.cer", "--key", "k.key", "--password", "",
                       "--jobs", "4", "--json", "--", "--odd-name.xml"});
  ASSERT_EQ(command.error, "");
  EXPECT_EQ(command.subcommand, "stamp");
  EXPECT_EQ(command.value("cer"), "c.cer");
  EXPECT_EQ(command.value("password"), "");  // an empty value is still a value
  EXPECT_EQ(command.value("jobs"), "4");
  EXPECT_TRUE(command.json());
  EXPECT_FALSE(command.quiet());
  EXPECT_EQ(command.operands, (std::vector<std::string>{"in1.xml", "--odd-name.xml"}));
}

TEST(ParseArguments, HelpForms) {
  EXPECT_TRUE(parse_arguments({"--help"}).help());
  const auto named = parse_arguments({"help", "stamp"});
  EXPECT_TRUE(named.help());
  EXPECT_EQ(named.subcommand, "stamp");
  EXPECT_TRUE(parse_arguments({"seal", "-h"}).help());
}

}  // namespace
}  // namespace cli
