#include "expr/templates.h"

#include <algorithm>

#include <map>

#include "expr/expr.h"
#include "expr/typing.h"
#include "intrinsics/intr_numbers.h"
#include "intrinsics/st_func.h"
#include "shell/context.h"
#include "types/types_proccess.h"
#include "shell/cp1251.h"
#include "types/type.h"

namespace lemmix {

TType* TemplateType(const TExpr& body) {
  TType* bodyType = body.Type;
  if (bodyType == nullptr) bodyType = ExprType(*DeepCopy(body), false);
  if (bodyType == nullptr) return nullptr;
  constexpr int kMaxParameters = 100;
  std::map<int, const TExpr*> representatives;
  for (const TExpr* node : CollectClass(body, TClass::TemplPar)) representatives.emplace(node->ParIndex(), node);
  if (representatives.empty()) return bodyType;
  for (const auto& [index, node] : representatives) {
    if (index < 0 || index >= kMaxParameters) {
      Ctx().Messages.Error({"Ошибка 1 в TemplateType (Expr)"_cp, "Error 1 in TemplateType (Expr)"});
      return nullptr;
    }
    if (node->Type == nullptr) {
      Ctx().Messages.Error({"Ошибка 2 в TemplateType (Expr)"_cp, "Error 2 in TemplateType (Expr)"});
      return nullptr;
    }
  }
  TTypesProccess& types = *Ctx().TypesProccess;
  TType* type = types.NewType("", TBase::Fun);
  for (const auto& [index, node] : representatives) type->Fun()->Args.push_back(node->Type);
  type->Fun()->Value = bodyType;
  return types.Intern(type);
}

bool LambdaTemplate_to_Expr1(TExpr& node, std::vector<TVar*>& variables) {
  if (node.Class == TClass::TemplPar) {
    const auto error = [](int n) {
      Ctx().Messages.Error({"Ошибка "_cp + std::to_string(n) + " в LambdaTemplate_to_Expr1."_cp,
                            "Error " + std::to_string(n) + " in LambdaTemplate_to_Expr1."});
      return false;
    };
    if (node.Type == nullptr) return error(1);
    const int i = node.ParIndex();
    if (i < 0 || static_cast<std::size_t>(i) >= variables.size()) return error(2);
    TVar& v = *variables[i];
    if (v.Type == nullptr) v.Type = node.Type;
    if (v.Type != node.Type) return error(3);
    node.Class = TClass::LocVar;
    node.Data = &v;
    return true;
  }
  if (node.Class == TClass::Compound)
    for (TExprPtr& child : node.Children())
      if (!LambdaTemplate_to_Expr1(*child, variables)) return false;
  return true;
}

TExprPtr TemplateToLambda(const TExpr& templ) {
  const TExpr* body = templ.Class == TClass::Templ ? templ.Inner() : &templ;
  if (body == nullptr) return nullptr;
  int last = -1;
  for (const TExpr* node : CollectClass(*body, TClass::TemplPar)) last = std::max(last, node->ParIndex());
  if (last < 0) return DeepCopy(*body);

  TVarList bound;
  std::vector<TVar*> variables;
  for (int i = 0; i <= last; ++i) {
    bound.push_back(std::make_shared<TVar>(TVar{{'x', i == 0 ? -1 : i}, nullptr}));
    variables.push_back(bound.back().get());
  }
  TExprPtr argument = DeepCopy(*body);
  if (!LambdaTemplate_to_Expr1(*argument, variables)) return nullptr;
  std::erase_if(bound, [](const TVarPtr& v) { return v->Type == nullptr; });

  TExprList children;
  children.push_back(TExpr::OfIntr(*Ctx().StFunc->Intr(kLambda)));
  children.push_back(std::move(argument));
  TExprPtr lambda = TExpr::Compound(std::move(children));
  lambda->Bound = std::move(bound);
  LambdaExprType(*lambda, false);
  return lambda;
}

}  // namespace lemmix
