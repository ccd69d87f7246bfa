// The proof task of every statement of the bundled book, built and tested as
// the start of a proof does: the time per statement (median and 95th
// percentile) and the whole book.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include "bench_catalogues.h"
#include "book/part.h"
#include "book/search.h"
#include "book/statement_kind.h"
#include "prover/task.h"
#include "shell/files.h"

namespace {

using namespace lemmix;

void TaskOfEveryStatement(benchmark::State& state) {
  Data().context.StartupOk = true;
  TBook book;
  book.Path = SystemPath(LEMMIX_DATA_DIR).value() + "\\book";
  book.Load();
  const std::vector<TStatement*> statements = StatementsBefore(book, nullptr);
  std::vector<double> times;
  for (auto _ : state) {
    times.clear();
    for (TStatement* statement : statements) {
      if (statement->Kind() == kStatementKindWords[kMethodKind]) continue;
      const auto start = std::chrono::steady_clock::now();
      const TTask task = BuildTask(*statement, book);
      benchmark::DoNotOptimize(task.Kernel->Proved);
      times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
  }
  if (times.empty()) {
    state.SkipWithError("no statement");
    return;
  }
  std::sort(times.begin(), times.end());
  const auto at = [&](double p) { return times[std::min(times.size() - 1, static_cast<std::size_t>(p * static_cast<double>(times.size())))]; };
  double total = 0;
  for (const double t : times) total += t;
  state.counters["statements"] = static_cast<double>(times.size());
  state.counters["median_ms"] = at(0.5);
  state.counters["p95_ms"] = at(0.95);
  state.counters["max_ms"] = times.back();
  state.counters["total_ms"] = total;
}
BENCHMARK(TaskOfEveryStatement)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
