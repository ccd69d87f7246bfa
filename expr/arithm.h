// Arithmetic normalisation of real terms and of conditions about them:
// division and minus become products and powers, sums and products are
// flattened and their constants folded, like terms and factors combined,
// powers simplified, products with sums expanded, polynomials of degree two
// or one in one variable factored, and relations reduced to a comparison
// with 0 that is decided when the other side is a number. In place, typed.
#pragma once

#include <optional>

#include "expr/expr.h"

namespace lemmix {

// The entry for conditions; answers whether e changed.
bool SimplifyCondition(TExpr& e);
// RewriteDivision, RewriteMinus and SimplifyTerms.
bool Standardize(TExpr& e);
bool RewriteDivision(TExpr& e);
bool RewriteMinus(TExpr& e);
bool SimplifyTerms(TExpr& e, bool expand);
bool SimplifySum(TExpr& s, bool expand);
bool SimplifyProduct(TExpr& p);
bool SimplifyPower(TExpr& w, bool expand);
bool Expand(TExpr& e);
bool ClearNegativePowers(TExpr& s);
bool FactorAll(TExpr& e);
bool Factorize(TExpr& s);

// e as a*x^2 + b*x + c in its one given (answer 0) or required (answer 1)
// variable; -1 when it is no such polynomial.
struct TQuadratic {
  TVar* Variable = nullptr;
  TClass VariableClass = TClass::DataVar;
  std::optional<TNumber> A, B, C;
};
int QuadraticCoeff(const TExpr& e, TQuadratic& result);

// The coefficient of x in e; the parts of e without x are collected in `rest`
// when it is given. Null when e is not linear in x.
TExprPtr LinearCoefficient(const TExpr& e, TExprList* rest, const TExpr& x);
// x from the equation L = 0; null when it is not linear in x or x drops out.
TExprPtr SolveLinear(const TExpr& equation, const TExpr& x);

}  // namespace lemmix
