// The proof field: conditions enter standardised at their positions, objects
// keep unique names, and copies share objects but not conditions.
#include "prover/kernel.h"

#include <gtest/gtest.h>

#include "expr/logic.h"
#include "intrinsics/intr_numbers.h"
#include "prover_fixture.h"

namespace lemmix {
namespace {

class KernelTest : public testing::ProverTest {
 protected:
  std::vector<int> Stages(const TCondList& conds) {
    std::vector<int> stages;
    for (const TCondPtr& c : conds) stages.push_back(c->Stage);
    return stages;
  }
};

TEST_F(KernelTest, ConditionsEnterAtTheirPositions) {
  TKernel kernel;
  ASSERT_TRUE(kernel.AddGivenCond(*Formula("1 < 2 \\implies 3 > 0")));
  ASSERT_TRUE(kernel.AddGivenCond(*Formula("\\forall x \\in \\R \\Vld x ^ 2 \\ge 0"), 0));       // first
  ASSERT_TRUE(kernel.AddGivenCond(*Formula("\\forall y \\in \\R \\Vld y \\cdot y \\ge 0"), 7));  // past the end
  ASSERT_EQ(kernel.GivenConds.size(), 3u);
  const TExprPtr square = StandardiseForCondition(*Formula("\\forall x \\in \\R \\Vld x ^ 2 \\ge 0"));
  ASSERT_TRUE(square);
  EXPECT_EQ(kernel.FindGivenCond(*square), 0);
  EXPECT_EQ(kernel.FindProvingCond(*square), -1);
  EXPECT_EQ(Stages(kernel.GivenConds), (std::vector<int>{1, 1, 1}));
  for (const TCondPtr& c : kernel.GivenConds) EXPECT_EQ(c->Expr->Type, T("lT"));
  // Without automatic standardisation a new condition stays out of the tests.
  context.Settings.AutoStandard = false;
  ASSERT_TRUE(kernel.AddProvingCond(*Formula("1 > 0")));
  EXPECT_EQ(kernel.ProvingConds[0]->Stage, TCond::kUntested);
}

TEST_F(KernelTest, AFormulaTheChecksRefuseIsNotAdded) {
  TKernel kernel;
  // A comparison of an object that has no type cannot be standardised.
  TExprPtr untyped = C(I(kGt), V('x', -1, nullptr), N(0));
  EXPECT_FALSE(kernel.AddProvingCond(*untyped));
  EXPECT_FALSE(kernel.AddGivenCond(*untyped));
  EXPECT_TRUE(kernel.ProvingConds.empty() && kernel.GivenConds.empty());
  // The checks belong to the symbol transformation package.
  context.Settings.SymbolTransEnable = false;
  EXPECT_TRUE(kernel.AddGivenCond(*untyped));
}

TEST_F(KernelTest, AnObjectGetsANameFreeInBothSections) {
  TKernel kernel;
  TVar& first = kernel.AddObject(Var('x'), false);
  TVar& required = kernel.AddObject(Var('x'), true);
  TVar& third = kernel.AddObject(Var('x'), false);
  TVar& other = kernel.AddObject(Var('y'), true);
  EXPECT_EQ(first.Name, (TVarName{'x', -1}));  // the old one keeps its name
  EXPECT_EQ(required.Name, (TVarName{'x', 0}));
  EXPECT_EQ(third.Name, (TVarName{'x', 1}));
  EXPECT_EQ(other.Name, (TVarName{'y', -1}));
  EXPECT_EQ(kernel.GivenObjects.size(), 2u);
  EXPECT_EQ(kernel.RequiredObjects.size(), 2u);
  EXPECT_TRUE(kernel.Owns(required));
}

TEST_F(KernelTest, ACopySharesObjectsAndCopiesConditions) {
  TKernel source;
  source.Level = 2;
  source.Tag = "tag";
  source.ByContradiction = true;
  TVar& x = source.AddObject(Var('x'), false);
  source.AddObject(Var('y'), true);
  ASSERT_TRUE(source.AddGivenCond(*Formula("2 > 1")));
  ASSERT_TRUE(source.AddProvingCond(*Formula("3 > 1")));
  source.RecordPending(N(4));
  source.PendingKind = 4;
  source.Postponed.emplace();
  source.Postponed->push_back(TCond::Record(N(1)));

  const std::unique_ptr<TKernel> bare = source.Copy({});
  EXPECT_TRUE(bare->RequiredObjects.empty() && bare->ProvingConds.empty());
  EXPECT_TRUE(bare->Pending.empty());
  EXPECT_EQ(bare->PendingKind, 0);
  ASSERT_TRUE(bare->Postponed.has_value());  // created, empty unless asked for
  EXPECT_TRUE(bare->Postponed->empty());
  EXPECT_EQ(bare->Level, 2);
  EXPECT_EQ(bare->Tag, "tag");
  EXPECT_TRUE(bare->ByContradiction);

  std::unique_ptr<TKernel> full = source.Copy({.Pending = true, .Postponed = true, .Goal = true});
  EXPECT_EQ(full->RequiredObjects.size(), 1u);
  EXPECT_EQ(full->ProvingConds.size(), 1u);
  EXPECT_EQ(full->PendingKind, 4);
  EXPECT_EQ(full->Postponed->size(), 1u);
  // The copy shares the object but does not own it; taking it out of the
  // copy leaves it in the source.
  EXPECT_EQ(full->GivenObjects[0].get(), &x);
  EXPECT_FALSE(full->Owns(x));
  EXPECT_TRUE(full->RemoveObject(x, false));
  EXPECT_FALSE(full->RemoveObject(x, false));
  ASSERT_EQ(source.GivenObjects.size(), 1u);
  EXPECT_EQ(source.GivenObjects[0]->Name, (TVarName{'x', -1}));
  // Conditions are the copy's own: freeing them leaves the source's intact.
  EXPECT_NE(full->GivenConds[0]->Expr.get(), source.GivenConds[0]->Expr.get());
  full.reset();
  EXPECT_EQ(source.FindGivenCond(*StandardiseForCondition(*Formula("2 > 1"))), 0);
}

TEST_F(KernelTest, PendingRecordsKeepTheirOrderAndClear) {
  TKernel kernel;
  kernel.RecordPending(N(1));
  kernel.RecordPending(nullptr);  // an empty slot
  kernel.RecordPending(N(0), 0);
  kernel.PendingKind = 14;
  ASSERT_EQ(kernel.Pending.size(), 3u);
  EXPECT_TRUE(Equal(*kernel.Pending[0]->Expr, *N(0)));
  EXPECT_TRUE(Equal(*kernel.Pending[1]->Expr, *N(1)));
  EXPECT_EQ(kernel.Pending[2]->Expr, nullptr);
  EXPECT_EQ(Stages(kernel.Pending), (std::vector<int>{1, 1, 1}));
  kernel.ClearPending();
  EXPECT_TRUE(kernel.Pending.empty());
  EXPECT_EQ(kernel.PendingKind, 0);
}

}  // namespace
}  // namespace lemmix
