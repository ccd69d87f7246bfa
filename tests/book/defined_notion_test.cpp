// The defined notion of a definition: finding its function and writing its field.
#include "book/defined_notion.h"

#include <gtest/gtest.h>

#include "../expr/expr_fixture.h"
#include "intrinsics/st_func.h"

namespace lemmix {
namespace {

class DefinedNotion : public testing::ExprTest {};

TEST_F(DefinedNotion, FunctionByNumberOrWord) {
  TIntr* abs = context.StFunc->FindByWord("\\abs", false);
  ASSERT_NE(abs, nullptr);
  const std::string number = "\\" + std::to_string(abs->Number);
  struct Case {
    std::string field;
    TIntr* expected;
  };
  const Case cases[] = {
      {number + "(rFunc1T)", abs},
      {number, abs},
      {" \\abs (rFunc1T)", abs},
      {"\\abs", abs},
      {"\\nothing(rT)", nullptr},
      {"(rT)", nullptr},
      {"", nullptr},
  };
  for (const Case& c : cases) EXPECT_EQ(DefinedNotionFunction(c.field), c.expected) << c.field;
}

TEST_F(DefinedNotion, FieldListsTheTypesOfTheUse) {
  const TIntr& abs = *context.StFunc->FindByWord("\\abs", false);
  EXPECT_EQ(DefinedNotionField(abs, "| x |"), "\\" + std::to_string(abs.Number) + "(rFunc1T)");
  messages.Clear();
  EXPECT_EQ(DefinedNotionField(abs, "x + 1"), std::nullopt);  // no use of the notion
  ASSERT_FALSE(messages.Entries().empty());
  EXPECT_EQ(messages.Entries().back().message.Eng, "Error in argument types of the defined notion.");
  EXPECT_EQ(DefinedNotionField(abs, "| x"), std::nullopt);  // cannot be read
}

}  // namespace
}  // namespace lemmix
