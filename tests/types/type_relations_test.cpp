// The subtype order over the shipped type catalogue.
#include "types/type_relations.h"

#include <gtest/gtest.h>

#include "shell/cp1251.h"
#include "shell/recording_messages.h"
#include "types/type_name.h"
#include "types/types_proccess.h"

namespace lemmix {
namespace {

class SubtypeTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(types.Load(LEMMIX_DATA_DIR)); }
  const TType* T(const char* id) { return types.FindType(id, false); }
  bool Sub(const char* a, const char* b) { return IsSubtypeOf(T(a), T(b), types); }
  TType* Set(const char* element, bool mayBeEmpty, bool finite) {
    TType* t = types.NewType("", TBase::Set);
    *t->Set() = {types.FindType(element, false), mayBeEmpty, finite};
    return t;
  }

  RecordingMessages messages;
  TTypesProccess types{messages};
};

TEST_F(SubtypeTest, SimpleChain) {
  const struct {
    const char *a, *b;
    bool sub;
  } cases[] = {{"nT", "rT", true},   {"rT", "nT", false},  {"lT", "rT", false},  {"NotT", "zT", true},
               {"NotT", "lT", false}, {"rT", "rrT", true},  {"rT", "cT", true},   {"rrT", "cT", false},
               {"n0T", "nT", false}, {"nT", "n0T", true},  {"qT", "qT", true},   {"lT", "AnyT", true},
               {"rSetT", "AnyT", true}, {"zT", "lT", false}};
  for (const auto& c : cases) EXPECT_EQ(Sub(c.a, c.b), c.sub) << c.a << " <= " << c.b;
  EXPECT_FALSE(IsSubtypeOf(T("nT"), nullptr, types));
  EXPECT_TRUE(messages.Entries().empty());
}

TEST_F(SubtypeTest, SetsFunctionsAndVectors) {
  // A finite set that may not be empty lies below a possibly empty infinite one, not conversely.
  EXPECT_TRUE(IsSubtypeOf(Set("nT", false, true), Set("nT", true, false), types));
  EXPECT_FALSE(IsSubtypeOf(Set("nT", true, false), Set("nT", false, true), types));
  EXPECT_TRUE(Sub("nMBESetT", "rMBESetT"));
  EXPECT_TRUE(Sub("rMBESetT", "AnySetT"));
  EXPECT_TRUE(Sub("rFinSetT", "rSetT"));
  EXPECT_FALSE(Sub("lSetT", "rSetT"));
  // Functions: the values covariant, the arguments the same.
  EXPECT_TRUE(Sub("NSeqT", "SeqT"));
  EXPECT_FALSE(Sub("SeqT", "NSeqT"));
  EXPECT_FALSE(Sub("rFunc1T", "SeqT"));
  EXPECT_FALSE(Sub("rFunc1T", "EqualityT"));  // no commutative flag
  // A constant where a function with a wider value is expected.
  EXPECT_TRUE(Sub("nT", "SeqT"));
  // A simple type below a vector of any dimension of a wider element.
  EXPECT_TRUE(Sub("nT", "rVecT"));
  EXPECT_FALSE(Sub("nT", "r2VecT"));
}

TEST_F(SubtypeTest, RestrictionsMatchOnlyTheFalseRestriction) {
  TType* restricted = types.Copy(*T("rFunc1T"));
  restricted->Fun()->Restrictions = {"#1 > 0"};
  TType* anything = types.Copy(*T("rFunc1T"));
  anything->Fun()->Restrictions = {"\\false"};
  EXPECT_FALSE(IsSubtypeOf(restricted, T("rFunc1T"), types));
  EXPECT_TRUE(IsSubtypeOf(restricted, anything, types));
  EXPECT_FALSE(IsSubtypeOf(T("rFunc1T"), restricted, types));
}

