// Needed conditions: the conditions under which every function of a formula
// is defined (the restrictions of partial functions, instantiated with their
// arguments), the conditions under which a value belongs to a type, and the
// instantiation of the templates both are written with.
#pragma once

#include <optional>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

#include "expr/expr.h"

namespace lemmix {

class TKernel;
class TType;
struct TIntr;

// The notions the book has defined so far, each under the type its definition
// opened (a notion marked "until defined" in the catalogue is usable only then).
struct TDefinedNotions {
  std::set<std::pair<const TIntr*, const TType*>> Uses;

  bool Contains(const TIntr& notion, const TType* type) const { return Uses.contains({&notion, type}); }
  void Add(const TIntr& notion, const TType* type) { Uses.insert({&notion, type}); }
};

// What holds where a subexpression stands: the variables bound around it,
// outermost first, and the conditions assumed there. A condition built there
// is placed under them: premises => condition, universally closed over the
// bound variables it speaks of.
struct TAssumptions {
  TVarList Variables;
  TExprList Conditions;
};

struct TNeedContext {
  const TKernel& Kernel;
  // Null: every notion counts as defined.
  const TDefinedNotions* Defined = nullptr;
  // Whether the user's messages (a notion not defined yet, a type that does
  // not fit, a repeated limit) are shown; internal errors always are.
  bool Report = true;
};

// The template text (stored text with the parameters "#0", "#1" ...) with the
// i-th expression put for #i; an expression that is a template (TClass::Templ,
// a function of parameters #1, #2 ...) is applied where the text applies #i.
// The names of the text resolve against the kernel's objects; the result is
// typed and placed under the assumptions. Every variable bound outside the
// instance that it speaks of ends up bound by the closing quantifier. Null on
// failure (parsing and typing report through their own messages).
TExprPtr InstantiateTemplate(std::string_view text, const std::vector<const TExpr*>& parameters, const TKernel& kernel,
                             const TAssumptions& assumptions = {});

// Appends to `result` the needed conditions of e, in the order they are met
// (arguments before the function applied to them), each placed under the
// assumptions. A condition that holds already is left out: a given condition
// of the kernel, one the standardisation makes true, one that is assumed
// where it stands, or an existence in a set that is not empty by its type.
// False when they cannot be computed: a notion not defined yet, an argument
// whose type does not fit and cannot be expressed by conditions, a limit
// inside a limit, or an internal error.
bool AddNeedCond(const TExpr& e, TExprList& result, const TAssumptions& assumptions, const TNeedContext& context);

// The conditions under which the value belongs to the target type, each under
// the assumptions: membership of a standard number set; for a function of the
// same arguments, the membership of its values; for a set, its non-emptiness,
// its finiteness and the membership of its elements as far as the target
// needs them. Empty when the value's type is a subtype of the target; none
// when the membership cannot be expressed (the caller reports its message).
std::optional<TExprList> TypeMembershipConditions(const TExpr& value, const TType& target,
                                                  const TAssumptions& assumptions, const TKernel& kernel);

}  // namespace lemmix
