#include "cli/prove_command.h"

#include <cstdio>
#include <functional>

#include "book/part.h"
#include "book/statement.h"
#include "proofrun/driver.h"
#include "proofrun/protocol.h"
#include "proofrun/protocol_files.h"
#include "proofrun/resume.h"
#include "proofrun/script_ui.h"
#include "session/session.h"
#include "shell/cp1251.h"
#include "shell/files.h"

namespace lemmix {

namespace {

std::string Where(const TProofDriver& driver) {
  if (!driver.Open()) return driver.Succeeded() ? "proved" : "proof ended";
  std::string where = "level " + std::to_string(driver.Level());
  const int caption = driver.Caption();
  if (caption != kNoCaption) where += " (" + std::string(DialogCaption(caption, false)) + ")";
  const TKernel* k = driver.Current();
  where += ", " + std::to_string(k->ProvingConds.size()) + " proving condition" + (k->ProvingConds.size() == 1 ? "" : "s");
  return where;
}

// A bare name (NAME or NAME.prt) saves beside the statement as the developer's
// protocol NAME.prt; a path writes that file.
bool SaveProtocol(TSession& session, const TStatement& statement, const std::vector<std::string>& lines,
                  const std::string& where) {
  if (where.find('/') == std::string::npos) {
    std::string name = Utf8ToCp1251(where);
    if (name.ends_with(".prt")) name.resize(name.size() - 4);
    const std::optional<std::string> directory = ProtocolSaveDirectory(statement, true, session.Messages);
    if (!directory) return false;
    const TSaveVerdict verdict = SaveProtocolAs(statement, *directory, name, lines, true, session.Messages, session.Questions);
    if (verdict == TSaveVerdict::Saved) {
      std::printf("protocol: %s\n", Cp1251ToUtf8(DisplayPath(*directory + "\\" + name + ".prt")).c_str());
      return true;
    }
    std::fprintf(stderr, "the protocol was not saved\n");
    return false;
  }
  const std::optional<std::string> out = SystemPath(where);
  if (!out || !WriteLinesReplacing(*out, lines)) {
    std::fprintf(stderr, "cannot write %s\n", where.c_str());
    return false;
  }
  return true;
}

}  // namespace

namespace {

std::optional<std::vector<std::string>> ReadScript(const std::string& answers) {
  if (answers.empty()) return std::vector<std::string>{};
  const std::optional<std::string> scriptPath = SystemPath(answers);
  const std::optional<std::vector<std::string>> utf8 = scriptPath ? ReadLines(*scriptPath) : std::nullopt;
  if (!utf8) {
    std::fprintf(stderr, "cannot read %s\n", answers.c_str());
    return std::nullopt;
  }
  std::vector<std::string> script;
  for (const std::string& line : *utf8) script.push_back(Utf8ToCp1251(line));
  return script;
}

// A proof without a window: started by `begin` (true when it started), then
// the script's commands, a line for each; the proof field where the script
// ends, "proved: yes|no", and the protocol saved when asked.
int ProveByScript(TSession& session, const TBook& book, const TStatement& statement, const TProveOptions& options,
                  std::vector<std::string> script,
                  const std::function<bool(TProofDriver&, TProtocolRecorder&)>& begin) {
  TraceSink trace(options.Show.Unicode);
  if (options.Show.Trace) {
    session.Commenting = true;
    session.Info = &trace;
  }
  TProtocolRecorder protocol(session.Messages);
  TScriptUi ui(book, std::move(script));
  const auto flushTrace = [&] {
    if (options.Show.Trace)
      for (const std::string& asked : ui.Asked) std::printf("? %s\n", Cp1251ToUtf8(asked).c_str());
    ui.Asked.clear();
    for (const std::string& line : trace.lines) std::printf("| %s\n", line.c_str());
    trace.lines.clear();
  };
  TProofDriver driver(ui, protocol, book, session.AssotProccess.get());
  if (!begin(driver, protocol)) return 1;
  flushTrace();
  std::printf("start: %s\n", Where(driver).c_str());
  const bool understood = ui.Run(driver, [&](const std::string& line, bool) {
    flushTrace();
    std::printf("%s: %s\n", Cp1251ToUtf8(line).c_str(), Where(driver).c_str());
  });
  session.Commenting = false;
  session.Info = nullptr;
  if (!understood)
    std::fprintf(stderr, "%s:%zu: %s\n", options.Answers.c_str(), ui.FaultLine,
                 driver.Open() ? "not a command" : "the proof ended before this line");
  if (driver.Open()) PrintProofField(*driver.Current(), options.Show);
  std::printf("proved: %s\n", driver.Succeeded() ? "yes" : "no");
  if (options.Protocol && !SaveProtocol(session, statement, protocol.Lines, *options.Protocol)) return 1;
  return understood && driver.Succeeded() ? 0 : 1;
}

// The journal where the proof window keeps it: Prt.dat in the data directory.
std::string JournalPath(const TSession& session) { return session.Dir + "\\Prt.dat"; }

}  // namespace

int RunProve(TSession& session, const std::string& path, const TProveOptions& options) {
  TBook book;
  if (!LoadSessionBook(session, book)) return 1;
  TStatement* statement = FindStatement(book, path);
  if (statement == nullptr) {
    std::fprintf(stderr, "no statement at %s\n", path.c_str());
    return 1;
  }
  std::optional<std::vector<std::string>> script = ReadScript(options.Answers);
  if (!script) return 1;
  return ProveByScript(session, book, *statement, options, std::move(*script),
                       [&](TProofDriver& driver, TProtocolRecorder&) {
                         return driver.Start(*statement, options.Journal ? JournalPath(session) : "");
                       });
}

int RunResume(TSession& session, const TProveOptions& options) {
  TBook book;
  if (!LoadSessionBook(session, book)) return 1;
  const std::string journal = JournalPath(session);
  const std::optional<TInterruptedProof> interrupted = FindInterruptedProof(journal);
  if (!interrupted) {
    std::printf("no interrupted proof in %s\n", Cp1251ToUtf8(DisplayPath(journal)).c_str());
    return 1;
  }
  const TStatement* statement = InterruptedStatement(book, *interrupted);
  if (statement == nullptr) {
    std::fprintf(stderr, "the book has no statement \"%s\"\n", Cp1251ToUtf8(interrupted->EnglishName).c_str());
    return 1;
  }
  std::optional<std::vector<std::string>> script = ReadScript(options.Answers);
  if (!script) return 1;
  std::printf("statement: %s\n", Cp1251ToUtf8(statement->Lines[kEnglishNameLine]).c_str());
  return ProveByScript(session, book, *statement, options, std::move(*script),
                       [&](TProofDriver& driver, TProtocolRecorder& protocol) {
                         const TResumeResult resumed =
                             ResumeProof(driver, protocol, book, *statement, interrupted->Journal, journal);
                         std::printf("resumed: %d of %d commands replayed\n", resumed.Replayed,
                                     resumed.Replayed + resumed.Left);
                         if (resumed.Stopped)
                           std::printf("stopped at line %d of the journal: %s\n", resumed.Line,
                                       Cp1251ToUtf8(DisplayText(options.Show.English ? resumed.Stopped->Eng : resumed.Stopped->Rus)).c_str());
                         return resumed.Started;
                       });
}

}  // namespace lemmix
