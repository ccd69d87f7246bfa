// Transformation scripts run against small proof fields: control lines,
// integer and boolean expressions, the commands, and the limits that keep a
// script from changing the field beyond its marked condition and the
// conditions it inserts.
#include <gtest/gtest.h>

#include "../prover/prover_fixture.h"
#include "notation/output.h"
#include "proofrun/assot.h"

namespace lemmix {
namespace {

class AssotRunTest : public testing::ProverTest {
 protected:
  // A field with the given object x (real) and the conditions, read as the
  // kernel reads formulas.
  std::unique_ptr<TKernel> Field(const std::vector<std::string>& given, const std::vector<std::string>& proving) {
    auto k = std::make_unique<TKernel>();
    k->AddObject(Var('x'), false);
    for (const std::string& g : given) {
      if (raw) {
        // As written: the field would decide a numeric relation on entry.
        k->GivenConds.push_back(std::make_unique<TCond>(TCond{TCond::kUntested, KernelFormula(*k, g)}));
        continue;
      }
      TExprPtr e = KernelFormula(*k, g);
      EXPECT_TRUE(e && k->AddGivenCond(*e)) << g;
    }
    for (const std::string& p : proving) {
      TExprPtr e = KernelFormula(*k, p);
      EXPECT_TRUE(e && k->AddProvingCond(*e)) << p;
    }
    return k;
  }

  static std::string Print(const TKernel& k) {
    std::string text = "given:";
    for (const TCondPtr& c : k.GivenConds) text += " [" + TreeToText(*c->Expr, false, false).value_or("?") + "]";
    text += " proving:";
    for (const TCondPtr& c : k.ProvingConds) text += " [" + TreeToText(*c->Expr, false, false).value_or("?") + "]";
    return text;
  }

  std::vector<std::string> Errors() const {
    std::vector<std::string> texts;
    for (const auto& entry : messages.Entries())
      if (entry.kind == RecordingMessages::Kind::Error) texts.push_back(entry.message.Eng);
    return texts;
  }
  std::vector<std::string> Infos() const {
    std::vector<std::string> texts;
    for (const auto& entry : messages.Entries())
      if (entry.kind == RecordingMessages::Kind::Info) texts.push_back(entry.message.Eng);
    return texts;
  }

  bool Test(const std::vector<std::string>& lines, const TKernel& k, TSection section = TSection::GivenConds,
            std::size_t index = 0) {
    TAssot a;
    a.Name = "T";
    a.Test = lines;
    return assot.TestAssot(a, k, section, index);
  }
  bool Execute(const std::vector<std::string>& lines, TKernel& k, TSection section = TSection::GivenConds,
               std::size_t index = 0) {
    TAssot a;
    a.Name = "T";
    a.Execute = lines;
    return assot.ExecuteAssot(a, k, section, index);
  }

