#include "prover/define.h"

#include <algorithm>
#include <functional>

#include "expr/logic.h"
#include "expr/typing.h"
#include "intrinsics/intr_numbers.h"
#include "intrinsics/st_func.h"
#include "notation/output.h"
#include "notation/parser.h"
#include "prover/needed.h"
#include "prover/tests.h"
#include "shell/context.h"
#include "shell/cp1251.h"
#include "shell/text.h"
#include "types/type.h"
#include "types/type_name.h"
#include "types/type_relations.h"
#include "types/types_proccess.h"

namespace lemmix {

namespace {

TTypesProccess& Types() { return *Ctx().TypesProccess; }
void Error(std::string rus, std::string eng) { Ctx().Messages.Error({std::move(rus), std::move(eng)}); }

TExprPtr Typed(TExprPtr e) {
  if (!e || ExprType(*e, false) == nullptr) return nullptr;
  return e;
}

bool Subtype(const TType* a, const TType* b) { return a && b && IsSubtypeOf(a, b, Types()); }

std::size_t ArgCount(const TExpr& e) { return e.Class != TClass::Compound || e.Children().empty() ? 0 : e.Children().size() - 1; }
const TExpr& Arg(const TExpr& e, std::size_t i) { return *e.Children()[i + 1]; }

TVar* Named(const TVarList& objects, const TVarName& name) {
  for (const TVarPtr& v : objects)
    if (v->Name == name) return v.get();
  return nullptr;
}

// What the left part of a definition names.
struct TLeft {
  TVarName Name;
  TVar* Required = nullptr;  // the required object it defines
  TVarList Arguments;        // a function's arguments, bound in its defining condition
  TExprList Domains;         // x ∈ A for the arguments written so
};

std::optional<TLeft> AnalyseLeft(const TKernel& k, const TExpr& left) {
  TLeft result;
  const TExpr* name = &left;
  if (left.Class == TClass::Compound) {
    if (ArgCount(left) == 0) {
      Error("Ошибка в левой части выражения."_cp, "Error in left part of the expression.");
      return std::nullopt;
    }
    name = left.Head();
    if (name->Class != TClass::NodefVar || Named(k.GivenObjects, name->Var()->Name)) {
      Error("Неверное определение функции."_cp, "Incorrect definition of function.");
      return std::nullopt;
    }
    for (std::size_t i = 0; i < ArgCount(left); ++i) {
      const TExpr& a = Arg(left, i);
      const TExpr* variable = &a;
      TExprPtr domain;
      if (a.Class == TClass::Compound) {
        if (a.HeadIntrinsic() != kIn || ArgCount(a) != 2) {
          Error("Неверный аргумент функции, стоящей в левой части вводимого выражения."_cp,
                "Incorrect argument in left part of the expression.");
          return std::nullopt;
        }
        variable = &Arg(a, 0);
        domain = DeepCopy(Arg(a, 1));
      }
      if (variable->Class != TClass::NodefVar) {
        Error("Ошибка в аргументе функции, стоящей в левой части вводимого выражения."_cp,
              "Wrong argument in left part of the expression.");
        return std::nullopt;
      }
      TType* type = Types().FindType(DefaultTypeOfLetter(variable->Var()->Name.Letter), true);
      if (domain) {
        if (!VarsInput(*domain, k.GivenObjects, k.RequiredObjects, false) || ExprType(*domain, true) == nullptr) return std::nullopt;
        if (!domain->Type->Set()) {
          Error("Правая часть должна быть множеством."_cp, "The type of the right hand must be set.");
          return std::nullopt;
        }
        type = domain->Type->Set()->Element;
      }
      result.Arguments.push_back(std::make_shared<TVar>(TVar{variable->Var()->Name, type}));
      if (domain) {
        TExprPtr x = TExpr::VarRef(TClass::LocVar, *result.Arguments.back());
        x->Type = type;
        result.Domains.push_back(Typed(ApplyIntr(kIn, std::move(x), std::move(domain))));
      }
    }
  } else if (left.Class != TClass::NodefVar) {
    Error("В левой части выражения должна стоять вводимая переменная."_cp,
          "In the left part of the expression defining variable is expected.");
    return std::nullopt;
  }
  result.Name = name->Var()->Name;
  result.Required = Named(k.RequiredObjects, result.Name);
  if (!result.Required && Named(k.GivenObjects, result.Name)) {
    Error("Переменная с этим именем уже существует."_cp, "The name is already used.");
    return std::nullopt;
  }
  for (const TVarPtr& a : result.Arguments)
    if (a->Name == result.Name) {
      Error("Имя аргумента функции не должно совпадать с именем этой функции."_cp,
            "Name of function's argument must be different from the function's name.");
      return std::nullopt;
    }
  return result;
}

// A formula of the definition resolved against the given objects, the
// arguments and the extra variables (new sequences): a required object or
// an unknown name is refused with its message.
TExprPtr Resolve(const TKernel& k, const TExpr& e, const TLeft& left, const TVarList& extra = {}) {
  TExprPtr copy = DeepCopy(e);
  TVarList scope = k.GivenObjects;
  scope.insert(scope.end(), left.Arguments.begin(), left.Arguments.end());
  scope.insert(scope.end(), extra.begin(), extra.end());
  if (!VarsInput(*copy, scope, k.RequiredObjects, true)) return nullptr;
  bool ok = true;
  std::function<void(TExpr&)> walk = [&](TExpr& n) {
    if (!ok) return;
    if (n.Class == TClass::NodefVar) {
      Error("Переменная "_cp + NameText(n.Var()->Name) + " не определена."_cp, "Variable " + NameText(n.Var()->Name) + " is not defined.");
      ok = false;
      return;
    }
    if (n.Class == TClass::ProveVar) {
      Error("В правой части присутствует переменная "_cp + NameText(n.Var()->Name) + " , существование которой требуется доказать."_cp,
            "Required variable " + NameText(n.Var()->Name) + " is present in the right part.");
      ok = false;
      return;
    }
    if (n.Class == TClass::DataVar) {
      const auto same = [&](const TVarPtr& a) { return a.get() == n.Var(); };
      if (std::any_of(left.Arguments.begin(), left.Arguments.end(), same)) {
        n.Class = TClass::LocVar;
      } else if (const auto sequence = std::find_if(extra.begin(), extra.end(), same); sequence != extra.end()) {
        // A new sequence stays a variable of its own until it joins the proof field.
        n.Class = TClass::NodefVar;
        n.Data = *sequence;
      }
    }
    if (n.Class == TClass::Compound)
      for (TExprPtr& child : n.Children()) walk(*child);
  };
  walk(*copy);
  if (!ok || ExprType(*copy, true) == nullptr) return nullptr;
  return copy;
}

// The defined object as it stands in its defining condition: the required
// object, or the new variable (owned by its nodes until it joins section 1).
TExprPtr Definiendum(const TLeft& left, const TVarPtr& fresh) {
  if (left.Required) {
    TExprPtr e = TExpr::VarRef(TClass::ProveVar, *left.Required);
    e->Type = left.Required->Type;
    return e;
  }
  TExprPtr e = TExpr::NodefVar(fresh);
  e->Type = fresh->Type;
  return e;
}

// The definiendum as a term: the variable, or the function applied to its arguments.
TExprPtr Term(const TLeft& left, const TVarPtr& fresh) {
  TExprPtr head = Definiendum(left, fresh);
  if (left.Arguments.empty()) return head;
  TExprList children;
  children.push_back(std::move(head));
  for (const TVarPtr& a : left.Arguments) {
    TExprPtr x = TExpr::VarRef(TClass::LocVar, *a);
    x->Type = a->Type;
    children.push_back(std::move(x));
  }
  return Typed(TExpr::Compound(std::move(children)));
}

TExprPtr Conjunction(TExprList parts) {
  if (parts.empty()) return nullptr;
  if (parts.size() == 1) return std::move(parts.front());
  return Typed(ApplyIntr(kAnd, std::move(parts)));
}

// ∀ arguments (domains ⇒ body), or the body alone for a variable.
TExprPtr OverArguments(const TLeft& left, TExprPtr body) {
  if (!body) return nullptr;
  if (left.Arguments.empty()) return body;
  TExprList domains;
  for (const TExprPtr& d : left.Domains) domains.push_back(DeepCopy(*d));
  if (TExprPtr premise = Conjunction(std::move(domains))) body = Typed(ApplyIntr(kImplies, std::move(premise), std::move(body)));
  if (!body) return nullptr;
  TExprPtr all = ApplyIntr(kForall, std::move(body));
  all->Bound = left.Arguments;
  return Typed(std::move(all));
}

TAssumptions DomainAssumptions(const TLeft& left, TExprList guard = {}) {
  TAssumptions a;
  a.Variables = left.Arguments;
  for (const TExprPtr& d : left.Domains) a.Conditions.push_back(DeepCopy(*d));
  for (TExprPtr& g : guard) a.Conditions.push_back(std::move(g));
  return a;
}

// The type of the defined object from the value's type (a function's: from
// its arguments' types to it).
TType* DefinedType(const TLeft& left, TType* value) {
  if (left.Arguments.empty() || value == nullptr) return value;
  std::vector<TType*> args;
  for (const TVarPtr& a : left.Arguments) args.push_back(a->Type);
  return FunctionTypeOf(args, value, Types());
}

// A required object takes a value of its type, or one whose membership can
// be proved (those conditions join the obligations).
bool FitsRequired(const TKernel& k, const TLeft& left, const TExpr& value, TType* type, TExprList& obligations) {
  if (!left.Required || Subtype(type, left.Required->Type)) return true;
  const std::optional<TExprList> membership =
      left.Arguments.empty() ? TypeMembershipConditions(value, *left.Required->Type, {}, k) : std::nullopt;
  if (!membership) {
    Error("Несоответствие типа определяемого объекта и типа правой части."_cp,
          "The type of the right part does not match to the type of definiendum.");
    return false;
  }
  for (const TExprPtr& m : *membership) obligations.push_back(DeepCopy(*m));
  return true;
}

void Record(TKernel& k, int kind, TExprPtr definition, TExprPtr reference) {
  k.ClearPending();
  k.RecordPending(std::move(definition));
  k.RecordPending(std::move(reference));
  k.PendingKind = kind;
}

TExprPtr Reference(const TLeft& left, const TVarPtr& fresh) { return Definiendum(left, fresh); }

// The nodes of the new variable, in the defining condition, become references to it.
void Adopt(TExpr& e, const TVar& v, TClass as) {
  if (e.IsVar() && e.Var() == &v) {
    TVar* target = e.Var();
    e.Class = as;
    e.Data = target;
  }
  if (e.Class == TClass::Compound)
    for (TExprPtr& child : e.Children()) Adopt(*child, v, as);
}

}  // namespace

TObligations PrepareDefine(TKernel& k, std::string_view text) {
  const TExprPtr tree = TextToTree(text);
  if (!tree) return std::nullopt;
  const int head = tree->HeadIntrinsic();
  if ((head != kEq && head != kIn) || ArgCount(*tree) != 2) {
    Error("Объект следует вводить через равенство или принадлежность."_cp, "Object must be introduced using equality or belonging.");
    return std::nullopt;
  }
  std::optional<TLeft> left = AnalyseLeft(k, Arg(*tree, 0));
  if (!left) return std::nullopt;
  if (head == kIn && !left->Arguments.empty()) {
    Error("Объект следует вводить через равенство или принадлежность."_cp, "Object must be introduced using equality or belonging.");
    return std::nullopt;
  }
  TExprPtr right = Resolve(k, Arg(*tree, 1), *left);
  if (!right) return std::nullopt;
  TType* valueType = right->Type;
  if (head == kIn) {
    if (!valueType->Set()) {
      Error("Правая часть должна быть множеством."_cp, "The type of the right hand must be set.");
      return std::nullopt;
    }
    valueType = valueType->Set()->Element;
  }
  TType* type = DefinedType(*left, valueType);
  TExprList obligations;
  if (head == kEq && !FitsRequired(k, *left, *right, type, obligations)) return std::nullopt;
  if (head == kIn && left->Required && !Subtype(valueType, left->Required->Type)) {
    Error("Несоответствие типа определяемого объекта и типа правой части."_cp,
          "The type of the right part does not match to the type of definiendum.");
    return std::nullopt;
  }
  TExprList needed;
  if (!AddNeedCond(*right, needed, DomainAssumptions(*left), TNeedContext{k, ProofSetup().Defined, true})) return std::nullopt;
  for (TExprPtr& n : needed) obligations.push_back(std::move(n));
  if (head == kIn && right->Type->Set()->MayBeEmpty) {
    TExprPtr empty = TExpr::OfIntr(*Ctx().StFunc->Intr(kEmptySet));
    TExprPtr notEmpty = Typed(ApplyIntr(kNot, Typed(ApplyIntr(kEq, DeepCopy(*right), std::move(empty)))));
    if (!notEmpty) return std::nullopt;
    obligations.push_back(std::move(notEmpty));
  }
  const TVarPtr fresh = std::make_shared<TVar>(TVar{left->Name, left->Required ? left->Required->Type : type});
  TExprPtr definition = OverArguments(*left, Typed(ApplyIntr(head, Term(*left, fresh), std::move(right))));
  if (!definition) return std::nullopt;
  Record(k, left->Required ? kDefineRequired : kDefineGiven, std::move(definition), Reference(*left, fresh));
  return obligations;
}

TObligations PrepareDefineByCases(TKernel& k, const std::vector<std::string>& lines) {
  const std::size_t values = (lines.size() + 1) / 2;
  const std::size_t conditions = lines.size() / 2;
  if (lines.empty()) {
    Error("Ошибка разработчика 1 in DefineObjectCreateCond (Kernel)"_cp, "Error 1  in DefineObjectCreateCond (Kernel)");
    return std::nullopt;
  }
  if (values != conditions && values != conditions + 1) {
    Error("Ошибка разработчика 2 in DefineObjectCreateCond (Kernel)"_cp, "Error 2  in DefineObjectCreateCond (Kernel)");
    return std::nullopt;
  }
  std::optional<TLeft> left;
  TExprList valueList;
  TExprList conditionList;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const TExprPtr tree = TextToTree(lines[i]);
    if (!tree) return std::nullopt;
    if (i % 2 == 0) {
      if (tree->HeadIntrinsic() != kEq || ArgCount(*tree) != 2) {
        Error("Объект следует вводить через равенство или принадлежность."_cp, "Object must be introduced using equality or belonging.");
        return std::nullopt;
      }
      if (!left) {
        left = AnalyseLeft(k, Arg(*tree, 0));
        if (!left) return std::nullopt;
      }
      TExprPtr value = Resolve(k, Arg(*tree, 1), *left);
      if (!value) return std::nullopt;
      valueList.push_back(std::move(value));
    } else {
      // A condition speaks of given objects (and the arguments) only: never of
      // a required object or of the object being defined.
      TExprPtr condition = Resolve(k, *tree, *left);
      if (!condition) return std::nullopt;
      if (condition->Type->Name != "lT") {
        const std::string text = TreeToText(*condition, false, false).value_or("?");
        Error("Условие "_cp + text + " имеет неверный тип."_cp, "Invalid type of condition " + text);
        return std::nullopt;
      }
      conditionList.push_back(std::move(condition));
    }
  }
  // The defined object's type: the widest of the values' types.
  TType* valueType = valueList.front()->Type;
  for (const TExprPtr& v : valueList) {
    if (Subtype(valueType, v->Type)) valueType = v->Type;
    else if (!Subtype(v->Type, valueType)) {
      Error("Несоответсвующие типы: "_cp + TypeName(*valueType, nullptr) + " " + TypeName(*v->Type, nullptr),
            "Type " + TypeName(*valueType, nullptr) + " does not match to type " + TypeName(*v->Type, nullptr));
      return std::nullopt;
    }
  }
  TType* type = DefinedType(*left, valueType);
  TExprList obligations;
  const TNeedContext context{k, ProofSetup().Defined, true};
  for (const TExprPtr& c : conditionList)
    if (!AddNeedCond(*c, obligations, DomainAssumptions(*left), context)) return std::nullopt;
  const TVarPtr fresh = std::make_shared<TVar>(TVar{left->Name, left->Required ? left->Required->Type : type});
  TExprList clauses;
  for (std::size_t i = 0; i < valueList.size(); ++i) {
    // The guard: this condition, and none before it.
    TExprList guard;
    for (std::size_t j = 0; j < i && j < conditionList.size(); ++j) {
      TExprPtr negation = Negation(*conditionList[j]);
      if (!negation) return std::nullopt;
      guard.push_back(std::move(negation));
    }
    if (i < conditionList.size()) guard.push_back(DeepCopy(*conditionList[i]));
    TExprList guardCopy;
    for (const TExprPtr& g : guard) guardCopy.push_back(DeepCopy(*g));
    if (!AddNeedCond(*valueList[i], obligations, DomainAssumptions(*left, std::move(guardCopy)), context)) return std::nullopt;
    if (!FitsRequired(k, *left, *valueList[i], DefinedType(*left, valueList[i]->Type), obligations)) return std::nullopt;
    TExprPtr equality = Typed(ApplyIntr(kEq, Term(*left, fresh), DeepCopy(*valueList[i])));
    TExprPtr premise = Conjunction(std::move(guard));
    clauses.push_back(premise ? Typed(ApplyIntr(kImplies, std::move(premise), std::move(equality))) : std::move(equality));
  }
  TExprPtr definition = OverArguments(*left, Conjunction(std::move(clauses)));
  if (!definition) return std::nullopt;
  Record(k, left->Required ? kDefineRequiredByCases : kDefineGivenByCases, std::move(definition), Reference(*left, fresh));
  return obligations;
}

