// Resuming a proof from its journal: a proving process killed at random
// moments resumes with the proof field and the protocol it had, and journals
// cut short, ended or edited are read as they must be.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <random>
#include <thread>

#include "book_fixture.h"
#include "../support/temp_dir.h"
#include "book/html_links.h"
#include "book/part.h"
#include "book/statement.h"
#include "expr/expr.h"
#include "proofrun/assot.h"
#include "proofrun/driver.h"
#include "proofrun/protocol.h"
#include "proofrun/resume.h"
#include "proofrun/script_ui.h"
#include "shell/cp1251.h"
#include "shell/files.h"
#include "types/types_proccess.h"

namespace lemmix {
namespace {

// What a student sees of a proof: the level, its caption, and the four
// sections of the current proof field; "closed" once the proof is over.
std::string FieldText(const TProofDriver& driver) {
  if (!driver.Open()) return driver.Succeeded() ? "proved" : "closed";
  const TKernel& k = *driver.Current();
  std::string text = "level " + std::to_string(driver.Level()) + " caption " + std::to_string(driver.Caption()) +
                     " depth " + std::to_string(driver.Depth()) + "\n";
  const auto objects = [&](const TVarList& list) {
    for (const TVarPtr& v : list) text += "  " + VarToString(*v) + "\n";
  };
  const auto conds = [&](const TCondList& list) {
    for (const TCondPtr& c : list) text += "  " + ToString(*c->Expr) + "\n";
  };
  text += "given objects\n";
  objects(k.GivenObjects);
  text += "given conditions\n";
  conds(k.GivenConds);
  text += "required objects\n";
  objects(k.RequiredObjects);
  text += "proving conditions\n";
  conds(k.ProvingConds);
  return text + (k.ByContradiction ? "by contradiction\n" : "");
}

// A book proof as a script, with an undo taken back and done again after
// its fifth command and a command cancelled after its tenth, so that the
// journal holds undos of both kinds.
std::vector<std::string> ScriptWithUndos(const std::string& name) {
  const auto utf8 = ReadLines(std::string(LEMMIX_PROOFS_DIR) + "/" + name + ".txt");
  std::vector<std::string> script;
  if (!utf8) return script;
  std::vector<std::vector<std::string>> blocks(1);
  for (const std::string& line : *utf8) {
    if (line.starts_with("!")) blocks.emplace_back();
    blocks.back().push_back(Utf8ToCp1251(line));
  }
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    script.insert(script.end(), blocks[i].begin(), blocks[i].end());
    if (i == 5) {
      script.push_back("!undo");
      script.insert(script.end(), blocks[i].begin(), blocks[i].end());
    }
    if (i == 10) script.push_back("!cases");  // no answer: cancelled
  }
  return script;
}

class ResumeTest : public testing::BookTest {
 protected:
  std::string Journal(const char* name = "Prt.dat") const { return SystemPath((dir.Path() / name).string()).value(); }
  const TStatement& Statement(const std::string& script) {
    std::string path = "\\" + script;
    std::replace(path.begin(), path.end(), '-', '\\');
    const TStatement* statement = FindStatementByPath(book, path);
    EXPECT_NE(statement, nullptr) << path;
    return *statement;
  }

  // The proof field and the protocol after each command of the script (the
  // start first), the journal kept at the path.
  struct TRun {
    std::vector<std::string> Fields;
    std::vector<std::vector<std::string>> Protocols;
  };
  TRun Prove(const TStatement& statement, std::vector<std::string> script, const std::string& journal,
             const std::function<void(std::size_t)>& afterCommand = {}) {
    TRun run;
    TProtocolRecorder protocol(messages);
    TScriptUi ui(book, std::move(script));
    TProofDriver driver(ui, protocol, book, &assot);
    if (!driver.Start(statement, journal)) return run;
    const auto note = [&] {
      run.Fields.push_back(FieldText(driver));
      run.Protocols.push_back(protocol.Lines);
      if (afterCommand) afterCommand(run.Fields.size() - 1);
    };
    note();
    ui.Run(driver, [&](const std::string&, bool) { note(); });
    return run;
  }

