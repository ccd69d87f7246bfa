// One glyph of a formula: a character code in one of the program's fonts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lemmix {

// Font indexes of letters: the plain face, the mathematical face "Symbolon";
// 2 and above are any other font.
inline constexpr std::uint8_t kPlainFont = 0;
inline constexpr std::uint8_t kMathFont = 1;

struct TLetter {
  // The place in pixels, filled by the layout of a formula edit; 0 when created.
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  std::uint8_t Code = ' ';
  std::uint32_t Colour = 0x8000;  // Windows RGB order 0x00BBGGRR; green
  std::uint8_t Font = kPlainFont;
};

using TLetters = std::vector<TLetter>;

// Same code and font: how visual forms are matched.
inline bool SameGlyph(const TLetter& a, const TLetter& b) { return a.Code == b.Code && a.Font == b.Font; }
bool SameGlyphs(const TLetters& a, const TLetters& b);

// The Unicode text a code of the mathematical font shows; empty for a code
// the font does not have.
std::u32string SymbolonText(std::uint8_t code);
// The letters as UTF-8: the plain face by Windows-1251, the mathematical face
// by its code map, other fonts as '?'.
std::string LettersToUtf8(const TLetters& letters);

}  // namespace lemmix
