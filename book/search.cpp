#include "book/search.h"

#include "shell/text.h"

namespace lemmix {

bool MatchesSearch(const TStatement& statement, int kind, std::string_view nameSubstring) {
  if (kind >= 0 && kind < kAnyStatementKind && statement.Kind() != kStatementKindWords[kind]) return false;
  return nameSubstring.empty() || statement.Title().find(nameSubstring) != std::string::npos;
}

namespace {

// False when the walk is to stop.
bool WalkBelow(const TPathName& section, int depth, const TBookWalk& walk,
               const std::function<bool(TPathName&, int)>& visit) {
  for (std::size_t i = 0; i < section.ChildCount(); ++i) {
    TPathName& node = *section.Child(i);
    if (node.Deleted || (walk.UserMode && !node.Favourite())) continue;
    if (&node == walk.Limit) return false;
    if (!visit(node, depth)) return false;
    if (!WalkBelow(node, depth + 1, walk, visit)) return false;
  }
  return true;
}

}  // namespace

void WalkBook(const TBook& book, const TBookWalk& walk, const std::function<bool(TPathName&, int depth)>& visit) {
  WalkBelow(book, 1, walk, visit);
}

namespace {

std::optional<TSearchNode> SearchBelow(TPathName& node, bool userMode, int kind, std::string_view substring) {
  TSearchNode found{&node, {}};
  if (node.IsStatement()) {
    if (!MatchesSearch(static_cast<TStatement&>(node), kind, substring)) return std::nullopt;
    return found;
  }
  for (std::size_t i = 0; i < node.ChildCount(); ++i) {
    TPathName& child = *node.Child(i);
    if (child.Deleted || (userMode && !child.Favourite())) continue;
    if (std::optional<TSearchNode> below = SearchBelow(child, userMode, kind, substring))
      found.Children.push_back(std::move(*below));
  }
  const bool sectionMatches =
      kind == kAnyStatementKind && !substring.empty() && node.Title().find(substring) != std::string::npos;
  if (found.Children.empty() && !sectionMatches) return std::nullopt;
  return found;
}

}  // namespace

std::optional<TSearchNode> SearchBook(TBook& book, bool userMode, int kind, std::string_view nameSubstring) {
  return SearchBelow(book, userMode, kind, nameSubstring);
}

TSearchNode BookTreeBefore(TBook& book, const TBookWalk& walk) {
  TSearchNode root{&book, {}};
  // The open branch at each depth: depth d's node goes under the one at d - 1.
  std::vector<TSearchNode*> open{&root};
  WalkBook(book, walk, [&open](TPathName& node, int depth) {
    open.resize(static_cast<std::size_t>(depth));
    TSearchNode& parent = *open.back();
    parent.Children.push_back(TSearchNode{&node, {}});
    open.push_back(&parent.Children.back());
    return true;
  });
  return root;
}

std::vector<TStatement*> FindStatements(const TBook& book, const TBookWalk& walk, int kind,
                                        std::string_view nameSubstring) {
  std::vector<TStatement*> found;
  WalkBook(book, walk, [&](TPathName& node, int) {
    if (node.IsStatement() && MatchesSearch(static_cast<TStatement&>(node), kind, nameSubstring))
      found.push_back(&static_cast<TStatement&>(node));
    return true;
  });
  return found;
}

std::vector<TStatement*> StatementsBefore(const TBook& book, const TStatement* limit) {
  return FindStatements(book, TBookWalk{false, limit}, kAnyStatementKind, "");
}

std::vector<std::string> FormulationsWithNotion(const TBook& book, const TStatement* limit, std::string_view notion) {
  std::vector<std::string> formulations;
  for (const TStatement* statement : StatementsBefore(book, limit)) {
    if (statement->Lines.size() > kNotionLine && statement->Lines[kNotionLine].find(notion) != std::string::npos)
      formulations.push_back(statement->Lines[kFormulationLine]);
  }
  return formulations;
}

std::vector<std::string> DefinedNotions(const TBook& book, const TStatement* limit) {
  std::vector<std::string> notions;
  for (const TStatement* statement : StatementsBefore(book, limit)) {
    if (statement->Kind() != kStatementKindWords[kDefinitionKind] || statement->Lines.size() <= kNotionLine) continue;
    std::string notion(Trim(statement->Lines[kNotionLine]));
    if (!notion.empty()) notions.push_back(std::move(notion));
  }
  return notions;
}

}  // namespace lemmix