// Two set types that differ in the may-be-empty flag alone.
TEST_F(SubtypeTest, SetsDifferingOnlyInMayBeEmpty) {
  for (const char* element : {"nT", "rT", "AnyT"}) {
    for (const bool finite : {false, true}) {
      const TType* surely = Set(element, false, finite);
      const TType* maybe = Set(element, true, finite);
      EXPECT_TRUE(IsSubtypeOf(surely, maybe, types)) << element << finite;
      EXPECT_FALSE(IsSubtypeOf(maybe, surely, types)) << element << finite;
      EXPECT_TRUE(IsSubtypeOf(maybe, Set(element, true, finite), types)) << element << finite;
    }
  }
}

// Two functional types that differ in commutativity alone: a commutative
// function is a function, not conversely.
TEST_F(SubtypeTest, FunctionsDifferingOnlyInCommutativity) {
  const auto fun = [&](const char* value, bool commutative) {
    TType* t = types.NewType("", TBase::Fun);
    *t->Fun() = {{types.FindType("rT", false), types.FindType("rT", false)}, types.FindType(value, false), commutative,
                 std::nullopt};
    return t;
  };
  for (const char* value : {"rT", "lT"}) {
    EXPECT_TRUE(IsSubtypeOf(fun(value, true), fun(value, false), types)) << value;
    EXPECT_FALSE(IsSubtypeOf(fun(value, false), fun(value, true), types)) << value;
    EXPECT_TRUE(IsSubtypeOf(fun(value, true), fun(value, true), types)) << value;
  }
  EXPECT_TRUE(Sub("rOpT", "rFunc2T"));
  EXPECT_FALSE(Sub("rFunc2T", "rOpT"));
}

// Sets neither of which lies below the other meet in a set that may be empty
// only if both may, and is finite if either is.
TEST_F(SubtypeTest, CommonSubtypeOfUnrelatedSets) {
  const struct {
    bool aEmpty, aFinite, bEmpty, bFinite;
  } cases[] = {{true, true, false, false}, {false, false, true, true}, {true, false, false, true},
               {true, false, true, true},  {false, false, false, true}, {true, true, false, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.aEmpty << c.aFinite << c.bEmpty << c.bFinite);
    TType* a = Set("nT", c.aEmpty, c.aFinite);
    TType* b = Set("rT", c.bEmpty, c.bFinite);
    ASSERT_FALSE(IsSubtypeOf(a, b, types));
    ASSERT_FALSE(IsSubtypeOf(b, a, types));
    for (const TType* common : {CommonSubtype(a, b, types), CommonSubtype(b, a, types)}) {
      ASSERT_NE(common, nullptr);
      EXPECT_EQ(common->Set()->Element, T("nT"));
      EXPECT_EQ(common->Set()->MayBeEmpty, c.aEmpty && c.bEmpty);
      EXPECT_EQ(common->Set()->Finite, c.aFinite || c.bFinite);
      EXPECT_TRUE(IsSubtypeOf(common, a, types) && IsSubtypeOf(common, b, types));
    }
  }
}

