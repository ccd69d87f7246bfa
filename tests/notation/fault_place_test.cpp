// Where reading and parsing a formula fail: every message of the parser keeps
// its text and names the place of the fault, an item of the list and the
// character of the stored text it came from.
#include <gtest/gtest.h>

#include "../expr/expr_fixture.h"
#include "intrinsics/intr_numbers.h"
#include "notation/parser.h"

namespace lemmix {
namespace {

class FaultPlace : public testing::ExprTest {
 protected:
  // The first message of a failed reading.
  std::string FirstEnglish() { return messages.Entries().empty() ? "" : messages.Entries().front().message.Eng; }
};

TEST_F(FaultPlace, EveryParserFailureNamesItsCharacter) {
  struct Case {
    const char* text;
    const char* caret;  // "^" under the fault
    const char* message;
  };
  const Case cases[] = {
      {"x , , y", "    ^", "Empty expression."},
      {"{ x : }", "      ^", "Empty expression."},
      {"\\sin ( x , , y )", "           ^", "Empty expression."},
      {"\\forall x \\Vld", "              ^", "Empty expression."},
      {"( x + 1", "^", "Missed right bracket."},
      {"( )", "^", "Empty expression in brackets."},
      {"{ }", "^", "Empty expression in brackets."},
      {"x + 1 )", "      ^", "Left bracket is missed."},
      {"( a ) ( b )", "      ^", "Missing bracket in expression (a)(b)"},
      {"[ a , b )", "        ^", "Semicolon is expected within couple of brackets [ )"},
      {"{ a ; b )", "        ^", "Invalid couple of brackets : { )"},
      {"x +", "  ^", "Missed right argument of function +"},
      {"x \\sin ( y )", "  ^", "Operation before expression \\sin is missed."},
      {"2 x", "  ^", "Operation before expression 2 is missed."},
      {"x \\Bounded y", "  ^", "Bracket after postfix expression \\Bounded is missed."},
      {"y > \\forall x \\Vld x > 0", "    ^", "Quantor expression must be within brackets."},
      {"\\forall x x > 0", "^", "A separator is expected after universal quantifier \\Vld or a quantifier."},
      {"\\exists x x > 0", "^", "A separator is expected after existential quantifier."},
      {"\\lim ( n \\Arrow \\infty , a , b )", "^", "Invalid number of arguments for function \"lim\"."},
      {"\\lim n", "     ^", "An expression after word \"lim\" must be within brackets."},
      {"\\lim ( n , a )", "       ^",
       "The first argument of function \\lim must be an expression like x\\Arrow x0 or n\\Arrow\\infty."},
      {"\\sum n ^ i", "^", "After summa symbol the symbol \"_\" is expected."},
      {"\\sum n _ i", "       ^", "After summa symbol and the symbol \"_\" the symbol \"^\" is expected."},
      {"\\sum n _ ( i ) ^ i", "         ^", "After summa symbol and the symbol \"_\" an expression like \"i=i0\" is expected."},
      {"\\sin \\HasLimit 0", "     ^",
       "After the second argument of predicate \"\\HasLimit\" key words \"at point\" are expected"},
      {"x ^ { 2 ( x )", "    ^",
       "Error in specification of multiderivative: word \"^{\" must be ended with symbol \"}\"."},
      {"x = 1 \\as y", "          ^", "An expression in the form of x->x0 is expected from the right of word \"as\"."},
      {"x \\as y \\Arrow 0", "^", "An equality is expected from the left of word \"as\"."},
      {"\\forall f ( x ) \\Vld f ( y ) > 0", "        ^", "Wrong specification of function f"},
      {"{ 1 : x > 0 }", "  ^", "Wrong type specification of variable."},
      {"\\forall { a } \\Vld a > 0", "        ^", "Wrong sequence specification."},
      {"( 1 + 2 ) _ n", "^", "Operation before expression (1+2) is missed."},
      {"x + ;", "    ^", "Unable to interpret string ;"},
      {"3 . 5 . 2", "^", "Wrong real number"},
      // Faults of reading the words have their places too.
      {"x + #", "    ^", "Invalid index of template parameter."},
      {"x + \\nonsense", "    ^", "Unable to interpret string \\nonsense"},
      {"\\DataVar 5", "         ^", "After a variable's type the variable is expected but the following string appears: 5"},
  };
  for (const Case& c : cases) {
    messages.Clear();
    std::optional<std::size_t> place;
    EXPECT_EQ(TextToTree(c.text, &place), nullptr) << c.text;
    EXPECT_EQ(FirstEnglish(), c.message) << c.text;
    ASSERT_TRUE(place) << c.text;
    EXPECT_EQ(*place, std::string_view(c.caret).find('^')) << c.text;
  }
}

TEST_F(FaultPlace, PlacesFollowTheItemsThatReadingJoinsAndDrops) {
  // The antonym sign joins its function, the nested-quantifier separator and
  // blanks go: the fault after them is still at its own character.
  struct Case {
    const char* text;
    const char* caret;
  };
  const Case cases[] = {{"a \\NOT= b +", "          ^"},
                        {"\\forall x \\nest \\exists y : y > x +", "                                  ^"},
                        {"x \\skip \\skip + ", "              ^"},
                        {"\\wIn \\wAtPoint + )", "                 ^"}};
  for (const Case& c : cases) {
    std::optional<std::size_t> place;
    EXPECT_EQ(TextToTree(c.text, &place), nullptr) << c.text;
    ASSERT_TRUE(place) << c.text;
    EXPECT_EQ(*place, std::string_view(c.caret).find('^')) << c.text;
  }
}

TEST_F(FaultPlace, ItemsKeepTheirPlacesInStoredText) {
  TItemPlaces places;
  const std::optional<TItemList> items = StringToItems("\\LocVar x1 +  3.05\\cdot#2", true, &places);
  ASSERT_TRUE(items);
  ASSERT_EQ(items->size(), 5u);
  EXPECT_EQ(places.Items, (std::vector<std::size_t>{8, 11, 14, 18, 23, 25}));
  EXPECT_FALSE(places.Fault);
}

}  // namespace
}  // namespace lemmix
