#include "prover/needed.h"

#include <algorithm>
#include <map>

#include "expr/logic.h"
#include "expr/typing.h"
#include "expr/uncompound.h"
#include "intrinsics/intr_numbers.h"
#include "intrinsics/st_func.h"
#include "notation/output.h"
#include "notation/parser.h"
#include "prover/kernel.h"
#include "shell/context.h"
#include "shell/cp1251.h"
#include "types/type.h"
#include "types/type_name.h"
#include "types/type_relations.h"
#include "types/types_proccess.h"

namespace lemmix {

namespace {

bool Subtype(const TType* a, const TType* b) { return a != nullptr && IsSubtypeOf(a, b, *Ctx().TypesProccess); }

TExprPtr Typed(TExprPtr e) {
  if (!e || ExprType(*e, false) == nullptr) return nullptr;
  return e;
}

TExprPtr Local(TVar& v) {
  TExprPtr e = TExpr::VarRef(TClass::LocVar, v);
  e->Type = v.Type;
  return e;
}

bool AlphaEqual(const TExpr& a, const TExpr& b) {
  TBindingLists lists;
  return Comp(a, b, &lists) == 0;
}

template <typename T>
bool Has(const std::vector<T>& list, const T& x) {
  return std::find(list.begin(), list.end(), x) != list.end();
}

void CollectFree(const TExpr& e, std::vector<const TVar*>& inside, std::vector<TVar*>& found) {
  const std::size_t depth = inside.size();
  if (e.Bound)
    for (const TVarPtr& v : *e.Bound) inside.push_back(v.get());
  if (e.Class == TClass::LocVar) {
    TVar* v = e.Var();
    if (!Has<const TVar*>(inside, v) && !Has(found, v)) found.push_back(v);
  } else if (e.Class == TClass::Compound) {
    for (const TExprPtr& child : e.Children()) CollectFree(*child, inside, found);
  } else if (e.Class == TClass::Templ && e.Inner()) {
    CollectFree(*e.Inner(), inside, found);
  }
  inside.resize(depth);
}

// The variables e speaks of that are bound outside it, in the order met.
std::vector<TVar*> FreeLocals(const TExpr& e) {
  std::vector<const TVar*> inside;
  std::vector<TVar*> found;
  CollectFree(e, inside, found);
  return found;
}

void Repoint(TExpr& e, const std::map<const TVar*, TVar*>& to) {
  if (e.Class == TClass::LocVar) {
    if (const auto it = to.find(e.Var()); it != to.end()) e.Data = it->second;
  } else if (e.Class == TClass::Compound) {
    for (TExprPtr& child : e.Children()) Repoint(*child, to);
  } else if (e.Class == TClass::Templ && e.Inner()) {
    Repoint(*e.Inner(), to);
  }
}

std::vector<const TExpr*> Conjuncts(const TExpr& e) {
  if (e.HeadIntrinsic() != kAnd) return {&e};
  std::vector<const TExpr*> parts;
  for (std::size_t i = 1; i < e.Children().size(); ++i) parts.push_back(e.Children()[i].get());
  return parts;
}

// The bound variables become the template parameters #1, #2 ... (#0 stands
// for the template itself where it is applied).
void Abstract(TExpr& e, const TVarList& bound) {
  if (e.Class == TClass::LocVar) {
    for (std::size_t k = 0; k < bound.size(); ++k) {
      if (e.Var() != bound[k].get()) continue;
      TType* type = bound[k]->Type;
      ReplaceBy(e, TExpr::Par(TClass::TemplPar, static_cast<int>(k + 1)));
      e.Type = type;
      return;
    }
  } else if (e.Class == TClass::Compound) {
    for (TExprPtr& child : e.Children()) Abstract(*child, bound);
  }
}

// ℕ, ℤ, ℚ, ℝ and their kin are typed as sets that may be empty, as their
// subsets are; they themselves are not.
bool IsStandardSet(const TExpr& e) {
  const TIntr* f = e.Class == TClass::Intr ? e.Intrinsic() : nullptr;
  return f != nullptr && f->Number >= kUniverse && f->Number <= kNaturalsWithZero;
}

// ∃x⃗ (x1 ∈ S1 ∧ …) where every Si is a set that is not empty by its type
// and each variable not ranging over one has a type with values.
bool ExistsByType(const TExpr& e) {
  if (e.HeadIntrinsic() != kExists || !e.Bound || e.Children().size() != 2) return false;
  std::vector<const TVar*> open;
  for (const TVarPtr& v : *e.Bound) open.push_back(v.get());
  for (const TExpr* part : Conjuncts(*e.Children()[1])) {
    if (part->IsIntr(kTrue)) continue;
    if (part->HeadIntrinsic() != kIn || part->Children().size() != 3) return false;
    const TExpr& x = *part->Children()[1];
    const TExpr& set = *part->Children()[2];
    const auto at = x.Class == TClass::LocVar ? std::find(open.begin(), open.end(), x.Var()) : open.end();
    if (at == open.end()) return false;
    for (const TVarPtr& v : *e.Bound)
      if (ContainsPayload(set, TClass::LocVar, v.get())) return false;
    const TSetType* type = set.Type ? set.Type->Set() : nullptr;
    if (type == nullptr || !Subtype(type->Element, x.Var()->Type)) return false;
    if (type->MayBeEmpty && !IsStandardSet(set)) return false;
    open.erase(at);
  }
  return std::all_of(open.begin(), open.end(), [](const TVar* v) {
    return v->Type != nullptr && v->Type->Base() == TBase::Simple && v->Type->Name != "NotT";
  });
}

// The assumptions while a formula is walked: borrowed from the formula and the
// caller, or built on the way and owned here.
class TScope {
 public:
  explicit TScope(const TAssumptions& a) : Variables(a.Variables) {
    for (const TExprPtr& c : a.Conditions) Conditions.push_back(c.get());
  }

