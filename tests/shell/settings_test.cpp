// The settings of automatic transformations: defaults, protocol lines, chapter switches.
#include "shell/settings.h"

#include <gtest/gtest.h>

namespace lemmix {
namespace {

TEST(Settings, DefaultsAndTheirProtocolLines) {
  const TAutoSettings settings;
  EXPECT_EQ(settings.ProtocolLines(),
            (std::vector<std::string>{"AutoStandard = true", "SymbolTransEnable = true", "TestDataCond = true",
                                      "TestProveCond = true", "TestProveCondWhenDataNew = true",
                                      "OneStepFinish0 = true", "OneStepFinish1 = true", "OneStepFinish2 = true",
                                      "OneStepFinish3 = true", "ProveEachCond = 2", "ImplicationSimpl = 1",
                                      "DisjunctionSimpl = 1"}));
  EXPECT_EQ(settings.DefineProveObject, 0);
}

TEST(Settings, ProtocolLinesRoundTripAndBadValuesChangeNothing) {
  TAutoSettings changed;
  changed.SymbolTransEnable = false;
  changed.ImplicationSimpl = 0;
  changed.OneStepFinish2 = false;
  changed.DisjunctionSimpl = 2;
  TAutoSettings read;
  for (const std::string& line : changed.ProtocolLines()) EXPECT_TRUE(read.ReadProtocolLine(line)) << line;
  EXPECT_EQ(read, changed);

  TAutoSettings untouched;
  for (const char* bad : {"ImplicationSimpl = 3", "ImplicationSimpl = x", "AutoStandard = yes", "AutoStandard=true",
                          "Unknown = 1", ""})
    EXPECT_FALSE(untouched.ReadProtocolLine(bad)) << bad;
  EXPECT_EQ(untouched, TAutoSettings());
  EXPECT_TRUE(untouched.ReadProtocolLine("  ImplicationSimpl = 0 "));
  EXPECT_EQ(untouched.ImplicationSimpl, 0);
}

TEST(Settings, ChapterSwitches) {
  const struct {
    const char* dir;
    bool switch1, symbolic;
  } cases[] = {
      {"C:\\Lemmix\\book\\2\\5", true, true},   {"C:\\Lemmix\\book\\6\\3", false, true},
      {"C:\\Lemmix\\book\\6\\24", false, false}, {"C:\\Lemmix\\book\\6\\24\\7", false, false},
      {"C:\\Lemmix\\book\\6", false, true},     {"C:\\Lemmix\\book\\60\\1", true, true},
      {"C:\\Lemmix\\book\\6\\240", false, true},
  };
  for (const auto& c : cases) {
    TAutoSettings settings;
    settings.SymbolTransEnable = !c.symbolic;
    settings.SetChapterSwitches(c.dir);
    EXPECT_EQ(settings.ChapterSwitch[0], c.switch1) << c.dir;
    EXPECT_EQ(settings.SymbolTransEnable, c.symbolic) << c.dir;
    for (int i = 1; i < 4; ++i) EXPECT_EQ(settings.ChapterSwitch[i], c.symbolic) << c.dir;
  }
}

}  // namespace
}  // namespace lemmix
