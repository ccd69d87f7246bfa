// Typing of expressions: every node gets its type bottom-up; ill-typed
// formulas are refused with a message naming the function and the argument types.
#pragma once

namespace lemmix {

class TExpr;
class TType;

// Computes and stores the types of e and its subexpressions. Without
// `report` it is silent and goes on past arguments it cannot type. May
// replace a real function applied to a set of reals by the image (114).
TType* ExprType(TExpr& e, bool report);
// A compound with head 16: the function from its variables to its body.
bool LambdaExprType(TExpr& e, bool report);
// A compound with head 141 and one argument: the set of the bound variable's
// values that satisfy the condition.
bool ConditionalSetType(TExpr& e, bool report);
// Clears the stored types (those of template parameters stay: they are given
// when a pattern is built) and types e again.
bool Retype(TExpr& e, bool report = true);

}  // namespace lemmix
