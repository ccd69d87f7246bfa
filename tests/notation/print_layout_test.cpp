// What the printer shows a reader: brackets where the reading would go wrong
// without them and nowhere else, every bound variable with its domain, the
// upper bound of a sum after its index, and one blank wherever a blank is due.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../expr/expr_fixture.h"
#include "intrinsics/intr_numbers.h"
#include "notation/output.h"
#include "notation/parser.h"
#include "shell/cp1251.h"

namespace lemmix {
namespace {

struct Shape {
  const char* text;  // stored text as typed
  const char* printed;
};

class PrintLayout : public testing::ExprTest {
 protected:
  TExprPtr Read(std::string_view text) {
    TExprPtr tree = TextToTree(text);
    if (!tree || !DeclareVariables(*tree, given, false)) return nullptr;
    return tree;
  }
  // The letters of the printed tree in Unicode, without the closing blank.
  std::string Shown(std::string_view text) {
    TExprPtr tree = Read(text);
    if (!tree) return "unread";
    const std::optional<TLetters> letters = TreeToLetters(*tree);
    if (!letters) return "unprinted";
    std::string shown = LettersToUtf8(*letters);
    while (!shown.empty() && shown.back() == ' ') shown.pop_back();
    return shown;
  }
  std::string Stored(std::string_view text) {
    TExprPtr tree = Read(text);
    if (!tree) return "unread";
    return TreeToText(*tree, false, false).value_or("unprinted");
  }

  void ExpectShown(std::initializer_list<Shape> shapes) {
    for (const Shape& s : shapes) EXPECT_EQ(Shown(s.text), s.printed) << s.text;
  }
  void ExpectStored(std::initializer_list<Shape> shapes) {
    for (const Shape& s : shapes) EXPECT_EQ(Stored(s.text), s.printed) << s.text;
  }

  bool IsBlank(const TLetter& l) {
    const TLetter& blank = F(kBlank).Visual.front();
    return l.Code == blank.Code && l.Font == blank.Font && l.Colour == kBlack;
  }
  bool Closes(const TLetter& l) {
    for (const int n : {kRightRound, kRightSquare, kRightBrace})
      if (l.Code == F(n).Visual.front().Code && l.Font == F(n).Visual.front().Font) return true;
    return false;
  }
  // Where the letters of the tree have two blanks in a row or a blank before
  // a closing bracket; empty when nowhere.
  std::string BlankFault(const TExpr& tree) {
    const std::optional<TLetters> letters = TreeToLetters(tree);
    if (!letters) return "unprinted";
    for (std::size_t i = 0; i + 2 < letters->size(); ++i)  // the last letter is the closing blank
      if (IsBlank((*letters)[i]) && (IsBlank((*letters)[i + 1]) || Closes((*letters)[i + 1])))
        return LettersToUtf8(*letters) + " at letter " + std::to_string(i);
    return "";
  }

