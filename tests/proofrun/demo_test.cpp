// Demonstrations and the verification of protocols: every protocol saved in
// the book replays to the driver's successful end; protocols that are edited,
// cut short, circular or of another statement never verify, and each stops
// with its message at its line.
#include "proofrun/demo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "book_fixture.h"
#include "book/html_links.h"
#include "book/part.h"
#include "book/search.h"
#include "book/statement.h"
#include "proofrun/assot.h"
#include "proofrun/driver.h"
#include "proofrun/protocol.h"
#include "proofrun/protocol_keywords.h"
#include "proofrun/script_ui.h"
#include "shell/cp1251.h"
#include "shell/files.h"
#include "shell/recording_messages.h"
#include "shell/settings.h"

namespace lemmix {
namespace {

namespace fs = std::filesystem;

// The saved protocols, as paths relative to the book ("3/5/3/NAME.prt").
std::vector<std::string> SavedProtocols() {
  std::vector<std::string> found;
  const fs::path book = fs::path(LEMMIX_DATA_DIR) / "book";
  for (const auto& entry : fs::recursive_directory_iterator(book))
    if (entry.is_regular_file() && entry.path().extension() == ".prt")
      found.push_back(fs::relative(entry.path(), book).generic_string());
  std::sort(found.begin(), found.end());
  return found;
}

class DemoTest : public testing::BookTest {
 protected:
  const TStatement& Statement(const std::string& path) {
    const TStatement* statement = FindStatementByPath(book, path);
    if (statement == nullptr) throw std::runtime_error("no statement " + path);
    return *statement;
  }
  std::vector<std::string> Protocol(const TStatement& statement) {
    return ReadLines(statement.ProtocolDirectory() + "\\" + "Доказательство"_cp + ".prt").value();
  }
  TVerifyResult Verify(const TStatement& statement, const std::vector<std::string>& lines) {
    return VerifyProtocol(book, statement, lines, &assot);
  }
  // The index of the first line that starts with the text.
  static std::size_t IndexOf(const std::vector<std::string>& lines, std::string_view start) {
    const auto found =
        std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.starts_with(start); });
    if (found == lines.end()) throw std::runtime_error("no line " + std::string(start));
    return static_cast<std::size_t>(found - lines.begin());
  }

};

class SavedProtocol : public DemoTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(SavedProtocol, VerifiesToTheDriversSuccessfulEnd) {
  std::string relative = GetParam();
  relative = relative.substr(0, relative.rfind('/'));
  const TStatement& statement = Statement("\\" + relative);
  const auto lines = ReadLines(SystemPath(std::string(LEMMIX_DATA_DIR) + "/book/" + GetParam()).value());
  ASSERT_TRUE(lines);
  const TVerifyResult result = Verify(statement, *lines);
  EXPECT_TRUE(result.Passed) << "line " << result.Line << ": " << Cp1251ToUtf8(result.Message);
  EXPECT_EQ(result.Line, static_cast<int>(lines->size()));
  EXPECT_TRUE(result.Message.empty());
  EXPECT_TRUE(messages.Entries().empty()) << "verification shows nothing";
}

// Logs what a stepping demonstration shows: the kind of the dialog and the
// text it is filled in with.
class LoggingDisplay : public IDemoDisplay {
 public:
  std::vector<std::pair<char, std::string>> Shown;

  void Formula(int, std::string_view, std::string_view text) override { Shown.emplace_back('F', text); }
  void Definition(const TDefinitionAnswer& answer) override { Shown.emplace_back('D', answer.Lines.at(0)); }
  void Statement(const TStatement& statement) override { Shown.emplace_back('S', statement.Lines[kEnglishNameLine]); }
  void ChooseTransformation(const std::vector<TTransformChoice>& offered, std::size_t chosen) override {
    Shown.emplace_back('T', offered.at(chosen).Name);
  }
  void Choose(std::string_view, const std::vector<std::string>& items, std::size_t chosen) override {
    Shown.emplace_back('C', items.at(chosen));
  }
  void Mark(std::string_view, const std::vector<std::string>& items, const std::vector<bool>& marks) override {
    std::string names;
    for (std::size_t i = 0; i < items.size(); ++i)
      if (marks.at(i)) names += (names.empty() ? "" : " ") + items[i];
    Shown.emplace_back('M', names);
  }
  void AddRequiredObject(bool add) override { Shown.emplace_back('R', add ? "add" : "substitute"); }
  void Substitute(std::string_view, const std::vector<std::string>& candidates,
                  const TSubstituteAnswer& answer) override {
    if (const auto* index = std::get_if<std::size_t>(&answer)) Shown.emplace_back('U', candidates.at(*index));
    if (const auto* text = std::get_if<std::string>(&answer)) Shown.emplace_back('U', *text);
    if (std::holds_alternative<TRefuse>(answer)) Shown.emplace_back('U', "refused");
  }
};

