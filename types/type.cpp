#include "types/type.h"

#include "shell/cp1251.h"
#include "shell/message.h"

namespace lemmix {

TType::TType(Key, std::string name, TBase base, std::uint64_t serial) : Name(std::move(name)), serial_(serial) {
  SetBase(base);
}

TType::TType(Key, const TType& other, std::uint64_t serial)
    : Name(other.Name), base_(other.base_), payload_(other.payload_), serial_(serial) {}

void TType::SetBase(TBase base) {
  base_ = base;
  switch (base) {
    case TBase::Fun:
      payload_ = TFunType{};
      break;
    case TBase::Set:
      payload_ = TSetType{};
      break;
    case TBase::Vec:
      payload_ = TVecType{};
      break;
    case TBase::List:
      payload_ = TListType{};
      break;
    default:
      payload_ = std::monostate{};
      break;
  }
}

namespace {

using Assumed = std::vector<std::pair<const TType*, const TType*>>;

// An element may name its own type, so types can be cyclic. Two types are
// equal when no difference is found by unfolding them: a pair met again while
// it is being compared is taken as equal.
bool EqualUnfolding(const TType& a, const TType& b, IMessages* internalError, Assumed& assumed) {
  if (a.Base() != b.Base()) return false;
  const auto sameElement = [&](const TType* x, const TType* y) {
    if (x == y) return true;
    if (x == nullptr || y == nullptr) return false;
    for (const auto& [p, q] : assumed)
      if (p == x && q == y) return true;
    assumed.emplace_back(x, y);
    const bool equal = EqualUnfolding(*x, *y, internalError, assumed);
    assumed.pop_back();
    return equal;
  };
  switch (a.Base()) {
    case TBase::Simple:
      return a.Name == b.Name;
    case TBase::Fun: {
      const TFunType& f = *a.Fun();
      const TFunType& g = *b.Fun();
      return f.Commutative == g.Commutative && f.Value == g.Value && f.Args == g.Args &&
             f.Restrictions == g.Restrictions;
    }
    case TBase::Set:
      return a.Set()->MayBeEmpty == b.Set()->MayBeEmpty && a.Set()->Finite == b.Set()->Finite &&
             sameElement(a.Set()->Element, b.Set()->Element);
    case TBase::Vec:
      return a.Vec()->Dimension == b.Vec()->Dimension && sameElement(a.Vec()->Element, b.Vec()->Element);
    case TBase::List:
      return sameElement(a.List()->Element, b.List()->Element);
    default:
      if (internalError != nullptr)
        internalError->Error({"Ошибка при сравнении типов: неизвестный базовый тип"_cp,
                              "In comparison of types an unknown base type is occured"});
      return false;
  }
}

}  // namespace

bool Equal(const TType& a, const TType& b, IMessages* internalError) {
  Assumed assumed{{&a, &b}};
  return EqualUnfolding(a, b, internalError, assumed);
}

int CatalogueOrder(const TType* a, const TType* b) {
  if (a == nullptr || b == nullptr) return 1;
  if (a == b) return 0;
  return a->Serial() < b->Serial() ? -1 : 1;
}

}  // namespace lemmix
