// From a statement to its proof task: the kernel whose sections hold what the
// statement gives and what it claims, with the needed conditions of the goal,
// tested once.
#pragma once

#include <memory>
#include <string_view>

#include "prover/kernel.h"
#include "prover/tests.h"

namespace lemmix {

class TBook;
class TStatement;

// A formula read for the prover: parsed, its names resolved against the
// kernel's objects, typed, and logical. Nothing (after a message) otherwise.
TExprPtr ReadProverFormula(const TKernel& kernel, std::string_view text);
// A term read the same way (a factor, a value to substitute, an initial value).
TExprPtr ReadProverTerm(const TKernel& kernel, std::string_view text);

struct TTask {
  std::unique_ptr<TKernel> Kernel;
  // False when building the task failed or the tests already closed it
  // (Kernel->Proved tells which).
  bool GoesOn = false;
};

// The ordinary task of an axiom, theorem, lemma or task: the outermost ∀
// opened into given objects, the goal with its needed conditions.
TTask OrdinaryTask(const TExpr& formulation);

struct TDefinedNotions;
// The notions the definitions before the statement define (a definition's own
// notion is not among them).
TDefinedNotions DefinedBefore(const TBook& book, const TStatement& statement);

// The proof task of the statement by its kind; the book gives the notions
// defined before it and the earlier definitions of the same notion. The
// tests run under the switches of the statement's chapter, with the book's
// methods the proof may use.
TTask BuildTask(const TStatement& statement, const TBook& book, const TMethodsOfProof& methods = {},
                const TDeepMethodsOfProof& deepMethods = {});

}  // namespace lemmix
