// The automatic tests of the proof field: after every step they simplify and
// decompose conditions, close proving conditions that follow directly from
// given ones, find contradictions and try to finish the (sub)proof. Every
// search is bounded by counts and depths, never by time; a bound reached is
// "not proved".
#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "expr/expr.h"
#include "prover/kernel.h"

namespace lemmix {

struct TDefinedNotions;

// The book's methods applied to a condition that a step kept: whether one changed it.
using TMethodsOfProof = std::function<bool(TKernel& kernel, TSection section, int position, int depth)>;

// The book's dialog deep methods carried out on a work copy: whether one was.
using TDeepMethodsOfProof = std::function<bool(TKernel& kernel, int depth)>;

// What a proof run gives its tests besides the proof field.
struct TProofSetup {
  // The notions the book has defined before the statement; null: all count as defined.
  const TDefinedNotions* Defined = nullptr;
  // The book's methods for a condition that a step kept; none: no method applies.
  TMethodsOfProof Methods;
  // The terminal test on a work copy: whether it closes it.
  std::function<bool(TKernel& copy, int depth)> Terminal;
  // The book's dialog deep methods on the terms of a work copy's conditions
  // (one pass); whether one was carried out.
  TDeepMethodsOfProof DeepMethods;
};

// The setup the tests of this thread use; a scope sets one.
const TProofSetup& ProofSetup();
class TProofSetupScope {
 public:
  explicit TProofSetupScope(const TProofSetup& setup);
  ~TProofSetupScope();
  TProofSetupScope(const TProofSetupScope&) = delete;
  TProofSetupScope& operator=(const TProofSetupScope&) = delete;

 private:
  const TProofSetup* previous_;
};

// The needed conditions of e (the conditions under which it is defined) in
// the kernel, with the notions of the proof's setup; false when they cannot
// be computed (a message said why when `report`).
bool NeededConditionsOf(const TExpr& e, TExprList& result, const TKernel& kernel, bool report);

// The success check: an empty section 4 outside a proof by contradiction
// closes the kernel; a lone proving condition goes back to stage 1.
void SuccessCheck(TKernel& kernel);

// Runs the tests at the depth (0 for the user's own field). False when the
// (sub)proof is closed (kernel.Proved) or a step failed: read the flag.
bool TestConditions(TKernel& kernel, int depth = 0);

// Whether c follows from the kernel's given part: c is true, a given
// condition, an equality of equal sides, or an automatic completion of a
// copy with c as its only goal succeeds. A condition that mentions a
// required object is never proved in isolation.
bool ProvabilityTest(const TKernel& kernel, const TExpr& c, int depth);

// An automatic completion of a copy of the kernel; whether it closed it.
bool AutomaticCompletion(const TKernel& kernel, int depth);

// A subproof of the parent at its level + 1 with its sections 1 and 3: with
// `keepGoal` also its goal and contradiction flag, the expressions added as
// given conditions (a case); without, they are the goals (an auxiliary
// condition). Then the tests run. The flag is false when an expression gave
// no condition or the tests ended the subproof.
std::pair<std::unique_ptr<TKernel>, bool> OpenSubproof(const TKernel& parent, bool keepGoal, TExprList expressions);

}  // namespace lemmix
