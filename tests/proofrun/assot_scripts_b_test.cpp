// The scripts of ASSOT.DAT about inequalities, moduli, negations and limit
// arguments: where each is offered, what it leaves in the proof field, and
// that what it leaves never lets a false statement through (an exact check
// over rational sample points for the arithmetic ones).
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <numeric>
#include <optional>

#include "../prover/prover_fixture.h"
#include "intrinsics/intr_numbers.h"
#include "notation/output.h"
#include "proofrun/assot.h"
#include "prover/task.h"
#include "shell/files.h"

namespace lemmix {
namespace {

// An exact rational; the sample points keep every value far from overflow.
struct Q {
  __int128 n = 0, d = 1;
  static Q Of(__int128 n, __int128 d = 1) {
    if (d < 0) n = -n, d = -d;
    const __int128 g = std::gcd(static_cast<long long>(n < 0 ? -n : n), static_cast<long long>(d));
    return g > 1 ? Q{n / g, d / g} : Q{n, d};
  }
  friend Q operator+(Q a, Q b) { return Of(a.n * b.d + b.n * a.d, a.d * b.d); }
  friend Q operator*(Q a, Q b) { return Of(a.n * b.n, a.d * b.d); }
  friend bool operator<(Q a, Q b) { return a.n * b.d < b.n * a.d; }
  friend bool operator==(Q a, Q b) { return a.n == b.n && a.d == b.d; }
};

using TValues = std::map<const TVar*, Q>;

std::optional<Q> Term(const TExpr& e, const TValues& at);

// The value of a condition without quantifiers; nothing for what the
// evaluator does not know (and for a division by zero).
std::optional<bool> Truth(const TExpr& e, const TValues& at) {
  if (e.IsIntr(kTrue)) return true;
  if (e.IsIntr(kFalse)) return false;
  const int head = e.HeadIntrinsic();
  const TExprList& c = e.Children();
  switch (head) {
    case kNot: {
      const auto v = Truth(*c[1], at);
      return v ? std::optional<bool>(!*v) : std::nullopt;
    }
    case kAnd:
    case kOr: {
      bool all = true, any = false;
      for (std::size_t i = 1; i < c.size(); ++i) {
        const auto v = Truth(*c[i], at);
        if (!v) return std::nullopt;
        all = all && *v;
        any = any || *v;
      }
      return head == kAnd ? all : any;
    }
    case kImplies:
    case kIff: {
      const auto a = Truth(*c[1], at), b = Truth(*c[2], at);
      if (!a || !b) return std::nullopt;
      return head == kImplies ? (!*a || *b) : (*a == *b);
    }
    case kEq:
    case kGt:
    case kLt:
    case kGe:
    case kLe: {
      const auto a = Term(*c[1], at), b = Term(*c[2], at);
      if (!a || !b) return std::nullopt;
      if (head == kEq) return *a == *b;
      if (head == kGt) return *b < *a;
      if (head == kLt) return *a < *b;
      if (head == kGe) return !(*a < *b);
      return !(*b < *a);
    }
    default: return std::nullopt;
  }
}

std::optional<Q> Term(const TExpr& e, const TValues& at) {
  if (const TNumber* n = e.NumberValue()) {
    if (n->IsReal()) return std::nullopt;
    return Q::Of(n->Num(), n->Den());
  }
  if (e.IsVar()) {
    const auto it = at.find(e.Var());
    return it == at.end() ? std::nullopt : std::optional<Q>(it->second);
  }
  const TExprList& c = e.Children();
  switch (e.HeadIntrinsic()) {
    case kPlus:
    case kTimes: {
      Q r = e.HeadIntrinsic() == kPlus ? Q::Of(0) : Q::Of(1);
      for (std::size_t i = 1; i < c.size(); ++i) {
        const auto v = Term(*c[i], at);
        if (!v) return std::nullopt;
        r = e.HeadIntrinsic() == kPlus ? r + *v : r * *v;
      }
      return r;
    }
    case kMinus: {
      const auto v = Term(*c[1], at);
      return v ? std::optional<Q>(Q::Of(-v->n, v->d)) : std::nullopt;
    }
    case kDivide: {
      const auto a = Term(*c[1], at), b = Term(*c[2], at);
      if (!a || !b || b->n == 0) return std::nullopt;
      return *a * Q::Of(b->d, b->n);
    }
    case kPower: {
      const auto a = Term(*c[1], at);
      const TNumber* k = c[2]->NumberValue();
      if (!a || !k || !k->IsInteger() || (k->Integer() < 0 && a->n == 0)) return std::nullopt;
      Q r = Q::Of(1);
      for (int i = 0; i < std::abs(k->Integer()); ++i) r = r * *a;
      return k->Integer() < 0 ? Q::Of(r.d, r.n) : r;
    }
    case kAbs: {
      const auto v = Term(*c[1], at);
      return v ? std::optional<Q>(Q::Of(v->n < 0 ? -v->n : v->n, v->d)) : std::nullopt;
    }
    default: return std::nullopt;
  }
}

class AssotScriptsBTest : public testing::ProverTest {
 protected:
  AssotScriptsBTest() { context.Settings.OneStepFinish0 = false; }

