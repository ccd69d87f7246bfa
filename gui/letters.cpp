#include "gui/letters.h"

#include <QFontMetrics>
#include <QPainter>

#include "gui/qtext.h"

namespace lemmix {

QFont LetterFont(std::uint8_t font, int pointSize) {
  // The plain face is a sans-serif one; the mathematical face is the program's own.
  QFont qfont(font == kMathFont ? QStringLiteral("Symbolon") : QStringLiteral("DejaVu Sans"));
  if (font != kMathFont) qfont.setStyleHint(QFont::SansSerif);
  qfont.setPointSize(pointSize);
  return qfont;
}

QString LetterText(const TLetter& letter) {
  // The mathematical font shows its codes also at U+F000 + code, where text
  // shaping leaves every character alone.
  if (letter.Font == kMathFont) return QString(QChar(0xF000 + letter.Code));
  return ToQString(std::string(1, static_cast<char>(letter.Code)));
}

int DrawLetters(QPainter& painter, int x, int y, const TLetters& letters, int pointSize) {
  const int start = x;
  for (const TLetter& letter : letters) {
    const QFont font = LetterFont(letter.Font, pointSize);
    const QString text = LetterText(letter);
    painter.setFont(font);
    painter.drawText(x, y, text);
    x += QFontMetrics(font).horizontalAdvance(text);
  }
  return x - start;
}

}  // namespace lemmix
