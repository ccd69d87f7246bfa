// lemmix-cli task: the proof task of a statement after the automatic tests,
// or of every statement of the book with a summary.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "expr/info_sink.h"

namespace lemmix {

class TBook;
class TKernel;
class TSession;
class TStatement;

struct TTaskOptions {
  bool English = false;
  bool Unicode = false;
  bool Trace = false;
  std::optional<std::string> Json;  // --all: the file for the machine-readable results
};

// The information lines of the tests, for --trace: each indented by three
// blanks per open subproof. A trace keeps every line, even those of a
// subproof that was then taken back.
class TraceSink : public IInfoSink {
 public:
  explicit TraceSink(bool unicode) : unicode_(unicode) {}
  void Add(const std::string& text, const TExpr* formula) override;
  void GoDown() override { ++depth_; }
  void GoUp(bool) override {
    if (depth_ > 0) --depth_;
  }
  std::vector<std::string> lines;

 private:
  bool unicode_;
  int depth_ = 0;
};

// Loads the book of the session's data directory; false when it is empty.
bool LoadSessionBook(TSession& session, TBook& book);
// The statement at a book path ("book\3\2\4", "book/3/2/4" or relative to the book).
TStatement* FindStatement(TBook& book, std::string path);
// The four sections of a proof field and its flag of a proof by contradiction.
void PrintProofField(const TKernel& k, const TTaskOptions& options);

// The task of the statement at a book path ("book\3\2\4", "book/3/2/4" or
// relative to the book): its sections, flags and "proved: yes|no". 0 when
// the task was built, 1 otherwise.
int RunTask(TSession& session, const std::string& path, const TTaskOptions& options);

// Every statement in the book's order, one line each, and a summary.
int RunAllTasks(TSession& session, const TTaskOptions& options);

}  // namespace lemmix
