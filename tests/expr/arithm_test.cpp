// Arithmetic normalisation: the rules on their examples, and randomised
// checks that a standardised term keeps its value and a simplified relation
// its truth, computed exactly.
#include "expr/arithm.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "expr/typing.h"
#include "expr_fixture.h"
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
  TExprPtr Q(std::int64_t p, std::int64_t q) { return TExpr::Number(TNumber::Fraction(p, q)); }
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
  TExprPtr Neg(TExprPtr a) { return Make(2, std::move(a)); }
  TExprPtr Rel(int head, TExprPtr a, TExprPtr b) { return Make(head, std::move(a), std::move(b)); }
  TExprPtr True() { return I(130, "lT"); }
  TExprPtr False() { return I(131, "lT"); }

  // The standardised form of e, compared with what it must be.
  void ExpectStandard(TExprPtr e, const TExprPtr& expected) {
    Standardize(*e);
    EXPECT_TRUE(Equal(*e, *expected)) << ToString(*e) << "\n  expected " << ToString(*expected);
  }
  void ExpectCondition(TExprPtr e, const TExprPtr& expected) {
    SimplifyCondition(*e);
    EXPECT_TRUE(Equal(*e, *expected)) << ToString(*e) << "\n  expected " << ToString(*expected);
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
}

TEST_F(ArithmTest, PowersAndProducts) {
  ExpectStandard(Pow(Prod(X(), Y()), N(2)), Prod(Pow(X(), N(2)), Pow(Y(), N(2))));
  ExpectStandard(Pow(Pow(X(), N(2)), N(3)), Pow(X(), N(6)));
  ExpectStandard(Pow(N(2), Sum(Y(), N(3))), Prod(N(8), Pow(N(2), Y())));
  ExpectStandard(Pow(N(1), X()), N(1));
  ExpectStandard(Pow(N(0), X()), N(0));
  ExpectStandard(Pow(X(), N(0)), N(1));
  ExpectStandard(Prod(X(), X(), X()), Pow(X(), N(3)));
  ExpectStandard(Prod(X(), Pow(X(), N(-1))), N(1));
  ExpectStandard(Prod(N(2), N(3), X(), N(0)), N(0));
  ExpectStandard(Make(5, X(), N(4)), Prod(Q(1, 4), X()));
  // A power of a sum stays as it is; inside a sum it is expanded.
  ExpectStandard(Pow(Sum(X(), N(1)), N(2)), Pow(Sum(X(), N(1)), N(2)));
  ExpectStandard(Sum(Pow(Sum(X(), N(1)), N(2)), N(-1)), Sum(Pow(X(), N(2)), Prod(N(2), X())));
}

