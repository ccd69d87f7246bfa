// Loading the book: the bundled one, and generated books of 1 000 and 10 000
// statements (10 chapters of 10 paragraphs) written to a temporary directory;
// and the content checks of the bundled book (every formulation read and typed).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

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

// A book of 10 chapters of 10 paragraphs, `statements` in all; its root path.
std::string GeneratedBook(int statements) {
  const fs::path root = fs::temp_directory_path() / ("lemmix-bench-book-" + std::to_string(statements));
  const int perParagraph = statements / 100;
  if (!fs::exists(root / "content")) {
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
  return SystemPath(root.string()).value();
}

void Load(benchmark::State& state, const std::string& path) {
  std::size_t statements = 0;
  for (auto _ : state) {
    TBook book;
    book.Path = path;
    book.Load();
    statements = 0;
    for (std::size_t c = 0; c < book.ChildCount(); ++c)
      for (std::size_t p = 0; p < book.Child(c)->ChildCount(); ++p) statements += book.Child(c)->Child(p)->ChildCount();
  }
  state.counters["statements"] = static_cast<double>(statements);
}

void LoadBundledBook(benchmark::State& state) { Load(state, SystemPath(LEMMIX_DATA_DIR).value() + "\\book"); }
BENCHMARK(LoadBundledBook)->Unit(benchmark::kMillisecond);

void LoadGeneratedBook(benchmark::State& state) { Load(state, GeneratedBook(static_cast<int>(state.range(0)))); }
BENCHMARK(LoadGeneratedBook)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void CheckBundledBook(benchmark::State& state) {
  Data().context.StartupOk = true;
  TBook book;
  book.Path = SystemPath(LEMMIX_DATA_DIR).value() + "\\book";
  book.Load();
  std::size_t faults = 0;
  for (auto _ : state) faults = CheckBook(book).size();
  state.counters["faults"] = static_cast<double>(faults);
}
BENCHMARK(CheckBundledBook)->Unit(benchmark::kMillisecond);

}  // namespace
