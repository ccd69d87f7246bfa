// The automatic tests on whole statements: false ones (mutants of true ones:
// a flipped inequality, a dropped premise, a swapped quantifier order, a wrong
// constant, a partial function outside its domain) never close; elementary
// true ones that the tests are meant to settle do.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <numeric>
#include <random>
#include <string>

#include "prover/task.h"
#include "prover/terminal.h"
#include "prover/tests.h"
#include "prover_fixture.h"
#include "shell/cp1251.h"

namespace lemmix {
namespace {

class Statements : public testing::ProverTest {
 protected:
  // The ordinary task of the formula after the tests, with the terminal
  // test ending every automatic completion; none when it cannot be read.
  std::optional<TTask> Task(const char* text) {
    TKernel empty;
    const TExprPtr formulation = ReadProverFormula(empty, text);
    if (!formulation) return std::nullopt;
    TProofSetup setup;
    setup.Terminal = TerminalTest;
    const TProofSetupScope scope(setup);
    return OrdinaryTask(*formulation);
  }
};

// Each is false (or undefined somewhere it is claimed).
const char* const kFalse[] = {
    "\\forall x \\in \\R \\Vld x > 0 \\implies x > 1",
    "\\forall x \\in \\R \\Vld x ^ 2 > 0",
    "\\forall x \\in \\R \\Vld x ^ 2 \\ge 1",
    "\\exists x \\in \\R : x ^ 2 = - 1",
    "\\exists x \\in \\R : x ^ 2 + 1 = 0",
    "\\forall x \\in \\R \\Vld x + 1 > x + 2",
    "\\forall x \\in \\R \\Vld 2 \\cdot x > x",
    "\\forall x \\in \\R \\Vld x \\cdot x ^ ( - 1 ) = 1",
    "\\forall x \\in \\R \\Vld x / x = 1",
    "\\forall x \\in \\R \\Vld ( x ^ 2 ) ^ ( 1 / 2 ) = x",
    "\\exists x \\in \\R : 1 / ( x - x ) = 0",
    "0 ^ 0 = 1",
    "0.1 + 0.2 > 0.3",
    "( - 8 ) ^ ( 1 / 3 ) = - 2",
    "\\forall x \\in \\R \\Vld x \\ge 0 \\implies x > 0",
    "\\forall x \\in \\R \\Vld \\forall y \\in \\R \\Vld x < y \\implies x ^ 2 < y ^ 2",
    "\\forall x \\in \\R \\Vld \\forall y \\in \\R \\Vld x \\cdot y = 0 \\implies x = 0",
    "\\forall x \\in \\R \\Vld x ^ 3 > 0",
    "\\forall x \\in \\R \\Vld ( x + 1 ) ^ 2 = x ^ 2 + 1",
    "\\forall x \\in \\R \\Vld x - 1 < x - 2",
    "\\exists x \\in \\N : x < 0",
    "\\exists x \\in \\N : x = 0",
    "\\exists x \\in \\Z : 2 \\cdot x = 1",
    "\\forall n \\in \\N \\Vld n \\ge 2",
    "\\forall n \\in \\Z \\Vld n \\ge 0",
    "\\exists y \\in \\R : | y | = - 1",
    "\\exists y \\in \\R : ( y = 5 \\or y = 6 ) \\and y = 7",
    "\\forall a \\in \\R \\Vld \\exists y \\in \\R : a \\cdot y = 1",
    "\\forall X \\subset \\R \\Vld X \\subset \\N",
    "\\forall x \\in \\R \\Vld \\not ( x \\in \\N ) \\implies 0 = 1",
    "\\forall x \\in \\R \\Vld x \\in \\N \\or x < 0 \\implies x \\ge 1",
    "\\forall x \\in \\R \\Vld x \\in \\N",
    "\\forall x \\in \\R \\Vld x \\in \\Z \\implies x \\in \\N",
    "\\forall x \\in \\Z \\Vld x \\in \\N",
    "1 / 2 \\in \\Z",
    "\\exists x \\in \\R : x > x",
    "\\exists x \\in \\R : \\forall y \\in \\R \\Vld y \\le x",
    "\\forall x \\in \\R \\Vld \\forall y \\in \\R \\Vld x \\le y",
    "\\forall x \\in \\R \\Vld \\exists y \\in \\R : x \\cdot y = 1",
    "\\exists x \\in \\R : \\forall y \\in \\R \\Vld x + y = 0",
    "\\exists y \\in \\R : \\forall x \\in \\R \\Vld y > x",
    "\\not ( \\exists x \\in \\R : x ^ 2 = 4 )",
    "\\forall x \\in \\R \\Vld x ^ 2 = 1 \\implies x = 1",
    "\\forall x \\in \\R \\Vld x ^ 2 = 1 \\iff x = 1",
    "\\forall x \\in \\R \\Vld \\not ( x > 0 ) \\iff x < 0",
    "\\forall x \\in \\R \\Vld \\not ( x > 0 \\and x < 1 ) \\iff x \\le 0 \\and x \\ge 1",
    "\\forall x \\in \\R \\Vld x > 1 \\implies x > 2",
    "\\forall x \\in \\R \\Vld \\not ( x = 0 ) \\implies x > 0",
    "\\existsOne x \\in \\R : x ^ 2 = 4",
    "\\existsOne x \\in \\R : 0 \\cdot x = 0",
    "\\forall A \\subset \\R \\Vld \\forall B \\subset \\R \\Vld A \\cap B = A",
    "\\forall A \\subset \\R \\Vld \\forall B \\subset \\R \\Vld A \\subseteq A \\cap B",
    "\\forall x \\in \\R \\Vld x \\in { y \\in \\R : y ^ 2 < 1 } \\iff x < 1",
    "\\forall x \\in \\R \\Vld \\forall y \\in \\R \\Vld x < y \\implies x + 1 < y",
    "\\forall x \\in \\R \\Vld x ^ 2 - 3 \\cdot x + 2 < 0 \\iff 1 < x \\and x < 3",
    "\\forall x \\in \\R \\Vld x ^ 2 - 3 \\cdot x + 2 \\ge 0",
    "\\forall x \\in \\R \\Vld x \\ge 0 \\or x \\ge 1 \\implies x \\ge 1",
    "\\forall a \\in \\R \\Vld \\forall b \\in \\R \\Vld a > b \\implies a \\cdot a > b \\cdot b",
    "\\exists x \\in \\R : x = x + 1",
    "\\forall x \\in \\R \\Vld x ^ 2 = x \\implies x = 1",
    "\\forall x \\in \\R \\Vld 1 / x > 0 \\implies x > 1",
    "\\forall x \\in \\R \\Vld \\forall y \\in \\R \\Vld x + y = y + x + 1",
    "\\exists x \\in \\N : x + 1 = 1",
    "\\forall n \\in \\N \\Vld n ^ 2 > n",
    "\\forall x \\in \\R \\Vld x < 2 \\implies x ^ 2 < 4",
    "\\forall x \\in \\R \\Vld x ^ ( 1 / 2 ) \\ge 0",
    "\\forall x \\in \\R \\Vld x ^ 0 = 1",
    "\\forall x \\in \\R \\Vld \\exists y \\in \\R : y ^ 2 = x",
    "\\exists x \\in \\R : x \\cdot 0 = 1",
    "\\forall x \\in \\R \\Vld x = 1 \\implies x ^ 2 = 2",
    "\\forall x \\in \\R \\Vld \\forall y \\in \\R \\Vld x = y + 1 \\implies y = x + 1",
    // Limits whose expression is undefined on one side of the point, or
    // suprema of sets that need not be bounded: the needed conditions say so.
    "\\lim ( t \\Arrow 0 - 0 , \\sqrt ( t ) ) = 0",
    "\\lim ( t \\Arrow 0 , \\ln ( t ) / t ) = 0",
    "\\lim ( t \\Arrow 1 + 0 , \\sqrt ( 1 - t ) ) = 0",
    "\\forall A \\subset \\R \\Vld \\forall B \\subset \\R \\Vld A \\subseteq B \\implies \\sup ( A ) \\le \\sup ( B )",
    "\\forall A \\subset \\R \\Vld \\forall B \\subset \\R \\Vld \\not ( A = \\emptyset ) \\and A \\subseteq B \\implies \\sup ( A ) \\le \\sup ( B )",
    // A coefficient known only to be non-negative decides no strict sign;
    // a strict combination needs a strict inequality with a positive factor.
    "\\forall c , v , w \\in \\R \\Vld c \\ge 0 \\and c \\cdot v + w \\ge 0 \\and v < 1 \\and w \\le 0 \\implies c > 0",
    "\\forall x , y \\in \\R \\Vld x \\ge y \\and y \\ge x \\implies x > y",
    "\\forall x , y , z \\in \\R \\Vld x + y \\ge 2 \\and x - y \\le 0 \\implies x > 1",
    "\\forall x \\in \\R \\Vld x > 1 \\or x < - 1 \\implies x > 0",
    "\\forall x , y \\in \\R \\Vld x \\cdot y > 0 \\implies x > 0",
    "\\forall x \\in \\R \\Vld | x | \\ge 1 \\implies x \\ge 1",
    "\\forall x \\in \\R \\Vld 1 / 3 \\cdot x \\ge 1 / 2 \\implies x > 3 / 2",
    "\\forall x \\in \\R \\Vld | x | > 0",
    "\\forall x \\in \\R \\Vld x ^ 2 \\ge x",
    "\\forall a , b \\in \\R \\Vld | a + b | = | a | + | b |",
    "\\forall a , b \\in \\R \\Vld | a - b | \\le | a | - | b |",
    "\\forall x , y \\in \\R \\Vld x \\cdot y \\ge 0 \\implies x \\ge 0",
    "\\forall x , y \\in \\R \\Vld ( x > 0 \\or y > 0 ) \\and ( x < 1 \\or y < 1 ) \\implies x + y < 2",
    "\\forall x , y \\in \\R \\Vld \\not ( x = y ) \\implies x + 1 > y",
    "\\exists x \\in \\R : x > 0 \\and x < 0",
    "\\forall x \\in \\R \\Vld ( x > 0 \\implies x > 1 ) \\or x < 0",
};

TEST_F(Statements, NoFalseStatementCloses) {
  int read = 0;
  for (const char* text : kFalse) {
    const std::optional<TTask> task = Task(text);
    if (!task) continue;  // refused when read (a partial function outside its domain, say): not proved either
    ++read;
    EXPECT_FALSE(task->Kernel->Proved) << text;
  }
  EXPECT_GE(read, 60);
  EXPECT_GE(std::size(kFalse), 60u);
}

TEST_F(Statements, NoFalseStatementClosesWithoutTheSymbolPackage) {
  context.Settings.SymbolTransEnable = false;
  for (const char* text : kFalse) {
    const std::optional<TTask> task = Task(text);
    if (task) {
      EXPECT_FALSE(task->Kernel->Proved) << text;
    }
  }
  // The rational number rule checks what p / q is equal to.
  const std::optional<TTask> shifted = Task("\\exists p \\in \\Z : \\exists q \\in \\N : p / q = p / q + 1");
  ASSERT_TRUE(shifted);
  EXPECT_FALSE(shifted->Kernel->Proved);
}

// Random statements ∀x ∈ ℝ (or ℤ, or ℕ) ∀y ∈ ℝ built of sums, differences, products,
// quotients, squares, cubes, absolute values and square roots with small
// constants. Each is
// evaluated exactly at a grid of rational points; one with a counterexample
// there (a point where everything is defined and it fails) is false, and the
// tests must not close it, whatever rewriting they do.
class RandomFalseStatements : public Statements {
 protected:
  // An exact rational, small enough for the terms built here.
  struct Q {
    long long n = 0, d = 1;
    static Q Of(long long n, long long d = 1) {
      if (d < 0) n = -n, d = -d;
      const long long g = std::gcd(n < 0 ? -n : n, d);
      return {n / g, d / g};
    }
    int Compare(Q o) const { return (n * o.d > o.n * d) - (n * o.d < o.n * d); }
  };
  // A value, or none where the term is undefined.
  using V = std::optional<Q>;
  using Value = std::function<V(Q, Q)>;
  struct Term {
    std::string text;
    Value value;
  };

  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  static Term Binary(const Term& a, const Term& b, const char* word, std::function<V(Q, Q)> op) {
    return {"( " + a.text + " " + word + " " + b.text + " )", [a, b, op](Q x, Q y) -> V {
              const V u = a.value(x, y), v = b.value(x, y);
              return u && v ? op(*u, *v) : std::nullopt;
            }};
  }
  static Term Unary(const Term& a, std::string text, std::function<Q(Q)> op) {
    return {std::move(text), [a, op](Q x, Q y) -> V {
              const V u = a.value(x, y);
              return u ? V(op(*u)) : std::nullopt;
            }};
  }

