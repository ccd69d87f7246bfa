// Random proofs of false statements: a student who tries every command with
// every answer, at random, never ends the proof of something false. Each
// command (cases, auxiliary conditions, conjectures, contradiction,
// induction, definitions, applied statements, transformations of a marked
// condition, undo) must leave an obligation for every claim it makes.
#include <gtest/gtest.h>

#include <random>

#include "book_fixture.h"
#include "book/html_links.h"
#include "book/part.h"
#include "book/search.h"
#include "book/statement.h"
#include "proofrun/assot.h"
#include "proofrun/driver.h"
#include "proofrun/protocol.h"
#include "shell/cp1251.h"
#include "shell/files.h"

namespace lemmix {
namespace {

// Answers every dialog at random, now and then cancelling it.
class TRandomUi : public IProofUi {
 public:
  TRandomUi(std::mt19937& random, std::vector<const TStatement*> statements)
      : random_(random), statements_(std::move(statements)) {}

  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool Cancel() { return Pick(0, 9) == 0; }

  std::optional<std::string> Formula(int, std::string_view, std::string_view) override {
    if (Cancel()) return std::nullopt;
    static const char* const conditions[] = {"x > 0", "x \\ge 0", "x = 0", "x < 1", "x \\le 1", "y > 0",
                                             "y = x",  "x < y",   "x + y > 0", "x \\cdot y > 0", "1", "2",
                                             "x",      "n",       "n \\ge 1", "x ^ 2 > 1"};
    return conditions[Pick(0, static_cast<int>(std::size(conditions)) - 1)];
  }
  std::optional<TDefinitionAnswer> Definition() override {
    if (Cancel()) return std::nullopt;
    static const char* const definitions[] = {"z = x + 1", "z = x - y", "z = 2 \\cdot x", "z = | x |"};
    return TDefinitionAnswer{TDefinitionAnswer::Simple, {definitions[Pick(0, 3)]}};
  }
  std::optional<std::vector<std::string>> Element(int, std::string_view) override { return std::nullopt; }
  const TStatement* Statement() override {
    if (statements_.empty() || Cancel()) return nullptr;
    return statements_[static_cast<std::size_t>(Pick(0, static_cast<int>(statements_.size()) - 1))];
  }
  std::optional<std::size_t> ChooseTransformation(const std::vector<TTransformChoice>& offered) override {
    return Index(offered.size());
  }
  std::optional<std::size_t> Choose(std::string_view, const std::vector<std::string>& items) override {
    return Index(items.size());
  }
  std::optional<std::vector<bool>> Mark(std::string_view, const std::vector<std::string>& items) override {
    if (Cancel()) return std::nullopt;
    std::vector<bool> marks;
    for (std::size_t i = 0; i < items.size(); ++i) marks.push_back(Pick(0, 1) == 1);
    return marks;
  }
  bool ProveFirst(const std::vector<std::string>&) override { return Pick(0, 3) > 0; }
  std::optional<bool> AddRequiredObject() override {
    if (Cancel()) return std::nullopt;
    return Pick(0, 1) == 1;
  }
  std::optional<TSubstituteAnswer> Substitute(std::string_view, const std::vector<std::string>& candidates) override {
    if (Cancel()) return std::nullopt;
    switch (Pick(0, 3)) {
      case 0:
        return TSubstituteAnswer{TRefuse{}};
      case 1:
        return TSubstituteAnswer{std::string(Pick(0, 1) ? "0" : "x + 1")};
      default:
        if (candidates.empty()) return TSubstituteAnswer{std::string("1")};
        return TSubstituteAnswer{static_cast<std::size_t>(Pick(0, static_cast<int>(candidates.size()) - 1))};
    }
  }

 private:
  std::optional<std::size_t> Index(std::size_t size) {
    if (size == 0 || Cancel()) return std::nullopt;
    return static_cast<std::size_t>(Pick(0, static_cast<int>(size) - 1));
  }

  std::mt19937& random_;
  std::vector<const TStatement*> statements_;
};

using RandomProofs = testing::BookTest;

// Each is false; the statement of the book they stand in for comes late
// enough for the course's theorems to be at hand.
const char* const kFalseClaims[] = {
    "\\forall x , y \\in \\R \\Vld x < y \\implies x ^ 2 < y ^ 2",
    "\\forall x \\in \\R \\Vld x ^ 2 > x",
    "\\forall x , y \\in \\R \\Vld x \\cdot y > 0 \\implies x > 0",
    "\\forall x \\in \\R \\Vld | x - 1 | < 1 \\implies x > 1",
    "\\forall n \\in \\N \\Vld n ^ 2 > n",
    "\\forall n \\in \\N \\Vld 2 ^ n > n ^ 2",
    "\\forall x , y \\in \\R \\Vld | x + y | = | x | + | y |",
    "\\forall x \\in \\R \\Vld x > 0 \\implies x \\ge 1",
};

TEST_F(RandomProofs, NeverEndAFalseStatement) {
  // The stand-in: a theorem of the last chapter, its formulation replaced in memory.
  const std::vector<TStatement*> all = StatementsBefore(book, nullptr);
  ASSERT_GT(all.size(), 100u);
  TStatement& standIn = *all[all.size() - 1];
  const std::vector<TStatement*> before = StatementsBefore(book, &standIn);
  const std::vector<const TStatement*> available(before.begin(), before.end());
  std::mt19937 random(20261209);
  int steps = 0;
  for (const char* claim : kFalseClaims) {
    standIn.Lines[kFormulationLine] = claim;
    for (int walk = 0; walk < 4; ++walk) {
      TRandomUi ui(random, available);
      TProtocolRecorder protocol(messages);
      TProofDriver driver(ui, protocol, book, &assot);
      ASSERT_TRUE(driver.Start(standIn, "")) << claim;
      ASSERT_FALSE(driver.Succeeded()) << claim;
      for (int step = 0; step < 14 && driver.Open(); ++step, ++steps) {
        const TKernel& field = *driver.Current();
        switch (ui.Pick(0, 10)) {
          case 0: driver.Act(TCommand::Cases); break;
          case 1: driver.Act(TCommand::Auxiliary); break;
          case 2: driver.Act(TCommand::Conjecture); break;
          case 3: driver.Act(TCommand::Contradiction); break;
          case 4:
            if (driver.InductionEnabled()) driver.Act(TCommand::Induction);
            break;
          case 5: driver.Act(TCommand::Define); break;
          case 6: driver.Act(TCommand::Apply); break;
          case 7:
            if (step > 0 && driver.UndoEnabled()) driver.Act(TCommand::Undo);
            break;
          default: {
            const TSection section = ui.Pick(0, 1) ? TSection::GivenConds : TSection::ProvingConds;
            const std::size_t size =
                (section == TSection::GivenConds ? field.GivenConds : field.ProvingConds).size();
            if (size > 0) driver.MarkCondition(section, static_cast<std::size_t>(ui.Pick(0, static_cast<int>(size) - 1)));
          }
        }
        ASSERT_FALSE(driver.Succeeded()) << claim << "\n" << [&] {
          std::string text;
          for (const std::string& line : protocol.Lines) text += Cp1251ToUtf8(line) + "\n";
          return text;
        }();
      }
    }
  }
  EXPECT_GT(steps, 200);
}

}  // namespace
}  // namespace lemmix
