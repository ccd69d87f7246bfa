#include "cli/cli_messages.h"

#include "shell/cp1251.h"

namespace lemmix {

void CliMessages::Print(const char* rusLabel, const char* engLabel, const TMessage& message) {
  // A message without an English twin is shown in Russian either way.
  const bool english = english_ && !message.Eng.empty();
  const std::string text = DisplayText(english ? message.Eng : message.Rus);
  std::fprintf(out_, "%s: %s\n", english ? engLabel : rusLabel, Cp1251ToUtf8(text).c_str());
}

void CliMessages::Info(const TMessage& message) { Print("Сообщение", "Message", message); }

void CliMessages::Error(const TMessage& message) {
  ++errors_;
  Print("Ошибка", "Error", message);
}

bool CliMessages::Ask(const TMessage& question) {
  Print("Вопрос", "Question", question);
  const bool english = english_ && !question.Eng.empty();
  std::fprintf(out_, "%s\n", answerYes_ ? (english ? "Yes" : "Да") : (english ? "No" : "Нет"));
  return answerYes_;
}

}  // namespace lemmix
