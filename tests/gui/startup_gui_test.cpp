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
#include "gui_test_support.h"
#include "support/temp_dir.h"

using lemmix::TLemmix;
using lemmix::testing::LabelTexts;
using lemmix::testing::OnNextModal;
using lemmix::testing::SaveScreen;
using lemmix::testing::ScopedWorkingDirectory;

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
    QCOMPARE(caption, QString("Ошибка"));
    QVERIFY2(text.startsWith("Отсутствует файл типов: ") && text.endsWith("/TYPES.DAT"), qPrintable(text));
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
    QCOMPARE(text, QString("Ошибка в строке 3 файла типов:\nНельзя задать атрибут Finite для немножесвенного типа rT"));
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

    QCOMPARE(main->windowTitle(), QString("Леммикс"));
    auto* pages = Child<QTabWidget>(main, "Pages");
    QCOMPARE(pages->tabText(0), QString("Содержание"));
    QCOMPARE(pages->tabText(1), QString("Поиск"));
    QCOMPARE(pages->currentIndex(), 0);
    const struct {
      const char* name;
      const char* caption;
      bool enabled;
    } buttons[] = {{"SaveButton", "Сохранить", false}, {"EndButton", "Выход", true},
                   {"AboutButton", "О программе", true}, {"SetupButton", "Настройка", true},
                   {"HelpButton", "Справка", true},      {"SearchButton", "Поиск", false}};
    for (const auto& b : buttons) {
      QCOMPARE(Child(main, b.name)->text(), QString(b.caption));
      QCOMPARE(Child(main, b.name)->isEnabled(), b.enabled);
    }
    QCOMPARE(Child<QLabel>(main, "Label1")->text(), QString("Тип утверждения"));
    QCOMPARE(Child<QLabel>(main, "Label2")->text(), QString("Подстрока названия утверждения"));
    auto* kinds = Child<QComboBox>(main, "SearchCombo");
    QCOMPARE(kinds->count(), 7);
    QCOMPARE(kinds->itemText(0), QString("определение"));
    QCOMPARE(kinds->itemText(5), QString("метод"));
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
    QCOMPARE(question, QString("ЗАКРЫТЬ ЛЕММИКС?"));
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
    bool settingsDisabled = false;
    QString title;
    OnNextModal([&](QWidget* modal) {
      title = modal->windowTitle();
      settingsDisabled = !Child(modal, "ArithmTransButton")->isEnabled() &&
                         !Child(modal, "AutoTransButton")->isEnabled() && !Child(modal, "DemoButton")->isEnabled();
      Child<QRadioButton>(modal, "DeveloperMode")->click();
      SaveScreen(modal, "setup");
      QTest::mouseClick(Child(modal, "ExitButton"), Qt::LeftButton);
    });
    QTest::mouseClick(Child(&lemmix.MainForm(), "SetupButton"), Qt::LeftButton);
    QCOMPARE(title, QString("Настройка"));
    QVERIFY(settingsDisabled);
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
    QVERIFY2(text.contains(QString("Версия ") + LEMMIX_VERSION), qPrintable(text));
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
    QVERIFY2(page.contains("Главное окно"), qPrintable(page));

    QString message;
    OnNextModal([&](QWidget* modal) {
      message = LabelTexts(modal);
      static_cast<QDialog*>(modal)->accept();
    });
    lemmix.HelpForm().ShowTopic(999);
    QVERIFY2(message.startsWith("Раздел справки 999 не найден: "), qPrintable(message));
  }
};

QTEST_MAIN(StartupGuiTest)
#include "startup_gui_test.moc"