bool CompleteDefineGiven(TKernel& k) {
  if ((k.PendingKind != kDefineGiven && k.PendingKind != kDefineGivenByCases) || k.Pending.size() < 2 ||
      k.Pending[1]->Expr->Class != TClass::NodefVar) {
    Error("Ошибка разработчика в SucDefineDataObject (Kernel)"_cp, "Error 1 in  SucDefineDataObject (Kernel)");
    return false;
  }
  const TVarPtr fresh = std::get<TVarPtr>(k.Pending[1]->Expr->Data);
  TExprPtr definition = DeepCopy(*k.Pending[0]->Expr);
  k.ClearPending();
  TVar& object = k.AddObject(fresh, false);
  Adopt(*definition, object, TClass::DataVar);
  if (!Retype(*definition, false) || !k.AddGivenCond(*definition)) return false;
  return TestConditions(k);
}

bool CanSubstitute(const TKernel& k) {
  return k.PendingKind == kDefineRequired && !k.Pending.empty() && k.Pending[0]->Expr->HeadIntrinsic() == kEq &&
         k.Pending[0]->Expr->Children()[1]->Class == TClass::ProveVar;
}

bool CompleteDefineRequired(TKernel& k, bool substitute) {
  const bool ok = (k.PendingKind == kDefineRequired || k.PendingKind == kDefineRequiredByCases) && k.Pending.size() >= 2 &&
                  k.Pending[1]->Expr->Class == TClass::ProveVar && k.SectionOf(*k.Pending[1]->Expr->Var()) == 2;
  if (!ok) {
    Error("Ошибка разработчика в SucDefineProveObject (Kernel)"_cp, "Error 1 in  SucDefineProveObject (Kernel)");
    return false;
  }
  TVar& required = *k.Pending[1]->Expr->Var();
  TExprPtr definition = DeepCopy(*k.Pending[0]->Expr);
  const bool canSubstitute = CanSubstitute(k);
  k.ClearPending();
  if (substitute && canSubstitute) {
    const TExprPtr value = DeepCopy(*definition->Children()[2]);
    for (std::size_t i = k.ProvingConds.size(); i-- > 0;) {
      std::function<TExprPtr(const TExpr&)> put = [&](const TExpr& e) -> TExprPtr {
        if (e.Class == TClass::ProveVar && e.Var() == &required) return DeepCopy(*value);
        TExprPtr copy = ShallowCopy(e);
        if (copy->Class == TClass::Compound) {
          for (std::size_t j = 0; j < copy->Children().size(); ++j) copy->Children()[j] = put(*e.Children()[j]);
          copy->Type = nullptr;
          if (TExpr* h = copy->Head(); h && h->Class == TClass::Intr) h->Type = nullptr;
        }
        return copy;
      };
      TExprPtr replaced = Typed(put(*k.ProvingConds[i]->Expr));
      TCondPtr rebuilt = replaced ? k.MakeCond(*replaced) : nullptr;
      if (!rebuilt) return false;
      k.ProvingConds[i] = std::move(rebuilt);
    }
    k.RemoveObject(required, true);
    return TestConditions(k);
  }
  k.MakeGiven(required);
  Adopt(*definition, required, TClass::DataVar);
  if (Ctx().Settings.AutoStandard)
    for (TCondPtr& c : k.ProvingConds) c->Stage = 1;
  if (!Retype(*definition, false) || !k.AddGivenCond(*definition)) return false;
  return TestConditions(k);
}

