// The dialogs of the proof window on the bundled book: the choice of a
// statement to apply, the input of a formula, the marks of nonstationary
// variables, the choice from a list, the substitution into a quantified
// condition and the question of a defined required object.
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <algorithm>
#include <filesystem>

#include "book/search.h"
#include "book/statement_kind.h"
#include "gui/apply_form.h"
#include "gui/choose_form.h"
#include "gui/formula_input_form.h"
#include "gui/induction_form.h"
#include "gui/lemmix.h"
#include "gui/main_form.h"
#include "gui/my_edit.h"
#include "gui/qt_proof_ui.h"
#include "gui/qtext.h"
#include "gui/required_object_form.h"
#include "gui/subst_form.h"
#include "gui_test_support.h"
#include "notation/edit_text.h"
#include "notation/items.h"
#include "proofrun/driver.h"
#include "session/session.h"
#include "shell/cp1251.h"
#include "support/temp_dir.h"

using lemmix::operator""_cp;
using lemmix::TApplyForm;
using lemmix::TChooseForm;
using lemmix::TFormulaInputForm;
using lemmix::TInductionForm;
using lemmix::TRefuse;
using lemmix::TRequiredObjectForm;
using lemmix::TStatement;
using lemmix::TSubstForm;
using lemmix::TSubstituteAnswer;
using lemmix::testing::EditText;
using lemmix::testing::LabelTexts;
using lemmix::testing::OnNextModal;
using lemmix::testing::SaveScreen;

namespace {

namespace fs = std::filesystem;

QString Q(const std::string& cp1251) { return lemmix::ToQString(cp1251); }

// The statement of the book with the title, in the order of the book.
const TStatement* Find(const lemmix::TBook& book, const std::string& title) {
  const TStatement* found = nullptr;
  lemmix::WalkBook(book, {}, [&](lemmix::TPathName& node, int) {
    if (node.IsStatement() && node.Title() == title) found = static_cast<const TStatement*>(&node);
    return found == nullptr;
  });
  return found;
}

// The titles of the statement rows the tree shows (not hidden by a search).
QStringList ShownStatements(QTreeWidget* tree) {
  QStringList titles;
  for (QTreeWidgetItemIterator it(tree); *it; ++it) {
    bool hidden = false;
    for (const QTreeWidgetItem* up = *it; up; up = up->parent()) hidden = hidden || up->isHidden();
    if (!hidden && (*it)->childCount() == 0) titles << (*it)->text(0);
  }
  return titles;
}

TStatement& AddStatement(lemmix::TParagraph& paragraph, const std::string& title, std::string_view kind,
                         const std::string& formulation, bool favourite = true) {
  TStatement& statement = paragraph.InsertChild(paragraph.Children.size());
  statement.Lines[lemmix::kFavouriteLine] = favourite ? "S" : "";
  statement.Lines[lemmix::kRussianNameLine] = title;
  statement.Lines[lemmix::kKindLine] = std::string(kind);
  statement.Lines[lemmix::kFormulationLine] = formulation;
  return statement;
}

// A line is laid out as a formula: every letter in the colour of formula
// letters, the blanks the layout puts around symbols aside. Words that are no
// symbols or names show in the colour of text.
bool LaidOut(const lemmix::TLetters& line) {
  return std::all_of(line.begin(), line.end(),
                     [](const lemmix::TLetter& l) { return l.Code == ' ' || l.Colour == lemmix::kBlack; });
}

// Where the edit shows its line, in the coordinates of its paint box.
QPoint LinePoint(const lemmix::TMyEdit& edit, int line) {
  const lemmix::TLetter& letter = edit.Text().Lines()[line].front();
  return {letter.Left + 2, letter.Top + letter.Height / 2};
}

}  // namespace

class ProofDialogsGuiTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    dir_ = std::make_unique<lemmix::testing::TempDir>();
    fs::copy(LEMMIX_DATA_DIR, dir_->Path(), fs::copy_options::recursive);
    cwd_ = std::make_unique<lemmix::testing::ScopedWorkingDirectory>(dir_->Path());
    lemmix_ = std::make_unique<lemmix::TLemmix>();
    lemmix_->Show();  // loads the book
    QVERIFY(QTest::qWaitForWindowExposed(&lemmix_->MainForm()));
    QVERIFY(lemmix_->Context().Book);
    proved_ = Find(*lemmix_->Context().Book, "Неравенство треугольника"_cp);
    QVERIFY(proved_);
  }
  void cleanupTestCase() {
    lemmix_.reset();
    cwd_.reset();
    dir_.reset();
  }

  void applyOffersOnlyStatementsBeforeTheProvedOne() {
    const lemmix::TBook& book = *lemmix_->Context().Book;
    const TStatement* earlier = Find(book, "Неравенство с модулем"_cp);
    const TStatement* first = Find(book, "Отрицание неравенства"_cp);
    const TStatement* later = Find(book, "Разность модулей"_cp);
    QVERIFY(earlier && first && later);
    TApplyForm form(book, *proved_, nullptr);
    QCOMPARE(form.windowTitle(), Q("Применить утверждение"_cp));
    QVERIFY(!form.ApplyButton()->isEnabled());
    QVERIFY(form.Select(*first));
    QVERIFY(form.Select(*earlier));
    QVERIFY(!form.Select(*proved_));
    QVERIFY(!form.Select(*later));
    QCOMPARE(form.Selected(), earlier);  // the refused choices changed nothing
    QVERIFY(form.ApplyButton()->isEnabled());
    // The last row of the tree is the statement just before the proved one.
    QTreeWidgetItem* last = form.Tree()->topLevelItem(form.Tree()->topLevelItemCount() - 1);
    while (last->childCount() > 0) last = last->child(last->childCount() - 1);
    QCOMPARE(last->text(0), Q(earlier->Title()));
    QVERIFY2(EditText(form.Formulation()).contains(QString::fromUtf8("∀")), qPrintable(EditText(form.Formulation())));

    // A section is no statement: nothing to apply.
    form.Tree()->setCurrentItem(last->parent());
    QVERIFY(!form.ApplyButton()->isEnabled());
    QVERIFY(form.Selected() == nullptr);

    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.Select(*earlier);
    SaveScreen(&form, "apply-statement");
    form.hide();

    OnNextModal([](QWidget* modal) { static_cast<TApplyForm*>(modal)->ApplyButton()->click(); });
    QCOMPARE(form.exec(), int(QDialog::Accepted));
    QCOMPARE(form.Chosen(), earlier);
  }

  void applyCancelledChoosesNothing() {
    TApplyForm form(*lemmix_->Context().Book, *proved_, nullptr);
    QVERIFY(form.Select(*Find(*lemmix_->Context().Book, "Неравенство с модулем"_cp)));
    OnNextModal([](QWidget* modal) { static_cast<TApplyForm*>(modal)->CancelButton()->click(); });
    QCOMPARE(form.exec(), int(QDialog::Rejected));
    QVERIFY(form.Chosen() == nullptr);
  }

  void applySearchFindsEarlierStatementsOnly() {
    TApplyForm form(*lemmix_->Context().Book, *proved_, nullptr);
    const int all = ShownStatements(form.Tree()).size();
    // Typing in the search box filters, ignoring case.
    form.SearchEdit()->insert(Q("НЕРАВЕНСТВО С МОД"_cp));
    QCOMPARE(ShownStatements(form.Tree()), QStringList{Q("Неравенство с модулем"_cp)});
    QCOMPARE(form.Selected()->Title(), "Неравенство с модулем"_cp);
    QVERIFY(form.ApplyButton()->isEnabled());
    QCOMPARE(form.SearchResult()->text(), Q("Найдено утверждений: 1"_cp));

    // A word of many titles: each shown row holds it, the later "Разность модулей" is not among them.
    QVERIFY(form.Search(Q("модул"_cp)));
    QCOMPARE(form.SearchEdit()->text(), Q("модул"_cp));
    const QStringList shown = ShownStatements(form.Tree());
    QVERIFY(shown.size() >= 5);
    for (const QString& title : shown) QVERIFY2(title.contains(Q("модул"_cp), Qt::CaseInsensitive), qPrintable(title));
    QVERIFY(!shown.contains(Q("Разность модулей"_cp)));
    QVERIFY(!shown.contains(Q(proved_->Title())));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    SaveScreen(&form, "apply-statement-search");

    // A statement after the proved one is not found; the whole tree comes back.
    QVERIFY(!form.Search(Q("Разность модулей"_cp)));
    QCOMPARE(form.SearchResult()->text(), Q("Среди утверждений до доказываемого такого нет."_cp));
    QCOMPARE(ShownStatements(form.Tree()).size(), all);
    QVERIFY(form.Search(""));
    QCOMPARE(ShownStatements(form.Tree()).size(), all);
    QVERIFY(form.SearchResult()->text().isEmpty());
  }

  void applyOffersNoMethodsNoEmptyFormulationsNoHiddenStatements() {
    // A small book: what can be applied depends on the kind, the formulation and the mode.
    lemmix::TBook book;
    lemmix::TChapter& chapter = book.InsertChild(0);
    chapter.Lines[lemmix::kFavouriteLine] = "S";
    lemmix::TParagraph& paragraph = chapter.InsertChild(0);
    paragraph.Lines[lemmix::kFavouriteLine] = "S";
    const std::string_view method = lemmix::kStatementKindWords[lemmix::kMethodKind];
    struct Row {
      TStatement* Statement;
      bool Offered;
    };
    const std::vector<Row> rows = {
        {&AddStatement(paragraph, "Аксиома"_cp, "axiom", "x = x"), true},
        {&AddStatement(paragraph, "Метод"_cp, method, ""), false},
        {&AddStatement(paragraph, "Без формулировки"_cp, "theorem", ""), false},
        {&AddStatement(paragraph, "Не избранное"_cp, "theorem", "x = x", false), false},
        {&AddStatement(paragraph, "Определение"_cp, "definition", "x = x"), true},
    };
    const TStatement& proved = AddStatement(paragraph, "Доказываемое"_cp, "theorem", "x = x");
    const TStatement& after = AddStatement(paragraph, "После"_cp, "theorem", "x = x");
    TApplyForm form(book, proved, nullptr);
    for (const Row& row : rows) QCOMPARE(form.Select(*row.Statement), row.Offered);
    QVERIFY(!form.Select(proved));
    QVERIFY(!form.Select(after));
    // Shown but not offered: a method is in the tree, greyed, and cannot be applied.
    QCOMPARE(ShownStatements(form.Tree()),
             (QStringList{Q("Аксиома"_cp), Q("Метод"_cp), Q("Без формулировки"_cp), Q("Определение"_cp)}));
    form.Tree()->setCurrentItem(form.Tree()->findItems(Q("Метод"_cp), Qt::MatchExactly | Qt::MatchRecursive).front());
    QVERIFY(!form.ApplyButton()->isEnabled());
    QTest::keyClick(&form, Qt::Key_Return);
    QVERIFY(form.Chosen() == nullptr);
    lemmix_->Context().DeveloperMode = true;
    TApplyForm developer(book, proved, nullptr);
    lemmix_->Context().DeveloperMode = false;
    QVERIFY(developer.Select(*rows[3].Statement));  // developers see every statement
  }

  void formulaInputReturnsTheTypedStoredText() {
    TFormulaInputForm form(Q(std::string(lemmix::DialogCaption(24, true))), "1", nullptr);
    QCOMPARE(form.windowTitle(), Q("Введите начальное значение переменной индукции"_cp));
    QCOMPARE(form.CaptionLabel()->text(), form.windowTitle());
    QCOMPARE(form.Text(), std::string("1"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_VERIFY(form.Edit().Box()->hasFocus());
    // Typing goes on after the default text.
    QTest::keyClicks(form.Edit().Box(), "-n");
    QCOMPARE(EditText(form.Edit()), QString::fromUtf8("1−n"));
    SaveScreen(&form, "formula-input");
    form.hide();
    OnNextModal([](QWidget* modal) { static_cast<TFormulaInputForm*>(modal)->OkButton()->click(); });
    QCOMPARE(form.exec(), int(QDialog::Accepted));
    QCOMPARE(form.Text(), std::string("1-n"));
  }

  void formulaInputStoresSymbolsAsTheirWords() {
    TFormulaInputForm form(Q(std::string(lemmix::DialogCaption(4, true))), "", nullptr);
    form.Edit().AddText("x \\ge 0 \\and \\epsilon > 0", 0);
    const std::string text = form.Text();
    QVERIFY2(text.find("\\ge") != std::string::npos && text.find("\\epsilon") != std::string::npos, text.c_str());
    // What is returned reads back as the same letters.
    TFormulaInputForm again(form.windowTitle(), text, nullptr);
    QCOMPARE(EditText(again.Edit()), EditText(form.Edit()));
    QCOMPARE(again.Text(), text);
  }

  void formulaInputCancelledAnswersRejected() {
    TFormulaInputForm form(Q(std::string(lemmix::DialogCaption(7, true))), "", nullptr);
    OnNextModal([](QWidget* modal) {
      auto* input = static_cast<TFormulaInputForm*>(modal);
      QTest::keyClicks(input->Edit().Box(), "x>0");
      input->CancelButton()->click();
    });
    QCOMPARE(form.exec(), int(QDialog::Rejected));
    QVERIFY(QFile::exists(QString(LEMMIX_DATA_DIR) + "/help/" + QString::number(TFormulaInputForm::kHelpTopic) + ".html"));
  }

  void inductionMarksFollowTheBoxesAndTheNames() {
    const QStringList names{"n", "x1", "\\epsilon"};
    TInductionForm form(Q("Отметьте нестационарные переменные"_cp), names, nullptr);
    QCOMPARE(form.windowTitle(), Q("Отметьте нестационарные переменные"_cp));
    QCOMPARE(form.Marks(), (std::vector<bool>{false, false, false}));
    QCOMPARE(EditText(form.Name(2)), QString::fromUtf8("ε"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(form.Boxes()[0], Qt::LeftButton);
    QTest::mouseClick(form.Name(2).Box(), Qt::LeftButton);  // a click on the name marks it too
    QCOMPARE(form.Marks(), (std::vector<bool>{true, false, true}));
    SaveScreen(&form, "induction-marks");
    QTest::mouseClick(form.Name(2).Box(), Qt::LeftButton);
    QCOMPARE(form.Marks(), (std::vector<bool>{true, false, false}));
    form.hide();
    OnNextModal([](QWidget* modal) { static_cast<TInductionForm*>(modal)->OkButton()->click(); });
    QCOMPARE(form.exec(), int(QDialog::Accepted));
    QCOMPARE(form.Marks(), (std::vector<bool>{true, false, false}));
  }

  void inductionManyNamesScrollAndCancelRejects() {
    QStringList names;
    for (int i = 1; i <= 12; ++i) names << QString("x_%1").arg(i);
    TInductionForm form(Q("Отметьте нестационарные переменные"_cp), names, nullptr);
    QCOMPARE(form.Boxes().size(), std::size_t(12));
    QVERIFY(form.height() < 500);  // the rows scroll instead of stretching the window
    form.Boxes()[11]->setChecked(true);
    QCOMPARE(form.Marks().back(), true);
    OnNextModal([](QWidget* modal) { static_cast<TInductionForm*>(modal)->CancelButton()->click(); });
    QCOMPARE(form.exec(), int(QDialog::Rejected));
  }

  void chooseTakesTheClickedItem() {
    // Conditions as the prover writes them.
    const QStringList items{"x\\ge 0", "(1/2)\\cdot\\epsilon+(-1)\\cdot|(-1)\\cdot L+a_n|>0", "M+c\\ge 0"};
    TChooseForm form(Q(std::string(lemmix::DialogCaption(11, true))), items, nullptr);
    QCOMPARE(form.HelpTopic(), TChooseForm::kAddRelationHelp);
    QCOMPARE(form.Selected(), 0);  // the first item is offered
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(form.List().Box(), Qt::LeftButton, {}, LinePoint(form.List(), 2));
    QCOMPARE(form.Selected(), 2);
    QTest::keyClick(form.OkButton(), Qt::Key_Up);
    QCOMPARE(form.Selected(), 1);
    QTest::keyClick(form.OkButton(), Qt::Key_Up);
    QTest::keyClick(form.OkButton(), Qt::Key_Up);  // stays on the first
    QCOMPARE(form.Selected(), 0);
    QTest::mouseClick(form.List().Check(1), Qt::LeftButton);  // the line's button chooses it too
    QTRY_COMPARE(form.Selected(), 1);
    SaveScreen(&form, "choose-add-relation");
    QTest::mouseDClick(form.List().Box(), Qt::LeftButton, {}, LinePoint(form.List(), 2));
    QVERIFY(!form.isVisible());
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(form.Chosen(), 2);
  }

  void chooseMapsItemsOfManyLinesAndCancels() {
    // An item of two lines: the item after it is still the one chosen.
    const QStringList items{"x > 0\\n y > 0", "z > 0", Q("ни одно"_cp)};
    TChooseForm form(Q("Выберите условие"_cp), items, nullptr);
    QCOMPARE(form.List().Text().LineCount(), 4);
    form.Select(1);
    QCOMPARE(form.List().MarkedLine(), 2);
    form.Select(2);
    QCOMPARE(EditText(form.List()).split('\n').last(), Q("ни одно"_cp));
    form.Select(7);
    QCOMPARE(form.Selected(), -1);
    QVERIFY(!form.OkButton()->isEnabled());
    QCOMPARE(form.HelpTopic(), TChooseForm::kDefaultHelp);
    form.Select(0);
    OnNextModal([](QWidget* modal) { static_cast<TChooseForm*>(modal)->CancelButton()->click(); });
    QCOMPARE(form.exec(), int(QDialog::Rejected));
    QCOMPARE(form.Chosen(), -1);
  }

  void chooseInductionVariableWithEnter() {
    TChooseForm form(Q(std::string(lemmix::DialogCaption(12, true))), {"n", "m"}, nullptr);
    QCOMPARE(form.windowTitle(), Q("Выберите переменную индукции"_cp));
    QCOMPARE(form.HelpTopic(), TChooseForm::kInductionVariableHelp);
    int opened = 0;
    form.SetHelp([&opened](int topic) { opened = topic; });
    form.HelpButton()->click();
    QCOMPARE(opened, 215);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    SaveScreen(&form, "choose-induction-variable");
    form.hide();
    OnNextModal([](QWidget* modal) {
      auto* choose = static_cast<TChooseForm*>(modal);
      QTest::keyClick(choose->OkButton(), Qt::Key_Down);
      QTest::keyClick(choose, Qt::Key_Return);
    });
    QCOMPARE(form.exec(), int(QDialog::Accepted));
    QCOMPARE(form.Chosen(), 1);
  }

  void chooseShowsIndexedNamesLaidOut() {
    // Names as the driver passes them: a letter with index digits, a Greek
    // letter with an index, a sequence element.
    const QStringList items{"x1", "\\epsilon2", "a_n"};
    TChooseForm form(Q(std::string(lemmix::DialogCaption(12, true))), items, nullptr);
    const std::vector<lemmix::TLetters>& lines = form.List().Text().Lines();
    QCOMPARE(lines.size(), std::size_t(3));
    for (const lemmix::TLetters& line : lines) QVERIFY(LaidOut(line));
    // The Greek letter is one letter of the mathematical font, its index after it.
    QCOMPARE(lines[1][0].Font, lemmix::kMathFont);
    QCOMPARE(lines[1][1].Code, std::uint8_t('2'));
    QCOMPARE(EditText(form.List()).split('\n')[1].trimmed(), QString::fromUtf8("ε2"));
    QVERIFY(!EditText(form.List()).contains('\\'));
    // The answer stays the index of the item.
    form.Select(1);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    SaveScreen(&form, "choose-index-names");
    form.hide();
    OnNextModal([](QWidget* modal) { static_cast<TChooseForm*>(modal)->OkButton()->click(); });
    QCOMPARE(form.exec(), int(QDialog::Accepted));
    QCOMPARE(form.Chosen(), 1);

    // Words that are no formula stay words.
    TChooseForm plain(Q("Выберите"_cp), {Q("ни одно"_cp)}, nullptr);
    QVERIFY(!LaidOut(plain.List().Text().Lines()[0]));
    QCOMPARE(EditText(plain.List()).trimmed(), Q("ни одно"_cp));
  }

  void inductionShowsIndexedNamesLaidOut() {
    TInductionForm form(Q("Отметьте нестационарные переменные"_cp), {"n1", "\\delta12"}, nullptr);
    QVERIFY(LaidOut(form.Name(0).Text().Lines()[0]));
    const lemmix::TLetters& delta = form.Name(1).Text().Lines()[0];
    QVERIFY(LaidOut(delta));
    QCOMPARE(delta[0].Font, lemmix::kMathFont);
    QCOMPARE(EditText(form.Name(1)).trimmed(), QString::fromUtf8("δ12"));
  }

  void substituteOffersTheCandidatesAndAnswersTheChosenIndex() {
    TSubstForm form("\\epsilon", {"x1", "\\delta2", "a"}, nullptr);
    QCOMPARE(form.windowTitle(), Q("Подставить выражение вместо переменной квантора "_cp) + QString::fromUtf8("ε"));
    const QString labels = LabelTexts(&form);
    for (const char* text : {"Выберите переменную", "или", "введите выражение"})
      QVERIFY2(labels.contains(QString::fromUtf8(text)), text);
    QCOMPARE(form.RefuseButton()->text(), Q("Не подставлять"_cp));
    // The candidates are laid out as formulas.
    QCOMPARE(form.List().Text().LineCount(), 3);
    for (const lemmix::TLetters& line : form.List().Text().Lines()) QVERIFY(LaidOut(line));
    QCOMPARE(EditText(form.List()).split('\n')[1].trimmed(), QString::fromUtf8("δ2"));
    // The first candidate is offered; the focus waits in the input.
    QCOMPARE(form.Selected(), 0);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_VERIFY(form.Edit().Box()->hasFocus());
    QTest::mouseClick(form.List().Box(), Qt::LeftButton, {}, LinePoint(form.List(), 1));
    QCOMPARE(form.Selected(), 1);
    QTest::mouseClick(form.List().Check(2), Qt::LeftButton);  // the line's button selects too
    QTRY_COMPARE(form.Selected(), 2);
    QTest::keyClick(form.List().Box(), Qt::Key_Up);
    QCOMPARE(form.Selected(), 1);
    QVERIFY(EditText(form.Edit()).trimmed().isEmpty());  // selecting fills nothing in
    SaveScreen(&form, "subst-candidates");
    QTest::mouseClick(form.OkButton(), Qt::LeftButton);
    QVERIFY(!form.isVisible());
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QVERIFY(form.Answer() && std::holds_alternative<std::size_t>(*form.Answer()));
    QCOMPARE(std::get<std::size_t>(*form.Answer()), std::size_t(1));

    // A double click on a candidate is OK with it.
    TSubstForm again("x", {"a", "b"}, nullptr);
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    QTest::mouseDClick(again.List().Box(), Qt::LeftButton, {}, LinePoint(again.List(), 1));
    QVERIFY(!again.isVisible());
    QCOMPARE(again.result(), int(QDialog::Accepted));
    QCOMPARE(std::get<std::size_t>(again.Answer().value()), std::size_t(1));
  }

  void substituteTypingReplacesTheChoiceAndAnswersTheStoredText() {
    TSubstForm form("x", {"b", "c"}, nullptr);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_VERIFY(form.Edit().Box()->hasFocus());
    QCOMPARE(form.Selected(), 0);
    QTest::keyClicks(form.Edit().Box(), "a-1");
    QTRY_COMPARE(form.Selected(), -1);  // typing drops the offered candidate
    QCOMPARE(EditText(form.Edit()), QString::fromUtf8("a−1"));
    SaveScreen(&form, "subst-expression");
    // A candidate chosen after typing takes the place of the expression, and typing again drops it.
    form.Select(1);
    QVERIFY(EditText(form.Edit()).trimmed().isEmpty());
    QTest::mouseClick(form.Edit().Box(), Qt::LeftButton);
    QCoreApplication::processEvents();
    QCOMPARE(form.Selected(), 1);  // a click in the empty input changes nothing
    QTest::keyClicks(form.Edit().Box(), "a-1");
    QTRY_COMPARE(form.Selected(), -1);
    QTest::mouseClick(form.OkButton(), Qt::LeftButton);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QVERIFY(form.Answer() && std::holds_alternative<std::string>(*form.Answer()));
    const std::string text = std::get<std::string>(*form.Answer());
    QCOMPARE(text, lemmix::GetString(form.Edit().Text().Lines(), 2, false).value());
    // The stored text reads back as the typed letters.
    TSubstForm back("x", {}, nullptr);
    QVERIFY(back.Edit().AddText(text, 0));
    QCOMPARE(EditText(back.Edit()), EditText(form.Edit()));
  }

  void substituteSymbolsTypedAreStoredAsTheirWords() {
    TSubstForm form("x", {}, nullptr);
    QVERIFY(form.Edit().AddText("\\epsilon/2", 0));
    OnNextModal([](QWidget* modal) { static_cast<TSubstForm*>(modal)->OkButton()->click(); });
    QCOMPARE(form.exec(), int(QDialog::Accepted));
    const std::string text = std::get<std::string>(form.Answer().value());
    QVERIFY2(text.find("\\epsilon") != std::string::npos && text.find('/') != std::string::npos, text.c_str());
  }

  void substituteOkWithNothingChosenNorTypedWaits() {
    TSubstForm form("x", {"a"}, nullptr);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.Select(-1);
    // A click below the last candidate selects none.
    QTest::mouseClick(form.List().Box(), Qt::LeftButton, {}, QPoint(20, form.List().Box()->height() - 3));
    QCOMPARE(form.Selected(), -1);
    QTest::mouseClick(form.OkButton(), Qt::LeftButton);
    QTest::keyClick(&form, Qt::Key_Return);
    QVERIFY(form.isVisible());
    QVERIFY(!form.Answer());
    // Blanks are nothing typed either.
    QTest::keyClicks(form.Edit().Box(), "  ");
    QCoreApplication::processEvents();
    QTest::mouseClick(form.OkButton(), Qt::LeftButton);
    QVERIFY(form.isVisible());
    QVERIFY(!form.Answer());
    // Without candidates only the input is offered.
    TSubstForm none("y", {}, nullptr);
    QVERIFY(!none.List().Visible());
    QCOMPARE(none.Selected(), -1);
    const QString labels = LabelTexts(&none);
    QVERIFY(labels.contains(Q("Введите выражение"_cp)));
    QVERIFY(!labels.contains(Q("Выберите переменную"_cp)));
    QVERIFY(none.height() < form.height());
    none.show();
    QVERIFY(QTest::qWaitForWindowExposed(&none));
    QTest::mouseClick(none.OkButton(), Qt::LeftButton);
    QVERIFY(none.isVisible());
    SaveScreen(&none, "subst-no-candidates");
    form.hide();
    none.hide();
  }

  void substituteRefusesAndCancels() {
    TSubstForm form("x", {"a"}, nullptr);
    OnNextModal([](QWidget* modal) { static_cast<TSubstForm*>(modal)->RefuseButton()->click(); });
    QCOMPARE(form.exec(), int(QDialog::Accepted));
    QVERIFY(form.Answer() && std::holds_alternative<TRefuse>(*form.Answer()));

    // Cancel answers nothing, whatever was chosen or typed.
    for (const bool escape : {false, true}) {
      TSubstForm cancelled("x", {"a"}, nullptr);
      OnNextModal([escape](QWidget* modal) {
        auto* subst = static_cast<TSubstForm*>(modal);
        QTest::keyClicks(subst->Edit().Box(), "a+1");
        if (escape)
          QTest::keyClick(subst, Qt::Key_Escape);
        else
          subst->CancelButton()->click();
      });
      QCOMPARE(cancelled.exec(), int(QDialog::Rejected));
      QVERIFY(!cancelled.Answer());
    }

    int opened = 0;
    form.SetHelp([&opened](int topic) { opened = topic; });
    form.HelpButton()->click();
    QCOMPARE(opened, TSubstForm::kHelpTopic);
  }

  // The proof window's port opens the dialog and hands its answers to the driver.
  void thePortAnswersWithTheSubstitutionDialog() {
    QWidget window;
    lemmix::TQtProofUi ui(window, *lemmix_->Context().Book, *proved_, lemmix_->Context().Questions);
    const std::vector<std::string> candidates{"a", "b1"};
    OnNextModal([](QWidget* modal) {
      auto* subst = qobject_cast<TSubstForm*>(modal);
      QVERIFY(subst);
      QCOMPARE(subst->windowTitle(), Q("Подставить выражение вместо переменной квантора x2"_cp));
      QTest::mouseDClick(subst->List().Box(), Qt::LeftButton, {}, LinePoint(subst->List(), 1));
    });
    std::optional<TSubstituteAnswer> answer = ui.Substitute("x2", candidates);
    QVERIFY(answer && std::holds_alternative<std::size_t>(*answer));
    QCOMPARE(std::get<std::size_t>(*answer), std::size_t(1));

    OnNextModal([](QWidget* modal) {
      auto* subst = static_cast<TSubstForm*>(modal);
      QVERIFY(subst->Edit().AddText("b1 + 1", 0));
      subst->Select(-1);
      subst->OkButton()->click();
    });
    answer = ui.Substitute("x", candidates);
    QVERIFY(answer && std::holds_alternative<std::string>(*answer));
    QCOMPARE(std::get<std::string>(*answer), std::string("b1+1"));

    OnNextModal([](QWidget* modal) { static_cast<TSubstForm*>(modal)->RefuseButton()->click(); });
    answer = ui.Substitute("x", candidates);
    QVERIFY(answer && std::holds_alternative<TRefuse>(*answer));

    OnNextModal([](QWidget* modal) { static_cast<TSubstForm*>(modal)->CancelButton()->click(); });
    QVERIFY(!ui.Substitute("x", candidates));
  }

  void requiredObjectAnswersAddSubstituteOrNothing() {
    TRequiredObjectForm form;
    QCOMPARE(form.Question()->text(), Q("Вы определяете искомый объект."_cp));
    QCOMPARE(form.AddButton()->text(), Q("Добавить объект"_cp));
    QCOMPARE(form.SubstituteButton()->text(), Q("Подставить значение"_cp));
    QVERIFY(!form.Answer());  // not asked yet
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    SaveScreen(&form, "required-object");
    form.hide();

    QWidget window;
    lemmix::TQtProofUi ui(window, *lemmix_->Context().Book, *proved_, lemmix_->Context().Questions);
    const struct {
      const char* button;
      std::optional<bool> answer;
    } cases[] = {
        {"AddButton", true},
        {"SubstituteButton", false},
        {"CancelButton", std::nullopt},
        {nullptr, std::nullopt},  // Escape
    };
    for (const auto& c : cases) {
      OnNextModal([&c](QWidget* modal) {
        QCOMPARE(modal->objectName(), QString("RequiredObjectForm"));
        if (c.button)
          QTest::mouseClick(modal->findChild<QPushButton*>(c.button), Qt::LeftButton);
        else
          QTest::keyClick(modal, Qt::Key_Escape);
      });
      QCOMPARE(ui.AddRequiredObject(), c.answer);
    }
    // Enter takes the default answer: the object is added.
    OnNextModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Return); });
    QCOMPARE(ui.AddRequiredObject(), std::optional<bool>(true));
  }

  void everyHelpTopicHasItsPage() {
    for (const int topic : {14, 21, TApplyForm::kHelpTopic, TFormulaInputForm::kHelpTopic, TInductionForm::kHelpTopic,
                            TChooseForm::kAddRelationHelp, TChooseForm::kInductionVariableHelp, TSubstForm::kHelpTopic}) {
      QFile page(QString(LEMMIX_DATA_DIR) + "/help/" + QString::number(topic) + ".html");
      QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(page.fileName()));
      const QString html = QString::fromUtf8(page.readAll());
      QVERIFY2(html.contains("<h2>") && html.contains(QString::fromUtf8("Пример")), qPrintable(page.fileName()));
    }
  }

 private:
  std::unique_ptr<lemmix::testing::TempDir> dir_;
  std::unique_ptr<lemmix::testing::ScopedWorkingDirectory> cwd_;
  std::unique_ptr<lemmix::TLemmix> lemmix_;
  const TStatement* proved_ = nullptr;
};

QTEST_MAIN(ProofDialogsGuiTest)
#include "proof_dialogs_gui_test.moc"
