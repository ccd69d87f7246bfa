// The choice of an action: while proving a row must be picked before "Ok";
// in a demonstration the preselected row stays and any key confirms it; help
// follows the selected row.
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "gui/assot_form.h"
#include "gui/qtext.h"
#include "gui_test_support.h"
#include "shell/cp1251.h"

using lemmix::operator""_cp;
using lemmix::TAssotForm;
using namespace lemmix::testing;

namespace {

const std::vector<TAssotForm::TRow> kRows = {{"Рассмотреть случаи"_cp, 1300},
                                             {"Доказать отмеченное условие"_cp, -1},
                                             {"Подставить выражение вместо переменной квантора"_cp, 1301}};

// Clicks the row's centre in the list.
void ClickRow(TAssotForm& form, int row) {
  QListWidget* list = form.List();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  list->doItemsLayout();
  const QPoint at = list->visualItemRect(list->item(row)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
}

}  // namespace

class AssotFormGuiTest : public QObject {
  Q_OBJECT

 private slots:
  void provingNeedsARowBeforeOk() {
    TAssotForm form;
    std::vector<int> helpAsked;
    form.SetHelp([&](int topic) { helpAsked.push_back(topic); });
    bool okAtFirst = true;
    QStringList shown;
    OnNextModal([&](QWidget* modal) {
      okAtFirst = form.OkButton()->isEnabled();
      for (int i = 0; i < form.List()->count(); ++i) shown << form.List()->item(i)->text();
      QTest::keyClick(modal, Qt::Key_F1);  // nothing selected: the window's topic
      ClickRow(form, 2);
      QTest::mouseClick(form.HelpButton(), Qt::LeftButton);
      ClickRow(form, 1);
      QTest::keyClick(modal, Qt::Key_F1);  // a row without help
      SaveScreen(modal, "assot-choice");
      QTest::mouseClick(form.OkButton(), Qt::LeftButton);
    });
    QCOMPARE(form.Choose(kRows), 1);
    QVERIFY(!okAtFirst);
    QCOMPARE(shown.front(), lemmix::ToQString("Рассмотреть случаи."_cp));
    QCOMPARE(helpAsked, (std::vector<int>{TAssotForm::kDefaultHelp, 1301, TAssotForm::kDefaultHelp}));
    QCOMPARE(form.ChosenRow(), 1);
    QVERIFY(QFile::exists(QString(LEMMIX_DATA_DIR) + "/help/" + QString::number(TAssotForm::kDefaultHelp) + ".html"));
  }

  void doubleClickChoosesAndEscapeCancels() {
    TAssotForm form;
    // The list reports a double click on a row (offscreen, QTest's double click does not reach it).
    OnNextModal([&](QWidget*) { emit form.List()->itemDoubleClicked(form.List()->item(2)); });
    QCOMPARE(form.Choose(kRows), 2);
    OnNextModal([&](QWidget* modal) {
      QTest::keyClick(modal, Qt::Key_Return);  // no row yet: Enter does nothing
      QVERIFY(modal->isVisible());
      QTest::keyClick(modal, Qt::Key_Escape);
    });
    QCOMPARE(form.Choose(kRows), -1);
    QCOMPARE(form.ChosenRow(), -1);
  }

  void aDemonstrationKeepsItsRowAndAnyKeyGoesOn() {
    TAssotForm form;
    bool onlyOk = false;
    int stayed = -1;
    OnNextModal([&](QWidget* modal) {
      onlyOk = form.OkButton()->isEnabled() && !form.CancelButton()->isEnabled() && !form.HelpButton()->isEnabled();
      ClickRow(form, 0);  // elsewhere: the selection goes back
      stayed = form.List()->currentRow();
      QVERIFY(modal->isVisible());
      QTest::keyClick(form.List(), Qt::Key_Space);
    });
    QCOMPARE(form.Confirm(kRows, 2), 2);
    QVERIFY(onlyOk);
    QCOMPARE(stayed, 2);
    // A click on the row itself chooses it too.
    OnNextModal([&](QWidget*) { ClickRow(form, 1); });
    QCOMPARE(form.Confirm(kRows, 1), 1);
    // Proving again afterwards: the window is back to its proving state.
    OnNextModal([&](QWidget* modal) {
      QVERIFY(!form.OkButton()->isEnabled() && form.CancelButton()->isEnabled());
      QTest::keyClick(modal, Qt::Key_Escape);
    });
    QCOMPARE(form.Choose(kRows), -1);
  }
};

QTEST_MAIN(AssotFormGuiTest)
#include "assot_form_gui_test.moc"
