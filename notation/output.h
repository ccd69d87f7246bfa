// Formula output: an expression tree written back as the item list the
// parser reads, with brackets where a reader or the parser needs them and
// every bound variable with its domain.
#pragma once

#include <optional>
#include <string>

#include "notation/items.h"

namespace lemmix {

// Negative numbers as minus over their magnitude, in a copy.
TExprPtr NegativeNumbersOutput(const TExpr& e);
// The items of a tree; nothing on failure (a malformed tree).
std::optional<TItemList> TreeToItems(const TExpr& tree);
std::optional<std::string> TreeToText(const TExpr& tree, bool classWords, bool numeric);
// The letters a reader sees: a binary minus spaced like plus, one blank before
// a nested quantifier and none before a closing bracket.
std::optional<TLetters> TreeToLetters(const TExpr& tree);

}  // namespace lemmix
