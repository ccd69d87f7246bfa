// One run of a transformation script (the test or the execution part of an
// associated transformation) against one condition of the proof field.
//
// Everything a run works on is its own: the condition and every other
// expression taken from the field are deep copies kept in the run's arena,
// and variables it creates live there too. The field is read through a const
// reference; an execution run also has a writable one and changes the field
// only by replacing the marked condition and inserting conditions, each made
// by TKernel::MakeCond.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "expr/expr.h"
#include "prover/kernel.h"
#include "shell/message.h"

namespace lemmix {

struct TAssot;
struct TScriptPlace;
class TStFunc;

namespace assot {

// The kinds of named values, in their stored numbering.
enum class TKind : int { Expr = 0, List = 1, Var = 2, Type = 3, Int = 4, Bool = 5 };

// A list holds expressions or variables.
using TItem = std::variant<TExpr*, TVar*>;
using TList = std::vector<TItem>;

struct TNamed {
  TKind Kind = TKind::Expr;
  TExpr* Expr = nullptr;
  std::shared_ptr<TList> List;
  TVar* Var = nullptr;
  TType* Type = nullptr;
  std::int32_t Int = 0;
  bool Bool = false;
};

inline TNamed NamedExpr(TExpr* e) { TNamed n; n.Kind = TKind::Expr; n.Expr = e; return n; }
inline TNamed NamedList(std::shared_ptr<TList> l) { TNamed n; n.Kind = TKind::List; n.List = std::move(l); return n; }
inline TNamed NamedVar(TVar* v) { TNamed n; n.Kind = TKind::Var; n.Var = v; return n; }
inline TNamed NamedType(TType* t) { TNamed n; n.Kind = TKind::Type; n.Type = t; return n; }
inline TNamed NamedInt(std::int32_t i) { TNamed n; n.Kind = TKind::Int; n.Int = i; return n; }
inline TNamed NamedBool(bool b) { TNamed n; n.Kind = TKind::Bool; n.Bool = b; return n; }

// Executed lines after which a run is stopped: scripts may loop by "goto".
inline constexpr int kMaxSteps = 100000;
// Nodes one expression of a run may have, and all of them together: a
// script that doubles an expression line by line must not exhaust memory.
inline constexpr int kMaxTreeNodes = 50000;
inline constexpr long kMaxRunNodes = 2000000;
// Nesting an expression of a run may reach: trees are copied and freed recursively.
inline constexpr int kMaxTreeDepth = 1000;

class TRun {
 public:
  // `edit` is the same kernel as `field`, writable, for an execution run;
  // null for a test run.
  TRun(const TAssot& assot, const TKernel& field, TKernel* edit, TSection section, std::size_t index,
       IMessages& messages, const TStFunc& stFunc, const TScriptPlace& place);
  TRun(const TRun&) = delete;
  TRun& operator=(const TRun&) = delete;

  // Runs the part; a test run answers the value of its Return.
  bool Run(const std::vector<std::string>& lines);

 private:
  using TArgs = std::vector<std::string>;
  using THandler = bool (TRun::*)(const TArgs&);
  struct TCommand {
    THandler Handler;
    int Count;           // arguments; -1 none (the command is the whole line)
    bool ChangesField;   // refused in the test part
    bool TextLast;       // the last argument is formula text, taken whole
  };
  static const std::map<std::string, TCommand, std::less<>>& Commands();

  // Failure: the first message of the line is kept; answers false.
  bool Fail(const std::string& rus, const std::string& eng);
  bool Fail(const TMessage& m) { return Fail(m.Rus, m.Eng); }
  void ShowFrame(const std::string& line) const;
  bool Step(const std::vector<std::string>& lines, std::size_t& pc);
  bool SkipToElseOrEndif(const std::vector<std::string>& lines, std::size_t& pc, bool acceptElse);

  // The arguments of "Name(a, b, ...)": `count` pieces split at commas
  // outside brackets; with `textLast`, the last one is the rest of the text.
  std::optional<TArgs> Arguments(std::string_view line, std::size_t nameLength, int count, bool textLast);

  // Named values.
  bool Bind(const std::string& name, TNamed value);
  const TNamed* Find(const std::string& name) const { const auto it = names_.find(name); return it == names_.end() ? nullptr : &it->second; }
  TExpr* ExprNamed(const std::string& name);
  std::shared_ptr<TList> ListNamed(const std::string& name);
  // A list the script bound itself (the reserved ones cannot be changed).
  TList* OwnList(const std::string& name);
  TVar* VarNamed(const std::string& name);
  TType* TypeNamed(const std::string& name);
  // A bound type or a catalogue type identifier; no message.
  TType* AnyType(const std::string& name) const;

  // Integer and boolean expressions.
  std::optional<std::int32_t> IntExpr(std::string_view text);
  std::optional<std::int32_t> IntTerm(const std::string& term);
  std::optional<bool> BoolExpr(std::string_view text);
  std::optional<bool> BoolFunction(const std::string& name, const std::string& whole);
  std::optional<bool> SimpleBool(const std::string& text);

