#include "prover/definition_task.h"

#include <algorithm>
#include <functional>
#include <map>

#include "expr/typing.h"
#include "intrinsics/intr_numbers.h"
#include "intrinsics/st_func.h"
#include "prover/definition.h"
#include "prover/needed.h"
#include "prover/tests.h"
#include "shell/context.h"
#include "shell/cp1251.h"
#include "shell/text.h"
#include "types/type.h"
#include "types/type_relations.h"
#include "types/types_proccess.h"

namespace lemmix {

const TIntr* NotionOfField(const std::string& field) {
  const std::size_t bracket = field.find('(');
  if (bracket == std::string::npos || bracket == 0) {
    Ctx().Messages.Error({"Ошибка 1 в InitCorrectnessProve (Kernel)."_cp, "Error 1 in InitCorrectnessProve (Kernel)."});
    return nullptr;
  }
  const TStFunc& catalogue = *Ctx().StFunc;
  if (const std::optional<int> number = ParseInt(std::string_view(field).substr(1, bracket - 1));
      number && *number >= 0 && static_cast<std::size_t>(*number) < catalogue.IntrList.size() && catalogue.Intr(*number))
    return catalogue.Intr(*number);
  if (const TIntr* byWord = catalogue.FindByWord(field.substr(0, bracket), false)) return byWord;
  Ctx().Messages.Error({"Недопустимое определяемое понятие: "_cp + field, "Invalid defined notion: " + field});
  return nullptr;
}

namespace {

// The variable an argument of the defined term stands for: a bare variable,
// or a sequence or function applied to exactly the term's own bound
// variables (a_n in lim(n → ∞, a_n) is the sequence a as a whole).
const TVar* ArgumentVariable(const TExpr& term, const TExpr& argument) {
  if (argument.Class == TClass::LocVar) return argument.Var();
  if (argument.Class != TClass::Compound || !term.Bound || term.Bound->empty()) return nullptr;
  const TExprList& children = argument.Children();
  if (children.empty() || children[0]->Class != TClass::LocVar || children.size() != term.Bound->size() + 1) return nullptr;
  for (std::size_t i = 1; i < children.size(); ++i)
    if (children[i]->Class != TClass::LocVar || children[i]->Var() != (*term.Bound)[i - 1].get()) return nullptr;
  const TVar* applied = children[0]->Var();
  for (const TVarPtr& bound : *term.Bound)
    if (bound.get() == applied) return nullptr;
  return applied;
}

TExprPtr Typed(TExprPtr e) {
  if (!e || ExprType(*e, false) == nullptr) return nullptr;
  return e;
}

// A formulation read on its own: its tree and its single definitions, each
// analysed. Every reading has variables of its own.
struct TReading {
  TExprPtr Tree;
  std::vector<TSingleDefinition> Singles;
  std::vector<TDefinitionAnalysis> Analyses;
};

std::optional<TReading> Read(const std::string& text, const TIntr& notion) {
  TReading reading;
  TKernel empty;
  reading.Tree = ReadProverFormula(empty, text);
  if (!reading.Tree) return std::nullopt;
  reading.Singles = SplitDefinitions(*reading.Tree);
  for (const TSingleDefinition& single : reading.Singles) {
    auto analysis = AnalyseDefinition(single, notion);
    if (const TMessage* message = std::get_if<TMessage>(&analysis)) {
      Ctx().Messages.Error(*message);
      return std::nullopt;
    }
    reading.Analyses.push_back(std::get<TDefinitionAnalysis>(analysis));
  }
  return reading;
}

// The local variables of e that no binder inside e binds.
void FreeLocals(const TExpr& e, std::vector<const TVar*>& inside, std::vector<TVar*>& found) {
  const std::size_t depth = inside.size();
  if (e.Bound)
    for (const TVarPtr& v : *e.Bound) inside.push_back(v.get());
  if (e.Class == TClass::LocVar) {
    if (std::find(inside.begin(), inside.end(), e.Var()) == inside.end() &&
        std::find(found.begin(), found.end(), e.Var()) == found.end())
      found.push_back(e.Var());
  } else if (e.Class == TClass::Compound) {
    for (const TExprPtr& child : e.Children()) FreeLocals(*child, inside, found);
  }
  inside.resize(depth);
}

// Points the listed variables' nodes (local, or objects of the proof) to new
// ones, as nodes of the given class.
void RepointAs(TExpr& e, const std::map<const TVar*, TVar*>& to, TClass as) {
  if (e.IsVar()) {
    const auto at = to.find(e.Var());
    if (at != to.end()) {
      e.Class = as;
      e.Data = at->second;
      e.Type = at->second->Type;
    }
  }
  if (e.Class == TClass::Compound)
    for (TExprPtr& child : e.Children()) RepointAs(*child, to, as);
}

void Repoint(TExpr& e, const std::map<const TVar*, TVar*>& to) { RepointAs(e, to, TClass::LocVar); }

// e under ∀ over every variable it speaks of that is bound nowhere in it.
TExprPtr Closed(TExprPtr e) {
  std::vector<const TVar*> inside;
  std::vector<TVar*> free;
  FreeLocals(*e, inside, free);
  if (free.empty()) return Typed(std::move(e));
  TVarList fresh;
  std::map<const TVar*, TVar*> to;
  for (TVar* v : free) {
    fresh.push_back(std::make_shared<TVar>(*v));
    to[v] = fresh.back().get();
  }
  Repoint(*e, to);
  TExprList body;
  body.push_back(std::move(e));
  TExprPtr all = ApplyIntr(kForall, std::move(body));
  all->Bound = std::move(fresh);
  return Typed(std::move(all));
}

TExprPtr Implication(TExprList premises, TExprPtr claim) {
  if (premises.empty()) return claim;
  TExprPtr premise = premises.size() == 1 ? std::move(premises.front()) : ApplyIntr(kAnd, std::move(premises));
  return ApplyIntr(kImplies, std::move(premise), std::move(claim));
}

TExprList Copies(const std::vector<const TExpr*>& list) {
  TExprList copies;
  for (const TExpr* e : list) copies.push_back(DeepCopy(*e));
  return copies;
}

class TCorrectness {
 public:
  TCorrectness(TKernel& kernel, const TIntr& notion) : kernel_(kernel), notion_(notion) {
    if (ProofSetup().Defined) defined_ = *ProofSetup().Defined;
  }

