// lemmix-cli export: a saved proof protocol as a proof to read, in plain
// text or as an HTML page.
#pragma once

#include <string>

namespace lemmix {

class TSession;

struct TExportOptions {
  bool English = false;
  bool Html = false;
};

// Writes the proof the protocol file records to the standard output. 0 when
// it was written; 1, after its message, when the file cannot be read or is
// not a proof protocol.
int RunExport(TSession& session, const std::string& protocolPath, const TExportOptions& options);

}  // namespace lemmix
