// Every proof of the book kept as a script (tests/proofrun/proofs) is proved
// again in the proof window, as a student would: each command from its menu
// item or a mark on a section's line, each dialog answered as the script says
// in the dialog itself. The protocol the student saves at the congratulation
// is the one the book keeps for the same proof.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>

#include "book/html_links.h"
#include "book/method_lines.h"
#include "book/part.h"
#include "book/search.h"
#include "book/statement.h"
#include "gui/apply_form.h"
#include "gui/assot_form.h"
#include "gui/choose_form.h"
#include "gui/formula_input_form.h"
#include "gui/induction_form.h"
#include "gui/lemmix.h"
#include "gui/main_form.h"
#include "gui/message_forms.h"
#include "gui/my_edit.h"
#include "gui/prove_form.h"
#include "gui/qtext.h"
#include "gui/required_object_form.h"
#include "gui/save_pr_form.h"
#include "gui/subst_form.h"
#include "gui/the_def_form.h"
#include "intrinsics/letter.h"
#include "notation/items.h"
#include "gui_test_support.h"
#include "proofrun/assot.h"
#include "shell/cp1251.h"
#include "shell/files.h"
#include "shell/text.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;
using lemmix::operator""_cp;
using lemmix::TProveForm;
using lemmix::TSection;
using lemmix::testing::EditText;
using Item = TProveForm::TItem;

namespace {

QString Q(const std::string& cp1251) { return lemmix::ToQString(cp1251); }

// The lines of a script that say something, in Windows-1251.
std::vector<std::string> ScriptLines(const std::string& name) {
  std::vector<std::string> lines;
  for (const std::string& line : lemmix::ReadLines(std::string(LEMMIX_PROOFS_DIR) + "/" + name + ".txt").value_or(
           std::vector<std::string>{})) {
    const std::string_view trimmed = lemmix::Trim(line);
    if (!trimmed.empty() && trimmed.front() != '#') lines.push_back(lemmix::Utf8ToCp1251(std::string(trimmed)));
  }
  return lines;
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

bool IsCommand(const std::string& line) { return !line.empty() && line.front() == '!'; }

// Stored formula text as a list of the dialogs shows it.
QString LaidOut(const std::string& stored) {
  const std::optional<lemmix::TLetters> letters = lemmix::StringToLetters(stored);
  return letters ? QString::fromStdString(lemmix::LettersToUtf8(*letters)).trimmed() : Q(stored);
}

}  // namespace

class ProveScriptsGuiTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<lemmix::testing::TempDir> dir_;
  std::unique_ptr<lemmix::testing::ScopedWorkingDirectory> cwd_;
  std::unique_ptr<lemmix::TLemmix> lemmix_;
  QPointer<TProveForm> form_;
  QTimer answering_;

  // The script being proved and the next line of it.
  std::vector<std::string> lines_;
  std::size_t next_ = 0;
  // What went wrong while answering a dialog (a failed QVERIFY cannot leave a timer's slot).
  QStringList faults_;
  // Set while a failed proof is closed: its protocol is not kept.
  bool discarding_ = false;

  // The answer to the current dialog, or nothing when the dialog is to be
  // cancelled: before a command, at the end, or on "cancel".
  std::optional<std::string> Answer() {
    if (next_ >= lines_.size() || IsCommand(lines_[next_])) return std::nullopt;
    const std::string line = lines_[next_++];
    if (Lower(line) == "cancel") return std::nullopt;
    return line;
  }
  // The next line when it is one of the words (lower case).
  std::optional<std::string> Optional(std::initializer_list<const char*> words) {
    if (next_ >= lines_.size()) return std::nullopt;
    const std::string word = Lower(lines_[next_]);
    for (const char* w : words)
      if (word == w) {
        ++next_;
        return word;
      }
    return std::nullopt;
  }
  void Fault(const QString& what) { faults_ << what; }