  bool OneDefinition(const TSingleDefinition& single, const TDefinitionAnalysis& analysis);
  bool Compatibility(const TSingleDefinition& d1, const TDefinitionAnalysis& a1, const TSingleDefinition& d2,
                     const TDefinitionAnalysis& a2);
  // Whether the definition could give one value two ways: an argument that is
  // no bare variable, a repeated one, or a variable in the right part or a
  // premise that is no argument (the value variable excepted).
  static bool NeedsSelfCompatibility(const TSingleDefinition& single, const TDefinitionAnalysis& analysis);

 private:
  bool Goal(TExprPtr e) {
    TExprPtr closed = e ? Closed(std::move(e)) : nullptr;
    return closed && kernel_.AddProvingCond(*closed);
  }

  TKernel& kernel_;
  const TIntr& notion_;
  TDefinedNotions defined_;
};

bool TCorrectness::OneDefinition(const TSingleDefinition& single, const TDefinitionAnalysis& analysis) {
  if (analysis.Kind == TDefinitionAnalysis::Axiomatic) return true;
  // The definition's variables become objects of a work copy: its needed
  // conditions then speak of them as they stand, and each goal is closed
  // over them at the end.
  std::unique_ptr<TKernel> scratch = kernel_.Copy({});
  std::map<const TVar*, TVar*> opened;
  std::vector<const TVar*> objects;
  for (const TVar* v : single.Variables) {
    TVar& object = scratch->AddObject(std::make_shared<TVar>(TVar{v->Name, v->Type}), false);
    opened[v] = &object;
    objects.push_back(&object);
  }
  const auto open = [&](const TExpr& e) {
    TExprPtr copy = DeepCopy(e);
    RepointAs(*copy, opened, TClass::DataVar);
    return Typed(std::move(copy));
  };
  const auto goal = [&](TExprPtr e) {
    if (!e) return false;
    TVarList fresh;
    std::map<const TVar*, TVar*> to;
    for (const TVar* o : objects) {
      fresh.push_back(std::make_shared<TVar>(*o));
      to[o] = fresh.back().get();
    }
    Repoint(*e, to);
    TExprList body;
    body.push_back(std::move(e));
    TExprPtr all = ApplyIntr(kForall, std::move(body));
    all->Bound = std::move(fresh);
    return Goal(std::move(all));
  };
  TExprPtr term = open(*analysis.Term);
  TExprPtr right = analysis.Right ? open(*analysis.Right) : nullptr;
  if (!term || (analysis.Right && !right)) {
    Ctx().Messages.Error({"Ошибка 1 в OneDefCorrect (Kernel)"_cp, "Error 1 in OneDefCorrect (Kernel)"});
    return false;
  }
  // While its own term is looked at, the notion counts as defined.
  TDefinedNotions withNotion = defined_;
  const TExpr* notionNode = analysis.Term->Class == TClass::Intr ? analysis.Term : analysis.Term->Head();
  if (notionNode && notionNode->Type) withNotion.Add(notion_, notionNode->Type);
  const TNeedContext context{*scratch, &withNotion, true};
  TExprList termNeeds;
  if (!AddNeedCond(*term, termNeeds, {}, context)) return false;
  // The context C: the term's needed conditions and the premises.
  TAssumptions assumed;
  for (TExprPtr& n : termNeeds) assumed.Conditions.push_back(std::move(n));
  for (const TExpr* p : single.Premises)
    if (TExprPtr premise = open(*p)) assumed.Conditions.push_back(std::move(premise));
  const auto premises = [&] {
    TExprList list;
    for (const TExprPtr& c : assumed.Conditions) list.push_back(DeepCopy(*c));
    return list;
  };
  if (right) {
    TExprList needed;
    if (!AddNeedCond(*right, needed, assumed, context)) return false;
    for (TExprPtr& n : needed)
      if (!goal(std::move(n))) return false;
  }
  const TVar* value = analysis.Value ? opened.at(analysis.Value) : nullptr;
  if (analysis.Kind == TDefinitionAnalysis::Formula || analysis.Kind == TDefinitionAnalysis::Implicit) {
    const TType* valueType = analysis.Term->Type;
    TExprPtr v = analysis.Kind == TDefinitionAnalysis::Formula ? DeepCopy(*right) : [&] {
      TExprPtr y = TExpr::VarRef(TClass::DataVar, const_cast<TVar&>(*value));
      y->Type = value->Type;
      return y;
    }();
    if (!v->Type || !valueType || !IsSubtypeOf(v->Type, valueType, *Ctx().TypesProccess)) {
      const std::optional<TExprList> membership =
          valueType ? TypeMembershipConditions(*v, *valueType, assumed, *scratch) : std::nullopt;
      if (!membership) {
        Ctx().Messages.Error({"Неверный тип значения определяемой функции."_cp, "Wrong type of the value of the defined function."});
        return false;
      }
      for (const TExprPtr& m : *membership)
        if (!goal(DeepCopy(*m))) return false;
    }
  }
  if (analysis.Kind == TDefinitionAnalysis::Implicit) {
    // Under C exactly one value y satisfies the condition.
    TVarPtr y = std::make_shared<TVar>(*value);
    TExprPtr condition = DeepCopy(*right);
    Repoint(*condition, {{value, y.get()}});
    TExprList body;
    body.push_back(std::move(condition));
    TExprPtr unique = ApplyIntr(kExistsOne, std::move(body));
    unique->Bound = TVarList{y};
    if (!goal(Implication(premises(), std::move(unique)))) return false;
  }
  return true;
}

bool TCorrectness::NeedsSelfCompatibility(const TSingleDefinition& single, const TDefinitionAnalysis& analysis) {
  if (analysis.Kind == TDefinitionAnalysis::Axiomatic || analysis.Term->Class != TClass::Compound) return false;
  std::vector<const TVar*> arguments;
  for (std::size_t i = 1; i < analysis.Term->Children().size(); ++i) {
    const TVar* a = ArgumentVariable(*analysis.Term, *analysis.Term->Children()[i]);
    if (a == nullptr || std::find(arguments.begin(), arguments.end(), a) != arguments.end()) return true;
    arguments.push_back(a);
  }
  const auto speaksOfOthers = [&](const TExpr& e) {
    std::vector<const TVar*> inside;
    std::vector<TVar*> free;
    FreeLocals(e, inside, free);
    return std::any_of(free.begin(), free.end(), [&](const TVar* v) {
      return v != analysis.Value && std::find(arguments.begin(), arguments.end(), v) == arguments.end();
    });
  };
  if (analysis.Right && speaksOfOthers(*analysis.Right)) return true;
  return std::any_of(single.Premises.begin(), single.Premises.end(), [&](const TExpr* p) { return speaksOfOthers(*p); });
}

bool TCorrectness::Compatibility(const TSingleDefinition& d1, const TDefinitionAnalysis& a1, const TSingleDefinition& d2,
                                 const TDefinitionAnalysis& a2) {
  TExprList assumptions = Copies(d1.Premises);
  TExprList second = Copies(d2.Premises);
  for (TExprPtr& p : second) assumptions.push_back(std::move(p));
  TVarList unified;
  std::map<const TVar*, TVar*> to;
  const auto unify = [&](const TVar& v1, const TVar& v2) {
    TType* common = CommonSubtype(v1.Type, v2.Type, *Ctx().TypesProccess);
    if (common == nullptr) return false;
    unified.push_back(std::make_shared<TVar>(TVar{v1.Name, common}));
    to[&v1] = unified.back().get();
    to[&v2] = unified.back().get();
    return true;
  };
  const bool applied1 = a1.Term->Class == TClass::Compound;
  const bool applied2 = a2.Term->Class == TClass::Compound;
  if (applied1 || applied2) {
    if (!applied1 || !applied2 || a1.Term->Children().size() != a2.Term->Children().size()) return true;
    for (std::size_t i = 1; i < a1.Term->Children().size(); ++i) {
      const TExpr& x1 = *a1.Term->Children()[i];
      const TExpr& x2 = *a2.Term->Children()[i];
      const TVar* v1 = ArgumentVariable(*a1.Term, x1);
      const TVar* v2 = ArgumentVariable(*a2.Term, x2);
      // Both the same kind of argument: a variable, or a sequence or function
      // under the term's bound variables; the same argument then is the same variable.
      if (v1 != nullptr && v2 != nullptr && (x1.Class == TClass::LocVar) == (x2.Class == TClass::LocVar) &&
          !to.contains(v1) && !to.contains(v2)) {
        if (!unify(*v1, *v2)) return true;
      } else {
        assumptions.push_back(ApplyIntr(kEq, DeepCopy(x1), DeepCopy(x2)));
      }
    }
  }
  if (a1.Kind == TDefinitionAnalysis::Implicit && a2.Kind == TDefinitionAnalysis::Implicit &&
      !unify(*a1.Value, *a2.Value))
    return true;
  using K = TDefinitionAnalysis;
  TExprPtr claim;
  const auto pair = [&](int x, int y) {
    return (a1.Kind == x && a2.Kind == y) || (a1.Kind == y && a2.Kind == x);
  };
  if (pair(K::Axiomatic, K::Predicate)) {
    claim = DeepCopy(a1.Kind == K::Predicate ? *a1.Right : *a2.Right);
  } else if ((a1.Kind == K::Predicate && a2.Kind == K::Predicate) || (a1.Kind == K::Implicit && a2.Kind == K::Implicit)) {
    claim = ApplyIntr(kIff, DeepCopy(*a1.Right), DeepCopy(*a2.Right));
  } else if (a1.Kind == K::Formula && a2.Kind == K::Formula) {
    claim = ApplyIntr(kEq, DeepCopy(*a1.Right), DeepCopy(*a2.Right));
  } else if (pair(K::Implicit, K::Formula)) {
    const TDefinitionAnalysis& implicit = a1.Kind == K::Implicit ? a1 : a2;
    const TDefinitionAnalysis& formula = a1.Kind == K::Implicit ? a2 : a1;
    TExprPtr y = TExpr::VarRef(TClass::LocVar, const_cast<TVar&>(*implicit.Value));
    y->Type = implicit.Value->Type;
    claim = ApplyIntr(kIff, ApplyIntr(kEq, std::move(y), DeepCopy(*formula.Right)), DeepCopy(*implicit.Right));
  } else {
    return true;
  }
  TExprPtr whole = Implication(std::move(assumptions), std::move(claim));
  Repoint(*whole, to);
  if (!unified.empty()) {
    TExprList body;
    body.push_back(std::move(whole));
    whole = ApplyIntr(kForall, std::move(body));
    whole->Bound = unified;
  }
  return Goal(std::move(whole));
}

}  // namespace

TTask CorrectnessTask(const std::string& formulation, const std::string& notionField,
                      const std::vector<std::string>& earlier) {
  TTask task;
  task.Kernel = std::make_unique<TKernel>();
  task.Kernel->Root = 1;
  const TIntr* notion = NotionOfField(notionField);
  if (notion == nullptr) return task;
  std::optional<TReading> reading = Read(formulation, *notion);
  if (!reading) return task;
  TCorrectness correctness(*task.Kernel, *notion);
  for (std::size_t i = 0; i < reading->Singles.size(); ++i)
    if (!correctness.OneDefinition(reading->Singles[i], reading->Analyses[i])) return task;
  // Each definition with the earlier ones of the notion, with those before it
  // here, and with itself where it could give one value two ways. Each is
  // read anew, so that the two sides never share a variable.
  for (std::size_t i = 0; i < reading->Singles.size(); ++i) {
    const TSingleDefinition& d = reading->Singles[i];
    const TDefinitionAnalysis& a = reading->Analyses[i];
    for (const std::string& text : earlier) {
      std::optional<TReading> other = Read(text, *notion);
      if (!other) return task;
      for (std::size_t j = 0; j < other->Singles.size(); ++j)
        if (!correctness.Compatibility(d, a, other->Singles[j], other->Analyses[j])) return task;
    }
    std::optional<TReading> again = Read(formulation, *notion);
    if (!again) return task;
    for (std::size_t j = 0; j < i; ++j)
      if (!correctness.Compatibility(d, a, again->Singles[j], again->Analyses[j])) return task;
    if (TCorrectness::NeedsSelfCompatibility(d, a) &&
        !correctness.Compatibility(d, a, again->Singles[i], again->Analyses[i]))
      return task;
  }
  task.GoesOn = TestConditions(*task.Kernel);
  return task;
}

}  // namespace lemmix
