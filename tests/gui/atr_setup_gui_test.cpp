// The settings windows of automatic transformations: they show the settings
// in force, store them on "Ok" only, and keep the package's tests and the
// one-step completion consistent; the Setup window opens them.
#include <QButtonGroup>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include "gui/atr_setup_forms.h"
#include "gui/lemmix.h"
#include "gui/main_form.h"
#include "gui/setup_form.h"
#include "gui_test_support.h"
#include "shell/settings.h"

using lemmix::TAutoSettings;
using namespace lemmix::testing;

class AtrSetupGuiTest : public QObject {
  Q_OBJECT

 private slots:
  void packageOffTurnsItsTestsOff() {
    TAutoSettings settings;
    lemmix::TATrSetupForm form(settings);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    SaveScreen(&form, "atr-setup-1");
    QCheckBox* tests[] = {form.TestDataCondBox(), form.TestProveCondBox(), form.TestProveCondWhenDataNewBox()};
    for (QCheckBox* box : tests) QVERIFY(box->isChecked() && box->isEnabled());
    form.MainBox()->click();
    for (QCheckBox* box : tests) QVERIFY(!box->isChecked() && !box->isEnabled());
    form.MainBox()->click();  // back on: free to choose, still unticked
    for (QCheckBox* box : tests) QVERIFY(!box->isChecked() && box->isEnabled());
    form.MainBox()->click();
    form.DefineProveObjectGroup()->button(2)->click();
    QTest::mouseClick(form.findChild<QPushButton*>("OkButton"), Qt::LeftButton);
    QVERIFY(!settings.SymbolTransEnable && !settings.TestDataCond && !settings.TestProveCond &&
            !settings.TestProveCondWhenDataNew);
    QCOMPARE(settings.DefineProveObject, 2);
    QVERIFY(settings.AutoStandard);
  }

  void showingTakesTheStoredValuesAndCancelKeepsThem() {
    TAutoSettings settings;
    settings.SymbolTransEnable = false;  // as a protocol of book\6\24 leaves it
    settings.TestDataCond = true;
    settings.AutoStandard = false;
    lemmix::TATrSetupForm form(settings);
    form.show();
    QVERIFY(!form.StandardBox()->isChecked() && !form.MainBox()->isChecked());
    QVERIFY(!form.TestDataCondBox()->isChecked() && !form.TestDataCondBox()->isEnabled());
    QCOMPARE(form.DefineProveObjectGroup()->checkedId(), 0);
    form.StandardBox()->click();
    QTest::mouseClick(form.findChild<QPushButton*>("CancelButton"), Qt::LeftButton);
    QVERIFY(!settings.AutoStandard && settings.TestDataCond);
    // Shown again, the window forgets what was not stored.
    form.show();
    QVERIFY(!form.StandardBox()->isChecked());
  }

  void disablingOneStepCompletionUnticksItsWays() {
    TAutoSettings settings;
    lemmix::TATrSetupForm2 form(settings);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    SaveScreen(&form, "atr-setup-2");
    QCOMPARE(form.ProveEachCondGroup()->checkedId(), 2);
    QCOMPARE(form.ImplicationSimplGroup()->checkedId(), 1);
    QCOMPARE(form.DisjunctionSimplGroup()->checkedId(), 1);
    QCOMPARE(form.DisjunctionSimplGroup()->button(1)->text(), QString("for new conditons"));
    form.EnableBox()->click();
    for (int i = 1; i < 4; ++i) QVERIFY(!form.FinishBox(i)->isChecked());
    form.FinishBox(3)->click();  // the ways stay free to choose
    form.ImplicationSimplGroup()->button(0)->click();
    QTest::mouseClick(form.findChild<QPushButton*>("OkButton"), Qt::LeftButton);
    QVERIFY(!settings.OneStepFinish0 && !settings.OneStepFinish1 && !settings.OneStepFinish2);
    QVERIFY(settings.OneStepFinish3);
    QCOMPARE(settings.ImplicationSimpl, 0);
    QCOMPARE(settings.ProveEachCond, 2);
    // What a protocol records is what the window stored.
    QVERIFY(settings.ProtocolLines() != TAutoSettings().ProtocolLines());
  }

  void setupWindowOpensEachAndCloses() {
    ScopedWorkingDirectory cwd(LEMMIX_DATA_DIR);
    lemmix::TLemmix lemmix;
    lemmix.Show();
    lemmix::TSetupForm& setup = lemmix.SetupForm();
    for (const char* button : {"ArithmTransButton", "AutoTransButton"}) {
      QString title;
      OnNextModalNamed("SetupForm", [&](QWidget* modal) {
        OnNextModal([&](QWidget* settings) {
          title = settings->windowTitle();
          static_cast<QDialog*>(settings)->reject();
        });
        QTest::mouseClick(modal->findChild<QPushButton*>(button), Qt::LeftButton);
      });
      QCOMPARE(setup.exec(), int(QDialog::Accepted));  // closed by the settings window
      QVERIFY(title.startsWith("Setup automatical transformations"));
    }
  }
};

QTEST_MAIN(AtrSetupGuiTest)
#include "atr_setup_gui_test.moc"
