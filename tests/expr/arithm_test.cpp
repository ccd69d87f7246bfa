// Arithmetic normalisation: the rules on their examples; the inputs that
// once came out wrong; and randomised checks, with fixed seeds, that a
// standardised term keeps its value and its domain, that a simplified
// relation keeps its truth wherever it is defined and stays undefined where
// it is not, and that equal inputs in different shapes come out the same.
#include "expr/arithm.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>

#include "expr/typing.h"
#include "expr_fixture.h"
#include "notation/parser.h"
#include "shell/cp1251.h"

namespace lemmix {
namespace {

class ArithmTest : public testing::ExprTest {
 protected:
  TExprPtr D(const TVarPtr& v) {
    TExprPtr e = TExpr::VarRef(TClass::DataVar, *v);
    e->Type = v->Type;
    return e;
  }
  TExprPtr X() { return D(x); }
  TExprPtr Y() { return D(y); }
  TExprPtr Q(std::int64_t p, std::int64_t q) { return TExpr::Number(*TNumber::Fraction(p, q)); }
  template <typename... A>
  TExprPtr Make(int head, A... args) {
    TExprPtr e = C(I(head), std::move(args)...);
    ExprType(*e, true);
    return e;
  }
  template <typename... A>
  TExprPtr Sum(A... a) { return Make(3, std::move(a)...); }
  template <typename... A>
  TExprPtr Prod(A... a) { return Make(4, std::move(a)...); }
  TExprPtr Pow(TExprPtr a, TExprPtr b) { return Make(6, std::move(a), std::move(b)); }
  TExprPtr Div(TExprPtr a, TExprPtr b) { return Make(5, std::move(a), std::move(b)); }
  TExprPtr Neg(TExprPtr a) { return Make(2, std::move(a)); }
  TExprPtr Rel(int head, TExprPtr a, TExprPtr b) { return Make(head, std::move(a), std::move(b)); }
  TExprPtr True() { return I(130, "lT"); }
  TExprPtr False() { return I(131, "lT"); }

  // The standardised form of e, compared with what it must be.
  void ExpectStandard(TExprPtr e, const TExprPtr& expected) {
    const std::string input = ToString(*e);
    Standardize(*e);
    EXPECT_TRUE(Equal(*e, *expected)) << input << "\n  gave " << ToString(*e) << "\n  expected " << ToString(*expected);
  }
  void ExpectCondition(TExprPtr e, const TExprPtr& expected) {
    const std::string input = ToString(*e);
    SimplifyCondition(*e);
    EXPECT_TRUE(Equal(*e, *expected)) << input << "\n  gave " << ToString(*e) << "\n  expected " << ToString(*expected);
  }

