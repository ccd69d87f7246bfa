// The proof window on a copy of the bundled data: a student proves theorems
// of the book from the main window's Prove with the menus, their shortcuts
// and marks on the sections, answering each dialog as it opens; the saved
// protocol equals the one the book keeps for the same answers.
#include <QAction>
#include <QFileDialog>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <deque>
#include <filesystem>

#include "book/html_links.h"
#include "book/part.h"
#include "book/statement.h"
#include "gui/apply_form.h"
#include "gui/assot_form.h"
#include "gui/choose_form.h"
#include "gui/formula_input_form.h"
#include "gui/html_form.h"
#include "gui/induction_form.h"
#include "gui/info_form.h"
#include "gui/lemmix.h"
#include "gui/main_form.h"
#include "gui/message_forms.h"
#include "gui/my_edit.h"
#include "gui/prove_form.h"
#include "gui/qt_proof_ui.h"
#include "gui/qtext.h"
#include "gui/required_object_form.h"
#include "gui/save_pr_form.h"
#include "gui/subst_form.h"
#include "gui/the_def_form.h"
#include "proofrun/resume.h"
#include "gui_test_support.h"
#include "proofrun/assot.h"
#include "shell/cp1251.h"
#include "shell/files.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;
using lemmix::operator""_cp;
using lemmix::TCommand;
using lemmix::TLemmix;
using lemmix::TProveForm;
using lemmix::TSection;
using lemmix::testing::EditText;
using lemmix::testing::SaveScreen;
using lemmix::testing::ScopedWorkingDirectory;
using Item = TProveForm::TItem;
using Answer = std::function<void(QWidget*)>;

namespace {

QString Q(const std::string& cp1251) { return lemmix::ToQString(cp1251); }

}  // namespace

class ProveFormGuiTest : public QObject {
  Q_OBJECT

 private:
  // The answers to the dialogs still to open, in order; each closes its dialog.
  std::deque<Answer> answers_;
  // Looks at each dialog a demonstration shows before a key closes it.
  Answer demonstrated_;
  QTimer answering_;
  QPointer<TProveForm> form_;
  std::unique_ptr<lemmix::testing::TempDir> dir_;
  std::unique_ptr<ScopedWorkingDirectory> cwd_;
  std::unique_ptr<TLemmix> lemmix_;

  void Expect(std::initializer_list<Answer> answers) { answers_.insert(answers_.end(), answers); }
  // Waits until every expected dialog was answered and the window is idle again.
  void Settle() {
    QTRY_VERIFY_WITH_TIMEOUT(answers_.empty(), 20000);
    QTest::qWait(30);
  }

  const lemmix::TStatement& Statement(const char* path) {
    const lemmix::TStatement* statement = lemmix::FindStatementByPath(*lemmix_->Context().Book, path);
    if (!statement) qFatal("no statement %s", path);
    return *statement;
  }

  // The main window's Prove: the proof window that it opened, started.
  TProveForm* Open(const char* path) {
    lemmix_->MainForm().Prove(const_cast<lemmix::TStatement&>(Statement(path)));
    form_ = lemmix_->MainForm().findChild<TProveForm*>();
    if (form_) {
      form_->activateWindow();
      if (!QTest::qWaitForWindowExposed(form_)) return nullptr;
    }
    return form_;
  }

  QStringList Lines(TSection section) const {
    const QString text = EditText(form_->View(section));
    return text.isEmpty() ? QStringList{} : text.split('\n');
  }

  // The name a dialog transformation is shown under in the choice of actions.
  QString Shown(const std::string& key) {
    for (const auto& a : lemmix_->Context().AssotProccess->Transformations())
      if (a->DialogTransform == key) return Q(a->RusName) + ".";
    qFatal("no transformation %s", key.c_str());
    return {};
  }

