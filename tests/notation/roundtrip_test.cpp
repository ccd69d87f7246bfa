// The notation round trip: every tree the parser produces is written as
// stored text and as letters that read back to the same tree, node for node,
// bound variables by their places: random formulas, every formulation of the
// bundled book, and shapes generated class by class.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "../expr/expr_fixture.h"
#include "notation/output.h"
#include "notation/parser.h"
#include "shell/cp1251.h"

namespace lemmix {
namespace {

class RoundTrip : public testing::ExprTest {
 protected:
  std::string Pick(std::initializer_list<const char*> words) {
    std::vector<const char*> list(words);
    return list[std::uniform_int_distribution<std::size_t>(0, list.size() - 1)(random)];
  }
  bool Chance(int percent) { return std::uniform_int_distribution<int>(0, 99)(random) < percent; }

  std::string Term(int depth) {
    if (depth <= 0 || Chance(25)) return Chance(50) ? Pick({"x", "y", "z", "a", "b", "t"}) : std::to_string(random() % 10);
    const std::string a = "( " + Term(depth - 1) + " )";
    const std::string b = "( " + Term(depth - 1) + " )";
    switch (random() % 12) {
      case 0: return a + " + " + b;
      case 1: return a + " - " + b;
      case 2: return a + " \\cdot " + b;
      case 3: return a + " / " + b;
      case 4: return a + " ^ " + std::to_string(1 + random() % 3);
      case 5: return "- " + a;
      case 6: return "| " + Term(depth - 1) + " |";
      case 7: return "[ " + Term(depth - 1) + " ]";
      case 8: return "\\sin ( " + Term(depth - 1) + " )";
      case 9: return "\\lim ( n \\Arrow \\infty , " + Term(depth - 1) + " )";
      case 10: return a + " + " + b + " + " + "( " + Term(depth - 1) + " )";
      default: return "\\sqrt ( " + Term(depth - 1) + " )";
    }
  }

  std::string Formula(int depth) {
    if (depth <= 0 || Chance(20)) {
      const std::string a = "( " + Term(2) + " )";
      const std::string b = "( " + Term(2) + " )";
      switch (random() % 18) {
        case 7: return "( \\sum n _ ( i = 1 ) ^ ( " + Term(1) + " \\cdot i ) ) > " + b;
        case 8: return "\\sin ( x ) = " + a + " \\as x \\Arrow " + b;
        case 9: return "\\sin \\HasLimit " + a + " \\AtPoint " + b;
        case 10: return "\\forall f \\FuncSpec \\R \\Arrow \\R \\Vld f ' ( " + Term(1) + " ) = " + b;
        case 11: return "x \\in [ 1 \\upto " + Term(1) + " ] \\or x \\NOT\\in { 1 , " + Term(1) + " , 3 }";
        case 12: return "x \\in { y ^ 2 : y \\in \\N \\mid y < " + Term(1) + " }";
        case 13: return "\\forall g \\ofType rFunc2T \\Vld g ( " + Term(1) + " , 0 ) = " + b;
        case 14: return "\\lim ( x \\Arrow " + Pick({"0", "1 + 0", "1 - 0"}) + " , " + Term(1) + " ) = " + b;
        case 15: return "\\existsOne k \\in \\N : k < " + a;
        case 17: return "\\forall A \\subset " + Pick({"\\N", "\\Z", "\\Q", "\\R", "\\U"}) + " \\Vld { " + Term(1) + " } \\subseteq A";
        case 16: return "\\forall s \\in \\R \\cup { \\minusInfty , \\plusInfty } : s \\in \\N \\Vld s \\ge " + b;
        case 0: return a + " = " + b;
        case 1: return a + " < " + b;
        case 2: return a + " \\ge " + b;
        case 3: return a + " \\NOT= " + b;
        case 4: return "x \\in [ " + Term(1) + " ; " + Term(1) + " )";
        case 5: return "x \\in { y \\in \\R : y > " + Term(1) + " }";
        default: return a + " \\le " + b;
      }
    }
    const std::string f = "( " + Formula(depth - 1) + " )";
    const std::string g = "( " + Formula(depth - 1) + " )";
    switch (random() % 9) {
      case 0: return f + " \\and " + g;
      case 1: return f + " \\or " + g;
      case 2: return "\\not " + f;
      case 3: return f + " \\implies " + g;
      case 4: return f + " \\iff " + g;
      case 5: return "\\forall x \\in \\N : x > " + Term(1) + " \\Vld " + f;
      case 6: return "\\exists y \\in \\R : " + f;
      case 7: return "\\forall " + Pick({"u", "v"}) + " , n \\in \\N \\Vld " + f;
      default: return "\\exists x > 0 : " + f;
    }
  }