TEST_F(ArithmTest, Factorisation) {
  const auto factorized = [&](TExprPtr e, const TExprPtr& expected) {
    EXPECT_TRUE(Factorize(*e)) << ToString(*e);
    EXPECT_TRUE(Equal(*e, *expected)) << ToString(*e) << "\n  expected " << ToString(*expected);
  };
  // x^2 - 5x + 6 = (x + (-3)) (x + (-2))
  factorized(Sum(Pow(X(), N(2)), Prod(N(-5), X()), N(6)),
             Prod(Sum(X(), N(-3)), Sum(X(), N(-2))));
  // 2x^2 - 8 = (x + (-2)) (x + 2) * 2, the factor 2 last
  TExprPtr two = Sum(Prod(N(2), Pow(X(), N(2))), N(-8));
  ASSERT_TRUE(Factorize(*two));
  ASSERT_EQ(two->HeadIntrinsic(), 4);
  EXPECT_TRUE(Equal(*ArgByPath(*two, 2), *N(2)));
  EXPECT_TRUE(Equal(*ArgByPath(*two, 1), *Prod(Sum(X(), N(-2)), Sum(X(), N(2)))));
  // 3x + 6 = 3 (x + 2)
  factorized(Sum(Prod(N(3), X()), N(6)), Prod(N(3), Sum(X(), N(2))));
  // x^2 + 1 has no real roots; x + 1 and x*y + 1 are no such polynomials.
  TExprPtr none = Sum(Pow(X(), N(2)), N(1));
  EXPECT_FALSE(Factorize(*none));
  EXPECT_FALSE(Factorize(*Sum(X(), N(1))));
  EXPECT_FALSE(Factorize(*Sum(Prod(X(), Y()), N(1))));
  // As a factor of a product x^2 + 2x + 1 becomes (x + 1)^2, the root an exact integer.
  TExprPtr product = Prod(Y(), Sum(Pow(X(), N(2)), Prod(N(2), X()), N(1)));
  SimplifyProduct(*product);
  EXPECT_TRUE(Equal(*product, *Prod(Y(), Pow(Sum(X(), N(1)), N(2))))) << ToString(*product);
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
  // Products.
  ExpectCondition(Rel(9, Prod(X(), Y()), N(0)), Make(59, Rel(9, X(), N(0)), Rel(9, Y(), N(0))));
  ExpectCondition(Rel(11, Prod(N(2), X()), N(0)), Rel(11, X(), N(0)));
  ExpectCondition(Rel(11, Prod(N(-3), X()), N(0)), Rel(11, Prod(N(-1), X()), N(0)));
  // Quadratics: one with real roots is factored and split by the product rule,
  // one without by the quadratic rule.
  TExprPtr factored = Rel(11, Sum(Pow(X(), N(2)), Prod(N(-3), X()), N(2)), N(0));
  SimplifyCondition(*factored);
  EXPECT_EQ(factored->HeadIntrinsic(), 59) << ToString(*factored);
  EXPECT_FALSE(ContainsPayload(*factored, TClass::Intr, &F(6))) << ToString(*factored);
  ExpectCondition(Rel(11, Sum(Pow(X(), N(2)), N(1)), N(0)), True());
  ExpectCondition(Rel(9, Sum(Pow(X(), N(2)), N(1)), N(0)), False());
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
  // y*x - 3 = 0: x = 3/y, standardised as 3*y^-1.
  TExprPtr general = SolveLinear(*Rel(9, Sum(Prod(Y(), X()), N(-3)), N(0)), *X());
  ASSERT_TRUE(general);
  EXPECT_TRUE(Equal(*general, *Prod(N(3), Pow(Y(), N(-1))))) << ToString(*general);
  EXPECT_EQ(SolveLinear(*Rel(9, Prod(X(), X()), N(0)), *X()), nullptr);  // not linear
  EXPECT_EQ(SolveLinear(*Rel(9, Y(), N(0)), *X()), nullptr);             // no x
  EXPECT_EQ(SolveLinear(*Rel(9, X(), N(1)), *X()), nullptr);             // not L = 0
  TExprPtr zero = SolveLinear(*Rel(9, Prod(N(5), X()), N(0)), *X());
  ASSERT_TRUE(zero);
  EXPECT_TRUE(Equal(*zero, *N(0)));
}

// ---------------------------------------------------------------------------
// Randomised checks, exact.

using Point = std::map<const TVar*, TNumber>;

std::optional<TNumber> Evaluate(const TExpr& e, const Point& at, IMessages& quiet) {
  if (const TNumber* n = e.NumberValue()) return *n;
  if (e.IsVar()) return at.at(e.Var());
  std::vector<TNumber> args;
  for (std::size_t i = 1; i < e.Children().size(); ++i) {
    const std::optional<TNumber> v = Evaluate(*e.Children()[i], at, quiet);
    if (!v) return std::nullopt;
    args.push_back(*v);
  }
  switch (e.HeadIntrinsic()) {
    case 3: {
      TNumber s(std::int32_t{0});
      for (const TNumber& a : args) s = Add(s, a);
      return s;
    }
    case 4: {
      TNumber p(std::int32_t{1});
      for (const TNumber& a : args) p = Multiply(p, a);
      return p;
    }
    case 2: {
      TNumber m = args[0];
      Negate(m);
      return m;
    }
    case 5:
    case 6: {
      TNumber exponent = e.HeadIntrinsic() == 5 ? TNumber(std::int32_t{-1}) : args[1];
      const TNumber& base = e.HeadIntrinsic() == 5 ? args[1] : args[0];
      if (!exponent.IsInteger() || (EqualsInt(base, 0) && !IsPositive(exponent))) return std::nullopt;
      const TNumber power = Power(base, exponent, quiet);
      return e.HeadIntrinsic() == 5 ? Multiply(args[0], power) : power;
    }
    default: return std::nullopt;
  }
}

std::optional<bool> Truth(const TExpr& e, const Point& at, IMessages& quiet) {
  if (e.IsIntr(130)) return true;
  if (e.IsIntr(131)) return false;
  const int head = e.HeadIntrinsic();
  if (head == 55) {
    const auto v = Truth(*e.Children()[1], at, quiet);
    return v ? std::optional<bool>(!*v) : std::nullopt;
  }
  if (head == 58 || head == 59) {
    bool result = head == 58;
    for (std::size_t i = 1; i < e.Children().size(); ++i) {
      const auto v = Truth(*e.Children()[i], at, quiet);
      if (!v) return std::nullopt;
      result = head == 58 ? result && *v : result || *v;
    }
    return result;
  }
  const auto a = Evaluate(*e.Children()[1], at, quiet);
  const auto b = Evaluate(*e.Children()[2], at, quiet);
  if (!a || !b || a->IsReal() || b->IsReal()) return std::nullopt;
  const int c = Compare(Difference(*a, *b), TNumber(std::int32_t{0})) == 0 ? 0 : IsPositive(Difference(*a, *b)) ? 1 : -1;
  switch (head) {
    case 9: return c == 0;
    case 11: return c > 0;
    case 12: return c < 0;
    case 13: return c >= 0;
    case 14: return c <= 0;
    default: return std::nullopt;
  }
}

