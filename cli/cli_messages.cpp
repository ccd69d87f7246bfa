#include "cli/cli_messages.h"

#include "shell/cp1251.h"

namespace lemmix {

void CliMessages::Print(const TMessage& label, const TMessage& message) {
  // A message without an English twin is shown in Russian either way.
  const bool english = english_ && !message.Eng.empty();
  const std::string line = (english ? label.Eng : label.Rus) + ": " + DisplayText(english ? message.Eng : message.Rus);
  std::fprintf(out_, "%s\n", Cp1251ToUtf8(line).c_str());
}

void CliMessages::Info(const TMessage& message) { Print({"Сообщение"_cp, "Message"}, message); }

void CliMessages::Error(const TMessage& message) {
  ++errors_;
  Print({"Ошибка"_cp, "Error"}, message);
}

bool CliMessages::Ask(const TMessage& question) {
  Print({"Вопрос"_cp, "Question"}, question);
  const bool english = english_ && !question.Eng.empty();
  const TMessage answer = answerYes_ ? TMessage{"Да"_cp, "Yes"} : TMessage{"Нет"_cp, "No"};
  std::fprintf(out_, "%s\n", Cp1251ToUtf8(english ? answer.Eng : answer.Rus).c_str());
  return answerYes_;
}

}  // namespace lemmix
