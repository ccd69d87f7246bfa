#include "types/type_name.h"

#include <string_view>
#include <vector>

#include "shell/cp1251.h"
#include "shell/message.h"

namespace lemmix {

namespace {

std::string SimpleTypeName(const TType& t, IMessages* report) {
  static const struct {
    std::string_view id;
    std::string name;
  } kNames[] = {
      {"AnyT", "любой элемент"_cp},    {"lT", "логический объект"_cp},
      {"nT", "натуральное число"_cp},  {"n0T", "натуральное число или ноль"_cp},
      {"zT", "целое число"_cp},        {"qT", "рациональное число"_cp},
      {"rT", "вещественное число"_cp}, {"rrT", "вещ. число или беск. со знаком"_cp},
      {"cT", "комплексное число"_cp},  {"NotT", "пустой тип"_cp},
  };
  for (const auto& entry : kNames)
    if (entry.id == t.Name) return entry.name;
  if (report != nullptr)
    report->Error({"Ошибка при определении имени простого типа: неизвестный тип "_cp + t.Name,
                   "In detection of the name of a simple type an unknown type is occured: " + t.Name});
  return "";
}

bool Named(const TType* t, std::string_view id) { return t != nullptr && t->Name == id; }

// The types whose names are being built: an element may name its own type, and
// such a type is then called by its identifier inside its own name.
using Naming = std::vector<const TType*>;

std::string NameOf(const TType& t, IMessages* report, Naming& naming);

std::string Of(const TType* t, IMessages* report, Naming& naming) {
  if (t == nullptr) return "";
  for (const TType* outer : naming)
    if (outer == t) return t->Name;
  return NameOf(*t, report, naming);
}

std::string SequenceName(const TFunType& f, IMessages* report, Naming& naming) {
  if (Named(f.Value, "rFunc1T")) return "функциональная последовательность"_cp;
  std::string name = "последовательность"_cp;
  if (Named(f.Value, "nT")) return name + " натуральных чисел"_cp;
  if (Named(f.Value, "zT")) return name + " целых чисел"_cp;
  if (Named(f.Value, "qT")) return name + " рациональных чисел"_cp;
  if (Named(f.Value, "rT")) return name;
  return name + " элементов типа "_cp + Of(f.Value, report, naming);
}

std::string FunctionName(const TFunType& f, IMessages* report, Naming& naming) {
  std::string name = "функция"_cp;
  bool allReal = true;
  for (const TType* a : f.Args) allReal = allReal && Named(a, "rT");
  if (!allReal) {
    name += " с аргументами типов "_cp;
    for (std::size_t i = 0; i < f.Args.size(); ++i) name += (i > 0 ? ", " : "") + Of(f.Args[i], report, naming);
  } else if (f.Args.size() >= 2) {
    name += " " + std::to_string(f.Args.size()) + " переменных"_cp;
  }
  if (!Named(f.Value, "rT")) name += " со значением типа "_cp + Of(f.Value, report, naming);
  if (f.Restrictions) name += " с ограничениями"_cp;
  return name;
}

std::string NameOf(const TType& t, IMessages* report, Naming& naming) {
  naming.push_back(&t);
  std::string name;
  switch (t.Base()) {
    case TBase::Simple:
      name = SimpleTypeName(t, report);
      break;
    case TBase::Fun:
      name = IsNaturalSequence(t) ? SequenceName(*t.Fun(), report, naming) : FunctionName(*t.Fun(), report, naming);
      break;
    case TBase::Set: {
      const TSetType& s = *t.Set();
      name = "множество"_cp;
      if (Named(s.Element, "AnyT"))
        name += " любых элементов"_cp;
      else if (!Named(s.Element, "rT"))
        name += " элементов типа "_cp + Of(s.Element, report, naming);
      if (s.Finite) name += ", конечное"_cp;
      if (s.MayBeEmpty) name += ", возможно пустое"_cp;
      break;
    }
    case TBase::Vec: {
      const TVecType& v = *t.Vec();
      name = "вектор"_cp;
      if (v.Dimension) name += " размерности "_cp + std::to_string(*v.Dimension);
      if (!Named(v.Element, "rT")) name += " с элемнтами типа "_cp + Of(v.Element, report, naming);
      break;
    }
    case TBase::List:
      name = "список "_cp;
      if (!Named(t.List()->Element, "rT")) name += "элемнтов типа "_cp + Of(t.List()->Element, report, naming);
      break;
    default:
      if (report != nullptr)
        report->Error({"Ошибка при определении названия типа: неизвестный базовый тип"_cp,
                       "In detection of the type name an unknown base type is occured"});
  }
  naming.pop_back();
  return name;
}

}  // namespace

bool IsNaturalSequence(const TType& t) {
  const TFunType* f = t.Fun();
  return f != nullptr && f->Args.size() == 1 && Named(f->Args[0], "nT") && !f->Restrictions;
}

std::string TypeName(const TType& t, IMessages* report) {
  Naming naming;
  return NameOf(t, report, naming);
}

}  // namespace lemmix
