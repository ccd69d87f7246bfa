#include "expr/type_expr.h"

#include "expr/expr.h"
#include "expr/typing.h"
#include "intrinsics/intr_numbers.h"
#include "intrinsics/st_func.h"
#include "shell/context.h"
#include "shell/cp1251.h"
#include "types/type.h"
#include "types/type_name.h"
#include "types/type_relations.h"
#include "types/types_proccess.h"

namespace lemmix {

TType* TypeOfSetExpression(const TExpr& e) {
  TTypesProccess& types = *Ctx().TypesProccess;
  if (const TIntr* f = e.Intrinsic()) return SimpleTypeOfSetWord(f->Name, types);
  if (e.HeadIntrinsic() != kPower || e.Children().size() != 3) return nullptr;
  const TNumber* base = e.Children()[1]->NumberValue();
  const TIntr* word = e.Children()[2]->Intrinsic();
  if (base == nullptr || !EqualsInt(*base, 2) || word == nullptr) return nullptr;
  TType* element = SimpleTypeOfSetWord(word->Name, types);
  if (element == nullptr) return nullptr;
  TType* set = types.NewType("", TBase::Set);
  *set->Set() = {element, true, false};
  return types.Intern(set);
}

TType* FunctionTypeFromSpec(const TExpr& arg, const TExpr& value, bool report) {
  const auto fail = [report](const std::string& rus, const std::string& eng) -> TType* {
    if (report) Ctx().Messages.Error({rus, eng});
    return nullptr;
  };
  std::vector<TType*> args;
  if (arg.HeadIntrinsic() == kCartesian) {
    for (std::size_t i = 1; i < arg.Children().size(); ++i) {
      TType* factor = TypeOfSetExpression(*arg.Children()[i]);
      if (factor == nullptr)
        return fail("Неверное описание типа одного из аргументов функции."_cp,
                    "Wrong type specification for an argument of the function.");
      args.push_back(factor);
    }
  } else {
    TType* single = TypeOfSetExpression(arg);
    if (single == nullptr)
      return fail("Неверное описание типа аргумента функции."_cp, "Wrong specification of the type of the function's argument");
    args.push_back(single);
  }
  TType* result = TypeOfSetExpression(value);
  if (result == nullptr)
    return fail("Неверное описание типа значения функции."_cp, "Wrong specification of the type of the function's value");
  return FunctionTypeOf(args, result, *Ctx().TypesProccess);
}

TExprPtr TypeToExpression(const TType& t) {
  TStFunc& stFunc = *Ctx().StFunc;
  if (t.Base() == TBase::Simple)
    if (TIntr* set = stFunc.SetIntrinsicOfType(t.Name)) return TExpr::OfIntr(*set);
  if (TIntr* named = stFunc.FindByWord(t.Name, false); named != nullptr && !t.Name.empty())
    return TExpr::OfIntr(*named);
  if (const TSetType* set = t.Set(); set && set->MayBeEmpty && !set->Finite && set->Element) {
    TExprList children;
    children.push_back(TExpr::OfIntr(*stFunc.Intr(kPower)));
    children.push_back(TExpr::Number(TNumber(std::int32_t{2})));
    children.push_back(TypeToExpression(*set->Element));
    return TExpr::Compound(std::move(children));
  }
  return TExpr::String(TypeName(t, nullptr));
}

TExprPtr SubstituteTyped(const TExpr& e, TExpr& pattern, const TExpr& replacement) {
  if (ExprType(pattern, false) == nullptr) {
    Ctx().Messages.Error({"Ошибка разработчика 1 : in Substitute (Expr)."_cp, "Error 1 in Substitute (Expr)."});
    return nullptr;
  }
  return Substitute(e, pattern, replacement);
}

}  // namespace lemmix
