#include "expr/logic.h"

#include <algorithm>
#include <functional>
#include <map>

#include "expr/arithm.h"
#include "expr/info_sink.h"
#include "expr/typing.h"
#include "expr/uncompound.h"
#include "intrinsics/intr_numbers.h"
#include "intrinsics/st_func.h"
#include "shell/context.h"
#include "types/types_proccess.h"
#include "shell/cp1251.h"
#include "types/type.h"
#include "types/type_relations.h"

namespace lemmix {

namespace {



TIntr& F(int n) { return *Ctx().StFunc->Intr(n); }

TExprPtr Quantifier(int head, TVarList bound, TExprPtr body) {
  TExprPtr e = ApplyIntr(head, std::move(body));
  e->Bound = std::move(bound);
  return e;
}

// Typed, or nothing.
TExprPtr Typed(TExprPtr e) {
  if (!e || ExprType(*e, false) == nullptr) return nullptr;
  return e;
}

// Re-points the variable nodes of e by the map (loc_var nodes of the old
// variables become nodes of the new ones).
void Repoint(TExpr& e, const std::map<const TVar*, TVar*>& to) {
  if (e.IsVar()) {
    const auto it = to.find(e.Var());
    if (it != to.end()) {
      e.Class = TClass::LocVar;
      e.Data = it->second;
      e.Type = it->second->Type;
    }
  }
  if (e.Class == TClass::Compound)
    for (TExprPtr& child : e.Children()) Repoint(*child, to);
}

// A copy of e with every node of variable v replaced by a copy of x.
TExprPtr Instantiate(const TExpr& e, const TVar* v, const TExpr& x) {
  TExprPtr copy = DeepCopy(e);
  const std::function<void(TExpr&)> replace = [&](TExpr& node) {
    if (node.IsVar() && node.Var() == v) {
      ReplaceByCopy(node, x);
      return;
    }
    if (node.Class == TClass::Compound)
      for (TExprPtr& child : node.Children()) replace(*child);
  };
  replace(*copy);
  return copy;
}

// Fresh variables of the same names and types, and the map from the old ones.
TVarList FreshCopies(const TVarList& vars, std::map<const TVar*, TVar*>& map) {
  TVarList fresh;
  for (const TVarPtr& v : vars) {
    fresh.push_back(std::make_shared<TVar>(*v));
    map[v.get()] = fresh.back().get();
  }
  return fresh;
}

bool IsConditionalSetMembership(const TExpr& e) {
  return e.HeadIntrinsic() == kIn && e.Children().size() == 3 && e.Children()[2]->HeadIntrinsic() == kSetOf &&
         e.Children()[2]->Bound && !e.Children()[2]->Bound->empty();
}

void Report(const TExpr& old) {
  if (Ctx().Commenting && Ctx().Info != nullptr) Ctx().Info->Add("Выражение "_cp, &old);
}

}  // namespace

TExprPtr Negation(const TExpr& e) {
  if (e.IsIntr(kTrue) || e.IsIntr(kFalse)) {
    TExprPtr c = TExpr::OfIntr(F(e.IsIntr(kTrue) ? kFalse : kTrue));
    return Typed(std::move(c));
  }
  const int head = e.HeadIntrinsic();
  if ((head == kForall || head == kExists) && e.Children().size() == 2) {
    TExprPtr copy = DeepCopy(e);
    TExprPtr body = Negation(*copy->Children()[1]);
    if (!body) return nullptr;
    copy->Children()[0] = TExpr::OfIntr(F(head == kForall ? kExists : kForall));
    copy->Children()[1] = std::move(body);
    copy->Type = nullptr;
    return Typed(std::move(copy));
  }
  if (head == kNot && e.Children().size() == 2) return Typed(DeepCopy(*e.Children()[1]));
  if ((head == kAnd || head == kOr) && e.Children().size() > 1) {
    TExprList negated;
    for (std::size_t i = 1; i < e.Children().size(); ++i) {
      TExprPtr n = Negation(*e.Children()[i]);
      if (!n) return nullptr;
      negated.push_back(std::move(n));
    }
    return Typed(ApplyIntr(head == kAnd ? kOr : kAnd, std::move(negated)));
  }
  return Typed(ApplyIntr(kNot, DeepCopy(e)));
}

TExprPtr ExistsUniqueUnfolding(const TExpr& e, const TVarList& given, const TVarList& required) {
  const bool negated = e.HeadIntrinsic() == kNot && e.Children().size() == 2;
  const TExpr& unique = negated ? *e.Children()[1] : e;
  if (unique.HeadIntrinsic() != kExistsOne || unique.Children().size() != 2 || !unique.Bound) return nullptr;
  const TVarList& xs = *unique.Bound;
  const TExpr& p = *unique.Children()[1];

  std::map<const TVar*, TVar*> toA;
  std::map<const TVar*, TVar*> toB;
  TVarList as = FreshCopies(xs, toA);
  TVarList bs = FreshCopies(xs, toB);
  std::vector<TVarName> taken;
  for (const TVarPtr& v : xs) taken.push_back(v->Name);
  for (const TVarList* list : {&given, &required})
    for (const TVarPtr& v : *list) taken.push_back(v->Name);
  for (TVarPtr& b : bs) {
    while (std::find(taken.begin(), taken.end(), b->Name) != taken.end()) ++b->Name.Index;
    taken.push_back(b->Name);
  }
  TExprPtr pa = DeepCopy(p);
  Repoint(*pa, toA);
  TExprPtr pb = DeepCopy(p);
  Repoint(*pb, toB);
  TExprList equalities;
  for (std::size_t i = 0; i < xs.size(); ++i) {
    TExprPtr b = TExpr::VarRef(TClass::LocVar, *bs[i]);
    TExprPtr a = TExpr::VarRef(TClass::LocVar, *as[i]);
    equalities.push_back(ApplyIntr(kEq, std::move(b), std::move(a)));
  }
  TExprPtr same = equalities.size() == 1 ? std::move(equalities.front()) : ApplyIntr(kAnd, std::move(equalities));
  TExprPtr only = Quantifier(kForall, std::move(bs), ApplyIntr(kImplies, std::move(pb), std::move(same)));
  TExprPtr built = Typed(Quantifier(kExists, std::move(as), ApplyIntr(kAnd, std::move(pa), std::move(only))));
  if (!built) return nullptr;
  return negated ? Negation(*built) : std::move(built);
}

TExprPtr SetMembershipElimination(const TExpr& e) {
  if (!IsConditionalSetMembership(e)) return nullptr;
  const TExpr& x = *e.Children()[1];
  const TExpr& set = *e.Children()[2];
  const TVarList& ys = *set.Bound;
  if (set.Children().size() == 2) {
    const TVar* y = ys.front().get();
    TExprPtr p = Instantiate(*set.Children()[1], y, x);
    if (y->Type != nullptr && !IsSubtypeOf(x.Type, y->Type, *Ctx().TypesProccess)) {
      if (TIntr* standard = Ctx().StFunc->SetIntrinsicOfType(y->Type->Name)) {
        TExprPtr member = ApplyIntr(kIn, DeepCopy(x), TExpr::OfIntr(*standard));
        return Typed(ApplyIntr(kAnd, std::move(member), std::move(p)));
      }
    }
    return Typed(std::move(p));
  }
  if (set.Children().size() != 3) return nullptr;
  std::map<const TVar*, TVar*> toY;
  TVarList fresh = FreshCopies(ys, toY);
  TExprPtr term = DeepCopy(*set.Children()[1]);
  TExprPtr condition = DeepCopy(*set.Children()[2]);
  Repoint(*term, toY);
  Repoint(*condition, toY);
  TExprPtr body = ApplyIntr(kAnd, ApplyIntr(kEq, DeepCopy(x), std::move(term)), std::move(condition));
  return Typed(Quantifier(kExists, std::move(fresh), std::move(body)));
}

namespace {

// The conjuncts of a formula: its arguments for a conjunction, itself otherwise.
std::vector<TExpr*> Conjuncts(TExpr& e) {
  std::vector<TExpr*> parts;
  if (e.HeadIntrinsic() == kAnd)
    for (std::size_t i = 1; i < e.Children().size(); ++i) parts.push_back(e.Children()[i].get());
  else
    parts.push_back(&e);
  return parts;
}

// x in S with x one of the variables `bound` binds and S a set given by a condition.
TExpr* RangeOver(TExpr& part, const TVarList& bound) {
  if (!IsConditionalSetMembership(part)) return nullptr;
  const TExpr& x = *part.Children()[1];
  if (x.Class != TClass::LocVar) return nullptr;
  for (const TVarPtr& v : bound)
    if (v.get() == x.Var()) return &part;
  return nullptr;
}

// Rewrites a quantifier whose variable x ranges over a set given by a
// condition into one over the set's own variables.
bool EliminateRange(TExpr& e) {
  const int head = e.HeadIntrinsic();
  if ((head != kExists && head != kForall) || !e.Bound || e.Children().size() != 2) return false;
  TExpr& body = *e.Children()[1];
  TExpr* premise = nullptr;
  if (head == kExists) premise = &body;
  else if (body.HeadIntrinsic() == kImplies && body.Children().size() == 3) premise = body.Children()[1].get();
  if (premise == nullptr) return false;
  const std::vector<TExpr*> parts = Conjuncts(*premise);
  TExpr* membership = nullptr;
  for (TExpr* part : parts)
    if ((membership = RangeOver(*part, *e.Bound)) != nullptr) break;
  if (membership == nullptr) return false;

  const TExprPtr old = DeepCopy(e);
  const TVar* x = membership->Children()[1]->Var();
  const TExpr& set = *membership->Children()[2];
  std::map<const TVar*, TVar*> toY;
  TVarList ys = FreshCopies(*set.Bound, toY);
  TExprPtr condition = DeepCopy(*set.Children().back());
  Repoint(*condition, toY);
  TExprPtr t;
  if (set.Children().size() == 2) {
    t = TExpr::VarRef(TClass::LocVar, *ys.front());
    t->Type = ys.front()->Type;
  } else {
    t = DeepCopy(*set.Children()[1]);
    Repoint(*t, toY);
  }
  TExprList conjuncts;
  conjuncts.push_back(std::move(condition));
  for (TExpr* part : parts)
    if (part != membership) conjuncts.push_back(Instantiate(*part, x, *t));
  TExprPtr newPremise = conjuncts.size() == 1 ? std::move(conjuncts.front()) : ApplyIntr(kAnd, std::move(conjuncts));
  TVarList bound;
  for (const TVarPtr& v : *e.Bound)
    if (v.get() != x) bound.push_back(v);
  bound.insert(bound.end(), ys.begin(), ys.end());
  TExprPtr newBody = head == kExists
                         ? std::move(newPremise)
                         : ApplyIntr(kImplies, std::move(newPremise), Instantiate(*body.Children()[2], x, *t));
  TExprPtr rewritten = Typed(Quantifier(head, std::move(bound), std::move(newBody)));
  if (!rewritten) return false;
  ReplaceBy(e, std::move(rewritten));
  Report(*old);
  return true;
}

}  // namespace

void QuantifiedMembershipElimination(TExpr& e) {
  if (IsConditionalSetMembership(e)) {
    if (TExprPtr replaced = SetMembershipElimination(e)) {
      const TExprPtr old = DeepCopy(e);
      ReplaceBy(e, std::move(replaced));
      Report(*old);
    }
  } else {
    EliminateRange(e);
  }
  if (e.Class == TClass::Compound)
    for (std::size_t i = 1; i < e.Children().size(); ++i) QuantifiedMembershipElimination(*e.Children()[i]);
}

void PruneBoundVariables(TExpr& e) {
  if (e.Class != TClass::Compound) return;
  for (std::size_t i = 1; i < e.Children().size(); ++i) PruneBoundVariables(*e.Children()[i]);
  if (e.HeadIntrinsic() != kForall || !e.Bound || e.Children().size() != 2) return;
  const TExpr& body = *e.Children()[1];
  std::erase_if(*e.Bound, [&](const TVarPtr& v) { return !ContainsPayload(body, TClass::LocVar, v.get()); });
  if (e.Bound->empty()) ReplaceBy(e, std::move(e.Children()[1]));
}

bool DerivativeOfOrderZero(TExpr& e) {
  if (e.Class != TClass::Compound) return true;
  if (e.HeadIntrinsic() == kDerivative && e.Children().size() == 4) {
    const TExpr& order = *e.Children()[2];
    if (order.NumberValue() && EqualsInt(*order.NumberValue(), 0)) {
      TExprList children;
      children.push_back(std::move(e.Children()[1]));
      children.push_back(std::move(e.Children()[3]));
      TExprPtr applied = TExpr::Compound(std::move(children));
      if (ExprType(*applied, false) == nullptr) return false;
      ReplaceBy(e, std::move(applied));
    }
  }
  for (std::size_t i = 0; i < e.Children().size(); ++i)
    if (!DerivativeOfOrderZero(*e.Children()[i])) return false;
  return true;
}

void TupleArguments(TExpr& e) {
  if (e.Class != TClass::Compound || !ContainsPayload(e, TClass::Intr, &F(kTuple))) return;
  TExprList& ch = e.Children();
  const TClass head = ch.front()->Class;
  const bool variableHead = head == TClass::DataVar || head == TClass::ProveVar || head == TClass::LocVar;
  if (variableHead && ch.size() == 2 && ch[1]->HeadIntrinsic() == kTuple) {
    TExprPtr tuple = std::move(ch[1]);
    ch.pop_back();
    for (std::size_t i = 1; i < tuple->Children().size(); ++i) ch.push_back(std::move(tuple->Children()[i]));
    e.Type = nullptr;
    ExprType(e, false);
  }
  for (TExprPtr& child : ch) TupleArguments(*child);
}

namespace {

void ReplaceDefinitions(TExpr& e) {
  if (e.IsIntr(kByDef)) e.Data = &F(kIff);
  if (e.Class == TClass::Compound)
    for (TExprPtr& child : e.Children()) ReplaceDefinitions(*child);
}

void CollectFreeNames(const TExpr& e, std::vector<TVarName>& names) {
  if (e.IsVar() && e.Class != TClass::LocVar && e.Var() != nullptr) names.push_back(e.Var()->Name);
  if (e.Class == TClass::Compound)
    for (const TExprPtr& child : e.Children()) CollectFreeNames(*child, names);
}

// No bound variable keeps the name of a variable bound around it, nor of an
// object the formula speaks of: the formula must read back as it is. Binders
// side by side keep their names.
void RenameShadowing(TExpr& e, std::vector<TVarName>& around, const std::vector<TVarName>& free) {
  const std::size_t depth = around.size();
  const auto taken = [&](const TVarName& name) {
    return std::find(around.begin(), around.end(), name) != around.end() ||
           std::find(free.begin(), free.end(), name) != free.end();
  };
  if (e.Bound) {
    for (TVarPtr& v : *e.Bound) {
      while (taken(v->Name)) ++v->Name.Index;
      around.push_back(v->Name);
    }
  }
  if (e.Class == TClass::Compound)
    for (TExprPtr& child : e.Children()) RenameShadowing(*child, around, free);
  around.resize(depth);
}

}  // namespace

TExprPtr StandardiseForCondition(const TExpr& e) {
  // A copy whose bound variables are the condition's own.
  TExprPtr f = HeadUncompound(e);
  if (!f) return nullptr;
  ReplaceDefinitions(*f);
  QuantifiedMembershipElimination(*f);
  PruneBoundVariables(*f);
  if (Ctx().Settings.SymbolTransEnable) {
    SimplifyCondition(*f);
    // A body the arithmetic decided no longer speaks of its variables.
    PruneBoundVariables(*f);
    if (ExprType(*f, false) == nullptr) return nullptr;
  }
  if (!DerivativeOfOrderZero(*f)) return nullptr;
  TupleArguments(*f);
  // The automatic superficial methods rewrite here once methods exist.
  if (Ctx().Settings.SymbolTransEnable && ExprType(*f, false) == nullptr) return nullptr;
  std::vector<TVarName> around;
  std::vector<TVarName> free;
  CollectFreeNames(*f, free);
  RenameShadowing(*f, around, free);
  return f;
}

}  // namespace lemmix
