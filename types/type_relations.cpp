#include "types/type_relations.h"

#include <utility>
#include <vector>

#include "shell/cp1251.h"
#include "shell/message.h"
#include "types/type.h"
#include "types/types_proccess.h"

namespace lemmix {

namespace {

// The simple chain NotT < nT < n0T < zT < qT < rT, with rT below rrT and cT:
// each identifier and the one directly below it.
constexpr std::pair<std::string_view, std::string_view> kChain[] = {
    {"cT", "rT"}, {"rrT", "rT"}, {"rT", "qT"}, {"qT", "zT"}, {"zT", "n0T"}, {"n0T", "nT"}, {"nT", "NotT"}};

bool SimpleSubtype(const TType* a, const TType* b, const TTypesProccess& types) {
  if (b == nullptr) return false;
  if (a == b) return true;
  for (const auto& [above, below] : kChain)
    if (b->Name == above) return SimpleSubtype(a, types.FindType(below, true), types);
  return false;
}

bool Dimension1(const TVecType& v) { return v.Dimension && *v.Dimension == 1; }

using Assumed = std::vector<std::pair<const TType*, const TType*>>;

// Types may be cyclic (an element may name its own type): a pair met again
// while it is being decided is taken as related.
bool Subtype(const TType* a, const TType* b, const TTypesProccess& types, Assumed& assumed) {
  if (b == nullptr) return false;
  if (a == b || b->Name == "AnyT") return true;
  if (a == nullptr) return false;
  for (const auto& [p, q] : assumed)
    if (p == a && q == b) return true;
  assumed.emplace_back(a, b);
  struct Pop {
    Assumed& list;
    ~Pop() { list.pop_back(); }
  } pop{assumed};
  const auto sub = [&](const TType* x, const TType* y) { return Subtype(x, y, types, assumed); };

  if (a->Base() == TBase::Simple && b->Base() == TBase::Simple) return SimpleSubtype(a, b, types);
  if (const TVecType* v = b->Vec(); v != nullptr && ((!v->Dimension && a->Base() == TBase::Simple) || Dimension1(*v)))
    return sub(a, v->Element);
  if (const TVecType* v = a->Vec(); v != nullptr && Dimension1(*v)) return sub(v->Element, b);
  if (b->Base() == TBase::Fun && a->Base() == TBase::Simple) return sub(a, b->Fun()->Value);
  if (a->Base() != b->Base()) return false;
  switch (a->Base()) {
    case TBase::Set: {
      if (b->Name == "AnySetT") return true;
      const TSetType& x = *a->Set();
      const TSetType& y = *b->Set();
      if ((x.MayBeEmpty && !y.MayBeEmpty) || (y.Finite && !x.Finite)) return false;
      return sub(x.Element, y.Element);
    }
    case TBase::Vec:
      if (b->Vec()->Dimension && a->Vec()->Dimension != b->Vec()->Dimension) return false;
      return sub(a->Vec()->Element, b->Vec()->Element);
    case TBase::List:
      return sub(a->List()->Element, b->List()->Element);
    case TBase::Fun: {
      const TFunType& x = *a->Fun();
      const TFunType& y = *b->Fun();
      if (x.Restrictions != y.Restrictions &&
          !(y.Restrictions && y.Restrictions->size() == 1 && y.Restrictions->front() == "\\false"))
        return false;
      if (y.Commutative && !x.Commutative) return false;
      return sub(x.Value, y.Value) && x.Args == y.Args;
    }
    default:
      types.Messages().Error({"Ошибка в IsSubtypeOf : неизвестный базовый тип"_cp,
                              "Error in function IsSubtypeOf: unknown base type"});
      return false;
  }
}

}  // namespace

bool IsSubtypeOf(const TType* a, const TType* b, const TTypesProccess& types) {
  Assumed assumed;
  return Subtype(a, b, types, assumed);
}

TType* SimpleTypeOfSetWord(std::string_view word, const TTypesProccess& types) {
  static constexpr std::pair<std::string_view, std::string_view> kWords[] = {
      {"\\L", "lT"}, {"\\N", "nT"}, {"\\N0", "n0T"}, {"\\Z", "zT"}, {"\\Q", "qT"}, {"\\R", "rT"}, {"\\U", "AnyT"}};
  for (const auto& [w, id] : kWords)
    if (w == word) return types.FindType(id, true);
  return nullptr;
}

namespace {
constexpr std::pair<std::string_view, std::string_view> kSubsetTypes[] = {
    {"\\N", "nMBESetT"}, {"\\Z", "zMBESetT"}, {"\\Q", "qMBESetT"}, {"\\R", "rMBESetT"}, {"\\U", "AnySetT"}};
}  // namespace

TType* SubsetTypeOfSetWord(std::string_view word, const TTypesProccess& types) {
  for (const auto& [w, id] : kSubsetTypes)
    if (w == word) return types.FindType(id, true);
  return nullptr;
}

std::string_view SetWordOfSubsetType(const TType& type) {
  for (const auto& [word, id] : kSubsetTypes)
    if (id == type.Name) return word;
  return {};
}

TType* SequenceTypeOf(std::string_view elementId, const TTypesProccess& types) {
  static constexpr std::pair<std::string_view, std::string_view> kSequences[] = {
      {"nT", "NSeqT"}, {"zT", "ZSeqT"}, {"n0T", "ZSeqT"}, {"qT", "QSeqT"}, {"rT", "SeqT"}};
  for (const auto& [element, id] : kSequences)
    if (element == elementId) return types.FindType(id, true);
  return nullptr;
}

TType* RealFunctionType(int n, TTypesProccess& types) {
  TType* real = types.FindType("rT", true);
  TType* t = types.NewType("rFunc" + std::to_string(n) + "T", TBase::Fun);
  t->Fun()->Args.assign(n, real);
  t->Fun()->Value = real;
  return types.Intern(t);
}

TType* FunctionTypeOf(const std::vector<TType*>& args, TType* value, TTypesProccess& types) {
  std::string name;
  for (std::size_t i = 0; i < args.size(); ++i) name += (i ? "_" : "") + (args[i] ? args[i]->Name : std::string());
  name += "->" + (value ? value->Name : std::string()) + "FunT";
  TType* t = types.NewType(name, TBase::Fun);
  t->Fun()->Args = args;
  t->Fun()->Value = value;
  return types.Intern(t);
}

TType* CommonSubtype(TType* a, TType* b, TTypesProccess& types) {
  if (a == nullptr || b == nullptr) return nullptr;
  if (a == b || IsSubtypeOf(a, b, types)) return a;
  if (IsSubtypeOf(b, a, types)) return b;
  const TFunType* fa = a->Fun();
  const TFunType* fb = b->Fun();
  if (fa && fb) {
    TType* value = CommonSubtype(fa->Value, fb->Value, types);
    if (value == nullptr) return nullptr;
    if (fa->Args != fb->Args || fa->Restrictions != fb->Restrictions) return value;
    TType* t = types.NewType("", TBase::Fun);
    t->Fun()->Args = fa->Args;
    t->Fun()->Value = value;
    t->Fun()->Commutative = fa->Commutative || fb->Commutative;
    t->Fun()->Restrictions = fa->Restrictions;
    return types.Intern(t);
  }
  if (fa) return CommonSubtype(fa->Value, b, types);
  if (fb) return CommonSubtype(a, fb->Value, types);
  const TSetType* sa = a->Set();
  const TSetType* sb = b->Set();
  if (sa && sb) {
    TType* element = CommonSubtype(sa->Element, sb->Element, types);
    if (element == nullptr) return nullptr;
    TType* t = types.NewType("", TBase::Set);
    *t->Set() = {element, sa->MayBeEmpty && sb->MayBeEmpty, sa->Finite || sb->Finite};
    return types.Intern(t);
  }
  return nullptr;
}

TResult ResultType(TType* f, const std::vector<TType*>& args, bool oneTypeForAll, const TTypesProccess& types) {
  if (args.empty()) return {f, true};
  if (f == nullptr) return {nullptr, false};
  // One argument against its declared type: fitting, wider (not fitting but
  // typed), or unrelated (no type).
  enum class Fit { Yes, Wider, Unrelated };
  const auto fit = [&](TType* actual, TType* declared) {
    if (IsSubtypeOf(actual, declared, types)) return Fit::Yes;
    return IsSubtypeOf(declared, actual, types) ? Fit::Wider : Fit::Unrelated;
  };
  if (const TFunType* fun = f->Fun()) {
    bool ok = true;
    if (oneTypeForAll) {
      for (TType* arg : args) {
        if (arg == nullptr) return {nullptr, false};
        if (fun->Args.empty() || !IsSubtypeOf(arg, fun->Args.front(), types)) {
          ok = false;
          break;
        }
      }
    } else {
      if (fun->Args.size() == 1 && fun->Args.front()->Name == "AnyT") return {fun->Value, true};
      if (fun->Args.size() != args.size()) return {nullptr, false};
      for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == nullptr) return {nullptr, false};
        const Fit result = fit(args[i], fun->Args[i]);
        if (result == Fit::Unrelated) return {nullptr, false};
        if (result == Fit::Wider) ok = false;
      }
    }
    if (ok && f->Name == "Set2FuncT") {
      for (TType* arg : args) {
        if (arg == nullptr) return {nullptr, false};
        if (IsSubtypeOfNamed(arg, "rSetT", types)) return {types.FindType("rSetT", true), true};
      }
    }
    return {fun->Value, ok};
  }
  if (const TListType* list = f->List()) {
    bool ok = true;
    for (TType* arg : args) {
      if (arg == nullptr) return {nullptr, false};
      const Fit result = fit(arg, list->Element);
      if (result == Fit::Unrelated) return {nullptr, false};
      if (result == Fit::Wider) ok = false;
    }
    return {f, ok};
  }
  if (f->Base() == TBase::Simple) return {f, true};
  return {nullptr, true};
}

bool IsSubtypeOfNamed(const TType* a, std::string_view identifier, const TTypesProccess& types) {
  const TType* b = types.FindType(identifier, true);
  return b != nullptr && IsSubtypeOf(a, b, types);
}

}  // namespace lemmix
