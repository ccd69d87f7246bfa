// The written forms of types: catalogue entries by identifier, built types by
// their structure, read back to the same type in this run and in a later one.
#include <gtest/gtest.h>

#include "shell/recording_messages.h"
#include "types/type.h"
#include "types/type_relations.h"
#include "types/types_proccess.h"

namespace lemmix {
namespace {

class TypeIdentifierTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(types.Load(LEMMIX_DATA_DIR));
    ASSERT_TRUE(later.Load(LEMMIX_DATA_DIR));
  }
  TType* T(const char* id) { return types.FindType(id, false); }
  TType* Set(TType* element, bool mayBeEmpty, bool finite) {
    TType* t = types.NewType("NewSetT", TBase::Set);
    *t->Set() = {element, mayBeEmpty, finite};
    return types.Intern(t);
  }
  TType* Fun(std::vector<TType*> args, TType* value, bool commutative = false,
             std::optional<std::vector<std::string>> restrictions = std::nullopt) {
    TType* t = types.NewType("", TBase::Fun);
    *t->Fun() = {std::move(args), value, commutative, std::move(restrictions)};
    return types.Intern(t);
  }

  RecordingMessages messages;
  TTypesProccess types{messages};
  // The catalogue of a later run, which has built nothing yet.
  TTypesProccess later{messages};
};

TEST_F(TypeIdentifierTest, EveryShapeIsWrittenAndReadBack) {
  TType* vec3 = types.NewType("", TBase::Vec);
  *vec3->Vec() = {T("lT"), 3};
  TType* vec = types.NewType("", TBase::Vec);
  *vec->Vec() = {T("qT"), std::nullopt};
  TType* list = types.NewType("", TBase::List);
  list->List()->Element = T("lT");
  TType* setOfSets = Set(T("AnySetT"), false, true);
  const struct {
    TType* type;
    std::string written;
  } cases[] = {
      {T("rFunc1T"), "rFunc1T"},
      {T("rMBESetT"), "rMBESetT"},
      {Set(T("lT"), true, false), "Set[lT]!E"},
      {Set(T("cT"), false, true), "Set[cT]!F"},
      {Set(T("qT"), true, true), "Set[qT]!E!F"},
      {Set(T("rrT"), false, false), "Set[rrT]"},
      {setOfSets, "Set[AnySetT]!F"},
      {Set(setOfSets, true, false), "Set[[Set[AnySetT]!F]]!E"},
      {FunctionTypeOf({T("nT"), T("nT")}, T("rT"), types), "nT_nT->rTFunT"},
      {FunctionTypeOf({}, T("lT"), types), "->lTFunT"},
      {FunctionTypeOf({setOfSets}, T("lT"), types), "[Set[AnySetT]!F]->lTFunT"},
      {FunctionTypeOf({FunctionTypeOf({T("nT"), T("nT")}, T("rT"), types)}, setOfSets, types),
       "[nT_nT->rTFunT]->[Set[AnySetT]!F]FunT"},
      {Fun({T("lT"), T("lT")}, T("lT"), true), "lT_lT->lTFunT!C"},
      {Fun({T("rT")}, T("rT"), false, std::vector<std::string>{"#0 \\NOT = 1", "x, y (z)%"}),
       "rT->rTFunT!R%230%20%5CNOT%20%3D%201!Rx%2C%20y%20%28z%29%25"},
      {Fun({T("rT")}, T("rT"), true, std::vector<std::string>{"\xE0"}), "rT->rTFunT!C!R%E0"},
      {types.Intern(vec3), "Vec[lT]!D3"},
      {types.Intern(vec), "Vec[qT]"},
      {types.Intern(list), "List[lT]"},
  };
  for (const auto& c : cases) {
    ASSERT_NE(c.type, nullptr) << c.written;
    EXPECT_EQ(types.Identifier(*c.type), c.written);
    EXPECT_EQ(types.ReadType(c.written, true), c.type) << c.written;
    // A later run builds the same structure from the text alone.
    TType* again = later.ReadType(c.written, true);
    ASSERT_NE(again, nullptr) << c.written;
    EXPECT_EQ(later.Identifier(*again), c.written);
    EXPECT_EQ(again->Base(), c.type->Base()) << c.written;
    EXPECT_EQ(later.ReadType(c.written, true), again) << c.written << " is built once";
  }
  EXPECT_TRUE(messages.Entries().empty()) << messages.Entries().front().message.Eng;
}

TEST_F(TypeIdentifierTest, ABuiltTypeEqualToAnEntryIsTheEntry) {
  // rT -> rT with the restriction of the logarithm is the entry LnT.
  const TFunType& ln = *T("LnT")->Fun();
  EXPECT_EQ(types.Identifier(*Fun(ln.Args, ln.Value, false, ln.Restrictions)), "LnT");
  EXPECT_EQ(types.ReadType("rT->rTFunT!R%230%20%3E%200", true), T("LnT"));
  EXPECT_EQ(types.ReadType("nT->rTFunT", true), T("SeqT"));
  EXPECT_EQ(types.ReadType("Set[rT]!E", true), T("rMBESetT"));
  // A set of reals built by a condition takes rMBESetT's name, not "NewSetT".
  EXPECT_EQ(types.Identifier(*Set(T("rT"), true, false)), "rMBESetT");
}

