// Replacing, substituting and linking in expressions.
#include <algorithm>
#include <map>

#include "expr/expr.h"
#include "expr/templates.h"
#include "shell/context.h"
#include "shell/cp1251.h"

namespace lemmix {

void ReplaceBy(TExpr& node, TExprPtr other) {
  TExpr taken = std::move(*other);  // other may lie inside node
  node.Class = taken.Class;
  node.Type = taken.Type;
  node.Bound = std::move(taken.Bound);
  node.Data = std::move(taken.Data);
}

void ReplaceByCopy(TExpr& node, const TExpr& other) { ReplaceBy(node, DeepCopy(other)); }

namespace {

bool NameTaken(const TVarName& name, const std::vector<TVarName>& names) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

std::vector<TVarName> BoundNames(const TExpr& e) {
  std::vector<TVarName> names;
  for (const TVar* v : CollectBound(e)) names.push_back(v->Name);
  return names;
}

// Replaces every subexpression equal to the pattern, from the root down; a
// replaced node is not searched further.
void ReplaceAll(TExpr& e, const TExpr& pattern, const TExpr& replacement) {
  if (Equal(e, pattern)) {
    ReplaceByCopy(e, replacement);
    return;
  }
  if (e.Class == TClass::Compound)
    for (TExprPtr& child : e.Children()) ReplaceAll(*child, pattern, replacement);
}

}  // namespace

TExprPtr Substitute(const TExpr& e, const TExpr& pattern, const TExpr& replacement) {
  TExprPtr copy = DeepCopy(e);
  TExprPtr renamed;
  const TExpr* inserted = &replacement;
  if (ContainsClass(replacement, TClass::LocVar) && ContainsClass(*copy, TClass::LocVar)) {
    std::vector<TVarName> used = BoundNames(*copy);
    const std::vector<TVarName> own = BoundNames(replacement);
    const bool clash = std::any_of(own.begin(), own.end(), [&](const TVarName& n) { return NameTaken(n, used); });
    if (clash) {
      renamed = DeepCopy(replacement);
      for (TVar* v : CollectBound(*renamed)) {
        while (NameTaken(v->Name, used)) ++v->Name.Index;
        used.push_back(v->Name);
      }
      inserted = renamed.get();
    }
  }
  if (inserted->Class == TClass::Templ) {
    if (!SubstituteLambda(*copy, pattern, *inserted)) return nullptr;
    return copy;
  }
  ReplaceAll(*copy, pattern, *inserted);
  return copy;
}

void RenameApart(TExpr& e, const std::vector<const TExpr*>& others) {
  std::vector<TVarName> taken;
  for (const TExpr* other : others) {
    if (other == nullptr) continue;
    const std::vector<TVarName> names = BoundNames(*other);
    taken.insert(taken.end(), names.begin(), names.end());
  }
  const std::vector<TVar*> own = CollectBound(e);
  for (TVar* v : own) {
    if (!NameTaken(v->Name, taken)) continue;
    const auto clashes = [&](const TVarName& name) {
      if (NameTaken(name, taken)) return true;
      return std::any_of(own.begin(), own.end(), [&](const TVar* w) { return w != v && w->Name == name; });
    };
    TVarName name = v->Name;
    while (clashes(name)) ++name.Index;
    v->Name = name;
  }
}

namespace {

// Beta reduction: the template's body with e's children for its parameters
// (the head for parameter 0, argument i for parameter i) replaces e.
bool Apply(TExpr& e, const TExpr& templ) {
  if (templ.Inner() == nullptr) return false;
  TExprPtr body = DeepCopy(*templ.Inner());
  std::vector<const TExpr*> values;
  for (const TExprPtr& child : e.Children()) values.push_back(child.get());
  RenameApart(*body, values);
  if (!SubstituteTemplParam(*body, values)) return false;
  ReplaceBy(e, std::move(body));
  return true;
}

void ParamError(const std::string& rus, const std::string& eng) { Ctx().Messages.Error({rus, eng}); }

}  // namespace

bool SubstituteTemplParam(TExpr& e, const std::vector<const TExpr*>& values) {
  if (e.Class == TClass::TemplPar) {
    const int i = e.ParIndex();
    if (i < 0) {
      ParamError("Ошибка в SubstituteTemplParam (Expr):\\n встретился параметр шаблона с отрицательным индексом."_cp,
                 "In function SubstituteTemplParam (Expr)\\n a template parameter with negative index is occured.");
      return false;
    }
    if (static_cast<std::size_t>(i) >= values.size()) {
      ParamError(
          "Ошибка в SubstituteTemplParam (Expr):\\n индекс параметра шаблона превышает число выражений для "
          "подстановки."_cp,
          "In function SubstituteTemplParam (Expr)\\n a template parameter with index out of range is occured.");
      return false;
    }
    const TExpr* value = values[i];
    if (value == nullptr) return true;
    if (value->Class == TClass::Templ) {
      TExprPtr lambda = TemplateToLambda(*value);
      if (!lambda) {
        ParamError("Ошибка 1 в SubstituteTemplParam (Expr)."_cp, "Error 1 in SubstituteTemplParam (Expr).");
        return false;
      }
      ReplaceBy(e, std::move(lambda));
      return true;
    }
    ReplaceByCopy(e, *value);
    return true;
  }
  if (e.Class != TClass::Compound || e.Children().empty()) return true;
  TExprList& children = e.Children();
  for (std::size_t k = 1; k < children.size(); ++k) {
    RenameApart(*children[k], values);
    if (!SubstituteTemplParam(*children[k], values)) return false;
  }
  TExpr& head = *children.front();
  if (head.Class != TClass::TemplPar) return true;
  const int i = head.ParIndex();
  if (i < 0 || static_cast<std::size_t>(i) >= values.size()) {
    ParamError("Ошибка 3 в SubstituteTemplParam (Expr)"_cp, "Error 3 in SubstituteTemplParam (Expr)");
    return false;
  }
  const TExpr* value = values[i];
  if (value == nullptr) return false;
  if (value->Class == TClass::Templ) return Apply(e, *value);
  ReplaceByCopy(head, *value);
  return true;
}

bool SubstituteLambda(TExpr& e, const TExpr& pattern, const TExpr& templ) {
  if (Equal(e, pattern)) {
    TExprPtr lambda = TemplateToLambda(templ);
    if (!lambda) {
      Ctx().Messages.Error({"Ошибка 1 в SubstituteLambda."_cp, "Error 1 in SubstituteLambda."});
      return false;
    }
    ReplaceBy(e, std::move(lambda));
    return true;
  }
  if (e.Class != TClass::Compound || e.Children().empty()) return true;
  for (std::size_t k = 1; k < e.Children().size(); ++k)
    if (!SubstituteLambda(*e.Children()[k], pattern, templ)) return false;
  if (Equal(*e.Children().front(), pattern)) return Apply(e, templ);
  return true;
}

namespace {

// Links nodef_var nodes to the innermost binder of the same name.
void LinkLocals(TExpr& e, std::vector<TVar*>& scope) {
  const std::size_t depth = scope.size();
  if (e.Bound)
    for (const TVarPtr& v : *e.Bound) scope.push_back(v.get());
  if (e.Class == TClass::NodefVar) {
    for (auto it = scope.rbegin(); it != scope.rend(); ++it) {
      if ((*it)->Name == e.Var()->Name) {
        e.Class = TClass::LocVar;
        e.Data = *it;
        break;
      }
    }
  } else if (e.Class == TClass::Compound) {
    for (TExprPtr& child : e.Children()) LinkLocals(*child, scope);
  } else if (e.Class == TClass::Templ && e.Inner()) {
    LinkLocals(*e.Inner(), scope);
  }
  scope.resize(depth);
}

TVar* FindByName(const TVarList& list, const TVarName& name) {
  for (const TVarPtr& v : list)
    if (v->Name == name) return v.get();
  return nullptr;
}

bool LinkDeclared(TExpr& e, const TVarList& given, const TVarList& required, bool allowUndeclared) {
  if (e.Class == TClass::NodefVar) {
    const TVarName name = e.Var()->Name;
    if (TVar* v = FindByName(given, name)) {
      e.Class = TClass::DataVar;
      e.Data = v;
    } else if (TVar* w = FindByName(required, name)) {
      e.Class = TClass::ProveVar;
      e.Data = w;
    } else if (!allowUndeclared) {
      Ctx().Messages.Error({"Переменная "_cp + NameText(name) + " не определена."_cp,
                            "Varaible " + NameText(name) + " is not defined."});
      return false;
    }
    return true;
  }
  if (e.Class == TClass::Compound) {
    for (TExprPtr& child : e.Children())
      if (!LinkDeclared(*child, given, required, allowUndeclared)) return false;
  } else if (e.Class == TClass::Templ && e.Inner()) {
    return LinkDeclared(*e.Inner(), given, required, allowUndeclared);
  }
  return true;
}

}  // namespace

bool VarsInput(TExpr& e, const TVarList& given, const TVarList& required, bool allowUndeclared) {
  std::vector<TVar*> scope;
  LinkLocals(e, scope);
  return LinkDeclared(e, given, required, allowUndeclared);
}

bool Concat(TExprList* target, const TExprList* source) {
  if (target == nullptr || source == nullptr) {
    Ctx().Messages.Error({"Ошибка разработчика 1 : in TExpr::Concat (Expr)."_cp, "Error 1 in TExpr::Concat (Expr)."});
    return false;
  }
  for (const TExprPtr& e : *source) target->push_back(DeepCopy(*e));
  return true;
}

}  // namespace lemmix
