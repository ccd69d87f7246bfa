// Where automatic steps report themselves while the proof field is shown or a
// full protocol is written: a line of Russian text with the formula it is
// about. The information window shows them as a tree, with the formula laid out.
#pragma once

#include <string>

namespace lemmix {

class TExpr;

class IInfoSink {
 public:
  virtual ~IInfoSink() = default;
  // `formula` may be null; the sink keeps its own copy when it needs one.
  virtual void Add(const std::string& text, const TExpr* formula) = 0;
};

}  // namespace lemmix
