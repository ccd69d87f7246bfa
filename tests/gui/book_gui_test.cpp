// The main window on a copy of the bundled data: the contents tree, the popup
// menu, the editing commands of developer mode, the search page and saving.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <filesystem>
#include <fstream>

#include "book/part.h"
#include "gui/lemmix.h"
#include "gui/html_form.h"
#include "gui/main_form.h"
#include "gui/my_edit.h"
#include "gui/show_form.h"
#include "gui/message_forms.h"
#include "gui/qtext.h"
#include "intrinsics/st_func.h"
#include "notation/edit_text.h"
#include "gui_test_support.h"
#include "support/book_counts.h"
#include "shell/cp1251.h"
#include "shell/files.h"
#include "support/temp_dir.h"

using lemmix::operator""_cp;
using lemmix::TLemmix;
using lemmix::TMainForm;
using lemmix::TTreeMenuItem;
using lemmix::testing::OnNextModal;
using lemmix::testing::OnNextModalNamed;
using lemmix::testing::SaveScreen;
using lemmix::testing::ScopedWorkingDirectory;

namespace {

namespace fs = std::filesystem;

QString Q(const std::string& cp1251) { return lemmix::ToQString(cp1251); }

// The item of the tree whose text is the title, searched depth first.
QTreeWidgetItem* Find(QTreeWidget* tree, const QString& title) {
  const QList<QTreeWidgetItem*> found = tree->findItems(title, Qt::MatchExactly | Qt::MatchRecursive);
  return found.isEmpty() ? nullptr : found.front();
}

QStringList Visible(TMainForm& form) {
  QStringList names;
  for (QAction* action : form.Popup()->actions())
    if (action->isVisible()) names << action->objectName();
  return names;
}

class TestMethod : public lemmix::TMethodObject {
 public:
  std::unique_ptr<lemmix::TMethodObject> Copy() const override { return std::make_unique<TestMethod>(); }
};

// Answers the next question window with Yes or No, remembering its text.
void Answer(bool yes, QString* question) {
  OnNextModal([yes, question](QWidget* modal) {
    auto* form = static_cast<lemmix::TQuestForm*>(modal);
    if (question) *question = form->Question()->text();
    (yes ? form->YesButton() : form->NoButton())->click();
  });
}

// Reads and closes the next `count` message boxes, each opening after the last closed.
void ReadMessages(int count, QStringList* texts) {
  if (count == 0) return;
  OnNextModalNamed("MessageForm", [count, texts](QWidget* box) {
    *texts << lemmix::testing::EditText(*box->findChild<lemmix::TMyEdit*>());
    ReadMessages(count - 1, texts);
    static_cast<QDialog*>(box)->accept();
  });
}

}  // namespace

class BookGuiTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    dir_ = std::make_unique<lemmix::testing::TempDir>();
    fs::copy(LEMMIX_DATA_DIR, dir_->Path(), fs::copy_options::recursive);
    cwd_ = std::make_unique<ScopedWorkingDirectory>(dir_->Path());
    lemmix_ = std::make_unique<TLemmix>();
    lemmix_->Show();
    QVERIFY(QTest::qWaitForWindowExposed(&lemmix_->MainForm()));
  }
  void cleanup() {
    lemmix::TStatement::SetMethodBuilder(nullptr);
    // These tests do not keep their changes: no save question on closing.
    lemmix_->MainForm().findChild<QPushButton*>("SaveButton")->setEnabled(false);
    lemmix_.reset();
    cwd_.reset();
    dir_.reset();
  }

  void contentsShowTheBookAndThePopupFollowsTheRules() {
    TMainForm& form = lemmix_->MainForm();
    QTreeWidget* tree = form.ContentsTree();
    QCOMPARE(tree->topLevelItemCount(), 1);
    QCOMPARE(tree->topLevelItem(0)->text(0), Q("Введение в анализ"_cp));
    QVERIFY(!form.findChild<QPushButton*>("SaveButton")->isEnabled());
    tree->expandAll();
    SaveScreen(&form, "main-window-contents");
    QTreeWidgetItem* axiom = Find(tree, Q("Коммутативность сложения"_cp));
    QVERIFY(axiom);
    form.PreparePopup(tree, axiom);
    QCOMPARE(Visible(form), (QStringList{"TextItem", "View"}));
    form.PreparePopup(tree, Find(tree, Q("Неравенство треугольника"_cp)));
    QCOMPARE(Visible(form), (QStringList{"TextItem", "Prove", "Demo", "View"}));
    lemmix_->Context().DeveloperMode = true;
    form.PreparePopup(tree, tree->topLevelItem(0));
    QCOMPARE(Visible(form), (QStringList{"TextItem", "Edit", "AddChild", "HideItem"}));
    QCOMPARE(form.MenuAction(TTreeMenuItem::HideItem)->text(), Q("Исключить из избранного"_cp));
  }

  void developerEditsAndSavesTheBook() {
    TMainForm& form = lemmix_->MainForm();
    lemmix_->Context().DeveloperMode = true;
    form.ModeChanged();
    QTreeWidget* tree = form.ContentsTree();
    QTreeWidgetItem* paragraph = Find(tree, Q("Модуль числа"_cp));
    QVERIFY(paragraph);
    const int statements = paragraph->childCount();
    form.PreparePopup(tree, paragraph);
    form.MenuAction(TTreeMenuItem::AddChild)->trigger();
    paragraph = Find(tree, Q("Модуль числа"_cp));
    QCOMPARE(paragraph->childCount(), statements + 1);
    QCOMPARE(paragraph->child(statements)->text(0), Q("Нет названия"_cp));
    auto* save = form.findChild<QPushButton*>("SaveButton");
    QVERIFY(save->isEnabled());

    // Copy a statement and paste it before the second one of the paragraph.
    form.PreparePopup(tree, Find(tree, Q("Неравенство треугольника"_cp)));
    form.MenuAction(TTreeMenuItem::Copy)->trigger();
    form.PreparePopup(tree, Find(tree, Q("Модуль числа неотрицателен"_cp)));
    QVERIFY(form.MenuAction(TTreeMenuItem::CopyBefore)->isVisible());
    form.MenuAction(TTreeMenuItem::CopyBefore)->trigger();
    paragraph = Find(tree, Q("Модуль числа"_cp));
    QCOMPARE(paragraph->child(1)->text(0), Q("Неравенство треугольника"_cp));

    // A section with children asks before it goes; "No" keeps it.
    QString question;
    Answer(false, &question);
    form.PreparePopup(tree, paragraph);
    form.MenuAction(TTreeMenuItem::Del)->trigger();
    QCOMPARE(question, Q("УДАЛЯЕМЫЙ РАЗДЕЛ НЕПУСТ.\n\nУДАЛИТЬ ЕГО ?"_cp));
    QVERIFY(Find(tree, Q("Модуль числа"_cp)));
    // A statement without protocols goes without a question.
    form.PreparePopup(tree, Find(tree, Q("Нет названия"_cp)));
    form.MenuAction(TTreeMenuItem::Del)->trigger();
    QVERIFY(!Find(tree, Q("Нет названия"_cp)));

    // A section's title is edited in place.
    QTest::mouseClick(save, Qt::LeftButton);
    QVERIFY(!save->isEnabled());
    QTreeWidgetItem* chapter = Find(tree, Q("Введение"_cp));
    form.PreparePopup(tree, chapter);
    QCOMPARE(form.MenuAction(TTreeMenuItem::Edit)->text(), Q("Редактировать название раздела"_cp));
    form.MenuAction(TTreeMenuItem::Edit)->trigger();
    chapter->setText(0, Q("Введение в логику"_cp));
    QVERIFY(save->isEnabled());
    QCOMPARE(lemmix::TMainForm::NodeOf(chapter)->Title(), "Введение в логику"_cp);
    QVERIFY(!(chapter->flags() & Qt::ItemIsEditable));
    const fs::path book = dir_->Path() / "book" / "6" / "3";
    // The new statement took the first free name and went; the pasted copy took the next.
    const std::string added = std::to_string(statements) + ".st", pasted = std::to_string(statements + 1) + ".st";
    QVERIFY(fs::exists(book / pasted));
    QVERIFY(!fs::exists(book / added));
    for (int i = 0; i < statements; ++i) QVERIFY(fs::exists(book / (std::to_string(i) + ".st")));
  }

  void userModeHidesUnmarkedNodesEverywhere() {
    TMainForm& form = lemmix_->MainForm();
    lemmix_->Context().DeveloperMode = true;
    form.ModeChanged();
    QTreeWidget* tree = form.ContentsTree();
    form.PreparePopup(tree, Find(tree, Q("Следующее натуральное число больше"_cp)));
    form.MenuAction(TTreeMenuItem::HideItem)->trigger();
    lemmix_->Context().DeveloperMode = false;
    form.ModeChanged();
    QVERIFY(!Find(tree, Q("Следующее натуральное число больше"_cp)));
    form.findChild<QTabWidget*>("Pages")->setCurrentIndex(1);
    QTreeWidget* results = form.ResultTree();
    QVERIFY(Find(results, Q("Нет наибольшего натурального числа"_cp)));
    QVERIFY(!Find(results, Q("Следующее натуральное число больше"_cp)));
  }

  void searchFindsStatementsAndShowsTheirOrigin() {
    TMainForm& form = lemmix_->MainForm();
    form.findChild<QTabWidget*>("Pages")->setCurrentIndex(1);
    auto* combo = form.findChild<QComboBox*>("SearchCombo");
    auto* edit = form.findChild<QLineEdit*>("SearchEdit");
    auto* button = form.findChild<QPushButton*>("SearchButton");
    QTreeWidget* results = form.ResultTree();
    // Every statement of the book.
    int statements = 0;
    for (QTreeWidgetItemIterator it(results); *it; ++it) statements += lemmix::TMainForm::NodeOf(*it)->IsStatement();
    QCOMPARE(statements, lemmix::testing::CountBook(std::filesystem::path(LEMMIX_DATA_DIR) / "book").Statements);
    combo->setCurrentIndex(2);  // theorems
    edit->setText(Q("Модуль"_cp));
    QVERIFY(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(!button->isEnabled());
    QVERIFY(Find(results, Q("Модуль числа неотрицателен"_cp)));
    QVERIFY(!Find(results, Q("Неравенство треугольника"_cp)));
    SaveScreen(&form, "main-window-search-results");
    QTreeWidgetItem* found = Find(results, Q("Модуль числа неотрицателен"_cp));
    form.PreparePopup(results, found);
    QVERIFY(form.MenuAction(TTreeMenuItem::Origin)->isVisible());
    QVERIFY(!form.MenuAction(TTreeMenuItem::Edit)->isVisible());
    form.MenuAction(TTreeMenuItem::Origin)->trigger();
    QCOMPARE(form.findChild<QTabWidget*>("Pages")->currentIndex(), 0);
    QCOMPARE(form.ContentsTree()->currentItem()->text(0), Q("Модуль числа неотрицателен"_cp));
    // Nothing found: an empty result.
    edit->setText("xyz");
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(results->topLevelItemCount(), 0);
  }

  void htmlWindowShowsThePageAndRunsItsCommandLinks() {
    TMainForm& form = lemmix_->MainForm();
    lemmix::THtmlForm& html = lemmix_->HtmlForm();
    QTreeWidget* tree = form.ContentsTree();
    QString pageText;
    QString caption;
    QString formulation;
    QStringList errors;
    OnNextModal([&](QWidget* modal) {
      pageText = html.Browser()->toPlainText();
      SaveScreen(modal, "html-window");
      // "logi": the formulation in the message box.
      OnNextModalNamed("MessageForm", [&](QWidget* box) {
        caption = box->windowTitle();
        formulation = lemmix::testing::EditText(*box->findChild<lemmix::TMyEdit*>());
        static_cast<QDialog*>(box)->accept();
      });
      html.FollowLink(QUrl("book/logi/6/24/0"));
      // A deleted or missing statement: the wrong path, then the invalid address.
      ReadMessages(2, &errors);
      html.FollowLink(QUrl("BOOK/prove/0/0/9"));
      // An ordinary link is shown; closing makes the contents follow the page.
      html.FollowLink(QUrl("sequences.htm#limit"));
      SaveScreen(modal, "html-window-chapter");
      modal->findChild<QAction*>("CloseAction")->trigger();
    });
    tree->setCurrentItem(tree->topLevelItem(0));
    form.PreparePopup(tree, tree->topLevelItem(0));
    form.MenuAction(TTreeMenuItem::TextItem)->trigger();
    QVERIFY2(pageText.contains(Q("Введение в анализ"_cp)), qPrintable(pageText));
    QCOMPARE(caption, Q("Логическая формулировка"_cp));
    QVERIFY2(formulation.contains(QString::fromUtf8("∀")) && formulation.contains("z = 0"), qPrintable(formulation));
    QCOMPARE(errors, (QStringList{Q("Неверный путь к файлу утверждения: /0/0/9"_cp),
                                  Q("Несуществующий адрес: BOOK/prove/0/0/9"_cp)}));
    QCOMPARE(form.ContentsTree()->currentItem()->text(0), Q("Предел последовательности и числовые множества"_cp));
  }

  void htmlWindowInAProofStartsNoOtherProof() {
    lemmix::THtmlForm inProof(lemmix_->Context(), true);
    QStringList errors;
    ReadMessages(2, &errors);
    inProof.FollowLink(QUrl("BOOK/prove/6/24/0"));
    QCOMPARE(errors.size(), 2);
    QCOMPARE(errors[0], Q("Открыто доказательство, поэтому нельзя начать новое доказательство."_cp));
  }

  void proveAsksToSaveANewStatementAndDemoNeedsProtocols() {
    TMainForm& form = lemmix_->MainForm();
    lemmix_->Context().DeveloperMode = true;
    form.ModeChanged();
    QTreeWidget* tree = form.ContentsTree();
    form.PreparePopup(tree, Find(tree, Q("Модуль числа"_cp)));
    form.MenuAction(TTreeMenuItem::AddChild)->trigger();
    QString question;
    QString error;
    Answer(false, &question);
    OnNextModalNamed("MessageForm", [&](QWidget* box) {
      error = lemmix::testing::EditText(*box->findChild<lemmix::TMyEdit*>());
      static_cast<QDialog*>(box)->accept();
    });
    form.PreparePopup(tree, Find(tree, Q("Нет названия"_cp)));
    form.MenuAction(TTreeMenuItem::Prove)->trigger();
    QCOMPARE(question, Q("НЕОБХОДИМО СОХРАНИТЬ ИЗМЕНЕНИЯ В КНИГЕ\n\"Введение в анализ\"\n\nСДЕЛАТЬ ЭТО ?"_cp));
    QCOMPARE(error, Q("Утверждение для доказательства не найдено."_cp));
    OnNextModalNamed("MessageForm", [&](QWidget* box) {
      error = lemmix::testing::EditText(*box->findChild<lemmix::TMyEdit*>());
      static_cast<QDialog*>(box)->accept();
    });
    form.PreparePopup(tree, Find(tree, Q("Неравенство Бернулли"_cp)));  // not proved yet
    form.MenuAction(TTreeMenuItem::Demo)->trigger();
    QCOMPARE(error, Q("Для выбранного утверждения нет протоколов доказательства."_cp));
  }

  void statementWindowViewsReadOnly() {
    TMainForm& form = lemmix_->MainForm();
    lemmix_->Context().DeveloperMode = true;
    form.ModeChanged();
    lemmix::TShowForm& show = lemmix_->ShowForm();
    QString name;
    QString formula;
    bool okShown = true;
    bool kindEnabled = true;
    QString cancel;
    OnNextModalNamed("ShowForm", [&](QWidget* modal) {
      name = lemmix::testing::EditText(show.NameEdit());
      formula = lemmix::testing::EditText(show.FormulaEdit());
      okShown = show.OkButton()->isVisible();
      kindEnabled = show.KindBox()->isEnabled();
      cancel = show.CancelButton()->text();
      SaveScreen(modal, "statement-window");
      show.CancelButton()->click();
    });
    QTreeWidget* tree = form.ContentsTree();
    form.PreparePopup(tree, Find(tree, Q("Неравенство треугольника"_cp)));
    form.MenuAction(TTreeMenuItem::View)->trigger();
    QCOMPARE(name, Q("Неравенство треугольника"_cp));
    QVERIFY2(formula.contains(QString::fromUtf8("∀")) && formula.contains("|"), qPrintable(formula));
    QVERIFY(!okShown && !kindEnabled);
    QCOMPARE(cancel, QString("OK"));

    // A definition: its notion button is there, and the epsilon reads as a Greek letter.
    QString button;
    OnNextModalNamed("ShowForm", [&](QWidget* modal) {
      formula = lemmix::testing::EditText(show.FormulaEdit());
      button = show.KindButton()->isVisible() ? show.KindButton()->text() : QString();
      SaveScreen(modal, "statement-window-definition");
      show.CancelButton()->click();
    });
    form.PreparePopup(tree, Find(tree, Q("Предел последовательности"_cp)));
    form.MenuAction(TTreeMenuItem::View)->trigger();
    QCOMPARE(button, Q("Что определяется"_cp));
    QVERIFY2(formula.contains(QString::fromUtf8("ε")), qPrintable(formula));
  }

  void statementWindowEditsKindsAndLines() {
    TMainForm& form = lemmix_->MainForm();
    lemmix_->Context().DeveloperMode = true;
    form.ModeChanged();
    lemmix::TShowForm& show = lemmix_->ShowForm();
    QString error;
    QStringList buttons;
    OnNextModalNamed("ShowForm", [&](QWidget* modal) {
      buttons << (show.KindButton()->isVisible() ? show.KindButton()->text() : QString("-"));
      show.KindBox()->setCurrentIndex(lemmix::kDefinitionKind);
      buttons << show.KindButton()->text();
      // A definition needs its notion.
      OnNextModalNamed("MessageForm", [&](QWidget* box) {
        error = lemmix::testing::EditText(*box->findChild<lemmix::TMyEdit*>());
        static_cast<QDialog*>(box)->accept();
      });
      show.OkButton()->click();
      QCOMPARE(show.WorkingCopy().Lines.size(), std::size_t(7));
      // Back to a theorem: six lines, and the name typed at its end.
      show.KindBox()->setCurrentIndex(2);
      QApplication::setActiveWindow(modal);  // back from the message box
      show.NameEdit().Box()->setFocus();
      QTRY_VERIFY(show.NameEdit().CaretRunning());
      QTest::keyClick(show.NameEdit().Box(), Qt::Key_End);
      QTest::keyClicks(show.NameEdit().Box(), " x");
      show.OkButton()->click();
    });
    QTreeWidget* tree = form.ContentsTree();
    QTreeWidgetItem* item = Find(tree, Q("Модуль числа неотрицателен"_cp));
    form.PreparePopup(tree, item);
    form.MenuAction(TTreeMenuItem::Edit)->trigger();
    QCOMPARE(buttons, (QStringList{"-", Q("Что определяется"_cp)}));
    QCOMPARE(error, Q("Определяемое понятие не введено."_cp));
    const auto* statement = static_cast<const lemmix::TStatement*>(lemmix::TMainForm::NodeOf(item));
    QCOMPARE(statement->Lines.size(), std::size_t(6));
    QCOMPARE(lemmix::ToQString(statement->Title()), Q("Модуль числа неотрицателен x"_cp));
    QCOMPARE(item->text(0), Q("Модуль числа неотрицателен x"_cp));
    QVERIFY(statement->Changed);
    QVERIFY(form.findChild<QPushButton*>("SaveButton")->isEnabled());
    QVERIFY2(statement->Lines[lemmix::kFormulationLine].find("\\forall") != std::string::npos,
             statement->Lines[lemmix::kFormulationLine].c_str());
  }

  void closingAsksToSaveAndNoWritesNothing() {
    TMainForm& form = lemmix_->MainForm();
    lemmix_->Context().DeveloperMode = true;
    form.ModeChanged();
    QTreeWidget* tree = form.ContentsTree();
    form.PreparePopup(tree, tree->topLevelItem(0));
    form.MenuAction(TTreeMenuItem::AddChild)->trigger();
    QString question;
    Answer(false, &question);
    form.close();
    QCOMPARE(question, Q("СОХРАНИТЬ ИЗМЕНЕНИЯ В КНИГЕ\n\"Введение в анализ\" ?"_cp));
    QVERIFY(!fs::exists(dir_->Path() / "book" / "7"));  // the new chapter
  }

  void aSaveThatFailsSaysSoAndKeepsSaveEnabled() {
    TMainForm& form = lemmix_->MainForm();
    lemmix_->Context().DeveloperMode = true;
    form.ModeChanged();
    QTreeWidget* tree = form.ContentsTree();
    form.PreparePopup(tree, tree->topLevelItem(0));
    form.MenuAction(TTreeMenuItem::AddChild)->trigger();
    // A file stands where the new chapter's directory has to be made.
    const fs::path blocked = dir_->Path() / "book" / "7";
    std::ofstream(blocked) << "in the way";
    auto* save = form.findChild<QPushButton*>("SaveButton");
    QStringList errors;
    ReadMessages(1, &errors);
    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(errors, QStringList{Q("Книга сохранена не полностью: не удалось записать некоторые файлы."_cp)});
    QVERIFY(save->isEnabled());
    // The next save, with the way free, writes the chapter.
    fs::remove(blocked);
    QTest::mouseClick(save, Qt::LeftButton);
    QVERIFY(!save->isEnabled());
    QVERIFY(fs::exists(dir_->Path() / "book" / "7" / "content"));
  }

  void closingWhenTheSaveFailsKeepsTheProgramRunning() {
    TMainForm& form = lemmix_->MainForm();
    lemmix_->Context().DeveloperMode = true;
    form.ModeChanged();
    QTreeWidget* tree = form.ContentsTree();
    form.PreparePopup(tree, tree->topLevelItem(0));
    form.MenuAction(TTreeMenuItem::AddChild)->trigger();
    std::ofstream(dir_->Path() / "book" / "7") << "in the way";
    bool closed = false;
    connect(&form, &TMainForm::Closed, [&] { closed = true; });
    QStringList errors;
    Answer(true, nullptr);
    ReadMessages(1, &errors);
    QVERIFY(!form.close());
    QCOMPARE(errors.size(), 1);
    QVERIFY(!closed && form.isVisible());
    QVERIFY(lemmix_->Context().StFunc != nullptr);  // the catalogues stay for the edits to go on
    QVERIFY(form.findChild<QPushButton*>("SaveButton")->isEnabled());
  }

  void anAbandonedTitleEditChangesNothingLater() {
    TMainForm& form = lemmix_->MainForm();
    lemmix_->Context().DeveloperMode = true;
    form.ModeChanged();
    QTreeWidget* tree = form.ContentsTree();
    QTreeWidgetItem* chapter = Find(tree, Q("Введение"_cp));
    form.PreparePopup(tree, chapter);
    form.MenuAction(TTreeMenuItem::Edit)->trigger();
    QVERIFY(chapter->flags() & Qt::ItemIsEditable);
    auto* editor = tree->findChild<QLineEdit*>();
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_Escape);
    QVERIFY(!(chapter->flags() & Qt::ItemIsEditable));
    // A later change of the item's text is no title edit.
    chapter->setText(0, Q("Другое название"_cp));
    QCOMPARE(TMainForm::NodeOf(chapter)->Title(), "Введение"_cp);
    QVERIFY(!form.findChild<QPushButton*>("SaveButton")->isEnabled());
  }

  void aTitleWithCharactersOutsideTheCodePageIsRefused() {
    TMainForm& form = lemmix_->MainForm();
    lemmix_->Context().DeveloperMode = true;
    form.ModeChanged();
    QTreeWidget* tree = form.ContentsTree();
    QTreeWidgetItem* chapter = Find(tree, Q("Введение"_cp));
    form.PreparePopup(tree, chapter);
    form.MenuAction(TTreeMenuItem::Edit)->trigger();
    QStringList errors;
    ReadMessages(1, &errors);
    chapter->setText(0, Q("Введение "_cp) + QString::fromUtf8("∀"));
    QCOMPARE(errors, QStringList{Q("Название содержит символы, которых нет в кодировке Windows-1251: Введение ?"_cp)});
    QCOMPARE(chapter->text(0), Q("Введение"_cp));
    QCOMPARE(TMainForm::NodeOf(chapter)->Title(), "Введение"_cp);
    QVERIFY(!form.findChild<QPushButton*>("SaveButton")->isEnabled());
  }

  void proveNeedsTheStatementFileEvenInASavedBook() {
    TMainForm& form = lemmix_->MainForm();
    QTreeWidget* tree = form.ContentsTree();
    QTreeWidgetItem* item = Find(tree, Q("Неравенство треугольника"_cp));
    QVERIFY(item);
    fs::remove(lemmix::NativePath(TMainForm::NodeOf(item)->Path + ".st"));
    QVERIFY(!form.findChild<QPushButton*>("SaveButton")->isEnabled());
    QStringList errors;
    ReadMessages(1, &errors);
    form.PreparePopup(tree, item);
    form.MenuAction(TTreeMenuItem::Prove)->trigger();
    QCOMPARE(errors, QStringList{Q("Утверждение для доказательства не найдено."_cp)});
  }

  void statementWindowBuildsTheMethodObjectOfTheKind() {
    bool buildable = false;
    lemmix::TStatement::SetMethodBuilder(
        [&buildable](const lemmix::TStatement&) -> std::unique_ptr<lemmix::TMethodObject> {
          return buildable ? std::make_unique<TestMethod>() : nullptr;
        });
    TMainForm& form = lemmix_->MainForm();
    lemmix_->Context().DeveloperMode = true;
    form.ModeChanged();
    lemmix::TShowForm& show = lemmix_->ShowForm();
    bool stayedOpen = false;
    OnNextModalNamed("ShowForm", [&](QWidget* modal) {
      show.KindBox()->setCurrentIndex(lemmix::kMethodKind);
      // The name typed after the kind was chosen still gives the English name.
      show.NameEdit().Clear();
      show.NameEdit().AddText("Метод модуля"_cp, 1);
      show.OkButton()->click();  // data that build nothing keep the window open
      stayedOpen = modal->isVisible();
      buildable = true;
      show.OkButton()->click();
      if (modal->isVisible()) show.CancelButton()->click();
    });
    QTreeWidget* tree = form.ContentsTree();
    QTreeWidgetItem* item = Find(tree, Q("Модуль числа неотрицателен"_cp));
    const auto* statement = static_cast<const lemmix::TStatement*>(TMainForm::NodeOf(item));
    form.PreparePopup(tree, item);
    form.MenuAction(TTreeMenuItem::Edit)->trigger();
    QVERIFY(stayedOpen);
    QCOMPARE(statement->Kind(), std::string("method"));
    QCOMPARE(statement->Lines.size(), std::size_t(23));
    QCOMPARE(lemmix::ToQString(statement->Lines[lemmix::kEnglishNameLine]), Q("Method модуля"_cp));
    QVERIFY(statement->Method);

    // Back to a theorem: the object goes with the kind.
    OnNextModalNamed("ShowForm", [&](QWidget* modal) {
      show.KindBox()->setCurrentIndex(2);
      show.OkButton()->click();
      if (modal->isVisible()) show.CancelButton()->click();
    });
    item = Find(tree, Q("Метод модуля"_cp));
    QVERIFY(item);
    form.PreparePopup(tree, item);
    form.MenuAction(TTreeMenuItem::Edit)->trigger();
    QCOMPARE(statement->Kind(), std::string("theorem"));
    QVERIFY(!statement->Method);
  }

  void statementWindowShowsTheButtonOfEachKind() {
    TMainForm& form = lemmix_->MainForm();
    lemmix_->Context().DeveloperMode = true;
    form.ModeChanged();
    lemmix::TShowForm& show = lemmix_->ShowForm();
    QStringList buttons;
    // The button as the student sees it: its caption when shown, "-" when hidden.
    const auto button = [&show] { return show.KindButton()->isVisible() ? show.KindButton()->text() : QString("-"); };
    OnNextModalNamed("ShowForm", [&](QWidget* modal) {
      buttons << button();
      show.KindBox()->setCurrentIndex(lemmix::kDefinitionKind);
      buttons << button();
      SaveScreen(modal, "statement-window-switched-to-definition");
      show.KindBox()->setCurrentIndex(lemmix::kMethodKind);
      buttons << button();
      SaveScreen(modal, "statement-window-switched-to-method");
      show.KindBox()->setCurrentIndex(1);  // axiom
      buttons << button();
      show.KindBox()->setCurrentIndex(lemmix::kDefinitionKind);
      buttons << button();
      show.CancelButton()->click();
    });
    QTreeWidget* tree = form.ContentsTree();
    form.PreparePopup(tree, Find(tree, Q("Модуль числа неотрицателен"_cp)));
    form.MenuAction(TTreeMenuItem::Edit)->trigger();
    QCOMPARE(buttons, (QStringList{"-", Q("Что определяется"_cp), Q("Свойства метода"_cp), "-",
                                   Q("Что определяется"_cp)}));
  }

  void aNewStatementBecomesADefinitionOnceItsNotionIsGiven() {
    TMainForm& form = lemmix_->MainForm();
    lemmix_->Context().DeveloperMode = true;
    form.ModeChanged();
    QTreeWidget* tree = form.ContentsTree();
    form.PreparePopup(tree, Find(tree, Q("Модуль числа"_cp)));
    form.MenuAction(TTreeMenuItem::AddChild)->trigger();
    lemmix::TShowForm& show = lemmix_->ShowForm();
    QString error;
    bool buttonShown = false;
    bool stayedOpen = false;
    OnNextModalNamed("ShowForm", [&](QWidget* modal) {
      show.KindBox()->setCurrentIndex(lemmix::kDefinitionKind);
      buttonShown = show.KindButton()->isVisible();
      // Without its notion the definition is refused and the window stays.
      OnNextModalNamed("MessageForm", [&](QWidget* box) {
        error = lemmix::testing::EditText(*box->findChild<lemmix::TMyEdit*>());
        static_cast<QDialog*>(box)->accept();
      });
      show.OkButton()->click();
      stayedOpen = modal->isVisible();
      if (!buttonShown) {
        show.CancelButton()->click();
        return;
      }
      OnNextModalNamed("DefineForm", [&](QWidget* define) {
        show.DefineForm().Formula().AddText("\\sin ( x )", 0);
        SaveScreen(define, "statement-window-defined-notion");
        define->findChild<QPushButton*>("DefineOk")->click();
      });
      QTest::mouseClick(show.KindButton(), Qt::LeftButton);
      show.OkButton()->click();
      if (modal->isVisible()) show.CancelButton()->click();
    });
    QTreeWidgetItem* item = Find(tree, Q("Нет названия"_cp));
    QVERIFY(item);
    const auto* statement = static_cast<const lemmix::TStatement*>(TMainForm::NodeOf(item));
    form.PreparePopup(tree, item);
    form.MenuAction(TTreeMenuItem::Edit)->trigger();
    QVERIFY(buttonShown);
    QVERIFY(stayedOpen);
    QCOMPARE(error, Q("Определяемое понятие не введено."_cp));
    QCOMPARE(statement->Kind(), std::string("definition"));
    QCOMPARE(statement->Lines.size(), std::size_t(7));
    const lemmix::TIntr* sine = lemmix_->Context().StFunc->FindByWord("\\sin", false);
    QVERIFY(sine);
    QCOMPARE(statement->Lines[lemmix::kNotionLine], "\\" + std::to_string(sine->Number) + "(rFunc1T)");
  }

  void enterInTheNameGoesOnToTheFormulation() {
    TMainForm& form = lemmix_->MainForm();
    lemmix_->Context().DeveloperMode = true;
    form.ModeChanged();
    lemmix::TShowForm& show = lemmix_->ShowForm();
    int nameLines = 0;
    int formulaLines = 0;
    int formulaLinesBefore = 0;
    bool formulaFocused = false;
    OnNextModalNamed("ShowForm", [&](QWidget* modal) {
      formulaLinesBefore = show.FormulaEdit().Text().LineCount();
      QApplication::setActiveWindow(modal);
      QWidget* name = show.NameEdit().Box();
      name->setFocus();
      QTRY_VERIFY(show.NameEdit().CaretRunning());
      QTest::keyClick(name, Qt::Key_Home);
      QTest::keyClick(name, Qt::Key_Right);
      QTest::keyClick(name, Qt::Key_Return);
      formulaFocused = show.FormulaEdit().Box()->hasFocus();
      QTest::keyClick(name, Qt::Key_Enter, Qt::KeypadModifier);
      nameLines = show.NameEdit().Text().LineCount();
      formulaLines = show.FormulaEdit().Text().LineCount();
      SaveScreen(modal, "statement-window-after-enter-in-the-name");
      show.OkButton()->click();
      if (modal->isVisible()) show.CancelButton()->click();
    });
    QTreeWidget* tree = form.ContentsTree();
    QTreeWidgetItem* item = Find(tree, Q("Модуль числа неотрицателен"_cp));
    const auto* statement = static_cast<const lemmix::TStatement*>(TMainForm::NodeOf(item));
    form.PreparePopup(tree, item);
    form.MenuAction(TTreeMenuItem::Edit)->trigger();
    QCOMPARE(nameLines, 1);
    QVERIFY(formulaFocused);
    QCOMPARE(formulaLines, formulaLinesBefore);
    QVERIFY(statement->Changed);
    QCOMPARE(lemmix::ToQString(statement->Title()), Q("Модуль числа неотрицателен"_cp));
  }

  void aNameIsStoredOnOneLine() {
    TMainForm& form = lemmix_->MainForm();
    lemmix_->Context().DeveloperMode = true;
    form.ModeChanged();
    QTreeWidget* tree = form.ContentsTree();
    QTreeWidgetItem* item = Find(tree, Q("Модуль числа неотрицателен"_cp));
    auto* statement = static_cast<lemmix::TStatement*>(TMainForm::NodeOf(item));
    // A title with a line break, as a faulty save could leave it.
    statement->Lines[lemmix::kRussianNameLine] = "Модуль\\n числа"_cp;
    lemmix::TShowForm& show = lemmix_->ShowForm();
    QString shown;
    int pastedLines = 0;
    OnNextModalNamed("ShowForm", [&](QWidget* modal) {
      shown = lemmix::testing::EditText(show.NameEdit());
      // Two lines copied from another edit and pasted as the name.
      lemmix::TEditText copied;
      copied.AddText("Новое\\n название"_cp, 1);
      copied.HandleEditKey(lemmix::vk::Next, lemmix::kShiftState);
      copied.HandleEditKey(lemmix::vk::End, lemmix::kShiftState);
      copied.Copy();
      show.NameEdit().Clear();
      QApplication::setActiveWindow(modal);
      QWidget* name = show.NameEdit().Box();
      name->setFocus();
      QTRY_VERIFY(show.NameEdit().CaretRunning());
      QTest::keyClick(name, Qt::Key_Insert, Qt::ShiftModifier);
      pastedLines = show.NameEdit().Text().LineCount();
      show.OkButton()->click();
      if (modal->isVisible()) show.CancelButton()->click();
    });
    form.PreparePopup(tree, item);
    form.MenuAction(TTreeMenuItem::Edit)->trigger();
    QCOMPARE(shown, Q("Модуль числа"_cp));
    QCOMPARE(pastedLines, 2);
    QCOMPARE(lemmix::ToQString(statement->Title()), Q("Новое название"_cp));
    QCOMPARE(item->text(0), Q("Новое название"_cp));
  }

 private:
  std::unique_ptr<lemmix::testing::TempDir> dir_;
  std::unique_ptr<ScopedWorkingDirectory> cwd_;
  std::unique_ptr<TLemmix> lemmix_;
};

QTEST_MAIN(BookGuiTest)
#include "book_gui_test.moc"
