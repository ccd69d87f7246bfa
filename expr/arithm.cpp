#include "expr/arithm.h"

#include <algorithm>
#include <functional>

#include "expr/typing.h"
#include "intrinsics/intr_numbers.h"
#include "intrinsics/st_func.h"
#include "shell/context.h"
#include "shell/cp1251.h"
#include "types/type.h"
#include "types/type_relations.h"
#include "types/types_proccess.h"

namespace lemmix {

namespace {

TIntr& F(int n) { return *Ctx().StFunc->Intr(n); }

bool IsNum(const TExpr& e) { return e.Class == TClass::Number; }
const TNumber& NumOf(const TExpr& e) { return *e.NumberValue(); }
bool IsNumEq(const TExpr& e, int k) { return IsNum(e) && EqualsInt(NumOf(e), k); }
TExprPtr Num(const TNumber& n) { return TExpr::Number(n); }
TExprPtr Num(std::int32_t k) { return Num(TNumber(k)); }
TNumber Int(std::int32_t k) { return TNumber(k); }

// head(args...), typed.
template <typename... Args>
TExprPtr Node(int head, Args... args) {
  TExprPtr e = ApplyIntr(head, std::move(args)...);
  ExprType(*e, false);
  return e;
}

TExprPtr Constant(bool value) {
  TExprPtr e = TExpr::OfIntr(F(value ? kTrue : kFalse));
  ExprType(*e, false);
  return e;
}

bool IsReal(const TExpr& e) { return e.Type != nullptr && IsSubtypeOfNamed(e.Type, "rT", *Ctx().TypesProccess); }
bool NaturalTyped(const TExpr& e) { return e.Type != nullptr && IsSubtypeOfNamed(e.Type, "nT", *Ctx().TypesProccess); }

bool HasBinder(const TExpr& e) {
  if (e.Bound && !e.Bound->empty()) return true;
  if (e.Class == TClass::Compound)
    for (const TExprPtr& child : e.Children())
      if (HasBinder(*child)) return true;
  return false;
}

// The arguments of a compound: its children after the head.
std::size_t ArgCount(const TExpr& e) { return e.Class != TClass::Compound || e.Children().empty() ? 0 : e.Children().size() - 1; }
TExpr& Arg(TExpr& e, std::size_t i) { return *e.Children()[i + 1]; }
const TExpr& Arg(const TExpr& e, std::size_t i) { return *e.Children()[i + 1]; }

// Types e again after its structure changed below it.
void Refresh(TExpr& e) {
  e.Type = nullptr;
  if (TExpr* head = e.Head(); head && head->Class == TClass::Intr) head->Type = nullptr;
  ExprType(e, false);
}

void Become(TExpr& e, TExprPtr other) { ReplaceBy(e, std::move(other)); }

TExprPtr TakeArg(TExpr& e, std::size_t i) {
  TExprPtr a = std::move(e.Children()[i + 1]);
  e.Children().erase(e.Children().begin() + static_cast<std::ptrdiff_t>(i + 1));
  return a;
}

// Replaces every argument of e headed by `head` by its arguments, in place.
bool Flatten(TExpr& e, int head) {
  bool changed = false;
  TExprList& ch = e.Children();
  for (std::size_t i = ch.size(); i-- > 1;) {
    if (ch[i]->HeadIntrinsic() != head) continue;
    TExprPtr inner = std::move(ch[i]);
    ch.erase(ch.begin() + static_cast<std::ptrdiff_t>(i));
    TExprList& ic = inner->Children();
    ch.insert(ch.begin() + static_cast<std::ptrdiff_t>(i), std::make_move_iterator(ic.begin() + 1),
              std::make_move_iterator(ic.end()));
    changed = true;
  }
  return changed;
}

// A guard against runaway rewriting: past this depth a term is left as it is.
int simplifyDepth = 0;
constexpr int kMaxDepth = 256;

struct DepthGuard {
  DepthGuard() { ++simplifyDepth; }
  ~DepthGuard() { --simplifyDepth; }
  bool TooDeep() const { return simplifyDepth > kMaxDepth; }
};

// ---------------------------------------------------------------------------
// The canonical order of operands.

int Order(long long a, long long b) { return (a > b) - (a < b); }

int CanonicalCompare(const TExpr& a, const TExpr& b) {
  if (&a == &b) return 0;
  if (a.Class != b.Class) return Order(static_cast<int>(a.Class), static_cast<int>(b.Class));
  switch (a.Class) {
    case TClass::Number: {
      const int byValue = CompareValues(NumOf(a), NumOf(b));
      return byValue != 0 ? byValue : Compare(NumOf(a), NumOf(b));
    }
    case TClass::Intr: return Order(a.Intrinsic()->Number, b.Intrinsic()->Number);
    case TClass::AntIntr: return std::less<const void*>()(a.Antonym(), b.Antonym()) ? -1 : a.Antonym() == b.Antonym() ? 0 : 1;
    case TClass::String: return a.Text()->compare(*b.Text()) < 0 ? -1 : *a.Text() == *b.Text() ? 0 : 1;
    case TClass::NodefVar:
    case TClass::DataVar:
    case TClass::ProveVar:
    case TClass::LocVar: {
      const TVar* x = a.Var();
      const TVar* y = b.Var();
      if (x == y) return 0;
      if (x->Name.Letter != y->Name.Letter) return Order(x->Name.Letter, y->Name.Letter);
      if (x->Name.Index != y->Name.Index) return Order(x->Name.Index, y->Name.Index);
      // Two objects under one name are never the same term.
      return std::less<const TVar*>()(x, y) ? -1 : 1;
    }
    case TClass::MathPar:
    case TClass::TemplPar: return Order(a.ParIndex(), b.ParIndex());
    case TClass::Compound: {
      const TExprList& ac = a.Children();
      const TExprList& bc = b.Children();
      if (a.Bound.has_value() != b.Bound.has_value() || (a.Bound && !a.Bound->empty()) || (b.Bound && !b.Bound->empty()))
        return std::less<const TExpr*>()(&a, &b) ? -1 : 1;  // binders are never merged
      if (ac.size() != bc.size()) return Order(static_cast<long long>(ac.size()), static_cast<long long>(bc.size()));
      for (std::size_t i = 0; i < ac.size(); ++i)
        if (const int order = CanonicalCompare(*ac[i], *bc[i]); order != 0) return order;
      return 0;
    }
    default: return std::less<const TExpr*>()(&a, &b) ? -1 : &a == &b ? 0 : 1;
  }
}

bool Same(const TExpr& a, const TExpr& b) { return CanonicalCompare(a, b) == 0; }

// ---------------------------------------------------------------------------
// Where terms are defined.

// Expressions known to be non-zero while a part of a term is simplified: the
// rest of the term carries that requirement, so the part may rely on it.
std::vector<const TExpr*> assumedNonzero;


bool KnownPositive(const TExpr& e) {
  if (IsNum(e)) return IsPositive(NumOf(e));
  if (e.IsVar()) return NaturalTyped(e);
  const int head = e.HeadIntrinsic();
  if (head == kPower && ArgCount(e) == 2) return KnownPositive(Arg(e, 0)) && IsEverywhereDefined(Arg(e, 1));
  if ((head == kTimes || head == kPlus) && ArgCount(e) > 0) {
    for (std::size_t i = 0; i < ArgCount(e); ++i)
      if (!KnownPositive(Arg(e, i))) return false;
    return true;
  }
  return false;
}

bool KnownNonzero(const TExpr& e) {
  if (IsNum(e)) return !EqualsInt(NumOf(e), 0);
  if (KnownPositive(e)) return true;
  return std::any_of(assumedNonzero.begin(), assumedNonzero.end(), [&](const TExpr* a) { return Same(*a, e); });
}

// Where base^exponent is defined, as a condition on the base.
enum class TDomain { All, NonZero, NonNeg, Positive, Unknown };

TDomain Meet(TDomain a, TDomain b) {
  if (a == TDomain::Unknown || b == TDomain::Unknown) return TDomain::Unknown;
  if (a == TDomain::All) return b;
  if (b == TDomain::All || a == b) return a;
  return TDomain::Positive;  // any two of NonZero, NonNeg, Positive meet there
}

TDomain NumberDomain(const TNumber& k) {
  if (k.IsInteger()) return k.Integer() > 0 ? TDomain::All : TDomain::NonZero;
  return IsPositive(k) ? TDomain::NonNeg : TDomain::Positive;
}

TDomain PowerDomain(const TExpr& exponent) {
  if (IsNum(exponent)) return NumberDomain(NumOf(exponent));
  if (NaturalTyped(exponent) && IsEverywhereDefined(exponent)) return TDomain::All;
  return TDomain::Unknown;
}

// The domain of (a^k)^e as a condition on a, for numbers k and e.
TDomain NestedPowerDomain(const TNumber& k, const TNumber& e) {
  TDomain outer = NumberDomain(e);  // a condition on v = a^k
  const bool zero = EqualsInt(k, 0);
  const bool evenInteger = k.IsInteger() && k.Integer() % 2 == 0;
  const bool oddInteger = k.IsInteger() && !evenInteger;
  switch (outer) {
    case TDomain::NonZero: outer = zero ? TDomain::All : TDomain::NonZero; break;
    case TDomain::NonNeg: outer = zero || evenInteger || !k.IsInteger() ? TDomain::All : TDomain::NonNeg; break;
    case TDomain::Positive:
      outer = zero ? TDomain::All : evenInteger ? TDomain::NonZero : oddInteger ? TDomain::Positive : TDomain::Positive;
      break;
    default: break;
  }
  return Meet(NumberDomain(k), outer);
}

bool HeadTypeIsTotal(const TExpr& head) {
  const TType* type = head.Type;
  return type != nullptr && type->Fun() != nullptr && !type->Fun()->Restrictions;
}

}  // namespace

TAssumeNonzero::TAssumeNonzero(const TExpr& e) { assumedNonzero.push_back(&e); }
TAssumeNonzero::~TAssumeNonzero() { assumedNonzero.pop_back(); }

bool IsEverywhereDefined(const TExpr& e) {
  switch (e.Class) {
    case TClass::Number:
    case TClass::Intr:
    case TClass::NodefVar:
    case TClass::DataVar:
    case TClass::ProveVar:
    case TClass::LocVar: return true;
    case TClass::Compound: break;
    default: return false;
  }
  if (ArgCount(e) == 0) return false;
  for (std::size_t i = 0; i < ArgCount(e); ++i)
    if (!IsEverywhereDefined(Arg(e, i))) return false;
  const TExpr& head = *e.Head();
  switch (e.HeadIntrinsic()) {
    case kPlus:
    case kTimes:
    case kMinus: return true;
    case kDivide: return ArgCount(e) == 2 && KnownNonzero(Arg(e, 1));
    case kPower: return ArgCount(e) == 2 && (PowerDomain(Arg(e, 1)) == TDomain::All || KnownPositive(Arg(e, 0)));
    case kNoHead:
      // A function variable applied: defined where its type says.
      return head.IsVar() && HeadTypeIsTotal(head);
    default: return HeadTypeIsTotal(head);
  }
}

namespace {

// ---------------------------------------------------------------------------
// Terms as coefficient and factors, factors as base and exponent.

// A term as coefficient and factors: 2*x*y is 2 and (x, y); x is 1 and (x).
struct Split {
  TNumber coefficient{std::int32_t{1}};
  std::vector<const TExpr*> factors;
};

Split SplitTerm(const TExpr& t) {
  Split s;
  if (t.HeadIntrinsic() == kTimes) {
    std::size_t first = 0;
    if (ArgCount(t) > 0 && IsNum(Arg(t, 0))) {
      s.coefficient = NumOf(Arg(t, 0));
      first = 1;
    }
    for (std::size_t i = first; i < ArgCount(t); ++i) s.factors.push_back(&Arg(t, i));
  } else if (IsNum(t)) {
    s.coefficient = NumOf(t);
  } else {
    s.factors.push_back(&t);
  }
  return s;
}

bool SameFactors(const std::vector<const TExpr*>& a, const std::vector<const TExpr*>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (!Same(*a[i], *b[i])) return false;
  return true;
}

bool AllDefined(const std::vector<const TExpr*>& factors) {
  return std::all_of(factors.begin(), factors.end(), [](const TExpr* f) { return IsEverywhereDefined(*f); });
}

TExprPtr MakeTerm(const TNumber& coefficient, const std::vector<const TExpr*>& factors) {
  TExprList args;
  if (!EqualsInt(coefficient, 1) || factors.empty()) args.push_back(Num(coefficient));
  for (const TExpr* f : factors) args.push_back(DeepCopy(*f));
  if (args.size() == 1) return std::move(args.front());
  return Node(kTimes, std::move(args));
}

const TExpr& BaseOf(const TExpr& f) { return f.HeadIntrinsic() == kPower && ArgCount(f) == 2 ? Arg(f, 0) : f; }
const TExpr* ExponentOf(const TExpr& f) { return f.HeadIntrinsic() == kPower && ArgCount(f) == 2 ? &Arg(f, 1) : nullptr; }

// The degree of a term, for the order of a sum: integer exponents count as
// they are, anything else as 1.
long long Degree(const Split& s) {
  long long degree = 0;
  for (const TExpr* f : s.factors) {
    const TExpr* k = ExponentOf(*f);
    degree += k && IsNum(*k) && NumOf(*k).IsInteger() ? NumOf(*k).Integer() : 1;
  }
  return degree;
}

int CompareFactorLists(const std::vector<const TExpr*>& a, const std::vector<const TExpr*>& b) {
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
    if (const int order = CanonicalCompare(*a[i], *b[i]); order != 0) return order;
  return Order(static_cast<long long>(a.size()), static_cast<long long>(b.size()));
}

// Terms of a sum: higher degree first, then by their factors; numbers last.
bool TermBefore(const TExpr& a, const TExpr& b) {
  if (IsNum(a) != IsNum(b)) return IsNum(b);
  if (IsNum(a)) return CanonicalCompare(a, b) < 0;
  const Split sa = SplitTerm(a);
  const Split sb = SplitTerm(b);
  const long long da = Degree(sa);
  const long long db = Degree(sb);
  if (da != db) return da > db;
  if (const int order = CompareFactorLists(sa.factors, sb.factors); order != 0) return order < 0;
  return CanonicalCompare(a, b) < 0;
}

// Factors of a product: numbers first, then by base, then by exponent.
bool FactorBefore(const TExpr& a, const TExpr& b) {
  if (IsNum(a) != IsNum(b)) return IsNum(a);
  if (const int order = CanonicalCompare(BaseOf(a), BaseOf(b)); order != 0) return order < 0;
  const TExprPtr one = Num(1);
  const TExpr* ka = ExponentOf(a);
  const TExpr* kb = ExponentOf(b);
  return CanonicalCompare(ka ? *ka : *one, kb ? *kb : *one) < 0;
}

bool SortArguments(TExpr& e, bool (*before)(const TExpr&, const TExpr&)) {
  TExprList& ch = e.Children();
  const auto less = [before](const TExprPtr& a, const TExprPtr& b) { return before(*a, *b); };
  if (std::is_sorted(ch.begin() + 1, ch.end(), less)) return false;
  std::stable_sort(ch.begin() + 1, ch.end(), less);
  return true;
}

// ---------------------------------------------------------------------------
// Sums.

bool MergeLikeTerms(TExpr& s) {
  for (std::size_t j = ArgCount(s); j-- > 1;) {
    if (IsNum(Arg(s, j))) continue;
    const Split later = SplitTerm(Arg(s, j));
    for (std::size_t i = 0; i < j; ++i) {
      if (IsNum(Arg(s, i))) continue;
      const Split earlier = SplitTerm(Arg(s, i));
      if (!SameFactors(earlier.factors, later.factors)) continue;
      const std::optional<TNumber> total = Add(earlier.coefficient, later.coefficient);
      if (!total) continue;
      if (EqualsInt(*total, 0) && AllDefined(earlier.factors)) {
        TakeArg(s, j);
        TakeArg(s, i);
      } else {
        // A zero coefficient over factors defined only somewhere stays, as 0*factors.
        TExprPtr merged = MakeTerm(*total, earlier.factors);
        TakeArg(s, j);
        s.Children()[i + 1] = std::move(merged);
      }
      return true;
    }
  }
  return false;
}

// Adds up the number arguments; false when their sum overflows (nothing changes).
bool FoldNumbers(TExpr& e, bool sum, TNumber& result, std::size_t& count) {
  result = Int(sum ? 0 : 1);
  count = 0;
  for (std::size_t i = 0; i < ArgCount(e); ++i) {
    if (!IsNum(Arg(e, i))) continue;
    const std::optional<TNumber> next = sum ? Add(result, NumOf(Arg(e, i))) : Multiply(result, NumOf(Arg(e, i)));
    if (!next) return false;
    result = *next;
    ++count;
  }
  for (std::size_t i = ArgCount(e); i-- > 0;)
    if (IsNum(Arg(e, i))) TakeArg(e, i);
  return true;
}

}  // namespace

bool RewriteDivision(TExpr& e) {
  if (e.Class != TClass::Compound) return false;
  bool changed = false;
  for (std::size_t i = 1; i < e.Children().size(); ++i) changed |= RewriteDivision(*e.Children()[i]);
  if (e.HeadIntrinsic() == kDivide && ArgCount(e) == 2 && IsReal(e)) {
    TExpr& divisor = Arg(e, 1);
    if (IsNum(divisor)) {
      TNumber inverse = NumOf(divisor);
      // A division by 0 stays as it is written: it is undefined, not 0.
      if (!Invert(inverse, Ctx().Messages)) return changed;
      Become(divisor, Num(inverse));
    } else {
      TExprPtr base = TakeArg(e, 1);
      e.Children().push_back(Node(kPower, std::move(base), Num(-1)));
    }
    e.Children().front() = TExpr::OfIntr(F(kTimes));
    Refresh(e);
    changed = true;
  }
  return changed;
}

bool RewriteMinus(TExpr& e) {
  if (e.Class != TClass::Compound) return false;
  bool changed = false;
  for (std::size_t i = 1; i < e.Children().size(); ++i) changed |= RewriteMinus(*e.Children()[i]);
  if (e.HeadIntrinsic() == kMinus && ArgCount(e) == 1 && IsReal(Arg(e, 0))) {
    e.Children().front() = TExpr::OfIntr(F(kTimes));
    e.Children().insert(e.Children().begin() + 1, Num(-1));
    Refresh(e);
    changed = true;
  }
  return changed;
}

bool SimplifyTerms(TExpr& e, bool expand) {
  const DepthGuard guard;
  if (guard.TooDeep() || e.Class != TClass::Compound) return false;
  bool changed = false;
  const int head = e.HeadIntrinsic();
  for (std::size_t i = 1; i < e.Children().size(); ++i)
    changed |= SimplifyTerms(*e.Children()[i], head == kPower && i == 2 ? false : expand);
  if (changed) Refresh(e);
  if (!IsReal(e) || HasBinder(e)) return changed;
  if (head == kPlus) return SimplifySum(e, expand) || changed;
  if (head == kTimes) return SimplifyProduct(e) || changed;
  if (head == kPower) return SimplifyPower(e, expand) || changed;
  // The absolute value of a number is a number.
  if (head == kAbs && ArgCount(e) == 1 && IsNum(Arg(e, 0))) {
    TNumber value = NumOf(Arg(e, 0));
    if (IsNegative(value)) Negate(value);
    Become(e, Num(value));
    return true;
  }
  return changed;
}

bool SimplifySum(TExpr& s, bool expand) {
  const DepthGuard guard;
  if (guard.TooDeep()) return false;
  bool changed = Flatten(s, kPlus);
  const bool lastIsNumber = ArgCount(s) > 0 && IsNum(Arg(s, ArgCount(s) - 1));
  TNumber total;
  std::size_t numbers = 0;
  if (FoldNumbers(s, true, total, numbers)) {
    if (numbers > 0 && !EqualsInt(total, 0)) s.Children().push_back(Num(total));
    changed |= numbers > 1 || (numbers == 1 && !lastIsNumber) || (numbers > 0 && EqualsInt(total, 0));
  }
  for (;;) {
    if (ArgCount(s) == 0) {
      Become(s, Num(0));
      return true;
    }
    if (ArgCount(s) == 1) {
      Become(s, TakeArg(s, 0));
      return true;
    }
    if (!MergeLikeTerms(s)) break;
    changed = true;
  }
  // Sorted first, so that what follows does not depend on the order written.
  changed |= SortArguments(s, TermBefore);
  if (changed) Refresh(s);
  if (expand && ClearNegativePowers(s)) return true;
  if (Expand(s)) {
    SimplifyTerms(s, false);
    return true;
  }
  return changed;
}

namespace {

TExprPtr PowerNode(const TExpr& base, TExprPtr exponent) {
  if (IsNumEq(*exponent, 1)) return DeepCopy(base);
  return Node(kPower, DeepCopy(base), std::move(exponent));
}

// g = B^a and f = B^b (a missing exponent is 1) as one or two factors with
// the same value and the same domain; nothing when that is not possible.
std::optional<TExprList> CombinePowers(const TExpr& g, const TExpr& f) {
  const TExpr& base = BaseOf(g);
  const TExprPtr one = Num(1);
  const TExpr& a = ExponentOf(g) ? *ExponentOf(g) : *one;
  const TExpr& b = ExponentOf(f) ? *ExponentOf(f) : *one;
  TExprList result;
  if (KnownPositive(base) && IsEverywhereDefined(a) && IsEverywhereDefined(b)) {
    TExprPtr sum = Node(kPlus, DeepCopy(a), DeepCopy(b));
    SimplifyTerms(*sum, false);
    result.push_back(PowerNode(base, std::move(sum)));
    return result;
  }
  if (IsNum(a) && IsNum(b)) {
    const std::optional<TNumber> c = Add(NumOf(a), NumOf(b));
    if (!c) return std::nullopt;
    const TDomain before = Meet(NumberDomain(NumOf(a)), NumberDomain(NumOf(b)));
    const TDomain after = NumberDomain(*c);
    if (after == before) {
      result.push_back(PowerNode(base, Num(*c)));
      return result;
    }
    // B^c is defined at 0 where the factors were not: B^0 keeps that out.
    if (before == TDomain::NonZero && after == TDomain::All) {
      if (IsNumEq(a, 0) || IsNumEq(b, 0)) return std::nullopt;  // the guard is there already
      result.push_back(PowerNode(base, Num(*c)));
      if (!KnownNonzero(base)) result.push_back(Node(kPower, DeepCopy(base), Num(0)));
      return result;
    }
    return std::nullopt;
  }
  if (PowerDomain(a) == TDomain::All && PowerDomain(b) == TDomain::All) {
    TExprPtr sum = Node(kPlus, DeepCopy(a), DeepCopy(b));
    SimplifyTerms(*sum, false);
    result.push_back(PowerNode(base, std::move(sum)));
    return result;
  }
  return std::nullopt;
}

bool CombineLikeFactors(TExpr& p) {
  for (std::size_t j = ArgCount(p); j-- > 1;) {
    for (std::size_t i = 0; i < j; ++i) {
      const TExpr& g = Arg(p, i);
      const TExpr& f = Arg(p, j);
      if (IsNum(g) || IsNum(f) || !Same(BaseOf(g), BaseOf(f))) continue;
      std::optional<TExprList> combined = CombinePowers(g, f);
      if (!combined) continue;
      TakeArg(p, j);
      TakeArg(p, i);
      for (TExprPtr& factor : *combined) {
        if (factor->HeadIntrinsic() == kPower) SimplifyPower(*factor, false);
        if (!IsNumEq(*factor, 1)) p.Children().push_back(std::move(factor));
      }
      return true;
    }
  }
  return false;
}

}  // namespace

bool SimplifyProduct(TExpr& p) {
  const DepthGuard guard;
  if (guard.TooDeep()) return false;
  bool changed = Flatten(p, kTimes);
  const bool firstIsNumber = ArgCount(p) > 0 && IsNum(Arg(p, 0));
  TNumber product;
  std::size_t numbers = 0;
  if (FoldNumbers(p, false, product, numbers)) {
    bool others = true;
    for (std::size_t i = 0; i < ArgCount(p) && others; ++i) others = IsEverywhereDefined(Arg(p, i));
    if (numbers > 0 && EqualsInt(product, 0) && others) {
      Become(p, Num(0));
      return true;
    }
    if (numbers > 0 && !EqualsInt(product, 1)) p.Children().insert(p.Children().begin() + 1, Num(product));
    changed |= numbers > 1 || (numbers == 1 && !firstIsNumber) || (numbers > 0 && EqualsInt(product, 1));
  }
  const auto lengthTest = [&]() {
    if (ArgCount(p) == 0) {
      Become(p, Num(1));
      return true;
    }
    if (ArgCount(p) == 1) {
      Become(p, TakeArg(p, 0));
      return true;
    }
    return false;
  };
  if (lengthTest()) return true;
  bool factored = false;
  for (std::size_t i = 0; i < ArgCount(p); ++i) factored |= FactorAll(Arg(p, i));
  if (factored) {
    // The new factors are simplified too: no x + 0, no product in a product.
    Refresh(p);
    SimplifyTerms(p, true);
    return true;
  }
  while (CombineLikeFactors(p)) {
    changed = true;
    if (lengthTest()) return true;
  }
  changed |= SortArguments(p, FactorBefore);
  if (changed) Refresh(p);
  return changed;
}

namespace {

// (a^k)^e as one or two factors with the same value and domain.
TExprPtr NestedPower(const TExpr& a, const TExpr& k, const TExpr& e) {
  if ((KnownPositive(a) && IsEverywhereDefined(k) && IsEverywhereDefined(e)) ||
      (PowerDomain(k) == TDomain::All && PowerDomain(e) == TDomain::All && !IsNum(e))) {
    TExprPtr product = Node(kTimes, DeepCopy(k), DeepCopy(e));
    SimplifyTerms(*product, false);
    return PowerNode(a, std::move(product));
  }
  if (!IsNum(k) || !IsNum(e)) return nullptr;
  const std::optional<TNumber> ke = Multiply(NumOf(k), NumOf(e));
  if (!ke) return nullptr;
  const TDomain before = NestedPowerDomain(NumOf(k), NumOf(e));
  // (a^2)^(1/2) is |a|: a fractional outer exponent keeps the value only
  // where a cannot be negative.
  if (!NumOf(e).IsInteger() && before != TDomain::NonNeg && before != TDomain::Positive) return nullptr;
  const TDomain after = NumberDomain(*ke);
  if (after == before) return PowerNode(a, Num(*ke));
  if (before == TDomain::NonZero && after == TDomain::All) {
    if (KnownNonzero(a)) return PowerNode(a, Num(*ke));
    return Node(kTimes, PowerNode(a, Num(*ke)), Node(kPower, DeepCopy(a), Num(0)));
  }
  return nullptr;
}

// Whether (f1*...*fn)^e = f1^e * ... * fn^e keeps value and domain.
bool PowerOfProductSplits(const TExpr& product, const TExpr& e) {
  if (IsNum(e) && NumOf(e).IsInteger()) return true;
  if (!IsNum(e) && !IsEverywhereDefined(e)) return false;
  // With a fractional or unknown exponent, (a*b)^e = a^e * b^e holds where
  // a, b >= 0; it keeps the domain when at most one factor may be negative.
  int unknown = 0;
  for (std::size_t i = 0; i < ArgCount(product); ++i) unknown += KnownPositive(Arg(product, i)) ? 0 : 1;
  return unknown <= 1;
}

}  // namespace

bool SimplifyPower(TExpr& w, bool expand) {
  const DepthGuard guard;
  if (guard.TooDeep() || ArgCount(w) != 2) return false;
  bool changed = false;
  if (Expand(Arg(w, 1))) {
    SimplifyTerms(Arg(w, 1), false);
    changed = true;
  }
  if (FactorAll(Arg(w, 0))) {
    SimplifyTerms(Arg(w, 0), true);
    changed = true;
  }
  TExpr& b = Arg(w, 0);
  TExpr& e = Arg(w, 1);
  if (IsNumEq(e, 1) || (IsNumEq(b, 0) && IsNum(e) && IsPositive(NumOf(e))) || (IsNumEq(b, 1) && IsEverywhereDefined(e))) {
    Become(w, TakeArg(w, 0));
    return true;
  }
  if (IsNumEq(e, 0) && !IsNum(b) && KnownNonzero(b) && IsEverywhereDefined(b)) {
    Become(w, Num(1));
    return true;
  }
  if (IsNum(b) && IsNum(e)) {
    if (const std::optional<TNumber> value = Power(NumOf(b), NumOf(e), Ctx().Messages)) {
      Become(w, Num(*value));
      return true;
    }
    if (changed) Refresh(w);
    return changed;
  }
  if (IsNum(b) && IsPositive(NumOf(b)) && e.HeadIntrinsic() == kPlus && IsNum(Arg(e, ArgCount(e) - 1)) &&
      IsEverywhereDefined(e)) {
    TExprPtr c = TakeArg(e, ArgCount(e) - 1);
    TExprPtr rest = ArgCount(e) == 1 ? TakeArg(e, 0) : TakeArg(w, 1);
    if (rest->HeadIntrinsic() == kPlus) Refresh(*rest);
    TExprPtr constant = Node(kPower, DeepCopy(b), std::move(c));
    TExprPtr variable = Node(kPower, DeepCopy(b), std::move(rest));
    Become(w, Node(kTimes, std::move(constant), std::move(variable)));
    SimplifyTerms(w, expand);
    return true;
  }
  if (b.HeadIntrinsic() == kTimes && PowerOfProductSplits(b, e)) {
    TExprList factors;
    for (std::size_t i = 0; i < ArgCount(b); ++i) factors.push_back(Node(kPower, DeepCopy(Arg(b, i)), DeepCopy(e)));
    Become(w, Node(kTimes, std::move(factors)));
    SimplifyTerms(w, expand);
    return true;
  }
  if (b.HeadIntrinsic() == kPower && ArgCount(b) == 2) {
    if (TExprPtr nested = NestedPower(Arg(b, 0), Arg(b, 1), e)) {
      Become(w, std::move(nested));
      if (w.HeadIntrinsic() == kTimes) SimplifyProduct(w);
      else if (w.HeadIntrinsic() == kPower) SimplifyPower(w, expand);
      return true;
    }
  }
  if (changed) Refresh(w);
  return changed;
}

bool Expand(TExpr& e) {
  const DepthGuard guard;
  if (guard.TooDeep() || e.Class != TClass::Compound) return false;
  bool changed = false;
  const int head = e.HeadIntrinsic();
  if (head == kPlus) {
    for (std::size_t i = 0; i < ArgCount(e); ++i) {
      const int inner = Arg(e, i).HeadIntrinsic();
      if (inner == kTimes || inner == kPower) changed |= Expand(Arg(e, i));
    }
  } else if (head == kTimes) {
    for (std::size_t i = 0; i < ArgCount(e); ++i)
      if (Arg(e, i).HeadIntrinsic() == kPower) changed |= Expand(Arg(e, i));
    for (std::size_t k = 0; k < ArgCount(e); ++k) {
      if (Arg(e, k).HeadIntrinsic() != kPlus) continue;
      TExprPtr sum = TakeArg(e, k);
      TExprPtr rest = ArgCount(e) == 1 ? TakeArg(e, 0) : TExpr::Compound(std::move(e.Children()));
      if (rest->Class == TClass::Compound && rest->HeadIntrinsic() == kTimes) Refresh(*rest);
      TExprList terms;
      for (std::size_t i = 0; i < ArgCount(*sum); ++i)
        terms.push_back(Node(kTimes, DeepCopy(*rest), DeepCopy(Arg(*sum, i))));
      Become(e, Node(kPlus, std::move(terms)));
      changed = true;
      break;
    }
  } else if (head == kPower && ArgCount(e) == 2 && IsNumEq(Arg(e, 1), 2) && Arg(e, 0).HeadIntrinsic() == kPlus) {
    Become(e, Node(kTimes, DeepCopy(Arg(e, 0)), DeepCopy(Arg(e, 0))));
    changed = true;
  }
  if (changed) {
    Refresh(e);
    Expand(e);
  }
  return changed;
}

namespace {

bool IsNegativePower(const TExpr& f) {
  return f.HeadIntrinsic() == kPower && ArgCount(f) == 2 && !IsNum(Arg(f, 0)) && IsNum(Arg(f, 1)) &&
         NumOf(Arg(f, 1)).IsInteger() && IsNegative(NumOf(Arg(f, 1)));
}

// The first power with a negative integer exponent among the terms of s and
// their factors, or one of `base` when it is given.
const TExpr* FindNegativePower(const TExpr& s, const TExpr* base) {
  const auto fits = [&](const TExpr& f) { return IsNegativePower(f) && (!base || Same(Arg(f, 0), *base)); };
  for (std::size_t i = 0; i < ArgCount(s); ++i) {
    const TExpr& t = Arg(s, i);
    if (fits(t)) return &t;
    if (t.HeadIntrinsic() == kTimes)
      for (std::size_t j = 0; j < ArgCount(t); ++j)
        if (fits(Arg(t, j))) return &Arg(t, j);
  }
  return nullptr;
}

}  // namespace

namespace {
// Clearing inside a clearing: bounded, since each level copies every term.
int clearingDepth = 0;
constexpr int kMaxClearingDepth = 3;
}  // namespace

bool ClearNegativePowers(TExpr& s) {
  if (s.HeadIntrinsic() != kPlus || clearingDepth >= kMaxClearingDepth) return false;
  ++clearingDepth;
  struct Leave {
    ~Leave() { --clearingDepth; }
  } leave;
  const TExpr* found = FindNegativePower(s, nullptr);
  if (found == nullptr) return false;
  const TExprPtr base = DeepCopy(Arg(*found, 0));
  TNumber k = NumOf(Arg(*found, 1));
  const TNumber negative = k;
  if (!Negate(k)) return false;
  TExprList terms;
  for (std::size_t i = 0; i < ArgCount(s); ++i)
    terms.push_back(Node(kTimes, DeepCopy(Arg(s, i)), Node(kPower, DeepCopy(*base), Num(k))));
  TExprPtr sum = Node(kPlus, std::move(terms));
  {
    // The factor base^-k that multiplies the sum keeps base = 0 out, so
    // inside the sum base^0 is 1.
    const TAssumeNonzero assumption(*base);
    SimplifyTerms(*sum, true);
  }
  // Nothing is gained when the power is still there.
  if (sum->HeadIntrinsic() == kPlus && FindNegativePower(*sum, base.get())) return false;
  Become(s, Node(kTimes, std::move(sum), Node(kPower, DeepCopy(*base), Num(negative))));
  SimplifyProduct(s);
  return true;
}

bool FactorAll(TExpr& e) {
  switch (e.HeadIntrinsic()) {
    case kPlus: return Factorize(e);
    case kTimes: {
      bool changed = false;
      for (std::size_t i = 0; i < ArgCount(e); ++i) changed |= FactorAll(Arg(e, i));
      if (changed) Refresh(e);
      return changed;
    }
    case kPower: {
      const bool changed = ArgCount(e) == 2 && FactorAll(Arg(e, 0));
      if (changed) Refresh(e);
      return changed;
    }
    default: return false;
  }
}

int QuadraticCoeff(const TExpr& e, TQuadratic& result) {
  result = TQuadratic{};
  if (e.Class != TClass::Compound) return -1;
  std::vector<TVar*> vars = CollectVariables(e, TClass::DataVar);
  const int answer = vars.empty() ? 1 : 0;
  result.VariableClass = vars.empty() ? TClass::ProveVar : TClass::DataVar;
  const std::vector<TVar*> required = CollectVariables(e, TClass::ProveVar);
  vars.insert(vars.end(), required.begin(), required.end());
  if (vars.size() != 1) return -1;
  result.Variable = vars.front();
  const auto isX = [&](const TExpr& t) { return (t.Class == TClass::DataVar || t.Class == TClass::ProveVar) && t.Var() == result.Variable; };
  const auto isSquare = [&](const TExpr& t) {
    return t.HeadIntrinsic() == kPower && ArgCount(t) == 2 && isX(Arg(t, 0)) && IsNumEq(Arg(t, 1), 2);
  };
  const auto set = [](std::optional<TNumber>& slot, const TNumber& value, int error) {
    if (slot) {
      Ctx().Messages.Error({"Ошибка "_cp + std::to_string(error) + " в QuadraticCoeff (Arithm)"_cp,
                            "Error " + std::to_string(error) + " in QuadraticCoeff (Arithm)"});
      return false;
    }
    slot = value;
    return true;
  };
  for (const TExpr* t : Operands(e, kPlus)) {
    bool ok = true;
    if (IsNum(*t)) {
      ok = set(result.C, NumOf(*t), 1);
    } else if (isX(*t)) {
      ok = set(result.B, Int(1), 2);
    } else if (isSquare(*t)) {
      ok = set(result.A, Int(1), 8);
    } else if (t->HeadIntrinsic() == kTimes && ArgCount(*t) == 2 && IsNum(Arg(*t, 0)) && isX(Arg(*t, 1))) {
      ok = set(result.B, NumOf(Arg(*t, 0)), 5);
    } else if (t->HeadIntrinsic() == kTimes && ArgCount(*t) == 2 && IsNum(Arg(*t, 0)) && isSquare(Arg(*t, 1))) {
      ok = set(result.A, NumOf(Arg(*t, 0)), 7);
    } else {
      return -1;
    }
    if (!ok) return -1;
  }
  return answer;
}

namespace {

TExprPtr VariableNode(const TQuadratic& q) {
  TExprPtr x = TExpr::VarRef(q.VariableClass, *q.Variable);
  x->Type = q.Variable->Type;
  return x;
}

// x + (-r), or x itself for the root 0.
TExprPtr MinusRoot(const TQuadratic& q, TNumber r) {
  if (EqualsInt(r, 0)) return VariableNode(q);
  if (!Negate(r)) return nullptr;
  return Node(kPlus, VariableNode(q), Num(r));
}

}  // namespace

bool Factorize(TExpr& s) {
  if (s.HeadIntrinsic() != kPlus) return false;
  TQuadratic q;
  if (QuadraticCoeff(s, q) < 0) return false;
  const TNumber a = q.A.value_or(Int(0));
  const TNumber b = q.B.value_or(Int(0));
  const TNumber c = q.C.value_or(Int(0));
  if (q.A) {
    const std::optional<TNumber> d = Discriminant(a, b, c);
    if (!d || IsNegative(*d)) return false;
    // Only rational roots: an irrational one would have to be rounded.
    const std::optional<TNumber> r1 = QuadraticRoot(a, b, *d, true, Ctx().Messages);
    const std::optional<TNumber> r2 = QuadraticRoot(a, b, *d, false, Ctx().Messages);
    if (!r1 || !r2) return false;
    TExprPtr first = MinusRoot(q, *r1);
    TExprPtr second = MinusRoot(q, *r2);
    if (!first || !second) return false;
    TExprPtr factored = EqualsInt(*d, 0) ? Node(kPower, std::move(first), Num(2))
                                         : Node(kTimes, std::move(first), std::move(second));
    if (!EqualsInt(a, 1)) factored = Node(kTimes, std::move(factored), Num(a));
    Become(s, std::move(factored));
    return true;
  }
  if (q.B && q.C && !EqualsInt(b, 1)) {
    TNumber inverse = b;
    if (!Invert(inverse, Ctx().Messages)) return false;
    const std::optional<TNumber> shift = Multiply(c, inverse);
    if (!shift) return false;
    Become(s, Node(kTimes, Num(b), Node(kPlus, VariableNode(q), Num(*shift))));
    return true;
  }
  return false;
}

// ---------------------------------------------------------------------------
// Conditions.

namespace {

bool IsRelation(int head) { return head == kEq || head == kGt || head == kLt || head == kGe || head == kLe; }

// a - b as the parser builds it: a + (-b); a side that is 0 is not subtracted.
TExprPtr Difference(TExprPtr a, TExprPtr b) {
  if (IsNumEq(*b, 0)) return a;
  if (IsNumEq(*a, 0)) return Node(kMinus, std::move(b));
  return Node(kPlus, std::move(a), Node(kMinus, std::move(b)));
}

TExprPtr Relation(int head, TExprPtr left, TExprPtr right) { return Node(head, std::move(left), std::move(right)); }
TExprPtr AgainstZero(int head, TExprPtr t) { return Relation(head, std::move(t), Num(0)); }

bool IntegerTyped(const TExpr& t) { return t.Type && IsSubtypeOfNamed(t.Type, "zT", *Ctx().TypesProccess); }

// -t for a term of a sum: its coefficient negated; nothing on overflow.
TExprPtr NegatedTerm(const TExpr& t) {
  Split split = SplitTerm(t);
  if (!Negate(split.coefficient)) return nullptr;
  return MakeTerm(split.coefficient, split.factors);
}

// The sum with every term negated, in the same order.
TExprPtr NegatedSum(const TExpr& s) {
  TExprList terms;
  for (std::size_t i = 0; i < ArgCount(s); ++i) {
    TExprPtr term = NegatedTerm(Arg(s, i));
    if (!term) return nullptr;
    terms.push_back(std::move(term));
  }
  return Node(kPlus, std::move(terms));
}

// T = B^k against 0 (or, negated, T = (-1)*B^k); an empty result: not applied.
// Only positive integer exponents: there B^k is defined wherever B is, so the
// rewritten relation has the same domain.
TExprPtr PowerRule(int rel, const TExpr& power, bool negated) {
  const TExpr& b = Arg(power, 0);
  const TExpr& k = Arg(power, 1);
  if (rel != kEq && rel != kGt && rel != kGe) {
    Ctx().Messages.Error({"Ошибка 1 в PowerStandard (Cond)"_cp, "Error 1 in PowerStandard (Cond)"});
    return nullptr;
  }
  if (!IsNum(k) || !NumOf(k).IsInteger()) return nullptr;
  if (NumOf(k).Integer() <= 0) {
    // B^k with k <= 0 is never 0, and positive for a positive B: decided
    // only where the power is defined everywhere.
    if (!IsEverywhereDefined(power)) return nullptr;
    if (rel == kEq) return Constant(false);
    if (KnownPositive(b)) return Constant(!negated);
    return nullptr;
  }
  const std::int32_t n = NumOf(k).Integer();
  if (rel == kEq) return AgainstZero(kEq, DeepCopy(b));
  if (n % 2 != 0) {
    if (negated) return Relation(rel, Num(0), DeepCopy(b));
    return AgainstZero(rel, DeepCopy(b));
  }
  const bool defined = IsEverywhereDefined(b);
  if (rel == kGe) {
    if (!negated) return defined ? Constant(true) : nullptr;
    return AgainstZero(kEq, DeepCopy(b));
  }
  if (negated) return defined ? Constant(false) : nullptr;
  return Node(kNot, AgainstZero(kEq, DeepCopy(b)));
}

// T a product against 0; an empty result: not applied.
TExprPtr ProductRule(int rel, TExpr& t) {
  if (ArgCount(t) == 2 && IsNum(Arg(t, 0))) {
    const TNumber& c = NumOf(Arg(t, 0));
    if (EqualsInt(c, 0)) return nullptr;
    if (rel == kEq || IsPositive(c)) return AgainstZero(rel, DeepCopy(Arg(t, 1)));
    if (EqualsInt(c, -1)) return nullptr;
    return AgainstZero(rel, Node(kTimes, Num(-1), DeepCopy(Arg(t, 1))));
  }
  bool negative = false;
  std::size_t first = 0;
  if (IsNum(Arg(t, 0))) {
    if (EqualsInt(NumOf(Arg(t, 0)), 0)) return nullptr;
    negative = IsNegative(NumOf(Arg(t, 0)));
    first = 1;
  }
  if (ArgCount(t) - first < 2) return nullptr;
  TExprPtr x = DeepCopy(Arg(t, first));
  const auto y = [&]() -> TExprPtr {
    if (ArgCount(t) - first == 2) return DeepCopy(Arg(t, first + 1));
    TExprList others;
    for (std::size_t i = first + 1; i < ArgCount(t); ++i) others.push_back(DeepCopy(Arg(t, i)));
    return Node(kTimes, std::move(others));
  };
  const auto signed_ = [&](TExprPtr e, bool minus) -> TExprPtr {
    if (!minus) return e;
    return Node(kTimes, Num(-1), std::move(e));
  };
  if (rel == kEq) return Node(kOr, AgainstZero(kEq, std::move(x)), AgainstZero(kEq, y()));
  TExprPtr plus = Node(kAnd, AgainstZero(rel, DeepCopy(*x)), AgainstZero(rel, signed_(y(), negative)));
  TExprPtr minus = Node(kAnd, AgainstZero(rel, signed_(std::move(x), true)), AgainstZero(rel, signed_(y(), !negative)));
  return Node(kOr, std::move(plus), std::move(minus));
}

// A quadratic a*x^2 + b*x + c without real roots has the sign of a
// everywhere. (One with rational roots has been factored before; one with
// irrational roots stays unsolved.)
TExprPtr QuadraticRule(int rel, const TExpr& t) {
  TQuadratic q;
  if (QuadraticCoeff(t, q) < 0 || !q.A) return nullptr;
  const std::optional<TNumber> d = Discriminant(*q.A, q.B.value_or(Int(0)), q.C.value_or(Int(0)));
  if (!d || !IsNegative(*d)) return nullptr;
  return Constant(rel == kEq ? false : IsPositive(*q.A));
}

TExprPtr Fallback(int rel, const TExpr& t) {
  if (rel == kEq && t.HeadIntrinsic() == kPlus && ArgCount(t) > 1) {
    // Integers never add up to a non-integer.
    const TExpr& last = Arg(t, ArgCount(t) - 1);
    bool integers = IsNum(last) && !NumOf(last).IsInteger();
    for (std::size_t i = 0; integers && i + 1 < ArgCount(t); ++i)
      integers = IntegerTyped(Arg(t, i)) && IsEverywhereDefined(Arg(t, i));
    if (integers) return Constant(false);
  }
  return QuadraticRule(rel, t);
}

bool ApplyResult(TExpr& e, TExprPtr result) {
  if (!result) return false;
  Become(e, std::move(result));
  SimplifyCondition(e);
  return true;
}

bool SimplifyRelation(TExpr& e) {
  TExpr& left = Arg(e, 0);
  TExpr& right = Arg(e, 1);
  if (left.Type == nullptr || right.Type == nullptr) {
    Ctx().Messages.Error({"Не определен тип упрощаемого выражения."_cp, "The type of simplified expression is not defined."});
    return false;
  }
  if (!IsReal(left) || !IsReal(right) || HasBinder(e)) {
    const bool changed = Standardize(left) | Standardize(right);
    if (changed) {
      Refresh(e);
      SimplifyCondition(e);
    }
    return changed;
  }
  const int head = e.HeadIntrinsic();
  bool changed = false;
  int rel = head;
  if (head == kLt || head == kLe || !IsNumEq(right, 0)) {
    TExprPtr a = TakeArg(e, 0);
    TExprPtr b = TakeArg(e, 0);
    TExprPtr t = head == kLt || head == kLe ? Difference(std::move(b), std::move(a)) : Difference(std::move(a), std::move(b));
    rel = head == kLt ? kGt : head == kLe ? kGe : head;
    Become(e, AgainstZero(rel, std::move(t)));
    changed = true;
  }
  TExpr& t = Arg(e, 0);
  if (Standardize(t)) {
    Refresh(e);
    changed = true;
  }
  if (IsNum(t)) {
    // A number: the whole relation is defined everywhere, and decided.
    Become(e, Constant(TestValue(NumOf(t), rel, true, Ctx().Messages)));
    return true;
  }
  // A term positive by its type (a natural number, a positive power of one),
  // or its negation, defined everywhere: decided too.
  const bool negatedPositive = t.HeadIntrinsic() == kTimes && ArgCount(t) == 2 && IsNumEq(Arg(t, 0), -1) &&
                               KnownPositive(Arg(t, 1)) && IsEverywhereDefined(Arg(t, 1));
  if ((KnownPositive(t) && IsEverywhereDefined(t)) || negatedPositive) {
    Become(e, Constant(rel != kEq && !negatedPositive));
    return true;
  }
  // An equation's sides may be swapped: its leading coefficient is made positive.
  if (rel == kEq && t.HeadIntrinsic() == kPlus && IsNegative(SplitTerm(Arg(t, 0)).coefficient)) {
    if (TExprPtr negated = NegatedSum(t)) {
      Become(t, std::move(negated));
      Refresh(e);
      changed = true;
    }
  }
  if (t.HeadIntrinsic() == kTimes) {
    if (ArgCount(t) == 2 && IsNumEq(Arg(t, 0), -1) && (rel == kGt || rel == kGe)) {
      const TExpr& p = Arg(t, 1);
      if (p.HeadIntrinsic() == kPower) return ApplyResult(e, PowerRule(rel, p, true)) || changed;
      // -P with P a sum that did not factor: P may still keep one sign.
      if (p.HeadIntrinsic() == kPlus)
        if (TExprPtr negated = NegatedSum(p)) return ApplyResult(e, Fallback(rel, *negated)) || changed;
      return changed;
    }
    if (ApplyResult(e, ProductRule(rel, t))) return true;
    return ApplyResult(e, Fallback(rel, t)) || changed;
  }
  if (t.HeadIntrinsic() == kPower) {
    if (ApplyResult(e, PowerRule(rel, t, false))) return true;
    return ApplyResult(e, Fallback(rel, t)) || changed;
  }
  if (FactorAll(t)) {
    Refresh(e);
    SimplifyCondition(e);
    return true;
  }
  return ApplyResult(e, Fallback(rel, t)) || changed;
}

}  // namespace

bool SimplifyCondition(TExpr& e) {
  const DepthGuard guard;
  if (guard.TooDeep() || e.Class != TClass::Compound) return false;
  const int head = e.HeadIntrinsic();
  bool changed = false;
  if (head == kNot && ArgCount(e) == 1) {
    changed = SimplifyCondition(Arg(e, 0));
    if (Arg(e, 0).IsIntr(kTrue) || Arg(e, 0).IsIntr(kFalse)) {
      Become(e, Constant(Arg(e, 0).IsIntr(kFalse)));
      return true;
    }
  } else if (head == kAnd || head == kOr) {
    const int absorbing = head == kAnd ? kFalse : kTrue;
    const int neutral = head == kAnd ? kTrue : kFalse;
    for (std::size_t i = 0; i < ArgCount(e);) {
      changed |= SimplifyCondition(Arg(e, i));
      if (Arg(e, i).IsIntr(neutral)) {
        TakeArg(e, i);
        changed = true;
      } else {
        ++i;
      }
    }
    // The absorbing constant decides the whole only where every other
    // argument is defined; elsewhere the connective stays undefined.
    bool absorbed = false;
    bool othersDefined = true;
    for (std::size_t i = 0; i < ArgCount(e); ++i) {
      if (Arg(e, i).IsIntr(absorbing)) absorbed = true;
      else othersDefined = othersDefined && IsEverywhereDefined(Arg(e, i));
    }
    if (absorbed && othersDefined) {
      Become(e, Constant(absorbing == kTrue));
      return true;
    }
    if (ArgCount(e) == 0) {
      Become(e, Constant(head == kAnd));
      return true;
    }
    if (ArgCount(e) == 1) {
      Become(e, TakeArg(e, 0));
      return true;
    }
  } else if (IsRelation(head) && ArgCount(e) == 2) {
    return SimplifyRelation(e);
  } else {
    for (std::size_t i = 1; i < e.Children().size(); ++i) changed |= SimplifyCondition(*e.Children()[i]);
  }
  if (changed) Refresh(e);
  return changed;
}

bool Standardize(TExpr& e) {
  const bool division = RewriteDivision(e);
  const bool minus = RewriteMinus(e);
  const bool terms = SimplifyTerms(e, true);
  return division || minus || terms;
}

// ---------------------------------------------------------------------------
// Linear equations.

namespace {

bool IsZeroCoefficient(const TExpr& k) { return IsNumEq(k, 0); }

TExprPtr Negated(TExprPtr e) {
  if (IsNum(*e)) {
    TNumber n = NumOf(*e);
    if (Negate(n)) return Num(n);
  }
  return Node(kMinus, std::move(e));
}

// k times the other factors; numbers multiplied out.
TExprPtr Times(TExprPtr k, const std::vector<const TExpr*>& others) {
  if (IsZeroCoefficient(*k)) return k;
  TNumber number = Int(1);
  TExprList factors;
  if (IsNum(*k)) number = NumOf(*k);
  else factors.push_back(std::move(k));
  for (const TExpr* f : others) {
    std::optional<TNumber> product = IsNum(*f) ? Multiply(number, NumOf(*f)) : std::nullopt;
    if (product) number = *product;
    else factors.push_back(DeepCopy(*f));
  }
  if (factors.empty()) return Num(number);
  if (!EqualsInt(number, 1)) factors.insert(factors.begin(), Num(number));
  if (factors.size() == 1) return std::move(factors.front());
  return Node(kTimes, std::move(factors));
}

}  // namespace

TExprPtr LinearCoefficient(const TExpr& e, TExprList* rest, const TExpr& x) {
  if (Equal(e, x)) return Num(1);
  if (!ContainsExpr(e, x)) {
    if (rest) rest->push_back(DeepCopy(e));
    return Num(0);
  }
  const int head = e.HeadIntrinsic();
  if (head == kMinus && ArgCount(e) == 1) {
    TExprList inner;
    TExprPtr k = LinearCoefficient(Arg(e, 0), rest ? &inner : nullptr, x);
    if (!k) return nullptr;
    for (TExprPtr& part : inner) rest->push_back(Negated(std::move(part)));
    return Negated(std::move(k));
  }
  if (head == kPlus) {
    TExprList coefficients;
    for (std::size_t i = 0; i < ArgCount(e); ++i) {
      TExprPtr k = LinearCoefficient(Arg(e, i), rest, x);
      if (!k) return nullptr;
      if (!IsZeroCoefficient(*k)) coefficients.push_back(std::move(k));
    }
    if (coefficients.empty()) return Num(0);
    if (coefficients.size() == 1) return std::move(coefficients.front());
    TExprPtr sum = Node(kPlus, std::move(coefficients));
    Standardize(*sum);
    return sum;
  }
  if (head == kTimes) {
    const TExpr* containing = nullptr;
    std::vector<const TExpr*> others;
    for (std::size_t i = 0; i < ArgCount(e); ++i) {
      if (ContainsExpr(Arg(e, i), x)) {
        if (containing) return nullptr;  // not linear
        containing = &Arg(e, i);
      } else {
        others.push_back(&Arg(e, i));
      }
    }
    TExprList inner;
    TExprPtr k = LinearCoefficient(*containing, rest ? &inner : nullptr, x);
    if (!k) return nullptr;
    for (TExprPtr& part : inner) rest->push_back(Times(std::move(part), others));
    return Times(std::move(k), others);
  }
  if (head == kDivide && ArgCount(e) == 2 && !ContainsExpr(Arg(e, 1), x)) {
    TExprList inner;
    TExprPtr k = LinearCoefficient(Arg(e, 0), rest ? &inner : nullptr, x);
    if (!k) return nullptr;
    for (TExprPtr& part : inner) rest->push_back(Node(kDivide, std::move(part), DeepCopy(Arg(e, 1))));
    if (IsZeroCoefficient(*k)) return k;
    if (IsNum(*k) && IsNum(Arg(e, 1))) {
      TNumber inverse = NumOf(Arg(e, 1));
      if (Invert(inverse, Ctx().Messages))
        if (const std::optional<TNumber> quotient = Multiply(NumOf(*k), inverse)) return Num(*quotient);
    }
    return Node(kDivide, std::move(k), DeepCopy(Arg(e, 1)));
  }
  return nullptr;
}

TExprPtr SolveLinear(const TExpr& equation, const TExpr& x, const std::function<bool(const TExpr&)>& nonzero) {
  if (equation.HeadIntrinsic() != kEq || ArgCount(equation) != 2 || !IsNumEq(Arg(equation, 1), 0)) return nullptr;
  TExprList rest;
  TExprPtr k = LinearCoefficient(Arg(equation, 0), &rest, x);
  if (!k || IsZeroCoefficient(*k)) return nullptr;
  // Dividing by what may be 0 would lose the solutions where it is 0.
  if (!IsNum(*k) && !(nonzero && nonzero(*k))) return nullptr;
  if (rest.empty()) return Num(0);
  TExprPtr r = rest.size() == 1 ? std::move(rest.front()) : Node(kPlus, std::move(rest));
  TExprPtr answer;
  if (IsNumEq(*k, -1)) {
    answer = std::move(r);
  } else if (IsNumEq(*k, 1)) {
    answer = Node(kMinus, std::move(r));
  } else if (IsNum(*k)) {
    TNumber factor = NumOf(*k);
    if (!Invert(factor, Ctx().Messages) || !Negate(factor)) return nullptr;
    answer = Node(kTimes, std::move(r), Num(factor));
  } else {
    answer = Node(kMinus, Node(kDivide, std::move(r), std::move(k)));
  }
  Standardize(*answer);
  return answer;
}

}  // namespace lemmix
