// The descriptive names of types and their English twins: the same parts in
// the same order, so that a message names the types in the language it speaks.
#include "types/type_name.h"

#include <gtest/gtest.h>

#include "shell/cp1251.h"
#include "shell/recording_messages.h"
#include "types/type_relations.h"
#include "types/types_proccess.h"

namespace lemmix {
namespace {

class TypeNames : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(types.Load(LEMMIX_DATA_DIR)); }
  TType* T(const char* id) { return types.FindType(id, false); }

  RecordingMessages messages;
  TTypesProccess types{messages};
};

TEST_F(TypeNames, CatalogueTypesInBothLanguages) {
  const struct {
    const char* id;
    std::string russian;
    const char* english;
  } cases[] = {
      {"AnyT", "любой элемент"_cp, "any element"},
      {"lT", "логический объект"_cp, "logical object"},
      {"nT", "натуральное число"_cp, "natural number"},
      {"n0T", "натуральное число или ноль"_cp, "natural number or zero"},
      {"rT", "вещественное число"_cp, "real number"},
      {"rrT", "вещ. число или беск. со знаком"_cp, "real number or signed infinity"},
      {"cT", "комплексное число"_cp, "complex number"},
      {"NotT", "пустой тип"_cp, "empty type"},
      {"AnySetT", "множество любых элементов, возможно пустое"_cp, "set of any elements, possibly empty"},
      {"nMBESetT", "множество элементов типа натуральное число, возможно пустое"_cp,
       "set of elements of type natural number, possibly empty"},
      {"rMBESetT", "множество, возможно пустое"_cp, "set, possibly empty"},
      {"NSeqT", "последовательность натуральных чисел"_cp, "sequence of natural numbers"},
      {"SeqT", "последовательность"_cp, "sequence"},
      {"FuncSeqT", "функциональная последовательность"_cp, "sequence of functions"},
      {"rFunc1T", "функция"_cp, "function"},
      {"rFunc2T", "функция 2 переменных"_cp, "function of 2 variables"},
      {"rQuotT", "функция 2 переменных с ограничениями"_cp, "function of 2 variables with restrictions"},
      {"Set2FuncT",
       "функция с аргументами типов функция, множество, возможно пустое со значением типа множество, возможно пустое"_cp,
       "function with arguments of types function, set, possibly empty with values of type set, possibly empty"},
      {"r2VecT", "вектор размерности 2"_cp, "vector of dimension 2"},
      {"rListT", "список "_cp, "list"},
  };
  for (const auto& c : cases) {
    const TType* t = T(c.id);
    ASSERT_NE(t, nullptr) << c.id;
    EXPECT_EQ(TypeName(*t, &messages), c.russian) << c.id;
    EXPECT_EQ(EnglishTypeName(*t, &messages), c.english) << c.id;
  }
  EXPECT_TRUE(messages.Entries().empty());
}

TEST_F(TypeNames, BuiltTypesInBothLanguages) {
  TType* n = T("nT");
  TType* l = T("lT");
  // A sequence of truth values, a finite set of sequences, a list and a vector of naturals.
  TType* truths = FunctionTypeOf({n}, l, types);
  TType* sequences = types.NewType("", TBase::Set);
  *sequences->Set() = {T("SeqT"), false, true};
  TType* list = types.NewType("", TBase::List);
  list->List()->Element = n;
  TType* vector = types.NewType("", TBase::Vec);
  vector->Vec()->Element = n;
  vector->Vec()->Dimension = 3;
  const struct {
    const TType* type;
    std::string russian;
    const char* english;
  } cases[] = {
      {truths, "последовательность элементов типа логический объект"_cp, "sequence of elements of type logical object"},
      {sequences, "множество элементов типа последовательность, конечное"_cp, "set of elements of type sequence, finite"},
      {list, "список элемнтов типа натуральное число"_cp, "list of elements of type natural number"},
      {vector, "вектор размерности 3 с элемнтами типа натуральное число"_cp,
       "vector of dimension 3 with elements of type natural number"},
      {FunctionTypeOf({n, n}, T("rT"), types), "функция с аргументами типов натуральное число, натуральное число"_cp,
       "function with arguments of types natural number, natural number"},
      {RealFunctionType(3, types), "функция 3 переменных"_cp, "function of 3 variables"},
      {FunctionTypeOf({T("rT")}, l, types), "функция со значением типа логический объект"_cp,
       "function with values of type logical object"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TypeName(*c.type, &messages), c.russian) << c.english;
    EXPECT_EQ(EnglishTypeName(*c.type, &messages), c.english) << c.english;
  }
  EXPECT_TRUE(messages.Entries().empty());
}

}  // namespace
}  // namespace lemmix
