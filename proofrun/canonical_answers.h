// The answers of a proof UI with every formula in the form a formula edit
// gives it: typed text is read into letters and written back as stored text.
// The driver asks through it, so a proof records the same protocol whether
// its formulas were typed in the window, read from a script or replayed, and
// spacing never makes two protocols of one proof differ.
#pragma once

#include "proofrun/proof_ui.h"

namespace lemmix {

// Stored text as a formula edit writes it; the text itself when it is no formula.
std::string CanonicalFormulaText(std::string_view text);

class TCanonicalAnswers : public IProofUi {
 public:
  explicit TCanonicalAnswers(IProofUi& ui) : ui_(ui) {}

  std::optional<std::string> Formula(int caption, std::string_view suffix, std::string_view defaultText) override;
  std::optional<TDefinitionAnswer> Definition() override;
  std::optional<std::vector<std::string>> Element(int caption, std::string_view sequence) override;
  const TStatement* Statement() override { return ui_.Statement(); }
  std::optional<std::size_t> ChooseTransformation(const std::vector<TTransformChoice>& offered) override {
    return ui_.ChooseTransformation(offered);
  }
  std::optional<std::size_t> Choose(std::string_view caption, const std::vector<std::string>& items) override {
    return ui_.Choose(caption, items);
  }
  std::optional<std::vector<bool>> Mark(std::string_view caption, const std::vector<std::string>& items) override {
    return ui_.Mark(caption, items);
  }
  bool ProveFirst(const std::vector<std::string>& conditions) override { return ui_.ProveFirst(conditions); }
  std::optional<bool> AddRequiredObject() override { return ui_.AddRequiredObject(); }
  std::optional<TSubstituteAnswer> Substitute(std::string_view variable, const std::vector<std::string>& candidates) override;
  void SubproofDone(const std::string& rus, const std::string& eng) override { ui_.SubproofDone(rus, eng); }

 private:
  IProofUi& ui_;
};

}  // namespace lemmix
