// The three shapes of a formula below the tree: letters of the fonts (what an
// edit shows and the keyboard types), the item list (a flat sequence of
// tokens), and the stored text form of files. Items are expression nodes used
// as tokens: intrinsic functions (the explicit-type sign carries its type in
// the node's type), numbers, texts, variables, template parameters,
// antonyms, and the class item that follows the class sign (a text item
// holding the class name).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "expr/expr.h"
#include "intrinsics/letter.h"

namespace lemmix {

using TItemList = TExprList;

// Colours of letters made from items.
inline constexpr std::uint32_t kBlack = 0;
inline constexpr std::uint32_t kBlue = 0xFF0000;
inline constexpr std::uint32_t kRed = 0xFF;

// The intrinsic functions with a parameter written after them, found by the
// first code of their forms.
bool IsExplicitTypeSign(const TIntr& f);
bool IsClassSign(const TIntr& f);

// Where the items of a list stand in their source (the character of stored
// text or the letter of an edit line each begins at), followed by the end of
// the source: Items has one entry more than the list. A reader that fails at
// a place of its source leaves that place in Fault.
struct TItemPlaces {
  std::vector<std::size_t> Items;
  std::optional<std::size_t> Fault;
};

// Letters to items: runs of one class are numbers, variables, symbols of the
// catalogue or (plain-face words without `standardFont`) texts; "#" and
// digits a template parameter. Nothing on failure.
std::optional<TItemList> MyLetters_to_ItemL(const TLetters& letters, bool standardFont, TItemPlaces* places = nullptr);
// Items to letters, with the blanks that space symbols; ends with a space.
std::optional<TLetters> ItemL_to_MyLetters(const TItemList& items);

// One item and a list of items as stored text.
std::optional<std::string> OneItem_to_String(const TExpr& item, bool classWord, bool numeric);
std::optional<std::string> ItemL_to_String(const TItemList& items, bool classWord, bool numeric);
// Stored text to items; with `report` an unknown word is an error, without it a text item.
std::optional<TItemList> StringToItems(std::string_view text, bool report, TItemPlaces* places = nullptr);
std::optional<TLetters> StringToLetters(std::string_view text);

// The lines of an edit as stored text: mode 0 plain text, 1 a formula whose
// plain-face words stay texts, 2 a formula whose plain-face words are symbols.
std::optional<std::string> GetString(const std::vector<TLetters>& lines, int mode, bool numeric);

// A variable declared in an edit line: a letter, an index and "(type)".
std::optional<TVarList> ReadVariableDeclarations(const std::vector<TLetters>& lines);

}  // namespace lemmix