  TAssotProccess assot{*context.StFunc, messages};
  bool raw = false;
};

// The frame around a message of the line.
std::string Framed(const std::string& line, const std::string& message) {
  return "Unable to interpret assosiated transformation\\n \"T\"\\n in line \"" + line + "\":\\n " + message;
}

struct TTestCase {
  std::vector<std::string> Lines;
  bool Expected;
  std::string Error;  // the last message shown; empty: none
  // The formula reader reports its own faults before the line's message.
  bool ReaderSpeaks = false;
};

TEST_F(AssotRunTest, TestPartsAnswerAndFailWithTheirMessages) {
  const TTestCase cases[] = {
      {{"Return(true)"}, true, ""},
      {{"Return(false)"}, false, ""},
      {{"Return(SourceProve)"}, false, ""},
      // a || b && c is (a || b) && c
      {{"AssignBool(a, true)", "AssignBool(b, true)", "AssignBool(c, false)", "Return(a || b && c)"}, false, ""},
      {{"AssignBool(a, false)", "AssignBool(b, true)", "Return(a && b || true)"}, false, ""},
      {{"AssignBool(a, false)", "Return(!a)"}, true, ""},
      {{"Return(!ExprCls(Source, compound))"}, false,
       Framed("Return(!ExprCls(Source, compound))", "Wrong simple bool expression: ExprCls(Source, compound)")},
      {{"Return((false || true) && true)"}, true, ""},
      {{"AssignInt(n, 1+2)", "Return(n == 3)"}, true, ""},
      {{"AssignInt(n, 10 - 2 - 3)", "Return(n == 5)"}, true, ""},
      {{"AssignInt(n, +1)"}, false, Framed("AssignInt(n, +1)", "Sign + must not be in the first position of integer expression")},
      {{"AssignInt(n, 1-)"}, false, Framed("AssignInt(n, 1-)", "Sign - must not be in the last position of integer expression")},
      {{"AssignInt(n, -1)"}, false, Framed("AssignInt(n, -1)", "Sign - must not be in the first position of integer expression")},
      {{"AssignInt(n, 1+)"}, false, Framed("AssignInt(n, 1+)", "Sign + must not be in the last position of integer expression")},
      {{"AssignInt(n, 1 + q)"}, false, Framed("AssignInt(n, 1 + q)", "Wrong simple integer expression: q")},
      {{"AssignInt(n, 2147483647 + 1)"}, false,
       Framed("AssignInt(n, 2147483647 + 1)", "Integer overflow in integer expression 2147483647 + 1")},
      {{"AssignInt(n, 1)", "AssignInt(n, 2)", "Return(n == 2)"}, true, ""},
      {{"AssignInt(n, 1)", "NewList(n)"}, false,
       Framed("NewList(n)", "Unable to define a list named n because the name is occupied.")},
      {{"AssignInt(n, 1)"}, false, "The testing part is finished without Return"},
      {{"L:", "goto L"}, false, Framed("goto L", "Label L is not found")},
      {{"AssignInt(n, 0)", "L:", "AssignInt(n, n + 1)", "if (n < 5)", "goto L", "endif", "Return(n == 5)"}, true, ""},
      {{"AssignInt(n, 0)", "L:", "AssignInt(n, n + 1)", "goto L"}, false,
       Framed("AssignInt(n, n + 1)", "The assosiated transformation has run more than 100000 lines and is stopped.")},
      {{"if (false)", "if (true)", "Return(false)", "else", "Return(false)", "endif", "else", "Return(true)", "endif"}, true, ""},
      {{"if (true)", "AssignInt(n, 1)", "else", "AssignInt(n, 2)", "endif", "Return(n == 1)"}, true, ""},
      {{"if"}, false, Framed("if", "Empty expression after \"if\"")},
      {{"if true"}, false, Framed("if true", "Left bracket after \"if\" is absent")},
      {{"if (true"}, false, Framed("if (true", "Right bracket after \"if\" is absent")},
      {{"if (false)", "Return(true)"}, false, Framed("if (false)", "Command \"if\" does not ended with \"else\" or \"endif\"")},
      {{"else"}, false, Framed("else", "Command \"else\" does not ended with \"endif\"")},
      {{"pause", "Return(ArgNum(Source) == 2)"}, true, ""},
      {{"Return(ListCount(DataVarsL) == 1 && ListCount(ProveVarsL) == 0)"}, true, ""},
      {{"Return(DataCondNum == 1 && ProveCondNum == 1 && SourceNum == 0)"}, true, ""},
      {{"TakeArg(a, Source, 1)", "Return(ExprIsInt(a, 0))"}, true, ""},
      {{"TakeArg(a, Source, 0)", "TakeVar(v, a)", "TakeVarFromList(w, DataVarsL, 0)", "Return(EqualPtr(v, w))"}, true, ""},
      {{"TakeArg(a, Source, 2)"}, false, Framed("TakeArg(a, Source, 2)", "Function TakeArg: the number of argument is out of range.")},
      {{"TakeArg(a, Source, 1)", "TakeArg(b, a, 0)"}, false,
       Framed("TakeArg(b, a, 0)", "Function TakeArg is applied to an expression without arguments.")},
      {{"TakeArg(a, Source, 1)", "Return(ArgNum(a) == 0)"}, false,
       Framed("Return(ArgNum(a) == 0)", "Function ArgNum is applied to an expression without arguments.")},
      {{"TakeArg(a, Q, 0)"}, false, Framed("TakeArg(a, Q, 0)", "Expresion named Q is undefined.")},
      {{"AssignInt(n, 1)", "TakeArg(a, n, 0)"}, false, Framed("TakeArg(a, n, 0)", "Name n is used not for expression")},
      {{"TakeArg(a, Source)"}, false, Framed("TakeArg(a, Source)", "Invalid argument's number for an operator")},
      {{"TakeArg(a, Source, (0)"}, false, Framed("TakeArg(a, Source, (0)", "In line of arguments a right bracket is missing")},
      {{"TakeArg(a, Source, 0))"}, false, Framed("TakeArg(a, Source, 0))", "In line of arguments there is an extra right bracket")},
      {{"TakeArg a"}, false,
       Framed("TakeArg a", "The left bracket for arguments of an operator is absent in the particular place.")},
      {{"AssignExpr(Source, Source)"}, false, Framed("AssignExpr(Source, Source)", "Name \"Source\" can not be used for expressions")},
      {{"AssignList(DataVarsL, ProveVarsL)"}, false,
       Framed("AssignList(DataVarsL, ProveVarsL)", "Name \"DataVarsL\" can not be used for lists")},
      {{"NewList(ProveVarsL)"}, false, Framed("NewList(ProveVarsL)", "Name \"ProveVarsL\" can not be used for lists")},
      {{"Return(zz)"}, false, Framed("Return(zz)", "Wrong simple bool expression: zz")},
      {{"Return(&& true)"}, false, Framed("Return(&& true)", "Invalid position of operaton && in bool expression && true")},
      {{"Return(1 <)"}, false, Framed("Return(1 <)", "Invalid position of relation < in bool expression 1 <")},
      {{"Frobnicate(a)"}, false, Framed("Frobnicate(a)", "Uninterpreted line.")},
      {{"TestSimpleEqv()"}, false, Framed("TestSimpleEqv()", "Uninterpreted line.")},
      {{"Return(ExprCls(Source, compound) )"}, true, ""},
      {{"Return(ExprCls(Source, bogus))"}, false, Framed("Return(ExprCls(Source, bogus))", "Wrong class of expression: bogus")},
      {{"Return(ExprIntr(Source, >))"}, true, ""},
      {{"Return(ExprIntr(Source, \\nosuchword))"}, false,
       Framed("Return(ExprIntr(Source, \\nosuchword))", "Function ExprIntr: wrong name of intrinsic function: \\nosuchword")},
      {{"TakeExprType(t, Source)", "Return(SubType(t, lT) && TypeBase(t, simpleBT))"}, true, ""},
      {{"TakeArg(a, Source, 1)", "Return(ExprSubType(a, rT) && SubType(nT, rT))"}, true, ""},
      {{"Return(SubType(nT, noSuchT))"}, false, Framed("Return(SubType(nT, noSuchT))", "Wrong name of type: noSuchT")},
      {{"TakeArg(a, Source, 0)", "Return(SubExprExists(Source, a))"}, true, ""},
      {{"TakeArg(a, Source, 0)", "Return(SubExprExists(a, Source))"}, false, ""},
      {{"TakeDataCond(c, 0)", "Return(ExprHead(c, Source) && !SourceProve)"}, true, ""},
      {{"NewList(l)", "Return(ListIsNULL(l))"}, true, ""},
      {{"NewList(l)", "AddToList(l, Source)", "Return(ListIsNULL(l))"}, false, ""},
      {{"Return(EqualPtr(Source, nothing))"}, false,
       Framed("Return(EqualPtr(Source, nothing))", "Function EqualPtr: wrong name of an object: nothing")},
      {{"TakeProveCond(c, 1)"}, false, Framed("TakeProveCond(c, 1)", "Function TakeProveCond: the number of condition is out of range.")},
      {{"TakeDataCond(c, 3)"}, false, Framed("TakeDataCond(c, 3)", "Function TakeDataCond: the number of condition is out of range.")},
      {{"AssignInt(#0, 1)"}, false, Framed("AssignInt(#0, 1)", "Template parameter must be an expression")},
      {{"AssignExpr(#0, Source)", "AssignExpr(#2, Source)", "NewExprTempl(e, #0 > 1)"}, false,
       Framed("NewExprTempl(e, #0 > 1)", "Invalid number of template parameter")},
      {{"AssignExpr(#0, Source)", "AssignExpr(#00, Source)", "NewExprTempl(e, #0)"}, false,
       Framed("NewExprTempl(e, #0)", "Two template parameters have identical numbers")},
      {{"TakeArg(#0, Source, 0)", "NewExprTempl(e, #0 \\ge 1)", "Return(ExprIntr(e, \\ge))"}, true, ""},
      // Parts, lists and variables.
      {{"NewTempl(e, \\forall y \\in \\R \\Vld y ^ 2 \\ge 0)", "TakeParamVar(v, e, 0)", "TakeExprType(t, e)",
        "Return(ListCount(ExprParamL(e)) == 1 && TypeBase(t, simpleBT) && ListCount(ExprArgL(e)) == 1)"},
       true, ""},
      {{"TakeParamVar(v, Source, 0)"}, false,
       Framed("TakeParamVar(v, Source, 0)", "Function TakeParamVar is applied to an expression without parametric varaibles")},
      {{"NewTempl(e, \\forall y \\in \\R \\Vld y ^ 2 \\ge 0)", "TakeParamVar(v, e, 1)"}, false,
       Framed("TakeParamVar(v, e, 1)", "Function TakeParamVar: the number of variable is out of range")},
      {{"TakeVar(v, Source)"}, false, Framed("TakeVar(v, Source)", "Function TakeVar is applied to an expression wich is not a variable")},
      {{"NewList(l)", "TakeVarFromList(v, l, 0)"}, false,
       Framed("TakeVarFromList(v, l, 0)", "Function TakeVarFromList: the number of variable is out of range.")},
      {{"NewList(l)", "AddToList(l, Source)", "TakeArg(a, Source, 0)", "AddToList(l, a)", "DeleteFromList(l, 0)",
        "TakeVarFromList(v, l, 0)", "TakeVarFromList(w, DataVarsL, 0)", "AssignList(m, l)",
        "Return(EqualPtr(v, w) && ListCount(m) == 1 && EqualPtr(l, m))"},
       true, ""},
      {{"NewList(l)", "DeleteFromList(l, 0)"}, false, Framed("DeleteFromList(l, 0)", "Function DeleteFromList: the number is out of range.")},
      {{"NewList(l)", "AddToList(l, Source)", "ClearList(l)", "Return(ListIsNULL(l))"}, true, ""},
      {{"NewList(l)", "DeleteList(l)", "Return(ListIsNULL(l))"}, false, Framed("Return(ListIsNULL(l))", "List named l is undefined.")},
      {{"AddToList(DataVarsL, Source)"}, false,
       Framed("AddToList(DataVarsL, Source)", "Function AddToList: wrong name of list: DataVarsL")},
      {{"NewList(l)", "AddToList(l, 5)"}, false, Framed("AddToList(l, 5)", "Function AddToList: wrong name of adding object: 5")},
      {{"ClearList(DataVarsL)"}, false, Framed("ClearList(DataVarsL)", "Name \"DataVarsL\" can not be used for lists")},
      {{"Return(ListCount(q) == 0)"}, false,
       Framed("Return(ListCount(q) == 0)", "Cann't evalute list size, probably the list is not allocated")},
      {{"AssignExpr(e, Source)", "DeleteExpr(e)", "Return(ExprCls(e, compound))"}, false,
       Framed("Return(ExprCls(e, compound))", "Expresion named e is undefined.")},
      {{"DeleteExpr(Source)"}, false, Framed("DeleteExpr(Source)", "Name \"Source\" can not be used for expressions")},
      {{"NewVar2(v, y, nT)", "NewVar1(w, v)", "AssignBool(s, EqualPtr(w, v))", "DeleteVar(v)", "Return(!s)"}, true, ""},
      {{"NewVar2(v, y, nT)", "DeleteVar(v)", "DeleteVar(v)"}, false, Framed("DeleteVar(v)", "Variable named v is undefined.")},
      {{"NewVar1(w, nothing)"}, false, Framed("NewVar1(w, nothing)", "Function NewVar1: wrong name of variable: nothing")},
      {{"NewVar2(v, 1, nT)"}, false, Framed("NewVar2(v, 1, nT)", "Function NewVar2: wrong name of variable: 1")},
      {{"NewVar2(v, y, noT)"}, false, Framed("NewVar2(v, y, noT)", "Function NewVar1: wrong type of variable: noT")},
      // New expressions.
      {{"NewExpr(e, intr, \\true)", "Return(ExprIntr(e, \\true))"}, true, ""},
      {{"NewExpr(e, intr, \\nothing)"}, false,
       Framed("NewExpr(e, intr, \\nothing)", "Function NewExpr: wrong name of intrinsic function: \\nothing")},
      {{"NewExpr(e, number, 2+3)", "Return(ExprIsInt(e, 5) && !ExprIsInt_)"}, false,
       Framed("Return(ExprIsInt(e, 5) && !ExprIsInt_)", "Wrong simple bool expression: ExprIsInt_")},
      {{"NewExpr(e, number, 2+3)", "Return(ExprIsInt(e, 5))"}, true, ""},
      {{"NewExpr(e, number, 2+3)", "Return(ExprIsInt(e, q))"}, false,
       Framed("Return(ExprIsInt(e, q))", "Function ExprIsInt: wrong number: q")},
      {{"NewExpr(e, number, y)"}, false, Framed("NewExpr(e, number, y)", "Function NewExpr: wrong integer expression: y")},
      {{"NewExpr(e, bogus, 1)"}, false, Framed("NewExpr(e, bogus, 1)", "Function NewExpr: wrong class of expression: bogus")},
      {{"TakeVarFromList(v, DataVarsL, 0)", "NewExpr(e, data_var, v)", "TakeArg(a, Source, 0)",
        "Return(SubExprExists(Source, e) && ExprCls(e, data_var))"},
       true, ""},
      {{"NewExpr(e, compound, Source)", "AssignBool(s, EqualPtr(e, Source))", "Return(ExprHead(e, Source) && !s)"}, true, ""},
      {{"NewExpr(e, compound, NULL)", "Return(ExprHead(e, Source))"}, false, ""},
      {{"NewExpr(e, string, hello)", "NewExpr(p, templ_par, 1)", "Return(ExprCls(e, string) && ExprCls(p, templ_par))"}, true, ""},
      {{"NewExpr(e, compound, Source)", "NewParamL(e)", "Return(ListIsNULL(ExprParamL(e)))"}, true, ""},
      {{"NewExpr(e, compound, Source)", "NewParamL(e)", "NewParamL(e)"}, false,
       Framed("NewParamL(e)", "Attempt to redefine existing list of parametric variables.")},
      {{"NewParamL(nothing)"}, false, Framed("NewParamL(nothing)", "Function NewParamL: wrong name of expression: nothing")},
      // Types.
      {{"TakeExprType(t, Source)", "TakeSetElementType(u, t)", "Return(SubType(u, AnyT) && SubType(AnyT, u))"}, true, ""},
      {{"ClearExprType(Source)", "TakeExprType(t, Source)"}, false, Framed("TakeExprType(t, Source)", "Undefined type of an expression")},
      {{"ClearExprType(Source)", "Return(ExprSubType(Source, lT))"}, false,
       Framed("Return(ExprSubType(Source, lT))", "Undefined type of expression Source")},
      {{"ClearExprType(Source)", "DetectExprType(Source)", "TakeExprType(t, Source)", "Return(SubType(t, lT))"}, true, ""},
      {{"NewExpr(e, compound, NULL)", "DetectExprType(e)"}, false, Framed("DetectExprType(e)", "Unable to determine type of expression.")},
      {{"SetExprType(Source, nT)", "Return(ExprSubType(Source, rT))"}, true, ""},
      {{"SetExprType(Source, bogusT)"}, false, Framed("SetExprType(Source, bogusT)", "Function SetExprType: wrong name of type: bogusT")},
      {{"TakeExprType(t, Source)", "Return(TypeBase(t, bogusBT))"}, false, Framed("Return(TypeBase(t, bogusBT))", "Wrong base type: bogusBT")},
      {{"NewVar2(f, f, rT)", "NewVar2(y, y, nT)", "NewVar2(r, r, rT)", "NewList(l)", "AddToList(l, y)", "SetFuncType(f, l, r)",
        "NewExpr(e, nodef_var, f)", "DetectExprType(e)", "TakeExprType(t, e)", "SetVarType(y, rT)",
        "Return(TypeBase(t, funBT))"},
       true, ""},
      {{"NewList(l)", "NewVar2(r, r, rT)", "SetFuncType(q, l, r)"}, false,
       Framed("SetFuncType(q, l, r)", "In function SetFuncType_Oper an invalid name of variable is encountered")},
      {{"NewVar2(f, f, rT)", "NewVar2(r, r, rT)", "SetFuncType(f, q, r)"}, false,
       Framed("SetFuncType(f, q, r)", "In function SetFuncType_Oper an invalid name of variable's list is encountered")},
      {{"NewVar2(f, f, rT)", "NewList(l)", "SetFuncType(f, l, q)"}, false,
       Framed("SetFuncType(f, l, q)",
              "In function SetFuncType_Oper an invalid name of variable, wich detects type of value, is encountered")},
      {{"NewVar2(f, f, rT)", "NewVar2(r, r, rT)", "NewList(l)", "SetFuncType(f, l, r)"}, false,
       Framed("SetFuncType(f, l, r)", "Function SetFuncType_Oper: unable to determine functional type")},
      // Changes of the run's own expressions.
      {{"NewTempl(e, \\forall y \\in \\R \\Vld y > x)", "TakeParamVar(v, e, 0)", "TakeVarFromList(w, DataVarsL, 0)",
        "NewList(l)", "FindObjPtr(e, data_var, l)", "AssignInt(n, ListCount(l))", "OneVarChange(e, loc_var, v, data_var, w)",
        "ClearList(l)", "FindObjPtr(e, data_var, l)", "Return(n == 1 && ListIsNULL(l))"},
       true, ""},
      {{"TakeVarFromList(w, DataVarsL, 0)", "OneVarChange(Source, intr, w, data_var, w)"}, false,
       Framed("OneVarChange(Source, intr, w, data_var, w)", "Function OneVarChange: wrong class of new variable: intr")},
      {{"TakeVarFromList(w, DataVarsL, 0)", "OneVarChange(Source, loc_var, w, bogus, w)"}, false,
       Framed("OneVarChange(Source, loc_var, w, bogus, w)", "Function OneVarChange: wrong class of old variable: bogus")},
      {{"NewList(l)", "FindObjPtr(Source, intr, l)", "FindObjPtr(Source, intr, l)", "Return(ListCount(l) == 1)"}, true, ""},
      {{"NewList(l)", "FindObjPtr(Source, bogus, l)"}, false,
       Framed("FindObjPtr(Source, bogus, l)", "Function FindObjPtr: wrong class of new variable: bogus")},
      {{"TakeVarFromList(w, DataVarsL, 0)", "NewTempl(e, \\forall y \\in \\R \\Vld y > x)", "TakeParamVar(v, e, 0)",
        "NewList(a)", "AddToList(a, w)", "NewList(b)", "AddToList(b, v)", "VarsRename(e, a, a, b)", "NewList(l)",
        "FindObjPtr(e, data_var, l)", "TakeVarFromList(u, l, 0)", "Return(EqualPtr(u, v) && ListCount(l) == 1)"},
       true, ""},
      {{"NewList(a)", "AddToList(a, Source)", "NewList(b)", "VarsRename(Source, a, a, b)"}, false,
       Framed("VarsRename(Source, a, a, b)", "Function VarsRename: the lists of variables differ in length.")},
      {{"TemplateSubstitute(e, Source, Source, Source)"}, false,
       Framed("TemplateSubstitute(e, Source, Source, Source)", "Error in function TemplateSubstitute_Oper.")},
      {{"NewTempl(e, { 1 , 2 })", "Return(NotEmptySet(e))"}, true, ""},
      {{"Return(NotEmptySet(Source))"}, false, ""},
      {{"NewTempl(e, x > 1, y)", "Return(ExprIntr(e, \\enum) || true)"}, true, ""},
      {{"NewTempl(e, x > >)", "Return(true)"}, false, Framed("NewTempl(e, x > >)", "Wrong formula text: x > >"), true},
  };
  for (const TTestCase& c : cases) {
    messages.Clear();
    const auto field = Field({"x > 0"}, {"x \\ge 1"});
    const std::string before = Print(*field);
    EXPECT_EQ(Test(c.Lines, *field), c.Expected) << c.Lines.back();
    const std::vector<std::string> errors = Errors();
    if (c.Error.empty()) EXPECT_TRUE(errors.empty()) << c.Lines.back() << ": " << (errors.empty() ? "" : errors.front());
    else if (c.ReaderSpeaks) EXPECT_TRUE(errors.size() > 1 && errors.back() == c.Error) << c.Lines.back();
    else EXPECT_EQ(errors, std::vector<std::string>{c.Error}) << c.Lines.back();
    // A test run, failed or not, leaves the field as it was.
    EXPECT_EQ(Print(*field), before) << c.Lines.back();
  }
}

struct TExecuteCase {
  std::vector<std::string> Lines;
  bool Expected;
  // The conditions afterwards; on failure the interpreter has changed nothing
  // before the failing line in these cases.
  std::vector<std::string> Given, Proving;
  std::string Error;  // the last message shown; empty: none
  TSection Section = TSection::GivenConds;
};

TEST_F(AssotRunTest, ExecutionPartsChangeOnlyTheMarkedConditionAndWhatTheyInsert) {
  const std::vector<std::string> given = {"x > 0"}, proving = {"x \\ge 1"};
  const TExecuteCase cases[] = {
      {{"NewTempl(e, x \\ge 0)", "ReplaceSource(e)"}, true, {"x \\ge 0"}, proving, ""},
      {{"TakeArg(#0, Source, 0)", "ReplaceSourceTempl(#0 < 5)"}, true, {"x < 5"}, proving, ""},
      {{"TakeArg(#0, Source, 0)", "NewExprTempl(e, #0 > 1)", "InsertProveCond(e, 0)"}, true, given, {"x - 1 > 1", "x \\ge 1"}, "",
       TSection::ProvingConds},
      {{"NewTempl(e, x < 7)", "InsertDataCond(e, 9)"}, true, {"x > 0", "x < 7"}, proving, ""},
      // A goal is never a ground for a new given condition.
      {{"NewTempl(e, x < 7)", "InsertDataCond(e, 0)"}, false, given, proving,
       Framed("InsertDataCond(e, 0)", "A transformation of a proving condition cannot add a given condition."),
       TSection::ProvingConds},
      // The marked condition is followed when an insertion moves it.
      {{"NewTempl(e, x < 7)", "InsertDataCond(e, 0)", "NewTempl(f, x \\ge 0)", "ReplaceSource(f)"}, true,
       {"x < 7", "x \\ge 0"}, proving, ""},
      {{"NewTempl(e, x < 7)", "InsertDataCond(e, SourceNum + 1)", "DeleteDataCond(e)"}, true, given, proving, ""},
      {{"TakeArg(a, Source, 1)", "NewExpr(t, number, 3)", "Substitute(e, Source, a, t)", "ReplaceSource(e)"}, true,
       {"x > 3"}, proving, ""},
      {{"TakeArg(a, Source, 0)", "NewExpr(t, number, 5)", "ExprFunc2(e, <, a, t)", "ReplaceSource(e)"}, true, {"x < 5"},
       proving, ""},
      {{"ExprFunc1(e, \\not, Source)", "ReplaceSource(e)"}, true, {"\\not x > 0"}, proving, ""},
      {{"NegativeExpr(e, Source)", "ReplaceSource(e)"}, true, {"\\not x > 0"}, proving, ""},
      // A type set by hand decides nothing: the condition is typed again.
      {{"SetExprType(Source, nT)", "TakeArg(a, Source, 0)", "SetExprType(a, lT)", "ReplaceSource(Source)"}, true, given,
       proving, ""},
      {{"NewExpr(e, intr, \\true)", "ReplaceSource(e)", "ClearExprType(e)"}, true, {"\\true"}, proving, ""},
      {{}, true, given, proving, ""},
      {{"Return(true)"}, false, given, proving, Framed("Return(true)", "In executable part Return is encountered")},
      {{"DeleteDataCond(Source)"}, false, given, proving,
       Framed("DeleteDataCond(Source)", "Condition Source was not inserted by this transformation and can not be deleted.")},
      {{"NewTempl(e, x < 7)", "DeleteDataCond(e)"}, false, given, proving,
       Framed("DeleteDataCond(e)", "There is no expression e in the prove field.")},
      {{"TakeArg(a, Source, 0)", "TakeVar(v, a)", "SetVarType(v, nT)"}, false, given, proving,
       Framed("SetVarType(v, nT)", "Variable v belongs to the proof field; a transformation can not change it.")},
      {{"TakeArg(a, Source, 0)", "TakeVar(v, a)", "DeleteDataVar(v)"}, false, given, proving,
       Framed("DeleteDataVar(v)", "Variable v belongs to the proof field; a transformation can not change it.")},
      {{"TakeVarFromList(v, DataVarsL, 0)", "NewList(l)", "NewVar2(w, y, rT)", "SetFuncType(v, l, w)"}, false, given, proving,
       Framed("SetFuncType(v, l, w)", "Variable v belongs to the proof field; a transformation can not change it.")},
      {{"NewVar2(v, z, nT)", "SetVarType(v, rT)", "DeleteProveVar(v)"}, false, given, proving,
       Framed("DeleteProveVar(v)", "There is no variable v in the prove field.")},
      {{"DeleteDataVars(Source)"}, false, given, proving,
       Framed("DeleteDataVars(Source)", "Command DeleteDataVars can not delete objects of the proof field.")},
      {{"EqualFunctions"}, false, given, proving,
       Framed("EqualFunctions", "Command EqualFunctions is not carried out: its effect on the proof field can not be checked.")},
      {{"SetMethodPrior(Source, 1)"}, false, given, proving,
       Framed("SetMethodPrior(Source, 1)",
              "Command SetMethodPrior is not carried out: its effect on the proof field can not be checked.")},
      // A reference to a variable the run made would dangle in the field.
      {{"TakeArg(a, Source, 0)", "TakeVar(v, a)", "NewVar2(z, z, rT)", "OneVarChange(Source, data_var, z, data_var, v)",
        "ReplaceSource(Source)"},
       false, given, proving, Framed("ReplaceSource(Source)", "The expression refers to an object that is not in the proof field.")},
      {{"NewExpr(p, templ_par, 0)", "NewExpr(t, number, 1)", "ExprFunc2(e, >, p, t)", "ReplaceSource(e)"}, false, given, proving,
       Framed("ReplaceSource(e)", "The expression refers to an object that is not in the proof field.")},
      {{"NewTempl(e, z > 0)", "ReplaceSource(e)"}, false, given, proving,
       Framed("ReplaceSource(e)", "The expression refers to an object that is not in the proof field.")},
      {{"TakeArg(a, Source, 0)", "ReplaceSource(a)"}, false, given, proving,
       Framed("ReplaceSource(a)", "The expression is not a logical formula.")},
      {{"ConsiderEqMax"}, false, given, proving, Framed("ConsiderEqMax", "Error 1 in ConsiderEqExtr_Oper (AssotPr).")},
      {{"ConsiderNotEqMin"}, false, given, proving, Framed("ConsiderNotEqMin", "Error 1 in ConsiderEqExtr_Oper (AssotPr).")},
      {{"IneqExtrEnum"}, false, given, proving, Framed("IneqExtrEnum", "Error 1  in IneqExtrEnum (AssotPr).")},
      {{"FloorDefinition"}, false, given, proving,
       Framed("FloorDefinition", "Function FloorDefinition: the condition has no integer part.")},
      {{"NewTempl(e, x < 2)", "InsertDataCond(e, 0)", "TakeDataCond(c, 0)", "AssignBool(s, ExprIntr(c, >))", "if (s)",
        "ReplaceSource(c)", "endif"},
       true, {"x < 2", "x < 2"}, proving, ""},
      {{"AssignInt(n, 0)", "L:", "goto L"}, false, given, proving,
       Framed("goto L", "The assosiated transformation has run more than 100000 lines and is stopped.")},
      // So does nesting one without end.
      {{"AssignExpr(e, Source)", "L:", "ExprFunc1(e, \\not, e)", "goto L"}, false, given, proving,
       Framed("ExprFunc1(e, \\not, e)", "The expression is too large for an assosiated transformation.")},
      // Doubling an expression line by line meets the size limit, not the memory's.
      {{"AssignExpr(e, Source)", "L:", "ExprFunc2(e, \\and, e, e)", "goto L"}, false, given, proving,
       Framed("ExprFunc2(e, \\and, e, e)", "The expression is too large for an assosiated transformation.")},
  };
  for (const TExecuteCase& c : cases) {
    messages.Clear();
    const auto field = Field(given, proving);
    EXPECT_EQ(Execute(c.Lines, *field, c.Section), c.Expected) << (c.Lines.empty() ? "" : c.Lines.back());
    const std::vector<std::string> errors = Errors();
    if (c.Error.empty()) EXPECT_TRUE(errors.empty()) << (errors.empty() ? "" : errors.back());
    else EXPECT_EQ(errors, std::vector<std::string>{c.Error});
    EXPECT_EQ(Print(*field), Print(*Field(c.Given, c.Proving))) << (c.Lines.empty() ? "" : c.Lines.back());
  }
}

TEST_F(AssotRunTest, AConditionOutsideItsSectionIsNotRun) {
  const auto field = Field({"x > 0"}, {"x \\ge 1"});
  EXPECT_FALSE(Execute({"NewTempl(e, x \\ge 0)", "ReplaceSource(e)"}, *field, TSection::GivenConds, 1));
  EXPECT_FALSE(Test({"Return(true)"}, *field, TSection::ProvingConds, 1));
  EXPECT_EQ(Errors(), (std::vector<std::string>{"The assosiated transformation is applied to unexisting condition of section 2.",
                                                "The assosiated transformation is applied to unexisting condition of section 4."}));
  // A test part that is present but holds no line is no answer.
  messages.Clear();
  EXPECT_FALSE(Test({}, *field));
  EXPECT_EQ(Errors(), std::vector<std::string>{"The command list of the assosiated transformation is empty."});
  // Without a test part a transformation is always offered.
  TAssot untested;
  EXPECT_TRUE(assot.TestAssot(untested, *field, TSection::GivenConds, 0));
}

TEST_F(AssotRunTest, EveryChangingCommandIsRefusedInTheTestPart) {
  const std::vector<std::string> changing = {
      "ReplaceSource(Source)", "ReplaceSourceTempl(x > 1)", "InsertDataCond(Source, 0)", "InsertProveCond(Source, 0)",
      "DeleteDataCond(Source)", "DeleteProveCond(Source)", "DeleteDataVars(Source)", "DeleteDataVar(v)",
      "DeleteProveVar(v)", "SetMethodPrior(Source, 1)", "ConsiderEqMax", "ConsiderEqMin", "ConsiderNotEqMax",
      "ConsiderNotEqMin", "IneqExtrEnum", "SimpleEqv", "FloorDefinition", "oSmallDefinition(Source)",
      "ParamExprSubstitute(true)", "EqualFunctions"};
  for (const std::string& line : changing) {
    messages.Clear();
    const auto field = Field({"x > 0", "x = 1"}, {"x \\ge 1"});
    const std::string before = Print(*field);
    EXPECT_FALSE(Test({line, "Return(true)"}, *field)) << line;
    const std::string word = line.substr(0, line.find('('));
    const std::string message = word.starts_with("ReplaceSource")
                                    ? "Function " + word + " is encountered in testing part."
                                    : "Command " + word + " changes the proof field and is not allowed in the testing part.";
    EXPECT_EQ(Errors(), std::vector<std::string>{Framed(line, message)});
    EXPECT_EQ(Print(*field), before) << line;
  }
}

TEST_F(AssotRunTest, SimpleEquivalenceDecidesOnlyWhatExactComputationDecides) {
  raw = true;
  struct TCase {
    const char* Condition;
    std::optional<bool> Decision;
    const char* Report;
  };
  const TCase cases[] = {
      {"x + 1 > x", true, "The inequality is valid"},
      {"x + x = 2 \\cdot x", true, "The equality is valid"},
      {"x \\cdot 0 = 1", false, "The equality is not valid"},
      {"2 < 1", false, "The inequality is not valid"},
      {"x > 0", std::nullopt, nullptr},
      // Undefined where x = 1: never decided.
      {"1 / ( x - x ) = 0", std::nullopt, nullptr},
  };
  for (const TCase& c : cases) {
    messages.Clear();
    const auto field = Field({c.Condition}, {});
    EXPECT_EQ(Test({"TestSimpleEqv"}, *field), c.Decision.value_or(false)) << c.Condition;
    EXPECT_TRUE(Errors().empty()) << c.Condition;
    const std::string before = Print(*field);
    EXPECT_EQ(Execute({"SimpleEqv"}, *field), c.Decision.has_value()) << c.Condition;
    if (c.Decision) {
      EXPECT_EQ(Infos(), std::vector<std::string>{c.Report}) << c.Condition;
      raw = false;
      EXPECT_EQ(Print(*field), Print(*Field({*c.Decision ? "\\true" : "\\false"}, {}))) << c.Condition;
      raw = true;
    } else {
      EXPECT_EQ(Errors(), std::vector<std::string>{Framed("SimpleEqv", "Unable to decide the condition by computation.")});
      EXPECT_EQ(Print(*field), before) << c.Condition;
    }
  }
}

TEST_F(AssotRunTest, TheIntegerPartIsUnfoldedByItsDefinition) {
  auto field = Field({"0 = [ x ]"}, {});
  ASSERT_TRUE(Execute({"FloorDefinition"}, *field)) << (Errors().empty() ? "" : Errors().back());
  EXPECT_EQ(Print(*field), Print(*Field({"0 \\in \\Z \\and 0 \\le x \\and x < 0 + 1"}, {})));
  field = Field({"x > 0"}, {"[ x ] \\ge 0"});
  ASSERT_TRUE(Execute({"FloorDefinition"}, *field, TSection::ProvingConds)) << (Errors().empty() ? "" : Errors().back());
  EXPECT_EQ(Print(*field), Print(*Field({"x > 0", "[ x ] \\le x \\and x < [ x ] + 1"}, {"[ x ] \\ge 0"})));
}

TEST_F(AssotRunTest, TheNamedValuesOfOneRunAreGoneInTheNext) {
  const auto field = Field({"x > 0"}, {});
  EXPECT_TRUE(Test({"AssignBool(b, true)", "Return(b)"}, *field));
  EXPECT_FALSE(Test({"Return(b)"}, *field));
  EXPECT_EQ(Errors(), std::vector<std::string>{Framed("Return(b)", "Wrong simple bool expression: b")});
}

TEST_F(AssotRunTest, ArbitraryLinesNeverCrash) {
  const std::vector<std::string> lines = {
      "TakeArg(,,)", "TakeArg(a,Source,0", "if ()", "if (()", "goto", "goto  ", "Return(((", "Return())",
      "AssignInt(n, ArgNum(ArgNum(Source)))", "AssignInt(n, 99999999999)", "AssignBool(b, ! )", "AssignBool(b, 1 == )",
      "NewExpr(e, bogus, 1)", "NewExpr(e, compound, NULL)", "TakeArg(a, e, 0)", "ExprFunc1(e, \\nothing, Source)",
      "TemplateSubstitute(e, Source, Source, Source)", "OneVarChange(Source, intr, v, loc_var, v)",
      "FindObjPtr(Source, bogus, l)", "NewList(l)", "FindObjPtr(Source, data_var, l)", "TakeVarFromList(v, l, 0)",
      "VarsRename(Source, l, l, l)", "ReplaceSource(Source)", "NewParamL(Source)", "NewParamL(Source)",
      "TakeSetElementType(t, t)", "NewVar2(v, 1, nT)", "NewVar2(v, x, noT)", "AddToList(l, nothing)",
      "DeleteFromList(l, 5)", "ClearList(DataVarsL)", "DeleteList(l)", "ListCount(l)"};
  for (const std::string& line : lines)
    for (const bool test : {true, false}) {
      const auto field = Field({"x > 0"}, {"x \\ge 1"});
      const std::vector<std::string> part = {"NewList(l)", "TakeArg(a, Source, 0)", "TakeVar(v, a)", line, line};
      if (test) {
        // No Return: every test run fails, with a message.
        EXPECT_FALSE(Test(part, *field)) << line;
        EXPECT_FALSE(Errors().empty()) << line;
      } else if (!Execute(part, *field)) {
        EXPECT_FALSE(Errors().empty()) << line;
      }
      messages.Clear();
    }
}

TEST_F(AssotRunTest, ExtremaOfEnumerationsAreUnfolded) {
  struct TCase {
    const char* Line;
    const char* Condition;
    const char* Result;
  };
  const TCase cases[] = {
      {"IneqExtrEnum", "x > \\max ( { 1 , 2 } )", "x > 1 \\and x > 2"},
      {"IneqExtrEnum", "x < \\max ( { 1 , 2 } )", "x < 1 \\or x < 2"},
      {"IneqExtrEnum", "\\min ( { 1 , 2 } ) < x", "x > 1 \\or x > 2"},
      {"IneqExtrEnum", "x \\le \\min ( { 1 , 2 , 3 } )", "x \\le 1 \\and x \\le 2 \\and x \\le 3"},
      {"ConsiderEqMax", "x = \\max ( { 1 , 2 } )", "( \\forall x0 \\in { 1 , 2 } \\Vld x \\ge x0 ) \\and x \\in { 1 , 2 }"},
      {"ConsiderEqMin", "\\min ( { 1 , 2 } ) = x", "( \\forall x0 \\in { 1 , 2 } \\Vld x \\le x0 ) \\and x \\in { 1 , 2 }"},
      {"ConsiderNotEqMax", "\\not x = \\max ( { 1 , 2 } )",
       "\\not ( ( \\forall x0 \\in { 1 , 2 } \\Vld x \\ge x0 ) \\and x \\in { 1 , 2 } )"},
  };
  raw = true;
  for (const TCase& c : cases) {
    messages.Clear();
    const auto field = Field({c.Condition}, {});
    EXPECT_TRUE(Execute({c.Line}, *field)) << c.Condition << ": " << (Errors().empty() ? "" : Errors().back());
    raw = false;
    EXPECT_EQ(Print(*field), Print(*Field({c.Result}, {}))) << c.Condition;
    raw = true;
  }
}

TEST_F(AssotRunTest, ArithmTransfIsTheFourthChapterSwitch) {
  const auto field = Field({"x > 0"}, {});
  EXPECT_TRUE(Test({"Return(ArithmTransf)"}, *field));
  context.Settings.ChapterSwitch[3] = false;
  EXPECT_FALSE(Test({"Return(ArithmTransf)"}, *field));
  context.Settings.ChapterSwitch = {false, false, false, true};
  EXPECT_TRUE(Test({"Return(ArithmTransf)"}, *field));
  EXPECT_TRUE(Errors().empty());
}

TEST_F(AssotRunTest, ATemplateTheKernelCannotReadFailsItsCommand) {
  for (const auto& [line, message] :
       {std::pair{"ReplaceSourceTempl(#0 > >)", "Error in function ReplaceSourceTempl_Oper."},
        std::pair{"NewExprTempl(e, #0 > >)", "Error in function NewExprTempl_Oper."}}) {
    messages.Clear();
    const auto field = Field({"x > 0"}, {});
    const std::string before = Print(*field);
    EXPECT_FALSE(Execute({"TakeArg(#0, Source, 0)", line}, *field)) << line;
    ASSERT_FALSE(Errors().empty());
    EXPECT_EQ(Errors().back(), Framed(line, message));
    EXPECT_EQ(Print(*field), before);
  }
}

}  // namespace
}  // namespace lemmix
