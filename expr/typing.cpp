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

TIntr& F(int n) { return *Ctx().StFunc->Intr(n); }

// The word that names the head of a compound in messages: what the user
// writes for it. Constructions written with brackets of their own are named
// by those brackets, the limits of functions by the limit's word.
std::string HeadName(const TExpr& head) {
  if (const TIntr* f = head.Intrinsic()) {
    const auto around = [](int open, int close) { return F(open).Name + " " + F(close).Name; };
    const auto split = [](int open, int middle, int close) {
      return F(open).Name + " " + F(middle).Name + " " + F(close).Name;
    };
    switch (f->Number) {
      case kAbs: return around(kBar, kBar);
      case kFloor: return around(kLeftSquare, kRightSquare);
      case kSegment: return split(kLeftSquare, kSemicolon, kRightSquare);
      case kInterval: return split(kLeftRound, kSemicolon, kRightRound);
      case kClosedOpen: return split(kLeftSquare, kSemicolon, kRightRound);
      case kOpenClosed: return split(kLeftRound, kSemicolon, kRightSquare);
      case kIntSegment: return split(kLeftSquare, kRange, kRightSquare);
      case kEnum:
      case kEnumMore: return around(kLeftBrace, kRightBrace);
      case kSetOf: return split(kLeftBrace, kColon, kRightBrace);
      case kImage: return around(kLeftRound, kRightRound);
      case kLimF:
      case kLimLeft:
      case kLimRight: return F(kLim).Name;
      case kDerivative: return F(kDerivativeMark).Name;
      case kEqualAs: return F(kAs).Name;
      default: return f->Name;
    }
  }
  if (const TNumber* n = head.NumberValue()) return NumberToString(*n);
  if (head.IsVar()) return NameText(head.Var()->Name);
  // A compound applied, (a + b)(x): by the brackets of its arguments.
  if (head.Class == TClass::Compound) return F(kLeftRound).Name + " " + F(kRightRound).Name;
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
  std::string rusList;
  std::string engList;
  for (std::size_t i = 0; i < args.size(); ++i) {
    rusList += (i ? "; " : "") + (args[i] ? TypeName(*args[i], nullptr) : std::string());
    engList += (i ? "; " : "") + (args[i] ? EnglishTypeName(*args[i], nullptr) : std::string());
  }
  const std::string name = HeadName(head);
  Ctx().Messages.Error({"Неверные типы аргументов "_cp + rus + name + " :\\n " + rusList,
                        "Wrong types of arguments " + eng + name + " :\\n " + engList});
}

// A number where a function is declared: a constant is no function to
// compose, apply or differentiate.
bool NumberForFunction(const TType& actual, const TType& declared) {
  return declared.Fun() != nullptr && actual.Base() == TBase::Simple;
}

// An argument that no reading of the function admits: neither type lies
// within the other, and it is no function whose values fit where a number is
// declared (the pointwise f + g of functions, a + b of sequences).
bool Clashes(const TType* actual, const TType* declared) {
  if (actual == nullptr || declared == nullptr) return false;
  if (NumberForFunction(*actual, *declared)) return true;
  if (IsSubtypeOf(actual, declared, Types()) || IsSubtypeOf(declared, actual, Types())) return false;
  if (actual->Fun() != nullptr && declared->Base() == TBase::Simple) return Clashes(actual->Fun()->Value, declared);
  return true;
}

// The declared type of argument i under a function type: the first one for
// an operation of any arity; none where any argument is admitted.
const TType* DeclaredArgument(const TType& f, std::size_t i, bool nary) {
  const TFunType* fun = f.Fun();
  if (fun == nullptr || fun->Args.empty()) return nullptr;
  if (nary) return fun->Args.front();
  if (fun->Args.size() == 1 && fun->Args.front()->Name == "AnyT") return nullptr;
  return i < fun->Args.size() ? fun->Args[i] : nullptr;
}

// A compound of a number type that combines functions, as f + g or 2 ^ f:
// applied, it applies them pointwise. Any other number is no function to apply.
bool Pointwise(const TExpr& head) {
  if (head.Class != TClass::Compound) return false;
  const TExprList& children = head.Children();
  return std::any_of(children.begin() + 1, children.end(), [](const TExprPtr& argument) {
    return (argument->Type != nullptr && argument->Type->Fun() != nullptr) || Pointwise(*argument);
  });
}

bool AnyClash(const TType* f, const std::vector<TType*>& args, bool nary) {
  if (f == nullptr) return false;
  for (std::size_t i = 0; i < args.size(); ++i)
    if (Clashes(args[i], DeclaredArgument(*f, i, nary))) return true;
  return false;
}

// The possibly empty, not finite set of the values of the given type, as the
// catalogue has it (nMBESetT for naturals ...) or built.
TType* SetOfValues(TType* element) {
  TType* set = Types().NewType("NewSetT", TBase::Set);
  *set->Set() = {element, true, false};
  return Types().Intern(set);
}

// A real function applied to a set of reals: the image of the set. The empty
// set, whose type admits any elements, is a set of reals too.
bool IsImage(const TExpr& e, const std::vector<TType*>& args) {
  const TType* head = e.Head()->Type;
  if (args.size() != 1 || args[0] == nullptr || args[0]->Set() == nullptr || head == nullptr || head->Fun() == nullptr)
    return false;
  const bool reals = e.Children()[1]->IsIntr(kEmptySet) || IsSubtypeOfNamed(args[0]->Set()->Element, "rT", Types());
  return reals && IsSubtypeOfNamed(head, "rFunc1T", Types());
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
      if (!result.Fits || AnyClash(entry.Type, args, f->Nary)) continue;
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
    // Without a fitting type an argument wider than declared keeps the value
    // type; one of another kind (a set added to a number, a number as a
    // statement) leaves the formula without a type.
    if (!fitted && AnyClash(headNode.Type, args, f->Nary)) e.Type = nullptr;
  } else {
    TType* headType = ExprType(headNode, report);
    if (headType == nullptr && report) return nullptr;  // the head has shown its own message
    const bool applicable = headType != nullptr && (headType->Base() != TBase::Simple || Pointwise(headNode));
    if (applicable) e.Type = ResultType(headType, args, false, Types()).Type;
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

const TExpr* TypeFault(const TExpr& e) {
  if (e.Type != nullptr) return nullptr;
  if (e.Class == TClass::Compound) {
    const TExprList& children = e.Children();
    for (std::size_t i = 1; i < children.size(); ++i)
      if (children[i]->Type == nullptr) return TypeFault(*children[i]);
    if (!children.empty() && children.front()->Intrinsic() == nullptr && children.front()->Type == nullptr)
      return TypeFault(*children.front());
  }
  return &e;
}

bool Retype(TExpr& e, bool report) {
  ClearTypes(e);
  return ExprType(e, report) != nullptr;
}

}  // namespace lemmix