  Term Leaf() {
    switch (Pick(0, 3)) {
      case 0:
        return {"x", [](Q x, Q) { return V(x); }};
      case 1:
        if (onlyX_) return {"x", [](Q x, Q) { return V(x); }};
        return {"y", [](Q, Q y) { return V(y); }};
      case 2:
        return {"( 1 / 2 )", [](Q, Q) { return V(Q::Of(1, 2)); }};
      default: {
        const int c = Pick(-3, 3);
        return {c < 0 ? "( - " + std::to_string(-c) + " )" : std::to_string(c), [c](Q, Q) { return V(Q::Of(c)); }};
      }
    }
  }
  Term Make(int depth) {
    if (depth == 0 || Pick(0, 3) == 0) return Leaf();
    const Term a = Make(depth - 1);
    const auto times = [](Q u, Q v) { return Q::Of(u.n * v.n, u.d * v.d); };
    switch (Pick(0, 7)) {
      case 0:
        return Binary(a, Make(depth - 1), "+", [](Q u, Q v) { return V(Q::Of(u.n * v.d + v.n * u.d, u.d * v.d)); });
      case 1:
        return Binary(a, Make(depth - 1), "-", [](Q u, Q v) { return V(Q::Of(u.n * v.d - v.n * u.d, u.d * v.d)); });
      case 2:
        return Binary(a, Make(depth - 1), "\\cdot", [times](Q u, Q v) { return V(times(u, v)); });
      case 3:
        return Binary(a, Make(depth - 1), "/",
                      [](Q u, Q v) { return v.n == 0 ? std::nullopt : V(Q::Of(u.n * v.d, u.d * v.n)); });
      case 4:
        return Unary(a, "( " + a.text + " ^ 2 )", [times](Q u) { return times(u, u); });
      case 5:
        return Unary(a, "( " + a.text + " ^ 3 )", [times](Q u) { return times(times(u, u), u); });
      case 6:
        return Unary(a, "| ( " + a.text + " ) |", [](Q u) { return Q::Of(u.n < 0 ? -u.n : u.n, u.d); });
      default:
        // Exact only at squares of rationals: elsewhere the point is not used.
        return {"\\sqrt ( " + a.text + " )", [a](Q x, Q y) -> V {
                  const V u = a.value(x, y);
                  if (!u || u->n < 0) return std::nullopt;
                  const auto root = [](long long v) {
                    long long r = static_cast<long long>(std::llround(std::sqrt(static_cast<double>(v))));
                    return r * r == v ? r : -1;
                  };
                  const long long n = root(u->n), d = root(u->d);
                  return n < 0 || d < 0 ? std::nullopt : V(Q::Of(n, d));
                }};
    }
  }
  // A condition: whether it holds, none where it is undefined.
  struct Atom {
    std::string text;
    std::function<std::optional<bool>(Q, Q)> holds;
  };
  Atom MakeAtom() {
    static const char* const words[] = {"<", "\\le", "=", ">", "\\ge"};
    const int relation = Pick(0, 4);
    const Term a = Make(2), b = Make(2);
    return {a.text + " " + words[relation] + " " + b.text, [a, b, relation](Q x, Q y) -> std::optional<bool> {
              const V u = a.value(x, y), v = b.value(x, y);
              if (!u || !v) return std::nullopt;
              const int c = u->Compare(*v);
              switch (relation) {
                case 0: return c < 0;
                case 1: return c <= 0;
                case 2: return c == 0;
                case 3: return c > 0;
                default: return c >= 0;
              }
            }};
  }

