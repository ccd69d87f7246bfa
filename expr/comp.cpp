// The total order of expressions, with matching of patterns.
#include <algorithm>

#include "expr/expr.h"
#include "expr/templates.h"
#include "intrinsics/intr_numbers.h"
#include "intrinsics/st_func.h"
#include "shell/context.h"
#include "types/types_proccess.h"
#include "shell/cp1251.h"
#include "types/type.h"
#include "types/type_relations.h"

namespace lemmix {

namespace {

int Order(int a, int b) { return (a > b) - (a < b); }

void CompError(int number) {
  Ctx().Messages.Error(
      {"Ошибка разработчика "_cp + std::to_string(number) + " : in TExpr::Comp (Expr).",
       "Error " + std::to_string(number) + " in TExpr::Comp (Expr)."});
}

bool TypeFits(const TType* a, const TType* b) { return a != nullptr && IsSubtypeOf(a, b, *Ctx().TypesProccess); }

// Binds parameter `index` to `value` in every alternative that can take it;
// false when no alternative is left.
bool Bind(TPatternBindings& patterns, int index, const std::shared_ptr<const TExpr>& value) {
  TPatternBindings kept;
  for (TBinding& alternative : patterns) {
    if (index < 0) continue;
    if (alternative.size() <= static_cast<std::size_t>(index)) alternative.resize(index + 1);
    auto& slot = alternative[index];
    if (!slot) {
      slot = value;
      kept.push_back(std::move(alternative));
    } else if (Equal(*slot, *value)) {
      kept.push_back(std::move(alternative));
    }
  }
  patterns = std::move(kept);
  return !patterns.empty();
}

int CompIn(const TExpr& a, const TExpr& b, TBindingLists& lists, bool alpha, TPatternBindings* patterns);

// Whether e refers to a variable bound in the matched formula around the
// point of comparison: such a value would leave its binder behind.
bool RefersToBound(const TExpr& e, const TBindingLists& lists) {
  if (lists.A.empty()) return false;
  switch (e.Class) {
    case TClass::LocVar: return std::find(lists.A.begin(), lists.A.end(), e.Var()) != lists.A.end();
    case TClass::Compound:
      for (const TExprPtr& child : e.Children())
        if (RefersToBound(*child, lists)) return true;
      return false;
    case TClass::Templ: return e.Inner() && RefersToBound(*e.Inner(), lists);
    default: return false;
  }
}

// Replaces, in a copy of a, every occurrence of b's arguments by the template
// parameter of the argument's position; a bound variable of a stands for the
// variable bound at the same place in b.
void Abstract(TExpr& e, const TExprList& pattern, TBindingLists& lists) {
  for (std::size_t i = 1; i < pattern.size(); ++i) {
    if (CompIn(e, *pattern[i], lists, true, nullptr) == 0) {
      TType* type = e.Type;
      ReplaceBy(e, TExpr::Par(TClass::TemplPar, static_cast<int>(i)));
      e.Type = type;
      return;
    }
  }
  if (e.Class == TClass::Compound)
    for (TExprPtr& child : e.Children()) Abstract(*child, pattern, lists);
}

// b is F(x1..xk) with F a template parameter.
int MatchApplication(const TExpr& a, const TExpr& b, TBindingLists& lists, bool alpha, TPatternBindings* patterns) {
  const TExprList& bc = b.Children();
  if (a.Class == TClass::Compound && a.Children().size() == bc.size()) {
    TPatternBindings trial = patterns ? *patterns : TPatternBindings{};
    bool all = true;
    for (std::size_t i = 0; i < bc.size() && all; ++i)
      all = CompIn(*a.Children()[i], *bc[i], lists, alpha, patterns ? &trial : nullptr) == 0;
    if (all) {
      if (patterns) *patterns = std::move(trial);
      return 0;
    }
  }
  TExprPtr body = DeepCopy(a);
  Abstract(*body, bc, lists);
  // What was not abstracted may not refer to a variable bound around it.
  if (RefersToBound(*body, lists)) return 1;
  const TType* type = TemplateType(*body);
  const TExpr& f = *bc.front();
  if (!TypeFits(type, f.Type)) return 1;
  if (patterns == nullptr) return 0;
  std::shared_ptr<const TExpr> templ = TExpr::Templ(std::move(body));
  return Bind(*patterns, f.ParIndex(), templ) ? 0 : 1;
}

const TType* CatalogueTypeOf(const TVar* v) { return v ? v->Type : nullptr; }

int CompareLocal(const TExpr& a, const TExpr& b, const TBindingLists& lists, bool alpha) {
  const int order = CatalogueOrder(CatalogueTypeOf(a.Var()), CatalogueTypeOf(b.Var()));
  if (order != 0) return order;
  if (a.Var() == b.Var()) return 0;
  if (!alpha) return 1;
  // The innermost binder of a name counts: search from the end.
  const auto position = [](const std::vector<const TVar*>& list, const TVar* v) {
    const auto it = std::find(list.rbegin(), list.rend(), v);
    return it == list.rend() ? -1 : static_cast<int>(list.rend() - it - 1);
  };
  const int pa = position(lists.A, a.Var());
  const int pb = position(lists.B, b.Var());
  if (pa >= 0 && pa == pb) return 0;
  return pa < 0 || pa < pb ? -1 : 1;
}

bool CommutativeHead(const TExpr& a) {
  const TExpr* head = a.Head();
  const TType* type = head ? head->Type : nullptr;
  if (type == nullptr || type->Fun() == nullptr || !type->Fun()->Commutative) return false;
  return Ctx().Settings.SymbolTransEnable || a.HeadIntrinsic() == kEq;
}

// A one-to-one assignment of a's operands to b's under which every pair
// compares 0, by backtracking; with patterns every consistent one is collected.
bool Assign(const std::vector<const TExpr*>& xs, const std::vector<const TExpr*>& ys, std::size_t i,
            std::vector<bool>& used, TBindingLists& lists, bool alpha, TPatternBindings* patterns,
            TPatternBindings* collected) {
  if (i == xs.size()) {
    if (collected) collected->insert(collected->end(), patterns->begin(), patterns->end());
    return true;
  }
  bool found = false;
  for (std::size_t j = 0; j < ys.size(); ++j) {
    if (used[j]) continue;
    TPatternBindings trial = patterns ? *patterns : TPatternBindings{};
    if (CompIn(*xs[i], *ys[j], lists, alpha, patterns ? &trial : nullptr) != 0) continue;
    used[j] = true;
    const bool ok = Assign(xs, ys, i + 1, used, lists, alpha, patterns ? &trial : nullptr, collected);
    used[j] = false;
    if (ok) {
      found = true;
      if (!collected) return true;
    }
  }
  return found;
}

int CompareCompounds(const TExpr& a, const TExpr& b, TBindingLists& lists, bool alpha, TPatternBindings* patterns) {
  if (!std::holds_alternative<TExprList>(a.Data) || !std::holds_alternative<TExprList>(b.Data)) {
    CompError(1);
    return 1;
  }
  const TExprList& ac = a.Children();
  const TExprList& bc = b.Children();
  if (ac.empty() || bc.empty()) {
    CompError(2);
    return 1;
  }
  // Bound variables.
  if (a.Bound.has_value() != b.Bound.has_value()) return a.Bound ? -1 : 1;
  std::size_t pushed = 0;
  struct Unpush {
    TBindingLists& lists;
    std::size_t& count;
    ~Unpush() {
      lists.A.resize(lists.A.size() - count);
      lists.B.resize(lists.B.size() - count);
    }
  } unpush{lists, pushed};
  if (a.Bound) {
    if (a.Bound->size() != b.Bound->size()) return a.Bound->size() < b.Bound->size() ? -1 : 1;
    for (std::size_t i = 0; i < a.Bound->size(); ++i) {
      const int order = CatalogueOrder((*a.Bound)[i]->Type, (*b.Bound)[i]->Type);
      if (order != 0) return order;
    }
    for (std::size_t i = 0; i < a.Bound->size(); ++i) {
      lists.A.push_back((*a.Bound)[i].get());
      lists.B.push_back((*b.Bound)[i].get());
    }
    pushed = a.Bound->size();
  }
  // A comparison against its mirror, with the symbol transformation package.
  const int ha = a.HeadIntrinsic();
  const int hb = b.HeadIntrinsic();
  const bool mirrored = (ha == kLt && hb == kGt) || (ha == kGt && hb == kLt) || (ha == kLe && hb == kGe) ||
                        (ha == kGe && hb == kLe);
  if (mirrored && Ctx().Settings.SymbolTransEnable && ac.size() == 3 && bc.size() == 3) {
    const int first = CompIn(*ac[1], *bc[2], lists, alpha, patterns);
    return first != 0 ? first : CompIn(*ac[2], *bc[1], lists, alpha, patterns);
  }
  const int heads = CompIn(*ac[0], *bc[0], lists, alpha, patterns);
  if (heads != 0) return heads;
  if (CommutativeHead(a)) {
    const TIntr* f = ac[0]->Intrinsic();
    std::vector<const TExpr*> xs;
    std::vector<const TExpr*> ys;
    if (f != nullptr && f->Nary) {
      xs = Operands(a, f->Number);
      ys = Operands(b, f->Number);
    } else {
      for (std::size_t i = 1; i < ac.size(); ++i) xs.push_back(ac[i].get());
      for (std::size_t i = 1; i < bc.size(); ++i) ys.push_back(bc[i].get());
    }
    if (xs.size() != ys.size()) return xs.size() < ys.size() ? -1 : 1;
    std::vector<bool> used(ys.size(), false);
    TPatternBindings collected;
    if (!Assign(xs, ys, 0, used, lists, alpha, patterns, patterns ? &collected : nullptr)) return 1;
    if (patterns) *patterns = std::move(collected);
    return 0;
  }
  if (ac.size() != bc.size()) return ac.size() < bc.size() ? -1 : 1;
  for (std::size_t i = 1; i < ac.size(); ++i) {
    const int order = CompIn(*ac[i], *bc[i], lists, alpha, patterns);
    if (order != 0) return order;
  }
  return 0;
}

int Text(const std::string& a, const std::string& b) { return a < b ? -1 : a == b ? 0 : 1; }

// The comparison with the binders met so far in `lists`; `alpha` tells
// whether bound variables are compared by their places there.
int CompIn(const TExpr& a, const TExpr& b, TBindingLists& lists, bool alpha, TPatternBindings* patterns) {
  if (a.Class == TClass::TemplPar) {
    CompError(14);
    return 1;
  }
  if (b.Class == TClass::TemplPar) {
    if (!TypeFits(a.Type, b.Type)) return 1;
    // A parameter stands for one value in the whole formula: it cannot take
    // a variable bound inside it (only F(x1..xk) abstracts those).
    if (RefersToBound(a, lists)) return 1;
    if (patterns == nullptr) return 0;
    return Bind(*patterns, b.ParIndex(), std::shared_ptr<const TExpr>(DeepCopy(a))) ? 0 : 1;
  }
  if (b.Class == TClass::Compound && b.Head() && b.Head()->Class == TClass::TemplPar)
    return MatchApplication(a, b, lists, alpha, patterns);
  if (a.Class != b.Class) return a.Class < b.Class ? -1 : 1;
  switch (a.Class) {
    case TClass::Intr: return Order(a.Intrinsic()->Number, b.Intrinsic()->Number);
    case TClass::Number: return Compare(*a.NumberValue(), *b.NumberValue());
    case TClass::NodefVar:
    case TClass::DataVar:
    case TClass::ProveVar: {
      const TVar* x = a.Var();
      const TVar* y = b.Var();
      if (x == y) return 0;
      if (x->Name.Letter != y->Name.Letter) return Order(x->Name.Letter, y->Name.Letter);
      if (x->Name.Index != y->Name.Index) return Order(x->Name.Index, y->Name.Index);
      return 1;
    }
    case TClass::LocVar: return CompareLocal(a, b, lists, alpha);
    case TClass::MathPar: return Order(a.ParIndex(), b.ParIndex());
    case TClass::NoClass: return 1;  // an empty node has no payload to be equal by
    case TClass::Templ: return a.Inner() && b.Inner() && Equal(*a.Inner(), *b.Inner()) ? 0 : 1;
    case TClass::Compound: return CompareCompounds(a, b, lists, alpha, patterns);
    case TClass::String: return Text(*a.Text(), *b.Text());
    case TClass::AntIntr: {
      const TIntr* x = a.Antonym()->Intr;
      const TIntr* y = b.Antonym()->Intr;
      return x == y ? 0 : x && y ? Order(x->Number, y->Number) : (x == nullptr ? -1 : 1);
    }
    default:
      CompError(3);
      return 1;
  }
}

}  // namespace

int Comp(const TExpr& a, const TExpr& b, TBindingLists* lists, TPatternBindings* patterns) {
  if (lists != nullptr) return CompIn(a, b, *lists, true, patterns);
  // The binders are followed all the same, so that a pattern never takes a
  // bound variable. A pattern matches whatever its bound variables are named;
  // a plain comparison without lists takes them by identity.
  TBindingLists local;
  return CompIn(a, b, local, patterns != nullptr, patterns);
}

bool Equal(const TExpr& a, const TExpr& b) { return Comp(a, b) == 0; }

}  // namespace lemmix
