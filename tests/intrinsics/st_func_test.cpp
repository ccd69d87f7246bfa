// Lookups of the intrinsic function catalogue.
#include <gtest/gtest.h>

#include "intrinsics/st_func.h"
#include "shell/cp1251.h"
#include "shell/recording_messages.h"
#include "types/types_proccess.h"

namespace lemmix {
namespace {

class StFuncTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(types.LoadLines({"String = rT", "Base = simpleBT", "String = lT", "Base = simpleBT", "String = F",
                                 "Base = funBT", "AddArg = rT", "Value = rT", "String = G", "Base = funBT",
                                 "AddArg = rT", "Value = lT"},
                                "TYPES.DAT"));
    ASSERT_TRUE(stFunc.LoadIntrinsicLines(
        {"Num = 9", "Name = =", "AddAntLetters2(\xB9,Symbolon)", "Num = 10", "Name = \\NOT", "Num = 16",
         "Name = \\lambda", "AddConcreteType(F)", "AddConcreteType(G)", "Num = 42", "Name = \\times", "Num = 49",
         "Name = \\R", "Num = 52", "Name = \\N", "Num = 142", "Name = =", "AddConcreteType(G)"},
        "STFUNC.DAT"));
  }

  RecordingMessages messages;
  TTypesProccess types{messages};
  TStFunc stFunc{types, messages};
};

TEST_F(StFuncTest, FindByWordTakesTheFirstEntryAndReportsWhenAsked) {
  EXPECT_EQ(stFunc.FindByWord("=", true)->Number, 9);  // 142 has the same name
  EXPECT_EQ(stFunc.FindByWord("\\r", false), nullptr);  // the case counts
  EXPECT_TRUE(messages.Entries().empty());
  EXPECT_EQ(stFunc.FindByWord("\\lim", true), nullptr);
  ASSERT_EQ(messages.Entries().size(), 1u);
  EXPECT_EQ(messages.Entries()[0].message,
            (TMessage{"Неверное математематическое слово: \\lim"_cp, "Invalid mathematical word: \\lim"}));
}

TEST_F(StFuncTest, AntonymsByWord) {
  EXPECT_EQ(stFunc.FindAntonymByWord("\\NOT="), stFunc.Intr(9)->Antonym);
  EXPECT_EQ(stFunc.FindAntonymByWord("\\NOT\\R"), nullptr);  // a function without antonym
  EXPECT_EQ(stFunc.FindAntonymByWord("\\NOT"), nullptr);
  EXPECT_EQ(stFunc.FindAntonymByWord("\\NO"), nullptr);
}

TEST_F(StFuncTest, WordsOfFunctionsAndAntonyms) {
  EXPECT_EQ(stFunc.WordOf(*stFunc.Intr(42), false), "\\times");
  EXPECT_EQ(stFunc.WordOf(*stFunc.Intr(42), true), "\\42");
  EXPECT_EQ(stFunc.AntonymWordOf(*stFunc.Intr(9)->Antonym, false), "\\NOT=");
  EXPECT_EQ(stFunc.AntonymWordOf(*stFunc.Intr(9)->Antonym, true), "\\10\\9");
}

TEST_F(StFuncTest, SetIntrinsicOfType) {
  const struct {
    const char* id;
    int number;
  } cases[] = {{"nT", 52}, {"n0T", 53}, {"zT", 51}, {"qT", 50}, {"rT", 49}, {"AnyT", 47}, {"lT", 48}};
  for (const auto& c : cases) EXPECT_EQ(stFunc.SetIntrinsicOfType(c.id)->Number, c.number) << c.id;
  EXPECT_EQ(stFunc.SetIntrinsicOfType("cT"), nullptr);
  EXPECT_EQ(stFunc.SetIntrinsicOfType("rMBESetT"), nullptr);
}

TEST_F(StFuncTest, ConcreteTypeEntryFallsBackToTheFirstOnlyForTheLambda) {
  TType* f = types.FindType("F", false);
  TType* g = types.FindType("G", false);
  TType* r = types.FindType("rT", false);
  EXPECT_EQ(stFunc.ConcreteTypeEntry(*stFunc.Intr(16), g), &stFunc.Intr(16)->ConcreteTypes[1]);
  EXPECT_EQ(stFunc.ConcreteTypeEntry(*stFunc.Intr(16), r), &stFunc.Intr(16)->ConcreteTypes[0]);
  EXPECT_EQ(stFunc.ConcreteTypeEntry(*stFunc.Intr(142), g), &stFunc.Intr(142)->ConcreteTypes[0]);
  EXPECT_EQ(stFunc.ConcreteTypeEntry(*stFunc.Intr(142), f), nullptr);
  EXPECT_EQ(stFunc.ConcreteTypeEntry(*stFunc.Intr(42), f), nullptr);
}

TEST_F(StFuncTest, CompareIntrinsicsByNumber) {
  EXPECT_EQ(TStFunc::CompareIntrinsics(*stFunc.Intr(9), *stFunc.Intr(42)), -1);
  EXPECT_EQ(TStFunc::CompareIntrinsics(*stFunc.Intr(42), *stFunc.Intr(9)), 1);
  EXPECT_EQ(TStFunc::CompareIntrinsics(*stFunc.Intr(9), *stFunc.Intr(9)), 0);
}

TEST_F(StFuncTest, TheSlotsAreNumberedAndTheGreekWordsOrdered) {
  ASSERT_EQ(stFunc.IntrList.size(), 224u);
  for (int n = 0; n < 224; ++n) EXPECT_EQ(stFunc.IntrList[n]->Number, n);
  ASSERT_EQ(stFunc.GreekLetters.size(), 52u);
  EXPECT_EQ(stFunc.GreekLetters[0], "\\Alpha");
  EXPECT_EQ(stFunc.GreekLetters[9], "\\Varphi");
  EXPECT_EQ(stFunc.GreekLetters[14], "\\Ou");
  EXPECT_EQ(stFunc.GreekLetters[25], "\\Zeta");
  EXPECT_EQ(stFunc.GreekLetters[26], "\\alpha");
  EXPECT_EQ(stFunc.GreekLetters[40], "\\ou");
  EXPECT_EQ(stFunc.GreekLetters[51], "\\zeta");
}

}  // namespace
}  // namespace lemmix
