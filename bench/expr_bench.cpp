// The cost of the basic operations on expression trees by their size: copying,
// comparing commutative sums, substituting, and the storage round trip.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

#include "bench_catalogues.h"
#include "expr/expr.h"
#include "intrinsics/intr_numbers.h"
#include "intrinsics/st_func.h"
#include "shell/context.h"
#include "shell/recording_messages.h"
#include "types/types_proccess.h"

namespace {

using namespace lemmix;

TExprPtr Variable(int index) {
  auto v = std::make_shared<TVar>(TVar{{'x', index}, Data().context.TypesProccess->FindType("rT", false)});
  TExprPtr e = TExpr::NodefVar(v);
  e->Type = v->Type;
  return e;
}

// A balanced tree of sums and products over numbered variables: about n nodes.
TExprPtr Tree(int n, int& next) {
  if (n <= 2) return Variable(next++);
  TExprList children;
  TExpr head;
  TExprPtr op = TExpr::OfIntr(*Data().context.StFunc->Intr(next % 2 ? 3 : 4));
  op->Type = Data().context.TypesProccess->FindType("rFunc2T", false);
  children.push_back(std::move(op));
  children.push_back(Tree((n - 1) / 2, next));
  children.push_back(Tree((n - 1) / 2, next));
  return TExpr::Compound(std::move(children));
}

TExprPtr Tree(int n) {
  int next = 0;
  return Tree(n, next);
}

// One flat sum of n distinct operands in the given order, with the commutative type.
TExprPtr Sum(const std::vector<TExprPtr>& operands, const std::vector<int>& order) {
  TExprList children;
  TExprPtr plus = TExpr::OfIntr(*Data().context.StFunc->Intr(kPlus));
  plus->Type = Data().context.TypesProccess->FindType("rOpT", false);
  children.push_back(std::move(plus));
  for (const int i : order) children.push_back(ShallowCopy(*operands[i]));
  return TExpr::Compound(std::move(children));
}

void BM_DeepCopy(benchmark::State& state) {
  const TExprPtr tree = Tree(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(DeepCopy(*tree));
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_DeepCopy)->RangeMultiplier(10)->Range(1000, 100000)->Complexity();

void BM_CompCommutativeSum(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::vector<TExprPtr> operands;
  for (int i = 0; i < n; ++i) operands.push_back(Variable(i));
  std::vector<int> order(n);
  for (int i = 0; i < n; ++i) order[i] = i;
  const TExprPtr a = Sum(operands, order);
  std::shuffle(order.begin(), order.end(), std::mt19937(1));
  const TExprPtr b = Sum(operands, order);
  for (auto _ : state) benchmark::DoNotOptimize(Comp(*a, *b));
  state.SetItemsProcessed(state.iterations() * n);
  state.SetComplexityN(n);
}
BENCHMARK(BM_CompCommutativeSum)->RangeMultiplier(4)->Range(16, 4096)->Complexity();

void BM_Substitute(benchmark::State& state) {
  const TExprPtr tree = Tree(static_cast<int>(state.range(0)));
  const TExprPtr pattern = ShallowCopy(*ArgByPath(*tree, 11111));
  const TExprPtr replacement = Tree(15);
  for (auto _ : state) benchmark::DoNotOptimize(Substitute(*tree, *pattern, *replacement));
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Substitute)->RangeMultiplier(10)->Range(1000, 100000)->Complexity();

void BM_StorageRoundTrip(benchmark::State& state) {
  const TExprPtr tree = Tree(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TVarList scope;
    benchmark::DoNotOptimize(FromString(ToString(*tree), &scope));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_StorageRoundTrip)->RangeMultiplier(10)->Range(1000, 100000)->Complexity();

}  // namespace


