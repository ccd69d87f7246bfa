// The proof actions on a proof field. Most work in two halves: a preparing
// operation checks the input, records the pending subproof (its kind and
// records) and returns the obligations, the conditions to prove first (one
// subproof each); a completing operation, once they are proved, changes the
// proof field and runs the tests. A refused input changes nothing.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "expr/expr.h"
#include "prover/kernel.h"
#include "shell/message.h"

namespace lemmix {

// The kinds of pending subproofs.
enum TPendingKind : int {
  kNoPending = 0,
  kDefineRequired = 1,
  kDefineGiven = 2,
  kCases = 3,
  kProveCondition = 4,
  kConjecture = 5,
  kMultiply = 6,
  kImplication = 7,
  kDisjunctionCases = 8,
  kSubstitute = 9,
  kDefineRequiredByCases = 12,
  kDefineGivenByCases = 13,
  kRecursive = 14,
};

// The conditions to prove before the completion; none when the input was refused.
using TObligations = std::optional<TExprList>;

// Consider cases: C (no required object, logical); obligations: its needed
// conditions. The cases are C and its negation (see Cases).
TObligations PrepareCases(TKernel& kernel, const TExpr& c);
// The cases of a pending case split: the condition and its negation; none
// when the negation cannot be built.
std::optional<TExprList> Cases(const TKernel& kernel);

// Prove an auxiliary condition C: its needed conditions and C itself.
TObligations PrepareAuxiliary(TKernel& kernel, const TExpr& c);
// Conjecture C: assumed while the goal is proved, then proved itself; the
// obligation is C (proved after the goal, see MakePendingTheGoal).
TObligations PrepareConjecture(TKernel& kernel, const TExpr& c);
// Prove the marked proving condition at the position: it is the single goal.
TObligations PrepareProveMarked(TKernel& kernel, std::size_t position);
// The pending condition becomes its negation, which is then the goal: the
// negation is never given unless it was proved. False when it cannot be built.
bool SwapPendingForNegation(TKernel& kernel, TExprList& goals);

// Completions with the first pending record C.
// C joins the given conditions; then the tests.
bool AddPendingToGivens(TKernel& kernel);
// C becomes the only goal (the proof by contradiction ends, sections 2 and 4
// are emptied), with its needed conditions; then the tests.
bool MakePendingTheGoal(TKernel& kernel);

// Proof by contradiction: the negation of the goal (∃ over the required
// objects of the conjunction of the proving conditions) becomes given and
// the goal goes. False (nothing changed) when there is no goal or the
// negation cannot be added.
bool ContradProve(TKernel& kernel);

// Induction: the given objects of an integer type (none in a proof by contradiction).
std::vector<TVar*> InductionCandidates(const TKernel& kernel);
// Checks the initial value m of the induction on v and returns its obligations:
// the needed conditions of m, m in v's type when it is wider, and v >= m
// (unless m is the least value of v's type). m may mention neither a required
// object nor v.
TObligations PrepareInduction(const TKernel& kernel, const TVar& v, const TExpr& m);
// Whether the object may change in the step: not v, and not in m.
bool MayBeNonstationary(const TVar& object, const TVar& v, const TExpr& m);
// The base: m for v everywhere, v removed; the tests run.
std::unique_ptr<TKernel> InductionBase(const TKernel& kernel, const TVar& v, const TExpr& m);
// The step: the hypothesis (the given conditions about v or the nonstationary
// objects imply the goal, quantified over the nonstationary objects), built
// before v becomes v + 1; v >= m given unless m is 1; the tests run.
std::unique_ptr<TKernel> InductionStep(const TKernel& kernel, const TVar& v, const TExpr& m,
                                       const std::vector<const TVar*>& nonstationary);

// Apply a statement: its formulation, read in the kernel, joins the given
// conditions; the tests run. False when it cannot be read.
bool ApplyStatement(TKernel& kernel, std::string_view formulation);

// Rename the given object at the position; the refusal's message, or none.
std::optional<TMessage> RenameObject(TKernel& kernel, std::size_t position, std::string_view name);

// The given object's position-independent identity for messages: its name.
std::string ObjectName(const TVar& v);

}  // namespace lemmix
