// Walking the book for the search page and for the collections of the
// prover and the statement editor: in book order, deleted nodes skipped, in
// user mode only the favourite nodes, up to an optional limit statement.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "book/part.h"

namespace lemmix {

// A statement matches a kind index (0..5; 6 is any kind) and a substring of
// its Russian name (empty: any name).
bool MatchesSearch(const TStatement& statement, int kind, std::string_view nameSubstring);

struct TBookWalk {
  bool UserMode = false;
  const TStatement* Limit = nullptr;  // the walk stops when it reaches it
};

// Visits the nodes below the book in order with their depth (1 chapter,
// 2 paragraph, 3 statement); false from the visitor stops the walk.
void WalkBook(const TBook& book, const TBookWalk& walk, const std::function<bool(TPathName&, int depth)>& visit);

// The search page's result: the nodes that match or hold a match, as a tree
// under the book's root; nothing when nothing matches. With any kind and a
// substring, sections whose names contain it match by themselves.
struct TSearchNode {
  TPathName* Node = nullptr;
  std::vector<TSearchNode> Children;
};
std::optional<TSearchNode> SearchBook(TBook& book, bool userMode, int kind, std::string_view nameSubstring);

// The book as a tree up to the limit statement (every node before it).
TSearchNode BookTreeBefore(TBook& book, const TBookWalk& walk);

std::vector<TStatement*> FindStatements(const TBook& book, const TBookWalk& walk, int kind,
                                        std::string_view nameSubstring);
// The formulations (line 5) of the statements whose line 6 contains the notion.
std::vector<std::string> FormulationsWithNotion(const TBook& book, const TStatement* limit, std::string_view notion);
// The notions the definitions define (line 6, trimmed, non-empty).
std::vector<std::string> DefinedNotions(const TBook& book, const TStatement* limit);
std::vector<TStatement*> StatementsBefore(const TBook& book, const TStatement* limit);

}  // namespace lemmix
