// The terminal test: on a work copy of every task of the bundled book that
// the ordinary tests leave open (the time of one terminal test, median and
// 95th percentile, and how many it closes), and on random linear systems in
// three unknowns built around a point, with and without a contradiction.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>

#include "bench_catalogues.h"
#include "book/part.h"
#include "book/search.h"
#include "notation/parser.h"
#include "prover/task.h"
#include "prover/terminal.h"
#include "prover/tests.h"
#include "shell/files.h"

namespace {

using namespace lemmix;

void Percentiles(benchmark::State& state, std::vector<double> times) {
  if (times.empty()) return;
  std::sort(times.begin(), times.end());
  state.counters["cases"] = static_cast<double>(times.size());
  state.counters["median_ms"] = times[times.size() / 2];
  state.counters["p95_ms"] = times[std::min(times.size() - 1, times.size() * 95 / 100)];
  state.counters["max_ms"] = times.back();
}

void TerminalOnOpenBookTasks(benchmark::State& state) {
  Data().context.StartupOk = true;
  TBook book;
  book.Path = SystemPath(LEMMIX_DATA_DIR).value() + "\\book";
  book.Load();
  // The open tasks, built without the terminal test.
  std::vector<std::unique_ptr<TKernel>> open;
  for (const TStatement* statement : StatementsBefore(book, nullptr)) {
    if (statement->Kind() == "axiom") continue;
    Data().context.Settings.SetChapterSwitches(statement->Path);
    TTask task = BuildTask(*statement, book);
    if (task.GoesOn && !task.Kernel->Proved) open.push_back(std::move(task.Kernel));
  }
  std::vector<double> times;
  int closed = 0;
  for (auto _ : state) {
    times.clear();
    closed = 0;
    for (const std::unique_ptr<TKernel>& kernel : open) {
      std::unique_ptr<TKernel> copy = kernel->Copy({.Postponed = true, .Goal = true});
      copy->SearchMode = 2;
      const auto start = std::chrono::steady_clock::now();
      closed += TerminalTest(*copy, 1) ? 1 : 0;
      times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
  }
  state.counters["closed"] = closed;
  Percentiles(state, times);
}
BENCHMARK(TerminalOnOpenBookTasks)->Unit(benchmark::kMillisecond)->Iterations(3);

void TerminalOnRandomSystems(benchmark::State& state) {
  std::mt19937 random(7);
  const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  const char* names[] = {"x", "y", "z"};
  std::vector<TExprPtr> systems;
  std::vector<TVarList> free;
  for (int round = 0; round < 200; ++round) {
    const int point[3] = {pick(-3, 3), pick(-3, 3), pick(-3, 3)};
    std::string text;
    for (int i = 0, n = pick(3, 8); i < n; ++i) {
      std::string term;
      int value = 0;
      for (int k = 0; k < 3; ++k) {
        const int a = pick(-4, 4);
        value += a * point[k];
        if (a != 0) term += (term.empty() ? "" : " + ") + std::string("( ") + std::to_string(a) + " ) \\cdot " + names[k];
      }
      if (term.empty()) term = "0";
      // Every other system gets one inequality its point breaks.
      const int slack = round % 2 == 1 && i == 0 ? -1 : pick(0, 3);
      if (!text.empty()) text += " \\and ";
      text += term + " + ( " + std::to_string(slack - value) + " ) \\ge 0";
    }
    TReadFormula read = ReadFormula(text, false);
    if (!read.Tree) continue;
    systems.push_back(std::move(read.Tree));
    free.push_back(std::move(read.Free));
  }
  std::vector<double> times;
  for (auto _ : state) {
    times.clear();
    for (const TExprPtr& system : systems) {
      TExprList conditions;
      conditions.push_back(DeepCopy(*system));
      const auto start = std::chrono::steady_clock::now();
      benchmark::DoNotOptimize(Refute(conditions, true));
      times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
  }
  Percentiles(state, times);
}
BENCHMARK(TerminalOnRandomSystems)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
