#include "prover/terminal.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <numeric>
#include <optional>
#include <utility>
#include <vector>

#include "expr/arithm.h"
#include "expr/number.h"
#include "prover/tests.h"
#include "intrinsics/intr_numbers.h"
#include "shell/context.h"
#include "types/type_relations.h"

namespace lemmix {
namespace {

// Bounds that keep every run finite.
constexpr int kMaxCases = 256;          // branches of the case splits
constexpr int kMaxCombinations = 4000;  // inequalities made by eliminations, per run
constexpr std::size_t kMaxInequalities = 300;
constexpr int kDeepMethodPasses = 3;

// ---------------------------------------------------------------------------
// Exact rationals with 64-bit parts; an operation that would not fit has no
// result, and the caller gives up the inequality it was making.

struct TRat {
  std::int64_t Num = 0;
  std::int64_t Den = 1;

  static std::optional<TRat> Make(__int128 num, __int128 den) {
    if (den == 0) return std::nullopt;
    if (den < 0) num = -num, den = -den;
    __int128 a = num < 0 ? -num : num, b = den;
    while (b != 0) a = std::exchange(b, a % b);
    if (a > 1) num /= a, den /= a;
    constexpr __int128 kMax = INT64_MAX;
    if (num > kMax || num < -kMax || den > kMax) return std::nullopt;
    return TRat{static_cast<std::int64_t>(num), static_cast<std::int64_t>(den)};
  }
  int Sign() const { return Num > 0 ? 1 : Num < 0 ? -1 : 0; }
  bool operator==(const TRat&) const = default;
};

std::optional<TRat> Add(const TRat& a, const TRat& b) {
  return TRat::Make(static_cast<__int128>(a.Num) * b.Den + static_cast<__int128>(b.Num) * a.Den,
                    static_cast<__int128>(a.Den) * b.Den);
}
std::optional<TRat> Mul(const TRat& a, const TRat& b) {
  return TRat::Make(static_cast<__int128>(a.Num) * b.Num, static_cast<__int128>(a.Den) * b.Den);
}
TRat Abs(TRat a) {
  a.Num = a.Num < 0 ? -a.Num : a.Num;
  return a;
}

// Σ coefficient·unknown + constant, > 0 when strict, ≥ 0 otherwise.
struct TInequality {
  std::map<int, TRat> Terms;
  TRat Constant;
  bool Strict = false;
  bool operator==(const TInequality&) const = default;
};

// ---------------------------------------------------------------------------
// Formulas of the refutation: conjunctions, disjunctions and literals.

struct TNode {
  enum TKind { True, False, Linear, Atom, And, Or };
  explicit TNode(TKind kind) : Kind(kind) {}

  TKind Kind;
  TInequality Inequality;  // Linear
  int Proposition = 0;     // Atom: its index, and whether it holds or not
  bool Positive = true;
  std::vector<TNode> Parts;  // And, Or
};

TNode Constant(bool value) { return TNode(value ? TNode::True : TNode::False); }
TNode Join(TNode::TKind kind, std::vector<TNode> parts) {
  TNode n(kind);
  n.Parts = std::move(parts);
  return n;
}

std::size_t ArgCount(const TExpr& e) {
  return e.Class != TClass::Compound || e.Children().empty() ? 0 : e.Children().size() - 1;
}
const TExpr& Arg(const TExpr& e, std::size_t i) { return *e.Children()[i + 1]; }

class TTranslator {
 public:
  explicit TTranslator(bool arithmetic) : arithmetic_(arithmetic) {}

