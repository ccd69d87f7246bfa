// The terminal's messages and questions.
#include "cli/cli_messages.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "shell/cp1251.h"

namespace lemmix {
namespace {

// Everything CliMessages printed into a temporary file.
std::string Printed(std::FILE* file) {
  std::rewind(file);
  std::string text;
  for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
  return text;
}

TEST(CliMessages, RussianByDefaultWithRealLineFeeds) {
  std::FILE* out = std::tmpfile();
  CliMessages messages(false, false, out);
  messages.Error({"Ошибка в строке 2:\\n текст"_cp, "Error in line 2:\\n text"});
  messages.Info({"Готово"_cp, "Done"});
  EXPECT_EQ(Printed(out), Cp1251ToUtf8("Ошибка: Ошибка в строке 2:\nтекст\nСообщение: Готово\n"_cp));
  EXPECT_EQ(messages.ErrorCount(), 1);
  std::fclose(out);
}

TEST(CliMessages, EnglishWhenAskedAndRussianWhenThereIsNoTwin) {
  std::FILE* out = std::tmpfile();
  CliMessages messages(true, false, out);
  messages.Error({"Ошибка"_cp, "Failure"});
  messages.Info({"Только по-русски"_cp, ""});
  EXPECT_EQ(Printed(out), Cp1251ToUtf8("Error: Failure\nСообщение: Только по-русски\n"_cp));
  std::fclose(out);
}

TEST(CliMessages, QuestionsAreAnsweredNoUnlessTold) {
  std::FILE* out = std::tmpfile();
  CliMessages no(false, false, out);
  EXPECT_FALSE(no.Ask({"ЗАКРЫТЬ ЛЕММИКС?"_cp, "CLOSE LEMMIX?"}));
  CliMessages yes(true, true, out);
  EXPECT_TRUE(yes.Ask({"ЗАКРЫТЬ ЛЕММИКС?"_cp, "CLOSE LEMMIX?"}));
  EXPECT_EQ(Printed(out), Cp1251ToUtf8("Вопрос: ЗАКРЫТЬ ЛЕММИКС?\nНет\nQuestion: CLOSE LEMMIX?\nYes\n"_cp));
  std::fclose(out);
}

}  // namespace
}  // namespace lemmix
