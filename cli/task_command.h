// lemmix-cli task: the proof task of a statement after the automatic tests,
// or of every statement of the book with a summary.
#pragma once

#include <optional>
#include <string>

namespace lemmix {

class TSession;

struct TTaskOptions {
  bool English = false;
  bool Unicode = false;
  bool Trace = false;
  std::optional<std::string> Json;  // --all: the file for the machine-readable results
};

// The task of the statement at a book path ("book\3\2\4", "book/3/2/4" or
// relative to the book): its sections, flags and "proved: yes|no". 0 when
// the task was built, 1 otherwise.
int RunTask(TSession& session, const std::string& path, const TTaskOptions& options);

// Every statement in the book's order, one line each, and a summary.
int RunAllTasks(TSession& session, const TTaskOptions& options);

}  // namespace lemmix
