// The protocol recorder: indentation, proof-field marks, empty lines, the
// journal and the full protocol, finding a mark for an undo, and the files
// that never end with a line break.
#include "proofrun/protocol.h"

#include <gtest/gtest.h>

#include "proofrun/protocol_keywords.h"
#include "shell/files.h"
#include "shell/recording_messages.h"
#include "shell/settings.h"
#include "support/temp_dir.h"

namespace lemmix {
namespace {

class ProtocolTest : public ::testing::Test {
 protected:
  std::string PathOf(const char* name) const { return SystemPath((dir.Path() / name).string()).value(); }
  // The lines after the twelve settings.
  std::vector<std::string> Body() const {
    return {recorder.Lines.begin() + TProtocolRecorder::kSettingLines, recorder.Lines.end()};
  }

  testing::TempDir dir;
  RecordingMessages messages;
  TProtocolRecorder recorder{messages};
};

TEST_F(ProtocolTest, AProofRecordsItsStepsWithMarksAndIndentation) {
  TAutoSettings settings;
  settings.ImplicationSimpl = 0;
  recorder.StartProof(PathOf("Prt.dat"), settings, "Triangle inequality");
  ASSERT_EQ(recorder.Lines.size(), 13u);
  EXPECT_EQ(recorder.Lines[0], "AutoStandard = true");
  EXPECT_EQ(recorder.Lines[10], "ImplicationSimpl = 0");
  ++recorder.PendingMarks;  // the first proof field
  recorder.WriteLine("");
  recorder.WriteLine("");  // never two empty lines in a row
  recorder.WriteLine("Prove by contradiction.");
  ++recorder.PendingMarks;  // a step that opens two proof fields
  ++recorder.PendingMarks;
  recorder.WriteLine("");
  recorder.Indent = 1;
  recorder.WriteLine("Consider case: x>0");
  recorder.Indent = 2;
  recorder.WritePair("Marked condition 1 of section 4:", "Multiply the inequality by positive number 2");
  recorder.Indent = -1;
  recorder.WriteLine("nothing");
  recorder.WritePair("nothing", "at all");
  recorder.Indent = 0;
  recorder.WriteLine("Successful end of the proof.");
  const std::vector<std::string> expected = {"The beginning of the proof: Triangle inequality@",
                                             "",
                                             "Prove by contradiction.@@",
                                             "",
                                             "   Consider case: x>0",
                                             "      Marked condition 1 of section 4:",
                                             "      Multiply the inequality by positive number 2",
                                             "Successful end of the proof."};
  EXPECT_EQ(Body(), expected);
  // The journal holds every record as it was written, empty lines aside,
  // and never ends with a line break.
  recorder.JournalUndo();
  const std::string journal = dir.Read("Prt.dat");
  EXPECT_TRUE(journal.starts_with("AutoStandard = true\r\nSymbolTransEnable = true\r\n"));
  EXPECT_NE(journal.find("Triangle inequality\r\nProve by contradiction.\r\n   Consider case: x>0"), std::string::npos);
  EXPECT_TRUE(journal.ends_with("Successful end of the proof.\r\nUndo."));
  EXPECT_TRUE(messages.Entries().empty());
}

TEST_F(ProtocolTest, AMarkOwedOnAnEmptyLineGoesOntoTheNextRecord) {
  recorder.StartProof(PathOf("Prt.dat"), TAutoSettings(), "T");
  ++recorder.PendingMarks;
  recorder.WriteLine("Define a variable: d=1");
  recorder.WriteLine("");
  ++recorder.PendingMarks;
  recorder.WriteLine("Conjecture: d>0");
  EXPECT_EQ(Body(), (std::vector<std::string>{"The beginning of the proof: T@", "Define a variable: d=1", "",
                                              "Conjecture: d>0@"}));
}

TEST_F(ProtocolTest, UndoFindsTheMarkOfTheProofField) {
  recorder.StartProof(PathOf("Prt.dat"), TAutoSettings(), "T");
  for (const char* step : {"Define a variable: a=1", "Prove condition: a>0", "Conjecture: a<2"}) {
    ++recorder.PendingMarks;
    recorder.WriteLine(step);
    recorder.WriteLine("Test conditions.");
    recorder.WriteLine("");
  }
  EXPECT_EQ(recorder.Lines[recorder.Lines.size() - 6], "Prove condition: a>0@");
  EXPECT_FALSE(recorder.FindMark(4));
  // Back to the first proof field: the head and the first step stay.
  ASSERT_TRUE(recorder.FindMark(1));
  recorder.TruncateAtReadPos();
  EXPECT_EQ(Body(),
            (std::vector<std::string>{"The beginning of the proof: T@", "Define a variable: a=1", "Test conditions."}));
  EXPECT_FALSE(recorder.FindMark(2));  // the later marks went with their steps
  ASSERT_TRUE(recorder.FindMark(1));
  EXPECT_EQ(recorder.ReadPos, static_cast<int>(recorder.Lines.size()));
}

TEST_F(ProtocolTest, AJournalThatCannotBeMadeLeavesTheProofGoing) {
  recorder.StartProof(PathOf("missing/Prt.dat"), TAutoSettings(), "T");
  ASSERT_EQ(messages.Entries().size(), 1u);
  EXPECT_EQ(messages.Entries()[0].message.Eng, "Unable to the open protocol file.");
  EXPECT_TRUE(recorder.JournalPath().empty());
  recorder.WriteLine("Prove by contradiction.");
  EXPECT_EQ(recorder.Lines.back(), "Prove by contradiction.");
}

TEST_F(ProtocolTest, ADemonstrationWritesToTheFullProtocolOnly) {
  const std::vector<std::string> saved = {"AutoStandard = true", "The beginning of the proof: T@"};
  ASSERT_TRUE(recorder.StartDemonstration(saved, PathOf("x.fpr")));
  recorder.WriteLine("Section 1.");
  recorder.WriteLine(kProtocolKeywords[53]);
  EXPECT_EQ(recorder.Lines, saved);
  EXPECT_EQ(dir.Read("x.fpr"), "Section 1.\r\n==========================================");
  // A full protocol that exists already is not overwritten.
  TProtocolRecorder again(messages);
  EXPECT_FALSE(again.StartDemonstration(saved, PathOf("x.fpr")));
  ASSERT_EQ(messages.Entries().size(), 1u);
  EXPECT_TRUE(
      messages.Entries()[0].message.Eng.ends_with(" of full protocol cann't be opened.\n Probably it exists already."));
  // Without a full protocol nothing is written anywhere.
  TProtocolRecorder plain(messages);
  ASSERT_TRUE(plain.StartDemonstration(saved));
  plain.WriteLine("Section 1.");
  EXPECT_EQ(plain.Lines, saved);
}

TEST_F(ProtocolTest, FilesOfRecordsNeverEndWithALineBreak) {
  const std::string path = PathOf("p.prt");
  EXPECT_TRUE(TProtocolRecorder::AppendToFile(path, "first"));
  EXPECT_TRUE(TProtocolRecorder::AppendToFile(path, ""));  // nothing to write
  EXPECT_TRUE(TProtocolRecorder::AppendListToFile(path, {"second", "Successful end of the proof. Time=12345   "}));
  EXPECT_EQ(dir.Read("p.prt"), "first\r\nsecond\r\nSuccessful end of the proof. Time=12345   ");
  // A shorter time overwrites from the start of the last line; the rest stays.
  EXPECT_TRUE(TProtocolRecorder::ReplaceLastLine(path, "Successful end of the proof. Time=987   "));
  EXPECT_EQ(dir.Read("p.prt"), "first\r\nsecond\r\nSuccessful end of the proof. Time=987     ");
  // A one-line file is rewritten from its first byte.
  const std::string single = PathOf("one.prt");
  ASSERT_TRUE(TProtocolRecorder::AppendToFile(single, "abcdef"));
  EXPECT_TRUE(TProtocolRecorder::ReplaceLastLine(single, "XY"));
  EXPECT_EQ(dir.Read("one.prt"), "XYcdef");
  EXPECT_FALSE(TProtocolRecorder::ReplaceLastLine(PathOf("none.prt"), "XY"));
  EXPECT_FALSE(TProtocolRecorder::AppendToFile(PathOf("missing/p.prt"), "x"));
}

}  // namespace
}  // namespace lemmix