  TVarList given;
};

TEST_F(PrintLayout, PowersOfPowersKeepTheirBrackets) {
  ExpectShown({{"( x ^ m ) ^ n = x", "(x^m)^n = x"},
                {"x ^ ( m ^ n ) = x", "x^(m^n) = x"},
                // Read grouped to the left, shown so.
                {"x ^ m ^ n = x", "(x^m)^n = x"},
                {"( - x ) ^ 2 = - x ^ 2", "(−x)^2 = −x^2"},
                {"\\forall { a _ n } \\Vld a _ n ^ 2 = x ^ ( a _ n )", "∀a ∶ ℕ → ℝ • a_n^2 = x^(a_n)"}});
}

TEST_F(PrintLayout, OnlyCompoundIndicesAreBracketed) {
  ExpectShown({{"\\forall { a _ n } \\Vld a _ ( n ) < a _ ( n + 1 )", "∀a ∶ ℕ → ℝ • a_n < a_(n + 1)"},
                {"\\forall { a _ n } , { m _ k } \\Vld a _ ( m _ k ) = a _ ( 1 )", "∀a ∶ ℕ → ℝ, m ∶ ℕ → ℕ • a_(m_k) = a_1"}});
  ExpectStored({{"\\forall { f _ n ( . ) } \\Vld f _ ( n ) ( x ) = f _ ( 2 \\cdot n ) ( x )",
                 "\\forall f\\ofType FuncSeqT \\Vld f_n(x)=f_(2\\cdot n)(x)"}});
}

TEST_F(PrintLayout, TemplateParametersApplyLikeVariables) {
  // A parameter of a sequence type takes its index, any other its bracketed arguments.
  const struct {
    TExprPtr tree;
    const char* stored;
  } cases[] = {
      {C(Par(1, "SeqT"), V('n', -1, "nT")), "#1_n"},
      {C(Par(1, "SeqT"), Op(kPlus, "nOpT", V('n', -1, "nT"), N(1))), "#1_(n+1)"},
      {C(Par(2, "rFunc2T"), V('x'), V('y')), "#2(x,y)"},
      {C(Par(2, "rFunc1T"), V('x')), "#2(x)"},
  };
  for (const auto& c : cases) {
    const std::optional<std::string> stored = TreeToText(*c.tree, false, false);
    EXPECT_EQ(stored, c.stored);
    // Read back untyped: the parameter applied to the same arguments.
    TExprPtr again = stored ? TextToTree(*stored) : nullptr;
    ASSERT_TRUE(again) << c.stored;
    ASSERT_EQ(again->Children().size(), c.tree->Children().size()) << c.stored;
    EXPECT_EQ(again->Children()[0]->ParIndex(), c.tree->Children()[0]->ParIndex()) << c.stored;
  }
}

TEST_F(PrintLayout, SetOperationsInsideOthersAreBracketed) {
  const std::string sets = "\\forall A \\subset \\R , B \\subset \\R , C \\subset \\R \\Vld ";
  const std::string shown = "∀A ⊂ ℝ, B ⊂ ℝ, C ⊂ ℝ • ";
  const struct {
    const char* text;
    const char* shown;
  } cases[] = {
      {"\\R \\setminus ( A \\cap B ) = ( \\R \\setminus A ) \\cup ( \\R \\setminus B )", "ℝ ∖ (A ∩ B) = (ℝ ∖ A) ∪ (ℝ ∖ B)"},
      {"A \\cap ( B \\cup C ) = A \\cap B \\cup A \\cap C", "A ∩ (B ∪ C) = (A ∩ B) ∪ (A ∩ C)"},
      {"( A \\setminus B ) \\setminus C = A \\setminus ( B \\cup C )", "(A ∖ B) ∖ C = A ∖ (B ∪ C)"},
      // A union of unions and an intersection of intersections need none.
      {"A \\cap B \\cap C \\subseteq A \\cup B \\cup C", "A ∩ B ∩ C ⊆ A ∪ B ∪ C"},
      {"A \\cap ( B \\cap C ) \\subseteq A", "A ∩ (B ∩ C) ⊆ A"},
  };
  for (const auto& c : cases) EXPECT_EQ(Shown(sets + c.text), shown + c.shown) << c.text;
}

TEST_F(PrintLayout, SignsGroupAsTheyReadAndAreSpacedAlike) {
  ExpectShown({{"a ^ 2 - 2 \\cdot a \\cdot b + b ^ 2 = 0", "a^2 − 2⋅a⋅b + b^2 = 0"},
                {"a + 1 - 1 = a", "a + 1 − 1 = a"},
                {"a - ( b - c ) = a - b + c", "a − (b − c) = a − b + c"},
                {"( a + b ) + c = a + ( b + c )", "(a + b) + c = a + (b + c)"},
                {"- ( - a ) = a - ( - b )", "−(−a) = a − (−b)"},
                {"\\lim ( x \\Arrow a - 0 , x ) = a - 1", "lim(x → a − 0, x) = a − 1"}});
  // The stored text stays as compact as before.
  ExpectStored({{"a + 1 - 1 = a", "a+1-1=a"}, {"- ( - a ) = a - b", "-(-a)=a-b"}});
}

TEST_F(PrintLayout, EveryBoundVariableShowsItsDomain) {
  ExpectShown({{"\\forall x , y \\in \\R : x < y \\Vld x = y", "∀x, y ∈ ℝ : x < y • x = y"},
                {"\\forall x , y \\Vld x < y \\implies x \\le y", "∀x, y ∈ ℝ : x < y • x ≤ y"},
                {"\\forall n \\Vld \\sqrt ( n ) \\in \\R", "∀n ∈ ℕ • √(n) ∈ ℝ"},
                {"\\exists M : M > 0", "∃M ∈ ℝ : M > 0"},
                {"\\exists m \\in \\R : m > 0", "∃m ∈ ℝ : m > 0"},
                // m alone reads as natural, so the two cannot share ℤ.
                {"\\forall m \\in \\Z , n \\in \\Z \\Vld m = n", "∀m ∈ ℤ, n ∈ ℤ • m = n"},
                {"\\forall x \\in \\Q , y \\in \\Q \\Vld x = y", "∀x ∈ ℚ, y ∈ ℚ • x = y"},
                {"\\forall \\epsilon > 0 \\Vld \\exists \\delta > 0 : \\delta < \\epsilon", "∀ε ∈ ℝ : ε > 0 ∃δ ∈ ℝ : δ > 0 ∧ δ < ε"},
                {"\\forall x \\in \\R \\Vld x = \\max ( \\N ) \\implies x > 0", "∀x ∈ ℝ : x = max(ℕ) • x > 0"},
                {"1 \\in { x : x ^ 2 < 4 }", "1 ∈ {x ∈ ℝ : x^2 < 4}"},
                // A membership in a set is the domain itself.
                {"\\forall A \\subset \\R \\Vld \\forall x \\in A \\Vld \\exists y \\in A : y > x", "∀A ⊂ ℝ ∀x ∈ A ∃y ∈ A : y > x"},
                // A condition stands for a declaration only after the variables it names.
                {"\\forall y , x \\Vld x \\in { y } \\implies x = y", "∀y ∈ ℝ, x ∈ {y} • x = y"},
                {"\\forall x , y \\Vld x \\in { y } \\implies x = y", "∀x, y ∈ ℝ : x ∈ {y} • x = y"},
                {"\\forall x \\in \\R , B \\subset \\R \\Vld x \\in B \\implies x = x", "∀x ∈ ℝ, B ⊂ ℝ : x ∈ B • x = x"}});
}

TEST_F(PrintLayout, NegationBracketsAllButAnAtom) {
  ExpectShown({{"\\not ( \\R \\setminus \\Q \\subseteq \\Q )", "¬(ℝ ∖ ℚ ⊆ ℚ)"},
                {"\\not ( x > 0 \\and x < 1 )", "¬(x > 0 ∧ x < 1)"},
                {"\\not ( \\forall x \\Vld x > 0 )", "¬(∀x ∈ ℝ • x > 0)"},
                // A negated relation with an antonym is that antonym.
                {"\\not ( x > 0 )", "x ≯ 0"},
                {"\\not ( \\exists x : x > 0 )", "∄x ∈ ℝ : x > 0"}});
  ExpectStored({{"\\not ( \\R \\Countable )", "\\not(\\R\\Countable)"},
                {"\\not ( ( 0 ; 1 ) \\Compact )", "\\not((0;1)\\Compact)"},
                {"\\not ( \\not ( \\R \\Countable ) )", "\\not(\\not(\\R\\Countable))"}});
}

TEST_F(PrintLayout, ASumShowsItsIndexBeforeItsBound) {
  ExpectShown({{"( \\sum n _ ( i = 1 ) ^ i ^ 2 ) > 0", "(∑_(i = 1)^n i^2) > 0"},
                {"( \\sum _ ( i = 0 ) ^ ( n + 1 ) ( i + 1 ) ) > 0", "(∑_(i = 0)^(n + 1) (i + 1)) > 0"},
                {"( \\sum _ ( i = 1 ) ^ n ( | i - 2 | ) ) > 0", "(∑_(i = 1)^n (|i − 2|)) > 0"}});
  ExpectStored({{"( \\sum n _ ( i = 1 ) ^ i ^ 2 ) > 0", "(\\sum_(i=1)^n i^2)>0"}});
}

TEST_F(PrintLayout, NestedAbsoluteValuesNeedNoBrackets) {
  ExpectShown({{"| | a | - | b | | \\le | a - b |", "||a| − |b|| ≤ |a − b|"}, {"| | | a | | | = | - a |", "|||a||| = |−a|"}});
}

TEST_F(PrintLayout, OneBlankBeforeANestedQuantifierAndNoneBeforeABracket) {
  const char* texts[] = {
      "\\forall x \\in \\R : x \\even \\Vld \\forall y \\in \\R \\Vld y = x",
      "\\forall A \\subset \\R \\Vld A \\BoundedAbove \\implies ( \\exists s \\in \\R : s = \\sup ( A ) )",
      "{ n \\in \\N : n \\even } \\Countable",
      "\\not ( \\R \\Countable ) \\and ( \\N \\Countable )",
  };
  for (const char* text : texts) {
    TExprPtr tree = Read(text);
    ASSERT_TRUE(tree) << text;
    EXPECT_EQ(BlankFault(*tree), "") << text;
  }
  // The stored text keeps its separator before a nested quantifier.
  EXPECT_EQ(Stored(texts[0]), "\\forall x\\in\\R:x\\even\\nest\\forall y\\in\\R\\Vld y=x");
}

TEST_F(PrintLayout, TheBookPrintsWithSingleBlanksAndWithoutBlankWords) {
  int formulations = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(std::filesystem::path(LEMMIX_DATA_DIR) / "book")) {
    if (entry.path().extension() != ".st") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::string line;
    for (int i = 0; i < 6 && std::getline(in, line); ++i) {}
    if (!line.empty() && line.back() == '\r') line.pop_back();
    TExprPtr tree = Read(line);
    ASSERT_TRUE(tree) << entry.path();
    EXPECT_EQ(BlankFault(*tree), "") << entry.path();
    const std::optional<std::string> stored = TreeToText(*tree, false, false);
    ASSERT_TRUE(stored) << entry.path();
    EXPECT_EQ(stored->find(F(kBlank).Name), std::string::npos) << *stored;
    ++formulations;
  }
  EXPECT_GT(formulations, 200);
}

}  // namespace
}  // namespace lemmix
