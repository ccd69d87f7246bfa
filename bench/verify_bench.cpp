// Verification of every protocol saved in the bundled book, in one process:
// each replayed through its own driver as `lemmix-cli verify` does; the
// protocols verified per second and the time per protocol.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include "bench_catalogues.h"
#include "book/part.h"
#include "book/search.h"
#include "proofrun/assot.h"
#include "proofrun/demo.h"
#include "proofrun/driver.h"
#include "proofrun/method_proofs.h"
#include "proofrun/protocol.h"
#include "proofrun/script_ui.h"
#include "shell/files.h"

namespace {

using namespace lemmix;

// Every saved protocol of the book with its statement.
using TProtocols = std::vector<std::pair<const TStatement*, std::vector<std::string>>>;
TProtocols ReadProtocols(const TBook& book) {
  TProtocols protocols;
  for (const TStatement* statement : StatementsBefore(book, nullptr))
    for (const std::string& name : statement->ProtocolNames(false))
      if (const auto lines = ReadLines(statement->ProtocolDirectory() + "\\" + name + ".prt"))
        protocols.emplace_back(statement, *lines);
  return protocols;
}

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
  const TProtocols protocols = ReadProtocols(book);
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

// Each step of every protocol replayed on its own: the time of a user's step
// with the automatic tests after it (terminal test included), median and
// 95th percentile.
void ProofStepsOfTheBook(benchmark::State& state) {
  Data().context.StartupOk = true;
  TBook book;
  book.Path = SystemPath(LEMMIX_DATA_DIR).value() + "\\book";
  book.Load();
  TAssotProccess assot(*Data().context.StFunc, Data().messages);
  if (!assot.LoadAssot(SystemPath(LEMMIX_DATA_DIR).value())) {
    state.SkipWithError("no ASSOT.DAT");
    return;
  }
  const TProtocols protocols = ReadProtocols(book);
  std::vector<double> steps;
  TMethodProofs methods;
  for (auto _ : state) {
    steps.clear();
    for (const auto& [statement, lines] : protocols) {
      TProtocolRecorder protocol(Data().messages);
      TScriptUi none(book, {});
      TProofDriver driver(none, protocol, book, &assot);
      driver.SetMethodProofs(methods);
      TDemonstration demo(driver, protocol, book);
      if (!demo.Begin(*statement, lines)) continue;
      while (!demo.Ended()) {
        const auto start = std::chrono::steady_clock::now();
        const bool stepped = demo.Step();
        steps.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        if (!stepped) break;
      }
    }
  }
  if (steps.empty()) {
    state.SkipWithError("no step");
    return;
  }
  std::sort(steps.begin(), steps.end());
  state.counters["steps"] = static_cast<double>(steps.size());
  state.counters["median_ms"] = steps[steps.size() / 2];
  state.counters["p95_ms"] = steps[std::min(steps.size() - 1, steps.size() * 95 / 100)];
  state.counters["max_ms"] = steps.back();
}
BENCHMARK(ProofStepsOfTheBook)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
