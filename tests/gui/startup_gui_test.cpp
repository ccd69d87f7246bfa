// The program as a student starts it: the main window opens on good data and
// closes again after the message when the type catalogue is missing.
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>

#include "gui/help_form.h"
#include "gui/lemmix.h"
#include "gui/main_form.h"
#include "gui/qtext.h"
#include "gui_test_support.h"
#include "shell/cp1251.h"
#include "support/temp_dir.h"

using lemmix::operator""_cp;
using lemmix::TLemmix;
using lemmix::testing::LabelTexts;
using lemmix::testing::OnNextModal;
using lemmix::testing::SaveScreen;
using lemmix::testing::ScopedWorkingDirectory;

namespace {
QString Q(const std::string& cp1251) { return lemmix::ToQString(cp1251); }
}  // namespace

class StartupGuiTest : public QObject {
  Q_OBJECT

 private:
  template <typename T = QPushButton>
  static T* Child(QWidget* window, const char* name) {
    T* child = window->findChild<T*>(name);
    if (child == nullptr) qFatal("no control %s", name);
    return child;
  }

 private slots:
  void startWithoutTypeCatalogueShowsTheMessageAndCloses() {
    lemmix::testing::TempDir dir;
    ScopedWorkingDirectory cwd(dir.Path());
    QString caption;
    QString text;
    OnNextModal([&](QWidget* modal) {
      caption = modal->windowTitle();
      text = LabelTexts(modal);
      SaveScreen(modal, "startup-missing-types");
      static_cast<QDialog*>(modal)->accept();
    });
    TLemmix lemmix;
    QCOMPARE(caption, Q("Ошибка"_cp));
    QVERIFY2(text.startsWith(Q("Отсутствует файл типов: "_cp)) && text.endsWith("/TYPES.DAT"), qPrintable(text));
    QVERIFY(!lemmix.Context().StartupOk);

    bool closed = false;
    connect(&lemmix.MainForm(), &lemmix::TMainForm::Closed, [&] { closed = true; });
    lemmix.Show();
    QTRY_VERIFY(closed);
    QVERIFY(!lemmix.MainForm().isVisible());
  }

  void brokenTypeCatalogueNamesTheLine() {
    lemmix::testing::TempDir dir;
    dir.Write("TYPES.DAT", lemmix::testing::CrLf({"String = rT", "Base = simpleBT", "Finite"}));
    ScopedWorkingDirectory cwd(dir.Path());
    QString text;
    OnNextModal([&](QWidget* modal) {
      text = LabelTexts(modal);
      SaveScreen(modal, "startup-broken-types");
      static_cast<QDialog*>(modal)->accept();
    });
    TLemmix lemmix;
    QCOMPARE(text, Q("Ошибка в строке 3 файла типов:\nНельзя задать атрибут Finite для немножесвенного типа rT"_cp));
    QVERIFY(!lemmix.Context().StartupOk);
  }

  void startOnTheBundledDataOpensTheMainWindow() {
    ScopedWorkingDirectory cwd(LEMMIX_DATA_DIR);
    TLemmix lemmix;
    QVERIFY(lemmix.Context().StartupOk);
    lemmix.Show();
    QWidget* main = &lemmix.MainForm();
    QVERIFY(QTest::qWaitForWindowExposed(main));
    QTest::qWait(50);
    QVERIFY(main->isVisible());
    SaveScreen(main, "main-window");

    QCOMPARE(main->windowTitle(), Q("Леммикс"_cp));
    auto* pages = Child<QTabWidget>(main, "Pages");
    QCOMPARE(pages->tabText(0), Q("Содержание"_cp));
    QCOMPARE(pages->tabText(1), Q("Поиск"_cp));
    QCOMPARE(pages->currentIndex(), 0);
    const struct {
      const char* name;
      std::string caption;
      bool enabled;
    } buttons[] = {{"SaveButton", "Сохранить"_cp, false},   {"EndButton", "Выход"_cp, true},
                   {"AboutButton", "О программе"_cp, true}, {"SetupButton", "Настройка"_cp, true},
                   {"HelpButton", "Справка"_cp, true},      {"SearchButton", "Поиск"_cp, false}};
    for (const auto& b : buttons) {
      QCOMPARE(Child(main, b.name)->text(), Q(b.caption));
      QCOMPARE(Child(main, b.name)->isEnabled(), b.enabled);
    }
    QCOMPARE(Child<QLabel>(main, "Label1")->text(), Q("Тип утверждения"_cp));
    QCOMPARE(Child<QLabel>(main, "Label2")->text(), Q("Подстрока названия утверждения"_cp));
    auto* kinds = Child<QComboBox>(main, "SearchCombo");
    QCOMPARE(kinds->count(), 7);
    QCOMPARE(kinds->itemText(0), Q("определение"_cp));
    QCOMPARE(kinds->itemText(5), Q("метод"_cp));
    QCOMPARE(kinds->currentIndex(), 6);
    pages->setCurrentIndex(1);
    SaveScreen(main, "main-window-search");
    pages->setCurrentIndex(0);

    // "Выход" asks first; "No" keeps the program running.
    QString question;
    OnNextModal([&](QWidget* modal) {
      question = LabelTexts(modal);
      SaveScreen(modal, "exit-question");
      for (QPushButton* b : modal->findChildren<QPushButton*>())
        if (b->text() == "No") QTest::mouseClick(b, Qt::LeftButton);
    });
    QTest::mouseClick(Child(main, "EndButton"), Qt::LeftButton);
    QCOMPARE(question, Q("ЗАКРЫТЬ ЛЕММИКС?"_cp));
    QVERIFY(main->isVisible());
    QVERIFY(lemmix.Context().TypesProccess != nullptr);

    OnNextModal([&](QWidget* modal) {
      for (QPushButton* b : modal->findChildren<QPushButton*>())
        if (b->text() == "Yes") QTest::mouseClick(b, Qt::LeftButton);
    });
    QTest::mouseClick(Child(main, "EndButton"), Qt::LeftButton);
    QTRY_VERIFY(!main->isVisible());
    QVERIFY(lemmix.Context().TypesProccess == nullptr);
  }

