// The proof actions on their own: what each prepares, refuses and completes,
// and the misuses that must not prove anything.
#include "prover/actions.h"

#include <gtest/gtest.h>

#include "expr/logic.h"
#include "intrinsics/intr_numbers.h"
#include "prover/define.h"
#include "prover/marked.h"
#include "prover/task.h"
#include "prover/tests.h"
#include "prover_fixture.h"
#include "shell/cp1251.h"

namespace lemmix {
namespace {

class ActionsTest : public testing::ProverTest {
 protected:
  ActionsTest() { context.Settings.OneStepFinish0 = false; }
  TVar& Given(char letter, const char* type = "rT") { return kernel.AddObject(Var(letter, -1, type), false); }
  TVar& Required(char letter, const char* type = "rT") { return kernel.AddObject(Var(letter, -1, type), true); }
  TExprPtr Read(const char* text) {
    TExprPtr e = ReadProverFormula(kernel, text);
    EXPECT_TRUE(e) << text;
    return e;
  }
  TExprPtr Term(const char* text) {
    TExprPtr e = ReadProverTerm(kernel, text);
    EXPECT_TRUE(e) << text;
    return e;
  }
  void AddGiven(const char* text) { ASSERT_TRUE(kernel.AddGivenCond(*Read(text))) << text; }
  void AddGoal(const char* text) { ASSERT_TRUE(kernel.AddProvingCond(*Read(text))) << text; }
  std::string Last() { return messages.Entries().empty() ? "" : messages.Entries().back().message.Eng; }