  std::mt19937 random_{20261209};
  bool onlyX_ = false;  // terms of x alone
};

TEST_F(RandomFalseStatements, NeverClose) {
  std::vector<Q> grid;
  for (int n = -6; n <= 6; ++n) grid.push_back(Q::Of(n, 2));
  grid.push_back(Q::Of(1, 3));
  grid.push_back(Q::Of(-5, 3));
  int falseOnes = 0;
  for (int round = 0; round < 3000; ++round) {
    const Atom first = MakeAtom(), second = MakeAtom(), third = MakeAtom();
    std::string text;
    // False at a point: every condition defined there, the statement failing.
    std::function<bool(Q, Q)> fails;
    const auto all = [](std::initializer_list<std::optional<bool>> values) {
      return std::all_of(values.begin(), values.end(), [](const std::optional<bool>& v) { return v.has_value(); });
    };
    switch (Pick(0, 2)) {
      case 0:
        text = first.text;
        fails = [=](Q x, Q y) { return first.holds(x, y) == false; };
        break;
      case 1:
        text = "( " + first.text + " \\and " + second.text + " ) \\implies " + third.text;
        fails = [=](Q x, Q y) {
          const auto p = first.holds(x, y), q = second.holds(x, y), r = third.holds(x, y);
          return all({p, q, r}) && *p && *q && !*r;
        };
        break;
      default:
        text = first.text + " \\implies ( " + second.text + " \\or " + third.text + " )";
        fails = [=](Q x, Q y) {
          const auto p = first.holds(x, y), q = second.holds(x, y), r = third.holds(x, y);
          return all({p, q, r}) && *p && !*q && !*r;
        };
        break;
    }
    // x runs over the reals, the integers or the naturals.
    const int domain = Pick(0, 2);
    std::vector<Q> xs;
    for (const Q& x : grid)
      if (domain == 0 || (x.d == 1 && (domain == 1 || x.n >= 1))) xs.push_back(x);
    for (int n = 4; n <= 6 && domain > 0; ++n) xs.push_back(Q::Of(n));
    bool counterexample = false;
    for (const Q& x : xs)
      for (const Q& y : grid) counterexample = counterexample || fails(x, y);
    if (!counterexample) continue;
    static const char* const sets[] = {"\\R", "\\Z", "\\N"};
    const std::string statement =
        std::string("\\forall x \\in ") + sets[domain] + " \\Vld \\forall y \\in \\R \\Vld " + text;
    const std::optional<TTask> task = Task(statement.c_str());
    if (!task) continue;  // refused as it is read: not proved either
    ++falseOnes;
    EXPECT_FALSE(task->Kernel->Proved) << statement;
  }
  EXPECT_GE(falseOnes, 1000);
}

// Quantifiers over a box of integers, so that the truth of each statement is
// decided by evaluating it: ∃x (a witness), ∀x ∃y and ∃x ∀y. A false one (its
// conditions defined everywhere in the box) never closes: no witness is made
// up, no quantifier order confused.
TEST_F(RandomFalseStatements, QuantifiersOverABoxNeverCloseWhenFalse) {
  const auto in = [](const char* v) {
    return std::string(v) + " \\ge ( - 2 ) \\and " + v + " \\le 2";
  };
  int falseOnes = 0;
  for (int round = 0; round < 1500; ++round) {
    const int form = Pick(0, 2);
    onlyX_ = form == 0;
    const Atom atom = MakeAtom();
    // The atom at every point of the box: none where it is undefined.
    bool defined = true;
    bool value[5][5];
    for (int i = 0; i < 5; ++i)
      for (int j = 0; j < 5; ++j) {
        const std::optional<bool> v = atom.holds(Q::Of(i - 2), Q::Of(j - 2));
        defined = defined && v.has_value();
        value[i][j] = v.value_or(false);
      }
    if (!defined) continue;
    const auto anyY = [&](int i) { return std::any_of(value[i], value[i] + 5, [](bool v) { return v; }); };
    const auto allY = [&](int i) { return std::all_of(value[i], value[i] + 5, [](bool v) { return v; }); };
    bool holds = false;
    std::string text;
    if (form == 0) {
      for (int i = 0; i < 5; ++i) holds = holds || value[i][0];
      text = "\\exists x \\in \\Z : " + in("x") + " \\and " + atom.text;
    } else if (form == 1) {
      holds = true;
      for (int i = 0; i < 5; ++i) holds = holds && anyY(i);
      text = "\\forall x \\in \\Z \\Vld " + in("x") + " \\implies ( \\exists y \\in \\Z : " + in("y") + " \\and " +
             atom.text + " )";
    } else {
      for (int i = 0; i < 5; ++i) holds = holds || allY(i);
      text = "\\exists x \\in \\Z : " + in("x") + " \\and ( \\forall y \\in \\Z \\Vld " + in("y") + " \\implies " +
             atom.text + " )";
    }
    if (holds) continue;
    const std::optional<TTask> task = Task(text.c_str());
    if (!task) continue;
    ++falseOnes;
    EXPECT_FALSE(task->Kernel->Proved) << text;
  }
  onlyX_ = false;
  EXPECT_GE(falseOnes, 300);
}

TEST_F(Statements, ElementaryTrueStatementsClose) {
  for (const char* text : {
           "\\forall x \\in \\R \\Vld x > 0 \\implies x > 0",
           "\\forall x \\in \\N \\Vld x \\ge 1",
           "\\forall x \\in \\R \\Vld x > 0 \\and x < 1 \\implies x > 0",
           "\\exists y \\in \\R : y + 1 = 3",
           "\\exists p \\in \\Z : \\exists q \\in \\N : p / q = 3 / 4",
           "\\forall x \\in \\R \\Vld x ^ 2 \\ge 0",
           "\\forall x \\in \\R \\Vld \\forall y \\in \\R \\Vld x + y = y + x",
           "\\exists x \\in \\R : x ^ 2 = 4",
           "\\existsOne x \\in \\R : 2 \\cdot x + 1 = 7",
           "\\forall x \\in \\R \\Vld x = 1 \\implies x ^ 2 = 1",
           "\\forall x \\in \\R \\Vld \\exists y \\in \\R : x + y = 0",
           "\\forall a \\in \\R \\Vld \\not ( a = 0 ) \\implies ( \\exists y \\in \\R : a \\cdot y = 1 )",
           "\\forall x \\in \\R \\Vld x > 0 \\implies x > 0 \\or x < 0",
           "\\forall x \\in \\Z \\Vld x \\in \\Z",
           "\\forall x \\in \\R \\Vld ( \\forall y \\in \\R \\Vld y > x ) \\implies x > x - 1",
           "\\forall A \\subset \\R \\Vld \\forall B \\subset \\R \\Vld A \\subseteq B \\implies A \\subseteq B",
           // The terminal test: cases of a disjunction, and the linear part of
           // conditions with a square in them.
           "\\forall x \\in \\R \\Vld x > 1 \\or x > 2 \\implies x > 0",
           "\\forall v , w \\in \\R \\Vld v \\cdot v + w > 0 \\and v > 1 \\implies \\not ( v < 0 )",
           "\\forall x , y , z \\in \\R \\Vld x < y \\and y < z \\implies x < z",
           "\\forall x , y \\in \\R \\Vld x + y \\ge 2 \\and x - y \\ge 0 \\implies x \\ge 1",
           "\\forall x \\in \\R \\Vld 1 / 3 \\cdot x \\ge 1 / 2 \\implies x \\ge 3 / 2",
           "\\forall x , y \\in \\R \\Vld \\not ( x = y ) \\implies x < y \\or y < x",
           "\\forall x \\in \\R \\Vld x > 0 \\or x < 0 \\implies \\not ( x = 0 )",
           "\\forall x , y \\in \\R \\Vld ( x > 0 \\or y > 0 ) \\and x + y < 0 \\implies x < 0 \\or y < 0",
       }) {
    const std::optional<TTask> task = Task(text);
    ASSERT_TRUE(task) << text;
    EXPECT_TRUE(task->Kernel->Proved) << text;
  }
}

}  // namespace
}  // namespace lemmix

