// Process entry of Lemmix. The data directory is chosen before the start and
// made the working directory, where the start-up routine reads it.
#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <exception>
#include <filesystem>
#include <system_error>

#include "gui/lemmix.h"
#include "gui/qtext.h"
#include "session/data_location.h"
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

// An upgrade brought another edition of the data: the user's copy takes it
// when the user wants, keeping their protocols and the previous copy.
void OfferInstalledEdition(const lemmix::TDataPlaces& places) {
  if (!lemmix::OtherEditionInstalled(places)) return;
  const QString previous = QString::fromStdString(places.User.string() + ".previous");
  const QString question =
      lemmix::ToQString("С программой установлено другое издание книги и каталогов.\n\nВзять его? Ваши протоколы "
                        "останутся, а вся прежняя копия данных сохранится в каталоге\n"_cp) +
      previous;
  if (QMessageBox::question(nullptr, lemmix::ToQString("Lemmix"), question) != QMessageBox::Yes) {
    lemmix::DeclineInstalledEdition(places);
    return;
  }
  if (const std::optional<lemmix::TMessage> failure = lemmix::TakeInstalledEdition(places))
    QMessageBox::warning(nullptr, lemmix::ToQString("Ошибка"_cp), lemmix::ToQString(failure->Rus));
}

// The data directory of this run, made the working directory; false when
// there is none, after saying why.
bool EnterDataDirectory(const QApplication& app) {
  QCommandLineParser parser;
  parser.setApplicationDescription(lemmix::ToQString("Интерактивный учебник математики"_cp));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption dataOption(
      "data", lemmix::ToQString("Каталог данных (по умолчанию: рабочий каталог, если в нём есть TYPES.DAT, иначе "
                                "копия данных программы в каталоге пользователя)."_cp),
      "DIR");
  parser.addOption(dataOption);
  parser.process(app);  // ends the process on --help, --version or a faulty option

  namespace fs = std::filesystem;
  std::error_code error;
  lemmix::TDataPlaces places = lemmix::PlacesOfRun(QCoreApplication::applicationDirPath().toStdString());
  if (parser.isSet(dataOption)) places.Given = fs::path(parser.value(dataOption).toStdString());
  const lemmix::TDataChoice choice = lemmix::ChooseDataDirectory(places);
  if (!choice.Error && !choice.Copied && choice.Dir == places.User) OfferInstalledEdition(places);
  if (!choice.Error) fs::current_path(choice.Dir, error);
  if (choice.Error || error) {
    const lemmix::TMessage message =
        choice.Error ? *choice.Error
                     : lemmix::TMessage{"Каталог данных недоступен: "_cp + lemmix::Utf8ToCp1251(choice.Dir.string()),
                                        "The data directory is not accessible: " + choice.Dir.string()};
    QMessageBox::critical(nullptr, lemmix::ToQString("Ошибка"_cp), lemmix::ToQString(message.Rus));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  TApplication app(argc, argv);
  TApplication::setApplicationName("lemmix");
  TApplication::setApplicationVersion(LEMMIX_VERSION);
  if (!EnterDataDirectory(app)) return 1;
  try {
    lemmix::TLemmix lemmix;
    lemmix.Show();
    return app.exec();
  } catch (const std::exception& error) {
    TApplication::ShowException(error.what());
  }
  return 1;
}
