// Messages and questions on the terminal: texts go to standard error in
// Russian (or English), questions are answered No unless told otherwise.
#pragma once

#include <cstdio>

#include "shell/message.h"

namespace lemmix {

class CliMessages : public IMessages, public IQuestions {
 public:
  CliMessages(bool english, bool answerYes, std::FILE* out = stderr)
      : english_(english), answerYes_(answerYes), out_(out) {}

  void Info(const TMessage& message) override;
  void Error(const TMessage& message) override;
  bool Ask(const TMessage& question) override;

  int ErrorCount() const { return errors_; }

 private:
  void Print(const TMessage& label, const TMessage& message);

  bool english_;
  bool answerYes_;
  std::FILE* out_;
  int errors_ = 0;
};

}  // namespace lemmix