// What the dialogs of the protocol's records were filled in with, in order.
std::vector<std::pair<char, std::string>> RecordedDialogs(const std::vector<std::string>& lines) {
  std::vector<std::string> records;
  for (const std::string& line : lines) {
    std::string record(Trim(TProtocolRecorder::WithoutMarks(line)));
    if (!record.empty()) records.push_back(std::move(record));
  }
  std::vector<std::pair<char, std::string>> dialogs;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const std::string& record = records[i];
    const int kind = ProtocolKeyword(record);
    const std::string argument = kind < 0 ? "" : record.substr(std::min(record.size(), kProtocolKeywords[kind].size()));
    switch (kind) {
      case kDefineVariable:
      case kRecursiveDefinition:
        dialogs.emplace_back('D', argument);
        break;
      case kDefineWithConditions:
        dialogs.emplace_back('D', argument + "=" + records.at(i + 1).substr(kProtocolKeywords[kValue].size()));
        break;
      case kApplyStatement:
        dialogs.emplace_back('S', argument.substr(0, argument.rfind(" (")));
        break;
      case kConsiderCase:
      case kProveConditionRecord:
      case kConjectureRecord:
      case kInitialValue:
      case kMultiplyPositive:
      case kMultiplyNonnegative:
      case kMultiplyNonzero:
      case kMultiplyAny:
      case kFirstElementDefined:
      case kNextElementDefined:
        dialogs.emplace_back('F', argument);
        break;
      case kVariableName:
        dialogs.emplace_back(
            'F', argument.substr(argument.find(kProtocolKeywords[kChangedTo]) + kProtocolKeywords[kChangedTo].size()));
        break;
      case kMarkedCondition:
        dialogs.emplace_back('T', "");
        break;
      case kByInduction:
      case kAddToRelation:
        dialogs.emplace_back('C', argument);
        break;
      case kNonstationaryVariables:
        dialogs.emplace_back('M', std::string(Trim(argument)));
        break;
      case kRequiredAdded:
      case kRequiredSubstituted:
        dialogs.emplace_back('R', kind == kRequiredAdded ? "add" : "substitute");
        break;
      case kSubstituted:
        dialogs.emplace_back('U', argument.substr(0, argument.rfind(kProtocolKeywords[kForWord])));
        break;
      case kRefuseSubstitute:
        dialogs.emplace_back('U', "refused");
        break;
      default:
        break;
    }
  }
  return dialogs;
}

