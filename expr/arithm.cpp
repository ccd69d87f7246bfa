#include "expr/arithm.h"

#include <algorithm>

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

bool HasBinder(const TExpr& e) {
  if (e.Bound && !e.Bound->empty()) return true;
  if (e.Class == TClass::Compound)
    for (const TExprPtr& child : e.Children())
      if (HasBinder(*child)) return true;
  return false;
}

// The arguments of a compound: its children after the head.
std::size_t ArgCount(const TExpr& e) { return e.Children().empty() ? 0 : e.Children().size() - 1; }
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
  } else {
    s.factors.push_back(&t);
  }
  return s;
}

// The same factors, in any order.
bool SameFactors(const std::vector<const TExpr*>& a, const std::vector<const TExpr*>& b) {
  if (a.size() != b.size()) return false;
  std::vector<bool> used(b.size(), false);
  for (const TExpr* x : a) {
    bool found = false;
    for (std::size_t j = 0; j < b.size() && !found; ++j) {
      if (!used[j] && Equal(*x, *b[j])) used[j] = found = true;
    }
    if (!found) return false;
  }
  return true;
}

TExprPtr MakeTerm(const TNumber& coefficient, const std::vector<const TExpr*>& factors) {
  TExprList args;
  if (!EqualsInt(coefficient, 1)) args.push_back(Num(coefficient));
  for (const TExpr* f : factors) args.push_back(DeepCopy(*f));
  if (args.size() == 1) return std::move(args.front());
  return Node(kTimes, std::move(args));
}

bool MergeLikeTerms(TExpr& s) {
  for (std::size_t j = ArgCount(s); j-- > 1;) {
    if (IsNum(Arg(s, j))) continue;
    const Split later = SplitTerm(Arg(s, j));
    for (std::size_t i = 0; i < j; ++i) {
      if (IsNum(Arg(s, i))) continue;
      const Split earlier = SplitTerm(Arg(s, i));
      if (!SameFactors(earlier.factors, later.factors)) continue;
      const TNumber total = Add(earlier.coefficient, later.coefficient);
      if (EqualsInt(total, 0)) {
        TakeArg(s, j);
        TakeArg(s, i);
      } else {
        TExprPtr merged = MakeTerm(total, earlier.factors);
        TakeArg(s, j);
        s.Children()[i + 1] = std::move(merged);
      }
      return true;
    }
  }
  return false;
}

// A guard against runaway rewriting: past this depth a term is left as it is.
int simplifyDepth = 0;
constexpr int kMaxDepth = 256;

struct DepthGuard {
  DepthGuard() { ++simplifyDepth; }
  ~DepthGuard() { --simplifyDepth; }
  bool TooDeep() const { return simplifyDepth > kMaxDepth; }
};

}  // namespace

