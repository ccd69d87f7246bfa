// The proofs of the bundled book kept as scripts (tests/proofrun/proofs): each
// proves its statement through the proof driver, without a message, and
// writes exactly the protocol saved beside the statement for demonstrations.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "../expr/expr_fixture.h"
#include "book/part.h"
#include "book/html_links.h"
#include "book/search.h"
#include "book/statement.h"
#include "proofrun/assot.h"
#include "proofrun/driver.h"
#include "proofrun/protocol.h"
#include "proofrun/script_ui.h"
#include "shell/cp1251.h"
#include "shell/files.h"

namespace lemmix {
namespace {

std::vector<std::string> ScriptNames() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(LEMMIX_PROOFS_DIR))
    if (entry.path().extension() == ".txt") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

class BookProof : public testing::ExprTest, public ::testing::WithParamInterface<std::string> {
 protected:
  void SetUp() override {
    ExprTest::SetUp();
    context.StartupOk = true;
    book.Path = SystemPath(LEMMIX_DATA_DIR).value() + "\\book";
    book.Load();
    ASSERT_TRUE(assot.LoadAssot(SystemPath(LEMMIX_DATA_DIR).value()));
  }

  TBook book;
  TAssotProccess assot{*context.StFunc, messages};
};

TEST_P(BookProof, ProvesItsStatementAndWritesTheSavedProtocol) {
  // "6-24-0" is the statement book\6\24\0.
  std::string path = "\\" + GetParam();
  std::replace(path.begin(), path.end(), '-', '\\');
  TStatement* statement = FindStatementByPath(book, path);
  ASSERT_NE(statement, nullptr) << path;

  const auto utf8 = ReadLines(std::string(LEMMIX_PROOFS_DIR) + "/" + GetParam() + ".txt");
  ASSERT_TRUE(utf8);
  std::vector<std::string> script;
  for (const std::string& line : *utf8) script.push_back(Utf8ToCp1251(line));

  TProtocolRecorder protocol(messages);
  TScriptUi ui(book, std::move(script));
  TProofDriver driver(ui, protocol, book, &assot);
  ASSERT_TRUE(driver.Start(*statement, ""));
  // A task the tests settle as it starts keeps only the script's comments.
  const bool settledAtStart = !driver.Open();
  std::size_t commands = 0;
  EXPECT_TRUE(ui.Run(driver, [&](const std::string&, bool) { ++commands; })) << "line " << ui.FaultLine;
  if (settledAtStart) {
    EXPECT_EQ(commands, 0u);
  }
  EXPECT_TRUE(driver.Succeeded());
  EXPECT_FALSE(driver.Open());
  for (const auto& entry : messages.Entries()) ADD_FAILURE() << Cp1251ToUtf8(entry.message.Eng);

  const auto saved = ReadLines(statement->ProtocolDirectory() + "\\" + "Доказательство"_cp + ".prt");
  ASSERT_TRUE(saved) << "no saved protocol for " << path;
  EXPECT_EQ(protocol.Lines, *saved);
  EXPECT_EQ(protocol.Lines.at(TProtocolRecorder::kSettingLines),
            "The beginning of the proof: " + statement->Lines[kEnglishNameLine] + "@");
  EXPECT_NE(std::find(protocol.Lines.begin(), protocol.Lines.end(), "Successful end of the proof."), protocol.Lines.end());
}

INSTANTIATE_TEST_SUITE_P(Scripts, BookProof, ::testing::ValuesIn(ScriptNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = "book_" + info.param;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
}  // namespace lemmix
