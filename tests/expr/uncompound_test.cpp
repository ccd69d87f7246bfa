// Uncompounding of function-valued heads: pointwise combinations of functions
// applied to arguments are distributed, every other head stays.
#include "expr/uncompound.h"

#include <gtest/gtest.h>

#include "expr/logic.h"
#include "expr/typing.h"
#include "expr_fixture.h"
#include "intrinsics/intr_numbers.h"
#include "notation/output.h"
#include "notation/parser.h"
#include "shell/cp1251.h"

namespace lemmix {
namespace {

class UncompoundTest : public testing::ExprTest {
 protected:
  UncompoundTest() {
    const std::pair<char, const char*> objects[] = {
        {'f', "rFunc1T"},  {'g', "rFunc1T"}, {'h', "rFunc1T"}, {'p', "rFunc2T"}, {'q', "rFunc2T"},
        {'x', "rT"},       {'y', "rT"},      {'a', "NSeqT"},   {'b', "NSeqT"},   {'n', "nT"},
        {'F', "FuncSeqT"}, {'w', "lT"},      {'u', "NSeqT"},   {'v', "rFunc2T"}};
    for (const auto& [letter, type] : objects) given.push_back(Var(letter, -1, type));
  }

  // Stored text over the given objects, typed.
  TExprPtr Read(const std::string& text) {
    TExprPtr e = TextToTree(text);
    if (!e || !VarsInput(*e, given, {}, false) || ExprType(*e, true) == nullptr) {
      ADD_FAILURE() << text;
      return TExpr::Empty();
    }
    return e;
  }

  // The head applied to the arguments, each read from text.
  TExprPtr Applied(const std::string& head, const std::vector<std::string>& args) {
    TExprList children;
    children.push_back(Read(head));
    for (const std::string& a : args) children.push_back(Read(a));
    TExprPtr e = TExpr::Compound(std::move(children));
    EXPECT_NE(ExprType(*e, true), nullptr) << head;
    return e;
  }

  // The formula with the first reference to the object named `placeholder`
  // (a function standing at a head) replaced by the head read from text.
  TExprPtr WithHead(const std::string& formula, char placeholder, const std::string& head) {
    TExprPtr e = Read(formula);
    TExpr* node = Find(*e, placeholder);
    EXPECT_NE(node, nullptr) << formula;
    if (node != nullptr) ReplaceBy(*node, Read(head));
    EXPECT_TRUE(Retype(*e, true)) << formula;
    return e;
  }

  static TExpr* Find(TExpr& e, char letter) {
    if (e.Class == TClass::DataVar && e.Var()->Name.Letter == letter) return &e;
    if (e.Class == TClass::Compound)
      for (TExprPtr& child : e.Children())
        if (TExpr* found = Find(*child, letter)) return found;
    return nullptr;
  }

  static std::string Text(const TExpr& e) { return TreeToText(e, false, false).value_or(ToString(e)); }

  void ExpectSame(const TExpr& got, const TExpr& expected) {
    TBindingLists lists;
    EXPECT_EQ(Comp(got, expected, &lists), 0) << Text(got) << "\n  expected " << Text(expected);
    EXPECT_EQ(got.Type, expected.Type) << Text(got);
  }

