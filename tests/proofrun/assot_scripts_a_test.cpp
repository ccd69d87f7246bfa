// The definition unfoldings of ASSOT.DAT: where each is offered, what it
// leaves in place of the marked condition, and that this is exactly the
// book's own definition of the notion (the book's characterisation for the
// supremum and the infimum) instantiated for the condition's arguments.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <sstream>

#include "../prover/prover_fixture.h"
#include "intrinsics/intr_numbers.h"
#include "notation/output.h"
#include "proofrun/assot.h"
#include "prover/needed.h"
#include "shell/files.h"

namespace lemmix {
namespace {

namespace fs = std::filesystem;

constexpr TSection kGiven = TSection::GivenConds;
constexpr TSection kProving = TSection::ProvingConds;
// The notions of the book these transformations speak of.
constexpr int kSup = 46, kInf = 56, kUpperBound = 89, kLowerBound = 90;

// A proof field, the condition marked in it, the transformation and what the
// marked condition is afterwards (empty: the transformation is not offered).
struct TRow {
  std::string name;
  std::vector<std::string> given;
  std::vector<std::string> proving;
  TSection section;
  std::size_t index;
  std::string expected;
};

class AssotScriptsATest : public testing::ProverTest {
 protected:
  void SetUp() override {
    ProverTest::SetUp();
    ASSERT_TRUE(assot.LoadAssot(SystemPath(LEMMIX_DATA_DIR).value()));
  }

  const TAssot* Find(const std::string& name) const {
    for (const auto& t : assot.Transformations())
      if (t->Name == name) return t.get();
    ADD_FAILURE() << "no transformation " << name;
    return nullptr;
  }

  // A field over the objects below with the conditions standardised as the
  // kernel standardises every new condition.
  std::unique_ptr<TKernel> Field(const std::vector<std::string>& given, const std::vector<std::string>& proving) {
    auto field = std::make_unique<TKernel>();
    const std::pair<char, const char*> objects[] = {{'A', "rMBESetT"}, {'B', "rMBESetT"}, {'a', "SeqT"}, {'b', "SeqT"},
                                                    {'f', "rFunc1T"},  {'x', "rT"},       {'y', "rT"},   {'s', "rT"},
                                                    {'M', "rT"},       {'L', "rT"},       {'c', "rT"}};
    for (const auto& [letter, type] : objects) field->AddObject(Var(letter, -1, type), false);
    for (const std::string& text : given) {
      const TExprPtr e = KernelFormula(*field, text);
      if (!e || !field->AddGivenCond(*e)) ADD_FAILURE() << text;
    }
    for (const std::string& text : proving) {
      const TExprPtr e = KernelFormula(*field, text);
      if (!e || !field->AddProvingCond(*e)) ADD_FAILURE() << text;
    }
    return field;
  }

  // The formula standardised as a condition of the field.
  TExprPtr Standard(const TKernel& field, const TExpr& e) {
    const TCondPtr cond = field.MakeCond(e);
    if (!cond) ADD_FAILURE() << Text(e);
    return cond ? std::move(cond->Expr) : nullptr;
  }

  static std::string Text(const TExpr& e) { return TreeToText(e, false, false).value_or(ToString(e)); }

  static std::vector<std::string> Texts(const TKernel& field, TSection section) {
    std::vector<std::string> texts;
    for (const TCondPtr& c : section == kGiven ? field.GivenConds : field.ProvingConds) texts.push_back(Text(*c->Expr));
    return texts;
  }

  // Equal up to the names of bound variables.
  static bool Same(const TExpr& a, const TExpr& b) {
    TBindingLists lists;
    return Comp(a, b, &lists) == 0;
  }

  // Runs the row: the test part must answer as the row says and leave the
  // field alone; the execution part must replace just the marked condition.
  void Check(const TRow& row) {
    SCOPED_TRACE(row.name + ": " + (row.section == kGiven ? row.given : row.proving).at(row.index));
    const TAssot* t = Find(row.name);
    ASSERT_TRUE(t);
    ASSERT_TRUE(t->DataEnabled && t->ProveEnabled);
    std::unique_ptr<TKernel> field = Field(row.given, row.proving);
    const auto given = Texts(*field, kGiven);
    const auto proving = Texts(*field, kProving);
    messages.Clear();
    const bool offered = assot.TestAssot(*t, *field, row.section, row.index);
    EXPECT_EQ(offered, !row.expected.empty());
    // A test part answers quietly, whatever the condition.
    EXPECT_TRUE(messages.Entries().empty()) << Messages();
    EXPECT_EQ(Texts(*field, kGiven), given);
    EXPECT_EQ(Texts(*field, kProving), proving);
    if (!offered || row.expected.empty()) return;
    const TExprPtr want = KernelFormula(*field, row.expected);
    ASSERT_TRUE(want);
    const TExprPtr standard = Standard(*field, *want);
    ASSERT_TRUE(standard);
    ASSERT_TRUE(assot.ExecuteAssot(*t, *field, row.section, row.index)) << Messages();
    const auto& conds = field->Conds(row.section);
    ASSERT_EQ(conds.size(), (row.section == kGiven ? given : proving).size());
    EXPECT_TRUE(Same(*conds[row.index]->Expr, *standard))
        << Text(*conds[row.index]->Expr) << "\n  expected " << Text(*standard);
    // Nothing else moves.
    auto after = Texts(*field, row.section);
    auto before = row.section == kGiven ? given : proving;
    after.erase(after.begin() + static_cast<std::ptrdiff_t>(row.index));
    before.erase(before.begin() + static_cast<std::ptrdiff_t>(row.index));
    EXPECT_EQ(after, before);
    EXPECT_EQ(Texts(*field, row.section == kGiven ? kProving : kGiven), row.section == kGiven ? proving : given);
  }

