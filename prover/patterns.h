// Patterns made from expressions: chosen variables become template
// parameters, and a binding of the parameters gives the expression back.
#pragma once

#include <cstddef>
#include <vector>

#include "expr/expr.h"

namespace lemmix {

// e with the listed variables (bound ones or objects) as template parameters
// 0, 1, ...: a pattern whose parameters stand for them.
TExprPtr AsPattern(const TExpr& e, const std::vector<const TVar*>& vars);
// A binding of every parameter 0..n-1.
bool Complete(const TBinding& binding, std::size_t n);
// The pattern with the bound values put for its parameters, typed again; none
// when a parameter stays unbound or the result has no type.
TExprPtr Instantiated(const TExpr& pattern, const TBinding& binding);

}  // namespace lemmix
