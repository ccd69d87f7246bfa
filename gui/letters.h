// Drawing letters of formulas: each letter in its own font.
#pragma once

#include <QFont>
#include <QString>

#include "intrinsics/letter.h"

class QPainter;

namespace lemmix {

// The Qt font of a letter's font index: the plain face or "Symbolon".
QFont LetterFont(std::uint8_t font, int pointSize);
// The character that shows the letter in that font.
QString LetterText(const TLetter& letter);
// Draws the letters from the base line point (x, y); answers the width drawn.
int DrawLetters(QPainter& painter, int x, int y, const TLetters& letters, int pointSize);

}  // namespace lemmix
