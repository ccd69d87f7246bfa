#include "gui/qtext.h"

#include "shell/cp1251.h"

namespace lemmix {

QString ToQString(const std::string& cp1251) { return QString::fromStdString(Cp1251ToUtf8(cp1251)); }

std::string FromQString(const QString& text) { return Utf8ToCp1251(text.toStdString()); }

}  // namespace lemmix
