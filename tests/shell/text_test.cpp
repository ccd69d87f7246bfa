// Text encoding, message texts and the small string helpers.
#include "shell/text.h"

#include <gtest/gtest.h>

#include "shell/cp1251.h"
#include "shell/files.h"
#include "shell/message.h"

namespace lemmix {
namespace {

TEST(Cp1251, LiteralsAreSingleByte) {
  const std::string text = "Ёлка №1 ещё"_cp;
  EXPECT_EQ(text.size(), 11u);
  EXPECT_EQ(static_cast<unsigned char>(text[0]), 0xA8);   // Ё
  EXPECT_EQ(static_cast<unsigned char>(text[5]), 0xB9);   // №
  EXPECT_EQ(static_cast<unsigned char>(text[10]), 0xB8);  // ё
  EXPECT_EQ(""_cp, "");
}

TEST(Cp1251, EveryByteRoundTripsThroughUtf8) {
  for (int byte = 1; byte < 256; ++byte) {
    if (byte == 0x98) continue;  // the one byte cp1251 leaves unassigned
    const std::string one(1, static_cast<char>(byte));
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(one)), one) << byte;
  }
  EXPECT_EQ(Cp1251ToUtf8("Привет"_cp), "Привет");
  EXPECT_EQ(Utf8ToCp1251("∀x ∈ ℝ"), "?x ? ?");
  EXPECT_EQ(Utf8ToCp1251("\xC3"), "?");  // a cut sequence
}

TEST(Messages, DisplayTextTurnsTheMarkerIntoLineFeeds) {
  EXPECT_EQ(DisplayText("a:\\n b\\n c"), "a:\nb\nc");
  EXPECT_EQ(DisplayText("a\\nb"), "a\\nb");  // only backslash, n, blank is the marker
  EXPECT_EQ(DisplayText("\\n "), "\n");
}

TEST(Messages, InternalErrorTexts) {
  EXPECT_EQ(InternalError(1, "function TestType", "Types", "функции TestType"_cp),
            (TMessage{"Ошибка 1 в функции TestType (Types)"_cp, "Error 1 in function TestType (Types)"}));
  EXPECT_EQ(InternalError(2, "TExpr::Comp", "Expr"),
            (TMessage{"Ошибка 2 в TExpr::Comp (Expr)"_cp, "Error 2 in TExpr::Comp (Expr)"}));
  EXPECT_EQ(DeveloperError(14, "TExpr::Comp", "Expr"),
            (TMessage{"Ошибка разработчика 14 : in TExpr::Comp (Expr)."_cp, "Error 14 in TExpr::Comp (Expr)."}));
}

TEST(Text, TrimRemovesBlanksAndControlCharacters) {
  EXPECT_EQ(Trim(" \t a b \r"), "a b");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim("Я"_cp), "Я"_cp);  // bytes above 0x7F are letters, not blanks
}

TEST(Text, ParseInt) {
  EXPECT_EQ(ParseInt("0"), 0);
  EXPECT_EQ(ParseInt("  42"), 42);
  EXPECT_EQ(ParseInt("-2"), -2);
  EXPECT_EQ(ParseInt("+7"), 7);
  for (const char* bad : {"", " ", "x", "2x", "2 ", "1.5", "99999999999", "--1"})
    EXPECT_EQ(ParseInt(bad), std::nullopt) << bad;
}

TEST(Files, SplitLines) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(SplitLines(""), Lines{});
  EXPECT_EQ(SplitLines("a"), Lines{"a"});
  EXPECT_EQ(SplitLines("a\r\n"), Lines{"a"});
  EXPECT_EQ(SplitLines("a\r\n\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(SplitLines("a\nb\rc\r\n"), (Lines{"a", "b", "c"}));
  EXPECT_EQ(SplitLines("\n\n"), (Lines{"", ""}));
  EXPECT_EQ(SplitLines(std::string("a\0b", 3)), Lines{std::string("a\0b", 3)});
}

TEST(Files, PathsInsideUseBackslashesAndCp1251) {
  EXPECT_EQ(NativePath("/data\\book\\1"), "/data/book/1");
  EXPECT_EQ(NativePath("\\книга"_cp), "/книга");
  EXPECT_EQ(DisplayPath("d\\TYPES.DAT"), "d/TYPES.DAT");
  EXPECT_EQ(SystemPath("/home/учебник"), "/home/учебник"_cp);
  EXPECT_EQ(SystemPath("/home/数学"), std::nullopt);
}

}  // namespace
}  // namespace lemmix
