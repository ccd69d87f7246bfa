#include "expr/uncompound.h"

#include <algorithm>

#include "expr/typing.h"
#include "intrinsics/intr_numbers.h"
#include "shell/context.h"
#include "shell/cp1251.h"
#include "types/type.h"

namespace lemmix {

namespace {

// The operations that act on functions value by value: (f op g)(x) = f(x) op g(x).
bool IsPointwise(int head) {
  return head == kMinus || head == kPlus || head == kTimes || head == kDivide || head == kPower;
}

// Typing gives a sum of functions the value type of its operands, so a
// pointwise combination counts as a function when one of its operands is one.
bool IsFunctionValued(const TExpr& e) {
  if (e.Type != nullptr && e.Type->Base() == TBase::Fun) return true;
  if (!IsPointwise(e.HeadIntrinsic())) return false;
  const TExprList& operands = e.Children();
  return std::any_of(operands.begin() + 1, operands.end(), [](const TExprPtr& h) { return IsFunctionValued(*h); });
}

bool ArgumentlessIntrinsic(const TExpr& head) {
  return head.Class == TClass::Compound && head.Children().size() == 1 && head.Children().front()->Intrinsic();
}

// Rewrites e in place; `changed` tells whether any application was distributed.
bool Uncompound(TExpr& e, bool& changed) {
  if (e.Class == TClass::Templ) return e.Inner() == nullptr || Uncompound(*e.Inner(), changed);
  if (e.Class != TClass::Compound || e.Children().empty()) return true;
  TExprList& children = e.Children();
  TExpr& head = *children.front();
  if (ArgumentlessIntrinsic(head)) {
    Ctx().Messages.Error({"Ошибка разработчика : 2 in HeadUncompound(Cond)"_cp, "Error 2 in HeadUncompound(Cond)"});
    return false;
  }
  if (head.Class == TClass::Compound && IsPointwise(head.HeadIntrinsic()) && IsFunctionValued(head)) {
    TExprList operands;
    operands.push_back(TExpr::OfIntr(*head.Head()->Intrinsic()));
    for (std::size_t k = 1; k < head.Children().size(); ++k) {
      TExprPtr h = std::move(head.Children()[k]);
      if (!IsFunctionValued(*h)) {
        operands.push_back(std::move(h));
        continue;
      }
      TExprList applied;
      applied.push_back(std::move(h));
      for (std::size_t i = 1; i < children.size(); ++i) applied.push_back(DeepCopy(*children[i]));
      operands.push_back(TExpr::Compound(std::move(applied)));
    }
    TExprPtr distributed = TExpr::Compound(std::move(operands));
    distributed->Bound = std::move(e.Bound);
    if (ExprType(*distributed, false) == nullptr) return false;
    ReplaceBy(e, std::move(distributed));
    changed = true;
    // The operands now stand at heads of their own: (f * g + h)(x) goes on to f(x) * g(x) + h(x).
    return Uncompound(e, changed);
  }
  for (TExprPtr& child : children)
    if (!Uncompound(*child, changed)) return false;
  return true;
}

}  // namespace

TExprPtr HeadUncompound(const TExpr& e) {
  TExprPtr copy = DeepCopy(e);
  bool changed = false;
  if (!Uncompound(*copy, changed)) return nullptr;
  // The nodes above a distributed application took their types from the old form.
  if (changed && !Retype(*copy, false)) return nullptr;
  return copy;
}

}  // namespace lemmix