  TNode Translate(const TExpr& e, bool positive) {
    const int head = e.HeadIntrinsic();
    const std::size_t n = ArgCount(e);
    if (e.IsIntr(kTrue)) return Constant(positive);
    if (e.IsIntr(kFalse)) return Constant(!positive);
    if (head == kNot && n == 1) return Translate(Arg(e, 0), !positive);
    if ((head == kAnd || head == kOr) && n >= 1) {
      std::vector<TNode> parts;
      for (std::size_t i = 0; i < n; ++i) parts.push_back(Translate(Arg(e, i), positive));
      return Join((head == kAnd) == positive ? TNode::And : TNode::Or, std::move(parts));
    }
    if (head == kImplies && n == 2) {
      // a ⇒ b is ¬a ∨ b; its negation a ∧ ¬b.
      return Join(positive ? TNode::Or : TNode::And, {Translate(Arg(e, 0), !positive), Translate(Arg(e, 1), positive)});
    }
    if (head == kIff && n == 2) {
      TNode a = Translate(Arg(e, 0), true), b = Translate(Arg(e, 1), positive);
      TNode notA = Translate(Arg(e, 0), false), notB = Translate(Arg(e, 1), !positive);
      return Join(TNode::Or, {Join(TNode::And, {std::move(a), std::move(b)}),
                              Join(TNode::And, {std::move(notA), std::move(notB)})});
    }
    if (std::optional<TNode> comparison = Comparison(e, positive)) return std::move(*comparison);
    TNode p(TNode::Atom);
    p.Proposition = Index(propositions_, e);
    p.Positive = positive;
    return p;
  }

 private:
  static bool Real(const TExpr& e) { return e.Type && IsSubtypeOfNamed(e.Type, "rT", *Ctx().TypesProccess); }

  // The index of the expression among those met so far (a new one at the end).
  static int Index(std::vector<TExprPtr>& known, const TExpr& e) {
    for (std::size_t i = 0; i < known.size(); ++i)
      if (Equal(*known[i], e)) return static_cast<int>(i);
    known.push_back(DeepCopy(e));
    return static_cast<int>(known.size()) - 1;
  }

  // A comparison of two real numbers as inequalities over the unknowns.
  std::optional<TNode> Comparison(const TExpr& e, bool positive) {
    const int head = e.HeadIntrinsic();
    // An identity S ≡ T (what a deep method says) is an equation here.
    if (!arithmetic_ || ArgCount(e) != 2 || !(head == kEq || head == kIdentity || (head >= kGt && head <= kLe)))
      return std::nullopt;
    if (!Real(Arg(e, 0)) || !Real(Arg(e, 1))) return std::nullopt;
    TInequality d;  // left − right
    if (!Collect(Arg(e, 0), TRat{1, 1}, d) || !Collect(Arg(e, 1), TRat{-1, 1}, d)) return std::nullopt;
    const std::optional<TInequality> minusD = Scaled(d, TRat{-1, 1});
    if (!minusD) return std::nullopt;
    const auto literal = [](TInequality i, bool strict) {
      TNode n(TNode::Linear);
      n.Inequality = std::move(i);
      n.Inequality.Strict = strict;
      return n;
    };
    switch (head) {
      case kGt: return positive ? literal(d, true) : literal(*minusD, false);    // d > 0 | −d ≥ 0
      case kGe: return positive ? literal(d, false) : literal(*minusD, true);    // d ≥ 0 | −d > 0
      case kLt: return positive ? literal(*minusD, true) : literal(d, false);   // −d > 0 | d ≥ 0
      case kLe: return positive ? literal(*minusD, false) : literal(d, true);   // −d ≥ 0 | d > 0
      default:
        return positive ? Join(TNode::And, {literal(d, false), literal(*minusD, false)})
                        : Join(TNode::Or, {literal(d, true), literal(*minusD, true)});
    }
  }

  static std::optional<TInequality> Scaled(const TInequality& i, const TRat& factor) {
    TInequality r;
    r.Strict = i.Strict;
    for (const auto& [unknown, c] : i.Terms) {
      const std::optional<TRat> p = Mul(c, factor);
      if (!p) return std::nullopt;
      r.Terms[unknown] = *p;
    }
    const std::optional<TRat> k = Mul(i.Constant, factor);
    if (!k) return std::nullopt;
    r.Constant = *k;
    return r;
  }

