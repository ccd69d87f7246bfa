// The shared text helpers.
#include "shell/text_helpers.h"

#include <gtest/gtest.h>

#include "shell/context.h"
#include "shell/recording_messages.h"

namespace lemmix {
namespace {

class TextHelpers : public ::testing::Test {
 protected:
  std::string Last() { return messages.Entries().empty() ? "" : messages.Entries().back().message.Eng; }
  RecordingMessages messages;
  TContext context{messages, messages};
  TContextScope scope{context};
};

using Strings = std::vector<std::string>;

TEST_F(TextHelpers, SplitFields) {
  EXPECT_EQ(SplitFields("a, b,", ','), (Strings{"a", "b", ""}));
  EXPECT_EQ(SplitFields("a,,b", ','), (Strings{"a", "", "b"}));
  EXPECT_EQ(SplitFields(",", ','), (Strings{"", ""}));
  EXPECT_EQ(SplitFields("", ','), Strings{});
  EXPECT_EQ(SplitFields("  one  ", ','), Strings{"one"});
}

TEST_F(TextHelpers, ParseArguments) {
  EXPECT_EQ(ParseArguments("f(a,(b,c))", 1, 2), (Strings{"a", "(b,c)"}));
  EXPECT_EQ(ParseArguments(" f( a ,b) ", 1, -1), (Strings{" a ", "b"}));
  EXPECT_EQ(ParseArguments("f()", 1, 0), Strings{});
  const struct {
    const char* text;
    int length;
    int count;
    const char* message;
  } bad[] = {{"f(a,)", 1, -1, "Empty argument of an operator"},
             {"f(,a)", 1, -1, "Empty argument of an operator"},
             {"fg(a)", 1, -1, "The left bracket for arguments of an operator is absent in the particular place."},
             {"f a", 1, -1, "The left bracket for arguments of an operator is absent in the particular place."},
             {"f(a", 1, -1, "The right bracket for arguments of an operator is absent in the particular place."},
             {"f(a))", 1, -1, "In line of arguments there is an extra right bracket"},
             {"f(a,b)", 1, 3, "Invalid argument's number for an operator"}};
  for (const auto& c : bad) {
    EXPECT_EQ(ParseArguments(c.text, c.length, c.count), std::nullopt) << c.text;
    EXPECT_EQ(Last(), c.message) << c.text;
  }
}

TEST_F(TextHelpers, BracketsAndSplitting) {
  EXPECT_EQ(FindOutsideBrackets("(a,b),c", 1, ','), 6u);
  EXPECT_EQ(FindOutsideBrackets("a(b)", 1, '('), 2u);
  EXPECT_EQ(FindOutsideBrackets("abc", 1, ','), 0u);
  EXPECT_TRUE(messages.Entries().empty());
  EXPECT_EQ(FindOutsideBrackets("a),b", 1, ','), 0u);
  EXPECT_EQ(Last(), "Extra left bracket in string a),b");
  EXPECT_EQ(StripOuterBrackets("(a,b)"), "a,b");
  EXPECT_EQ(StripOuterBrackets("(a)(b)"), "(a)(b)");
  EXPECT_EQ(StripOuterBrackets("((a))"), "(a)");
  EXPECT_EQ(SplitOutsideBrackets("a,(b,c),d", ','), (Strings{"a", "(b,c)", "d"}));
  EXPECT_EQ(SplitOutsideBrackets("a,", ','), (Strings{"a", ""}));
  EXPECT_EQ(SplitOutsideBrackets("", ','), Strings{});
}

TEST_F(TextHelpers, ProtocolPathsAndLists) {
  EXPECT_EQ(UserProtocolPath("C:\\Lemmix\\book\\2\\5"), "C:\\Lemmix\\Protocols\\2\\5");
  EXPECT_EQ(UserProtocolPath("C:\\Book\\2"), "C:\\Protocols\\2");
  EXPECT_EQ(UserProtocolPath("C:\\Books\\book\\2"), "C:\\Books\\Protocols\\2");
  EXPECT_EQ(UserProtocolPath("C:\\other"), "C:\\other");
  std::vector<int> target = {1, 2, 3, 2};
  ListRemove(target, {2, 5});
  EXPECT_EQ(target, (std::vector<int>{1, 3, 2}));
  ListUnion(target, {2});
  EXPECT_EQ(target, (std::vector<int>{1, 3, 2, 2}));
  const std::vector<int> same = {1, 3, 2, 2};
  EXPECT_TRUE(SameElements(&target, &same));
  EXPECT_TRUE(SameElements(&target, &target));
  EXPECT_FALSE(SameElements<int>(&target, nullptr));
}

}  // namespace
}  // namespace lemmix