// ---------------------------------------------------------------------------
// Recursive definitions.

namespace {

// The sequences of a recursive definition under way: the count record and
// the reference records.
std::size_t SequenceCount(const TKernel& k) {
  if (k.PendingKind != kRecursive || k.Pending.empty() || !k.Pending[0]->Expr->NumberValue()) return 0;
  return static_cast<std::size_t>(k.Pending[0]->Expr->NumberValue()->Integer());
}

TVarList Sequences(const TKernel& k) {
  TVarList list;
  for (std::size_t i = 1; i <= SequenceCount(k) && i < k.Pending.size(); ++i)
    if (const auto* owned = std::get_if<TVarPtr>(&k.Pending[i]->Expr->Data)) list.push_back(*owned);
  return list;
}

// Widens the sequences' element type until every stored definition types;
// false when some value fits no sequence type.
bool WidenSequences(TKernel& k, std::vector<TExprPtr*> definitions) {
  const TVarList sequences = Sequences(k);
  for (int round = 0; round < 4; ++round) {
    bool widened = false;
    for (TExprPtr* d : definitions) {
      if (!Retype(**d, false)) return false;
      // Every value: the right sides of the equalities with a sequence element on the left.
      std::function<void(const TExpr&)> values = [&](const TExpr& e) {
        if (e.HeadIntrinsic() == kEq && ArgCount(e) == 2 && Arg(e, 0).Class == TClass::Compound &&
            Arg(e, 0).Head()->Class == TClass::NodefVar && Arg(e, 1).Type) {
          TVar* sequence = Arg(e, 0).Head()->Var();
          const TType* current = sequence->Type ? sequence->Type->Fun()->Value : nullptr;
          if (current && !Subtype(Arg(e, 1).Type, current)) {
            if (TType* wider = SequenceTypeOf(Types().Identifier(*Arg(e, 1).Type), Types())) {
              for (const TVarPtr& s : sequences) s->Type = wider;
              widened = true;
            }
          }
        }
        if (e.Class == TClass::Compound)
          for (const TExprPtr& child : e.Children()) values(*child);
      };
      values(**d);
    }
    if (!widened) return true;
    for (TExprPtr* d : definitions) {
      std::function<void(TExpr&)> clear = [&](TExpr& e) {
        if (e.IsVar() && e.Var()) e.Type = e.Var()->Type;
        if (e.Class == TClass::Compound)
          for (TExprPtr& child : e.Children()) clear(*child);
      };
      clear(**d);
    }
  }
  return false;
}

}  // namespace

