#include "proofrun/driver.h"

#include <algorithm>
#include <array>
#include <set>

#include "book/html_links.h"
#include "book/part.h"
#include "book/search.h"
#include "book/statement.h"
#include "expr/info_sink.h"
#include "expr/logic.h"
#include "intrinsics/intr_numbers.h"
#include "notation/output.h"
#include "proofrun/assot.h"
#include "proofrun/proof_ui.h"
#include "proofrun/protocol.h"
#include "proofrun/protocol_keywords.h"
#include "prover/actions.h"
#include "prover/define.h"
#include "prover/marked.h"
#include "prover/task.h"
#include "prover/terminal.h"
#include "shell/context.h"
#include "shell/cp1251.h"
#include "shell/text.h"

namespace lemmix {

namespace {

// What a finished subproof lets its parent do next.
enum TNext : int {
  kNextNone = 0,
  kNextObligation = 1,  // the next obligation, then the completion
  kNextCase = 2,        // the next case; after the last the parent is proved
  kNextAssumed = 3,     // a conjecture: proved under it, now it is the goal
  kNextBase = 4,        // the induction step follows its base
  kNextStep = 5,        // the induction is done
};

std::string Keyword(int index) { return std::string(kProtocolKeywords[static_cast<std::size_t>(index)]); }

std::string Text(const TExpr& e) { return TreeToText(e, false, false).value_or("?"); }

std::string SectionWord(TSection section) {
  return Keyword(section == TSection::ProvingConds ? kOfSection4 : kOfSection2);
}

}  // namespace

// What an action under way on a proof field has yet to do.
struct TProofDriver::TPlan {
  enum TKind { None, Action, Cases, Induction };
  TKind Kind = None;
  TExprList Obligations;
  int ObligationCaption = kTestConditions;
  TExprList CaseList;
  int CaseCaption = kCaseConsideration;
  const TVar* Variable = nullptr;  // of an induction
  TExprPtr Initial;
  std::vector<const TVar*> Nonstationary;

  TPlan Copy() const {
    TPlan copy;
    copy.Kind = Kind;
    copy.Obligations = DeepCopyList(Obligations);
    copy.ObligationCaption = ObligationCaption;
    copy.CaseList = DeepCopyList(CaseList);
    copy.CaseCaption = CaseCaption;
    copy.Variable = Variable;
    copy.Initial = Initial ? DeepCopy(*Initial) : nullptr;
    copy.Nonstationary = Nonstationary;
    return copy;
  }
};

struct TProofDriver::TLevel {
  std::unique_ptr<TKernel> Kernel;
  int Caption = kNoCaption;
  // Set on a subproof: what its parent does when it succeeds, and which part it proves.
  int Next = kNextNone;
  int Index = 0;
  // The subproof the proof field belongs to (0: the main proof).
  int Subproof = 0;
  TPlan Plan;

