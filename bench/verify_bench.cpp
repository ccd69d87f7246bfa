// Verification of every protocol saved in the bundled book, in one process:
// each replayed through its own driver as `lemmix-cli verify` does; the
// protocols verified per second and the time per protocol.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>

#include "bench_catalogues.h"
#include "book/part.h"
#include "book/search.h"
#include "proofrun/assot.h"
#include "proofrun/demo.h"
#include "shell/files.h"

namespace {

using namespace lemmix;

void VerifyEveryProtocol(benchmark::State& state) {
  Data().context.StartupOk = true;
  TBook book;
  book.Path = SystemPath(LEMMIX_DATA_DIR).value() + "\\book";
  book.Load();
  TAssotProccess assot(*Data().context.StFunc, Data().messages);
  if (!assot.LoadAssot(SystemPath(LEMMIX_DATA_DIR).value())) {
    state.SkipWithError("no ASSOT.DAT");
    return;
  }
  // The protocols read before timing: the replay is measured, not the disk.
  std::vector<std::pair<const TStatement*, std::vector<std::string>>> protocols;
  for (const TStatement* statement : StatementsBefore(book, nullptr)) {
    std::error_code error;
    for (std::filesystem::directory_iterator it(NativePath(statement->ProtocolDirectory()), error), end;
         !error && it != end; it.increment(error))
      if (it->path().extension() == ".prt")
        if (const auto lines = ReadLines(SystemPath(it->path().string()).value_or("")))
          protocols.emplace_back(statement, *lines);
  }
  if (protocols.empty()) {
    state.SkipWithError("no protocol");
    return;
  }
  std::vector<double> times;
  int failed = 0;
  for (auto _ : state) {
    times.clear();
    failed = 0;
    for (const auto& [statement, lines] : protocols) {
      const TVerifyResult result = VerifyProtocol(book, *statement, lines, &assot);
      failed += result.Passed ? 0 : 1;
      times.push_back(result.Milliseconds);
    }
  }
  if (failed > 0) state.SkipWithError("a protocol does not verify");
  std::sort(times.begin(), times.end());
  double total = 0;
  for (const double t : times) total += t;
  state.counters["protocols"] = static_cast<double>(times.size());
  state.counters["protocols_per_s"] =
      benchmark::Counter(static_cast<double>(times.size()), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["median_ms"] = times[times.size() / 2];
  state.counters["max_ms"] = times.back();
  state.counters["total_ms"] = total;
}
BENCHMARK(VerifyEveryProtocol)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
