// An intrinsic function of the formal language: a built-in function,
// predicate, operator, quantifier or set symbol, identified by its number.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "intrinsics/letter.h"

namespace lemmix {

class TType;
struct TAntIntr;

// How formula output places blanks around a symbol.
enum class TSpacing : std::uint8_t { None = 0, SkipAfter = 1, SkipBeforeAndAfter = 2, SkipBefore = 3 };

// How a function is written relative to its arguments.
enum class TFixity : std::int8_t { Postfix = -1, Infix = 0, Prefix = 1 };

// A type in which a function may be used.
struct TConcreteType {
  enum Mode : int { Usable = 0, UntilDefined = 2 };  // 2: only once the notion is defined
  int Mode = Usable;
  TType* Type = nullptr;
};

struct TIntr {
  std::uint8_t Number = 0;
  TLetters Visual;       // how it is drawn
  std::string Name;      // its backslash word
  int HotKey = -1;       // index into the hot key list, -1 for none
  int HotRegister = 0;   // 0 "MAIN", 1 "SHIFT", 2 "CTRL"
  std::string Palette;   // "T-S": topic and subtopic of the symbol palette; empty: not there
  int HelpIndex = -1;
  TAntIntr* Antonym = nullptr;  // owned by the catalogue's antonym list
  TSpacing Spacing = TSpacing::None;
  int Priority = 13;
  TFixity Fixity = TFixity::Infix;
  bool Nary = false;
  std::vector<TConcreteType> ConcreteTypes;
  TType* DefaultType = nullptr;
};

// The negation of an intrinsic function drawn as a sign of its own (≠, ∉ ...).
struct TAntIntr {
  TIntr* Intr = nullptr;
  TLetters Visual;
};

// Intrinsic functions that, written in a row, stand for another one, or for
// its negation when not positive.
struct TCouple {
  std::vector<TIntr*> Parts;
  TIntr* Result = nullptr;
  bool Positive = true;
};

}  // namespace lemmix
