// Checks of the book's content: every formulation reads and types; every
// defined notion names a function with types its definition uses it under;
// no notion is used before the book defines it; every page a node points to
// exists with the place it names, every link of the pages leads somewhere,
// every picture of the pages is a picture file of the book; no implication
// has an implication for its premise (a conclusion without its brackets); and the English
// names of provable statements are unique (protocols find statements by them).
#pragma once

#include <string>
#include <vector>

#include "book/part.h"

namespace lemmix {

// The faults found, each naming the node's path or the page; empty when the book is sound.
std::vector<std::string> CheckBook(const TBook& book);

}  // namespace lemmix