  std::string Messages() const {
    std::string out;
    for (const auto& entry : messages.Entries()) out += "\n" + entry.message.Eng;
    return out;
  }

  TAssotProccess assot{*context.StFunc, messages};
};

// ---------------------------------------------------------------------------
// Where each unfolding is offered and what it leaves.

TEST_F(AssotScriptsATest, BoundsAndBoundedSets) {
  const TRow rows[] = {
      {"Unfold upper bound", {"M \\UpperBound A"}, {}, kGiven, 0, "\\forall x \\in A \\Vld x \\le M"},
      {"Unfold upper bound", {}, {"x + 1 \\UpperBound B"}, kProving, 0, "\\forall t \\in B \\Vld t \\le x + 1"},
      {"Unfold upper bound", {"M \\LowerBound A"}, {}, kGiven, 0, ""},
      {"Unfold lower bound", {"x \\ge 0", "c \\LowerBound A"}, {}, kGiven, 1, "\\forall x \\in A \\Vld c \\le x"},
      {"Unfold lower bound", {}, {"c \\UpperBound A"}, kProving, 0, ""},
      {"Unfold set bounded above", {"A \\BoundedAbove"}, {}, kGiven, 0, "\\exists M \\in \\R : M \\UpperBound A"},
      {"Unfold set bounded above",
       {},
       {"( A \\cup B ) \\BoundedAbove"},
       kProving,
       0,
       "\\exists M \\in \\R : M \\UpperBound ( A \\cup B )"},
      {"Unfold set bounded above", {"A \\BoundedBelow"}, {}, kGiven, 0, ""},
      {"Unfold set bounded above", {"A \\Bounded"}, {}, kGiven, 0, ""},
      {"Unfold set bounded below", {}, {"\\N \\BoundedBelow"}, kProving, 0, "\\exists c \\in \\R : c \\LowerBound \\N"},
      {"Unfold set bounded below", {}, {"A \\BoundedAbove"}, kProving, 0, ""},
      {"Unfold bounded set", {"B \\Bounded"}, {}, kGiven, 0, "B \\BoundedAbove \\and B \\BoundedBelow"},
      {"Unfold bounded set",
       {"A \\subseteq B"},
       {"A \\Bounded"},
       kProving,
       0,
       "A \\BoundedAbove \\and A \\BoundedBelow"},
      // A set, not a sequence: the words differ.
      {"Unfold bounded set", {"a \\SeqBounded"}, {}, kGiven, 0, ""},
  };
  for (const TRow& row : rows) Check(row);
}

TEST_F(AssotScriptsATest, SequenceNotions) {
  const TRow rows[] = {
      {"Unfold bounded sequence",
       {"a \\SeqBounded"},
       {},
       kGiven,
       0,
       "\\exists M \\in \\R : \\forall n \\in \\N \\Vld | a _ n | \\le M"},
      {"Unfold bounded sequence", {"A \\Bounded"}, {}, kGiven, 0, ""},
      {"Unfold sequence bounded above",
       {},
       {"b \\SeqBoundedAbove"},
       kProving,
       0,
       "\\exists M \\in \\R : \\forall n \\in \\N \\Vld b _ n \\le M"},
      {"Unfold sequence bounded below",
       {"a \\SeqBoundedBelow"},
       {},
       kGiven,
       0,
       "\\exists c \\in \\R : \\forall n \\in \\N \\Vld c \\le a _ n"},
      {"Unfold sequence bounded below", {"a \\SeqBoundedAbove"}, {}, kGiven, 0, ""},
      {"Unfold limit of a sequence",
       {"a \\ConvergesTo L", "a \\ConvergesTo M"},
       {"L = M"},
       kGiven,
       1,
       "\\forall \\epsilon > 0 \\Vld \\exists N \\in \\N : \\forall n \\in \\N \\Vld n \\ge N \\implies | a _ n - M | "
       "< "
       "\\epsilon"},
      {"Unfold limit of a sequence",
       {},
       {"b \\ConvergesTo L ^ 2"},
       kProving,
       0,
       "\\forall \\epsilon > 0 \\Vld \\exists N \\in \\N : \\forall n \\in \\N \\Vld n \\ge N \\implies | b _ n - L ^ "
       "2 "
       "| < \\epsilon"},
      {"Unfold limit of a sequence", {"a \\Convergent"}, {}, kGiven, 0, ""},
      {"Unfold convergent sequence", {"a \\Convergent"}, {}, kGiven, 0, "\\exists L \\in \\R : a \\ConvergesTo L"},
      {"Unfold convergent sequence", {}, {"b \\Convergent"}, kProving, 0, "\\exists L \\in \\R : b \\ConvergesTo L"},
      {"Unfold Cauchy sequence",
       {"a \\Cauchy"},
       {},
       kGiven,
       0,
       "\\forall \\epsilon > 0 \\Vld \\exists N \\in \\N : \\forall m \\in \\N \\Vld \\forall n \\in \\N \\Vld m \\ge "
       "N "
       "\\and n \\ge N \\implies | a _ m - a _ n | < \\epsilon"},
      {"Unfold increasing sequence",
       {},
       {"a \\Increasing"},
       kProving,
       0,
       "\\forall n \\in \\N \\Vld a _ n < a _ ( n + 1 )"},
      {"Unfold increasing sequence", {"a \\NonDecreasing"}, {}, kGiven, 0, ""},
      {"Unfold decreasing sequence",
       {"b \\Decreasing"},
       {},
       kGiven,
       0,
       "\\forall n \\in \\N \\Vld b _ ( n + 1 ) < b _ n"},
      {"Unfold non-decreasing sequence",
       {"a \\NonDecreasing"},
       {},
       kGiven,
       0,
       "\\forall n \\in \\N \\Vld a _ n \\le a _ ( n + 1 )"},
      {"Unfold non-decreasing sequence", {"a \\Increasing"}, {}, kGiven, 0, ""},
      {"Unfold non-increasing sequence",
       {},
       {"a \\NonIncreasing"},
       kProving,
       0,
       "\\forall n \\in \\N \\Vld a _ ( n + 1 ) \\le a _ n"},
      {"Unfold monotone sequence", {"a \\Monotone"}, {}, kGiven, 0, "a \\NonDecreasing \\or a \\NonIncreasing"},
      {"Unfold monotone sequence", {}, {"b \\Monotone"}, kProving, 0, "b \\NonDecreasing \\or b \\NonIncreasing"},
  };
  for (const TRow& row : rows) Check(row);
}

TEST_F(AssotScriptsATest, TopologyAndContinuity) {
  const TRow rows[] = {
      {"Unfold open set", {"A \\Open"}, {}, kGiven, 0, "\\forall x \\in A \\Vld x \\InteriorPoint A"},
      {"Unfold open set", {"A \\Closed"}, {}, kGiven, 0, ""},
      {"Unfold closed set",
       {},
       {"( A \\cup B ) \\Closed"},
       kProving,
       0,
       "\\forall x \\in \\R \\Vld x \\LimitPoint ( A \\cup B ) \\implies x \\in ( A \\cup B )"},
      {"Unfold limit point",
       {"0 \\LimitPoint A"},
       {},
       kGiven,
       0,
       "\\forall \\epsilon > 0 \\Vld \\exists a \\in A : 0 < | a - 0 | \\and | a - 0 | < \\epsilon"},
      {"Unfold limit point",
       {},
       {"x \\LimitPoint B"},
       kProving,
       0,
       "\\forall \\epsilon > 0 \\Vld \\exists t \\in B : 0 < | t - x | \\and | t - x | < \\epsilon"},
      {"Unfold limit point", {"x \\InteriorPoint A"}, {}, kGiven, 0, ""},
      {"Unfold continuity at a point",
       {"f \\ContinuousAt x"},
       {},
       kGiven,
       0,
       "\\forall \\epsilon > 0 \\Vld \\exists \\delta > 0 : \\forall t \\in \\R \\Vld | t - x | < \\delta \\implies | "
       "f ( t "
       ") - f ( x ) | < \\epsilon"},
      {"Unfold continuity at a point",
       {},
       {"f \\ContinuousAt 0"},
       kProving,
       0,
       "\\forall \\epsilon > 0 \\Vld \\exists \\delta > 0 : \\forall x \\in \\R \\Vld | x - 0 | < \\delta \\implies | "
       "f ( x "
       ") - f ( 0 ) | < \\epsilon"},
      {"Unfold continuity at a point", {"f \\Continuous"}, {}, kGiven, 0, ""},
  };
  for (const TRow& row : rows) Check(row);
}

TEST_F(AssotScriptsATest, SupremumAndInfimum) {
  const std::string lub = "s \\UpperBound A \\and ( \\forall b \\in \\R \\Vld b \\UpperBound A \\implies s \\le b )";
  const std::string glb = "s \\LowerBound A \\and ( \\forall b \\in \\R \\Vld b \\LowerBound A \\implies b \\le s )";
  const std::vector<std::string> premises = {"\\not ( A = \\emptyset )", "A \\BoundedAbove"};
  const TRow rows[] = {
      // A goal needs no premise: the characterisation makes A non-empty and bounded.
      {"Unfold supremum", {}, {"s = \\sup ( A )"}, kProving, 0, lub},
      {"Unfold supremum",
       {},
       {"\\sup ( A ) = 1"},
       kProving,
       0,
       "1 \\UpperBound A \\and ( \\forall b \\in \\R \\Vld b \\UpperBound A \\implies 1 \\le b )"},
      {"Unfold supremum",
       {},
       {"\\sup ( A ) + x + y = 0"},
       kProving,
       0,
       "- ( x + y ) \\UpperBound A \\and ( \\forall b \\in \\R \\Vld b \\UpperBound A \\implies - ( x + y ) \\le b )"},
      // A given one needs both premises among the given conditions.
      {"Unfold supremum", {"\\not ( A = \\emptyset )", "A \\BoundedAbove", "s = \\sup ( A )"}, {}, kGiven, 2, lub},
      {"Unfold supremum", {"s = \\sup ( A )", "x \\in A", "M \\UpperBound A"}, {}, kGiven, 0, lub},
      {"Unfold supremum", {"A \\Bounded", "s = \\sup ( A )", "\\not ( A = \\emptyset )"}, {}, kGiven, 1, lub},
      {"Unfold supremum", {"A \\BoundedAbove", "s = \\sup ( A )"}, {}, kGiven, 1, ""},
      {"Unfold supremum", {"\\not ( A = \\emptyset )", "s = \\sup ( A )"}, {}, kGiven, 1, ""},
      {"Unfold supremum", {"s = \\sup ( A )"}, premises, kGiven, 0, ""},
      {"Unfold supremum", {"\\not ( B = \\emptyset )", "B \\BoundedAbove", "s = \\sup ( A )"}, {}, kGiven, 2, ""},
      {"Unfold supremum", {"\\not ( A = \\emptyset )", "A \\BoundedBelow", "s = \\sup ( A )"}, {}, kGiven, 2, ""},
      // Other shapes.
      {"Unfold supremum", {}, {"s = \\inf ( A )"}, kProving, 0, ""},
      {"Unfold supremum", {}, {"s \\le \\sup ( A )"}, kProving, 0, ""},
      {"Unfold supremum", {}, {"s = 2 \\cdot \\sup ( A )"}, kProving, 0, ""},
      // inf(B) = -sup(A) is sup(A) = -inf(B) as well.
      {"Unfold supremum",
       {},
       {"\\inf ( B ) = - \\sup ( A )"},
       kProving,
       0,
       "- \\inf ( B ) \\UpperBound A \\and ( \\forall b \\in \\R \\Vld b \\UpperBound A \\implies - \\inf ( B ) \\le b "
       ")"},
      {"Unfold supremum",
       {},
       {"\\sup ( A ) + ( - 1 ) \\cdot x = 0"},
       kProving,
       0,
       "x \\UpperBound A \\and ( \\forall b \\in \\R \\Vld b \\UpperBound A \\implies x \\le b )"},
      {"Unfold infimum", {}, {"s = \\inf ( A )"}, kProving, 0, glb},
      {"Unfold infimum",
       {},
       {"\\inf ( B ) = - \\sup ( A )"},
       kProving,
       0,
       "- \\sup ( A ) \\LowerBound B \\and ( \\forall b \\in \\R \\Vld b \\LowerBound B \\implies b \\le - \\sup ( A ) "
       ")"},
      {"Unfold infimum", {"\\not ( A = \\emptyset )", "c \\LowerBound A", "s = \\inf ( A )"}, {}, kGiven, 2, glb},
      {"Unfold infimum", {"\\not ( A = \\emptyset )", "A \\BoundedAbove", "s = \\inf ( A )"}, {}, kGiven, 2, ""},
      {"Unfold infimum", {}, {"s = \\sup ( A )"}, kProving, 0, ""},
      {"Supremum in terms of epsilon",
       {},
       {"s = \\sup ( A )"},
       kProving,
       0,
       "s \\UpperBound A \\and ( \\forall \\epsilon > 0 \\Vld \\exists x \\in A : x > s - \\epsilon )"},
      {"Supremum in terms of epsilon", premises, {"x > 0"}, kGiven, 0, ""},
      {"Supremum in terms of epsilon",
       {"x \\in A", "A \\BoundedAbove", "\\sup ( A ) = x"},
       {},
       kGiven,
       2,
       "x \\UpperBound A \\and ( \\forall \\epsilon > 0 \\Vld \\exists t \\in A : t > x - \\epsilon )"},
      {"Infimum in terms of epsilon",
       {},
       {"\\inf ( B ) = 0"},
       kProving,
       0,
       "0 \\LowerBound B \\and ( \\forall \\epsilon > 0 \\Vld \\exists x \\in B : x < 0 + \\epsilon )"},
      {"Infimum in terms of epsilon", {"\\not ( A = \\emptyset )", "s = \\inf ( A )"}, {}, kGiven, 1, ""},
  };
  for (const TRow& row : rows) Check(row);
}

TEST_F(AssotScriptsATest, UnderNegation) {
  const std::string name = "Unfold the definition under negation";
  const TRow rows[] = {
      {name, {}, {"\\not ( \\N \\BoundedAbove )"}, kProving, 0, "\\not ( \\exists M \\in \\R : M \\UpperBound \\N )"},
      {name,
       {"\\not ( a \\SeqBoundedAbove )"},
       {},
       kGiven,
       0,
       "\\not ( \\exists M \\in \\R : \\forall n \\in \\N \\Vld a _ n \\le M )"},
      {name, {"x \\in A", "\\not ( x \\UpperBound A )"}, {}, kGiven, 1, "\\not ( \\forall t \\in A \\Vld t \\le x )"},
      {name, {}, {"\\not ( a \\Convergent )"}, kProving, 0, "\\not ( \\exists L \\in \\R : a \\ConvergesTo L )"},
      {name,
       {"\\not ( f \\ContinuousAt 0 )"},
       {},
       kGiven,
       0,
       "\\not ( \\forall \\epsilon > 0 \\Vld \\exists \\delta > 0 : \\forall x \\in \\R \\Vld | x - 0 | < \\delta "
       "\\implies | f ( x ) - f ( 0 ) | < \\epsilon )"},
      // Negations of what is not one of these notions.
      {name, {"\\not ( x = y )"}, {}, kGiven, 0, ""},
      {name, {}, {"\\not ( A \\Compact )"}, kProving, 0, ""},
      {name, {}, {"\\not ( a \\TendsToPlusInfty )"}, kProving, 0, ""},
      {name, {"A \\BoundedAbove"}, {}, kGiven, 0, ""},
  };
  for (const TRow& row : rows) Check(row);
}

// ---------------------------------------------------------------------------
// Soundness: the result is the book's own definition, read from the book.

// The book's formulation of a statement (line 5 of its file).
std::string Formulation(const std::string& path) {
  const auto lines = ReadLines(SystemPath(std::string(LEMMIX_DATA_DIR) + "/book/" + path + ".st").value());
  return lines && lines->size() > 5 ? (*lines)[5] : std::string();
}

std::vector<std::string> Tokens(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> tokens;
  for (std::string t; in >> t;) tokens.push_back(t);
  return tokens;
}

std::string Join(std::vector<std::string>::const_iterator from, std::vector<std::string>::const_iterator to) {
  std::string out;
  for (auto i = from; i != to; ++i) out += (out.empty() ? "" : " ") + *i;
  return out;
}

// The right side of a definition "∀ … (premise ⇒ ∀ …) left ≝ right" (or of
// a characterisation "left ⇔ right") with the variables of the left side, the
// notion's arguments, written as template parameters in the order given.
std::string DefinitionTemplate(const std::string& formulation, const std::string& sign,
                               const std::vector<std::string>& arguments) {
  std::vector<std::string> tokens = Tokens(formulation);
  // Only the last quantified part speaks of the notion: after the premise.
  auto from = tokens.begin();
  for (auto i = tokens.begin(); i != tokens.end(); ++i)
    if (*i == "\\implies" && i + 1 != tokens.end() && *(i + 1) == "(") from = i + 2;
  const auto by = std::find(from, tokens.end(), sign);
  if (by == tokens.end()) return {};
  auto to = tokens.end();
  if (from != tokens.begin()) --to;  // the bracket closing the premise's conclusion
  std::vector<std::string> right(by + 1, to);
  for (std::string& t : right) {
    const auto at = std::find(arguments.begin(), arguments.end(), t);
    if (at != arguments.end()) t = "#" + std::to_string(at - arguments.begin());
  }
  return Join(right.begin(), right.end());
}

struct TDefinitionCase {
  std::string name;                    // the transformation
  std::string path;                    // the defining statement
  std::string sign;                    // \ByDef, or \iff for a characterisation
  std::vector<std::string> variables;  // the definition's names of the arguments
  std::string condition;               // the marked goal
  std::vector<std::string> arguments;  // what the condition puts for them
};

TEST_F(AssotScriptsATest, EachResultIsTheBooksDefinitionOfTheNotion) {
  const TDefinitionCase cases[] = {
      {"Unfold upper bound",
       "3/0/0",
       "\\ByDef",
       {"A", "M"},
       "x + 1 \\UpperBound ( A \\cap B )",
       {"A \\cap B", "x + 1"}},
      {"Unfold lower bound", "3/0/1", "\\ByDef", {"A", "c"}, "- M \\LowerBound A", {"A", "- M"}},
      {"Unfold set bounded above", "3/1/0", "\\ByDef", {"A"}, "( A \\cup B ) \\BoundedAbove", {"A \\cup B"}},
      {"Unfold set bounded below", "3/1/1", "\\ByDef", {"A"}, "B \\BoundedBelow", {"B"}},
      {"Unfold bounded set", "3/1/2", "\\ByDef", {"A"}, "( A \\setminus B ) \\Bounded", {"A \\setminus B"}},
      {"Unfold bounded sequence", "3/1/7", "\\ByDef", {"a"}, "b \\SeqBounded", {"b"}},
      {"Unfold sequence bounded above", "3/1/8", "\\ByDef", {"a"}, "b \\SeqBoundedAbove", {"b"}},
      {"Unfold sequence bounded below", "3/1/9", "\\ByDef", {"a"}, "b \\SeqBoundedBelow", {"b"}},
      {"Unfold limit of a sequence", "3/5/0", "\\ByDef", {"a", "L"}, "b \\ConvergesTo x / 2", {"b", "x / 2"}},
      {"Unfold convergent sequence", "3/5/1", "\\ByDef", {"a"}, "b \\Convergent", {"b"}},
      {"Unfold increasing sequence", "3/6/0", "\\ByDef", {"a"}, "b \\Increasing", {"b"}},
      {"Unfold decreasing sequence", "3/6/1", "\\ByDef", {"a"}, "b \\Decreasing", {"b"}},
      {"Unfold non-decreasing sequence", "3/6/2", "\\ByDef", {"a"}, "b \\NonDecreasing", {"b"}},
      {"Unfold non-increasing sequence", "3/6/3", "\\ByDef", {"a"}, "b \\NonIncreasing", {"b"}},
      {"Unfold monotone sequence", "3/6/4", "\\ByDef", {"a"}, "b \\Monotone", {"b"}},
      {"Unfold Cauchy sequence", "3/8/0", "\\ByDef", {"a"}, "b \\Cauchy", {"b"}},
      {"Unfold open set", "3/9/1", "\\ByDef", {"A"}, "( A \\cap B ) \\Open", {"A \\cap B"}},
      {"Unfold limit point", "3/9/2", "\\ByDef", {"A", "x"}, "y + 1 \\LimitPoint B", {"B", "y + 1"}},
      {"Unfold closed set", "3/9/3", "\\ByDef", {"A"}, "( A \\cup B ) \\Closed", {"A \\cup B"}},
      {"Unfold continuity at a point",
       "4/2/0",
       "\\ByDef",
       {"f", "a"},
       "f \\ContinuousAt 2 \\cdot y",
       {"f", "2 \\cdot y"}},
      {"Unfold supremum", "3/2/0", "\\ByDef", {"A", "s"}, "\\sup ( A \\cup B ) = 1", {"A \\cup B", "1"}},
      {"Unfold supremum", "3/2/0", "\\ByDef", {"A", "s"}, "y = \\sup ( B )", {"B", "y"}},
      {"Unfold supremum", "3/2/0", "\\ByDef", {"A", "s"}, "x + \\sup ( B ) = 0", {"B", "- x"}},
      {"Unfold infimum", "3/2/1", "\\ByDef", {"A", "s"}, "\\inf ( B ) = y", {"B", "y"}},
      {"Supremum in terms of epsilon", "3/2/4", "\\iff", {"A", "s"}, "y = \\sup ( A )", {"A", "y"}},
      {"Infimum in terms of epsilon", "3/2/15", "\\iff", {"A", "s"}, "\\inf ( A ) + x = 0", {"A", "- x"}},
  };
  for (const TDefinitionCase& c : cases)
    for (const bool negated : {false, true}) {
      // Under negation: the negation of the definition, for the notions (not sup and inf).
      if (negated && c.sign != "\\ByDef") continue;
      if (negated && c.condition.find(" = ") != std::string::npos) continue;
      const std::string name = negated ? "Unfold the definition under negation" : c.name;
      SCOPED_TRACE(name + " on " + c.condition);
      std::string text = DefinitionTemplate(Formulation(c.path), c.sign, c.variables);
      ASSERT_FALSE(text.empty()) << Formulation(c.path);
      if (negated) text = "\\not ( " + text + " )";
      std::unique_ptr<TKernel> field = Field({}, {negated ? "\\not ( " + c.condition + " )" : c.condition});
      std::vector<TExprPtr> arguments;
      std::vector<const TExpr*> parameters;
      for (const std::string& a : c.arguments) {
        arguments.push_back(KernelFormula(*field, a));
        ASSERT_TRUE(arguments.back()) << a;
        parameters.push_back(arguments.back().get());
      }
      const TExprPtr instance = InstantiateTemplate(text, parameters, *field);
      ASSERT_TRUE(instance) << text;
      const TExprPtr book = Standard(*field, *instance);
      ASSERT_TRUE(book);
      const TAssot* t = Find(name);
      ASSERT_TRUE(t);
      ASSERT_TRUE(assot.TestAssot(*t, *field, kProving, 0));
      ASSERT_TRUE(assot.ExecuteAssot(*t, *field, kProving, 0)) << Messages();
      ASSERT_EQ(field->ProvingConds.size(), 1u);
      EXPECT_TRUE(Same(*field->ProvingConds[0]->Expr, *book))
          << Text(*field->ProvingConds[0]->Expr) << "\n  the book: " << Text(*book);
    }
}

// ---------------------------------------------------------------------------
// Soundness of the standard form: t + (-1)*sup(A) = 0 (and its kin) is read
// as sup(A) = v; over exact rational points, the equality holds exactly where
// sup(A) takes the value v that the transformation puts for s.

struct TQ {
  std::int64_t num = 0;
  std::int64_t den = 1;
  static TQ Of(std::int64_t n, std::int64_t d) {
    if (d < 0) n = -n, d = -d;
    const std::int64_t g = std::gcd(n, d);
    return {n / (g ? g : 1), d / (g ? g : 1)};
  }
  friend TQ operator+(TQ a, TQ b) { return Of(a.num * b.den + b.num * a.den, a.den * b.den); }
  friend TQ operator*(TQ a, TQ b) { return Of(a.num * b.num, a.den * b.den); }
  friend bool operator==(TQ a, TQ b) { return a.num == b.num && a.den == b.den; }
};

// The value of a term over the rationals: numbers, objects, +, ·, −, / and
// the supremum or infimum standing for `extremum`. Nothing for another term.
std::optional<TQ> Value(const TExpr& e, const std::map<std::string, TQ>& objects, TQ extremum, int word) {
  if (const TNumber* n = e.NumberValue()) return TQ::Of(n->Num(), n->Den());
  if (e.IsVar()) {
    const auto at = objects.find(TreeToText(e, false, false).value_or(""));
    if (at == objects.end()) return std::nullopt;
    return at->second;
  }
  if (e.Class != TClass::Compound) return std::nullopt;
  const int head = e.HeadIntrinsic();
  if (head == word) return extremum;
  std::vector<TQ> args;
  for (std::size_t i = 1; i < e.Children().size(); ++i) {
    const auto v = Value(*e.Children()[i], objects, extremum, word);
    if (!v) return std::nullopt;
    args.push_back(*v);
  }
  if (args.empty()) return std::nullopt;
  TQ r = args[0];
  switch (head) {
    case kPlus:
      for (std::size_t i = 1; i < args.size(); ++i) r = r + args[i];
      return r;
    case kTimes:
      for (std::size_t i = 1; i < args.size(); ++i) r = r * args[i];
      return r;
    case kMinus:
      if (args.size() == 1) return TQ::Of(-r.num, r.den);
      return r + TQ::Of(-args[1].num, args[1].den);
    case kDivide:
      if (args.size() != 2 || args[1].num == 0) return std::nullopt;
      return r * TQ::Of(args[1].den, args[1].num);
    default:
      return std::nullopt;
  }
}

TEST_F(AssotScriptsATest, TheStandardFormIsReadWithItsSign) {
  struct TCase {
    std::string name;
    std::string condition;
    int word;
    bool number = false;  // the value is a number, written without a minus of its own
  };
  const TCase cases[] = {
      {"Unfold supremum", "\\sup ( A ) = - 3", kSup, true},
      {"Unfold supremum", "\\sup ( A ) = 1", kSup, true},
      {"Infimum in terms of epsilon", "\\inf ( A ) = 17", kInf, true},
      {"Unfold supremum", "x + ( - 1 ) \\cdot \\sup ( A ) = 0", kSup},
      {"Unfold supremum", "\\sup ( A ) + x = 0", kSup},
      {"Unfold supremum", "2 \\cdot x + \\sup ( A ) + ( - 3 ) \\cdot y = 0", kSup},
      {"Unfold supremum", "x / 3 + ( - 1 ) \\cdot \\sup ( A ) + y + 5 = 0", kSup},
      {"Supremum in terms of epsilon", "( - 1 ) \\cdot \\sup ( A ) + x + ( - 1 ) \\cdot y = 0", kSup},
      {"Unfold infimum", "( - 1 ) \\cdot x + \\inf ( A ) + 7 = 0", kInf},
      {"Infimum in terms of epsilon", "( - 1 ) \\cdot \\inf ( A ) + 2 \\cdot y + ( - 1 ) = 0", kInf},
  };
  const std::int64_t samples[] = {-7, -2, -1, 0, 1, 3, 10};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name + " on " + c.condition);
    std::unique_ptr<TKernel> field = Field({}, {c.condition});
    const TExprPtr before = ShallowCopy(*field->ProvingConds[0]->Expr);
    const TAssot* t = Find(c.name);
    ASSERT_TRUE(t);
    ASSERT_TRUE(assot.TestAssot(*t, *field, kProving, 0));
    ASSERT_TRUE(assot.ExecuteAssot(*t, *field, kProving, 0)) << Messages();
    // The value put for s: the first argument of the bound in the first conjunct.
    const TExpr& after = *field->ProvingConds[0]->Expr;
    ASSERT_EQ(after.HeadIntrinsic(), kAnd) << Text(after);
    const TExpr& bound = *after.Children()[1];
    ASSERT_EQ(bound.HeadIntrinsic(), c.word == kSup ? kUpperBound : kLowerBound) << Text(after);
    const TExpr& value = *bound.Children()[1];
    if (c.number) {
      EXPECT_EQ(value.Class, TClass::Number) << Text(value);
    }
    ASSERT_EQ(before->HeadIntrinsic(), kEq);
    for (std::int64_t xs : samples)
      for (std::int64_t ys : samples) {
        const std::map<std::string, TQ> objects = {{"x", TQ::Of(xs, 1)}, {"y", TQ::Of(ys, 2)}};
        const auto v = Value(value, objects, {}, c.word);
        ASSERT_TRUE(v) << Text(value);
        // At sup(A) = v the old equality holds; one away from it, it fails.
        for (const TQ e : {*v, *v + TQ::Of(1, 1), *v + TQ::Of(-1, 3)}) {
          const auto left = Value(*before->Children()[1], objects, e, c.word);
          const auto right = Value(*before->Children()[2], objects, e, c.word);
          ASSERT_TRUE(left && right) << Text(*before);
          EXPECT_EQ(*left == *right, e == *v) << "x = " << xs << ", y = " << ys << "/2";
        }
      }
  }
}

