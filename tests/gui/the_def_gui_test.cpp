// The variable definition dialog: the column of cases grows and shrinks with
// its labels, the buttons follow the page, help follows the page.
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "gui/my_edit.h"
#include "gui/the_def_form.h"
#include "gui/qtext.h"
#include "gui_test_support.h"
#include "shell/cp1251.h"

using lemmix::operator""_cp;
using lemmix::TTheDefForm;

namespace {

QString Q(const std::string& cp1251) { return lemmix::ToQString(cp1251); }

std::vector<QString> Labels(std::initializer_list<std::string> texts) {
  std::vector<QString> labels;
  for (const std::string& text : texts) labels.push_back(Q(text));
  return labels;
}

}  // namespace

class TheDefGuiTest : public QObject {
  Q_OBJECT

 private slots:
  void casesGrowAndShrinkWithTheirLabels() {
    TTheDefForm form;
    QCOMPARE(form.CondEdits().size(), std::size_t(2));
    QCOMPARE(form.AddButton()->text(), Q("Добавить условие"_cp));
    QVERIFY(!form.DelButton()->isEnabled() && !form.DelAllButton()->isEnabled());
    form.AddCase();
    QCOMPARE(form.AddButton()->text(), Q("Добавить значение"_cp));
    form.AddCase();
    form.AddCase();
    QCOMPARE(form.CondEdits().size(), std::size_t(5));
    QCOMPARE(form.CondLabels(), Labels({"=", ", если"_cp, ", иначе"_cp, ", если"_cp}));
    QVERIFY(form.DelButton()->isEnabled() && form.DelAllButton()->isEnabled());

    form.Pages()->setCurrentIndex(1);
    form.CondEdits()[0]->AddText("x", 1);
    form.CondEdits()[1]->AddText("1", 1);
    form.CondEdits()[2]->AddText("t > 0", 1);
    form.CondEdits()[3]->AddText("0", 1);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    lemmix::testing::SaveScreen(&form, "define-variable-cases");

    form.DeleteLast();
    form.DeleteLast();
    QCOMPARE(form.CondEdits().size(), std::size_t(3));
    QCOMPARE(form.CondLabels(), Labels({"=", ", если"_cp}));
    QCOMPARE(form.AddButton()->text(), Q("Добавить значение"_cp));
    form.DeleteAll();
    QCOMPARE(form.CondEdits().size(), std::size_t(2));
    QCOMPARE(form.CondEdits()[0]->Text().Lines()[0].size(), std::size_t(1));  // cleared
    QVERIFY(!form.DelButton()->isEnabled() && !form.DelAllButton()->isEnabled());
    QCOMPARE(form.AddButton()->text(), Q("Добавить условие"_cp));
    form.DeleteLast();  // never below the variable and one value
    QCOMPARE(form.CondEdits().size(), std::size_t(2));
  }

  void buttonsAndHelpFollowThePage() {
    TTheDefForm form;
    const int topics[] = {216, 217, 218};
    for (int page = 0; page < 3; ++page) {
      form.Pages()->setCurrentIndex(page);
      QCOMPARE(form.HelpTopic(), topics[page]);
      QVERIFY(QFile::exists(QString(LEMMIX_DATA_DIR) + "/help/" + QString::number(topics[page]) + ".html"));
      QCOMPARE(!form.AddButton()->isHidden(), page == 1);
      QCOMPARE(!form.DelAllButton()->isHidden(), page == 1);
    }
    QCOMPARE(form.Pages()->tabText(0), Q("Без условий"_cp));
    QCOMPARE(form.Pages()->tabText(2), Q("Рекурсивно"_cp));
    QCOMPARE(form.windowTitle(), QString("Define variable"));
  }
};

QTEST_MAIN(TheDefGuiTest)
#include "the_def_gui_test.moc"
