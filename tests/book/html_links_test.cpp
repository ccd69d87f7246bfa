// Command links of the textbook's pages and finding statements by path.
#include "book/html_links.h"

#include <gtest/gtest.h>

namespace lemmix {
namespace {

TEST(HtmlLinks, CommandLinksAreParsed) {
  struct Case {
    const char* address;
    bool command;
    std::optional<THtmlCommandKind> kind;
    const char* path;
  };
  const Case cases[] = {
      {"file:///data/book/BOOKlogi\\0\\0\\2", true, THtmlCommandKind::Logi, "\\0\\0\\2"},
      {"book/prove/0/1/1", true, THtmlCommandKind::Prove, "/0/1/1"},
      {"x/Book/demo/1/0/0", true, THtmlCommandKind::Demo, "/1/0/0"},
      // The word right after BOOK is the command.
      {"BOOK/prove/logi/0", true, THtmlCommandKind::Prove, "/logi/0"},
      {"file:///data/book/BOOK/demo/6/7/3", true, THtmlCommandKind::Demo, "/6/7/3"},
      // Pages whose names or places hold a command word are pages.
      {"pages/prove.htm", false, std::nullopt, ""},
      {"functions.htm#loginfty", false, std::nullopt, ""},
      {"file:///data/book/functions.htm#loginfty", false, std::nullopt, ""},
      {"file:///data/book/demonstrations.htm", false, std::nullopt, ""},
      {"BOOK/logistics/0", false, std::nullopt, ""},
      {"BOOK/nothing/0", false, std::nullopt, ""},
      {"limits.htm#part2", false, std::nullopt, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsCommandLink(c.address), c.command) << c.address;
    const std::optional<THtmlCommand> parsed = ParseCommandLink(c.address);
    ASSERT_EQ(parsed.has_value(), c.kind.has_value()) << c.address;
    if (parsed) {
      EXPECT_EQ(parsed->Kind, *c.kind) << c.address;
      EXPECT_EQ(parsed->Path, c.path) << c.address;
    }
  }
}

TEST(HtmlLinks, PageKeysAndSlashes) {
  EXPECT_EQ(PageKey("file:///d/book/limits.htm#p2"), "limits.htm");
  EXPECT_EQ(PageKey("file:///d/Book\\0\\a.htm"), "0\\a.htm");
  EXPECT_EQ(PageKey("file:///d/other/a.htm"), std::nullopt);
  EXPECT_EQ(WithSlashes("\\0\\1"), "/0/1");
}

TEST(HtmlLinks, StatementsAreFoundByTheirPath) {
  TBook book;
  book.Path = "C:\\L\\book";
  TChapter& chapter = book.InsertChild(0);
  TParagraph& paragraph = chapter.InsertChild(0);
  TStatement& first = paragraph.InsertChild(0);
  TStatement& second = paragraph.InsertChild(1);
  EXPECT_EQ(FindStatementByPath(book, "\\0\\0\\0"), &first);
  EXPECT_EQ(FindStatementByPath(book, "/0/0/1"), &second);
  EXPECT_EQ(FindStatementByPath(book, "\\0/0\\1"), &second);
  for (const char* wrong : {"\\0\\0", "\\0\\0\\2", "\\0\\0\\1\\0", "\\1\\0\\0", ""})
    EXPECT_EQ(FindStatementByPath(book, wrong), nullptr) << wrong;
  DeleteNode(second);
  EXPECT_EQ(FindStatementByPath(book, "\\0\\0\\1"), nullptr);
}

}  // namespace
}  // namespace lemmix
