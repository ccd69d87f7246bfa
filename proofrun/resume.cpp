#include "proofrun/resume.h"

#include <algorithm>
#include <climits>

#include "book/part.h"
#include "book/search.h"
#include "book/statement.h"
#include "proofrun/demo.h"
#include "proofrun/driver.h"
#include "proofrun/protocol.h"
#include "proofrun/protocol_keywords.h"
#include "shell/context.h"
#include "shell/cp1251.h"
#include "shell/files.h"
#include "shell/recording_messages.h"
#include "shell/text.h"

namespace lemmix {

namespace {

// A journal line as a record: without its indentation and marks.
std::string RecordOf(const std::string& line) {
  return std::string(Trim(TProtocolRecorder::WithoutMarks(line)));
}

bool IsUndo(const std::string& record) { return record == Trim(kProtocolKeywords[kUndo]); }

// A record that a user's command begins with.
bool BeginsCommand(const std::string& record) {
  if (IsUndo(record)) return true;
  switch (ProtocolKeyword(record)) {
    case kDefineVariable:
    case kRecursiveDefinition:
    case kDefineWithConditions:
    case kApplyStatement:
    case kConsiderCase:
    case kProveConditionRecord:
    case kConjectureRecord:
    case kByContradiction:
    case kByInduction:
    case kMarkedVariable:
    case kMarkedCondition:
      return true;
    default:
      return false;
  }
}

// The line after the beginning of the proof; -1 without one.
int AfterBeginning(const std::vector<std::string>& journal) {
  const std::string beginning(kProtocolKeywords[kBeginningOfProof]);
  for (std::size_t i = 0; i < journal.size(); ++i)
    if (journal[i].starts_with(beginning)) return static_cast<int>(i) + 1;
  return -1;
}

// One replay of the journal's commands, at most `limit` of them.
struct TPass {
  bool Started = false;
  int Replayed = 0;
  // The first command that did not replay as recorded: its line, and why
  // (none when it wrote more than the journal holds: it was not finished).
  int Failed = -1;
  std::optional<TMessage> Why;
  // That command ran, and may have changed the proof field.
  bool Ran = false;
};

class TJournalReplay {
 public:
  TJournalReplay(TProofDriver& driver, const TBook& book, const TStatement& statement,
                 const std::vector<std::string>& journal, std::string replayJournal, RecordingMessages& quiet)
      : driver_(driver),
        statement_(statement),
        journal_(journal),
        replayJournal_(std::move(replayJournal)),
        source_(quiet),
        ui_(book, source_) {
    source_.Lines = journal;
  }

  TPass Run(int limit) {
    TPass pass;
    IProofUi& previous = driver_.SetUi(ui_);
    pass.Started = driver_.Start(statement_, replayJournal_);
    if (pass.Started) Replay(limit, pass);
    driver_.SetUi(previous);
    return pass;
  }

 private:
  void Replay(int limit, TPass& pass) {
    std::size_t written = 0;
    if (!SameAsJournal(written)) {
      pass.Failed = 0;
      pass.Why = TMessage{"Начало журнала доказательства не повторяется."_cp,
                          "The beginning of the proof journal does not replay."};
      return;
    }
    const int count = static_cast<int>(journal_.size());
    while (pass.Replayed < limit && driver_.Open() && static_cast<int>(written) < count) {
      const int first = static_cast<int>(written);
      const std::string record = RecordOf(journal_[static_cast<std::size_t>(first)]);
      if (!BeginsCommand(record)) {
        pass.Failed = first;
        // A line cut off as the program stopped ends the journal: not a fault.
        if (first + 1 < count)
          pass.Why = TMessage{"Неинтерпретируемая запись в журнале доказательства:\\n "_cp + record,
                              "Unable to interpret the record of the proof journal:\\n " + record};
        return;
      }
      int end = first + 1;
      while (end < count && !BeginsCommand(RecordOf(journal_[static_cast<std::size_t>(end)]))) ++end;
      std::optional<TMessage> refused;
      if (IsUndo(record)) {
        driver_.Act(TCommand::Undo);
      } else {
        ui_.BeginStep(first, end);
        refused = ReplayCommand(driver_, record);
        if (!refused && ui_.Failure()) refused = ui_.Failure();
      }
      // The command wrote exactly what the journal holds: it was finished
      // and goes through as it did. The journal's last line may be the torn
      // start of the next command, which this one does not write.
      if (!refused && SameAsJournal(written) &&
          (static_cast<int>(written) >= end || (end == count && static_cast<int>(written) == count - 1))) {
        ++pass.Replayed;
        continue;
      }
      pass.Failed = first;
      pass.Ran = true;
      // The journal's last command may have been cut short anywhere when the
      // program stopped: it is left out, and is no fault.
      if (end < count)
        pass.Why = refused.value_or(TMessage{"Команда журнала доказательства выполняется иначе:\\n "_cp + record,
                                             "The command of the proof journal goes otherwise now:\\n " + record});
      return;
    }
  }

