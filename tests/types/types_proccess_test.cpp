// Lookup, interning, structural equality and catalogue order.
#include "types/types_proccess.h"

#include <gtest/gtest.h>

#include "shell/cp1251.h"
#include "shell/recording_messages.h"
#include "types/type_name.h"

namespace lemmix {
namespace {

class TypesProccessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        types.LoadLines({"String = AnyT", "Base = simpleBT", "String = nT", "Base = simpleBT", "String = rT",
                         "Base = simpleBT", "String = lT", "Base = simpleBT", "String = rMBESetT", "Base = setBT",
                         "Element = rT", "MayBeEmpty", "String = SeqT", "Base = funBT", "AddArg = nT", "Value = rT"},
                        "TYPES.DAT"));
    n = types.FindType("nT", false);
    r = types.FindType("rT", false);
  }

  TType* Set(TType* element, bool mayBeEmpty, bool finite) {
    TType* t = types.NewType("", TBase::Set);
    *t->Set() = {element, mayBeEmpty, finite};
    return t;
  }
  TType* Fun(std::vector<TType*> args, TType* value) {
    TType* t = types.NewType("", TBase::Fun);
    t->Fun()->Args = std::move(args);
    t->Fun()->Value = value;
    return t;
  }

  RecordingMessages messages;
  TTypesProccess types{messages};
  TType* n = nullptr;
  TType* r = nullptr;
};

TEST_F(TypesProccessTest, FindTypeIsExactAndReportsOnlyWhenAsked) {
  EXPECT_EQ(types.FindType("nT", true)->Name, "nT");
  EXPECT_EQ(types.FindType("NT", false), nullptr);
  EXPECT_TRUE(messages.Entries().empty());
  EXPECT_EQ(types.FindType("NT", true), nullptr);
  ASSERT_EQ(messages.Entries().size(), 1u);
  EXPECT_EQ(messages.Entries()[0].message,
            (TMessage{"Неверный идентификатор типа: NT"_cp, "Wrong type identificator: NT"}));
}

TEST_F(TypesProccessTest, FindTypeByNameUsesTheDescriptiveNames) {
  EXPECT_EQ(types.FindTypeByName("натуральное число"_cp, true), n);
  EXPECT_EQ(types.FindTypeByName("последовательность"_cp, true), types.FindType("SeqT", false));
  EXPECT_EQ(types.FindTypeByName("множество, возможно пустое"_cp, true), types.FindType("rMBESetT", false));
  EXPECT_TRUE(messages.Entries().empty());
  EXPECT_EQ(types.FindTypeByName("число"_cp, true), nullptr);
  ASSERT_EQ(messages.Entries().size(), 1u);
  EXPECT_EQ(messages.Entries()[0].message,
            (TMessage{"Неверное название типа: число"_cp, "Wrong type's name: число"_cp}));
}

TEST_F(TypesProccessTest, InternYieldsTheEarlierEqualTypeAndDeletesTheNewOne) {
  const std::size_t before = types.Types().size();
  TType* seq = Fun({n}, r);
  EXPECT_EQ(types.Intern(seq), types.FindType("SeqT", false));
  EXPECT_EQ(types.Types().size(), before);

  // A new structure stays, and building it again yields the same object.
  TType* first = types.Intern(Fun({r}, n));
  EXPECT_EQ(types.Types().size(), before + 1);
  EXPECT_EQ(types.Intern(Fun({r}, n)), first);
  EXPECT_EQ(types.Types().size(), before + 1);
}

TEST_F(TypesProccessTest, InternOfALaterEqualKeepsTheCatalogueOrder) {
  TType* a = types.Intern(Set(n, false, true));
  TType* b = Set(n, false, true);
  TType* later = Fun({n, n}, r);
  EXPECT_EQ(types.Intern(b), a);
  EXPECT_EQ(CatalogueOrder(a, later), -1);
  EXPECT_EQ(types.Types().back().get(), later);
}

TEST_F(TypesProccessTest, StructuralEquality) {
  TType* l = types.FindType("lT", false);
  // Sets compare their elements structurally and their flags.
  EXPECT_TRUE(Equal(*Set(r, true, false), *types.FindType("rMBESetT", false)));
  EXPECT_FALSE(Equal(*Set(r, false, false), *Set(r, true, false)));
  EXPECT_FALSE(Equal(*Set(r, true, true), *Set(r, true, false)));
  EXPECT_FALSE(Equal(*Set(n, true, false), *Set(r, true, false)));
  EXPECT_TRUE(Equal(*Set(Set(n, true, false), false, false), *Set(Set(n, true, false), false, false)));
  // Simple types by name; different bases never.
  EXPECT_TRUE(Equal(*types.NewType("nT", TBase::Simple), *n));
  EXPECT_FALSE(Equal(*n, *r));
  EXPECT_FALSE(Equal(*Set(r, true, false), *Fun({r}, l)));
  // Functions: flags, value and arguments by identity, restrictions as text.
  TType* f = Fun({r, r}, l);
  TType* g = Fun({r, r}, l);
  EXPECT_TRUE(Equal(*f, *g));
  g->Fun()->Commutative = true;
  EXPECT_FALSE(Equal(*f, *g));
  EXPECT_FALSE(Equal(*Fun({r, r}, l), *Fun({r}, l)));
  EXPECT_FALSE(Equal(*Fun({r}, n), *Fun({r}, types.NewType("nT", TBase::Simple))));
  TType* h = Fun({r, r}, l);
  h->Fun()->Restrictions.emplace();
  EXPECT_FALSE(Equal(*f, *h));  // an empty list is not the absent list
  f->Fun()->Restrictions = {"#1 > 0"};
  h->Fun()->Restrictions = {"#1 > 0"};
  EXPECT_TRUE(Equal(*f, *h));
  h->Fun()->Restrictions = {"#1>0"};
  EXPECT_FALSE(Equal(*f, *h));
  // Vectors by dimension and element.
  TType* v = types.NewType("", TBase::Vec);
  *v->Vec() = {r, 2};
  TType* w = types.NewType("", TBase::Vec);
  *w->Vec() = {r, std::nullopt};
  EXPECT_FALSE(Equal(*v, *w));
  w->Vec()->Dimension = 2;
  EXPECT_TRUE(Equal(*v, *w));
  // Lists by element.
  TType* a = types.NewType("", TBase::List);
  TType* b = types.NewType("", TBase::List);
  a->List()->Element = r;
  b->List()->Element = n;
  EXPECT_FALSE(Equal(*a, *b));
  EXPECT_TRUE(messages.Entries().empty());
}

