#include "shell/recording_messages.h"

namespace lemmix {

bool RecordingMessages::Ask(const TMessage& question) {
  entries_.push_back({Kind::Question, question});
  if (answers_.empty()) return defaultAnswer_;
  const bool answer = answers_.front();
  answers_.pop_front();
  return answer;
}

}  // namespace lemmix
