// Letters, items, stored text, the parser and the printer on the cases that
// catch their faults.
#include <gtest/gtest.h>

#include "../expr/expr_fixture.h"
#include "notation/output.h"
#include "notation/parser.h"
#include "shell/cp1251.h"

namespace lemmix {
namespace {

class NotationTest : public testing::ExprTest {
 protected:
  static TLetter L(char c, std::uint8_t font = kPlainFont) {
    return TLetter{.Code = static_cast<std::uint8_t>(c), .Font = font};
  }
  std::string Text(const TItemList& items) { return ItemL_to_String(items, true, false).value_or("?"); }
  // Parsed, declared and printed back as stored text.
  std::string Reprinted(const std::string& text) {
    TExprPtr tree = TextToTree(text);
    TVarList given;
    if (!tree || !DeclareVariables(*tree, given, true)) return "failed";
    return TreeToText(*tree, false, false).value_or("?");
  }
  std::string LastEnglish() { return messages.Entries().empty() ? "" : messages.Entries().back().message.Eng; }
};

TEST_F(NotationTest, LettersBecomeItems) {
  // x12 is one variable; x, a blank, 12 a variable and a number.
  auto items = MyLetters_to_ItemL({L('x'), L('1'), L('2')}, true);
  ASSERT_TRUE(items);
  ASSERT_EQ(items->size(), 1u);
  EXPECT_EQ((*items)[0]->Var()->Name, (TVarName{'x', 12}));
  items = MyLetters_to_ItemL({L('x'), L(' '), L('1'), L('2')}, true);
  ASSERT_TRUE(items);
  ASSERT_EQ(items->size(), 2u);
  EXPECT_EQ((*items)[1]->NumberValue()->Integer(), 12);
  // A lone p of the mathematical face is pi; p1 the Greek variable pi with index 1.
  items = MyLetters_to_ItemL({L('p', kMathFont)}, true);
  ASSERT_TRUE(items);
  EXPECT_EQ((*items)[0]->Intrinsic()->Name, "\\pi");
  items = MyLetters_to_ItemL({L('p', kMathFont), L('1')}, true);
  ASSERT_TRUE(items);
  EXPECT_EQ((*items)[0]->Var()->Name, (TVarName{'p' - 64, 1}));
  // Plain-face words stay texts without the standard font flag, are symbols with it.
  const TLetters sin = {L('s'), L('i'), L('n')};
  EXPECT_EQ(MyLetters_to_ItemL(sin, false)->front()->Class, TClass::String);
  EXPECT_EQ(MyLetters_to_ItemL(sin, true)->front()->Intrinsic()->Name, "\\sin");
  // Words of several runs come back through the couples; blanks are dropped.
  const std::string words = "ограничено сверху"_cp;
  TLetters bounded;
  for (const char c : words) bounded.push_back(L(c));
  items = MyLetters_to_ItemL(bounded, true);
  ASSERT_TRUE(items);
  ASSERT_EQ(items->size(), 1u);
  EXPECT_EQ((*items)[0]->Intrinsic()->Name, "\\BoundedAbove");
  // An empty list is an internal error; an unknown sign is reported.
  EXPECT_FALSE(MyLetters_to_ItemL({}, true));
  EXPECT_EQ(LastEnglish(), "Error 1 in MyLetters_to_ItemL (ItemDial)");
  EXPECT_FALSE(MyLetters_to_ItemL({L(static_cast<char>(0xF0), kMathFont)}, true));
  EXPECT_TRUE(LastEnglish().starts_with("Uninterpreted symbols: "));
}

TEST_F(NotationTest, ItemsBecomeLetters) {
  const std::optional<TLetters> empty = ItemL_to_MyLetters({});
  ASSERT_TRUE(empty);
  ASSERT_EQ(empty->size(), 1u);
  EXPECT_EQ((*empty)[0].Code, ' ');
  // Blanks around a spaced sign, none after a round bracket; a local variable in red.
  TItemList items;
  items.push_back(TExpr::OfIntr(F(23)));
  items.push_back(N(1));
  items.push_back(TExpr::OfIntr(F(3)));
  TVarPtr x = Var('x', 2);
  TExprPtr local = TExpr::NodefVar(x);
  local->Class = TClass::LocVar;
  items.push_back(std::move(local));
  items.push_back(TExpr::OfIntr(F(24)));
  const std::optional<TLetters> letters = ItemL_to_MyLetters(items);
  ASSERT_TRUE(letters);
  EXPECT_EQ(LettersToUtf8(*letters), "(1 + x2) ");
  EXPECT_EQ((*letters)[5].Colour, kRed);
  EXPECT_EQ((*letters)[5].Font, kPlainFont);
  // A Greek variable in the mathematical face.
  TItemList greek;
  greek.push_back(TExpr::NodefVar(Var(33)));
  EXPECT_EQ((*ItemL_to_MyLetters(greek))[0].Font, kMathFont);
  EXPECT_EQ((*ItemL_to_MyLetters(greek))[0].Code, 'a');
}

TEST_F(NotationTest, StoredText) {
  auto items = StringToItems("\\DataVar x1+\\LocVar\\alpha2 = #3", true);
  ASSERT_TRUE(items);
  ASSERT_EQ(items->size(), 5u);
  EXPECT_EQ((*items)[0]->Class, TClass::DataVar);
  EXPECT_EQ((*items)[2]->Class, TClass::LocVar);
  EXPECT_EQ((*items)[2]->Var()->Name, (TVarName{33, 2}));
  EXPECT_EQ((*items)[4]->Class, TClass::TemplPar);
  EXPECT_EQ(Text(*items), "\\DataVar x1+\\LocVar \\alpha2=#3");
  // The antonym sign and a couple.
  items = StringToItems("a \\NOT= b", true);
  ASSERT_TRUE(items);
  EXPECT_EQ((*items)[1]->Class, TClass::AntIntr);
  items = StringToItems("x \\NOT\\R", true);
  EXPECT_EQ(LastEnglish(), "Nonexistent antonim of standard function appears: \\R");
  items = StringToItems("\\wIn \\wAtPoint", true);
  ASSERT_TRUE(items);
  EXPECT_EQ((*items)[0]->Intrinsic()->Number, 101);
  // Parameter signs.
  items = StringToItems("x \\ofType rFunc1T  \\class compound", true);
  ASSERT_TRUE(items);
  ASSERT_EQ(items->size(), 4u);
  EXPECT_EQ((*items)[1]->Type, T("rFunc1T"));
  EXPECT_EQ(*(*items)[3]->Text(), "compound");
  EXPECT_EQ(Text(*items), "x\\ofType rFunc1T \\class compound");
  // Failures.
  const struct {
    const char* text;
    const char* message;
  } bad[] = {{"\\DataVar 5", "After a variable's type the variable is expected but the following string appears: 5"},
             {"# + 1", "Invalid index of template parameter."},
             {"x \\ofType xT", "Error 3 in explicit type notification xT"},
             {"\\class box", "Wrong description of type."},
             {"\\nonsense", "Unable to interpret string \\nonsense"}};
  for (const auto& c : bad) {
    EXPECT_FALSE(StringToItems(c.text, true)) << c.text;
    EXPECT_EQ(LastEnglish(), c.message) << c.text;
  }
  items = StringToItems("\\nonsense", false);
  ASSERT_TRUE(items);
  EXPECT_EQ((*items)[0]->Class, TClass::String);
}

TEST_F(NotationTest, GetStringModesAndTrailingSkips) {
  const TLetters sin = {L('s'), L('i'), L('n'), L('(', kMathFont), L('x'), L(')', kMathFont)};
  EXPECT_EQ(GetString({sin}, 2, false), "\\sin(x)");
  EXPECT_EQ(GetString({sin}, 1, false), "sin(x)");
  EXPECT_EQ(GetString({{L('a')}, {L('b')}}, 0, false), "a\\n b");
  EXPECT_FALSE(GetString({sin}, 0, false));
  EXPECT_EQ(LastEnglish(), "Undefault font: ");
  EXPECT_FALSE(GetString({sin}, 3, false));
  EXPECT_EQ(LastEnglish(), "Error 1 in GetString (ItemDial).");
  // x, then two blanks typed as the blank sign: "\skip" words at the end go.
  const TLetters blanks = {L('x'), L(' '), L(' ')};
  EXPECT_EQ(GetString({blanks}, 0, false), "x");
}

TEST_F(NotationTest, VariableDeclarations) {
  const auto line = [&](const std::string& text) {
    TLetters letters;
    for (const char c : text) letters.push_back(L(c));
    return letters;
  };
  const std::optional<TVarList> vars = ReadVariableDeclarations({line("x (rT)"), line(""), line("n2 (nT)")});
  ASSERT_TRUE(vars);
  ASSERT_EQ(vars->size(), 2u);
  EXPECT_EQ((*vars)[1]->Name, (TVarName{'n', 2}));
  EXPECT_EQ((*vars)[1]->Type, T("nT"));
  const struct {
    const char* text;
    const char* message;
  } bad[] = {{"x", "A name and a type of variable is expected."},
             {"xa (rT)", "An index of variable or space is expected after the variable's name."},
             {"x12", "A type of variable is expected after its name."},
             {"x rT", "A type of variable is expected after its name."},
             {"x (realT)", "Invalid variable type description."}};
  for (const auto& c : bad) {
    EXPECT_FALSE(ReadVariableDeclarations({line(c.text)})) << c.text;
    EXPECT_EQ(LastEnglish(), c.message) << c.text;
  }
}

TEST_F(NotationTest, ParserShapes) {
  // a - b - c is (a - b) - c, each minus a plus of the negated right part.
  TExprPtr minus = TextToTree("a - b - c");
  ASSERT_TRUE(minus);
  EXPECT_EQ(minus->HeadIntrinsic(), 3);
  EXPECT_EQ(ArgByPath(*minus, 1)->HeadIntrinsic(), 3);
  EXPECT_EQ(ArgByPath(*minus, 2)->HeadIntrinsic(), 2);
  const struct {
    const char* text;
    int head;
  } shapes[] = {{"( a ; b ]", 139}, {"[ a ; b )", 138}, {"[ a ; b ]", 136}, {"( a ; b )", 137}, {"( a , b )", 34},
                {"[ x ]", 135},     {"[ 1 \\upto n ]", 142}, {"{ x : x > 0 }", 141}, {"{ 1 , 2 }", 223},
                {"{ 1 }", 140},     {"| x |", 134},          {"a \\NOT= b", 55}};
  for (const auto& s : shapes) {
    TExprPtr tree = TextToTree(s.text);
    ASSERT_TRUE(tree) << s.text << ": " << LastEnglish();
    EXPECT_EQ(tree->HeadIntrinsic(), s.head) << s.text;
  }
  // A decimal number.
  TExprPtr real = TextToTree("3 . 25 + x");
  ASSERT_TRUE(real);
  EXPECT_EQ(*ArgByPath(*real, 1)->NumberValue(), *TNumber::Decimal(325, 2));
}

TEST_F(NotationTest, ParserMessages) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"x \\sin ( y )", "Operation before expression \\sin is missed."},
      {"{ }", "Empty expression in brackets."},
      {"( x + 1", "Missed right bracket."},
      {"x + 1 )", "Left bracket is missed."},
      {"[ a , b )", "Semicolon is expected within couple of brackets [ )"},
      {"x +", "Missed right argument of function +"},
      {"x \\Bounded y", "Bracket after postfix expression \\Bounded is missed."},
      {"y > \\forall x \\Vld x > 0", "Quantor expression must be within brackets."},
      {"\\exists x x > 0", "A separator is expected after existential quantifier."},
      {"\\lim ( n \\Arrow \\infty , a , b )", "Invalid number of arguments for function \"lim\"."},
      {"\\sum n ^ i", "After summa symbol the symbol \"_\" is expected."},
      {"\\sin \\HasLimit 0", "After the second argument of predicate \"\\HasLimit\" key words \"at point\" are expected"},
      {"", "An empty string."},
  };
  for (const auto& c : cases) {
    messages.Clear();
    EXPECT_EQ(TextToTree(c.text), nullptr) << c.text;
    ASSERT_GE(messages.Entries().size(), 2u) << c.text;
    EXPECT_EQ(messages.Entries()[messages.Entries().size() - 2].message.Eng, c.message) << c.text;
    EXPECT_EQ(LastEnglish(), "Error in input.") << c.text;
  }
  messages.Clear();
  TextToTree("\\lim ( n \\Arrow \\infty , a , b )");
  EXPECT_EQ(messages.Entries().front().message.Rus, "Функция lim употреблена с 3 аргументами(ом), а требуется 2 аргумента."_cp);
}

