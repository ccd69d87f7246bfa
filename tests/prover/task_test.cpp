// From a statement to its task: the formula read for the prover, the ordinary
// task with its needed conditions in order, and the correctness of
// definitions with their compatibility goals.
#include "prover/task.h"

#include <gtest/gtest.h>

#include "intrinsics/intr_numbers.h"
#include "prover/definition_task.h"
#include "prover_fixture.h"
#include "shell/cp1251.h"

namespace lemmix {
namespace {

class TaskTest : public testing::ProverTest {
 protected:
  TTask Ordinary(const char* text) {
    TKernel empty;
    const TExprPtr formulation = ReadProverFormula(empty, text);
    EXPECT_TRUE(formulation) << text;
    return formulation ? OrdinaryTask(*formulation) : TTask{};
  }
  std::string Last() { return messages.Entries().empty() ? "" : messages.Entries().back().message.Eng; }
};

TEST_F(TaskTest, AFormulaMustBeLogical) {
  TKernel empty;
  EXPECT_EQ(ReadProverFormula(empty, "2 + 3"), nullptr);
  EXPECT_EQ(Last(), "The type of the proving expression is not boolean.");
  EXPECT_NE(ReadProverFormula(empty, "2 < 3"), nullptr);
  // A name that is no object of the kernel is refused.
  EXPECT_EQ(ReadProverFormula(empty, "x > 0"), nullptr);
}

TEST_F(TaskTest, TheOutermostForallOpensAndNeededConditionsFollowTheGoal) {
  // Untested, the task shows what the builder put there.
  context.Settings.AutoStandard = false;
  context.Settings.ProveEachCond = 1;
  const TTask task = Ordinary("\\forall x \\in \\R \\Vld \\sqrt ( x ) + 1 / ( x + 1 ) > 0");
  ASSERT_TRUE(task.Kernel);
  const TKernel& k = *task.Kernel;
  ASSERT_EQ(k.GivenObjects.size(), 1u);
  EXPECT_EQ(k.GivenObjects[0]->Name, (TVarName{'x', -1}));
  // The goal, then the needed conditions in reverse order: x + 1 ≠ 0, then x ≥ 0.
  ASSERT_EQ(k.ProvingConds.size(), 3u);
  EXPECT_TRUE(ContainsPayload(*k.ProvingConds[0]->Expr, TClass::Intr, &F(32)));  // the root: the goal
  EXPECT_EQ(k.ProvingConds[1]->Expr->HeadIntrinsic(), kNot);
  EXPECT_EQ(k.ProvingConds[2]->Expr->HeadIntrinsic(), kGe);
  // Only the outermost quantifier opens.
  const TTask nested = Ordinary("\\forall x \\in \\R \\Vld \\forall y \\in \\R \\Vld x + y > 0");
  EXPECT_EQ(nested.Kernel->GivenObjects.size(), 1u);
  EXPECT_EQ(nested.Kernel->ProvingConds.at(0)->Expr->HeadIntrinsic(), kForall);
  EXPECT_TRUE(task.GoesOn);
}

TEST_F(TaskTest, AStatementWithoutForallIsItsOwnGoal) {
  context.Settings.AutoStandard = false;
  context.Settings.ProveEachCond = 1;
  const TTask task = Ordinary("\\exists x \\in \\R : x > 2");
  EXPECT_TRUE(task.Kernel->GivenObjects.empty());
  ASSERT_EQ(task.Kernel->ProvingConds.size(), 1u);
  EXPECT_EQ(task.Kernel->ProvingConds[0]->Expr->HeadIntrinsic(), kExists);
}

TEST_F(TaskTest, DefinedNotionFields) {
  EXPECT_EQ(NotionOfField("\\78(rFunc1T)"), &F(78));
  EXPECT_EQ(NotionOfField("\\sin(rFunc1T)"), &F(78));
  for (const char* bad : {"\\78", "(rFunc1T)"}) {
    EXPECT_EQ(NotionOfField(bad), nullptr);
    EXPECT_EQ(Last(), "Error 1 in InitCorrectnessProve (Kernel).") << bad;
  }
  EXPECT_EQ(NotionOfField("\\nothing(rT)"), nullptr);
  EXPECT_EQ(Last(), "Invalid defined notion: \\nothing(rT)");
}

TEST_F(TaskTest, ADefinitionMustUseTheDefinitionSignOrAnEquality) {
  const TTask task = CorrectnessTask("\\forall x \\in \\R \\Vld \\sin ( x ) > 0", "\\78(rFunc1T)", {});
  EXPECT_FALSE(task.GoesOn);
  EXPECT_FALSE(task.Kernel->Proved);
  EXPECT_EQ(Last(), "The definition should be formulated with \\ByDef symbol or equality.");
}

TEST_F(TaskTest, AConsistentDefinitionIsCorrect) {
  const TTask task = CorrectnessTask("\\forall x \\in \\R \\Vld \\sin ( x ) = x + 1", "\\78(rFunc1T)", {});
  EXPECT_TRUE(task.Kernel->Proved);
}

TEST_F(TaskTest, ADefinitionThatCouldGiveTwoValuesMustAgreeWithItself) {
  // sin(x*x) = x: sin(4) would be 2 and -2.
  const TTask square = CorrectnessTask("\\forall x \\in \\R \\Vld \\sin ( x \\cdot x ) = x", "\\78(rFunc1T)", {});
  EXPECT_FALSE(square.Kernel->Proved);
  EXPECT_FALSE(square.Kernel->ProvingConds.empty());
  // n even :<=> n > m, m no argument: not a definition of n alone.
  const TTask extra = CorrectnessTask("\\forall n \\in \\Z \\Vld \\forall m \\in \\Z \\Vld n \\even \\ByDef n > m",
                                      "\\102(zPredT)", {});
  EXPECT_FALSE(extra.Kernel->Proved);
  // sin(2x) = 2x is consistent: it agrees with itself.
  const TTask doubled = CorrectnessTask("\\forall x \\in \\R \\Vld \\sin ( 2 \\cdot x ) = 2 \\cdot x", "\\78(rFunc1T)", {});
  EXPECT_TRUE(doubled.Kernel->Proved);
}

TEST_F(TaskTest, ASequenceUnderTheTermsBoundVariableIsOneArgument) {
  // a_n in lim(n → ∞, a_n) is the sequence a: the definition gives one value
  // per sequence and needs no agreement with itself at single points.
  const TTask task = CorrectnessTask(
      "\\forall { a _ n } \\Vld ( \\forall L \\in \\R \\Vld L = \\lim ( n \\Arrow \\infty , a _ n ) "
      "\\ByDef ( \\forall \\epsilon > 0 \\Vld \\exists N \\in \\N : \\forall m \\in \\N \\Vld m \\ge N \\implies | a _ m - L | < \\epsilon ) )",
      "\\77(LimSeqT)", {});
  ASSERT_FALSE(task.Kernel->ProvingConds.empty()) << Last();
  for (const TCondPtr& c : task.Kernel->ProvingConds)
    EXPECT_FALSE(ContainsPayload(*c->Expr, TClass::Intr, &F(kIff))) << ToString(*c->Expr);
  // Shifted, a_(n+1) is no bare argument: the agreement is still asked.
  const TTask shifted = CorrectnessTask(
      "\\forall { a _ n } \\Vld ( \\forall L \\in \\R \\Vld L = \\lim ( n \\Arrow \\infty , a _ ( n + 1 ) ) "
      "\\ByDef ( \\forall \\epsilon > 0 \\Vld \\exists N \\in \\N : \\forall m \\in \\N \\Vld m \\ge N \\implies | a _ m - L | < \\epsilon ) )",
      "\\77(LimSeqT)", {});
  bool agreement = false;
  for (const TCondPtr& c : shifted.Kernel->ProvingConds) agreement = agreement || ContainsPayload(*c->Expr, TClass::Intr, &F(kIff));
  EXPECT_TRUE(agreement);
}

TEST_F(TaskTest, AConstantIsDefinedByItsValue) {
  // e = 3 needs nothing; a value that is not defined cannot define e.
  EXPECT_TRUE(CorrectnessTask("\\e = 3", "\\193(rT)", {}).Kernel->Proved) << Last();
  const TTask undefined = CorrectnessTask("\\e = 1 / ( 2 - 2 )", "\\193(rT)", {});
  EXPECT_FALSE(undefined.Kernel->Proved) << Last();
  // Another constant's value does not define e.
  EXPECT_FALSE(CorrectnessTask("\\pi = 3", "\\193(rT)", {}).Kernel->Proved);
}

TEST_F(TaskTest, ALaterDefinitionOfANotionMustAgreeWithTheEarlierOne) {
  const char* first = "\\forall x \\in \\R \\Vld \\sin ( x ) = x + 1";
  EXPECT_TRUE(CorrectnessTask(first, "\\78(rFunc1T)", {}).Kernel->Proved);
  // The same value written otherwise agrees; another value does not.
  EXPECT_TRUE(CorrectnessTask("\\forall y \\in \\R \\Vld \\sin ( y ) = 1 + y", "\\78(rFunc1T)", {first}).Kernel->Proved);
  const TTask other = CorrectnessTask("\\forall y \\in \\R \\Vld \\sin ( y ) = y + 2", "\\78(rFunc1T)", {first});
  EXPECT_FALSE(other.Kernel->Proved);
  EXPECT_FALSE(other.Kernel->ProvingConds.empty());
}

TEST_F(TaskTest, AnImplicitDefinitionAsksForExistenceAndUniqueness) {
  // y = sin(x) :<=> y^2 = x: no such unique y for every x.
  const char* text = "\\forall x \\in \\R \\Vld \\forall y \\in \\R \\Vld y = \\sin ( x ) \\ByDef y ^ 2 = x";
  EXPECT_FALSE(CorrectnessTask(text, "\\78(rFunc1T)", {}).Kernel->Proved);
  // Untested, the goal shows: there is exactly one such y.
  context.Settings.AutoStandard = false;
  context.Settings.ProveEachCond = 1;
  const TTask task = CorrectnessTask(text, "\\78(rFunc1T)", {});
  bool unique = false;
  for (const TCondPtr& c : task.Kernel->ProvingConds) unique = unique || ContainsPayload(*c->Expr, TClass::Intr, &F(kExistsOne));
  EXPECT_TRUE(unique);
}

}  // namespace
}  // namespace lemmix