  std::unique_ptr<TLevel> Copy() const {
    auto copy = std::make_unique<TLevel>();
    copy->Kernel = Kernel->Copy({.Pending = true, .Postponed = true, .Goal = true});
    copy->Kernel->Proved = Kernel->Proved;
    copy->Caption = Caption;
    copy->Next = Next;
    copy->Index = Index;
    copy->Subproof = Subproof;
    copy->Plan = Plan.Copy();
    return copy;
  }
};

std::string_view DialogCaption(int index, bool russian) {
  static const std::array<std::string, 25> english = {"Define a variable",
                                                      "Input names of sequences to define",
                                                      "Define the first element of sequence ",
                                                      "Define the (i+1) element of sequence ",
                                                      "Consider cases (input condition)",
                                                      "Rename variable ",
                                                      " (input new name)",
                                                      "Prove an auxiliary condition (input the condition)",
                                                      "Conjecture",
                                                      "Multiply (in)equality by a number (input factor)",
                                                      "Input expression to substitute for variable ",
                                                      "Add to (in)equality",
                                                      "Select induction variable",
                                                      " (level ",
                                                      "",
                                                      "induction base",
                                                      "induction step",
                                                      "test conditions",
                                                      "proof of an auxiliary condition",
                                                      "proof under the assumption",
                                                      "proof of the marked condition",
                                                      "case consideration",
                                                      "proof of hypothesis of implication",
                                                      "case analysis",
                                                      "Input initial value of the induction variable"};
  static const std::array<std::string, 25> rus = {"Определить переменную"_cp,
                                                  "Введите имена определяемых последовательностей"_cp,
                                                  "Определите первый член последовательности "_cp,
                                                  "Определите (i+1)-ый член последовательности "_cp,
                                                  "Рассмотреть случай (введите условие)"_cp,
                                                  "Переименование переменной "_cp,
                                                  " (введите новое имя)"_cp,
                                                  "Доказать вспомогательное условие (введите условие)"_cp,
                                                  "Введите гипотезу"_cp,
                                                  "Умножить (не)равенство на число (введите множитель)"_cp,
                                                  "Введите выражение вместо переменной "_cp,
                                                  "Сложить с (не)равенством :"_cp,
                                                  "Выберите переменную индукции"_cp,
                                                  " (уровень "_cp,
                                                  "",
                                                  "база индукции"_cp,
                                                  "шаг индукции"_cp,
                                                  "проверка условий"_cp,
                                                  "доказательство вспомогательного условия"_cp,
                                                  "доказательство при введенном предположении"_cp,
                                                  "доказательство отмеченного условия"_cp,
                                                  "рассмотрение случая"_cp,
                                                  "доказательство посылки импликации"_cp,
                                                  "анализ случая"_cp,
                                                  "Введите начальное значение переменной индукции"_cp};
  if (index < 0 || index >= 25) return "";
  return (russian ? rus : english)[static_cast<std::size_t>(index)];
}

TProofDriver::TProofDriver(IProofUi& ui, TProtocolRecorder& protocol, const TBook& book, const TAssotProccess* assot)
    : ui_(&ui), answers_(std::make_unique<TCanonicalAnswers>(ui)), protocol_(protocol), book_(book), assot_(assot) {}

TProofDriver::~TProofDriver() = default;

IProofUi& TProofDriver::SetUi(IProofUi& ui) {
  IProofUi& previous = *ui_;
  ui_ = &ui;
  answers_ = std::make_unique<TCanonicalAnswers>(ui);
  return previous;
}

const TKernel* TProofDriver::Current() const { return stack_.empty() ? nullptr : stack_.back()->Kernel.get(); }
int TProofDriver::Level() const { return stack_.empty() ? 0 : stack_.back()->Kernel->Level; }
int TProofDriver::Caption() const { return stack_.empty() ? kNoCaption : stack_.back()->Caption; }
TKernel& TProofDriver::Top() { return *stack_.back()->Kernel; }
bool TProofDriver::InductionEnabled() const { return Current() && !InductionCandidates(*Current()).empty(); }

void TProofDriver::Write(const std::string& line) { protocol_.WriteLine(line); }
void TProofDriver::WritePair(const std::string& first, const std::string& second) {
  protocol_.WritePair(first, second);
}

IInfoSink* TProofDriver::InfoSink() {
  if (Ctx().Info != infoSink_) {
    infoSink_ = Ctx().Info;
    infoPath_.clear();
  }
  return Ctx().Commenting ? infoSink_ : nullptr;
}

namespace {
std::string Captioned(const std::string& words, int caption) {
  return caption == kNoCaption ? words : words + " (" + std::string(DialogCaption(caption, true)) + ")";
}
}  // namespace

void TProofDriver::InfoDown(const std::string& line, int subproof) {
  IInfoSink* sink = InfoSink();
  if (sink == nullptr) return;
  sink->Add(line, nullptr);
  sink->GoDown();
  infoPath_.push_back(subproof);
}

void TProofDriver::InfoUp(bool keep) {
  IInfoSink* sink = InfoSink();
  if (sink == nullptr || infoPath_.empty()) return;
  sink->GoUp(keep);
  infoPath_.pop_back();
}

int TProofDriver::NewSubproof(int caption) {
  InfoDown(Captioned("Поддоказательство"_cp, caption), ++subproofs_);
  return subproofs_;
}

std::vector<std::pair<int, int>> TProofDriver::SubproofPath() const {
  // Going down the stack, the first proof field of a lower level is the
  // parent (as LevelExit finds it).
  std::vector<std::pair<int, int>> path;
  int level = Level();
  for (auto it = stack_.rbegin(); it != stack_.rend() && level > 0; ++it) {
    if ((*it)->Kernel->Level > level || (it != stack_.rbegin() && (*it)->Kernel->Level == level)) continue;
    level = (*it)->Kernel->Level;
    if (level > 0) path.emplace_back((*it)->Subproof, (*it)->Caption);
  }
  std::reverse(path.begin(), path.end());
  return path;
}

void TProofDriver::FollowLevels(bool keep) {
  if (InfoSink() == nullptr) return;
  const std::vector<std::pair<int, int>> path = SubproofPath();
  std::size_t common = 0;
  while (common < infoPath_.size() && common < path.size() && infoPath_[common] == path[common].first) ++common;
  while (infoPath_.size() > common) InfoUp(keep);
  // A subproof whose level was left and is current again (a later command
  // failed or was undone) goes on under a line of its own.
  for (std::size_t i = common; i < path.size(); ++i)
    InfoDown(Captioned("Продолжение поддоказательства"_cp, path[i].second), path[i].first);
}

bool TProofDriver::Start(const TStatement& statement, const std::string& journalPath) {
  stack_.clear();
  succeeded_ = false;
  if (Trim(statement.Lines[kEnglishNameLine]).empty()) {
    Ctx().Messages.Error({"Пустое английское название утверждения."_cp, "Empty name of the statement."});
    return false;
  }
  statement_ = &statement;
  // The theorems the course's scripts may rely on: those a statement could apply.
  const std::vector<TStatement*> before = StatementsBefore(book_, statement_);
  scriptPlace_.Before = [this, available = std::set<const TStatement*>(before.begin(), before.end())](
                            std::string_view path) { return available.contains(FindStatementByPath(book_, path)); };
  // The sink starts a new tree with the proof.
  infoSink_ = Ctx().Info;
  infoPath_.clear();
  defined_ = DefinedBefore(book_, statement);
  setup_ = TProofSetup{};
  setup_.Defined = &defined_;
  // The methods before the statement whose correctness was proved; a faulty
  // one stops the registration (with its message) and the proof goes on
  // with those entered before it.
  methods_.Build(book_, &statement, [this](const TStatement& method) {
    return methodProofs_->Proved(book_, method, assot_);
  });
  setup_.Methods = [this](TKernel& kernel, TSection section, int position, int depth) {
    return ApplyAutomaticMethods(methods_, kernel, section, position, depth);
  };
  setup_.Terminal = TerminalTest;
  setup_.DeepMethods = [this](TKernel& kernel, int depth) { return DeepMethodPass(methods_, kernel, depth); };
  Ctx().Settings.SetChapterSwitches(statement.Path);
  protocol_.StartProof(journalPath, Ctx().Settings, statement.Lines[kEnglishNameLine]);
  TTask task = BuildTask(statement, book_, setup_.Methods, setup_.DeepMethods);
  if (!task.GoesOn && !task.Kernel->Proved) {
    protocol_.Close();
    return false;
  }
  auto level = std::make_unique<TLevel>();
  level->Kernel = std::move(task.Kernel);
  stack_.push_back(std::move(level));
  commandStarts_.clear();
  commandBase_ = stack_.size();
  protocol_.PendingMarks = 1;
  Write("");
  if (stack_.back()->Kernel->Proved) {
    const TProofSetupScope scope(setup_);
    LevelExit();
  }
  FollowLevels(false);
  return true;
}

void TProofDriver::PushCopy() {
  // The copy keeps the continuation: every proof field of a subproof
  // continues its parent in the same way.
  stack_.push_back(stack_.back()->Copy());
  ++protocol_.PendingMarks;
}

void TProofDriver::PushSubproof(std::unique_ptr<TKernel> kernel, int caption, int next, int index, int subproof) {
  auto level = std::make_unique<TLevel>();
  level->Kernel = std::move(kernel);
  level->Caption = caption;
  level->Subproof = subproof;
  level->Next = next;
  level->Index = index;
  stack_.push_back(std::move(level));
  ++protocol_.PendingMarks;
  protocol_.Indent = Level();
}

bool TProofDriver::Undo() {
  // The whole last command goes, with every proof field it made; undoing
  // the only proof field ends the proof.
  std::size_t target = 0;
  if (!commandStarts_.empty()) {
    target = commandStarts_.back();
    commandStarts_.pop_back();
  }
  return PopTo(target);
}

bool TProofDriver::RollBack() { return PopTo(commandBase_); }

bool TProofDriver::PopTo(std::size_t size) {
  if (stack_.empty()) return false;
  protocol_.JournalUndo();
  stack_.resize(std::min(size, stack_.size()));
  while (!commandStarts_.empty() && commandStarts_.back() >= stack_.size()) commandStarts_.pop_back();
  FollowLevels(false);
  if (stack_.empty()) return false;
  protocol_.Indent = Level();
  if (!protocol_.FindMark(static_cast<int>(stack_.size()))) {
    Ctx().Messages.Error({"Ошибка при позиционировании в файле протокола. \\n Дальнейшее доказательство невозможно."_cp,
                          "Error in finding position in the protocol file. \\n Proving aborted."});
    stack_.clear();
    FollowLevels(false);
    return false;
  }
  protocol_.PendingMarks = 0;
  protocol_.TruncateAtReadPos();
  return false;
}

template <class Command>
bool TProofDriver::RunCommand(Command&& command) {
  const std::size_t before = stack_.size();
  commandBase_ = before;
  const bool result = command();
  if (stack_.empty())
    commandStarts_.clear();
  else if (stack_.size() > before)
    commandStarts_.push_back(before);
  return result;
}

bool TProofDriver::Result(bool goesOn) {
  if (goesOn) return true;
  if (stack_.back()->Kernel->Proved) return LevelExit();
  RollBack();
  return false;
}

bool TProofDriver::LevelExit() {
  if (stack_.empty()) return false;
  if (!Top().Proved) {
    RollBack();
    return false;
  }
  const int level = Level();
  if (level == 0) {
    Write(Keyword(kSuccessfulEnd));
    succeeded_ = true;
    stack_.clear();
    FollowLevels(true);
    return false;
  }
  const int next = stack_.back()->Next;
  const int index = stack_.back()->Index;
  const int caption = stack_.back()->Caption;
  const bool named = caption != kNoCaption;
  const std::string rus =
      named ? "Поддоказательство ("_cp + std::string(DialogCaption(caption, true)) + ") завершено успешно."_cp
            : "Поддоказательство завершено успешно."_cp;
  const std::string eng =
      named ? "Subproof (" + std::string(DialogCaption(caption, false)) + ") is successfully completed."
            : "Subproof is successfully completed.";
  // The sentence is the last report of the subproof's own level.
  if (IInfoSink* sink = InfoSink()) sink->Add(rus, nullptr);
  Ui().SubproofDone(rus, eng);
  std::size_t parent = stack_.size() - 1;
  while (parent-- > 0)
    if (stack_[parent]->Kernel->Level < level) break;
  if (parent >= stack_.size()) {
    Ctx().Messages.Error({"Ошибка 1 в LevelExit (MainPr.cpp)"_cp, "Error 1 in LevelExit (MainPr.cpp)"});
    stack_.clear();
    FollowLevels(false);
    return false;
  }
  stack_.back() = stack_[parent]->Copy();
  FollowLevels(true);
  protocol_.Indent = Level();
  return Continue(next, index);
}

bool TProofDriver::Continue(int next, int index) {
  switch (next) {
    case kNextObligation:
      return Obligations(static_cast<std::size_t>(index) + 1);
    case kNextCase:
      return OpenCase(static_cast<std::size_t>(index) + 1);
    case kNextAssumed:
      return Result(MakePendingTheGoal(Top()));
    case kNextBase: {
      TPlan& plan = stack_.back()->Plan;
      const int subproof = NewSubproof(kInductionStep);
      std::unique_ptr<TKernel> step = InductionStep(Top(), *plan.Variable, *plan.Initial, plan.Nonstationary);
      if (!step) {
        RollBack();
        return false;
      }
      step->Level = Level() + 1;
      step->Root = 1;
      PushSubproof(std::move(step), kInductionStep, kNextStep, 0, subproof);
      return Top().Proved ? LevelExit() : true;
    }
    case kNextStep:
      Top().Proved = true;
      return LevelExit();
    default:
      Ctx().Messages.Error({"Ошибка 1 в SucTransform (MainPr.cpp)"_cp, "Error 1 in SucTransform (MainPr.cpp)"});
      RollBack();
      return false;
  }
}

bool TProofDriver::Obligations(std::size_t from) {
  TPlan& plan = stack_.back()->Plan;
  if (from >= plan.Obligations.size()) return Complete();
  TExprList goal;
  goal.push_back(DeepCopy(*plan.Obligations[from]));
  const int subproof = NewSubproof(plan.ObligationCaption);
  auto [sub, goesOn] = OpenSubproof(Top(), false, std::move(goal));
  const bool proved = sub->Proved;
  PushSubproof(std::move(sub), plan.ObligationCaption, kNextObligation, static_cast<int>(from), subproof);
  if (proved) return LevelExit();
  if (!goesOn) {
    RollBack();
    return false;
  }
  return true;
}

bool TProofDriver::OpenCase(std::size_t index) {
  TPlan& plan = stack_.back()->Plan;
  if (index >= plan.CaseList.size()) {
    // Every case is proved: so is the goal.
    Top().Proved = true;
    return LevelExit();
  }
  TExprList assumption;
  assumption.push_back(DeepCopy(*plan.CaseList[index]));
  const int subproof = NewSubproof(plan.CaseCaption);
  auto [sub, goesOn] = OpenSubproof(Top(), true, std::move(assumption));
  const bool proved = sub->Proved;
  const int caption = plan.CaseCaption;
  if (index == 0) {
    PushSubproof(std::move(sub), caption, kNextCase, 0, subproof);
  } else {
    // A later case takes the place of the parent's copy its predecessor left.
    auto level = std::make_unique<TLevel>();
    level->Kernel = std::move(sub);
    level->Caption = caption;
    level->Next = kNextCase;
    level->Index = static_cast<int>(index);
    level->Subproof = subproof;
    stack_.back() = std::move(level);
    protocol_.Indent = Level();
  }
  if (proved) return LevelExit();
  if (!goesOn) {
    RollBack();
    return false;
  }
  return true;
}

bool TProofDriver::Complete() {
  TKernel& k = Top();
  TPlan& plan = stack_.back()->Plan;
  if (plan.Kind == TPlan::Induction) {
    const int subproof = NewSubproof(kInductionBase);
    std::unique_ptr<TKernel> base = InductionBase(k, *plan.Variable, *plan.Initial);
    if (!base) {
      RollBack();
      return false;
    }
    base->Level = Level() + 1;
    base->Root = 1;
    const bool proved = base->Proved;
    PushSubproof(std::move(base), kInductionBase, kNextBase, 0, subproof);
    return proved ? LevelExit() : true;
  }
  switch (k.PendingKind) {
    case kCases: {
      std::optional<TExprList> cases = Cases(k);
      if (!cases) {
        RollBack();
        return false;
      }
      plan.CaseList = std::move(*cases);
      plan.CaseCaption = kCaseConsideration;
      return OpenCase(0);
    }
    case kDisjunctionCases: {
      std::optional<TExprList> cases = DisjunctionCases(k);
      if (!cases) {
        RollBack();
        return false;
      }
      plan.CaseList = std::move(*cases);
      plan.CaseCaption = kCaseAnalysis;
      return OpenCase(0);
    }
    case kConjecture: {
      TExprList assumption;
      assumption.push_back(DeepCopy(*k.Pending.front()->Expr));
      const int subproof = NewSubproof(kUnderAssumption);
      auto [sub, goesOn] = OpenSubproof(k, true, std::move(assumption));
      const bool proved = sub->Proved;
      PushSubproof(std::move(sub), kUnderAssumption, kNextAssumed, 0, subproof);
      if (proved) return LevelExit();
      if (!goesOn) {
        RollBack();
        return false;
      }
      return true;
    }
    case kProveCondition:
      return Result(AddPendingToGivens(k));
    case kDefineGiven:
    case kDefineGivenByCases:
      return Result(CompleteDefineGiven(k));
    case kDefineRequired:
    case kDefineRequiredByCases: {
      bool add = true;
      const int setting = Ctx().Settings.DefineProveObject;
      if (CanSubstitute(k)) {
        if (setting == 0) {
          const std::optional<bool> answer = Ui().AddRequiredObject();
          if (!answer) {
            RollBack();
            return false;
          }
          add = *answer;
        } else {
          add = setting == 1;
        }
      }
      Write(Keyword(add ? kRequiredAdded : kRequiredSubstituted));
      return Result(CompleteDefineRequired(k, !add));
    }
    case kRecursive:
      return Result(CompleteRecursive(k));
    case kMultiply:
      return Result(CompleteMultiply(k));
    case kImplication:
      return Result(CompleteConsiderImplication(k));
    case kSubstitute:
      return SubstituteNext();
    default:
      Ctx().Messages.Error({"Ошибка 1 в SucTransform (MainPr.cpp)"_cp, "Error 1 in SucTransform (MainPr.cpp)"});
      RollBack();
      return false;
  }
}

// Asks to prove the obligations first; none: the completion at once.
namespace {
std::vector<std::string> Texts(const TExprList& list) {
  std::vector<std::string> texts;
  for (const TExprPtr& e : list) texts.push_back(Text(*e));
  return texts;
}
}  // namespace

bool TProofDriver::TestFirst(const TExprList& obligations) {
  const bool prove = Ui().ProveFirst(Texts(obligations));
  Write(Keyword(prove ? kTestConditionsRecord : kRefuseTestConditions));
  return prove;
}

bool TProofDriver::Act(TCommand command) {
  if (stack_.empty()) {
    Ctx().Messages.Error({"Ошибка 1 в ProveAct (MainPr.cpp)."_cp, "Error 1 in ProveAct (MainPr.cpp)."});
    return false;
  }
  const TProofSetupScope scope(setup_);
  bool result = false;
  if (command == TCommand::Undo) {
    result = Undo();
  } else {
    bool known = true;
    result = RunCommand([&] {
      switch (command) {
        case TCommand::Define:
          return Define();
        case TCommand::Apply:
          return Apply();
        case TCommand::Cases:
        case TCommand::Auxiliary:
        case TCommand::Conjecture:
          return WithCondition(command);
        case TCommand::Contradiction:
          return Contradiction();
        case TCommand::Induction:
          return Induction();
        default:
          known = false;
          return false;
      }
    });
    if (!known) {
      Ctx().Messages.Error({"Ошибка 2 в ProveAct (MainPr.cpp)"_cp, "Error 2 in ProveAct (MainPr.cpp)"});
      return false;
    }
  }
  FollowLevels(false);
  if (!stack_.empty() || succeeded_) Write("");
  return result;
}

// Starts the obligations of the action just prepared on the pushed copy.
namespace {
bool Cancelled(const std::optional<TExprList>& obligations) { return !obligations; }
}  // namespace

bool TProofDriver::Define() {
  const std::optional<TDefinitionAnswer> answer = Ui().Definition();
  if (!answer || answer->Lines.empty()) return false;
  if (answer->Kind == TDefinitionAnswer::Recursive) return DefineRecursively(answer->Lines);
  PushCopy();
  TObligations obligations;
  if (answer->Kind == TDefinitionAnswer::Simple) {
    Write(Keyword(kDefineVariable) + answer->Lines[0]);
    obligations = PrepareDefine(Top(), answer->Lines[0]);
  } else {
    const std::string& first = answer->Lines[0];
    const std::size_t sign = first.find('=');
    Write(Keyword(kDefineWithConditions) +
          std::string(Trim(first.substr(0, sign == std::string::npos ? first.size() : sign))));
    for (std::size_t i = 0; i < answer->Lines.size(); ++i) {
      const std::string& line = answer->Lines[i];
      const std::size_t at = line.find('=');
      Write(i % 2 == 0 ? Keyword(kValue) + std::string(Trim(at == std::string::npos ? line : line.substr(at + 1)))
                       : Keyword(kCondition) + line);
    }
    Write(Keyword(kEndOfDefinitionWithConditions));
    obligations = PrepareDefineByCases(Top(), answer->Lines);
  }
  if (Cancelled(obligations) || (!obligations->empty() && !TestFirst(*obligations))) {
    RollBack();
    return false;
  }
  stack_.back()->Plan.Kind = TPlan::Action;
  stack_.back()->Plan.Obligations = std::move(*obligations);
  stack_.back()->Plan.ObligationCaption = kTestConditions;
  return Obligations(0);
}

bool TProofDriver::DefineRecursively(const std::vector<std::string>& names) {
  PushCopy();
  Write(Keyword(kRecursiveDefinition) + names[0]);
  if (!PrepareRecursive(Top(), names[0])) {
    RollBack();
    return false;
  }
  while (const std::optional<TRecursiveInput> input = NextRecursiveInput(Top())) {
    const std::optional<std::vector<std::string>> lines = Ui().Element(input->Step ? 3 : 2, input->Name);
    if (!lines || lines->empty()) {
      AbortRecursive(Top());
      Write(Keyword(kAbortRecursiveDefinition));
      RollBack();
      return false;
    }
    if (!AddRecursiveDefinition(Top(), *lines)) continue;  // refused: asked again
    Write(Keyword(input->Step ? kNextElementDefined : kFirstElementDefined) + (*lines)[0]);
    for (std::size_t i = 1; i < lines->size(); ++i) Write(Keyword(i % 2 == 1 ? kCondition : kValue) + (*lines)[i]);
  }
  Write(Keyword(kEndOfRecursiveDefinition));
  return Result(CompleteRecursive(Top()));
}

bool TProofDriver::Apply() {
  const TStatement* chosen = Ui().Statement();
  if (chosen == nullptr) return false;
  // Only what the book has before the statement being proved may be applied.
  const std::vector<TStatement*> before = StatementsBefore(book_, statement_);
  if (std::find(before.begin(), before.end(), chosen) == before.end()) {
    Ctx().Messages.Error({"Применить можно только утверждение, стоящее в книге раньше доказываемого."_cp,
                          "Only a statement that stands before the one being proved can be applied."});
    return false;
  }
  // A method's formulation only tells the reader what it does: the prover
  // knows its rewriting from its data, proved correct, and uses it on a
  // marked condition.
  if (chosen->Kind() == kStatementKindWords[kMethodKind]) {
    Ctx().Messages.Error({"Метод применяется к отмеченному условию, а не как утверждение."_cp,
                          "A method is used on a marked condition, not applied as a statement."});
    return false;
  }
  PushCopy();
  // The record names the statement by its English name in its paragraph's
  // directory, relative to the book.
  std::string path = chosen->Path.substr(0, chosen->Path.rfind('\\'));
  const std::string& root = book_.Path;
  if (path.starts_with(root)) path = path.substr(root.size());
  Write(Keyword(kApplyStatement) + chosen->Lines[kEnglishNameLine] + " (" + path + ")");
  return Result(ApplyStatement(Top(), chosen->Lines[kFormulationLine]));
}

bool TProofDriver::WithCondition(TCommand command) {
  const int caption = command == TCommand::Cases ? 4 : command == TCommand::Auxiliary ? 7 : 8;
  const std::optional<std::string> text = Ui().Formula(caption, "", "");
  if (!text) return false;
  PushCopy();
  Write(Keyword(command == TCommand::Cases       ? kConsiderCase
                : command == TCommand::Auxiliary ? kProveConditionRecord
                                                 : kConjectureRecord) +
        *text);
  const TExprPtr c = ReadProverFormula(Top(), *text);
  TObligations obligations;
  if (c) {
    obligations = command == TCommand::Cases       ? PrepareCases(Top(), *c)
                  : command == TCommand::Auxiliary ? PrepareAuxiliary(Top(), *c)
                                                   : PrepareConjecture(Top(), *c);
  }
  if (!obligations) {
    RollBack();
    return false;
  }
  // The needed conditions are tested first; an auxiliary condition itself is
  // proved last, in a subproof of its own caption.
  const bool confirm = command == TCommand::Auxiliary ? obligations->size() > 1 : !obligations->empty();
  if (confirm && !TestFirst(*obligations)) {
    RollBack();
    return false;
  }
  TPlan& plan = stack_.back()->Plan;
  plan.Kind = TPlan::Action;
  plan.Obligations = std::move(*obligations);
  plan.ObligationCaption = command == TCommand::Auxiliary ? kAuxiliaryProof : kTestConditions;
  return Obligations(0);
}

bool TProofDriver::Contradiction() {
  PushCopy();
  Write(Keyword(kByContradiction));
  if (!ContradProve(Top())) {
    RollBack();
    return false;
  }
  return Result(TestConditions(Top()));
}

bool TProofDriver::Induction() {
  const std::vector<TVar*> candidates = InductionCandidates(Top());
  if (candidates.empty()) {
    Ctx().Messages.Error({"Ошибка 1 в Induction (MainPr.cpp)."_cp, "Error 1 in Induction (MainPr.cpp)."});
    return false;
  }
  std::vector<std::string> names;
  for (const TVar* v : candidates) names.push_back(NameText(v->Name));
  const std::optional<std::size_t> chosen = Ui().Choose("Select induction variable", names);
  if (!chosen || *chosen >= candidates.size()) return false;
  const std::optional<std::string> initial = Ui().Formula(24, "", "1");
  if (!initial) return false;
  PushCopy();
  const TVar& v = *candidates[*chosen];
  Write(Keyword(kByInduction) + names[*chosen]);
  Write(Keyword(kInitialValue) + *initial);
  const TExprPtr m = ReadProverTerm(Top(), *initial);
  TObligations obligations = m ? PrepareInduction(Top(), v, *m) : std::nullopt;
  if (!obligations) {
    RollBack();
    return false;
  }
  // The objects that may change in the step: not v, and none the initial value speaks of.
  std::vector<const TVar*> others;
  std::vector<std::string> otherNames;
  for (const TVarPtr& o : Top().GivenObjects)
    if (MayBeNonstationary(*o, v, *m)) {
      others.push_back(o.get());
      otherNames.push_back(NameText(o->Name));
    }
  std::vector<const TVar*> nonstationary;
  if (!others.empty()) {
    const std::optional<std::vector<bool>> marks = Ui().Mark("Mark unstationaty variables", otherNames);
    if (!marks) {
      RollBack();
      return false;
    }
    for (std::size_t i = 0; i < others.size() && i < marks->size(); ++i)
      if ((*marks)[i]) nonstationary.push_back(others[i]);
  }
  std::string line = Keyword(kNonstationaryVariables);
  for (const TVar* o : nonstationary) line += " " + NameText(o->Name);
  Write(line);
  if (!obligations->empty() && !TestFirst(*obligations)) {
    RollBack();
    return false;
  }
  TPlan& plan = stack_.back()->Plan;
  plan.Kind = TPlan::Induction;
  plan.Obligations = std::move(*obligations);
  plan.Variable = &v;
  plan.Initial = DeepCopy(*m);
  plan.Nonstationary = std::move(nonstationary);
  return Obligations(0);
}

bool TProofDriver::MarkGivenObject(std::size_t position) {
  if (stack_.empty() || position >= Top().GivenObjects.size()) return false;
  const TProofSetupScope scope(setup_);
  const std::string old = NameText(Top().GivenObjects[position]->Name);
  for (;;) {
    const std::optional<std::string> name = Ui().Formula(5, old, old);
    if (!name) return false;
    if (const std::optional<TMessage> refusal = RenameObject(*Top().Copy({.Goal = true}), position, *name)) {
      Ctx().Messages.Error(*refusal);
      continue;
    }
    RunCommand([&] {
      PushCopy();
      WritePair(Keyword(kMarkedVariable) + std::to_string(position + 1) + Keyword(kOfSection1),
                Keyword(kVariableName) + old + Keyword(kChangedTo) + *name);
      RenameObject(Top(), position, *name);
      return true;
    });
    FollowLevels(false);
    Write("");
    return true;
  }
}

std::vector<TTransformChoice> TProofDriver::Offered(TSection section, std::size_t position) const {
  std::vector<TTransformChoice> offered;
  if (stack_.empty()) return offered;
  const TKernel& field = *stack_.back()->Kernel;
  const TCondList& list = section == TSection::ProvingConds ? field.ProvingConds : field.GivenConds;
  if (position >= list.size()) return offered;
  // What the catalogue attaches to the condition's word for its section: the
  // dialog transformations, and the scripts whose test part accepts the condition.
  if (assot_)
    for (const TAssot* a : assot_->Attached(list[position]->Expr->HeadIntrinsic())) {
      if (!(section == TSection::ProvingConds ? a->ProveEnabled : a->DataEnabled)) continue;
      if (a->DialogTransform.empty() && !assot_->TestAssot(*a, field, section, position, scriptPlace_)) continue;
      offered.push_back({a->DialogTransform, a->Name, a->RusName, a->HelpMap});
    }
  // Then the book's dialog methods that apply: superficial ones to the
  // condition, deep ones to a term in it.
  const auto offer = [&](const TStatement& statement) {
    const TMethod* method = methods_.Method(statement);
    if (method == nullptr) return;
    const std::string& caption = method->RusCaption.empty() ? statement.Lines[kRussianNameLine] : method->RusCaption;
    offered.push_back({"", statement.Lines[kEnglishNameLine], caption, method->HelpInd > 0 ? method->HelpInd : -1,
                       &statement});
  };
  const int at = static_cast<int>(position);
  for (const TExtendedMeth& candidate : FindMethods(methods_, field, TMethodSearch{section, at, false, 0, 0}))
    offer(*candidate.Method);
  for (const TStatement* deep : FindDeepMethods(methods_, field, section, at)) offer(*deep);
  return offered;
}

bool TProofDriver::MarkCondition(TSection section, std::size_t position) {
  if (stack_.empty()) return false;
  const TProofSetupScope scope(setup_);
  const TCondList& list = section == TSection::ProvingConds ? Top().ProvingConds : Top().GivenConds;
  if (position >= list.size()) return false;
  const std::vector<TTransformChoice> offered = Offered(section, position);
  if (offered.empty()) {
    Ctx().Messages.Error(
        {"Для отмеченного условия нет преобразований."_cp, "No transformation applies to the marked condition."});
    return false;
  }
  const std::optional<std::size_t> choice = Ui().ChooseTransformation(offered);
  if (!choice || *choice >= offered.size()) return false;
  const bool result = RunCommand([&] { return Transformation(section, position, offered[*choice]); });
  FollowLevels(false);
  if (!stack_.empty() || succeeded_) Write("");
  return result;
}

bool TProofDriver::Transformation(TSection section, std::size_t position, const TTransformChoice& chosen) {
  const std::string& name = chosen.Key;
  const std::string marked = Keyword(kMarkedCondition) + std::to_string(position + 1) + SectionWord(section);
  const auto obligationsThen = [&](TObligations obligations, int caption) {
    if (!obligations) {
      RollBack();
      return false;
    }
    TPlan& plan = stack_.back()->Plan;
    plan.Kind = TPlan::Action;
    plan.Obligations = std::move(*obligations);
    plan.ObligationCaption = caption;
    return Obligations(0);
  };
  if (name == "TimesIneqPosD" || name == "TimesIneqNonnegD" || name == "TimesEqNonzeroD" || name == "TimesEqD") {
    const std::optional<std::string> factor = Ui().Formula(9, "", "");
    if (!factor) return false;
    PushCopy();
    const int keyword = name == "TimesIneqPosD"      ? kMultiplyPositive
                        : name == "TimesIneqNonnegD" ? kMultiplyNonnegative
                        : name == "TimesEqNonzeroD"  ? kMultiplyNonzero
                                                     : kMultiplyAny;
    WritePair(marked, Keyword(keyword) + *factor);
    const TFactorMode mode = keyword == kMultiplyPositive      ? TFactorMode::Positive
                             : keyword == kMultiplyNonnegative ? TFactorMode::Nonnegative
                             : keyword == kMultiplyNonzero     ? TFactorMode::Nonzero
                                                               : TFactorMode::Any;
    const TExprPtr c = ReadProverTerm(Top(), *factor);
    TObligations obligations = c ? PrepareMultiply(Top(), section, position, *c, mode) : std::nullopt;
    if (obligations && !obligations->empty() && !TestFirst(*obligations)) obligations.reset();
    return obligationsThen(std::move(obligations), kTestConditions);
  }
  if (name == "AddEqvD") {
    const std::vector<std::size_t> others = AddableRelations(Top(), position);
    if (section != TSection::GivenConds || others.empty()) {
      Ctx().Messages.Error({"Не с чем складывать."_cp, "Nothing to add"});
      return false;
    }
    std::vector<std::string> items;
    for (const std::size_t i : others) items.push_back(Text(*Top().GivenConds[i]->Expr));
    const std::optional<std::size_t> chosen = Ui().Choose("Add to (in)equality", items);
    if (!chosen || *chosen >= others.size()) return false;
    PushCopy();
    WritePair(marked, Keyword(kAddToRelation) + items[*chosen]);
    return Result(AddRelations(Top(), position, others[*chosen]));
  }
  PushCopy();
  WritePair(marked, name == "ConsiderForallD" ? Keyword(kSubstituteForQuantified) : chosen.Name);
  if (chosen.Method) return Method(section, position, chosen);
  if (name.empty()) return Script(section, position, chosen.Name);
  if (name == "ProveMarkedCondD") return obligationsThen(PrepareProveMarked(Top(), position), kMarkedProof);
  if (name == "ConsiderImplD")
    return obligationsThen(PrepareConsiderImplication(Top(), position), kImplicationHypothesis);
  if (name == "ConsiderOrD" || name == "ConsiderLeftRealValue" || name == "ConsiderRightRealValue") {
    const bool prepared = name == "ConsiderOrD"
                              ? PrepareConsiderOr(Top(), position)
                              : PrepareConsiderRealValue(Top(), section, position, name == "ConsiderLeftRealValue");
    if (!prepared) {
      RollBack();
      return false;
    }
    stack_.back()->Plan.Kind = TPlan::Action;
    return Complete();
  }
  if (name == "RewriteUsingStrictIneqD" || name == "RewriteUsingIneqAndEqD") {
    switch (RewriteRelation(Top(), section, position, name == "RewriteUsingStrictIneqD")) {
      case TRewriteResult::Continue:
        return true;
      case TRewriteResult::CaseAnalysis:
        return Complete();
      case TRewriteResult::Closed:
        return LevelExit();
      default:
        RollBack();
        return false;
    }
  }
  if (name == "ConsiderForallD") {
    if (!PrepareSubstitute(Top(), position)) {
      RollBack();
      return false;
    }
    stack_.back()->Plan.Kind = TPlan::Action;
    return SubstituteNext();
  }
  RollBack();
  return false;
}

bool TProofDriver::Script(TSection section, std::size_t position, const std::string& name) {
  const TAssot* script = nullptr;
  const TCondList& list = section == TSection::ProvingConds ? Top().ProvingConds : Top().GivenConds;
  for (const TAssot* a : assot_->Attached(list[position]->Expr->HeadIntrinsic()))
    if (a->DialogTransform.empty() && a->Name == name) script = a;
  if (script == nullptr || !assot_->ExecuteAssot(*script, Top(), section, position, scriptPlace_)) {
    RollBack();
    return false;
  }
  // The field as the script left it is tested like a field after any step.
  if (TestConditions(Top())) return true;
  if (Top().Proved) return LevelExit();
  RollBack();
  return false;
}

bool TProofDriver::Method(TSection section, std::size_t position, const TTransformChoice& chosen) {
  const TMethod* method = methods_.Method(*chosen.Method);
  const int at = static_cast<int>(position);
  bool done = false;
  if (method && method->Superficial()) {
    // The candidate of the method for the condition as it stands now.
    const std::vector<TExtendedMeth> found = FindMethods(methods_, Top(), TMethodSearch{section, at, false, 0, 0});
    for (std::size_t k = 0; k < found.size() && !done; ++k)
      if (found[k].Method == chosen.Method)
        done = ExecuteMethod(methods_, Top(), section, at, found, static_cast<int>(k));
  } else if (method) {
    done = DeepExecuteMethod(methods_, Top(), *chosen.Method, section, at, 0);
  }
  if (!done) {
    RollBack();
    return false;
  }
  if (TestConditions(Top())) return true;
  if (Top().Proved) return LevelExit();
  RollBack();
  return false;
}

bool TProofDriver::SubstituteNext() {
  while (const std::optional<TSubstituteStep> step = SubstituteStep(Top())) {
    std::vector<std::string> candidates;
    for (const TVar* c : step->Candidates) candidates.push_back(NameText(c->Name));
    const std::optional<TSubstituteAnswer> answer = Ui().Substitute(NameText(step->Variable), candidates);
    if (!answer) {
      RollBack();
      return false;
    }
    TExprPtr value;
    std::string text;
    if (const std::size_t* index = std::get_if<std::size_t>(&*answer)) {
      if (*index >= step->Candidates.size()) continue;
      value = TExpr::VarRef(TClass::DataVar, *step->Candidates[*index]);
      value->Type = step->Candidates[*index]->Type;
      text = candidates[*index];
    } else if (const std::string* typed = std::get_if<std::string>(&*answer)) {
      value = ReadProverTerm(Top(), *typed);
      if (!value) continue;  // asked again
      text = *typed;
    }
    TObligations obligations = SubstituteFor(Top(), value.get());
    if (!obligations) continue;
    Write(value ? Keyword(kSubstituted) + text + Keyword(kForWord) + NameText(step->Variable)
                : Keyword(kRefuseSubstitute) + NameText(step->Variable));
    if (!obligations->empty()) {
      // The value's obligations first; then the next variable (Complete comes back here).
      TPlan& plan = stack_.back()->Plan;
      plan.Obligations = std::move(*obligations);
      plan.ObligationCaption = kTestConditions;
      return Obligations(0);
    }
  }
  return Result(CompleteSubstitute(Top()));
}

}  // namespace lemmix
