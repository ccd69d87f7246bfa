// lemmix-cli prove: a proof carried out without a window, its commands and
// dialog answers read from a script (docs/prove.md), its protocol saved.
#pragma once

#include <optional>
#include <string>

#include "cli/task_command.h"

namespace lemmix {

class TSession;

struct TProveOptions {
  TTaskOptions Show;                      // how proof fields and traces are shown
  std::string Answers;                    // the script file
  std::optional<std::string> Protocol;    // the file the protocol is saved to
  bool Journal = false;                   // the journal Prt.dat kept in the data directory
};

// Proves the statement at a book path by the script: a line per command with
// its outcome, the proof field where the script ends, "proved: yes|no". 0 when
// the statement was proved, 1 otherwise.
int RunProve(TSession& session, const std::string& path, const TProveOptions& options);

// Resumes the proof that the journal Prt.dat of the data directory holds
// and that did not end: its commands replayed, then the script's (if any), as
// `prove` goes on. 1 when there is none, or the statement was not proved.
int RunResume(TSession& session, const TProveOptions& options);

}  // namespace lemmix
