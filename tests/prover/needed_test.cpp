// Needed conditions: the restrictions of the partial functions of a formula,
// instantiated with their arguments under the assumptions where they stand;
// type membership conditions; the instantiation of templates.
#include "prover/needed.h"

#include <gtest/gtest.h>

#include "intrinsics/intr_numbers.h"
#include "notation/output.h"
#include "prover_fixture.h"
#include "shell/cp1251.h"
#include "types/types_proccess.h"

namespace lemmix {
namespace {

// A formula and its needed conditions.
struct TNeedCase {
  std::string formula;
  std::vector<std::string> needed;
};

class NeededTest : public testing::ProverTest {
 protected:
  NeededTest() {
    const std::pair<char, const char*> objects[] = {
        {'x', "rT"},   {'y', "rT"},      {'a', "rT"},       {'b', "rT"},       {'n', "nT"},
        {'k', "zT"},   {'u', "rrT"},     {'A', "rMBESetT"}, {'B', "zMBESetT"}, {'E', "nMBESetT"},
        {'s', "SeqT"}, {'f', "rFunc1T"}, {'g', "rFunc1T"}};
    for (const auto& [letter, type] : objects) kernel.AddObject(Var(letter, -1, type), false);
  }

  TExprPtr Read(const std::string& text) { return KernelFormula(kernel, text); }

  static std::string Text(const TExpr& e) { return TreeToText(e, false, false).value_or(ToString(e)); }

  static std::string Texts(const TExprList& list) {
    std::string out;
    for (const TExprPtr& e : list) out += "\n  " + Text(*e);
    return out;
  }

  // The needed conditions of the formula; none when they cannot be computed.
  std::optional<TExprList> Needs(const TExpr& e, const TDefinedNotions* defined = nullptr, bool report = true) {
    TExprList result;
    if (!AddNeedCond(e, result, {}, TNeedContext{kernel, defined, report})) return std::nullopt;
    return result;
  }
  std::optional<TExprList> Needs(const std::string& text, const TDefinedNotions* defined = nullptr) {
    const TExprPtr e = Read(text);
    if (!e) return std::nullopt;
    return Needs(*e, defined);
  }

  // Each condition is the expected formula up to the names of bound variables.
  void ExpectConditions(const TExprList& got, const std::vector<std::string>& expected) {
    ASSERT_EQ(got.size(), expected.size()) << "got:" << Texts(got);
    for (std::size_t i = 0; i < got.size(); ++i) {
      const TExprPtr want = Read(expected[i]);
      ASSERT_TRUE(want) << expected[i];
      TBindingLists lists;
      EXPECT_EQ(Comp(*got[i], *want, &lists), 0) << Text(*got[i]) << "\n  expected " << expected[i];
      EXPECT_EQ(got[i]->Type, T("lT")) << Text(*got[i]);
      // Nothing in a condition refers to a variable bound outside it, and no
      // bound variable takes the name of an object it speaks of.
      const std::vector<TVar*> bound = CollectBound(*got[i]);
      for (const TExpr* use : CollectClass(*got[i], TClass::LocVar))
        EXPECT_NE(std::find(bound.begin(), bound.end(), use->Var()), bound.end()) << Text(*got[i]);
      for (const TExpr* object : CollectClass(*got[i], TClass::DataVar))
        for (const TVar* v : bound) EXPECT_FALSE(v->Name == object->Var()->Name) << Text(*got[i]);
    }
  }

  void ExpectNeeds(const std::vector<TNeedCase>& cases) {
    for (const TNeedCase& c : cases) {
      SCOPED_TRACE(c.formula);
      const std::optional<TExprList> got = Needs(c.formula);
      ASSERT_TRUE(got);
      ExpectConditions(*got, c.needed);
    }
  }

  TType* NewType(const std::string& name, TBase base) { return context.TypesProccess->NewType(name, base); }
  TType* Intern(TType* t) { return context.TypesProccess->Intern(t); }