  // Adds factor·e to the sum, e read in the arithmetic normal form: a sum of
  // a number and of monomials, each a number times the product of its other
  // factors (the unknown).
  bool Collect(const TExpr& side, const TRat& factor, TInequality& sum) {
    TExprPtr e = DeepCopy(side);
    Standardize(*e);
    return Terms(*e, factor, sum);
  }

  bool Terms(const TExpr& e, const TRat& factor, TInequality& sum) {
    if (const TNumber* number = e.Class == TClass::Number ? e.NumberValue() : nullptr) {
      const std::optional<TRat> value = TRat::Make(number->Num(), number->Den());
      const std::optional<TRat> term = value ? Mul(*value, factor) : std::nullopt;
      const std::optional<TRat> total = term ? Add(sum.Constant, *term) : std::nullopt;
      if (!total) return false;
      sum.Constant = *total;
      return true;
    }
    if (e.HeadIntrinsic() == kPlus && ArgCount(e) >= 1) {
      for (std::size_t i = 0; i < ArgCount(e); ++i)
        if (!Terms(Arg(e, i), factor, sum)) return false;
      return true;
    }
    TRat coefficient = factor;
    TExprPtr unknown;
    if (e.HeadIntrinsic() == kTimes && ArgCount(e) >= 2 && Arg(e, 0).Class == TClass::Number) {
      const TNumber& number = *Arg(e, 0).NumberValue();
      const std::optional<TRat> value = TRat::Make(number.Num(), number.Den());
      const std::optional<TRat> product = value ? Mul(*value, factor) : std::nullopt;
      if (!product) return false;
      coefficient = *product;
      // A number times a sum, as the normal form keeps (−1)·(y − 1): its terms.
      if (ArgCount(e) == 2 && (Arg(e, 1).HeadIntrinsic() == kPlus || Arg(e, 1).Class == TClass::Number))
        return Terms(Arg(e, 1), coefficient, sum);
      TExprList rest;
      for (std::size_t i = 1; i < ArgCount(e); ++i) rest.push_back(DeepCopy(Arg(e, i)));
      unknown = rest.size() == 1 ? std::move(rest.front()) : ApplyIntr(kTimes, std::move(rest));
    } else {
      unknown = DeepCopy(e);
    }
    const int index = Index(unknowns_, *unknown);
    const auto found = sum.Terms.find(index);
    const std::optional<TRat> total = found == sum.Terms.end() ? std::optional<TRat>(coefficient)
                                                                : Add(found->second, coefficient);
    if (!total) return false;
    if (total->Sign() == 0)
      sum.Terms.erase(index);
    else
      sum.Terms[index] = *total;
    return true;
  }

  bool arithmetic_;
  std::vector<TExprPtr> unknowns_;
  std::vector<TExprPtr> propositions_;
};

// ---------------------------------------------------------------------------
// Fourier–Motzkin elimination.

// The inequality divided by the magnitude of its first coefficient, so that
// multiples of one inequality meet as equal.
std::optional<TInequality> Normalized(TInequality i) {
  if (i.Terms.empty()) return i;
  const TRat first = Abs(i.Terms.begin()->second);
  const std::optional<TRat> inverse = TRat::Make(first.Den, first.Num);
  if (!inverse) return std::nullopt;
  for (auto& [unknown, c] : i.Terms) {
    const std::optional<TRat> p = Mul(c, *inverse);
    if (!p) return std::nullopt;
    c = *p;
  }
  const std::optional<TRat> k = Mul(i.Constant, *inverse);
  if (!k) return std::nullopt;
  i.Constant = *k;
  return i;
}

class TElimination {
 public:
  explicit TElimination(int& budget) : budget_(budget) {}

