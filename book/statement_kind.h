// The kinds of statements of the book: their words in statement files and
// their Russian names, in the order the kind combo of the search shows them.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "shell/cp1251.h"

namespace lemmix {

inline const std::array<std::string, 7>& StatementKindsRus() {
  static const std::array<std::string, 7> kinds = {
      "определение"_cp, "аксиома"_cp, "теорема"_cp, "лемма"_cp, "задача"_cp, "метод"_cp, "",
  };
  return kinds;
}

// The words of line 4 of statement files, in the same order.
inline constexpr std::array<std::string_view, 7> kStatementKindWords = {
    "definition", "axiom", "theorem", "lemma", "task", "method", "",
};
inline constexpr int kDefinitionKind = 0;
inline constexpr int kMethodKind = 5;

// The empty seventh entry of the kind combo: any kind.
inline constexpr int kAnyStatementKind = 6;

}  // namespace lemmix