  void setupWindowSwitchesTheMode() {
    ScopedWorkingDirectory cwd(LEMMIX_DATA_DIR);
    TLemmix lemmix;
    lemmix.Show();
    QVERIFY(!lemmix.Context().DeveloperMode);
    bool settingsButtons = false;
    QString title;
    OnNextModal([&](QWidget* modal) {
      title = modal->windowTitle();
      settingsButtons = Child(modal, "ArithmTransButton")->isEnabled() &&
                        Child(modal, "AutoTransButton")->isEnabled() && Child(modal, "DemoButton")->isEnabled();
      Child<QRadioButton>(modal, "DeveloperMode")->click();
      SaveScreen(modal, "setup");
      QTest::mouseClick(Child(modal, "ExitButton"), Qt::LeftButton);
    });
    QTest::mouseClick(Child(&lemmix.MainForm(), "SetupButton"), Qt::LeftButton);
    QCOMPARE(title, Q("Настройка"_cp));
    QVERIFY(settingsButtons);
    QVERIFY(lemmix.Context().DeveloperMode);
  }

  void aboutShowsTheVersion() {
    ScopedWorkingDirectory cwd(LEMMIX_DATA_DIR);
    TLemmix lemmix;
    lemmix.Show();
    QString text;
    OnNextModal([&](QWidget* modal) {
      text = LabelTexts(modal);
      SaveScreen(modal, "about");
      static_cast<QDialog*>(modal)->accept();
    });
    QTest::mouseClick(Child(&lemmix.MainForm(), "AboutButton"), Qt::LeftButton);
    QVERIFY2(text.contains(Q("Версия "_cp) + LEMMIX_VERSION), qPrintable(text));
  }

  void informationHasItsCaptionAndItsHelpTopic() {
    ScopedWorkingDirectory cwd(LEMMIX_DATA_DIR);
    TLemmix lemmix;
    QString caption;
    QString text;
    QString helpPage;
    OnNextModal([&](QWidget* modal) {
      caption = modal->windowTitle();
      text = LabelTexts(modal);
      SaveScreen(modal, "information");
      OnNextModal([&](QWidget* help) {
        helpPage = lemmix.HelpForm().Browser()->toPlainText();
        static_cast<QDialog*>(help)->reject();
      });
      for (QPushButton* b : modal->findChildren<QPushButton*>())
        if (b->text() == Q("Справка"_cp)) b->click();
      static_cast<QDialog*>(modal)->accept();
    });
    lemmix.Context().Messages.Info({"Первая строка\\n вторая строка"_cp, "First\\n second"});
    QCOMPARE(caption, Q("Сообщение"_cp));
    QCOMPARE(text, Q("Первая строка\nвторая строка"_cp));
    QVERIFY2(helpPage.startsWith(Q("Сообщение"_cp)), qPrintable(helpPage));
  }

  void helpOpensTheTopicPageOrSaysItIsMissing() {
    ScopedWorkingDirectory cwd(LEMMIX_DATA_DIR);
    TLemmix lemmix;
    lemmix.Show();
    QString page;
    OnNextModal([&](QWidget* modal) {
      modal->resize(640, 480);
      page = lemmix.HelpForm().Browser()->toPlainText();
      SaveScreen(modal, "help-10");
      static_cast<QDialog*>(modal)->reject();
    });
    QTest::mouseClick(Child(&lemmix.MainForm(), "HelpButton"), Qt::LeftButton);
    QVERIFY2(page.contains(Q("Главное окно"_cp)), qPrintable(page));

    // A word of the palette: what it means, an example and how to type it.
    OnNextModal([&](QWidget* modal) {
      modal->resize(640, 480);
      page = lemmix.HelpForm().Browser()->toPlainText();
      SaveScreen(modal, "help-word");
      static_cast<QDialog*>(modal)->reject();
    });
    lemmix.HelpForm().ShowTopic(1111);
    QVERIFY2(page.contains(Q("сходится к"_cp)) && page.contains(Q("Как набрать"_cp)), qPrintable(page));

    QString message;
    OnNextModal([&](QWidget* modal) {
      message = LabelTexts(modal);
      static_cast<QDialog*>(modal)->accept();
    });
    lemmix.HelpForm().ShowTopic(999);
    QVERIFY2(message.startsWith(Q("Раздел справки 999 не найден: "_cp)), qPrintable(message));
  }
};

QTEST_MAIN(StartupGuiTest)
#include "startup_gui_test.moc"
#include "types/types_proccess.h"