bool Same(const TNumber& a, const TNumber& b) {
  if (!a.IsReal() && !b.IsReal()) return Compare(a, b) == 0;
  const double x = ToReal(a);
  const double y = ToReal(b);
  return std::abs(x - y) <= 1e-9 * std::max({1.0, std::abs(x), std::abs(y)});
}

class RandomTerms : public ArithmTest {
 protected:
  TExprPtr Term(int depth) {
    std::uniform_int_distribution<int> pick(0, depth <= 0 ? 1 : 7);
    switch (pick(random)) {
      case 0: return N(std::uniform_int_distribution<int>(-5, 5)(random));
      case 1: return D(vars[std::uniform_int_distribution<std::size_t>(0, vars.size() - 1)(random)]);
      case 2:
      case 3: return Sum(Term(depth - 1), Term(depth - 1), Term(depth - 2));
      case 4:
      case 5: return Prod(Term(depth - 1), Term(depth - 1));
      case 6: return Pow(Term(depth - 1), N(std::uniform_int_distribution<int>(0, 3)(random)));
      default: return Neg(Term(depth - 1));
    }
  }
  TNumber Value() {
    return TNumber::Fraction(std::uniform_int_distribution<int>(-9, 9)(random), std::uniform_int_distribution<int>(1, 4)(random));
  }

  std::mt19937 random{12082026};
  std::vector<TVarPtr> vars{x, y, z};
};

TEST_F(RandomTerms, StandardisedTermsKeepTheirValues) {
  RecordingMessages quiet;
  int compared = 0;
  for (int round = 0; round < 300; ++round) {
    vars.resize(1 + round % 3);
    TExprPtr original = Term(4);
    TExprPtr standard = DeepCopy(*original);
    Standardize(*standard);
    for (int p = 0; p < 4; ++p) {
      Point at;
      for (const TVarPtr& v : vars) at[v.get()] = Value();
      const auto a = Evaluate(*original, at, quiet);
      const auto b = Evaluate(*standard, at, quiet);
      if (!a) continue;
      ASSERT_TRUE(b) << ToString(*original) << "\n-> " << ToString(*standard);
      EXPECT_TRUE(Same(*a, *b)) << ToString(*original) << "\n-> " << ToString(*standard) << "\n"
                                << NumberToString(*a) << " vs " << NumberToString(*b);
      ++compared;
    }
    vars = {x, y, z};
  }
  EXPECT_GT(compared, 800);
  EXPECT_TRUE(messages.Entries().empty());
}

TEST_F(RandomTerms, SimplifiedQuadraticRelationsKeepTheirTruth) {
  RecordingMessages quiet;
  std::uniform_int_distribution<int> coefficient(-6, 6);
  const int relations[] = {9, 11, 12, 13, 14};
  int compared = 0;
  for (int round = 0; round < 400; ++round) {
    // (x - r1)(x - r2) * k, written out, against a small constant: roots often rational.
    const int r1 = coefficient(random);
    const int r2 = coefficient(random);
    int k = coefficient(random);
    if (k == 0) k = 1;
    const int shift = round % 3 == 0 ? coefficient(random) : 0;
    TExprPtr term = Sum(Prod(N(k), Pow(X(), N(2))), Prod(N(-k * (r1 + r2)), X()), N(k * r1 * r2 + shift));
    const int rel = relations[round % 5];
    TExprPtr original = Rel(rel, std::move(term), N(round % 2 ? 0 : shift));
    TExprPtr simplified = DeepCopy(*original);
    SimplifyCondition(*simplified);
    std::vector<TNumber> points = {TNumber(r1), TNumber(r2), TNumber::Fraction(r1 + r2, 2)};
    for (int p = 0; p < 6; ++p) points.push_back(Value());
    for (const TNumber& value : points) {
      const Point at{{x.get(), value}};
      const auto a = Truth(*original, at, quiet);
      const auto b = Truth(*simplified, at, quiet);
      if (!a || !b) continue;  // an irrational root: not decided exactly
      EXPECT_EQ(*a, *b) << ToString(*original) << "\n-> " << ToString(*simplified) << "\n at x = "
                        << NumberToString(value);
      ++compared;
    }
  }
  EXPECT_GT(compared, 2000);
}

}  // namespace
}  // namespace lemmix
