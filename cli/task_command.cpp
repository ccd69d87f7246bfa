#include "cli/task_command.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>

#include "book/html_links.h"
#include "book/part.h"
#include "book/search.h"
#include "book/statement_kind.h"
#include "expr/info_sink.h"
#include "intrinsics/letter.h"
#include "notation/output.h"
#include "prover/task.h"
#include "session/session.h"
#include "shell/cp1251.h"
#include "types/type.h"
#include "types/types_proccess.h"

namespace lemmix {

namespace {

std::string Show(const TExpr& e, bool unicode) {
  if (unicode) {
    const std::optional<TLetters> letters = TreeToLetters(e);
    return letters ? LettersToUtf8(*letters) : "?";
  }
  return Cp1251ToUtf8(TreeToText(e, false, false).value_or("?"));
}

}  // namespace

void TraceSink::Add(const std::string& text, const TExpr* formula) {
  std::string line = std::string(static_cast<std::size_t>(3 * depth_), ' ') + Cp1251ToUtf8(text);
  // A text that ends where its formula stands shows the formula after it.
  if (formula && text.find(TreeToText(*formula, false, false).value_or("\x01")) == std::string::npos &&
      (text.ends_with(":") || text.ends_with(" ")))
    line += " " + Show(*formula, unicode_);
  lines.push_back(line);
}

TStatement* FindStatement(TBook& book, std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  if (path.starts_with("book")) path = path.substr(4);
  if (!path.starts_with("\\")) path = "\\" + path;
  return FindStatementByPath(book, path);
}

bool LoadSessionBook(TSession& session, TBook& book) {
  book.Path = session.BookPath;
  session.StartupOk = true;
  book.Load();
  return !book.Children.empty();
}

void PrintProofField(const TKernel& k, const TTaskOptions& options) {
  const auto caption = [&](const char* rus, const char* eng) {
    std::printf("%s:\n", options.English ? eng : Cp1251ToUtf8(rus).c_str());
  };
  const auto objects = [&](const TVarList& list) {
    for (const TVarPtr& v : list)
      std::printf("  %s : %s\n", Cp1251ToUtf8(NameText(v->Name)).c_str(),
                  v->Type ? Ctx().TypesProccess->Identifier(*v->Type).c_str() : "?");
  };
  const auto conds = [&](const TCondList& list) {
    for (const TCondPtr& c : list) std::printf("  %s\n", Show(*c->Expr, options.Unicode).c_str());
  };
  caption("Даны объекты"_cp.c_str(), "Given objects");
  objects(k.GivenObjects);
  caption("Даны условия"_cp.c_str(), "Given conditions");
  conds(k.GivenConds);
  caption("Искомые объекты"_cp.c_str(), "Required objects");
  objects(k.RequiredObjects);
  caption("Доказываемые условия"_cp.c_str(), "Proving conditions");
  conds(k.ProvingConds);
  std::printf("%s: %s\n", options.English ? "By contradiction" : Cp1251ToUtf8("От противного"_cp).c_str(),
              k.ByContradiction ? "yes" : "no");
}

namespace {

std::string RelativePath(const TSession& session, const TStatement& s) {
  std::string path = s.Path;
  const std::size_t at = path.find(session.BookPath);
  if (at == 0) path = "book" + path.substr(session.BookPath.size());
  return Cp1251ToUtf8(path);
}

std::string JsonText(const std::string& s) {
  std::string out;
  for (const char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

}  // namespace

int RunTask(TSession& session, const std::string& path, const TTaskOptions& options) {
  TBook book;
  if (!LoadSessionBook(session, book)) return 1;
  TStatement* statement = FindStatement(book, path);
  if (statement == nullptr) {
    std::fprintf(stderr, "no statement at %s\n", path.c_str());
    return 1;
  }
  TraceSink trace(options.Unicode);
  if (options.Trace) {
    session.Commenting = true;
    session.Info = &trace;
  }
  const TTask task = BuildTask(*statement, book);
  session.Commenting = false;
  session.Info = nullptr;
  PrintProofField(*task.Kernel, options);
  if (options.Trace)
    for (const std::string& line : trace.lines) std::printf("| %s\n", line.c_str());
  const bool built = task.GoesOn || task.Kernel->Proved;
  std::printf("proved: %s\n", task.Kernel->Proved ? "yes" : "no");
  return built ? 0 : 1;
}

int RunAllTasks(TSession& session, const TTaskOptions& options) {
  TBook book;
  if (!LoadSessionBook(session, book)) return 1;
  struct Row {
    std::string path, kind;
    bool built = false, proved = false, skipped = false;
    std::size_t open = 0;
    double ms = 0;
  };
  std::vector<Row> rows;
  for (TStatement* statement : StatementsBefore(book, nullptr)) {
    Row row;
    row.path = RelativePath(session, *statement);
    row.kind = statement->Kind();
    if (row.kind == kStatementKindWords[kMethodKind]) {
      row.skipped = true;
      rows.push_back(row);
      std::printf("%s %s skipped\n", row.path.c_str(), row.kind.c_str());
      continue;
    }
    const auto start = std::chrono::steady_clock::now();
    const TTask task = BuildTask(*statement, book);
    row.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    row.proved = task.Kernel->Proved;
    row.built = task.GoesOn || row.proved;
    row.open = task.Kernel->ProvingConds.size();
    std::printf("%s %s %s %.1f ms\n", row.path.c_str(), row.kind.c_str(),
                !row.built ? "not built" : row.proved ? "closed automatically"
                                                      : ("open with " + std::to_string(row.open) + " proving conditions").c_str(),
                row.ms);
    rows.push_back(row);
  }
  std::vector<double> times;
  int closed = 0, open = 0, failed = 0, skipped = 0;
  for (const Row& r : rows) {
    if (r.skipped) {
      ++skipped;
      continue;
    }
    times.push_back(r.ms);
    if (!r.built) ++failed;
    else if (r.proved) ++closed;
    else ++open;
  }
  std::sort(times.begin(), times.end());
  const auto percentile = [&](double p) {
    return times.empty() ? 0.0 : times[std::min(times.size() - 1, static_cast<std::size_t>(p * static_cast<double>(times.size())))];
  };
  double total = 0;
  for (const double t : times) total += t;
  std::printf("statements: %zu; closed automatically: %d; open: %d; not built: %d; skipped: %d\n", rows.size(), closed,
              open, failed, skipped);
  std::printf("time per statement: median %.1f ms, 95th percentile %.1f ms; total %.0f ms\n", percentile(0.5),
              percentile(0.95), total);
  if (options.Json) {
    std::ofstream out(*options.Json, std::ios::binary);
    out << "[\n";
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const Row& r = rows[i];
      out << "  {\"path\": \"" << JsonText(r.path) << "\", \"kind\": \"" << r.kind << "\", \"built\": "
          << (r.built ? "true" : "false") << ", \"proved\": " << (r.proved ? "true" : "false")
          << ", \"open\": " << r.open << ", \"ms\": " << r.ms << (r.skipped ? ", \"skipped\": true" : "") << "}"
          << (i + 1 < rows.size() ? "," : "") << "\n";
    }
    out << "]\n";
    if (!out) {
      std::fprintf(stderr, "cannot write %s\n", options.Json->c_str());
      return 1;
    }
  }
  return 0;
}

}  // namespace lemmix
