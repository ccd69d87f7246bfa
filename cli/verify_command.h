// lemmix-cli verify: every saved protocol of the book (or of some of its
// chapters, paragraphs or statements) replayed through the proof driver; a
// protocol passes only when the driver ends its proof successfully.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace lemmix {

class TSession;

struct TVerifyOptions {
  std::vector<std::string> Paths;  // book paths (book/3, book/3/5/3); none: the whole book
  std::optional<std::string> Junit;
  std::optional<std::string> Json;
  int Jobs = 1;
  bool Quiet = false;
  bool English = false;
  // The data directory given on the command line (for the jobs).
  std::optional<std::string> Dir;
  std::string Program;  // this program, to run the jobs
};

// Whether a command-line word names a part of the book rather than a data directory.
bool IsBookPath(const std::string& word);

// Verifies the protocols in book order: a line per protocol (a progress bar
// on a terminal), the failures with their line and message, a summary, the
// JUnit and JSON reports asked for. 0 when every protocol passed.
int RunVerify(TSession& session, const TVerifyOptions& options);

}  // namespace lemmix
