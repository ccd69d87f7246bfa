// Where automatic steps report themselves while the proof field is shown or a
// full protocol is written: a line of Russian text with the formula it is
// about. The reports form a tree that follows the levels of the proof: the
// line that opens a subproof holds the reports made inside it. The
// information window shows the tree, with the formulas laid out.
#pragma once

#include <string>

namespace lemmix {

class TExpr;

class IInfoSink {
 public:
  virtual ~IInfoSink() = default;
  // Adds the line as the last report of the current level. `formula` may be
  // null; the sink keeps its own copy when it needs one.
  virtual void Add(const std::string& text, const TExpr* formula) = 0;
  // A subproof opens: the reports go below the last one added, until GoUp.
  virtual void GoDown() {}
  // The subproof is left: back to the reports of the level above. Without
  // `keep` (the subproof failed or was taken back) the line that opened it
  // goes, with everything reported below it.
  virtual void GoUp(bool /*keep*/) {}
};

}  // namespace lemmix