bool PrepareRecursive(TKernel& k, std::string_view names) {
  std::vector<std::string> pieces;
  std::string piece;
  const auto flush = [&] {
    const std::string trimmed(Trim(piece));
    if (!trimmed.empty() && trimmed != "\\n" && trimmed != "\\skip") pieces.push_back(trimmed);
    piece.clear();
  };
  for (const char c : names) {
    if (c == ' ' || c == '\\') flush();
    if (c != ' ') piece += c;
  }
  flush();
  if (pieces.empty()) return false;
  TExprList references;
  TType* natural = Types().FindType("NSeqT", true);
  for (const std::string& p : pieces) {
    const std::optional<TVarName> name = NameFromString(p, false);
    if (!name) {
      Error("Неверно введено имя последовательности: "_cp + p, "Wrong name of the sequence: " + p);
      return false;
    }
    if (Named(k.GivenObjects, *name)) {
      Error("Последовательность с именем "_cp + p + " уже определена."_cp, "Sequence " + p + " is already defined");
      return false;
    }
    if (TVar* required = Named(k.RequiredObjects, *name); required && !(required->Type && required->Type->Fun() &&
                                                                         required->Type->Fun()->Args.size() == 1)) {
      Error("Имя "_cp + p + " занято под искомую переменную, не являющуюся последовательностью."_cp,
            "Name " + p + " is used for required variable.");
      return false;
    }
    TExprPtr reference = TExpr::NodefVar(std::make_shared<TVar>(TVar{*name, natural}));
    reference->Type = natural;
    references.push_back(std::move(reference));
  }
  k.ClearPending();
  k.RecordPending(TExpr::Number(TNumber(static_cast<std::int32_t>(references.size()))));
  for (TExprPtr& r : references) k.RecordPending(std::move(r));
  k.PendingKind = kRecursive;
  return true;
}

