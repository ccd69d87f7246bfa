// The cost of standardising polynomials by their number of terms, and of
// expanding products of sums.
#include <benchmark/benchmark.h>

#include <random>

#include "bench_catalogues.h"
#include "expr/arithm.h"
#include "expr/typing.h"
#include "types/types_proccess.h"
#include "intrinsics/st_func.h"

namespace {

using namespace lemmix;

TExprPtr Make(int head, TExprList args) {
  TExprList children;
  children.push_back(TExpr::OfIntr(*Ctx().StFunc->Intr(head)));
  for (TExprPtr& a : args) children.push_back(std::move(a));
  TExprPtr e = TExpr::Compound(std::move(children));
  ExprType(*e, false);
  return e;
}

std::vector<TVarPtr>& Variables() {
  static std::vector<TVarPtr> vars = [] {
    std::vector<TVarPtr> v;
    for (const char letter : {'x', 'y', 'z'})
      v.push_back(std::make_shared<TVar>(TVar{{letter, -1}, Ctx().TypesProccess->FindType("rT", false)}));
    return v;
  }();
  return vars;
}

TExprPtr VarNode(int i) {
  TExprPtr e = TExpr::VarRef(TClass::DataVar, *Variables()[i]);
  e->Type = Variables()[i]->Type;
  return e;
}

// n random monomials c * x^i * y^j * z^k with small exponents: many alike.
TExprPtr Polynomial(int n) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> exponent(0, 3);
  std::uniform_int_distribution<int> coefficient(-9, 9);
  TExprList terms;
  for (int t = 0; t < n; ++t) {
    TExprList factors;
    factors.push_back(TExpr::Number(TNumber(coefficient(random))));
    for (int v = 0; v < 3; ++v) {
      TExprList power;
      power.push_back(VarNode(v));
      power.push_back(TExpr::Number(TNumber(exponent(random))));
      factors.push_back(Make(6, std::move(power)));
    }
    terms.push_back(Make(4, std::move(factors)));
  }
  return Make(3, std::move(terms));
}

void BM_SimplifyPolynomial(benchmark::State& state) {
  Data();
  const TExprPtr polynomial = Polynomial(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TExprPtr copy = DeepCopy(*polynomial);
    SimplifyTerms(*copy, true);
    benchmark::DoNotOptimize(copy);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SimplifyPolynomial)->RangeMultiplier(10)->Range(10, 1000)->Complexity();

// (x + 1)(y + 2)(z + 3)(x + 4)...: k factors, 2^k terms when expanded.
void BM_ExpandProductOfSums(benchmark::State& state) {
  Data();
  const int k = static_cast<int>(state.range(0));
  TExprList factors;
  for (int i = 0; i < k; ++i) {
    TExprList sum;
    sum.push_back(VarNode(i % 3));
    sum.push_back(TExpr::Number(TNumber(i + 1)));
    factors.push_back(Make(3, std::move(sum)));
  }
  const TExprPtr product = Make(4, std::move(factors));
  for (auto _ : state) {
    TExprPtr sum = Make(3, [&] {
      TExprList args;
      args.push_back(DeepCopy(*product));
      args.push_back(TExpr::Number(TNumber(1)));
      return args;
    }());
    SimplifyTerms(*sum, true);
    benchmark::DoNotOptimize(sum);
  }
  state.SetComplexityN(1 << k);
}
BENCHMARK(BM_ExpandProductOfSums)->DenseRange(2, 8, 2)->Complexity();

}  // namespace