TEST_F(TypesProccessTest, UnknownBaseIsAnInternalError) {
  TType* odd = types.NewType("odd", TBase::Simple);
  odd->SetBase(static_cast<TBase>(7));
  EXPECT_FALSE(Equal(*odd, *odd, &messages));
  ASSERT_EQ(messages.Entries().size(), 1u);
  EXPECT_EQ(messages.Entries()[0].message.Eng, "In comparison of types an unknown base type is occured");
  EXPECT_EQ(TypeName(*odd, &messages), "");
  EXPECT_EQ(messages.Entries()[1].message.Rus, "Ошибка при определении названия типа: неизвестный базовый тип"_cp);
}

TEST_F(TypesProccessTest, CatalogueOrder) {
  TType* built = Fun({r}, r);
  EXPECT_EQ(CatalogueOrder(n, r), -1);
  EXPECT_EQ(CatalogueOrder(r, n), 1);
  EXPECT_EQ(CatalogueOrder(r, r), 0);
  EXPECT_EQ(CatalogueOrder(built, n), 1);
  EXPECT_EQ(CatalogueOrder(nullptr, n), 1);
  EXPECT_EQ(CatalogueOrder(n, nullptr), 1);
}

TEST_F(TypesProccessTest, CopyIsDeepForThePayloadAndSharesReferences) {
  TType* f = Fun({n}, r);
  f->Name = "F";
  f->Fun()->Restrictions = {"#1 > 0"};
  TType* copy = types.Copy(*f);
  EXPECT_EQ(types.Types().back().get(), copy);
  EXPECT_EQ(copy->Name, "F");
  EXPECT_TRUE(Equal(*f, *copy));
  EXPECT_EQ(copy->Fun()->Value, r);
  copy->Fun()->Restrictions->push_back("#1 < 1");
  copy->Fun()->Args.push_back(r);
  EXPECT_EQ(f->Fun()->Restrictions->size(), 1u);
  EXPECT_EQ(f->Fun()->Args.size(), 1u);
  EXPECT_EQ(CatalogueOrder(f, copy), -1);
}

TEST_F(TypesProccessTest, SimpleTypeNamesAndTheUnknownOne) {
  EXPECT_EQ(TypeName(*r, &messages), "вещественное число"_cp);
  EXPECT_EQ(TypeName(*types.FindType("AnyT", false), &messages), "любой элемент"_cp);
  TType* other = types.NewType("xT", TBase::Simple);
  EXPECT_EQ(TypeName(*other, nullptr), "");
  EXPECT_TRUE(messages.Entries().empty());
  EXPECT_EQ(TypeName(*other, &messages), "");
  ASSERT_EQ(messages.Entries().size(), 1u);
  EXPECT_EQ(messages.Entries()[0].message.Eng,
            "In detection of the name of a simple type an unknown type is occured: xT");
}

}  // namespace
}  // namespace lemmix

namespace lemmix {
namespace {

// An element may name the entry being defined, so catalogue types can be cyclic.
TEST(CyclicTypes, CompareAndNameWithoutEndlessUnfolding) {
  RecordingMessages messages;
  TTypesProccess types(messages);
  ASSERT_TRUE(types.LoadLines({"String = rT", "Base = simpleBT", "String = L", "Base = listBT", "Element = L",
                               "String = M", "Base = listBT", "Element = M", "String = S", "Base = setBT",
                               "Element = S", "Finite", "String = V", "Base = vecBT", "Element = S"},
                              "TYPES.DAT"));
  TType* l = types.FindType("L", false);
  TType* m = types.FindType("M", false);
  TType* s = types.FindType("S", false);
  EXPECT_TRUE(Equal(*l, *m));  // no difference shows however far they are unfolded
  EXPECT_FALSE(Equal(*l, *s));
  EXPECT_EQ(types.Intern(types.Copy(*m)), l);
  EXPECT_EQ(TypeName(*l, &messages), "список элемнтов типа L"_cp);
  EXPECT_EQ(TypeName(*types.FindType("V", false), &messages),
            "вектор с элемнтами типа множество элементов типа S, конечное"_cp);
  EXPECT_TRUE(messages.Entries().empty());
}

}  // namespace
}  // namespace lemmix
