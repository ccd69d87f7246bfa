// The protocol name window: a refused name brings the window back, a good
// one saves the file, cancelling saves nothing.
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "book/statement.h"
#include "gui/save_pr_form.h"
#include "gui_test_support.h"
#include "shell/files.h"
#include "shell/recording_messages.h"
#include "support/temp_dir.h"

using namespace lemmix::testing;

class SavePrGuiTest : public QObject {
  Q_OBJECT

 private slots:
  void aRefusedNameAsksAgain() {
    TempDir dir;
    lemmix::TStatement statement;
    statement.Path = lemmix::SystemPath((dir.Path() / "book").string()).value() + "\\1\\0\\0";
    lemmix::RecordingMessages messages;
    lemmix::TSavePrForm form;
    QStringList names = {"bad:name", "good"};
    int shown = 0;
    std::function<void(QWidget*)> type = [&](QWidget* modal) {
      QCOMPARE(modal->windowTitle(), QString("Save protocol file"));
      form.NameEdit()->setText(names[shown++]);
      if (shown == 1) SaveScreen(modal, "save-protocol");
      if (shown < names.size()) OnNextModal(type);
      QTest::mouseClick(modal->findChild<QPushButton*>("OkButton"), Qt::LeftButton);
    };
    OnNextModal(type);
    QVERIFY(form.SaveProtocol(statement, {"line"}, true, messages, messages));
    QCOMPARE(shown, 2);
    QCOMPARE(messages.Entries().size(), std::size_t(1));
    QCOMPARE(messages.Entries()[0].message.Eng, std::string("File name contains invalid symbol: :"));
    QVERIFY(std::filesystem::exists(dir.Path() / "book/1/0/0/good.prt"));

    OnNextModal(
        [&](QWidget* modal) { QTest::mouseClick(modal->findChild<QPushButton*>("CancelButton"), Qt::LeftButton); });
    QVERIFY(!form.SaveProtocol(statement, {"line"}, true, messages, messages));
  }
};

QTEST_MAIN(SavePrGuiTest)
#include "save_pr_gui_test.moc"
