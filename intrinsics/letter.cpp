#include "intrinsics/letter.h"

#include <algorithm>

namespace lemmix {

bool SameGlyphs(const TLetters& a, const TLetters& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), SameGlyph);
}

}  // namespace lemmix
