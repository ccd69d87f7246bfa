#include "expr/typing.h"

#include <algorithm>

#include "expr/expr.h"
#include "intrinsics/intr_numbers.h"
#include "intrinsics/st_func.h"
#include "shell/context.h"
#include "shell/cp1251.h"
#include "types/type.h"
#include "types/type_name.h"
#include "types/type_relations.h"
#include "types/types_proccess.h"

namespace lemmix {

namespace {

TTypesProccess& Types() { return *Ctx().TypesProccess; }

void Report(bool report, const std::string& rus, const std::string& eng) {
  if (report) Ctx().Messages.Error({rus, eng});
}

TType* LeafType(TExpr& e, bool report) {
  switch (e.Class) {
    case TClass::Intr: {
      const TIntr& f = *e.Intrinsic();
      if (f.ConcreteTypes.size() == 1) return f.ConcreteTypes.front().Type;
      Report(report, "Функция "_cp + f.Name + " не имеет аргументов,\\n поэтому тип выражения не определен однозначно."_cp,
             "An ambiguity in type of the expression,\\n because function " + f.Name + " has no arguments");
      return nullptr;
    }
    case TClass::Number: return TypeOf(*e.NumberValue(), Types());
    case TClass::NodefVar:
    case TClass::DataVar:
    case TClass::ProveVar:
    case TClass::LocVar: {
      const TVar& v = *e.Var();
      if (v.Type == nullptr)
        Report(report, "Ошибка разработчика in ExprType (Expr) :\\n не определен тип переменной "_cp + NameText(v.Name),
               "Error in ExprType: \\n the type of variable " + NameText(v.Name) + " is not defined.");
      return v.Type;
    }
    case TClass::MathPar:
      Report(report, "Невозможно определить тип выражения, являющегося параметром для символьных преобр."_cp,
             "Unable to define type of parameter for symbolic computation.");
      return nullptr;
    case TClass::TemplPar:
      Report(report, "Невозможно определить тип выражения, являющегося параметром шаблона."_cp,
             "Unable to define type of template parameter.");
      return nullptr;
    default:
      Report(report, "При определении типа выражения встретилось подвыражения неизвестного класса."_cp,
             "Invalid class of expression is occured in detecting of type");
      return nullptr;
  }
}

// The word that names the head of a compound in messages.
std::string HeadName(const TExpr& head) {
  if (const TIntr* f = head.Intrinsic()) return f->Name;
  if (const TNumber* n = head.NumberValue()) return NumberToString(*n);
  if (head.IsVar()) return NameText(head.Var()->Name);
  return "";
}

void WrongArguments(const TExpr& e, const std::vector<TType*>& args) {
  const TExpr& head = *e.Head();
  std::string rus;
  std::string eng;
  switch (head.Class) {
    case TClass::Intr: rus = "стандартной функции "_cp; eng = "intrinsic function "; break;
    case TClass::DataVar: rus = "данной функции "_cp; eng = "given function "; break;
    case TClass::ProveVar: rus = "искомой функции "_cp; eng = "required function "; break;
    case TClass::LocVar: rus = "внутренней функции "_cp; eng = "of internal function "; break;
    default: break;
  }
  std::string list;
  for (std::size_t i = 0; i < args.size(); ++i)
    list += (i ? "; " : "") + (args[i] ? TypeName(*args[i], nullptr) : std::string());
  const std::string name = HeadName(head);
  Ctx().Messages.Error({"Неверные типы аргументов "_cp + rus + name + " :\\n " + list,
                        "Wrong types of arguments " + eng + name + " :\\n " + list});
}

// The possibly empty, not finite set of the values of the given type, as the
// catalogue has it (nMBESetT for naturals ...) or built.
TType* SetOfValues(TType* element) {
  TType* set = Types().NewType("NewSetT", TBase::Set);
  *set->Set() = {element, true, false};
  return Types().Intern(set);
}

// A real function applied to a set of reals: the image of the set.
bool IsImage(const TExpr& e, const std::vector<TType*>& args) {
  if (args.size() != 1 || args[0] == nullptr || args[0]->Set() == nullptr) return false;
  const TType* element = args[0]->Set()->Element;
  return IsSubtypeOfNamed(element, "rT", Types()) && IsSubtypeOfNamed(e.Head()->Type, "rFunc1T", Types());
}

TType* CompoundType(TExpr& e, bool report) {
  TExprList& children = e.Children();
  if (children.empty()) return nullptr;
  for (std::size_t i = 1; i < children.size(); ++i) {
    if (children[i]->Type != nullptr) continue;
    if (ExprType(*children[i], report) == nullptr && report) return nullptr;
  }
  const int head = e.HeadIntrinsic();
  if (head == kLambda) {
    LambdaExprType(e, report);
    return e.Type;
  }
  if (head == kSetOf && children.size() == 2) {
    ConditionalSetType(e, report);
    return e.Type;
  }
  std::vector<TType*> args;
  for (std::size_t i = 1; i < children.size(); ++i) args.push_back(children[i]->Type);

  TExpr& headNode = *children.front();
  if (const TIntr* f = headNode.Intrinsic()) {
    bool fitted = false;
    for (const TConcreteType& entry : f->ConcreteTypes) {
      headNode.Type = entry.Type;
      const TResult result = ResultType(entry.Type, args, f->Nary, Types());
      e.Type = result.Type;
      if (!result.Fits) continue;
      fitted = true;
      // {T : y | P} holds the values of the term T, whatever the parameters' types:
      // {1/k : k | k < 4} is a set of rationals though k is natural.
      if (entry.Type->Name == "SetCondFuncT1") e.Type = SetOfValues(args.front());
      break;
    }
    if (!fitted && f->DefaultType != nullptr) {
      headNode.Type = f->DefaultType;
      e.Type = ResultType(f->DefaultType, args, f->Nary, Types()).Type;
    }
  } else {
    TType* headType = ExprType(headNode, report);
    if (headType != nullptr) e.Type = ResultType(headType, args, false, Types()).Type;
    if (e.Type == nullptr && headType != nullptr && IsImage(e, args)) {
      TExprList image;
      image.push_back(TExpr::OfIntr(*Ctx().StFunc->Intr(kImage)));
      image.push_back(std::move(children[0]));
      image.push_back(std::move(children[1]));
      ReplaceBy(e, TExpr::Compound(std::move(image)));
      return ExprType(e, report);
    }
  }
  if (e.Type == nullptr && report) WrongArguments(e, args);
  return e.Type;
}

void ClearTypes(TExpr& e) {
  if (e.Class != TClass::TemplPar) e.Type = nullptr;
  if (e.Class == TClass::Compound)
    for (TExprPtr& child : e.Children()) ClearTypes(*child);
}

}  // namespace

TType* ExprType(TExpr& e, bool report) {
  if (e.Type != nullptr || std::holds_alternative<std::monostate>(e.Data)) return e.Type;
  e.Type = e.Class == TClass::Compound ? CompoundType(e, report) : LeafType(e, report);
  return e.Type;
}

bool LambdaExprType(TExpr& e, bool report) {
  TExprList& children = e.Children();
  TType* body = children.size() == 2 ? ExprType(*children[1], report) : nullptr;
  std::vector<TType*> args;
  if (e.Bound)
    for (const TVarPtr& v : *e.Bound) args.push_back(v->Type);
  const bool typed = std::all_of(args.begin(), args.end(), [](const TType* t) { return t != nullptr; });
  if (body == nullptr || !typed) {
    Report(report, "Ошибка 1 в LambdaExprType."_cp, "Error 1 in LambdaExprType.");
    return false;
  }
  e.Type = FunctionTypeOf(args, body, Types());
  children.front()->Type = FunctionTypeOf({body}, e.Type, Types());
  return true;
}

bool ConditionalSetType(TExpr& e, bool report) {
  // A variable without a type would make a set of nothing that no text could name.
  if (!e.Bound || e.Bound->size() != 1 || e.Bound->front()->Type == nullptr) {
    Report(report, "Ошибка 1 в ConditionalSetType."_cp, "Error 1 in ConditionalSetType.");
    return false;
  }
  TExprList& children = e.Children();
  const TType* condition = children.size() == 2 ? ExprType(*children[1], report) : nullptr;
  if (condition == nullptr || condition->Name != "lT") {
    Report(report, "Некорректный тип условия во множестве, заданном условием."_cp,
           "Invalid type of condition in a conditional set.");
    return false;
  }
  e.Type = SetOfValues(e.Bound->front()->Type);
  children.front()->Type = FunctionTypeOf({Types().FindType("lT", true)}, e.Type, Types());
  return true;
}

bool Retype(TExpr& e, bool report) {
  ClearTypes(e);
  return ExprType(e, report) != nullptr;
}

}  // namespace lemmix
