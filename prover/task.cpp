#include "prover/task.h"

#include "book/part.h"
#include "book/statement.h"
#include "book/statement_kind.h"
#include "expr/typing.h"
#include "intrinsics/intr_numbers.h"
#include "notation/parser.h"
#include "prover/definition_task.h"
#include "prover/method.h"
#include "prover/terminal.h"
#include "prover/needed.h"
#include "prover/tests.h"
#include "book/search.h"
#include "intrinsics/intr.h"
#include "shell/text.h"
#include "types/types_proccess.h"
#include "shell/context.h"
#include "shell/cp1251.h"
#include "types/type.h"

namespace lemmix {

TExprPtr ReadProverTerm(const TKernel& kernel, std::string_view text) {
  TExprPtr e = TextToTree(text);
  if (!e || !VarsInput(*e, kernel.GivenObjects, kernel.RequiredObjects, false) || ExprType(*e, true) == nullptr) return nullptr;
  return e;
}

TExprPtr ReadProverFormula(const TKernel& kernel, std::string_view text) {
  TExprPtr e = ReadProverTerm(kernel, text);
  if (!e) return nullptr;
  if (e->Type->Name != "lT") {
    Ctx().Messages.Error({"Доказываемое выражение не является логическим."_cp, "The type of the proving expression is not boolean."});
    return nullptr;
  }
  return e;
}

namespace {

// The body of ∀ with its bound variables as given objects of the kernel.
TExprPtr OpenOutermost(TKernel& kernel, const TExpr& formulation) {
  if (formulation.HeadIntrinsic() != kForall || !formulation.Bound || formulation.Children().size() != 2)
    return DeepCopy(formulation);
  TExprPtr body = DeepCopy(*formulation.Children()[1]);
  for (const TVarPtr& bound : *formulation.Bound) {
    TVar& object = kernel.AddObject(std::make_shared<TVar>(TVar{bound->Name, bound->Type}), false);
    std::function<void(TExpr&)> point = [&](TExpr& n) {
      if (n.Class == TClass::LocVar && n.Var() == bound.get()) {
        n.Class = TClass::DataVar;
        n.Data = &object;
      }
      if (n.Class == TClass::Compound)
        for (TExprPtr& child : n.Children()) point(*child);
    };
    point(*body);
  }
  Retype(*body, false);
  return body;
}

}  // namespace

TTask OrdinaryTask(const TExpr& formulation) {
  TTask task;
  task.Kernel = std::make_unique<TKernel>();
  TKernel& kernel = *task.Kernel;
  kernel.Root = 1;
  const TExprPtr goal = OpenOutermost(kernel, formulation);
  TExprList needed;
  if (!goal || !NeededConditionsOf(*goal, needed, kernel, true)) return task;
  for (const TExprPtr& n : needed)
    if (!kernel.AddProvingCond(*n, 0)) return task;
  if (!kernel.AddProvingCond(*goal, 0)) return task;
  task.GoesOn = TestConditions(kernel);
  return task;
}

TDefinedNotions DefinedBefore(const TBook& book, const TStatement& statement) {
  TDefinedNotions defined;
  for (const std::string& field : DefinedNotions(book, &statement)) {
    const TIntr* notion = NotionOfField(field);
    const std::size_t open = field.find('(');
    const std::size_t close = field.rfind(')');
    if (notion == nullptr || open == std::string::npos || close == std::string::npos || close <= open) continue;
    std::string_view ids = std::string_view(field).substr(open + 1, close - open - 1);
    for (std::size_t comma; !ids.empty(); ids = comma == std::string_view::npos ? "" : ids.substr(comma + 1)) {
      comma = ids.find(',');
      if (const TType* type = Ctx().TypesProccess->ReadType(Trim(ids.substr(0, comma)), false)) defined.Add(*notion, type);
    }
  }
  return defined;
}

TTask BuildTask(const TStatement& statement, const TBook& book, const TMethodsOfProof& methods,
                const TDeepMethodsOfProof& deepMethods) {
  Ctx().Settings.SetChapterSwitches(statement.Path);
  const TDefinedNotions defined = DefinedBefore(book, statement);
  TProofSetup setup;
  setup.Defined = &defined;
  setup.Methods = methods;
  setup.Terminal = TerminalTest;
  setup.DeepMethods = deepMethods;
  const TProofSetupScope scope(setup);
  const std::string& kind = statement.Kind();
  if (kind == kStatementKindWords[kDefinitionKind]) {
    const std::string field(Trim(statement.Lines[kNotionLine]));
    const TIntr* notion = NotionOfField(field);
    if (notion == nullptr) {
      TTask task;
      task.Kernel = std::make_unique<TKernel>();
      task.Kernel->Root = 1;
      return task;
    }
    return CorrectnessTask(statement.Lines[kFormulationLine], field,
                           FormulationsWithNotion(book, &statement, "\\" + std::to_string(notion->Number) + "("));
  }
  if (kind == kStatementKindWords[kMethodKind]) return MethodCorrectnessTask(statement);
  TKernel empty;
  const TExprPtr formulation = ReadProverFormula(empty, statement.Lines[kFormulationLine]);
  if (!formulation) {
    TTask task;
    task.Kernel = std::make_unique<TKernel>();
    task.Kernel->Root = 1;
    return task;
  }
  return OrdinaryTask(*formulation);
}

}  // namespace lemmix
