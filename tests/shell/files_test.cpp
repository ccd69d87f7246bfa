// Appending to the log file of an unattended run.
#include "shell/files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "../support/temp_dir.h"

namespace lemmix {
namespace {

std::string Contents(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(AppendLogLine, EndsAnOpenLineFirst) {
  struct Case {
    const char* name;
    std::optional<std::string> before;  // nothing: no file yet
    std::string after;
  };
  const Case cases[] = {
      {"NewFile", std::nullopt, "err\r\n"},
      {"EmptyFile", "", "err\r\n"},
      {"EndedLine", "a\r\n", "a\r\nerr\r\n"},
      {"OpenLine", "a", "a\r\nerr\r\n"},
      {"BareLineFeed", "a\n", "a\nerr\r\n"},
  };
  for (const Case& c : cases) {
    testing::TempDir dir;
    if (c.before) dir.Write("demo.prt", *c.before);
    const std::filesystem::path path = dir.Path() / "demo.prt";
    EXPECT_TRUE(AppendLogLine(path.string(), "err")) << c.name;
    EXPECT_EQ(Contents(path), c.after) << c.name;
  }
  testing::TempDir dir;
  EXPECT_FALSE(AppendLogLine((dir.Path() / "missing" / "demo.prt").string(), "err"));
}

}  // namespace
}  // namespace lemmix

namespace lemmix {
namespace {

TEST(WriteLinesReplacing, WritesCrLfLinesAndKeepsTheOldFileOnFailure) {
  testing::TempDir dir;
  const std::filesystem::path path = dir.Path() / "content";
  EXPECT_TRUE(WriteLinesReplacing(path.string(), {"S", "", "No name"}));
  EXPECT_EQ(Contents(path), "S\r\n\r\nNo name\r\n");
  EXPECT_TRUE(WriteLinesReplacing(path.string(), {}));
  EXPECT_EQ(Contents(path), "");
  dir.Write("content", "old\r\n");
  // The temporary name is taken by a directory: the write fails, the old file stays.
  std::filesystem::create_directory(dir.Path() / "content.tmp~");
  EXPECT_FALSE(WriteLinesReplacing(path.string(), {"new"}));
  EXPECT_EQ(Contents(path), "old\r\n");
  // A directory where the file should be: the rename fails, nothing is left behind.
  std::filesystem::remove(dir.Path() / "content.tmp~");
  std::filesystem::create_directories(dir.Path() / "busy" / "inside");
  EXPECT_FALSE(WriteLinesReplacing((dir.Path() / "busy").string(), {"new"}));
  EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "busy" / "inside"));
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "busy.tmp~"));
}

// Whichever step of a save fails, the old file stays whole and no temporary
// file is left beside it.
TEST(WriteLinesReplacing, AFailureAtAnyStepKeepsTheOldFile) {
  for (const TWriteStep step : {TWriteStep::Open, TWriteStep::Write, TWriteStep::Sync, TWriteStep::Close, TWriteStep::Rename}) {
    testing::TempDir dir;
    dir.Write("content", "old\r\n");
    const std::filesystem::path path = dir.Path() / "content";
    FailWriteStepForTesting(step);
    EXPECT_FALSE(WriteLinesReplacing(path.string(), {"new", "lines"})) << static_cast<int>(step);
    FailWriteStepForTesting(std::nullopt);
    EXPECT_EQ(Contents(path), "old\r\n") << static_cast<int>(step);
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "content.tmp~")) << static_cast<int>(step);
    // Without the fault the same save goes through.
    EXPECT_TRUE(WriteLinesReplacing(path.string(), {"new", "lines"}));
    EXPECT_EQ(Contents(path), "new\r\nlines\r\n");
  }
}

}  // namespace
}  // namespace lemmix