  struct TResumed {
    TResumeResult Result;
    std::string Field;
    std::vector<std::string> Protocol;
  };
  TResumed Resume(const std::string& journal) {
    TResumed resumed;
    const std::optional<TInterruptedProof> interrupted = FindInterruptedProof(journal);
    if (!interrupted) return resumed;
    const TStatement* statement = InterruptedStatement(book, *interrupted);
    if (statement == nullptr) return resumed;
    TProtocolRecorder protocol(messages);
    TScriptUi none(book, {});
    TProofDriver driver(none, protocol, book, &assot);
    resumed.Result = ResumeProof(driver, protocol, book, *statement, interrupted->Journal, journal);
    resumed.Field = FieldText(driver);
    resumed.Protocol = protocol.Lines;
    return resumed;
  }

  testing::TempDir dir;
};

class KilledProof : public ResumeTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(KilledProof, ResumesWithTheProofFieldAndProtocolItHad) {
  const TStatement& statement = Statement(GetParam());
  const std::vector<std::string> script = ScriptWithUndos(GetParam());
  ASSERT_FALSE(script.empty());
  const TRun reference = Prove(statement, script, Journal("reference.dat"));
  ASSERT_GT(reference.Fields.size(), 12u);
  ASSERT_EQ(reference.Fields.back(), "proved");

  std::mt19937 random(20261209);
  for (int round = 0; round < 6; ++round) {
    // Killed after the report of command k, a moment later: while the next
    // command runs, or between commands.
    const std::size_t k = std::uniform_int_distribution<std::size_t>(1, reference.Fields.size() - 3)(random);
    const int delayMicros = std::uniform_int_distribution<int>(0, 3000)(random);
    std::filesystem::remove(dir.Path() / "Prt.dat");
    int reports[2];
    ASSERT_EQ(pipe(reports), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(reports[0]);
      Prove(statement, script, Journal(), [&](std::size_t command) {
        const char byte = static_cast<char>(command & 0x7f);
        if (write(reports[1], &byte, 1) != 1) _exit(3);
      });
      _exit(0);
    }
    close(reports[1]);
    std::size_t reported = 0;
    char byte = 0;
    while (reported <= k && read(reports[0], &byte, 1) == 1) ++reported;
    std::this_thread::sleep_for(std::chrono::microseconds(delayMicros));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    close(reports[0]);
    ASSERT_GT(reported, k) << "the child stopped early";

    SCOPED_TRACE("round " + std::to_string(round) + ", killed after command " + std::to_string(k));
    if (!FindInterruptedProof(Journal())) {
      // The child finished the proof before it was killed.
      EXPECT_EQ(ReadLines(Journal()).value().back(), "Successful end of the proof.");
      continue;
    }
    const TResumed resumed = Resume(Journal());
    ASSERT_TRUE(resumed.Result.Started);
    EXPECT_FALSE(resumed.Result.Stopped.has_value());
    EXPECT_LE(resumed.Result.Left, 1);
    // The proof field of a command at or after the kill's report: the one
    // whose protocol the resumed proof holds.
    std::size_t at = k;
    while (at < reference.Protocols.size() && reference.Protocols[at] != resumed.Protocol) ++at;
    ASSERT_LT(at, reference.Protocols.size()) << "the resumed protocol is none the proof had";
    EXPECT_EQ(resumed.Field, reference.Fields[at]);
    // The journal goes on from the replay's own.
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "Prt.dat.resume"));
    EXPECT_TRUE(FindInterruptedProof(Journal()).has_value() || at + 1 == reference.Fields.size());
  }
}

