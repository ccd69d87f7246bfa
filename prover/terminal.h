// The terminal test: the last try of an automatic completion. The work copy
// becomes a refutation problem — its given conditions and the negation of
// its goal — decided by splitting disjunctions into cases and eliminating
// the terms of linear inequalities one by one (Fourier–Motzkin) over exact
// rationals. Every non-linear term (a product of objects, |x|, x^2, a
// function value) is an unknown of its own and every condition that is not
// a comparison of real numbers an opaque proposition, so a refutation found
// for them holds for the conditions themselves. A bound reached is "not
// proved", never "proved".
#pragma once

#include "expr/expr.h"
#include "prover/kernel.h"

namespace lemmix {

enum class TRefutation {
  Refuted,  // the conditions cannot hold together
  Open,     // a case is consistent
  Bounded,  // a bound on cases or combinations was reached
};

// Whether the conditions (typed formulas) contradict each other. Without
// the arithmetic package comparisons are opaque propositions too.
TRefutation Refute(const TExprList& conditions, bool arithmetic);

// The terminal test on a work copy: its given conditions (and postponed
// disjunctions) with the negation of its goal when it has no required
// objects. True when they contradict each other; the copy is then proved.
bool TerminalTest(TKernel& kernel, int depth);

}  // namespace lemmix
