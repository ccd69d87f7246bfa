// The windows of demonstrations: the choice among a statement's protocols,
// the setup of demo, the verification window stepping a replay on its timer,
// the elapsed time; and the main window's Demo on a copy of the bundled data,
// with a replay that the test plays itself.
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "book/html_links.h"
#include "book/statement.h"
#include "gui/demo_setup_form.h"
#include "gui/lemmix.h"
#include "gui/main_form.h"
#include "gui/open_pr_form.h"
#include "gui/progress_form.h"
#include "gui/prove_form.h"
#include "gui/qtext.h"
#include "gui/setup_form.h"
#include "gui/time_form.h"
#include "gui_test_support.h"
#include "shell/cp1251.h"
#include "shell/files.h"
#include "shell/message.h"
#include "shell/settings.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;
using lemmix::operator""_cp;
using lemmix::TMessage;
using lemmix::TProgressForm;
using lemmix::TProtocolFile;
using lemmix::TReplaySteps;
using lemmix::testing::LabelTexts;
using lemmix::testing::OnNextModal;
using lemmix::testing::OnNextModalNamed;
using lemmix::testing::SaveScreen;
using lemmix::testing::ScopedWorkingDirectory;
using lemmix::testing::TempDir;

namespace {

QString Q(const std::string& cp1251) { return lemmix::ToQString(cp1251); }

std::string SystemPathOf(const fs::path& path) { return lemmix::SystemPath(path.string()).value(); }

void Touch(const fs::path& file) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << "AutoStandard = true\r\n";
}

class RecordingMessages : public lemmix::IMessages {
 public:
  std::vector<TMessage> Shown;
  void Info(const TMessage& message) override { Shown.push_back(message); }
  void Error(const TMessage& message) override { Shown.push_back(message); }
};

// Every modal window that opens while it lives is noted and closed, but for
// the one it is told to let be.
class ModalWatch {
 public:
  explicit ModalWatch(QStringList letBe = {}) {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this, letBe] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal && modal->isVisible() && !letBe.contains(modal->objectName())) {
        seen_ << modal->objectName();
        static_cast<QDialog*>(modal)->reject();
      }
    });
    timer_.start();
  }
  const QStringList& Seen() const { return seen_; }

 private:
  QTimer timer_;
  QStringList seen_;
};

// A replay the test plays: each step reads `stride` lines; the run stops
// (the step returns false) once `stopAt` lines are read.
struct FakeReplay {
  std::size_t stride = 1;
  std::size_t stopAt = 0;
  std::size_t position = 0;
  int steps = 0;
  std::function<void(int step)> during;

  TReplaySteps Steps() {
    return {[this] {
              ++steps;
              position = std::min(position + stride, stopAt);
              if (during) during(steps);
              return position < stopAt;
            },
            [this] { return position; },
            {}};
  }
};

}  // namespace

class DemoGuiTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TempDir> dir_;
  std::unique_ptr<ScopedWorkingDirectory> cwd_;
  std::unique_ptr<lemmix::TLemmix> lemmix_;

  // The bundled data copied, the program started on it.
  void StartOnCopy() {
    dir_ = std::make_unique<TempDir>();
    fs::copy(LEMMIX_DATA_DIR, dir_->Path(), fs::copy_options::recursive);
    cwd_ = std::make_unique<ScopedWorkingDirectory>(dir_->Path());
    lemmix_ = std::make_unique<lemmix::TLemmix>();
    lemmix_->Show();
    QVERIFY(QTest::qWaitForWindowExposed(&lemmix_->MainForm()));
  }
  lemmix::TStatement& Statement(const char* path) {
    lemmix::TStatement* statement = lemmix::FindStatementByPath(*lemmix_->Context().Book, path);
    if (!statement) qFatal("no statement %s", path);
    return *statement;
  }
  std::string ProtocolOf631() { return Statement("\\6\\3\\1").Path + "\\Доказательство.prt"_cp; }

 private slots:
  void cleanup() {
    lemmix_.reset();
    cwd_.reset();
    dir_.reset();
  }

  // ---- the protocols of a statement and their choice ----

  void protocolsComeFromTheStatementThenFromTheUsersDirectory() {
    TempDir dir;
    const fs::path own = dir.Path() / "book" / "2" / "5";
    const fs::path users = dir.Path() / "Protocols" / "2" / "5";
    Touch(own / "b.prt");
    Touch(own / "a.prt");
    Touch(users / "mine.prt");
    Touch(users / "a.prt");  // a developer's name taken again later: both are listed, each with its own file
    std::ofstream(own / "notes.txt") << "not a protocol";
    lemmix::TStatement statement;
    statement.Path = SystemPathOf(own);
    const std::string ownDir = statement.Path;
    const std::string usersDir = SystemPathOf(users);

    const std::vector<TProtocolFile> developer = lemmix::StatementProtocols(statement, false);
    QCOMPARE(developer.size(), std::size_t(2));
    QCOMPARE(developer[0].Name, std::string("a"));
    QCOMPARE(developer[0].Path, ownDir + "\\a.prt");
    QCOMPARE(developer[1].Path, ownDir + "\\b.prt");

    const std::vector<TProtocolFile> user = lemmix::StatementProtocols(statement, true);
    QCOMPARE(user.size(), std::size_t(4));
    QCOMPARE(user[2].Name, std::string("a"));
    QCOMPARE(user[2].Path, usersDir + "\\a.prt");
    QCOMPARE(user[3].Path, usersDir + "\\mine.prt");
    for (const TProtocolFile& file : user) QVERIFY(lemmix::FileExists(file.Path));

    lemmix::TStatement bare;
    bare.Path = SystemPathOf(dir.Path() / "book" / "9");
    QVERIFY(lemmix::StatementProtocols(bare, true).empty());
  }

  void noneOrOneProtocolOpensNoWindow() {
    lemmix::TOpenPrForm form;
    ModalWatch watch;
    QVERIFY(!form.Choose({}));
    const TProtocolFile only{"only", "x\\only.prt"};
    const std::optional<TProtocolFile> chosen = form.Choose({only});
    QVERIFY(chosen && chosen->Path == only.Path);
    QTest::qWait(30);
    QVERIFY(watch.Seen().isEmpty());
  }

  void severalAreChosenByAClickAndOkOrByADoubleClick() {
    const std::vector<TProtocolFile> files = {{"first", "d\\first.prt"}, {"second", "d\\second.prt"},
                                              {"third", "u\\third.prt"}};
    lemmix::TOpenPrForm form;
    bool okAtFirst = true;
    bool okAfterClick = false;
    QStringList names;
    OnNextModal([&](QWidget* modal) {
      QListWidget* list = form.List();
      for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
      okAtFirst = form.OkButton()->isEnabled();
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
      okAfterClick = form.OkButton()->isEnabled();
      SaveScreen(modal, "demo-open-protocol");
      QTest::mouseClick(form.OkButton(), Qt::LeftButton);
    });
    std::optional<TProtocolFile> chosen = form.Choose(files);
    QCOMPARE(names, QStringList({"first", "second", "third"}));
    QCOMPARE(form.windowTitle(), QString("Select protocol file"));
    QVERIFY(!okAtFirst && okAfterClick);
    QVERIFY(chosen && chosen->Path == "d\\second.prt");

    // Shown again: nothing chosen yet; a double click chooses at once.
    OnNextModal([&](QWidget*) {
      QListWidget* list = form.List();
      okAtFirst = form.OkButton()->isEnabled();
      // The press of a double click comes first, as from a mouse.
      const QPoint third = list->visualItemRect(list->item(2)).center();
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, third);
      QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, third);
      if (form.isVisible()) form.reject();
    });
    chosen = form.Choose(files);
    QVERIFY(!okAtFirst);
    QVERIFY(chosen && chosen->Path == "u\\third.prt");

    // The keys choose as well: the protocol the arrow selected; Cancel chooses nothing.
    int keyed = -1;
    OnNextModal([&](QWidget*) {
      QTest::keyClick(form.List(), Qt::Key_Down);
      keyed = form.List()->currentRow();
      okAfterClick = form.OkButton()->isEnabled();
      QTest::keyClick(form.List(), Qt::Key_Return);
      if (form.isVisible()) form.reject();
    });
    chosen = form.Choose(files);
    QVERIFY(keyed >= 0 && okAfterClick);
    QVERIFY2(chosen && chosen->Path == files[keyed].Path, chosen ? chosen->Path.c_str() : "none");
    OnNextModal([&](QWidget*) {
      QListWidget* list = form.List();
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
      QTest::mouseClick(form.CancelButton(), Qt::LeftButton);
    });
    QVERIFY(!form.Choose(files));
  }

  void helpOfTheNewWindowsOpensTheirPages() {
    lemmix::TOpenPrForm open;
    RecordingMessages messages;
    lemmix::TDemoSettings settings;
    lemmix::TDemoSetupForm setup(settings, messages);
    QList<int> topics;
    open.SetHelp([&](int topic) { topics << topic; });
    setup.SetHelp([&](int topic) { topics << topic; });
    QTest::mouseClick(open.HelpButton(), Qt::LeftButton);
    QTest::keyClick(&open, Qt::Key_F1);
    QTest::mouseClick(setup.findChild<QPushButton*>("HelpButton"), Qt::LeftButton);
    QCOMPARE(topics, QList<int>({141, 141, lemmix::TDemoSetupForm::kHelpTopic}));
    for (int topic : {141, lemmix::TDemoSetupForm::kHelpTopic}) {
      QFile page(QString(LEMMIX_DATA_DIR "/help/%1.html").arg(topic));
      QVERIFY(page.open(QIODevice::ReadOnly));
      QVERIFY(QString::fromUtf8(page.readAll()).contains("<h2>"));
    }
  }

  // ---- the setup of demo ----

  void showingTheProofFieldExcludesProvingThrough_data() {
    QTest::addColumn<bool>("visual");
    QTest::addColumn<bool>("through");
    QTest::addColumn<QString>("click");
    QTest::addColumn<bool>("visualAfter");
    QTest::addColumn<bool>("throughAfter");
    QTest::addColumn<bool>("warned");
    QTest::newRow("through while shown") << true << false << "ThroughBox" << true << false << true;
    QTest::newRow("shown while through") << false << true << "VisualBox" << true << false << true;
    QTest::newRow("through alone") << false << false << "ThroughBox" << false << true << false;
    QTest::newRow("shown alone") << false << false << "VisualBox" << true << false << false;
    QTest::newRow("through off while shown") << false << true << "ThroughBox" << false << false << false;
  }
  void showingTheProofFieldExcludesProvingThrough() {
    QFETCH(bool, visual);
    QFETCH(bool, through);
    QFETCH(QString, click);
    QFETCH(bool, visualAfter);
    QFETCH(bool, throughAfter);
    QFETCH(bool, warned);
    lemmix::TDemoSettings settings;
    settings.Visual = visual;
    settings.Through = through;
    RecordingMessages messages;
    lemmix::TDemoSetupForm form(settings, messages);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.findChild<QCheckBox*>(click)->click();
    QCOMPARE(form.VisualBox()->isChecked(), visualAfter);
    QCOMPARE(form.ThroughBox()->isChecked(), throughAfter);
    QCOMPARE(messages.Shown.size(), std::size_t(warned ? 1 : 0));
    if (warned) {
      QCOMPARE(Q(messages.Shown[0].Rus),
               Q("Для проведения многократных доказательств снимите флаг \"Показывать поле доказательства\"."_cp));
      QCOMPARE(messages.Shown[0].Eng, std::string("To prove through you need to uncheck \"Show the prove field\" box."));
    }
    // Nothing is stored before "Ok".
    QCOMPARE(settings.Visual, visual);
    QCOMPARE(settings.Through, through);
  }

  void okStoresAndCancelKeeps() {
    lemmix::TDemoSettings settings;
    RecordingMessages messages;
    lemmix::TDemoSetupForm form(settings, messages);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(!form.FullProtocolBox()->isChecked() && form.VisualBox()->isChecked() && !form.ThroughBox()->isChecked());
    SaveScreen(&form, "demo-setup");
    form.FullProtocolBox()->click();
    form.VisualBox()->click();
    form.ThroughBox()->click();
    QTest::mouseClick(form.findChild<QPushButton*>("OkButton"), Qt::LeftButton);
    QVERIFY(settings.FullProtocol && !settings.Visual && settings.Through);
    QVERIFY(!form.isVisible());

    form.show();
    QVERIFY(form.FullProtocolBox()->isChecked() && !form.VisualBox()->isChecked() && form.ThroughBox()->isChecked());
    form.FullProtocolBox()->click();
    form.ThroughBox()->click();
    QTest::mouseClick(form.findChild<QPushButton*>("CancelButton"), Qt::LeftButton);
    QVERIFY(settings.FullProtocol && !settings.Visual && settings.Through);
    form.show();  // the window forgets what was not stored
    QVERIFY(form.FullProtocolBox()->isChecked() && form.ThroughBox()->isChecked());
    form.reject();
    QVERIFY(messages.Shown.empty());
  }

  void setupWindowOpensTheSetupOfDemo() {
    ScopedWorkingDirectory cwd(LEMMIX_DATA_DIR);
    lemmix::TLemmix lemmix;
    lemmix.Show();
    QString title;
    bool enabled = false;
    OnNextModalNamed("SetupForm", [&](QWidget* setup) {
      auto* button = setup->findChild<QPushButton*>("DemoButton");
      enabled = button->isEnabled();
      OnNextModalNamed("DemoSetupForm", [&](QWidget* demo) {
        title = demo->windowTitle();
        demo->findChild<QCheckBox*>("FullProtocolBox")->click();
        QTest::mouseClick(demo->findChild<QPushButton*>("OkButton"), Qt::LeftButton);
      });
      QTest::mouseClick(button, Qt::LeftButton);
    });
    QCOMPARE(lemmix.SetupForm().exec(), int(QDialog::Accepted));  // closed by the setup of demo
    QVERIFY(enabled);
    QCOMPARE(title, QString("Setup of demo"));
    QVERIFY(lemmix.Context().Settings.Demo.FullProtocol);
    // What a protocol records does not change with them.
    QCOMPARE(lemmix.Context().Settings.ProtocolLines(), lemmix::TAutoSettings().ProtocolLines());
  }

  // ---- the verdict and the times ----

  void verdictIsTakenFromTheProtocol_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("readPos");
    QTest::addColumn<bool>("succeeded");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("text");
    const QStringList proof = {"Apply statement: A (\\1)@", "Consider case: x > 0",
                               "Message: Not a condition", "Error: Wrong",
                               "Successful end of the proof."};
    QTest::newRow("at the successful end") << proof << 4 << true << 5 << "";
    QTest::newRow("reports passed over") << proof << 2 << true << 5 << "";
    QTest::newRow("read to the end") << proof << 5 << true << 6 << "";
    QTest::newRow("beyond the end") << proof << 9 << true << 6 << "";
    QTest::newRow("stopped before a record") << proof << 1 << false << 2 << "Consider case: x > 0";
    QTest::newRow("stopped at the start") << proof << 0 << false << 1 << "Apply statement: A (\\1)@";
    QTest::newRow("report, then a record")
        << QStringList{"Define a variable: x", "Message: m", "Undo.", "Successful end of the proof."} << 1 << false
        << 3 << "Undo.";
    QTest::newRow("empty protocol") << QStringList{} << 0 << true << 1 << "";
  }
  void verdictIsTakenFromTheProtocol() {
    QFETCH(QStringList, lines);
    QFETCH(int, readPos);
    QFETCH(bool, succeeded);
    QFETCH(int, line);
    QFETCH(QString, text);
    std::vector<std::string> protocol;
    for (const QString& l : lines) protocol.push_back(l.toStdString());
    const lemmix::TVerificationVerdict verdict = lemmix::VerificationVerdict(protocol, readPos);
    QCOMPARE(verdict.Succeeded, succeeded);
    QCOMPARE(verdict.Line, std::size_t(line));
    QCOMPARE(QString::fromStdString(verdict.Text), text);
    QCOMPARE(verdict.Count, protocol.size());
  }

  void failureMessageNamesTheLineAndTheCount() {
    const lemmix::TVerificationVerdict verdict =
        lemmix::VerificationVerdict({"a", "b", "Marked variable 7 of section 1:", "c"}, 2);
    const TMessage message = verdict.Message();
    QCOMPARE(Q(message.Rus), Q("Проверка доказательства завершена перед строкой 3:\\n Marked variable 7 of section "
                               "1:\\n Всего в файле протокола 4 строк"_cp));
    QCOMPARE(message.Eng, std::string("The verification is aborted before line 3:\\n Marked variable 7 of section 1:"
                                      "\\n Total number of lines in protocol file: 4"));
  }

  void recordedTimeIsReadFromTheLastLine_data() {
    QTest::addColumn<QString>("last");
    QTest::addColumn<qlonglong>("ticks");  // -1: none
    QTest::newRow("with time") << "Successful end of the proof. Time=1234   " << qlonglong(1234);
    QTest::newRow("zero") << "Successful end of the proof. Time=0" << qlonglong(0);
    QTest::newRow("without time") << "Successful end of the proof." << qlonglong(-1);
    QTest::newRow("blank time") << "Successful end of the proof. Time=   " << qlonglong(-1);
    QTest::newRow("not a number") << "Successful end of the proof. Time=12x" << qlonglong(-1);
    QTest::newRow("negative") << "Successful end of the proof. Time=-5" << qlonglong(-1);
    QTest::newRow("no end line") << "Proof is aborted." << qlonglong(-1);
  }
  void recordedTimeIsReadFromTheLastLine() {
    QFETCH(QString, last);
    QFETCH(qlonglong, ticks);
    const std::optional<long long> read =
        lemmix::RecordedTicks({"AutoStandard = true", "Define a variable: x", last.toStdString(), ""});
    QCOMPARE(read.has_value(), ticks >= 0);
    if (read) QCOMPARE(qlonglong(*read), ticks);
  }

  void theTimeIsStoredInTheLineOfTheSuccessfulEnd() {
    const std::vector<std::string> plain = {"Define a variable: x", "Successful end of the proof.", ""};
    std::optional<std::vector<std::string>> stamped = lemmix::WithRecordedTicks(plain, 1520);
    QVERIFY(stamped);
    QCOMPARE(stamped->size(), plain.size());
    QCOMPARE(stamped->at(0), plain[0]);
    QCOMPARE(stamped->at(1), std::string("Successful end of the proof. Time=1520   "));
    QCOMPARE(stamped->at(2), std::string());
    QCOMPARE(lemmix::RecordedTicks(*stamped), std::optional<long long>(1520));
    // A new time replaces the old one.
    stamped = lemmix::WithRecordedTicks(*stamped, 7);
    QCOMPARE(stamped->at(1), std::string("Successful end of the proof. Time=7   "));
    QVERIFY(!lemmix::WithRecordedTicks({"Define a variable: x", "Proof is aborted."}, 7));
  }

  void timeWindowShowsTheThreeTimesInSeconds_data() {
    QTest::addColumn<qlonglong>("now");
    QTest::addColumn<qlonglong>("recorded");  // -1: none
    QTest::addColumn<QString>("newText");
    QTest::addColumn<QString>("recordedText");
    QTest::addColumn<QString>("difference");
    QTest::newRow("slower") << qlonglong(1234) << qlonglong(1000) << "1.234" << "1.000" << "0.234";
    QTest::newRow("faster") << qlonglong(500) << qlonglong(1200) << "0.500" << "1.200" << "-0.700";
    QTest::newRow("long") << qlonglong(61005) << qlonglong(5) << "61.005" << "0.005" << "61.000";
    QTest::newRow("no time recorded") << qlonglong(42) << qlonglong(-1) << "0.042" << "" << "";
  }
  void timeWindowShowsTheThreeTimesInSeconds() {
    QFETCH(qlonglong, now);
    QFETCH(qlonglong, recorded);
    QFETCH(QString, newText);
    QFETCH(QString, recordedText);
    QFETCH(QString, difference);
    lemmix::TTimeForm form;
    form.Fill(now, recorded >= 0 ? std::optional<long long>(recorded) : std::nullopt);
    QCOMPARE(form.NewTime()->text(), newText);
    QCOMPARE(form.RecordedTime()->text(), recordedText);
    QCOMPARE(form.Difference()->text(), difference);
    QCOMPARE(form.windowTitle(), QString("Elapsed time"));
    if (QTest::currentDataTag() == QByteArray("slower")) {
      form.SetHeading(Q("Доказательство проверено: протокол воспроизведен до конца."_cp));
      form.show();
      QVERIFY(QTest::qWaitForWindowExposed(&form));
      SaveScreen(&form, "demo-elapsed-time");
    }
  }

  // ---- the verification window ----

  void progressStepsOnItsTimerToTheEnd() {
    TProgressForm form;
    FakeReplay replay;
    replay.stride = 3;
    replay.stopAt = 10;
    QList<int> barBefore;
    replay.during = [&](int step) {
      barBefore << form.Bar()->value();
      if (step == 2) SaveScreen(&form, "demo-progress");
    };
    QCOMPARE(form.Timer()->interval(), TProgressForm::kTickMs);
    const TProgressForm::TEnd end = form.Run("Theorem", 12, replay.Steps());
    QCOMPARE(int(end), int(TProgressForm::TEnd::Stopped));
    QVERIFY(!form.Closed());
    QCOMPARE(replay.steps, 4);  // 3, 6, 9, 10: the last one stops
    QCOMPARE(barBefore, QList<int>({0, 3, 6, 9}));  // the bar is at the read position when a step runs
    QCOMPARE(form.Bar()->maximum(), 12);
    QCOMPARE(form.Bar()->value(), 10);
    QCOMPARE(form.Title()->text(), QString("Theorem"));
    QCOMPARE(form.windowTitle(), QString("Verification of the proof"));
    QVERIFY(!form.isVisible() && !form.Timer()->isActive());
  }

  void closingTheWindowStopsTheRun() {
    TProgressForm form;
    FakeReplay replay;
    replay.stopAt = 1000;
    // Closed between two ticks ...
    replay.during = [&](int step) {
      if (step == 3) QTimer::singleShot(0, &form, &QWidget::close);
    };
    QCOMPARE(int(form.Run("T", 1000, replay.Steps())), int(TProgressForm::TEnd::Closed));
    QCOMPARE(replay.steps, 3);
    QVERIFY(form.Closed());
    // ... or by Escape while a step runs: the step ends, no other one starts.
    FakeReplay second;
    second.stopAt = 1000;
    second.during = [&](int step) {
      if (step == 2) QTest::keyClick(&form, Qt::Key_Escape);
    };
    QCOMPARE(int(form.Run("T", 1000, second.Steps())), int(TProgressForm::TEnd::Closed));
    QCOMPARE(second.steps, 2);
    QTest::qWait(3 * TProgressForm::kTickMs);
    QCOMPARE(second.steps, 2);
    // A run after a closed one goes to its end.
    FakeReplay third;
    third.stopAt = 2;
    QCOMPARE(int(form.Run("T", 2, third.Steps())), int(TProgressForm::TEnd::Stopped));
    QVERIFY(!form.Closed());
  }

  // ---- the main window's Demo ----

  void demoVerifiesTheOnlyProtocolAndShowsTheTime() {
    StartOnCopy();
    lemmix::TSession& context = lemmix_->Context();
    context.Settings.Demo.Visual = false;
    const std::vector<std::string> lines = *lemmix::ReadLines(ProtocolOf631());
    FakeReplay replay;
    replay.stride = 5;
    replay.stopAt = lines.size() - 2;  // stops before the line of the successful end
    std::string started;
    const lemmix::TStatement* of = nullptr;
    lemmix_->MainForm().SetReplayStarter([&](lemmix::TStatement& statement, const std::string& path) {
      started = path;
      of = &statement;
      return std::optional<TReplaySteps>(replay.Steps());
    });
    QStringList times;
    QString heading;
    OnNextModalNamed("TimeForm", [&](QWidget* modal) {
      auto* form = static_cast<lemmix::TTimeForm*>(modal);
      times << form->NewTime()->text() << form->RecordedTime()->text() << form->Difference()->text();
      heading = modal->findChild<QLabel*>("Heading")->text();
      form->accept();
    });
    lemmix_->MainForm().Demo(Statement("\\6\\3\\1"));
    QCOMPARE(Q(started), Q(ProtocolOf631()));
    QCOMPARE(of, &Statement("\\6\\3\\1"));
    QVERIFY(replay.steps > 1);
    QCOMPARE(times.size(), 3);
    QVERIFY(times[0].contains('.'));
    QCOMPARE(times[1], QString());  // the book's protocol records no time
    QCOMPARE(times[2], QString());
    QVERIFY(heading.contains(Q("проверено"_cp)));
  }

  void demoReportsTheLineTheVerificationStoppedBefore() {
    StartOnCopy();
    lemmix_->Context().Settings.Demo.Visual = false;
    const std::vector<std::string> lines = *lemmix::ReadLines(ProtocolOf631());
    FakeReplay replay;
    replay.stopAt = 14;  // the first step after the beginning
    lemmix_->MainForm().SetReplayStarter(
        [&](lemmix::TStatement&, const std::string&) { return std::optional<TReplaySteps>(replay.Steps()); });
    QString shown;
    OnNextModalNamed("MessageForm", [&](QWidget* modal) {
      shown = LabelTexts(modal);
      static_cast<QDialog*>(modal)->accept();
    });
    lemmix_->MainForm().Demo(Statement("\\6\\3\\1"));
    QVERIFY2(shown.contains(Q("Проверка доказательства завершена перед строкой 15:"_cp)), qPrintable(shown));
    QVERIFY(shown.contains(Q(lines[14])));
    QVERIFY(shown.contains(Q("Всего в файле протокола "_cp + std::to_string(lines.size()) + " строк"_cp)));
  }

  void demoWithTheProofFieldOpensTheProofWindowInItsDemonstration() {
    StartOnCopy();
    int started = 0;
    lemmix_->MainForm().SetReplayStarter([&](lemmix::TStatement&, const std::string&) {
      ++started;
      return std::optional<TReplaySteps>();
    });
    lemmix_->MainForm().Demo(Statement("\\6\\3\\1"));  // the proof field shown: the default
    QPointer<lemmix::TProveForm> form = lemmix_->MainForm().findChild<lemmix::TProveForm*>();
    QVERIFY(form);
    QVERIFY(form->Demonstrating());
    QCOMPARE(started, 0);  // no verification meanwhile
    ModalWatch answers;  // whatever the window asks on closing: no
    form->close();
    QTRY_VERIFY(!form);
  }

  void demoWithoutProtocolsSaysSo() {
    StartOnCopy();
    lemmix::TSession& context = lemmix_->Context();
    int started = 0;
    lemmix_->MainForm().SetReplayStarter([&](lemmix::TStatement&, const std::string&) {
      ++started;
      return std::optional<TReplaySteps>();
    });
    fs::remove(lemmix::NativePath(ProtocolOf631()));
    context.Settings.Demo.Visual = false;
    QString shown;
    OnNextModalNamed("MessageForm", [&](QWidget* modal) {
      shown = LabelTexts(modal);
      static_cast<QDialog*>(modal)->accept();
    });
    lemmix_->MainForm().Demo(Statement("\\6\\3\\1"));
    QVERIFY2(shown.contains(Q("Для выбранного утверждения нет протоколов доказательства."_cp)), qPrintable(shown));
    QCOMPARE(started, 0);
  }

  // The replay of the core: the book's protocol of 6\3\1 verifies.
  void aBookProtocolVerifiesThroughTheProgressWindow() {
    StartOnCopy();
    lemmix::TSession& context = lemmix_->Context();
    context.Settings.Demo.Visual = false;
    const std::vector<std::string> lines = *lemmix::ReadLines(ProtocolOf631());
    int barMax = 0;
    QString title;
    OnNextModalNamed("ProgressForm", [&](QWidget* modal) {
      auto* progress = static_cast<TProgressForm*>(modal);
      barMax = progress->Bar()->maximum();
      title = progress->Title()->text();
      QTRY_VERIFY(progress->Bar()->value() > 0);
      SaveScreen(modal, "demo-progress");
    });
    QStringList times;
    OnNextModalNamed("TimeForm", [&](QWidget* modal) {
      auto* form = static_cast<lemmix::TTimeForm*>(modal);
      times << form->NewTime()->text() << form->RecordedTime()->text();
      form->accept();
    });
    ModalWatch errors({"ProgressForm", "TimeForm"});
    const lemmix::TAutoSettings before = context.Settings;
    lemmix_->MainForm().Demo(Statement("\\6\\3\\1"));
    QCOMPARE(barMax, int(lines.size()));
    QCOMPARE(title, Q(Statement("\\6\\3\\1").Title()));
    QCOMPARE(times.size(), 2);
    QVERIFY(times[0].toDouble() > 0);
    QVERIFY2(errors.Seen().isEmpty(), qPrintable(errors.Seen().join(',')));
    QVERIFY(!context.DemoRunning);
    // The time is stored in the protocol, which verifies again and tells it.
    const std::vector<std::string> after = *lemmix::ReadLines(ProtocolOf631());
    QCOMPARE(after.size(), lines.size());
    QVERIFY(lemmix::RecordedTicks(after).has_value());
    OnNextModalNamed("TimeForm", [&](QWidget* modal) {
      auto* form = static_cast<lemmix::TTimeForm*>(modal);
      times << form->RecordedTime()->text() << form->Difference()->text();
      form->accept();
    });
    lemmix_->MainForm().Demo(Statement("\\6\\3\\1"));
    QCOMPARE(times.size(), 4);
    QCOMPARE(times[2], lemmix::TTimeForm::Seconds(*lemmix::RecordedTicks(after)));
    QVERIFY(!times[3].isEmpty());
    // The protocol records the settings in force; the demonstration's own stay.
    QCOMPARE(context.Settings.ProtocolLines(), before.ProtocolLines());
    QVERIFY(context.Settings.Demo == before.Demo);
  }

  void aProtocolOfAnotherStatementStopsAtItsBeginning() {
    StartOnCopy();
    lemmix::TSession& context = lemmix_->Context();
    context.Settings.Demo.Visual = false;
    std::vector<std::string> lines = *lemmix::ReadLines(ProtocolOf631());
    const auto beginning = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
      return line.starts_with("The beginning of the proof: ");
    });
    QVERIFY(beginning != lines.end());
    *beginning = "The beginning of the proof: Some other theorem@";
    QVERIFY(lemmix::WriteLinesReplacing(ProtocolOf631(), lines));
    QStringList shown;
    std::function<void(QWidget*)> answer = [&](QWidget* modal) {
      shown << LabelTexts(modal);
      static_cast<QDialog*>(modal)->accept();
      if (shown.size() < 2) OnNextModalNamed("MessageForm", answer);
    };
    OnNextModalNamed("MessageForm", answer);
    lemmix_->MainForm().Demo(Statement("\\6\\3\\1"));
    QTRY_COMPARE(shown.size(), 2);
    QVERIFY2(shown[0].contains(Q("Выбранный файл протокола не соответствует выбранной теореме."_cp)),
             qPrintable(shown[0]));
    const int line = int(beginning - lines.begin()) + 1;
    QVERIFY2(shown[1].contains(Q("Проверка доказательства завершена перед строкой "_cp + std::to_string(line) + ":")),
             qPrintable(shown[1]));
  }

  void proveThroughLogsEachProtocolAndMarksFailures() {
    StartOnCopy();
    lemmix::TSession& context = lemmix_->Context();
    context.Settings.Demo.Visual = false;
    context.Settings.Demo.Through = true;
    dir_->Write("demo.prt", "left from before\r\n");
    // The first protocol verifies, the second stops early, the third cannot start.
    std::vector<std::string> started;
    std::vector<std::unique_ptr<FakeReplay>> replays;
    lemmix_->MainForm().SetReplayStarter([&](lemmix::TStatement&, const std::string& path) {
      started.push_back(path);
      if (started.size() == 3) return std::optional<TReplaySteps>();
      const std::vector<std::string> lines = *lemmix::ReadLines(path);
      auto& replay = *replays.emplace_back(std::make_unique<FakeReplay>());
      replay.stride = 50;
      replay.stopAt = started.size() == 1 ? lines.size() : 13;
      return std::optional<TReplaySteps>(replay.Steps());
    });
    ModalWatch watch({"ProgressForm"});  // nothing else waits for the user
    lemmix_->MainForm().Demo(Statement("\\6\\3\\1"));
    QCOMPARE(started.size(), std::size_t(3));
    QCOMPARE(Q(started[0]), Q(ProtocolOf631()));
    QTest::qWait(30);
    QCOMPARE(watch.Seen(), QStringList());
    QVERIFY(!context.ProveThrough);

    const std::vector<std::string> log = *lemmix::ReadLines(context.Dir + "\\demo.prt");
    QVERIFY(log.size() >= 5);
    QCOMPARE(Q(log[0]), Q(started[0]));
    QCOMPARE(Q(log[1]), Q(started[1]));
    QVERIFY(log[2] != "?");  // the failure's message comes first
    QCOMPARE(std::count(log.begin(), log.end(), "?"), 2);
    QCOMPARE(Q(log[log.size() - 2]), Q(started[2]));
    QCOMPARE(log.back(), std::string("?"));
    QCOMPARE(std::count(log.begin(), log.end(), "left from before"), 0);
  }
};

QTEST_MAIN(DemoGuiTest)
#include "demo_gui_test.moc"