  // Parsed and declared, or null.
  TExprPtr Read(const std::string& text) {
    TExprPtr tree = TextToTree(text);
    if (!tree || !DeclareVariables(*tree, given, false)) return nullptr;
    return tree;
  }

  std::string TypeId(const TType* t) { return t ? context.TypesProccess->Identifier(*t) : "-"; }

  // The same tree: the same nodes in the same order, free variables by name,
  // bound ones by their places among the binders met, with the same types.
  bool Same(const TExpr& a, const TExpr& b, TBindingLists& lists) {
    if (a.Class != b.Class) return false;
    switch (a.Class) {
      // The explicit-type sign carries its type.
      case TClass::Intr: return a.Intrinsic() == b.Intrinsic() && (!IsExplicitTypeSign(*a.Intrinsic()) || a.Type == b.Type);
      case TClass::AntIntr: return a.Antonym() == b.Antonym();
      case TClass::Number: return Compare(*a.NumberValue(), *b.NumberValue()) == 0;
      case TClass::String: return *a.Text() == *b.Text();
      case TClass::MathPar:
      case TClass::TemplPar: return a.ParIndex() == b.ParIndex();
      case TClass::LocVar: {
        const auto place = [](const std::vector<const TVar*>& binders, const TVar* v) {
          const auto found = std::find(binders.rbegin(), binders.rend(), v);
          return found == binders.rend() ? -1 : static_cast<int>(found - binders.rbegin());
        };
        const int at = place(lists.A, a.Var());
        return at >= 0 && at == place(lists.B, b.Var());
      }
      case TClass::Compound: {
        if (a.Bound.has_value() != b.Bound.has_value() || a.Children().size() != b.Children().size()) return false;
        std::size_t pushed = 0;
        bool same = true;
        if (a.Bound) {
          same = a.Bound->size() == b.Bound->size();
          for (std::size_t i = 0; same && i < a.Bound->size(); ++i) {
            same = TypeId((*a.Bound)[i]->Type) == TypeId((*b.Bound)[i]->Type);
            lists.A.push_back((*a.Bound)[i].get());
            lists.B.push_back((*b.Bound)[i].get());
            ++pushed;
          }
        }
        for (std::size_t i = 0; same && i < a.Children().size(); ++i) same = Same(*a.Children()[i], *b.Children()[i], lists);
        lists.A.resize(lists.A.size() - pushed);
        lists.B.resize(lists.B.size() - pushed);
        return same;
      }
      default: return a.IsVar() && a.Var()->Name == b.Var()->Name;
    }
  }
  bool Same(const TExpr& a, const TExpr& b) {
    TBindingLists lists;
    return Same(a, b, lists);
  }

  // The tree of the text printed as stored text and as letters, each read
  // back to the same tree; false when the text itself does not read.
  bool ExpectRoundTrip(const std::string& text) {
    TExprPtr first = Read(text);
    if (!first) return false;
    const std::optional<std::string> printed = TreeToText(*first, false, false);
    EXPECT_TRUE(printed) << text;
    if (!printed) return true;
    TExprPtr second = Read(*printed);
    EXPECT_TRUE(second && Same(*first, *second)) << text << "\n  printed " << *printed << "\n  " << ToString(*first)
                                                  << "\n  " << (second ? ToString(*second) : "unread");
    const std::optional<TLetters> letters = TreeToLetters(*first);
    EXPECT_TRUE(letters) << text;
    if (!letters) return true;
    const std::optional<TItemList> items = MyLetters_to_ItemL(*letters, true);
    TExprPtr third = items ? ParseItems(*items) : nullptr;
    EXPECT_TRUE(third && DeclareVariables(*third, given, false) && Same(*first, *third))
        << text << "\n  letters " << LettersToUtf8(*letters);
    return true;
  }

