// Transformations of a marked condition, given by its section and position:
// multiply or add (in)equalities, consider an implication, case analysis of
// a disjunction or of an operand's real value, rewrite a relation, and
// substitute into a quantified given condition. A marked condition is found
// again by its section and position, never by equality.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "prover/actions.h"

namespace lemmix {

enum class TFactorMode { Positive, Nonnegative, Nonzero, Any };

// Multiply the marked (in)equality by c. On a goal only a positive factor (an
// inequality) or a non-zero one (an equality) keeps what is to be proved; on
// a given condition a non-negative factor makes a strict relation non-strict.
TObligations PrepareMultiply(TKernel& kernel, TSection section, std::size_t position, const TExpr& factor, TFactorMode mode);
bool CompleteMultiply(TKernel& kernel);

// A given A ⇒ B: prove A, then B takes the implication's place.
TObligations PrepareConsiderImplication(TKernel& kernel, std::size_t position);
bool CompleteConsiderImplication(TKernel& kernel);

// The cases of a pending case analysis (kind 8): the disjuncts.
std::optional<TExprList> DisjunctionCases(const TKernel& kernel);
// Case analysis of the given disjunction at the position.
bool PrepareConsiderOr(TKernel& kernel, std::size_t position);
// Case analysis of the left or right operand p of the marked relation: p ∈ ℝ,
// p = +∞ or p = −∞; only for operands of the extended reals.
bool PrepareConsiderRealValue(TKernel& kernel, TSection section, std::size_t position, bool left);

// Rewrite the marked relation: a ≤ b as a < b ∨ a = b (and ≥), or, strictly,
// ¬(a = b) as a < b ∨ b < a for real operands (with ±∞ as they stand). A
// goal is replaced; a given disjunction opens a case analysis.
enum class TRewriteResult { Continue, CaseAnalysis, Failed, Closed };
TRewriteResult RewriteRelation(TKernel& kernel, TSection section, std::size_t position, bool strict);

// Add the given (in)equality at `other` to the marked given one; the sum of
// the two joins the given conditions. Only =, <, >, ≤, ≥.
bool AddRelations(TKernel& kernel, std::size_t position, std::size_t other);
// The given conditions that can be added to the marked one.
std::vector<std::size_t> AddableRelations(const TKernel& kernel, std::size_t position);

// Substitute into the quantified given condition at the position, one bound
// variable after another.
bool PrepareSubstitute(TKernel& kernel, std::size_t position);
// The bound variable to substitute for now, and the given objects that fit it.
struct TSubstituteStep {
  TVarName Variable;
  std::vector<TVar*> Candidates;
};
std::optional<TSubstituteStep> SubstituteStep(const TKernel& kernel);
// The expression for the current variable (none: refuse to substitute for
// it); its obligations, or none when refused. After the last variable the
// instance joins the given conditions (see CompleteSubstitute).
TObligations SubstituteFor(TKernel& kernel, const TExpr* value);
bool SubstituteDone(const TKernel& kernel);
bool CompleteSubstitute(TKernel& kernel);

}  // namespace lemmix
