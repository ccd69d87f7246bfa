// The book as lemmix-cli prints it: one line a node, indented by depth, with
// its kind and path.
#pragma once

#include <string>

#include "book/search.h"

namespace lemmix {

// The contents tree in a mode (user mode: favourite nodes only), UTF-8.
std::string BookListing(const TBook& book, bool userMode);
std::string SearchListing(const TSearchNode& result);
// What a load found: the numbers of chapters, paragraphs and statements.
std::string BookSummary(const TBook& book);

}  // namespace lemmix