std::optional<TRecursiveInput> NextRecursiveInput(const TKernel& k) {
  const std::size_t n = SequenceCount(k);
  const std::size_t r = k.Pending.size();
  if (n == 0 || r < n + 1) return std::nullopt;
  const TVarList sequences = Sequences(k);
  if (r <= 2 * n) return TRecursiveInput{false, r - n - 1, NameText(sequences[r - n - 1]->Name)};
  if (r <= 3 * n) return TRecursiveInput{true, r - 2 * n - 1, NameText(sequences[r - 2 * n - 1]->Name)};
  return std::nullopt;
}

bool AddRecursiveDefinition(TKernel& k, const std::vector<std::string>& lines) {
  const std::optional<TRecursiveInput> input = NextRecursiveInput(k);
  if (!input) return false;
  const TVarList sequences = Sequences(k);
  const TVarPtr& sequence = sequences[input->Sequence];
  const std::size_t values = (lines.size() + 1) / 2;
  const std::size_t conditions = lines.size() / 2;
  if (lines.empty() || (values != conditions && values != conditions + 1)) {
    Error("Ошибка разработчика 2 in DefineObjectCreateCond (Kernel)"_cp, "Error 2  in DefineObjectCreateCond (Kernel)");
    return false;
  }
  if (input->Step && values != conditions + 1) {
    Error("Не определено значение последовательности в случае невыполнения введенных условий."_cp,
          "In case if the condition is not saticfied the value of sequence is not defined.");
    return false;
  }
  TVarPtr index;  // a step's index, bound by its quantifier
  TExprList valueList;
  TExprList conditionList;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (Trim(line).empty()) {
      Error("Введена пустая строка."_cp, "Input of empty string.");
      return false;
    }
    TExprPtr tree;
    if (i % 2 == 0) {
      const std::size_t sign = line.find('=');
      if (sign == std::string::npos) {
        Error("Отсутствует знак равенства."_cp, "Equality is expected.");
        return false;
      }
      if (Trim(std::string_view(line).substr(0, sign)).empty()) {
        Error("Слева от знака равенства введена пустая строка."_cp, "Empty string in the left part.");
        return false;
      }
      if (Trim(std::string_view(line).substr(sign + 1)).empty()) {
        Error("Справа от знака равенства введена пустая строка."_cp, "Empty string in the right part.");
        return false;
      }
      tree = TextToTree(line);
      if (!tree) return false;
      // The left side: exactly a_1, or a_(i+1) with a new index name.
      const TExpr& lhs = Arg(*tree, 0);
      bool shape = tree->HeadIntrinsic() == kEq && lhs.Class == TClass::Compound && ArgCount(lhs) == 1 &&
                   lhs.Head()->Class == TClass::NodefVar && lhs.Head()->Var()->Name == sequence->Name;
      if (shape && !input->Step) shape = Arg(lhs, 0).NumberValue() && EqualsInt(*Arg(lhs, 0).NumberValue(), 1);
      if (shape && input->Step) {
        const TExpr& next = Arg(lhs, 0);
        shape = next.HeadIntrinsic() == kPlus && ArgCount(next) == 2 && Arg(next, 0).Class == TClass::NodefVar &&
                Arg(next, 1).NumberValue() && EqualsInt(*Arg(next, 1).NumberValue(), 1) &&
                (!index || Arg(next, 0).Var()->Name == index->Name);
        if (shape && !index) index = std::make_shared<TVar>(TVar{Arg(next, 0).Var()->Name, Types().FindType("nT", true)});
      }
      if (!shape) {
        Error(input->Step ? "При определении (i+1)-го члена последовательности "_cp + input->Name + " неверное выражение слева от знака равенства."_cp
                          : "При определении первого члена последовательности "_cp + input->Name + " неверное выражение слева от знака равенства."_cp,
              "The expression in the left side of equality can not be changed.");
        return false;
      }
    } else {
      tree = TextToTree(line);
      if (!tree) return false;
    }
    // The right part (or the condition) may use the given objects, the index
    // of a step, and the sequences' elements.
    TLeft scope;
    if (index) scope.Arguments.push_back(index);
    TExprPtr resolved = Resolve(k, i % 2 == 0 ? Arg(*tree, 1) : *tree, scope, sequences);
    if (!resolved) return false;
    // Sequences only element-wise; in a first element not at all; in a step
    // only at the step's own index.
    bool elementwise = true;
    std::function<void(const TExpr&, bool)> check = [&](const TExpr& e, bool asHead) {
      if (e.Class == TClass::NodefVar && std::any_of(sequences.begin(), sequences.end(), [&](const TVarPtr& s) { return s.get() == e.Var(); })) {
        if (!asHead) elementwise = false;
        return;
      }
      if (e.Class == TClass::Compound && e.Head()->Class == TClass::NodefVar &&
          std::any_of(sequences.begin(), sequences.end(), [&](const TVarPtr& s) { return s.get() == e.Head()->Var(); })) {
        const bool atIndex = input->Step && ArgCount(e) == 1 && Arg(e, 0).Class == TClass::LocVar && Arg(e, 0).Var() == index.get();
        if (!atIndex) elementwise = false;
        return;
      }
      if (e.Class == TClass::Compound)
        for (std::size_t j = 0; j < e.Children().size(); ++j) check(*e.Children()[j], j == 0);
    };
    check(*resolved, false);
    if (!elementwise) {
      Error("Последовательность "_cp + input->Name + " может присутствовать в правой части только в виде элементов."_cp,
            "Sequence " + input->Name + " may present in the right part element-wise only.");
      return false;
    }
    if (i % 2 == 0) valueList.push_back(std::move(resolved));
    else conditionList.push_back(std::move(resolved));
  }
  // The defining condition: the first condition that holds picks the value.
  TExprList clauses;
  for (std::size_t i = 0; i < valueList.size(); ++i) {
    TExprList guard;
    for (std::size_t j = 0; j < i && j < conditionList.size(); ++j)
      if (TExprPtr negation = Negation(*conditionList[j])) guard.push_back(std::move(negation));
      else return false;
    if (i < conditionList.size()) guard.push_back(DeepCopy(*conditionList[i]));
    TExprPtr element = TExpr::NodefVar(sequence);
    element->Type = sequence->Type;
    TExprList children;
    children.push_back(std::move(element));
    if (index) {
      TExprPtr x = TExpr::VarRef(TClass::LocVar, *index);
      x->Type = index->Type;
      children.push_back(ApplyIntr(kPlus, std::move(x), TExpr::Number(TNumber(std::int32_t{1}))));
    } else {
      children.push_back(TExpr::Number(TNumber(std::int32_t{1})));
    }
    TExprPtr equality = ApplyIntr(kEq, TExpr::Compound(std::move(children)), DeepCopy(*valueList[i]));
    TExprPtr premise = Conjunction(std::move(guard));
    clauses.push_back(premise ? ApplyIntr(kImplies, std::move(premise), std::move(equality)) : std::move(equality));
  }
  TExprPtr definition = clauses.size() == 1 ? std::move(clauses.front()) : ApplyIntr(kAnd, std::move(clauses));
  if (index) {
    TExprPtr all = ApplyIntr(kForall, std::move(definition));
    all->Bound = TVarList{index};
    definition = std::move(all);
  }
  // The element type grows with every value, first elements and steps alike.
  std::vector<TExprPtr> stored;
  for (std::size_t r = SequenceCount(k) + 1; r < k.Pending.size(); ++r) stored.push_back(DeepCopy(*k.Pending[r]->Expr));
  stored.push_back(std::move(definition));
  const std::vector<TType*> before = [&] {
    std::vector<TType*> types;
    for (const TVarPtr& s : sequences) types.push_back(s->Type);
    return types;
  }();
  std::vector<TExprPtr*> all;
  for (TExprPtr& d : stored) all.push_back(&d);
  if (!WidenSequences(k, all)) {
    for (std::size_t s = 0; s < sequences.size(); ++s) sequences[s]->Type = before[s];
    Error("Ошибка 2 в ResetRecSeqType (Kernel)."_cp, "Error 2 in ResetRecSeqType (Kernel).");
    return false;
  }
  for (std::size_t r = SequenceCount(k) + 1, j = 0; r < k.Pending.size(); ++r, ++j) k.Pending[r]->Expr = DeepCopy(*stored[j]);
  k.RecordPending(std::move(stored.back()));
  return true;
}