  TVarPtr x = Var('x');
  TVarPtr y = Var('y');
  TVarPtr z = Var('z');
};

TEST_F(ArithmTest, SumsCombineLikeTermsWithTheConstantLast) {
  ExpectStandard(Sum(X(), N(2), X(), N(3)), Sum(Prod(N(2), X()), N(5)));
  ExpectStandard(Sum(Prod(N(2), X()), Prod(N(-2), X())), N(0));
  ExpectStandard(Sum(X(), Neg(X())), N(0));
  ExpectStandard(Sum(N(1), N(2)), N(3));
  ExpectStandard(Sum(Prod(X(), Y()), Prod(N(3), Y(), X())), Prod(N(4), X(), Y()));
  // No 0 term stays, no sum in a sum, no product in a product.
  ExpectStandard(Sum(X(), N(0), Sum(Y(), N(0))), Sum(X(), Y()));
  ExpectStandard(Prod(X(), Prod(Y(), N(1))), Prod(X(), Y()));
}

TEST_F(ArithmTest, PowersAndProducts) {
  ExpectStandard(Pow(Prod(X(), Y()), N(2)), Prod(Pow(X(), N(2)), Pow(Y(), N(2))));
  ExpectStandard(Pow(Pow(X(), N(2)), N(3)), Pow(X(), N(6)));
  ExpectStandard(Pow(N(2), Sum(Y(), N(3))), Prod(N(8), Pow(N(2), Y())));
  ExpectStandard(Pow(N(1), X()), N(1));
  ExpectStandard(Prod(X(), X(), X()), Pow(X(), N(3)));
  ExpectStandard(Prod(N(2), N(3), X(), N(0)), N(0));
  ExpectStandard(Make(5, X(), N(4)), Prod(Q(1, 4), X()));
  ExpectStandard(Pow(N(4), Q(1, 2)), N(2));
  ExpectStandard(Pow(Q(8, 27), Q(-2, 3)), Q(9, 4));
  // A power of a sum stays as it is; inside a sum it is expanded.
  ExpectStandard(Pow(Sum(X(), N(1)), N(2)), Pow(Sum(X(), N(1)), N(2)));
  ExpectStandard(Sum(Pow(Sum(X(), N(1)), N(2)), N(-1)), Sum(Pow(X(), N(2)), Prod(N(2), X())));
}

// Where a term is undefined at some point, its standard form is undefined
// there too: what is cancelled leaves x^0 (1 wherever x is not 0).
TEST_F(ArithmTest, CancellationKeepsTheDomain) {
  ExpectStandard(Prod(X(), Pow(X(), N(-1))), Pow(X(), N(0)));
  ExpectStandard(Prod(Pow(X(), N(-1)), Pow(X(), N(2))), Prod(X(), Pow(X(), N(0))));
  ExpectStandard(Pow(Pow(X(), N(-1)), N(-1)), Prod(X(), Pow(X(), N(0))));
  ExpectStandard(Pow(X(), N(0)), Pow(X(), N(0)));
  ExpectStandard(Pow(N(0), X()), Pow(N(0), X()));
  ExpectStandard(Pow(N(0), Q(1, 2)), N(0));
  // 1/x - 1/x is 0 only where 1/x is defined.
  TExprPtr difference = Sum(Div(N(1), X()), Neg(Div(N(1), X())));
  Standardize(*difference);
  EXPECT_FALSE(difference->Class == TClass::Number) << ToString(*difference);
  EXPECT_FALSE(IsEverywhereDefined(*difference)) << ToString(*difference);
  // 0 * (1/x) is not 0 at x = 0.
  TExprPtr zero = Prod(N(0), Div(N(1), X()));
  Standardize(*zero);
  EXPECT_FALSE(zero->Class == TClass::Number) << ToString(*zero);
  // With a positive base the exponents add freely.
  ExpectStandard(Prod(Pow(N(2), Y()), Pow(N(2), Neg(Y()))), N(1));
  TVarPtr n = Var('n', -1, "nT");
  ExpectStandard(Prod(Pow(D(n), Q(1, 2)), Pow(D(n), Q(1, 2))), D(n));
  EXPECT_TRUE(messages.Entries().empty());
}

TEST_F(ArithmTest, PowersWithFractionalExponents) {
  // (x^2)^(1/2) is |x|, not x; (x^3)^(1/3) is x where it is defined (x >= 0).
  ExpectStandard(Pow(Pow(X(), N(2)), Q(1, 2)), Pow(Pow(X(), N(2)), Q(1, 2)));
  ExpectStandard(Pow(Pow(X(), N(3)), Q(1, 3)), Pow(Pow(X(), N(3)), Q(1, 3)));
  // (x^(1/2))^4 is x^2 only where x >= 0: it stays; (x^(1/2))^3 keeps its domain as x^(3/2).
  ExpectStandard(Pow(Pow(X(), Q(1, 2)), N(4)), Pow(Pow(X(), Q(1, 2)), N(4)));
  ExpectStandard(Pow(Pow(X(), Q(1, 2)), N(3)), Pow(X(), Q(3, 2)));
  // (xy)^(1/2) splits only where it keeps the domain: 4x splits, xy does not.
  ExpectStandard(Pow(Prod(N(4), X()), Q(1, 2)), Prod(N(2), Pow(X(), Q(1, 2))));
  ExpectStandard(Pow(Prod(X(), Y()), Q(1, 2)), Pow(Prod(X(), Y()), Q(1, 2)));
  // No real number has a root of a negative base.
  ExpectStandard(Pow(N(-8), Q(1, 3)), Pow(N(-8), Q(1, 3)));
  ExpectStandard(Pow(N(2), Q(1, 2)), Pow(N(2), Q(1, 2)));
}

TEST_F(ArithmTest, Factorisation) {
  const auto factorized = [&](TExprPtr e, const TExprPtr& expected) {
    EXPECT_TRUE(Factorize(*e)) << ToString(*e);
    EXPECT_TRUE(Equal(*e, *expected)) << ToString(*e) << "\n  expected " << ToString(*expected);
  };
  // x^2 - 5x + 6 = (x + (-3)) (x + (-2))
  factorized(Sum(Pow(X(), N(2)), Prod(N(-5), X()), N(6)), Prod(Sum(X(), N(-3)), Sum(X(), N(-2))));
  // 2x^2 - 8 = (x + (-2)) (x + 2) * 2, the factor 2 last
  TExprPtr two = Sum(Prod(N(2), Pow(X(), N(2))), N(-8));
  ASSERT_TRUE(Factorize(*two));
  ASSERT_EQ(two->HeadIntrinsic(), 4);
  EXPECT_TRUE(Equal(*ArgByPath(*two, 2), *N(2)));
  EXPECT_TRUE(Equal(*ArgByPath(*two, 1), *Prod(Sum(X(), N(-2)), Sum(X(), N(2)))));
  // 3x + 6 = 3 (x + 2); x^2 + 2x = x (x + 2), no x + 0.
  factorized(Sum(Prod(N(3), X()), N(6)), Prod(N(3), Sum(X(), N(2))));
  factorized(Sum(Pow(X(), N(2)), Prod(N(2), X())), Prod(X(), Sum(X(), N(2))));
  // Fraction coefficients, rational roots: x^2 - (43/12) x - 5/3 = (x - 4)(x + 5/12).
  factorized(Sum(Pow(X(), N(2)), Prod(Q(-43, 12), X()), Q(-5, 3)), Prod(Sum(X(), N(-4)), Sum(X(), Q(5, 12))));
  // x^2 + 1 has no real roots, x^2 - 2 no rational ones; x + 1 and x*y + 1 are no such polynomials.
  EXPECT_FALSE(Factorize(*Sum(Pow(X(), N(2)), N(1))));
  EXPECT_FALSE(Factorize(*Sum(Pow(X(), N(2)), N(-2))));
  EXPECT_FALSE(Factorize(*Sum(X(), N(1))));
  EXPECT_FALSE(Factorize(*Sum(Prod(X(), Y()), N(1))));
  // As a factor of a product x^2 + 2x + 1 becomes (x + 1)^2, the root an exact integer.
  TExprPtr product = Prod(Y(), Sum(Pow(X(), N(2)), Prod(N(2), X()), N(1)));
  SimplifyProduct(*product);
  EXPECT_TRUE(Equal(*product, *Prod(Y(), Pow(Sum(X(), N(1)), N(2))))) << ToString(*product);
  // The new factors are simplified: y (x^2 + 2x) is x y (x + 2).
  TExprPtr shared = Prod(Y(), Sum(Pow(X(), N(2)), Prod(N(2), X())));
  Standardize(*shared);
  EXPECT_EQ(ToString(*shared), ToString(*Prod(X(), Y(), Sum(X(), N(2)))));
}

TEST_F(ArithmTest, QuadraticCoefficients) {
  TQuadratic q;
  EXPECT_EQ(QuadraticCoeff(*Sum(Prod(N(2), Pow(X(), N(2))), X(), N(-1)), q), 0);
  EXPECT_EQ(q.Variable, x.get());
  EXPECT_EQ(q.A, TNumber(std::int32_t{2}));
  EXPECT_EQ(q.B, TNumber(std::int32_t{1}));
  EXPECT_EQ(q.C, TNumber(std::int32_t{-1}));
  TExprPtr required = TExpr::VarRef(TClass::ProveVar, *z);
  required->Type = z->Type;
  EXPECT_EQ(QuadraticCoeff(*Sum(std::move(required), N(1)), q), 1);
  EXPECT_EQ(q.VariableClass, TClass::ProveVar);
  EXPECT_EQ(QuadraticCoeff(*Sum(X(), Y()), q), -1);
  EXPECT_EQ(QuadraticCoeff(*Sum(Pow(X(), N(3)), N(1)), q), -1);
  EXPECT_TRUE(messages.Entries().empty());
  EXPECT_EQ(QuadraticCoeff(*Sum(X(), X()), q), -1);
  EXPECT_EQ(messages.Entries().back().message.Eng, "Error 2 in QuadraticCoeff (Arithm)");
}

TEST_F(ArithmTest, ConditionsWithNumbersAndConnectives) {
  ExpectCondition(Rel(12, N(5), N(0)), False());
  ExpectCondition(Rel(13, N(3), N(3)), True());
  ExpectCondition(Rel(9, Q(1, 2), Q(2, 4)), True());
  ExpectCondition(Make(58, Rel(11, X(), N(0)), Rel(12, N(5), N(0))), False());
  ExpectCondition(Make(59, Rel(11, X(), N(0)), Rel(13, N(3), N(3))), True());
  ExpectCondition(Make(55, Rel(12, N(5), N(0))), True());
  ExpectCondition(Make(58, Rel(13, N(3), N(3)), Rel(11, X(), N(0))), Rel(11, X(), N(0)));
  // A false argument decides a conjunction only where the others are defined.
  TExprPtr partial = Make(58, Rel(12, N(5), N(0)), Rel(11, Div(N(1), X()), N(0)));
  SimplifyCondition(*partial);
  EXPECT_FALSE(partial->IsIntr(131)) << ToString(*partial);
}

TEST_F(ArithmTest, RelationsAreReducedAgainstZero) {
  // x < y becomes y - x > 0 in standard form.
  ExpectCondition(Rel(12, X(), Y()), Rel(11, Sum(Y(), Prod(N(-1), X())), N(0)));
  // Powers: odd exponents drop, even ones decide.
  ExpectCondition(Rel(11, Pow(X(), N(3)), N(0)), Rel(11, X(), N(0)));
  ExpectCondition(Rel(13, Pow(X(), N(2)), N(0)), True());
  ExpectCondition(Rel(11, Pow(X(), N(2)), N(0)), Make(55, Rel(9, X(), N(0))));
  ExpectCondition(Rel(11, Neg(Pow(X(), N(2))), N(0)), False());
  ExpectCondition(Rel(9, Pow(X(), N(4)), N(0)), Rel(9, X(), N(0)));
  // A negated odd power: -(x^3) > 0 is 0 > x, -(x^3) >= 0 is 0 >= x.
  TExprPtr below = Rel(11, N(0), X());
  SimplifyCondition(*below);
  ExpectCondition(Rel(11, Neg(Pow(X(), N(3))), N(0)), below);
  TExprPtr belowOrZero = Rel(13, N(0), X());
  SimplifyCondition(*belowOrZero);
  ExpectCondition(Rel(13, Neg(Pow(X(), N(3))), N(0)), belowOrZero);
  EXPECT_FALSE(Equal(*below, *belowOrZero));
  // Products.
  ExpectCondition(Rel(9, Prod(X(), Y()), N(0)), Make(59, Rel(9, X(), N(0)), Rel(9, Y(), N(0))));
  ExpectCondition(Rel(11, Prod(N(2), X()), N(0)), Rel(11, X(), N(0)));
  ExpectCondition(Rel(11, Prod(N(-3), X()), N(0)), Rel(11, Prod(N(-1), X()), N(0)));
  // Quadratics: one with real roots is factored and split by the product rule,
  // one without has one sign everywhere.
  TExprPtr factored = Rel(11, Sum(Pow(X(), N(2)), Prod(N(-3), X()), N(2)), N(0));
  SimplifyCondition(*factored);
  EXPECT_EQ(factored->HeadIntrinsic(), 59) << ToString(*factored);
  EXPECT_FALSE(ContainsPayload(*factored, TClass::Intr, &F(6))) << ToString(*factored);
  ExpectCondition(Rel(11, Sum(Pow(X(), N(2)), N(1)), N(0)), True());
  ExpectCondition(Rel(9, Sum(Pow(X(), N(2)), N(1)), N(0)), False());
  ExpectCondition(Rel(12, Sum(Pow(Y(), N(2)), Y(), N(7)), N(0)), False());
  ExpectCondition(Rel(14, Sum(Prod(N(-1), Pow(Y(), N(2))), Y(), N(-7)), N(0)), True());
  // An integer sum cannot equal a fraction.
  TVarPtr n = Var('n', -1, "zT");
  ExpectCondition(Rel(9, Sum(Prod(N(2), D(n)), Q(1, 2)), N(0)), False());
  EXPECT_TRUE(messages.Entries().empty());
}

TEST_F(ArithmTest, UntypedSidesAreReported) {
  TExprPtr e = C(I(9), V('u', -1, nullptr), N(0));
  EXPECT_FALSE(SimplifyCondition(*e));
  EXPECT_EQ(messages.Entries().back().message,
            (TMessage{"Не определен тип упрощаемого выражения."_cp, "The type of simplified expression is not defined."}));
}

TEST_F(ArithmTest, LinearEquations) {
  TExprPtr solution = SolveLinear(*Rel(9, Sum(Prod(N(2), X()), N(4)), N(0)), *X());
  ASSERT_TRUE(solution);
  EXPECT_TRUE(Equal(*solution, *N(-2))) << ToString(*solution);
  // y*x - 3 = 0 is solved for x only where y is known not to be 0.
  EXPECT_EQ(SolveLinear(*Rel(9, Sum(Prod(Y(), X()), N(-3)), N(0)), *X()), nullptr);
  TExprPtr general = SolveLinear(*Rel(9, Sum(Prod(Y(), X()), N(-3)), N(0)), *X(),
                                 [&](const TExpr& k) { return Equal(k, *Y()); });
  ASSERT_TRUE(general);
  EXPECT_TRUE(Equal(*general, *Prod(N(3), Pow(Y(), N(-1))))) << ToString(*general);
  // a x + a y = 0 does not give x = -y: a may be 0.
  TVarPtr a = Var('a');
  EXPECT_EQ(SolveLinear(*Rel(9, Sum(Prod(D(a), X()), Prod(D(a), Y())), N(0)), *X()), nullptr);
  // x/2 + x/3 - 5 = 0: x = 6.
  TExprPtr halves = SolveLinear(*Rel(9, Sum(Div(X(), N(2)), Div(X(), N(3)), N(-5)), N(0)), *X());
  ASSERT_TRUE(halves);
  EXPECT_TRUE(Equal(*halves, *N(6))) << ToString(*halves);
  EXPECT_EQ(SolveLinear(*Rel(9, Prod(X(), X()), N(0)), *X()), nullptr);  // not linear
  EXPECT_EQ(SolveLinear(*Rel(9, Y(), N(0)), *X()), nullptr);             // no x
  EXPECT_EQ(SolveLinear(*Rel(9, X(), N(1)), *X()), nullptr);             // not L = 0
  TExprPtr zero = SolveLinear(*Rel(9, Prod(N(5), X()), N(0)), *X());
  ASSERT_TRUE(zero);
  EXPECT_TRUE(Equal(*zero, *N(0)));
}

TEST_F(ArithmTest, DivisionByZeroStaysAsWritten) {
  TExprPtr e = Div(X(), N(0));
  Standardize(*e);
  EXPECT_EQ(e->HeadIntrinsic(), 5) << ToString(*e);
  EXPECT_EQ(messages.Entries().back().message.Eng, "Division by zero");
}

TEST_F(ArithmTest, OverflowLeavesTermsUnevaluated) {
  // 2^40 does not fit: the power stays, and so does a relation about it.
  TExprPtr big = Pow(N(2), N(40));
  Standardize(*big);
  EXPECT_EQ(big->HeadIntrinsic(), 6) << ToString(*big);
  TExprPtr sum = Sum(N(2147483647), N(1), X());
  Standardize(*sum);
  EXPECT_FALSE(ContainsClass(*sum, TClass::Number) && sum->HeadIntrinsic() != 3) << ToString(*sum);
  TExprPtr relation = Rel(11, Pow(N(3), N(50)), Pow(N(2), N(70)));
  SimplifyCondition(*relation);
  EXPECT_FALSE(relation->IsIntr(130) || relation->IsIntr(131)) << ToString(*relation);
  EXPECT_TRUE(messages.Entries().empty());
}

// ---------------------------------------------------------------------------
// Inputs that once came out wrong, read as a student types them.

class ArithmTextTest : public ArithmTest {
 protected:
  struct Result {
    std::string input;
    TExprPtr tree;
  };
  // The formula's free variables live as long as the fixture.
  TExprPtr Read(const char* text) {
    TReadFormula formula = ReadFormula(text);
    EXPECT_TRUE(formula.Tree) << text;
    if (!formula.Tree) return nullptr;
    free.insert(free.end(), formula.Free.begin(), formula.Free.end());
    return std::move(formula.Tree);
  }
  TExprPtr Normal(const char* text) {
    TExprPtr e = Read(text);
    if (!e) return nullptr;
    if (e->Type && e->Type->Name == "lT") SimplifyCondition(*e);
    else Standardize(*e);
    return e;
  }
  bool Decided(const TExpr& e) { return e.IsIntr(130) || e.IsIntr(131); }
  TVarList free;
};

TEST_F(ArithmTextTest, UndefinedTermsAreNeitherNumbersNorDecided) {
  for (const char* text : {"0 ^ ( - 1 )", "( z - z ) ^ ( - 1 )", "0 ^ 0", "( - 8 ) ^ ( 1 / 3 )", "x / 0", "1 / ( x - x )"}) {
    TExprPtr e = Normal(text);
    ASSERT_TRUE(e);
    EXPECT_NE(e->Class, TClass::Number) << text << " gave " << ToString(*e);
    EXPECT_FALSE(IsEverywhereDefined(*e)) << text << " gave " << ToString(*e);
  }
  for (const char* text : {"1 / ( x - x ) = 0", "0 ^ ( - 2 ) = 0", "( - 8 ) ^ ( 1 / 3 ) = 2", "( x ^ 2 ) ^ ( 1 / 2 ) = x",
                           "x \\cdot x ^ ( - 1 ) = 1", "x ^ 0 = 1", "1 / x - 1 / x = 0", "0 \\cdot ( 1 / x ) = 0",
                           "( 1 / x ) ^ 2 \\ge 0", "x ^ ( - 2 ) > 0", "x ^ ( 1 / 2 ) \\ge 0", "2 < 1 \\and 1 / x > 0"}) {
    TExprPtr e = Normal(text);
    ASSERT_TRUE(e);
    EXPECT_FALSE(Decided(*e)) << text << " gave " << ToString(*e);
  }
}

TEST_F(ArithmTextTest, ExactValuesDecide) {
  const struct {
    const char* text;
    bool truth;
  } cases[] = {{"0.1 + 0.2 > 0.3", false}, {"0.1 + 0.2 = 0.3", true},   {"4 ^ ( 1 / 2 ) = 2", true},
               {"8 ^ ( 2 / 3 ) = 4", true}, {"3.05 = 3.5", false},      {"0.001 \\cdot 1000 = 1", true},
               {"y ^ 2 + y + 7 < 0", false}, {"y ^ 2 + y + 7 > 0", true}, {"- y ^ 2 + y - 7 \\ge 0", false},
               {"( 1 / 3 ) \\cdot x ^ 2 + 1 / 5 > 0", true}};
  for (const auto& c : cases) {
    TExprPtr e = Normal(c.text);
    ASSERT_TRUE(e);
    EXPECT_TRUE(e->IsIntr(c.truth ? 130 : 131)) << c.text << " gave " << ToString(*e);
  }
}

TEST_F(ArithmTextTest, NoRoundedNumberEntersACondition) {
  for (const char* text : {"x > 2 \\cdot x ^ 2 - 15", "( 43 / 12 ) \\cdot x = x ^ 2 - 5 / 3", "x ^ 2 = 2",
                           "x ^ 2 - 2 > 0", "2 \\cdot x ^ 2 - 15 < 0", "x ^ 2 - x - 1 \\ge 0", "x = 3.05"}) {
    TExprPtr e = Normal(text);
    ASSERT_TRUE(e);
    for (const TExpr* n : CollectClass(*e, TClass::Number)) {
      const TNumber& value = *n->NumberValue();
      EXPECT_TRUE(value.IsInteger() || value.IsFraction() || std::string(text) == "x = 3.05")
          << text << " gave " << ToString(*e);
    }
  }
  // The rational roots of (43/12) x = x^2 - 5/3 are 4 and -5/12, exactly.
  TExprPtr e = Normal("( 43 / 12 ) \\cdot x = x ^ 2 - 5 / 3");
  ASSERT_EQ(e->HeadIntrinsic(), 59) << ToString(*e);
  EXPECT_NE(ToString(*e).find("(5/12)"), std::string::npos) << ToString(*e);
  EXPECT_NE(ToString(*e).find("number,-4)"), std::string::npos) << ToString(*e);
}

TEST_F(ArithmTextTest, EqualInputsInDifferentShapesComeOutTheSame) {
  const struct {
    const char* a;
    const char* b;
  } pairs[] = {{"x + z", "z + x"},
               {"x ^ 2 + 2 \\cdot x + 1", "2 \\cdot x + x ^ 2 + 1"},
               {"x + 2 \\cdot y + 1 \\le 0", "2 \\cdot y + x + 1 \\le 0"},
               {"x \\cdot y \\cdot z", "z \\cdot ( y \\cdot x )"},
               {"x - y = 0", "y - x = 0"},
               {"x < y", "y > x"},
               {"x ^ 2 \\cdot y + y \\cdot x", "x \\cdot y + y \\cdot x ^ 2"},
               {"1 / x + 1 / y", "1 / y + 1 / x"},
               {"( x + 1 ) \\cdot ( x - 1 ) = 0", "( x - 1 ) \\cdot ( 1 + x ) = 0"}};
  for (const auto& p : pairs) {
    TExprPtr a = Normal(p.a);
    TExprPtr b = Normal(p.b);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(ToString(*a), ToString(*b)) << p.a << "  vs  " << p.b;
  }
}

// ---------------------------------------------------------------------------
// Randomised checks. Values are computed exactly; a power whose exact value
// does not exist is followed as a long double and compared with a tolerance.

using Point = std::map<const TVar*, TNumber>;

struct Value {
  bool exact = true;
  TNumber q;
  long double approx = 0;
  long double Approx() const { return exact ? static_cast<long double>(q.Num()) / q.Den() : approx; }
};

// A defined value, undefined (the input is outside the domain), or unknown
// (too large to follow exactly, or too close to call).
struct Eval {
  enum State { Defined, Undefined, Unknown } state = Unknown;
  Value value;
  static Eval Of(const TNumber& n) { return {Defined, {true, n, 0}}; }
  static Eval Approximate(long double x) {
    if (!std::isfinite(x) || std::fabs(x) > 1e15L) return {Unknown, {}};
    return {Defined, {false, TNumber(), x}};
  }
};

// -1, 0, 1, or nothing when too close to call.
std::optional<int> SignOf(const Value& v) {
  if (v.exact) return (v.q.Num() > 0) - (v.q.Num() < 0);
  if (std::fabs(v.approx) < 1e-9L) return std::nullopt;
  return v.approx > 0 ? 1 : -1;
}

Eval Evaluate(const TExpr& e, const Point& at, IMessages& quiet) {
  if (const TNumber* n = e.NumberValue()) return Eval::Of(*n);
  if (e.IsVar()) return Eval::Of(at.at(e.Var()));
  std::vector<Eval> args;
  for (std::size_t i = 1; i < e.Children().size(); ++i) args.push_back(Evaluate(*e.Children()[i], at, quiet));
  for (const Eval& a : args)
    if (a.state == Eval::Undefined) return a;
  for (const Eval& a : args)
    if (a.state == Eval::Unknown) return a;
  const auto allExact = [&] {
    return std::all_of(args.begin(), args.end(), [](const Eval& a) { return a.value.exact; });
  };
  switch (e.HeadIntrinsic()) {
    case 3:
    case 4: {
      const bool sum = e.HeadIntrinsic() == 3;
      if (allExact()) {
        TNumber r(std::int32_t{sum ? 0 : 1});
        for (const Eval& a : args) {
          const std::optional<TNumber> next = sum ? Add(r, a.value.q) : Multiply(r, a.value.q);
          if (!next) return {};
          r = *next;
        }
        return Eval::Of(r);
      }
      long double r = sum ? 0 : 1;
      for (const Eval& a : args) r = sum ? r + a.value.Approx() : r * a.value.Approx();
      return Eval::Approximate(r);
    }
    case 2: {
      if (!allExact()) return Eval::Approximate(-args[0].value.approx);
      TNumber m = args[0].value.q;
      if (!Negate(m)) return {};
      return Eval::Of(m);
    }
    case 5: {
      const std::optional<int> sign = SignOf(args[1].value);
      if (!sign) return {};
      if (*sign == 0) return {Eval::Undefined, {}};
      if (!allExact()) return Eval::Approximate(args[0].value.Approx() / args[1].value.Approx());
      TNumber inverse = args[1].value.q;
      if (!Invert(inverse, quiet)) return {};
      const std::optional<TNumber> q = Multiply(args[0].value.q, inverse);
      return q ? Eval::Of(*q) : Eval{};
    }
    case 6: {
      const Value& b = args[0].value;
      const Value& k = args[1].value;
      const std::optional<int> baseSign = SignOf(b);
      if (!baseSign) return {};
      if (!k.exact) return *baseSign > 0 ? Eval::Approximate(std::pow(b.Approx(), k.approx)) : Eval{};
      if (k.q.IsInteger()) {
        if (k.q.Integer() <= 0 && *baseSign == 0) return {Eval::Undefined, {}};
        if (!b.exact) return Eval::Approximate(std::pow(b.approx, static_cast<long double>(k.q.Integer())));
        const std::optional<TNumber> p = Power(b.q, k.q, quiet);
        return p ? Eval::Of(*p) : Eval{};
      }
      if (*baseSign < 0) return {Eval::Undefined, {}};
      if (*baseSign == 0) return IsPositive(k.q) ? Eval::Of(TNumber(std::int32_t{0})) : Eval{Eval::Undefined, {}};
      if (b.exact)
        if (const std::optional<TNumber> p = Power(b.q, k.q, quiet)) return Eval::Of(*p);
      return Eval::Approximate(std::pow(b.Approx(), k.Approx()));
    }
    default: return {};
  }
}

// Truth of a condition: strict, so undefined as soon as a part is.
std::optional<bool> Truth(const TExpr& e, const Point& at, IMessages& quiet, bool& undefined) {
  if (e.IsIntr(130)) return true;
  if (e.IsIntr(131)) return false;
  const int head = e.HeadIntrinsic();
  if (head == 55) {
    const auto v = Truth(*e.Children()[1], at, quiet, undefined);
    return v ? std::optional<bool>(!*v) : std::nullopt;
  }
  if (head == 58 || head == 59) {
    bool result = head == 58;
    bool known = true;
    for (std::size_t i = 1; i < e.Children().size(); ++i) {
      const auto v = Truth(*e.Children()[i], at, quiet, undefined);
      if (!v) known = false;
      else result = head == 58 ? result && *v : result || *v;
    }
    if (!known) return std::nullopt;
    return result;
  }
  const Eval a = Evaluate(*e.Children()[1], at, quiet);
  const Eval b = Evaluate(*e.Children()[2], at, quiet);
  if (a.state == Eval::Undefined || b.state == Eval::Undefined) {
    undefined = true;
    return std::nullopt;
  }
  if (a.state == Eval::Unknown || b.state == Eval::Unknown) return std::nullopt;
  std::optional<int> c;
  if (a.value.exact && b.value.exact) {
    c = CompareValues(a.value.q, b.value.q);
  } else {
    const long double d = a.value.Approx() - b.value.Approx();
    if (std::fabs(d) > 1e-9L * (1 + std::fabs(a.value.Approx()) + std::fabs(b.value.Approx()))) c = d > 0 ? 1 : -1;
  }
  if (!c) return std::nullopt;
  switch (head) {
    case 9: return *c == 0;
    case 11: return *c > 0;
    case 12: return *c < 0;
    case 13: return *c >= 0;
    case 14: return *c <= 0;
    default: return std::nullopt;
  }
}

bool SameValue(const Value& a, const Value& b) {
  if (a.exact && b.exact) return CompareValues(a.q, b.q) == 0;
  const long double x = a.Approx();
  const long double y = b.Approx();
  return std::fabs(x - y) <= 1e-9L * std::max({1.0L, std::fabs(x), std::fabs(y)});
}

class RandomTerms : public ArithmTest {
 protected:
  TExprPtr Number() {
    switch (std::uniform_int_distribution<int>(0, 5)(random)) {
      case 0: return Q(std::uniform_int_distribution<int>(-9, 9)(random), std::uniform_int_distribution<int>(1, 6)(random));
      case 1: return TExpr::Number(*TNumber::Decimal(std::uniform_int_distribution<int>(0, 40)(random), 1));
      default: return N(std::uniform_int_distribution<int>(-5, 5)(random));
    }
  }
  TExprPtr Exponent() {
    static const std::pair<int, int> exponents[] = {{2, 1}, {3, 1}, {0, 1}, {-1, 1}, {-2, 1}, {1, 2}, {-1, 2}, {3, 2}, {1, 3}, {2, 1}};
    const auto [p, q] = exponents[std::uniform_int_distribution<std::size_t>(0, std::size(exponents) - 1)(random)];
    return Q(p, q);
  }
  TExprPtr Term(int depth) {
    std::uniform_int_distribution<int> pick(0, depth <= 0 ? 1 : 9);
    switch (pick(random)) {
      case 0: return Number();
      case 1: return D(vars[std::uniform_int_distribution<std::size_t>(0, vars.size() - 1)(random)]);
      case 2:
      case 3: return Sum(Term(depth - 1), Term(depth - 1), Term(depth - 2));
      case 4:
      case 5: return Prod(Term(depth - 1), Term(depth - 1));
      case 6: return Pow(Term(depth - 1), Exponent());
      case 7: return Div(Term(depth - 1), Term(depth - 2));
      case 8: return Sum(Term(depth - 1), Neg(Term(depth - 1)));
      default: return Neg(Term(depth - 1));
    }
  }
  TNumber Value() {
    return *TNumber::Fraction(std::uniform_int_distribution<int>(-9, 9)(random), std::uniform_int_distribution<int>(1, 4)(random));
  }
  Point At(const std::vector<TNumber>& values) {
    Point at;
    for (std::size_t i = 0; i < vars.size(); ++i) at[vars[i].get()] = values[i % values.size()];
    return at;
  }
  // Points that hit the zeros of typical inputs: 0, +-1, small integers, and random ones.
  std::vector<Point> Points(int randomOnes) {
    std::vector<Point> points;
    for (const int v : {0, 1, -1, 2}) points.push_back(At({TNumber(v), TNumber(1), TNumber(0)}));
    for (int i = 0; i < randomOnes; ++i) points.push_back(At({Value(), Value(), Value()}));
    return points;
  }

