// The automatic tests on small proof fields: what closes a task, what a step
// does to given and proving conditions, the settings, subproofs, work copies
// that never change what they share, and the information lines.
#include "prover/tests.h"

#include <gtest/gtest.h>

#include "expr/info_sink.h"
#include "expr/logic.h"
#include "intrinsics/intr_numbers.h"
#include "prover/task.h"
#include "prover_fixture.h"
#include "shell/cp1251.h"

namespace lemmix {
namespace {

class TestsTest : public testing::ProverTest {
 protected:
  TVar& Given(char letter, const char* type = "rT") { return kernel.AddObject(Var(letter, -1, type), false); }
  TVar& Required(char letter, const char* type = "rT") { return kernel.AddObject(Var(letter, -1, type), true); }
  // A formula of the kernel's objects.
  TExprPtr Read(const char* text) {
    TExprPtr e = ReadProverFormula(kernel, text);
    EXPECT_TRUE(e) << text;
    return e;
  }
  void AddGiven(const char* text) { ASSERT_TRUE(kernel.AddGivenCond(*Read(text))) << text; }
  void AddGoal(const char* text) { ASSERT_TRUE(kernel.AddProvingCond(*Read(text))) << text; }
  std::vector<std::string> Texts(const TCondList& conds) {
    std::vector<std::string> texts;
    for (const TCondPtr& c : conds) texts.push_back(ToString(*c->Expr));
    return texts;
  }

