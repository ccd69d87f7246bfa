// Small text and list operations the catalogues, the proof driver and the
// transformation interpreter share. Positions are 1-based byte positions.
#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lemmix {

// Fields between separators, each trimmed; a separator at the end gives an
// empty last field; an empty text gives no field.
std::vector<std::string> SplitFields(std::string_view text, char separator);
// The bracketed argument list of a command "name(a,(b,c))": the pieces at
// depth-0 commas, untrimmed. A negative name length or count is not checked.
std::optional<std::vector<std::string>> ParseArguments(std::string_view text, int nameLength, int count);
// The first position from `from` on where the character stands outside round
// brackets; 0 when there is none or a bracket closes too early.
std::size_t FindOutsideBrackets(std::string_view text, std::size_t from, char c);
// The text without a pair of round brackets that encloses all of it.
std::string StripOuterBrackets(std::string_view text);
// Pieces between separators outside brackets, untrimmed; the rest is always the last.
std::vector<std::string> SplitOutsideBrackets(std::string_view text, char separator);
// A statement's path in the user's protocol tree: "book" (or else "Book") becomes "Protocols".
std::string UserProtocolPath(std::string_view path);

template <typename T>
void ListUnion(std::vector<T>& target, const std::vector<T>& source) {
  target.insert(target.end(), source.begin(), source.end());
}

// Removes the first occurrence of each element of the source.
template <typename T>
void ListRemove(std::vector<T>& target, const std::vector<T>& source) {
  for (const T& element : source) {
    const auto it = std::find(target.begin(), target.end(), element);
    if (it != target.end()) target.erase(it);
  }
}

// The same list, or lists of the same elements position by position; false when either is absent.
template <typename T>
bool SameElements(const std::vector<T>* a, const std::vector<T>* b) {
  if (a == nullptr || b == nullptr) return false;
  return a == b || *a == *b;
}

}  // namespace lemmix
