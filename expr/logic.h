// Logical normalisation: negation, the unfolding of "there exists exactly
// one", membership in a set given by a condition, unused quantified
// variables, and the order in which a formula is standardised to become a condition.
#pragma once

#include "expr/expr.h"

namespace lemmix {

// The negation pushed inwards through quantifiers, conjunctions and
// disjunctions; null when it cannot be typed.
TExprPtr Negation(const TExpr& e);
// exists! x P(x) as exists x (P(x) and forall x' (P(x') => x' = x)), the new
// names clear of the given and required objects; also under a negation.
TExprPtr ExistsUniqueUnfolding(const TExpr& e, const TVarList& given, const TVarList& required);
// X in {y | P(y)} as P(X); X in {T(y) | P(y)} as exists y (X = T(y) and P(y)).
TExprPtr SetMembershipElimination(const TExpr& e);
// The same for memberships inside e, and for quantified variables ranging
// over such sets; in place.
void QuantifiedMembershipElimination(TExpr& e);
// Drops universally quantified variables the body does not use; in place.
void PruneBoundVariables(TExpr& e);
// 45(f, 0, x) becomes f(x); false when that cannot be typed.
bool DerivativeOfOrderZero(TExpr& e);
// A variable applied to one tuple takes the tuple's components as arguments.
void TupleArguments(TExpr& e);
// The pipeline a formula passes before it becomes a condition; null when it fails.
TExprPtr StandardiseForCondition(const TExpr& e);

}  // namespace lemmix