  TKernel kernel;
};

TEST_F(TestsTest, AGivenFalseClosesEvenByContradiction) {
  for (const bool byContradiction : {false, true}) {
    TKernel k;
    k.ByContradiction = byContradiction;
    TVar& x = k.AddObject(Var('x'), false);
    (void)x;
    ASSERT_TRUE(k.AddProvingCond(*ReadProverFormula(k, "x > 5")));
    ASSERT_TRUE(k.AddGivenCond(*ReadProverFormula(k, "1 > 2")));  // standardised to false
    EXPECT_FALSE(TestConditions(k));
    EXPECT_TRUE(k.Proved);
  }
}

TEST_F(TestsTest, AGivenEqualToTheGoalClosesIt) {
  Given('x');
  AddGoal("x > 5");
  AddGiven("x > 5");
  EXPECT_FALSE(TestConditions(kernel));
  EXPECT_TRUE(kernel.Proved);
}

TEST_F(TestsTest, AnEmptySectionFourClosesOnlyOutsideAContradiction) {
  TKernel plain;
  EXPECT_FALSE(TestConditions(plain));
  EXPECT_TRUE(plain.Proved);
  TKernel contradiction;
  contradiction.ByContradiction = true;
  EXPECT_TRUE(TestConditions(contradiction));
  EXPECT_FALSE(contradiction.Proved);
}

TEST_F(TestsTest, AGivenAndItsNegationAreAContradiction) {
  Given('x');
  Given('y');
  AddGoal("y > 5");
  AddGiven("x \\in \\Q");
  AddGiven("\\not ( x \\in \\Q )");
  EXPECT_FALSE(TestConditions(kernel));
  EXPECT_TRUE(kernel.Proved);
}

TEST_F(TestsTest, AForallGoalOpensOnlyAlone) {
  Given('a');
  AddGoal("\\forall x \\in \\R \\Vld x + a > a \\implies x > 0");
  AddGoal("a > 7");
  context.Settings.OneStepFinish0 = false;
  context.Settings.ProveEachCond = 0;
  TestConditions(kernel);
  EXPECT_EQ(kernel.GivenObjects.size(), 1u);
  ASSERT_EQ(kernel.ProvingConds.size(), 2u);
  EXPECT_EQ(kernel.ProvingConds[0]->Expr->HeadIntrinsic(), kForall);
  // Alone, it opens: its variable becomes a given object.
  kernel.ProvingConds.pop_back();
  TestConditions(kernel);
  EXPECT_EQ(kernel.GivenObjects.size(), 2u);
}

TEST_F(TestsTest, AGivenImplicationWhosePremiseIsTheGoalIsDropped) {
  Given('x');
  AddGiven("x > 1 \\implies x > 3");
  AddGoal("x > 1");
  context.Settings.OneStepFinish0 = false;
  TestConditions(kernel);
  EXPECT_TRUE(kernel.GivenConds.empty());
  EXPECT_EQ(kernel.ProvingConds.size(), 1u);
}

TEST_F(TestsTest, NeverTryingToProveKeepsAProvableGoal) {
  Given('x');
  // x > 0 follows from the quantified given only through a work copy.
  AddGiven("\\forall y \\in \\R \\Vld y > 0");
  AddGoal("x > 0");
  AddGoal("x > 9");
  context.Settings.ProveEachCond = 0;
  context.Settings.OneStepFinish0 = false;
  TestConditions(kernel);
  EXPECT_EQ(kernel.ProvingConds.size(), 2u);
  // Tried, the disjunction goes (its first disjunct is given).
  context.Settings.ProveEachCond = 2;
  TestConditions(kernel);
  EXPECT_EQ(kernel.ProvingConds.size(), 1u);
}

TEST_F(TestsTest, GivenConditionsAreTakenApart) {
  Given('x');
  AddGiven("( \\exists y \\in \\R : y > x ) \\and x > 1 \\and x < 4");
  AddGoal("x > 9");
  context.Settings.OneStepFinish0 = false;
  TestConditions(kernel);
  // The existence gave an object, the conjunction its parts in order.
  ASSERT_EQ(kernel.GivenObjects.size(), 2u);
  EXPECT_EQ(kernel.GivenObjects[1]->Name, (TVarName{'y', -1}));
  ASSERT_EQ(kernel.GivenConds.size(), 3u);
  EXPECT_EQ(kernel.GivenConds[0]->Expr->Children().size(), 3u);
  for (const TCondPtr& c : kernel.GivenConds) EXPECT_NE(c->Expr->HeadIntrinsic(), kAnd);
}

TEST_F(TestsTest, AMembershipNarrowsAGivenObjectInItsOwnKernelOnly) {
  TVar& x = Given('x');
  const TType* real = x.Type;
  AddGoal("x \\ge 1");
  std::unique_ptr<TKernel> copy = kernel.Copy({.Goal = true});
  ASSERT_TRUE(copy->AddGivenCond(*ReadProverFormula(*copy, "x \\in \\N")));
  context.Settings.OneStepFinish0 = false;
  TestConditions(*copy);
  // The copy has a natural x of its own; the source's x is still real.
  EXPECT_EQ(copy->GivenObjects[0]->Type, T("nT"));
  EXPECT_NE(copy->GivenObjects[0].get(), &x);
  EXPECT_EQ(kernel.GivenObjects[0]->Type, real);
  EXPECT_EQ(x.Type, real);
}

TEST_F(TestsTest, AnInclusionNarrowsOnlyTheElementType) {
  TVar& big = Given('A', "nMBESetT");
  TVar& small = Given('X', "rMBESetT");
  (void)big;
  (void)small;
  AddGiven("X \\subseteq A");
  AddGoal("\\not ( X = \\emptyset )");
  context.Settings.OneStepFinish0 = false;
  TestConditions(kernel);
  const TType* narrowed = kernel.GivenObjects[1]->Type;
  ASSERT_TRUE(narrowed && narrowed->Set());
  EXPECT_EQ(narrowed->Set()->Element, T("nT"));
  EXPECT_TRUE(narrowed->Set()->MayBeEmpty);  // A's flags never pass to X
  EXPECT_FALSE(kernel.Proved);
}

TEST_F(TestsTest, TheProvabilityTestNeverTakesARequiredObject) {
  Given('x');
  TVar& y = Required('y');
  (void)y;
  AddGiven("x > 1");
  EXPECT_TRUE(ProvabilityTest(kernel, *Read("x > 1"), 0));
  EXPECT_FALSE(ProvabilityTest(kernel, *Read("y > 1 \\or x > 1"), 0));
  EXPECT_TRUE(ProvabilityTest(kernel, *Read("x = x"), 0));
}

TEST_F(TestsTest, AGivenIdentityWhoseRightSideHoldsItsLeftIsNotApplied) {
  TVar& f = Given('f', "rFunc1T");
  (void)f;
  Given('x');
  // f(x) = f(f(x)) given: rewriting f(x) would never end.
  AddGiven("f ( x ) = f ( f ( x ) )");
  AddGoal("f ( x ) > 0");
  EXPECT_TRUE(TestConditions(kernel));
  EXPECT_FALSE(kernel.Proved);
}

TEST_F(TestsTest, ASubproofKeepsOrTakesTheGoal) {
  Given('x');
  AddGiven("x > 1");
  AddGoal("x > 0 \\or x < 5");
  TExprList cases;
  cases.push_back(Read("x < 3"));
  auto [withGoal, goesOn] = OpenSubproof(kernel, true, std::move(cases));
  EXPECT_EQ(withGoal->Level, 1);
  EXPECT_EQ(withGoal->GivenConds.size() + (withGoal->Proved ? 1u : 0u) >= 2u, true);
  TExprList goals;
  goals.push_back(Read("x > 1"));
  auto [auxiliary, auxiliaryGoesOn] = OpenSubproof(kernel, false, std::move(goals));
  EXPECT_TRUE(auxiliary->Proved);  // the goal is a given condition
  EXPECT_FALSE(auxiliaryGoesOn);
  (void)goesOn;
}

class RecordingInfo : public IInfoSink {
 public:
  void Add(const std::string& text, const TExpr*) override { lines.push_back(text); }
  std::vector<std::string> lines;
};

TEST_F(TestsTest, StepsReportThemselvesWhenCommentingIsOn) {
  RecordingInfo info;
  context.Commenting = true;
  context.Info = &info;
  Given('x');
  AddGoal("\\exists y \\in \\R : y + x = 3");
  EXPECT_FALSE(TestConditions(kernel));
  EXPECT_TRUE(kernel.Proved);
  ASSERT_FALSE(info.lines.empty());
  EXPECT_NE(info.lines[0].find(" заменено на "_cp), std::string::npos) << info.lines[0];
  EXPECT_NE(info.lines[0].find("\"Искомые объекты\""_cp), std::string::npos) << info.lines[0];
  bool value = false;
  for (const std::string& line : info.lines) value = value || line.starts_with("Вместо переменной y"_cp);
  EXPECT_TRUE(value);
  context.Commenting = false;
  context.Info = nullptr;
}

}  // namespace
}  // namespace lemmix
