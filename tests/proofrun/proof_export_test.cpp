// Readable proofs: every protocol of the book is told without a fault, three
// of them exactly as a reader should see them, and protocols that are not
// proofs are refused with the line at fault.
#include "proofrun/proof_export.h"

#include <gtest/gtest.h>

#include <cctype>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "book_fixture.h"
#include "book/html_links.h"
#include "book/part.h"
#include "book/search.h"
#include "proofrun/assot.h"
#include "shell/cp1251.h"
#include "shell/files.h"

namespace lemmix {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> SavedProtocols() {
  std::vector<std::string> found;
  const fs::path book = fs::path(LEMMIX_DATA_DIR) / "book";
  for (const auto& entry : fs::recursive_directory_iterator(book))
    if (entry.is_regular_file() && entry.path().extension() == ".prt")
      found.push_back(fs::relative(entry.path(), book).generic_string());
  std::sort(found.begin(), found.end());
  return found;
}

std::string Expected(const std::string& name) {
  std::ifstream in(fs::path(LEMMIX_PROOFS_DIR).parent_path() / "export_expected" / name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The settings and the beginning of a protocol of the statement, then the records.
std::vector<std::string> Protocol(std::initializer_list<std::string> records,
                                  const std::string& name = "Triangle inequality") {
  std::vector<std::string> lines = {"AutoStandard = true",
                                    "SymbolTransEnable = true",
                                    "TestDataCond = true",
                                    "TestProveCond = true",
                                    "TestProveCondWhenDataNew = true",
                                    "OneStepFinish0 = true",
                                    "OneStepFinish1 = true",
                                    "OneStepFinish2 = true",
                                    "OneStepFinish3 = true",
                                    "ProveEachCond = 2",
                                    "ImplicationSimpl = 1",
                                    "DisjunctionSimpl = 1",
                                    "The beginning of the proof: " + name + "@"};
  lines.insert(lines.end(), records.begin(), records.end());
  return lines;
}

class ProofExportTest : public testing::BookTest {
 protected:
  // The protocol file relative to the book ("6/3/7/NAME.prt") told in the language.
  TExportResult Export(const std::string& relative, bool english) {
    const std::string path = SystemPath((fs::path(LEMMIX_DATA_DIR) / "book" / relative).string()).value();
    const std::vector<std::string> lines = ReadLines(path).value();
    return ExportProof(lines, {&book, StatementOfProtocol(book, path), &assot, english});
  }
  TExportResult Lines(const std::vector<std::string>& lines, bool english = true) {
    return ExportProof(lines, {&book, FindStatementByPath(book, "\\6\\3\\7"), &assot, english});
  }

};

TEST_F(ProofExportTest, EveryProtocolOfTheBookIsToldToItsEnd) {
  const std::vector<std::string> protocols = SavedProtocols();
  ASSERT_GT(protocols.size(), 100u);
  for (const std::string& relative : protocols) {
    for (const bool english : {false, true}) {
      const TExportResult result = Export(relative, english);
      ASSERT_TRUE(result.Proof) << relative << ": " << result.Fault.Eng;
      const TProofExport& proof = *result.Proof;
      // The protocol lies beside its statement: the statement is known by name and formulation.
      EXPECT_FALSE(proof.Formulation.empty()) << relative;
      EXPECT_EQ(proof.Ending, english ? "The proof is complete." : "Доказательство завершено.") << relative;
      EXPECT_FALSE(proof.Steps.empty()) << relative;
      for (const TExportLine& line : proof.Steps) {
        EXPECT_FALSE(line.Text.empty()) << relative;
        // Every formula is printed, none left in its stored text ("\forall", "a\ConvergesTo").
        const std::size_t escape = line.Text.find('\\');
        EXPECT_TRUE(escape == std::string::npos || escape + 1 == line.Text.size() ||
                    !std::isalpha(static_cast<unsigned char>(line.Text[escape + 1])))
            << relative << ": " << line.Text;
      }
    }
  }
}

// Objects the proof defines are told as the proof window shows them: a
// sequence defined in a step is a sequence in every later formula.
TEST_F(ProofExportTest, ObjectsDefinedDuringTheProofReadWithTheirTypes) {
  const TExportResult result = Export("3/5/33/" + Cp1251ToUtf8("Доказательство"_cp) + ".prt", true);
  ASSERT_TRUE(result.Proof);
  std::vector<std::string> texts;
  for (const TExportLine& line : result.Proof->Steps) texts.push_back(line.Text);
  const std::vector<std::string> expected = {"Let p_n = x_n⋅y_n.", "Let us prove that p сходится к 6.",
                                             "Let us prove that ∀n ∈ ℕ • z_n = p_n − x_n."};
  for (const std::string& line : expected)
    EXPECT_NE(std::find(texts.begin(), texts.end(), line), texts.end()) << line;
}

struct TExpectedExport {
  const char* protocol;
  const char* expected;
  bool english;
};

class ProofExportExpected : public ProofExportTest, public ::testing::WithParamInterface<TExpectedExport> {};

TEST_P(ProofExportExpected, ReadsAsWritten) {
  const TExpectedExport& c = GetParam();
  const std::string expected = Expected(c.expected);
  ASSERT_FALSE(expected.empty()) << c.expected;
  const TExportResult result =
      Export(std::string(c.protocol) + "/" + Cp1251ToUtf8("Доказательство"_cp) + ".prt", c.english);
  ASSERT_TRUE(result.Proof) << result.Fault.Eng;
  EXPECT_EQ(ExportText(*result.Proof, c.english), expected);
}

INSTANTIATE_TEST_SUITE_P(Book, ProofExportExpected,
                         ::testing::Values(TExpectedExport{"6/3/7", "triangle_inequality.ru.txt", false},
                                           TExpectedExport{"6/3/7", "triangle_inequality.en.txt", true},
                                           TExpectedExport{"3/5/3", "limit_uniqueness.ru.txt", false},
                                           TExpectedExport{"3/11/13", "nondecreasing_unbounded.en.txt", true}));

struct TFaulty {
  std::vector<std::string> lines;
  int line;  // the 1-based line the message names
};

TEST_F(ProofExportTest, ProtocolsThatAreNotProofsAreRefusedAtTheirLine) {
  std::vector<std::string> noSettings = Protocol({});
  noSettings.erase(noSettings.begin() + 3);
  std::vector<std::string> badValue = Protocol({});
  badValue[0] = "AutoStandard = maybe";
  std::vector<std::string> noBeginning = Protocol({});
  noBeginning.pop_back();
  const std::vector<TFaulty> cases = {
      {{}, 1},
      {noSettings, 4},
      {badValue, 1},
      {noBeginning, 13},
      {Protocol({"", "  Prove by contradiction.@"}), 15},      // two blanks are no level
      {Protocol({"", "      Prove by contradiction.@"}), 15},  // two levels at once
      {Protocol({"", "Section 1."}), 15},                      // a full protocol's dump
      {Protocol({"", "Successful end of the proof.", "Prove by contradiction."}), 16},
      {Protocol({"", "Marked condition 1 of section 2:@", "Substiute an expression for quantor variable",
                 "Substituted a to x"}),
       17},
      {Protocol({"", "Marked condition one of section 2:@", "Consider cases"}), 15},
      {Protocol({"", "Marked condition 1 of section 1:@", "Consider cases"}), 15},
      {Protocol({"", "Marked variable 1 of section 1:@", "Consider cases"}), 16},
      {Protocol({"", "Value : 1"}), 15},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const TExportResult result = Lines(cases[i].lines);
    EXPECT_FALSE(result.Proof) << "case " << i;
    EXPECT_TRUE(result.Fault.Eng.starts_with("Line " + std::to_string(cases[i].line) + " of the protocol: "))
        << "case " << i << ": " << result.Fault.Eng;
    EXPECT_TRUE(Cp1251ToUtf8(result.Fault.Rus).starts_with("Строка " + std::to_string(cases[i].line) + " протокола: "))
        << "case " << i;
  }
}

TEST_F(ProofExportTest, EachRecordIsToldInWordsWithItsFormulas) {
  const TExportResult result = Lines(Protocol({
      "",
      "Define a variable: N=K+1@",
      "Required object is added to the section of given objects.",
      "",
      "Consider case: x\\ge 0@",
      "",
      "   Conjecture: x<y@",
      "",
      "   Prove by induction on variable n@",
      "   Initial value of the induction variable: 1",
      "   Nonstationary variables of induction step: a b",
      "",
      "Marked condition 2 of section 4:@",
      "Multiply the inequality by positive number 2",
      "",
      "Marked condition 3 of section 2:@",
      "Substiute an expression for quantor variable",
      "Refuse to substitute for quantor variable x",
      "",
      "Marked variable 1 of section 1:@",
      "Variable name N changed to K",
      "",
      "Define a variable with conditions: y@",
      "Value : 1",
      "Condition : x>0",
      "The end of definition with conditions.",
      "",
      "Apply statement: No such theorem (\\6\\3)@",
  }));
  ASSERT_TRUE(result.Proof) << result.Fault.Eng;
  const std::vector<TExportLine> expected = {
      {0, "Let N = K + 1.", false},
      {0, "The object found is added to the given objects.", true},
      {0, "Consider the case x ≥ 0.", false},
      {1, "Conjecture: x < y.", false},
      {1, "By induction on n.", false},
      {1, "The induction starts at 1.", true},
      {1, "In the induction step these vary: a, b.", true},
      {0,
       "Transform the marked condition 2 of the conditions to prove: multiply the inequality by the positive number 2.",
       false},
      {0, "Transform the marked condition 3 of the given conditions: substitution for a quantified variable.", false},
      {0, "No substitution for x.", true},
      {0, "Given object 1: rename N to K.", false},
      {0, "Define y by cases:", false},
      {0, "value 1", true},
      {0, "if x > 0", true},
      {0, "By the statement \u201CNo such theorem\u201D.", false},
  };
  EXPECT_EQ(result.Proof->Steps, expected);
  EXPECT_EQ(result.Proof->Ending, "The protocol breaks off: the proof is not complete.");
}

TEST_F(ProofExportTest, AFormulaThatDoesNotReadIsKeptAsWrittenAndEscapedInHtml) {
  const TExportResult result = Lines(Protocol({"", "Prove condition: a<<b&c@", "Successful end of the proof."}));
  ASSERT_TRUE(result.Proof) << result.Fault.Eng;
  ASSERT_EQ(result.Proof->Steps.size(), 1u);
  EXPECT_EQ(result.Proof->Steps[0].Text, "Let us prove that a<<b&c.");
  // Nothing of what the protocol read was shown as a message.
  EXPECT_TRUE(messages.Entries().empty());
  const std::string html = ExportHtml(*result.Proof, true);
  EXPECT_NE(html.find("Let us prove that a&lt;&lt;b&amp;c."), std::string::npos) << html;
  EXPECT_EQ(html.find("a<<b"), std::string::npos);
  EXPECT_NE(html.find("<title>Theorem \u201CTriangle inequality\u201D</title>"), std::string::npos) << html;
  EXPECT_TRUE(html.starts_with("<!DOCTYPE html>"));
  EXPECT_TRUE(html.ends_with("</html>\n"));
}

TEST_F(ProofExportTest, AProtocolOfAnotherStatementIsToldByItsOwnName) {
  const TExportResult result = Lines(Protocol({"", "Successful end of the proof."}, "Some <other> statement"), false);
  ASSERT_TRUE(result.Proof);
  EXPECT_EQ(result.Proof->Title, "Утверждение «Some <other> statement»");
  EXPECT_TRUE(result.Proof->Formulation.empty());
  // A proof the checks finished before any step says so.
  const std::vector<TExportLine> direct = {
      {0, "Утверждение следует из условий непосредственно: шагов доказательства не требуется.", false}};
  EXPECT_EQ(result.Proof->Steps, direct);
  EXPECT_EQ(result.Proof->Ending, "Доказательство завершено.");
}

TEST_F(ProofExportTest, TheStatementOfAProtocolIsFoundByItsDirectory) {
  const TStatement* triangle = FindStatementByPath(book, "\\6\\3\\7");
  ASSERT_NE(triangle, nullptr);
  EXPECT_EQ(StatementOfProtocol(book, triangle->Path + "\\x.prt"), triangle);
  const std::string mirror = book.Path.substr(0, book.Path.rfind('\\')) + "\\Protocols\\6\\3\\7\\x.prt";
  EXPECT_EQ(StatementOfProtocol(book, mirror), triangle);
  EXPECT_EQ(StatementOfProtocol(book, "\\tmp\\6\\3\\7\\x.prt"), nullptr);
  EXPECT_EQ(StatementOfProtocol(book, triangle->Path + "\\99\\x.prt"), nullptr);
  EXPECT_EQ(StatementOfProtocol(book, "x.prt"), nullptr);
}

}  // namespace
}  // namespace lemmix