// A partial function of the catalogue lies below no total one, and no total
// one below it; functions with other restrictions are unrelated too.
TEST_F(SubtypeTest, RestrictedCatalogueFunctions) {
  const struct {
    const char *a, *b;
  } unrelated[] = {{"rQuotT", "rFunc2T"}, {"LnT", "rFunc1T"}, {"SqrtT", "LnT"}, {"TanT", "CotT"},
                   {"SupT", "InfT"},     {"SupT", "SetToRealT"}, {"qQuotT", "qDivT"}, {"rPowT", "rQuotT"}};
  for (const auto& c : unrelated) {
    EXPECT_FALSE(Sub(c.a, c.b)) << c.a << " <= " << c.b;
    EXPECT_FALSE(Sub(c.b, c.a)) << c.b << " <= " << c.a;
  }
  EXPECT_TRUE(Sub("LnT", "LnT"));
  EXPECT_TRUE(Sub("nT", "LnT"));  // a constant where a function is expected, as ever
  // Applying a partial function types as applying any function.
  const TResult quotient =
      ResultType(types.FindType("rQuotT", false), {types.FindType("nT", false), types.FindType("rT", false)}, false, types);
  EXPECT_EQ(quotient.Type, T("rT"));
  EXPECT_TRUE(quotient.Fits);
  // The common subtype of functions with different restrictions is their common value.
  EXPECT_EQ(CommonSubtype(types.FindType("rQuotT", false), types.FindType("rFunc2T", false), types), T("rT"));
  EXPECT_EQ(TypeName(*T("rQuotT"), &messages), "функция 2 переменных с ограничениями"_cp);
  EXPECT_EQ(TypeName(*T("LimSeqT"), &messages), "функция с ограничениями"_cp);
  EXPECT_EQ(TypeName(*T("SupT"), &messages),
            "функция с аргументами типов множество, возможно пустое с ограничениями"_cp);
  EXPECT_TRUE(messages.Entries().empty());
}

TEST_F(SubtypeTest, CyclicTypesAreDecided) {
  RecordingMessages own;
  TTypesProccess cyclic(own);
  ASSERT_TRUE(cyclic.LoadLines({"String = AnyT", "Base = simpleBT", "String = L", "Base = listBT", "Element = L",
                                "String = M", "Base = listBT", "Element = M"},
                               "TYPES.DAT"));
  EXPECT_TRUE(IsSubtypeOf(cyclic.FindType("L", false), cyclic.FindType("M", false), cyclic));
}

}  // namespace
}  // namespace lemmix

