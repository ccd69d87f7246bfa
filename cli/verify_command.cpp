#include "cli/verify_command.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <sstream>

#include "book/part.h"
#include "book/search.h"
#include "book/statement.h"
#include "cli/task_command.h"
#include "proofrun/assot.h"
#include "proofrun/demo.h"
#include "proofrun/method_proofs.h"
#include "session/session.h"
#include "shell/cp1251.h"
#include "shell/files.h"

extern char** environ;

namespace lemmix {

namespace {

namespace fs = std::filesystem;

// One protocol: where it is, and how its verification went.
struct TRow {
  std::string Path;       // UTF-8, relative to the data directory: book/3/5/3/NAME.prt
  std::string Statement;  // UTF-8, the statement's English name
  bool Passed = false;
  int Line = 0;
  std::string Message;  // UTF-8, as shown
  double Ms = 0;
};

struct TWork {
  const TStatement* Statement = nullptr;
  std::string StatementPath;  // UTF-8: book/3/5/3
  std::string File;           // the protocol, in the system's path form
  std::string Path;           // UTF-8: book/3/5/3/NAME.prt
};

std::string Slashed(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

bool Under(const std::string& path, const std::string& part) {
  return path == part || (path.starts_with(part) && path[part.size()] == '/');
}

std::string JsonString(const std::string& s) {
  std::string out = "\"";
  for (const unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c < 0x20) {
      char code[8];
      std::snprintf(code, sizeof code, "\\u%04x", c);
      out += code;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string XmlText(const std::string& s) {
  std::string out;
  for (const char c : s) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\n':
        out += "&#10;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// A row as one line of JSON, the keys in a fixed order.
std::string JsonRow(const TRow& r) {
  std::ostringstream out;
  out << "{\"path\": " << JsonString(r.Path) << ", \"statement\": " << JsonString(r.Statement)
      << ", \"passed\": " << (r.Passed ? "true" : "false") << ", \"line\": " << r.Line
      << ", \"message\": " << JsonString(r.Message) << ", \"ms\": " << r.Ms << "}";
  return out.str();
}

// Reads back the rows a job wrote: one object per line, as JsonRow writes them.
std::optional<std::vector<TRow>> ReadJsonRows(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<TRow> rows;
  std::string line;
  const auto string = [](const std::string& text, std::size_t& at) -> std::optional<std::string> {
    if (at >= text.size() || text[at] != '"') return std::nullopt;
    std::string value;
    for (++at; at < text.size() && text[at] != '"'; ++at) {
      if (text[at] != '\\') {
        value += text[at];
        continue;
      }
      if (++at >= text.size()) return std::nullopt;
      if (text[at] == 'n')
        value += '\n';
      else if (text[at] == 'u' && at + 4 < text.size()) {
        value += static_cast<char>(std::stoi(text.substr(at + 1, 4), nullptr, 16));
        at += 4;
      } else
        value += text[at];
    }
    if (at >= text.size()) return std::nullopt;
    ++at;
    return value;
  };
  const auto key = [](const std::string& text, std::size_t& at, const std::string& name) {
    const std::string wanted = "\"" + name + "\": ";
    const std::size_t found = text.find(wanted, at);
    if (found == std::string::npos) return false;
    at = found + wanted.size();
    return true;
  };
  while (std::getline(in, line)) {
    if (line.find("{\"path\"") == std::string::npos) continue;
    TRow row;
    std::size_t at = 0;
    std::optional<std::string> path, statement, message;
    if (!key(line, at, "path") || !(path = string(line, at)) || !key(line, at, "statement") ||
        !(statement = string(line, at)) || !key(line, at, "passed"))
      return std::nullopt;
    row.Passed = line.compare(at, 4, "true") == 0;
    if (!key(line, at, "line")) return std::nullopt;
    row.Line = std::atoi(line.c_str() + at);
    if (!key(line, at, "message") || !(message = string(line, at)) || !key(line, at, "ms")) return std::nullopt;
    row.Ms = std::atof(line.c_str() + at);
    row.Path = *path;
    row.Statement = *statement;
    row.Message = *message;
    rows.push_back(std::move(row));
  }
  return rows;
}

// Writes the text to a temporary file beside `file` and renames it over it.
bool WriteReplacing(const std::string& file, const std::string& text) {
  const std::string temporary = file + ".tmp" + std::to_string(getpid());
  {
    std::ofstream out(temporary, std::ios::binary);
    out << text;
    if (!out.flush()) {
      std::error_code ignored;
      fs::remove(temporary, ignored);
      return false;
    }
  }
  std::error_code error;
  fs::rename(temporary, file, error);
  if (error) fs::remove(temporary, error);
  return !error;
}

std::string JsonReport(const std::vector<TRow>& rows, int without) {
  std::string out = "{\"protocols\": [\n";
  for (std::size_t i = 0; i < rows.size(); ++i) out += "  " + JsonRow(rows[i]) + (i + 1 < rows.size() ? ",\n" : "\n");
  const auto passed = std::count_if(rows.begin(), rows.end(), [](const TRow& r) { return r.Passed; });
  out += "], \"passed\": " + std::to_string(passed) + ", \"failed\": " + std::to_string(rows.size() - passed) +
         ", \"without_protocol\": " + std::to_string(without) + "}\n";
  return out;
}

std::string JunitReport(const std::vector<TRow>& rows) {
  double total = 0;
  int failures = 0;
  for (const TRow& r : rows) {
    total += r.Ms;
    failures += r.Passed ? 0 : 1;
  }
  std::ostringstream out;
  out << std::fixed << std::setprecision(4);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites>\n<testsuite name=\"lemmix-verify\" tests=\""
      << rows.size() << "\" failures=\"" << failures << "\" errors=\"0\" time=\"" << total / 1000 << "\">\n";
  for (const TRow& r : rows) {
    const std::string directory = r.Path.substr(0, r.Path.rfind('/'));
    std::string classname = directory;
    std::replace(classname.begin(), classname.end(), '/', '.');
    out << "  <testcase classname=\"" << XmlText(classname) << "\" name=\""
        << XmlText(r.Path.substr(directory.size() + 1)) << " (" << XmlText(r.Statement) << ")\" time=\"" << r.Ms / 1000
        << "\"";
    if (r.Passed) {
      out << "/>\n";
      continue;
    }
    const std::string text = "line " + std::to_string(r.Line) + ": " + r.Message;
    out << ">\n    <failure message=\"" << XmlText(text) << "\">" << XmlText(text) << "</failure>\n  </testcase>\n";
  }
  out << "</testsuite>\n</testsuites>\n";
  return out.str();
}

// The protocols of the statements under the paths, in book order; the
// statements that want one and have none are counted.
std::vector<TWork> Protocols(const TSession& session, const TBook& book, const std::vector<std::string>& paths,
                             int& without) {
  std::vector<TWork> work;
  without = 0;
  for (const TStatement* statement : StatementsBefore(book, nullptr)) {
    std::string relative = statement->Path;
    if (relative.starts_with(session.BookPath)) relative = "book" + relative.substr(session.BookPath.size());
    relative = Slashed(Cp1251ToUtf8(relative));
    if (!paths.empty() &&
        std::none_of(paths.begin(), paths.end(), [&](const std::string& p) { return Under(relative, p); }))
      continue;
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(NativePath(statement->ProtocolDirectory()), error), end; !error && it != end;
         it.increment(error))
      if (it->is_regular_file() && it->path().extension() == ".prt") names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    // Axioms have nothing to prove; a method is proved correct like a theorem.
    if (names.empty() && statement->Kind() != "axiom") ++without;
    for (const std::string& name : names) {
      const std::optional<std::string> file = SystemPath(NativePath(statement->ProtocolDirectory()) + "/" + name);
      if (!file) continue;
      work.push_back({statement, relative, *file, relative + "/" + name});
    }
  }
  return work;
}

void PrintFailure(const TRow& r) {
  std::printf("  line %d: ", r.Line);
  for (const char c : r.Message) {
    std::putchar(c);
    if (c == '\n') std::fputs("  ", stdout);
  }
  std::putchar('\n');
}

void PrintRow(const TRow& r) {
  std::printf("%s %s \"%s\" %.1f ms\n", r.Passed ? "PASS" : "FAIL", r.Path.c_str(), r.Statement.c_str(), r.Ms);
  if (!r.Passed) PrintFailure(r);
}

void Progress(std::size_t done, std::size_t total, int failed) {
  constexpr std::size_t kWidth = 40;
  const std::size_t filled = total == 0 ? kWidth : done * kWidth / total;
  std::printf("\r[%s%s] %zu/%zu, %d failed", std::string(filled, '#').c_str(),
              std::string(kWidth - filled, '.').c_str(), done, total, failed);
  std::fflush(stdout);
}

// Runs the jobs, each on a part of the statements, and gathers their rows.
std::optional<std::vector<TRow>> RunJobs(const TVerifyOptions& options, const std::vector<TWork>& work) {
  std::vector<std::string> statements;
  for (const TWork& w : work)
    if (statements.empty() || statements.back() != w.StatementPath) statements.push_back(w.StatementPath);
  const std::size_t jobs =
      std::min<std::size_t>(static_cast<std::size_t>(options.Jobs), std::max<std::size_t>(statements.size(), 1));
  struct TJob {
    pid_t Pid = 0;
    std::string Json;
  };
  std::vector<TJob> running;
  const std::string base = (fs::temp_directory_path() / ("lemmix-verify-" + std::to_string(getpid()) + "-")).string();
  bool ok = true;
  for (std::size_t j = 0; j < jobs; ++j) {
    // Consecutive statements: each job's rows are in book order.
    const std::size_t from = statements.size() * j / jobs, to = statements.size() * (j + 1) / jobs;
    std::vector<std::string> args = {options.Program, "--lang", options.English ? "en" : "ru", "verify"};
    if (options.Dir) args.push_back(*options.Dir);
    args.insert(args.end(), statements.begin() + static_cast<std::ptrdiff_t>(from),
                statements.begin() + static_cast<std::ptrdiff_t>(to));
    TJob job{0, base + std::to_string(j) + ".json"};
    args.insert(args.end(), {"--quiet", "--json", job.Json});
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    // The jobs say only what they were given to verify: their output goes nowhere.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    if (posix_spawn(&job.Pid, options.Program.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
      std::fprintf(stderr, "cannot run %s\n", options.Program.c_str());
      ok = false;
    } else {
      running.push_back(job);
    }
    posix_spawn_file_actions_destroy(&actions);
  }
  std::vector<TRow> rows;
  for (const TJob& job : running) {
    int status = 0;
    waitpid(job.Pid, &status, 0);
    const std::optional<std::vector<TRow>> part = ReadJsonRows(job.Json);
    std::error_code ignored;
    fs::remove(job.Json, ignored);
    // A job ends with 1 when a protocol failed; anything else is a fault of the job.
    if (!part || !WIFEXITED(status) || WEXITSTATUS(status) > 1) {
      std::fprintf(stderr, "a verification job failed\n");
      ok = false;
      continue;
    }
    rows.insert(rows.end(), part->begin(), part->end());
  }
  if (!ok) return std::nullopt;
  return rows;
}

}  // namespace

bool IsBookPath(const std::string& word) {
  const std::string path = Slashed(word);
  return path == "book" || path.starts_with("book/");
}

int RunVerify(TSession& session, const TVerifyOptions& options) {
  TBook book;
  if (!LoadSessionBook(session, book)) {
    std::fprintf(stderr, "the book is empty\n");
    return 1;
  }
  std::vector<std::string> paths;
  for (const std::string& p : options.Paths) paths.push_back(Slashed(p));
  int without = 0;
  const std::vector<TWork> work = Protocols(session, book, paths, without);
  // A path that names no part of the book is a mistake, not an empty success.
  for (const std::string& p : paths)
    if (p != "book" && !FindStatement(book, p) &&
        !std::filesystem::is_directory(NativePath(session.BookPath) + p.substr(4))) {
      std::fprintf(stderr, "no part of the book at %s\n", p.c_str());
      return 2;
    }

  const bool bar = !options.Quiet && isatty(STDOUT_FILENO) != 0;
  std::vector<TRow> rows;
  if (options.Jobs > 1 && !work.empty()) {
    const std::optional<std::vector<TRow>> gathered = RunJobs(options, work);
    if (!gathered) return 2;
    rows = *gathered;
    for (const TRow& r : rows)
      if (!options.Quiet || !r.Passed) PrintRow(r);
  } else {
    int failed = 0;
    // A method's correctness is replayed once for all the proofs that may use it.
    TMethodProofs methods;
    for (const TWork& w : work) {
      TRow row;
      row.Path = w.Path;
      row.Statement = Cp1251ToUtf8(w.Statement->Lines[kEnglishNameLine]);
      const std::optional<std::vector<std::string>> lines = ReadLines(w.File);
      if (!lines) {
        row.Message = "cannot read the protocol";
      } else {
        const TVerifyResult result = VerifyProtocol(book, *w.Statement, *lines, session.AssotProccess.get(), &methods);
        row.Passed = result.Passed;
        row.Line = result.Line;
        row.Message = Cp1251ToUtf8(DisplayText(options.English ? result.Said.Eng : result.Said.Rus));
        row.Ms = result.Milliseconds;
      }
      failed += row.Passed ? 0 : 1;
      if (bar) {
        if (!row.Passed) {
          std::printf("\r%*s\r", 70, "");
          PrintRow(row);
        }
        Progress(rows.size() + 1, work.size(), failed);
      } else if (!options.Quiet || !row.Passed) {
        PrintRow(row);
      }
      rows.push_back(std::move(row));
    }
    if (bar) std::putchar('\n');
  }
  const auto passed = std::count_if(rows.begin(), rows.end(), [](const TRow& r) { return r.Passed; });
  std::printf("%zd passed, %zd failed, %d statements without a protocol\n", static_cast<std::ptrdiff_t>(passed),
              static_cast<std::ptrdiff_t>(rows.size()) - passed, without);
  if (options.Json && !WriteReplacing(*options.Json, JsonReport(rows, without))) {
    std::fprintf(stderr, "cannot write %s\n", options.Json->c_str());
    return 2;
  }
  if (options.Junit && !WriteReplacing(*options.Junit, JunitReport(rows))) {
    std::fprintf(stderr, "cannot write %s\n", options.Junit->c_str());
    return 2;
  }
  return passed == static_cast<std::ptrdiff_t>(rows.size()) ? 0 : 1;
}

}  // namespace lemmix