  const lemmix::TStatement* Statement(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    if (path.starts_with("book")) path = path.substr(4);
    if (!path.starts_with("\\")) path = "\\" + path;
    return lemmix::FindStatementByPath(*lemmix_->Context().Book, path);
  }

  // A formula typed into an edit in place of what it held.
  static bool Type(lemmix::TMyEdit& edit, const std::string& text) {
    edit.Clear();
    return edit.AddText(text, 0);
  }

  // One dialog of the proof, answered as the script says; false when the
  // script cannot answer it.
  bool AnswerDialog(QWidget* modal) {
    if (auto* apply = qobject_cast<lemmix::TApplyForm*>(modal)) {
      const std::optional<std::string> path = Answer();
      if (!path) return false;
      const lemmix::TStatement* statement = Statement(*path);
      if (!statement || !apply->Select(*statement)) {
        Fault("cannot select " + Q(*path) + " in the apply dialog");
        return false;
      }
      QTest::mouseClick(apply->ApplyButton(), Qt::LeftButton);
      return true;
    }
    if (auto* assot = qobject_cast<lemmix::TAssotForm*>(modal)) return ChooseTransformation(*assot);
    if (auto* choose = qobject_cast<lemmix::TChooseForm*>(modal)) return ChooseItem(*choose);
    if (auto* marks = qobject_cast<lemmix::TInductionForm*>(modal)) {
      const std::optional<std::string> names = Answer();
      if (!names) return false;
      const QStringList words = Q(*names).split(' ', Qt::SkipEmptyParts);
      for (std::size_t i = 0; i < marks->Boxes().size(); ++i)
        if (words.contains(EditText(marks->Name(i)).trimmed())) QTest::mouseClick(marks->Boxes()[i], Qt::LeftButton);
      QTest::mouseClick(marks->OkButton(), Qt::LeftButton);
      return true;
    }
    if (auto* input = qobject_cast<lemmix::TFormulaInputForm*>(modal)) {
      const std::optional<std::string> text = Answer();
      if (!text) return false;
      if (!Type(input->Edit(), *text)) Fault("the formula input refuses " + Q(*text));
      QTest::mouseClick(input->OkButton(), Qt::LeftButton);
      return true;
    }
    if (auto* define = qobject_cast<lemmix::TTheDefForm*>(modal)) return Define(*define);
    if (auto* substitute = qobject_cast<lemmix::TSubstForm*>(modal)) return Substitute(*substitute);
    if (auto* required = qobject_cast<lemmix::TRequiredObjectForm*>(modal)) {
      const bool add = Optional({"add", "substitute"}).value_or("add") == "add";
      QTest::mouseClick(add ? required->AddButton() : required->SubstituteButton(), Qt::LeftButton);
      return true;
    }
    if (auto* question = qobject_cast<lemmix::TQuestForm*>(modal)) return AnswerQuestion(*question);
    if (modal->objectName() == "CongratForm") {
      QTest::mouseClick(modal->findChild<QPushButton*>("OkButton"), Qt::LeftButton);
      return true;
    }
    if (auto* save = qobject_cast<lemmix::TSavePrForm*>(modal)) {
      save->NameEdit()->setText("gui");
      QTest::mouseClick(save->findChild<QPushButton*>("OkButton"), Qt::LeftButton);
      return true;
    }
    if (auto* message = qobject_cast<lemmix::TMessageForm*>(modal)) {
      Fault("message: " + EditText(message->Edit()));
      return false;
    }
    Fault("unexpected dialog " + modal->objectName() + ": " + modal->windowTitle());
    return false;
  }

