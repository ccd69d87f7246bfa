#include "proofrun/canonical_answers.h"

#include "notation/items.h"

namespace lemmix {

std::string CanonicalFormulaText(std::string_view text) {
  const std::optional<TLetters> letters = StringToLetters(text);
  if (!letters) return std::string(text);
  const std::optional<std::string> stored = GetString({*letters}, 2, false);
  return stored ? *stored : std::string(text);
}

std::optional<std::string> TCanonicalAnswers::Formula(int caption, std::string_view suffix, std::string_view defaultText) {
  std::optional<std::string> text = ui_.Formula(caption, suffix, defaultText);
  if (text) *text = CanonicalFormulaText(*text);
  return text;
}

std::optional<TDefinitionAnswer> TCanonicalAnswers::Definition() {
  std::optional<TDefinitionAnswer> answer = ui_.Definition();
  // A recursive definition answers names separated by blanks, not a formula.
  if (answer && answer->Kind != TDefinitionAnswer::Recursive)
    for (std::string& line : answer->Lines) line = CanonicalFormulaText(line);
  return answer;
}

std::optional<std::vector<std::string>> TCanonicalAnswers::Element(int caption, std::string_view sequence) {
  std::optional<std::vector<std::string>> lines = ui_.Element(caption, sequence);
  if (lines)
    for (std::string& line : *lines) line = CanonicalFormulaText(line);
  return lines;
}

std::optional<TSubstituteAnswer> TCanonicalAnswers::Substitute(std::string_view variable,
                                                               const std::vector<std::string>& candidates) {
  std::optional<TSubstituteAnswer> answer = ui_.Substitute(variable, candidates);
  if (answer)
    if (std::string* text = std::get_if<std::string>(&*answer)) *text = CanonicalFormulaText(*text);
  return answer;
}

}  // namespace lemmix
