// The shipped data/TYPES.DAT: every identifier the system relies on, with the
// structure that makes typing and the type names come out right.
#include <gtest/gtest.h>

#include "shell/cp1251.h"
#include "shell/recording_messages.h"
#include "types/type_name.h"
#include "types/types_proccess.h"

namespace lemmix {
namespace {

class TypesData : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(types.Load(LEMMIX_DATA_DIR)) << Cp1251ToUtf8(messages.Entries().at(0).message.Rus);
  }
  TType* T(const char* id) {
    TType* t = types.FindType(id, false);
    EXPECT_NE(t, nullptr) << id;
    return t;
  }

  RecordingMessages messages;
  TTypesProccess types{messages};
};

TEST_F(TypesData, SimpleTypesHaveTheirDescriptiveNames) {
  const struct {
    const char* id;
    std::string name;
  } cases[] = {{"AnyT", "любой элемент"_cp},    {"lT", "логический объект"_cp},
               {"nT", "натуральное число"_cp},  {"n0T", "натуральное число или ноль"_cp},
               {"zT", "целое число"_cp},        {"qT", "рациональное число"_cp},
               {"rT", "вещественное число"_cp}, {"rrT", "вещ. число или беск. со знаком"_cp},
               {"cT", "комплексное число"_cp},  {"NotT", "пустой тип"_cp}};
  for (const auto& c : cases) {
    TType* t = T(c.id);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->Base(), TBase::Simple) << c.id;
    EXPECT_EQ(TypeName(*t, &messages), c.name) << c.id;
  }
  EXPECT_TRUE(messages.Entries().empty());
}

TEST_F(TypesData, CompositeTypesHaveTheStructureTheSystemRelisOn) {
  const struct {
    const char* id;
    std::string name;
  } cases[] = {
      {"AnySetT", "множество любых элементов, возможно пустое"_cp},
      {"nMBESetT", "множество элементов типа натуральное число, возможно пустое"_cp},
      {"zMBESetT", "множество элементов типа целое число, возможно пустое"_cp},
      {"qMBESetT", "множество элементов типа рациональное число, возможно пустое"_cp},
      {"rMBESetT", "множество, возможно пустое"_cp},
      {"rSetT", "множество, возможно пустое"_cp},
      {"NSeqT", "последовательность натуральных чисел"_cp},
      {"ZSeqT", "последовательность целых чисел"_cp},
      {"QSeqT", "последовательность рациональных чисел"_cp},
      {"SeqT", "последовательность"_cp},
      {"FuncSeqT", "функциональная последовательность"_cp},
      {"rFunc1T", "функция"_cp},
      {"rFunc2T", "функция 2 переменных"_cp},
      {"Set2FuncT",
       "функция с аргументами типов функция, множество, возможно пустое со значением типа множество, возможно пустое"_cp},
      {"SetCondFuncT1",
       "функция с аргументами типов вещественное число, логический объект со значением типа множество, возможно пустое"_cp},
      {"r2VecT", "вектор размерности 2"_cp},
      {"rVecT", "вектор"_cp},
      {"rListT", "список "_cp},
  };
  for (const auto& c : cases) {
    TType* t = T(c.id);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(TypeName(*t, &messages), c.name) << c.id;
  }
  EXPECT_TRUE(messages.Entries().empty());

  // Sequences are functions on nT; the sets of numbers may be empty and are not finite.
  for (const char* id : {"NSeqT", "ZSeqT", "QSeqT", "SeqT", "FuncSeqT"}) EXPECT_TRUE(IsNaturalSequence(*T(id))) << id;
  for (const char* id : {"nMBESetT", "zMBESetT", "qMBESetT", "rMBESetT", "AnySetT"}) {
    EXPECT_TRUE(T(id)->Set()->MayBeEmpty) << id;
    EXPECT_FALSE(T(id)->Set()->Finite) << id;
  }
  EXPECT_EQ(T("FuncSeqT")->Fun()->Value, T("rFunc1T"));
}

TEST_F(TypesData, BuiltTypesInternToTheNamedEntries) {
  TType* seq = types.NewType("", TBase::Fun);
  seq->Fun()->Args = {T("nT")};
  seq->Fun()->Value = T("rT");
  EXPECT_EQ(types.Intern(seq), T("SeqT"));

  TType* real = types.NewType("", TBase::Fun);
  real->Fun()->Args = {T("rT")};
  real->Fun()->Value = T("rT");
  EXPECT_EQ(types.Intern(real), T("rFunc1T"));

  // A possibly empty set of reals built by typing takes the first entry of its structure.
  TType* set = types.NewType("NewSetT", TBase::Set);
  *set->Set() = {T("rT"), true, false};
  EXPECT_EQ(types.Intern(set), T("rMBESetT"));
}

// Each restricted entry is a structure of its own: an equal entry before it
// would take its place whenever such a type is interned.
TEST_F(TypesData, RestrictedEntriesAreTheirOwnStructures) {
  int restricted = 0;
  for (const auto& t : types.Types()) {
    if (!t->Fun() || !t->Fun()->Restrictions) continue;
    ++restricted;
    EXPECT_EQ(types.Intern(types.Copy(*t)), t.get()) << t->Name;
    EXPECT_FALSE(t->Fun()->Restrictions->empty()) << t->Name;
    EXPECT_FALSE(IsNaturalSequence(*t)) << t->Name;
  }
  EXPECT_GE(restricted, 15);
}

}  // namespace
}  // namespace lemmix
