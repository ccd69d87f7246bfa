// A proof run from a script: the commands of a proof and the answers to its
// dialogs, one per line, as docs/prove.md describes. The command line's
// `prove` and the tests drive the proof driver with it.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "proofrun/proof_ui.h"

namespace lemmix {

class TBook;
class TProofDriver;

// The answers: each dialog takes the next line, unless it is a command (it
// starts with "!") or there is none: then the dialog is cancelled.
class TScriptUi : public IProofUi {
 public:
  TScriptUi(const TBook& book, std::vector<std::string> lines);

  std::optional<std::string> Formula(int caption, std::string_view suffix, std::string_view defaultText) override;
  std::optional<TDefinitionAnswer> Definition() override;
  std::optional<std::vector<std::string>> Element(int caption, std::string_view sequence) override;
  const TStatement* Statement() override;
  std::optional<std::size_t> ChooseTransformation(const std::vector<TTransformChoice>& offered) override;
  std::optional<std::size_t> Choose(std::string_view caption, const std::vector<std::string>& items) override;
  std::optional<std::vector<bool>> Mark(std::string_view caption, const std::vector<std::string>& items) override;
  bool ProveFirst(const std::vector<std::string>& conditions) override;
  std::optional<bool> AddRequiredObject() override;
  std::optional<TSubstituteAnswer> Substitute(std::string_view variable, const std::vector<std::string>& candidates) override;
  void SubproofDone(const std::string& rus, const std::string& eng) override;

  // Runs the script's commands on the driver, calling `after` with the
  // command's line and its result after each. False when a command line is
  // not understood or lines remain after the proof ended (the line number is
  // then in `FaultLine`).
  bool Run(TProofDriver& driver, const std::function<void(const std::string&, bool)>& after);
  std::size_t FaultLine = 0;
  // The dialogs asked since it was last cleared, with the items they offered
  // and the answer taken ("cancelled" when there was none), and the messages
  // shown ("-> OK"): what a script writer needs to see.
  std::vector<std::string> Asked;

 private:
  // The next answer line, or nothing (cancelled) before a command or at the end.
  std::optional<std::string> Answer();
  // Takes the next line when it is one of the words.
  std::optional<std::string> Optional(const std::vector<std::string>& words);
  void Log(std::string dialog, const std::vector<std::string>& items, const std::optional<std::string>& answer);

  const TBook& book_;
  std::vector<std::string> lines_;
  std::size_t next_ = 0;
};

}  // namespace lemmix