TEST_F(TypeIdentifierTest, NamesThatDoNotIdentifyAreNotWritten) {
  // Two sets built by conditions are both called NewSetT, and a generated
  // name like rFunc3T means nothing to a later run: both write their structure.
  TType* a = Set(T("lT"), true, false);
  TType* b = Set(T("cT"), true, false);
  ASSERT_EQ(a->Name, "NewSetT");
  ASSERT_EQ(b->Name, "NewSetT");
  EXPECT_EQ(types.ReadType(types.Identifier(*b), true), b);
  TType* three = RealFunctionType(3, types);
  ASSERT_EQ(three->Name, "rFunc3T");
  EXPECT_EQ(types.Identifier(*three), "rT_rT_rT->rTFunT");
  EXPECT_EQ(later.ReadType(types.Identifier(*three), true), RealFunctionType(3, later));
  // A type read in a run that had not built it is named by its written form.
  EXPECT_EQ(later.ReadType("Set[lT]!E", true)->Name, "Set[lT]!E");
  EXPECT_EQ(later.FindType("Set[lT]!E", false), later.ReadType("Set[lT]!E", false));
}

TEST_F(TypeIdentifierTest, EntriesWithOddOrShadowedIdentifiers) {
  RecordingMessages own;
  TTypesProccess odd(own);
  ASSERT_TRUE(odd.LoadLines({"String = my_T", "Base = simpleBT", "String = S", "Base = setBT", "Element = my_T",
                             "String = S", "Base = setBT", "Element = my_T", "Finite"},
                            "TYPES.DAT"));
  // An identifier with a sign of the structure stands in brackets inside one.
  TType* set = odd.NewType("", TBase::Set);
  *set->Set() = {odd.FindType("my_T", false), true, false};
  set = odd.Intern(set);
  EXPECT_EQ(odd.Identifier(*set), "Set[[my_T]]!E");
  EXPECT_EQ(odd.ReadType("Set[[my_T]]!E", true), set);
  EXPECT_EQ(odd.Identifier(*odd.FindType("my_T", false)), "my_T");
  // The second S is shadowed by the first, so its name would read as the other type.
  const TType* second = odd.Types()[2].get();
  ASSERT_EQ(second->Name, "S");
  EXPECT_EQ(odd.Identifier(*second), "Set[[my_T]]!F");
  EXPECT_EQ(odd.ReadType("Set[[my_T]]!F", true), second);
  EXPECT_TRUE(own.Entries().empty());
}

TEST_F(TypeIdentifierTest, AFormThatDoesNotReadBuildsNothing) {
  std::string deep = "nT";
  for (int i = 0; i < 100; ++i) deep = "[" + deep + "]";
  const std::string faults[] = {
      "",
      "xT",
      "Set[lT",
      "Set[lT]]",
      "Set(lT)",
      "Set[xT]!E",
      "Set[lT]!E!E",
      "Set[lT]!Z",
      "Set[lT]!",
      "Set[lT]!C",
      "Vec[rT]!D",
      "Vec[rT]!D-1",
      "Vec[rT]!Dx",
      "Vec[rT]!D99999999999",
      "List[lT]!E",
      "nT_nT->rT",
      "nT->nT->rTFunT",
      "nT_->rTFunT",
      "->FunT",
      "Set[]",
      "[]",
      "rT->rTFunT!C!C",
      "rT->rTFunT!Ra%2",
      "rT->rTFunT!R%e0",
      "rT->rTFunT!Ra b",
      "[Set[lT]!E]_xT->lTFunT",
      "[Set[lT]!E]->[Set[cT]!F]FunT!E",
      "[lT]_[lT",
      deep,
  };
  // Types that typing builds without a name must not answer for an empty part.
  TType* unnamed = types.NewType("", TBase::List);
  unnamed->List()->Element = T("cT");
  const std::size_t before = types.Types().size();
  for (const std::string& text : faults) {
    messages.Clear();
    EXPECT_EQ(types.ReadType(text, false), nullptr) << text;
    EXPECT_TRUE(messages.Entries().empty()) << text;
    EXPECT_EQ(types.ReadType(text, true), nullptr) << text;
    ASSERT_EQ(messages.Entries().size(), 1u) << text;
    EXPECT_EQ(messages.Entries()[0].message.Eng, "Wrong type identificator: " + text);
    EXPECT_EQ(types.Types().size(), before) << text << " built a part";
  }
  // Brackets around a whole form are allowed however deep the program could nest them.
  EXPECT_EQ(types.ReadType("[[[nT]]]", true), T("nT"));
}

}  // namespace
}  // namespace lemmix
