// The storage form of expressions and variables.
#include <gtest/gtest.h>

#include <random>

#include "expr/templates.h"
#include "intrinsics/intr_numbers.h"
#include "expr/typing.h"
#include "expr_fixture.h"
#include "notation/parser.h"
#include "shell/cp1251.h"
#include "types/type.h"

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

// Trees whose types typing builds — functions by formula, sets given by a
// condition, templates — nested in one another over variables of catalogue
// types and of the types built before, from a fixed seed.
class BuiltTypesTest : public StorageTest {
 protected:
  TType* AnyType() { return pool_[random_() % pool_.size()]; }
  TVarPtr NewVar(char letter, int depth) {
    return std::make_shared<TVar>(TVar{{static_cast<std::int8_t>(letter), depth}, AnyType()});
  }

  // No free variables, so that a tree read back compares equal to it.
  TExprPtr Generate(int depth, TVarList& scope) {
    switch (depth > 0 ? random_() % 5 : 0) {
      case 0:
        if (!scope.empty() && random_() % 3 != 0) return Loc(scope[random_() % scope.size()]);
        return N(static_cast<std::int32_t>(random_() % 5) - 2);
      case 1: {  // \fun ( x , y ) = body
        TVarList vars = {NewVar('x', depth)};
        if (random_() % 2 == 0) vars.push_back(NewVar('y', depth));
        TExprPtr lambda = Op(kLambda, nullptr, Nested(depth, scope, vars));
        lambda->Bound = std::move(vars);
        return lambda;
      }
      case 2: {  // { v : v = term }
        TVarList vars = {NewVar('v', depth)};
        TExprPtr condition = Op(kEq, nullptr, Loc(vars.front()), Nested(depth, scope, vars));
        TExprPtr set = Op(kSetOf, nullptr, std::move(condition));
        set->Bound = std::move(vars);
        return set;
      }
      case 3:
        return Op(kEq, nullptr, Generate(depth - 1, scope), Generate(depth - 1, scope));
      default: {  // a template #0 = term, or #1 = term
        TExprPtr body = Op(kEq, nullptr, Par(static_cast<int>(random_() % 2), nullptr), Generate(depth - 1, scope));
        body->Children()[1]->Type = AnyType();
        if (ExprType(*body, true) == nullptr) return nullptr;
        TType* type = TemplateType(*body);
        TExprPtr templ = TExpr::Templ(std::move(body));
        templ->Type = type;
        return templ;
      }
    }
  }

  TExprPtr Nested(int depth, TVarList& scope, const TVarList& vars) {
    scope.insert(scope.end(), vars.begin(), vars.end());
    TExprPtr inner = Generate(depth - 1, scope);
    scope.resize(scope.size() - vars.size());
    return inner;
  }

  // The same tree with the same types: each node, each bound variable.
  void ExpectSame(const TExpr& a, const TExpr& b) {
    ASSERT_EQ(a.Class, b.Class);
    EXPECT_EQ(a.Type, b.Type) << TypeText(a.Type) << " / " << TypeText(b.Type);
    ASSERT_EQ(a.Bound.has_value(), b.Bound.has_value());
    if (a.Bound) {
      ASSERT_EQ(a.Bound->size(), b.Bound->size());
      for (std::size_t i = 0; i < a.Bound->size(); ++i) {
        EXPECT_EQ((*a.Bound)[i]->Type, (*b.Bound)[i]->Type);
        EXPECT_EQ((*a.Bound)[i]->Name, (*b.Bound)[i]->Name);
      }
    }
    if (a.IsVar()) {
      EXPECT_EQ(a.Var()->Type, b.Var()->Type);
    }
    if (a.Class == TClass::Templ) ExpectSame(*a.Inner(), *b.Inner());
    if (a.Class != TClass::Compound) return;
    ASSERT_EQ(a.Children().size(), b.Children().size());
    for (std::size_t i = 0; i < a.Children().size(); ++i) ExpectSame(*a.Children()[i], *b.Children()[i]);
  }

