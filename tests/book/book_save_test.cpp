// Saving that cannot write everything says so and keeps what it could not
// write marked changed; content lines that name no child; the naming of new
// nodes at the ends of the number range; the method object following the kind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "book/part.h"
#include "shell/context.h"
#include "shell/cp1251.h"
#include "shell/recording_messages.h"
#include "shell/files.h"
#include "support/temp_dir.h"

namespace lemmix {
namespace {

namespace fs = std::filesystem;
using testing::CrLf;

class BookSaveTest : public ::testing::Test {
 protected:
  testing::TempDir dir;
  TBook book;

  BookSaveTest() { book.Path = SystemPath(dir.Path().string()).value() + "\\book"; }
  fs::path File(const std::string& relative) const { return dir.Path() / "book" / relative; }
  void Write(const std::string& relative, const std::string& bytes) {
    fs::create_directories(File(relative).parent_path());
    std::ofstream(File(relative), std::ios::binary) << bytes;
  }
  std::string Read(const std::string& relative) const { return dir.Read("book/" + relative); }
  // A book of one chapter with one paragraph of one theorem.
  void WriteSmallBook() {
    Write("content", CrLf({"S", "", "Book", "Книга"_cp, "0"}));
    Write("0/content", CrLf({"S", "", "Chapter", "Глава"_cp, "0"}));
    Write("0/0/content", CrLf({"S", "", "Paragraph", "Параграф"_cp, "0"}));
    Write("0/0/0.st", CrLf({"S", "", "T", "Теорема"_cp, "theorem", "x = x"}));
  }
  TParagraph& Paragraph() { return *book.Children.at(0)->Children.at(0); }
};

TEST_F(BookSaveTest, ASectionWhoseDirectoryCannotBeMadeFailsTheSave) {
  WriteSmallBook();
  ASSERT_FALSE(book.Load());
  TChapter& chapter = book.InsertChild(1);
  TStatement& statement = chapter.InsertChild(0).InsertChild(0);
  statement.Lines[kRussianNameLine] = "Новое"_cp;
  // A file stands where the new chapter's directory should be.
  Write("1", "not a directory");
  EXPECT_FALSE(book.Save());
  EXPECT_TRUE(chapter.Changed && statement.Changed);
  // The rest of the book is written, the book's content naming the new chapter.
  EXPECT_FALSE(book.Changed);
  EXPECT_EQ(Read("content"), CrLf({"S", "", "Book", "Книга"_cp, "0", "1"}));
  // Once the way is free, the same save writes what was left.
  fs::remove(File("1"));
  EXPECT_TRUE(book.Save());
  EXPECT_FALSE(chapter.Changed || statement.Changed);
  EXPECT_NE(Read("1/0/0.st").find("Новое"_cp), std::string::npos);
}

TEST_F(BookSaveTest, AStatementThatCannotBeWrittenFailsTheSave) {
  WriteSmallBook();
  ASSERT_FALSE(book.Load());
  TStatement& statement = *Paragraph().Children[0];
  statement.Lines[kFormulationLine] = "y = y";
  statement.Changed = true;
  Paragraph().Changed = true;
  fs::create_directory(File("0/0/0.st.tmp~"));  // the temporary name is taken
  EXPECT_FALSE(book.Save());
  EXPECT_TRUE(statement.Changed);
  EXPECT_FALSE(Paragraph().Changed);  // its own file was written
  fs::remove(File("0/0/0.st.tmp~"));
  EXPECT_TRUE(book.Save());
  EXPECT_NE(Read("0/0/0.st").find("y = y"), std::string::npos);
}

TEST_F(BookSaveTest, AFileThatCannotBeReadIsSaidAndNeverWrittenOver) {
  WriteSmallBook();
  // A directory stands where the statement's and a paragraph's files are:
  // they are there, and cannot be read.
  Write("0/1/content", "");
  fs::remove(File("0/1/content"));
  fs::create_directory(File("0/1/content"));
  fs::remove(File("0/0/0.st"));
  fs::create_directory(File("0/0/0.st"));
  fs::create_directory(File("0/0/0.st/kept"));
  Write("0/content", CrLf({"S", "", "Chapter", "Глава"_cp, "0", "1"}));
  RecordingMessages messages;
  TContext context(messages, messages);
  context.StartupOk = true;
  const TContextScope scope(context);
  EXPECT_FALSE(book.Load());
  ASSERT_EQ(messages.Entries().size(), 2u);
  EXPECT_NE(messages.Entries()[0].message.Eng.find("Unable to read file"), std::string::npos);
  TStatement& statement = *Paragraph().Children.at(0);
  EXPECT_FALSE(statement.Changed);
  EXPECT_EQ(statement.Lines.size(), kStatementLines);
  EXPECT_FALSE(book.Children.at(0)->Children.at(1)->Changed);
  EXPECT_TRUE(book.Save());
  EXPECT_TRUE(fs::is_directory(File("0/0/0.st/kept")));
  EXPECT_TRUE(fs::is_directory(File("0/1/content")));
}

TEST_F(BookSaveTest, ContentLinesAreTrimmedAndBlankOnesNameNoChild) {
  WriteSmallBook();
  Write("0/0/3.st", CrLf({"", "", "U", "Другая"_cp, "lemma", "z"}));
  Write("0/0/content", CrLf({"S", "", "Paragraph", "Параграф"_cp, "0 ", "", "  ", " 3", ""}));
  EXPECT_FALSE(book.Load());  // every child is found; nothing to write
  ASSERT_EQ(Paragraph().Children.size(), 2u);
  EXPECT_EQ(Paragraph().Children[0]->Title(), "Теорема"_cp);
  EXPECT_EQ(Paragraph().Children[1]->Title(), "Другая"_cp);
  EXPECT_EQ(Paragraph().Children[1]->Name(), "3");
  // A save of the paragraph writes the names alone.
  Paragraph().Changed = true;
  EXPECT_TRUE(book.Save());
  EXPECT_EQ(Read("0/0/content"), CrLf({"S", "", "Paragraph", "Параграф"_cp, "0", "3"}));
  EXPECT_FALSE(fs::exists(File("0/0/.st")));
}

TEST_F(BookSaveTest, NewNamesAtTheEndsOfTheNumberRange) {
  struct Case {
    const char* name;
    std::vector<std::string> children;
    std::string next;
  };
  const Case cases[] = {
      {"PastTheIntRange", {"0", "2147483647"}, "2147483648"},
      {"LargestNumberHasNoSuccessor", {"5", "18446744073709551615"}, "6"},
      {"BeyondTheRange", {"1", "99999999999999999999999"}, "2"},
      {"SignedNamesAreNoNumbers", {"-7", "+3", "x1"}, "0"},
  };
  for (const Case& c : cases) {
    TParagraph paragraph;
    paragraph.Path = "p";
    for (const std::string& name : c.children) {
      auto child = std::make_unique<TStatement>();
      child->Path = "p\\" + name;
      paragraph.Children.push_back(std::move(child));
    }
    EXPECT_EQ(paragraph.NewChildPath(), "p\\" + c.next) << c.name;
  }
}

class TypedMethod : public TMethodObject {
 public:
  std::unique_ptr<TMethodObject> Copy() const override { return std::make_unique<TypedMethod>(); }
};

// Sets the method builder for the length of a test.
class ScopedBuilder {
 public:
  explicit ScopedBuilder(TStatement::MethodBuilder builder) { TStatement::SetMethodBuilder(std::move(builder)); }
  ~ScopedBuilder() { TStatement::SetMethodBuilder(nullptr); }
};

TEST(StatementMethod, TheObjectFollowsTheKind) {
  // Data whose method type is "x" build nothing, as faulty data do.
  const ScopedBuilder builder([](const TStatement& s) -> std::unique_ptr<TMethodObject> {
    if (s.Lines.size() <= kMethodTypeLine || s.Lines[kMethodTypeLine] == "x") return nullptr;
    return std::make_unique<TypedMethod>();
  });
  TStatement statement;
  statement.Lines.resize(23);
  statement.Lines[kKindLine] = "method";
  statement.Lines[kMethodTypeLine] = "1";
  EXPECT_TRUE(statement.BuildMethod());
  EXPECT_TRUE(statement.Method);
  // No longer a method: the object goes.
  statement.Lines[kKindLine] = "theorem";
  EXPECT_TRUE(statement.BuildMethod());
  EXPECT_FALSE(statement.Method);
  // A method whose data build nothing.
  statement.Lines[kKindLine] = "method";
  statement.Lines[kMethodTypeLine] = "x";
  EXPECT_FALSE(statement.BuildMethod());
  EXPECT_FALSE(statement.Method);
}

TEST(StatementMethod, WithoutABuilderNothingIsBuiltAndNothingFails) {
  TStatement statement;
  statement.Lines[kKindLine] = "method";
  statement.Method = std::make_unique<TypedMethod>();
  EXPECT_TRUE(statement.BuildMethod());
  EXPECT_FALSE(statement.Method);
}

}  // namespace
}  // namespace lemmix
