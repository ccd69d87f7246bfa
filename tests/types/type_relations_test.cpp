// The subtype order over the shipped type catalogue.
#include "types/type_relations.h"

#include <gtest/gtest.h>

#include "shell/recording_messages.h"
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
