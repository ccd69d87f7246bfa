#include "prover/marked.h"

#include <algorithm>
#include <functional>

#include "expr/arithm.h"
#include "expr/logic.h"
#include "expr/typing.h"
#include "intrinsics/intr_numbers.h"
#include "intrinsics/st_func.h"
#include "prover/needed.h"
#include "prover/tests.h"
#include "shell/context.h"
#include "shell/cp1251.h"
#include "types/type.h"
#include "types/type_relations.h"
#include "types/types_proccess.h"

namespace lemmix {

namespace {

void Error(std::string rus, std::string eng) { Ctx().Messages.Error({std::move(rus), std::move(eng)}); }

TExprPtr Typed(TExprPtr e) {
  if (!e || ExprType(*e, false) == nullptr) return nullptr;
  return e;
}

std::size_t ArgCount(const TExpr& e) { return e.Class != TClass::Compound || e.Children().empty() ? 0 : e.Children().size() - 1; }
const TExpr& Arg(const TExpr& e, std::size_t i) { return *e.Children()[i + 1]; }

TExprPtr Number(int n) { return TExpr::Number(TNumber(static_cast<std::int32_t>(n))); }
int NumberOf(const TExpr& e) { return e.NumberValue() ? e.NumberValue()->Integer() : -1; }

const TExpr* Marked(const TKernel& k, TSection section, std::size_t position) {
  const TCondList& list = section == TSection::ProvingConds ? k.ProvingConds : k.GivenConds;
  return position < list.size() ? list[position]->Expr.get() : nullptr;
}

bool IsRelation(int head) { return head == kEq || head == kGt || head == kLt || head == kGe || head == kLe; }
bool Real(const TExpr& e) { return e.Type && IsSubtypeOfNamed(e.Type, "rT", *Ctx().TypesProccess); }
bool ExtendedReal(const TExpr& e) { return e.Type && IsSubtypeOfNamed(e.Type, "rrT", *Ctx().TypesProccess); }

void Record(TKernel& k, int kind, TExprList records) {
  k.ClearPending();
  for (TExprPtr& r : records) k.RecordPending(std::move(r));
  k.PendingKind = kind;
}

// The condition the records name again: its section and position, and that
// it is still what was marked.
TCond* Again(TKernel& k, TSection section, int position, const TExpr& copy) {
  TCondList& list = section == TSection::ProvingConds ? k.ProvingConds : k.GivenConds;
  if (position < 0 || static_cast<std::size_t>(position) >= list.size()) return nullptr;
  TCond* c = list[static_cast<std::size_t>(position)].get();
  TBindingLists lists;
  return Comp(*c->Expr, copy, &lists) == 0 ? c : nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------
// Multiplying.

TObligations PrepareMultiply(TKernel& k, TSection section, std::size_t position, const TExpr& factor, TFactorMode mode) {
  const TExpr* c = Marked(k, section, position);
  if (!c || !IsRelation(c->HeadIntrinsic()) || ArgCount(*c) != 2) return std::nullopt;
  if (!Real(factor)) {
    Error("Множитель должен быть числом."_cp, "The factor must be number.");
    return std::nullopt;
  }
  if (ContainsClass(factor, TClass::ProveVar)) {
    Error("Нельзя умножать на объект, существование которого требуется доказать."_cp, "Unable to multiply by a required object");
    return std::nullopt;
  }
  const bool equality = c->HeadIntrinsic() == kEq;
  const bool goal = section == TSection::ProvingConds;
  // Modes that would lose what is proved: on a goal a factor 0 proves anything.
  const bool weak = equality ? mode == TFactorMode::Any : mode == TFactorMode::Nonnegative;
  if (goal && weak) {
    Error("Доказываемое условие можно умножать только на положительное (неравенство) или ненулевое (равенство) число."_cp,
          "A proving condition may be multiplied only by a positive number (an inequality) or a nonzero one (an equality).");
    return std::nullopt;
  }
  const bool allowed = equality ? (mode == TFactorMode::Nonzero || mode == TFactorMode::Any)
                                : (mode == TFactorMode::Positive || mode == TFactorMode::Nonnegative);
  if (!allowed) {
    Error("Ошибка 1 в TimesIneq (Kernel)."_cp, "Error 1 in TimesIneq (Kernel).");
    return std::nullopt;
  }
  TExprList obligations;
  if (!NeededConditionsOf(factor, obligations, k, true)) return std::nullopt;
  if (const TNumber* n = factor.NumberValue()) {
    if (mode == TFactorMode::Positive && !IsPositive(*n)) {
      Error("Множитель должен быть положительным."_cp, "The factor must be positive.");
      return std::nullopt;
    }
    if (mode == TFactorMode::Nonnegative && IsNegative(*n)) {
      Error("Множитель должен быть неотрицательным."_cp, "The factor must be not negative.");
      return std::nullopt;
    }
    if (mode == TFactorMode::Nonzero && EqualsInt(*n, 0)) {
      Error("Множитель не должен быть нулем."_cp, "The factor must be nonzero.");
      return std::nullopt;
    }
  } else if (mode != TFactorMode::Any) {
    TExprPtr zero = Number(0);
    TExprPtr sign = mode == TFactorMode::Positive      ? Typed(ApplyIntr(kGt, DeepCopy(factor), std::move(zero)))
                    : mode == TFactorMode::Nonnegative ? Typed(ApplyIntr(kGe, DeepCopy(factor), std::move(zero)))
                                                       : Typed(ApplyIntr(kNot, Typed(ApplyIntr(kEq, DeepCopy(factor), std::move(zero)))));
    if (!sign) return std::nullopt;
    obligations.push_back(std::move(sign));
  }
  TExprList records;
  records.push_back(DeepCopy(factor));
  records.push_back(DeepCopy(*c));
  records.push_back(Number(static_cast<int>(section)));
  records.push_back(Number(static_cast<int>(position)));
  records.push_back(Number(static_cast<int>(mode)));
  Record(k, kMultiply, std::move(records));
  return obligations;
}

bool CompleteMultiply(TKernel& k) {
  if (k.PendingKind != kMultiply || k.Pending.size() != 5) return false;
  const TExpr& factor = *k.Pending[0]->Expr;
  const TSection section = static_cast<TSection>(NumberOf(*k.Pending[2]->Expr));
  const int position = NumberOf(*k.Pending[3]->Expr);
  const TFactorMode mode = static_cast<TFactorMode>(NumberOf(*k.Pending[4]->Expr));
  TCond* c = Again(k, section, position, *k.Pending[1]->Expr);
  if (c == nullptr) {
    Error("Ошибка разработчика : in SucTimesIneq (Kernel)."_cp, "Error 1 in SucTimesIneq (Kernel).");
    return false;
  }
  const TExpr& relation = *c->Expr;
  const auto side = [&](const TExpr& s) -> TExprPtr {
    if (s.NumberValue() && EqualsInt(*s.NumberValue(), 0)) return Number(0);
    if (s.NumberValue() && EqualsInt(*s.NumberValue(), 1)) return DeepCopy(factor);
    return Typed(ApplyIntr(kTimes, DeepCopy(s), DeepCopy(factor)));
  };
  int head = relation.HeadIntrinsic();
  // A strict relation times what may be 0 holds only non-strictly.
  if (mode == TFactorMode::Nonnegative) head = head == kGt ? kGe : head == kLt ? kLe : head;
  TExprPtr result = Typed(ApplyIntr(head, side(Arg(relation, 0)), side(Arg(relation, 1))));
  TCondPtr cond = result ? k.MakeCond(*result) : nullptr;
  k.ClearPending();
  if (!cond) return false;
  (section == TSection::ProvingConds ? k.ProvingConds : k.GivenConds)[static_cast<std::size_t>(position)] = std::move(cond);
  return TestConditions(k);
}

// ---------------------------------------------------------------------------
// Implications and cases.

TObligations PrepareConsiderImplication(TKernel& k, std::size_t position) {
  const TExpr* c = Marked(k, TSection::GivenConds, position);
  if (!c || c->HeadIntrinsic() != kImplies || ArgCount(*c) != 2) return std::nullopt;
  TExprList goals;
  goals.push_back(DeepCopy(Arg(*c, 0)));
  TExprList records;
  records.push_back(DeepCopy(Arg(*c, 1)));
  records.push_back(DeepCopy(*c));
  records.push_back(Number(static_cast<int>(position)));
  Record(k, kImplication, std::move(records));
  return goals;
}

bool CompleteConsiderImplication(TKernel& k) {
  if (k.PendingKind != kImplication || k.Pending.size() != 3) return false;
  const int position = NumberOf(*k.Pending[2]->Expr);
  TCond* c = Again(k, TSection::GivenConds, position, *k.Pending[1]->Expr);
  if (c == nullptr) {
    Error("Ошибка разработчика : in SucConsiderImpl (Kernel)."_cp, "Error 1 in SucConsiderImpl (Kernel).");
    return false;
  }
  TCondPtr conclusion = k.MakeCond(*k.Pending[0]->Expr);
  k.ClearPending();
  if (!conclusion) return false;
  k.GivenConds[static_cast<std::size_t>(position)] = std::move(conclusion);
  return TestConditions(k);
}

std::optional<TExprList> DisjunctionCases(const TKernel& k) {
  if (k.PendingKind != kDisjunctionCases || k.Pending.empty()) return std::nullopt;
  const TExpr& d = *k.Pending[0]->Expr;
  if (d.HeadIntrinsic() != kOr) return std::nullopt;
  TExprList cases;
  for (const TExpr* part : Operands(d, kOr)) cases.push_back(DeepCopy(*part));
  return cases;
}

bool PrepareConsiderOr(TKernel& k, std::size_t position) {
  const TExpr* c = Marked(k, TSection::GivenConds, position);
  if (!c || c->HeadIntrinsic() != kOr) return false;
  TExprList records;
  records.push_back(DeepCopy(*c));
  records.push_back(Number(static_cast<int>(position)));
  Record(k, kDisjunctionCases, std::move(records));
  return true;
}

bool PrepareConsiderRealValue(TKernel& k, TSection section, std::size_t position, bool left) {
  const TExpr* c = Marked(k, section, position);
  if (!c || ArgCount(*c) < (left ? 1u : 2u)) return false;
  const TExpr& p = Arg(*c, left ? 0 : 1);
  // Only a value of the extended reals is a real number or one of the infinities.
  if (!ExtendedReal(p) || ContainsClass(p, TClass::ProveVar)) return false;
  TStFunc& f = *Ctx().StFunc;
  TExprList parts;
  parts.push_back(Typed(ApplyIntr(kIn, DeepCopy(p), TExpr::OfIntr(*f.Intr(kReals)))));
  parts.push_back(Typed(ApplyIntr(kEq, DeepCopy(p), TExpr::OfIntr(*f.Intr(kPlusInfinity)))));
  parts.push_back(Typed(ApplyIntr(kEq, DeepCopy(p), TExpr::OfIntr(*f.Intr(kMinusInfinity)))));
  for (const TExprPtr& part : parts)
    if (!part) return false;
  TExprPtr disjunction = Typed(ApplyIntr(kOr, std::move(parts)));
  if (!disjunction) return false;
  TExprList records;
  records.push_back(std::move(disjunction));
  records.push_back(Number(-1));
  Record(k, kDisjunctionCases, std::move(records));
  return true;
}

TRewriteResult RewriteRelation(TKernel& k, TSection section, std::size_t position, bool strict) {
  const TExpr* c = Marked(k, section, position);
  if (!c) return TRewriteResult::Failed;
  TExprPtr result;
  const auto both = [&](const TExpr& a, const TExpr& b, int first, bool swapFirst) -> TExprPtr {
    TExprPtr relation = swapFirst ? ApplyIntr(first, DeepCopy(b), DeepCopy(a)) : ApplyIntr(first, DeepCopy(a), DeepCopy(b));
    TExprPtr equal = ApplyIntr(kEq, DeepCopy(a), DeepCopy(b));
    return Typed(ApplyIntr(kOr, std::move(relation), std::move(equal)));
  };
  if (!strict && (c->HeadIntrinsic() == kLe || c->HeadIntrinsic() == kGe) && ArgCount(*c) == 2) {
    if (!ExtendedReal(Arg(*c, 0)) || !ExtendedReal(Arg(*c, 1))) return TRewriteResult::Failed;
    result = both(Arg(*c, 0), Arg(*c, 1), c->HeadIntrinsic() == kLe ? kLt : kGt, false);
  } else if (strict && c->HeadIntrinsic() == kNot && Arg(*c, 0).HeadIntrinsic() == kEq) {
    const TExpr& a = Arg(Arg(*c, 0), 0);
    const TExpr& b = Arg(Arg(*c, 0), 1);
    const auto is = [](const TExpr& e, int n) { return e.IsIntr(n); };
    if (is(a, kPlusInfinity)) result = Typed(ApplyIntr(kLt, DeepCopy(b), DeepCopy(a)));
    else if (is(a, kMinusInfinity)) result = Typed(ApplyIntr(kGt, DeepCopy(b), DeepCopy(a)));
    else if (is(b, kPlusInfinity)) result = Typed(ApplyIntr(kLt, DeepCopy(a), DeepCopy(b)));
    else if (is(b, kMinusInfinity)) result = Typed(ApplyIntr(kGt, DeepCopy(a), DeepCopy(b)));
    else if (Real(a) && Real(b))
      result = Typed(ApplyIntr(kOr, ApplyIntr(kLt, DeepCopy(a), DeepCopy(b)), ApplyIntr(kLt, DeepCopy(b), DeepCopy(a))));
    else
      return TRewriteResult::Failed;  // a value that may be infinite: no two cases cover it
  } else {
    return TRewriteResult::Failed;
  }
  if (!result) return TRewriteResult::Failed;
  if (section == TSection::GivenConds && result->HeadIntrinsic() == kOr) {
    TExprList records;
    records.push_back(std::move(result));
    records.push_back(Number(static_cast<int>(position)));
    Record(k, kDisjunctionCases, std::move(records));
    return TRewriteResult::CaseAnalysis;
  }
  TCondPtr cond = k.MakeCond(*result);
  if (!cond) return TRewriteResult::Failed;
  (section == TSection::ProvingConds ? k.ProvingConds : k.GivenConds)[position] = std::move(cond);
  return TestConditions(k) ? TRewriteResult::Continue : (k.Proved ? TRewriteResult::Closed : TRewriteResult::Failed);
}

// ---------------------------------------------------------------------------
// Adding (in)equalities.

namespace {

// The relation turned to > or ≥ (or =) with its sides: a < b is b > a.
std::optional<std::tuple<int, const TExpr*, const TExpr*>> Oriented(const TExpr& r) {
  const int head = r.HeadIntrinsic();
  if (!IsRelation(head) || ArgCount(r) != 2 || !Real(Arg(r, 0)) || !Real(Arg(r, 1))) return std::nullopt;
  if (head == kLt) return std::tuple{kGt, &Arg(r, 1), &Arg(r, 0)};
  if (head == kLe) return std::tuple{kGe, &Arg(r, 1), &Arg(r, 0)};
  return std::tuple{head, &Arg(r, 0), &Arg(r, 1)};
}

}  // namespace

std::vector<std::size_t> AddableRelations(const TKernel& k, std::size_t position) {
  std::vector<std::size_t> found;
  if (position >= k.GivenConds.size() || !Oriented(*k.GivenConds[position]->Expr)) return found;
  for (std::size_t i = 0; i < k.GivenConds.size(); ++i)
    if (i != position && Oriented(*k.GivenConds[i]->Expr)) found.push_back(i);
  return found;
}

bool AddRelations(TKernel& k, std::size_t position, std::size_t other) {
  if (position >= k.GivenConds.size() || other >= k.GivenConds.size()) return false;
  const auto first = Oriented(*k.GivenConds[position]->Expr);
  const auto second = Oriented(*k.GivenConds[other]->Expr);
  if (!first || !second) return false;
  const auto [r1, a, b] = *first;
  const auto [r2, c, d] = *second;
  const int relation = r1 == kGt || r2 == kGt ? kGt : r2 == kGe ? kGe : r1;
  TExprPtr sum = Typed(ApplyIntr(relation, Typed(ApplyIntr(kPlus, DeepCopy(*a), DeepCopy(*c))),
                                 Typed(ApplyIntr(kPlus, DeepCopy(*b), DeepCopy(*d)))));
  if (!sum || !k.AddGivenCond(*sum)) return false;
  return TestConditions(k);
}

// ---------------------------------------------------------------------------
// Substitution into a quantified given condition.

bool PrepareSubstitute(TKernel& k, std::size_t position) {
  const TExpr* c = Marked(k, TSection::GivenConds, position);
  if (!c || c->HeadIntrinsic() != kForall || !c->Bound || c->Bound->empty()) return false;
  TExprList records;
  records.push_back(DeepCopy(*c));  // the instance so far: still quantified over what is left
  records.push_back(Number(0));     // the position of the current bound variable
  records.push_back(DeepCopy(*c));
  Record(k, kSubstitute, std::move(records));
  return true;
}

std::optional<TSubstituteStep> SubstituteStep(const TKernel& k) {
  if (k.PendingKind != kSubstitute || k.Pending.size() != 3) return std::nullopt;
  const TExpr& instance = *k.Pending[0]->Expr;
  const int at = NumberOf(*k.Pending[1]->Expr);
  if (instance.HeadIntrinsic() != kForall || !instance.Bound || at < 0 || static_cast<std::size_t>(at) >= instance.Bound->size())
    return std::nullopt;
  const TVar& v = *(*instance.Bound)[static_cast<std::size_t>(at)];
  TSubstituteStep step{v.Name, {}};
  for (const TVarPtr& o : k.GivenObjects)
    if (o->Type && v.Type && IsSubtypeOf(o->Type, v.Type, *Ctx().TypesProccess)) step.Candidates.push_back(o.get());
  return step;
}

TObligations SubstituteFor(TKernel& k, const TExpr* value) {
  if (!SubstituteStep(k)) return std::nullopt;
  TExpr& instance = *k.Pending[0]->Expr;
  const int at = NumberOf(*k.Pending[1]->Expr);
  if (value == nullptr) {
    k.Pending[1]->Expr = Number(at + 1);
    return TExprList{};
  }
  if (ContainsClass(*value, TClass::ProveVar)) {
    Error("Нельзя использовать объект, существование которого требуется доказать."_cp, "Unable to use a required object.");
    return std::nullopt;
  }
  const TVarPtr v = (*instance.Bound)[static_cast<std::size_t>(at)];
  TExprList obligations;
  if (!value->Type || !v->Type || !IsSubtypeOf(value->Type, v->Type, *Ctx().TypesProccess)) {
    const std::optional<TExprList> membership = v->Type ? TypeMembershipConditions(*value, *v->Type, {}, k) : std::nullopt;
    if (!membership) {
      Error("Несоответствие типа выражения."_cp, "Irrelevant type of expression.");
      return std::nullopt;
    }
    for (const TExprPtr& m : *membership) obligations.push_back(DeepCopy(*m));
  }
  if (!NeededConditionsOf(*value, obligations, k, true)) return std::nullopt;
  // The value for the variable in the body; the others stay bound.
  TExprPtr body = DeepCopy(Arg(instance, 0));
  std::function<void(TExpr&)> put = [&](TExpr& n) {
    if (n.Class == TClass::LocVar && n.Var() == v.get()) {
      ReplaceBy(n, DeepCopy(*value));
      return;
    }
    if (n.Class == TClass::Compound)
      for (TExprPtr& child : n.Children()) put(*child);
  };
  put(*body);
  TVarList rest = *instance.Bound;
  rest.erase(rest.begin() + at);
  TExprPtr next;
  if (rest.empty()) {
    next = Typed(std::move(body));
  } else {
    next = ApplyIntr(kForall, std::move(body));
    next->Bound = std::move(rest);
    next = Typed(std::move(next));
  }
  if (!next) return std::nullopt;
  k.Pending[0]->Expr = std::move(next);
  return obligations;
}

bool SubstituteDone(const TKernel& k) { return k.PendingKind == kSubstitute && !SubstituteStep(k); }

bool CompleteSubstitute(TKernel& k) {
  if (k.PendingKind != kSubstitute || k.Pending.empty()) return false;
  TExprPtr instance = DeepCopy(*k.Pending[0]->Expr);
  TBindingLists lists;
  // Nothing substituted: nothing new. Compared before the pending records,
  // which hold the original, are cleared.
  const bool unchanged = Comp(*instance, *k.Pending[2]->Expr, &lists) == 0;
  k.ClearPending();
  if (unchanged) return TestConditions(k);
  if (!k.AddGivenCond(*instance)) return false;
  return TestConditions(k);
}

}  // namespace lemmix
