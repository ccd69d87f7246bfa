// The defined notion of a definition (line 6 of its file): "\" + the
// intrinsic function's number + "(" + the types it is used under + ")".
#pragma once

#include <set>
#include <string>
#include <string_view>

#include "expr/expr.h"

namespace lemmix {

// The function a notion field names: the text between "\" and the first "("
// as a number, else the text before "(" as the function's word; null when neither.
TIntr* DefinedNotionFunction(std::string_view field);

// The types under which the formula uses the function.
std::set<const TType*> TypesOfUses(const TExpr& formula, const TIntr& function);

// Rewrites a notion field given as a formula in stored text (a use of the
// notion) into the field form, listing the function's concrete types under
// which the formula uses it. Nothing after the messages when the formula
// cannot be read or typed, or uses the notion under none of its types.
std::optional<std::string> DefinedNotionField(const TIntr& notion, std::string_view formula);

}  // namespace lemmix
