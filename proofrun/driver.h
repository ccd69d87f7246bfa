// The proof driver: the stack of proof fields that makes subproofs and Undo
// possible, the commands of a proof carried out through the proof actions,
// every step recorded in the protocol. It asks the user only through the
// proof UI port, so the window, demonstrations, verification, the command
// line and tests all run the same proofs.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "proofrun/assot.h"
#include "proofrun/canonical_answers.h"
#include "proofrun/method_proofs.h"
#include "prover/kernel.h"
#include "prover/method.h"
#include "prover/needed.h"
#include "prover/tests.h"

namespace lemmix {

class IInfoSink;
class IProofUi;
struct TTransformChoice;
class TAssotProccess;
class TBook;
class TProtocolRecorder;
class TStatement;

// The commands of the proof window's menus, by their codes.
enum class TCommand : int {
  Define = 0,
  Apply = 3,
  Cases = 4,
  Auxiliary = 5,
  Conjecture = 6,
  Contradiction = 7,
  Induction = 8,
  Undo = 24,
};

// The dialog captions, English and Russian, by index; the level captions are among them.
std::string_view DialogCaption(int index, bool russian);

// The level captions (indices of the dialog captions).
enum TLevelCaption : int {
  kNoCaption = 14,
  kInductionBase = 15,
  kInductionStep = 16,
  kTestConditions = 17,
  kAuxiliaryProof = 18,
  kUnderAssumption = 19,
  kMarkedProof = 20,
  kCaseConsideration = 21,
  kImplicationHypothesis = 22,
  kCaseAnalysis = 23,
};

class TProofDriver {
 public:
  // The catalogue gives the dialog transformations offered for a marked
  // condition (none without it).
  TProofDriver(IProofUi& ui, TProtocolRecorder& protocol, const TBook& book, const TAssotProccess* assot);
  ~TProofDriver();

  // Starts the proof of the statement: its English name must not be empty,
  // its task is built, the protocol and the journal begin. False when the
  // proof does not start.
  bool Start(const TStatement& statement, const std::string& journalPath);
  // One command. True when the proof goes on at the same level; false when
  // the level was proved, or the command failed or was cancelled (the proof
  // field is then as it was).
  bool Act(TCommand command);
  // The first marked item: a condition of section 3 or 4 (the choice of its
  // transformations), a given object (renaming) or a required one.
  bool MarkCondition(TSection section, std::size_t position);
  // The transformations offered for the condition when it is marked.
  std::vector<TTransformChoice> Offered(TSection section, std::size_t position) const;
  bool MarkGivenObject(std::size_t position);
  // Where the replays of the book's methods are kept (the driver keeps its
  // own otherwise); they decide which methods a proof may use.
  void SetMethodProofs(TMethodProofs& proofs) { methodProofs_ = &proofs; }
  // Another UI answers from now on (a demonstration answers from its
  // protocol); the one it replaces is returned.
  IProofUi& SetUi(IProofUi& ui);

  bool Open() const { return !stack_.empty(); }
  bool Succeeded() const { return succeeded_; }
  const TKernel* Current() const;
  int Level() const;
  int Caption() const;
  std::size_t Depth() const { return stack_.size(); }
  // Undo takes back the last command as a whole.
  bool UndoEnabled() const { return !commandStarts_.empty(); }
  // The objects that an induction may run on.
  bool InductionEnabled() const;

 private:
  struct TLevel;
  struct TPlan;

  TKernel& Top();
  // Pushes a copy of the current proof field for the command to change.
  void PushCopy();
  // Pushes a subproof's proof field; the protocol goes one level in.
  void PushSubproof(std::unique_ptr<TKernel> kernel, int caption, int next, int index, int subproof);
  // Undo: back to the proof field before the last command.
  bool Undo();
  // A failed or cancelled command: back to the proof field before it.
  bool RollBack();
  // Drops the proof fields above the first `size` ones and finds their place
  // in the protocol; always false (no command goes on from here).
  bool PopTo(std::size_t size);
  // Runs one command, remembering where it started for Undo and RollBack.
  template <class Command>
  bool RunCommand(Command&& command);
  // The current subproof is finished (proved) or the command failed.
  bool LevelExit();
  // Goes on after the obligation, case or part `index` of the plan of the
  // current proof field was proved.
  bool Continue(int next, int index);
  // Proves the obligations of the plan from the given one on, then completes.
  bool Obligations(std::size_t from);
  bool Complete();
  // Asks to prove the obligations first and records the answer.
  bool TestFirst(const TExprList& obligations);
  bool OpenCase(std::size_t index);
  // The result of a step on the current proof field: goes on, or exits.
  bool Result(bool goesOn);

  bool Define();
  bool DefineRecursively(const std::vector<std::string>& names);
  bool Apply();
  bool WithCondition(TCommand command);
  bool Contradiction();
  bool Induction();
  bool Transformation(TSection section, std::size_t position, const TTransformChoice& chosen);
  // The script transformation of that name on the marked condition.
  bool Script(TSection section, std::size_t position, const std::string& name);
  // The method offered for the marked condition.
  bool Method(TSection section, std::size_t position, const TTransformChoice& chosen);
  bool SubstituteNext();

  void Write(const std::string& line);
  void WritePair(const std::string& first, const std::string& second);

  // The information sink keeps a tree of reports in step with the levels:
  // a subproof's line opens a level of the tree before the subproof is built
  // (its automatic tests report inside it), a proved subproof closes its level
  // keeping it, a subproof left otherwise closes it dropping it.
  // The sink while commenting; the levels opened in it are forgotten when
  // another sink takes its place.
  IInfoSink* InfoSink();
  void InfoDown(const std::string& line, int subproof);
  void InfoUp(bool keep);
  // A new subproof of the caption: its number, its line in the tree opened.
  int NewSubproof(int caption);
  // The subproofs (number, caption) from level 1 to the current proof field.
  std::vector<std::pair<int, int>> SubproofPath() const;
  // Brings the tree to the subproofs of the current proof field: levels of
  // others are left (kept or not), those missing opened again.
  void FollowLevels(bool keep);

  // The UI that answers, and its answers with formulas as a formula edit writes them.
  IProofUi& Ui() { return *answers_; }
  IProofUi* ui_;
  std::unique_ptr<TCanonicalAnswers> answers_;
  TProtocolRecorder& protocol_;
  const TBook& book_;
  const TAssotProccess* assot_;
  const TStatement* statement_ = nullptr;
  TScriptPlace scriptPlace_;
  TDefinedNotions defined_;
  TProofSetup setup_;
  TMethodProofs ownMethodProofs_;
  TMethodProofs* methodProofs_ = &ownMethodProofs_;
  // The proved methods before the statement.
  TMethodRegistry methods_;
  std::vector<std::unique_ptr<TLevel>> stack_;
  // The stack sizes before the commands still in effect, and before the
  // command being carried out.
  std::vector<std::size_t> commandStarts_;
  std::size_t commandBase_ = 0;
  bool succeeded_ = false;
  // The subproofs numbered so far; the sink the tree is kept in and the
  // subproofs whose levels are open in it.
  int subproofs_ = 0;
  IInfoSink* infoSink_ = nullptr;
  std::vector<int> infoPath_;
};

}  // namespace lemmix