  void SetUp() override {
    ProverTest::SetUp();
    ASSERT_TRUE(assot.LoadAssot(SystemPath(LEMMIX_DATA_DIR).value()));
  }

  const TAssot* Script(const std::string& name) const {
    for (const auto& t : assot.Transformations())
      if (t->Name == name) return t.get();
    return nullptr;
  }

  // A field with the objects (letters, type identifiers) and conditions.
  std::unique_ptr<TKernel> Field(const std::vector<std::pair<char, const char*>>& objects,
                                 const std::vector<std::string>& given, const std::vector<std::string>& proving) {
    auto field = std::make_unique<TKernel>();
    for (const auto& [letter, type] : objects) field->AddObject(Var(letter, -1, type), false);
    for (const auto& g : given) {
      TExprPtr e = ReadProverFormula(*field, g);
      EXPECT_TRUE(e && field->AddGivenCond(*e)) << g;
    }
    for (const auto& p : proving) {
      TExprPtr e = ReadProverFormula(*field, p);
      EXPECT_TRUE(e && field->AddProvingCond(*e)) << p;
    }
    return field;
  }

  static std::string Text(const TExpr& e) { return TreeToText(e, false, false).value_or("?"); }
  static std::vector<std::string> Texts(const TCondList& conds) {
    std::vector<std::string> texts;
    for (const auto& c : conds) texts.push_back(Text(*c->Expr));
    return texts;
  }
  // The conditions the formulas give in that field, as the field writes them.
  std::vector<std::string> Standard(const TKernel& field, const std::vector<std::string>& formulas) {
    std::vector<std::string> texts;
    for (const auto& f : formulas) {
      TExprPtr e = ReadProverFormula(field, f);
      TCondPtr c = e ? field.MakeCond(*e) : nullptr;
      EXPECT_TRUE(c) << f;
      if (c) texts.push_back(Text(*c->Expr));
    }
    return texts;
  }

