// Formulas of a first-year course as a lecturer writes them: the standard ones
// are read, typed and read back from what is printed; the malformed ones are
// refused with their message at their place.
#include <gtest/gtest.h>

#include "../expr/expr_fixture.h"
#include "expr/typing.h"
#include "intrinsics/intr_numbers.h"
#include "notation/output.h"
#include "notation/parser.h"
#include "shell/cp1251.h"

namespace lemmix {
namespace {

class CourseFormulas : public testing::ExprTest {
 protected:
  // Read and typed over the fixture's free variables; nothing when refused.
  TExprPtr Read(std::string_view text) {
    TExprPtr tree = TextToTree(text);
    if (!tree || !DeclareVariables(*tree, given, true)) return nullptr;
    return tree;
  }

  struct Refusal {
    std::string first;  // the message that names the fault
    std::string last;
    std::optional<std::size_t> place;
  };
  Refusal Refuse(std::string_view text) {
    messages.Clear();
    const TReadFormula read = ReadFormula(text);
    EXPECT_FALSE(read.Tree) << text;
    if (messages.Entries().empty()) return {"", "", read.Fault};
    return {messages.Entries().front().message.Eng, messages.Entries().back().message.Eng, read.Fault};
  }

  static std::size_t Caret(const char* caret) { return std::string_view(caret).find('^'); }