  TKernel kernel;
};

const char* const kConvergent =
    "\\exists L \\in \\R : \\forall \\epsilon > 0 \\Vld \\exists N \\in \\N : \\forall n \\in \\N \\Vld n \\ge N "
    "\\implies | ";

TEST_F(NeededTest, NeededConditionsOfFormulas) {
  ExpectNeeds({
      {"1 / ( x - y ) > 0", {"\\not ( x - y = 0 )"}},
      {"\\sqrt ( x ) + \\ln ( y ) > 0", {"x \\ge 0", "y > 0"}},
      {"\\log ( a , b ) > 0", {"a > 0", "\\not ( a = 1 )", "b > 0"}},
      {"a ^ x > 0", {"a > 0 \\or a = 0 \\and x > 0"}},
      {"x ^ ( - 2 ) > 0", {"\\not ( x = 0 ) \\or - 2 > 0"}},
      {"a ^ n > 0", {}},
      {"\\sup ( A ) > 0", {"\\not ( A = \\emptyset )", "\\exists M \\in \\R : \\forall x \\in A \\Vld x \\le M"}},
      {"\\max ( A ) > 0", {"\\exists M \\in A : \\forall x \\in A \\Vld x \\le M"}},
      {"\\tg ( x ) > 0", {"\\not ( \\cos ( x ) = 0 )"}},
      // Inner functions first; a condition met twice is asked once.
      {"1 / ( 1 / x ) > 0", {"\\not ( x = 0 )", "\\not ( 1 / x = 0 )"}},
      {"1 / x + 1 / x > 0", {"\\not ( x = 0 )"}},
      // 2 is not 0: nothing to prove.
      {"1 / 2 > 0", {}},
      // Arguments wider than the function takes: their membership is needed first.
      {"\\sqrt ( u ) > 0", {"u \\in \\R", "u \\ge 0"}},
      {"s _ ( n - 1 ) > 0", {"n - 1 \\in \\N"}},
      // Where a function stands, what is assumed there is the premise; a bound
      // variable is closed over: a condition never speaks of a free one.
      {"\\forall t \\in \\R \\Vld 1 / t > 0", {"\\forall t \\in \\R \\Vld \\not ( t = 0 )"}},
      {"\\exists t \\in \\R : 1 / t = 1", {"\\forall t \\in \\R \\Vld \\not ( t = 0 )"}},
      {"\\exists t > 0 : 1 / t = 1", {"\\forall t \\in \\R \\Vld t > 0 \\implies \\not ( t = 0 )"}},
      {"\\forall t \\in \\R \\Vld t > 0 \\implies 1 / ( x \\cdot t ) > 0",
       {"\\forall t \\in \\R \\Vld t > 0 \\implies \\not ( x \\cdot t = 0 )"}},
      // Neither the variable nor what is assumed about it matters to 1/x.
      {"\\forall t \\in \\R \\Vld t > 0 \\implies 1 / x > t", {"\\not ( x = 0 )"}},
      // A premise that ties the given A to the bound D says where sup(A) is taken.
      {"\\forall D \\subset \\R \\Vld A \\subseteq D \\and D \\BoundedAbove \\implies \\sup ( A ) \\le 1",
       {"\\forall D \\subset \\R \\Vld A \\subseteq D \\and D \\BoundedAbove \\implies \\not ( A = \\emptyset )",
        "\\forall D \\subset \\R \\Vld A \\subseteq D \\and D \\BoundedAbove \\implies ( \\exists M \\in \\R : \\forall x \\in A \\Vld x \\le M )"}},
      {"x > 0 \\implies 1 / x > 0", {"x > 0 \\implies \\not ( x = 0 )"}},
      {"x > 0 \\and 1 / x > 1", {"x > 0 \\implies \\not ( x = 0 )"}},
      {"x > 0 \\or 1 / x > 1", {"\\not ( x > 0 ) \\implies \\not ( x = 0 )"}},
      // Assumed exactly: nothing left to prove.
      {"x = 0 \\or 1 / x > 1", {}},
      {"A = { 1 / t : t \\mid t > 0 }", {"\\forall t \\in \\R \\Vld t > 0 \\implies \\not ( t = 0 )"}},
      {"( \\sum n _ ( i = 1 ) ^ ( 1 / i ) ) > 0",
       {"\\forall i \\in \\Z \\Vld i \\ge 1 \\and i \\le n \\implies \\not ( i = 0 )"}},
      // A limit's restriction applies to the function of its bound variable.
      {"\\lim ( j \\Arrow \\infty , s _ j ) = 0", {std::string(kConvergent) + "s _ n - L | < \\epsilon"}},
      // 1/j is defined for every natural j: the standardisation settles it.
      {"\\lim ( j \\Arrow \\infty , 1 / j ) = 0", {std::string(kConvergent) + "1 / n - L | < \\epsilon"}},
      {"\\lim ( j \\Arrow \\infty , 1 / ( j - 2 ) ) = 0",
       {"\\forall j \\in \\N \\Vld \\not ( j - 2 = 0 )", std::string(kConvergent) + "1 / ( n - 2 ) - L | < \\epsilon"}},
      // Defined near the point is enough: ln(1 + t) only for t > -1.
      {"\\lim ( t \\Arrow 0 , \\ln ( 1 + t ) / t ) = 1",
       {"\\exists u \\in \\R : \\exists v \\in \\R : ( ( u < 0 \\or 0 = \\minusInfty ) \\and ( 0 < v \\or 0 = \\plusInfty ) ) \\and "
        "( \\forall t \\in \\R \\Vld ( u < t \\or 0 = \\minusInfty ) \\and ( t < v \\or 0 = \\plusInfty ) \\and \\not ( t = 0 ) "
        "\\implies 1 + t > 0 )",
        "\\exists L \\in \\R : \\forall \\epsilon > 0 \\Vld \\exists u \\in \\R : \\exists v \\in \\R : "
        "( u < 0 \\or 0 = \\minusInfty ) \\and ( 0 < v \\or 0 = \\plusInfty ) \\and ( \\forall x \\in \\R \\Vld "
        "( u < x \\or 0 = \\minusInfty ) \\and ( x < v \\or 0 = \\plusInfty ) \\and \\not ( x = 0 ) "
        "\\implies | \\ln ( 1 + x ) / x - L | < \\epsilon )"}},
      // From the left only the values left of the point count: sqrt(1 - t) near 1.
      {"\\lim ( t \\Arrow 1 - 0 , \\sqrt ( 1 - t ) ) = 0", 
       {"\\exists u \\in \\R : u < 1 \\and ( \\forall t \\in \\R \\Vld u < t \\and t < 1 \\implies 1 - t \\ge 0 )",
        "\\exists L \\in \\R : \\forall \\epsilon > 0 \\Vld \\exists u \\in \\R : u < 1 \\and ( \\forall x \\in \\R \\Vld "
        "u < x \\and x < 1 \\implies | \\sqrt ( 1 - x ) - L | < \\epsilon )"}},
      // Only the values near the point count: sin(t)/t needs nothing at t = 0.
      {"\\lim ( t \\Arrow 0 , \\sin ( t ) / t ) = 1",
       {"\\exists L \\in \\R : \\forall \\epsilon > 0 \\Vld \\exists u \\in \\R : \\exists v \\in \\R : "
        "( u < 0 \\or 0 = \\minusInfty ) \\and ( 0 < v \\or 0 = \\plusInfty ) \\and ( \\forall x \\in \\R \\Vld "
        "( u < x \\or 0 = \\minusInfty ) \\and ( x < v \\or 0 = \\plusInfty ) \\and \\not ( x = 0 ) "
        "\\implies | \\sin ( x ) / x - L | < \\epsilon )"}},
  });
}

TEST_F(NeededTest, ARepeatedLimitIsRefused) {
  messages.Clear();
  EXPECT_FALSE(Needs("\\lim ( t \\Arrow 0 , \\lim ( v \\Arrow t , v ) ) = 0"));
  ASSERT_FALSE(messages.Entries().empty());
  EXPECT_EQ(messages.Entries().back().message,
            (TMessage{"Повторный предел пока не реализован."_cp, "Repeated limit is not emplemented yet."}));
}

TEST_F(NeededTest, AFunctionOfFunctionsIsAppliedBeforeItsNeedsAreTaken) {
  // (f / g)(x) is defined where g(x) is not 0; that g is not the zero function says nothing of g(x).
  TExprList children;
  children.push_back(Read("f / g"));
  children.push_back(Read("x"));
  const TExprPtr e = ApplyIntr(kGt, TExpr::Compound(std::move(children)), N(0));
  ASSERT_TRUE(Retype(*e, true));
  const std::optional<TExprList> got = Needs(*e);
  ASSERT_TRUE(got);
  ExpectConditions(*got, {"\\not ( g ( x ) = 0 )"});
}

TEST_F(NeededTest, WhatHoldsAlreadyIsNotAsked) {
  ASSERT_TRUE(kernel.AddGivenCond(*Read("\\not ( x - y = 0 )")));
  ASSERT_TRUE(kernel.AddGivenCond(*Read("\\forall t \\in \\R \\Vld t > 0 \\implies \\not ( t = 0 )")));
  ExpectNeeds({
      {"1 / ( x - y ) > 0", {}},
      // Given up to the standardisation: y - x = 0 is x - y = 0.
      {"1 / ( y - x ) > 0", {}},
      {"1 / ( x - y ) + 1 / ( x + y ) > 0", {"\\not ( x + y = 0 )"}},
      {"A = { 1 / t : t \\mid t > 0 }", {}},
  });
}

TEST_F(NeededTest, NewConditionsAreAppendedOnce) {
  TExprList result;
  result.push_back(Read("\\not ( x = 0 )"));
  ASSERT_TRUE(AddNeedCond(*Read("1 / x + 1 / y > 0"), result, {}, {kernel}));
  ExpectConditions(result, {"\\not ( x = 0 )", "\\not ( y = 0 )"});
}

TEST_F(NeededTest, TheCallersAssumptionsAreKept) {
  const TVarPtr t = Var('t');
  TAssumptions assumptions;
  assumptions.Variables.push_back(t);
  assumptions.Conditions.push_back(ApplyIntr(kGt, Loc(t), N(1)));
  ASSERT_TRUE(Retype(*assumptions.Conditions.back(), true));
  const TExprPtr e = ApplyIntr(kDivide, N(1), Loc(t));
  ASSERT_TRUE(Retype(*e, true));
  TExprList result;
  ASSERT_TRUE(AddNeedCond(*e, result, assumptions, {kernel}));
  ExpectConditions(result, {"\\forall t \\in \\R \\Vld t > 1 \\implies \\not ( t = 0 )"});
}

TEST_F(NeededTest, ANotionNotDefinedYetFails) {
  const TExprPtr e = Read("\\sup ( A ) > 0");
  ASSERT_TRUE(e);
  TDefinedNotions none;
  messages.Clear();
  EXPECT_FALSE(Needs(*e, &none));
  ASSERT_EQ(messages.Entries().size(), 1u);
  EXPECT_EQ(messages.Entries().back().message,
            (TMessage{"Была использована функция, которая еще не определена: \\sup"_cp,
                      "Function is not defined yet: \\sup"}));
  // Silent when no report is asked; it still fails.
  messages.Clear();
  EXPECT_FALSE(Needs(*e, &none, false));
  EXPECT_TRUE(messages.Entries().empty());

  TDefinedNotions supremum;
  supremum.Add(F(46), T("SupT"));
  const std::optional<TExprList> got = Needs(*e, &supremum);
  ASSERT_TRUE(got);
  EXPECT_EQ(got->size(), 2u);
  // A notion open from the start needs no definition.
  EXPECT_TRUE(Needs(*Read("\\sqrt ( x ) > 0"), &none));
}

TEST_F(NeededTest, AnArgumentOfAnotherKindIsRefused) {
  messages.Clear();
  EXPECT_FALSE(Needs("f + 1 > 0"));
  ASSERT_FALSE(messages.Entries().empty());
  EXPECT_EQ(messages.Entries().back().message,
            (TMessage{"Выражение f\\n должно иметь тип \"вещественное число\""_cp,
                      "The type of expression f\\n must be \"вещественное число\""_cp}));
}

TEST_F(NeededTest, AnExistenceInASetThatIsNotEmptyHoldsByType) {
  // A function of sets restricted to the sets with an element.
  TType* restricted = NewType("", TBase::Fun);
  restricted->Fun()->Args = {T("AnySetT")};
  restricted->Fun()->Value = T("rT");
  restricted->Fun()->Restrictions = std::vector<std::string>{"\\exists y \\in #0 : \\true"};
  restricted = Intern(restricted);
  kernel.AddObject(std::make_shared<TVar>(TVar{{'F', -1}, restricted}), false);
  ExpectNeeds({
      {"F ( \\N ) > 0", {}},
      {"F ( { 1 , 2 } ) > 0", {}},
      {"F ( A ) > 0", {"\\exists y \\in A : \\true"}},
  });
}

TEST_F(NeededTest, TypeMembershipConditions) {
  TType* nonEmptyNaturals = NewType("", TBase::Set);
  *nonEmptyNaturals->Set() = {T("nT"), false, false};
  nonEmptyNaturals = Intern(nonEmptyNaturals);
  const struct {
    std::string value;
    TType* target;
    std::optional<std::vector<std::string>> conditions;
  } cases[] = {
      {"x", T("nT"), {{"x \\in \\N"}}},
      {"k", T("nT"), {{"k \\in \\N"}}},
      {"u", T("rT"), {{"u \\in \\R"}}},
      {"n", T("rT"), {{}}},
      {"f", T("rT"), std::nullopt},
      {"s", T("ZSeqT"), {{"\\forall x \\in \\N \\Vld s _ x \\in \\Z"}}},
      {"s", T("rFunc1T"), std::nullopt},
      {"A", T("rFinSetT"), {{"\\not ( A = \\emptyset )", "A \\finite"}}},
      {"A", T("zMBESetT"), {{"\\forall x \\in \\R \\Vld x \\in A \\implies x \\in \\Z"}}},
      {"A", T("lSetT"), std::nullopt},
      {"{ t : t > x }", T("zMBESetT"), {{"\\forall y \\in \\R \\Vld y \\in { t : t > x } \\implies y \\in \\Z"}}},
      {"B", T("rMBESetT"), {{}}},
      {"E", nonEmptyNaturals, {{"\\not ( E = \\emptyset )"}}},
      {"\\N", nonEmptyNaturals, {{}}},
      {"\\emptyset", T("rMBESetT"), {{}}},
      {"\\emptyset", T("rFinSetT"), {{"\\not ( \\emptyset = \\emptyset )"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value + " to " + c.target->Name);
    const TExprPtr value = Read(c.value);
    ASSERT_TRUE(value);
    const std::optional<TExprList> got = TypeMembershipConditions(*value, *c.target, {}, kernel);
    ASSERT_EQ(got.has_value(), c.conditions.has_value());
    if (got) ExpectConditions(*got, *c.conditions);
  }
}

TEST_F(NeededTest, TypeMembershipUnderAssumptions) {
  const TVarPtr t = Var('t');
  TAssumptions assumptions;
  assumptions.Variables.push_back(t);
  assumptions.Conditions.push_back(ApplyIntr(kGt, Loc(t), N(0)));
  ASSERT_TRUE(Retype(*assumptions.Conditions.back(), true));
  const std::optional<TExprList> got = TypeMembershipConditions(*Loc(t), *T("nT"), assumptions, kernel);
  ASSERT_TRUE(got);
  ExpectConditions(*got, {"\\forall t \\in \\R \\Vld t > 0 \\implies t \\in \\N"});
}

TEST_F(NeededTest, TemplatesResolveTheirNamesAgainstTheKernel) {
  const TExprPtr y = Read("y");
  const TExprPtr two = N(2);
  const TExprPtr instance = InstantiateTemplate("#0 + #1 > x", {y.get(), two.get()}, kernel);
  ASSERT_TRUE(instance);
  TBindingLists lists;
  EXPECT_EQ(Comp(*instance, *Read("y + 2 > x"), &lists), 0) << Text(*instance);

  // A template parameter that is itself a template is applied where the text applies it.
  TExprPtr term = C(Read("s"), Par(1, "nT"));
  ASSERT_NE(ExprType(*term, true), nullptr);
  const TExprPtr sequence = TExpr::Templ(std::move(term));
  TExprList applied;
  applied.push_back(InstantiateTemplate("\\forall n \\in \\N \\Vld #0 ( n ) > 0", {sequence.get()}, kernel));
  ASSERT_TRUE(applied.front());
  ExpectConditions(applied, {"\\forall n \\in \\N \\Vld s _ n > 0"});

  // The text's own bound variables keep clear of the names put in.
  const TExprPtr named = InstantiateTemplate("\\exists y \\in \\R : y > #0", {y.get()}, kernel);
  ASSERT_TRUE(named && named->Bound);
  EXPECT_NE(named->Bound->front()->Name, (TVarName{'y', -1}));
  EXPECT_TRUE(ContainsPayload(*named, TClass::DataVar, y->Var()));

  messages.Clear();
  EXPECT_FALSE(InstantiateTemplate("#0 > q", {y.get()}, kernel));
  EXPECT_FALSE(InstantiateTemplate("#3 > 0", {y.get()}, kernel));
  EXPECT_FALSE(messages.Entries().empty());
}

TEST_F(NeededTest, TemplatesArePlacedUnderTheAssumptions) {
  const TVarPtr t = Var('t');
  const TExprPtr value = Loc(t);
  TAssumptions assumptions;
  assumptions.Variables.push_back(t);
  assumptions.Conditions.push_back(ApplyIntr(kGt, Loc(t), N(1)));
  ASSERT_TRUE(Retype(*assumptions.Conditions.back(), true));
  TExprList got;
  got.push_back(InstantiateTemplate("\\not ( #0 = 0 )", {value.get()}, kernel, assumptions));
  // A variable bound outside is bound in the instance even when nobody said where.
  got.push_back(InstantiateTemplate("\\not ( #0 = 0 )", {value.get()}, kernel));
  ASSERT_TRUE(got[0] && got[1]);
  ExpectConditions(
      got, {"\\forall t \\in \\R \\Vld t > 1 \\implies \\not ( t = 0 )", "\\forall t \\in \\R \\Vld \\not ( t = 0 )"});
}

}  // namespace
}  // namespace lemmix