  std::mt19937 random{12082026};
  std::vector<TVarPtr> vars{x, y, z};
};

TEST_F(RandomTerms, StandardisedTermsKeepTheirValuesAndDomains) {
  // Divisions by zero in random terms are said; they are not the point here.
  RecordingMessages quiet;
  TContext local(quiet, quiet);
  local.TypesProccess = context.TypesProccess;
  local.StFunc = context.StFunc;
  int terms = 0;
  int compared = 0;
  int undefinedCompared = 0;
  for (int round = 0; round < 2400; ++round) {
    vars.resize(1 + round % 3);
    TExprPtr original = Term(4);
    TExprPtr standard = DeepCopy(*original);
    {
      const TContextScope scope(local);
      Standardize(*standard);
    }
    ++terms;
    for (const Point& at : Points(4)) {
      const Eval a = Evaluate(*original, at, quiet);
      const Eval b = Evaluate(*standard, at, quiet);
      if (a.state == Eval::Unknown || b.state == Eval::Unknown) continue;
      ASSERT_EQ(a.state, b.state) << ToString(*original) << "\n-> " << ToString(*standard);
      if (a.state == Eval::Undefined) {
        ++undefinedCompared;
        continue;
      }
      EXPECT_TRUE(SameValue(a.value, b.value)) << ToString(*original) << "\n-> " << ToString(*standard);
      ++compared;
    }
    vars = {x, y, z};
  }
  EXPECT_GE(terms, 2000);
  EXPECT_GT(compared, 4000);
  EXPECT_GT(undefinedCompared, 500);
}

class RandomRelations : public RandomTerms {
 protected:
  // One relation of one of several families, over x.
  TExprPtr Relation(int round) {
    std::uniform_int_distribution<int> coefficient(-6, 6);
    const int relations[] = {9, 11, 12, 13, 14};
    const int rel = relations[round % 5];
    switch (round % 6) {
      case 0:
      case 1: {
        // k (x - r1)(x - r2) + shift written out, with fraction roots and coefficients.
        const TNumber r1 = *TNumber::Fraction(coefficient(random), 1 + round % 3);
        const TNumber r2 = *TNumber::Fraction(coefficient(random), 1 + round % 4);
        roots = {r1, r2};
        TNumber k = *TNumber::Fraction(coefficient(random) | 1, 1 + round % 2);
        const TNumber sum = *Add(r1, r2);
        const TNumber product = *Multiply(r1, r2);
        TNumber b = *Multiply(k, sum);
        Negate(b);
        const TNumber c = *Multiply(k, product);
        const int shift = round % 3 == 0 ? coefficient(random) : 0;
        TExprPtr term = Sum(Prod(Num(k), Pow(X(), N(2))), Prod(Num(b), X()), Num(c));
        return Rel(rel, std::move(term), N(shift));
      }
      case 2: {
        // x^2 = m or a x^2 + b x + c with an irrational or no root.
        const int m = std::uniform_int_distribution<int>(-3, 12)(random);
        roots = {TNumber(m)};
        return Rel(rel, Sum(Pow(X(), N(2)), Prod(N(coefficient(random)), X())), N(m));
      }
      case 3: {
        // Products, powers and quotients of linear factors.
        roots = {TNumber(1), TNumber(-2), TNumber(3)};
        TExprPtr left = Prod(Sum(X(), N(-1)), Pow(Sum(X(), N(2)), Exponent()));
        TExprPtr right = Div(Sum(X(), N(-3)), Sum(X(), N(coefficient(random))));
        return Rel(rel, std::move(left), std::move(right));
      }
      default: {
        roots = {};
        vars = {x, y};
        TExprPtr r = Rel(rel, Term(3), Term(3));
        return r;
      }
    }
  }
  TExprPtr Num(const TNumber& n) { return TExpr::Number(n); }
  std::vector<TNumber> roots;
};

TEST_F(RandomRelations, SimplifiedRelationsKeepTheirTruthWhereDefined) {
  RecordingMessages quiet;
  TContext local(quiet, quiet);
  local.TypesProccess = context.TypesProccess;
  local.StFunc = context.StFunc;
  int relations = 0;
  int compared = 0;
  int undefinedCompared = 0;
  for (int round = 0; round < 2400; ++round) {
    vars = {x, y, z};
    TExprPtr original = Relation(round);
    TExprPtr simplified = DeepCopy(*original);
    {
      const TContextScope scope(local);
      SimplifyCondition(*simplified);
    }
    ++relations;
    std::vector<Point> points = Points(5);
    for (const TNumber& r : roots) points.push_back(At({r, TNumber(1), TNumber(2)}));
    for (const Point& at : points) {
      bool undefinedA = false;
      bool undefinedB = false;
      const auto a = Truth(*original, at, quiet, undefinedA);
      const auto b = Truth(*simplified, at, quiet, undefinedB);
      if (undefinedA) {
        // Undefined at the point: the result must not be decided there.
        EXPECT_TRUE(undefinedB || !b) << ToString(*original) << "\n-> " << ToString(*simplified) << "\n at x = "
                                      << NumberToString(at.at(x.get()));
        EXPECT_FALSE(simplified->IsIntr(130) || simplified->IsIntr(131)) << ToString(*original);
        ++undefinedCompared;
        continue;
      }
      if (!a || !b) continue;
      EXPECT_EQ(*a, *b) << ToString(*original) << "\n-> " << ToString(*simplified) << "\n at x = "
                        << NumberToString(at.at(x.get()));
      ++compared;
    }
  }
  EXPECT_GE(relations, 2000);
  EXPECT_GT(compared, 8000);
  EXPECT_GT(undefinedCompared, 300);
}

// Random polynomial-like terms and relations reshaped (operands of sums and
// products shuffled, sides of relations mirrored) give the same standard form.
class CanonicalForms : public RandomTerms {
 protected:
  TExprPtr Polynomial(int depth) {
    std::uniform_int_distribution<int> pick(0, depth <= 0 ? 1 : 5);
    switch (pick(random)) {
      case 0: return N(std::uniform_int_distribution<int>(-4, 4)(random));
      case 1: return D(vars[std::uniform_int_distribution<std::size_t>(0, vars.size() - 1)(random)]);
      case 2:
      case 3: return Sum(Polynomial(depth - 1), Polynomial(depth - 1), Polynomial(depth - 2));
      case 4: return Prod(Polynomial(depth - 1), Polynomial(depth - 1));
      default: return Pow(Polynomial(depth - 1), N(std::uniform_int_distribution<int>(1, 3)(random)));
    }
  }
  TExprPtr Reshaped(const TExpr& e) {
    TExprPtr copy = DeepCopy(e);
    Shuffle(*copy);
    return copy;
  }
  void Shuffle(TExpr& e) {
    if (e.Class != TClass::Compound) return;
    TExprList& ch = e.Children();
    for (std::size_t i = 1; i < ch.size(); ++i) Shuffle(*ch[i]);
    const int head = e.HeadIntrinsic();
    if (head == 3 || head == 4) std::shuffle(ch.begin() + 1, ch.end(), random);
  }
};

TEST_F(CanonicalForms, ReshapedInputsGiveTheSameForm) {
  int checked = 0;
  for (int round = 0; round < 600; ++round) {
    vars.resize(1 + round % 3);
    TExprPtr a = Polynomial(3);
    TExprPtr b = Reshaped(*a);
    if (round % 2 == 0) {
      Standardize(*a);
      Standardize(*b);
    } else {
      const int rel = 11 + round % 4;
      const int mirror[] = {12, 11, 14, 13};
      TExprPtr other = Polynomial(2);
      TExprPtr left = Rel(rel, std::move(a), DeepCopy(*other));
      TExprPtr right = Rel(mirror[rel - 11], std::move(other), std::move(b));
      a = std::move(left);
      b = std::move(right);
      SimplifyCondition(*a);
      SimplifyCondition(*b);
    }
    EXPECT_EQ(ToString(*a), ToString(*b));
    ++checked;
    vars = {x, y, z};
  }
  EXPECT_EQ(checked, 600);
  EXPECT_TRUE(messages.Entries().empty());
}

}  // namespace
}  // namespace lemmix