  // The replay's journal repeats the old one so far; `written` is its length.
  bool SameAsJournal(std::size_t& written) const {
    const std::optional<std::vector<std::string>> lines = ReadLines(replayJournal_);
    if (!lines || lines->size() > journal_.size()) return false;
    written = lines->size();
    // Marks aside: a journal begun from a protocol (a demonstration taken
    // over) has the marks that a live journal never receives.
    return std::equal(lines->begin(), lines->end(), journal_.begin(), [](const std::string& a, const std::string& b) {
      return TProtocolRecorder::WithoutMarks(a) == TProtocolRecorder::WithoutMarks(b);
    });
  }

  TProofDriver& driver_;
  const TStatement& statement_;
  const std::vector<std::string>& journal_;
  std::string replayJournal_;
  TProtocolRecorder source_;  // holds the old journal for the dialogs to read
  TDemoUi ui_;
};

}  // namespace

std::optional<TInterruptedProof> FindInterruptedProof(const std::string& journalPath) {
  if (!FileExists(journalPath)) return std::nullopt;
  std::optional<std::vector<std::string>> lines = ReadLines(journalPath);
  if (!lines) return std::nullopt;
  const int after = AfterBeginning(*lines);
  if (after <= TProtocolRecorder::kSettingLines) return std::nullopt;
  TInterruptedProof proof;
  proof.EnglishName = std::string(TProtocolRecorder::WithoutMarks((*lines)[static_cast<std::size_t>(after - 1)])
                                      .substr(kProtocolKeywords[kBeginningOfProof].size()));
  std::string last;
  for (std::size_t i = static_cast<std::size_t>(after); i < lines->size(); ++i) {
    const std::string record = RecordOf((*lines)[i]);
    if (record.empty()) continue;
    last = record;
    if (BeginsCommand(record)) ++proof.Commands;
  }
  if (proof.Commands == 0 || last.starts_with(kProtocolKeywords[kSuccessfulEnd]) ||
      last == kProtocolKeywords[kProofAborted])
    return std::nullopt;
  proof.Journal = std::move(*lines);
  return proof;
}

bool MarkJournalAborted(const std::string& journalPath) {
  return FileExists(journalPath) && TProtocolRecorder::AppendToFile(journalPath, kProtocolKeywords[kProofAborted]);
}

const TStatement* InterruptedStatement(const TBook& book, const TInterruptedProof& proof) {
  for (const TStatement* statement : StatementsBefore(book, nullptr))
    if (statement->Lines.size() > kEnglishNameLine && statement->Lines[kEnglishNameLine] == proof.EnglishName)
      return statement;
  return nullptr;
}

TResumeResult ResumeProof(TProofDriver& driver, TProtocolRecorder& protocol, const TBook& book,
                          const TStatement& statement, const std::vector<std::string>& journal,
                          const std::string& journalPath) {
  TResumeResult result;
  TAutoSettings settings = Ctx().Settings;
  int beginning = 0;
  if (std::optional<TProtocolFault> fault = ReadProtocolHead(journal, statement, settings, beginning)) {
    result.Stopped = std::move(fault->Message);
    result.Line = fault->Line;
    return result;
  }
  // The replay runs quietly, as it ran before: its messages were seen then.
  TContext& outer = Ctx();
  RecordingMessages quiet;
  TContext context(quiet, quiet);
  InheritRun(context, outer);
  context.Settings = settings;
  {
    const TContextScope scope(context);
    const std::string replayJournal = journalPath + ".resume";
    TJournalReplay replay(driver, book, statement, journal, replayJournal, quiet);
    TPass pass = replay.Run(INT_MAX);
    // A command that did not go through as recorded may have changed the
    // proof field: the proof is replayed again up to the command before it.
    if (pass.Ran) {
      TPass again = replay.Run(pass.Replayed);
      again.Failed = pass.Failed;
      again.Why = std::move(pass.Why);
      pass = std::move(again);
    }
    result.Started = pass.Started;
    result.Replayed = pass.Replayed;
    if (pass.Failed >= 0)
      for (std::size_t i = static_cast<std::size_t>(pass.Failed); i < journal.size(); ++i)
        if (BeginsCommand(RecordOf(journal[i]))) ++result.Left;
    if (pass.Why) {
      result.Stopped = std::move(pass.Why);
      result.Line = pass.Failed + 1;
    }
    if (!protocol.JournalPath().empty()) protocol.MoveJournal(journalPath);
  }
  outer.Settings = context.Settings;
  return result;
}

}  // namespace lemmix
