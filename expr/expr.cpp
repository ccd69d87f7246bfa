#include "expr/expr.h"

#include <algorithm>
#include <map>

#include "intrinsics/st_func.h"
#include "shell/context.h"
#include "types/types_proccess.h"

namespace lemmix {

namespace {

constexpr const char* kClassNames[] = {"no_class", "intr",     "number",    "string",   "nodef_var",
                                       "data_var", "prove_var", "loc_var",  "math_par", "templ_par",
                                       "compound", "templ",    "ant_intr"};

TExprPtr Make(TClass c, TExpr::Payload data) {
  auto e = std::make_unique<TExpr>();
  e->Class = c;
  e->Data = std::move(data);
  return e;
}

}  // namespace

const char* ClassName(TClass c) {
  const auto index = static_cast<std::size_t>(c);
  return index < std::size(kClassNames) ? kClassNames[index] : "";
}

TClass ClassFromName(std::string_view name) {
  for (std::size_t i = 0; i < std::size(kClassNames); ++i)
    if (name == kClassNames[i]) return static_cast<TClass>(i);
  return TClass::NoClass;
}

TExprPtr TExpr::Empty() { return std::make_unique<TExpr>(); }

TExprPtr TExpr::Number(const TNumber& n) {
  TExprPtr e = Make(TClass::Number, n);
  if (HasContext() && Ctx().TypesProccess) e->Type = Ctx().TypesProccess->FindType(TypeIdOf(n), false);
  return e;
}

TExprPtr TExpr::OfIntr(TIntr& f) { return Make(TClass::Intr, &f); }
TExprPtr TExpr::OfAntIntr(TAntIntr& a) { return Make(TClass::AntIntr, &a); }
TExprPtr TExpr::String(std::string text) { return Make(TClass::String, std::move(text)); }
TExprPtr TExpr::NodefVar(TVarPtr v) { return Make(TClass::NodefVar, std::move(v)); }
TExprPtr TExpr::VarRef(TClass c, TVar& v) { return Make(c, &v); }
TExprPtr TExpr::Par(TClass c, int n) { return Make(c, n); }
TExprPtr TExpr::Compound(TExprList children) { return Make(TClass::Compound, std::move(children)); }
TExprPtr TExpr::Templ(TExprPtr inner) { return Make(TClass::Templ, std::move(inner)); }

TIntr* TExpr::Intrinsic() const {
  const auto* f = std::get_if<TIntr*>(&Data);
  return Class == TClass::Intr && f ? *f : nullptr;
}

TAntIntr* TExpr::Antonym() const {
  const auto* a = std::get_if<TAntIntr*>(&Data);
  return Class == TClass::AntIntr && a ? *a : nullptr;
}

const TNumber* TExpr::NumberValue() const { return std::get_if<TNumber>(&Data); }
const std::string* TExpr::Text() const { return std::get_if<std::string>(&Data); }

TVar* TExpr::Var() const {
  if (const auto* owned = std::get_if<TVarPtr>(&Data)) return owned->get();
  if (const auto* ref = std::get_if<TVar*>(&Data)) return *ref;
  return nullptr;
}

int TExpr::ParIndex() const {
  const int* n = std::get_if<int>(&Data);
  return n ? *n : -1;
}

TExprList& TExpr::Children() {
  if (!std::holds_alternative<TExprList>(Data)) Data = TExprList{};
  return std::get<TExprList>(Data);
}

const TExprList& TExpr::Children() const {
  static const TExprList kNone;
  const auto* children = std::get_if<TExprList>(&Data);
  return children ? *children : kNone;
}

TExpr* TExpr::Inner() const {
  const auto* inner = std::get_if<TExprPtr>(&Data);
  return inner ? inner->get() : nullptr;
}

int TExpr::HeadIntrinsic() const {
  if (Class != TClass::Compound || Children().empty()) return kNoHead;
  const TIntr* f = Children().front()->Intrinsic();
  return f ? f->Number : kNoHead;
}

TExpr* TExpr::Head() const { return Class == TClass::Compound && !Children().empty() ? Children().front().get() : nullptr; }

bool TExpr::IsIntr(int number) const {
  const TIntr* f = Intrinsic();
  return f != nullptr && f->Number == number;
}

std::string TExpr::HeadWord() const {
  const TExpr* head = Head();
  return head && head->Intrinsic() ? head->Intrinsic()->Name : std::string();
}

// ---------------------------------------------------------------------------
// Copies.

TExprPtr ShallowCopy(const TExpr& e) {
  auto copy = std::make_unique<TExpr>();
  copy->Class = e.Class;
  copy->Type = e.Type;
  copy->Bound = e.Bound;
  std::visit(
      [&](const auto& payload) {
        using P = std::decay_t<decltype(payload)>;
        if constexpr (std::is_same_v<P, TExprList>) {
          TExprList children;
          for (const TExprPtr& child : payload) children.push_back(ShallowCopy(*child));
          copy->Data = std::move(children);
        } else if constexpr (std::is_same_v<P, TExprPtr>) {
          copy->Data = payload ? DeepCopy(*payload) : TExprPtr();
        } else {
          copy->Data = payload;
        }
      },
      e.Data);
  return copy;
}

namespace {

// Re-points the variable nodes of a fresh copy: bound variables to their new
// copies, and with `ownUndeclared` each undeclared variable to a copy of its own.
void Refresh(TExpr& e, std::map<const TVar*, TVar*>& renamed, bool ownUndeclared) {
  std::vector<const TVar*> added;
  if (e.Bound) {
    for (TVarPtr& v : *e.Bound) {
      auto fresh = std::make_shared<TVar>(*v);
      renamed[v.get()] = fresh.get();
      added.push_back(v.get());
      v = std::move(fresh);
    }
  }
  if (e.Class == TClass::LocVar) {
    const auto it = renamed.find(e.Var());
    if (it != renamed.end()) e.Data = it->second;
  } else if (e.Class == TClass::NodefVar && ownUndeclared) {
    e.Data = std::make_shared<TVar>(*e.Var());
  } else if (e.Class == TClass::Compound) {
    for (TExprPtr& child : e.Children()) Refresh(*child, renamed, ownUndeclared);
  } else if (e.Class == TClass::Templ && e.Inner()) {
    Refresh(*e.Inner(), renamed, ownUndeclared);
  }
  for (const TVar* old : added) renamed.erase(old);
}

}  // namespace

TExprPtr DeepCopy(const TExpr& e, bool ownUndeclared) {
  TExprPtr copy = ShallowCopy(e);
  std::map<const TVar*, TVar*> renamed;
  Refresh(*copy, renamed, ownUndeclared);
  return copy;
}

TExprList DeepCopyList(const TExprList& list) {
  TExprList copies;
  for (const TExprPtr& e : list) copies.push_back(DeepCopy(*e));
  return copies;
}

// ---------------------------------------------------------------------------
// Queries.

TExpr* ArgByPath(TExpr& e, unsigned path) {
  const std::string digits = std::to_string(path);
  TExpr* node = &e;
  for (const char d : digits) {
    const std::size_t index = static_cast<std::size_t>(d - '0');
    if (node->Class != TClass::Compound || index >= node->Children().size()) break;
    node = node->Children()[index].get();
  }
  return node;
}

int Size(const TExpr& e) {
  if (e.Class == TClass::Compound) {
    int size = 0;
    for (const TExprPtr& child : e.Children()) size += Size(*child);
    return size;
  }
  return e.Class == TClass::Intr || e.Class == TClass::Number ? 1 : 2;
}

std::vector<const TExpr*> Operands(const TExpr& e, int n) {
  if (e.HeadIntrinsic() != n) return {&e};
  std::vector<const TExpr*> operands;
  for (std::size_t i = 1; i < e.Children().size(); ++i) {
    const std::vector<const TExpr*> inner = Operands(*e.Children()[i], n);
    operands.insert(operands.end(), inner.begin(), inner.end());
  }
  return operands;
}

TExprList ArgumentsOf(const TExpr& e, int n) {
  TExprList args;
  if (e.HeadIntrinsic() == n) {
    for (std::size_t i = 1; i < e.Children().size(); ++i) args.push_back(DeepCopy(*e.Children()[i]));
  } else {
    args.push_back(DeepCopy(e));
  }
  return args;
}

const char* DefaultTypeOfLetter(std::int8_t letter) {
  const char c = static_cast<char>(letter);
  return c == 'I' || c == 'J' || c == 'K' || c == 'N' || (c >= 'i' && c <= 'n') ? "nT" : "rT";
}

namespace {

template <typename Visit>
bool Any(const TExpr& e, const Visit& visit) {
  if (visit(e)) return true;
  if (e.Class == TClass::Compound)
    for (const TExprPtr& child : e.Children())
      if (Any(*child, visit)) return true;
  if (e.Class == TClass::Templ && e.Inner()) return Any(*e.Inner(), visit);
  return false;
}

const void* PayloadAddress(const TExpr& e) {
  if (const TIntr* f = e.Intrinsic()) return f;
  if (const TAntIntr* a = e.Antonym()) return a;
  if (e.IsVar()) return e.Var();
  return nullptr;
}

}  // namespace

bool ContainsClass(const TExpr& e, TClass c) {
  return Any(e, [c](const TExpr& node) { return node.Class == c; });
}

bool ContainsPayload(const TExpr& e, TClass c, const void* payload) {
  return Any(e, [&](const TExpr& node) { return node.Class == c && PayloadAddress(node) == payload; });
}

bool ContainsExpr(const TExpr& e, const TExpr& sub) {
  return Any(e, [&](const TExpr& node) { return &node == &sub || Equal(node, sub); });
}

std::vector<const TExpr*> CollectClass(const TExpr& e, TClass c) {
  std::vector<const TExpr*> found;
  Any(e, [&](const TExpr& node) {
    if (node.Class == c) found.push_back(&node);
    return false;
  });
  return found;
}

std::vector<TVar*> CollectVariables(const TExpr& e, TClass c) {
  std::vector<TVar*> found;
  for (const TExpr* node : CollectClass(e, c))
    if (std::find(found.begin(), found.end(), node->Var()) == found.end()) found.push_back(node->Var());
  return found;
}

std::vector<TVar*> CollectBound(const TExpr& e) {
  std::vector<TVar*> found;
  Any(e, [&](const TExpr& node) {
    if (node.Bound)
      for (const TVarPtr& v : *node.Bound) found.push_back(v.get());
    return false;
  });
  return found;
}

TExprPtr ApplyIntr(int head, TExprList args) {
  TExprList children;
  children.push_back(TExpr::OfIntr(*Ctx().StFunc->Intr(head)));
  for (TExprPtr& a : args) children.push_back(std::move(a));
  return TExpr::Compound(std::move(children));
}

TExprPtr ApplyIntr(int head, TExprPtr a) {
  TExprList args;
  args.push_back(std::move(a));
  return ApplyIntr(head, std::move(args));
}

TExprPtr ApplyIntr(int head, TExprPtr a, TExprPtr b) {
  TExprList args;
  args.push_back(std::move(a));
  args.push_back(std::move(b));
  return ApplyIntr(head, std::move(args));
}

}  // namespace lemmix
