// The single definitions of a definition statement and what each defines.
#include "prover/definition.h"

#include <gtest/gtest.h>

#include "intrinsics/intr_numbers.h"
#include "prover_fixture.h"

namespace lemmix {
namespace {

using DefinitionTest = testing::ProverTest;

TEST_F(DefinitionTest, EachKindOfDefinition) {
  struct Case {
    const char* formulation;
    int notion;
    std::vector<int> kinds;    // per single definition; -1: refused
    std::string refusal;       // the English message of a refused one
    std::size_t premises = 0;  // of the first single definition
    int termHead = -1;         // of the first single definition
  };
  const Case cases[] = {
      {"\\forall n \\in \\Z \\Vld n \\even \\ByDef ( \\exists k \\in \\Z : n = 2 \\cdot k )", 102, {1}, "", 0, 102},
      {"\\forall x \\in \\R \\Vld ( x \\ge 0 \\implies | x | = x ) \\and ( x < 0 \\implies | x | = - x )",
       kAbs,
       {0, 0},
       "",
       1,
       kAbs},
      {"\\forall x \\in \\R \\Vld \\forall m \\in \\Z \\Vld m = [ x ] \\ByDef m \\le x \\and x < m + 1",
       kFloor,
       {2},
       "",
       0,
       kFloor},
      {"\\forall A \\subset \\R \\Vld \\not ( A = \\emptyset ) \\implies ( \\forall s \\in \\R \\Vld s = \\inf ( A ) "
       "\\ByDef s "
       "\\LowerBound A )",
       56,
       {2},
       "",
       1,
       56},
      {"\\forall n \\in \\Z \\Vld n \\even \\implies ( n + 2 ) \\even", 102, {3}, "", 1, 102},
      {"\\forall n \\in \\Z \\Vld n \\even \\iff ( \\exists k \\in \\Z : n = 2 \\cdot k )",
       102,
       {-1},
       "The definition should be formulated with \\ByDef symbol or equality."},
      {"\\forall n \\in \\Z \\Vld n + 1 = 2 \\ByDef n \\even",
       102,
       {-1},
       "Invalid format of the left part of the definition."},
  };
  for (const Case& c : cases) {
    const TExprPtr formulation = Formula(c.formulation);
    ASSERT_TRUE(formulation) << c.formulation;
    const std::vector<TSingleDefinition> definitions = SplitDefinitions(*formulation);
    ASSERT_EQ(definitions.size(), c.kinds.size()) << c.formulation;
    for (std::size_t i = 0; i < definitions.size(); ++i) {
      const auto analysis = AnalyseDefinition(definitions[i], F(c.notion));
      if (c.kinds[i] < 0) {
        ASSERT_TRUE(std::holds_alternative<TMessage>(analysis)) << c.formulation;
        EXPECT_EQ(std::get<TMessage>(analysis).Eng, c.refusal) << c.formulation;
        continue;
      }
      ASSERT_TRUE(std::holds_alternative<TDefinitionAnalysis>(analysis))
          << c.formulation << ": " << std::get<TMessage>(analysis).Eng;
      const TDefinitionAnalysis& a = std::get<TDefinitionAnalysis>(analysis);
      EXPECT_EQ(a.Kind, c.kinds[i]) << c.formulation;
      EXPECT_EQ(a.Term->HeadIntrinsic(), c.termHead) << c.formulation;
      EXPECT_EQ(a.Value != nullptr, a.Kind == TDefinitionAnalysis::Implicit) << c.formulation;
    }
    EXPECT_EQ(definitions[0].Premises.size(), c.premises) << c.formulation;
  }
}

TEST_F(DefinitionTest, AnImplicitDefinitionNamesItsValueVariable) {
  const TExprPtr formulation = Formula(
      "\\forall x \\in \\R \\Vld x > 0 \\implies ( \\forall y \\in \\R \\Vld y = \\ln ( x ) \\ByDef \\exp ( y ) = x )");
  const std::vector<TSingleDefinition> definitions = SplitDefinitions(*formulation);
  ASSERT_EQ(definitions.size(), 1u);
  EXPECT_EQ(definitions[0].Variables.size(), 2u);  // x, then y
  const auto analysis = AnalyseDefinition(definitions[0], F(83));
  ASSERT_TRUE(std::holds_alternative<TDefinitionAnalysis>(analysis));
  const TDefinitionAnalysis& a = std::get<TDefinitionAnalysis>(analysis);
  EXPECT_EQ(a.Value, definitions[0].Variables[1]);
  EXPECT_EQ(a.Right->HeadIntrinsic(), kEq);  // exp(y) = x
}

}  // namespace
}  // namespace lemmix
