#include "prover/patterns.h"

#include <algorithm>
#include <functional>

#include "expr/typing.h"

namespace lemmix {

TExprPtr AsPattern(const TExpr& e, const std::vector<const TVar*>& vars) {
  TExprPtr copy = DeepCopy(e);
  std::function<void(TExpr&)> walk = [&](TExpr& n) {
    if (n.IsVar()) {
      const auto it = std::find(vars.begin(), vars.end(), n.Var());
      if (it != vars.end()) {
        TType* type = (*it)->Type;
        ReplaceBy(n, TExpr::Par(TClass::TemplPar, static_cast<int>(it - vars.begin())));
        n.Type = type;
        return;
      }
    }
    if (n.Class == TClass::Compound)
      for (TExprPtr& child : n.Children()) walk(*child);
  };
  walk(*copy);
  return copy;
}

bool Complete(const TBinding& binding, std::size_t n) {
  if (binding.size() < n) return false;
  for (std::size_t i = 0; i < n; ++i)
    if (!binding[i]) return false;
  return true;
}

TExprPtr Instantiated(const TExpr& pattern, const TBinding& binding) {
  TExprPtr e = DeepCopy(pattern);
  std::vector<const TExpr*> values;
  for (const auto& v : binding) values.push_back(v.get());
  if (!SubstituteTemplParam(*e, values)) return nullptr;
  if (!CollectClass(*e, TClass::TemplPar).empty()) return nullptr;
  // Values made for the occasion (new objects) come without types; the
  // pattern's own nodes keep theirs.
  bool typed = true;
  std::function<void(TExpr&)> type = [&](TExpr& n) {
    if (n.Class == TClass::Compound)
      for (TExprPtr& child : n.Children()) type(*child);
    if (n.Class != TClass::Intr && ExprType(n, false) == nullptr) typed = false;
  };
  e->Type = nullptr;
  type(*e);
  return typed ? std::move(e) : nullptr;
}

}  // namespace lemmix
