// Saving a protocol under a name: the characters a name may not hold, the
// developer's names in user mode, overwriting only when the user agrees, and
// the two directories of the modes.
#include "proofrun/protocol_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "book/statement.h"
#include "shell/cp1251.h"
#include "shell/files.h"
#include "shell/recording_messages.h"
#include "support/temp_dir.h"

namespace lemmix {
namespace {

namespace fs = std::filesystem;

class ProtocolFilesTest : public ::testing::Test {
 protected:
  ProtocolFilesTest() { statement.Path = SystemPath((dir.Path() / "book").string()).value() + "\\2\\0\\1"; }

  testing::TempDir dir;
  RecordingMessages messages;
  TStatement statement;
  const std::vector<std::string> lines = {"AutoStandard = true", "The beginning of the proof: T@", "",
                                          "Successful end of the proof."};
};

TEST(ProtocolName, TheFirstForbiddenCharacterInTestOrder) {
  const std::pair<std::string_view, std::optional<char>> cases[] = {{"proof 1", std::nullopt},
                                                                    {"a\\b", '\\'},
                                                                    {"a/b", '/'},
                                                                    {"a:b*c", '*'},
                                                                    {"why?", '?'},
                                                                    {"<x>", '<'},
                                                                    {"a|b", '|'},
                                                                    {"c:", ':'},
                                                                    {"\"q\"", '"'},
                                                                    {"x>y", std::nullopt}};
  for (const auto& [name, expected] : cases) EXPECT_EQ(InvalidProtocolNameChar(name), expected) << name;
}

TEST_F(ProtocolFilesTest, ADeveloperSavesBesideTheStatement) {
  const std::optional<std::string> directory = ProtocolSaveDirectory(statement, true, messages);
  ASSERT_TRUE(directory);
  EXPECT_EQ(*directory, statement.ProtocolDirectory());
  EXPECT_EQ(SaveProtocolAs(statement, *directory, "first", lines, true, messages, messages), TSaveVerdict::Saved);
  EXPECT_EQ(dir.Read("book/2/0/1/first.prt"),
            "AutoStandard = true\r\nThe beginning of the proof: T@\r\n\r\nSuccessful end of the proof.\r\n");
  // An existing file is kept unless the user agrees to overwrite it.
  const std::vector<std::string> other = {"other"};
  messages.ScriptAnswers({false, true});
  EXPECT_EQ(SaveProtocolAs(statement, *directory, "first", other, true, messages, messages), TSaveVerdict::AskAgain);
  EXPECT_TRUE(dir.Read("book/2/0/1/first.prt").starts_with("AutoStandard"));
  EXPECT_EQ(SaveProtocolAs(statement, *directory, "first", other, true, messages, messages), TSaveVerdict::Saved);
  EXPECT_EQ(dir.Read("book/2/0/1/first.prt"), "other\r\n");
  ASSERT_EQ(messages.Entries().size(), 2u);
  EXPECT_EQ(messages.Entries()[0].message.Rus, "Файл с этим именем уже существует.\n ПЕРЕЗАПИСАТЬ ?"_cp);
}

TEST_F(ProtocolFilesTest, AStudentSavesUnderProtocolsAndKeepsOffTheDevelopersNames) {
  ASSERT_TRUE(ProtocolSaveDirectory(statement, true, messages));
  std::ofstream(dir.Path() / "book/2/0/1/model.prt") << "x";
  const std::optional<std::string> directory = ProtocolSaveDirectory(statement, false, messages);
  ASSERT_TRUE(directory);
  EXPECT_TRUE(fs::is_directory(dir.Path() / "Protocols/2/0/1"));
  EXPECT_EQ(SaveProtocolAs(statement, *directory, "model", lines, false, messages, messages), TSaveVerdict::AskAgain);
  ASSERT_EQ(messages.Entries().size(), 1u);
  EXPECT_EQ(messages.Entries()[0].message.Eng,
            "This name is used by protcol file created by developers.\n Input another name.");
  EXPECT_EQ(SaveProtocolAs(statement, *directory, "mine", lines, false, messages, messages), TSaveVerdict::Saved);
  EXPECT_TRUE(fs::exists(dir.Path() / "Protocols/2/0/1/mine.prt"));
  EXPECT_FALSE(fs::exists(dir.Path() / "book/2/0/1/mine.prt"));
}

TEST_F(ProtocolFilesTest, RefusalsSayWhy) {
  const std::optional<std::string> directory = ProtocolSaveDirectory(statement, true, messages);
  ASSERT_TRUE(directory);
  EXPECT_EQ(SaveProtocolAs(statement, *directory, "a/b", lines, true, messages, messages), TSaveVerdict::AskAgain);
  ASSERT_EQ(messages.Entries().size(), 1u);
  EXPECT_EQ(messages.Entries()[0].message.Eng, "File name contains invalid symbol: /");
  EXPECT_EQ(messages.Entries()[0].message.Rus, "Имя файла содержит недопустимый символ: /"_cp);
  // A directory that cannot be made: a file stands where it should be.
  std::ofstream(dir.Path() / "blocked") << "x";
  TStatement blocked;
  blocked.Path = SystemPath((dir.Path() / "blocked").string()).value() + "\\0";
  EXPECT_FALSE(ProtocolSaveDirectory(blocked, true, messages));
  EXPECT_EQ(messages.Entries().back().message.Eng, "Unable to create folder for protocol");
}

}  // namespace
}  // namespace lemmix