  TKernel kernel;
};

TEST_F(ActionsTest, CasesAreAConditionAndItsNegation) {
  Given('x');
  Required('y');
  AddGoal("y > x");
  EXPECT_FALSE(PrepareCases(kernel, *Read("y > 0")));
  EXPECT_EQ(Last(), "The expression must not have required variables.");
  const TObligations obligations = PrepareCases(kernel, *Read("1 / x > 0"));
  ASSERT_TRUE(obligations);
  ASSERT_EQ(obligations->size(), 1u);  // x ≠ 0 first
  const std::optional<TExprList> cases = Cases(kernel);
  ASSERT_TRUE(cases);
  ASSERT_EQ(cases->size(), 2u);
  EXPECT_TRUE(Equal(*(*cases)[1], *Negation(*(*cases)[0])));
}

TEST_F(ActionsTest, AnAuxiliaryConditionIsProvedThenGiven) {
  Given('x');
  AddGoal("x > 7");
  const TObligations obligations = PrepareAuxiliary(kernel, *Read("x > 1"));
  ASSERT_TRUE(obligations);
  ASSERT_EQ(obligations->size(), 1u);  // the condition itself
  EXPECT_EQ(kernel.PendingKind, kProveCondition);
  EXPECT_TRUE(AddPendingToGivens(kernel));
  EXPECT_EQ(kernel.GivenConds.size(), 1u);
  EXPECT_EQ(kernel.PendingKind, kNoPending);
}

TEST_F(ActionsTest, AConjectureBecomesTheGoalOnlyAfterTheGoalWasProvedUnderIt) {
  Given('x');
  AddGoal("x = 0");
  const TObligations obligations = PrepareConjecture(kernel, *Read("0 \\le 1"));
  ASSERT_TRUE(obligations);
  EXPECT_TRUE(obligations->empty());
  // The driver proves the goal under 0 <= 1 (it cannot); here the parent
  // only ever gets 0 <= 1 as its goal, never as a given.
  EXPECT_FALSE(MakePendingTheGoal(kernel));  // 0 <= 1 is true: the level closes
  EXPECT_TRUE(kernel.Proved);
  EXPECT_TRUE(kernel.GivenConds.empty());
}

TEST_F(ActionsTest, TheNegationSwappedInIsTheGoal) {
  Given('x');
  AddGoal("x > 7");
  ASSERT_TRUE(PrepareAuxiliary(kernel, *Read("x > 1")));
  TExprList goals;
  ASSERT_TRUE(SwapPendingForNegation(kernel, goals));
  ASSERT_EQ(goals.size(), 1u);
  EXPECT_TRUE(Equal(*goals[0], *kernel.Pending[0]->Expr));
  EXPECT_EQ(kernel.Pending[0]->Expr->HeadIntrinsic(), kNot);
}

TEST_F(ActionsTest, ByContradictionTheNegatedGoalIsGiven) {
  Given('x');
  Required('y');
  AddGoal("y > x");
  ASSERT_TRUE(ContradProve(kernel));
  EXPECT_TRUE(kernel.ByContradiction);
  EXPECT_TRUE(kernel.ProvingConds.empty() && kernel.RequiredObjects.empty());
  ASSERT_EQ(kernel.GivenConds.size(), 1u);
  // ¬∃y (y > x) standardised: ∀y ¬(…), with a variable of its own.
  const TExpr& given = *kernel.GivenConds[0]->Expr;
  EXPECT_EQ(given.HeadIntrinsic(), kForall);
  EXPECT_FALSE(ContainsClass(given, TClass::ProveVar));
  TKernel empty;
  EXPECT_FALSE(ContradProve(empty));
  EXPECT_FALSE(empty.ByContradiction);
}

TEST_F(ActionsTest, InductionRunsOnIntegerObjectsFromAValueThatDoesNotMoveWithIt) {
  TVar& n = Given('n', "nT");
  TVar& w = Given('w', "zT");
  Given('x');
  AddGoal("n \\ge w");
  EXPECT_EQ(InductionCandidates(kernel).size(), 2u);  // x is real
  const TObligations fromOne = PrepareInduction(kernel, n, *Term("1"));
  ASSERT_TRUE(fromOne);
  EXPECT_TRUE(fromOne->empty());
  const TObligations fromTwo = PrepareInduction(kernel, n, *Term("2"));
  ASSERT_TRUE(fromTwo);
  ASSERT_EQ(fromTwo->size(), 1u);  // n >= 2
  EXPECT_FALSE(PrepareInduction(kernel, n, *Term("n - 1")));
  // An object in the initial value may not change in the step.
  EXPECT_FALSE(MayBeNonstationary(w, n, *Term("w")));
  EXPECT_TRUE(MayBeNonstationary(w, n, *Term("1")));
  EXPECT_FALSE(InductionStep(kernel, n, *Term("w"), {&w}));
  // The base puts 1 for n and drops n.
  std::unique_ptr<TKernel> base = InductionBase(kernel, n, *Term("1"));
  ASSERT_TRUE(base);
  EXPECT_EQ(base->SectionOf(n), 0);
  // The step: n + 1 in the goal, the hypothesis about n given.
  std::unique_ptr<TKernel> step = InductionStep(kernel, n, *Term("1"), {});
  ASSERT_TRUE(step);
  ASSERT_FALSE(step->ProvingConds.empty());
  EXPECT_NE(ToString(*step->ProvingConds[0]->Expr).find("number,1"), std::string::npos);
  EXPECT_FALSE(step->GivenConds.empty());
  TKernel contradiction;
  contradiction.AddObject(Var('m', -1, "nT"), false);
  contradiction.ByContradiction = true;
  EXPECT_TRUE(InductionCandidates(contradiction).empty());
}

TEST_F(ActionsTest, RenamingChecksTheName) {
  Given('x');
  Required('y');
  AddGiven("x > 2");
  EXPECT_EQ(RenameObject(kernel, 3, "z")->Eng, "Invalid number of variable to be renamed.");
  EXPECT_EQ(RenameObject(kernel, 0, "7")->Eng, "Incorrect name of variable");
  EXPECT_EQ(RenameObject(kernel, 0, "y")->Eng, "Name y is used for a required object.");
  EXPECT_EQ(RenameObject(kernel, 0, "z"), std::nullopt);
  EXPECT_EQ(kernel.GivenObjects[0]->Name, (TVarName{'z', -1}));
  EXPECT_EQ(kernel.GivenConds[0]->Expr->Children()[1]->Children()[1]->Var(), kernel.GivenObjects[0].get());
}

TEST_F(ActionsTest, DefiningAGivenObject) {
  Given('a');
  AddGoal("a > 0");
  // 1 / a needs a ≠ 0 first.
  const TObligations obligations = PrepareDefine(kernel, "b = 1 / a");
  ASSERT_TRUE(obligations);
  EXPECT_EQ(obligations->size(), 1u);
  CompleteDefineGiven(kernel);
  ASSERT_EQ(kernel.GivenObjects.size(), 2u);
  EXPECT_EQ(kernel.GivenObjects[1]->Name, (TVarName{'b', -1}));
  ASSERT_EQ(kernel.GivenConds.size(), 1u);
  // Refusals.
  const struct {
    const char* text;
    const char* message;
  } refused[] = {
      {"a = 2", "The name is already used."},
      {"c > 2", "Object must be introduced using equality or belonging."},
      {"c = d + 1", "Variable d is not defined."},
      {"c = c + 1", "Variable c is not defined."},
      {"2 = c", "In the left part of the expression defining variable is expected."},
      {"f ( f ) = 1", "Name of function's argument must be different from the function's name."},
  };
  for (const auto& r : refused) {
    EXPECT_FALSE(PrepareDefine(kernel, r.text)) << r.text;
    EXPECT_EQ(Last(), r.message) << r.text;
  }
}

TEST_F(ActionsTest, DefiningARequiredObjectBySubstitution) {
  Required('y');
  AddGoal("y + 1 = 6");
  AddGoal("y > 2");
  ASSERT_TRUE(PrepareDefine(kernel, "y = 5"));
  EXPECT_TRUE(CanSubstitute(kernel));
  CompleteDefineRequired(kernel, true);
  EXPECT_TRUE(kernel.RequiredObjects.empty());
  EXPECT_TRUE(kernel.Proved);  // 5 + 1 = 6 and 5 > 2
}

TEST_F(ActionsTest, AnEmptySetGivesNoElement) {
  Given('A', "rMBESetT");
  AddGoal("A = A");
  const TObligations obligations = PrepareDefine(kernel, "x \\in A");
  ASSERT_TRUE(obligations);
  ASSERT_EQ(obligations->size(), 1u);  // A is not empty
  EXPECT_EQ(obligations->front()->HeadIntrinsic(), kNot);
}

TEST_F(ActionsTest, ADefinitionByCasesSpeaksOfGivenObjectsOnly) {
  Given('x');
  Required('y');
  AddGoal("y < y");
  // y = 1 if y < 0, else -1: the condition speaks of the required y.
  EXPECT_FALSE(PrepareDefineByCases(kernel, {"y = 1", "y < 0", "y = - 1"}));
  EXPECT_EQ(Last(), "Required variable y is present in the right part.");
  // |x| by cases, of the widest type of its values.
  const TObligations obligations = PrepareDefineByCases(kernel, {"z = x", "x \\ge 0", "z = - x"});
  ASSERT_TRUE(obligations);
  CompleteDefineGiven(kernel);
  ASSERT_EQ(kernel.GivenObjects.size(), 2u);
  EXPECT_EQ(kernel.GivenObjects[1]->Type, T("rT"));
  EXPECT_FALSE(kernel.Proved);
  EXPECT_FALSE(PrepareDefineByCases(kernel, {"u = 1", "x > 0", "u = 2", "x > 1", "u = 3", "x > 2", "u = 4", "u = 5"}));
}

TEST_F(ActionsTest, RecursiveSequencesTakeTheTypeOfEveryValue) {
  Given('x');
  AddGoal("x > 0");
  ASSERT_TRUE(PrepareRecursive(kernel, "a"));
  ASSERT_TRUE(NextRecursiveInput(kernel));
  EXPECT_FALSE(NextRecursiveInput(kernel)->Step);
  // The first element may not speak of the sequence.
  EXPECT_FALSE(AddRecursiveDefinition(kernel, {"a _ 1 = a _ 1 + 1"}));
  ASSERT_TRUE(AddRecursiveDefinition(kernel, {"a _ 1 = 1"}));
  ASSERT_TRUE(NextRecursiveInput(kernel)->Step);
  // A step speaks of the element at its own index only.
  EXPECT_FALSE(AddRecursiveDefinition(kernel, {"a _ ( i + 1 ) = a _ ( i + 1 ) + 1"}));
  ASSERT_TRUE(AddRecursiveDefinition(kernel, {"a _ ( i + 1 ) = a _ i - 2"}));
  EXPECT_FALSE(NextRecursiveInput(kernel));
  CompleteRecursive(kernel);
  ASSERT_EQ(kernel.GivenObjects.size(), 2u);
  // 1, -1, -3 …: not a sequence of naturals.
  EXPECT_EQ(kernel.GivenObjects[1]->Type, T("ZSeqT"));
  EXPECT_EQ(kernel.GivenConds.size() >= 2u, true);
}

TEST_F(ActionsTest, MultiplyingKeepsWhatIsToBeProved) {
  Given('a');
  Given('b');
  Given('c');
  AddGoal("a < b");
  AddGiven("a < b");
  // A goal times what may be 0 proves nothing: only positive factors for inequalities.
  EXPECT_FALSE(PrepareMultiply(kernel, TSection::ProvingConds, 0, *Term("c"), TFactorMode::Nonnegative));
  EXPECT_FALSE(PrepareMultiply(kernel, TSection::ProvingConds, 0, *Term("0"), TFactorMode::Positive));
  EXPECT_EQ(Last(), "The factor must be positive.");
  ASSERT_TRUE(PrepareMultiply(kernel, TSection::ProvingConds, 0, *Term("2"), TFactorMode::Positive));
  EXPECT_TRUE(CompleteMultiply(kernel) || kernel.Proved);
  // A given strict inequality times a non-negative c holds non-strictly.
  const TObligations obligations = PrepareMultiply(kernel, TSection::GivenConds, 0, *Term("c"), TFactorMode::Nonnegative);
  ASSERT_TRUE(obligations);
  ASSERT_EQ(obligations->size(), 1u);  // c >= 0
  CompleteMultiply(kernel);
  EXPECT_FALSE(ContainsPayload(*kernel.GivenConds[0]->Expr, TClass::Intr, &F(kGt))) << ToString(*kernel.GivenConds[0]->Expr);
  EXPECT_TRUE(ContainsPayload(*kernel.GivenConds[0]->Expr, TClass::Intr, &F(kGe))) << ToString(*kernel.GivenConds[0]->Expr);
}

TEST_F(ActionsTest, OnlyRelationsAdd) {
  Given('a');
  Given('b');
  Given('c');
  Given('d');
  AddGiven("\\not ( a = b )");
  AddGiven("\\not ( c = d )");
  AddGiven("a < b");
  AddGiven("c \\le d");
  EXPECT_TRUE(AddableRelations(kernel, 0).empty());
  EXPECT_FALSE(AddRelations(kernel, 0, 1));
  ASSERT_EQ(AddableRelations(kernel, 2), (std::vector<std::size_t>{3}));
  AddRelations(kernel, 2, 3);
  ASSERT_EQ(kernel.GivenConds.size(), 5u);
  EXPECT_EQ(kernel.GivenConds.back()->Expr->HeadIntrinsic(), kGt);  // a + c < b + d
}

TEST_F(ActionsTest, RewritingAndRealValuesStayWithinTheExtendedReals) {
  Given('a');
  Given('A', "rMBESetT");
  AddGiven("a \\le 3");
  AddGiven("A = A");
  EXPECT_EQ(RewriteRelation(kernel, TSection::GivenConds, 0, false), TRewriteResult::CaseAnalysis);
  const std::optional<TExprList> cases = DisjunctionCases(kernel);
  ASSERT_TRUE(cases);
  EXPECT_EQ(cases->size(), 2u);
  // A set has no real value.
  EXPECT_FALSE(PrepareConsiderRealValue(kernel, TSection::GivenConds, 1, true));
  EXPECT_TRUE(PrepareConsiderRealValue(kernel, TSection::GivenConds, 0, true));
}

TEST_F(ActionsTest, SubstitutingIntoAQuantifiedGivenCondition) {
  Given('a');
  Given('n', "nT");
  AddGiven("\\forall x \\in \\R \\Vld x ^ 3 > a");
  AddGoal("a > 0");
  ASSERT_TRUE(PrepareSubstitute(kernel, 0));
  const std::optional<TSubstituteStep> step = SubstituteStep(kernel);
  ASSERT_TRUE(step);
  EXPECT_EQ(step->Candidates.size(), 2u);  // a and n fit a real variable
  const TObligations obligations = SubstituteFor(kernel, Term("1 / a").get());
  ASSERT_TRUE(obligations);
  EXPECT_EQ(obligations->size(), 1u);  // a ≠ 0
  EXPECT_TRUE(SubstituteDone(kernel));
  CompleteSubstitute(kernel);
  EXPECT_GE(kernel.GivenConds.size(), 1u);
}

}  // namespace
}  // namespace lemmix
