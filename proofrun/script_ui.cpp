#include "proofrun/script_ui.h"

#include <utility>
#include <algorithm>

#include "book/html_links.h"
#include "book/part.h"
#include "proofrun/driver.h"
#include "shell/context.h"
#include "shell/cp1251.h"
#include "shell/text.h"

namespace lemmix {

namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

// "a | b | c": the parts, trimmed.
std::vector<std::string> Parts(std::string_view line) {
  std::vector<std::string> parts;
  for (std::size_t start = 0;;) {
    const std::size_t bar = line.find('|', start);
    parts.emplace_back(Trim(line.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start)));
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  return parts;
}

}  // namespace

TScriptUi::TScriptUi(const TBook& book, std::vector<std::string> lines) : book_(book) {
  // Comments and blank lines say nothing.
  for (std::string& line : lines) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == '#') {
      lines_.emplace_back();
      continue;
    }
    lines_.emplace_back(trimmed);
  }
}

std::optional<std::string> TScriptUi::Answer() {
  while (next_ < lines_.size() && lines_[next_].empty()) ++next_;
  if (next_ >= lines_.size() || lines_[next_].front() == '!') return std::nullopt;
  const std::string line = lines_[next_++];
  if (Lower(line) == "cancel") return std::nullopt;
  return line;
}

std::optional<std::string> TScriptUi::Optional(const std::vector<std::string>& words) {
  std::size_t at = next_;
  while (at < lines_.size() && lines_[at].empty()) ++at;
  if (at >= lines_.size()) return std::nullopt;
  const std::string word = Lower(lines_[at]);
  if (std::find(words.begin(), words.end(), word) == words.end()) return std::nullopt;
  next_ = at + 1;
  return word;
}

void TScriptUi::Log(std::string dialog, const std::vector<std::string>& items, const std::optional<std::string>& answer) {
  for (std::size_t i = 0; i < items.size(); ++i) dialog += (i == 0 ? ": " : "; ") + std::to_string(i + 1) + ". " + items[i];
  Asked.push_back(dialog + " -> " + answer.value_or("cancelled"));
}

std::optional<std::string> TScriptUi::Formula(int caption, std::string_view suffix, std::string_view) {
  std::optional<std::string> line = Answer();
  Log(std::string(DialogCaption(caption, false)) + std::string(suffix), {}, line);
  return line;
}

std::optional<TDefinitionAnswer> TScriptUi::Definition() {
  const std::optional<std::string> line = Answer();
  Log(std::string(DialogCaption(0, false)), {}, line);
  if (!line) return std::nullopt;
  TDefinitionAnswer answer;
  std::string_view text = *line;
  const auto starts = [&](std::string_view word) {
    if (!Lower(text).starts_with(word)) return false;
    text = Trim(text.substr(word.size()));
    return true;
  };
  if (starts("cases:")) {
    answer.Kind = TDefinitionAnswer::Cases;
    answer.Lines = Parts(text);
  } else if (starts("recursive:")) {
    answer.Kind = TDefinitionAnswer::Recursive;
    answer.Lines = {std::string(text)};
  } else {
    starts("simple:");
    answer.Lines = {std::string(text)};
  }
  return answer;
}

std::optional<std::vector<std::string>> TScriptUi::Element(int caption, std::string_view sequence) {
  const std::optional<std::string> line = Answer();
  Log(std::string(DialogCaption(caption, false)) + std::string(sequence), {}, line);
  if (!line) return std::nullopt;
  return Parts(*line);
}

const TStatement* TScriptUi::Statement() {
  const std::optional<std::string> line = Answer();
  Log("Apply a statement", {}, line);
  if (!line) return nullptr;
  std::string path = *line;
  std::replace(path.begin(), path.end(), '/', '\\');
  if (path.starts_with("book")) path = path.substr(4);
  if (!path.starts_with("\\")) path = "\\" + path;
  const TStatement* statement = FindStatementByPath(book_, path);
  // A path that names nothing is a fault of the script, not a cancel.
  if (statement == nullptr)
    Ctx().Messages.Error({"Нет утверждения "_cp + *line, "No statement at " + *line});
  return statement;
}

std::optional<std::size_t> TScriptUi::ChooseTransformation(const std::vector<TTransformChoice>& offered) {
  std::vector<std::string> keys;
  for (const TTransformChoice& t : offered) keys.push_back(t.Key.empty() ? t.Name : t.Key);
  const std::optional<std::string> line = Answer();
  Log("Select a transformation", keys, line);
  if (!line) return std::nullopt;
  for (std::size_t i = 0; i < offered.size(); ++i)
    if (offered[i].Key == *line || offered[i].Name == *line || offered[i].Shown == *line) return i;
  if (const std::optional<int> number = ParseInt(*line); number && *number >= 1 && static_cast<std::size_t>(*number) <= offered.size())
    return static_cast<std::size_t>(*number - 1);
  Ctx().Messages.Error({"Такое преобразование не предлагается: "_cp + *line, "No such transformation is offered: " + *line});
  return offered.size();  // the caller refuses it
}

