// The definitions of a definition statement as the proof of its correctness
// and the methods read them: the single definitions of a formulation, and what
// each one defines and how.
#pragma once

#include <variant>
#include <vector>

#include "expr/expr.h"
#include "shell/message.h"

namespace lemmix {

struct TIntr;

// One definition with the premises and variables collected on the way to it.
struct TSingleDefinition {
  const TExpr* Body = nullptr;
  std::vector<const TExpr*> Premises;
  std::vector<const TVar*> Variables;
};

// Walks down from the top: a universal quantifier adds its variables, a
// conjunction splits, an implication adds its premise and goes on with its
// conclusion; anything else is one definition.
std::vector<TSingleDefinition> SplitDefinitions(const TExpr& formulation);

struct TDefinitionAnalysis {
  enum TKind : int { Formula = 0, Predicate = 1, Implicit = 2, Axiomatic = 3 };
  TKind Kind = Axiomatic;
  const TExpr* Term = nullptr;   // the notion applied to its arguments
  const TExpr* Right = nullptr;  // the value, the defining condition (none for an axiomatic description)
  const TVar* Value = nullptr;   // the value variable of an implicit definition
};

// What a single definition defines: an axiomatic description (its head is the
// notion), a function by an equality, a predicate by \ByDef, or a function
// implicitly by "y = term \ByDef condition" with y bound. The message says why
// it is none of them.
std::variant<TDefinitionAnalysis, TMessage> AnalyseDefinition(const TSingleDefinition& definition, const TIntr& notion);

}  // namespace lemmix
