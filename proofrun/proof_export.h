// Readable proofs: a saved proof protocol told as a proof a student reads.
// The statement, its formulation, then every step in words, a subproof
// indented one level deeper, the formulas printed as the proof window shows
// them. The result is UTF-8 text or a small HTML page.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "shell/message.h"

namespace lemmix {

class TAssotProccess;
class TBook;
class TStatement;

// One line of a told proof: the first line of a step, or one that goes on
// with the step above it (a substitution, a value of a definition).
struct TExportLine {
  int Level = 0;
  std::string Text;  // UTF-8
  bool Continues = false;

  bool operator==(const TExportLine&) const = default;
};

struct TProofExport {
  std::string Title;        // UTF-8: the kind and the name of the statement
  std::string Formulation;  // UTF-8; empty when the statement is not in the book
  std::vector<TExportLine> Steps;
  std::string Ending;  // UTF-8: how the proof ends
};

// Where names are looked up; each may be missing, and then the names the
// protocol records are told as they are.
struct TExportSources {
  const TBook* Book = nullptr;
  const TStatement* Statement = nullptr;  // the statement the protocol proves
  const TAssotProccess* Assot = nullptr;
  bool English = false;
};

struct TExportResult {
  std::optional<TProofExport> Proof;
  TMessage Fault;  // why the protocol cannot be told, with its line
};

// The protocol's lines as they are stored (Windows-1251). Formulas are read
// with the current context's catalogues; a formula that does not read is
// kept as written.
TExportResult ExportProof(const std::vector<std::string>& protocol, const TExportSources& sources);

// The statement a protocol file belongs to: its directory under "book", or
// the mirror of it under "Protocols". Null when it is neither.
const TStatement* StatementOfProtocol(const TBook& book, const std::string& protocolPath);

std::string ExportText(const TProofExport& proof, bool english);
// A self-contained page; the texts escaped.
std::string ExportHtml(const TProofExport& proof, bool english);

}  // namespace lemmix
