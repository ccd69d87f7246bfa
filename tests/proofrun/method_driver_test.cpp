// The book's methods in proofs: a method is offered only in the proofs of the
// statements after it and only once a protocol of its own proves it correct;
// a protocol that uses it replays while that stays so.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "../expr/expr_fixture.h"
#include "book/method_lines.h"
#include "book/part.h"
#include "book/search.h"
#include "proofrun/assot.h"
#include "proofrun/demo.h"
#include "proofrun/driver.h"
#include "proofrun/method_proofs.h"
#include "proofrun/protocol.h"
#include "proofrun/script_ui.h"
#include "shell/files.h"

namespace lemmix {
namespace {

namespace fs = std::filesystem;

class MethodProofs : public testing::ExprTest {
 protected:
  void SetUp() override {
    ExprTest::SetUp();
    context.StartupOk = true;
    ASSERT_TRUE(assot.LoadAssot(SystemPath(LEMMIX_DATA_DIR).value()));
    dir = fs::temp_directory_path() / ("lemmix-methods-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    book.Path = SystemPath(dir.string()).value() + "\\book";
    auto& chapter = *book.Children.emplace_back(std::make_unique<TChapter>());
    chapter.Path = book.Path + "\\1";
    paragraph = chapter.Children.emplace_back(std::make_unique<TParagraph>()).get();
    paragraph->Path = chapter.Path + "\\0";
    // A goal that stays open, before the method and after it.
    before = &Statement("Before", "theorem", "\\forall a , b \\in \\R \\Vld a < b \\implies a = b");
    method = &Statement("Weaker", "method", "");
    method->Lines.resize(kMethodLines);
    method->Lines[kMethodTypeField] = "0";
    method->Lines[kMethodVariablesField] = "x \\in \\R , y \\in \\R";
    method->Lines[kMethodInputField] = "x < y";
    method->Lines[kMethodOutputField] = "0 < y - x";
    method->Lines[kMethodConnectiveField] = "1";  // =>
    method->Lines[kMethodPriorityField] = "1";
    method->Lines[kMethodFlagsField] = "false false";
    method->Lines[kMethodRusCaptionField] = "Weaker";
    method->Lines[kMethodEngCaptionField] = "Weaker";
    after = &Statement("After", "theorem", "\\forall a , b \\in \\R \\Vld a < b \\implies a = b");
  }
  void TearDown() override { fs::remove_all(dir); }

  TStatement& Statement(const std::string& name, const std::string& kind, const std::string& formulation) {
    auto& s = *paragraph->Children.emplace_back(std::make_unique<TStatement>());
    s.Path = paragraph->Path + "\\" + std::to_string(paragraph->Children.size() - 1);
    s.Lines = {"S", "", name, name, kind, formulation};
    return s;
  }

  // The names offered for the given condition 1 and the proving condition 1 of the statement's proof.
  std::vector<std::string> Offered(const TStatement& statement, TSection section) {
    TProtocolRecorder protocol(messages);
    TScriptUi ui(book, {});
    TProofDriver driver(ui, protocol, book, &assot);
    driver.SetMethodProofs(proofs);
    EXPECT_TRUE(driver.Start(statement, ""));
    std::vector<std::string> names;
    for (const TTransformChoice& c : driver.Offered(section, 0))
      if (c.Method) names.push_back(c.Name);
    return names;
  }

  // Proves the statement by the script; the protocol's lines when it was proved.
  std::vector<std::string> Prove(const TStatement& statement, std::vector<std::string> script) {
    TProtocolRecorder protocol(messages);
    TScriptUi ui(book, script);
    TProofDriver driver(ui, protocol, book, &assot);
    driver.SetMethodProofs(proofs);
    if (!driver.Start(statement, "")) return {};
    ui.Run(driver, [](const std::string&, bool) {});
    return driver.Succeeded() ? protocol.Lines : std::vector<std::string>{};
  }

  void Save(const TStatement& statement, const std::vector<std::string>& lines) {
    fs::create_directories(NativePath(statement.ProtocolDirectory()));
    ASSERT_TRUE(WriteLinesReplacing(statement.ProtocolDirectory() + "\\P.prt", lines));
  }

  fs::path dir;
  TBook book;
  TParagraph* paragraph = nullptr;
  TStatement* before = nullptr;
  TStatement* method = nullptr;
  TStatement* after = nullptr;
  TMethodProofs proofs;
  TAssotProccess assot{*context.StFunc, messages};
};

TEST_F(MethodProofs, AMethodIsOfferedOnlyAfterItsStatementAndOnceProvedCorrect) {
  const std::vector<std::string> weaker{"Weaker"};
  // No protocol: the method's correctness is not known.
  EXPECT_TRUE(Offered(*after, TSection::GivenConds).empty());

  // Its correctness task closes as it starts: the protocol of that proof.
  const std::vector<std::string> correctness = Prove(*method, {});
  ASSERT_FALSE(correctness.empty());
  Save(*method, correctness);
  EXPECT_EQ(Offered(*after, TSection::GivenConds), weaker);
  // Never for a proving condition (a one-way method gives no converse), never before it.
  EXPECT_TRUE(Offered(*after, TSection::ProvingConds).empty());
  EXPECT_TRUE(Offered(*before, TSection::GivenConds).empty());
}

TEST_F(MethodProofs, OnlyTheMethodsOwnProtocolProvingItToTheEndCounts) {
  const std::vector<std::string> correctness = Prove(*method, {});
  ASSERT_FALSE(correctness.empty());
  // The protocol of another statement, and one cut short, prove nothing.
  std::vector<std::string> foreign = Prove(*method, {});
  for (std::string& line : foreign)
    if (line.find("Weaker") != std::string::npos) line.replace(line.find("Weaker"), 6, "After");
  Save(*method, foreign);
  EXPECT_TRUE(Offered(*after, TSection::GivenConds).empty());
  Save(*method, std::vector<std::string>(correctness.begin(), correctness.end() - 1));
  EXPECT_TRUE(Offered(*after, TSection::GivenConds).empty());
  // A method that is false is never proved, whatever its protocol says.
  Save(*method, correctness);
  method->Lines[kMethodOutputField] = "x = y";
  EXPECT_TRUE(Offered(*after, TSection::GivenConds).empty());
  method->Lines[kMethodOutputField] = "0 < y - x";
  EXPECT_EQ(Offered(*after, TSection::GivenConds), std::vector<std::string>{"Weaker"});
}

TEST_F(MethodProofs, AMethodIsNotAppliedAsAStatement) {
  // Its formulation could say anything: only its data, proved, are used.
  method->Lines[kFormulationLine] = "\\forall a , b \\in \\R \\Vld a = b";
  Save(*method, Prove(*method, {}));
  TProtocolRecorder protocol(messages);
  TScriptUi ui(book, {"!apply", "book/1/0/1"});
  TProofDriver driver(ui, protocol, book, &assot);
  driver.SetMethodProofs(proofs);
  ASSERT_TRUE(driver.Start(*after, ""));
  ui.Run(driver, [](const std::string&, bool) {});
  EXPECT_TRUE(driver.Open());
  EXPECT_FALSE(driver.Succeeded());
  ASSERT_FALSE(messages.Entries().empty());
  EXPECT_EQ(messages.Entries().back().message.Eng, "A method is used on a marked condition, not applied as a statement.");
}

TEST_F(MethodProofs, AStepByAMethodReplaysWhileTheMethodIsProved) {
  Save(*method, Prove(*method, {}));
  // a < b becomes 0 < b - a; the goal a = b stays open (it is false).
  TProtocolRecorder protocol(messages);
  TScriptUi ui(book, {"!mark given 1", "Weaker"});
  TProofDriver driver(ui, protocol, book, &assot);
  driver.SetMethodProofs(proofs);
  ASSERT_TRUE(driver.Start(*after, ""));
  ui.Run(driver, [](const std::string&, bool) {});
  ASSERT_TRUE(driver.Open());
  ASSERT_EQ(driver.Current()->GivenConds.size(), 1u);
  const std::vector<std::string> lines = protocol.Lines;
  const auto step = std::find(lines.begin(), lines.end(), "Weaker");
  ASSERT_NE(step, lines.end());

  // The replay goes past the method's step to the end of what was recorded.
  TVerifyResult result = VerifyProtocol(book, *after, lines, &assot, &proofs);
  EXPECT_FALSE(result.Passed);
  EXPECT_GT(result.Line, step - lines.begin() + 1) << result.Message;
  // Without the method's protocol the step itself no longer replays.
  fs::remove_all(NativePath(method->ProtocolDirectory()));
  result = VerifyProtocol(book, *after, lines, &assot, &proofs);
  EXPECT_FALSE(result.Passed);
  EXPECT_LE(result.Line, step - lines.begin() + 1) << result.Message;
}

}  // namespace
}  // namespace lemmix
