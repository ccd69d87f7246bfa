// Reading TYPES.DAT.

#include "shell/cp1251.h"
#include "shell/files.h"
#include "shell/message.h"
#include "shell/text.h"
#include "types/types_proccess.h"

namespace lemmix {

namespace {

struct BaseWord {
  std::string_view word;
  TBase base;
};
constexpr BaseWord kBaseWords[] = {{"simpleBT", TBase::Simple},
                                   {"funBT", TBase::Fun},
                                   {"setBT", TBase::Set},
                                   {"vecBT", TBase::Vec},
                                   {"listBT", TBase::List}};

}  // namespace

class TTypesProccess::Reader {
 public:
  Reader(TTypesProccess& catalogue, const std::string& path) : catalogue_(catalogue), path_(path) {}

  bool Run(const std::vector<std::string>& lines) {
    for (line_ = 0; line_ < lines.size(); ++line_) {
      const std::string_view text = Trim(lines[line_]);
      if (text.empty() || StartsWith(text, "//")) continue;
      if (!Interpret(text)) return false;
    }
    if (current_ == nullptr) {
      Report({"Файл типов "_cp + path_ + " не содержит ни одного типа."_cp,
              "The file of types " + path_ + " contains no type."});
      return false;
    }
    if (!TestType()) {
      Report({"Неверное окончание файла типов."_cp, "Wrong end of the file of types."});
      return false;
    }
    return true;
  }

 private:
  bool Interpret(std::string_view text) {
    std::string_view value;
    const auto keyword = [&](std::string_view word) {
      if (!StartsWith(text, word)) return false;
      value = text.substr(word.size());
      return true;
    };
    if (keyword("String = ")) return BeginType(std::string(value));
    if (keyword("Base = ")) return SetBase(value);
    if (keyword("Element = ")) return SetElement(value);
    if (keyword("Dimension = ")) return SetDimension(value);
    if (keyword("AddArg = ")) return AddArg(value);
    if (keyword("Value = ")) return SetValue(value);
    if (keyword("AddRestriction = ")) return AddRestriction(value);
    if (text == "MayBeEmpty") return SetSetFlag("MayBeEmpty", &TSetType::MayBeEmpty);
    if (text == "Finite") return SetSetFlag("Finite", &TSetType::Finite);
    if (text == "Commutative") return SetCommutative();
    return LineError(
        {"Неинтерпретируемая строка: "_cp + std::string(text), "Uninterpreted string: " + std::string(text)});
  }

  bool BeginType(std::string name) {
    if (current_ != nullptr && !TestType()) return false;
    current_ = catalogue_.NewType(std::move(name), TBase::Unset);
    return true;
  }

  bool SetBase(std::string_view value) {
    if (current_ == nullptr)
      return LineError({"При определении типа сначала нужно задать поле String."_cp,
                        "The first line in type specification should begin with \"String\""});
    if (current_->Base() != TBase::Unset)
      return LineError({"Повторное определение поля Base при определении типа "_cp + Name(),
                        "The field \"Base\" is twice defined in the specification of type " + Name()});
    for (const BaseWord& entry : kBaseWords) {
      if (entry.word == value) {
        current_->SetBase(entry.base);
        return true;
      }
    }
    return LineError(
        {"При определении типа "_cp + Name() + " указан неизвестный базовый тип: "_cp + std::string(value),
         "In specification of type " + Name() + " an unknown base type is occured: " + std::string(value)});
  }

