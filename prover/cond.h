// A condition of the proof field: a logical formula of section 3 or 4 and how
// far the automatic tests have taken it.
#pragma once

#include <memory>
#include <vector>

#include "expr/expr.h"

namespace lemmix {

struct TCond;
using TCondPtr = std::unique_ptr<TCond>;
using TCondList = std::vector<TCondPtr>;

struct TCond {
  // The stage a new condition takes when conditions are not standardised
  // automatically: outside 1..3, so the automatic tests leave it alone.
  static constexpr int kUntested = 0;

  // 1..3: the stages of the automatic tests; 4: passed them unchanged.
  int Stage = kUntested;
  // The formula; a pending-subproof record may be an empty slot (null).
  TExprPtr Expr;

  // A condition from a formula: the formula standardised for a condition,
  // at stage 1 when "Automatically standardize" is on. Null when the
  // standardisation refuses the formula.
  static TCondPtr FromExpr(const TExpr& e);
  // A record of a pending subproof: the expression as it stands, at stage 1.
  static TCondPtr Record(TExprPtr e);
  // A copy at the same stage. The tree is copied node by node while the
  // objects it refers to are shared, so freeing either leaves the other whole.
  TCondPtr Copy() const;
};

TCondList CopyConds(const TCondList& conds);

}  // namespace lemmix
