// The book on temporary directories: loading with defaults and padding, the
// byte-for-byte round trip, naming, deletion, failed writes and the search.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "book/search.h"
#include "shell/cp1251.h"
#include "shell/files.h"
#include "shell/recording_messages.h"
#include "support/temp_dir.h"

namespace lemmix {
namespace {

namespace fs = std::filesystem;
using testing::CrLf;

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class BookTest : public ::testing::Test {
 protected:
  testing::TempDir dir;
  TBook book;

  BookTest() { book.Path = Root() + "\\book"; }
  // The temporary directory as the system writes paths.
  std::string Root() const { return SystemPath(dir.Path().string()).value(); }
  fs::path File(const std::string& relative) const { return dir.Path() / "book" / relative; }
  void Write(const std::string& relative, const std::string& bytes) {
    fs::create_directories(File(relative).parent_path());
    std::ofstream(File(relative), std::ios::binary) << bytes;
  }
  // A book of one chapter with one paragraph of two statements.
  void WriteSmallBook() {
    Write("content", CrLf({"S", "intro.htm", "Analysis", "Анализ"_cp, "0"}));
    Write("0/content", CrLf({"S", "", "Sequences", "Последовательности"_cp, "0"}));
    Write("0/0/content", CrLf({"S", "", "Limit", "Предел"_cp, "0", "3"}));
    Write("0/0/0.st", CrLf({"S", "", "Limit", "Предел последовательности"_cp, "definition", "x", "\\30(rSeqT)"}));
    Write("0/0/3.st", CrLf({"", "", "Unique", "Единственность предела"_cp, "theorem", "y > 0"}));
  }
  TParagraph& Paragraph() { return *book.Children.at(0)->Children.at(0); }
};

TEST_F(BookTest, EmptyDirectoryLoadsAsAnUntitledChangedBook) {
  EXPECT_TRUE(book.Load());
  EXPECT_EQ(book.Title(), "Нет названия"_cp);
  EXPECT_EQ(book.Lines[kEnglishNameLine], "No name");
  EXPECT_TRUE(book.Children.empty());
  EXPECT_TRUE(book.Changed);
  // Save creates what was missing.
  book.Save();
  EXPECT_EQ(Contents(File("content")), CrLf({"", "", "No name", "Нет названия"_cp}));
  EXPECT_FALSE(book.Changed);
}

TEST_F(BookTest, ShortContentFileIsPaddedAndItsChildrenNotRead) {
  Write("content", CrLf({"S", "x.htm"}));
  EXPECT_TRUE(book.Load());
  EXPECT_EQ(book.Lines, (std::vector<std::string>{"S", "x.htm", "", ""}));
  EXPECT_TRUE(book.Children.empty());
}

TEST_F(BookTest, LoadsTheTreeAndWritesItBackByteForByte) {
  WriteSmallBook();
  Write("0/0/3/proof1.prt", "protocol");
  EXPECT_FALSE(book.Load());
  ASSERT_EQ(Paragraph().Children.size(), 2u);
  const TStatement& definition = *Paragraph().Children[0];
  EXPECT_EQ(definition.Kind(), "definition");
  EXPECT_EQ(definition.Lines.size(), 7u);
  EXPECT_EQ(Paragraph().Children[1]->Lines.size(), 6u);
  EXPECT_EQ(Paragraph().Children[1]->Name(), "3");
  const std::vector<std::string> files = {"content", "0/content", "0/0/content", "0/0/0.st", "0/0/3.st"};
  std::vector<std::string> before;
  for (const std::string& f : files) before.push_back(Contents(File(f)));
  // Everything marked changed is written again, unchanged in every byte.
  WalkBook(book, {}, [](TPathName& node, int) {
    node.Changed = true;
    return true;
  });
  book.Changed = true;
  book.Save();
  for (std::size_t i = 0; i < files.size(); ++i) EXPECT_EQ(Contents(File(files[i])), before[i]) << files[i];
  EXPECT_EQ(Contents(File("0/0/3/proof1.prt")), "protocol");
}

TEST_F(BookTest, MissingStatementFileLoadsAsChangedDefault) {
  Write("content", CrLf({"", "", "B", "Книга"_cp, "0"}));
  Write("0/content", CrLf({"", "", "C", "Глава"_cp, "0"}));
  Write("0/0/content", CrLf({"", "", "P", "Параграф"_cp, "7", "name"}));
  Write("0/0/name.st", CrLf({"", "", "N", "Не число"_cp, "lemma", "z"}));
  EXPECT_TRUE(book.Load());
  ASSERT_EQ(Paragraph().Children.size(), 2u);
  EXPECT_TRUE(Paragraph().Children[0]->Changed);
  EXPECT_EQ(Paragraph().Children[0]->Lines.size(), 6u);
  // A name that is no number still loads; a new sibling counts from the numbers.
  EXPECT_EQ(Paragraph().Children[1]->Title(), "Не число"_cp);
  EXPECT_EQ(Paragraph().NewChildPath(), Paragraph().Path + "\\8");
}

TEST_F(BookTest, NewNodesAreNamedAfterTheLargestNumber) {
  WriteSmallBook();
  book.Load();
  TParagraph& empty = book.Children[0]->InsertChild(5);
  EXPECT_EQ(empty.Name(), "1");
  EXPECT_EQ(empty.Level, TPathName::kParagraphLevel);
  EXPECT_TRUE(empty.Changed && book.Children[0]->Changed);
  EXPECT_EQ(empty.InsertChild(0).Name(), "0");
  TStatement& second = empty.InsertChild(1);
  EXPECT_EQ(second.Name(), "1");
  EXPECT_EQ(second.Lines.size(), 6u);
  DeleteNode(second);
  EXPECT_EQ(empty.InsertChild(2).Name(), "2");  // the deleted one still counts before the save
  book.Save();
  EXPECT_EQ(empty.Children.size(), 2u);
  EXPECT_EQ(Contents(File("0/1/content")), CrLf({"", "", "No name", "Нет названия"_cp, "0", "2"}));
  EXPECT_FALSE(fs::exists(File("0/1/1.st")));
  EXPECT_TRUE(fs::exists(File("0/1/2.st")));
  // Inserted before the first child.
  EXPECT_EQ(empty.InsertChild(0).Name(), "3");
  EXPECT_EQ(empty.Children[0]->Name(), "3");
}

TEST_F(BookTest, SavingRemovesDeletedStatementsWithTheirProtocols) {
  WriteSmallBook();
  Write("0/0/3/proof1.prt", "protocol");
  Write("0/0/3/proof2.prt", "protocol");
  book.Load();
  DeleteNode(*Paragraph().Children[1]);
  book.Save();
  EXPECT_FALSE(fs::exists(File("0/0/3.st")));
  EXPECT_FALSE(fs::exists(File("0/0/3")));
  EXPECT_EQ(Paragraph().Children.size(), 1u);
  EXPECT_EQ(Contents(File("0/0/content")), CrLf({"S", "", "Limit", "Предел"_cp, "0"}));
}

TEST_F(BookTest, DeletingAChapterRemovesEverythingBelowIt) {
  WriteSmallBook();
  book.Load();
  DeleteNode(*book.Children[0]);
  book.Save();
  EXPECT_TRUE(book.Children.empty());
  EXPECT_FALSE(fs::exists(File("0")));
  EXPECT_EQ(Contents(File("content")), CrLf({"S", "intro.htm", "Analysis", "Анализ"_cp}));
}

TEST_F(BookTest, AFailedWriteKeepsTheOldFileAndTheChange) {
  WriteSmallBook();
  book.Load();
  TStatement& statement = *Paragraph().Children[0];
  const std::string old = Contents(File("0/0/0.st"));
  statement.Lines[kFormulationLine] = "changed";
  statement.Changed = true;
  fs::create_directory(File("0/0/0.st.tmp~"));  // the temporary name is taken
  book.Save();
  EXPECT_EQ(Contents(File("0/0/0.st")), old);
  EXPECT_TRUE(statement.Changed);
  fs::remove(File("0/0/0.st.tmp~"));
  book.Save();
  EXPECT_NE(Contents(File("0/0/0.st")).find("changed"), std::string::npos);
  EXPECT_FALSE(statement.Changed);
}

TEST_F(BookTest, AFailedStartStopsReadingChildren) {
  WriteSmallBook();
  RecordingMessages messages;
  TContext context(messages, messages);
  TContextScope scope(context);
  context.StartupOk = false;
  book.Load();
  EXPECT_TRUE(book.Children.empty());
}

class MarkedMethod : public TMethodObject {
 public:
  explicit MarkedMethod(std::string type) : Type(std::move(type)) {}
  std::unique_ptr<TMethodObject> Copy() const override { return std::make_unique<MarkedMethod>(Type); }
  std::string Type;
};

TEST_F(BookTest, MethodStatementsGetTheirObjectAndCopiesTakeIt) {
  std::vector<std::string> method = {"S", "", "M", "Метод"_cp, "method", "", "", "1"};
  method.resize(23, "data");
  WriteSmallBook();
  {
    std::ofstream out(File("0/0/5.st"), std::ios::binary);
    for (const std::string& line : method) out << line << "\r\n";
  }
  Write("0/0/content", CrLf({"S", "", "Limit", "Предел"_cp, "0", "3", "5"}));
  TStatement::SetMethodBuilder([](const TStatement& s) { return std::make_unique<MarkedMethod>(s.Lines[kMethodTypeLine]); });
  book.Load();
  TStatement::SetMethodBuilder(nullptr);
  TStatement& source = *Paragraph().Children[2];
  ASSERT_TRUE(source.Method);
  EXPECT_FALSE(Paragraph().Children[0]->Method);
  TStatement target;
  target.Deleted = true;
  TStatement::Copy(target, source, false);
  EXPECT_FALSE(target.Method);
  EXPECT_EQ(target.Path, source.Path);
  EXPECT_FALSE(target.Deleted);
  TStatement::Copy(target, source, true);
  ASSERT_TRUE(target.Method);
  EXPECT_EQ(static_cast<MarkedMethod&>(*target.Method).Type, "1");
  EXPECT_NE(target.Method.get(), source.Method.get());
  EXPECT_EQ(source.UserProtocolDirectory(), Root() + "\\Protocols\\0\\0\\5");
}

TEST_F(BookTest, SearchByKindNameModeAndLimit) {
  WriteSmallBook();
  book.Load();
  struct Case {
    const char* name;
    int kind;
    std::string substring;
    bool userMode;
    int limit;  // index of the limit statement, -1 for none
    std::vector<std::string> found;  // names
  };
  const Case cases[] = {
      {"All", kAnyStatementKind, "", false, -1, {"0", "3"}},
      {"Definitions", 0, "", false, -1, {"0"}},
      {"Theorems", 2, "", false, -1, {"3"}},
      {"Methods", 5, "", false, -1, {}},
      {"NameSubstring", kAnyStatementKind, "Единств"_cp, false, -1, {"3"}},
      {"SubstringIsCaseSensitive", kAnyStatementKind, "единств"_cp, false, -1, {}},
      {"UserModeHidesUnmarked", kAnyStatementKind, "", true, -1, {"0"}},
      {"LimitStopsTheWalk", kAnyStatementKind, "", false, 1, {"0"}},
  };
  for (const Case& c : cases) {
    const TStatement* limit = c.limit < 0 ? nullptr : Paragraph().Children[c.limit].get();
    std::vector<std::string> names;
    for (const TStatement* s : FindStatements(book, {c.userMode, limit}, c.kind, c.substring)) names.push_back(s->Name());
    EXPECT_EQ(names, c.found) << c.name;
  }
  EXPECT_EQ(DefinedNotions(book, nullptr), std::vector<std::string>{"\\30(rSeqT)"});
  EXPECT_EQ(FormulationsWithNotion(book, nullptr, "\\30("), std::vector<std::string>{"x"});
  EXPECT_TRUE(DefinedNotions(book, Paragraph().Children[0].get()).empty());
  // Deleted statements are skipped.
  DeleteNode(*Paragraph().Children[0]);
  EXPECT_EQ(StatementsBefore(book, nullptr).size(), 1u);
}

}  // namespace
}  // namespace lemmix