  TVarList given;
};

TEST_F(CourseFormulas, StandardFormulasTypeAndReadBack) {
  const struct {
    const char* title;
    const char* text;
    const char* type;
  } cases[] = {
      {"the reverse triangle inequality",
       "\\forall a \\in \\R \\Vld \\forall b \\in \\R \\Vld | | a | - | b | | \\le | a - b |", "lT"},
      {"an absolute value at the start of another", "| | x | - 1 | \\ge 0", "lT"},
      {"a composition applied",
       "\\forall f \\FuncSpec \\R \\Arrow \\R \\Vld \\forall g \\FuncSpec \\R \\Arrow \\R \\Vld ( f \\circ g ) ( x ) = f ( g ( x ) )",
       "lT"},
      {"a composition alone", "\\forall f \\FuncSpec \\R \\Arrow \\R \\Vld \\forall g \\FuncSpec \\R \\Arrow \\R \\Vld f \\circ g = g \\circ f",
       "lT"},
      {"a sum of functions applied",
       "\\forall f \\FuncSpec \\R \\Arrow \\R \\Vld \\forall g \\FuncSpec \\R \\Arrow \\R \\Vld ( f + g ) ( x ) = f ( x ) + g ( x )",
       "lT"},
      {"the image of the empty set", "\\forall f \\FuncSpec \\R \\Arrow \\R \\Vld f ( \\emptyset ) = \\emptyset", "lT"},
      {"images keep inclusion",
       "\\forall f \\FuncSpec \\R \\Arrow \\R \\Vld \\forall A \\subset \\R \\Vld \\forall B \\subset \\R \\Vld A \\subseteq B "
       "\\implies f ( A ) \\subseteq f ( B )",
       "lT"},
      {"a set given by a condition", "{ x \\in \\R : x ^ 2 \\le 4 } = [ - 2 ; 2 ]", "lT"},
      {"the limit of a sequence",
       "\\forall { a _ n } \\Vld \\forall L \\in \\R \\Vld a \\ConvergesTo L \\iff \\lim ( n \\Arrow \\infty , | a _ n - L | ) = 0",
       "lT"},
      {"continuity by the limit",
       "\\forall f \\FuncSpec \\R \\Arrow \\R \\Vld \\forall a \\in \\R \\Vld f \\ContinuousAt a \\iff \\lim ( x \\Arrow a , f ( x ) ) "
       "= f ( a )",
       "lT"},
      {"a one-sided limit", "\\lim ( x \\Arrow 0 + 0 , | x | / x ) = 1", "lT"},
      {"a sum as it is printed", "\\forall n \\in \\N \\Vld ( \\sum _ ( k = 1 ) ^ n k ) = n \\cdot ( n + 1 ) / 2", "lT"},
      {"a sum with its bound first", "\\forall n \\in \\N \\Vld ( \\sum n _ ( k = 1 ) ^ k ^ 2 ) > 0", "lT"},
      {"a sum of absolute values", "\\forall n \\in \\N \\Vld ( \\sum _ ( k = 1 ) ^ n | ( - 1 ) ^ k | ) = n", "lT"},
      {"a negation first", "\\forall x \\in \\R \\Vld \\not ( x > 0 ) \\iff x \\le 0", "lT"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    TExprPtr first = Read(c.text);
    ASSERT_TRUE(first) << c.text;
    EXPECT_EQ(first->Type, T(c.type));
    const std::optional<std::string> printed = TreeToText(*first, false, false);
    ASSERT_TRUE(printed);
    TExprPtr second = Read(*printed);
    ASSERT_TRUE(second) << *printed;
    TBindingLists lists;
    EXPECT_EQ(Comp(*first, *second, &lists), 0) << *printed;
    const std::optional<TLetters> letters = TreeToLetters(*first);
    ASSERT_TRUE(letters);
    const std::optional<TItemList> items = MyLetters_to_ItemL(*letters, true);
    ASSERT_TRUE(items) << LettersToUtf8(*letters);
    TExprPtr third = ParseItems(*items);
    ASSERT_TRUE(third && DeclareVariables(*third, given, true)) << LettersToUtf8(*letters);
    EXPECT_EQ(Comp(*first, *third, &lists), 0) << LettersToUtf8(*letters);
  }
  EXPECT_TRUE(messages.Entries().empty()) << messages.Entries().front().message.Eng;
}

TEST_F(CourseFormulas, BarsPairByTheirContext) {
  // | |a| - |b| |: the outer bars hold a difference of two absolute values.
  TExprPtr e = Read("| | a | - | b | |");
  ASSERT_TRUE(e);
  ASSERT_EQ(e->HeadIntrinsic(), kAbs);
  TExpr& difference = *ArgByPath(*e, 1);
  ASSERT_EQ(difference.HeadIntrinsic(), kPlus);
  EXPECT_EQ(ArgByPath(difference, 1)->HeadIntrinsic(), kAbs);
  EXPECT_EQ(ArgByPath(difference, 2)->HeadIntrinsic(), kMinus);
  EXPECT_EQ(ArgByPath(difference, 21)->HeadIntrinsic(), kAbs);
  // After the bound of a sum a bar opens the summand.
  TExprPtr sum = Read("( \\sum _ ( k = 1 ) ^ n | x - k | ) > 0");
  ASSERT_TRUE(sum);
  EXPECT_EQ(ArgByPath(*sum, 13)->HeadIntrinsic(), kAbs);
  EXPECT_TRUE(ArgByPath(*sum, 11)->IsVar());
}

TEST_F(CourseFormulas, AppliedCompositionAndCompositionWithAValue) {
  const char* functions = "\\forall f \\FuncSpec \\R \\Arrow \\R \\Vld \\forall g \\FuncSpec \\R \\Arrow \\R \\Vld ";
  // (f o g)(x): the composition is the head.
  TExprPtr applied = Read(std::string(functions) + "( f \\circ g ) ( x ) = 0");
  ASSERT_TRUE(applied);
  TExpr& left = *ArgByPath(*applied, 111);
  EXPECT_EQ(left.Head()->HeadIntrinsic(), kCompose);
  EXPECT_EQ(left.Type, T("rT"));
  EXPECT_EQ(left.Head()->Type, T("rFunc1T"));
  // f o g(x) is f o (g(x)): a function composed with a number.
  const Refusal value = Refuse(std::string(functions) + "f \\circ g ( x ) = 0");
  EXPECT_EQ(value.first, "Wrong types of arguments intrinsic function \\circ :\\n function; real number");
  EXPECT_EQ(value.place, std::string(functions).size() + 2);
}

TEST_F(CourseFormulas, MalformedFormulasAreRefusedWhereTheParserStops) {
  const struct {
    const char* text;
    const char* caret;
    const char* message;
  } cases[] = {
      {"\\forall a \\in \\R \\Vld \\cdot a = a", "                      ^", "Missed left argument of function \\cdot"},
      {"\\forall x \\in \\R \\Vld x > 0 \\implies \\and x \\ge 0", "                                     ^",
       "Missed left argument of function \\and"},
      {"\\forall x \\in \\R \\Vld x \\NOT= 0 \\or \\NOT= 1", "                                    ^",
       "Missed left argument of function \\NOT="},
      {"\\sin ( x + 1", "     ^", "Missed right bracket."},
      {"\\lim ( x \\Arrow 0 , \\sin ( x / x ) = 1", "     ^", "Missed right bracket."},
      {"\\lim ( x \\Arrow 0 , \\sin ( x ) / x ) ) = 1", "                                     ^", "Left bracket is missed."},
      {"| x - 1 < 2", "^", "Missing bracket in expression |x-1<2"},
      {"| a | \\cdot | b | = | a \\cdot b | |", "                                  ^", "Missing bracket in expression |"},
      {"( | a ) |", "  ^", "Missing bracket in expression |a"},
      {"\\forall \\epsilon > 0 \\Vld", "                         ^", "Empty expression."},
      {"\\exists N \\in \\N :", "                  ^", "Empty expression."},
      {"\\forall x \\in \\R : \\Vld x ^ 2 \\ge 0", "                   ^", "Empty expression."},
      {"\\forall \\epsilon > 0 \\Vld \\exists \\delta > 0 \\forall x \\in \\R \\Vld | x | < \\delta",
       "                          ^", "A separator is expected after existential quantifier."},
      {"\\forall f \\FuncSpec \\R \\Vld f ( 0 ) = 0", "        ^",
       "Wrong right part of function specification using symbol \\FuncSpec"},
      {"\\forall 2 \\FuncSpec \\R \\Arrow \\R \\Vld f ( 0 ) = 0", "        ^",
       "Wrong name of function specification using symbol \\FuncSpec"},
      {"\\lim ( n , 1 / n ) = 0", "       ^",
       "The first argument of function \\lim must be an expression like x\\Arrow x0 or n\\Arrow\\infty."},
      {"\\lim ( x \\Arrow 0 , \\sinus ( x ) / x ) = 1", "                    ^", "Unable to interpret string \\sinus"},
      {"x + #", "    ^", "Invalid index of template parameter."},
  };
  for (const auto& c : cases) {
    const Refusal r = Refuse(c.text);
    EXPECT_EQ(r.first, c.message) << c.text;
    EXPECT_EQ(r.last, "Error in input.") << c.text;
    EXPECT_EQ(r.place, Caret(c.caret)) << c.text;
  }
}

TEST_F(CourseFormulas, IllTypedFormulasAreRefusedAtTheirFault) {
  const struct {
    const char* text;
    const char* caret;
    const char* message;
  } cases[] = {
      {"\\forall A \\subset \\R \\Vld A + 1 = A", "                            ^",
       "Wrong types of arguments intrinsic function + :\\n set, possibly empty; natural number"},
      {"x \\and x > 0", "  ^", "Wrong types of arguments intrinsic function \\and :\\n real number; logical object"},
      {"f ( \\emptyset ) = \\emptyset", "^",
       "Wrong types of arguments given function f :\\n set of any elements, possibly empty"},
      {"| a _ n - L | < \\epsilon", "    ^", "Wrong types of arguments given function a :\\n natural number"},
      {"( f \\circ g ) ( x ) = 0", "    ^", "Wrong types of arguments intrinsic function \\circ :\\n real number; real number"},
      {"\\forall f \\FuncSpec \\R \\Arrow \\R \\Vld f \\circ 2 = f", "                                        ^",
       "Wrong types of arguments intrinsic function \\circ :\\n function; natural number"},
      {"\\forall A \\subset \\R \\Vld | A | \\ge 0", "                          ^",
       "Wrong types of arguments intrinsic function | | :\\n set, possibly empty"},
      {"{ x ^ 2 : x \\in \\N \\mid x }", "^",
       "Wrong types of arguments intrinsic function { : } :\\n natural number; natural number"},
      {"\\lim ( x \\Arrow 0 , \\R ) = 0", "^",
       "Wrong types of arguments intrinsic function \\lim :\\n natural number or zero; set, possibly empty"},
      {"x + { y \\in \\R : y + 1 } = 0", "    ^", "Invalid type of condition in a conditional set."},
      {"( a + b ) ( c + d ) = 0", "^", "Wrong types of arguments ( ) :\\n real number"},
  };
  for (const auto& c : cases) {
    const Refusal r = Refuse(c.text);
    EXPECT_EQ(r.first, c.message) << c.text;
    EXPECT_EQ(r.last, c.message) << c.text << ": the one message of typing";
    EXPECT_EQ(r.place, Caret(c.caret)) << c.text;
  }
}

TEST_F(CourseFormulas, TheNewMessagesInRussian) {
  const struct {
    const char* text;
    std::string message;
  } cases[] = {
      {"\\cdot a = a", "Отсутствует левый аргумент функции \\cdot"_cp},
      {"\\forall f \\FuncSpec \\R \\Vld f ( 0 ) = 0",
       "Неверная правая часть при описании функции с помощью символа \\FuncSpec"_cp},
      {"\\forall A \\subset \\R \\Vld A + 1 = A",
       "Неверные типы аргументов стандартной функции + :\\n множество, возможно пустое; натуральное число"_cp},
  };
  for (const auto& c : cases) {
    Refuse(c.text);
    ASSERT_FALSE(messages.Entries().empty()) << c.text;
    EXPECT_EQ(messages.Entries().front().message.Rus, c.message) << c.text;
  }
}

// The tree of a set given by a condition types again and, printed, reads in
// a run of its own to the same tree.
TEST_F(CourseFormulas, ASetGivenByAConditionTypesAgainAndReadsInAFreshRun) {
  TExprPtr e = Read("{ x \\in \\R : x ^ 2 \\le 4 } = [ - 2 ; 2 ]");
  ASSERT_TRUE(e);
  const std::string stored = ToString(*e);
  ASSERT_TRUE(Retype(*e));
  ASSERT_TRUE(Retype(*e));
  EXPECT_EQ(ToString(*e), stored);
  EXPECT_EQ(ArgByPath(*e, 1)->Type, T("rMBESetT"));
  const std::optional<std::string> printed = TreeToText(*e, false, false);
  ASSERT_TRUE(printed);

  RecordingMessages freshMessages;
  TSession fresh(freshMessages, freshMessages);
  const TContextScope freshScope(fresh);
  ASSERT_TRUE(fresh.NewTypes().Load(LEMMIX_DATA_DIR) && fresh.NewStFunc().LoadIntrinsics(LEMMIX_DATA_DIR));
  const TReadFormula again = ReadFormula(*printed);
  ASSERT_TRUE(again.Tree) << *printed;
  EXPECT_EQ(ToString(*again.Tree), stored);
  EXPECT_EQ(TreeToText(*again.Tree, false, false), printed);
  EXPECT_TRUE(freshMessages.Entries().empty());
}

}  // namespace
}  // namespace lemmix