  bool SetElement(std::string_view value) {
    if (!HaveType()) return false;
    TType* element = catalogue_.FindType(value, false);
    if (element == nullptr)
      return LineError(
          {"При определении типа "_cp + Name() + " указан неверный тип элементов: "_cp + std::string(value),
           "In specification of type " + Name() + " an unknown element's type is occured: " + std::string(value)});
    TType** slot = nullptr;
    if (TSetType* set = current_->Set()) slot = &set->Element;
    if (TVecType* vec = current_->Vec()) slot = &vec->Element;
    if (TListType* list = current_->List()) slot = &list->Element;
    if (slot == nullptr)
      return LineError({"Базовый тип для типа "_cp + Name() + " не допускает атрибута Element."_cp,
                        "Type " + Name() + " has not attribute Element."});
    if (*slot != nullptr)
      return LineError({"Повторное определение поля Element при определении типа "_cp + Name(),
                        "The field \"Element\" is twice defined in the specification of type " + Name()});
    *slot = element;
    return true;
  }

  bool SetDimension(std::string_view value) {
    if (!HaveType()) return false;
    TVecType* vec = current_->Vec();
    if (vec == nullptr)
      return LineError({"Нельзя задать атрибут Dimension для невекторного типа "_cp + Name(),
                        "Type " + Name() + " has not attribute Dimension."});
    const int dimension = ParseInt(value).value_or(-1);
    if (dimension < 0)
      return LineError({"Размерность векторного типа "_cp + Name() + " указана неверно: "_cp + std::string(value),
                        "Wrong dimension of vector type " + Name() + ": " + std::string(value)});
    if (vec->Dimension)
      return LineError({"Повторное определение размерности векторного типа "_cp + Name(),
                        "The field \"Dimension\" is twice defined in the specification of type " + Name()});
    vec->Dimension = dimension;
    return true;
  }

  // "MayBeEmpty" and "Finite": flags of a set type, each given once.
  bool SetSetFlag(const std::string& word, bool TSetType::*flag) {
    if (!HaveType()) return false;
    TSetType* set = current_->Set();
    if (set == nullptr)
      return LineError({"Нельзя задать атрибут "_cp + word + " для немножесвенного типа "_cp + Name(),
                        "Type " + Name() + " has not attribute " + word + "."});
    if (set->*flag)
      return LineError({"Повторное определение атрибута "_cp + word + " множественного типа "_cp + Name(),
                        "The field \"" + word + "\" is twice defined in the specification of type " + Name()});
    set->*flag = true;
    return true;
  }

  bool AddArg(std::string_view value) {
    if (!HaveType()) return false;
    TFunType* fun = current_->Fun();
    if (fun == nullptr)
      return LineError(
          {"Нельзя задать аргументы для нефункционального типа "_cp + Name(), "Type " + Name() + " has no arguments."});
    TType* argument = catalogue_.FindType(value, false);
    if (argument == nullptr)
      return LineError(
          {"При определении типа "_cp + Name() + " указан неверный тип аргумента: "_cp + std::string(value),
           "In specification of type " + Name() + " wrong type of argument is occured: " + std::string(value)});
    fun->Args.push_back(argument);
    return true;
  }

  bool SetValue(std::string_view value) {
    if (!HaveType()) return false;
    TFunType* fun = current_->Fun();
    if (fun == nullptr)
      return LineError({"Нельзя задать атрибут Value для нефункционального типа "_cp + Name(),
                        "Type " + Name() + " has not attribute Value."});
    TType* type = catalogue_.FindType(value, false);
    if (type == nullptr)
      return LineError(
          {"При определении типа "_cp + Name() + " указан неверный тип значения: "_cp + std::string(value),
           "In specification of type " + Name() + " wrong type of value is occured: " + std::string(value)});
    if (fun->Value != nullptr)
      return LineError({"Повторное определение атрибута Value функционального типа "_cp + Name(),
                        "The field \"Value\" is twice defined in the specification of type " + Name()});
    fun->Value = type;
    return true;
  }

  bool AddRestriction(std::string_view value) {
    if (!HaveType()) return false;
    TFunType* fun = current_->Fun();
    if (fun == nullptr)
      return LineError({"Нельзя задать ограничения для нефункционального типа "_cp + Name(),
                        "Type " + Name() + " cann't not have restrictions."});
    if (Trim(value).empty())
      return LineError({"Задана пустая строка ограничений для типа "_cp + Name(),
                        "An empty string is occured in restrictions for type " + Name()});
    if (!fun->Restrictions) fun->Restrictions.emplace();
    fun->Restrictions->emplace_back(value);
    return true;
  }

