// Methods: statements of kind method that rewrite conditions (superficial
// methods) or terms (deep methods). Their data are read from the statement's
// lines into patterns whose template parameters #0, #1 ... are the method's
// identifiable variables; a registry keeps, per intrinsic function, the
// methods that a proof may use; candidates are found for a condition,
// identified against the proof field and executed.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "book/statement.h"
#include "prover/kernel.h"
#include "prover/patterns.h"

namespace lemmix {

class TBook;
struct TTask;

enum TMethodType : int { kDialogSuperficial = 0, kAutoDeep = 1, kAutoSuperficial = 2, kDialogDeep = 3 };
// How input and output of a superficial method are related.
enum TConnective : int { kBothWays = 0, kInputGivesOutput = 1, kOutputGivesInput = 2 };

// What every method has. Patterns use template parameters for the
// identifiable variables (in their order), then for the new variables.
class TMethod : public TMethodObject {
 public:
  int Type = 0;
  TVarList Parameters;  // the identifiable variables with their types
  TExprPtr Input;
  TExprPtr Output;
  int MainFunction = -1;  // the intrinsic number at the head of the input
  bool Terminal = false;
  std::string RusCaption, EngCaption, Group;
  int HelpInd = 0;

  bool Superficial() const { return Type == kDialogSuperficial || Type == kAutoSuperficial; }

 protected:
  void CopyTo(TMethod& target) const;
};

// One forbidden type pattern: parameter index → the type its value must not fit.
using TFalseTypes = std::vector<std::pair<int, TType*>>;

class TSuperficialTransform : public TMethod {
 public:
  int Connective = kBothWays;
  TExprList Present;
  TExprList Testing;
  TExprPtr Classes;  // none: no condition on classes
  std::vector<TFalseTypes> FalseTypes;
  std::vector<std::string> PreferableNames;  // English names, resolved by the registry
  int Priority = 1;
  bool NegationEnabled = false;

  std::unique_ptr<TMethodObject> Copy() const override;
};

class TDeepAutoTransform : public TMethod {
 public:
  std::unique_ptr<TMethodObject> Copy() const override;
};

class TDeepDialogTransform : public TMethod {
 public:
  TVarList NewVariables;  // parameters Parameters.size() ... in the patterns
  TExprList NewConditions;

  std::unique_ptr<TMethodObject> Copy() const override;
};

// Builds the method object of a method statement from its lines; nothing
// (after its numbered message) when a part cannot be read.
std::unique_ptr<TMethodObject> SetMethodData(const TStatement& statement);

// The method a statement keeps or, when it keeps none, one built now.
const TMethod* MethodOf(const TStatement& statement);

// The forbidden type patterns the binding matches drop it; false when the
// binding fits none. `error` is set on an internal error.
bool TestFalseTypes(const std::vector<TFalseTypes>& patterns, const TBinding& binding, bool& error);
// The classes condition for the binding (¬, ∧, ∨ of atoms 221(#i, E)).
bool TestClassCond(const TExpr& condition, const TBinding& binding);

// Whether a method statement's correctness has been proved.
using TMethodProved = std::function<bool(const TStatement&)>;

// The methods a proof may use, per intrinsic function and method type, built
// relative to one statement: the proved method statements before it.
class TMethodRegistry {
 public:
  using TList = std::vector<const TStatement*>;

  // Clears and rebuilds; false (after its message) when a method could not
  // be entered, which stops the registration.
  bool Build(const TBook& book, const TStatement* limit, const TMethodProved& proved);
  // Enters one method statement; false after "Error N in adding method.".
  bool Add(const TStatement& statement);
  void Clear();

  const TList& List(int function, int type) const;
  // The method of a registered statement.
  const TMethod* Method(const TStatement& statement) const;
  // The registered statements a method supersedes.
  const TList& Preferable(const TStatement& statement) const;
  // The intrinsic numbers with methods, ascending.
  std::vector<int> Functions() const;

  // Automatic applications are counted per build; false (said once) when
  // the allowance is spent.
  bool CountApplication() const;
  void Applied() const { ++applications_; }

 private:
  bool ResolvePreferable(const TBook& book);

  std::map<int, std::array<TList, 4>> lists_;
  std::map<const TStatement*, std::unique_ptr<TMethodObject>> built_;
  std::map<const TStatement*, TList> preferable_;
  mutable int applications_ = 0;
};

// A candidate: one applicable method for one condition.
struct TExtendedMeth {
  bool Direct = true;  // false: the argument of a negated condition matched
  const TStatement* Method = nullptr;
  TBinding Binding;
};

struct TMethodSearch {
  TSection Section = TSection::GivenConds;
  int Position = 0;
  bool Automatic = false;
  int Stage = 0;  // 0: any priority
  int Depth = 0;
};

// The superficial methods applicable to a condition, in the order found;
// `exists` is false (after a message) when there is no such condition.
std::vector<TExtendedMeth> FindMethods(const TMethodRegistry& registry, const TKernel& kernel,
                                       const TMethodSearch& search, bool* exists = nullptr);

// The identification of one method for the condition: false when it does not
// apply; otherwise the candidates it supersedes leave `found` and it joins.
bool AddMethod(const TMethodRegistry& registry, const TKernel& kernel, const TExpr& condition,
               const TStatement& statement, bool direct, int depth, std::vector<TExtendedMeth>& found);

// Replaces the condition at the position by the candidate's output.
bool ExecuteMethod(const TMethodRegistry& registry, TKernel& kernel, TSection section, int position,
                   const std::vector<TExtendedMeth>& candidates, int k);

// The dialog deep methods that apply somewhere in the condition, in catalogue
// order and then registry order.
std::vector<const TStatement*> FindDeepMethods(const TMethodRegistry& registry, const TKernel& kernel,
                                               TSection section, int position, bool* exists = nullptr);

// Applies a deep method to the first subterm of the condition it matches:
// new objects for its new variables, the identity S ≡ T and its new
// conditions as given conditions. False when it applies nowhere.
bool DeepExecuteMethod(const TMethodRegistry& registry, TKernel& kernel, const TStatement& statement,
                       TSection section, int position, int depth);

// One pass of every dialog deep method over the terms of the conditions (an
// identity's excepted), each where it first applies in a condition: the
// terminal test's use of them. Whether one was carried out.
bool DeepMethodPass(const TMethodRegistry& registry, TKernel& kernel, int depth);

// The automatic methods the tests apply to a condition that a stage kept:
// automatic superficial "<=>" methods of the stage, at the top of the
// condition or through ∧ and ∨. Whether one changed it.
bool ApplyAutomaticMethods(const TMethodRegistry& registry, TKernel& kernel, TSection section, int position,
                           int depth);

// The proof task of a method's correctness (its statement's lines).
TTask MethodCorrectnessTask(const TStatement& statement);

}  // namespace lemmix
