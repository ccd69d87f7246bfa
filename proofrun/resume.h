// Recovery of a proof that did not end. The journal receives every record the
// moment it is written and an "Undo." for every command taken back, so its
// commands, replayed through the driver, bring back the proof field, the
// levels and the protocol as they were when the program stopped.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "shell/message.h"

namespace lemmix {

class TBook;
class TProofDriver;
class TProtocolRecorder;
class TStatement;

// A journal whose proof did not end.
struct TInterruptedProof {
  std::string EnglishName;            // of the statement being proved
  std::vector<std::string> Journal;   // the journal's lines
  int Commands = 0;                   // the user's commands in it, undos included
};

// The journal at the path when it holds a proof that did not end: a head of
// settings and a beginning line, at least one command after it, and neither
// the successful end nor "Proof is aborted." as its last record.
std::optional<TInterruptedProof> FindInterruptedProof(const std::string& journalPath);

// The proof of the journal was left on purpose (the window closed, the
// resume declined): it is not offered again. False when it cannot be written.
bool MarkJournalAborted(const std::string& journalPath);

// The statement the journal proves: the first of the book with its English name.
const TStatement* InterruptedStatement(const TBook& book, const TInterruptedProof& proof);

struct TResumeResult {
  bool Started = false;  // the proof started again (the driver holds it, unless the journal ended it)
  int Replayed = 0;      // the journal's commands replayed
  // The journal's commands left out: an unfinished last one (the program
  // stopped while it ran), or all from the first that no longer replays as
  // recorded; then `Stopped` says why and `Line` (1-based) where.
  int Left = 0;
  std::optional<TMessage> Stopped;
  int Line = 0;
};

// Starts the proof of the statement with the journal's settings and replays
// its commands, the driver's dialogs answered from the records. The replay
// writes a journal of its own beside the old one at `journalPath`, and
// replaces it once the replay is done, so that the old one survives a replay
// cut short.
// The driver answers through its own UI again afterwards.
TResumeResult ResumeProof(TProofDriver& driver, TProtocolRecorder& protocol, const TBook& book,
                          const TStatement& statement, const std::vector<std::string>& journal,
                          const std::string& journalPath);

}  // namespace lemmix
