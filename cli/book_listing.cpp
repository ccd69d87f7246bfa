#include "cli/book_listing.h"

#include "shell/cp1251.h"
#include "shell/files.h"

namespace lemmix {

namespace {

std::string Line(const TPathName& node, int depth) {
  std::string line(static_cast<std::size_t>(depth) * 2, ' ');
  line += Cp1251ToUtf8(node.Title());
  if (node.IsStatement()) line += "  [" + static_cast<const TStatement&>(node).Kind() + "]";
  line += "  " + Cp1251ToUtf8(DisplayPath(node.Path)) + "\n";
  return line;
}

void ListSearch(const TSearchNode& found, int depth, std::string& out) {
  out += Line(*found.Node, depth);
  for (const TSearchNode& child : found.Children) ListSearch(child, depth + 1, out);
}

}  // namespace

std::string BookListing(const TBook& book, bool userMode) {
  std::string out = Line(book, 0);
  WalkBook(book, TBookWalk{userMode, nullptr}, [&out](TPathName& node, int depth) {
    out += Line(node, depth);
    return true;
  });
  return out;
}

std::string SearchListing(const TSearchNode& result) {
  std::string out;
  ListSearch(result, 0, out);
  return out;
}

std::string BookSummary(const TBook& book) {
  std::size_t counts[3] = {0, 0, 0};
  WalkBook(book, {}, [&counts](TPathName&, int depth) {
    ++counts[depth - 1];
    return true;
  });
  return std::to_string(counts[0]) + " chapters, " + std::to_string(counts[1]) + " paragraphs, " +
         std::to_string(counts[2]) + " statements";
}

}  // namespace lemmix
