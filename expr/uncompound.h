// Uncompounding of function-valued heads: an application whose head is a
// pointwise combination of functions, (f + g)(x, y), becomes the combination
// of the applications, f(x, y) + g(x, y), so that only intrinsic functions
// and variables stand at the heads the prover reasons about.
#pragma once

#include "expr/expr.h"

namespace lemmix {

// A copy of e in which every application headed by a sum, difference,
// product, quotient or power (intrinsics 2 to 6) of functions is distributed
// over the operands: the function-valued operands are applied to copies of
// the arguments, the others (numbers, constants) stay as they are. Every other
// head (a variable, a composition, an inverse, a lambda) stays a head; its
// arguments are uncompounded. The bound variables of the application stay
// with it. Null when a rewritten application cannot be typed, or (an internal
// error, reported) when an intrinsic function without arguments stands at a head.
TExprPtr HeadUncompound(const TExpr& e);

}  // namespace lemmix
