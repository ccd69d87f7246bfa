// Decimals keep the zeros after their point, "#" is a template parameter and
// nothing else, the "at point" predicates, and the indices of sequences:
// each read from letters and stored text and printed back to the same tree.
#include <gtest/gtest.h>

#include "../expr/expr_fixture.h"
#include "intrinsics/intr_numbers.h"
#include "notation/output.h"
#include "notation/parser.h"
#include "shell/cp1251.h"

namespace lemmix {
namespace {

class NumbersAndIndices : public testing::ExprTest {
 protected:
  static TLetter L(char c, std::uint8_t font = kPlainFont) {
    return TLetter{.Code = static_cast<std::uint8_t>(c), .Font = font};
  }
  // The plain letters of the text, with '.' as the sign the point key types.
  TLetters Typed(std::string_view text) {
    TLetters letters;
    for (const char c : text) {
      if (c == '.') {
        letters.push_back(F(kDot).Visual.front());
      } else {
        letters.push_back(L(c));
      }
    }
    return letters;
  }
  std::string LastEnglish() { return messages.Entries().empty() ? "" : messages.Entries().back().message.Eng; }

  TExprPtr Read(std::string_view text, bool typed = true) {
    TExprPtr tree = TextToTree(text);
    if (!tree || (typed && !DeclareVariables(*tree, given, false))) return nullptr;
    return tree;
  }
  // Equal trees; untyped variables are told apart by their names only.
  static bool Same(const TExpr& a, const TExpr& b, bool typed) {
    TBindingLists lists;
    return typed ? Comp(a, b, &lists) == 0 : ToString(a) == ToString(b);
  }
  // Printed as stored text and as letters, each read back: both equal to the tree.
  void ExpectRoundTrip(const TExpr& tree, const std::string& what, bool typed = true) {
    const std::optional<std::string> printed = TreeToText(tree, false, false);
    ASSERT_TRUE(printed) << what;
    TExprPtr again = Read(*printed, typed);
    ASSERT_TRUE(again) << what << "\n  printed " << *printed;
    EXPECT_TRUE(Same(tree, *again, typed)) << what << "\n  printed " << *printed << "\n  " << ToString(tree)
                                             << "\n  " << ToString(*again);
    const std::optional<TLetters> letters = TreeToLetters(tree);
    ASSERT_TRUE(letters) << what;
    const std::optional<TItemList> items = MyLetters_to_ItemL(*letters, true);
    ASSERT_TRUE(items) << what << "\n  letters " << LettersToUtf8(*letters);
    TExprPtr third = ParseItems(*items);
    ASSERT_TRUE(third && (!typed || DeclareVariables(*third, given, false))) << LettersToUtf8(*letters);
    EXPECT_TRUE(Same(tree, *third, typed)) << what << "\n  letters " << LettersToUtf8(*letters);
  }

