#include "intrinsics/st_func.h"

#include "intrinsics/intr_numbers.h"
#include "shell/cp1251.h"
#include "shell/message.h"
#include "types/type.h"

namespace lemmix {

TStFunc::TStFunc(TTypesProccess& types, IMessages& messages) : types_(types), messages_(messages) {
  IntrList.reserve(kSlots + 32);
  for (int n = 0; n < kSlots; ++n) {
    IntrList.push_back(std::make_unique<TIntr>());
    IntrList.back()->Number = static_cast<std::uint8_t>(n);
  }
  for (auto& row : hotHelp_) row.fill(-1);
}

TStFunc::~TStFunc() = default;

TAntIntr& TStFunc::AntonymOf(TIntr& f) {
  if (f.Antonym == nullptr) {
    AntonimList.push_back(std::make_unique<TAntIntr>());
    f.Antonym = AntonimList.back().get();
    f.Antonym->Intr = &f;
  }
  return *f.Antonym;
}

TIntr* TStFunc::FindByWord(std::string_view word, bool report) const {
  for (const auto& f : IntrList)
    if (f->Name == word) return f.get();
  if (report)
    messages_.Error({"Неверное математематическое слово: "_cp + std::string(word),
                     "Invalid mathematical word: " + std::string(word)});
  return nullptr;
}

TAntIntr* TStFunc::FindAntonymByWord(std::string_view word) const {
  if (word.size() < 4) return nullptr;
  const TIntr* f = FindByWord(word.substr(4), false);
  return f == nullptr ? nullptr : f->Antonym;
}

TIntr* TStFunc::SetIntrinsicOfType(std::string_view typeId) const {
  static constexpr struct {
    std::string_view id;
    int number;
  } kSets[] = {{"nT", 52}, {"n0T", 53}, {"zT", 51}, {"qT", 50}, {"rT", 49}, {"AnyT", 47}, {"lT", 48}};
  for (const auto& set : kSets)
    if (set.id == typeId) return Intr(set.number);
  return nullptr;
}

const TConcreteType* TStFunc::ConcreteTypeEntry(const TIntr& f, const TType* type) const {
  for (const TConcreteType& entry : f.ConcreteTypes)
    if (entry.Type == type) return &entry;
  if (f.Number == kLambda && !f.ConcreteTypes.empty()) return &f.ConcreteTypes.front();
  return nullptr;
}

std::string TStFunc::WordOf(const TIntr& f, bool numeric) const {
  return numeric ? "\\" + std::to_string(f.Number) : f.Name;
}

std::string TStFunc::AntonymWordOf(const TAntIntr& a, bool numeric) const {
  return WordOf(*IntrList[kAntonymSign], numeric) + WordOf(*a.Intr, numeric);
}

int TStFunc::CompareIntrinsics(const TIntr& a, const TIntr& b) {
  return a.Number < b.Number ? -1 : a.Number > b.Number ? 1 : 0;
}

TStFunc::HotKey TStFunc::HotKeyLookup(char key, int hotRegister) const {
  const std::size_t index = kKeyChars.find(key);
  if (index == std::string_view::npos || hotRegister < 0 || hotRegister >= kRegisters) return {};
  return {hotKeys_[hotRegister][index], static_cast<int>(index)};
}

}  // namespace lemmix
