#include "prover/actions.h"

#include <algorithm>
#include <functional>

#include "expr/logic.h"
#include "expr/typing.h"
#include "intrinsics/intr_numbers.h"
#include "intrinsics/st_func.h"
#include "prover/task.h"
#include "prover/tests.h"
#include "shell/context.h"
#include "shell/cp1251.h"
#include "types/type.h"
#include "types/type_relations.h"
#include "types/types_proccess.h"

namespace lemmix {

namespace {

TExprPtr Typed(TExprPtr e) {
  if (!e || ExprType(*e, false) == nullptr) return nullptr;
  return e;
}

void Error(const std::string& rus, const std::string& eng) { Ctx().Messages.Error({rus, eng}); }

bool MentionsObject(const TExpr& e, const TVar& v) {
  if ((e.Class == TClass::DataVar || e.Class == TClass::ProveVar) && e.Var() == &v) return true;
  if (e.Class == TClass::Compound)
    for (const TExprPtr& child : e.Children())
      if (MentionsObject(*child, v)) return true;
  return false;
}

// The checks of a condition the user enters for cases or as an auxiliary condition.
bool UsableCondition(const TExpr& c) {
  if (ContainsClass(c, TClass::ProveVar)) {
    Error("Введенное выражение не должно содержать переменных, существование которых требуется доказать."_cp,
          "The expression must not have required variables.");
    return false;
  }
  if (c.Type == nullptr || c.Type->Name != "lT") {
    Error("Введенное выражение не является логическим."_cp, "The type of the expression must be boolean.");
    return false;
  }
  return true;
}

void Record(TKernel& kernel, int kind, TExprPtr record) {
  kernel.ClearPending();
  kernel.RecordPending(std::move(record));
  kernel.PendingKind = kind;
}

const TExpr* FirstRecord(const TKernel& kernel) {
  return kernel.Pending.empty() ? nullptr : kernel.Pending.front()->Expr.get();
}

// A copy of e with every reference to the object replaced by a copy of the value.
TExprPtr Replaced(const TExpr& e, const TVar& v, const TExpr& value) {
  if ((e.Class == TClass::DataVar || e.Class == TClass::ProveVar) && e.Var() == &v) return DeepCopy(value);
  TExprPtr copy = ShallowCopy(e);
  if (copy->Class == TClass::Compound) {
    for (std::size_t i = 0; i < copy->Children().size(); ++i) copy->Children()[i] = Replaced(*e.Children()[i], v, value);
    copy->Type = nullptr;
    if (TExpr* head = copy->Head(); head && head->Class == TClass::Intr) head->Type = nullptr;
  }
  return copy;
}

// e with the listed objects bound by a new quantifier `head` (fresh variables
// of the same names and types); e itself when none is listed.
TExprPtr Quantified(int head, TExprPtr e, const std::vector<const TVar*>& objects) {
  if (objects.empty()) return e;
  TVarList fresh;
  std::function<void(TExpr&)> bind = [&](TExpr& n) {
    if (n.Class == TClass::DataVar || n.Class == TClass::ProveVar) {
      const auto at = std::find(objects.begin(), objects.end(), n.Var());
      if (at != objects.end()) {
        TVar* v = fresh[static_cast<std::size_t>(at - objects.begin())].get();
        n.Class = TClass::LocVar;
        n.Data = v;
        n.Type = v->Type;
      }
    }
    if (n.Class == TClass::Compound)
      for (TExprPtr& child : n.Children()) bind(*child);
  };
  for (const TVar* o : objects) fresh.push_back(std::make_shared<TVar>(TVar{o->Name, o->Type}));
  bind(*e);
  TExprPtr q = ApplyIntr(head, std::move(e));
  q->Bound = std::move(fresh);
  return Typed(std::move(q));
}

// The goal as one formula: the conjunction of the proving conditions, under
// ∃ over the required objects.
TExprPtr GoalExpression(const TKernel& kernel) {
  if (kernel.ProvingConds.empty()) return nullptr;
  TExprList parts;
  for (const TCondPtr& c : kernel.ProvingConds) parts.push_back(DeepCopy(*c->Expr));
  TExprPtr goal = parts.size() == 1 ? std::move(parts.front()) : Typed(ApplyIntr(kAnd, std::move(parts)));
  if (!goal) return nullptr;
  std::vector<const TVar*> required;
  for (const TVarPtr& v : kernel.RequiredObjects) required.push_back(v.get());
  return Quantified(kExists, std::move(goal), required);
}

bool Needed(const TKernel& kernel, const TExpr& e, TExprList& into) { return NeededConditionsOf(e, into, kernel, true); }

}  // namespace

TObligations PrepareCases(TKernel& kernel, const TExpr& c) {
  if (!UsableCondition(c) || !Negation(c)) return std::nullopt;
  TExprList obligations;
  if (!Needed(kernel, c, obligations)) return std::nullopt;
  Record(kernel, kCases, DeepCopy(c));
  return obligations;
}

std::optional<TExprList> Cases(const TKernel& kernel) {
  const TExpr* c = FirstRecord(kernel);
  if (kernel.PendingKind != kCases || c == nullptr) return std::nullopt;
  TExprPtr negation = Negation(*c);
  if (!negation) return std::nullopt;
  TExprList cases;
  cases.push_back(DeepCopy(*c));
  cases.push_back(std::move(negation));
  return cases;
}

TObligations PrepareAuxiliary(TKernel& kernel, const TExpr& c) {
  if (!UsableCondition(c)) return std::nullopt;
  TExprList obligations;
  if (!Needed(kernel, c, obligations)) return std::nullopt;
  obligations.push_back(DeepCopy(c));
  Record(kernel, kProveCondition, DeepCopy(c));
  return obligations;
}

TObligations PrepareConjecture(TKernel& kernel, const TExpr& c) {
  if (!UsableCondition(c)) return std::nullopt;
  TExprList obligations;
  if (!Needed(kernel, c, obligations)) return std::nullopt;
  Record(kernel, kConjecture, DeepCopy(c));
  return obligations;
}

TObligations PrepareProveMarked(TKernel& kernel, std::size_t position) {
  if (position >= kernel.ProvingConds.size()) return std::nullopt;
  const TExpr& c = *kernel.ProvingConds[position]->Expr;
  TExprList goals;
  goals.push_back(DeepCopy(c));
  Record(kernel, kProveCondition, DeepCopy(c));
  return goals;
}

bool SwapPendingForNegation(TKernel& kernel, TExprList& goals) {
  const TExpr* c = FirstRecord(kernel);
  if (c == nullptr) return false;
  TExprPtr negation = Negation(*c);
  if (!negation) return false;
  goals.clear();
  goals.push_back(DeepCopy(*negation));
  Record(kernel, kProveCondition, std::move(negation));
  return true;
}

bool AddPendingToGivens(TKernel& kernel) {
  const TExpr* c = FirstRecord(kernel);
  if (c == nullptr) return false;
  const bool added = kernel.AddGivenCond(*c);
  kernel.ClearPending();
  if (!added) return false;
  return TestConditions(kernel);
}

bool MakePendingTheGoal(TKernel& kernel) {
  const TExpr* c = FirstRecord(kernel);
  if (c == nullptr) return false;
  const TExprPtr goal = DeepCopy(*c);
  kernel.ClearPending();
  TExprList needed;
  if (!Needed(kernel, *goal, needed)) return false;
  kernel.ByContradiction = false;
  kernel.ProvingConds.clear();
  kernel.RequiredObjects.clear();
  if (!kernel.AddProvingCond(*goal)) return false;
  for (const TExprPtr& n : needed)
    if (!kernel.AddProvingCond(*n)) return false;
  return TestConditions(kernel);
}

bool ContradProve(TKernel& kernel) {
  if (kernel.ProvingConds.empty()) {
    Error("Oшибка: все доказано ?"_cp, "Error 1 in ContradProve (Kernel)");
    return false;
  }
  const TExprPtr goal = GoalExpression(kernel);
  TExprPtr negation = goal ? Negation(*goal) : nullptr;
  if (!negation || !kernel.AddGivenCond(*negation)) return false;
  kernel.ByContradiction = true;
  kernel.ProvingConds.clear();
  kernel.RequiredObjects.clear();
  return true;
}

std::vector<TVar*> InductionCandidates(const TKernel& kernel) {
  std::vector<TVar*> candidates;
  if (kernel.ByContradiction) return candidates;
  for (const TVarPtr& v : kernel.GivenObjects)
    if (v->Type && IsSubtypeOfNamed(v->Type, "zT", *Ctx().TypesProccess)) candidates.push_back(v.get());
  return candidates;
}

namespace {

// m is the least value of v's type: 1 for naturals, 0 for naturals with zero.
bool LeastValue(const TVar& v, const TExpr& m) {
  const TNumber* n = m.NumberValue();
  if (n == nullptr || v.Type == nullptr) return false;
  return (EqualsInt(*n, 1) && v.Type->Name == "nT") || (EqualsInt(*n, 0) && v.Type->Name == "n0T");
}

TExprPtr Reference(const TVar& v) {
  TExprPtr e = TExpr::VarRef(TClass::DataVar, const_cast<TVar&>(v));
  e->Type = v.Type;
  return e;
}

// Every condition of the list that mentions v with v replaced by the value, in place.
bool ReplaceEverywhere(TKernel& kernel, TCondList& list, const TVar& v, const TExpr& value) {
  for (TCondPtr& c : list) {
    if (!MentionsObject(*c->Expr, v)) continue;
    TExprPtr replaced = Typed(Replaced(*c->Expr, v, value));
    TCondPtr rebuilt = replaced ? kernel.MakeCond(*replaced) : nullptr;
    if (!rebuilt) return false;
    c = std::move(rebuilt);
  }
  return true;
}

}  // namespace

TObligations PrepareInduction(const TKernel& kernel, const TVar& v, const TExpr& m) {
  if (ContainsClass(m, TClass::ProveVar)) {
    Error("Начальное значение переменной индукции не может зависить от объекта, существование которого требуется доказать."_cp,
          "Initial value of the induction variable must not depend on a required object");
    return std::nullopt;
  }
  if (MentionsObject(m, v)) {
    Error("Начальное значение не может зависеть от самой переменной индукции."_cp,
          "The initial value may not depend on the induction variable itself.");
    return std::nullopt;
  }
  if (m.Type == nullptr || !IsSubtypeOfNamed(m.Type, "zT", *Ctx().TypesProccess)) {
    Error("Начальное значение переменной индукции должно быть целым числом."_cp,
          "The initial value of the induction variable must be an integer.");
    return std::nullopt;
  }
  TExprList obligations;
  if (!Needed(kernel, m, obligations)) return std::nullopt;
  if (!IsSubtypeOf(m.Type, v.Type, *Ctx().TypesProccess)) {
    const TIntr* set = Ctx().StFunc->SetIntrinsicOfType(v.Type->Name);
    TExprPtr membership = set ? Typed(ApplyIntr(kIn, DeepCopy(m), TExpr::OfIntr(*const_cast<TIntr*>(set)))) : nullptr;
    if (!membership) return std::nullopt;
    obligations.push_back(std::move(membership));
  }
  if (!LeastValue(v, m)) {
    TExprPtr atLeast = Typed(ApplyIntr(kGe, Reference(v), DeepCopy(m)));
    if (!atLeast) return std::nullopt;
    obligations.push_back(std::move(atLeast));
  }
  return obligations;
}

bool MayBeNonstationary(const TVar& object, const TVar& v, const TExpr& m) {
  return &object != &v && !MentionsObject(m, object);
}

std::unique_ptr<TKernel> InductionBase(const TKernel& kernel, const TVar& v, const TExpr& m) {
  std::unique_ptr<TKernel> base = kernel.Copy({.Goal = true});
  if (!ReplaceEverywhere(*base, base->GivenConds, v, m) || !ReplaceEverywhere(*base, base->ProvingConds, v, m)) {
    Error("Ошибка разработчика 1 in InductionBase (Kernel)."_cp, "Error 1 in InductionBase (Kernel).");
    return nullptr;
  }
  base->RemoveObject(v, false);
  TestConditions(*base);
  return base;
}

std::unique_ptr<TKernel> InductionStep(const TKernel& kernel, const TVar& v, const TExpr& m,
                                       const std::vector<const TVar*>& nonstationary) {
  for (const TVar* o : nonstationary)
    if (!MayBeNonstationary(*o, v, m)) return nullptr;
  std::unique_ptr<TKernel> step = kernel.Copy({.Goal = true});
  // The hypothesis, from the conditions as they are before v becomes v + 1.
  TExprList premises;
  for (const TCondPtr& c : step->GivenConds) {
    const bool about = MentionsObject(*c->Expr, v) ||
                       std::any_of(nonstationary.begin(), nonstationary.end(), [&](const TVar* o) { return MentionsObject(*c->Expr, *o); });
    if (about) premises.push_back(DeepCopy(*c->Expr));
  }
  TExprPtr goal = GoalExpression(*step);
  if (!goal) return nullptr;
  TExprPtr hypothesis = premises.empty()
                            ? std::move(goal)
                            : Typed(ApplyIntr(kImplies,
                                              premises.size() == 1 ? std::move(premises.front())
                                                                   : Typed(ApplyIntr(kAnd, std::move(premises))),
                                              std::move(goal)));
  if (!hypothesis) return nullptr;
  hypothesis = Quantified(kForall, std::move(hypothesis), nonstationary);
  if (!hypothesis) return nullptr;
  TExprPtr next = Typed(ApplyIntr(kPlus, Reference(v), TExpr::Number(TNumber(std::int32_t{1}))));
  if (!next || !ReplaceEverywhere(*step, step->GivenConds, v, *next) ||
      !ReplaceEverywhere(*step, step->ProvingConds, v, *next))
    return nullptr;
  if (!step->AddGivenCond(*hypothesis)) return nullptr;
  const TNumber* start = m.NumberValue();
  if (!(start && EqualsInt(*start, 1))) {
    TExprPtr atLeast = Typed(ApplyIntr(kGe, Reference(v), DeepCopy(m)));
    if (!atLeast || !step->AddGivenCond(*atLeast)) return nullptr;
  }
  step->Tag = "induction step";
  TestConditions(*step);
  return step;
}

bool ApplyStatement(TKernel& kernel, std::string_view formulation) {
  const TExprPtr e = ReadProverFormula(kernel, formulation);
  if (!e || !kernel.AddGivenCond(*e)) return false;
  return TestConditions(kernel);
}

std::string ObjectName(const TVar& v) { return NameText(v.Name); }

std::optional<TMessage> RenameObject(TKernel& kernel, std::size_t position, std::string_view name) {
  if (position >= kernel.GivenObjects.size())
    return TMessage{"Неверный номер переименовываемой переменной."_cp, "Invalid number of variable to be renamed."};
  const std::optional<TVarName> parsed = NameFromString(name, false);
  if (!parsed) return TMessage{"Введено недопустимое имя переменной."_cp, "Incorrect name of variable"};
  const std::string text = NameText(*parsed);
  for (const TVarPtr& v : kernel.GivenObjects)
    if (v->Name == *parsed) return TMessage{"Имя "_cp + text + " используется существующей переменной."_cp, "Name " + text + " is used for a given object."};
  for (const TVarPtr& v : kernel.RequiredObjects)
    if (v->Name == *parsed) return TMessage{"Имя "_cp + text + " используется искомой переменной."_cp, "Name " + text + " is used for a required object."};
  kernel.RenameObject(*kernel.GivenObjects[position], *parsed);
  return std::nullopt;
}

}  // namespace lemmix