  void Bind(const TVarList& vars) { Variables.insert(Variables.end(), vars.begin(), vars.end()); }
  // Variables that some value satisfies, not every one: the ends of the
  // neighbourhood where a limit's expression is looked at.
  void BindExistential(const TVarList& vars) {
    Bind(vars);
    for (const TVarPtr& v : vars) Existential.push_back(v.get());
  }
  void Assume(const TExpr& c) { Conditions.push_back(&c); }
  void Assume(TExprPtr c) {
    // One that cannot be built is left out: fewer premises only ask for more.
    if (!c) return;
    owned_.push_back(std::move(c));
    Conditions.push_back(owned_.back().get());
  }

  // Puts back the variables and conditions of the moment it was made.
  class TMark {
   public:
    explicit TMark(TScope& s)
        : s_(s), vars_(s.Variables.size()), exists_(s.Existential.size()), conds_(s.Conditions.size()), owns_(s.owned_.size()) {}
    ~TMark() {
      s_.Variables.resize(vars_);
      s_.Existential.resize(exists_);
      s_.Conditions.resize(conds_);
      s_.owned_.resize(owns_);
    }
    TMark(const TMark&) = delete;
    TMark& operator=(const TMark&) = delete;

   private:
    TScope& s_;
    std::size_t vars_, exists_, conds_, owns_;
  };

  // premises ⇒ c, closed by ∀ over the variables bound outside c that it
  // speaks of. A premise is kept when it speaks of no such variable, or of
  // any object the condition (or a kept premise) speaks of: the others say
  // nothing about c. A premise that ties a given object of c to a bound
  // variable (A ⊆ B under ∀B, for sup(A)) is kept with that variable.
  TExprPtr Close(const TExpr& c) const {
    std::vector<const TVar*> relevant = Objects(c);
    std::vector<bool> kept(Conditions.size(), false);
    for (bool grew = true; grew;) {
      grew = false;
      for (std::size_t i = 0; i < Conditions.size(); ++i) {
        if (kept[i]) continue;
        const std::vector<const TVar*> objects = Objects(*Conditions[i]);
        if (!FreeLocals(*Conditions[i]).empty() &&
            std::none_of(objects.begin(), objects.end(), [&](const TVar* v) { return Has(relevant, v); }))
          continue;
        kept[i] = grew = true;
        for (const TVar* v : objects)
          if (!Has(relevant, v)) relevant.push_back(v);
      }
    }
    TExprPtr flat = Implication(c, kept);
    std::vector<TVar*> free = FreeLocals(*flat);
    const auto position = [&](const TVar* v) {
      const auto at = std::find_if(Variables.begin(), Variables.end(), [&](const TVarPtr& w) { return w.get() == v; });
      return at - Variables.begin();
    };
    std::stable_sort(free.begin(), free.end(), [&](TVar* a, TVar* b) { return position(a) < position(b); });
    TVarList fresh;
    std::map<const TVar*, TVar*> to;
    for (TVar* v : free) {
      fresh.push_back(std::make_shared<TVar>(*v));
      to[v] = fresh.back().get();
    }
    TExprPtr body;
    if (std::any_of(free.begin(), free.end(), [&](const TVar* v) { return Has(Existential, v); })) {
      body = Nested(c, kept, free, fresh);
    } else {
      body = std::move(flat);
      if (!fresh.empty()) {
        body = ApplyIntr(kForall, std::move(body));
        body->Bound = std::move(fresh);
      }
    }
    Repoint(*body, to);
    return Typed(std::move(body));
  }

