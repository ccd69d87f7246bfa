#include "cli/export_command.h"

#include <cstdio>
#include <filesystem>

#include "book/part.h"
#include "cli/task_command.h"
#include "proofrun/proof_export.h"
#include "session/session.h"
#include "shell/cp1251.h"
#include "shell/files.h"

namespace lemmix {

int RunExport(TSession& session, const std::string& protocolPath, const TExportOptions& options) {
  // Absolute, so that the statement is found by the directories above the file.
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(protocolPath, error);
  const std::optional<std::string> path = SystemPath(error ? protocolPath : absolute.string());
  const std::optional<std::vector<std::string>> lines = path ? ReadLines(*path) : std::nullopt;
  if (!lines) {
    const std::string shown = path ? DisplayPath(*path) : Utf8ToCp1251(protocolPath);
    session.Messages.Error(
        {"Не удалось прочитать файл протокола "_cp + shown, "Unable to read the protocol file " + shown});
    return 1;
  }
  // Names of statements and transformations come from the book; without one
  // the protocol's own English names are told.
  TBook book;
  LoadSessionBook(session, book);
  TExportSources sources;
  sources.Book = &book;
  sources.Statement = StatementOfProtocol(book, *path);
  sources.Assot = session.AssotProccess.get();
  sources.English = options.English;
  const TExportResult result = ExportProof(*lines, sources);
  if (!result.Proof) {
    session.Messages.Error(result.Fault);
    return 1;
  }
  const std::string out =
      options.Html ? ExportHtml(*result.Proof, options.English) : ExportText(*result.Proof, options.English);
  std::fputs(out.c_str(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace lemmix