  // The run's own trees and variables.
  TExpr* Adopt(TExprPtr e);
  void Register(TExpr& e);
  bool Own(const TVar& v) const { return own_.contains(&v); }
  bool RequireOwn(const TVar& v, const std::string& name);
  TVarPtr SharedVar(TVar& v) const;

  // The field.
  const TCondList& SourceSection() const { return proving_ ? field_.ProvingConds : field_.GivenConds; }
  std::optional<std::size_t> SourcePosition() const;
  const TExpr& SourceCondition() const;
  // Whether every variable of e is an object of the field or bound in e, and
  // template parameters stand only inside templates.
  bool RefersOnlyToField(const TExpr& e, std::vector<const TVar*>& bound, int templateDepth = 0) const;
  // The formula as a condition of the field: references checked, typed
  // again, made by the kernel. Null after a message.
  TCondPtr MakeCondition(const TExpr& e);
  bool ReplaceSourceBy(const TExpr& e);
  bool InsertCondition(const TExpr& e, bool proving, std::int32_t position);
  TExprPtr Instantiate(std::string_view text, const std::vector<const TExpr*>& parameters);
  // The template parameters #0, #1 ...; nothing after a message.
  std::optional<std::vector<const TExpr*>> TemplateParameters();

  // Commands (assot_commands.cpp).
  bool TakeArg(const TArgs& a);
  bool TakeExprType(const TArgs& a);
  bool TakeSetElementType(const TArgs& a);
  bool TakeProveCond(const TArgs& a);
  bool TakeDataCond(const TArgs& a);
  bool TakeCond(const TArgs& a, bool proving);
  bool TakeParamVar(const TArgs& a);
  bool TakeVar(const TArgs& a);
  bool TakeVarFromList(const TArgs& a);
  bool DeleteFromList(const TArgs& a);
  bool ReplaceSourceTempl(const TArgs& a);
  bool ReplaceSource(const TArgs& a);
  bool SetFuncType(const TArgs& a);
  bool DeleteExpr(const TArgs& a);
  bool DeleteProveCond(const TArgs& a);
  bool DeleteDataCond(const TArgs& a);
  bool DeleteCond(const TArgs& a, bool proving);
  bool DeleteDataVars(const TArgs& a);
  bool DeleteProveVar(const TArgs& a);
  bool DeleteDataVar(const TArgs& a);
  bool DeleteObject(const TArgs& a, bool required);
  bool DeleteVar(const TArgs& a);
  bool DeleteList(const TArgs& a);
  bool ClearList(const TArgs& a);
  bool NewTempl(const TArgs& a);
  bool NewExprTempl(const TArgs& a);
  bool NewExpr(const TArgs& a);
  bool NewList(const TArgs& a);
  bool NewParamL(const TArgs& a);
  bool NewVar1(const TArgs& a);
  bool NewVar2(const TArgs& a);
  bool InsertProveCond(const TArgs& a);
  bool InsertDataCond(const TArgs& a);
  bool ExprFunc1(const TArgs& a);
  bool ExprFunc2(const TArgs& a);
  bool NegativeExpr(const TArgs& a);
  bool Substitute(const TArgs& a);
  bool TemplateSubstitute(const TArgs& a);
  bool DetectExprType(const TArgs& a);
  bool ClearExprType(const TArgs& a);
  bool SetExprType(const TArgs& a);
  bool SetVarType(const TArgs& a);
  bool SetMethodPrior(const TArgs& a);
  bool OneVarChange(const TArgs& a);
  bool FindObjPtr(const TArgs& a);
  bool VarsRename(const TArgs& a);
  bool AssignInt(const TArgs& a);
  bool AssignBool(const TArgs& a);
  bool AssignList(const TArgs& a);
  bool AssignExpr(const TArgs& a);
  bool AddToList(const TArgs& a);
  bool ConsiderEqMax(const TArgs& a);
  bool ConsiderEqMin(const TArgs& a);
  bool ConsiderNotEqMax(const TArgs& a);
  bool ConsiderNotEqMin(const TArgs& a);
  bool ConsiderExtremum(bool maximum, bool negated);
  bool IneqExtrEnum(const TArgs& a);
  bool TestSimpleEqv(const TArgs& a);
  bool SimpleEqv(const TArgs& a);
  bool FloorDefinition(const TArgs& a);
  bool Unsupported(const TArgs& a);
  bool Return(const TArgs& a);

  // The decision of the marked relation by exact computation: nothing when
  // it is no relation or is not decided.
  std::optional<bool> DecideSource() const;

  const TAssot& assot_;
  const TKernel& field_;
  TKernel* edit_;
  const bool proving_;
  const TCond* sourceCond_ = nullptr;
  IMessages& messages_;
  const TStFunc& stFunc_;
  const TScriptPlace& place_;

  std::string command_;  // the word of the line being run
  std::optional<TMessage> error_;
  std::optional<bool> returned_;
  TExpr* source_ = nullptr;
  std::map<std::string, TNamed, std::less<>> names_;
  std::vector<TExprPtr> trees_;
  long nodes_ = 0;
  std::vector<TVarPtr> vars_;
  std::map<const TVar*, TVarPtr> own_;
  std::set<const TCond*> inserted_;
};

}  // namespace assot
}  // namespace lemmix