  // premises ⇒ c.
  TExprPtr Implication(const TExpr& c, const std::vector<bool>& kept) const {
    TExprList premises;
    for (std::size_t i = 0; i < Conditions.size(); ++i)
      if (kept[i]) premises.push_back(DeepCopy(*Conditions[i]));
    TExprPtr body = DeepCopy(c);
    if (premises.empty()) return body;
    TExprPtr premise = premises.size() == 1 ? std::move(premises.front()) : ApplyIntr(kAnd, std::move(premises));
    return ApplyIntr(kImplies, std::move(premise), std::move(body));
  }

  // Quantifiers in the order of the scope, each premise under the innermost
  // variable it speaks of: ∀x (P(x) ⇒ …), ∃u (D(u) ∧ …). The variables are
  // the free ones in the order of the scope; fresh are their copies.
  TExprPtr Nested(const TExpr& c, const std::vector<bool>& kept, const std::vector<TVar*>& free, const TVarList& fresh) const {
    std::vector<std::vector<std::size_t>> at(free.size() + 1);  // premises per level, level 0 outermost
    for (std::size_t i = 0; i < Conditions.size(); ++i) {
      if (!kept[i]) continue;
      std::size_t level = 0;
      for (TVar* v : FreeLocals(*Conditions[i]))
        if (const auto it = std::find(free.begin(), free.end(), v); it != free.end())
          level = std::max(level, static_cast<std::size_t>(it - free.begin()) + 1);
      at[level].push_back(i);
    }
    const auto premisesAt = [&](std::size_t level) {
      TExprList list;
      for (const std::size_t i : at[level]) list.push_back(DeepCopy(*Conditions[i]));
      return list;
    };
    TExprPtr body = DeepCopy(c);
    for (std::size_t level = free.size() + 1; level-- > 0;) {
      TExprList premises = premisesAt(level);
      const bool exists = level > 0 && Has(Existential, static_cast<const TVar*>(free[level - 1]));
      if (exists) {
        premises.push_back(std::move(body));
        body = premises.size() == 1 ? std::move(premises.front()) : ApplyIntr(kAnd, std::move(premises));
      } else if (!premises.empty()) {
        TExprPtr premise = premises.size() == 1 ? std::move(premises.front()) : ApplyIntr(kAnd, std::move(premises));
        body = ApplyIntr(kImplies, std::move(premise), std::move(body));
      }
      if (level == 0) break;
      body = ApplyIntr(exists ? kExists : kForall, std::move(body));
      body->Bound = TVarList{fresh[level - 1]};
    }
    return body;
  }

  TVarList Variables;
  std::vector<const TVar*> Existential;
  std::vector<const TExpr*> Conditions;

 private:
  // The variables free in e: bound outside it, given or required objects.
  static std::vector<const TVar*> Objects(const TExpr& e) {
    std::vector<const TVar*> objects;
    for (TVar* v : FreeLocals(e)) objects.push_back(v);
    for (const TClass c : {TClass::DataVar, TClass::ProveVar})
      for (const TExpr* node : CollectClass(e, c))
        if (!Has(objects, static_cast<const TVar*>(node->Var()))) objects.push_back(node->Var());
    return objects;
  }

