// The content checks of the book: the bundled book passes, a broken one
// names each fault with its place.
#include "session/book_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../expr/expr_fixture.h"
#include "shell/cp1251.h"
#include "shell/files.h"
#include "support/temp_dir.h"

namespace lemmix {
namespace {

namespace fs = std::filesystem;

class BookCheck : public testing::ExprTest {
 protected:
  // A failed start would stop the book loading its children.
  BookCheck() { context.StartupOk = true; }
};

TEST_F(BookCheck, TheBundledBookIsSound) {
  TBook book;
  book.Path = SystemPath(LEMMIX_DATA_DIR).value() + "\\book";
  EXPECT_FALSE(book.Load());
  ASSERT_GE(book.ChildCount(), 1u);
  const std::vector<std::string> faults = CheckBook(book);
  for (const std::string& fault : faults) ADD_FAILURE() << fault;
  EXPECT_TRUE(messages.Entries().empty());
}

TEST_F(BookCheck, FaultsAreNamed) {
  testing::TempDir dir;
  const auto write = [&](const std::string& relative, std::initializer_list<std::string_view> lines) {
    fs::create_directories((dir.Path() / "book" / relative).parent_path());
    std::ofstream(dir.Path() / "book" / relative, std::ios::binary) << testing::CrLf(lines);
  };
  write("content", {"S", "intro.htm", "B", "Книга"_cp, "0"});
  write("0/content", {"S", "missing.htm#x", "C", "Глава"_cp, "0"});
  write("0/0/content", {"S", "intro.htm#nowhere", "P", "Параграф"_cp, "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"});
  write("0/0/0.st", {"S", "", "Same", "Первое"_cp, "theorem", "\\forall x \\in \\R \\Vld x ^ 2 \\ge 0"});
  write("0/0/1.st", {"S", "", "Same", "Второе"_cp, "lemma", "x +"});
  write("0/0/2.st", {"S", "", "Def", "Определение"_cp, "definition", "| x |", "\\nothing(rT)"});
  write("0/0/3.st", {"S", "", "Odd", "Странное"_cp, "conjecture", "x > 0"});
  // A notion closed until defined: used too early, defined under another
  // type, then defined properly and used.
  const std::string_view evenDefinition = "\\forall n \\in \\Z \\Vld n \\even \\ByDef ( \\exists k \\in \\Z : n = 2 \\cdot k )";
  write("0/0/4.st", {"S", "", "Early", "Рано"_cp, "theorem", "4 \\even"});
  write("0/0/5.st", {"S", "", "Even", "Четное"_cp, "definition", evenDefinition, "\\102(noSuchT)"});
  write("0/0/6.st", {"S", "", "Even again", "Четное"_cp, "definition", evenDefinition, "\\even(zPredT)"});
  write("0/0/7.st", {"S", "", "Late", "Поздно"_cp, "theorem", "4 \\even"});
  write("0/0/8.st", {"S", "", "Wrong notion", "Не то понятие"_cp, "definition", evenDefinition, "\\134(rFunc1T)"});
  // A definition by an equivalence is not one the proof of correctness can read.
  write("0/0/9.st", {"S", "", "By equivalence", "Через равносильность"_cp, "definition",
                     "\\forall n \\in \\Z \\Vld n \\even \\iff ( \\exists k \\in \\Z : n = 2 \\cdot k )",
                     "\\102(zPredT)"});
  // An implication's conclusion without brackets makes its premise an implication.
  write("0/0/10.st", {"S", "", "Chain", "Цепочка"_cp, "theorem", "\\forall x \\in \\R \\Vld x > 1 \\implies x > 0 \\implies x ^ 2 > 0"});
  write("0/0/11.st", {"S", "", "Bracketed", "Со скобками"_cp, "theorem", "\\forall x \\in \\R \\Vld x > 1 \\implies ( x > 0 \\implies x ^ 2 > 0 )"});
  std::ofstream(dir.Path() / "book" / "intro.htm")
      << R"(<p id="here"><a href="BOOK/logi/0/0/0">ok</a> <a href="BOOK/logi/0/0/99">bad</a> <a href="gone.htm">x</a>)"
      << R"(<a href="intro.htm#here">ok</a> <a href="#here">ok</a> <a href="#top">no top</a></p>)";
  TBook book;
  book.Path = SystemPath(dir.Path().string()).value() + "\\book";
  book.Load();
  const std::vector<std::string> faults = CheckBook(book);
  const std::string p = book.Path + "\\0";
  const std::vector<std::string> expected = {
      p + ": page missing.htm is missing",
      p + "\\0: page intro.htm#nowhere has no such place",
      p + "\\0\\1: formulation does not read",
      p + "\\0\\1: English name also at " + p + "\\0\\0",
      p + "\\0\\2: defined notion \\nothing(rT)",
      p + "\\0\\3: unknown kind conjecture",
      p + "\\0\\4: \\even (zPredT) is used before its definition",
      p + "\\0\\5: defined notion \\102(noSuchT)",
      p + "\\0\\5: \\even (zPredT) is used before its definition",
      p + "\\0\\8: the formulation does not use \\abs (rFunc1T)",
      p + "\\0\\8: Invalid format of the left part of the definition.",
      p + "\\0\\9: The definition should be formulated with \\ByDef symbol or equality.",
      p + "\\0\\10: an implication whose premise is an implication (bracket the conclusion: A => (B => C))",
      "intro.htm: command link BOOK/logi/0/0/99",
      "intro.htm: link gone.htm",
      "intro.htm: link #top",
  };
  EXPECT_EQ(faults, expected);
}

// Every picture of a page must be a picture file of the book: a missing one,
// one that is not a picture and one the HTML window could not load from the
// book are each named with the page and the source as written.
TEST_F(BookCheck, PicturesOfPagesAreFilesOfTheBook) {
  testing::TempDir dir;
  const fs::path book = dir.Path() / "book";
  fs::create_directories(book / "fig");
  std::ofstream(book / "content", std::ios::binary) << testing::CrLf({"S", "pictures.htm", "B", "Книга"_cp});
  const auto picture = [&](const std::string& name, std::string_view bytes) {
    std::ofstream(book / "fig" / name, std::ios::binary) << bytes;
  };
  picture("ok.png", std::string_view("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  picture("ok.jpg", "\xFF\xD8\xFF\xE0");
  picture("ok.gif", "GIF89a");
  picture("text.png", "<html>not a picture</html>");
  picture("empty.png", "");
  picture("short.png", "\x89PN");  // cut off inside the signature
  fs::create_directories(book / "fig" / "dir.png");
  const struct {
    std::string tag;
    std::string fault;  // empty: sound
  } cases[] = {
      {R"(<img src="fig/ok.png" alt="a">)", ""},
      {R"(<IMG ALT="b" SRC="fig/ok.jpg">)", ""},
      {"<img src='fig/ok.gif'>", ""},
      {"<img\n  src=fig/ok.png>", ""},
      {R"(<img data-src="fig/gone.png" src="fig/ok.png">)", ""},
      {R"(<img src="fig/gone.png">)", "image fig/gone.png is missing"},
      {R"(<img alt="no source"><img src="fig/other.png">)", "image fig/other.png is missing"},
      {R"(<img src="fig/dir.png">)", "image fig/dir.png is missing"},
      {R"(<img src="fig/text.png">)", "image fig/text.png is not a picture"},
      {R"(<img src="fig/empty.png">)", "image fig/empty.png is not a picture"},
      {R"(<img src="fig/short.png">)", "image fig/short.png is not a picture"},
      {R"(<img src="">)", "image  is not a file of the book"},
      {R"(<img src="https://example.org/a.png">)", "image https://example.org/a.png is not a file of the book"},
      {R"(<img src="data:image/png;base64,AAAA">)", "image data:image/png;base64,AAAA is not a file of the book"},
      {R"(<img src="/tmp/a.png">)", "image /tmp/a.png is not a file of the book"},
  };
  for (const auto& [tag, fault] : cases) {
    SCOPED_TRACE(tag);
    std::ofstream(book / "pictures.htm", std::ios::binary) << "<p>" << tag << "</p>";
    TBook loaded;
    loaded.Path = SystemPath(dir.Path().string()).value() + "\\book";
    loaded.Load();
    const std::vector<std::string> expected =
        fault.empty() ? std::vector<std::string>{} : std::vector<std::string>{"pictures.htm: " + fault};
    EXPECT_EQ(CheckBook(loaded), expected);
  }
}

}  // namespace
}  // namespace lemmix
