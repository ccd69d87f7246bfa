// Typing of expressions: every node gets its type bottom-up; ill-typed
// formulas are refused with a message naming the function and the argument types.
#pragma once

namespace lemmix {

class TExpr;
class TType;

// Computes and stores the types of e and its subexpressions. Without
// `report` it is silent and goes on past arguments it cannot type. May
// replace a real function applied to a set of reals by the image (114).
// Arguments of another kind than declared leave the compound without a
// type: a set where a number is due, a number where a function or a
// statement is, a number (a variable holding one, a + b) applied to
// arguments; a combination of functions such as f + g applies pointwise.
TType* ExprType(TExpr& e, bool report);
// A compound with head 16: the function from its variables to its body.
bool LambdaExprType(TExpr& e, bool report);
// A compound with head 141 and one argument: the set of the bound variable's
// values that satisfy the condition.
bool ConditionalSetType(TExpr& e, bool report);
// The node at which a failed typing stopped: the first argument without a
// type, followed down to the node that has none while its arguments have
// theirs. Null when e has its type.
const TExpr* TypeFault(const TExpr& e);
// Clears the stored types (those of template parameters stay: they are given
// when a pattern is built) and types e again.
bool Retype(TExpr& e, bool report = true);

}  // namespace lemmix
