#include "gui/qt_fonts.h"

#include <QFontDatabase>
#include <QStringList>

#include "shell/files.h"

namespace lemmix {

QtFontInstaller::~QtFontInstaller() { Uninstall(); }

bool QtFontInstaller::Install(const std::string& path) {
  Uninstall();
  fontId_ = QFontDatabase::addApplicationFont(QString::fromStdString(NativePath(path)));
  if (fontId_ < 0) return false;
  if (!QFontDatabase::applicationFontFamilies(fontId_).contains("Symbolon")) {
    Uninstall();
    return false;
  }
  return true;
}

void QtFontInstaller::Uninstall() {
  if (fontId_ >= 0) QFontDatabase::removeApplicationFont(fontId_);
  fontId_ = -1;
}

}  // namespace lemmix