  TRefutation Run(std::vector<TInequality> system) {
    for (;;) {
      std::vector<TInequality> kept;
      for (TInequality& i : system) {
        if (i.Terms.empty()) {
          // A constant: c > 0 or c ≥ 0 holds or refutes the system.
          const int sign = i.Constant.Sign();
          if (sign < 0 || (sign == 0 && i.Strict)) return TRefutation::Refuted;
          continue;
        }
        if (std::find(kept.begin(), kept.end(), i) == kept.end()) kept.push_back(std::move(i));
      }
      if (kept.empty()) return TRefutation::Open;
      if (kept.size() > kMaxInequalities) return TRefutation::Bounded;
      system = std::move(kept);

      // The unknown with the fewest combinations; one bounded on one side
      // only takes its inequalities with it.
      std::map<int, std::pair<int, int>> counts;
      for (const TInequality& i : system)
        for (const auto& [unknown, c] : i.Terms) (c.Sign() > 0 ? counts[unknown].first : counts[unknown].second)++;
      int chosen = -1;
      long best = -1;
      for (const auto& [unknown, pair] : counts) {
        const long cost = static_cast<long>(pair.first) * pair.second;
        if (chosen < 0 || cost < best) chosen = unknown, best = cost;
      }
      std::vector<TInequality> next, lower, upper;
      for (TInequality& i : system) {
        const auto found = i.Terms.find(chosen);
        if (found == i.Terms.end())
          next.push_back(std::move(i));
        else
          (found->second.Sign() > 0 ? lower : upper).push_back(std::move(i));
      }
      for (const TInequality& l : lower)
        for (const TInequality& u : upper) {
          if (--budget_ < 0) return TRefutation::Bounded;
          // a·v + P with a > 0 and −b·v + N with b > 0 give b·P + a·N.
          const TRat a = l.Terms.at(chosen), b = Abs(u.Terms.at(chosen));
          std::optional<TInequality> combined = Combine(l, b, u, a, chosen);
          if (!combined) continue;  // too large to keep: dropping it only weakens the system
          if (std::optional<TInequality> n = Normalized(std::move(*combined))) next.push_back(std::move(*n));
        }
      system = std::move(next);
    }
  }

 private:
  static std::optional<TInequality> Combine(const TInequality& l, const TRat& lf, const TInequality& u, const TRat& uf,
                                            int eliminated) {
    TInequality r;
    r.Strict = l.Strict || u.Strict;
    for (const auto* side : {&l, &u}) {
      const TRat& f = side == &l ? lf : uf;
      for (const auto& [unknown, c] : side->Terms) {
        if (unknown == eliminated) continue;
        const std::optional<TRat> p = Mul(c, f);
        const auto found = r.Terms.find(unknown);
        const std::optional<TRat> total = !p ? std::nullopt : found == r.Terms.end() ? p : Add(found->second, *p);
        if (!total) return std::nullopt;
        if (total->Sign() == 0)
          r.Terms.erase(unknown);
        else
          r.Terms[unknown] = *total;
      }
      const std::optional<TRat> k = Mul(side->Constant, f);
      const std::optional<TRat> total = k ? Add(r.Constant, *k) : std::nullopt;
      if (!total) return std::nullopt;
      r.Constant = *total;
    }
    return r;
  }

  int& budget_;
};

// ---------------------------------------------------------------------------
// Cases.

class TCaseSearch {
 public:
  // Whether every case of the conjunction of the formulas is refuted.
  TRefutation Run(std::vector<const TNode*> formulas) {
    std::vector<TInequality> inequalities;
    std::map<int, bool> propositions;
    return Close(std::move(formulas), inequalities, propositions);
  }