#include "book/part.h"
#include "book/search.h"
#include "book/statement_kind.h"
#include "prover/method.h"
#include "shell/files.h"

namespace lemmix {
namespace {

// The bundled book: every statement's task builds, and the consequences of
// the field axioms (arithmetic package off there) close nothing by arithmetic.
TEST_F(Statements, TheTasksOfTheBook) {
  context.StartupOk = true;
  TBook book;
  book.Path = SystemPath(LEMMIX_DATA_DIR).value() + "\\book";
  book.Load();
  int built = 0;
  int closed = 0;
  int methods = 0;
  const auto said = [&] { return messages.Entries().empty() ? std::string() : messages.Entries().back().message.Eng; };
  for (TStatement* statement : StatementsBefore(book, nullptr)) {
    // A method's data are complete and its correctness task builds.
    if (statement->Kind() == kStatementKindWords[kMethodKind]) {
      ++methods;
      EXPECT_NE(SetMethodData(*statement), nullptr) << statement->Path << ": " << said();
    }
    const TTask task = BuildTask(*statement, book);
    EXPECT_TRUE(task.GoesOn || task.Kernel->Proved) << statement->Path << ": " << said();
    built += task.GoesOn || task.Kernel->Proved;
    closed += task.Kernel->Proved;
    if (statement->Path.find("\\book\\6\\24\\") != std::string::npos) {
      EXPECT_FALSE(context.Settings.SymbolTransEnable);
      EXPECT_FALSE(task.Kernel->Proved) << statement->Path;
    }
  }
  EXPECT_GT(methods, 0);
  EXPECT_GT(built, 250);
  EXPECT_GT(closed, 20);
  EXPECT_LT(closed, built);
}

}  // namespace
}  // namespace lemmix