  // Each text of a generated class reads and prints back.
  void ExpectClassRoundTrips(const std::vector<std::string>& texts) {
    for (const std::string& text : texts) EXPECT_TRUE(ExpectRoundTrip(text)) << "does not read: " << text;
  }

  std::mt19937 random{20261208};
  TVarList given;
};

TEST_F(RoundTrip, PrintedTreesReadBackEqual) {
  int checked = 0;
  for (int round = 0; round < 400; ++round)
    if (ExpectRoundTrip(Formula(3))) ++checked;  // a random formula may not type (a division by a formula, say)
  EXPECT_GT(checked, 250);
}

// Line 6 of a statement file: its formulation.
std::string Formulation(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string line;
  for (int i = 0; i < 6 && std::getline(in, line); ++i) {}
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

TEST_F(RoundTrip, EveryFormulationOfTheBookReadsBack) {
  int formulations = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(std::filesystem::path(LEMMIX_DATA_DIR) / "book")) {
    if (entry.path().extension() != ".st") continue;
    const std::string text = Formulation(entry.path());
    EXPECT_TRUE(ExpectRoundTrip(text)) << entry.path() << ": " << text;
    ++formulations;
  }
  EXPECT_GT(formulations, 200);
}

// Terms of nested absolute values, with the operations between them.
std::vector<std::string> AbsoluteValues() {
  std::vector<std::string> texts;
  const char* inner[] = {"a", "| a |", "| a | - | b |", "| a - b |", "- | a |", "| a | \\cdot | b |", "| | a | |",
                         "| a | ^ 2", "| - a |", "| a | / ( | b | + 1 )", "2 \\cdot | a |"};
  for (const char* x : inner) {
    texts.push_back(std::string("| ") + x + " | \\le | a | + | b |");
    texts.push_back(std::string("| | ") + x + " | - | b | | \\ge 0");
    texts.push_back(std::string("[ | ") + x + " | ] = | [ a ] |");
  }
  return texts;
}

TEST_F(RoundTrip, NestedAbsoluteValues) { ExpectClassRoundTrips(AbsoluteValues()); }

TEST_F(RoundTrip, PowersOfPowers) {
  std::vector<std::string> texts;
  const char* bases[] = {"x", "( x ^ 2 )", "( ( x ^ m ) ^ n )", "( - x )", "- x", "( x + 1 )", "| x |", "( x / 2 )"};
  const char* exponents[] = {"2", "n", "( m ^ n )", "( n + 1 )", "( - 1 )", "( 2 ^ ( m ^ n ) )", "( n \\cdot m )"};
  for (const char* b : bases)
    for (const char* e : exponents) texts.push_back("\\forall m \\in \\N , n \\in \\N \\Vld " + std::string(b) + " ^ " + e + " = y");
  texts.push_back("\\forall { a _ n } \\Vld a _ n ^ 2 = x ^ ( a _ n ) ^ 2");
  texts.push_back("\\forall { a _ n } \\Vld x ^ ( a _ ( n + 1 ) ) = ( a _ n ^ 2 ) ^ 3");
  ExpectClassRoundTrips(texts);
}

TEST_F(RoundTrip, SetOperations) {
  const char* sets[] = {"A", "B", "\\N", "[ a ; b ]"};
  const char* operations[] = {"\\cup", "\\cap", "\\setminus"};
  std::vector<std::string> expressions;
  for (const char* x : sets)
    for (const char* op : operations) expressions.push_back(std::string(x) + " " + op + " C");
  std::vector<std::string> texts;
  for (const std::string& left : expressions) {
    for (const char* op : operations) {
      for (const std::string& right : {std::string("A"), std::string("( B \\cap C )"), std::string("( B \\setminus C )")}) {
        const std::string prefix = "\\forall A \\subset \\R , B \\subset \\R , C \\subset \\R \\Vld ";
        texts.push_back(prefix + "( " + left + " ) " + op + " " + right + " \\subseteq \\R");
        texts.push_back(prefix + left + " " + op + " " + right + " = A");
        texts.push_back(prefix + "\\not ( \\R \\setminus ( " + left + " ) " + op + " " + right + " = \\emptyset )");
      }
    }
  }
  ExpectClassRoundTrips(texts);
}

TEST_F(RoundTrip, MixedSigns) {
  // Every bracketing of four operands joined by + and -.
  const char* ops[] = {"+", "-"};
  std::vector<std::string> texts;
  for (const char* p : ops)
    for (const char* q : ops)
      for (const char* r : ops) {
        const std::string a = "a", b = "b", c = "c", d = "d";
        const std::string shapes[] = {
            a + " " + p + " " + b + " " + q + " " + c + " " + r + " " + d,
            "( " + a + " " + p + " " + b + " ) " + q + " ( " + c + " " + r + " " + d + " )",
            a + " " + p + " ( " + b + " " + q + " ( " + c + " " + r + " " + d + " ) )",
            "( ( " + a + " " + p + " " + b + " ) " + q + " " + c + " ) " + r + " " + d,
            "- " + a + " " + p + " ( - " + b + " ) " + q + " ( " + c + " \\cdot " + d + " ) " + r + " d ^ 2",
            a + " ^ 2 " + p + " 2 \\cdot " + a + " \\cdot " + b + " " + q + " " + b + " ^ 2 " + r + " 1",
        };
        for (const std::string& s : shapes) texts.push_back(s + " = 0");
      }
  texts.push_back("a + ( - b ) + c = a - ( - b ) - ( - c )");
  texts.push_back("\\lim ( x \\Arrow a + b + 0 , x ) = \\lim ( x \\Arrow a - b - 0 , x )");
  ExpectClassRoundTrips(texts);
}

TEST_F(RoundTrip, SeveralVariablesInOneQuantifier) {
  const char* declarations[] = {"x , y \\in \\R", "m , n \\in \\Z", "x , n \\in \\N", "x , y", "m , n",
                                "x \\in A , y \\in A", "a \\in \\Q , b , c \\in \\R", "x , y \\in \\R \\cup { \\minusInfty , \\plusInfty }"};
  const char* conditions[] = {"", ": x < y ", ": x \\in A \\and y > 0 "};
  std::vector<std::string> texts;
  for (const char* d : declarations) {
    for (const char* c : conditions) {
      const std::string body = std::string(d).find('x') != std::string::npos ? "x = x" : "1 > 0";
      const std::string scope = "\\forall A \\subset \\R \\Vld ";
      texts.push_back(scope + "\\forall " + d + " " + c + "\\Vld " + body);
      texts.push_back(scope + "\\forall " + d + " " + c + "\\Vld \\exists z \\in \\R : z = z");
      texts.push_back(scope + "\\exists " + d + " : " + (c[0] ? std::string(c + 2) + "\\and " : "") + body);
    }
  }
  ExpectClassRoundTrips(texts);
}

TEST_F(RoundTrip, QuantifiersWithAndWithoutDomains) {
  const char* declarations[] = {"x", "n", "x \\in \\R", "x \\in \\N", "n \\in \\R", "M \\in \\R", "m \\in \\R", "x > 0",
                                "n \\ge 1", "x \\in A", "n \\in A", "x \\in A \\cup { 1 }", "B \\subset A", "B \\subset \\N",
                                "x \\in [ 0 ; 1 ]", "\\epsilon > 0", "{ a _ n }", "f \\FuncSpec \\R \\Arrow \\R", "g ( . , . )"};
  std::vector<std::string> texts;
  for (const char* d : declarations) {
    const std::string scope = "\\forall A \\subset \\R \\Vld ";
    texts.push_back(scope + "\\forall " + d + " \\Vld 1 > 0");
    texts.push_back(scope + "\\forall " + d + " : 2 > 1 \\Vld 1 > 0");
    texts.push_back(scope + "\\exists " + d + " : 1 > 0");
    texts.push_back(scope + "\\exists " + d + " : 1 > 0 \\and 2 > 1");
    texts.push_back(scope + "\\existsOne " + d + " : 1 > 0");
    texts.push_back(scope + "\\not ( \\exists " + d + " : 1 > 0 )");
    texts.push_back(scope + "\\forall " + d + " \\Vld \\forall y \\in \\R \\Vld \\exists z > y : 1 > 0");
    texts.push_back("\\forall A \\subset \\R \\Vld 1 \\in { " + std::string(d) + " : 2 > 1 }");
  }
  // The premise of a body left whole, whether its conjuncts mention the variable or not.
  texts.push_back("\\forall x \\in \\R \\Vld x > 0 \\and 1 > 0 \\implies x \\ge 0");
  texts.push_back("\\forall x \\in \\R \\Vld ( x > 0 \\and 1 > 0 ) \\and x < 2 \\implies x \\ge 0");
  texts.push_back("\\forall A \\subset \\R \\Vld \\exists x \\in A : x > 0 \\and x < 1");
  ExpectClassRoundTrips(texts);
}

TEST_F(RoundTrip, SumsWithTheirBoundsAfterTheIndex) {
  const char* bounds[] = {"n", "10", "( n + 1 )", "( 2 \\cdot n )", "\\infty", "( n ^ 2 )"};
  const char* summands[] = {"a _ i", "i ^ 2", "( i + 1 )", "( | a _ i | )", "1 / i", "2 \\cdot i", "( - 1 ) ^ i",
                            "( \\sum _ ( j = 1 ) ^ i j )", "( a _ i - a _ ( i + 1 ) )"};
  std::vector<std::string> texts;
  for (const char* n : bounds) {
    for (const char* s : summands) {
      const std::string sum = std::string("\\sum _ ( i = 1 ) ^ ") + n + " " + s;
      texts.push_back("\\forall { a _ n } \\Vld ( " + sum + " ) \\ge 0");
      texts.push_back("\\forall { a _ n } \\Vld | " + sum + " | \\le x");
    }
  }
  // The form with the bound before "_" still reads.
  texts.push_back("( \\sum n _ ( i = 1 ) ^ i ^ 2 ) > 0");
  ExpectClassRoundTrips(texts);
}

TEST_F(RoundTrip, SequencesWithSimpleAndCompoundIndices) {
  const char* indices[] = {"n", "1", "k", "( n + 1 )", "( 2 \\cdot n )", "( n ^ 2 )", "( m _ k )", "( - 1 )", "( | k | )"};
  std::vector<std::string> texts;
  for (const char* i : indices) {
    const std::string scope = "\\forall { a _ n } , { m _ k } , { f _ n ( . ) } \\Vld \\forall n \\in \\N , k \\in \\N \\Vld ";
    texts.push_back(scope + "a _ " + i + " < a _ " + i + " ^ 2 + x ^ ( a _ " + i + " )");
    texts.push_back(scope + "f _ " + i + " ( x ) = \\lim ( n \\Arrow \\infty , a _ " + i + " )");
    texts.push_back(scope + "| a _ " + i + " - a _ ( m _ " + i + " ) | < 1");
  }
  ExpectClassRoundTrips(texts);
}

TEST_F(RoundTrip, NegationsBeforeEveryKindOfOperand) {
  const char* operands[] = {"x > 0", "x \\in A", "A \\Countable", "A \\BoundedAbove", "n \\even", "( a ; b ) \\Compact",
                            "\\R \\setminus \\Q \\subseteq A", "A \\cup B = \\emptyset", "x > 0 \\and x < 1", "x < 0 \\or x > 1",
                            "x > 0 \\implies x \\ge 0", "x > 0 \\iff x \\ge 1", "\\not ( x > 0 )", "\\not ( A \\Countable )",
                            "\\forall y \\in \\R \\Vld y > x", "\\exists y \\in \\R : y > x", "\\existsOne y \\in \\R : y > x",
                            "\\sin \\HasLimit x \\AtPoint 0", "\\true", "x = | x |"};
  std::vector<std::string> texts;
  for (const char* x : operands) {
    const std::string scope = "\\forall A \\subset \\R , B \\subset \\R \\Vld \\forall a , b , x \\in \\R , n \\in \\Z \\Vld ";
    texts.push_back(scope + "\\not ( " + x + " )");
    texts.push_back(scope + "\\not ( " + x + " ) \\and \\not ( \\not ( " + x + " ) )");
    texts.push_back(scope + "x = 1 \\implies \\not ( " + x + " )");
  }
  ExpectClassRoundTrips(texts);
}

}  // namespace
}  // namespace lemmix