  // A catalogue key, a menu text or a number, as in the scripts.
  bool ChooseTransformation(lemmix::TAssotForm& form) {
    const std::optional<std::string> line = Answer();
    if (!line) return false;
    QStringList names{Q(*line), Q(*line) + "."};
    for (const auto& t : lemmix_->Context().AssotProccess->Transformations())
      if (t->DialogTransform == *line || t->Name == *line) names << Q(t->RusName) + ".";
    // A method of the book is shown by its caption.
    for (const lemmix::TStatement* m : lemmix::StatementsBefore(*lemmix_->Context().Book, nullptr))
      if (m->Kind() == lemmix::kStatementKindWords[lemmix::kMethodKind] && m->Lines[lemmix::kEnglishNameLine] == *line)
        names << Q(m->Lines[lemmix::kMethodRusCaptionField]) + ".";
    int row = -1;
    for (int i = 0; i < form.List()->count() && row < 0; ++i)
      if (names.contains(form.List()->item(i)->text())) row = i;
    if (const std::optional<int> number = lemmix::ParseInt(*line); row < 0 && number) row = *number - 1;
    if (row < 0 || row >= form.List()->count()) {
      Fault("transformation " + Q(*line) + " is not offered");
      return false;
    }
    form.List()->setCurrentRow(row);
    QTest::mouseClick(form.OkButton(), Qt::LeftButton);
    return true;
  }

  // The item shown as the line, or its number.
  bool ChooseItem(lemmix::TChooseForm& form) {
    const std::optional<std::string> line = Answer();
    if (!line) return false;
    const QStringList shown = EditText(form.List()).split('\n');
    int item = -1;
    for (int i = 0; i < shown.size() && item < 0; ++i) {
      form.Select(i);
      if (form.Selected() >= 0 && shown.value(form.List().MarkedLine()).trimmed() == LaidOut(*line)) item = form.Selected();
    }
    if (const std::optional<int> number = lemmix::ParseInt(*line); item < 0 && number) item = *number - 1;
    form.Select(item);
    if (item < 0 || form.Selected() != item) {
      Fault(Q(*line) + " is not offered: " + shown.join(", "));
      return false;
    }
    QTest::mouseClick(form.OkButton(), Qt::LeftButton);
    return true;
  }

  // "x = 1" or "simple: …" on the first page; "cases: y = 1 | c | y = 2" as
  // the variable, then values and conditions in turn; "recursive: a b".
  bool Define(lemmix::TTheDefForm& form) {
    const std::optional<std::string> line = Answer();
    if (!line) return false;
    std::string_view text = *line;
    const auto starts = [&](std::string_view word) {
      if (!Lower(std::string(text)).starts_with(word)) return false;
      text = lemmix::Trim(text.substr(word.size()));
      return true;
    };
    bool typed = true;
    if (starts("cases:")) {
      form.Pages()->setCurrentIndex(1);
      std::vector<std::string> parts;
      for (const QString& part : Q(std::string(text)).split('|')) parts.push_back(lemmix::FromQString(part.trimmed()));
      const std::size_t equals = parts.front().find(" = ");
      const std::string variable = parts.front().substr(0, equals);
      while (form.CondEdits().size() < parts.size() + 1) form.AddCase();
      typed = Type(*form.CondEdits()[0], variable);
      for (std::size_t i = 0; i < parts.size(); ++i) {
        // A value is written as an equality for the variable; the edit takes its right side.
        std::string part = parts[i];
        if (i % 2 == 0 && part.starts_with(variable + " = ")) part = part.substr(variable.size() + 3);
        typed = Type(*form.CondEdits()[i + 1], part) && typed;
      }
    } else if (starts("recursive:")) {
      form.Pages()->setCurrentIndex(2);
      typed = Type(form.RecurEdit(), std::string(text));
    } else {
      starts("simple:");
      form.Pages()->setCurrentIndex(0);
      typed = Type(form.SimpleEdit(), std::string(text));
    }
    if (!typed) Fault("the definition dialog refuses " + Q(*line));
    for (QPushButton* button : form.findChildren<QPushButton*>())
      if (button->text() == Q("Ввод"_cp) && button->isVisible()) {
        QTest::mouseClick(button, Qt::LeftButton);
        return true;
      }
    Fault("no enter button in the definition dialog");
    return false;
  }