  bool SetCommutative() {
    if (!HaveType()) return false;
    TFunType* fun = current_->Fun();
    if (fun == nullptr)
      return LineError({"Нельзя задать атрибут Commutative для нефункционального типа "_cp + Name(),
                        "Type " + Name() + " has not attribute Commutative."});
    if (fun->Commutative)
      return LineError({"Повторное определение атрибута Commutative функционального типа "_cp + Name(),
                        "The field \"Commutative\" is twice defined in the specification of type " + Name()});
    fun->Commutative = true;
    return true;
  }

  // Validation of a finished entry.
  bool TestType() {
    const TType& t = *current_;
    if (t.Name.empty())
      return LineError({"Для типа не определено поле String"_cp, "The field \"String\" is not defined for the type"});
    switch (t.Base()) {
      case TBase::Unset:
        return LineError({"Для типа не определено поле Base"_cp, "The field \"Base\" is not defined for the type"});
      case TBase::Simple:
        return true;
      case TBase::Fun:
        if (t.Fun()->Args.empty())
          return LineError({"Функционалный тип "_cp + t.Name + " не имеет аргументов."_cp,
                            "Functional type " + t.Name + " has no arguments."});
        if (t.Fun()->Value == nullptr)
          return LineError({"Не определено значение функционалного типа "_cp + t.Name,
                            "The value of functional type " + t.Name + "is not defined"});
        return true;
      case TBase::Set:
        if (t.Set()->Element == nullptr)
          return LineError({"Не определен тип элементов типа множеств "_cp + t.Name,
                            "The type of elements of set type " + t.Name + " is not defined"});
        return true;
      case TBase::Vec:
        if (t.Vec()->Element == nullptr)
          return LineError({"Не определен тип элементов типа векторов "_cp + t.Name,
                            "The type of elements of vector type " + t.Name + " is not defined"});
        return true;
      case TBase::List:
        if (t.List()->Element == nullptr)
          return LineError({"Не определен тип элементов типа списков "_cp + t.Name,
                            "The type of elements of list type " + t.Name + " is not defined"});
        return true;
    }
    Report(InternalError(1, "function TestType", "Types", "функции TestType"_cp));
    return false;
  }

  // Every keyword but "String" needs a type being read.
  bool HaveType() {
    if (current_ != nullptr) return true;
    return LineError({"При определении типа сначала нужно задать поле String."_cp,
                      "The first line in type specification should begin with \"String\"."});
  }

  const std::string& Name() const { return current_->Name; }

  bool LineError(const TMessage& message) {
    const std::string number = std::to_string(line_ + 1);
    Report({"Ошибка в строке "_cp + number + " файла типов:\\n "_cp + message.Rus,
            "Error in line " + number + " in file of types:\\n " + message.Eng});
    return false;
  }

  void Report(const TMessage& message) { catalogue_.Messages().Error(message); }

  TTypesProccess& catalogue_;
  const std::string& path_;
  std::size_t line_ = 0;
  TType* current_ = nullptr;
};

bool TTypesProccess::Load(const std::string& directory) {
  const std::string path = directory + "\\TYPES.DAT";
  const auto lines = FileExists(path) ? ReadLines(path) : std::nullopt;
  if (!lines) {
    messages_.Error(
        {"Отсутствует файл типов: "_cp + DisplayPath(path), "File of types " + DisplayPath(path) + " is absent"});
    return false;
  }
  return LoadLines(*lines, DisplayPath(path));
}

bool TTypesProccess::LoadLines(const std::vector<std::string>& lines, const std::string& path) {
  const bool ok = Reader(*this, path).Run(lines);
  fileEnd_ = nextSerial_;
  return ok;
}

}  // namespace lemmix