  TVarList given;
};

TEST_F(UncompoundTest, PointwiseCombinationsAreDistributed) {
  const struct {
    std::string head;
    std::vector<std::string> args;
    std::string expected;
  } cases[] = {
      {"f + g", {"x"}, "f ( x ) + g ( x )"},
      {"p + q", {"x", "y"}, "p ( x , y ) + q ( x , y )"},
      {"- f", {"x"}, "- f ( x )"},
      {"f - g", {"x"}, "f ( x ) - g ( x )"},
      {"f \\cdot g", {"x"}, "f ( x ) \\cdot g ( x )"},
      {"p / q", {"x", "y"}, "p ( x , y ) / q ( x , y )"},
      {"f ^ 2", {"x"}, "f ( x ) ^ 2"},
      {"2 ^ f", {"x"}, "2 ^ f ( x )"},
      {"f ^ g", {"x"}, "f ( x ) ^ g ( x )"},
      // A number among the operands is a constant, not applied.
      {"f + 1", {"x"}, "f ( x ) + 1"},
      {"( f + g ) \\cdot h", {"x"}, "( f ( x ) + g ( x ) ) \\cdot h ( x )"},
      {"- ( f / g )", {"x + y"}, "- ( f ( x + y ) / g ( x + y ) )"},
      {"\\sin + \\cos", {"x"}, "\\sin ( x ) + \\cos ( x )"},
      // Sequences of naturals: the sum of the terms is natural again.
      {"a + b", {"n"}, "a _ n + b _ n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.head);
    const TExprPtr e = Applied(c.head, c.args);
    const TExprPtr got = HeadUncompound(*e);
    ASSERT_TRUE(got);
    ExpectSame(*got, *Read(c.expected));
  }
}

TEST_F(UncompoundTest, DistributesInsideFormulas) {
  // The application stands deep inside; the nodes above it take their types again.
  const TExprPtr got = HeadUncompound(*WithHead("u ( n ) > 0 \\and w", 'u', "a + b"));
  ASSERT_TRUE(got);
  ExpectSame(*got, *Read("a _ n + b _ n > 0 \\and w"));
  EXPECT_EQ(got->Children()[1]->Children()[1]->Type, T("nT"));
}

TEST_F(UncompoundTest, OtherHeadsStayHeads) {
  const struct {
    std::string head;
    std::vector<std::string> args;
  } cases[] = {
      {"f \\circ g", {"x"}},  // a composition is no pointwise operation
      {"F _ n", {"x"}},       // a function of a sequence of functions
      {"f", {"x + y"}},       // a plain function
      {"\\sin", {"x"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.head);
    const TExprPtr e = Applied(c.head, c.args);
    const TExprPtr got = HeadUncompound(*e);
    ASSERT_TRUE(got);
    ExpectSame(*got, *e);
  }
}

TEST_F(UncompoundTest, ALambdaHeadStaysAndItsArgumentsAreUncompounded) {
  const TVarPtr t = Var('t');
  TExprPtr lambda = C(I(kLambda), Op(kTimes, nullptr, Loc(t), Loc(t)));
  lambda->Bound = TVarList{t};
  ASSERT_NE(ExprType(*lambda, true), nullptr);
  TExprPtr e = C(std::move(lambda), Applied("f + g", {"x"}));
  ASSERT_NE(ExprType(*e, true), nullptr);
  const TExprPtr got = HeadUncompound(*e);
  ASSERT_TRUE(got);
  EXPECT_EQ(got->Head()->HeadIntrinsic(), kLambda);
  ExpectSame(*got->Children()[1], *Read("f ( x ) + g ( x )"));
}

TEST_F(UncompoundTest, BoundVariablesAreKept) {
  const TExprPtr input = WithHead("\\forall t \\in \\R \\Vld v ( t , x ) > 0", 'v', "p \\cdot q");
  const TExprPtr got = HeadUncompound(*input);
  ASSERT_TRUE(got);
  ExpectSame(*got, *Read("\\forall t \\in \\R \\Vld p ( t , x ) \\cdot q ( t , x ) > 0"));
  // The copy binds its own variable, and every use of t refers to it.
  ASSERT_TRUE(got->Bound && got->Bound->size() == 1);
  EXPECT_NE(got->Bound->front().get(), input->Bound->front().get());
  const std::vector<const TExpr*> uses = CollectClass(*got, TClass::LocVar);
  ASSERT_EQ(uses.size(), 2u);
  for (const TExpr* use : uses) EXPECT_EQ(use->Var(), got->Bound->front().get());

  // An application that binds variables itself keeps them.
  const TVarPtr s = Var('s');
  TExprPtr bound = C(Read("f + g"), Loc(s));
  bound->Bound = TVarList{s};
  ASSERT_NE(ExprType(*bound, true), nullptr);
  const TExprPtr kept = HeadUncompound(*bound);
  ASSERT_TRUE(kept && kept->Bound && kept->Bound->size() == 1);
  EXPECT_EQ(kept->HeadIntrinsic(), kPlus);
  EXPECT_EQ(kept->Bound->front()->Name, s->Name);
  for (const TExpr* use : CollectClass(*kept, TClass::LocVar)) EXPECT_EQ(use->Var(), kept->Bound->front().get());
}

TEST_F(UncompoundTest, FailuresGiveNoResult) {
  // f(w) with w logical cannot be typed.
  EXPECT_FALSE(HeadUncompound(*C(Read("f + g"), Read("w"))));
  // An intrinsic function without arguments at a head is an internal error.
  messages.Clear();
  const TExprPtr argumentless = C(C(I(kPlus)), Read("x"));
  EXPECT_FALSE(HeadUncompound(*argumentless));
  ASSERT_FALSE(messages.Entries().empty());
  EXPECT_EQ(messages.Entries().back().message,
            (TMessage{"Ошибка разработчика : 2 in HeadUncompound(Cond)"_cp, "Error 2 in HeadUncompound(Cond)"}));
}

TEST_F(UncompoundTest, ConditionsAreUncompoundedFirst) {
  const TExprPtr condition = C(I(kEq), Applied("f / g", {"x"}), N(1));
  ASSERT_NE(ExprType(*condition, true), nullptr);
  const TExprPtr standard = StandardiseForCondition(*condition);
  const TExprPtr expected = StandardiseForCondition(*Read("f ( x ) / g ( x ) = 1"));
  ASSERT_TRUE(standard && expected);
  ExpectSame(*standard, *expected);
  EXPECT_FALSE(StandardiseForCondition(*C(I(kEq), C(C(I(kPlus)), Read("x")), N(1))));
}

}  // namespace
}  // namespace lemmix