 private:
  TRefutation Close(std::vector<const TNode*> pending, std::vector<TInequality> inequalities,
                    std::map<int, bool> propositions) {
    std::vector<const TNode*> disjunctions;
    while (!pending.empty()) {
      const TNode* n = pending.back();
      pending.pop_back();
      switch (n->Kind) {
        case TNode::True: break;
        case TNode::False: return TRefutation::Refuted;
        case TNode::Linear: inequalities.push_back(n->Inequality); break;
        case TNode::Atom: {
          const auto [at, added] = propositions.emplace(n->Proposition, n->Positive);
          if (!added && at->second != n->Positive) return TRefutation::Refuted;
          break;
        }
        case TNode::And:
          for (const TNode& part : n->Parts) pending.push_back(&part);
          break;
        case TNode::Or: disjunctions.push_back(n); break;
      }
    }
    const TRefutation arithmetic = TElimination(combinations_).Run(inequalities);
    if (arithmetic != TRefutation::Open || disjunctions.empty()) return arithmetic;

    // Split the disjunction with the fewest cases; the others wait in each case.
    const auto smallest = std::min_element(disjunctions.begin(), disjunctions.end(),
                                           [](const TNode* a, const TNode* b) { return a->Parts.size() < b->Parts.size(); });
    const TNode* split = *smallest;
    disjunctions.erase(smallest);
    for (const TNode& part : split->Parts) {
      if (++cases_ > kMaxCases) return TRefutation::Bounded;
      std::vector<const TNode*> next = disjunctions;
      next.push_back(&part);
      const TRefutation result = Close(std::move(next), inequalities, propositions);
      if (result != TRefutation::Refuted) return result;
    }
    return TRefutation::Refuted;
  }

  int cases_ = 0;
  int combinations_ = kMaxCombinations;
};

bool MentionsRequired(const TExpr& e) { return ContainsClass(e, TClass::ProveVar); }

// Whether the kernel's given conditions (and postponed disjunctions) with the
// negation of its goal contradict each other.
bool Refutes(const TKernel& kernel) {
  TTranslator translator(Ctx().Settings.SymbolTransEnable);
  std::vector<TNode> formulas;
  // What is given (a condition about a required object says nothing for
  // every value of it, and is left out).
  for (const TCondList* list : {&kernel.GivenConds, kernel.Postponed ? &*kernel.Postponed : nullptr}) {
    if (!list) continue;
    for (const TCondPtr& c : *list)
      if (c->Expr && !MentionsRequired(*c->Expr)) formulas.push_back(translator.Translate(*c->Expr, true));
  }
  // The negation of the goal, when the goal asks for nothing to be found.
  if (kernel.RequiredObjects.empty() && !kernel.ProvingConds.empty()) {
    std::vector<TNode> negations;
    for (const TCondPtr& c : kernel.ProvingConds) {
      if (!c->Expr) return false;
      negations.push_back(translator.Translate(*c->Expr, false));
    }
    formulas.push_back(Join(TNode::Or, std::move(negations)));
  }
  std::vector<const TNode*> all;
  for (const TNode& f : formulas) all.push_back(&f);
  return TCaseSearch().Run(std::move(all)) == TRefutation::Refuted;
}

}  // namespace

TRefutation Refute(const TExprList& conditions, bool arithmetic) {
  TTranslator translator(arithmetic);
  std::vector<TNode> formulas;
  for (const TExprPtr& c : conditions)
    if (c) formulas.push_back(translator.Translate(*c, true));
  std::vector<const TNode*> all;
  for (const TNode& f : formulas) all.push_back(&f);
  return TCaseSearch().Run(std::move(all));
}

bool TerminalTest(TKernel& kernel, int depth) {
  // The book's deep methods first, on a copy: new objects for the terms they
  // take, with what the methods say of them; the tests then put the objects
  // in place of the terms.
  std::unique_ptr<TKernel> work;
  if (ProofSetup().DeepMethods) {
    work = kernel.Copy({.Postponed = true, .Goal = true});
    work->SearchMode = 2;
    bool applied = false;
    for (int pass = 0; pass < kDeepMethodPasses && ProofSetup().DeepMethods(*work, depth); ++pass) {
      applied = true;
      TestConditions(*work, depth + 1);
      if (work->Proved) break;
    }
    if (!applied) work.reset();
    if (work && work->Proved) {
      kernel.Proved = true;
      return true;
    }
  }
  if (!Refutes(work ? *work : kernel)) return false;
  kernel.Proved = true;
  return true;
}

}  // namespace lemmix
