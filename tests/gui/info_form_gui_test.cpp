// The information window: the prover's reports as a tree that follows the
// levels of the proof, one line per report indented by its depth; the two
// refused moves in the tree; and the tree of a real proof with subproofs.
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <optional>

#include "book/html_links.h"
#include "book/part.h"
#include "gui/info_form.h"
#include "gui/lemmix.h"
#include "gui/main_form.h"
#include "gui/my_edit.h"
#include "gui_test_support.h"
#include "notation/parser.h"
#include "proofrun/driver.h"
#include "proofrun/protocol.h"
#include "proofrun/script_ui.h"
#include "shell/cp1251.h"
#include "shell/files.h"
#include "shell/recording_messages.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;
using lemmix::operator""_cp;
using lemmix::TInfoForm;
using lemmix::testing::EditText;
using lemmix::testing::OnNextModal;
using lemmix::testing::SaveScreen;

namespace {

// The program's catalogues with the messages kept instead of shown.
class TRecordingContext {
 public:
  explicit TRecordingContext(const lemmix::TContext& program) : context_(messages, messages) {
    context_.TypesProccess = program.TypesProccess;
    context_.StFunc = program.StFunc;
    scope_.emplace(context_);
  }
  std::vector<std::string> Errors(bool russian = false) const {
    std::vector<std::string> errors;
    for (const auto& entry : messages.Entries()) errors.push_back(russian ? entry.message.Rus : entry.message.Eng);
    return errors;
  }

  lemmix::RecordingMessages messages;

 private:
  lemmix::TContext context_;
  std::optional<lemmix::TContextScope> scope_;
};

std::string Skips(int count) {
  std::string skips;
  for (int i = 0; i < count; ++i) skips += "\\Skip ";
  return skips;
}

std::vector<std::string> Dump(const TInfoForm& info) {
  std::vector<std::string> lines;
  info.Dump(lines);
  return lines;
}

// The leading blanks of a shown line.
std::size_t Blanks(const lemmix::TLetters& line) {
  std::size_t blanks = 0;
  while (blanks < line.size() && line[blanks].Code == ' ') ++blanks;
  return blanks;
}

// Shows the window, keeps the text of its edit and closes it with "OK".
QString Shown(TInfoForm& info, const QString& screen = {}) {
  QString text;
  OnNextModal([&](QWidget* modal) {
    if (!screen.isEmpty()) SaveScreen(modal, screen);
    text = EditText(info.Edit());
    QTest::mouseClick(modal->findChild<QPushButton*>("OkButton"), Qt::LeftButton);
  });
  info.ShowReports();
  return text;
}

}  // namespace

class InfoFormGuiTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<lemmix::testing::TempDir> dir_;
  std::unique_ptr<lemmix::testing::ScopedWorkingDirectory> cwd_;
  std::unique_ptr<lemmix::TLemmix> lemmix_;

 private slots:
  void initTestCase() {
    dir_ = std::make_unique<lemmix::testing::TempDir>();
    fs::copy(LEMMIX_DATA_DIR, dir_->Path(), fs::copy_options::recursive);
    cwd_ = std::make_unique<lemmix::testing::ScopedWorkingDirectory>(dir_->Path());
    lemmix_ = std::make_unique<lemmix::TLemmix>();
    lemmix_->Show();
    QVERIFY(QTest::qWaitForWindowExposed(&lemmix_->MainForm()));
  }
  void cleanupTestCase() {
    lemmix_.reset();
    cwd_.reset();
    dir_.reset();
  }

  void afterResetThereIsNoLineAndTheWindowIsEmpty() {
    TInfoForm info;
    QVERIFY(info.Empty());
    QVERIFY(info.Lines().empty());
    info.Report("Получено противоречие."_cp);
    info.GoDown();
    info.Report("x");
    QVERIFY(!info.Empty());
    QCOMPARE(info.Depth(), 1);
    info.Reset();
    QVERIFY(info.Empty());
    QCOMPARE(info.Depth(), 0);
    QVERIFY(info.Lines().empty());
    QVERIFY(Dump(info).empty());
    QVERIFY(Shown(info).isEmpty());
    // The tree starts again at the top.
    info.Report("y");
    QCOMPARE(Dump(info), std::vector<std::string>{"y"});
  }

  // Each row is a list of moves: "+TEXT" reports, "v" goes down, "^" goes up
  // keeping the level left, "x" goes up dropping it.
  void movesInTheTree() {
    const std::string skip3 = Skips(3);
    const struct {
      const char* Label;
      std::vector<std::string> Moves;
      std::vector<std::string> Dump;
      bool Empty;
      int Depth;
      std::vector<std::string> Errors;
    } rows[] = {
        {"nothing", {}, {}, true, 0, {}},
        {"one report", {"+a"}, {"a"}, false, 0, {}},
        {"a subproof left without reports disappears", {"+S", "v", "x"}, {}, true, 0, {}},
        {"and with its reports", {"+S", "v", "+b", "v", "+c", "^", "x"}, {}, true, 0, {}},
        {"what stood before it stays", {"+a", "+S", "v", "+b", "x"}, {"a"}, false, 0, {}},
        {"a proved subproof keeps its lines", {"+S", "v", "+b", "^", "+c"}, {"S", skip3 + "b", "c"}, false, 0, {}},
        {"two levels down", {"+a", "v", "+b", "v", "+c"}, {"a", skip3 + "b", Skips(6) + "c"}, false, 2, {}},
        {"a deeper level dropped", {"+a", "v", "+b", "v", "x"}, {"a"}, false, 1, {}},
        {"down without a report", {"v"}, {}, true, 0, {"Error 1 in GoDown (Info)"}},
        {"down below a report without one", {"+a", "v", "v", "+b"}, {"a", skip3 + "b"}, false, 1, {"Error 1 in GoDown (Info)"}},
        {"up from the top", {"^"}, {}, true, 0, {"Error 1 in GoUp (Info)"}},
        {"dropping up from the top", {"+a", "x"}, {"a"}, false, 0, {"Error 1 in GoUp (Info)"}},
        {"one up too many", {"+a", "v", "+b", "^", "^", "+c"}, {"a", skip3 + "b", "c"}, false, 0, {"Error 1 in GoUp (Info)"}},
    };
    for (const auto& row : rows) {
      TRecordingContext recording(lemmix_->Context());
      TInfoForm info;
      for (const std::string& move : row.Moves) {
        if (move.front() == '+') info.Report(move.substr(1));
        else if (move == "v") info.GoDown();
        else if (move == "^") info.GoUp(true);
        else info.GoUp(false);
      }
      QVERIFY2(Dump(info) == row.Dump, row.Label);
      QVERIFY2(info.Empty() == row.Empty, row.Label);
      QVERIFY2(info.Depth() == row.Depth, row.Label);
      QVERIFY2(recording.Errors() == row.Errors, row.Label);
      QVERIFY2(info.Lines().size() == row.Dump.size(), row.Label);
    }
  }

  void theRefusedMovesSayWhyInRussian() {
    TRecordingContext recording(lemmix_->Context());
    TInfoForm info;
    info.GoDown();
    info.GoUp(true);
    QCOMPARE(recording.Errors(true), (std::vector<std::string>{"Ошибка 1 в GoDown (Info)"_cp, "Ошибка 1 в GoUp (Info)"_cp}));
  }

  void aReportAtDepthTwoStandsAfterSixBlanks() {
    TInfoForm info;
    info.Report("Получено противоречие."_cp);
    info.Report("Поддоказательство (рассмотрение случая)"_cp);
    info.GoDown();
    info.Report("Поддоказательство (доказательство посылки импликации)"_cp);
    info.GoDown();
    info.Report("Доказано условие x\\ge 0"_cp);
    info.Report("Непарная скобка ( x"_cp);  // no formula: the words as they are
    const std::vector<lemmix::TLetters> lines = info.Lines();
    QCOMPARE(lines.size(), std::size_t(5));
    QCOMPARE(lines[0].front().Code, std::uint8_t(static_cast<unsigned char>("П"_cp[0])));
    QCOMPARE(Blanks(lines[1]), std::size_t(0));
    QCOMPARE(Blanks(lines[2]), std::size_t(3));
    const lemmix::TLetters& deep = lines[3];
    QCOMPARE(Blanks(deep), std::size_t(6));
    // "\ge" is one letter of the mathematical font, not three plain ones.
    QVERIFY(std::any_of(deep.begin(), deep.end(), [](const lemmix::TLetter& l) { return l.Font != lemmix::kPlainFont; }));
    QVERIFY(std::none_of(deep.begin(), deep.end(), [](const lemmix::TLetter& l) { return l.Code == '\\'; }));
    const std::string word = "Непарная"_cp;
    const lemmix::TLetters& plain = lines[4];
    QVERIFY(plain.size() > 6 + word.size());
    for (std::size_t i = 0; i < word.size(); ++i) QCOMPARE(plain[6 + i].Code, static_cast<std::uint8_t>(word[i]));
    const std::vector<std::string> dump = Dump(info);
    QCOMPARE(dump.size(), std::size_t(5));
    QCOMPARE(dump[3], Skips(6) + "Доказано условие x\\ge 0"_cp);
    QCOMPARE(dump[2], Skips(3) + "Поддоказательство (доказательство посылки импликации)"_cp);
    const QString shown = Shown(info, "info-depths");
    QCOMPARE(shown.count('\n'), 4);
    QVERIFY(shown.split('\n')[3].startsWith("      ") && !shown.split('\n')[3].startsWith("       "));
  }

  void aFormulaIsWrittenAfterAReportThatEndsWhereItStands() {
    TInfoForm info;
    const lemmix::TExprPtr sum = lemmix::TextToTree("x + 1");
    QVERIFY(sum);
    info.Add("Выражение "_cp, sum.get());
    info.Add("Проверка посылок импликации:"_cp, sum.get());
    info.Add("Условие x + 1 доказано."_cp, sum.get());  // quoted already
    info.Add("Получено противоречие."_cp, nullptr);
    const std::vector<std::string> dump = Dump(info);
    QCOMPARE(dump, (std::vector<std::string>{"Выражение x+1"_cp, "Проверка посылок импликации: x+1"_cp,
                                             "Условие x + 1 доказано."_cp, "Получено противоречие."_cp}));
  }

  // book\6\6\1 proved by its script with the window as the prover's sink:
  // the proof of the marked condition below its line, its two cases one level
  // deeper, each ended by its sentence.
  void theTreeOfAProofWithSubproofs() {
    lemmix::TSession& context = lemmix_->Context();
    const lemmix::TStatement* statement = lemmix::FindStatementByPath(*context.Book, "\\6\\6\\1");
    QVERIFY(statement);
    std::vector<std::string> script;
    for (const std::string& line :
         lemmix::ReadLines(std::string(LEMMIX_PROOFS_DIR) + "/6-6-1.txt").value_or(std::vector<std::string>{}))
      script.push_back(lemmix::Utf8ToCp1251(line));
    QVERIFY(!script.empty());

    TInfoForm info;
    info.Reset();
    context.Info = &info;
    context.Commenting = true;
    lemmix::TProtocolRecorder protocol(context.Messages);
    lemmix::TScriptUi ui(*context.Book, std::move(script));
    lemmix::TProofDriver driver(ui, protocol, *context.Book, context.AssotProccess.get());
    bool understood = false;
    if (driver.Start(*statement, "")) understood = ui.Run(driver, [&](const std::string&, bool) {
      // After each command the tree is exactly as deep as the proof.
      if (info.Depth() != (driver.Open() ? driver.Level() : 0)) understood = false;
    });
    context.Info = nullptr;
    context.Commenting = false;
    QVERIFY(understood);
    QVERIFY(driver.Succeeded());
    QCOMPARE(info.Depth(), 0);

    const std::vector<std::string> dump = Dump(info);
    const auto count = [&](const std::string& line) { return std::count(dump.begin(), dump.end(), line); };
    QCOMPARE(count("Поддоказательство (доказательство отмеченного условия)"_cp), 1);
    QCOMPARE(count(Skips(3) + "Поддоказательство (доказательство отмеченного условия) завершено успешно."_cp), 1);
    QCOMPARE(count(Skips(3) + "Поддоказательство (рассмотрение случая)"_cp), 2);
    QCOMPARE(count(Skips(6) + "Поддоказательство (рассмотрение случая) завершено успешно."_cp), 2);
    // No line deeper than the proof went.
    QVERIFY(std::none_of(dump.begin(), dump.end(), [](const std::string& line) { return line.starts_with(Skips(9)); }));

    info.resize(900, 1000);
    const QString shown = Shown(info, "info-proof-tree");
    const QStringList lines = shown.split('\n');
    QCOMPARE(lines.size(), static_cast<int>(dump.size()));
    // Each shown line as deep as its dump: three blanks for three "\Skip " words.
    for (int i = 0; i < lines.size(); ++i) {
      const std::string& dumped = dump[static_cast<std::size_t>(i)];
      int skips = 0;
      while (dumped.compare(static_cast<std::size_t>(skips) * 6, 6, "\\Skip ") == 0) ++skips;
      int blanks = 0;
      while (blanks < lines[i].size() && lines[i][blanks] == ' ') ++blanks;
      QCOMPARE(blanks, skips);
    }
    QVERIFY(std::any_of(lines.begin(), lines.end(), [](const QString& line) { return line.startsWith("      П"); }));
  }
};

QTEST_MAIN(InfoFormGuiTest)
#include "info_form_gui_test.moc"
