// The notation round trip: every tree the parser produces is written as
// stored text and as letters that read back to an equal tree.
#include <gtest/gtest.h>

#include <random>

#include "../expr/expr_fixture.h"
#include "notation/output.h"
#include "notation/parser.h"
#include "shell/cp1251.h"

namespace lemmix {
namespace {

class RoundTrip : public testing::ExprTest {
 protected:
  std::string Pick(std::initializer_list<const char*> words) {
    std::vector<const char*> list(words);
    return list[std::uniform_int_distribution<std::size_t>(0, list.size() - 1)(random)];
  }
  bool Chance(int percent) { return std::uniform_int_distribution<int>(0, 99)(random) < percent; }

  std::string Term(int depth) {
    if (depth <= 0 || Chance(25)) return Chance(50) ? Pick({"x", "y", "z", "a", "b", "t"}) : std::to_string(random() % 10);
    const std::string a = "( " + Term(depth - 1) + " )";
    const std::string b = "( " + Term(depth - 1) + " )";
    switch (random() % 12) {
      case 0: return a + " + " + b;
      case 1: return a + " - " + b;
      case 2: return a + " \\cdot " + b;
      case 3: return a + " / " + b;
      case 4: return a + " ^ " + std::to_string(1 + random() % 3);
      case 5: return "- " + a;
      case 6: return "| " + Term(depth - 1) + " |";
      case 7: return "[ " + Term(depth - 1) + " ]";
      case 8: return "\\sin ( " + Term(depth - 1) + " )";
      case 9: return "\\lim ( n \\Arrow \\infty , " + Term(depth - 1) + " )";
      case 10: return a + " + " + b + " + " + "( " + Term(depth - 1) + " )";
      default: return "\\sqrt ( " + Term(depth - 1) + " )";
    }
  }

  std::string Formula(int depth) {
    if (depth <= 0 || Chance(20)) {
      const std::string a = "( " + Term(2) + " )";
      const std::string b = "( " + Term(2) + " )";
      switch (random() % 18) {
        case 7: return "( \\sum n _ ( i = 1 ) ^ ( " + Term(1) + " \\cdot i ) ) > " + b;
        case 8: return "\\sin ( x ) = " + a + " \\as x \\Arrow " + b;
        case 9: return "\\sin \\HasLimit " + a + " \\AtPoint " + b;
        case 10: return "\\forall f \\FuncSpec \\R \\Arrow \\R \\Vld f ' ( " + Term(1) + " ) = " + b;
        case 11: return "x \\in [ 1 \\upto " + Term(1) + " ] \\or x \\NOT\\in { 1 , " + Term(1) + " , 3 }";
        case 12: return "x \\in { y ^ 2 : y \\in \\N \\mid y < " + Term(1) + " }";
        case 13: return "\\forall g \\ofType rFunc2T \\Vld g ( " + Term(1) + " , 0 ) = " + b;
        case 14: return "\\lim ( x \\Arrow " + Pick({"0", "1 + 0", "1 - 0"}) + " , " + Term(1) + " ) = " + b;
        case 15: return "\\existsOne k \\in \\N : k < " + a;
        case 17: return "\\forall A \\subset " + Pick({"\\N", "\\Z", "\\Q", "\\R", "\\U"}) + " \\Vld { " + Term(1) + " } \\subseteq A";
        case 16: return "\\forall s \\in \\R \\cup { \\minusInfty , \\plusInfty } : s \\in \\N \\Vld s \\ge " + b;
        case 0: return a + " = " + b;
        case 1: return a + " < " + b;
        case 2: return a + " \\ge " + b;
        case 3: return a + " \\NOT= " + b;
        case 4: return "x \\in [ " + Term(1) + " ; " + Term(1) + " )";
        case 5: return "x \\in { y \\in \\R : y > " + Term(1) + " }";
        default: return a + " \\le " + b;
      }
    }
    const std::string f = "( " + Formula(depth - 1) + " )";
    const std::string g = "( " + Formula(depth - 1) + " )";
    switch (random() % 9) {
      case 0: return f + " \\and " + g;
      case 1: return f + " \\or " + g;
      case 2: return "\\not " + f;
      case 3: return f + " \\implies " + g;
      case 4: return f + " \\iff " + g;
      case 5: return "\\forall x \\in \\N : x > " + Term(1) + " \\Vld " + f;
      case 6: return "\\exists y \\in \\R : " + f;
      case 7: return "\\forall " + Pick({"u", "v"}) + " , n \\in \\N \\Vld " + f;
      default: return "\\exists x > 0 : " + f;
    }
  }

  // Parsed and declared, or null.
  TExprPtr Read(const std::string& text) {
    TExprPtr tree = TextToTree(text);
    if (!tree || !DeclareVariables(*tree, given, false)) return nullptr;
    return tree;
  }

  std::mt19937 random{20261208};
  TVarList given;
};

TEST_F(RoundTrip, PrintedTreesReadBackEqual) {
  int checked = 0;
  for (int round = 0; round < 400; ++round) {
    const std::string text = Formula(3);
    TExprPtr first = Read(text);
    if (!first) continue;  // a random formula that does not type (a division by a formula, say)
    const std::optional<std::string> printed = TreeToText(*first, false, false);
    ASSERT_TRUE(printed) << text;
    TExprPtr second = Read(*printed);
    ASSERT_TRUE(second) << text << "\n  printed " << *printed;
    TBindingLists lists;
    EXPECT_EQ(Comp(*first, *second, &lists), 0) << text << "\n  printed " << *printed << "\n  "
                                                << ToString(*first) << "\n  " << ToString(*second);
    // The same through the letters of the fonts.
    const std::optional<TLetters> letters = TreeToLetters(*first);
    ASSERT_TRUE(letters) << text;
    const std::optional<TItemList> items = MyLetters_to_ItemL(*letters, true);
    ASSERT_TRUE(items) << text << "\n  letters " << LettersToUtf8(*letters);
    TExprPtr third = ParseItems(*items);
    ASSERT_TRUE(third && DeclareVariables(*third, given, false)) << LettersToUtf8(*letters);
    EXPECT_EQ(Comp(*first, *third, &lists), 0) << text << "\n  letters " << LettersToUtf8(*letters);
    ++checked;
  }
  EXPECT_GT(checked, 250);
}

}  // namespace
}  // namespace lemmix