  // "refuse", "object N", a candidate as shown, or an expression typed.
  bool Substitute(lemmix::TSubstForm& form) {
    const std::optional<std::string> line = Answer();
    if (!line) return false;
    if (Lower(*line) == "refuse") {
      QTest::mouseClick(form.RefuseButton(), Qt::LeftButton);
      return true;
    }
    QStringList shown = EditText(form.List()).split('\n');
    for (QString& candidate : shown) candidate = candidate.trimmed();
    int item = shown.indexOf(LaidOut(*line));
    if (Lower(*line).starts_with("object ")) item = lemmix::ParseInt(lemmix::Trim(line->substr(7))).value_or(0) - 1;
    form.Select(item);
    if (item < 0 && !Type(form.Edit(), *line)) Fault("the substitution dialog refuses " + Q(*line));
    QTest::mouseClick(form.OkButton(), Qt::LeftButton);
    return true;
  }

  bool AnswerQuestion(lemmix::TQuestForm& form) {
    const QString asked = form.Question()->text();
    bool yes = true;
    if (asked.startsWith(Q("Сначала необходимо доказать"_cp))) {
      yes = Optional({"prove", "cancel"}).value_or("prove") == "prove";
    } else if (asked == Q("СОХРАНИТЬ ПРОТОКОЛ ДОКАЗАТЕЛЬСТВА ?"_cp)) {
      yes = !discarding_;
    } else {
      Fault("unexpected question: " + asked);
      return false;
    }
    QTest::mouseClick(yes ? form.YesButton() : form.NoButton(), Qt::LeftButton);
    return true;
  }

  // One command of the script: its menu item, or a click on the mark of a line.
  void RunCommand(const std::string& line) {
    const QStringList words = Q(Lower(line.substr(1))).split(' ', Qt::SkipEmptyParts);
    QVERIFY2(!words.isEmpty(), line.c_str());
    const std::map<QString, Item> items = {
        {"define", Item::Define},         {"apply", Item::Apply},
        {"cases", Item::Cases},           {"auxiliary", Item::Auxiliary},
        {"conjecture", Item::Conjecture}, {"contradiction", Item::Contradiction},
        {"induction", Item::Induction},   {"undo", Item::Undo}};
    if (const auto item = items.find(words[0]); item != items.end()) {
      QAction* action = form_->Item(item->second);
      QVERIFY2(action->isEnabled(), line.c_str());
      action->trigger();
      return;
    }
    QVERIFY2(words[0] == "mark" && words.size() == 3, line.c_str());
    const std::map<QString, TSection> sections = {
        {"given", TSection::GivenConds}, {"proving", TSection::ProvingConds}, {"object", TSection::GivenObjects}};
    QVERIFY2(sections.contains(words[1]), line.c_str());
    lemmix::TMyEdit& view = form_->View(sections.at(words[1]));
    lemmix::TMyCheck* check = view.Check(words[2].toInt() - 1);
    QVERIFY2(check, line.c_str());
    // A line below the bottom of the view: scrolled to, as a student scrolls.
    QScrollBar* bar = view.VerticalBar();
    for (int value = bar->minimum(); !check->isVisible() && bar->value() < bar->maximum();
         value += std::max(1, bar->singleStep())) {
      bar->setValue(std::min(value, bar->maximum()));
      QCoreApplication::processEvents();
    }
    QVERIFY2(check->isVisible(), line.c_str());
    QTest::mouseClick(check, Qt::LeftButton);
    // The mark runs its command from a posted event: delivered here, it ends before this returns.
    QCoreApplication::sendPostedEvents(form_);
  }