  std::vector<TExprPtr> owned_;
};

// The names of every variable e uses or binds.
std::vector<TVarName> NamesIn(const TExpr& e) {
  std::vector<TVarName> names;
  for (const TClass c : {TClass::DataVar, TClass::ProveVar, TClass::LocVar, TClass::NodefVar})
    for (const TExpr* node : CollectClass(e, c)) names.push_back(node->Var()->Name);
  for (const TVar* v : CollectBound(e)) names.push_back(v->Name);
  return names;
}

// The name with its index raised while it is taken; then it is taken too.
TVarName FreeName(TVarName name, std::vector<TVarName>& taken) {
  while (Has(taken, name)) ++name.Index;
  taken.push_back(name);
  return name;
}

// The text read with its names resolved and the parameters put in, typed.
TExprPtr Instance(std::string_view text, const std::vector<const TExpr*>& parameters, const TKernel& kernel) {
  TExprPtr tree = TextToTree(text);
  if (!tree || !VarsInput(*tree, kernel.GivenObjects, kernel.RequiredObjects, false)) return nullptr;
  // The text's own bound variables take names that nothing put in uses, so
  // that the instance reads as it means.
  std::vector<TVarName> taken;
  for (const TExpr* p : parameters) {
    if (p == nullptr) continue;
    const std::vector<TVarName> names = NamesIn(*p);
    taken.insert(taken.end(), names.begin(), names.end());
  }
  for (const TClass c : {TClass::DataVar, TClass::ProveVar})
    for (const TExpr* node : CollectClass(*tree, c)) taken.push_back(node->Var()->Name);
  for (TVar* v : CollectBound(*tree)) v->Name = FreeName(v->Name, taken);
  if (!SubstituteTemplParam(*tree, parameters) || !Retype(*tree, false)) return nullptr;
  return tree;
}

class TNeeds {
 public:
  TNeeds(TExprList& result, const TAssumptions& assumptions, const TNeedContext& context)
      : result_(result), scope_(assumptions), context_(context) {}

  bool Visit(const TExpr& e);
  bool Membership(const TExpr& value, const TType& target);

 private:
  bool NotionDefined(const TExpr& node) const;
  bool AssumeAround(const TExpr& e, std::size_t i, const TVarList& ends);
  TVarList NeighbourhoodEnds(const TExpr& limit) const;
  bool Argument(const TExpr& arg, const TType* declared);
  bool Restrictions(const TExpr& e);
  bool Add(TExprPtr instance);
  bool Holds(const TExpr& c) const;
  bool TrueOrGiven(const TExpr& c) const;
  bool InternalError(int n) const;

