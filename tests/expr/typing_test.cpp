// Typing of realistic formulas of the course, written in the storage form,
// and the rules and messages of typing.
#include "expr/typing.h"

#include <gtest/gtest.h>

#include <functional>

#include "expr/type_expr.h"
#include "expr_fixture.h"
#include "intrinsics/intr_numbers.h"
#include "shell/cp1251.h"
#include "types/type.h"
#include "types/type_name.h"
#include "types/type_relations.h"

namespace lemmix {
namespace {

using testing::ExprTest;

class TypingTest : public ExprTest {
 protected:
  TExprPtr Read(std::string_view text) {
    TVarList scope;
    TExprPtr e = FromString(text, &scope);
    EXPECT_TRUE(e) << text;
    return e;
  }
  std::string TypeOfText(std::string_view text) {
    TExprPtr e = Read(text);
    const TType* t = e ? ExprType(*e, true) : nullptr;
    return t ? t->Name : "";
  }
};

// For every eps > 0 there is N with |a(n) - L| < eps for all n >= N.
constexpr std::string_view kLimit =
    R"((,((rT,\epsilon)),compound,((,,intr,\0),(,,compound,((,,intr,\7),(,,compound,((,,intr,\11),(,,loc_var,(rT,\epsilon)),(,,number,0))),(,((nT,N)),compound,((,,intr,\1),(,((nT,n)),compound,((,,intr,\0),(,,compound,((,,intr,\7),(,,compound,((,,intr,\13),(,,loc_var,(nT,n)),(,,loc_var,(nT,N)))),(,,compound,((,,intr,\12),(,,compound,((,,intr,\134),(,,compound,((,,intr,\3),(,,compound,((,,data_var,(SeqT,a)),(,,loc_var,(nT,n)))),(,,compound,((,,intr,\2),(,,data_var,(rT,L)))))))),(,,loc_var,(rT,\epsilon)))))))))))))))";
// {x : x^2 < 2}
constexpr std::string_view kSetOfX =
    R"((,((rT,x)),compound,((,,intr,\141),(,,compound,((,,intr,\12),(,,compound,((,,intr,\6),(,,loc_var,(rT,x)),(,,number,2))),(,,number,2))))))";
// lambda(x, y) = x*y + 1 with a natural x and a real y
constexpr std::string_view kLambda =
    R"((,((nT,x),(rT,y)),compound,((,,intr,\16),(,,compound,((,,intr,\3),(,,compound,((,,intr,\4),(,,loc_var,(nT,x)),(,,loc_var,(rT,y)))),(,,number,1))))))";
// x in [0; 1] and sup A <= M
constexpr std::string_view kSegmentAndSup =
    R"((,,compound,((,,intr,\58),(,,compound,((,,intr,\15),(,,data_var,(rT,x)),(,,compound,((,,intr,\136),(,,number,0),(,,number,1))))),(,,compound,((,,intr,\14),(,,compound,((,,intr,\46),(,,data_var,(rSetT,A)))),(,,data_var,(rT,M)))))))";
// f(A): a real function applied to a set of reals
constexpr std::string_view kImage = R"((,,compound,((,,data_var,(rFunc1T,f)),(,,data_var,(rMBESetT,A)))))";
// n even and n/2 + 1/3 > 0 for a natural n
constexpr std::string_view kEvenAndFraction =
    R"((,,compound,((,,intr,\58),(,,compound,((,,intr,\102),(,,data_var,(nT,n)))),(,,compound,((,,intr,\11),(,,compound,((,,intr,\3),(,,compound,((,,intr,\5),(,,data_var,(nT,n)),(,,number,2))),(,,number,(1/3)))),(,,number,0))))))";
// {k^2 : k < 4} for a natural k
constexpr std::string_view kSquares =
    R"((,((nT,k)),compound,((,,intr,\141),(,,compound,((,,intr,\6),(,,loc_var,(nT,k)),(,,number,2))),(,,compound,((,,intr,\12),(,,loc_var,(nT,k)),(,,number,4))))))";

TEST_F(TypingTest, FormulasOfTheCourse) {
  const struct {
    std::string_view text;
    const char* type;
  } cases[] = {{kLimit, "lT"},   {kSetOfX, "rMBESetT"},  {kLambda, "nT_rT->rTFunT"}, {kSegmentAndSup, "lT"},
               {kImage, "rSetT"}, {kEvenAndFraction, "lT"}, {kSquares, "nMBESetT"}};
  for (const auto& c : cases) EXPECT_EQ(TypeOfText(c.text), c.type) << c.text;
  EXPECT_TRUE(messages.Entries().empty()) << messages.Entries().front().message.Eng;
}

// {v : P} holds values of the variable's type; a catalogue entry of that
// structure gives the type its name.
TEST_F(TypingTest, ASetByAConditionIsASetOfTheVariablesType) {
  const struct {
    const char* variable;
    const char* set;
  } cases[] = {{"nT", "nMBESetT"}, {"zT", "zMBESetT"}, {"n0T", "n0MBESetT"}, {"qT", "qMBESetT"},
               {"rT", "rMBESetT"}, {"AnyT", "AnySetT"}};
  for (const auto& c : cases) {
    TVarPtr v = Var('v', -1, c.variable);
    TExprPtr set = Op(kSetOf, nullptr, Op(kEq, nullptr, Loc(v), Loc(v)));
    set->Bound = TVarList{v};
    ASSERT_TRUE(ExprType(*set, true)) << c.variable;
    EXPECT_EQ(set->Type, T(c.set)) << c.variable;
    EXPECT_EQ(set->Head()->Type->Fun()->Value, T(c.set)) << c.variable;
  }
  // A set of truth values may be empty: not the finite entry lSetT, a type of its own.
  TVarPtr p = Var('p', -1, "lT");
  TExprPtr truths = Op(kSetOf, nullptr, Loc(p));
  truths->Bound = TVarList{p};
  ASSERT_TRUE(ExprType(*truths, true));
  EXPECT_EQ(truths->Type->Set()->Element, T("lT"));
  EXPECT_TRUE(truths->Type->Set()->MayBeEmpty);
  EXPECT_FALSE(truths->Type->Set()->Finite);
  EXPECT_TRUE(messages.Entries().empty());
}

// {T : k | P} holds the values of the term T, whatever the parameter's type.
TEST_F(TypingTest, ASetOfTermsIsASetOfTheTermsType) {
  const struct {
    const char* title;
    const char* variable;
    std::function<TExprPtr(const TVarPtr&)> term;
    const char* set;
  } cases[] = {
      {"k", "nT", [&](const TVarPtr& k) { return Loc(k); }, "nMBESetT"},
      {"k over the integers", "zT", [&](const TVarPtr& k) { return Loc(k); }, "zMBESetT"},
      {"k^2", "nT", [&](const TVarPtr& k) { return Op(kPower, nullptr, Loc(k), N(2)); }, "nMBESetT"},
      {"k - 5", "nT", [&](const TVarPtr& k) { return Op(kPlus, nullptr, Loc(k), N(-5)); }, "zMBESetT"},
      {"1/k: rationals, though k is natural", "nT", [&](const TVarPtr& k) { return Op(kDivide, nullptr, N(1), Loc(k)); },
       "qMBESetT"},
      {"x/2 over the reals", "rT", [&](const TVarPtr& x) { return Op(kDivide, nullptr, Loc(x), N(2)); }, "rMBESetT"},
  };
  for (const auto& c : cases) {
    TVarPtr k = Var('k', -1, c.variable);
    TExprPtr set = Op(kSetOf, nullptr, c.term(k), Op(kLt, nullptr, Loc(k), N(4)));
    set->Bound = TVarList{k};
    ASSERT_TRUE(ExprType(*set, true)) << c.title;
    EXPECT_EQ(set->Type, T(c.set)) << c.title;
    EXPECT_EQ(set->Head()->Type, T("SetCondFuncT1")) << c.title;
  }
  EXPECT_TRUE(messages.Entries().empty());
}

// The partial functions are typed under their restricted types, the total
// ones under types without restrictions.
TEST_F(TypingTest, PartialFunctionsGetTheirRestrictedTypes) {
  const struct {
    TExprPtr e;
    const char* head;
  } cases[] = {
      {Op(kDivide, nullptr, V('x'), V('y')), "rQuotT"},
      {Op(kDivide, nullptr, N(1), V('n', -1, "nT")), "qQuotT"},
      {Op(kPower, nullptr, V('x'), V('y')), "rPowT"},
      {Op(kPower, nullptr, V('x'), V('n', -1, "nT")), "rNatPowT"},
      {Op(32, nullptr, V('x')), "SqrtT"},
      {Op(83, nullptr, V('x')), "LnT"},
      {Op(84, nullptr, V('a'), V('x')), "LogT"},
      {Op(46, nullptr, V('A', -1, "nMBESetT")), "SupT"},
      {Op(78, nullptr, V('x')), "rFunc1T"},
  };
  for (const auto& c : cases) {
    ASSERT_NE(ExprType(*c.e, true), nullptr) << c.head;
    EXPECT_EQ(c.e->Head()->Type, T(c.head)) << c.head;
  }
  // Standing alone, the square root is a function with restrictions, not a real function.
  TExprPtr sqrt = I(32);
  EXPECT_EQ(ExprType(*sqrt, true), T("SqrtT"));
  EXPECT_FALSE(IsSubtypeOfNamed(sqrt->Type, "rFunc1T", *context.TypesProccess));
  EXPECT_TRUE(messages.Entries().empty());
}

TEST_F(TypingTest, TheChosenConcreteTypesAreGivenToTheHeads) {
  TExprPtr limit = Read(kLimit);
  ASSERT_TRUE(ExprType(*limit, true));
  // |a(n) - L|: the first type of | | (integers) does not fit, the real one does.
  TExpr* abs = ArgByPath(*limit, 121121);
  ASSERT_EQ(abs->HeadIntrinsic(), 134);
  EXPECT_EQ(abs->Head()->Type, T("rFunc1T"));
  EXPECT_EQ(abs->Type, T("rT"));
  // -L has no exact type that fits: the default, real one.
  const TExpr* minus = ArgByPath(*abs, 12);
  ASSERT_EQ(minus->HeadIntrinsic(), 2);
  EXPECT_EQ(minus->Head()->Type, T("rFunc1T"));
  // n/2 + 1/3 is rational.
  TExprPtr even = Read(kEvenAndFraction);
  ASSERT_TRUE(ExprType(*even, true));
  EXPECT_EQ(ArgByPath(*even, 21)->Type, T("qT"));
  EXPECT_EQ(ArgByPath(*even, 21)->Head()->Type, T("qOpT"));
  EXPECT_EQ(ArgByPath(*even, 211)->Head()->Type, T("qQuotT"));
}

TEST_F(TypingTest, ARealFunctionAppliedToASetBecomesItsImage) {
  TExprPtr e = Read(kImage);
  ASSERT_EQ(ExprType(*e, true), T("rSetT"));
  EXPECT_EQ(e->HeadIntrinsic(), 114);
  EXPECT_EQ(ArgByPath(*e, 1)->Var()->Name.Letter, 'f');
  EXPECT_EQ(ArgByPath(*e, 2)->Var()->Name.Letter, 'A');
}

TEST_F(TypingTest, AWiderArgumentKeepsTheValueTypeOfTheLastTry) {
  // "x is even" for a real x: the integer predicate does not fit, there is no
  // default type, and the formula still gets the value type, without a message.
  TExprPtr e = Op(102, nullptr, V('x'));
  EXPECT_EQ(ExprType(*e, true), T("lT"));
  EXPECT_TRUE(messages.Entries().empty());
}

TEST_F(TypingTest, Messages) {
  const struct {
    const char* title;
    std::string text;
    TMessage message;
  } cases[] = {
      {"Unrelated", R"((,,compound,((,,intr,\15),(,,number,1),(,,number,2))))",
       {"Неверные типы аргументов стандартной функции \\in :\\n натуральное число; натуральное число"_cp,
        "Wrong types of arguments intrinsic function \\in :\\n natural number; natural number"}},
      {"GivenFunction", R"((,,compound,((,,data_var,(SeqT,a)),(,,data_var,(lT,p)))))",
       {"Неверные типы аргументов данной функции a :\\n логический объект"_cp,
        "Wrong types of arguments given function a :\\n logical object"}},
      {"Ambiguous", R"((,,intr,\3))",
       {"Функция + не имеет аргументов,\\n поэтому тип выражения не определен однозначно."_cp,
        "An ambiguity in type of the expression,\\n because function + has no arguments"}},
      {"UntypedVariable", R"((,,nodef_var,(,y)))",
       {"Ошибка разработчика in ExprType (Expr) :\\n не определен тип переменной y"_cp,
        "Error in ExprType: \\n the type of variable y is not defined."}},
      {"ConditionIsANumber", R"((,((rT,x)),compound,((,,intr,\141),(,,number,3))))",
       {"Некорректный тип условия во множестве, заданном условием."_cp,
        "Invalid type of condition in a conditional set."}},
      {"ConditionalSetWithoutVariable", R"((,,compound,((,,intr,\141),(,,intr,\130))))",
       {"Ошибка 1 в ConditionalSetType."_cp, "Error 1 in ConditionalSetType."}},
      {"ConditionalSetOfAnUntypedVariable", R"((,((,v)),compound,((,,intr,\141),(,,intr,\130))))",
       {"Ошибка 1 в ConditionalSetType."_cp, "Error 1 in ConditionalSetType."}},
      {"Parameter", R"((,,math_par,2))",
       {"Невозможно определить тип выражения, являющегося параметром для символьных преобр."_cp,
        "Unable to define type of parameter for symbolic computation."}},
      {"TemplateParameter", R"((,,templ_par,2))",
       {"Невозможно определить тип выражения, являющегося параметром шаблона."_cp,
        "Unable to define type of template parameter."}},
      {"String", R"((,,string,text))",
       {"При определении типа выражения встретилось подвыражения неизвестного класса."_cp,
        "Invalid class of expression is occured in detecting of type"}},
  };
  for (const auto& c : cases) {
    messages.Clear();
    TExprPtr e = Read(c.text);
    ASSERT_TRUE(e) << c.title;
    EXPECT_EQ(ExprType(*e, true), nullptr) << c.title;
    ASSERT_FALSE(messages.Entries().empty()) << c.title;
    EXPECT_EQ(messages.Entries().back().message, c.message) << c.title;
    messages.Clear();
    Retype(*e, false);
    EXPECT_TRUE(messages.Entries().empty()) << c.title << ": typing without report says nothing";
  }
}

// Arguments of another kind than any type of the function admits leave the
// formula without a type (the course's formulas show more, read from text).
TEST_F(TypingTest, ArgumentsOfAnotherKindLeaveNoType) {
  const struct {
    const char* title;
    std::string text;
    const char* english;
  } cases[] = {
      {"a statement as a number",
       R"((,,compound,((,,intr,\4),(,,number,2),(,,compound,((,,intr,\12),(,,data_var,(rT,x)),(,,number,1))))))",
       "Wrong types of arguments intrinsic function \\cdot :\\n natural number; logical object"},
      {"a real variable applied to a set",
       R"((,((rT,f)),compound,((,,intr,\0),(,,compound,((,,loc_var,(rT,f)),(,,data_var,(rMBESetT,A)))))))",
       "Wrong types of arguments of internal function f :\\n set, possibly empty"},
      {"a sum of numbers applied",
       R"((,,compound,((,,compound,((,,intr,\3),(,,data_var,(rT,a)),(,,data_var,(rT,b)))),(,,data_var,(rT,x)))))",
       "Wrong types of arguments ( ) :\\n real number"},
      {"a segment of sets", R"((,,compound,((,,intr,\136),(,,data_var,(rMBESetT,A)),(,,number,1))))",
       "Wrong types of arguments intrinsic function [ ; ] :\\n set, possibly empty; natural number"},
  };
  for (const auto& c : cases) {
    messages.Clear();
    TExprPtr e = Read(c.text);
    ASSERT_TRUE(e) << c.title;
    EXPECT_EQ(ExprType(*e, true), nullptr) << c.title;
    ASSERT_EQ(messages.Entries().size(), 1u) << c.title;
    EXPECT_EQ(messages.Entries().front().message.Eng, c.english) << c.title;
    messages.Clear();
    EXPECT_FALSE(Retype(*e, false)) << c.title;
    EXPECT_TRUE(messages.Entries().empty()) << c.title;
  }
}

// Arguments wider than declared, constants where sets are due and functions
// combined pointwise keep their value types, as the prover builds them.
TEST_F(TypingTest, WiderArgumentsAndPointwiseCombinationsStillType) {
  const struct {
    const char* title;
    std::string text;
    const char* type;
  } cases[] = {
      {"f + g of real functions", R"((,,compound,((,,intr,\3),(,,data_var,(rFunc1T,f)),(,,data_var,(rFunc1T,g)))))", "rT"},
      {"a + b of natural sequences", R"((,,compound,((,,intr,\3),(,,data_var,(NSeqT,a)),(,,data_var,(NSeqT,b)))))", "rT"},
      {"(f + g)(x)",
       R"((,,compound,((,,compound,((,,intr,\3),(,,data_var,(rFunc1T,f)),(,,data_var,(rFunc1T,g)))),(,,data_var,(rT,x)))))",
       "rT"},
      {"(f o g)(x)",
       R"((,,compound,((,,compound,((,,intr,\43),(,,data_var,(rFunc1T,f)),(,,data_var,(rFunc1T,g)))),(,,data_var,(rT,x)))))",
       "rT"},
      {"((f + 1) * 2)(x)",
       R"((,,compound,((,,compound,((,,intr,\4),(,,compound,((,,intr,\3),(,,data_var,(rFunc1T,f)),(,,number,1))),(,,number,2))),(,,data_var,(rT,x)))))",
       "rT"},
      {"M is an upper bound of the empty set", R"((,,compound,((,,intr,\89),(,,data_var,(rT,M)),(,,intr,\19))))", "lT"},
      {"x is even for a real x", R"((,,compound,((,,intr,\102),(,,data_var,(rT,x)))))", "lT"},
  };
  for (const auto& c : cases) EXPECT_EQ(TypeOfText(c.text), c.type) << c.title;
  EXPECT_TRUE(messages.Entries().empty());
}

TEST_F(TypingTest, TheImageOfTheEmptySet) {
  TExprPtr e = Read(R"((,,compound,((,,data_var,(rFunc1T,f)),(,,intr,\19))))");
  ASSERT_EQ(ExprType(*e, true), T("rSetT"));
  EXPECT_EQ(e->HeadIntrinsic(), IntrNumber::kImage);
  EXPECT_TRUE(ArgByPath(*e, 2)->IsIntr(kEmptySet));
  EXPECT_TRUE(Retype(*e));
  EXPECT_EQ(e->Type, T("rSetT"));
  // A set of arbitrary elements is no set of reals: no image of it.
  EXPECT_EQ(TypeOfText(R"((,,compound,((,,data_var,(rFunc1T,f)),(,,data_var,(AnySetT,A)))))"), "");
  EXPECT_EQ(messages.Entries().back().message.Eng,
            "Wrong types of arguments given function f :\\n set of any elements, possibly empty");
}

TEST_F(TypingTest, TheFaultIsWhereTypingStopped) {
  // x = A + 1 \and x > 0: the sum, not the conjunction above it.
  TExprPtr e = Read(
      R"((,,compound,((,,intr,\58),(,,compound,((,,intr,\9),(,,data_var,(rT,x)),(,,compound,((,,intr,\3),(,,data_var,(rMBESetT,A)),(,,number,1))))),(,,compound,((,,intr,\11),(,,data_var,(rT,x)),(,,number,0))))))");
  EXPECT_EQ(ExprType(*e, true), nullptr);
  EXPECT_EQ(TypeFault(*e), ArgByPath(*e, 12));
  // A head that does not type: the fault is inside it.
  TExprPtr applied = Read(
      R"((,,compound,((,,compound,((,,intr,\43),(,,data_var,(rFunc1T,f)),(,,number,2))),(,,data_var,(rT,x)))))");
  EXPECT_EQ(ExprType(*applied, true), nullptr);
  EXPECT_EQ(TypeFault(*applied), applied->Head());
  TExprPtr typed = Read(kLimit);
  ASSERT_TRUE(ExprType(*typed, true));
  EXPECT_EQ(TypeFault(*typed), nullptr);
}

TEST_F(TypingTest, WithoutReportTheOtherArgumentsAreStillTyped) {
  TExprPtr e = Read(R"((,,compound,((,,intr,\58),(,,nodef_var,(,y)),(,,compound,((,,intr,\12),(,,number,1),(,,number,2))))))");
  ExprType(*e, false);
  EXPECT_EQ(ArgByPath(*e, 2)->Type, T("lT"));
  TExprPtr again = Read(R"((,,compound,((,,intr,\58),(,,nodef_var,(,y)),(,,compound,((,,intr,\12),(,,number,1),(,,number,2))))))");
  ExprType(*again, true);
  EXPECT_EQ(ArgByPath(*again, 2)->Type, nullptr);  // with report the first failure ends it
}

TEST_F(TypingTest, RetypeAfterAChange) {
  TExprPtr e = Read(R"((,,compound,((,,intr,\3),(,,number,1),(,,number,2))))");
  EXPECT_EQ(ExprType(*e, true), T("nT"));
  ReplaceBy(*ArgByPath(*e, 2), TExpr::Number(*TNumber::Decimal(5, 1)));
  EXPECT_EQ(ExprType(*e, true), T("nT"));  // a stored type is not recomputed
  EXPECT_TRUE(Retype(*e));
  EXPECT_EQ(e->Type, T("qT"));  // a decimal is exact, so 1 + 0.5 is rational
}

TEST_F(TypingTest, TypesAsExpressions) {
  EXPECT_TRUE(TypeToExpression(*T("nT"))->IsIntr(52));
  EXPECT_TRUE(TypeToExpression(*T("rT"))->IsIntr(49));
  EXPECT_TRUE(TypeToExpression(*T("lT"))->IsIntr(48));
  const TExprPtr subsets = TypeToExpression(*T("rMBESetT"));
  ASSERT_EQ(subsets->HeadIntrinsic(), 6);
  EXPECT_TRUE(ArgByPath(*subsets, 2)->IsIntr(49));
  EXPECT_EQ(TypeOfSetExpression(*subsets), T("rMBESetT"));
  const TExprPtr name = TypeToExpression(*T("SeqT"));
  ASSERT_EQ(name->Class, TClass::String);
  EXPECT_EQ(*name->Text(), "последовательность"_cp);

  EXPECT_EQ(TypeOfSetExpression(*I(51)), T("zT"));
  EXPECT_EQ(TypeOfSetExpression(*I(3)), nullptr);
  // R x R -> R, N -> R, and the failures.
  EXPECT_EQ(FunctionTypeFromSpec(*Op(42, nullptr, I(49), I(49)), *I(49), true), T("rFunc2T"));
  EXPECT_EQ(FunctionTypeFromSpec(*I(52), *I(49), true), T("SeqT"));
  EXPECT_TRUE(messages.Entries().empty());
  EXPECT_EQ(FunctionTypeFromSpec(*Op(42, nullptr, I(49), N(2)), *I(49), true), nullptr);
  EXPECT_EQ(messages.Entries().back().message.Eng, "Wrong type specification for an argument of the function.");
  EXPECT_EQ(FunctionTypeFromSpec(*N(2), *I(49), true), nullptr);
  EXPECT_EQ(messages.Entries().back().message.Eng, "Wrong specification of the type of the function's argument");
  EXPECT_EQ(FunctionTypeFromSpec(*I(49), *N(2), true), nullptr);
  EXPECT_EQ(messages.Entries().back().message.Rus, "Неверное описание типа значения функции."_cp);
}

TEST_F(TypingTest, SubstituteTypesItsPattern) {
  TExprPtr e = Op(3, nullptr, V('a'), N(1));
  TExprPtr pattern = N(1);
  pattern->Type = nullptr;
  TExprPtr result = SubstituteTyped(*e, *pattern, *N(5));
  ASSERT_TRUE(result);
  EXPECT_EQ(ArgByPath(*result, 2)->NumberValue()->Integer(), 5);
  TExprPtr untyped = TExpr::Par(TClass::MathPar, 1);
  EXPECT_EQ(SubstituteTyped(*e, *untyped, *N(5)), nullptr);
  EXPECT_EQ(messages.Entries().back().message.Eng, "Error 1 in Substitute (Expr).");
}

}  // namespace
}  // namespace lemmix
