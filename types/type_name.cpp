#include "types/type_name.h"

#include <string_view>
#include <vector>

#include "shell/cp1251.h"
#include "shell/message.h"

namespace lemmix {

namespace {

// The words names are made of, in one language.
struct TNameWords {
  struct Simple {
    std::string_view id;
    std::string name;
  };
  std::vector<Simple> simple;
  std::string sequence, naturals, integers, rationals, functionSequence, elementsOfType;
  std::string function, argumentsOfTypes;
  std::string variables, variablesAfter;  // around the count: "функция 2 переменных", "function of 2 variables"
  std::string valuesOfType, restricted;
  std::string set, anyElements, finite, mayBeEmpty;
  std::string vector, dimension, vectorElementsOfType;
  std::string list, listElementsOfType;
};

const TNameWords& Russian() {
  static const TNameWords words{
      .simple = {{"AnyT", "любой элемент"_cp},    {"lT", "логический объект"_cp},
                 {"nT", "натуральное число"_cp},  {"n0T", "натуральное число или ноль"_cp},
                 {"zT", "целое число"_cp},        {"qT", "рациональное число"_cp},
                 {"rT", "вещественное число"_cp}, {"rrT", "вещ. число или беск. со знаком"_cp},
                 {"cT", "комплексное число"_cp},  {"NotT", "пустой тип"_cp}},
      .sequence = "последовательность"_cp,
      .naturals = " натуральных чисел"_cp,
      .integers = " целых чисел"_cp,
      .rationals = " рациональных чисел"_cp,
      .functionSequence = "функциональная последовательность"_cp,
      .elementsOfType = " элементов типа "_cp,
      .function = "функция"_cp,
      .argumentsOfTypes = " с аргументами типов "_cp,
      .variables = " ",
      .variablesAfter = " переменных"_cp,
      .valuesOfType = " со значением типа "_cp,
      .restricted = " с ограничениями"_cp,
      .set = "множество"_cp,
      .anyElements = " любых элементов"_cp,
      .finite = ", конечное"_cp,
      .mayBeEmpty = ", возможно пустое"_cp,
      .vector = "вектор"_cp,
      .dimension = " размерности "_cp,
      .vectorElementsOfType = " с элемнтами типа "_cp,
      .list = "список "_cp,
      .listElementsOfType = "элемнтов типа "_cp,
  };
  return words;
}

const TNameWords& English() {
  static const TNameWords words{
      .simple = {{"AnyT", "any element"},       {"lT", "logical object"},
                 {"nT", "natural number"},      {"n0T", "natural number or zero"},
                 {"zT", "integer"},             {"qT", "rational number"},
                 {"rT", "real number"},         {"rrT", "real number or signed infinity"},
                 {"cT", "complex number"},      {"NotT", "empty type"}},
      .sequence = "sequence",
      .naturals = " of natural numbers",
      .integers = " of integers",
      .rationals = " of rational numbers",
      .functionSequence = "sequence of functions",
      .elementsOfType = " of elements of type ",
      .function = "function",
      .argumentsOfTypes = " with arguments of types ",
      .variables = " of ",
      .variablesAfter = " variables",
      .valuesOfType = " with values of type ",
      .restricted = " with restrictions",
      .set = "set",
      .anyElements = " of any elements",
      .finite = ", finite",
      .mayBeEmpty = ", possibly empty",
      .vector = "vector",
      .dimension = " of dimension ",
      .vectorElementsOfType = " with elements of type ",
      .list = "list",
      .listElementsOfType = " of elements of type ",
  };
  return words;
}

bool Named(const TType* t, std::string_view id) { return t != nullptr && t->Name == id; }

class Namer {
 public:
  Namer(const TNameWords& words, IMessages* report) : words_(words), report_(report) {}

  std::string NameOf(const TType& t) {
    naming_.push_back(&t);
    std::string name;
    switch (t.Base()) {
      case TBase::Simple:
        name = SimpleName(t);
        break;
      case TBase::Fun:
        name = IsNaturalSequence(t) ? SequenceName(*t.Fun()) : FunctionName(*t.Fun());
        break;
      case TBase::Set: {
        const TSetType& s = *t.Set();
        name = words_.set;
        if (Named(s.Element, "AnyT"))
          name += words_.anyElements;
        else if (!Named(s.Element, "rT"))
          name += words_.elementsOfType + Of(s.Element);
        if (s.Finite) name += words_.finite;
        if (s.MayBeEmpty) name += words_.mayBeEmpty;
        break;
      }
      case TBase::Vec: {
        const TVecType& v = *t.Vec();
        name = words_.vector;
        if (v.Dimension) name += words_.dimension + std::to_string(*v.Dimension);
        if (!Named(v.Element, "rT")) name += words_.vectorElementsOfType + Of(v.Element);
        break;
      }
      case TBase::List:
        name = words_.list;
        if (!Named(t.List()->Element, "rT")) name += words_.listElementsOfType + Of(t.List()->Element);
        break;
      default:
        if (report_ != nullptr)
          report_->Error({"Ошибка при определении названия типа: неизвестный базовый тип"_cp,
                          "In detection of the type name an unknown base type is occured"});
    }
    naming_.pop_back();
    return name;
  }

 private:
  std::string SimpleName(const TType& t) {
    for (const auto& entry : words_.simple)
      if (entry.id == t.Name) return entry.name;
    if (report_ != nullptr)
      report_->Error({"Ошибка при определении имени простого типа: неизвестный тип "_cp + t.Name,
                      "In detection of the name of a simple type an unknown type is occured: " + t.Name});
    return "";
  }

  // An element may name its own type: inside its own name such a type is
  // called by its identifier.
  std::string Of(const TType* t) {
    if (t == nullptr) return "";
    for (const TType* outer : naming_)
      if (outer == t) return t->Name;
    return NameOf(*t);
  }

  std::string SequenceName(const TFunType& f) {
    if (Named(f.Value, "rFunc1T")) return words_.functionSequence;
    if (Named(f.Value, "nT")) return words_.sequence + words_.naturals;
    if (Named(f.Value, "zT")) return words_.sequence + words_.integers;
    if (Named(f.Value, "qT")) return words_.sequence + words_.rationals;
    if (Named(f.Value, "rT")) return words_.sequence;
    return words_.sequence + words_.elementsOfType + Of(f.Value);
  }

  std::string FunctionName(const TFunType& f) {
    std::string name = words_.function;
    bool allReal = true;
    for (const TType* a : f.Args) allReal = allReal && Named(a, "rT");
    if (!allReal) {
      name += words_.argumentsOfTypes;
      for (std::size_t i = 0; i < f.Args.size(); ++i) name += (i > 0 ? ", " : "") + Of(f.Args[i]);
    } else if (f.Args.size() >= 2) {
      name += words_.variables + std::to_string(f.Args.size()) + words_.variablesAfter;
    }
    if (!Named(f.Value, "rT")) name += words_.valuesOfType + Of(f.Value);
    if (f.Restrictions) name += words_.restricted;
    return name;
  }

  const TNameWords& words_;
  IMessages* report_;
  std::vector<const TType*> naming_;  // the types whose names are being built
};

}  // namespace

bool IsNaturalSequence(const TType& t) {
  const TFunType* f = t.Fun();
  return f != nullptr && f->Args.size() == 1 && Named(f->Args[0], "nT") && !f->Restrictions;
}

std::string TypeName(const TType& t, IMessages* report) { return Namer(Russian(), report).NameOf(t); }

std::string EnglishTypeName(const TType& t, IMessages* report) { return Namer(English(), report).NameOf(t); }

}  // namespace lemmix
