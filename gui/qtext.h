// The GUI boundary of the text: the core's cp1251 strings become QStrings here.
#pragma once

#include <QString>
#include <string>

namespace lemmix {

QString ToQString(const std::string& cp1251);
std::string FromQString(const QString& text);

}  // namespace lemmix
