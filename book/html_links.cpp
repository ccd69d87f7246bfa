#include "book/html_links.h"

#include <algorithm>
#include <cctype>

namespace lemmix {

namespace {

constexpr std::string_view kBook = "BOOK";
constexpr std::pair<std::string_view, THtmlCommandKind> kCommands[] = {
    {"logi", THtmlCommandKind::Logi}, {"prove", THtmlCommandKind::Prove}, {"demo", THtmlCommandKind::Demo}};

std::size_t FindBook(std::string_view address) {
  std::string upper(address);
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
  return upper.find(kBook);
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The command a link names: "BOOK" (any case), at most one separator, a
// command word and the statement's path. A page that merely lies in the book
// directory (".../data/book/functions.htm#loginfty") or has a command word in
// its name ("prove.htm") is no command.
std::optional<THtmlCommand> FindCommand(std::string_view address) {
  std::string upper(address);
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
  for (std::size_t book = upper.find(kBook); book != std::string::npos; book = upper.find(kBook, book + 1)) {
    std::string_view rest = address.substr(book + kBook.size());
    if (!rest.empty() && IsSeparator(rest.front())) rest.remove_prefix(1);
    for (const auto& [word, kind] : kCommands) {
      if (!rest.starts_with(word)) continue;
      const std::string_view path = rest.substr(word.size());
      if (!path.empty() && !IsSeparator(path.front())) continue;
      return THtmlCommand{kind, std::string(path)};
    }
  }
  return std::nullopt;
}

}  // namespace

std::string WithSlashes(std::string text) {
  std::replace(text.begin(), text.end(), '\\', '/');
  return text;
}

bool IsCommandLink(std::string_view address) { return FindCommand(address).has_value(); }

std::optional<THtmlCommand> ParseCommandLink(std::string_view address) { return FindCommand(address); }

TStatement* FindStatementByPath(const TBook& book, std::string_view relative) {
  const TPathName* node = &book;
  std::size_t at = 0;
  while (at < relative.size() && IsSeparator(relative[at])) ++at;
  while (at <= relative.size() && node && !node->IsStatement()) {
    std::size_t end = at;
    while (end < relative.size() && !IsSeparator(relative[end])) ++end;
    const std::string path = WithSlashes(node->Path + "\\" + std::string(relative.substr(at, end - at)));
    const TPathName* next = nullptr;
    for (std::size_t i = 0; i < node->ChildCount() && !next; ++i) {
      const TPathName* child = node->Child(i);
      if (!child->Deleted && WithSlashes(child->Path) == path) next = child;
    }
    node = next;
    at = end + 1;
  }
  if (!node || !node->IsStatement() || at <= relative.size()) return nullptr;
  return const_cast<TStatement*>(static_cast<const TStatement*>(node));
}

std::optional<std::string> PageKey(std::string_view location) {
  location = location.substr(0, location.find('#'));
  const std::size_t book = FindBook(location);
  if (book == std::string_view::npos) return std::nullopt;
  std::string_view rest = location.substr(book + kBook.size());
  if (!rest.empty() && IsSeparator(rest.front())) rest.remove_prefix(1);
  return std::string(rest);
}

}  // namespace lemmix