bool RewriteDivision(TExpr& e) {
  if (e.Class != TClass::Compound) return false;
  bool changed = false;
  for (std::size_t i = 1; i < e.Children().size(); ++i) changed |= RewriteDivision(*e.Children()[i]);
  if (e.HeadIntrinsic() == kDivide && ArgCount(e) == 2 && IsReal(e)) {
    TExpr& divisor = Arg(e, 1);
    if (IsNum(divisor)) {
      TNumber inverse = NumOf(divisor);
      Invert(inverse, Ctx().Messages);
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
  return changed;
}

bool SimplifySum(TExpr& s, bool expand) {
  bool changed = Flatten(s, kPlus);
  // Fold the constants into one, last.
  TNumber total(std::int32_t{0});
  std::size_t numbers = 0;
  const bool lastIsNumber = ArgCount(s) > 0 && IsNum(Arg(s, ArgCount(s) - 1));
  for (std::size_t i = ArgCount(s); i-- > 0;) {
    if (!IsNum(Arg(s, i))) continue;
    total = Add(total, NumOf(Arg(s, i)));
    TakeArg(s, i);
    ++numbers;
  }
  if (numbers > 0 && !EqualsInt(total, 0)) s.Children().push_back(Num(total));
  changed |= numbers > 1 || (numbers == 1 && !lastIsNumber) || (numbers > 0 && EqualsInt(total, 0));
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
  if (changed) Refresh(s);
  if (expand && ClearNegativePowers(s)) {
    SimplifyTerms(s, true);
    return true;
  }
  if (Expand(s)) {
    SimplifyTerms(s, false);
    return true;
  }
  return changed;
}

namespace {

TExprPtr BaseOf(const TExpr& f) { return DeepCopy(f.HeadIntrinsic() == kPower ? Arg(f, 0) : f); }
TExprPtr ExponentOf(const TExpr& f) { return f.HeadIntrinsic() == kPower ? DeepCopy(Arg(f, 1)) : Num(1); }
bool SameBase(const TExpr& f, const TExpr& g) {
  return Equal(f.HeadIntrinsic() == kPower ? Arg(f, 0) : f, g.HeadIntrinsic() == kPower ? Arg(g, 0) : g);
}

bool CombineLikeFactors(TExpr& p) {
  for (std::size_t j = ArgCount(p); j-- > 1;) {
    for (std::size_t i = 0; i < j; ++i) {
      TExpr& g = Arg(p, i);
      if (IsNum(g) || !SameBase(g, Arg(p, j))) continue;
      TExprPtr exponent = Node(kPlus, ExponentOf(g), ExponentOf(Arg(p, j)));
      SimplifyTerms(*exponent, false);
      TExprPtr base = BaseOf(g);
      TakeArg(p, j);
      if (IsNumEq(*exponent, 0)) {
        TakeArg(p, i);  // g became 1
      } else if (IsNumEq(*exponent, 1)) {
        Become(Arg(p, i), std::move(base));
      } else {
        Become(Arg(p, i), Node(kPower, std::move(base), std::move(exponent)));
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
  TNumber product(std::int32_t{1});
  std::size_t numbers = 0;
  const bool firstIsNumber = ArgCount(p) > 0 && IsNum(Arg(p, 0));
  for (std::size_t i = ArgCount(p); i-- > 0;) {
    if (!IsNum(Arg(p, i))) continue;
    product = Multiply(product, NumOf(Arg(p, i)));
    TakeArg(p, i);
    ++numbers;
  }
  if (numbers > 0 && EqualsInt(product, 0)) {
    Become(p, Num(0));
    return true;
  }
  if (numbers > 0 && !EqualsInt(product, 1)) p.Children().insert(p.Children().begin() + 1, Num(product));
  changed |= numbers > 1 || (numbers == 1 && !firstIsNumber) || (numbers > 0 && EqualsInt(product, 1));
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
    Refresh(p);
    SimplifyProduct(p);
    return true;
  }
  while (CombineLikeFactors(p)) {
    changed = true;
    if (lengthTest()) return true;
  }
  if (changed) Refresh(p);
  return changed;
}

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
  if (IsNumEq(b, 0) || IsNumEq(b, 1) || IsNumEq(e, 1)) {
    Become(w, TakeArg(w, 0));
    return true;
  }
  if (IsNumEq(e, 0)) {
    Become(w, Num(1));
    return true;
  }
  if (IsNum(b) && IsNum(e)) {
    Become(w, Num(Power(NumOf(b), NumOf(e), Ctx().Messages)));
    return true;
  }
  if (IsNum(b) && e.HeadIntrinsic() == kPlus && IsNum(Arg(e, ArgCount(e) - 1))) {
    TExprPtr c = TakeArg(e, ArgCount(e) - 1);
    TExprPtr rest = ArgCount(e) == 1 ? TakeArg(e, 0) : TakeArg(w, 1);
    TExprPtr constant = Node(kPower, DeepCopy(b), std::move(c));
    TExprPtr variable = Node(kPower, DeepCopy(b), std::move(rest));
    Become(w, Node(kTimes, std::move(constant), std::move(variable)));
    SimplifyTerms(w, expand);
    return true;
  }
  if (b.HeadIntrinsic() == kTimes) {
    TExprList factors;
    for (std::size_t i = 0; i < ArgCount(b); ++i) factors.push_back(Node(kPower, DeepCopy(Arg(b, i)), DeepCopy(e)));
    Become(w, Node(kTimes, std::move(factors)));
    SimplifyTerms(w, expand);
    return true;
  }
  if (b.HeadIntrinsic() == kPower) {
    TExprPtr k = Node(kTimes, DeepCopy(Arg(b, 1)), DeepCopy(e));
    SimplifyTerms(*k, false);
    TExprPtr a = DeepCopy(Arg(b, 0));
    Become(w, IsNumEq(*k, 1) ? std::move(a) : Node(kPower, std::move(a), std::move(k)));
    return true;
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

bool ClearNegativePowers(TExpr& s) {
  if (s.HeadIntrinsic() != kPlus) return false;
  const auto negativePower = [](const TExpr& f) {
    return f.HeadIntrinsic() == kPower && ArgCount(f) == 2 && IsNum(Arg(f, 1)) && IsNegative(NumOf(Arg(f, 1)));
  };
  const TExpr* found = nullptr;
  for (std::size_t i = 0; i < ArgCount(s) && !found; ++i) {
    const TExpr& t = Arg(s, i);
    if (negativePower(t)) found = &t;
    if (t.HeadIntrinsic() == kTimes)
      for (std::size_t j = 0; j < ArgCount(t) && !found; ++j)
        if (negativePower(Arg(t, j))) found = &Arg(t, j);
  }
  if (found == nullptr) return false;
  const TExprPtr base = DeepCopy(Arg(*found, 0));
  TNumber k = NumOf(Arg(*found, 1));
  const TNumber negative = k;
  Negate(k);
  TExprList terms;
  for (std::size_t i = 0; i < ArgCount(s); ++i)
    terms.push_back(Node(kTimes, DeepCopy(Arg(s, i)), Node(kPower, DeepCopy(*base), Num(k))));
  Become(s, Node(kTimes, Node(kPlus, std::move(terms)), Node(kPower, DeepCopy(*base), Num(negative))));
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
      ok = set(result.B, TNumber(std::int32_t{1}), 2);
    } else if (isSquare(*t)) {
      ok = set(result.A, TNumber(std::int32_t{1}), 8);
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

TNumber Zero() { return TNumber(std::int32_t{0}); }

TExprPtr VariableNode(const TQuadratic& q) {
  TExprPtr x = TExpr::VarRef(q.VariableClass, *q.Variable);
  x->Type = q.Variable->Type;
  return x;
}

// x + (-r)
TExprPtr MinusRoot(const TQuadratic& q, TNumber r) {
  Negate(r);
  return Node(kPlus, VariableNode(q), Num(r));
}

}  // namespace

bool Factorize(TExpr& s) {
  if (s.HeadIntrinsic() != kPlus) return false;
  TQuadratic q;
  if (QuadraticCoeff(s, q) < 0) return false;
  const TNumber a = q.A.value_or(Zero());
  const TNumber b = q.B.value_or(Zero());
  const TNumber c = q.C.value_or(Zero());
  if (q.A) {
    const TNumber d = Discriminant(a, b, c);
    if (IsNegative(d)) return false;
    TExprPtr factored;
    if (EqualsInt(d, 0)) {
      const std::optional<TNumber> r = QuadraticRoot(a, b, d, true, Ctx().Messages);
      if (!r) return false;
      factored = Node(kPower, MinusRoot(q, *r), Num(2));
    } else {
      const std::optional<TNumber> r1 = QuadraticRoot(a, b, d, true, Ctx().Messages);
      const std::optional<TNumber> r2 = QuadraticRoot(a, b, d, false, Ctx().Messages);
      if (!r1 || !r2) return false;
      factored = Node(kTimes, MinusRoot(q, *r1), MinusRoot(q, *r2));
    }
    if (!EqualsInt(a, 1)) factored = Node(kTimes, std::move(factored), Num(a));
    Become(s, std::move(factored));
    return true;
  }
  if (q.B && q.C && !EqualsInt(b, 1)) {
    TNumber inverse = b;
    Invert(inverse, Ctx().Messages);
    Become(s, Node(kTimes, Num(b), Node(kPlus, VariableNode(q), Num(Multiply(c, inverse)))));
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

// T = B^k against 0 (or, negated, T = (-1)*B^k); an empty result: not applied.
TExprPtr PowerRule(int rel, const TExpr& power, bool negated) {
  const TExpr& b = Arg(power, 0);
  const TExpr& k = Arg(power, 1);
  if (rel == kEq) {
    if (IsNum(k) && IsNonPositive(NumOf(k))) return Constant(false);
    return AgainstZero(kEq, DeepCopy(b));
  }
  if (rel != kGt && rel != kGe) {
    Ctx().Messages.Error({"Ошибка 1 в PowerStandard (Cond)"_cp, "Error 1 in PowerStandard (Cond)"});
    return nullptr;
  }
  if (!IsNum(k) || !NumOf(k).IsInteger()) return nullptr;
  const std::int32_t n = NumOf(k).Integer();
  if (n % 2 != 0) {
    if (negated) return Relation(rel, Num(0), DeepCopy(b));
    return AgainstZero(rel, DeepCopy(b));
  }
  if (rel == kGe) {
    if (!negated) return Constant(true);
    return n > 0 ? AgainstZero(kEq, DeepCopy(b)) : Constant(false);
  }
  if (negated) return Constant(false);
  return n <= 0 ? Constant(true) : Node(kNot, AgainstZero(kEq, DeepCopy(b)));
}

// T a product against 0; an empty result: not applied.
TExprPtr ProductRule(int rel, TExpr& t) {
  if (ArgCount(t) == 2 && IsNum(Arg(t, 0))) {
    const TNumber& c = NumOf(Arg(t, 0));
    if (rel == kEq || IsPositive(c)) return AgainstZero(rel, DeepCopy(Arg(t, 1)));
    if (EqualsInt(c, -1)) return nullptr;
    return AgainstZero(rel, Node(kTimes, Num(-1), DeepCopy(Arg(t, 1))));
  }
  bool negative = false;
  std::size_t first = 0;
  if (IsNum(Arg(t, 0))) {
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

TExprPtr QuadraticRule(int rel, const TExpr& t) {
  TQuadratic q;
  if (QuadraticCoeff(t, q) < 0 || !q.A) return nullptr;
  const TNumber a = *q.A;
  const TNumber b = q.B.value_or(Zero());
  const TNumber c = q.C.value_or(Zero());
  const TNumber d = Discriminant(a, b, c);
  const bool up = IsPositive(a);
  const auto x = [&] { return VariableNode(q); };
  if (IsNegative(d)) return Constant(rel == kEq ? false : up);
  if (EqualsInt(d, 0)) {
    const std::optional<TNumber> r = QuadraticRoot(a, b, d, true, Ctx().Messages);
    if (!r) return nullptr;
    TExprPtr atRoot = Relation(kEq, x(), Num(*r));
    if (rel == kEq) return atRoot;
    if (rel == kGe) return up ? Constant(true) : std::move(atRoot);
    return up ? Node(kNot, std::move(atRoot)) : Constant(false);
  }
  const std::optional<TNumber> r2 = QuadraticRoot(a, b, d, true, Ctx().Messages);
  const std::optional<TNumber> r1 = QuadraticRoot(a, b, d, false, Ctx().Messages);
  if (!r1 || !r2) return nullptr;
  const bool ordered = ToReal(*r1) <= ToReal(*r2);
  const TNumber lo = ordered ? *r1 : *r2;
  const TNumber hi = ordered ? *r2 : *r1;
  if (rel == kEq) return Node(kOr, Relation(kEq, x(), Num(lo)), Relation(kEq, x(), Num(hi)));
  const bool strict = rel == kGt;
  if (up)
    return Node(kOr, Relation(strict ? kLt : kLe, x(), Num(lo)), Relation(strict ? kGt : kGe, x(), Num(hi)));
  return Node(kAnd, Relation(strict ? kGt : kGe, x(), Num(lo)), Relation(strict ? kLt : kLe, x(), Num(hi)));
}

bool Fallback(TExpr& e, int rel, const TExpr& t) {
  if (rel == kEq && t.HeadIntrinsic() == kPlus && ArgCount(t) > 1) {
    const TExpr& last = Arg(t, ArgCount(t) - 1);
    bool integers = IsNum(last) && NumOf(last).IsFraction();
    for (std::size_t i = 0; integers && i + 1 < ArgCount(t); ++i) integers = IntegerTyped(Arg(t, i));
    if (integers) {
      Become(e, Constant(false));
      return true;
    }
  }
  TExprPtr result = QuadraticRule(rel, t);
  if (!result) return false;
  Become(e, std::move(result));
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
    Become(e, Constant(TestValue(NumOf(t), rel, true, Ctx().Messages)));
    return true;
  }
  TExprPtr result;
  if (t.HeadIntrinsic() == kTimes) {
    if (ArgCount(t) == 2 && IsNumEq(Arg(t, 0), -1) && (rel == kGt || rel == kGe)) {
      if (Arg(t, 1).HeadIntrinsic() == kPower) result = PowerRule(rel, Arg(t, 1), true);
      if (!result) return changed;
    } else {
      result = ProductRule(rel, t);
      if (!result) return Fallback(e, rel, t) || changed;
    }
  } else if (t.HeadIntrinsic() == kPower) {
    result = PowerRule(rel, t, false);
    if (!result) return Fallback(e, rel, t) || changed;
  } else {
    if (!FactorAll(t)) return Fallback(e, rel, t) || changed;
    Refresh(e);
    SimplifyCondition(e);
    return true;
  }
  Become(e, std::move(result));
  SimplifyCondition(e);
  return true;
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
      if (Arg(e, i).IsIntr(absorbing)) {
        Become(e, Constant(absorbing == kTrue));
        return true;
      }
      if (Arg(e, i).IsIntr(neutral)) {
        TakeArg(e, i);
        changed = true;
      } else {
        ++i;
      }
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
    Negate(n);
    return Num(n);
  }
  return Node(kMinus, std::move(e));
}

// k times the other factors; numbers multiplied out.
TExprPtr Times(TExprPtr k, const std::vector<const TExpr*>& others) {
  if (IsZeroCoefficient(*k)) return k;
  TNumber number(std::int32_t{1});
  TExprList factors;
  if (IsNum(*k)) number = NumOf(*k);
  else factors.push_back(std::move(k));
  for (const TExpr* f : others) {
    if (IsNum(*f)) number = Multiply(number, NumOf(*f));
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
    return Node(kPlus, std::move(coefficients));
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
    return Node(kDivide, std::move(k), DeepCopy(Arg(e, 1)));
  }
  return nullptr;
}

TExprPtr SolveLinear(const TExpr& equation, const TExpr& x) {
  if (equation.HeadIntrinsic() != kEq || ArgCount(equation) != 2 || !IsNumEq(Arg(equation, 1), 0)) return nullptr;
  TExprList rest;
  TExprPtr k = LinearCoefficient(Arg(equation, 0), &rest, x);
  if (!k || IsZeroCoefficient(*k)) return nullptr;
  if (rest.empty()) return Num(0);
  TExprPtr r = rest.size() == 1 ? std::move(rest.front()) : Node(kPlus, std::move(rest));
  TExprPtr answer;
  if (IsNumEq(*k, -1)) {
    answer = std::move(r);
  } else if (IsNumEq(*k, 1)) {
    answer = Node(kMinus, std::move(r));
  } else if (IsNum(*k)) {
    TNumber factor = NumOf(*k);
    Invert(factor, Ctx().Messages);
    Negate(factor);
    answer = Node(kTimes, std::move(r), Num(factor));
  } else {
    answer = Node(kMinus, Node(kDivide, std::move(r), std::move(k)));
  }
  Standardize(*answer);
  return answer;
}

}  // namespace lemmix
