// The formula parser: an item list becomes an expression tree. A recursive
// splitter at the operation of lowest priority outside all brackets, with
// readers of their own for quantifiers, limits, sums, sets, intervals and
// declarations. Failures show their message and then "Error in input.".
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "notation/items.h"

namespace lemmix {

// The priority of atoms and of functions written before their bracketed
// arguments: above every operation of the catalogue.
inline constexpr int kAtomPriority = 12;

// The tree of the items; nothing on failure. Variables are left undeclared
// (nodef_var) except the bound ones, which carry their declared types. A
// failure at a place of the list leaves in `faultItem` the index of the item
// at fault (the list's size for a fault after its last item).
TExprPtr ParseItems(const TItemList& items, std::optional<std::size_t>* faultItem = nullptr);
// Stored text to a tree: the items with errors reported, the separators before
// nested quantifiers (63) removed, then parsed. A failure of reading or
// parsing at a place leaves in `faultPlace` the character where it lies.
TExprPtr TextToTree(std::string_view text, std::optional<std::size_t>* faultPlace = nullptr);
// Links the variables of a parsed tree: bound ones to their binders, free ones
// to the given list, where a name not there yet is added with the default type
// of its letter. Then types the tree; false when it cannot be typed.
bool DeclareVariables(TExpr& tree, TVarList& given, bool report);

// Stored text read, declared and typed. The tree's free variables live in
// `Free`, so the two go together; no tree when reading or typing fails.
struct TReadFormula {
  TExprPtr Tree;
  TVarList Free;
};
TReadFormula ReadFormula(std::string_view text, bool report = true);

}  // namespace lemmix
