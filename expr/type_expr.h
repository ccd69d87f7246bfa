// Types written as expressions: set words, declarations of functions, and a
// type shown inside a formula.
#pragma once

#include <memory>

namespace lemmix {

class TExpr;
class TType;
using TExprPtr = std::unique_ptr<TExpr>;

// A set word gives its simple type; 2^(set word) the possibly empty sets of it.
TType* TypeOfSetExpression(const TExpr& e);
// The function type declared by "f : A -> B" (A may be a Cartesian product).
TType* FunctionTypeFromSpec(const TExpr& arg, const TExpr& value, bool report);
// A simple type as the set it denotes (N, R ...), a possibly empty infinite
// set type as 2^(its element), any other type as its descriptive name.
TExprPtr TypeToExpression(const TType& t);
// Substitute with a pattern that is typed first; reports when it cannot be.
TExprPtr SubstituteTyped(const TExpr& e, TExpr& pattern, const TExpr& replacement);

}  // namespace lemmix
