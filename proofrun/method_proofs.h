// Whether a method statement's correctness has been proved, as a proof that
// may use the method needs to know: one of the statement's protocols replays
// to the successful end of its correctness proof. A replay is kept with the
// statement's lines and the protocol's text it read, so a book's methods are
// replayed once however many proofs start, and again after either changes.
#pragma once

#include <map>
#include <set>
#include <string>

namespace lemmix {

class TAssotProccess;
class TBook;
class TStatement;

class TMethodProofs {
 public:
  bool Proved(const TBook& book, const TStatement& statement, const TAssotProccess* assot);
  // Every replay is forgotten (the book was edited).
  void Clear() { known_.clear(); }

 private:
  // Statement path → what was read (lines and protocols) and the verdict.
  std::map<std::string, std::pair<std::string, bool>> known_;
  // The statements being replayed: a method is never its own evidence.
  std::set<const TStatement*> replaying_;
};

}  // namespace lemmix