bool CompleteRecursive(TKernel& k) {
  const std::size_t n = SequenceCount(k);
  if (n == 0 || k.Pending.size() != 3 * n + 1) {
    Error("Ошибка разработчика 1 in AddRecSequences (Kernel)"_cp, "Error 1 in AddRecSequences (Kernel)");
    return false;
  }
  const TVarList sequences = Sequences(k);
  TExprList definitions;
  for (std::size_t r = n + 1; r < k.Pending.size(); ++r) definitions.push_back(DeepCopy(*k.Pending[r]->Expr));
  k.ClearPending();
  for (const TVarPtr& s : sequences) {
    // A required sequence of the name is the one defined: it leaves section 2.
    if (TVar* required = Named(k.RequiredObjects, s->Name)) {
      k.MakeGiven(*required);
      for (TExprPtr& d : definitions) {
        std::function<void(TExpr&)> point = [&](TExpr& e) {
          if (e.IsVar() && e.Var() == s.get()) {
            e.Class = TClass::DataVar;
            e.Data = required;
          }
          if (e.Class == TClass::Compound)
            for (TExprPtr& child : e.Children()) point(*child);
        };
        point(*d);
      }
      continue;
    }
    TVar& object = k.AddObject(s, false);
    for (TExprPtr& d : definitions) Adopt(*d, object, TClass::DataVar);
  }
  for (TExprPtr& d : definitions)
    if (!Retype(*d, false) || !k.AddGivenCond(*d)) return false;
  return TestConditions(k);
}

void AbortRecursive(TKernel& k) { k.ClearPending(); }

}  // namespace lemmix
