// A message and question port that keeps everything it is told, for tests and
// for callers that decide afterwards what to show. Questions are answered from
// a script; when the script is used up, the default answer is given.
#pragma once

#include <deque>
#include <vector>

#include "shell/message.h"

namespace lemmix {

class RecordingMessages : public IMessages, public IQuestions {
 public:
  enum class Kind { Info, Error, Question };
  struct Entry {
    Kind kind;
    TMessage message;
  };

  void Info(const TMessage& message) override { entries_.push_back({Kind::Info, message}); }
  void Error(const TMessage& message) override { entries_.push_back({Kind::Error, message}); }
  bool Ask(const TMessage& question) override;

  void ScriptAnswers(std::initializer_list<bool> answers) { answers_.insert(answers_.end(), answers); }
  void SetDefaultAnswer(bool answer) { defaultAnswer_ = answer; }

  const std::vector<Entry>& Entries() const { return entries_; }
  void Clear() { entries_.clear(); }

 private:
  std::vector<Entry> entries_;
  std::deque<bool> answers_;
  bool defaultAnswer_ = false;
};

}  // namespace lemmix
