// Arithmetic normalisation of real terms and of conditions about them:
// division and minus become products and powers, sums and products are
// flattened, their constants folded and their operands put in one canonical
// order, like terms and factors combined, powers simplified, products with
// sums expanded, polynomials of degree two or one in one variable factored
// over the rationals, and relations reduced to a comparison with 0 that is
// decided when the other side is a number. In place, typed.
//
// Every rewrite keeps both the value and the domain of definition: where the
// input is defined the output is defined and equal (equivalent), and where
// the input is undefined (a division by zero, 0^0, a root of a negative
// number, a partial function outside its restrictions) so is the output. So
// x*x^-1 becomes x^0 (1 wherever x is not 0), not 1, and 1/(x-x) = 0 stays
// undecided. Arithmetic is exact; what cannot be computed exactly stays as
// it was written.
#pragma once

#include <functional>
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

// While it lives, the normaliser takes e as a term that is not 0: a fact of
// the proof field (a given t ≠ 0) under which the terms around are read. It
// lets t^0 be 1 and t*t^-1 cancel there.
class TAssumeNonzero {
 public:
  explicit TAssumeNonzero(const TExpr& e);
  ~TAssumeNonzero();
  TAssumeNonzero(const TAssumeNonzero&) = delete;
  TAssumeNonzero& operator=(const TAssumeNonzero&) = delete;
};

// Whether e is defined for every value of its variables: no division by what
// may be 0, no power outside its domain, no partial function (one whose
// functional type carries restrictions).
bool IsEverywhereDefined(const TExpr& e);

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
// x from the equation L = 0; null when it is not linear in x, or when its
// coefficient is not a non-zero number and `nonzero` (what is known to be
// non-zero, when given) does not vouch for it.
TExprPtr SolveLinear(const TExpr& equation, const TExpr& x,
                     const std::function<bool(const TExpr&)>& nonzero = nullptr);

}  // namespace lemmix
