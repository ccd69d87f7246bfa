#include "prover/definition.h"

#include "intrinsics/intr_numbers.h"
#include "intrinsics/st_func.h"
#include "shell/context.h"
#include "shell/cp1251.h"
#include "types/type.h"

namespace lemmix {

namespace {

void Split(const TExpr& e, TSingleDefinition path, std::vector<TSingleDefinition>& out) {
  switch (e.HeadIntrinsic()) {
    case kForall:
      if (e.Bound)
        for (const TVarPtr& v : *e.Bound) path.Variables.push_back(v.get());
      Split(*e.Children().back(), std::move(path), out);
      return;
    case kAnd:
      for (std::size_t i = 1; i < e.Children().size(); ++i) Split(*e.Children()[i], path, out);
      return;
    case kImplies:
      if (e.Children().size() == 3) {
        path.Premises.push_back(e.Children()[1].get());
        Split(*e.Children()[2], std::move(path), out);
        return;
      }
      break;
    default:
      break;
  }
  path.Body = &e;
  out.push_back(std::move(path));
}

bool Logical(const TExpr& e) { return e.Type != nullptr && e.Type->Name == "lT"; }

// A bound variable of the definition, as a side of an equality.
const TVar* BoundVariable(const TExpr& e, const TSingleDefinition& definition) {
  if (e.Class != TClass::LocVar) return nullptr;
  for (const TVar* v : definition.Variables)
    if (v == e.Var()) return v;
  return nullptr;
}

}  // namespace

std::vector<TSingleDefinition> SplitDefinitions(const TExpr& formulation) {
  std::vector<TSingleDefinition> out;
  Split(formulation, {}, out);
  return out;
}

std::variant<TDefinitionAnalysis, TMessage> AnalyseDefinition(const TSingleDefinition& definition,
                                                              const TIntr& notion) {
  const TExpr& body = *definition.Body;
  TDefinitionAnalysis result;
  const TExpr* head = body.Head();
  if (head != nullptr && head->Intrinsic() == &notion) {
    if (!Logical(body))
      return TMessage{"Выражение должно иметь логический тип."_cp, "The expression must have logical type."};
    result.Term = &body;
    return result;
  }
  const int a = body.HeadIntrinsic();
  if ((a != kByDef && a != kEq) || body.Children().size() != 3)
    return TMessage{"Определение должно формулироваться через символ \\ByDef или равенство."_cp,
                    "The definition should be formulated with \\ByDef symbol or equality."};
  const TExpr& left = *body.Children()[1];
  result.Right = body.Children()[2].get();
  if (a == kEq) {
    result.Kind = TDefinitionAnalysis::Formula;
    result.Term = &left;
  } else if (left.HeadIntrinsic() != kEq || notion.Number == kEq || left.Children().size() != 3) {
    result.Kind = TDefinitionAnalysis::Predicate;
    result.Term = &left;
    if (!Logical(*result.Right))
      return TMessage{"Выражение, стоящее справа от знака эквивалентности, должно иметь логический тип."_cp,
                      "The expression on the right-hand side of equivalence must have logical type."};
  } else {
    const TExpr& first = *left.Children()[1];
    const TExpr& second = *left.Children()[2];
    result.Kind = TDefinitionAnalysis::Implicit;
    if ((result.Value = BoundVariable(first, definition)) != nullptr)
      result.Term = &second;
    else if ((result.Value = BoundVariable(second, definition)) != nullptr)
      result.Term = &first;
    else
      result.Term = &left;
  }
  // A constant (e) is its own term; a function or predicate is applied.
  const TExpr* termHead = result.Term->Class == TClass::Intr ? result.Term : result.Term->Head();
  if (termHead == nullptr || termHead->Intrinsic() != &notion || result.Term->Type == nullptr)
    return TMessage{"Неверный формат левой части определения."_cp,
                    "Invalid format of the left part of the definition."};
  return result;
}

}  // namespace lemmix
