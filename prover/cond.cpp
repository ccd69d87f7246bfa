#include "prover/cond.h"

#include "expr/logic.h"
#include "shell/context.h"

namespace lemmix {

TCondPtr TCond::FromExpr(const TExpr& e) {
  TExprPtr standard = StandardiseForCondition(e);
  if (!standard) return nullptr;
  auto cond = std::make_unique<TCond>();
  cond->Expr = std::move(standard);
  if (Ctx().Settings.AutoStandard) cond->Stage = 1;
  return cond;
}

TCondPtr TCond::Record(TExprPtr e) {
  auto cond = std::make_unique<TCond>();
  cond->Expr = std::move(e);
  cond->Stage = 1;
  return cond;
}

TCondPtr TCond::Copy() const {
  auto cond = std::make_unique<TCond>();
  cond->Stage = Stage;
  if (Expr) cond->Expr = ShallowCopy(*Expr);
  return cond;
}

TCondList CopyConds(const TCondList& conds) {
  TCondList copies;
  copies.reserve(conds.size());
  for (const TCondPtr& cond : conds) copies.push_back(cond->Copy());
  return copies;
}

}  // namespace lemmix