  TAssotProccess assot{*context.StFunc, messages};
};

const std::vector<std::pair<char, const char*>> kReals = {{'a', "rT"}, {'b', "rT"}, {'c', "rT"}, {'x', "rT"},
                                                          {'y', "rT"}, {'z', "rT"}, {'e', "rT"}};

struct TRow {
  const char* name;
  std::vector<std::string> given, proving;
  TSection section;
  std::size_t position;
  bool offered;
  // The section of the marked condition after the script ran (empty: not run).
  std::vector<std::string> after;
};

const TRow kRows[] = {
    // Triangle inequality: only goals, only a modulus of a sum on the smaller side.
    {"Triangle inequality in the goal", {}, {"| x + y | < e"}, TSection::ProvingConds, 0, true, {"| x | + | y | < e"}},
    {"Triangle inequality in the goal", {}, {"| x + y + z | \\le e"}, TSection::ProvingConds, 0, true,
     {"| x | + | y | + | z | \\le e"}},
    {"Triangle inequality in the goal", {"| x + y | < e"}, {}, TSection::GivenConds, 0, false, {}},
    {"Triangle inequality in the goal", {}, {"| x + y | > e"}, TSection::ProvingConds, 0, false, {}},
    {"Triangle inequality in the goal", {}, {"| x | < e"}, TSection::ProvingConds, 0, false, {}},
    {"Difference of moduli in the goal", {}, {"| | x | - | y | | < e"}, TSection::ProvingConds, 0, true,
     {"| x - y | < e"}},
    {"Difference of moduli in the goal", {}, {"| x - y | < e"}, TSection::ProvingConds, 0, false, {}},
    {"Difference of moduli from a given condition", {"| x - a | < 1"}, {}, TSection::GivenConds, 0, true,
     {"| x - a | < 1", "| | - a | - | x | | < 1"}},
    {"Difference of moduli from a given condition", {}, {"| x - a | < 1"}, TSection::ProvingConds, 0, false, {}},
    // |a| < b and back.
    {"Unfold |a| < b", {"| x - a | < e"}, {}, TSection::GivenConds, 0, true, {"- e < x - a \\and x - a < e"}},
    {"Unfold |a| < b", {}, {"| x | < e"}, TSection::ProvingConds, 0, true, {"- e < x \\and x < e"}},
    {"Unfold |a| < b", {}, {"| x | \\le e"}, TSection::ProvingConds, 0, false, {}},
    {"Unfold |a| <= b", {"| x | \\le e"}, {}, TSection::GivenConds, 0, true, {"- e \\le x \\and x \\le e"}},
    {"Unfold |a| <= b", {"| x | < e"}, {}, TSection::GivenConds, 0, false, {}},
    {"Fold into |a| < b", {"- e < x \\and x < e"}, {}, TSection::GivenConds, 0, true, {"| x | < e"}},
    {"Fold into |a| < b", {"- e < x \\and x \\le e"}, {}, TSection::GivenConds, 0, false, {}},
    {"Fold into |a| < b", {}, {"\\forall y \\in \\R \\Vld y = y"}, TSection::ProvingConds, 0, false, {}},
    {"Split a two-sided inequality", {"0 < x \\and x < 1"}, {}, TSection::GivenConds, 0, true, {"0 < x", "x < 1"}},
    {"Split a two-sided inequality", {}, {"0 < x \\and x < 1"}, TSection::ProvingConds, 0, false, {}},
    // Negations, both sections.
    {"Negation of a conjunction", {"\\not ( x > 0 \\and y > 0 )"}, {}, TSection::GivenConds, 0, true,
     {"\\not ( x > 0 ) \\or \\not ( y > 0 )"}},
    {"Negation of a conjunction", {"\\not ( x > 0 \\or y > 0 )"}, {}, TSection::GivenConds, 0, false, {}},
    {"Negation of a disjunction", {}, {"\\not ( x > 0 \\or y > 0 )"}, TSection::ProvingConds, 0, true,
     {"\\not ( x > 0 ) \\and \\not ( y > 0 )"}},
    {"Negation of there exists", {"\\not ( \\exists t \\in \\R : t > x \\and t < y )"}, {}, TSection::GivenConds, 0,
     true, {"\\forall t \\in \\R \\Vld t > x \\implies \\not ( t < y )"}},
    {"Negation of there exists", {"\\not ( \\forall t \\in \\R \\Vld t > x )"}, {}, TSection::GivenConds, 0, false, {}},
    {"Negation of for all", {}, {"\\not ( \\forall t \\in \\R \\Vld t > x \\implies t > y )"}, TSection::ProvingConds, 0,
     true, {"\\exists t \\in \\R : t > x \\and \\not ( t > y )"}},
    {"Negation of a strict inequality", {"\\not ( x + y > a + 1 )"}, {}, TSection::GivenConds, 0, true, {"x + y \\le a + 1"}},
    {"Negation of a non-strict inequality", {}, {"\\not ( | x | \\ge e )"}, TSection::ProvingConds, 0, true, {"| x | < e"}},
    {"Negation of an implication", {"\\not ( x > 0 \\implies y > 0 )"}, {}, TSection::GivenConds, 0, true,
     {"x > 0 \\and \\not ( y > 0 )"}},
    {"Negation of a strict inequality", {}, {"\\not ( x < y )"}, TSection::ProvingConds, 0, true, {"x \\ge y"}},
    {"Negation of a strict inequality", {"\\not ( x > y )"}, {}, TSection::GivenConds, 0, true, {"x \\le y"}},
    {"Negation of a strict inequality", {"\\not ( x \\ge y )"}, {}, TSection::GivenConds, 0, false, {}},
    {"Negation of a non-strict inequality", {"\\not ( x \\le y )"}, {}, TSection::GivenConds, 0, true, {"x > y"}},
    {"Negation of a non-strict inequality", {"x > y"}, {}, TSection::GivenConds, 0, false, {}},
    // The epsilon splits, goals only, by the number of terms.
    {"Split epsilon in halves", {}, {"| x + y | < e"}, TSection::ProvingConds, 0, true,
     {"| x | < e / 2 \\and | y | < e / 2"}},
    {"Split epsilon in halves", {}, {"| x + y + z | < e"}, TSection::ProvingConds, 0, false, {}},
    {"Split epsilon in halves", {"| x + y | < e"}, {}, TSection::GivenConds, 0, false, {}},
    {"Split epsilon in thirds", {}, {"| x + y + z | < e"}, TSection::ProvingConds, 0, true,
     {"| x | < e / 3 \\and | y | < e / 3 \\and | z | < e / 3"}},
    {"Split epsilon in thirds", {}, {"| x + y | < e"}, TSection::ProvingConds, 0, false, {}},
    // Strict and non-strict.
    {"Non-strict inequality from a strict one", {"x < y"}, {}, TSection::GivenConds, 0, true, {"x < y", "x \\le y"}},
    {"Non-strict inequality from a strict one", {"x \\le y"}, {}, TSection::GivenConds, 0, false, {}},
    {"Non-strict inequality from a strict one", {}, {"x < y"}, TSection::ProvingConds, 0, false, {}},
    {"Prove the strict inequality", {}, {"x \\le y"}, TSection::ProvingConds, 0, true, {"x < y"}},
    {"Prove the strict inequality", {"x \\le y"}, {}, TSection::GivenConds, 0, false, {}},
    // Transitivity: a given a <= b turns the goal a < c into b < c.
    {"Transitivity with a given inequality", {"a \\le b"}, {"a < c"}, TSection::ProvingConds, 0, true, {"b < c"}},
    {"Transitivity with a given inequality", {"b \\le c"}, {"a < c"}, TSection::ProvingConds, 0, true, {"a < b"}},
    {"Transitivity with a given inequality", {"a < b"}, {"a < c"}, TSection::ProvingConds, 0, true, {"b \\le c"}},
    {"Transitivity with a given inequality", {"x > 0"}, {"a < c"}, TSection::ProvingConds, 0, false, {}},
    // Splitting epsilon along the given estimates of moduli.
    {"Split epsilon by the given estimates", {"| x - a | < e / 2", "| y - b | < e / 2"}, {"| x + y - a - b | < e"},
     TSection::ProvingConds, 0, true, {"| x - a | < e / 2 \\and | y - b | < e / 2 \\and x + y - a - b - (x - a) - (y - b) = 0"}},
    {"Split epsilon by the given estimates", {"| x - a | < e / 2"}, {"| x + y - a - b | < e"},
     TSection::ProvingConds, 0, false, {}},
};

TEST_F(AssotScriptsBTest, EachScriptIsOfferedWhereItFitsAndLeavesWhatItSays) {
  for (const TRow& row : kRows) {
    SCOPED_TRACE(std::string(row.name) + " on " +
                 (row.section == TSection::GivenConds ? row.given : row.proving)[row.position]);
    const TAssot* script = Script(row.name);
    ASSERT_NE(script, nullptr);
    std::unique_ptr<TKernel> field = Field(kReals, row.given, row.proving);
    const std::size_t given = field->GivenConds.size(), proving = field->ProvingConds.size();
    const bool sectionAllowed = row.section == TSection::GivenConds ? script->DataEnabled : script->ProveEnabled;
    const bool offered = sectionAllowed && assot.TestAssot(*script, *field, row.section, row.position);
    EXPECT_EQ(offered, row.offered);
    // The test part reads the field and leaves it as it was.
    EXPECT_EQ(field->GivenConds.size(), given);
    EXPECT_EQ(field->ProvingConds.size(), proving);
    if (!row.offered || !offered) continue;
    ASSERT_TRUE(assot.ExecuteAssot(*script, *field, row.section, row.position));
    EXPECT_EQ(Texts(field->Conds(row.section)), Standard(*field, row.after));
  }
}

TEST_F(AssotScriptsBTest, NegationsOfQuantifiersKeepTheDomain) {
  context.Settings.AutoStandard = false;
  std::unique_ptr<TKernel> field = Field({{'N', "nT"}, {'a', "SeqT"}}, {},
                                         {"\\not ( \\forall n \\in \\N \\Vld n \\ge N \\implies a _ n > 0 )"});
  const TAssot* script = Script("Negation of for all");
  ASSERT_NE(script, nullptr);
  ASSERT_TRUE(assot.TestAssot(*script, *field, TSection::ProvingConds, 0));
  ASSERT_TRUE(assot.ExecuteAssot(*script, *field, TSection::ProvingConds, 0));
  // Reviewed: not (for all n, n >= N implies a_n > 0) is exactly "some n >= N has not a_n > 0".
  ASSERT_EQ(field->ProvingConds.size(), 1u);
  const TExpr& e = *field->ProvingConds[0]->Expr;
  EXPECT_EQ(e.HeadIntrinsic(), kExists);
  ASSERT_EQ(e.Children().size(), 2u);
  const TExpr& body = *e.Children()[1];
  EXPECT_EQ(body.HeadIntrinsic(), kAnd);
  EXPECT_EQ(body.Children()[2]->HeadIntrinsic(), kNot);
  EXPECT_FALSE(Script("Negation of there exists") &&
               assot.TestAssot(*Script("Negation of there exists"), *field, TSection::ProvingConds, 0));
}

TEST_F(AssotScriptsBTest, TwoFromSomeNumberOnConditionsGiveOneForNumbersBeyondBoth) {
  std::unique_ptr<TKernel> field =
      Field({{'K', "nT"}, {'N', "nT"}, {'a', "SeqT"}, {'b', "SeqT"}},
            {"\\forall n \\in \\N \\Vld n \\ge K \\implies a _ n > 0",
             "\\forall n \\in \\N \\Vld n \\ge N \\implies b _ n > 1"},
            {});
  const TAssot* script = Script("Combine two from-some-number-on conditions");
  ASSERT_NE(script, nullptr);
  EXPECT_FALSE(assot.TestAssot(*script, *field, TSection::ProvingConds, 0));  // no goal there
  ASSERT_TRUE(assot.TestAssot(*script, *field, TSection::GivenConds, 0));
  ASSERT_TRUE(assot.ExecuteAssot(*script, *field, TSection::GivenConds, 0));
  ASSERT_EQ(field->GivenConds.size(), 3u);
  EXPECT_EQ(Texts(field->GivenConds)[1],
            Standard(*field, {"\\forall n \\in \\N \\Vld n \\ge K \\and n \\ge N \\implies a _ n > 0 \\and b _ n > 1"})[0]);
  // A single such condition has nothing to combine with.
  std::unique_ptr<TKernel> alone = Field({{'K', "nT"}, {'a', "SeqT"}}, {"\\forall n \\in \\N \\Vld n \\ge K \\implies a _ n > 0"}, {});
  EXPECT_FALSE(assot.TestAssot(*script, *alone, TSection::GivenConds, 0));
}

// Soundness over rational points: a goal's replacement implies the old goal,
// an inserted given follows from the old one, an equivalence agrees both ways.
enum class TSound { NewImpliesOld, OldImpliesNew, Equivalent };

struct TSoundRow {
  const char* name;
  const char* formula;
  TSection section;
  TSound kind;
  std::vector<std::string> given = {};  // besides the goal, for scripts that read the given conditions
};

const TSoundRow kSound[] = {
    {"Triangle inequality in the goal", "| x + y | < e", TSection::ProvingConds, TSound::NewImpliesOld},
    {"Triangle inequality in the goal", "| x + y + z | \\le e + a", TSection::ProvingConds, TSound::NewImpliesOld},
    {"Difference of moduli in the goal", "| | x | - | y | | < e", TSection::ProvingConds, TSound::NewImpliesOld},
    {"Difference of moduli from a given condition", "| x + y | \\le e", TSection::GivenConds, TSound::OldImpliesNew},
    {"Unfold |a| < b", "| x - y | < e", TSection::GivenConds, TSound::Equivalent},
    {"Unfold |a| < b", "a - | x | > b", TSection::ProvingConds, TSound::Equivalent},
    {"Unfold |a| <= b", "| x + 1 | \\le e", TSection::ProvingConds, TSound::Equivalent},
    {"Negation of a strict inequality", "\\not ( x + y < e )", TSection::GivenConds, TSound::Equivalent},
    {"Negation of a non-strict inequality", "\\not ( x \\ge | y | )", TSection::ProvingConds, TSound::Equivalent},
    {"Negation of an implication", "\\not ( x > 0 \\implies y > e )", TSection::GivenConds, TSound::Equivalent},
    {"Split epsilon in halves", "| x + y | < e", TSection::ProvingConds, TSound::NewImpliesOld},
    {"Split epsilon in halves", "| x - y | \\le e", TSection::ProvingConds, TSound::NewImpliesOld},
    {"Split epsilon in thirds", "| x + y - z | < e", TSection::ProvingConds, TSound::NewImpliesOld},
    {"Non-strict inequality from a strict one", "x < y + e", TSection::GivenConds, TSound::OldImpliesNew},
    {"Prove the strict inequality", "x \\le y + e", TSection::ProvingConds, TSound::NewImpliesOld},
    {"Split epsilon by the given estimates", "| x + y - a - b | < e", TSection::ProvingConds, TSound::NewImpliesOld,
     {"| x - a | < e / 2", "| y - b | < e / 2"}},
    {"Split epsilon by the given estimates", "| x - z | \\le e", TSection::ProvingConds, TSound::NewImpliesOld,
     {"| x | < 1", "| z + y | < 2"}},
    // The new goal implies the old one together with the given conditions.
    {"Transitivity with a given inequality", "x < z", TSection::ProvingConds, TSound::NewImpliesOld, {"x \\le y"}},
    {"Transitivity with a given inequality", "x \\le z + e", TSection::ProvingConds, TSound::NewImpliesOld,
     {"y \\le z"}},
    {"Transitivity with a given inequality", "x + a < z", TSection::ProvingConds, TSound::NewImpliesOld, {"a > e"}},
};

TEST_F(AssotScriptsBTest, NoScriptLetsAFalseStatementThrough) {
  // Points with zeros, signs and fractions, where strict and non-strict differ.
  const Q samples[] = {Q::Of(0), Q::Of(1), Q::Of(-1), Q::Of(1, 2), Q::Of(-3, 2), Q::Of(2), Q::Of(-5, 3)};
  for (const TSoundRow& row : kSound) {
    SCOPED_TRACE(std::string(row.name) + " on " + row.formula + (row.given.empty() ? "" : " given " + row.given.front()));
    const TAssot* script = Script(row.name);
    ASSERT_NE(script, nullptr);
    std::unique_ptr<TKernel> field = row.section == TSection::GivenConds ? Field(kReals, {row.formula}, {})
                                                                          : Field(kReals, row.given, {row.formula});
    TCondList& conds = field->Conds(row.section);
    ASSERT_EQ(conds.size(), 1u);
    const TExprPtr old = DeepCopy(*conds[0]->Expr);
    ASSERT_TRUE(assot.TestAssot(*script, *field, row.section, 0));
    ASSERT_TRUE(assot.ExecuteAssot(*script, *field, row.section, 0));
    ASSERT_FALSE(conds.empty());
    std::map<char, const TVar*> byLetter;
    for (const auto& v : field->GivenObjects) byLetter[static_cast<char>(v->Name.Letter)] = v.get();
    int compared = 0, wrong = 0;
    std::string first;
    const char letters[] = {'a', 'b', 'e', 'x', 'y', 'z'};
    // Every combination of sample values for the six letters.
    std::vector<std::size_t> at(std::size(letters), 0);
    for (;;) {
      TValues values;
      for (std::size_t i = 0; i < std::size(letters); ++i) values[byLetter[letters[i]]] = samples[at[i]];
      const auto before = Truth(*old, values);
      // A goal is proved under the given conditions: only points where they hold count.
      bool premise = true;
      if (row.section == TSection::ProvingConds)
        for (const auto& g : field->GivenConds) {
          const auto v = Truth(*g->Expr, values);
          ASSERT_TRUE(v) << Text(*g->Expr);
          premise = premise && *v;
        }
      std::optional<bool> after = true;
      for (const auto& c : conds) {
        const auto v = Truth(*c->Expr, values);
        after = (after && v) ? std::optional<bool>(*after && *v) : std::nullopt;
      }
      ASSERT_TRUE(before && after) << Text(*old);
      ++compared;
      const bool broken = premise && ((row.kind != TSound::OldImpliesNew && *after && !*before) ||
                                      (row.kind != TSound::NewImpliesOld && *before && !*after));
      if (broken && wrong++ == 0)
        for (std::size_t i = 0; i < std::size(letters); ++i)
          first += std::string(1, letters[i]) + "=" + std::to_string(static_cast<long long>(samples[at[i]].n)) + "/" +
                   std::to_string(static_cast<long long>(samples[at[i]].d)) + " ";
      std::size_t i = 0;
      while (i < at.size() && ++at[i] == std::size(samples)) at[i++] = 0;
      if (i == at.size()) break;
    }
    EXPECT_EQ(compared, 117649);  // 7^6
    EXPECT_EQ(wrong, 0) << "first at " << first << "for " << Texts(conds).front();
  }
}

}  // namespace
}  // namespace lemmix
