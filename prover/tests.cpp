#include "prover/tests.h"

#include <algorithm>
#include <tuple>

#include "expr/arithm.h"
#include "expr/info_sink.h"
#include "expr/logic.h"
#include "expr/typing.h"
#include "intrinsics/intr_numbers.h"
#include "intrinsics/st_func.h"
#include "notation/output.h"
#include "prover/needed.h"
#include "prover/patterns.h"
#include "shell/context.h"
#include "shell/cp1251.h"
#include "types/type.h"
#include "types/type_name.h"
#include "types/type_relations.h"
#include "types/types_proccess.h"

namespace lemmix {

namespace {

const TProofSetup noSetup;
const TProofSetup* currentSetup = &noSetup;

}  // namespace

const TProofSetup& ProofSetup() { return *currentSetup; }

TProofSetupScope::TProofSetupScope(const TProofSetup& setup) : previous_(currentSetup) { currentSetup = &setup; }

TProofSetupScope::~TProofSetupScope() { currentSetup = previous_; }

namespace {

// Every step of every test of one top-level call counts against this budget;
// when it is spent, the tests stop where they are ("not proved").
constexpr long kStepBudget = 20000;
long stepsLeft = kStepBudget;
int topLevelCalls = 0;

struct Budget {
  Budget() {
    if (topLevelCalls++ == 0) stepsLeft = kStepBudget;
  }
  ~Budget() { --topLevelCalls; }
  static bool Spend() { return --stepsLeft >= 0; }
};

TIntr& F(int n) { return *Ctx().StFunc->Intr(n); }
const TAutoSettings& Settings() { return Ctx().Settings; }
TTypesProccess& Types() { return *Ctx().TypesProccess; }

std::size_t ArgCount(const TExpr& e) { return e.Class != TClass::Compound || e.Children().empty() ? 0 : e.Children().size() - 1; }
const TExpr& Arg(const TExpr& e, std::size_t i) { return *e.Children()[i + 1]; }

// ---------------------------------------------------------------------------
// Commenting.

std::string Text(const TExpr& e) { return TreeToText(e, false, false).value_or("?"); }

void Say(const std::string& text, const TExpr* formula = nullptr) {
  if (Ctx().Commenting && Ctx().Info != nullptr) Ctx().Info->Add(text, formula);
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

std::string SectionPhrase(TSection section, const std::vector<std::string>& names) {
  std::string phrase = " и в раздел "_cp;
  switch (section) {
    case TSection::GivenObjects: phrase += Quoted("Даны объекты"_cp); break;
    case TSection::RequiredObjects: phrase += Quoted("Искомые объекты"_cp); break;
    default: phrase += Quoted("Даны условие"_cp); break;
  }
  if (section == TSection::GivenConds) return phrase + " добавлено условие "_cp + (names.empty() ? "" : names[0]);
  std::string joined;
  for (const std::string& n : names) joined += (joined.empty() ? "" : ", ") + n;
  return phrase + (names.size() > 1 ? " добавлены переменные "_cp : " добавлена переменная "_cp) + joined;
}

// ---------------------------------------------------------------------------
// Formulas.

TExprPtr Typed(TExprPtr e) {
  if (!e || ExprType(*e, false) == nullptr) return nullptr;
  return e;
}

TExprPtr Node(int head, TExprList args) { return Typed(ApplyIntr(head, std::move(args))); }

TExprPtr Node(int head, TExprPtr a, TExprPtr b) { return Typed(ApplyIntr(head, std::move(a), std::move(b))); }

TExprPtr Constant(bool value) { return Typed(TExpr::OfIntr(F(value ? kTrue : kFalse))); }

// The componentwise equalities of two tuples of one length; none otherwise.
std::optional<TExprList> Componentwise(const TExpr& left, const TExpr& right);

bool SameFormula(const TExpr& a, const TExpr& b) {
  TBindingLists lists;
  return Comp(a, b, &lists) == 0;
}

bool MentionsClass(const TExpr& e, TClass c) { return ContainsClass(e, c); }
bool MentionsRequired(const TExpr& e) { return MentionsClass(e, TClass::ProveVar); }

bool MentionsObject(const TExpr& e, const TVar& v) {
  if ((e.Class == TClass::DataVar || e.Class == TClass::ProveVar) && e.Var() == &v) return true;
  if (e.Class == TClass::Compound)
    for (const TExprPtr& child : e.Children())
      if (MentionsObject(*child, v)) return true;
  return false;
}

// A copy of e with every reference to v replaced by a copy of the value.
TExprPtr Replaced(const TExpr& e, const TVar& v, const TExpr& value) {
  if ((e.Class == TClass::DataVar || e.Class == TClass::ProveVar) && e.Var() == &v) return DeepCopy(value);
  TExprPtr copy = ShallowCopy(e);
  if (copy->Class == TClass::Compound) {
    TExprList& ch = copy->Children();
    for (std::size_t i = 0; i < ch.size(); ++i) ch[i] = Replaced(*e.Children()[i], v, value);
    copy->Type = nullptr;
    if (TExpr* head = copy->Head(); head && head->Class == TClass::Intr) head->Type = nullptr;
  }
  return copy;
}

// The body with its binder's variables replaced by references to objects.
TExprPtr Opened(const TExpr& body, const TVarList& bound, const std::vector<TVar*>& objects, TClass as) {
  TExprPtr e = DeepCopy(body);
  std::function<void(TExpr&)> walk = [&](TExpr& n) {
    if (n.Class == TClass::LocVar) {
      for (std::size_t i = 0; i < bound.size(); ++i)
        if (n.Var() == bound[i].get()) {
          n.Class = as;
          n.Data = objects[i];
          n.Type = objects[i]->Type;
        }
    }
    if (n.Class == TClass::Compound)
      for (TExprPtr& child : n.Children()) walk(*child);
  };
  walk(*e);
  return Typed(std::move(e));
}

bool SubtypeOf(const TType* a, const TType* b) { return a && b && IsSubtypeOf(a, b, Types()); }

TType* SetTypeWith(const TType& set, bool mayBeEmpty, bool finite) {
  TType* t = Types().NewType("", TBase::Set);
  t->Set()->Element = set.Set()->Element;
  t->Set()->MayBeEmpty = mayBeEmpty;
  t->Set()->Finite = finite;
  return Types().Intern(t);
}

TType* SetTypeOfElement(TType* element) {
  TType* t = Types().NewType("", TBase::Set);
  t->Set()->Element = element;
  t->Set()->MayBeEmpty = true;
  return Types().Intern(t);
}

// The simple type of a standard number set (\N, \Z ...), or null.
TType* NumberSetType(const TExpr& s) {
  const TIntr* f = s.Intrinsic();
  if (f == nullptr || f->Number < kUniverse || f->Number > kNaturalsWithZero) return nullptr;
  return SimpleTypeOfSetWord(f->Name, Types());
}

// x from left = right when it is linear in x with a coefficient that is a
// number or given as not 0.
bool BindsVariables(const TExpr& e) {
  if (e.Bound && !e.Bound->empty()) return true;
  if (e.Class == TClass::Compound)
    for (const TExprPtr& child : e.Children())
      if (BindsVariables(*child)) return true;
  return false;
}

// The terms of a real sum that an equation may be solved for besides the
// given objects: operands (or factors of operands) that are no arithmetic
// and bind nothing, each once.
void CollectUnknownTerms(const TExpr& e, TExprList& found) {
  const int head = e.HeadIntrinsic();
  if (head == kPlus || head == kTimes || head == kMinus) {
    for (std::size_t j = 0; j < ArgCount(e); ++j) CollectUnknownTerms(Arg(e, j), found);
    return;
  }
  if (e.Class != TClass::Compound || head < 0 || head == kPower || head == kDivide || BindsVariables(e) || !e.Type ||
      !IsSubtypeOfNamed(e.Type, "rT", *Ctx().TypesProccess))
    return;
  for (const TExprPtr& known : found)
    if (SameFormula(*known, e)) return;
  found.push_back(DeepCopy(e));
}

TExprPtr Solved(const TKernel& k, const TExpr& left, const TExpr& right, const TExpr& x) {
  TExprPtr t = Node(kPlus, DeepCopy(left), Typed(ApplyIntr(kMinus, DeepCopy(right))));
  if (!t) return nullptr;
  Standardize(*t);
  TExprPtr equation = Node(kEq, std::move(t), TExpr::Number(TNumber(std::int32_t{0})));
  const auto nonzero = [&](const TExpr& coefficient) {
    TExprPtr zero = Node(kEq, DeepCopy(coefficient), TExpr::Number(TNumber(std::int32_t{0})));
    TExprPtr fact = zero ? Typed(ApplyIntr(kNot, std::move(zero))) : nullptr;
    TCondPtr standard = fact ? k.MakeCond(*fact) : nullptr;
    return standard && k.FindGivenCond(*standard->Expr) >= 0;
  };
  return equation ? SolveLinear(*equation, x, nonzero) : nullptr;
}

std::optional<TExprList> Componentwise(const TExpr& left, const TExpr& right) {
  if (left.HeadIntrinsic() != kTuple || right.HeadIntrinsic() != kTuple || ArgCount(left) != ArgCount(right))
    return std::nullopt;
  TExprList parts;
  for (std::size_t j = 0; j < ArgCount(left); ++j) parts.push_back(Node(kEq, DeepCopy(Arg(left, j)), DeepCopy(Arg(right, j))));
  return parts;
}

bool IsGivenObject(const TKernel& k, const TExpr& e) { return e.Class == TClass::DataVar && k.SectionOf(*e.Var()) == 1; }

// ---------------------------------------------------------------------------
// The tester of one kernel at one depth.

enum class TStep { Unchanged, Changed, Stop };

class TTester {
 public:
  TTester(TKernel& kernel, int depth) : k_(kernel), a_(depth) {}

  bool Run();

 private:
  // Sections and conditions.
  TCondList& Section(TSection s) { return k_.Conds(s); }
  bool Required() const { return !k_.RequiredObjects.empty(); }

  // The conditions built from the expressions, or none when one fails.
  std::optional<TCondList> Build(TExprList exprs) {
    TCondList conds;
    for (TExprPtr& e : exprs) {
      if (!e) return std::nullopt;
      TCondPtr c = k_.MakeCond(*e);
      if (!c) return std::nullopt;
      conds.push_back(std::move(c));
    }
    return conds;
  }
  // Puts the conditions of `exprs` in place of condition i; when one cannot
  // be built the condition stays as it was (a goal is never lost).
  bool Replace(TSection s, std::size_t i, TExprList exprs, int stage = 0) {
    std::optional<TCondList> conds = Build(std::move(exprs));
    if (!conds) return false;
    TCondList& section = Section(s);
    // A replacement equal to its input changes nothing.
    if (conds->size() == 1 && SameFormula(*conds->front()->Expr, *section[i]->Expr)) return false;
    section.erase(section.begin() + static_cast<std::ptrdiff_t>(i));
    for (std::size_t j = 0; j < conds->size(); ++j) {
      if (stage != 0) (*conds)[j]->Stage = stage;
      section.insert(section.begin() + static_cast<std::ptrdiff_t>(i + j), std::move((*conds)[j]));
    }
    return true;
  }
  TExprList One(TExprPtr e) {
    TExprList list;
    list.push_back(std::move(e));
    return list;
  }
  void Remove(TSection s, std::size_t i) { Section(s).erase(Section(s).begin() + static_cast<std::ptrdiff_t>(i)); }
  void Close() { k_.Proved = true; }

  TStep GivenStage1(std::size_t i);
  TStep GivenStage2(std::size_t i);
  TStep ProvingStage1(std::size_t i);
  TStep ArithmeticStage(TSection s, std::size_t i);
  TStep Provability(std::size_t i);

  // Parts of the steps.
  TStep NarrowTypes(std::size_t i);
  TStep GivenByHead(std::size_t i);
  TStep ProvingByHead(std::size_t i);
  TStep GivenEquality(std::size_t i);
  TStep ProvingEquality(std::size_t i);
  TStep Membership(TSection s, std::size_t i);
  TStep RewriteWithIdentity(TSection s, std::size_t i, const TExpr& identity, const TVarList* bound);
  TStep OpenQuantifier(TSection s, std::size_t i, TClass as);
  // The type of a given object as a condition: a natural object is at least
  // 1, one of type n0T at least 0.
  void Develop(TVar& v) {
    const bool natural = IsSubtypeOfNamed(v.Type, "nT", Types());
    if (!natural && !(v.Type && v.Type->Name == "n0T")) return;
    TExprPtr ref = TExpr::VarRef(TClass::DataVar, v);
    ref->Type = v.Type;
    TExprPtr fact = Node(kGe, std::move(ref), TExpr::Number(TNumber(std::int32_t{natural ? 1 : 0})));
    TCondPtr cond = fact ? k_.MakeCond(*fact) : nullptr;
    if (cond && k_.FindGivenCond(*cond->Expr) < 0) k_.GivenConds.push_back(std::move(cond));
  }
  // Replaces every reference to the required object x by the value and takes
  // x out of section 2.
  bool SubstituteRequired(const TVar& x, const TExpr& value);

  TKernel& k_;
  int a_;
};

// ---------------------------------------------------------------------------

bool TTester::Run() {
  SuccessCheck(k_);
  if (k_.Proved) return false;
  // 2. Work copies develop their objects and look again at equalities.
  if (k_.SearchMode == 1) {
    for (std::size_t o = 0; o < k_.GivenObjects.size(); ++o) Develop(*k_.GivenObjects[o]);
    for (TCondPtr& c : k_.GivenConds)
      if (c->Expr && c->Expr->HeadIntrinsic() == kEq && c->Stage > 1) c->Stage = 1;
    for (TCondPtr& c : k_.ProvingConds)
      if (c->Expr && c->Expr->HeadIntrinsic() == kEq && c->Stage > 3) c->Stage = 1;
  } else if (k_.SearchMode == 2) {
    for (TCondList* s : {&k_.GivenConds, &k_.ProvingConds})
      for (TCondPtr& c : *s)
        if (c->Stage > 3) c->Stage = 3;
  }
  // 3. The "always" settings.
  for (TCondPtr& c : k_.GivenConds) {
    const int head = c->Expr ? c->Expr->HeadIntrinsic() : kNoHead;
    if ((head == kImplies && Settings().ImplicationSimpl == 2) || (head == kOr && Settings().DisjunctionSimpl == 2))
      c->Stage = 1;
  }
  if (Settings().ProveEachCond == 2)
    for (TCondPtr& c : k_.ProvingConds) c->Stage = 1;
  // 4. The stages.
  for (int s = 1; s <= 3;) {
    if (!Budget::Spend()) return !k_.Proved;
    TSection section = TSection::GivenConds;
    std::size_t i = 0;
    const auto first = [&](TCondList& list) {
      for (std::size_t j = 0; j < list.size(); ++j)
        if (list[j]->Stage == s) return static_cast<std::ptrdiff_t>(j);
      return std::ptrdiff_t{-1};
    };
    std::ptrdiff_t at = first(k_.GivenConds);
    if (at < 0) {
      at = first(k_.ProvingConds);
      section = TSection::ProvingConds;
    }
    if (at < 0) {
      ++s;
      continue;
    }
    i = static_cast<std::size_t>(at);
    TStep step = TStep::Unchanged;
    if (section == TSection::GivenConds) {
      step = s == 1 ? GivenStage1(i) : s == 2 ? GivenStage2(i) : ArithmeticStage(section, i);
    } else {
      step = s == 1 ? ProvingStage1(i) : s == 3 ? ArithmeticStage(section, i) : TStep::Unchanged;
      if (step == TStep::Unchanged && s == 3) step = Provability(i);
    }
    if (k_.Proved || step == TStep::Stop) return false;
    if (step == TStep::Changed) {
      SuccessCheck(k_);
      if (k_.Proved) return false;
      s = 1;
      continue;
    }
    // Unchanged: the condition goes on to the next stage, and the book's
    // methods may act on it.
    TCondList& list = Section(section);
    if (i < list.size()) ++list[i]->Stage;
    if (a_ < 3 && ProofSetup().Methods && i < list.size() && ProofSetup().Methods(k_, section, static_cast<int>(i), a_)) {
      SuccessCheck(k_);
      if (k_.Proved) return false;
      s = 1;
    }
  }
  // 5. Automatic completion.
  const bool manyPlainGoals = k_.ProvingConds.size() > 1 && !Required();
  // A proof by contradiction has no goal: completing it is finding the contradiction.
  const bool open = !k_.ProvingConds.empty() || k_.ByContradiction;
  if (Settings().OneStepFinish0 && a_ <= 2 && k_.SearchMode == 0 && !manyPlainGoals && open) {
    Say("Автоматическое завершение доказательства."_cp);
    if (AutomaticCompletion(k_, a_ + 1)) {
      k_.Proved = true;
      return false;
    }
  }
  return true;
}

// ---------------------------------------------------------------------------
// Given conditions.

TStep TTester::GivenStage1(std::size_t i) {
  TCondList& given = k_.GivenConds;
  const TExpr& c = *given[i]->Expr;
  if (c.IsIntr(kTrue)) {
    Say(Text(c) + " удалено."_cp, &c);
    Remove(TSection::GivenConds, i);
    return TStep::Changed;
  }
  if (c.IsIntr(kFalse)) {
    Say("Получено противоречие."_cp);
    Close();
    return TStep::Stop;
  }
  if (const TStep narrowed = NarrowTypes(i); narrowed != TStep::Unchanged) return narrowed;
  const TExpr& cond = *given[i]->Expr;
  for (std::size_t j = 0; j < k_.ProvingConds.size(); ++j) {
    if (!SameFormula(*k_.ProvingConds[j]->Expr, cond)) continue;
    Say("Доказано условие "_cp + Text(cond), &cond);
    Remove(TSection::ProvingConds, j);
    return TStep::Changed;
  }
  if (TExprPtr negation = Negation(cond)) {
    for (std::size_t j = 0; j < given.size(); ++j) {
      if (j == i || !SameFormula(*given[j]->Expr, *negation)) continue;
      Say("Данное условие "_cp + Text(cond) + " противоречит данному условию "_cp + Text(*given[j]->Expr), &cond);
      Close();
      return TStep::Stop;
    }
  }
  for (std::size_t j = 0; j < given.size(); ++j) {
    if (j == i || !SameFormula(*given[j]->Expr, cond)) continue;
    Say(Text(cond) + " удалено, т.к. оно совпадает с другим данным условием."_cp, &cond);
    Remove(TSection::GivenConds, i);
    return TStep::Changed;
  }
  return GivenByHead(i);
}

// Given conditions narrow the types of given objects: x ∈ A, X ⊂ A, X ≠ ∅ …
// Only the element type of A passes to X, never A's emptiness or finiteness.
TStep TTester::NarrowTypes(std::size_t i) {
  const TExpr& c = *k_.GivenConds[i]->Expr;
  const int head = c.HeadIntrinsic();
  if (ArgCount(c) != 2) return TStep::Unchanged;
  const TExpr& left = Arg(c, 0);
  const TExpr& right = Arg(c, 1);
  if (head == kIn) {
    if (IsGivenObject(k_, right) && right.Type && right.Type->Set() && right.Type->Set()->MayBeEmpty) {
      k_.ChangeObjectType(*right.Var(), SetTypeWith(*right.Type, false, right.Type->Set()->Finite));
      return TStep::Changed;
    }
    if (IsGivenObject(k_, left) && right.Type && right.Type->Set()) {
      TType* element = right.Type->Set()->Element;
      if (element && left.Type != element && SubtypeOf(element, left.Type)) {
        k_.ChangeObjectType(*left.Var(), element);
        return TStep::Changed;
      }
    }
  } else if ((head == kSubset || head == kSubsetOrEqual) && IsGivenObject(k_, left)) {
    if (!left.Type || !left.Type->Set() || !right.Type || !right.Type->Set()) {
      Ctx().Messages.Error({"Операция \"содержится\" применена не к множеству."_cp, "Operation \"belong\" is aplied not to a set."});
      return TStep::Unchanged;
    }
    TType* element = right.Type->Set()->Element;
    TType* own = left.Type->Set()->Element;
    if (element && own && element != own && SubtypeOf(element, own)) {
      TType* narrowed = Types().NewType("", TBase::Set);
      narrowed->Set()->Element = element;
      narrowed->Set()->MayBeEmpty = left.Type->Set()->MayBeEmpty;
      narrowed->Set()->Finite = left.Type->Set()->Finite;
      k_.ChangeObjectType(*left.Var(), Types().Intern(narrowed));
      return TStep::Changed;
    }
  } else if (head == kEq) {
    for (const auto& [object, other] : {std::pair{&left, &right}, std::pair{&right, &left}}) {
      if (!IsGivenObject(k_, *object) || !other->Type || object->Type == other->Type) continue;
      if (SubtypeOf(other->Type, object->Type) && !MentionsObject(*other, *object->Var())) {
        k_.ChangeObjectType(*object->Var(), other->Type);
        return TStep::Changed;
      }
    }
  }
  return TStep::Unchanged;
}

TStep TTester::OpenQuantifier(TSection s, std::size_t i, TClass as) {
  const TExpr& c = *Section(s)[i]->Expr;
  if (!c.Bound || c.Bound->empty() || ArgCount(c) != 1) return TStep::Unchanged;
  std::vector<TVar*> objects;
  std::vector<std::string> names;
  for (const TVarPtr& v : *c.Bound) {
    TVar& o = k_.AddObject(std::make_shared<TVar>(TVar{v->Name, v->Type}), as == TClass::ProveVar);
    objects.push_back(&o);
    names.push_back(NameText(o.Name));
  }
  TExprPtr body = Opened(Arg(c, 0), *c.Bound, objects, as);
  const std::string old = Text(c);
  if (!body || !Replace(s, i, One(DeepCopy(*body)))) {
    for (TVar* o : objects) k_.RemoveObject(*o, as == TClass::ProveVar);
    return TStep::Unchanged;
  }
  if (as == TClass::DataVar && k_.SearchMode != 0)
    for (TVar* o : objects) Develop(*o);
  const TSection objectSection = as == TClass::ProveVar ? TSection::RequiredObjects : TSection::GivenObjects;
  Say((s == TSection::GivenConds ? "Данное условие "_cp : "Доказываемое условие "_cp) + old + " заменено на "_cp +
          Text(*body) + SectionPhrase(objectSection, names),
      body.get());
  return TStep::Changed;
}

TStep TTester::GivenByHead(std::size_t i) {
  const TExpr& c = *k_.GivenConds[i]->Expr;
  switch (c.HeadIntrinsic()) {
    case kExists: return OpenQuantifier(TSection::GivenConds, i, TClass::DataVar);
    case kAnd: {
      TExprList parts;
      for (std::size_t j = 0; j < ArgCount(c); ++j) parts.push_back(DeepCopy(Arg(c, j)));
      return Replace(TSection::GivenConds, i, std::move(parts)) ? TStep::Changed : TStep::Unchanged;
    }
    case kNot: {
      const TExpr& inner = Arg(c, 0);
      if (inner.HeadIntrinsic() == kEq && ArgCount(inner) == 2 && IsGivenObject(k_, Arg(inner, 0)) &&
          Arg(inner, 1).IsIntr(kEmptySet)) {
        const TExpr& x = Arg(inner, 0);
        if (x.Type && x.Type->Set() && x.Type->Set()->MayBeEmpty) {
          k_.ChangeObjectType(*x.Var(), SetTypeWith(*x.Type, false, x.Type->Set()->Finite));
          return TStep::Changed;
        }
        return TStep::Unchanged;
      }
      const int h = inner.HeadIntrinsic();
      if (h == kForall || h == kExists || h == kAnd || h == kOr || h == kNot) {
        TExprPtr pushed = Negation(inner);
        return pushed && Replace(TSection::GivenConds, i, One(std::move(pushed))) ? TStep::Changed : TStep::Unchanged;
      }
      if (h == kIn && ArgCount(inner) == 2) {
        // Under a negation only what is settled: never a type from it.
        if (TType* t = NumberSetType(Arg(inner, 1))) {
          if (SubtypeOf(Arg(inner, 0).Type, t) && t->Name != "qT") {
            Say("Получено противоречие."_cp);
            Close();
            return TStep::Stop;
          }
          if (Arg(inner, 0).Class == TClass::Number && !SubtypeOf(Arg(inner, 0).Type, t)) {
            Remove(TSection::GivenConds, i);
            return TStep::Changed;
          }
        }
        return TStep::Unchanged;
      }
      if (h == kExistsOne) {
        TExprPtr unfolded = ExistsUniqueUnfolding(c, k_.GivenObjects, k_.RequiredObjects);
        return unfolded && Replace(TSection::GivenConds, i, One(std::move(unfolded))) ? TStep::Changed : TStep::Unchanged;
      }
      return TStep::Unchanged;
    }
    case kForall: {
      // Nested quantifiers are stripped together.
      const TExpr* body = &Arg(c, 0);
      if (body->HeadIntrinsic() == kIdentity) return RewriteWithIdentity(TSection::GivenConds, i, *body, &*c.Bound);
      if (body->HeadIntrinsic() == kOr && ArgCount(*body) >= 2 && k_.SearchMode == 0) {
        TExprList first;
        for (std::size_t j = 0; j + 1 < ArgCount(*body); ++j) first.push_back(DeepCopy(Arg(*body, j)));
        TExprPtr left = first.size() == 1 ? std::move(first.front()) : Node(kOr, std::move(first));
        TExprList parts;
        parts.push_back(Node(kNot, One(std::move(left))));
        parts.push_back(DeepCopy(Arg(*body, ArgCount(*body) - 1)));
        TExprPtr implication = Node(kImplies, std::move(parts));
        if (!implication) return TStep::Unchanged;
        TExprPtr quantified = ShallowCopy(c);
        quantified->Children()[1] = std::move(implication);
        quantified->Type = nullptr;
        return Replace(TSection::GivenConds, i, One(Typed(std::move(quantified)))) ? TStep::Changed : TStep::Unchanged;
      }
      return TStep::Unchanged;
    }
    case kEq: return GivenEquality(i);
    case kIn:
    case kSubset:
    case kSubsetOrEqual: return Membership(TSection::GivenConds, i);
    case kIdentity: return RewriteWithIdentity(TSection::GivenConds, i, c, nullptr);
    case kFinite: {
      const TExpr& x = Arg(c, 0);
      if (IsGivenObject(k_, x) && x.Type && x.Type->Set() && !x.Type->Set()->Finite) {
        k_.ChangeObjectType(*x.Var(), SetTypeWith(*x.Type, x.Type->Set()->MayBeEmpty, true));
        return TStep::Changed;
      }
      return TStep::Unchanged;
    }
    case kExistsOne: {
      TExprPtr unfolded = ExistsUniqueUnfolding(c, k_.GivenObjects, k_.RequiredObjects);
      return unfolded && Replace(TSection::GivenConds, i, One(std::move(unfolded))) ? TStep::Changed : TStep::Unchanged;
    }
    default: return TStep::Unchanged;
  }
}

// A given identity S ≡ T (under the binders of a ∀ when `bound` is given)
// rewrites S into T in every other condition that contains S. One whose T
// contains S would rewrite without end: it is not applied.
TStep TTester::RewriteWithIdentity(TSection s, std::size_t i, const TExpr& identity, const TVarList* bound) {
  if (s != TSection::GivenConds || ArgCount(identity) != 2) return TStep::Unchanged;
  const TExpr& from = Arg(identity, 0);
  const TExpr& to = Arg(identity, 1);
  if (ContainsExpr(to, from)) return TStep::Unchanged;
  std::vector<const TVar*> vars;
  if (bound)
    for (const TVarPtr& v : *bound) vars.push_back(v.get());
  const TExprPtr pattern = AsPattern(from, vars);
  const TExprPtr replacement = AsPattern(to, vars);
  // Rewrites the first subexpression of e that matches; false when none does.
  std::function<bool(TExpr&)> rewrite = [&](TExpr& e) -> bool {
    TPatternBindings bindings{TBinding{}};
    if (Comp(e, *pattern, nullptr, &bindings) == 0 && !bindings.empty() && Complete(bindings.front(), vars.size())) {
      if (TExprPtr value = Instantiated(*replacement, bindings.front())) {
        ReplaceBy(e, std::move(value));
        return true;
      }
    }
    if (e.Class == TClass::Compound)
      for (std::size_t j = 1; j < e.Children().size(); ++j)
        if (rewrite(*e.Children()[j])) return true;
    return false;
  };
  bool changed = false;
  for (TSection target : {TSection::GivenConds, TSection::ProvingConds}) {
    TCondList& list = Section(target);
    for (std::size_t j = 0; j < list.size(); ++j) {
      if (target == TSection::GivenConds && j == i) continue;
      TExprPtr copy = DeepCopy(*list[j]->Expr);
      bool any = false;
      // A bounded number of rewritings per condition.
      for (int n = 0; n < 16 && rewrite(*copy); ++n) any = true;
      if (!any || !Retype(*copy, false)) continue;
      const std::string old = Text(*list[j]->Expr);
      if (TCondPtr rewritten = k_.MakeCond(*copy)) {
        if (SameFormula(*rewritten->Expr, *list[j]->Expr)) continue;
        Say((target == TSection::GivenConds ? "Данное условие "_cp : "Доказываемое условие "_cp) + old + " заменено на "_cp +
                Text(*rewritten->Expr),
            rewritten->Expr.get());
        list[j] = std::move(rewritten);
        changed = true;
      }
    }
  }
  return changed ? TStep::Changed : TStep::Unchanged;
}

TStep TTester::GivenEquality(std::size_t i) {
  const TExpr& c = *k_.GivenConds[i]->Expr;
  if (ArgCount(c) != 2) return TStep::Unchanged;
  const TExpr& left = Arg(c, 0);
  const TExpr& right = Arg(c, 1);
  if (std::optional<TExprList> parts = Componentwise(left, right))
    return Replace(TSection::GivenConds, i, std::move(*parts)) ? TStep::Changed : TStep::Unchanged;
  if (k_.SearchMode == 0) return TStep::Unchanged;
  // A given object equal to a term without it: the term takes its place
  // everywhere else (the equality stays given).
  for (const auto& [object, term] : {std::pair{&left, &right}, std::pair{&right, &left}}) {
    if (!IsGivenObject(k_, *object) || MentionsObject(*term, *object->Var())) continue;
    TExprPtr identity = Node(kIdentity, DeepCopy(*object), DeepCopy(*term));
    if (!identity) continue;
    return RewriteWithIdentity(TSection::GivenConds, i, *identity, nullptr);
  }
  // Solved for a given object, or else for a term that stands in it like an
  // unknown (a_n, f(x), |x|): that term is rewritten into its value.
  if (Settings().SymbolTransEnable && left.Type && right.Type && IsSubtypeOfNamed(left.Type, "rT", Types()) &&
      IsSubtypeOfNamed(right.Type, "rT", Types())) {
    TExprList unknowns;
    for (const TVarPtr& v : k_.GivenObjects) {
      if (!MentionsObject(c, *v)) continue;
      TExprPtr x = TExpr::VarRef(TClass::DataVar, *v);
      x->Type = v->Type;
      unknowns.push_back(std::move(x));
    }
    for (const TExpr* side : {&left, &right}) CollectUnknownTerms(*side, unknowns);
    for (TExprPtr& x : unknowns) {
      TExprPtr value = Solved(k_, left, right, *x);
      if (!value || ContainsExpr(*value, *x) || !SubtypeOf(value->Type, x->Type)) continue;
      TExprPtr identity = Node(kIdentity, std::move(x), std::move(value));
      if (identity) return RewriteWithIdentity(TSection::GivenConds, i, *identity, nullptr);
    }
  }
  // Otherwise the larger side is rewritten into the smaller one everywhere
  // else. Every such rewriting makes a condition smaller, so they end.
  const int leftSize = Size(left);
  const int rightSize = Size(right);
  if (leftSize == rightSize) return TStep::Unchanged;
  const TExpr& larger = leftSize > rightSize ? left : right;
  const TExpr& smaller = leftSize > rightSize ? right : left;
  if (TExprPtr identity = Node(kIdentity, DeepCopy(larger), DeepCopy(smaller)))
    return RewriteWithIdentity(TSection::GivenConds, i, *identity, nullptr);
  return TStep::Unchanged;
}

TStep TTester::Membership(TSection s, std::size_t i) {
  const TExpr& c = *Section(s)[i]->Expr;
  if (ArgCount(c) != 2) return TStep::Unchanged;
  const TExpr& e = Arg(c, 0);
  const bool inclusion = c.HeadIntrinsic() == kSubset || c.HeadIntrinsic() == kSubsetOrEqual;
  // Nothing belongs to the empty set: such a given contradicts.
  if (!inclusion && s == TSection::GivenConds && Arg(c, 1).IsIntr(kEmptySet))
    return Replace(s, i, One(Constant(false))) ? TStep::Changed : TStep::Unchanged;
  TType* t = NumberSetType(Arg(c, 1));
  if (t == nullptr) return TStep::Unchanged;
  // For an inclusion, the element type of the set on the left.
  const TType* own = inclusion ? (e.Type && e.Type->Set() ? e.Type->Set()->Element : nullptr) : e.Type;
  if (own == nullptr) {
    Ctx().Messages.Error({inclusion ? "Ошибка разработчика : 1 in DevelopSubsetNumberClass (Cond)."_cp
                                    : "Ошибка разработчика : 1 in DevelopInNumberClass (Cond)."_cp,
                          inclusion ? "Error 1 in DevelopSubsetNumberClass (Cond)." : "Error 1 in DevelopInNumberClass (Cond)."});
    return TStep::Unchanged;
  }
  const std::string old = Text(c);
  if (SubtypeOf(own, t) && (t->Name != "qT" || s == TSection::ProvingConds)) {
    Say(old + " удалено, т.к. оно выполнено."_cp, &c);
    return Replace(s, i, One(Constant(true))) ? TStep::Changed : TStep::Unchanged;
  }
  if (!inclusion && e.Class == TClass::Number) {
    return Replace(s, i, One(Constant(false))) ? TStep::Changed : TStep::Unchanged;
  }
  if (s == TSection::ProvingConds) {
    // A goal never changes a type. An integer that is positive (not negative)
    // is a natural number (or zero).
    if (!inclusion && IsSubtypeOfNamed(e.Type, "zT", Types()) && (t->Name == "nT" || t->Name == "n0T") && !MentionsRequired(e)) {
      TExprPtr sign = Node(t->Name == "nT" ? kGt : kGe, DeepCopy(e), TExpr::Number(TNumber(std::int32_t{0})));
      if (sign && ProvabilityTest(k_, *sign, a_)) return Replace(s, i, One(Constant(true))) ? TStep::Changed : TStep::Unchanged;
    }
    return TStep::Unchanged;
  }
  if (IsGivenObject(k_, e)) {
    TType* narrowed = inclusion ? SetTypeOfElement(t) : t;
    if (SubtypeOf(narrowed, e.Type)) {
      k_.ChangeObjectType(*e.Var(), narrowed);
      // The reference now has the type; the condition is true.
      return Replace(s, i, One(Constant(true))) ? TStep::Changed : TStep::Unchanged;
    }
    if (a_ == 1) {
      Ctx().Messages.Error({"Тип "_cp + Quoted(TypeName(*e.Type, nullptr)) + " переменной "_cp + NameText(e.Var()->Name) +
                                " не соотвествует типу "_cp + Quoted(TypeName(*t, nullptr)) + ".",
                            "Type " + Quoted(TypeName(*e.Type, nullptr)) + " of variable " + NameText(e.Var()->Name) +
                                " does not match to " + Quoted(TypeName(*t, nullptr)) + "."});
    }
  }
  return TStep::Unchanged;
}

TStep TTester::GivenStage2(std::size_t i) {
  const TExpr& c = *k_.GivenConds[i]->Expr;
  const int head = c.HeadIntrinsic();
  if (head == kImplies && ArgCount(c) == 2) {
    const TExpr& premise = Arg(c, 0);
    const TExpr& conclusion = Arg(c, 1);
    if (k_.ProvingConds.size() == 1 && SameFormula(*k_.ProvingConds[0]->Expr, premise)) {
      Say("Данное условие "_cp + Text(c) + " удалено, т.к. требуется доказать посылку этой импликации."_cp, &c);
      Remove(TSection::GivenConds, i);
      return TStep::Changed;
    }
    if (premise.HeadIntrinsic() == kAnd) {
      Say("Проверка посылок импликации "_cp + Text(c) + ":", &c);
      TExprList remaining;
      for (std::size_t j = 0; j < ArgCount(premise); ++j)
        if (!ProvabilityTest(k_, Arg(premise, j), a_)) remaining.push_back(DeepCopy(Arg(premise, j)));
      if (remaining.size() == ArgCount(premise)) return TStep::Unchanged;
      if (remaining.empty()) return Replace(TSection::GivenConds, i, One(DeepCopy(conclusion))) ? TStep::Changed : TStep::Unchanged;
      TExprPtr rest = remaining.size() == 1 ? std::move(remaining.front()) : Node(kAnd, std::move(remaining));
      TExprList parts;
      parts.push_back(std::move(rest));
      parts.push_back(DeepCopy(conclusion));
      return Replace(TSection::GivenConds, i, One(Node(kImplies, std::move(parts))), 4) ? TStep::Changed : TStep::Unchanged;
    }
    if (ProvabilityTest(k_, premise, a_)) {
      Say("Данное условие "_cp + Text(c) + " заменено на "_cp + Text(conclusion), &conclusion);
      return Replace(TSection::GivenConds, i, One(DeepCopy(conclusion))) ? TStep::Changed : TStep::Unchanged;
    }
    return TStep::Unchanged;
  }
  if (head == kIff && ArgCount(c) == 2) {
    // An equivalence is used as both its implications: a side that is
    // provable gives the other (a definition applied to a given notion).
    // The sides are tested without the equivalence itself, which would
    // otherwise prove either side from the other.
    std::unique_ptr<TKernel> without = k_.Copy({});
    without->GivenConds.erase(without->GivenConds.begin() + static_cast<std::ptrdiff_t>(i));
    for (std::size_t side = 0; side < 2; ++side) {
      const TExpr& premise = Arg(c, side);
      const TExpr& conclusion = Arg(c, 1 - side);
      if (MentionsRequired(premise) || !ProvabilityTest(*without, premise, a_)) continue;
      Say("Данное условие "_cp + Text(c) + " заменено на "_cp + Text(conclusion), &conclusion);
      return Replace(TSection::GivenConds, i, One(DeepCopy(conclusion))) ? TStep::Changed : TStep::Unchanged;
    }
    return TStep::Unchanged;
  }
  if (head == kOr && ArgCount(c) >= 2) {
    if (k_.SearchMode == 2 && k_.Postponed) {
      k_.Postponed->push_back(k_.GivenConds[i]->Copy());
      Remove(TSection::GivenConds, i);
      return TStep::Changed;
    }
    if (Settings().DisjunctionSimpl == 0 || a_ >= 3 || k_.SearchMode == 2) return TStep::Unchanged;
    Say("Рассмотрение случая "_cp + Text(Arg(c, 0)) + ":", &Arg(c, 0));
    // The case of the first disjunct alone: if it closes, the others remain.
    std::unique_ptr<TKernel> copy = k_.Copy({.Goal = true});
    copy->GivenConds.erase(copy->GivenConds.begin() + static_cast<std::ptrdiff_t>(i));
    bool built = copy->AddGivenCond(Arg(c, 0), 0);
    for (std::size_t j = 1; j < ArgCount(c) && built; ++j) {
      TExprPtr negation = Negation(Arg(c, j));
      built = negation && copy->AddGivenCond(*negation, 0);
    }
    if (!built || !AutomaticCompletion(*copy, a_ + 1)) return TStep::Unchanged;
    TExprList rest;
    for (std::size_t j = 1; j < ArgCount(c); ++j) rest.push_back(DeepCopy(Arg(c, j)));
    TExprPtr remaining = rest.size() == 1 ? std::move(rest.front()) : Node(kOr, std::move(rest));
    return Replace(TSection::GivenConds, i, One(std::move(remaining))) ? TStep::Changed : TStep::Unchanged;
  }
  return TStep::Unchanged;
}

TStep TTester::ArithmeticStage(TSection s, std::size_t i) {
  if (k_.SearchMode != 2 || !Settings().SymbolTransEnable) return TStep::Unchanged;
  TExprPtr copy = DeepCopy(*Section(s)[i]->Expr);
  if (!SimplifyCondition(*copy) || SameFormula(*copy, *Section(s)[i]->Expr)) return TStep::Unchanged;
  return Replace(s, i, One(std::move(copy))) ? TStep::Changed : TStep::Unchanged;
}

// ---------------------------------------------------------------------------
// Proving conditions.

TStep TTester::ProvingStage1(std::size_t i) {
  const TExpr& c = *k_.ProvingConds[i]->Expr;
  if (c.IsIntr(kTrue)) {
    Say(Text(c) + " удалено."_cp, &c);
    Remove(TSection::ProvingConds, i);
    return TStep::Changed;
  }
  if (c.IsIntr(kFalse)) {
    if (a_ == 0) Ctx().Messages.Error({"Доказываемое условие не выполняется."_cp, "The proving condition is not valid."});
    return TStep::Unchanged;
  }
  for (const TCondPtr& g : k_.GivenConds) {
    if (!SameFormula(*g->Expr, c)) continue;
    Say("Условие "_cp + Text(c) + " доказано."_cp, &c);
    Remove(TSection::ProvingConds, i);
    return TStep::Changed;
  }
  for (std::size_t j = 0; j < k_.ProvingConds.size(); ++j) {
    if (j == i || !SameFormula(*k_.ProvingConds[j]->Expr, c)) continue;
    Say(Text(c) + " удалено, т.к. оно совпадает с другим доказываемым условием."_cp, &c);
    Remove(TSection::ProvingConds, i);
    return TStep::Changed;
  }
  bool removed = false;
  for (std::size_t j = 0; j < k_.GivenConds.size();) {
    const TExpr& g = *k_.GivenConds[j]->Expr;
    if (g.HeadIntrinsic() == kImplies && ArgCount(g) == 2 && SameFormula(Arg(g, 0), c)) {
      Say("Данное условие "_cp + Text(g) + " удалено, т.к. требуется доказать посылку этой импликации."_cp, &g);
      Remove(TSection::GivenConds, j);
      removed = true;
    } else {
      ++j;
    }
  }
  const TStep byHead = ProvingByHead(i);
  return byHead == TStep::Unchanged && removed ? TStep::Changed : byHead;
}

TStep TTester::ProvingByHead(std::size_t i) {
  const TExpr& c = *k_.ProvingConds[i]->Expr;
  const bool alone = k_.ProvingConds.size() == 1;
  switch (c.HeadIntrinsic()) {
    case kForall: {
      if (Arg(c, 0).HeadIntrinsic() == kIdentity) {
        // A proving identity is proved as an equality.
        TExprPtr quantified = DeepCopy(c);
        quantified->Children()[1]->Children()[0] = TExpr::OfIntr(F(kEq));
        Retype(*quantified, false);
        return Replace(TSection::ProvingConds, i, One(std::move(quantified))) ? TStep::Changed : TStep::Unchanged;
      }
      if (alone && !Required()) return OpenQuantifier(TSection::ProvingConds, i, TClass::DataVar);
      return TStep::Unchanged;
    }
    case kExists: {
      // An existence that holds by the type of its set: ∃x (x ∈ S) for a set
      // that cannot be empty, and nothing more in the body.
      if (Settings().ChapterSwitch[0] && c.Bound && c.Bound->size() == 1) {
        const TExpr& body = Arg(c, 0);
        if (body.HeadIntrinsic() == kIn && ArgCount(body) == 2 && Arg(body, 0).Class == TClass::LocVar &&
            Arg(body, 0).Var() == c.Bound->front().get() && !MentionsClass(Arg(body, 1), TClass::LocVar)) {
          const TType* set = Arg(body, 1).Type;
          if (set && set->Set() && !set->Set()->MayBeEmpty) {
            Say(Text(c) + " удалено, т.к. оно выполнено."_cp, &c);
            Remove(TSection::ProvingConds, i);
            return TStep::Changed;
          }
        }
      }
      if (alone) return OpenQuantifier(TSection::ProvingConds, i, TClass::ProveVar);
      return TStep::Unchanged;
    }
    case kImplies: {
      if (!alone || ArgCount(c) != 2 || MentionsRequired(Arg(c, 0))) return TStep::Unchanged;
      TExprPtr premise = DeepCopy(Arg(c, 0));
      const std::string old = Text(c);
      TCondPtr given = k_.MakeCond(*premise);
      if (!given) return TStep::Unchanged;
      const std::string premiseText = Text(*premise);
      const std::string conclusion = Text(Arg(c, 1));
      if (!Replace(TSection::ProvingConds, i, One(DeepCopy(Arg(c, 1))))) return TStep::Unchanged;
      k_.GivenConds.push_back(std::move(given));
      Say("Доказываемое условие "_cp + old + " заменено на "_cp + conclusion + SectionPhrase(TSection::GivenConds, {premiseText}));
      return TStep::Changed;
    }
    case kIff: {
      // An equivalence holds when its sides agree; otherwise it is proved as
      // its two implications.
      if (ArgCount(c) != 2) return TStep::Unchanged;
      if (SameFormula(Arg(c, 0), Arg(c, 1))) {
        Say(Text(c) + " удалено, т.к. оно выполнено."_cp, &c);
        Remove(TSection::ProvingConds, i);
        return TStep::Changed;
      }
      TExprList parts;
      parts.push_back(Node(kImplies, DeepCopy(Arg(c, 0)), DeepCopy(Arg(c, 1))));
      parts.push_back(Node(kImplies, DeepCopy(Arg(c, 1)), DeepCopy(Arg(c, 0))));
      if (!parts[0] || !parts[1]) return TStep::Unchanged;
      return Replace(TSection::ProvingConds, i, std::move(parts)) ? TStep::Changed : TStep::Unchanged;
    }
    case kEq: return ProvingEquality(i);
    case kIn:
    case kSubset:
    case kSubsetOrEqual: return Membership(TSection::ProvingConds, i);
    case kNot: {
      const TExpr& inner = Arg(c, 0);
      if (inner.HeadIntrinsic() == kEq && ArgCount(inner) == 2 && Arg(inner, 1).IsIntr(kEmptySet)) {
        const TType* x = Arg(inner, 0).Type;
        if (x && x->Set() && !x->Set()->MayBeEmpty) {
          Say("Непустота множества "_cp + Text(Arg(inner, 0)) + " проверена."_cp, &inner);
          Remove(TSection::ProvingConds, i);
          return TStep::Changed;
        }
        return TStep::Unchanged;
      }
      const int h = inner.HeadIntrinsic();
      if (h == kForall || h == kExists || h == kAnd || h == kOr || h == kNot) {
        TExprPtr pushed = Negation(inner);
        return pushed && Replace(TSection::ProvingConds, i, One(std::move(pushed))) ? TStep::Changed : TStep::Unchanged;
      }
      return TStep::Unchanged;
    }
    case kAnd: {
      TExprList parts;
      for (std::size_t j = 0; j < ArgCount(c); ++j) parts.push_back(DeepCopy(Arg(c, j)));
      return Replace(TSection::ProvingConds, i, std::move(parts)) ? TStep::Changed : TStep::Unchanged;
    }
    case kOr: {
      for (std::size_t j = 0; j < ArgCount(c); ++j) {
        // A disjunct with a required object is never proved in isolation.
        if (MentionsRequired(Arg(c, j)) || !ProvabilityTest(k_, Arg(c, j), a_)) continue;
        Say("Доказано условие "_cp + Text(c), &c);
        Remove(TSection::ProvingConds, i);
        return TStep::Changed;
      }
      return TStep::Unchanged;
    }
    case kFinite: {
      const TType* x = Arg(c, 0).Type;
      if (Settings().ChapterSwitch[0] && x && x->Set() && x->Set()->Finite) {
        Say(Text(c) + " удалено, т.к. оно выполнено."_cp, &c);
        Remove(TSection::ProvingConds, i);
        return TStep::Changed;
      }
      return TStep::Unchanged;
    }
    case kExistsOne: {
      TExprPtr unfolded = ExistsUniqueUnfolding(c, k_.GivenObjects, k_.RequiredObjects);
      return unfolded && Replace(TSection::ProvingConds, i, One(std::move(unfolded))) ? TStep::Changed : TStep::Unchanged;
    }
    default: return TStep::Unchanged;
  }
}

bool TTester::SubstituteRequired(const TVar& x, const TExpr& value) {
  for (TCondList* list : {&k_.GivenConds, &k_.ProvingConds}) {
    for (TCondPtr& c : *list) {
      if (!MentionsObject(*c->Expr, x)) continue;
      TExprPtr replaced = Typed(Replaced(*c->Expr, x, value));
      TCondPtr rebuilt = replaced ? k_.MakeCond(*replaced) : nullptr;
      if (!rebuilt) return false;
      c = std::move(rebuilt);
    }
  }
  k_.RemoveObject(x, true);
  return true;
}

TStep TTester::ProvingEquality(std::size_t i) {
  const TExpr& c = *k_.ProvingConds[i]->Expr;
  if (ArgCount(c) != 2) return TStep::Unchanged;
  const TExpr& left = Arg(c, 0);
  const TExpr& right = Arg(c, 1);
  // The definition of a rational number: p / q = r with p ∈ ℤ, q ∈ ℕ required
  // (in standard form p*q^-1 + c = 0, r = -c). r mentions no required object.
  std::vector<std::tuple<const TExpr*, const TExpr*, TExprPtr>> quotients;
  for (const auto& [quotient, r] : {std::pair{&left, &right}, std::pair{&right, &left}})
    if (quotient->HeadIntrinsic() == kDivide && ArgCount(*quotient) == 2)
      quotients.emplace_back(&Arg(*quotient, 0), &Arg(*quotient, 1), DeepCopy(*r));
  if (left.HeadIntrinsic() == kPlus && ArgCount(left) == 2 && right.Class == TClass::Number && EqualsInt(*right.NumberValue(), 0)) {
    const TExpr& product = Arg(left, 0);
    if (product.HeadIntrinsic() == kTimes && ArgCount(product) == 2 && Arg(product, 1).HeadIntrinsic() == kPower &&
        ArgCount(Arg(product, 1)) == 2 && Arg(Arg(product, 1), 1).Class == TClass::Number &&
        EqualsInt(*Arg(Arg(product, 1), 1).NumberValue(), -1)) {
      TExprPtr r = Node(kMinus, One(DeepCopy(Arg(left, 1))));
      if (r) Standardize(*r);
      quotients.emplace_back(&Arg(product, 0), &Arg(Arg(product, 1), 0), std::move(r));
    }
  }
  // p + c*q = 0, what p / q = -c becomes where q is not 0.
  if (left.HeadIntrinsic() == kPlus && ArgCount(left) == 2 && right.Class == TClass::Number && EqualsInt(*right.NumberValue(), 0)) {
    for (const auto& [pTerm, qTerm] : {std::pair{&Arg(left, 0), &Arg(left, 1)}, std::pair{&Arg(left, 1), &Arg(left, 0)}}) {
      if (pTerm->Class != TClass::ProveVar || qTerm->HeadIntrinsic() != kTimes || ArgCount(*qTerm) != 2 ||
          Arg(*qTerm, 0).Class != TClass::Number)
        continue;
      TNumber c = *Arg(*qTerm, 0).NumberValue();
      if (!Negate(c)) continue;
      quotients.emplace_back(pTerm, &Arg(*qTerm, 1), TExpr::Number(c));
    }
  }
  for (const auto& [pp, qq, r] : quotients) {
    const TExpr& p = *pp;
    const TExpr& q = *qq;
    const bool shapes = r && p.Class == TClass::ProveVar && q.Class == TClass::ProveVar && p.Var() != q.Var() && p.Type &&
                        q.Type && p.Type->Name == "zT" && q.Type->Name == "nT" && r->Type &&
                        IsSubtypeOfNamed(r->Type, "qT", Types()) && !MentionsRequired(*r);
    if (!shapes) continue;
    const TVar& pv = *p.Var();
    const TVar& qv = *q.Var();
    const std::string rText = Text(*r);
    // Such p and q exist for the rational r: they become given objects, and
    // p / q = r what is given of them.
    TExprPtr fact = DeepCopy(c);
    Remove(TSection::ProvingConds, i);
    k_.MakeGiven(pv);
    k_.MakeGiven(qv);
    std::function<void(TExpr&)> given = [&](TExpr& n) {
      if (n.Class == TClass::ProveVar && (n.Var() == &pv || n.Var() == &qv)) n.Class = TClass::DataVar;
      if (n.Class == TClass::Compound)
        for (TExprPtr& child : n.Children()) given(*child);
    };
    given(*fact);
    k_.AddGivenCond(*fact);
    Say("Применено определение рационального числа для "_cp + rText);
    return TStep::Changed;
  }
  if (std::optional<TExprList> parts = Componentwise(left, right))
    return Replace(TSection::ProvingConds, i, std::move(*parts)) ? TStep::Changed : TStep::Unchanged;
  // x = E with x required: E becomes x's value when it fits x's type, does
  // not mention x, and is defined (its needed conditions provable). In work
  // copies the equation may first be solved for x.
  std::vector<std::pair<const TVar*, TExprPtr>> values;
  for (const auto& [x, e] : {std::pair{&left, &right}, std::pair{&right, &left}})
    if (x->Class == TClass::ProveVar && k_.SectionOf(*x->Var()) == 2) values.emplace_back(x->Var(), DeepCopy(*e));
  if (k_.SearchMode != 0 && Settings().SymbolTransEnable && left.Type && right.Type &&
      IsSubtypeOfNamed(left.Type, "rT", Types()) && IsSubtypeOfNamed(right.Type, "rT", Types())) {
    for (const TVarPtr& v : k_.RequiredObjects) {
      if (!MentionsObject(c, *v)) continue;
      TExprPtr x = TExpr::VarRef(TClass::ProveVar, *v);
      x->Type = v->Type;
      if (TExprPtr value = Solved(k_, left, right, *x)) values.emplace_back(v.get(), std::move(value));
    }
  }
  for (const auto& [var, e] : values) {
    const TVar& xv = *var;
    if (MentionsObject(*e, xv) || !SubtypeOf(e->Type, xv.Type) || a_ > 2) continue;
    TExprList needed;
    if (!NeededConditionsOf(*e, needed, k_, false)) continue;
    bool defined = true;
    for (const TExprPtr& n : needed) defined = defined && !MentionsRequired(*n) && ProvabilityTest(k_, *n, a_);
    if (!defined) continue;
    const std::string name = NameText(xv.Name);
    const TExprPtr value = DeepCopy(*e);
    TCondPtr saved = k_.ProvingConds[i]->Copy();
    Remove(TSection::ProvingConds, i);
    if (!SubstituteRequired(xv, *value)) {
      k_.ProvingConds.insert(k_.ProvingConds.begin() + static_cast<std::ptrdiff_t>(i), std::move(saved));
      return TStep::Unchanged;
    }
    Say("Вместо переменной "_cp + name + " подставлено выражение "_cp + Text(*value), value.get());
    return TStep::Changed;
  }
  return TStep::Unchanged;
}

TStep TTester::Provability(std::size_t i) {
  const TExpr& c = *k_.ProvingConds[i]->Expr;
  if (Settings().ProveEachCond == 0 || k_.ProvingConds.size() < 2 || MentionsRequired(c) || k_.SearchMode != 0 || a_ >= 3)
    return TStep::Unchanged;
  if (!ProvabilityTest(k_, c, a_)) return TStep::Unchanged;
  Say(Text(c) + " удалено, т.к. оно доказуемо."_cp, &c);
  Remove(TSection::ProvingConds, i);
  return TStep::Changed;
}

// ---------------------------------------------------------------------------
// Automatic completion.

// The values of the required objects in a binding (parameter i for object
// i), or none when a value is missing or does not fit its object.
std::optional<std::vector<const TExpr*>> Values(const TKernel& k, const TBinding& binding) {
  std::vector<const TExpr*> values;
  for (std::size_t j = 0; j < k.RequiredObjects.size(); ++j) {
    if (j >= binding.size() || !binding[j]) return std::nullopt;
    const TExpr& v = *binding[j];
    if (!SubtypeOf(v.Type, k.RequiredObjects[j]->Type) || MentionsRequired(v)) return std::nullopt;
    values.push_back(&v);
  }
  return values;
}

// Whether the binding closes every proving condition of the copy: each, with
// the values put in, is an equality of equal sides, a given condition, or
// provable; and the values are defined.
bool TryBinding(const TKernel& k, const TBinding& binding, int depth) {
  const std::optional<std::vector<const TExpr*>> values = Values(k, binding);
  if (!values) return false;
  for (const TExpr* v : *values) {
    TExprList needed;
    if (!NeededConditionsOf(*v, needed, k, false)) return false;
    for (const TExprPtr& n : needed)
      if (!ProvabilityTest(k, *n, depth)) return false;
  }
  for (const TCondPtr& c : k.ProvingConds) {
    TExprPtr e = DeepCopy(*c->Expr);
    for (std::size_t j = 0; j < values->size(); ++j) e = Replaced(*e, *k.RequiredObjects[j], *(*values)[j]);
    e = Typed(std::move(e));
    if (!e) return false;
    TCondPtr standard = k.MakeCond(*e);
    if (!standard) return false;
    const TExpr& s = *standard->Expr;
    if (s.IsIntr(kTrue)) continue;
    if (s.HeadIntrinsic() == kEq && ArgCount(s) == 2 && SameFormula(Arg(s, 0), Arg(s, 1))) continue;
    if (k.FindGivenCond(s) >= 0) continue;
    if (!ProvabilityTest(k, s, depth)) return false;
  }
  if (Ctx().Commenting)
    for (std::size_t j = 0; j < values->size(); ++j)
      Say("Определена искомая переменная: "_cp + NameText(k.RequiredObjects[j]->Name) + " = " + Text(*(*values)[j]),
          (*values)[j]);
  return true;
}

std::vector<const TVar*> RequiredList(const TKernel& k) {
  std::vector<const TVar*> vars;
  for (const TVarPtr& v : k.RequiredObjects) vars.push_back(v.get());
  return vars;
}

bool ValuesForRequired(const TKernel& k, int depth) {
  const std::vector<const TVar*> vars = RequiredList(k);
  TPatternBindings tried;
  const auto attempt = [&](const TExpr& target, const TExpr& patternSource) {
    const TExprPtr pattern = AsPattern(patternSource, vars);
    TPatternBindings bindings{TBinding{}};
    if (Comp(target, *pattern, nullptr, &bindings) != 0) return false;
    for (const TBinding& b : bindings) {
      if (!Budget::Spend()) return false;
      tried.push_back(b);
      if (TryBinding(k, b, depth)) return true;
    }
    return false;
  };
  // The equalities to match: the proving ones, and those inside proving
  // conjunctions and disjunctions (every binding is checked against all goals).
  std::vector<const TExpr*> equalities;
  std::function<void(const TExpr&)> collect = [&](const TExpr& e) {
    if (e.HeadIntrinsic() == kEq && ArgCount(e) == 2) equalities.push_back(&e);
    if (e.HeadIntrinsic() == kAnd || e.HeadIntrinsic() == kOr)
      for (std::size_t j = 0; j < ArgCount(e); ++j) collect(Arg(e, j));
  };
  for (const TCondPtr& c : k.ProvingConds) collect(*c->Expr);
  for (const TExpr* e : equalities) {
    const bool leftRequired = MentionsRequired(Arg(*e, 0));
    const bool rightRequired = MentionsRequired(Arg(*e, 1));
    if (leftRequired != rightRequired &&
        attempt(leftRequired ? Arg(*e, 1) : Arg(*e, 0), leftRequired ? Arg(*e, 0) : Arg(*e, 1)))
      return true;
    // A real equation linear in one required object gives its value.
    if (!Settings().SymbolTransEnable || k.RequiredObjects.size() != 1) continue;
    const TVarPtr& v = k.RequiredObjects.front();
    if (!Arg(*e, 0).Type || !Arg(*e, 1).Type || !IsSubtypeOfNamed(Arg(*e, 0).Type, "rT", Types()) ||
        !IsSubtypeOfNamed(Arg(*e, 1).Type, "rT", Types()))
      continue;
    TExprPtr x = TExpr::VarRef(TClass::ProveVar, *v);
    x->Type = v->Type;
    TExprPtr value = Solved(k, Arg(*e, 0), Arg(*e, 1), *x);
    if (!value || MentionsRequired(*value) || !Budget::Spend()) continue;
    TBinding binding{std::shared_ptr<const TExpr>(std::move(value))};
    if (TryBinding(k, binding, depth)) return true;
  }
  for (const TCondPtr& c : k.ProvingConds)
    for (const TCondPtr& g : k.GivenConds)
      if (MentionsRequired(*c->Expr) && attempt(*g->Expr, *c->Expr)) return true;
  return false;
}

// Proves E by a quantified given condition: its body matches E (or the
// conclusion of an implication, a side of an equivalence, a disjunct does),
// and what remains for the binding passes the provability test.
bool ByQuantifiedGiven(const TKernel& k, const TExpr& e, int depth) {
  for (const TCondPtr& g : k.GivenConds) {
    const TExpr* body = g->Expr.get();
    std::vector<const TVar*> vars;
    while (body->HeadIntrinsic() == kForall && body->Bound && ArgCount(*body) == 1) {
      for (const TVarPtr& v : *body->Bound) vars.push_back(v.get());
      body = &Arg(*body, 0);
    }
    if (vars.empty()) continue;
    // Candidates: the part that must match E, and the side condition.
    std::vector<std::pair<const TExpr*, TExprPtr>> candidates;
    candidates.emplace_back(body, nullptr);
    const int head = body->HeadIntrinsic();
    if (head == kImplies && ArgCount(*body) == 2) candidates.emplace_back(&Arg(*body, 1), DeepCopy(Arg(*body, 0)));
    if (head == kIff && ArgCount(*body) == 2) {
      candidates.emplace_back(&Arg(*body, 1), DeepCopy(Arg(*body, 0)));
      candidates.emplace_back(&Arg(*body, 0), DeepCopy(Arg(*body, 1)));
    }
    if (head == kOr) {
      for (std::size_t j = 0; j < ArgCount(*body); ++j) {
        TExprList others;
        for (std::size_t m = 0; m < ArgCount(*body); ++m)
          if (m != j) others.push_back(DeepCopy(Arg(*body, m)));
        TExprPtr rest = others.size() == 1 ? std::move(others.front()) : Node(kOr, std::move(others));
        candidates.emplace_back(&Arg(*body, j), rest ? Negation(*rest) : nullptr);
      }
    }
    for (auto& [part, side] : candidates) {
      if (!part || (part != body && !side)) continue;
      const TExprPtr pattern = AsPattern(*part, vars);
      TPatternBindings bindings{TBinding{}};
      if (Comp(e, *pattern, nullptr, &bindings) != 0) continue;
      for (const TBinding& b : bindings) {
        if (!Budget::Spend()) return false;
        if (!Complete(b, vars.size())) continue;
        if (side) {
          const TExprPtr condition = Instantiated(*AsPattern(*side, vars), b);
          if (!condition || MentionsRequired(*condition) || !ProvabilityTest(k, *condition, depth)) continue;
        }
        if (Ctx().Commenting)
          for (std::size_t j = 0; j < vars.size(); ++j)
            Say("В данном условии "_cp + Text(*g->Expr) + " вместо кванторной переменной "_cp + NameText(vars[j]->Name) +
                    " подставлено выражение "_cp + Text(*b[j]),
                b[j].get());
        return true;
      }
    }
  }
  return false;
}

}  // namespace

bool NeededConditionsOf(const TExpr& e, TExprList& result, const TKernel& kernel, bool report) {
  return AddNeedCond(e, result, {}, TNeedContext{kernel, ProofSetup().Defined, report});
}

void SuccessCheck(TKernel& kernel) {
  if (kernel.ProvingConds.empty() && !kernel.ByContradiction) kernel.Proved = true;
  if (kernel.ProvingConds.size() == 1 && Settings().AutoStandard) kernel.ProvingConds[0]->Stage = 1;
}

bool TestConditions(TKernel& kernel, int depth) {
  const Budget budget;
  return TTester(kernel, depth).Run();
}

bool ProvabilityTest(const TKernel& kernel, const TExpr& c, int depth) {
  if (MentionsRequired(c)) return false;
  if (c.IsIntr(kTrue)) return true;
  for (const TCondPtr& g : kernel.GivenConds)
    if (SameFormula(*g->Expr, c)) return true;
  if (c.HeadIntrinsic() == kEq && ArgCount(c) == 2 && SameFormula(Arg(c, 0), Arg(c, 1))) return true;
  if (depth + 1 > 2) return false;
  const Budget budget;
  if (!Budget::Spend()) return false;
  Say("Доказательство условия "_cp + Text(c) + ":", &c);
  std::unique_ptr<TKernel> copy = kernel.Copy({});
  copy->ByContradiction = false;
  copy->Proved = false;
  if (!copy->AddProvingCond(c)) return false;
  return AutomaticCompletion(*copy, depth + 1);
}

bool AutomaticCompletion(const TKernel& kernel, int depth) {
  if (depth > 2) return false;
  const Budget budget;
  if (!Budget::Spend()) return false;
  std::unique_ptr<TKernel> copy = kernel.Copy({.Goal = true});
  if (copy->SearchMode == 0) copy->SearchMode = 1;
  TestConditions(*copy, depth);
  if (copy->Proved) return true;
  if (!copy->ProvingConds.empty() && !copy->RequiredObjects.empty() && Settings().OneStepFinish2) {
    if (ValuesForRequired(*copy, depth)) return true;
  } else if (copy->RequiredObjects.empty() && !copy->ByContradiction && Settings().OneStepFinish1 &&
             !copy->ProvingConds.empty()) {
    bool all = true;
    for (const TCondPtr& c : copy->ProvingConds) all = all && ByQuantifiedGiven(*copy, *c->Expr, depth);
    if (all) return true;
  }
  return ProofSetup().Terminal && ProofSetup().Terminal(*copy, depth);
}

std::pair<std::unique_ptr<TKernel>, bool> OpenSubproof(const TKernel& parent, bool keepGoal, TExprList expressions) {
  std::unique_ptr<TKernel> sub = parent.Copy({.Goal = keepGoal});
  sub->Level = parent.Level + 1;
  sub->Root = 1;
  sub->Proved = false;
  if (!keepGoal) sub->ByContradiction = false;
  bool built = true;
  for (const TExprPtr& e : expressions) {
    if (!e) {
      built = false;
      continue;
    }
    built = (keepGoal ? sub->AddGivenCond(*e) : sub->AddProvingCond(*e)) && built;
  }
  expressions.clear();
  const bool goesOn = TestConditions(*sub);
  return {std::move(sub), built && goesOn};
}

}  // namespace lemmix