namespace lemmix {
namespace {

TEST_F(SubtypeTest, ResultTypes) {
  TTypesProccess& t = types;
  const auto R = [&](const char* f, std::vector<const char*> args, bool all) {
    std::vector<TType*> argTypes;
    for (const char* a : args) argTypes.push_back(a ? t.FindType(a, false) : nullptr);
    return ResultType(t.FindType(f, false), argTypes, all, t);
  };
  const struct {
    const char* title;
    TResult got;
    const char* type;
    bool fits;
  } cases[] = {
      {"fitting", R("rFunc2T", {"nT", "rT"}, false), "rT", true},
      {"wider", R("zNegT", {"rT"}, false), "zT", false},
      {"unrelated", R("rFunc1T", {"lT"}, false), nullptr, false},
      {"count", R("rFunc1T", {"rT", "rT"}, false), nullptr, false},
      {"absent argument", R("rFunc1T", {nullptr}, false), nullptr, false},
      {"AnyT argument", R("EqualityT", {"lT", "rT", "SeqT"}, false), "lT", true},
      {"one type for all", R("nOpT", {"nT", "nT", "nT"}, true), "nT", true},
      {"one type for all, wider", R("nOpT", {"nT", "zT"}, true), "nT", false},
      {"one type for all, absent", R("nOpT", {"nT", nullptr}, true), nullptr, false},
      {"no arguments", R("rT", {}, false), "rT", true},
      {"simple", R("rT", {"nT"}, false), "rT", true},
      {"set", R("rSetT", {"nT"}, false), nullptr, true},
      {"list", R("rListT", {"nT", "qT"}, false), "rListT", true},
      {"list, wider", R("rListT", {"rrT"}, false), "rListT", false},
      {"list, unrelated", R("rListT", {"lT"}, false), nullptr, false},
      {"image", R("Set2FuncT", {"rFunc1T", "rMBESetT"}, false), "rSetT", true},
      {"image of a finite set", R("Set2FuncT", {"rFunc1T", "rFinSetT"}, false), "rSetT", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.got.Type, c.type ? t.FindType(c.type, false) : nullptr) << c.title;
    EXPECT_EQ(c.got.Fits, c.fits) << c.title;
  }
}

TEST_F(SubtypeTest, CommonSubtypes) {
  EXPECT_EQ(CommonSubtype(types.FindType("nT", false), types.FindType("rT", false), types), T("nT"));
  EXPECT_EQ(CommonSubtype(types.FindType("rT", false), types.FindType("zT", false), types), T("zT"));
  EXPECT_EQ(CommonSubtype(types.FindType("lT", false), types.FindType("rT", false), types), nullptr);
  // Two sets: may be empty only if both may, finite if either is.
  const TType* both = CommonSubtype(Set("rT", true, false), Set("nT", true, true), types);
  ASSERT_NE(both, nullptr);
  EXPECT_EQ(both->Set()->Element, T("nT"));
  EXPECT_TRUE(both->Set()->MayBeEmpty);
  EXPECT_TRUE(both->Set()->Finite);
  EXPECT_EQ(CommonSubtype(Set("lT", true, false), Set("rT", true, false), types), nullptr);
  // A function and a simple type meet in the value; functions of the same arguments in a function.
  EXPECT_EQ(CommonSubtype(types.FindType("SeqT", false), types.FindType("zT", false), types), T("zT"));
  EXPECT_EQ(CommonSubtype(types.FindType("SeqT", false), types.FindType("ZSeqT", false), types), T("ZSeqT"));
  EXPECT_EQ(CommonSubtype(types.FindType("rFunc1T", false), types.FindType("SeqT", false), types), T("rT"));
}

TEST_F(SubtypeTest, BuiltFunctionTypesAndTheirNames) {
  TType* n = types.FindType("nT", false);
  TType* r = types.FindType("rT", false);
  EXPECT_EQ(FunctionTypeOf({n}, r, types), T("SeqT"));  // the catalogue's entry, with its name
  TType* built = FunctionTypeOf({n, n}, r, types);
  EXPECT_EQ(built->Name, "nT_nT->rTFunT");
  EXPECT_EQ(FunctionTypeOf({n, n}, r, types), built);
  EXPECT_EQ(RealFunctionType(1, types), T("rFunc1T"));
  EXPECT_EQ(RealFunctionType(2, types), T("rFunc2T"));
  EXPECT_EQ(RealFunctionType(3, types)->Name, "rFunc3T");
  EXPECT_EQ(TypeName(*built, nullptr), "функция с аргументами типов натуральное число, натуральное число"_cp);
  EXPECT_EQ(TypeName(*RealFunctionType(3, types), nullptr), "функция 3 переменных"_cp);
}

TEST_F(SubtypeTest, WordsOfSetsAndSequences) {
  const struct {
    const char* word;
    const char* simple;
    const char* subsets;
  } sets[] = {{"\\N", "nT", "nMBESetT"}, {"\\N0", "n0T", nullptr}, {"\\Z", "zT", "zMBESetT"},
              {"\\Q", "qT", "qMBESetT"}, {"\\R", "rT", "rMBESetT"}, {"\\U", "AnyT", "AnySetT"},
              {"\\L", "lT", nullptr},    {"\\C", nullptr, nullptr}};
  for (const auto& s : sets) {
    EXPECT_EQ(SimpleTypeOfSetWord(s.word, types), s.simple ? T(s.simple) : nullptr) << s.word;
    EXPECT_EQ(SubsetTypeOfSetWord(s.word, types), s.subsets ? T(s.subsets) : nullptr) << s.word;
  }
  EXPECT_EQ(SequenceTypeOf("nT", types), T("NSeqT"));
  EXPECT_EQ(SequenceTypeOf("n0T", types), T("ZSeqT"));
  EXPECT_EQ(SequenceTypeOf("zT", types), T("ZSeqT"));
  EXPECT_EQ(SequenceTypeOf("qT", types), T("QSeqT"));
  EXPECT_EQ(SequenceTypeOf("rT", types), T("SeqT"));
  EXPECT_EQ(SequenceTypeOf("lT", types), nullptr);
}

}  // namespace
}  // namespace lemmix
