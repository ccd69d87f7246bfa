// Statement files that end early: loading pads them to the lines of their
// kind, empty where the file has none, and a save writes every line back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "book/statement.h"
#include "shell/cp1251.h"
#include "shell/files.h"
#include "support/temp_dir.h"

namespace lemmix {
namespace {

using Lines = std::vector<std::string>;

std::string Stored(const Lines& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

// `lines` with empty lines appended up to `count`.
Lines Padded(Lines lines, std::size_t count) {
  lines.resize(count);
  return lines;
}

class StatementLines : public ::testing::Test {
 protected:
  testing::TempDir dir;

  // Loads "s.st" holding the bytes; the statement must load as unchanged.
  void Load(TStatement& statement, const std::string& bytes) {
    dir.Write("s.st", bytes);
    statement.Path = SystemPath(dir.Path().string()).value() + "\\s";
    EXPECT_FALSE(statement.Load());
    EXPECT_FALSE(statement.Changed);
  }
};

TEST_F(StatementLines, AShortFileLoadsWithEveryLineOfItsKind) {
  struct Case {
    const char* name;
    Lines file;
    std::size_t count;
  };
  const Case cases[] = {
      {"NoLines", {}, 6},
      {"OneLine", {"S"}, 6},
      {"ThreeLines", {"S", "a.htm", "Name"}, 6},
      {"TheoremWithoutFormulation", {"", "", "T", "Теорема"_cp, "theorem"}, 6},
      {"DefinitionWithoutNotion", {"S", "", "D", "Определение"_cp, "definition", "x = x"}, 7},
      {"DefinitionEndingAtItsKind", {"", "", "D", "Определение"_cp, "definition"}, 7},
      {"MethodWithoutData", {"", "", "M", "Метод"_cp, "method", "", "", "1"}, 23},
      {"MethodEndingAtItsKind", {"", "", "M", "Метод"_cp, "method"}, 23},
      {"MethodOneLineShort", Padded({"", "", "M", "Метод"_cp, "method", "", "", "1"}, 22), 23},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TStatement statement;
    Load(statement, Stored(c.file));
    const Lines expected = Padded(c.file, c.count);
    EXPECT_EQ(statement.Lines, expected);
    // Unchanged, the file is not written again.
    EXPECT_TRUE(statement.Save());
    EXPECT_EQ(dir.Read("s.st"), Stored(c.file));
    // Changed, every line is written and reads back the same.
    statement.Changed = true;
    EXPECT_TRUE(statement.Save());
    EXPECT_EQ(dir.Read("s.st"), Stored(expected));
    TStatement reloaded;
    Load(reloaded, dir.Read("s.st"));
    EXPECT_EQ(reloaded.Lines, expected);
  }
}

TEST_F(StatementLines, LinesBeyondTheKindStay) {
  const Lines file = {"", "", "T", "Теорема"_cp, "theorem", "x = x", "\\30(rSeqT)", "note"};
  TStatement statement;
  Load(statement, Stored(file));
  EXPECT_EQ(statement.Lines, file);
}

class TestMethod : public TMethodObject {
 public:
  std::unique_ptr<TMethodObject> Copy() const override { return std::make_unique<TestMethod>(); }
};

TEST_F(StatementLines, TheMethodBuilderSeesTheDataTheFileHas) {
  // A builder that refuses data with too few lines, as the method builder does.
  std::vector<std::size_t> seen;
  TStatement::SetMethodBuilder([&seen](const TStatement& s) -> std::unique_ptr<TMethodObject> {
    seen.push_back(s.Lines.size());
    if (s.Lines.size() < kMethodLines) return nullptr;
    return std::make_unique<TestMethod>();
  });
  const Lines shortMethod = {"", "", "M", "Метод"_cp, "method", "", "", "1"};
  TStatement missing;
  Load(missing, Stored(shortMethod));
  EXPECT_FALSE(missing.Method);
  EXPECT_EQ(missing.Lines, Padded(shortMethod, kMethodLines));
  TStatement complete;
  Load(complete, Stored(Padded(shortMethod, kMethodLines)));
  EXPECT_TRUE(complete.Method);
  TStatement::SetMethodBuilder(nullptr);
  EXPECT_EQ(seen, (std::vector<std::size_t>{shortMethod.size(), kMethodLines}));
}

}  // namespace
}  // namespace lemmix