  TVarList given;
};

TEST_F(NumbersAndIndices, DecimalsKeepTheZerosAfterThePoint) {
  const char* decimals[] = {"3.05", "0.001", "10.5", "2.50", "0.0", "7.000125"};
  for (const char* decimal : decimals) {
    const std::optional<TNumber> expected = NumberFromString(decimal);
    ASSERT_TRUE(expected) << decimal;
    // Stored text, with and without blanks around the point.
    std::string spaced = decimal;
    spaced.replace(spaced.find('.'), 1, " . ");
    for (const std::string& number : {std::string(decimal), spaced}) {
      TExprPtr tree = Read("x = " + number);
      ASSERT_TRUE(tree) << number << ": " << LastEnglish();
      ASSERT_TRUE(ArgByPath(*tree, 2)->NumberValue()) << number;
      EXPECT_EQ(*ArgByPath(*tree, 2)->NumberValue(), *expected) << number;
      ExpectRoundTrip(*tree, number);
    }
    // Letters as the keyboard types them: the point is the point key's sign.
    for (const TLetters& letters : {Typed(decimal), Typed(spaced)}) {
      const std::optional<TItemList> items = MyLetters_to_ItemL(letters, true);
      ASSERT_TRUE(items) << decimal;
      ASSERT_EQ(items->size(), 1u) << LettersToUtf8(letters);
      ASSERT_TRUE(items->front()->NumberValue()) << decimal;
      EXPECT_EQ(*items->front()->NumberValue(), *expected) << decimal;
    }
  }
  // The letters of an edit line through GetString: the stored text keeps every digit.
  TLetters line = {L('x')};
  line.insert(line.end(), F(kEq).Visual.begin(), F(kEq).Visual.end());
  const TLetters number = Typed("3.05");
  line.insert(line.end(), number.begin(), number.end());
  EXPECT_EQ(GetString({line}, 2, false), "x=" + NumberToString(*NumberFromString("3.05")));
  EXPECT_EQ(TreeToText(*Read("x = 3.05"), false, false), "x=" + NumberToString(*NumberFromString("3.05")));
}

TEST_F(NumbersAndIndices, APointWithoutDigitsOnBothSidesIsNoDecimal) {
  // A point after a variable's index stays a point; so does one with nothing after it.
  std::optional<TItemList> items = MyLetters_to_ItemL(Typed("x1.5"), true);
  ASSERT_TRUE(items);
  ASSERT_EQ(items->size(), 3u);
  EXPECT_TRUE((*items)[1]->IsIntr(kDot));
  items = MyLetters_to_ItemL(Typed("3."), true);
  ASSERT_TRUE(items);
  ASSERT_EQ(items->size(), 2u);
  EXPECT_EQ((*items)[0]->NumberValue()->Integer(), 3);
  items = StringToItems("f(.)", true);
  ASSERT_TRUE(items);
  EXPECT_EQ(items->size(), 4u);
  // A second point: the decimal before it is no integer.
  messages.Clear();
  EXPECT_EQ(TextToTree("1.5.3"), nullptr);
  EXPECT_EQ(messages.Entries().front().message.Eng, "Wrong real number");
}

TEST_F(NumbersAndIndices, TheTemplateSignIsNoGreekLetter) {
  // "#" and digits are a template parameter, as the printer writes one.
  std::optional<TItemList> items = MyLetters_to_ItemL({L('#'), L('1'), L('2'), L(' '), L('x')}, true);
  ASSERT_TRUE(items);
  ASSERT_EQ(items->size(), 2u);
  EXPECT_EQ((*items)[0]->Class, TClass::TemplPar);
  EXPECT_EQ((*items)[0]->ParIndex(), 12);
  EXPECT_EQ((*items)[1]->Var()->Name, (TVarName{'x', -1}));
  TItemList parameter;
  parameter.push_back(Par(3));
  const std::optional<TLetters> printed = ItemL_to_MyLetters(parameter);
  ASSERT_TRUE(printed);
  EXPECT_EQ(GetString({*printed}, 2, false), "#3");
  // Without its number "#" is reported where it stands, in both faces of words.
  const struct {
    TLetters letters;
    std::size_t place;
  } bad[] = {{{L('#')}, 0}, {{L('x'), L('#')}, 1}, {{L('#'), L('a'), L('1')}, 0}, {{L('#'), L('#'), L('1')}, 0}};
  for (const auto& c : bad) {
    for (const bool standardFont : {true, false}) {
      messages.Clear();
      TItemPlaces places;
      EXPECT_FALSE(MyLetters_to_ItemL(c.letters, standardFont, &places)) << LettersToUtf8(c.letters);
      EXPECT_EQ(LastEnglish(), "Invalid index of template parameter.") << LettersToUtf8(c.letters);
      EXPECT_EQ(messages.Entries().back().message.Rus, "Неверный индекс параметра шаблона."_cp);
      EXPECT_EQ(places.Fault, c.place) << LettersToUtf8(c.letters);
    }
  }
  EXPECT_FALSE(GetString({{L('#'), L('1')}, {L('#')}}, 1, false));
}

TEST_F(NumbersAndIndices, AtPointPredicatesReadAndPrintTheirKeyWord) {
  int predicates = 0;
  for (const auto& f : context.StFunc->IntrList) {
    if (!IsAtPointPredicate(f->Number)) continue;
    ++predicates;
    // The arguments differ in kind from predicate to predicate: the shape is
    // what is read and printed here, untyped.
    const std::string text = "f " + f->Name + " ( a + 1 ) \\AtPoint b ^ 2";
    TExprPtr tree = Read(text, false);
    ASSERT_TRUE(tree) << text << ": " << LastEnglish();
    EXPECT_EQ(tree->HeadIntrinsic(), f->Number) << text;
    EXPECT_EQ(tree->Children().size(), 4u) << text;
    EXPECT_EQ(ArgByPath(*tree, 2)->HeadIntrinsic(), kPlus) << text;
    ExpectRoundTrip(*tree, text, false);
  }
  EXPECT_EQ(predicates, 6);
  EXPECT_FALSE(IsAtPointPredicate(kAtPoint));
  EXPECT_FALSE(IsAtPointPredicate(kInverse));
}

TEST_F(NumbersAndIndices, SequenceIndicesPrintBracketedWhenCompound) {
  const struct {
    const char* text;
    const char* printed;  // what the terms print as
  } cases[] = {
      {"\\forall { a _ n } \\Vld a _ ( n + 1 ) > a _ n", "a_(n+1)>a_n"},
      {"\\forall { a _ n } \\Vld a _ ( 2 \\cdot n ) = a _ 1", "a_(2\\cdot n)=a_1"},
      {"\\forall { a _ n } \\Vld a _ ( n ^ 2 ) \\ge 0", "a_(n^2)\\ge 0"},
      {"\\forall { a _ n } \\Vld a _ ( n + 1 ) ^ 2 \\ge 0", "a_(n+1)^2\\ge 0"},
      {"\\forall { a _ n } , { b _ n } \\Vld a _ ( n + 1 ) + b _ n > 0", "a_(n+1)+b_n>0"},
      {"\\forall { f _ n ( . ) } \\Vld f _ n ( x ) > 0", "f_n(x)>0"},
      {"\\forall { f _ n ( . ) } \\Vld f _ ( n + 1 ) ( x ) > f _ n ( x + 1 )", "f_(n+1)(x)>f_n(x+1)"},
      {"\\forall { a _ n } \\Vld \\lim ( n \\Arrow \\infty , a _ ( n + 1 ) ) = 0", "\\lim(n\\Arrow\\infty,a_(n+1))=0"},
  };
  for (const auto& c : cases) {
    TExprPtr tree = Read(c.text);
    ASSERT_TRUE(tree) << c.text << ": " << LastEnglish();
    const std::optional<std::string> printed = TreeToText(*tree, false, false);
    ASSERT_TRUE(printed) << c.text;
    EXPECT_TRUE(printed->ends_with(c.printed)) << *printed;
    ExpectRoundTrip(*tree, c.text);
  }
  // a_(n + 1) is the sequence applied to n + 1; f_n(x) the n-th function applied to x.
  TExprPtr term = Read("\\forall { a _ n } \\Vld a _ ( n + 1 ) > 0");
  ASSERT_TRUE(term);
  const TExpr& next = *ArgByPath(*term, 11);
  ASSERT_EQ(next.Children().size(), 2u);
  EXPECT_TRUE(next.Children()[0]->IsVar());
  EXPECT_EQ(next.Children()[1]->HeadIntrinsic(), kPlus);
  TExprPtr function = Read("\\forall { f _ n ( . ) } \\Vld f _ n ( x ) > 0");
  ASSERT_TRUE(function);
  const TExpr& value = *ArgByPath(*function, 11);
  ASSERT_EQ(value.Children().size(), 2u);
  EXPECT_EQ(value.Children()[0]->Class, TClass::Compound);
  EXPECT_TRUE(value.Children()[1]->IsVar());
}

TEST_F(NumbersAndIndices, TheDotStandsForAnArgumentOnlyInADeclaration) {
  TExprPtr tree = Read("\\forall f ( . , . ) \\Vld f ( x , y ) > 0");
  ASSERT_TRUE(tree) << LastEnglish();
  EXPECT_EQ(tree->Bound->front()->Type, T("rFunc2T"));
  ExpectRoundTrip(*tree, "f(., .)");
  for (const char* text : {".", "x + .", "\\sin ( . )"}) {
    messages.Clear();
    EXPECT_EQ(TextToTree(text), nullptr) << text;
    EXPECT_EQ(messages.Entries().front().message.Eng, "Unable to interpret string .") << text;
  }
}

}  // namespace
}  // namespace lemmix