 private slots:
  void initTestCase() {
    dir_ = std::make_unique<lemmix::testing::TempDir>();
    fs::copy(LEMMIX_DATA_DIR, dir_->Path(), fs::copy_options::recursive);
    cwd_ = std::make_unique<lemmix::testing::ScopedWorkingDirectory>(dir_->Path());
    lemmix_ = std::make_unique<lemmix::TLemmix>();
    lemmix_->Show();
    QVERIFY(QTest::qWaitForWindowExposed(&lemmix_->MainForm()));
    answering_.setInterval(5);
    connect(&answering_, &QTimer::timeout, this, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal || !modal->isVisible() || modal == form_.data() || modal == &lemmix_->MainForm()) return;
      const QPointer<QWidget> guarded(modal);
      const bool answered = AnswerDialog(modal);
      // Unanswered: the dialog is cancelled, as the script then means.
      if (auto* dialog = qobject_cast<QDialog*>(guarded.data()); dialog && dialog->isVisible() && !answered)
        dialog->reject();
    });
    answering_.start();
  }
  void cleanupTestCase() {
    answering_.stop();
    lemmix_.reset();
    cwd_.reset();
    dir_.reset();
  }

  void cleanup() {
    if (!form_) return;
    discarding_ = true;
    lines_.clear();
    form_->close();
    QTRY_VERIFY(form_.isNull());
    discarding_ = false;
  }

  void provesEveryScriptOfTheBook_data() {
    QTest::addColumn<QString>("script");
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(LEMMIX_PROOFS_DIR))
      if (entry.path().extension() == ".txt") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    QVERIFY(!names.empty());
    for (const std::string& name : names) QTest::newRow(name.c_str()) << QString::fromStdString(name);
  }
  void provesEveryScriptOfTheBook() {
    QFETCH(QString, script);
    std::string path = "\\" + script.toStdString();
    std::replace(path.begin(), path.end(), '-', '\\');
    const lemmix::TStatement* statement = Statement(path);
    QVERIFY(statement);
    lines_ = ScriptLines(script.toStdString());
    next_ = 0;
    faults_.clear();

    lemmix_->MainForm().Prove(const_cast<lemmix::TStatement&>(*statement));
    form_ = lemmix_->MainForm().findChild<TProveForm*>();
    // A task the tests settle as it starts ends as the window opens.
    const bool commands = std::any_of(lines_.begin(), lines_.end(), [this](const std::string& l) { return IsCommand(l); });
    if (commands) {
      QVERIFY(form_);
      QCOMPARE(form_->windowTitle(), Q(statement->Title()));
    }
    while (form_ && next_ < lines_.size()) {
      const std::string command = lines_[next_++];
      QVERIFY2(IsCommand(command), ("an answer no dialog asked for: " + command).c_str());
      RunCommand(command);
      QVERIFY2(faults_.isEmpty(), qPrintable(Q(command) + ": " + faults_.join("; ")));
    }
    // The last command ended the proof: the congratulation, then the protocol kept as "gui".
    QTRY_VERIFY_WITH_TIMEOUT(form_.isNull(), 5000);
    QVERIFY2(next_ == lines_.size(), "the proof ended before the script");
    const auto saved = lemmix::ReadLines(statement->UserProtocolDirectory() + "\\gui.prt");
    const auto book = lemmix::ReadLines(statement->ProtocolDirectory() + "\\" + "Доказательство"_cp + ".prt");
    QVERIFY(saved && book);
    QVERIFY(!book->empty());
    for (std::size_t i = 0; i < std::max(saved->size(), book->size()); ++i) {
      const std::string mine = i < saved->size() ? (*saved)[i] : "(none)";
      const std::string kept = i < book->size() ? (*book)[i] : "(none)";
      QVERIFY2(mine == kept, qPrintable(QString("line %1: %2 instead of %3").arg(i + 1).arg(Q(mine), Q(kept))));
    }
  }
};

QTEST_MAIN(ProveScriptsGuiTest)
#include "prove_scripts_gui_test.moc"