TEST_F(NotationTest, PrinterBrackets) {
  EXPECT_EQ(Reprinted("a - ( b - c )"), "a-(b-c)");
  EXPECT_EQ(Reprinted("( a - b ) - c"), "a-b-c");
  EXPECT_EQ(Reprinted("\\sin ( x )"), "\\sin(x)");
  EXPECT_EQ(Reprinted("( a + b ) \\cdot c"), "(a+b)\\cdot c");
  EXPECT_EQ(Reprinted("\\forall x \\Vld \\exists y : y > x"), "\\forall x\\in\\R\\nest\\exists y\\in\\R:y>x");
  // A subset of a number set is declared as such; any other set by its type.
  EXPECT_EQ(Reprinted("\\forall A \\subset \\Z \\Vld A \\subseteq A"), "\\forall A\\subset\\Z\\Vld A\\subseteq A");
  EXPECT_EQ(Reprinted("\\forall A \\ofType rSetT \\Vld A \\subseteq A"), "\\forall A\\ofType rSetT \\Vld A\\subseteq A");
  // A negative number is written as the minus over its magnitude.
  TExprPtr e = Op(3, "rOpT", V('x'), N(-3));
  EXPECT_EQ(TreeToText(*e, false, false), "x-3");
  EXPECT_EQ(TreeToText(*N(-3), false, true), "\\2 3");
}

}  // namespace
}  // namespace lemmix

namespace lemmix {
namespace {

TEST_F(NotationTest, TooDeepNestingIsRefusedNotOverflowed) {
  // x + (x + (x + ... )) nested n times.
  const auto nested = [](int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += "x + ( ";
    text += "x";
    for (int i = 0; i < n; ++i) text += " )";
    return text;
  };
  const std::string deep = nested(5000);
  messages.Clear();
  EXPECT_EQ(TextToTree(deep), nullptr);
  ASSERT_FALSE(messages.Entries().empty());
  EXPECT_EQ(messages.Entries().front().message.Eng, "The formula is nested too deeply.");
  // Nesting a formula of the book may have still reads.
  EXPECT_NE(TextToTree(nested(50)), nullptr);
}

}  // namespace
}  // namespace lemmix
