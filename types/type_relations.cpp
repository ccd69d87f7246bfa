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

bool IsSubtypeOfNamed(const TType* a, std::string_view identifier, const TTypesProccess& types) {
  const TType* b = types.FindType(identifier, true);
  return b != nullptr && IsSubtypeOf(a, b, types);
}

}  // namespace lemmix
