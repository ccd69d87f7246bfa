// Parse, type and print formulas by their number of items.
#include <benchmark/benchmark.h>

#include "bench_catalogues.h"
#include "notation/output.h"
#include "notation/parser.h"

namespace {

using namespace lemmix;

// A sum of n products x_i * (y + i), as stored text: about 8 items a term.
std::string SumText(int terms) {
  std::string text;
  for (int i = 0; i < terms; ++i) text += (i ? " + " : "") + std::string("x") + std::to_string(i) + " \\cdot ( y + " + std::to_string(i) + " )";
  return text;
}

// A conjunction of n quantified conditions.
std::string ConjunctionText(int parts) {
  std::string text;
  for (int i = 0; i < parts; ++i)
    text += (i ? " \\and " : "") + std::string("( \\forall x \\in \\N : x > ") + std::to_string(i) + " \\Vld x ^ 2 > y )";
  return text;
}

void Run(benchmark::State& state, const std::string& text) {
  Data();
  const std::optional<TItemList> items = StringToItems(text, true);
  if (!items) std::abort();
  for (auto _ : state) {
    TExprPtr tree = ParseItems(*items);
    TVarList given;
    if (!tree || !DeclareVariables(*tree, given, false)) std::abort();
    benchmark::DoNotOptimize(TreeToItems(*tree));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(items->size()));
  state.counters["items"] = static_cast<double>(items->size());
  state.SetComplexityN(static_cast<std::int64_t>(items->size()));
}

void BM_ParseTypePrintSum(benchmark::State& state) { Run(state, SumText(static_cast<int>(state.range(0)))); }
BENCHMARK(BM_ParseTypePrintSum)->RangeMultiplier(10)->Range(2, 2000)->Complexity();

void BM_ParseTypePrintQuantified(benchmark::State& state) { Run(state, ConjunctionText(static_cast<int>(state.range(0)))); }
BENCHMARK(BM_ParseTypePrintQuantified)->RangeMultiplier(10)->Range(1, 1000)->Complexity();

}  // namespace