INSTANTIATE_TEST_SUITE_P(BookProofs, KilledProof, ::testing::Values("3-1-10", "3-9-21"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           std::string name = info.param;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return "book_" + name;
                         });

// The journal of a proof stopped after `commands` commands of the script.
class JournalTest : public ResumeTest {
 protected:
  static constexpr const char* kProof = "3-1-10";

  std::vector<std::string> JournalAfter(std::size_t commands) {
    std::vector<std::string> script;
    std::size_t seen = 0;
    for (const std::string& line : ScriptWithUndos(kProof)) {
      if (line.starts_with("!") && ++seen > commands) break;
      script.push_back(line);
    }
    reference = Prove(Statement(kProof), script, Journal());
    return ReadLines(Journal()).value();
  }
  void WriteJournal(const std::vector<std::string>& lines) {
    std::string bytes;
    for (std::size_t i = 0; i < lines.size(); ++i) bytes += (i ? "\r\n" : "") + lines[i];
    dir.Write("Prt.dat", bytes);
  }

  TRun reference;
};

TEST_F(JournalTest, EndedOrEmptyProofsAreNotOffered) {
  const std::vector<std::string> journal = JournalAfter(8);
  ASSERT_TRUE(FindInterruptedProof(Journal()).has_value());
  EXPECT_EQ(FindInterruptedProof(Journal())->EnglishName, Statement(kProof).Lines[kEnglishNameLine]);

  ASSERT_TRUE(MarkJournalAborted(Journal()));
  EXPECT_FALSE(FindInterruptedProof(Journal()).has_value()) << "a proof the student left";

  const struct {
    const char* what;
    std::vector<std::string> lines;
  } cases[] = {
      {"only the head", {journal.begin(), journal.begin() + TProtocolRecorder::kSettingLines + 1}},
      {"no beginning line", {journal.begin(), journal.begin() + TProtocolRecorder::kSettingLines}},
      {"empty", {}},
  };
  for (const auto& c : cases) {
    WriteJournal(c.lines);
    EXPECT_FALSE(FindInterruptedProof(Journal()).has_value()) << c.what;
  }
  std::filesystem::remove(dir.Path() / "Prt.dat");
  EXPECT_FALSE(FindInterruptedProof(Journal()).has_value());
  EXPECT_FALSE(MarkJournalAborted(Journal())) << "no journal is made";

  // A proved statement's journal ends with its success.
  Prove(Statement(kProof), ScriptWithUndos(kProof), Journal());
  EXPECT_FALSE(FindInterruptedProof(Journal()).has_value());
}

TEST_F(JournalTest, AJournalCutShortResumesAtItsLastWholeCommand) {
  const std::vector<std::string> journal = JournalAfter(9);
  const std::size_t head = TProtocolRecorder::kSettingLines + 1;
  ASSERT_GT(journal.size(), head + 4);
  // Cut after each line in turn, and within the last line: the proof comes
  // back as it was after the last command the journal holds whole.
  // The proof resumed from the first `keep` lines, whole.
  std::map<std::size_t, std::vector<std::string>> resumedFrom;
  for (std::size_t keep = head + 1; keep <= journal.size(); ++keep) {
    for (const bool torn : {false, true}) {
      std::vector<std::string> cut(journal.begin(), journal.begin() + static_cast<std::ptrdiff_t>(keep));
      // A line is written whole or not at all; a power failure may leave the
      // start of one, which no record begins with.
      if (torn) cut.back().resize(cut.back().find_first_not_of(' ') + 4);
      WriteJournal(cut);
      const TResumed resumed = Resume(Journal());
      SCOPED_TRACE("lines " + std::to_string(keep) + (torn ? ", the last torn" : ""));
      if (!FindInterruptedProof(Journal()) && !resumed.Result.Started) continue;  // nothing left to resume
      ASSERT_TRUE(resumed.Result.Started);
      EXPECT_FALSE(resumed.Result.Stopped.has_value());
      const auto found = std::find(reference.Protocols.begin(), reference.Protocols.end(), resumed.Protocol);
      ASSERT_NE(found, reference.Protocols.end());
      // A torn last line costs that line only.
      if (!torn) resumedFrom[keep] = resumed.Protocol;
      if (torn && resumedFrom.contains(keep - 1)) EXPECT_EQ(resumed.Protocol, resumedFrom[keep - 1]);
      EXPECT_EQ(resumed.Field, reference.Fields[static_cast<std::size_t>(found - reference.Protocols.begin())]);
      // Every line of a whole command is in the resumed journal, which repeats the cut one.
      const std::vector<std::string> now = ReadLines(Journal()).value();
      EXPECT_TRUE(std::equal(now.begin(), now.end(), cut.begin(), cut.begin() + std::min(now.size(), cut.size())));
    }
  }
  // The whole journal: the proof as the script left it.
  WriteJournal(journal);
  const TResumed whole = Resume(Journal());
  EXPECT_EQ(whole.Field, reference.Fields.back());
  EXPECT_EQ(whole.Protocol, reference.Protocols.back());
  EXPECT_EQ(whole.Result.Left, 0);
}