  // Answers: each finds its dialog among the active modal windows.
  Answer Apply(const char* path) {
    return [this, path](QWidget* modal) {
      auto* form = qobject_cast<lemmix::TApplyForm*>(modal);
      QVERIFY(form);
      QVERIFY(form->Select(Statement(path)));
      QTest::mouseClick(form->ApplyButton(), Qt::LeftButton);
    };
  }
  Answer Transformation(const std::string& key) {
    return [this, key](QWidget* modal) {
      auto* form = qobject_cast<lemmix::TAssotForm*>(modal);
      QVERIFY(form);
      const QList<QListWidgetItem*> rows = form->List()->findItems(Shown(key), Qt::MatchExactly);
      QCOMPARE(rows.size(), 1);
      form->List()->setCurrentItem(rows.front());
      QTest::mouseClick(form->OkButton(), Qt::LeftButton);
    };
  }
  static Answer Formula(const std::string& text) {
    return [text](QWidget* modal) {
      auto* form = qobject_cast<lemmix::TFormulaInputForm*>(modal);
      QVERIFY2(form, qPrintable(modal->objectName() + ": " + modal->windowTitle()));
      form->Edit().Clear();
      QVERIFY(form->Edit().AddText(text, 0));
      QTest::mouseClick(form->OkButton(), Qt::LeftButton);
    };
  }
  // Chooses the item shown as `name`.
  static Answer Choose(const QString& name) {
    return [name](QWidget* modal) {
      auto* form = qobject_cast<lemmix::TChooseForm*>(modal);
      QVERIFY(form);
      const QStringList lines = EditText(form->List()).split('\n');
      int item = 0;
      for (; item < lines.size(); ++item) {
        form->Select(item);
        if (lines.value(form->List().MarkedLine()).trimmed() == name) break;
      }
      QVERIFY2(item < lines.size(), qPrintable(name + " is not offered: " + lines.join(", ")));
      QTest::mouseClick(form->OkButton(), Qt::LeftButton);
    };
  }
  // The substitution for a quantified variable: the candidate shown as `name`.
  static Answer Substitute(const QString& name) {
    return [name](QWidget* modal) {
      auto* form = qobject_cast<lemmix::TSubstForm*>(modal);
      QVERIFY2(form, qPrintable(modal->objectName() + ": " + modal->windowTitle()));
      const QStringList lines = EditText(form->List()).split('\n');
      int item = 0;
      while (item < lines.size() && lines[item].trimmed() != name) ++item;
      QVERIFY2(item < lines.size(), qPrintable(name + " is not offered: " + EditText(form->List())));
      form->Select(item);
      QTest::mouseClick(form->OkButton(), Qt::LeftButton);
    };
  }
  // The substitution of a typed expression; the dialog's title goes to `title`.
  static Answer SubstituteTyped(const std::string& text, QString* title = nullptr) {
    return [text, title](QWidget* modal) {
      auto* form = qobject_cast<lemmix::TSubstForm*>(modal);
      QVERIFY2(form, qPrintable(modal->objectName() + ": " + modal->windowTitle()));
      if (title) *title = form->windowTitle();
      QVERIFY(form->Edit().AddText(text, 0));
      form->Select(-1);
      QTest::mouseClick(form->OkButton(), Qt::LeftButton);
    };
  }
  static Answer RefuseSubstitution() {
    return [](QWidget* modal) {
      auto* form = qobject_cast<lemmix::TSubstForm*>(modal);
      QVERIFY2(form, qPrintable(modal->objectName() + ": " + modal->windowTitle()));
      QTest::mouseClick(form->RefuseButton(), Qt::LeftButton);
    };
  }
  // "Добавить объект" (add) or "Подставить значение".
  static Answer RequiredObject(bool add) {
    return [add](QWidget* modal) {
      auto* form = qobject_cast<lemmix::TRequiredObjectForm*>(modal);
      QVERIFY2(form, qPrintable(modal->objectName() + ": " + modal->windowTitle()));
      QTest::mouseClick(add ? form->AddButton() : form->SubstituteButton(), Qt::LeftButton);
    };
  }
  static Answer Define(const std::string& text) {
    return [text](QWidget* modal) {
      auto* define = qobject_cast<lemmix::TTheDefForm*>(modal);
      QVERIFY(define);
      QVERIFY(define->SimpleEdit().AddText(text, 0));
      for (QPushButton* button : define->findChildren<QPushButton*>())
        if (button->text() == Q("Ввод"_cp)) QTest::mouseClick(button, Qt::LeftButton);
    };
  }
  static Answer MarkNone() {
    return [](QWidget* modal) {
      auto* form = qobject_cast<lemmix::TInductionForm*>(modal);
      QVERIFY2(form, qPrintable(modal->objectName() + ": " + modal->windowTitle()));
      QTest::mouseClick(form->OkButton(), Qt::LeftButton);
    };
  }
  static Answer Question(bool yes, QString* asked = nullptr) {
    return [yes, asked](QWidget* modal) {
      auto* form = qobject_cast<lemmix::TQuestForm*>(modal);
      QVERIFY(form);
      if (asked) *asked = form->Question()->text();
      QTest::mouseClick(yes ? form->YesButton() : form->NoButton(), Qt::LeftButton);
    };
  }
  static Answer Cancel() {
    return [](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); };
  }
  static Answer Screen(const QString& name, Answer then) {
    return [name, then](QWidget* modal) {
      SaveScreen(modal, name);
      then(modal);
    };
  }

  // Marks a line of a section with a click on its button.
  void ClickMark(TSection section, int line) {
    lemmix::TMyCheck* check = form_->View(section).Check(line);
    QVERIFY(check);
    QTest::mouseClick(check, Qt::LeftButton);
  }
  // Marks a line of a section from the keyboard: the caret on it, then the space bar.
  void KeyMark(TSection section, int line) {
    lemmix::TMyEdit& view = form_->View(section);
    const lemmix::TLetter& first = view.Text().Lines()[line][0];
    QTest::mouseClick(view.Box(), Qt::LeftButton, {}, QPoint(first.Left + 1, first.Top + first.Height / 2));
    QCOMPARE(view.Text().Caret().Line, line);
    QTest::keyClick(view.Box(), Qt::Key_Space);
  }
  // A shortcut pressed in the proof window (active again, as after a dialog the window system makes it).
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::AltModifier) {
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_));
    QTest::keyClick(form_, static_cast<Qt::Key>(key), modifiers);
  }

  static std::vector<std::string> Saved(const std::string& systemPath) {
    return lemmix::ReadLines(systemPath).value_or(std::vector<std::string>{});
  }
  // The book's protocol of the statement.
  std::vector<std::string> BookProtocol(const char* path) {
    return Saved(Statement(path).ProtocolDirectory() + "\\" + "Доказательство"_cp + ".prt");
  }
  // A proof window demonstrating the protocol of the statement, shown.
  bool Demonstrate(const char* path, const std::vector<std::string>& protocol) {
    form_ = new TProveForm(lemmix_->Context(), *lemmix_->Context().Book, Statement(path), &lemmix_->MainForm());
    form_->setAttribute(Qt::WA_DeleteOnClose);
    if (!form_->StartDemonstration(protocol)) return false;
    form_->show();
    return QTest::qWaitForWindowExposed(form_);
  }

 private slots:
  void initTestCase() {
    answering_.setInterval(10);
    connect(&answering_, &QTimer::timeout, this, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal || !modal->isVisible() || modal == form_.data()) return;
      // A demonstration's dialog, filled in from the protocol: looked at, then a key goes on.
      if (modal->property(lemmix::TQtDemoDisplay::kShownProperty).toBool()) {
        if (demonstrated_) demonstrated_(modal);
        if (modal->isVisible()) QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal, Qt::Key_Space);
        return;
      }
      if (answers_.empty()) return;
      const Answer answer = answers_.front();
      answers_.pop_front();
      const QPointer<QWidget> guarded(modal);
      answer(modal);
      // An answer that failed leaves its dialog open: closed here, the test goes on.
      if (auto* dialog = qobject_cast<QDialog*>(guarded.data()); dialog && dialog->isVisible()) dialog->reject();
    });
    answering_.start();
  }
  void init() {
    dir_ = std::make_unique<lemmix::testing::TempDir>();
    fs::copy(LEMMIX_DATA_DIR, dir_->Path(), fs::copy_options::recursive);
    cwd_ = std::make_unique<ScopedWorkingDirectory>(dir_->Path());
    lemmix_ = std::make_unique<TLemmix>();
    lemmix_->Show();
    QVERIFY(QTest::qWaitForWindowExposed(&lemmix_->MainForm()));
    answers_.clear();
  }
  void cleanup() {
    demonstrated_ = nullptr;
    if (form_) {
      answers_.clear();
      Expect({Question(false)});  // no protocol kept
      form_->close();
      Settle();
    }
    answers_.clear();
    lemmix_.reset();
    cwd_.reset();
    dir_.reset();
  }

  // book\6\3\1 as tests/proofrun/proofs/6-3-1.txt proves it, from the menus
  // and the keyboard; the saved protocol is the book's.
  void aStudentProvesATheoremToTheCongratulation() {
    TProveForm* form = Open("\\6\\3\\1");
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), Q(Statement("\\6\\3\\1").Title()));
    QVERIFY(!form->Item(Item::Undo)->isEnabled());
    QVERIFY(form->Item(Item::Conjecture)->isVisible());
    QVERIFY(form->Item(Item::Contradiction)->isEnabled());
    QCOMPARE(form->Item(Item::Define)->shortcut(), QKeySequence(Qt::ALT | Qt::Key_1));
    QCOMPARE(form->Item(Item::Undo)->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Backspace));
    QCOMPARE(form->Item(Item::Exit)->shortcut(), QKeySequence(Qt::ALT | Qt::Key_X));
    QCOMPARE(Lines(TSection::ProvingConds).size(), 1);
    QVERIFY(lemmix::testing::LabelTexts(form).contains(Q("Доказываемые условия"_cp)));
    SaveScreen(form, "proof-start");
    // No given condition yet: nothing offered for marking there.
    QVERIFY(Lines(TSection::GivenConds).isEmpty());
    QVERIFY(!form->View(TSection::GivenConds).Check(0) || !form->View(TSection::GivenConds).Check(0)->isVisible());

    // Trichotomy for x and 0.
    Expect({Apply("\\6\\1\\0")});
    Key(Qt::Key_2);
    Settle();
    QVERIFY(form->Item(Item::Undo)->isEnabled());
    const QStringList givens = Lines(TSection::GivenConds);
    QVERIFY(!givens.isEmpty());
    Expect({Transformation("ConsiderForallD"), Screen("proof-substitute", Substitute("x")), SubstituteTyped("0")});
    ClickMark(TSection::GivenConds, 0);
    Settle();
    QVERIFY(Lines(TSection::GivenConds).size() > givens.size());
    // The definition of the modulus for x.
    Expect({Apply("\\6\\3\\0")});
    form->Item(Item::Apply)->trigger();
    Settle();

    // What the prover did by itself so far.
    QVERIFY(form->Item(Item::Info)->isEnabled());
    QVERIFY(!form->Info().Empty());
    Expect({Screen("proof-info", [](QWidget* modal) {
      QCOMPARE(modal->objectName(), QString("InfoForm"));
      QCOMPARE(modal->windowTitle(), Q("Выполнены следующие автоматические преобразования:"_cp));
      const QString shown = EditText(static_cast<lemmix::TInfoForm*>(modal)->Edit());
      QVERIFY(shown.count('\n') + 1 == static_cast<int>(static_cast<lemmix::TInfoForm*>(modal)->Lines().size()));
      QTest::keyClick(modal, Qt::Key_Escape);
    })});
    form->Item(Item::Info)->trigger();
    Settle();
    QVERIFY(form_);
    Expect({Transformation("ConsiderForallD"), Substitute("x")});
    // The last step ends the proof: the congratulation, then the protocol saved as "mine".
    Expect({Screen("proof-congratulation",
                   [](QWidget* modal) {
                     QCOMPARE(modal->objectName(), QString("CongratForm"));
                     QVERIFY(lemmix::testing::LabelTexts(modal).contains("IS  SUCCESSFULLY  FINISHED"));
                     QTest::mouseClick(modal->findChild<QPushButton*>("OkButton"), Qt::LeftButton);
                   }),
            Question(true), [](QWidget* modal) {
              auto* save = qobject_cast<lemmix::TSavePrForm*>(modal);
              QVERIFY(save);
              save->NameEdit()->setText("mine");
              QTest::mouseClick(save->findChild<QPushButton*>("OkButton"), Qt::LeftButton);
            }});
    // The tests finish the cases of trichotomy and of the definition by themselves.
    KeyMark(TSection::GivenConds, 2);
    Settle();
    QTRY_VERIFY(form_.isNull());  // closed and gone

    const lemmix::TStatement& statement = Statement("\\6\\3\\1");
    const std::vector<std::string> saved = Saved(statement.UserProtocolDirectory() + "\\mine.prt");
    const std::vector<std::string> book = Saved(statement.ProtocolDirectory() + "\\" + "Доказательство"_cp + ".prt");
    QVERIFY(!book.empty());
    QVERIFY(saved == book);
    QVERIFY(fs::exists(dir_->Path() / "Prt.dat"));
  }

  // book\6\6\1 as its script begins it: the proof of a marked condition at
  // level 1, a case inside it at level 2, both shown in the window's title;
  // when the tests end them, the status line says so without a dialog.
  void subproofsHaveLevelsOfTheirOwn() {
    TProveForm* form = Open("\\6\\6\\1");
    QVERIFY(form);
    Expect({Transformation("ProveMarkedCondD")});
    ClickMark(TSection::ProvingConds, 1);
    Settle();
    QCOMPARE(form->Driver().Level(), 1);
    Expect({Formula("n \\even")});
    Key(Qt::Key_3);
    Settle();
    QCOMPARE(form->Driver().Level(), 2);
    QVERIFY(form->windowTitle().startsWith(Q(Statement("\\6\\6\\1").Title() + " (уровень 2): "_cp)));
    SaveScreen(form, "proof-subproof");
    Expect({Apply("\\6\\6\\0")});
    Key(Qt::Key_2);
    Settle();
    Expect({Transformation("ConsiderForallD"), Substitute("n")});
    ClickMark(TSection::GivenConds, 2);
    Settle();
    Expect({Apply("\\6\\6\\10")});
    Key(Qt::Key_2);
    Settle();
    QVERIFY(!form->Status()->text().contains(Q("завершено"_cp)));
    Expect({Transformation("ConsiderForallD"), Substitute("k0"), Substitute("k")});
    ClickMark(TSection::GivenConds, 4);
    Settle();
    // Both cases and the marked condition's proof are done: back at level 0.
    QCOMPARE(form->Driver().Level(), 0);
    QVERIFY2(form->Status()->text().startsWith(Q("Поддоказательство ("_cp)), qPrintable(form->Status()->text()));
    QVERIFY(form->Status()->text().endsWith(Q(") завершено успешно."_cp)));
    QVERIFY(form_);
  }

  // The program stops in the middle of a subproof of book\6\6\1 (its
  // journal as it was then); started again, it offers the proof back and
  // the student goes on where they were. Declined, the offer does not come again.
  void anInterruptedProofIsResumed() {
    TProveForm* form = Open("\\6\\6\\1");
    QVERIFY(form);
    Expect({Transformation("ProveMarkedCondD")});
    ClickMark(TSection::ProvingConds, 1);
    Settle();
    Expect({Formula("n \\even")});
    Key(Qt::Key_3);
    Settle();
    Expect({Apply("\\6\\6\\0")});
    Key(Qt::Key_2);
    Settle();
    QCOMPARE(form->Driver().Level(), 2);
    const QStringList givens = Lines(TSection::GivenConds);
    const QStringList proving = Lines(TSection::ProvingConds);
    const QString title = form->windowTitle();
    const std::vector<std::string> protocol = form->Protocol();
    const fs::path journal = dir_->Path() / "Prt.dat";
    const std::string stopped = dir_->Read("Prt.dat");
    // Leaving the proof marks its journal: nothing is offered for it.
    Expect({Question(false)});
    form->close();
    Settle();
    QTRY_VERIFY(form_.isNull());
    QVERIFY(!lemmix::FindInterruptedProof(lemmix::SystemPath(journal.string()).value()));

    for (const bool resume : {true, false}) {
      dir_->Write("Prt.dat", stopped);
      lemmix_.reset();
      lemmix_ = std::make_unique<TLemmix>();
      QString asked;
      Expect({Screen(resume ? "resume-question" : "resume-declined", Question(resume, &asked))});
      lemmix_->Show();
      Settle();
      QVERIFY2(asked.contains(Q(Statement("\\6\\6\\1").Lines[lemmix::kRussianNameLine])), qPrintable(asked));
      form_ = lemmix_->MainForm().findChild<TProveForm*>();
      if (!resume) {
        QVERIFY(form_.isNull());
        break;
      }
      QVERIFY(form_);
      QVERIFY(QTest::qWaitForWindowExposed(form_));
      QCOMPARE(form_->Driver().Level(), 2);
      QCOMPARE(form_->windowTitle(), title);
      QCOMPARE(Lines(TSection::GivenConds), givens);
      QCOMPARE(Lines(TSection::ProvingConds), proving);
      QVERIFY(form_->Protocol() == protocol);
      SaveScreen(form_, "proof-resumed");
      // The student goes on: the rest of the case and of the marked condition.
      Expect({Transformation("ConsiderForallD"), Substitute("n")});
      ClickMark(TSection::GivenConds, 2);
      Settle();
      Expect({Apply("\\6\\6\\10")});
      Key(Qt::Key_2);
      Settle();
      Expect({Transformation("ConsiderForallD"), Substitute("k0"), Substitute("k")});
      ClickMark(TSection::GivenConds, 4);
      Settle();
      QCOMPARE(form_->Driver().Level(), 0);
      // The journal goes on from the resumed proof.
      const std::string now = dir_->Read("Prt.dat");
      QVERIFY(now.starts_with(stopped));
      QVERIFY(now.size() > stopped.size());
      Expect({Question(false)});
      form_->close();
      Settle();
    }
    // Declined: the journal is marked, and the next start asks nothing.
    QVERIFY(!lemmix::FindInterruptedProof(lemmix::SystemPath(journal.string()).value()));
    lemmix_.reset();
    lemmix_ = std::make_unique<TLemmix>();
    lemmix_->Show();
    QVERIFY(QTest::qWaitForWindowExposed(&lemmix_->MainForm()));
    QTest::qWait(100);
    QVERIFY(!QApplication::activeModalWidget());
  }

  // "Экспорт…" writes the proof so far, told in words, as a page or a text.
  void exportingTheProofSoFar() {
    TProveForm* form = Open("\\6\\6\\1");
    QVERIFY(form);
    Expect({Transformation("ProveMarkedCondD")});
    ClickMark(TSection::ProvingConds, 1);
    Settle();
    for (const char* name : {"proof.html", "proof.txt"}) {
      const fs::path out = dir_->Path() / name;
      Expect({[out](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY2(dialog, qPrintable(modal->objectName()));
        QVERIFY(dialog->selectedFiles().value(0).endsWith(".html"));
        dialog->selectFile(QString::fromStdString(out.string()));
        QMetaObject::invokeMethod(dialog, "accept");
      }});
      form->Item(Item::Export)->trigger();
      Settle();
      const std::string told = dir_->Read(name);
      QVERIFY2(told.find(lemmix::Cp1251ToUtf8(Statement("\\6\\6\\1").Lines[lemmix::kRussianNameLine])) !=
                   std::string::npos,
               told.c_str());
      QCOMPARE(told.starts_with("<!DOCTYPE html>") || told.starts_with("<html"), std::string(name).ends_with(".html"));
      QVERIFY(told.find(lemmix::Cp1251ToUtf8("доказательство не завершено."_cp)) != std::string::npos);
    }
    QVERIFY(form_);
  }

  // book\2\1\6 by contradiction: the frame replaces the required side, the
  // method is not offered twice, and the proof ends without keeping a protocol.
  void byContradiction() {
    TProveForm* form = Open("\\2\\1\\6");
    QVERIFY(form);
    QVERIFY(form->View(TSection::ProvingConds).Visible());
    QVERIFY(form->ContradictionFrame()->isHidden());
    Key(Qt::Key_7);
    Settle();
    QVERIFY(form->Driver().Current()->ByContradiction);
    QVERIFY(!form->Item(Item::Contradiction)->isEnabled());
    QVERIFY(!form->View(TSection::ProvingConds).Visible());
    QVERIFY(!form->View(TSection::RequiredObjects).Visible());
    QVERIFY(form->ContradictionFrame()->isVisible());
    QCOMPARE(form->ContradictionFrame()->text(), Q("ДОКАЗАТЕЛЬСТВО ОТ ПРОТИВНОГО"_cp));
    SaveScreen(form, "proof-contradiction");

    QString asked;
    Expect({Transformation("ConsiderForallD"), SubstituteTyped("M + 1", &asked),
            [](QWidget* modal) {
              QCOMPARE(modal->objectName(), QString("CongratForm"));
              QTest::keyClick(modal, Qt::Key_Return);
            },
            Question(false)});
    ClickMark(TSection::GivenConds, 0);
    Settle();
    QCOMPARE(asked, Q("Подставить выражение вместо переменной квантора x"_cp));
    QTRY_VERIFY(form_.isNull());
    QVERIFY(!fs::exists(dir_->Path() / "Protocols"));
  }

  // The definition of the required object of book\2\1\0: added as a given
  // object it ends the proof with the book's protocol; its value substituted
  // ends it too; cancelled, nothing changes.
  void aRequiredObjectIsAddedOrItsValueSubstituted() {
    TProveForm* form = Open("\\2\\1\\0");
    QVERIFY(form);
    const QStringList required = Lines(TSection::RequiredObjects);
    QVERIFY(!required.isEmpty());
    const std::vector<std::string> protocol = form->Protocol();
    Expect({Define("y = x + 1"), Cancel()});
    Key(Qt::Key_1);
    Settle();
    QCOMPARE(Lines(TSection::RequiredObjects), required);
    QVERIFY(form->Protocol() == protocol);
    QVERIFY(!form->Item(Item::Undo)->isEnabled());

    Expect({Define("y = x + 1"), Screen("proof-required-object", RequiredObject(true)),
            [](QWidget* modal) {
              QCOMPARE(modal->objectName(), QString("CongratForm"));
              QTest::keyClick(modal, Qt::Key_Return);
            },
            Question(true),
            [](QWidget* modal) {
              auto* save = qobject_cast<lemmix::TSavePrForm*>(modal);
              QVERIFY(save);
              save->NameEdit()->setText("added");
              QTest::mouseClick(save->findChild<QPushButton*>("OkButton"), Qt::LeftButton);
            }});
    Key(Qt::Key_1);
    Settle();
    QTRY_VERIFY(form_.isNull());
    const lemmix::TStatement& statement = Statement("\\2\\1\\0");
    const std::vector<std::string> book = Saved(statement.ProtocolDirectory() + "\\" + "Доказательство"_cp + ".prt");
    QVERIFY(!book.empty());
    // Adding the object is what the book's proof does: the same protocol.
    const std::vector<std::string> added = Saved(statement.UserProtocolDirectory() + "\\added.prt");
    QVERIFY(added == book);
    const auto defined = std::find_if(added.begin(), added.end(),
                                      [](const std::string& line) { return line.starts_with("Define a variable: "); });
    QVERIFY(defined != added.end());
    QCOMPARE(*(defined + 1), std::string("Required object is added to the section of given objects."));

    form = Open("\\2\\1\\0");
    QVERIFY(form);
    Expect({Define("y = x + 1"), RequiredObject(false),
            [](QWidget* modal) {
              QCOMPARE(modal->objectName(), QString("CongratForm"));
              QTest::keyClick(modal, Qt::Key_Return);
            },
            Question(true),
            [](QWidget* modal) {
              auto* save = qobject_cast<lemmix::TSavePrForm*>(modal);
              QVERIFY(save);
              save->NameEdit()->setText("substituted");
              QTest::mouseClick(save->findChild<QPushButton*>("OkButton"), Qt::LeftButton);
            }});
    Key(Qt::Key_1);
    Settle();
    QTRY_VERIFY(form_.isNull());
    const std::vector<std::string> substituted = Saved(statement.UserProtocolDirectory() + "\\substituted.prt");
    QVERIFY(std::find(substituted.begin(), substituted.end(), "The value of the required object is substituted for.") !=
            substituted.end());
    QVERIFY(std::find(substituted.begin(), substituted.end(),
                      "Required object is added to the section of given objects.") == substituted.end());
  }

  // "Не подставлять" for the second variable of the trichotomy: x takes the
  // place of the first, the second stays quantified in the new condition.
  void refusingAVariableKeepsItQuantified() {
    TProveForm* form = Open("\\6\\3\\1");
    QVERIFY(form);
    Expect({Apply("\\6\\1\\0")});
    form->Item(Item::Apply)->trigger();
    Settle();
    const QStringList givens = Lines(TSection::GivenConds);
    const std::size_t recorded = form->Protocol().size();
    QString asked;
    Expect({Transformation("ConsiderForallD"), Substitute("x"), [&asked](QWidget* modal) {
              asked = modal->windowTitle();
              RefuseSubstitution()(modal);
            }});
    ClickMark(TSection::GivenConds, 0);
    Settle();
    QVERIFY2(asked.startsWith(Q("Подставить выражение вместо переменной квантора "_cp)), qPrintable(asked));
    const QString second = asked.section(' ', -1);
    const QStringList after = Lines(TSection::GivenConds);
    QCOMPARE(after.size(), givens.size() + 1);
    QCOMPARE(after.mid(0, givens.size()), givens);  // the quantified condition stays
    QVERIFY2(after.last().startsWith(QString::fromUtf8("∀") + second), qPrintable(after.last()));
    QVERIFY2(after.last().contains('x'), qPrintable(after.last()));
    const std::vector<std::string> protocol = form->Protocol();
    QVERIFY(std::find(protocol.begin() + recorded, protocol.end(),
                      "Refuse to substitute for quantor variable " + lemmix::FromQString(second)) != protocol.end());
  }

  // Undo from the menu takes back the induction as a whole.
  void undoFromTheMenu() {
    TProveForm* form = Open("\\3\\6\\6");
    QVERIFY(form);
    const QStringList proving = Lines(TSection::ProvingConds);
    const QStringList givens = Lines(TSection::GivenConds);
    const std::size_t recorded = form->Protocol().size();
    QVERIFY(form->Item(Item::Induction)->isEnabled());
    QVERIFY(!form->Item(Item::Undo)->isEnabled());
    Expect({Choose("n"), Formula("m"), MarkNone(), Question(true)});
    Key(Qt::Key_8);
    Settle();
    QCOMPARE(form->Driver().Level(), 1);
    QVERIFY(form->windowTitle().endsWith(Q(" (уровень 1): шаг индукции"_cp)));
    QVERIFY(form->Item(Item::Undo)->isEnabled());
    QVERIFY(Lines(TSection::GivenConds) != givens);

    // Undo stands in the menu bar itself.
    QAction* undo = nullptr;
    for (QAction* action : form->Menu()->actions())
      if (action->objectName() == "Undo") undo = action;
    QVERIFY(undo);
    undo->trigger();
    Settle();
    QCOMPARE(form->Driver().Level(), 0);
    QCOMPARE(form->windowTitle(), Q(Statement("\\3\\6\\6").Title()));
    QCOMPARE(Lines(TSection::ProvingConds), proving);
    QCOMPARE(Lines(TSection::GivenConds), givens);
    QCOMPARE(form->Protocol().size(), recorded);
    QVERIFY(!form->Item(Item::Undo)->isEnabled());
  }

  // A cancelled dialog leaves the proof field, the protocol and Undo as they were.
  void cancellingADialogChangesNothing() {
    TProveForm* form = Open("\\6\\3\\1");
    QVERIFY(form);
    const QStringList givens = Lines(TSection::GivenConds);
    const std::vector<std::string> protocol = form->Protocol();
    const struct {
      Item item;
      std::vector<Answer> answers;
    } cases[] = {
        {Item::Apply, {Cancel()}},
        {Item::Define, {Cancel()}},
        {Item::Cases, {Cancel()}},
        {Item::Auxiliary, {Cancel()}},
    };
    for (const auto& c : cases) {
      for (const Answer& a : c.answers) answers_.push_back(a);
      form->Item(c.item)->trigger();
      Settle();
      QCOMPARE(Lines(TSection::GivenConds), givens);
      QVERIFY(form->Protocol() == protocol);
      QVERIFY(!form->Item(Item::Undo)->isEnabled());
    }
    // A mark whose transformation is not chosen, and one whose substitution is cancelled.
    Expect({Apply("\\6\\1\\0")});
    form->Item(Item::Apply)->trigger();
    Settle();
    const QStringList applied = Lines(TSection::GivenConds);
    const std::vector<std::string> afterApply = form->Protocol();
    Expect({Cancel()});
    ClickMark(TSection::GivenConds, 0);
    Settle();
    Expect({Transformation("ConsiderForallD"), Cancel()});
    ClickMark(TSection::GivenConds, 0);
    Settle();
    QCOMPARE(Lines(TSection::GivenConds), applied);
    QVERIFY(form->Protocol() == afterApply);
    QCOMPARE(form->View(TSection::GivenConds).MarkedLine(), -1);
  }

  // A BOOK/prove link of the textbook window opens the proof over it.
  void theProveLinkOpensTheProof() {
    lemmix::THtmlForm& html = lemmix_->HtmlForm();
    html.FollowLink(QUrl("BOOK/prove/3/6/6"));
    form_ = lemmix_->MainForm().findChild<TProveForm*>();
    QVERIFY(form_);
    QCOMPARE(form_->windowTitle(), Q(Statement("\\3\\6\\6").Title()));
    QVERIFY(form_->isModal());
    QVERIFY(form_->Driver().Open());
  }

  // While a command runs the status line says so; afterwards it is empty again.
  void theStatusLineWhileACommandRuns() {
    TProveForm* form = Open("\\6\\3\\1");
    QVERIFY(form);
    QVERIFY(form->Status()->text().isEmpty());
    QString during;
    Expect({[&](QWidget* modal) {
      during = form->Status()->text();
      modal->close();
    }});
    Key(Qt::Key_3);
    Settle();
    QCOMPARE(during, Q("Подождите, компьютер думает ..."_cp));
    QVERIFY(form->Status()->text().isEmpty());
  }

  // Alt+1 with a simple definition typed in the definition window: a new given object.
  void defineAVariable() {
    TProveForm* form = Open("\\6\\3\\1");
    QVERIFY(form);
    const std::size_t recorded = form->Protocol().size();
    Expect({[](QWidget* modal) {
      auto* define = qobject_cast<lemmix::TTheDefForm*>(modal);
      QVERIFY(define);
      QCOMPARE(define->windowTitle(), Q("Определить переменную"_cp));
      QVERIFY(define->SimpleEdit().AddText("y = x + 1", 0));
      for (QPushButton* button : define->findChildren<QPushButton*>())
        if (button->text() == Q("Ввод"_cp)) QTest::mouseClick(button, Qt::LeftButton);
    }});
    Key(Qt::Key_1);
    Settle();
    QCOMPARE(Lines(TSection::GivenObjects).size(), 2);
    QVERIFY(Lines(TSection::GivenObjects).last().startsWith("y"));
    QVERIFY(form->Item(Item::Undo)->isEnabled());
    QVERIFY(form->Protocol().size() > recorded);
    Key(Qt::Key_Backspace);
    Settle();
    QCOMPARE(Lines(TSection::GivenObjects).size(), 1);
    QVERIFY(!form->Item(Item::Undo)->isEnabled());
  }

  // "Сохранить_протокол" keeps the protocol so far and then disables itself;
  // leaving the proof afterwards asks nothing more.
  void savingDuringTheProof() {
    TProveForm* form = Open("\\6\\3\\1");
    QVERIFY(form);
    QCOMPARE(form->Item(Item::Prove)->text(), Q("Сохранить_протокол"_cp));
    Expect({[](QWidget* modal) {
      auto* save = qobject_cast<lemmix::TSavePrForm*>(modal);
      QVERIFY(save);
      save->NameEdit()->setText("half");
      QTest::mouseClick(save->findChild<QPushButton*>("OkButton"), Qt::LeftButton);
    }});
    form->Item(Item::Prove)->trigger();
    Settle();
    QVERIFY(!form->Item(Item::Prove)->isEnabled());
    const lemmix::TStatement& statement = Statement("\\6\\3\\1");
    QVERIFY(Saved(statement.UserProtocolDirectory() + "\\half.prt") == form->Protocol());
    Key(Qt::Key_X);
    QTRY_VERIFY(form_.isNull());
    QVERIFY(answers_.empty());
  }

  // Exit on an unfinished proof asks to keep the protocol; Escape does the same.
  void exitOffersTheProtocol() {
    for (const bool escape : {false, true}) {
      TProveForm* form = Open("\\6\\3\\1");
      QVERIFY(form);
      QString asked;
      Expect({Question(false, &asked)});
      if (escape) {
        QTest::keyClick(form, Qt::Key_Escape);
      } else {
        Key(Qt::Key_X);
      }
      Settle();
      QCOMPARE(asked, Q("СОХРАНИТЬ ПРОТОКОЛ ДОКАЗАТЕЛЬСТВА ?"_cp));
      QTRY_VERIFY(form_.isNull());
      QVERIFY(lemmix_->MainForm().isEnabled());
    }
  }

  // A marked "A bounded above" offers the course's scripts by their Russian
  // names, each row with its own help page; choosing one unfolds the
  // definition in place.
  void theChoiceWindowOffersTheScripts() {
    TProveForm* form = Open("\\3\\1\\5");
    QVERIFY(form);
    const lemmix::TAssot* unfold = nullptr;
    for (const auto& a : lemmix_->Context().AssotProccess->Transformations())
      if (a->Name == "Unfold set bounded above") unfold = a.get();
    QVERIFY(unfold);
    const QString row = Q(unfold->RusName) + ".";
    const QStringList givens = Lines(TSection::GivenConds);
    Expect({[&](QWidget* modal) {
      auto* choice = qobject_cast<lemmix::TAssotForm*>(modal);
      QVERIFY(choice);
      const QList<QListWidgetItem*> rows = choice->List()->findItems(row, Qt::MatchExactly);
      QCOMPARE(rows.size(), 1);
      // Nothing that belongs to other words: no case analysis, no substitution.
      QVERIFY(choice->List()->findItems(Shown("ConsiderOrD"), Qt::MatchExactly).isEmpty());
      QVERIFY(choice->List()->findItems(Shown("ConsiderForallD"), Qt::MatchExactly).isEmpty());
      choice->List()->setCurrentItem(rows.front());
      QCOMPARE(choice->HelpTopic(), unfold->HelpMap);
      SaveScreen(modal, "proof-choose-script");
      QTest::mouseClick(choice->OkButton(), Qt::LeftButton);
    }});
    ClickMark(TSection::GivenConds, 0);
    Settle();
    const QStringList after = Lines(TSection::GivenConds);
    // A bounded above: some M is an upper bound of A, and M is given at once.
    QCOMPARE(after.size(), givens.size());
    QVERIFY2(after.front().contains(Q("верхняя грань A"_cp)), qPrintable(after.join(" | ")));
    QCOMPARE(after.back(), givens.back());
    QVERIFY(Lines(TSection::GivenObjects).join(" ").contains("M"));
    QVERIFY(form->Protocol().size() > 2);
    QCOMPARE(Q(form->Protocol()[form->Protocol().size() - 2]), QString("Unfold set bounded above"));
  }

  // The book's methods that apply join the list by their captions, after the
  // catalogue's transformations; choosing one rewrites the condition by it.
  void theChoiceWindowListsTheBooksMethods() {
    TProveForm* form = Open("\\6\\3\\10");
    QVERIFY(form);
    const QString row = Q("Модуль меньше числа."_cp);
    QString last;
    Expect({[&](QWidget* modal) {
              auto* choice = qobject_cast<lemmix::TAssotForm*>(modal);
              QVERIFY(choice);
              const QList<QListWidgetItem*> rows = choice->List()->findItems(row, Qt::MatchExactly);
              QCOMPARE(rows.size(), 1);
              last = choice->List()->item(choice->List()->count() - 1)->text();
              choice->List()->setCurrentItem(rows.front());
              SaveScreen(modal, "proof-choose-method");
              QTest::mouseClick(choice->OkButton(), Qt::LeftButton);
            },
            [](QWidget* modal) {
              QCOMPARE(modal->objectName(), QString("CongratForm"));
              QTest::keyClick(modal, Qt::Key_Return);
            },
            Question(false)});
    ClickMark(TSection::GivenConds, 0);
    Settle();
    QCOMPARE(last, row);
    QTRY_VERIFY(form_.isNull());
  }

  // A demonstration replays the book's protocol of 6\3\1 a key press per
  // step up to the congratulation: the proof field grows as it did, nothing
  // can be done meanwhile but stepping, Undo, taking over or leaving, and no
  // protocol is offered for saving.
  void aDemonstrationStepsToTheCongratulation() {
    const std::vector<std::string> protocol = BookProtocol("\\6\\3\\1");
    QVERIFY(!protocol.empty());
    QVERIFY(Demonstrate("\\6\\3\\1", protocol));
    QVERIFY(form_->Demonstrating());
    QVERIFY(!form_->Item(Item::Apply)->isEnabled());
    QVERIFY(!form_->Item(Item::Contradiction)->isEnabled());
    QCOMPARE(form_->Item(Item::Prove)->text(), Q("Доказывать"_cp));
    QTRY_COMPARE(form_->Status()->text(), Q("Нажмите любую клавишу"_cp));
    SaveScreen(form_, "demo-waiting");
    const int givens = Lines(TSection::GivenConds).size();
    QTest::keyClick(form_, Qt::Key_Space);
    QVERIFY(Lines(TSection::GivenConds).size() > givens);  // the trichotomy applied
    // Marks and commands do nothing while it replays.
    const std::vector<std::string> recorded = form_->Protocol();
    form_->Item(Item::Define)->trigger();
    QVERIFY(form_->Protocol() == recorded);
    Expect({[](QWidget* modal) {
      QCOMPARE(modal->objectName(), QString("CongratForm"));
      QTest::mouseClick(modal->findChild<QPushButton*>("OkButton"), Qt::LeftButton);
    }});
    for (int step = 0; step < 40 && form_; ++step) QTest::keyClick(form_, Qt::Key_N);
    QTRY_VERIFY(form_.isNull());
    QVERIFY(answers_.empty());  // the congratulation only: no save question
  }

  // Each step shows the dialogs the student once filled in, filled in again
  // from the protocol and read-only: the statement applied, the
  // transformation chosen, the values substituted. A key goes on.
  void aDemonstrationShowsTheDialogsFilledIn() {
    QVERIFY(Demonstrate("\\6\\3\\1", BookProtocol("\\6\\3\\1")));
    QStringList shown;
    demonstrated_ = [&](QWidget* modal) {
      if (auto* apply = qobject_cast<lemmix::TApplyForm*>(modal)) {
        QVERIFY(!apply->CancelButton()->isEnabled());
        shown << "apply " + Q(apply->Selected() ? apply->Selected()->Lines[lemmix::kEnglishNameLine] : "");
        if (shown.size() == 1) SaveScreen(modal, "demo-dialog-apply");
      } else if (auto* assot = qobject_cast<lemmix::TAssotForm*>(modal)) {
        QCOMPARE(assot->List()->currentItem()->text(), Shown("ConsiderForallD"));
        shown << "transformation";
      } else if (auto* subst = qobject_cast<lemmix::TSubstForm*>(modal)) {
        const QString value = subst->Selected() >= 0 ? EditText(subst->List()).split('\n').value(subst->Selected())
                                                     : EditText(subst->Edit());
        shown << "substitute " + value.trimmed();
        if (shown.size() == 4) SaveScreen(modal, "demo-dialog-substitute");
      } else {
        shown << modal->objectName();
      }
    };
    form_->DemoStep();
    QCOMPARE(shown, QStringList{"apply Trichotomy"});
    form_->DemoStep();
    QCOMPARE(shown, (QStringList{"apply Trichotomy", "transformation", "substitute x", "substitute 0"}));
    QVERIFY(form_->Demonstrating());
    const int givens = Lines(TSection::GivenConds).size();
    // The window's own key goes on after a dialog too.
    QTest::keyClick(form_, Qt::Key_Space);
    QCOMPARE(shown.value(4), QString("apply Absolute value"));
    QVERIFY(Lines(TSection::GivenConds).size() > givens);
    form_->close();
    QTRY_VERIFY(form_.isNull());
  }

  // "Доказывать" hands a demonstration over: the student goes on from the
  // replayed field, and the protocol continues the replayed steps.
  void takingOverADemonstration() {
    const std::vector<std::string> protocol = BookProtocol("\\6\\3\\1");
    QVERIFY(Demonstrate("\\6\\3\\1", protocol));
    form_->DemoStep();
    form_->DemoStep();
    const QStringList givens = Lines(TSection::GivenConds);
    form_->Item(Item::Prove)->trigger();
    QVERIFY(!form_->Demonstrating());
    QCOMPARE(form_->Item(Item::Prove)->text(), Q("Сохранить_протокол"_cp));
    QVERIFY(form_->Item(Item::Apply)->isEnabled());
    QCOMPARE(Lines(TSection::GivenConds), givens);
    // The protocol holds the replayed head and steps, and goes on from there.
    const std::vector<std::string> taken = form_->Protocol();
    QVERIFY(taken.size() > 13 && taken.size() < protocol.size());
    QVERIFY(std::equal(taken.begin(), taken.end() - 1, protocol.begin()));
    Expect({Apply("\\6\\3\\0")});
    form_->Item(Item::Apply)->trigger();
    Settle();
    QVERIFY(form_->Protocol().size() > taken.size());
    QVERIFY(lemmix::FromQString(Q(form_->Protocol().back())).empty() ||
            std::any_of(form_->Protocol().begin() + taken.size(), form_->Protocol().end(),
                        [](const std::string& line) { return line.starts_with("Apply statement: "); }));
    // The proof taken over is journaled, and resumes as it stands.
    const std::string journal = lemmix::SystemPath((dir_->Path() / "Prt.dat").string()).value();
    const std::optional<lemmix::TInterruptedProof> interrupted = lemmix::FindInterruptedProof(journal);
    QVERIFY(interrupted);
    TProveForm resumed(lemmix_->Context(), *lemmix_->Context().Book, Statement("\\6\\3\\1"), &lemmix_->MainForm());
    const std::vector<std::string> before = form_->Protocol();
    const QStringList givensNow = Lines(TSection::GivenConds);
    Expect({Question(false)});
    form_->close();
    Settle();
    QVERIFY(resumed.Resume(interrupted->Journal, journal));
    QVERIFY(resumed.Protocol() == before);
    QCOMPARE(EditText(resumed.View(TSection::GivenConds)).split('\n'), givensNow);
    Expect({Question(false)});
    resumed.close();
    Settle();
  }

  // A protocol that no longer proves its statement stops at the step that
  // fails, says why, and offers to go on by oneself.
  void aDemonstrationThatFails() {
    std::vector<std::string> protocol = BookProtocol("\\6\\3\\1");
    const auto substituted = std::find_if(protocol.begin(), protocol.end(), [](const std::string& line) {
      return line.find("Substituted x for") != std::string::npos;
    });
    QVERIFY(substituted != protocol.end());
    substituted->replace(substituted->find("Substituted x"), 13, "Substituted 1");
    QVERIFY(Demonstrate("\\6\\3\\1", protocol));
    QStringList told;
    QString asked;
    // The messages of the failed step, then the question.
    const Answer answer = [&](QWidget* modal) {
      if (auto* question = qobject_cast<lemmix::TQuestForm*>(modal)) {
        asked = question->Question()->text();
        answers_.clear();
        QTest::mouseClick(question->NoButton(), Qt::LeftButton);
        return;
      }
      QCOMPARE(modal->objectName(), QString("MessageForm"));
      told << EditText(*modal->findChild<lemmix::TMyEdit*>());
      static_cast<QDialog*>(modal)->accept();
    };
    Expect({answer, answer, answer, answer});
    for (int step = 0; step < 40 && form_ && asked.isEmpty(); ++step) form_->DemoStep();
    QTRY_VERIFY(form_.isNull());
    QVERIFY2(!told.isEmpty(), "no message");
    QCOMPARE(told.size(), 1);  // said once
    QCOMPARE(asked, Q("Продолжить доказательство самостоятельно ?"_cp));
  }

  // Undo during a demonstration takes a step back; the next key replays it again.
  void undoDuringADemonstration() {
    QVERIFY(Demonstrate("\\6\\3\\1", BookProtocol("\\6\\3\\1")));
    form_->DemoStep();
    const QStringList once = Lines(TSection::GivenConds);
    form_->DemoStep();
    const QStringList twice = Lines(TSection::GivenConds);
    QVERIFY(twice != once);
    QVERIFY(form_->Item(Item::Undo)->isEnabled());
    form_->Item(Item::Undo)->trigger();
    QCOMPARE(Lines(TSection::GivenConds), once);
    QVERIFY(form_->Demonstrating());
    form_->DemoStep();
    QCOMPARE(Lines(TSection::GivenConds), twice);
    // Leaving a demonstration asks nothing: there is no protocol of the student's to keep.
    form_->close();
    QTRY_VERIFY(form_.isNull());
  }
};

QTEST_MAIN(ProveFormGuiTest)
#include "prove_form_gui_test.moc"
