// The proof window's answers to the proof driver: each question of a proof
// opens its dialog over the window, and a cancelled dialog answers nothing.
#pragma once

#include <functional>

#include "proofrun/demo.h"
#include "proofrun/proof_ui.h"

class QWidget;

namespace lemmix {

class IQuestions;
class TBook;

class TQtProofUi : public IProofUi {
 public:
  TQtProofUi(QWidget& window, const TBook& book, const TStatement& proved, IQuestions& questions);
  void SetHelp(std::function<void(int)> openHelp) { openHelp_ = std::move(openHelp); }
  // Where the end of a subproof is told (the window's status line): no dialog
  // stops the student at every closed subproof.
  void SetSubproofDone(std::function<void(const std::string&)> told) { subproofDone_ = std::move(told); }

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

 private:
  // The input of one formula under the caption.
  std::optional<std::string> Input(const std::string& caption, std::string_view defaultText);

  QWidget& window_;
  const TBook& book_;
  const TStatement& proved_;
  IQuestions& questions_;
  std::function<void(int)> openHelp_;
  std::function<void(const std::string&)> subproofDone_;
};

// A stepping demonstration's dialogs: the proof window's own, filled in as
// the protocol answered them, read-only; a key or "OK" lets the step go on.
class TQtDemoDisplay : public IDemoDisplay {
 public:
  TQtDemoDisplay(QWidget& window, const TBook& book, const TStatement& proved)
      : window_(window), book_(book), proved_(proved) {}

  void Formula(int caption, std::string_view suffix, std::string_view text) override;
  void Definition(const TDefinitionAnswer& answer) override;
  void Statement(const TStatement& statement) override;
  void ChooseTransformation(const std::vector<TTransformChoice>& offered, std::size_t chosen) override;
  void Choose(std::string_view caption, const std::vector<std::string>& items, std::size_t chosen) override;
  void Mark(std::string_view caption, const std::vector<std::string>& items, const std::vector<bool>& marks) override;
  void AddRequiredObject(bool add) override;
  void Substitute(std::string_view variable, const std::vector<std::string>& candidates,
                  const TSubstituteAnswer& answer) override;

  // The property that marks a dialog shown this way.
  static constexpr const char* kShownProperty = "demonstrated";

 private:
  QWidget& window_;
  const TBook& book_;
  const TStatement& proved_;
};

}  // namespace lemmix
