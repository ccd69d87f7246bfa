// The formula parser: an item list becomes an expression tree. A recursive
// splitter at the operation of lowest priority outside all brackets, with
// readers of their own for quantifiers, limits, sums, sets, intervals and
// declarations. Failures show their message and then "Error in input.".
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "notation/items.h"

namespace lemmix {

// The priority of atoms and of functions written before their bracketed
// arguments: above every operation of the catalogue.
inline constexpr int kAtomPriority = 12;

// Where the nodes of a parsed tree were built: a leaf at its item, a compound
// at the operation that splits its range or at the opening bracket of a
// construction written in brackets. Heads of compounds have no place.
using TNodePlaces = std::unordered_map<const TExpr*, std::size_t>;

// The tree of the items; nothing on failure. Variables are left undeclared
// (nodef_var) except the bound ones, which carry their declared types. A
// failure at a place of the list leaves in `faultItem` the index of the item
// at fault (the list's size for a fault after its last item); a tree leaves
// in `nodes` the items its nodes were built at.
TExprPtr ParseItems(const TItemList& items, std::optional<std::size_t>* faultItem = nullptr,
                    TNodePlaces* nodes = nullptr);
// Stored text to a tree: the items with errors reported, the separators before
// nested quantifiers (63) removed, then parsed. A failure of reading or
// parsing at a place leaves in `faultPlace` the character where it lies; a
// tree leaves in `nodes` the characters its nodes were built at.
TExprPtr TextToTree(std::string_view text, std::optional<std::size_t>* faultPlace = nullptr,
                    TNodePlaces* nodes = nullptr);
// Where the typing of a parsed tree failed: the place of the node it stopped
// at, or of the nearest node above that has one. Nothing for a typed tree.
std::optional<std::size_t> TypeFaultPlace(const TExpr& tree, const TNodePlaces& nodes);
// Links the variables of a parsed tree: bound ones to their binders, free ones
// to the given list, where a name not there yet is added with the default type
// of its letter. Then types the tree; false when it cannot be typed.
bool DeclareVariables(TExpr& tree, TVarList& given, bool report);

// Stored text read, declared and typed. The tree's free variables live in
// `Free`, so the two go together; no tree when reading or typing fails, and
// `Fault` holds the character where it failed, when a place is known.
struct TReadFormula {
  TExprPtr Tree;
  TVarList Free;
  std::optional<std::size_t> Fault;
};
TReadFormula ReadFormula(std::string_view text, bool report = true);

}  // namespace lemmix
