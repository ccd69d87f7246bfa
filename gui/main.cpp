// Process entry of Lemmix. The working directory is the data directory.
#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "gui/lemmix.h"
#include "gui/qtext.h"
#include "shell/cp1251.h"

namespace {

using lemmix::operator""_cp;

// An exception that escapes an event handler is shown in the standard box and
// ends the run in order, instead of unwinding through the event loop.
class TApplication : public QApplication {
 public:
  using QApplication::QApplication;

  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
      ShowException(error.what());
    } catch (...) {
      ShowException("unknown exception");
    }
    return false;
  }

  static void ShowException(const char* what) {
    QMessageBox::critical(nullptr, lemmix::ToQString("Ошибка"_cp),
                          lemmix::ToQString("Непредвиденная ошибка: "_cp) + QString::fromLocal8Bit(what));
    QCoreApplication::exit(1);
  }
};

}  // namespace

int main(int argc, char** argv) {
  TApplication app(argc, argv);
  try {
    lemmix::TLemmix lemmix;
    lemmix.Show();
    return app.exec();
  } catch (const std::exception& error) {
    TApplication::ShowException(error.what());
  }
  return 1;
}