TEST_F(JournalTest, ACommandThatNoLongerReplaysStopsTheResumeBeforeIt) {
  std::vector<std::string> journal = JournalAfter(12);
  // The first "Marked condition" names a condition the proof field lacks.
  const auto marked = std::find_if(journal.begin() + TProtocolRecorder::kSettingLines + 1, journal.end(),
                                   [](const std::string& line) { return line.find("Marked condition ") != std::string::npos; });
  ASSERT_NE(marked, journal.end());
  const std::size_t line = static_cast<std::size_t>(marked - journal.begin());
  const std::string indent = marked->substr(0, marked->find('M'));
  *marked = indent + "Marked condition 99 of section 2:";
  WriteJournal(journal);

  const TResumed resumed = Resume(Journal());
  ASSERT_TRUE(resumed.Result.Started);
  ASSERT_TRUE(resumed.Result.Stopped.has_value());
  EXPECT_EQ(resumed.Result.Line, static_cast<int>(line) + 1);
  EXPECT_GE(resumed.Result.Left, 1);
  // The proof as it was before that command.
  const std::vector<std::string> before(journal.begin(), marked);
  const auto found = std::find_if(reference.Protocols.begin(), reference.Protocols.end(),
                                  [&](const std::vector<std::string>& p) { return p == resumed.Protocol; });
  ASSERT_NE(found, reference.Protocols.end());
  EXPECT_EQ(resumed.Field, reference.Fields[static_cast<std::size_t>(found - reference.Protocols.begin())]);
  const std::vector<std::string> now = ReadLines(Journal()).value();
  EXPECT_TRUE(std::equal(now.begin(), now.end(), before.begin(), before.begin() + std::min(now.size(), before.size())));
  EXPECT_LE(now.size(), before.size());
}

TEST_F(JournalTest, AJournalOfAnotherStatementIsRefused) {
  JournalAfter(6);
  const std::optional<TInterruptedProof> interrupted = FindInterruptedProof(Journal());
  ASSERT_TRUE(interrupted);
  TProtocolRecorder protocol(messages);
  TScriptUi none(book, {});
  TProofDriver driver(none, protocol, book, &assot);
  const TResumeResult result =
      ResumeProof(driver, protocol, book, Statement("3-9-21"), interrupted->Journal, Journal());
  EXPECT_FALSE(result.Started);
  ASSERT_TRUE(result.Stopped);
  EXPECT_EQ(result.Stopped->Eng, "The selected protocol file does not match to the theorem.");
  EXPECT_FALSE(driver.Open());
  // The journal is left as it was.
  EXPECT_EQ(ReadLines(Journal()).value(), interrupted->Journal);
}

}  // namespace
}  // namespace lemmix
