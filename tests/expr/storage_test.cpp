// The storage form of expressions and variables.
#include <gtest/gtest.h>

#include "expr_fixture.h"
#include "shell/cp1251.h"

namespace lemmix {
namespace {

using testing::ExprTest;

// The text form, read back, writes the same text; and compares equal where
// the order can say so (variables read back are new objects).
class StorageTest : public ExprTest {
 protected:
  TExprPtr RoundTrip(const TExpr& e) {
    const std::string text = ToString(e);
    TVarList scope;
    TExprPtr back = FromString(text, &scope);
    EXPECT_TRUE(back) << text << "\n" << (messages.Entries().empty() ? "" : messages.Entries().back().message.Eng);
    if (back) {
      EXPECT_EQ(ToString(*back), text);
    }
    EXPECT_TRUE(scope.empty());
    return back;
  }
};

TEST_F(StorageTest, TheExampleOfAnUntypedCompound) {
  TExprPtr e = C(I(3), I(4));
  EXPECT_EQ(ToString(*e), "(,,compound,((,,intr,\\3),(,,intr,\\4)))");
  TExprPtr back = RoundTrip(*e);
  EXPECT_TRUE(Equal(*back, *e));
}

TEST_F(StorageTest, EveryClassButTheAntonymRoundTrips) {
  const TVarPtr alpha = Var(34);  // small alpha
  std::vector<TExprPtr> leaves;
  leaves.push_back(TExpr::Empty());
  leaves.push_back(I(49, "rMBESetT"));
  leaves.push_back(N(-12));
  leaves.push_back(TExpr::Number(*TNumber::Fraction(3, 4)));
  leaves.push_back(TExpr::Number(*TNumber::Decimal(125, 3)));
  leaves.push_back(TExpr::Number(*TNumber::Decimal(-25, 1)));
  leaves.push_back(TExpr::String("натуральное число"_cp));
  leaves.push_back(V('x', 12));
  leaves.push_back(V('a', -1, nullptr));
  leaves.push_back(TExpr::VarRef(TClass::DataVar, *alpha));
  leaves.push_back(TExpr::Par(TClass::MathPar, 3));
  leaves.push_back(Par(7, "nT"));
  for (const TExprPtr& leaf : leaves) {
    SCOPED_TRACE(ToString(*leaf));
    TExprPtr back = RoundTrip(*leaf);
    if (back && leaf->Class != TClass::NoClass && !leaf->IsVar() && leaf->Class != TClass::String &&
        leaf->Class != TClass::TemplPar) {
      EXPECT_TRUE(Equal(*back, *leaf));
    }
  }
  // A data variable keeps no reference to the original: the data_var node owns its copy.
  TVarPtr given = Var('g');
  TExprPtr data = TExpr::VarRef(TClass::ProveVar, *given);
  TExprPtr back = RoundTrip(*data);
  EXPECT_EQ(back->Class, TClass::ProveVar);
  EXPECT_EQ(back->Var()->Name, given->Name);
  EXPECT_EQ(back->Var()->Type, T("rT"));
}

TEST_F(StorageTest, BindersAndTemplatesRoundTrip) {
  // exists x in R: x^2 = 2, typed, and a template #1 + 1.
  TVarPtr x = Var('x');
  TExprPtr e = Op(1, "Log1T", Op(9, "EqualityT", Op(6, "rFunc2T", Loc(x), N(2)), N(2)));
  e->Bound = TVarList{x};
  e->Type = T("lT");
  TExprPtr back = RoundTrip(*e);
  ASSERT_TRUE(back && back->Bound);
  EXPECT_EQ(ArgByPath(*back, 111)->Var(), (*back->Bound)[0].get());
  TBindingLists lists;
  EXPECT_EQ(Comp(*back, *e, &lists), 0);
  EXPECT_EQ(ToString(*e),
            "(lT,((rT,x)),compound,((Log1T,,intr,\\1),(,,compound,((EqualityT,,intr,\\9),(,,compound,((rFunc2T,,intr,\\6),"
            "(rT,,loc_var,(rT,x)),(nT,,number,2))),(nT,,number,2)))))");

  TExprPtr templ = TExpr::Templ(Op(3, "rOpT", Par(1), N(1)));
  RoundTrip(*templ);
}

struct BadCase {
  const char* title;
  std::string text;
  std::string eng;  // the last message
};

void PrintTo(const BadCase& c, std::ostream* out) { *out << c.title; }

class StorageError : public StorageTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(StorageError, GivesItsMessageAndNothing) {
  TVarList scope;
  EXPECT_EQ(FromString(GetParam().text, &scope), nullptr);
  ASSERT_FALSE(messages.Entries().empty());
  EXPECT_EQ(messages.Entries().back().message.Eng, GetParam().eng);
  EXPECT_TRUE(scope.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StorageError,
    ::testing::Values(
        BadCase{"ThreeFields", "(,,intr)", "Invalid format of expression (,,intr)"},
        BadCase{"ExtraBracket", "(,,intr,\\3))", "Extra left bracket in string )"},
        BadCase{"UnknownType", "(xT,,intr,\\3)", "Wrong type identificator: xT"},
        BadCase{"UnknownClass", "(,,function,\\3)", "Invalid format of expression (,,function,\\3)"},
        BadCase{"IntrinsicWithoutBackslash", "(,,intr,3)", "Error 1 in intrinsic function interpration 3"},
        BadCase{"IntrinsicBeyondTheList", "(,,intr,\\300)", "Error 2 in intrinsic function interpration \\300"},
        BadCase{"IntrinsicNotANumber", "(,,intr,\\x)", "Error 2 in intrinsic function interpration \\x"},
        BadCase{"BadNumber", "(,,number,1.)", "Invalid format of expression (,,number,1.)"},
        BadCase{"FractionNotInLowestTerms", "(,,number,(2/4))", "Invalid format of expression (,,number,(2/4))"},
        BadCase{"LocalWithoutBinder", "(,,loc_var,(rT,x))", "Error in linking local variable (rT,x)"},
        BadCase{"BadVariable", "(,,nodef_var,(rT,x,y))", "Invalid format of variable (rT,x,y)"},
        BadCase{"BadIndex", "(,,nodef_var,(rT,x-1))", "After variable name x\\n it is occured invalid index: -1"},
        BadCase{"NegativeParameter", "(,,templ_par,-1)", "Invalid format of expression (,,templ_par,-1)"},
        BadCase{"AntonymPayload", "(,,ant_intr,\\9)", "Invalid format of expression (,,ant_intr,\\9)"},
        BadCase{"NullIntrinsic", "(,,intr,NULL)", "Invalid format of expression (,,intr,NULL)"},
        BadCase{"BadChild", "(,,compound,((,,intr,\\3),(,,intr)))", "Invalid format of expression (,,intr)"},
        BadCase{"TextWithAnOpenBracket", ",,string,a(b", "Invalid format of expression ,,string,a(b"}),
    [](const auto& info) { return std::string(info.param.title); });

TEST_F(StorageTest, NoScopeIsAnInternalError) {
  EXPECT_EQ(FromString("(,,intr,\\3)", nullptr), nullptr);
  EXPECT_EQ(messages.Entries().back().message.Eng, "Error 1 in TExpr::FromString()");
}

TEST_F(StorageTest, NamesOfVariables) {
  const struct {
    const char* text;
    std::optional<TVarName> name;
  } cases[] = {{"x12", TVarName{'x', 12}}, {"x", TVarName{'x', -1}},   {"\\alpha", TVarName{33, -1}},
               {"\\Alpha2", TVarName{1, 2}}, {"\\zeta", TVarName{58, -1}}, {"\\pi", std::nullopt},
               {"\\pi1", TVarName{48, 1}}, {"\\Varphi", TVarName{10, -1}}, {"0", std::nullopt},
               {"", std::nullopt},        {"7x", std::nullopt},         {"\\foo", std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(NameFromString(c.text, true), c.name) << c.text;
  EXPECT_TRUE(messages.Entries().empty());
  EXPECT_EQ(NameFromString("x-1", true), std::nullopt);
  EXPECT_EQ(messages.Entries().back().message,
            (TMessage{"После имени переменной x\\n встретился неверный индекс -1"_cp,
                      "After variable name x\\n it is occured invalid index: -1"}));
  EXPECT_EQ(NameText({48, 1}), "\\pi1");
  EXPECT_EQ(NameText({'y', -1}), "y");
  EXPECT_EQ(VarToString(TVar{{'x', 2}, nullptr}), "(,x2)");
  EXPECT_EQ(VarToString(TVar{{1, -1}, T("nT")}), "(nT,\\Alpha)");
  // A variable written without a type reads back without one, and says nothing.
  messages.Clear();
  const TVarPtr v = VarFromString("(,x2)");
  ASSERT_TRUE(v);
  EXPECT_EQ(v->Type, nullptr);
  EXPECT_TRUE(messages.Entries().empty());
}

}  // namespace
}  // namespace lemmix
