// The terminal test: refutations by cases and by the elimination of unknowns
// from linear inequalities, exact; what holds together is never refuted.
#include "prover/terminal.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "prover/task.h"
#include "prover/tests.h"
#include "prover_fixture.h"

namespace lemmix {
namespace {

// a·(x, y, z) + constant in stored text.
std::string Linear(const int (&a)[3], int constant) {
  const char* names[] = {"x", "y", "z"};
  std::string text;
  for (int k = 0; k < 3; ++k) {
    if (a[k] == 0) continue;
    const int m = a[k] < 0 ? -a[k] : a[k];
    text += text.empty() ? (a[k] < 0 ? "- " : "") : (a[k] < 0 ? " - " : " + ");
    text += std::to_string(m) + " \\cdot " + names[k];
  }
  if (text.empty()) text = "0";
  if (constant != 0) text += (constant < 0 ? " - " : " + ") + std::to_string(constant < 0 ? -constant : constant);
  return text;
}

class Refutations : public testing::ProverTest {
 protected:
  TRefutation Refuted(const std::string& conjunction, bool arithmetic = true) {
    TExprPtr f = Formula(conjunction.c_str());
    if (!f) return TRefutation::Bounded;
    TExprList conditions;
    conditions.push_back(std::move(f));
    return Refute(conditions, arithmetic);
  }
};

struct TCase {
  const char* Conditions;
  TRefutation Expected;
};

TEST_F(Refutations, SmallSystems) {
  const TCase cases[] = {
      {"x > 1 \\and x < 0", TRefutation::Refuted},
      {"0 < x \\and x < 1", TRefutation::Open},
      {"( x > 1 \\or x > 2 ) \\and \\not ( x > 0 )", TRefutation::Refuted},
      // The square is an unknown of its own; the linear part alone refutes.
      {"x \\cdot x + w > 0 \\and x > 1 \\and x < 0", TRefutation::Refuted},
      {"x \\ge y \\and y \\ge z \\and z > x", TRefutation::Refuted},
      {"x \\ge y \\and y \\ge z \\and z \\ge x", TRefutation::Open},
      {"2 \\cdot x + 3 \\cdot y \\le 6 \\and x \\ge 2 \\and y > 1", TRefutation::Refuted},
      {"2 \\cdot x + 3 \\cdot y \\le 6 \\and x \\ge 2 \\and y \\ge 1 / 2", TRefutation::Open},
      {"| x | < 1 \\and | x | > 2", TRefutation::Refuted},
      {"x = y \\and \\not ( x \\ge y )", TRefutation::Refuted},
      {"\\not ( x = y ) \\and x \\le y \\and y \\le x", TRefutation::Refuted},
      {"\\not ( x = y ) \\and x \\le y", TRefutation::Open},
      {"( x > 0 \\implies y > 0 ) \\and x > 1 \\and y < 0", TRefutation::Refuted},
      {"( x > 0 \\iff y > 0 ) \\and x > 1 \\and \\not ( y > 0 )", TRefutation::Refuted},
      {"\\not ( x > 0 \\iff y > 0 ) \\and x > 1 \\and y > 1", TRefutation::Refuted},
      {"x \\in \\Z \\and \\not ( x \\in \\Z )", TRefutation::Refuted},
      // p ∨ a and ¬p ∨ b give a ∨ b, here with a and b both false.
      {"( x \\in \\Z \\or y > 0 ) \\and ( \\not ( x \\in \\Z ) \\or y > 1 ) \\and y \\le 0", TRefutation::Refuted},
      {"( x \\in \\Z \\or y > 0 ) \\and ( \\not ( x \\in \\Z ) \\or y > 1 ) \\and y \\le 1", TRefutation::Open},
      {"x \\in \\Z \\and x > 0", TRefutation::Open},
      // A symbolic coefficient of unknown sign decides nothing: c = 0 fits.
      {"c \\ge 0 \\and c \\cdot v + w \\ge 0 \\and v < 1 \\and w \\le 0 \\and \\not ( c > 0 )", TRefutation::Open},
      {"x \\cdot y > 0 \\and x < 0", TRefutation::Open},
      {"1 / 3 \\cdot x + 1 / 6 > 1 / 2 \\and x < 1", TRefutation::Refuted},
      {"1 / 3 \\cdot x + 1 / 6 \\ge 1 / 2 \\and x \\le 1", TRefutation::Open},
      // The normal form keeps a number times a sum: its terms count one by one.
      {"x + y > 1 \\and - x > 0 \\and - ( y - 1 ) > 0", TRefutation::Refuted},
      {"x + y > 1 \\and - x > 0 \\and - ( y - 2 ) > 0", TRefutation::Open},
  };
  for (const TCase& c : cases) EXPECT_EQ(Refuted(c.Conditions), c.Expected) << c.Conditions;
}

TEST_F(Refutations, WithoutTheArithmeticPackageComparisonsAreOpaque) {
  EXPECT_EQ(Refuted("x > 1 \\and x < 0", false), TRefutation::Open);
  EXPECT_EQ(Refuted("x > 1 \\and \\not ( x > 1 )", false), TRefutation::Refuted);
}

// Random systems in three unknowns with small integer coefficients. Those
// built around a point hold there and are never refuted; adding the negation
// of a positive combination of their inequalities makes them contradictory
// (Farkas), and the elimination must find it.
TEST_F(Refutations, RandomSystemsAroundAPointAndTheirContradictions) {
  std::mt19937 random(20261209);
  const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  int refuted = 0;
  for (int round = 0; round < 120; ++round) {
    const int point[3] = {pick(-3, 3), pick(-3, 3), pick(-3, 3)};
    const int count = pick(2, 5);
    std::string system;
    int sum[3] = {0, 0, 0};
    int sumConstant = 0;
    bool strict = false;
    for (int i = 0; i < count; ++i) {
      int a[3] = {pick(-4, 4), pick(-4, 4), pick(-4, 4)};
      if (a[0] == 0 && a[1] == 0 && a[2] == 0) a[0] = 1;
      const bool isStrict = pick(0, 1) == 1;
      const int value = a[0] * point[0] + a[1] * point[1] + a[2] * point[2];
      const int constant = -value + pick(isStrict ? 1 : 0, 3);  // a·p + constant ≥ 0 (> 0 when strict)
      if (!system.empty()) system += " \\and ";
      system += Linear(a, constant) + (isStrict ? " > 0" : " \\ge 0");
      const int weight = pick(1, 3);
      for (int k = 0; k < 3; ++k) sum[k] += weight * a[k];
      sumConstant += weight * constant;
      strict = strict || isStrict;
    }
    ASSERT_EQ(Refuted(system), TRefutation::Open) << system << " holds at (" << point[0] << ", " << point[1] << ", "
                                                  << point[2] << ")";
    // The combination is ≥ 0 (> 0 with a strict part); its negation contradicts.
    const std::string contradiction =
        system + " \\and \\not ( " + Linear(sum, sumConstant) + (strict ? " > 0 )" : " \\ge 0 )");
    const TRefutation result = Refuted(contradiction);
    EXPECT_EQ(result, TRefutation::Refuted) << contradiction;
    refuted += result == TRefutation::Refuted;
  }
  EXPECT_EQ(refuted, 120);
}

// Whole statements through the tests: ∀x, y, z: premises ⇒ goal, the
// premises built around a point. A goal that is a positive combination of
// the premises is true and closes; one the point breaks is false and never does.
TEST_F(Refutations, RandomStatementsCloseExactlyWhenTrue) {
  std::mt19937 random(7);
  const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  TProofSetup setup;
  setup.Terminal = TerminalTest;
  const TProofSetupScope scope(setup);
  int closed = 0;
  for (int round = 0; round < 40; ++round) {
    const int point[3] = {pick(-3, 3), pick(-3, 3), pick(-3, 3)};
    std::string premises;
    int sum[3] = {0, 0, 0};
    int sumConstant = 0;
    for (int i = 0, n = pick(2, 4); i < n; ++i) {
      int a[3] = {pick(-3, 3), pick(-3, 3), pick(-3, 3)};
      if (a[0] == 0 && a[1] == 0 && a[2] == 0) a[2] = 1;
      const int constant = -(a[0] * point[0] + a[1] * point[1] + a[2] * point[2]) + pick(0, 2);
      premises += (premises.empty() ? "" : " \\and ") + Linear(a, constant) + " \\ge 0";
      const int weight = pick(1, 2);
      for (int k = 0; k < 3; ++k) sum[k] += weight * a[k];
      sumConstant += weight * constant;
    }
    const std::string quantifiers = "\\forall x , y , z \\in \\R \\Vld ";
    // True: the weighted sum of the premises, loosened by one.
    const std::string implied = quantifiers + premises + " \\implies " + Linear(sum, sumConstant + 1) + " > 0";
    // False: an inequality the point breaks.
    const int b[3] = {pick(-3, 3), pick(-3, 3), 1};
    const int broken = -(b[0] * point[0] + b[1] * point[1] + b[2] * point[2]) - 1;
    const std::string refuted = quantifiers + premises + " \\implies " + Linear(b, broken) + " \\ge 0";
    for (const auto& [text, holds] : {std::pair{implied, true}, std::pair{refuted, false}}) {
      TKernel empty;
      const TExprPtr formulation = ReadProverFormula(empty, text);
      ASSERT_TRUE(formulation) << text;
      const TTask task = OrdinaryTask(*formulation);
      if (!holds) {
        EXPECT_FALSE(task.Kernel->Proved) << text << " fails at (" << point[0] << ", " << point[1] << ", " << point[2]
                                          << ")";
      }
      closed += holds && task.Kernel->Proved;
    }
  }
  // Every true one closes: the terminal test is complete for these.
  EXPECT_EQ(closed, 40);
}

class TerminalKernel : public testing::ProverTest {
 protected:
  void SetUp() override {
    ProverTest::SetUp();
    for (char letter : {'x', 'y', 'c', 'v', 'w'}) kernel.AddObject(Var(letter), false);
  }
  void Given(const char* text) { ASSERT_TRUE(kernel.AddGivenCond(*KernelFormula(kernel, text))) << text; }
  void Proving(const char* text) { ASSERT_TRUE(kernel.AddProvingCond(*KernelFormula(kernel, text))) << text; }
  TKernel kernel;
};

TEST_F(TerminalKernel, AGoalFollowsFromTheCasesOfAGivenDisjunction) {
  Given("x > 1 \\or x > 2");
  Proving("x > 0");
  EXPECT_TRUE(TerminalTest(kernel, 0));
  EXPECT_TRUE(kernel.Proved);
}

TEST_F(TerminalKernel, ANonNegativeCoefficientProvesNoStrictSign) {
  Given("c \\ge 0");
  Given("c \\cdot v + w \\ge 0");
  Given("v < 1");
  Given("w \\le 0");
  Proving("c > 0");
  EXPECT_FALSE(TerminalTest(kernel, 0));
  EXPECT_FALSE(kernel.Proved);
}

TEST_F(TerminalKernel, EveryGoalMustFollow) {
  Given("x > 1");
  Proving("x > 0");
  Proving("y > 0");
  EXPECT_FALSE(TerminalTest(kernel, 0));
  kernel.ProvingConds.pop_back();
  EXPECT_TRUE(TerminalTest(kernel, 0));
}

// By contradiction there is no goal: the tests complete the proof when the
// terminal test finds the given conditions contradictory.
TEST_F(TerminalKernel, AProofByContradictionEndsWhenTheGivensContradictEachOther) {
  TProofSetup setup;
  setup.Terminal = TerminalTest;
  const TProofSetupScope scope(setup);
  kernel.ByContradiction = true;
  Given("x + y > 1");
  Given("x < 0");
  TestConditions(kernel);
  EXPECT_FALSE(kernel.Proved);
  Given("y < 1");
  TestConditions(kernel);
  EXPECT_TRUE(kernel.Proved);
}

TEST_F(TerminalKernel, AGoalAboutARequiredObjectIsNotNegated) {
  TVar& r = kernel.AddObject(Var('r'), true);
  (void)r;
  Given("x > 1");
  ASSERT_TRUE(kernel.AddProvingCond(*KernelFormula(kernel, "r > x")));
  EXPECT_FALSE(TerminalTest(kernel, 0));
  // Contradictory givens prove anything, a goal with a required object too.
  Given("x < 0");
  EXPECT_TRUE(TerminalTest(kernel, 0));
}

}  // namespace
}  // namespace lemmix
