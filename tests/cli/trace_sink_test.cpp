// The trace of lemmix-cli prove and task: the prover's lines indented by the
// level of the subproof they were reported in.
#include <gtest/gtest.h>

#include "cli/task_command.h"
#include "shell/cp1251.h"

namespace lemmix {
namespace {

TEST(TraceSink, IndentsThreeBlanksPerOpenLevelAndKeepsEveryLine) {
  TraceSink trace(false);
  trace.Add("a", nullptr);
  trace.GoDown();
  trace.Add("b", nullptr);
  trace.GoDown();
  trace.Add("c", nullptr);
  trace.GoUp(false);  // a trace cannot take back what it printed
  trace.Add("d", nullptr);
  trace.GoUp(true);
  trace.Add("e", nullptr);
  EXPECT_EQ(trace.lines, (std::vector<std::string>{"a", "   b", "      c", "   d", "e"}));
}

TEST(TraceSink, GoingUpFromTheTopChangesNothing) {
  TraceSink trace(false);
  trace.GoUp(true);
  trace.GoUp(false);
  trace.Add("Получено противоречие."_cp, nullptr);
  trace.GoDown();
  trace.Add("x", nullptr);
  EXPECT_EQ(trace.lines, (std::vector<std::string>{Cp1251ToUtf8("Получено противоречие."_cp), "   x"}));
}

}  // namespace
}  // namespace lemmix
