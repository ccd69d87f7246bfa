#include "intrinsics/letter.h"

#include <algorithm>

#include "shell/cp1251.h"

namespace lemmix {

bool SameGlyphs(const TLetters& a, const TLetters& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), SameGlyph);
}

namespace {

struct SymbolonCode {
  std::uint8_t code;
  const char32_t* text;
};

constexpr SymbolonCode kSymbolon[] = {
#include "symbolon_map.inc"
};

}  // namespace

std::u32string SymbolonText(std::uint8_t code) {
  for (const SymbolonCode& entry : kSymbolon)
    if (entry.code == code) return entry.text;
  return {};
}

std::string LettersToUtf8(const TLetters& letters) {
  std::string out;
  for (const TLetter& letter : letters) {
    if (letter.Font == kPlainFont) {
      out += Cp1251ToUtf8(std::string(1, static_cast<char>(letter.Code)));
    } else if (letter.Font == kMathFont) {
      const std::u32string text = SymbolonText(letter.Code);
      if (text.empty()) out += '?';
      for (const char32_t cp : text) AppendUtf8(out, cp);
    } else {
      out += '?';
    }
  }
  return out;
}

}  // namespace lemmix