  TExprList& result_;
  TScope scope_;
  const TNeedContext& context_;
  int limits_ = 0;  // the limit bodies the walk is inside
};

bool TNeeds::InternalError(int n) const {
  const std::string number = std::to_string(n);
  Ctx().Messages.Error(
      {"Ошибка "_cp + number + " в AddNeedCond (Kernel)."_cp, "Error " + number + " in AddNeedCond (Kernel)."});
  return false;
}

bool TNeeds::NotionDefined(const TExpr& node) const {
  const TIntr* f = node.Intrinsic();
  if (context_.Defined == nullptr || f == nullptr) return true;
  const TConcreteType* entry = Ctx().StFunc->ConcreteTypeEntry(*f, node.Type);
  if (entry == nullptr || entry->Mode != TConcreteType::UntilDefined || context_.Defined->Contains(*f, node.Type))
    return true;
  if (context_.Report)
    Ctx().Messages.Error({"Была использована функция, которая еще не определена: "_cp + f->Name,
                          "Function is not defined yet: " + f->Name});
  return false;
}

// The types the head's type asks of the arguments; null where it asks nothing.
std::optional<std::vector<const TType*>> DeclaredArguments(const TExpr& e) {
  const TExpr& head = *e.Children().front();
  const std::size_t n = e.Children().size() - 1;
  std::vector<const TType*> declared(n, nullptr);
  const TFunType* f = head.Type ? head.Type->Fun() : nullptr;
  if (f == nullptr || n == 0 || (f->Args.size() == 1 && f->Args.front()->Name == "AnyT")) return declared;
  if (head.Intrinsic() && head.Intrinsic()->Nary && !f->Args.empty()) {
    std::fill(declared.begin(), declared.end(), f->Args.front());
    return declared;
  }
  if (f->Args.size() != n) return std::nullopt;
  std::copy(f->Args.begin(), f->Args.end(), declared.begin());
  return declared;
}

// A limit's expression needs to be defined near the point only: its needed
// conditions hold for x in some neighbourhood (u; v) of the point without it,
// (u; a) from the left, (a; v) from the right. These are the ends, named
// apart from the names around.
TVarList TNeeds::NeighbourhoodEnds(const TExpr& limit) const {
  const int head = limit.HeadIntrinsic();
  if ((head != kLimF && head != kLimLeft && head != kLimRight) || !limit.Bound || limit.Bound->size() != 1 ||
      limit.Children().size() != 3)
    return {};
  std::vector<TVarName> taken = NamesIn(limit);
  for (const TVarPtr& v : scope_.Variables) taken.push_back(v->Name);
  TType* real = limit.Bound->front()->Type;
  TVarList ends;
  if (head != kLimRight) ends.push_back(std::make_shared<TVar>(TVar{FreeName({'u', -1}, taken), real}));
  if (head != kLimLeft) ends.push_back(std::make_shared<TVar>(TVar{FreeName({'v', -1}, taken), real}));
  return ends;
}

bool TNeeds::AssumeAround(const TExpr& e, std::size_t i, const TVarList& ends) {
  const TExprList& ch = e.Children();
  const TVar* bound = e.Bound && e.Bound->size() == 1 ? e.Bound->front().get() : nullptr;
  switch (e.HeadIntrinsic()) {
    case kImplies:
    case kAnd:
      for (std::size_t j = 1; j < i; ++j) scope_.Assume(*ch[j]);
      break;
    case kOr:
      for (std::size_t j = 1; j < i; ++j) {
        TExprPtr negated = Negation(*ch[j]);
        if (!negated) return InternalError(1);
        scope_.Assume(std::move(negated));
      }
      break;
    case kSetOf:  // { T(y) | P(y) }: the term where the condition holds
      if (ch.size() == 3 && i == 1) scope_.Assume(*ch[2]);
      break;
    case kSum:
    case kProduct:  // the upper bound, the lower bound, the summand (or factor)
      if (ch.size() == 4 && i == 3 && bound != nullptr) {
        scope_.Assume(Typed(ApplyIntr(kGe, Local(*e.Bound->front()), DeepCopy(*ch[2]))));
        scope_.Assume(Typed(ApplyIntr(kLe, Local(*e.Bound->front()), DeepCopy(*ch[1]))));
      }
      break;
    case kLimF:
    case kLimLeft:
    case kLimRight: {  // the point, the function of the bound variable: only its values near the point count
      if (ch.size() != 3 || i != 2 || bound == nullptr || ends.empty()) break;
      const TExpr& a = *ch[1];
      TVar& x = *e.Bound->front();
      const auto infinite = [&](int which) { return ApplyIntr(kEq, DeepCopy(a), TExpr::OfIntr(*Ctx().StFunc->Intr(which))); };
      const auto less = [](TExprPtr left, TExprPtr right) { return ApplyIntr(kLt, std::move(left), std::move(right)); };
      if (e.HeadIntrinsic() == kLimF) {
        TVar& u = *ends[0];
        TVar& v = *ends[1];
        // (u < a ∨ a = −∞) ∧ (a < v ∨ a = +∞), and x there but not a.
        scope_.Assume(Typed(ApplyIntr(kAnd, ApplyIntr(kOr, less(Local(u), DeepCopy(a)), infinite(kMinusInfinity)),
                                      ApplyIntr(kOr, less(DeepCopy(a), Local(v)), infinite(kPlusInfinity)))));
        TExprList near;
        near.push_back(ApplyIntr(kOr, less(Local(u), Local(x)), infinite(kMinusInfinity)));
        near.push_back(ApplyIntr(kOr, less(Local(x), Local(v)), infinite(kPlusInfinity)));
        near.push_back(ApplyIntr(kNot, ApplyIntr(kEq, Local(x), DeepCopy(a))));
        scope_.Assume(Typed(ApplyIntr(kAnd, std::move(near))));
      } else if (e.HeadIntrinsic() == kLimLeft) {
        TVar& u = *ends[0];
        scope_.Assume(Typed(less(Local(u), DeepCopy(a))));
        scope_.Assume(Typed(ApplyIntr(kAnd, less(Local(u), Local(x)), less(Local(x), DeepCopy(a)))));
      } else {
        TVar& v = *ends[0];
        scope_.Assume(Typed(less(DeepCopy(a), Local(v))));
        scope_.Assume(Typed(ApplyIntr(kAnd, less(DeepCopy(a), Local(x)), less(Local(x), Local(v)))));
      }
      break;
    }
    default:
      break;
  }
  return true;
}

bool TNeeds::Visit(const TExpr& e) {
  if (e.Class == TClass::Intr) return NotionDefined(e);
  if (e.Class == TClass::Templ) return e.Inner() == nullptr || Visit(*e.Inner());
  if (e.Class != TClass::Compound || e.Children().empty()) return true;
  const TExprList& ch = e.Children();
  if (!Visit(*ch.front())) return false;
  const int head = e.HeadIntrinsic();
  const bool limit = head == kLimF || head == kLimLeft || head == kLimRight;
  if (limit && limits_ > 0) {
    if (context_.Report)
      Ctx().Messages.Error({"Повторный предел пока не реализован."_cp, "Repeated limit is not emplemented yet."});
    return false;
  }
  const std::optional<std::vector<const TType*>> declared = DeclaredArguments(e);
  if (!declared) return InternalError(2);
  {
    TScope::TMark around(scope_);
    // The neighbourhood's ends stand outside the limit's variable: ∃u ∃v … ∀x.
    const TVarList ends = NeighbourhoodEnds(e);
    scope_.BindExistential(ends);
    if (e.Bound) scope_.Bind(*e.Bound);
    for (std::size_t i = 1; i < ch.size(); ++i) {
      TScope::TMark assumed(scope_);
      if (!AssumeAround(e, i, ends)) return false;
      const int inLimit = limit && i + 1 == ch.size() ? 1 : 0;
      limits_ += inLimit;
      const bool ok = Visit(*ch[i]) && Argument(*ch[i], (*declared)[i - 1]);
      limits_ -= inLimit;
      if (!ok) return false;
    }
  }
  return Restrictions(e);
}

bool TNeeds::Argument(const TExpr& arg, const TType* declared) {
  if (declared == nullptr || Subtype(arg.Type, declared)) return true;
  if (Membership(arg, *declared)) return true;
  if (context_.Report) {
    const std::string text = TreeToText(arg, false, false).value_or("");
    const std::string name = TypeName(*declared, nullptr);
    Ctx().Messages.Error({"Выражение "_cp + text + "\\n должно иметь тип \""_cp + name + "\"",
                          "The type of expression " + text + "\\n must be \"" + name + "\""});
  }
  return false;
}

bool TNeeds::Restrictions(const TExpr& e) {
  const TExprList& ch = e.Children();
  const TFunType* f = ch.front()->Type ? ch.front()->Type->Fun() : nullptr;
  if (f == nullptr || !f->Restrictions) return true;
  std::vector<const TExpr*> parameters;
  for (std::size_t i = 1; i < ch.size(); ++i) parameters.push_back(ch[i].get());
  // A function that binds variables (a limit) takes its last argument as the
  // function of them, which the restriction applies.
  TExprPtr function;
  if (e.Bound && !e.Bound->empty()) {
    if (parameters.empty()) return InternalError(2);
    TExprPtr body = DeepCopy(*ch.back());
    Abstract(*body, *e.Bound);
    function = TExpr::Templ(std::move(body));
    parameters.back() = function.get();
  }
  for (const std::string& text : *f->Restrictions)
    if (!Add(Instance(text, parameters, context_.Kernel))) return false;
  return true;
}

bool TNeeds::Membership(const TExpr& value, const TType& target) {
  const TType* type = value.Type;
  if (type == nullptr) return false;
  if (Subtype(type, &target)) return true;
  switch (target.Base()) {
    case TBase::Simple: {
      TIntr* set = Ctx().StFunc->SetIntrinsicOfType(target.Name);
      if (set == nullptr || type->Base() != TBase::Simple || !Subtype(&target, type)) return false;
      return Add(Typed(ApplyIntr(kIn, DeepCopy(value), TExpr::OfIntr(*set))));
    }
    case TBase::Fun: {
      const TFunType& to = *target.Fun();
      const TFunType* from = type->Fun();
      if (from == nullptr || to.Value == nullptr || from->Args != to.Args || from->Restrictions != to.Restrictions ||
          (to.Commutative && !from->Commutative))
        return false;
      TScope::TMark mark(scope_);
      TVarList xs;
      TExprList applied;
      applied.push_back(DeepCopy(value));
      std::vector<TVarName> taken = NamesIn(value);
      const int n = static_cast<int>(to.Args.size());
      for (int i = 0; i < n; ++i) {
        xs.push_back(std::make_shared<TVar>(TVar{FreeName({'x', n == 1 ? -1 : i + 1}, taken), to.Args[i]}));
        applied.push_back(Local(*xs.back()));
      }
      scope_.Bind(xs);
      const TExprPtr values = Typed(TExpr::Compound(std::move(applied)));
      return values != nullptr && Membership(*values, *to.Value);
    }
    case TBase::Set: {
      const TSetType& to = *target.Set();
      const TSetType* from = type->Set();
      if (from == nullptr || from->Element == nullptr || to.Element == nullptr) return false;
      if (from->MayBeEmpty && !to.MayBeEmpty && !IsStandardSet(value) &&
          !Add(Typed(ApplyIntr(kNot, ApplyIntr(kEq, DeepCopy(value), TExpr::OfIntr(*Ctx().StFunc->Intr(kEmptySet)))))))
        return false;
      // The empty set is finite and has no element of the wrong type.
      const bool empty = value.IsIntr(kEmptySet);
      if (to.Finite && !from->Finite && !empty && !Add(Typed(ApplyIntr(kFinite, DeepCopy(value))))) return false;
      if (empty || Subtype(from->Element, to.Element)) return true;
      TScope::TMark mark(scope_);
      std::vector<TVarName> taken = NamesIn(value);
      const TVarPtr x = std::make_shared<TVar>(TVar{FreeName({'x', -1}, taken), from->Element});
      scope_.Bind({x});
      scope_.Assume(Typed(ApplyIntr(kIn, Local(*x), DeepCopy(value))));
      return Membership(*Local(*x), *to.Element);
    }
    default:
      return false;
  }
}

bool TNeeds::TrueOrGiven(const TExpr& c) const {
  const TExprPtr standard = StandardiseForCondition(c);
  if (standard && standard->IsIntr(kTrue)) return true;
  for (const TCondPtr& given : context_.Kernel.GivenConds) {
    if (!given->Expr) continue;
    if (AlphaEqual(*given->Expr, c) || (standard && AlphaEqual(*given->Expr, *standard))) return true;
  }
  return false;
}

// What holds where it stands needs no proof: an existence settled by types, an
// assumption there, a given condition or what the standardisation makes true.
bool TNeeds::Holds(const TExpr& c) const {
  if (ExistsByType(c)) return true;
  for (const TExpr* assumed : scope_.Conditions)
    for (const TExpr* part : Conjuncts(*assumed))
      if (Equal(*part, c)) return true;
  return TrueOrGiven(c);
}

bool TNeeds::Add(TExprPtr instance) {
  if (!instance || instance->Type == nullptr || instance->Type->Name != "lT") return InternalError(1);
  if (Holds(*instance)) return true;
  TExprPtr closed = scope_.Close(*instance);
  if (!closed) return InternalError(1);
  if (TrueOrGiven(*closed)) return true;
  for (const TExprPtr& earlier : result_)
    if (AlphaEqual(*earlier, *closed)) return true;
  result_.push_back(std::move(closed));
  return true;
}

}  // namespace

TExprPtr InstantiateTemplate(std::string_view text, const std::vector<const TExpr*>& parameters, const TKernel& kernel,
                             const TAssumptions& assumptions) {
  const TExprPtr instance = Instance(text, parameters, kernel);
  if (!instance) return nullptr;
  return TScope(assumptions).Close(*instance);
}

bool AddNeedCond(const TExpr& e, TExprList& result, const TAssumptions& assumptions, const TNeedContext& context) {
  // The needs of (f / g)(x) are those of f(x) / g(x): g(x) ≠ 0, not g ≠ 0.
  const TExprPtr uncompounded = HeadUncompound(e);
  if (!uncompounded) return false;
  return TNeeds(result, assumptions, context).Visit(*uncompounded);
}

std::optional<TExprList> TypeMembershipConditions(const TExpr& value, const TType& target,
                                                  const TAssumptions& assumptions, const TKernel& kernel) {
  TExprList result;
  const TNeedContext context{kernel, nullptr, false};
  if (!TNeeds(result, assumptions, context).Membership(value, target)) return std::nullopt;
  return result;
}

}  // namespace lemmix
