// The port through which the proof driver asks the user: every dialog of a
// proof is one call that answers with what was entered, or nothing when the
// dialog was cancelled. The proof window answers with its dialogs, a
// demonstration from the protocol it replays, a test or the command line
// from a script.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace lemmix {

class TStatement;

// The variable definition dialog: a definition by a formula, one by cases
// (values and conditions alternating), or the names of sequences defined
// recursively.
struct TDefinitionAnswer {
  enum Kind { Simple, Cases, Recursive } Kind = Simple;
  std::vector<std::string> Lines;
};

// The dialog of a substitution into a quantified variable: a given object of
// the list, an expression, or a refusal to substitute for this variable.
struct TRefuse {};
using TSubstituteAnswer = std::variant<std::size_t, std::string, TRefuse>;

// A transformation offered for a marked condition: the catalogue's key of a
// dialog transformation (empty for a script or a method), the name protocols
// record, the name shown and the help topic of its row (-1: the window's
// own); a method's choice names its statement.
struct TTransformChoice {
  std::string Key;
  std::string Name;
  std::string Shown;
  int HelpTopic = -1;
  const TStatement* Method = nullptr;
};

class IProofUi {
 public:
  virtual ~IProofUi() = default;
  // A formula in the dialog of the caption (an index of the dialog captions,
  // with `suffix` after it), starting from the default text.
  virtual std::optional<std::string> Formula(int caption, std::string_view suffix, std::string_view defaultText) = 0;
  virtual std::optional<TDefinitionAnswer> Definition() = 0;
  // The lines of one element of a recursive definition (caption 2: the first
  // element, 3: the (i+1)-th) of the sequence named.
  virtual std::optional<std::vector<std::string>> Element(int caption, std::string_view sequence) = 0;
  // A statement to apply, chosen among those before the one being proved.
  virtual const TStatement* Statement() = 0;
  // The transformation of a marked condition, among those offered.
  virtual std::optional<std::size_t> ChooseTransformation(const std::vector<TTransformChoice>& offered) = 0;
  // One item of a list (the induction variable, the (in)equality to add).
  virtual std::optional<std::size_t> Choose(std::string_view caption, const std::vector<std::string>& items) = 0;
  // Some items of a list (the nonstationary variables of an induction step).
  virtual std::optional<std::vector<bool>> Mark(std::string_view caption, const std::vector<std::string>& items) = 0;
  // The conditions to prove before an action: "Prove" (true) or "Cancel".
  virtual bool ProveFirst(const std::vector<std::string>& conditions) = 0;
  // A required object found by a definition: added as a given object (true)
  // or its value substituted (false).
  virtual std::optional<bool> AddRequiredObject() = 0;
  virtual std::optional<TSubstituteAnswer> Substitute(std::string_view variable, const std::vector<std::string>& candidates) = 0;
  // A subproof has been proved: the sentence that says so, in Russian and in
  // English (with the subproof's caption when it has one).
  virtual void SubproofDone(const std::string& /*rus*/, const std::string& /*eng*/) {}
};

}  // namespace lemmix