// ---------------------------------------------------------------------------
// The entries themselves.

TEST_F(AssotScriptsATest, EveryEntryHasItsNamesAndHelpPage) {
  const std::vector<std::string> names = {"Unfold upper bound",
                                          "Unfold lower bound",
                                          "Unfold set bounded above",
                                          "Unfold set bounded below",
                                          "Unfold bounded set",
                                          "Unfold bounded sequence",
                                          "Unfold sequence bounded above",
                                          "Unfold sequence bounded below",
                                          "Unfold limit of a sequence",
                                          "Unfold convergent sequence",
                                          "Unfold increasing sequence",
                                          "Unfold decreasing sequence",
                                          "Unfold non-decreasing sequence",
                                          "Unfold non-increasing sequence",
                                          "Unfold monotone sequence",
                                          "Unfold Cauchy sequence",
                                          "Unfold open set",
                                          "Unfold limit point",
                                          "Unfold closed set",
                                          "Unfold continuity at a point",
                                          "Unfold supremum",
                                          "Unfold infimum",
                                          "Supremum in terms of epsilon",
                                          "Infimum in terms of epsilon",
                                          "Unfold the definition under negation"};
  for (const std::string& name : names) {
    const TAssot* t = Find(name);
    ASSERT_TRUE(t);
    EXPECT_FALSE(t->RusName.empty()) << name;
    EXPECT_TRUE(t->Test && t->Execute) << name;
    EXPECT_GE(t->HelpMap, 300) << name;
    EXPECT_LE(t->HelpMap, 339) << name;
    EXPECT_TRUE(fs::exists(fs::path(LEMMIX_DATA_DIR) / "help" / (std::to_string(t->HelpMap) + ".html"))) << name;
    // A protocol names its transformation by a prefix of the row: no name
    // may begin another one.
    for (const auto& other : assot.Transformations()) {
      if (other.get() == t) continue;
      EXPECT_NE(other->Name.rfind(name, 0), 0u) << name << " begins " << other->Name;
      EXPECT_NE(other->RusName, t->RusName) << name;
    }
  }
}

}  // namespace
}  // namespace lemmix
