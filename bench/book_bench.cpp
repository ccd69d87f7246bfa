// Loading the book: the bundled one, and generated books of 1 000 and 10 000
// statements (10 chapters of 10 paragraphs) written to a temporary directory;
// and the content checks of the bundled book (every formulation read and typed).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "bench_catalogues.h"
#include "session/book_check.h"
#include "book/part.h"
#include "shell/files.h"

namespace {

using namespace lemmix;
namespace fs = std::filesystem;

void WriteLines(const fs::path& path, const std::vector<std::string>& lines) {
  std::ofstream out(path, std::ios::binary);
  for (const std::string& line : lines) out << line << "\r\n";
}

std::vector<std::string> Header(const std::string& name, int children) {
  std::vector<std::string> lines = {"S", "", name, name};
  for (int i = 0; i < children; ++i) lines.push_back(std::to_string(i));
  return lines;
}

// A book of 10 chapters of 10 paragraphs, `statements` in all, written once
// per run into a directory of its own and removed at the end; its root path.
class GeneratedBooks {
 public:
  ~GeneratedBooks() {
    std::error_code error;
    if (!root_.empty()) fs::remove_all(root_, error);
  }
  std::string Path(int statements) {
    if (root_.empty()) root_ = NewRoot();
    const fs::path book = root_ / std::to_string(statements);
    if (!fs::exists(book)) Write(book, statements);
    return SystemPath(book.string()).value();
  }

 private:
  static fs::path NewRoot() {
    std::random_device random;
    for (;;) {
      const fs::path root = fs::temp_directory_path() / ("lemmix-bench-book-" + std::to_string(random()));
      if (fs::create_directory(root)) return root;
    }
  }
  static void Write(const fs::path& root, int statements) {
    const int perParagraph = statements / 100;
    fs::create_directories(root);
    WriteLines(root / "content", Header("Book", 10));
    for (int c = 0; c < 10; ++c) {
      const fs::path chapter = root / std::to_string(c);
      fs::create_directories(chapter);
      WriteLines(chapter / "content", Header("Chapter", 10));
      for (int p = 0; p < 10; ++p) {
        const fs::path paragraph = chapter / std::to_string(p);
        fs::create_directories(paragraph);
        WriteLines(paragraph / "content", Header("Paragraph", perParagraph));
        for (int s = 0; s < perParagraph; ++s)
          WriteLines(paragraph / (std::to_string(s) + ".st"),
                     {"S", "", "Statement", "Statement", "theorem", "\\forall x \\in \\R \\Vld x ^ 2 \\ge 0"});
      }
    }
  }

  fs::path root_;
};

GeneratedBooks& Generated() {
  static GeneratedBooks books;
  return books;
}

std::size_t CountStatements(const TBook& book) {
  std::size_t statements = 0;
  for (std::size_t c = 0; c < book.ChildCount(); ++c)
    for (std::size_t p = 0; p < book.Child(c)->ChildCount(); ++p) statements += book.Child(c)->Child(p)->ChildCount();
  return statements;
}

// Loading a whole book: every content and statement file read. The loader
// reads children only while the start-up stands, and a book that misses
// files loads defaults instead of reading them: either would time less
// than the name says, so both end the benchmark with an error.
void Load(benchmark::State& state, const std::string& path, std::size_t expected) {
  Data().context.StartupOk = true;
  std::size_t statements = 0;
  bool changed = false;
  for (auto _ : state) {
    TBook book;
    book.Path = path;
    changed = book.Load() || changed;
    statements = CountStatements(book);
  }
  if (changed || statements == 0 || (expected != 0 && statements != expected)) {
    state.SkipWithError("the book did not load completely");
    return;
  }
  state.counters["statements"] = static_cast<double>(statements);
  state.counters["statements_per_second"] =
      benchmark::Counter(static_cast<double>(statements * state.iterations()), benchmark::Counter::kIsRate);
}

void LoadBundledBook(benchmark::State& state) { Load(state, SystemPath(LEMMIX_DATA_DIR).value() + "\\book", 0); }
BENCHMARK(LoadBundledBook)->Unit(benchmark::kMillisecond);

void LoadGeneratedBook(benchmark::State& state) {
  const int statements = static_cast<int>(state.range(0));
  Load(state, Generated().Path(statements), static_cast<std::size_t>(statements));
}
BENCHMARK(LoadGeneratedBook)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void CheckBundledBook(benchmark::State& state) {
  Data().context.StartupOk = true;
  TBook book;
  book.Path = SystemPath(LEMMIX_DATA_DIR).value() + "\\book";
  if (book.Load() || CountStatements(book) == 0) {
    state.SkipWithError("the book did not load completely");
    return;
  }
  std::size_t faults = 0;
  for (auto _ : state) faults = CheckBook(book).size();
  state.counters["faults"] = static_cast<double>(faults);
}
BENCHMARK(CheckBundledBook)->Unit(benchmark::kMillisecond);

}  // namespace
