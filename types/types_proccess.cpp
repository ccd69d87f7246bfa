#include "types/types_proccess.h"

#include <algorithm>

#include "shell/cp1251.h"
#include "shell/message.h"
#include "types/type_name.h"

namespace lemmix {

TType* TTypesProccess::FindType(std::string_view identifier, bool report) const {
  for (const auto& t : types_)
    if (t->Name == identifier) return t.get();
  if (report)
    messages_.Error({"Неверный идентификатор типа: "_cp + std::string(identifier),
                     "Wrong type identificator: " + std::string(identifier)});
  return nullptr;
}

TType* TTypesProccess::FindTypeByName(std::string_view name, bool report) const {
  for (const auto& t : types_)
    if (TypeName(*t, nullptr) == name) return t.get();
  if (report)
    messages_.Error({"Неверное название типа: "_cp + std::string(name), "Wrong type's name: " + std::string(name)});
  return nullptr;
}

TType* TTypesProccess::NewType(std::string name, TBase base) {
  types_.push_back(std::make_unique<TType>(TType::Key(), std::move(name), base, nextSerial_++));
  return types_.back().get();
}

TType* TTypesProccess::Copy(const TType& t) {
  types_.push_back(std::make_unique<TType>(TType::Key(), t, nextSerial_++));
  return types_.back().get();
}

TType* TTypesProccess::Intern(TType* t) {
  for (const auto& other : types_) {
    if (other.get() == t || !Equal(*other, *t, &messages_)) continue;
    TType* const earlier = other.get();
    const auto given = std::find_if(types_.begin(), types_.end(), [t](const auto& p) { return p.get() == t; });
    if (given != types_.end()) types_.erase(given);
    return earlier;
  }
  return t;
}

}  // namespace lemmix
