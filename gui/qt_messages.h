// Messages and questions shown in the program's own windows.
#pragma once

#include "shell/message.h"

namespace lemmix {

class TMessageForm;
class TQuestForm;

class QtMessages : public IMessages, public IQuestions {
 public:
  QtMessages(TMessageForm& messageForm, TQuestForm& questForm) : messageForm_(messageForm), questForm_(questForm) {}

  void Info(const TMessage& message) override;
  void Error(const TMessage& message) override;
  bool Ask(const TMessage& question) override;

 private:
  TMessageForm& messageForm_;
  TQuestForm& questForm_;
};

}  // namespace lemmix