std::optional<std::size_t> TScriptUi::Choose(std::string_view caption, const std::vector<std::string>& items) {
  const std::optional<std::string> line = Answer();
  Log(std::string(caption), items, line);
  if (!line) return std::nullopt;
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i] == *line) return i;
  if (const std::optional<int> number = ParseInt(*line); number && *number >= 1 && static_cast<std::size_t>(*number) <= items.size())
    return static_cast<std::size_t>(*number - 1);
  Ctx().Messages.Error({"В списке нет "_cp + *line, "No such item in the list: " + *line});
  return items.size();  // the caller refuses it
}

std::optional<std::vector<bool>> TScriptUi::Mark(std::string_view caption, const std::vector<std::string>& items) {
  const std::optional<std::string> line = Answer();
  Log(std::string(caption), items, line);
  if (!line) return std::nullopt;
  std::vector<bool> marks(items.size(), false);
  std::string_view rest = *line;
  while (!rest.empty()) {
    const std::size_t blank = rest.find(' ');
    const std::string word(Trim(rest.substr(0, blank)));
    rest = blank == std::string_view::npos ? "" : rest.substr(blank + 1);
    for (std::size_t i = 0; i < items.size(); ++i)
      if (items[i] == word) marks[i] = true;
  }
  return marks;
}

bool TScriptUi::ProveFirst(const std::vector<std::string>& conditions) {
  const std::optional<std::string> word = Optional({"prove", "cancel"});
  Log("Prove first", conditions, word.value_or("prove"));
  return !word || *word == "prove";
}

std::optional<bool> TScriptUi::AddRequiredObject() {
  const std::optional<std::string> word = Optional({"add", "substitute"});
  Log("Add the object or substitute its value", {}, word.value_or("add"));
  return !word || *word == "add";
}

std::optional<TSubstituteAnswer> TScriptUi::Substitute(std::string_view variable, const std::vector<std::string>& candidates) {
  const std::optional<std::string> line = Answer();
  Log(std::string(DialogCaption(10, false)) + std::string(variable), candidates, line);
  if (!line) return std::nullopt;
  if (Lower(*line) == "refuse") return TSubstituteAnswer{TRefuse{}};
  if (Lower(*line).starts_with("object "))
    if (const std::optional<int> n = ParseInt(Trim(std::string_view(*line).substr(7))); n && *n >= 1)
      return TSubstituteAnswer{static_cast<std::size_t>(*n - 1)};
  for (std::size_t i = 0; i < candidates.size(); ++i)
    if (candidates[i] == *line) return TSubstituteAnswer{i};
  return TSubstituteAnswer{*line};
}

void TScriptUi::SubproofDone(const std::string&, const std::string& eng) { Log(eng, {}, "OK"); }

bool TScriptUi::Run(TProofDriver& driver, const std::function<void(const std::string&, bool)>& after) {
  while (driver.Open()) {
    while (next_ < lines_.size() && lines_[next_].empty()) ++next_;
    if (next_ >= lines_.size()) return true;
    const std::string line = lines_[next_];
    if (line.front() != '!') {
      FaultLine = next_ + 1;
      return false;
    }
    ++next_;
    std::vector<std::string> words;
    for (std::string_view rest = std::string_view(line).substr(1); !rest.empty();) {
      const std::size_t blank = rest.find(' ');
      if (std::string word(Trim(rest.substr(0, blank))); !word.empty()) words.push_back(Lower(word));
      rest = blank == std::string_view::npos ? "" : rest.substr(blank + 1);
    }
    if (words.empty()) {
      FaultLine = next_;
      return false;
    }
    bool result = false;
    const std::string& command = words[0];
    if (command == "define") result = driver.Act(TCommand::Define);
    else if (command == "apply") result = driver.Act(TCommand::Apply);
    else if (command == "cases") result = driver.Act(TCommand::Cases);
    else if (command == "auxiliary") result = driver.Act(TCommand::Auxiliary);
    else if (command == "conjecture") result = driver.Act(TCommand::Conjecture);
    else if (command == "contradiction") result = driver.Act(TCommand::Contradiction);
    else if (command == "induction") result = driver.Act(TCommand::Induction);
    else if (command == "undo") result = driver.Act(TCommand::Undo);
    else if (command == "mark" && words.size() == 3) {
      const std::optional<int> n = ParseInt(words[2]);
      if (!n || *n < 1) {
        FaultLine = next_;
        return false;
      }
      const std::size_t position = static_cast<std::size_t>(*n - 1);
      const TKernel& field = *driver.Current();
      const std::size_t count = words[1] == "given"     ? field.GivenConds.size()
                                : words[1] == "proving" ? field.ProvingConds.size()
                                                        : field.GivenObjects.size();
      if (position >= count)
        Ctx().Messages.Error({"В разделе нет строки "_cp + words[2], "The section has no line " + words[2]});
      if (words[1] == "given") result = driver.MarkCondition(TSection::GivenConds, position);
      else if (words[1] == "proving") result = driver.MarkCondition(TSection::ProvingConds, position);
      else if (words[1] == "object") result = driver.MarkGivenObject(position);
      else {
        FaultLine = next_;
        return false;
      }
    } else {
      FaultLine = next_;
      return false;
    }
    after(line, result);
  }
  // A command after the end of the proof would never be carried out.
  while (next_ < lines_.size() && lines_[next_].empty()) ++next_;
  if (next_ < lines_.size()) {
    FaultLine = next_ + 1;
    return false;
  }
  return true;
}

}  // namespace lemmix
