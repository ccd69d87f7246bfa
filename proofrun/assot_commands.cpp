// The commands of transformation scripts.
#include <algorithm>
#include <functional>

#include "expr/arithm.h"
#include "expr/logic.h"
#include "expr/templates.h"
#include "expr/typing.h"
#include "intrinsics/intr_numbers.h"
#include "intrinsics/st_func.h"
#include "notation/parser.h"
#include "proofrun/assot_run.h"
#include "shell/context.h"
#include "shell/cp1251.h"
#include "types/type_relations.h"
#include "types/types_proccess.h"

namespace lemmix::assot {

namespace {

std::size_t ArgCount(const TExpr& e) {
  return e.Class != TClass::Compound || e.Children().empty() ? 0 : e.Children().size() - 1;
}
const TExpr& Arg(const TExpr& e, std::size_t i) { return *e.Children()[i + 1]; }

// Types the tree silently; an untyped tree stays as it is.
TExprPtr Typed(TExprPtr e) {
  if (e) ExprType(*e, false);
  return e;
}

bool IsVarClass(TClass c) {
  return c == TClass::NodefVar || c == TClass::DataVar || c == TClass::ProveVar || c == TClass::LocVar;
}

// The same nodes in the same places, whatever their types.
bool SameShape(const TExpr& a, const TExpr& b) {
  if (a.Class != b.Class) return false;
  if (a.Class == TClass::Intr) return a.Intrinsic() == b.Intrinsic();
  if (a.Class == TClass::Templ) return a.Inner() && b.Inner() && SameShape(*a.Inner(), *b.Inner());
  if (a.Class != TClass::Compound) return true;
  if (a.Children().size() != b.Children().size()) return false;
  for (std::size_t i = 0; i < a.Children().size(); ++i)
    if (!SameShape(*a.Children()[i], *b.Children()[i])) return false;
  return true;
}

// Points the variable node at `v` as a node of class `c`.
void PointVar(TExpr& node, TClass c, const TVarPtr& v) {
  node.Class = c;
  if (c == TClass::NodefVar) node.Data = v;
  else node.Data = v.get();
}

}  // namespace

const std::map<std::string, TRun::TCommand, std::less<>>& TRun::Commands() {
  static const std::map<std::string, TCommand, std::less<>> commands = {
      {"TakeArg", {&TRun::TakeArg, 3, false, false}},
      {"TakeExprType", {&TRun::TakeExprType, 2, false, false}},
      {"TakeSetElementType", {&TRun::TakeSetElementType, 2, false, false}},
      {"TakeProveCond", {&TRun::TakeProveCond, 2, false, false}},
      {"TakeDataCond", {&TRun::TakeDataCond, 2, false, false}},
      {"TakeParamVar", {&TRun::TakeParamVar, 3, false, false}},
      {"TakeVar", {&TRun::TakeVar, 2, false, false}},
      {"TakeVarFromList", {&TRun::TakeVarFromList, 3, false, false}},
      {"DeleteFromList", {&TRun::DeleteFromList, 2, false, false}},
      {"ReplaceSourceTempl", {&TRun::ReplaceSourceTempl, 1, true, true}},
      {"ReplaceSource", {&TRun::ReplaceSource, 1, true, false}},
      {"SetFuncType", {&TRun::SetFuncType, 3, false, false}},
      {"DeleteExpr", {&TRun::DeleteExpr, 1, false, false}},
      {"DeleteProveCond", {&TRun::DeleteProveCond, 1, true, false}},
      {"DeleteDataCond", {&TRun::DeleteDataCond, 1, true, false}},
      {"DeleteDataVars", {&TRun::DeleteDataVars, 1, true, false}},
      {"DeleteProveVar", {&TRun::DeleteProveVar, 1, true, false}},
      {"DeleteDataVar", {&TRun::DeleteDataVar, 1, true, false}},
      {"DeleteVar", {&TRun::DeleteVar, 1, false, false}},
      {"DeleteList", {&TRun::DeleteList, 1, false, false}},
      {"ClearList", {&TRun::ClearList, 1, false, false}},
      {"NewTempl", {&TRun::NewTempl, 2, false, true}},
      {"NewExprTempl", {&TRun::NewExprTempl, 2, false, true}},
      {"NewExpr", {&TRun::NewExpr, 3, false, false}},
      {"NewList", {&TRun::NewList, 1, false, false}},
      {"NewParamL", {&TRun::NewParamL, 1, false, false}},
      {"NewVar1", {&TRun::NewVar1, 2, false, false}},
      {"NewVar2", {&TRun::NewVar2, 3, false, false}},
      {"InsertProveCond", {&TRun::InsertProveCond, 2, true, false}},
      {"InsertDataCond", {&TRun::InsertDataCond, 2, true, false}},
      {"ExprFunc1", {&TRun::ExprFunc1, 3, false, false}},
      {"ExprFunc2", {&TRun::ExprFunc2, 4, false, false}},
      {"NegativeExpr", {&TRun::NegativeExpr, 2, false, false}},
      {"Substitute", {&TRun::Substitute, 4, false, false}},
      {"TemplateSubstitute", {&TRun::TemplateSubstitute, 4, false, false}},
      {"DetectExprType", {&TRun::DetectExprType, 1, false, false}},
      {"ClearExprType", {&TRun::ClearExprType, 1, false, false}},
      {"SetExprType", {&TRun::SetExprType, 2, false, false}},
      {"SetVarType", {&TRun::SetVarType, 2, false, false}},
      {"SetMethodPrior", {&TRun::SetMethodPrior, 2, true, false}},
      {"OneVarChange", {&TRun::OneVarChange, 5, false, false}},
      {"FindObjPtr", {&TRun::FindObjPtr, 3, false, false}},
      {"VarsRename", {&TRun::VarsRename, 4, false, false}},
      {"AssignInt", {&TRun::AssignInt, 2, false, false}},
      {"AssignBool", {&TRun::AssignBool, 2, false, false}},
      {"AssignList", {&TRun::AssignList, 2, false, false}},
      {"AssignExpr", {&TRun::AssignExpr, 2, false, false}},
      {"AddToList", {&TRun::AddToList, 2, false, false}},
      {"ConsiderEqMax", {&TRun::ConsiderEqMax, -1, true, false}},
      {"ConsiderEqMin", {&TRun::ConsiderEqMin, -1, true, false}},
      {"ConsiderNotEqMax", {&TRun::ConsiderNotEqMax, -1, true, false}},
      {"ConsiderNotEqMin", {&TRun::ConsiderNotEqMin, -1, true, false}},
      {"IneqExtrEnum", {&TRun::IneqExtrEnum, -1, true, false}},
      {"TestSimpleEqv", {&TRun::TestSimpleEqv, -1, false, false}},
      {"SimpleEqv", {&TRun::SimpleEqv, -1, true, false}},
      {"FloorDefinition", {&TRun::FloorDefinition, -1, true, false}},
      {"oSmallDefinition", {&TRun::Unsupported, 1, true, false}},
      {"ParamExprSubstitute", {&TRun::Unsupported, 1, true, false}},
      {"EqualFunctions", {&TRun::Unsupported, -1, true, false}},
      {"Return", {&TRun::Return, 1, false, false}},
  };
  return commands;
}

// ---------------------------------------------------------------------------
// Taking parts.

bool TRun::TakeArg(const TArgs& a) {
  TExpr* e = ExprNamed(a[1]);
  if (e == nullptr) return false;
  const std::optional<std::int32_t> i = IntExpr(a[2]);
  if (!i) return false;
  if (ArgCount(*e) == 0)
    return Fail("Функция TakeArg применена к выражению без аргументов."_cp,
                "Function TakeArg is applied to an expression without arguments.");
  if (*i < 0 || static_cast<std::size_t>(*i) >= ArgCount(*e))
    return Fail("Функция TakeArg: номер аргумента вне допустимых границ."_cp,
                "Function TakeArg: the number of argument is out of range.");
  return Bind(a[0], NamedExpr(e->Children()[static_cast<std::size_t>(*i) + 1].get()));
}

bool TRun::TakeExprType(const TArgs& a) {
  TExpr* e = ExprNamed(a[1]);
  if (e == nullptr) return false;
  if (e->Type == nullptr) return Fail("Неопределённый тип выражения"_cp, "Undefined type of an expression");
  return Bind(a[0], NamedType(e->Type));
}

bool TRun::TakeSetElementType(const TArgs& a) {
  TType* t = TypeNamed(a[1]);
  if (t == nullptr) return false;
  TType* element = t->Set() != nullptr && t->Set()->Element != nullptr ? t->Set()->Element
                                                                     : Ctx().TypesProccess->FindType("AnyT", false);
  if (element == nullptr) return Fail("Тип AnyT не найден в каталоге типов."_cp, "Type AnyT is not in the type catalogue.");
  return Bind(a[0], NamedType(element));
}

bool TRun::TakeProveCond(const TArgs& a) { return TakeCond(a, true); }
bool TRun::TakeDataCond(const TArgs& a) { return TakeCond(a, false); }

bool TRun::TakeCond(const TArgs& a, bool proving) {
  const std::optional<std::int32_t> i = IntExpr(a[1]);
  if (!i) return false;
  const TCondList& conds = proving ? field_.ProvingConds : field_.GivenConds;
  if (*i < 0 || static_cast<std::size_t>(*i) >= conds.size() || !conds[static_cast<std::size_t>(*i)]->Expr) {
    if (proving)
      return Fail("Функция TakeProveCond: номер условия вне допустимых границ."_cp,
                  "Function TakeProveCond: the number of condition is out of range.");
    return Fail("Функция TakeDataCond: номер условия вне допустимых границ."_cp,
                "Function TakeDataCond: the number of condition is out of range.");
  }
  TExpr* copy = Adopt(DeepCopy(*conds[static_cast<std::size_t>(*i)]->Expr, true));
  return copy != nullptr && Bind(a[0], NamedExpr(copy));
}

bool TRun::TakeParamVar(const TArgs& a) {
  TExpr* e = ExprNamed(a[1]);
  if (e == nullptr) return false;
  const std::optional<std::int32_t> i = IntExpr(a[2]);
  if (!i) return false;
  if (!e->Bound || e->Bound->empty())
    return Fail("Функция TakeParamVar применена к выражению без параметрических переменных"_cp,
                "Function TakeParamVar is applied to an expression without parametric varaibles");
  if (*i < 0 || static_cast<std::size_t>(*i) >= e->Bound->size())
    return Fail("Функция TakeParamVar: номер переменной вне допустимых границ"_cp,
                "Function TakeParamVar: the number of variable is out of range");
  return Bind(a[0], NamedVar((*e->Bound)[static_cast<std::size_t>(*i)].get()));
}

bool TRun::TakeVar(const TArgs& a) {
  TExpr* e = ExprNamed(a[1]);
  if (e == nullptr) return false;
  if (!e->IsVar() || e->Var() == nullptr)
    return Fail("Функция TakeVar применена к выражению, которое не является переменной"_cp,
                "Function TakeVar is applied to an expression wich is not a variable");
  return Bind(a[0], NamedVar(e->Var()));
}

bool TRun::TakeVarFromList(const TArgs& a) {
  const std::shared_ptr<TList> list = ListNamed(a[1]);
  if (!list) return false;
  const std::optional<std::int32_t> i = IntExpr(a[2]);
  if (!i) return false;
  TVar* v = nullptr;
  if (*i >= 0 && static_cast<std::size_t>(*i) < list->size()) {
    const TItem& item = (*list)[static_cast<std::size_t>(*i)];
    if (const auto* var = std::get_if<TVar*>(&item)) v = *var;
    else if (TExpr* e = std::get<TExpr*>(item); e->IsVar()) v = e->Var();
  }
  if (v == nullptr)
    return Fail("Функция TakeVarFromList: номер переменной вне допустимых границ."_cp,
                "Function TakeVarFromList: the number of variable is out of range.");
  return Bind(a[0], NamedVar(v));
}

// ---------------------------------------------------------------------------
// Lists and names.

bool TRun::DeleteFromList(const TArgs& a) {
  TList* list = OwnList(a[0]);
  if (list == nullptr) return false;
  const std::optional<std::int32_t> i = IntExpr(a[1]);
  if (!i) return false;
  if (*i < 0 || static_cast<std::size_t>(*i) >= list->size())
    return Fail("Функция DeleteFromList: номер вне допустимых границ."_cp, "Function DeleteFromList: the number is out of range.");
  list->erase(list->begin() + *i);
  return true;
}

bool TRun::DeleteExpr(const TArgs& a) {
  if (a[0] == "Source") return Bind(a[0], NamedExpr(nullptr));  // its own message
  if (ExprNamed(a[0]) == nullptr) return false;
  names_.erase(a[0]);  // the tree itself stays in the arena while the run lasts
  return true;
}

bool TRun::DeleteVar(const TArgs& a) {
  if (VarNamed(a[0]) == nullptr) return false;
  names_.erase(a[0]);
  return true;
}

bool TRun::DeleteList(const TArgs& a) {
  if (OwnList(a[0]) == nullptr) return false;
  names_.erase(a[0]);
  return true;
}

bool TRun::ClearList(const TArgs& a) {
  TList* list = OwnList(a[0]);
  if (list == nullptr) return false;
  list->clear();
  return true;
}

bool TRun::NewList(const TArgs& a) { return Bind(a[0], NamedList(std::make_shared<TList>())); }

bool TRun::AssignInt(const TArgs& a) {
  const std::optional<std::int32_t> value = IntExpr(a[1]);
  return value && Bind(a[0], NamedInt(*value));
}

bool TRun::AssignBool(const TArgs& a) {
  const std::optional<bool> value = BoolExpr(a[1]);
  return value && Bind(a[0], NamedBool(*value));
}

bool TRun::AssignList(const TArgs& a) {
  std::shared_ptr<TList> list = ListNamed(a[1]);
  return list && Bind(a[0], NamedList(std::move(list)));
}

bool TRun::AssignExpr(const TArgs& a) {
  TExpr* e = ExprNamed(a[1]);
  return e != nullptr && Bind(a[0], NamedExpr(e));
}

bool TRun::AddToList(const TArgs& a) {
  const TNamed* n = Find(a[0]);
  if (a[0] == "DataVarsL" || a[0] == "ProveVarsL" || n == nullptr || n->Kind != TKind::List)
    return Fail("Функция AddToList: неверное имя списка: "_cp + a[0], "Function AddToList: wrong name of list: " + a[0]);
  TList& list = *n->List;
  if (a[1] == "Source") {
    list.push_back(source_);
    return true;
  }
  const TNamed* object = Find(a[1]);
  if (object != nullptr && object->Kind == TKind::Expr) list.push_back(object->Expr);
  else if (object != nullptr && object->Kind == TKind::Var) list.push_back(object->Var);
  else
    return Fail("Функция AddToList: неверное имя добавляемого объекта: "_cp + a[1],
                "Function AddToList: wrong name of adding object: " + a[1]);
  return true;
}

// ---------------------------------------------------------------------------
// New expressions and variables.

bool TRun::NewTempl(const TArgs& a) {
  TExprPtr e = TextToTree(a[1]);
  if (!e || !VarsInput(*e, field_.GivenObjects, field_.RequiredObjects, true))
    return Fail("Неверный текст формулы: "_cp + a[1], "Wrong formula text: " + a[1]);
  ExprType(*e, false);
  TExpr* own = Adopt(std::move(e));
  return own != nullptr && Bind(a[0], NamedExpr(own));
}

bool TRun::NewExprTempl(const TArgs& a) {
  const std::optional<std::vector<const TExpr*>> parameters = TemplateParameters();
  if (!parameters) return false;
  TExprPtr e = Instantiate(a[1], *parameters);
  if (!e) return Fail("Ошибка в функции NewExprTempl_Oper."_cp, "Error in function NewExprTempl_Oper.");
  TExpr* own = Adopt(std::move(e));
  return own != nullptr && Bind(a[0], NamedExpr(own));
}

bool TRun::NewExpr(const TArgs& a) {
  const std::string& c = a[1];
  const std::string& p = a[2];
  TExprPtr e;
  if (c == "intr") {
    TIntr* f = stFunc_.FindByWord(p, false);
    if (f == nullptr)
      return Fail("Функция NewExpr: неверное имя встроенной функции: "_cp + p, "Function NewExpr: wrong name of intrinsic function: " + p);
    e = TExpr::OfIntr(*f);
  } else if (c == "number" || c == "templ_par") {
    const std::optional<std::int32_t> n = IntExpr(p);
    if (!n || (c == "templ_par" && *n < 0)) {
      error_.reset();
      return Fail("Функция NewExpr: неверное целое выражение: "_cp + p, "Function NewExpr: wrong integer expression: " + p);
    }
    e = c == "number" ? TExpr::Number(TNumber(*n)) : TExpr::Par(TClass::TemplPar, *n);
  } else if (c == "nodef_var" || c == "data_var" || c == "prove_var" || c == "loc_var") {
    TVar* v = VarNamed(p);
    if (v == nullptr) return false;
    const TVarPtr shared = SharedVar(*v);
    if (!shared) return RequireOwn(*v, p);
    e = c == "nodef_var" ? TExpr::NodefVar(shared) : TExpr::VarRef(ClassFromName(c), *shared);
  } else if (c == "compound") {
    if (p == "NULL") {
      e = TExpr::Compound({});
    } else {
      TExpr* source = ExprNamed(p);
      if (source == nullptr) return false;
      e = DeepCopy(*source);
    }
  } else if (c == "string") {
    e = TExpr::String(p);
  } else {
    return Fail("Функция NewExpr: неверный класс выражения: "_cp + c, "Function NewExpr: wrong class of expression: " + c);
  }
  TExpr* own = Adopt(std::move(e));
  return own != nullptr && Bind(a[0], NamedExpr(own));
}

bool TRun::NewParamL(const TArgs& a) {
  TExpr* e = Find(a[0]) != nullptr || a[0] == "Source" ? ExprNamed(a[0]) : nullptr;
  if (e == nullptr || e->Class != TClass::Compound) {
    error_.reset();
    return Fail("Функция NewParamL: неверное имя выражения: "_cp + a[0], "Function NewParamL: wrong name of expression: " + a[0]);
  }
  if (e->Bound)
    return Fail("Попытка переопределить существующий список параметрических переменных."_cp,
                "Attempt to redefine existing list of parametric variables.");
  e->Bound.emplace();
  return true;
}

bool TRun::NewVar1(const TArgs& a) {
  const TNamed* n = Find(a[1]);
  if (n == nullptr || n->Kind != TKind::Var)
    return Fail("Функция NewVar1: неверное имя переменной: "_cp + a[1], "Function NewVar1: wrong name of variable: " + a[1]);
  auto v = std::make_shared<TVar>(*n->Var);
  own_.emplace(v.get(), v);
  return Bind(a[0], NamedVar(v.get()));
}

bool TRun::NewVar2(const TArgs& a) {
  const std::optional<TVarName> name = NameFromString(a[1], false);
  if (!name)
    return Fail("Функция NewVar2: неверное имя переменной: "_cp + a[1], "Function NewVar2: wrong name of variable: " + a[1]);
  TType* type = Ctx().TypesProccess->FindType(a[2], false);
  if (type == nullptr)
    return Fail("Функция NewVar1: неверный тип переменной: "_cp + a[2], "Function NewVar1: wrong type of variable: " + a[2]);
  auto v = std::make_shared<TVar>(TVar{*name, type});
  own_.emplace(v.get(), v);
  return Bind(a[0], NamedVar(v.get()));
}

bool TRun::ExprFunc1(const TArgs& a) {
  TIntr* f = stFunc_.FindByWord(a[1], false);
  if (f == nullptr)
    return Fail("Функция ExprFunc1: неверное имя встроенной функции: "_cp + a[1], "Function ExprFunc1: wrong name of intrinsic function: " + a[1]);
  TExpr* e = ExprNamed(a[2]);
  if (e == nullptr) return false;
  TExpr* own = Adopt(Typed(ApplyIntr(f->Number, DeepCopy(*e))));
  return own != nullptr && Bind(a[0], NamedExpr(own));
}

bool TRun::ExprFunc2(const TArgs& a) {
  TIntr* f = stFunc_.FindByWord(a[1], false);
  if (f == nullptr)
    return Fail("Функция ExprFunc2: неверное имя встроенной функции: "_cp + a[1], "Function ExprFunc2: wrong name of intrinsic function: " + a[1]);
  TExpr* x = ExprNamed(a[2]);
  if (x == nullptr) return false;
  TExpr* y = ExprNamed(a[3]);
  if (y == nullptr) return false;
  if (Size(*x) + Size(*y) + 2 > kMaxTreeNodes)
    return Fail("Выражение слишком велико для ассоциированного преобразования."_cp,
                "The expression is too large for an assosiated transformation.");
  TExpr* own = Adopt(Typed(ApplyIntr(f->Number, DeepCopy(*x), DeepCopy(*y))));
  return own != nullptr && Bind(a[0], NamedExpr(own));
}

bool TRun::NegativeExpr(const TArgs& a) {
  TExpr* e = ExprNamed(a[1]);
  if (e == nullptr) return false;
  TExprPtr negation = Negation(*e);
  if (!negation) return Fail("Невозможно построить отрицание выражения."_cp, "Unable to build the negation of the expression.");
  TExpr* own = Adopt(std::move(negation));
  return own != nullptr && Bind(a[0], NamedExpr(own));
}

namespace {

int Occurrences(const TExpr& e, const TExpr& pattern) {
  if (Equal(e, pattern)) return 1;
  int n = 0;
  if (e.Class == TClass::Compound)
    for (const TExprPtr& child : e.Children()) n += Occurrences(*child, pattern);
  return n;
}

}  // namespace

bool TRun::Substitute(const TArgs& a) {
  TExpr* e = ExprNamed(a[1]);
  TExpr* pattern = e ? ExprNamed(a[2]) : nullptr;
  TExpr* replacement = pattern ? ExprNamed(a[3]) : nullptr;
  if (replacement == nullptr) return false;
  if (static_cast<long>(Size(*e)) + static_cast<long>(Occurrences(*e, *pattern)) * Size(*replacement) > kMaxTreeNodes)
    return Fail("Выражение слишком велико для ассоциированного преобразования."_cp,
                "The expression is too large for an assosiated transformation.");
  TExpr* own = Adopt(Typed(lemmix::Substitute(*e, *pattern, *replacement)));
  return own != nullptr && Bind(a[0], NamedExpr(own));
}

bool TRun::TemplateSubstitute(const TArgs& a) {
  TExpr* e = ExprNamed(a[1]);
  TExpr* pattern = e ? ExprNamed(a[2]) : nullptr;
  TExpr* templ = pattern ? ExprNamed(a[3]) : nullptr;
  if (templ == nullptr) return false;
  if (static_cast<long>(Size(*e)) * (Size(*templ) + 1) > kMaxTreeNodes)
    return Fail("Выражение слишком велико для ассоциированного преобразования."_cp,
                "The expression is too large for an assosiated transformation.");
  TExprPtr copy = DeepCopy(*e);
  if (templ->Class != TClass::Templ || !SubstituteLambda(*copy, *pattern, *templ))
    return Fail("Ошибка в функции TemplateSubstitute_Oper."_cp, "Error in function TemplateSubstitute_Oper.");
  TExpr* own = Adopt(Typed(std::move(copy)));
  return own != nullptr && Bind(a[0], NamedExpr(own));
}

// ---------------------------------------------------------------------------
// Types. Every named expression is the run's own copy; variables are changed
// only when the run owns them.

bool TRun::DetectExprType(const TArgs& a) {
  TExpr* e = ExprNamed(a[0]);
  if (e == nullptr) return false;
  // The typing may rebuild parts of the tree (a function applied to a set
  // becomes its image), which other names may point into: it types the
  // tree in place only when a copy keeps its shape.
  TExprPtr copy = DeepCopy(*e);
  if (ExprType(*copy, false) == nullptr) return Fail("Невозможно определить тип выражения."_cp, "Unable to determine type of expression.");
  if (!SameShape(*copy, *e))
    return Fail("Тип выражения определяется только с изменением самого выражения."_cp,
                "The type of the expression is determined only by changing the expression.");
  ExprType(*e, false);
  return true;
}

bool TRun::ClearExprType(const TArgs& a) {
  TExpr* e = ExprNamed(a[0]);
  if (e == nullptr) return false;
  e->Type = nullptr;
  return true;
}

bool TRun::SetExprType(const TArgs& a) {
  TExpr* e = ExprNamed(a[0]);
  if (e == nullptr) return false;
  TType* t = AnyType(a[1]);
  if (t == nullptr) return Fail("Функция SetExprType: неверное имя типа: "_cp + a[1], "Function SetExprType: wrong name of type: " + a[1]);
  e->Type = t;
  return true;
}

bool TRun::SetVarType(const TArgs& a) {
  TVar* v = VarNamed(a[0]);
  if (v == nullptr || !RequireOwn(*v, a[0])) return false;
  TType* t = AnyType(a[1]);
  if (t == nullptr) return Fail("Неверное имя типа: "_cp + a[1], "Wrong name of type: " + a[1]);
  v->Type = t;
  return true;
}

bool TRun::SetFuncType(const TArgs& a) {
  const TNamed* n = Find(a[0]);
  if (n == nullptr || n->Kind != TKind::Var)
    return Fail("В функции SetFuncType_Oper встретилось неверное имя переменной"_cp,
                "In function SetFuncType_Oper an invalid name of variable is encountered");
  TVar* v = n->Var;
  if (!RequireOwn(*v, a[0])) return false;
  const TNamed* l = Find(a[1]);
  if (l == nullptr || l->Kind != TKind::List)
    return Fail("В функции SetFuncType_Oper встретилось неверное имя списка переменных"_cp,
                "In function SetFuncType_Oper an invalid name of variable's list is encountered");
  const TNamed* value = Find(a[2]);
  if (value == nullptr || value->Kind != TKind::Var)
    return Fail("В функции SetFuncType_Oper встретилось неверное имя переменной, задающей тип значения"_cp,
                "In function SetFuncType_Oper an invalid name of variable, wich detects type of value, is encountered");
  std::vector<TType*> args;
  for (const TItem& item : *l->List) {
    const TVar* const* arg = std::get_if<TVar*>(&item);
    args.push_back(arg != nullptr ? (*arg)->Type : nullptr);
  }
  TType* type = nullptr;
  if (!args.empty() && value->Var->Type != nullptr &&
      std::none_of(args.begin(), args.end(), [](TType* t) { return t == nullptr; }))
    type = FunctionTypeOf(args, value->Var->Type, *Ctx().TypesProccess);
  if (type == nullptr)
    return Fail("Функция SetFuncType_Oper: невозможно определить функциональный тип"_cp,
                "Function SetFuncType_Oper: unable to determine functional type");
  v->Type = type;
  return true;
}

bool TRun::OneVarChange(const TArgs& a) {
  TExpr* e = ExprNamed(a[0]);
  if (e == nullptr) return false;
  const TClass to = ClassFromName(a[1]);
  if (!IsVarClass(to))
    return Fail("Функция OneVarChange: неверный класс новой переменной: "_cp + a[1], "Function OneVarChange: wrong class of new variable: " + a[1]);
  TVar* newVar = VarNamed(a[2]);
  if (newVar == nullptr) return false;
  const TClass from = ClassFromName(a[3]);
  if (!IsVarClass(from))
    return Fail("Функция OneVarChange: неверный класс старой переменной: "_cp + a[3], "Function OneVarChange: wrong class of old variable: " + a[3]);
  TVar* oldVar = VarNamed(a[4]);
  if (oldVar == nullptr) return false;
  const TVarPtr shared = SharedVar(*newVar);
  if (!shared) return RequireOwn(*newVar, a[2]);
  const std::function<void(TExpr&)> change = [&](TExpr& node) {
    if (node.Class == from && node.Var() == oldVar) {
      // A variable of its own the node held stays alive for the run.
      if (const TVarPtr* held = std::get_if<TVarPtr>(&node.Data)) vars_.push_back(*held);
      PointVar(node, to, shared);
    }
    if (node.Class == TClass::Compound)
      for (TExprPtr& child : node.Children()) change(*child);
  };
  change(*e);
  return true;
}

bool TRun::FindObjPtr(const TArgs& a) {
  TExpr* e = ExprNamed(a[0]);
  if (e == nullptr) return false;
  const TClass c = ClassFromName(a[1]);
  if (c == TClass::NoClass && a[1] != "no_class")
    return Fail("Функция FindObjPtr: неверный класс новой переменной: "_cp + a[1], "Function FindObjPtr: wrong class of new variable: " + a[1]);
  TList* list = OwnList(a[2]);
  if (list == nullptr) return false;
  const std::function<void(TExpr&)> find = [&](TExpr& node) {
    if (node.Class == c) {
      if (node.IsVar() && node.Var() != nullptr) {
        if (std::find(list->begin(), list->end(), TItem{node.Var()}) == list->end()) list->push_back(node.Var());
      } else if (std::none_of(list->begin(), list->end(), [&](const TItem& item) {
                   const TExpr* const* x = std::get_if<TExpr*>(&item);
                   return x != nullptr && Equal(**x, node);
                 })) {
        list->push_back(&node);
      }
    }
    if (node.Class == TClass::Compound)
      for (TExprPtr& child : node.Children()) find(*child);
  };
  find(*e);
  return true;
}

bool TRun::VarsRename(const TArgs& a) {
  TExpr* e = ExprNamed(a[0]);
  if (e == nullptr) return false;
  const std::shared_ptr<TList> scope = ListNamed(a[1]);
  const std::shared_ptr<TList> from = scope ? ListNamed(a[2]) : nullptr;
  const std::shared_ptr<TList> to = from ? ListNamed(a[3]) : nullptr;
  if (!to) return false;
  const auto var = [](const TItem& item) -> TVar* {
    if (const auto* v = std::get_if<TVar*>(&item)) return *v;
    TExpr* x = std::get<TExpr*>(item);
    return x->IsVar() ? x->Var() : nullptr;
  };
  if (from->size() != to->size())
    return Fail("Функция VarsRename: списки переменных имеют разную длину."_cp, "Function VarsRename: the lists of variables differ in length.");
  std::vector<std::pair<TVar*, TVarPtr>> pairs;
  for (std::size_t i = 0; i < from->size(); ++i) {
    TVar* old = var((*from)[i]);
    TVar* now = var((*to)[i]);
    const TVarPtr shared = now ? SharedVar(*now) : nullptr;
    if (old == nullptr || !shared)
      return Fail("Функция VarsRename: элемент списка не является переменной."_cp, "Function VarsRename: an item of a list is not a variable.");
    pairs.emplace_back(old, shared);
  }
  // Only the variables of the first list are renamed where they occur.
  std::vector<TVar*> allowed;
  for (const TItem& item : *scope)
    if (TVar* v = var(item)) allowed.push_back(v);
  const std::function<void(TExpr&)> rename = [&](TExpr& node) {
    if (node.IsVar())
      for (const auto& [old, now] : pairs)
        if (node.Var() == old && std::find(allowed.begin(), allowed.end(), old) != allowed.end()) {
          if (const TVarPtr* held = std::get_if<TVarPtr>(&node.Data)) vars_.push_back(*held);
          PointVar(node, node.Class, now);
          break;
        }
    if (node.Class == TClass::Compound)
      for (TExprPtr& child : node.Children()) rename(*child);
  };
  rename(*e);
  return true;
}

// ---------------------------------------------------------------------------
// The field.

bool TRun::ReplaceSource(const TArgs& a) {
  TExpr* e = ExprNamed(a[0]);
  return e != nullptr && ReplaceSourceBy(*e);
}

bool TRun::ReplaceSourceTempl(const TArgs& a) {
  const std::optional<std::vector<const TExpr*>> parameters = TemplateParameters();
  if (!parameters) return false;
  TExprPtr e = Instantiate(a[0], *parameters);
  if (!e) return Fail("Ошибка в функции ReplaceSourceTempl_Oper."_cp, "Error in function ReplaceSourceTempl_Oper.");
  return ReplaceSourceBy(*e);
}

bool TRun::InsertProveCond(const TArgs& a) {
  TExpr* e = ExprNamed(a[0]);
  if (e == nullptr) return false;
  const std::optional<std::int32_t> i = IntExpr(a[1]);
  return i && InsertCondition(*e, true, *i);
}

bool TRun::InsertDataCond(const TArgs& a) {
  // What is to be proved is never a ground for assuming anything.
  if (proving_)
    return Fail("Преобразование доказываемого условия не может добавить данное условие."_cp,
                "A transformation of a proving condition cannot add a given condition.");
  TExpr* e = ExprNamed(a[0]);
  if (e == nullptr) return false;
  const std::optional<std::int32_t> i = IntExpr(a[1]);
  return i && InsertCondition(*e, false, *i);
}

bool TRun::DeleteProveCond(const TArgs& a) { return DeleteCond(a, true); }
bool TRun::DeleteDataCond(const TArgs& a) { return DeleteCond(a, false); }

bool TRun::DeleteCond(const TArgs& a, bool proving) {
  TExpr* e = ExprNamed(a[0]);
  if (e == nullptr) return false;
  TCondList& conds = edit_->Conds(proving ? TSection::ProvingConds : TSection::GivenConds);
  // The field holds conditions standardised: the expression is looked for as
  // it is and as the kernel would make it.
  TExprPtr typed = DeepCopy(*e);
  const TCondPtr standard = Retype(*typed, false) ? edit_->MakeCond(*typed) : nullptr;
  const auto it = std::find_if(conds.begin(), conds.end(), [&](const TCondPtr& c) {
    return c->Expr && (Equal(*c->Expr, *e) || (standard && Equal(*c->Expr, *standard->Expr)));
  });
  if (it == conds.end())
    return Fail("В поле доказательства нет выражения "_cp + a[0] + ".", "There is no expression " + a[0] + " in the prove field.");
  if (!inserted_.contains(it->get()))
    return Fail("Условие "_cp + a[0] + " не добавлено этим преобразованием; удалять его нельзя."_cp,
                "Condition " + a[0] + " was not inserted by this transformation and can not be deleted.");
  inserted_.erase(it->get());
  conds.erase(it);
  return true;
}

bool TRun::DeleteDataVars(const TArgs& a) {
  if (ExprNamed(a[0]) == nullptr) return false;
  // Objects of the field are never created by a run, so none is its to delete.
  return Fail("Команда DeleteDataVars не может удалять объекты поля доказательства."_cp,
              "Command DeleteDataVars can not delete objects of the proof field.");
}

bool TRun::DeleteProveVar(const TArgs& a) { return DeleteObject(a, true); }
bool TRun::DeleteDataVar(const TArgs& a) { return DeleteObject(a, false); }

bool TRun::DeleteObject(const TArgs& a, bool required) {
  TVar* v = VarNamed(a[0]);
  if (v == nullptr) return false;
  if (field_.SectionOf(*v) != (required ? 2 : 1))
    return Fail("В поле доказательства нет переменной "_cp + a[0] + ".", "There is no variable " + a[0] + " in the prove field.");
  return RequireOwn(*v, a[0]);
}

bool TRun::SetMethodPrior(const TArgs& a) { return Unsupported(a); }

bool TRun::Unsupported(const TArgs&) {
  return Fail("Команда "_cp + command_ + " не выполняется: её действие на поле доказательства не может быть проверено."_cp,
              "Command " + command_ + " is not carried out: its effect on the proof field can not be checked.");
}

bool TRun::Return(const TArgs& a) {
  if (edit_ != nullptr)
    return Fail("В исполнительной части встретилась команда Return"_cp, "In executable part Return is encountered");
  const std::optional<bool> value = BoolExpr(a[0]);
  if (!value) return false;
  returned_ = *value;
  return true;
}

// ---------------------------------------------------------------------------
// Transformations of the marked condition by the kernel's own rules.

bool TRun::ConsiderEqMax(const TArgs&) { return ConsiderExtremum(true, false); }
bool TRun::ConsiderEqMin(const TArgs&) { return ConsiderExtremum(false, false); }
bool TRun::ConsiderNotEqMax(const TArgs&) { return ConsiderExtremum(true, true); }
bool TRun::ConsiderNotEqMin(const TArgs&) { return ConsiderExtremum(false, true); }

bool TRun::ConsiderExtremum(bool maximum, bool negated) {
  const int extremum = maximum ? 74 : 75;
  const TExpr* c = &SourceCondition();
  if (negated) c = c->HeadIntrinsic() == kNot && ArgCount(*c) == 1 ? &Arg(*c, 0) : nullptr;
  const TExpr* set = nullptr;
  const TExpr* value = nullptr;
  if (c != nullptr && c->HeadIntrinsic() == kEq && ArgCount(*c) == 2) {
    for (std::size_t side = 0; side < 2 && set == nullptr; ++side) {
      const TExpr& s = Arg(*c, side);
      if (s.HeadIntrinsic() == extremum && ArgCount(s) == 1) {
        set = &Arg(s, 0);
        value = &Arg(*c, 1 - side);
      }
    }
  }
  if (set == nullptr) return Fail("Ошибка 1 в ConsiderEqExtr_Oper (AssotPr)."_cp, "Error 1 in ConsiderEqExtr_Oper (AssotPr).");
  TExprPtr e = Instantiate(maximum ? "(\\forall x\\in #0\\Vld #1\\ge x)\\and #1\\in #0" : "(\\forall x\\in #0\\Vld #1\\le x)\\and #1\\in #0",
                           {set, value});
  if (e && negated) e = Typed(ApplyIntr(kNot, std::move(e)));
  if (!e) return Fail("Ошибка 2 в ConsiderEqExtr_Oper (AssotPr)."_cp, "Error 2 in ConsiderEqExtr_Oper (AssotPr).");
  return ReplaceSourceBy(*e);
}

namespace {

// Takes the messages of a computation whose failure is an answer of its own.
class TSilence : public IMessages, public IQuestions {
 public:
  void Info(const TMessage&) override {}
  void Error(const TMessage&) override {}
  bool Ask(const TMessage&) override { return false; }
};

// The enumerated elements of {a, b, c} in order; empty for any other set.
std::vector<const TExpr*> Elements(const TExpr& set) {
  if (set.HeadIntrinsic() == kEnum && ArgCount(set) == 1) return {&Arg(set, 0)};
  if (set.HeadIntrinsic() != kEnumMore || ArgCount(set) != 2) return {};
  std::vector<const TExpr*> elements = Elements(Arg(set, 0));
  if (elements.empty()) return {};
  elements.push_back(&Arg(set, 1));
  return elements;
}

}  // namespace

std::optional<bool> TRun::DecideSource() const {
  TSilence silence;
  const TContext& outer = Ctx();
  TContext quiet(silence, silence);
  quiet.Dir = outer.Dir;
  quiet.BookPath = outer.BookPath;
  quiet.DeveloperMode = outer.DeveloperMode;
  quiet.Settings = outer.Settings;
  quiet.TypesProccess = outer.TypesProccess;
  quiet.StFunc = outer.StFunc;
  const TContextScope scope(quiet);
  const TExpr& c = SourceCondition();
  const int head = c.HeadIntrinsic();
  const TExpr* relation = head == kNot && ArgCount(c) == 1 ? &Arg(c, 0) : &c;
  const int r = relation->HeadIntrinsic();
  if ((r != kEq && (r < kGt || r > kLe)) || ArgCount(*relation) != 2) return std::nullopt;
  // The normalisation is exact and keeps the domain: it turns the relation
  // into a constant only where that is its value for every value of its
  // variables, and nothing undefined is ever decided.
  TExprPtr copy = DeepCopy(c);
  SimplifyCondition(*copy);
  if (copy->IsIntr(kTrue)) return true;
  if (copy->IsIntr(kFalse)) return false;
  return std::nullopt;
}

bool TRun::IneqExtrEnum(const TArgs&) {
  const TExpr& c = SourceCondition();
  int relation = c.HeadIntrinsic();
  const auto fail = [this] { return Fail("Ошибка 1  в IneqExtrEnum (AssotPr)."_cp, "Error 1  in IneqExtrEnum (AssotPr)."); };
  if (relation < kGt || relation > kLe || ArgCount(c) != 2) return fail();
  const auto isExtremum = [](const TExpr& s) {
    return (s.HeadIntrinsic() == 74 || s.HeadIntrinsic() == 75) && ArgCount(s) == 1 && !Elements(Arg(s, 0)).empty();
  };
  const TExpr* other = &Arg(c, 0);
  const TExpr* extremum = &Arg(c, 1);
  if (!isExtremum(*extremum)) {
    if (!isExtremum(*other)) return fail();
    std::swap(other, extremum);
    relation = relation == kGt ? kLt : relation == kLt ? kGt : relation == kGe ? kLe : kGe;
  }
  const bool maximum = extremum->HeadIntrinsic() == 74;
  const bool greater = relation == kGt || relation == kGe;
  const std::vector<const TExpr*> elements = Elements(Arg(*extremum, 0));
  if (static_cast<long>(elements.size()) * (Size(*other) + 1) + Size(c) > kMaxTreeNodes)
    return Fail("Выражение слишком велико для ассоциированного преобразования."_cp,
                "The expression is too large for an assosiated transformation.");
  TExprList parts;
  for (const TExpr* element : elements) parts.push_back(ApplyIntr(relation, DeepCopy(*other), DeepCopy(*element)));
  TExprPtr e = parts.size() == 1 ? std::move(parts.front()) : ApplyIntr(maximum == greater ? kAnd : kOr, std::move(parts));
  return ReplaceSourceBy(*Typed(std::move(e)));
}

bool TRun::TestSimpleEqv(const TArgs&) {
  returned_ = DecideSource().value_or(false);
  return true;
}

bool TRun::SimpleEqv(const TArgs&) {
  const std::optional<bool> valid = DecideSource();
  if (!valid)
    return Fail("Невозможно проверить условие вычислением."_cp, "Unable to decide the condition by computation.");
  const TExpr& c = SourceCondition();
  const bool equality = c.HeadIntrinsic() == kEq;
  if (equality)
    messages_.Info(*valid ? TMessage{"Равенство выполняется."_cp, "The equality is valid"}
                          : TMessage{"Равенство не выполняется."_cp, "The equality is not valid"});
  else
    messages_.Info(*valid ? TMessage{"Неравенство выполняется."_cp, "The inequality is valid"}
                          : TMessage{"Неравенство не выполняется."_cp, "The inequality is not valid"});
  TExprPtr constant = TExpr::OfIntr(*stFunc_.Intr(*valid ? kTrue : kFalse));
  return ReplaceSourceBy(*Typed(std::move(constant)));
}

bool TRun::FloorDefinition(const TArgs&) {
  const TExpr& c = SourceCondition();
  if (c.HeadIntrinsic() == kEq && ArgCount(c) == 2) {
    for (std::size_t side = 0; side < 2; ++side) {
      const TExpr& s = Arg(c, side);
      if (s.HeadIntrinsic() != kFloor || ArgCount(s) != 1) continue;
      TExprPtr e = Instantiate("#1 \\in \\Z \\and #1 \\le #0 \\and #0 < #1 + 1", {&Arg(s, 0), &Arg(c, 1 - side)});
      if (!e) return Fail("Ошибка в функции FloorDefinition."_cp, "Error in function FloorDefinition.");
      return ReplaceSourceBy(*e);
    }
  }
  // The first integer part whose argument speaks of no bound variable: its
  // definition holds as a fact of the field.
  const TExpr* found = nullptr;
  const std::function<void(const TExpr&)> search = [&](const TExpr& node) {
    if (found != nullptr) return;
    if (node.HeadIntrinsic() == kFloor && ArgCount(node) == 1 && !ContainsClass(Arg(node, 0), TClass::LocVar)) {
      found = &Arg(node, 0);
      return;
    }
    if (node.Class == TClass::Compound)
      for (const TExprPtr& child : node.Children()) search(*child);
  };
  search(c);
  if (found == nullptr)
    return Fail("Функция FloorDefinition: в условии нет целой части."_cp, "Function FloorDefinition: the condition has no integer part.");
  TExprPtr e = Instantiate("[ #0 ] \\le #0 \\and #0 < [ #0 ] + 1", {found});
  if (!e) return Fail("Ошибка в функции FloorDefinition."_cp, "Error in function FloorDefinition.");
  return InsertCondition(*e, false, -1);
}

}  // namespace lemmix::assot