namespace lemmix {
namespace {

// The result tree as "name(children)" with the root's title.
std::string Shape(const TSearchNode& node) {
  std::string shape = node.Node->Name();
  if (node.Children.empty()) return shape;
  shape += "(";
  for (const TSearchNode& child : node.Children) shape += (shape.back() == '(' ? "" : " ") + Shape(child);
  return shape + ")";
}

TEST_F(BookTest, SearchPageResultTree) {
  WriteSmallBook();
  Write("0/1/content", CrLf({"S", "", "Series", "Ряды и пределы"_cp}));
  Write("0/content", CrLf({"S", "", "Sequences", "Последовательности"_cp, "0", "1"}));
  book.Load();
  struct Case {
    const char* name;
    int kind;
    std::string substring;
    bool userMode;
    const char* shape;  // "" for no result
  };
  const Case cases[] = {
      {"EverythingWithStatements", kAnyStatementKind, "", false, "book(0(0(0 3)))"},
      {"UserModeEveryMarkedOne", kAnyStatementKind, "", true, "book(0(0(0)))"},
      {"TheoremsOnly", 2, "", false, "book(0(0(3)))"},
      {"SectionsMatchByName", kAnyStatementKind, "Ряды"_cp, false, "book(0(1))"},
      {"SectionAndStatementNames", kAnyStatementKind, "Предел"_cp, false, "book(0(0(0)))"},
      {"ASectionWithoutMatchesBelow", kAnyStatementKind, "пределы"_cp, false, "book(0(1))"},
      {"KindGivenSectionsDoNotMatch", 0, "Ряды"_cp, false, ""},
      {"Nothing", 4, "", false, ""},
  };
  for (const Case& c : cases) {
    const std::optional<TSearchNode> result = SearchBook(book, c.userMode, c.kind, c.substring);
    EXPECT_EQ(result ? Shape(*result) : "", c.shape) << c.name;
  }
  // The book up to a statement: what stands before it, sections included.
  EXPECT_EQ(Shape(BookTreeBefore(book, {false, Paragraph().Children[1].get()})), "book(0(0(0)))");
  EXPECT_EQ(Shape(BookTreeBefore(book, {})), "book(0(0(0 3) 1))");
  EXPECT_EQ(Shape(BookTreeBefore(book, {true, nullptr})), "book(0(0(0) 1))");
}

}  // namespace
}  // namespace lemmix

namespace lemmix {
namespace {

TEST_F(BookTest, ProtocolsOfAStatementAndOfTheUser) {
  WriteSmallBook();
  Write("0/0/3/b.prt", "");
  Write("0/0/3/a.prt", "");
  Write("0/0/3/notes.txt", "");
  fs::create_directories(dir.Path() / "Protocols" / "0" / "0" / "3");
  std::ofstream(dir.Path() / "Protocols" / "0" / "0" / "3" / "mine.prt") << "";
  book.Load();
  const TStatement& theorem = *Paragraph().Children[1];
  EXPECT_EQ(theorem.ProtocolNames(false), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(theorem.ProtocolNames(true), (std::vector<std::string>{"a", "b", "mine"}));
  EXPECT_TRUE(Paragraph().Children[0]->ProtocolNames(true).empty());
}

}  // namespace
}  // namespace lemmix