  std::string TypeText(const TType* t) { return t ? context.TypesProccess->Identifier(*t) : "-"; }

  // A later run, which has built none of the types, reads every text and writes it again.
  void ExpectReadInALaterRun(const std::vector<std::string>& texts) {
    TSession later(messages, messages);
    ASSERT_TRUE(later.NewTypes().Load(LEMMIX_DATA_DIR) && later.NewStFunc().LoadIntrinsics(LEMMIX_DATA_DIR));
    TContextScope laterScope(later);
    for (const std::string& text : texts) {
      TVarList readScope;
      TExprPtr back = FromString(text, &readScope);
      ASSERT_TRUE(back) << text;
      EXPECT_EQ(ToString(*back), text);
    }
    EXPECT_TRUE(messages.Entries().empty()) << messages.Entries().front().message.Eng;
  }

  std::vector<TType*> pool_ = {T("nT"),  T("n0T"),    T("zT"),      T("qT"),      T("rT"),     T("rrT"),
                               T("lT"),  T("SeqT"),   T("rFunc1T"), T("rMBESetT"), T("AnySetT"), T("LnT")};
  std::mt19937 random_{20240611};
};

TEST_F(BuiltTypesTest, TreesWithBuiltTypesReadBackEqualWithTheSameTypes) {
  std::vector<std::string> texts;
  int built = 0;
  for (int n = 0; n < 300; ++n) {
    TVarList scope;
    TExprPtr e = Generate(1 + n % 4, scope);
    if (!e) continue;
    ASSERT_NE(ExprType(*e, true), nullptr) << ToString(*e);
    if (std::find(pool_.begin(), pool_.end(), e->Type) == pool_.end()) {
      pool_.push_back(e->Type);  // later trees bind variables of it
      ++built;
    }
    const std::string text = ToString(*e);
    SCOPED_TRACE(text);
    TVarList readScope;
    TExprPtr back = FromString(text, &readScope);
    ASSERT_TRUE(back) << (messages.Entries().empty() ? "" : messages.Entries().back().message.Eng);
    EXPECT_EQ(ToString(*back), text);
    ExpectSame(*back, *e);
    if (CollectClass(*e, TClass::TemplPar).empty()) {
      TBindingLists lists;
      EXPECT_EQ(Comp(*back, *e, &lists), 0);
    }
    texts.push_back(text);
  }
  EXPECT_GT(texts.size(), 250u);
  EXPECT_GT(built, 30);  // functions of built types, sets of them ...
  EXPECT_TRUE(messages.Entries().empty()) << messages.Entries().front().message.Eng;
  ExpectReadInALaterRun(texts);
}

TEST_F(BuiltTypesTest, FormulasOfTheParserReadBack) {
  const char* formulas[] = {
      "{ k \\in \\Z : k > 0 }",
      "{ p \\in \\L : p }",
      "{ 1 / k : k \\mid k < 4 }",
      "\\forall f \\FuncSpec \\N \\times \\N \\Arrow \\R \\Vld f ( 1 , 2 ) = 0",
      "\\forall A \\subset \\N \\Vld \\forall F \\FuncSpec 2 ^ \\N \\Arrow \\L \\Vld F ( A )",
      "\\forall B \\subset \\R \\Vld \\sup ( { x \\in \\R : x \\in B } ) \\le \\lim ( n \\Arrow \\infty , 1 / n ^ 2 )",
  };
  std::vector<std::string> texts;
  for (const char* formula : formulas) {
    const TReadFormula read = ReadFormula(formula);
    ASSERT_TRUE(read.Tree) << formula;
    TExprPtr back = RoundTrip(*read.Tree);
    ASSERT_TRUE(back) << formula;
    ExpectSame(*back, *read.Tree);
    texts.push_back(ToString(*read.Tree));
  }
  ExpectReadInALaterRun(texts);
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