// Stepping through a protocol with the proof field shown, every dialog the
// student once filled in is shown filled in again, with the recorded text,
// one for each record that answered one, and in the protocol's order.
TEST_P(SavedProtocol, ADemonstrationShowsEveryAnsweredDialogAsRecorded) {
  std::string relative = GetParam();
  relative = relative.substr(0, relative.rfind('/'));
  const TStatement& statement = Statement("\\" + relative);
  const auto lines = ReadLines(SystemPath(std::string(LEMMIX_DATA_DIR) + "/book/" + GetParam()).value());
  ASSERT_TRUE(lines);
  TProtocolRecorder protocol(messages);
  TScriptUi script(book, {});
  TProofDriver driver(script, protocol, book, &assot);
  LoggingDisplay display;
  TDemonstration demo(driver, protocol, book);
  demo.SetDisplay(&display);
  ASSERT_TRUE(demo.Begin(statement, *lines));
  while (demo.Step()) {
  }
  ASSERT_TRUE(demo.Succeeded());
  auto expected = RecordedDialogs(*lines);
  // A required object's record follows a question only when its value could
  // also be substituted: the protocol does not tell, so those are compared apart.
  const auto isRequired = [](const std::pair<char, std::string>& dialog) { return dialog.first == 'R'; };
  EXPECT_LE(std::count_if(display.Shown.begin(), display.Shown.end(), isRequired),
            std::count_if(expected.begin(), expected.end(), isRequired));
  std::erase_if(display.Shown, isRequired);
  std::erase_if(expected, isRequired);
  // The transformation rows are named by the catalogue, not by the record.
  const auto kinds = [](const std::vector<std::pair<char, std::string>>& dialogs) {
    std::string letters;
    for (const auto& dialog : dialogs) letters += dialog.first;
    return letters;
  };
  ASSERT_EQ(kinds(display.Shown), kinds(expected));
  for (std::size_t i = 0; i < expected.size(); ++i) {
    if (expected[i].first != 'T') {
      EXPECT_EQ(display.Shown[i].second, expected[i].second) << "dialog " << i;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Book, SavedProtocol, ::testing::ValuesIn(SavedProtocols()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = "book";
                           for (const char c : info.param.substr(0, info.param.rfind('/')))
                             name += std::isdigit(static_cast<unsigned char>(c)) ? c : '_';
                           return name + "_" + std::to_string(info.index);
                         });

TEST(ProtocolKeyword, TakesTheFirstEntryOfTheTableThatStartsTheRecord) {
  const struct {
    std::string_view record;
    int keyword;
  } cases[] = {
      {"Define a variable: x=1", kDefineVariable},
      {"Define a variable with conditions: x", kDefineWithConditions},
      {"Recursive definition of sequences: a", kRecursiveDefinition},
      {"Prove by contradiction.", kByContradiction},
      {"Variable name a changed to b", kVariableName},
      {"Marked condition 3 of section 2:", kMarkedCondition},
      {"Substituted a for b", kSubstituted},
      {"Substiute an expression for quantor variable", kSubstituteForQuantified},
      {"Successful end of the proof. Time=120   ", kSuccessfulEnd},
      {"Undo.", kUndo},
      {"Refuse to test conditions.", kRefuseTestConditions},
      {"Define a variable", -1},
      {"Something else", -1},
      {"", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(ProtocolKeyword(c.record), c.keyword) << c.record;
}

TEST_F(DemoTest, TheProtocolOfAnotherStatementStopsAtTheBeginningLine) {
  const std::vector<std::string> lines = Protocol(Statement("\\3\\5\\3"));
  const TVerifyResult result = Verify(Statement("\\3\\5\\2"), lines);
  EXPECT_FALSE(result.Passed);
  EXPECT_EQ(result.Message, "The selected protocol file does not match to the theorem.");
  EXPECT_EQ(result.Line, TProtocolRecorder::kSettingLines + 1);
}

TEST_F(DemoTest, TheHeadMustHoldTheTwelveSettingsAndTheBeginning) {
  const TStatement& statement = Statement("\\3\\5\\3");
  const std::vector<std::string> saved = Protocol(statement);
  const struct {
    std::size_t line;
    std::string text;
    std::string message;
  } cases[] = {
      {0, "AutoStandard = yes", "Unable to interpret record \"yes in line\nAutoStandard = \nof protocol file."},
      {9, "ProveEachCond = two", "Unable to interpret record \"two in line\nProveEachCond = \nof protocol file."},
      {1, "TestDataCond = true",
       "String \"TestDataCond = true\" is found in protocol file \ninstead of expected string \"SymbolTransEnable = "
       "\"."},
      {12, "The start of the proof: Uniqueness of the limit of a sequence@", "Incorrect beginning of protocol file"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> lines = saved;
    lines[c.line] = c.text;
    const TVerifyResult result = Verify(statement, lines);
    EXPECT_FALSE(result.Passed) << c.text;
    EXPECT_EQ(result.Message, c.message);
    EXPECT_EQ(result.Line, static_cast<int>(c.line) + 1) << c.text;
  }
}

TEST_F(DemoTest, ASettingOfTheOtherKindIsTakenAndIgnored) {
  const TStatement& statement = Statement("\\3\\5\\3");
  std::vector<std::string> lines = Protocol(statement);
  lines[0] = "AutoStandard = 1";
  EXPECT_TRUE(Verify(statement, lines).Passed);
}

TEST_F(DemoTest, IndentationMustBeThreeBlanksPerLevel) {
  const TStatement& statement = Statement("\\3\\5\\15");
  const std::vector<std::string> saved = Protocol(statement);
  // The first record of a step at level 1.
  std::vector<std::string> lines = saved;
  const std::size_t first = IndexOf(lines, "   Apply statement: ");
  lines[first] = lines[first].substr(1);
  TVerifyResult result = Verify(statement, lines);
  EXPECT_FALSE(result.Passed);
  EXPECT_EQ(result.Message, "Wrong indent in protocol file.");
  EXPECT_EQ(result.Line, static_cast<int>(first) + 1);
  // A later record of a step: the replay writes another line.
  lines = saved;
  const std::size_t later = IndexOf(lines, "   Substiute an expression");
  lines[later] = lines[later].substr(1);
  result = Verify(statement, lines);
  EXPECT_FALSE(result.Passed);
  EXPECT_EQ(result.Line, static_cast<int>(later) + 1);
  EXPECT_EQ(result.Message,
            "String \"  Substiute an expression for quantor variable\" is found in protocol file \ninstead of "
            "expected string \"   Substiute an expression for quantor variable\".");
}

TEST_F(DemoTest, AnUndoRecordIsNotReplayable) {
  const TStatement& statement = Statement("\\3\\5\\3");
  std::vector<std::string> lines = Protocol(statement);
  const std::size_t second = IndexOf(lines, "Marked condition ");
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(second), {"Undo.", ""});
  const TVerifyResult result = Verify(statement, lines);
  EXPECT_FALSE(result.Passed);
  EXPECT_EQ(result.Message, "Interpretation of protocol string\nUndo.\nis not implemented.");
  EXPECT_EQ(result.Line, static_cast<int>(second) + 1);
}

// A marked condition that admits no transformation at all stops the replay
// with its own message, before any row is looked for.
TEST_F(DemoTest, AConditionWithoutTransformationsStopsTheReplay) {
  const TStatement& statement = Statement("\\3\\3\\8");
  std::vector<std::string> lines = Protocol(statement);
  const std::size_t head = IndexOf(lines, "The beginning of the proof: ");
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(head) + 1,
               {"", "Marked condition 1 of section 2:@", "Consider cases"});
  const TVerifyResult result = Verify(statement, lines);
  EXPECT_FALSE(result.Passed);
  EXPECT_EQ(result.Message, "Error in protocol file for assosiated transformation:\n"_cp + "данное"_cp +
                                " condition 1 does not permit any transformation");
  EXPECT_EQ(result.Line, static_cast<int>(head) + 3);
}

TEST_F(DemoTest, ARecordNoKeywordStartsIsNotInterpreted) {
  const TStatement& statement = Statement("\\3\\5\\3");
  std::vector<std::string> lines = Protocol(statement);
  const std::size_t second = IndexOf(lines, "Marked condition ");
  lines[second] = "Mark condition 3 of section 2:@";
  const TVerifyResult result = Verify(statement, lines);
  EXPECT_FALSE(result.Passed);
  EXPECT_EQ(result.Message, "Unable to interpret protocol string:\nMark condition 3 of section 2:");
}

TEST_F(DemoTest, ADefinitionWithConditionsIsNotTakenForASimpleOne) {
  // The simple definition's record made one with conditions: the dialog is
  // answered as a definition by cases, which this record does not complete.
  const TStatement& statement = Statement("\\3\\3\\0");
  std::vector<std::string> lines = Protocol(statement);
  const std::size_t define = IndexOf(lines, "Define a variable: ");
  lines[define] = "Define a variable with conditions: x@";
  const TVerifyResult result = Verify(statement, lines);
  EXPECT_FALSE(result.Passed);
  EXPECT_EQ(result.Line, static_cast<int>(define) + 2);
  EXPECT_EQ(result.Message,
            "String \"The value of the required object is substituted for.\" is found in protocol file \ninstead of "
            "expected string \"Value :\".");
}

TEST_F(DemoTest, RecordsThatEndTheRunOrNameNothingStopIt) {
  const TStatement& statement = Statement("\\3\\5\\3");
  const std::vector<std::string> saved = Protocol(statement);
  const std::size_t second = IndexOf(saved, "Marked condition ");
  const struct {
    std::string record;
    std::string message;
  } cases[] = {
      {"The beginning of the proof: Uniqueness of the limit of a sequence",
       "New proof may not begin before the end of the old one"},
      {"Proof is aborted.", "Proof is aborted."},
      {"Marked condition 99 of section 2:",
       "Error when reading an assosiated transformation from protocol file:\nthere is no given condition number 99"},
      {"Marked condition 99 of section 4:",
       "Error when reading an assosiated transformation from protocol file:\nthere is no proving condition number 99"},
      {"Marked variable 99 of section 1:", "Error in protocol:\nthere is no given object number 99"},
      {"Marked variable 1 of section 3:", "Error in protocol:\nthere is no required object number 1"},
      {"Marked variable 1 of section 5:", "Interpretation of protocol string\nMarked variable \nis not implemented."},
      {"Successful end of the proof.",
       "Interpretation of protocol string\nSuccessful end of the proof.\nis not implemented."},
  };
  for (const auto& c : cases) {
    std::vector<std::string> lines = saved;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(second), {c.record, ""});
    const TVerifyResult result = Verify(statement, lines);
    EXPECT_FALSE(result.Passed) << c.record;
    EXPECT_EQ(result.Message, c.message);
    EXPECT_EQ(result.Line, static_cast<int>(second) + 1) << c.record;
  }
}

// Protocols rename given objects only: the renaming of a required object
// that does exist is refused as the kernel refuses it.
TEST_F(DemoTest, ARequiredObjectIsNotRenamed) {
  const TStatement& statement = Statement("\\3\\4\\0");
  std::vector<std::string> lines = Protocol(statement);
  const std::size_t head = IndexOf(lines, "The beginning of the proof: ");
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(head) + 1,
               {"", "Marked variable 1 of section 3:@", "Variable name m changed to k"});
  const TVerifyResult result = Verify(statement, lines);
  EXPECT_FALSE(result.Passed);
  EXPECT_EQ(result.Message, "Invalid number of variable to be renamed.");
  EXPECT_EQ(result.Line, static_cast<int>(head) + 3);
}

TEST_F(DemoTest, AProtocolThatEndsInASubproofSaysSo) {
  const TStatement& statement = Statement("\\3\\5\\15");
  std::vector<std::string> lines = Protocol(statement);
  lines.resize(IndexOf(lines, "   Apply statement: ") + 1);
  const TVerifyResult result = Verify(statement, lines);
  EXPECT_FALSE(result.Passed);
  EXPECT_EQ(result.Message, "The end of the protocol file.\nContinue the proof yourself.");
  EXPECT_EQ(result.Line, static_cast<int>(lines.size()));
}

TEST_F(DemoTest, OnlyTheDriversSuccessfulEndPasses) {
  const TStatement& statement = Statement("\\3\\5\\3");
  const std::vector<std::string> saved = Protocol(statement);
  // The head alone.
  std::vector<std::string> head(saved.begin(), saved.begin() + TProtocolRecorder::kSettingLines + 1);
  EXPECT_FALSE(Verify(statement, head).Passed);
  head.push_back("");
  head.push_back("Successful end of the proof.");
  EXPECT_FALSE(Verify(statement, head).Passed);
  // The last step removed, the success line kept.
  std::vector<std::string> cut = saved;
  const std::size_t success = IndexOf(cut, "Successful end of the proof.");
  std::size_t stepStart = success;
  while (stepStart > 0 && !cut[stepStart - 1].empty()) --stepStart;
  ASSERT_LT(stepStart, success);
  cut.erase(cut.begin() + static_cast<std::ptrdiff_t>(stepStart), cut.begin() + static_cast<std::ptrdiff_t>(success));
  TVerifyResult result = Verify(statement, cut);
  EXPECT_FALSE(result.Passed);
  // The step before the last removed.
  cut = saved;
  std::size_t before = stepStart - 1;
  while (before > 0 && !cut[before - 1].empty()) --before;
  cut.erase(cut.begin() + static_cast<std::ptrdiff_t>(before), cut.begin() + static_cast<std::ptrdiff_t>(stepStart));
  EXPECT_FALSE(Verify(statement, cut).Passed);
  // Records after the successful end.
  std::vector<std::string> longer = saved;
  longer.insert(longer.end(), {"", "Prove by contradiction."});
  result = Verify(statement, longer);
  EXPECT_FALSE(result.Passed);
  EXPECT_EQ(result.Line, static_cast<int>(longer.size()));
}

TEST_F(DemoTest, TheStoredTimeOfAReplayIsNoDifference) {
  const TStatement& statement = Statement("\\3\\5\\3");
  std::vector<std::string> lines = Protocol(statement);
  lines[IndexOf(lines, "Successful end of the proof.")] = "Successful end of the proof. Time=1234   ";
  EXPECT_TRUE(Verify(statement, lines).Passed);
  lines[IndexOf(lines, "Successful end of the proof.")] = "Successful end of the proof. Later";
  EXPECT_FALSE(Verify(statement, lines).Passed);
}

TEST_F(DemoTest, ACircularProofFails) {
  const TStatement& statement = Statement("\\3\\5\\3");
  const std::vector<std::string> saved = Protocol(statement);
  const std::size_t apply = IndexOf(saved, "Apply statement: ");
  // The statement itself, and one that stands after it in the book.
  for (const std::string& name : {statement.Lines[kEnglishNameLine], Statement("\\3\\5\\2").Lines[kEnglishNameLine]}) {
    std::vector<std::string> lines = saved;
    lines[apply] = "Apply statement: " + name + " (\\3\\5)@";
    const TVerifyResult result = Verify(statement, lines);
    EXPECT_FALSE(result.Passed) << name;
    EXPECT_EQ(result.Line, static_cast<int>(apply) + 1);
    EXPECT_EQ(result.Message, "Only a statement that stands before the one being proved can be applied.");
  }
}

TEST_F(DemoTest, AnAppliedStatementIsFoundByItsPathAndName) {
  const TStatement& statement = Statement("\\3\\5\\3");
  const std::vector<std::string> saved = Protocol(statement);
  const std::size_t apply = IndexOf(saved, "Apply statement: ");
  const struct {
    std::string record;
    std::string message;
  } cases[] = {
      {"Apply statement: Limit of a sequence \\3\\5@",
       "Wrong path to the applied statement:\nLimit of a sequence \\3\\5"},
      {"Apply statement: Limit of a sequence (\\3\\77)@", "Unable to find applied statement with path\n\\3\\77"},
      {"Apply statement: Limit of sequences (\\3\\5)@", "Unable to find applied statement with path\n\\3\\5"},
      {"Apply statement: Limit of sequences (\\3\\5\\0)@",
       "The name of the applied statement \"Limit of sequences\"\nhas been changed to \"Limit of a sequence\""},
  };
  for (const auto& c : cases) {
    std::vector<std::string> lines = saved;
    lines[apply] = c.record;
    const TVerifyResult result = Verify(statement, lines);
    EXPECT_FALSE(result.Passed);
    EXPECT_EQ(result.Message, c.message);
    EXPECT_EQ(result.Line, static_cast<int>(apply) + 1);
  }
  // The statement's own path names it as well as its paragraph does.
  std::vector<std::string> lines = saved;
  lines[apply] = "Apply statement: Limit of a sequence (\\3\\5\\0)@";
  EXPECT_FALSE(Verify(statement, lines).Passed) << "the replay records the paragraph";
}

TEST_F(DemoTest, AnEditedValueFails) {
  const TStatement& statement = Statement("\\3\\5\\3");
  std::vector<std::string> lines = Protocol(statement);
  // n = K alone is not beyond both thresholds: the estimates no longer meet.
  const std::size_t substituted = IndexOf(lines, "Substituted K+N for n");
  lines[substituted] = "Substituted K for n";
  const TVerifyResult result = Verify(statement, lines);
  EXPECT_FALSE(result.Passed);
  EXPECT_GE(result.Line, static_cast<int>(substituted) + 1);
}

TEST_F(DemoTest, ProofFieldMarksMustMatchTheProofFieldsMade) {
  const TStatement& statement = Statement("\\3\\5\\3");
  const std::vector<std::string> saved = Protocol(statement);
  const std::size_t apply = IndexOf(saved, "Apply statement: ");
  std::vector<std::string> lines = saved;
  lines[apply].pop_back();
  TVerifyResult result = Verify(statement, lines);
  EXPECT_FALSE(result.Passed);
  EXPECT_EQ(result.Message.substr(0, 45), "The protocol file lacks a proof-field mark at");
  EXPECT_EQ(result.Said.Rus.substr(0, 24), "В файле протокола не обн"_cp);
  lines = saved;
  lines[apply] += "@";
  result = Verify(statement, lines);
  EXPECT_FALSE(result.Passed);
  EXPECT_EQ(result.Said.Rus.substr(0, 24), "В файле протокола обнару"_cp);
}

TEST_F(DemoTest, VerificationLeavesTheSettingsAndIsIndependentOfOrder) {
  const TStatement& first = Statement("\\3\\5\\3");
  const TStatement& second = Statement("\\3\\3\\0");
  std::vector<std::string> changed = Protocol(first);
  changed[0] = "AutoStandard = false";
  const TAutoSettings before = context.Settings;
  const TVerifyResult a = Verify(second, Protocol(second));
  Verify(first, changed);
  EXPECT_EQ(context.Settings, before);
  const TVerifyResult b = Verify(second, Protocol(second));
  EXPECT_TRUE(a.Passed);
  EXPECT_EQ(a.Passed, b.Passed);
  EXPECT_EQ(a.Line, b.Line);
}

TEST_F(DemoTest, ADemonstrationLendsTheDriverItsAnswersAndGivesThemBack) {
  const TStatement& statement = Statement("\\3\\5\\3");
  TProtocolRecorder protocol(messages);
  TScriptUi script(book, {});
  TProofDriver driver(script, protocol, book, &assot);
  {
    TDemonstration demo(driver, protocol, book);
    ASSERT_TRUE(demo.Begin(statement, Protocol(statement)));
    int steps = 0;
    while (demo.Step()) ++steps;
    EXPECT_GT(steps, 5);
    EXPECT_TRUE(demo.Succeeded());
    EXPECT_TRUE(driver.Succeeded());
  }
  EXPECT_EQ(&driver.SetUi(script), &script);
  // A proof afterwards records again.
  ASSERT_TRUE(driver.Start(statement, ""));
  EXPECT_EQ(protocol.Lines.size(), TProtocolRecorder::kSettingLines + 2u);
}

// A student who takes over a demonstration and finishes the proof as the
// book does writes the book's protocol: the replayed steps and the student's
// are steps alike.
TEST_F(DemoTest, AProofTakenOverAndFinishedWritesTheBooksProtocol) {
  const TStatement& statement = Statement("\\3\\1\\10");
  const std::vector<std::string> book_protocol = Protocol(statement);
  std::vector<std::vector<std::string>> commands(1);
  const std::vector<std::string> utf8 = ReadLines(std::string(LEMMIX_PROOFS_DIR) + "/3-1-10.txt").value();
  for (const std::string& line : utf8) {
    if (line.starts_with("!")) commands.emplace_back();
    commands.back().push_back(Utf8ToCp1251(line));
  }
  for (const std::size_t replayed : {0u, 1u, 4u, 9u}) {
    std::vector<std::string> rest;
    for (std::size_t i = replayed + 1; i < commands.size(); ++i)
      rest.insert(rest.end(), commands[i].begin(), commands[i].end());
    TProtocolRecorder protocol(messages);
    TScriptUi script(book, rest);
    TProofDriver driver(script, protocol, book, &assot);
    {
      TDemonstration demo(driver, protocol, book);
      ASSERT_TRUE(demo.Begin(statement, book_protocol));
      for (std::size_t step = 0; step < replayed; ++step) ASSERT_TRUE(demo.Step()) << step;
    }
    EXPECT_TRUE(script.Run(driver, [](const std::string&, bool) {})) << replayed;
    EXPECT_TRUE(driver.Succeeded()) << replayed;
    EXPECT_EQ(protocol.Lines, book_protocol) << "taken over after " << replayed << " steps";
  }
}

// The course's scripts that restate a theorem are not offered in its own
// proof: the triangle inequality cannot prove itself.
TEST_F(DemoTest, AScriptIsNotOfferedInTheProofOfTheTheoremItRestates) {
  const struct {
    const char* statement;
    const char* script;
  } cases[] = {{"\\6\\3\\7", "Triangle inequality in the goal"}};
  for (const auto& c : cases) {
    TProtocolRecorder protocol(messages);
    TScriptUi script(book, {});
    TProofDriver driver(script, protocol, book, &assot);
    ASSERT_TRUE(driver.Start(Statement(c.statement), ""));
    ASSERT_TRUE(driver.Open());
    const TAssot* restating = nullptr;
    for (const auto& a : assot.Transformations())
      if (a->Name == c.script) restating = a.get();
    ASSERT_NE(restating, nullptr) << c.script;
    const TSection section = driver.Current()->ProvingConds.empty() ? TSection::GivenConds : TSection::ProvingConds;
    bool fits = false;
    const std::size_t count = section == TSection::ProvingConds ? driver.Current()->ProvingConds.size()
                                                                : driver.Current()->GivenConds.size();
    for (std::size_t i = 0; i < count; ++i) {
      // Outside any proof the script fits the condition; in this proof it is not offered.
      if (!assot.TestAssot(*restating, *driver.Current(), section, i)) continue;
      fits = true;
      for (const TTransformChoice& offered : driver.Offered(section, i)) EXPECT_NE(offered.Name, c.script) << c.statement;
    }
    EXPECT_TRUE(fits) << c.statement << ": the script fits none of its conditions";
  }
}

// The recorder while demonstrating: it writes nothing into the protocol it
// replays and keeps the first line that differs.
class RecorderDemonstration : public ::testing::Test {
 protected:
  void SetUp() override {
    lines = TAutoSettings{}.ProtocolLines();
    lines.insert(lines.end(), {"The beginning of the proof: X@", "", "Define a variable: x=1@", "   Test conditions.",
                               "", "Successful end of the proof. Time=12   "});
    ASSERT_TRUE(recorder.StartDemonstration(lines));
    recorder.VerifyAfter(TProtocolRecorder::kSettingLines);
    TAutoSettings settings;
    settings.AutoStandard = false;  // a proof's head is not written again
    recorder.StartProof("", settings, "Y");
    recorder.PendingMarks = 1;
    recorder.WriteLine("");
  }

  RecordingMessages messages;
  TProtocolRecorder recorder{messages};
  std::vector<std::string> lines;
};

TEST_F(RecorderDemonstration, ComparesWhatIsWrittenAndCountsTheMarks) {
  EXPECT_EQ(recorder.MarksRead(), 1);
  EXPECT_EQ(recorder.MarksPlaced(), 1);
  ++recorder.PendingMarks;
  recorder.WriteLine("Define a variable: x=1");
  recorder.Indent = 1;
  recorder.WriteLine("Test conditions.");
  recorder.WriteLine("");
  recorder.Indent = 0;
  recorder.WriteLine("Successful end of the proof.");
  EXPECT_FALSE(recorder.Mismatch());
  EXPECT_EQ(recorder.MarksPlaced(), 2);
  EXPECT_EQ(recorder.MarksRead(), 2);
  EXPECT_EQ(recorder.VerifyPos(), static_cast<int>(lines.size()));
  EXPECT_EQ(recorder.Lines, lines) << "the replayed protocol is never written";
}

TEST_F(RecorderDemonstration, KeepsTheFirstDifference) {
  const struct {
    int indent;
    std::string text;
    std::string found;
  } cases[] = {
      {0, "Define a variable: x=2", "Define a variable: x=1"},
      {1, "Define a variable: x=1", "Define a variable: x=1"},
      {0, "Define a variable: x=1@", "Define a variable: x=1"},
  };
  for (const auto& c : cases) {
    SetUp();
    recorder.Indent = c.indent;
    recorder.WriteLine(c.text);
    recorder.Indent = 0;
    recorder.WriteLine("Define a variable: x=1");
    ASSERT_TRUE(recorder.Mismatch()) << c.text;
    EXPECT_EQ(recorder.Mismatch()->Line, TProtocolRecorder::kSettingLines + 3);
    EXPECT_EQ(recorder.Mismatch()->Found, c.found);
    EXPECT_EQ(recorder.Mismatch()->Expected, std::string(3 * c.indent, ' ') + c.text);
  }
}

TEST_F(RecorderDemonstration, AWritePastTheEndIsADifference) {
  recorder.WritePair("Define a variable: x=1", "   Test conditions.");
  recorder.WriteLine("Successful end of the proof.");
  EXPECT_FALSE(recorder.Mismatch());
  recorder.WriteLine("Prove by contradiction.");
  ASSERT_TRUE(recorder.Mismatch());
  EXPECT_EQ(recorder.Mismatch()->Line, static_cast<int>(lines.size()) + 1);
  EXPECT_EQ(recorder.Mismatch()->Found, "");
}

TEST_F(RecorderDemonstration, ARolledBackCommandIsToldOnceAndTruncatesNothing) {
  EXPECT_FALSE(recorder.TakeRollBack());
  recorder.JournalUndo();
  ASSERT_TRUE(recorder.FindMark(1));
  recorder.TruncateAtReadPos();
  EXPECT_TRUE(recorder.TakeRollBack());
  EXPECT_FALSE(recorder.TakeRollBack());
  EXPECT_EQ(recorder.Lines, lines);
}

TEST_F(RecorderDemonstration, AtTheEndTheProofRecordsAgainAfterTheLinesReplayed) {
  recorder.WriteLine("Define a variable: x=1");
  recorder.EndDemonstration();
  EXPECT_FALSE(recorder.Demonstrating());
  // The lines replayed, the last step ended by its empty line.
  std::vector<std::string> expected(lines.begin(), lines.begin() + TProtocolRecorder::kSettingLines + 3);
  expected.emplace_back();
  EXPECT_EQ(recorder.Lines, expected);
  recorder.WriteLine("Prove by contradiction.");
  EXPECT_EQ(recorder.Lines.back(), "Prove by contradiction.");
  EXPECT_EQ(recorder.Lines[recorder.Lines.size() - 2], "");
}

}  // namespace
}  // namespace lemmix
