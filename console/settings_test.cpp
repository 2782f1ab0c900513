#include "console/settings.h"

#include <gtest/gtest.h>

namespace console {
namespace {

TEST(SettingsTest, InitialValues) {
  Settings s;
  EXPECT_TRUE(s.scoreboard());
  EXPECT_TRUE(s.intensity());
  EXPECT_FALSE(s.wrap());
  EXPECT_EQ(s.message(), 0);
  EXPECT_FALSE(s.mcenter());
  EXPECT_TRUE(s.cancel());
  EXPECT_EQ(s.eventmask(), 128);
  EXPECT_FALSE(s.insert());
}

TEST(SettingsTest, SwitchTextRuleAndPreviousValue) {
  struct Case {
    const char* text;
    bool expected;
  };
  // Starting from on: "OFF" in any case switches off; other texts change nothing.
  for (Case c : {Case{"OFF", false}, Case{"off", false}, Case{"oFfice", false}, Case{"NO", true},
                 Case{"OF", true}, Case{"", true}, Case{"O", true}}) {
    Settings s;
    std::optional<SettingValue> previous = s.set("SCOREBOARD", std::string(c.text));
    ASSERT_TRUE(previous.has_value());
    EXPECT_EQ(std::get<bool>(*previous), true);
    EXPECT_EQ(s.scoreboard(), c.expected) << c.text;
  }
  // Starting from off: "ON" (first two characters) switches on.
  for (Case c : {Case{"ON", true}, Case{"on", true}, Case{"Only", true}, Case{"YES", false}}) {
    Settings s;
    s.set("WRAP", std::string(c.text));
    EXPECT_EQ(s.wrap(), c.expected) << c.text;
  }
}

TEST(SettingsTest, ValuesOfTheWrongKindChangeNothing) {
  Settings s;
  EXPECT_EQ(std::get<int>(*s.set("MESSAGE", 23)), 0);
  EXPECT_EQ(std::get<int>(*s.set("message", std::string("5"))), 23);
  EXPECT_EQ(s.message(), 23);
  EXPECT_EQ(std::get<bool>(*s.set("Intensity", 0)), true);
  EXPECT_TRUE(s.intensity());
  EXPECT_EQ(std::get<bool>(*s.set("INTENSITY", false)), true);
  EXPECT_FALSE(s.intensity());
  EXPECT_FALSE(s.set("NOSUCH", true).has_value());
  EXPECT_FALSE(s.get("COLOR").has_value());
}

TEST(SettingsTest, EveryNamedSettingButColorCanBeRead) {
  Settings s;
  for (std::string_view name : Settings::names()) {
    EXPECT_EQ(s.get(name).has_value(), name != "COLOR") << name;
  }
}

}  // namespace
}  // namespace console
