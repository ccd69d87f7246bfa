// The catalogue of associated transformations: the shipped file, the shape
// of an entry, and the line and detail of every fault.
#include "proofrun/assot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "../expr/expr_fixture.h"
#include "intrinsics/intr_numbers.h"
#include "shell/cp1251.h"
#include "shell/files.h"
#include "support/temp_dir.h"
#include "intrinsics/st_func.h"

namespace lemmix {
namespace {

namespace fs = std::filesystem;

class AssotTest : public testing::ExprTest {
 protected:
  // Loads the lines as ASSOT.DAT of a fresh directory.
  bool Load(std::initializer_list<std::string_view> lines) {
    dir.Write("ASSOT.DAT", testing::CrLf(lines));
    return assot.LoadAssot(SystemPath(dir.Path().string()).value());
  }
  std::vector<std::string> EnglishMessages() const {
    std::vector<std::string> texts;
    for (const auto& entry : messages.Entries()) texts.push_back(entry.message.Eng);
    return texts;
  }

  testing::TempDir dir;
  TAssotProccess assot{*context.StFunc, messages};
};

TEST_F(AssotTest, TheShippedCatalogueHoldsEveryDialogTransformation) {
  ASSERT_TRUE(assot.LoadAssot(SystemPath(LEMMIX_DATA_DIR).value())) << EnglishMessages().front();
  std::vector<std::string_view> dialogs;
  std::set<std::string> names;
  for (const auto& t : assot.Transformations()) {
    EXPECT_FALSE(t->Name.empty() || t->RusName.empty());
    EXPECT_TRUE(t->DataEnabled || t->ProveEnabled) << t->Name;
    EXPECT_TRUE(names.insert(t->Name).second) << "protocols find a transformation by its name: " << t->Name;
    if (!t->DialogTransform.empty()) {
      dialogs.push_back(t->DialogTransform);
      continue;
    }
    // A script carries out something and has its own help page.
    EXPECT_TRUE(t->Execute && !t->Execute->empty()) << t->Name;
    EXPECT_TRUE(fs::exists(fs::path(LEMMIX_DATA_DIR) / "help" / (std::to_string(t->HelpMap) + ".html"))) << t->Name;
  }
  std::vector<std::string_view> all(kDialogTransforms.begin(), kDialogTransforms.end());
  std::sort(all.begin(), all.end());
  std::sort(dialogs.begin(), dialogs.end());
  EXPECT_EQ(dialogs, all);
  // A given disjunction can be split into cases; a marked proving equality can be proved apart.
  const auto dialogsOf = [&](int word) {
    std::vector<std::string> found;
    for (const TAssot* t : assot.Attached(word))
      if (!t->DialogTransform.empty()) found.push_back(t->DialogTransform);
    return found;
  };
  EXPECT_EQ(dialogsOf(kOr), (std::vector<std::string>{"ProveMarkedCondD", "ConsiderOrD"}));
  EXPECT_EQ(dialogsOf(kLe).size(), 7u);
  EXPECT_TRUE(assot.Attached(kSum).empty());
}

TEST_F(AssotTest, TheShapesOfAnEntry) {
  ASSERT_TRUE(Load({"% comment",
                    "",
                    "MainFunc = \\and, \\or",
                    "DataEnabled = true",
                    "ProveEnabled = false",
                    "Name = Both",
                    "RusName = Оба"_cp,
                    "HelpMap = many",
                    "Test",
                    "  IF x  ",
                    "",
                    "Execute",
                    "RUN",
                    "End",
                    "MainFunc = =",
                    "DataEnabled = false",
                    "ProveEnabled = true",
                    "Name = Dialog",
                    "RusName = Диалог"_cp,
                    "HelpMap = 42",
                    "Execute",
                    "DialogTransform = TimesEqD",
                    "End"}));
  ASSERT_EQ(assot.Transformations().size(), 2u);
  const TAssot& both = *assot.Transformations()[0];
  EXPECT_EQ(both.HelpMap, -1);  // not a number
  EXPECT_EQ(both.Test, std::vector<std::string>{"IF x"});
  EXPECT_EQ(both.Execute, std::vector<std::string>{"RUN"});
  EXPECT_TRUE(both.DialogTransform.empty());
  const TAssot& dialog = *assot.Transformations()[1];
  EXPECT_FALSE(dialog.Test.has_value());
  EXPECT_FALSE(dialog.Execute.has_value());
  EXPECT_EQ(dialog.DialogTransform, "TimesEqD");
  EXPECT_EQ(dialog.HelpMap, 42);
  EXPECT_TRUE(dialog.ProveEnabled && !dialog.DataEnabled);
  // Two words, one transformation.
  ASSERT_EQ(assot.Attached(kAnd).size(), 1u);
  EXPECT_EQ(assot.Attached(kAnd)[0], assot.Attached(kOr)[0]);
  EXPECT_TRUE(messages.Entries().empty());
}

TEST_F(AssotTest, CommentsOnlyGiveAnEmptyCatalogue) {
  EXPECT_TRUE(Load({"% nothing here", "", "   ", "%% still nothing"}));
  EXPECT_TRUE(assot.Transformations().empty());
}

TEST_F(AssotTest, EachFaultNamesItsLine) {
  const std::string head = "An error in the file of assosiated transformations in line ";
  struct Case {
    std::vector<std::string_view> lines;
    std::vector<std::string> messages;
  };
  const std::string_view good[] = {"MainFunc = =", "DataEnabled = true", "ProveEnabled = true", "Name = N",
                                   "RusName = R"};
  const auto entry = [&](std::initializer_list<std::string_view> rest) {
    std::vector<std::string_view> lines(std::begin(good), std::end(good));
    lines.insert(lines.end(), rest);
    return lines;
  };
  const Case cases[] = {
      {{"DataEnabled = true"}, {head + "0 :\n "}},
      {{"MainFunc = "}, {"Unable create a transformation assosiated with empty line", head + "0 :\n "}},
      {{"MainFunc = =, \\nothing"},
       {"Unable create a transformation assosiated with mathematical word \\nothing", head + "0 :\n "}},
      {{"MainFunc = =", "DataEnabled = yes"}, {head + "1 :\n "}},
      {{"MainFunc = =", "DataEnabled = true", "ProveEnabled = false", "RusName = R"}, {head + "3 :\n "}},
      {entry({}), {head + "5 :\n "}},  // the file ends after the header
      {entry({"Test", "IF x"}), {head + "7 :\n The test part (line 7) does not end with the word Execute"}},
      {entry({"RUN"}), {head + "5 :\n The word Execute is expected in line 5"}},
      {entry({"Execute", "RUN"}), {head + "7 :\n The execution part (line 7) does not end with the word End"}},
      {entry({"Execute", "DialogTransform = FlyD", "End"}), {head + "6 :\n There is no dialog transformation FlyD"}},
  };
  for (const Case& c : cases) {
    messages.Clear();
    TAssotProccess fresh(*context.StFunc, messages);
    std::string bytes;
    for (std::string_view line : c.lines) bytes += std::string(line) + "\r\n";
    dir.Write("ASSOT.DAT", bytes);
    EXPECT_FALSE(fresh.LoadAssot(SystemPath(dir.Path().string()).value())) << c.lines.front();
    EXPECT_EQ(EnglishMessages(), c.messages) << c.lines.front();
    EXPECT_TRUE(fresh.Transformations().empty());
  }
}

TEST_F(AssotTest, AFaultKeepsWhatWasReadBefore) {
  EXPECT_FALSE(Load({"MainFunc = =", "DataEnabled = true", "ProveEnabled = true", "Name = N", "RusName = R", "Execute",
                     "End", "MainFunc = <"}));
  EXPECT_EQ(assot.Transformations().size(), 1u);
  EXPECT_EQ(assot.Attached(kEq).size(), 1u);
  EXPECT_TRUE(assot.Attached(kLt).empty());  // an unfinished entry is offered nowhere
}

TEST_F(AssotTest, AMissingFileIsAFaultInLineZero) {
  EXPECT_FALSE(assot.LoadAssot(SystemPath(dir.Path().string()).value()));
  EXPECT_EQ(EnglishMessages(),
            std::vector<std::string>{"An error in the file of assosiated transformations in line 0 :\n "});
}

}  // namespace
}  // namespace lemmix
