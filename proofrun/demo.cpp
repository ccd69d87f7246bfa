#include "proofrun/demo.h"

#include <algorithm>
#include <chrono>

#include "book/part.h"
#include "book/statement.h"
#include "proofrun/driver.h"
#include "proofrun/protocol.h"
#include "proofrun/protocol_keywords.h"
#include "shell/context.h"
#include "shell/cp1251.h"
#include "shell/recording_messages.h"
#include "shell/text.h"

namespace lemmix {

namespace {

std::string Keyword(int index) { return std::string(kProtocolKeywords[static_cast<std::size_t>(index)]); }

bool OneOf(int kind, std::initializer_list<int> kinds) {
  return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

TMessage UnexpectedRecord(std::string_view found, std::string_view expected) {
  const std::string f(found), e(expected);
  return {"Вместо ожидаемой записи \""_cp + e + "\" в файле протокола обнаружена запись\\n "_cp + f,
          "String \"" + f + "\" is found in protocol file \\n instead of expected string \"" + e + "\"."};
}

int NextRecordOf(const std::vector<std::string>& lines, int from) {
  const int count = static_cast<int>(lines.size());
  for (int at = std::max(from, 0); at < count; ++at)
    if (!Trim(lines[static_cast<std::size_t>(at)]).empty()) return at;
  return -1;
}

TMessage NotImplemented(int keyword) {
  const std::string k = keyword < 0 ? std::string() : Keyword(keyword);
  return {"Не реализована интерпретация записи проткола:\\n "_cp + k,
          "Interpretation of protocol string\\n " + k + "\\n is not implemented."};
}

// The node at a path relative to the book ("\6\24"): a section or a statement.
const TPathName* NodeAt(const TBook& book, std::string_view relative) {
  const TPathName* node = &book;
  std::size_t at = 0;
  while (node != nullptr && at < relative.size()) {
    while (at < relative.size() && (relative[at] == '\\' || relative[at] == '/')) ++at;
    if (at >= relative.size()) break;
    std::size_t end = at;
    while (end < relative.size() && relative[end] != '\\' && relative[end] != '/') ++end;
    const std::string_view name = relative.substr(at, end - at);
    const TPathName* next = nullptr;
    for (std::size_t i = 0; i < node->ChildCount() && next == nullptr; ++i) {
      const TPathName* child = node->Child(i);
      if (!child->Deleted && child->Name() == name) next = child;
    }
    node = next;
    at = end;
  }
  return node;
}

// Answers nothing: the driver's UI outside a demonstration that owns it.
class TNoAnswers : public IProofUi {
 public:
  std::optional<std::string> Formula(int, std::string_view, std::string_view) override { return std::nullopt; }
  std::optional<TDefinitionAnswer> Definition() override { return std::nullopt; }
  std::optional<std::vector<std::string>> Element(int, std::string_view) override { return std::nullopt; }
  const TStatement* Statement() override { return nullptr; }
  std::optional<std::size_t> ChooseTransformation(const std::vector<TTransformChoice>&) override {
    return std::nullopt;
  }
  std::optional<std::size_t> Choose(std::string_view, const std::vector<std::string>&) override { return std::nullopt; }
  std::optional<std::vector<bool>> Mark(std::string_view, const std::vector<std::string>&) override {
    return std::nullopt;
  }
  bool ProveFirst(const std::vector<std::string>&) override { return false; }
  std::optional<bool> AddRequiredObject() override { return std::nullopt; }
  std::optional<TSubstituteAnswer> Substitute(std::string_view, const std::vector<std::string>&) override {
    return std::nullopt;
  }
};

}  // namespace

int ProtocolKeyword(std::string_view record) {
  for (std::size_t i = 0; i < kProtocolKeywords.size(); ++i) {
    const std::string_view word = Trim(kProtocolKeywords[i]);
    if (!word.empty() && record.starts_with(word)) return static_cast<int>(i);
  }
  return -1;
}

// ---------------------------------------------------------------- TDemoUi

void TDemoUi::BeginStep(int first, int end) {
  cursor_ = first;
  end_ = end;
  failure_.reset();
  failureLine_ = 0;
}

std::string TDemoUi::Record(int line) const {
  const std::string_view text = TProtocolRecorder::WithoutMarks(protocol_.Lines[static_cast<std::size_t>(line)]);
  const std::size_t start = text.find_first_not_of(' ');
  return start == std::string_view::npos ? std::string() : std::string(text.substr(start));
}

int TDemoUi::NextRecord(int from) const {
  for (int at = from; at < end_; ++at)
    if (!Trim(protocol_.Lines[static_cast<std::size_t>(at)]).empty()) return at;
  return -1;
}

void TDemoUi::Fail(TMessage message, int line) {
  if (failure_) return;
  failure_ = std::move(message);
  failureLine_ = line + 1;
}

void TDemoUi::Unexpected(std::string_view expected) {
  const int at = NextRecord(std::max(cursor_, protocol_.VerifyPos()));
  Fail(UnexpectedRecord(at < 0 ? std::string() : Record(at), Trim(expected)), at < 0 ? end_ : at);
}

int TDemoUi::Find(std::initializer_list<int> kinds, int* kind) {
  for (int at = NextRecord(std::max(cursor_, protocol_.VerifyPos())); at >= 0; at = NextRecord(at + 1)) {
    const int k = ProtocolKeyword(Record(at));
    if (!OneOf(k, kinds)) continue;
    cursor_ = at + 1;
    if (kind != nullptr) *kind = k;
    return at;
  }
  Unexpected(Keyword(*kinds.begin()));
  return -1;
}

std::string TDemoUi::Argument(int line, int kind) const {
  const std::string record = Record(line);
  const std::size_t length = kProtocolKeywords[static_cast<std::size_t>(kind)].size();
  return record.size() > length ? record.substr(length) : std::string();
}

std::optional<std::string> TDemoUi::Formula(int caption, std::string_view suffix, std::string_view) {
  int kind = -1;
  switch (caption) {
    case 4:
      kind = kConsiderCase;
      break;
    case 7:
      kind = kProveConditionRecord;
      break;
    case 8:
      kind = kConjectureRecord;
      break;
    case 24:
      kind = kInitialValue;
      break;
    case 5:
      kind = kVariableName;
      break;
    case 9: {
      // The factor follows the multiplication the transformation's record names.
      const int at = Find({kMultiplyPositive, kMultiplyNonnegative, kMultiplyNonzero, kMultiplyAny}, &kind);
      if (at < 0) return std::nullopt;
      return Shown(caption, suffix, Argument(at, kind));
    }
    default:
      Unexpected(DialogCaption(caption, false));
      return std::nullopt;
  }
  const int at = NextRecord(std::max(cursor_, protocol_.VerifyPos()));
  if (caption == 24 && (at < 0 || ProtocolKeyword(Record(at)) != kInitialValue)) {
    Fail({"Ошибка 4 в DemoInduction (MainPr.cpp)."_cp, "Error 4 in DemoInduction (MainPr.cpp)."}, at < 0 ? end_ : at);
    return std::nullopt;
  }
  const int line = Find({kind});
  if (line < 0) return std::nullopt;
  const std::string argument = Argument(line, kind);
  if (caption != 5) return Shown(caption, suffix, argument);
  // "Variable name OLD changed to NEW": OLD is the name the dialog shows.
  const std::size_t changed = argument.find(kProtocolKeywords[kChangedTo]);
  if (changed == std::string::npos) {
    Fail({"Неверная запись в протоколе о переименовании переменной:\\n "_cp + Record(line),
          "Wrong protocol record about renaming variable:\\n " + Record(line)},
         line);
    return std::nullopt;
  }
  const std::string old = argument.substr(0, changed);
  if (old != suffix) {
    Fail({"Неверная запись в протоколе о переименовании переменной:\\n неверное старое имя переменной: "_cp + old,
          "Wrong protocol record about renaming variable:\\n incorrect old name of variable: " + old},
         line);
    return std::nullopt;
  }
  return Shown(caption, suffix, argument.substr(changed + kProtocolKeywords[kChangedTo].size()));
}

std::string TDemoUi::Shown(int caption, std::string_view suffix, std::string text) {
  if (display_ != nullptr) display_->Formula(caption, suffix, text);
  return text;
}

std::optional<TDefinitionAnswer> TDemoUi::Definition() {
  int kind = -1;
  const int line = Find({kDefineVariable, kDefineWithConditions, kRecursiveDefinition}, &kind);
  if (line < 0) return std::nullopt;
  TDefinitionAnswer answer;
  const std::string argument = Argument(line, kind);
  if (kind != kDefineWithConditions) {
    answer.Kind = kind == kDefineVariable ? TDefinitionAnswer::Simple : TDefinitionAnswer::Recursive;
    answer.Lines = {argument};
    if (display_ != nullptr) display_->Definition(answer);
    return answer;
  }
  // The values and conditions alternate; each value is an equality with the variable.
  answer.Kind = TDefinitionAnswer::Cases;
  for (int at = NextRecord(line + 1);; at = NextRecord(at + 1)) {
    const int expected = answer.Lines.size() % 2 == 0 ? kValue : kCondition;
    const int k = at < 0 ? -1 : ProtocolKeyword(Record(at));
    if (k == kEndOfDefinitionWithConditions && !answer.Lines.empty()) {
      cursor_ = at + 1;
      if (display_ != nullptr) display_->Definition(answer);
      return answer;
    }
    if (k != expected) {
      cursor_ = at < 0 ? end_ : at;
      Unexpected(Keyword(answer.Lines.empty() ? kValue : kEndOfDefinitionWithConditions));
      return std::nullopt;
    }
    const std::string part = Argument(at, k);
    answer.Lines.push_back(k == kValue ? argument + "=" + part : part);
  }
}

std::optional<std::vector<std::string>> TDemoUi::Element(int caption, std::string_view sequence) {
  const int element = caption == 2 ? kFirstElementDefined : kNextElementDefined;
  int kind = -1;
  const int line = Find({element, kAbortRecursiveDefinition}, &kind);
  if (line < 0) return std::nullopt;
  if (kind == kAbortRecursiveDefinition) {
    Fail({"Отказ от рекурсивного определения."_cp, "Recursive definition is canceled"}, line);
    return std::nullopt;
  }
  // The element's definition, then its conditions and values alternating.
  std::vector<std::string> lines = {Argument(line, kind)};
  for (int at = NextRecord(line + 1); at >= 0; at = NextRecord(at + 1)) {
    const int k = ProtocolKeyword(Record(at));
    if (k != (lines.size() % 2 == 1 ? kCondition : kValue)) break;
    lines.push_back(Argument(at, k));
    cursor_ = at + 1;
  }
  if (display_ != nullptr && lines.size() == 1) display_->Formula(caption, sequence, lines.front());
  return lines;
}

const TStatement* TDemoUi::Statement() {
  const int line = Find({kApplyStatement});
  if (line < 0) return nullptr;
  // "NAME (PATH)": the last ")" and the "(" before it delimit the path.
  const std::string argument = Argument(line, kApplyStatement);
  const std::size_t close = argument.rfind(')');
  const std::size_t open = close == std::string::npos ? std::string::npos : argument.rfind('(', close);
  if (open == std::string::npos || open == 0) {
    Fail({"Неверный путь к применяемому утверждению:\\n "_cp + argument,
          "Wrong path to the applied statement:\\n " + argument},
         line);
    return nullptr;
  }
  const std::string name(Trim(std::string_view(argument).substr(0, open)));
  const std::string path = argument.substr(open + 1, close - open - 1);
  const TPathName* node = NodeAt(book_, path);
  const TStatement* found = nullptr;
  if (node != nullptr && node->IsStatement()) {
    found = static_cast<const TStatement*>(node);
  } else if (node != nullptr && node != &book_) {
    // A paragraph: its statement of that name.
    for (std::size_t i = 0; i < node->ChildCount() && found == nullptr; ++i) {
      const TPathName* child = node->Child(i);
      if (!child->Deleted && child->IsStatement() && child->Lines[kEnglishNameLine] == name)
        found = static_cast<const TStatement*>(child);
    }
  }
  if (found == nullptr) {
    Fail({"Было применено несуществующее утверждение с путем\\n "_cp + path,
          "Unable to find applied statement with path\\n " + path},
         line);
    return nullptr;
  }
  const std::string& current = found->Lines[kEnglishNameLine];
  if (current != name) {
    Fail({"Название применяемого утверждения \""_cp + name + "\"\\n было изменено на \""_cp + current + "\"",
          "The name of the applied statement \"" + name + "\"\\n has been changed to \"" + current + "\""},
         line);
    return nullptr;
  }
  if (display_ != nullptr) display_->Statement(*found);
  return found;
}

std::optional<std::size_t> TDemoUi::ChooseTransformation(const std::vector<TTransformChoice>& offered) {
  const int marked = Find({kMarkedCondition});
  if (marked < 0) return std::nullopt;
  const std::string argument = Argument(marked, kMarkedCondition);
  const std::string number = argument.substr(0, argument.find(' '));
  const std::string kind =
      argument.find(Trim(kProtocolKeywords[kOfSection2])) != std::string::npos ? "данное"_cp : "доказываемое"_cp;
  const int line = NextRecord(marked + 1);
  if (line < 0) {
    Unexpected("");
    return std::nullopt;
  }
  const std::string record = Record(line);
  // What the protocol records for each choice: the dialog transformations
  // their keyword (with the factor or the relation after it), the others their name.
  const auto recorded = [](const TTransformChoice& choice) {
    if (choice.Key == "ConsiderForallD") return Keyword(kSubstituteForQuantified);
    if (choice.Key == "TimesIneqPosD") return Keyword(kMultiplyPositive);
    if (choice.Key == "TimesIneqNonnegD") return Keyword(kMultiplyNonnegative);
    if (choice.Key == "TimesEqNonzeroD") return Keyword(kMultiplyNonzero);
    if (choice.Key == "TimesEqD") return Keyword(kMultiplyAny);
    if (choice.Key == "AddEqvD") return Keyword(kAddToRelation);
    return choice.Name;
  };
  std::optional<std::size_t> chosen;
  for (std::size_t i = 0; i < offered.size() && !chosen; ++i)
    if (record == recorded(offered[i])) chosen = i;
  for (std::size_t i = 0; i < offered.size() && !chosen; ++i)
    if (!recorded(offered[i]).empty() && record.starts_with(recorded(offered[i]))) chosen = i;
  if (!chosen) {
    Fail({"Ошибка при чтении ассоциированного преобразования из протокола:\\n "_cp + kind + " условие "_cp + number +
              " не допускает преобразования\\n "_cp + record,
          "Error in protocol file for assosiated transformation:\\n " + kind + " condition " + number +
              " does not permit transformation\\n " + record},
         line);
    return std::nullopt;
  }
  // A factor or an added relation is read from this record by the next dialog.
  const std::string& key = offered[*chosen].Key;
  const bool readAgain = key.starts_with("Times") || key == "AddEqvD";
  cursor_ = readAgain ? line : line + 1;
  if (display_ != nullptr) display_->ChooseTransformation(offered, *chosen);
  return chosen;
}

std::optional<std::size_t> TDemoUi::Choose(std::string_view caption, const std::vector<std::string>& items) {
  const bool induction = caption == "Select induction variable";
  if (!induction && caption != "Add to (in)equality") {
    Unexpected(caption);
    return std::nullopt;
  }
  const int kind = induction ? kByInduction : kAddToRelation;
  const int line = Find({kind});
  if (line < 0) return std::nullopt;
  const std::string argument = Argument(line, kind);
  const auto found = std::find(items.begin(), items.end(), argument);
  if (found != items.end()) {
    const auto chosen = static_cast<std::size_t>(found - items.begin());
    if (display_ != nullptr) display_->Choose(caption, items, chosen);
    return chosen;
  }
  if (induction)
    Fail({"Ошибка 2 в DemoInduction (MainPr.cpp)."_cp, "Error 2 in DemoInduction (MainPr.cpp)."}, line);
  else
    Fail({"Сложение с несуществующим (не) равенством."_cp, "Unable to find inequality to add"}, line);
  return std::nullopt;
}

std::optional<std::vector<bool>> TDemoUi::Mark(std::string_view caption, const std::vector<std::string>& items) {
  const int at = NextRecord(std::max(cursor_, protocol_.VerifyPos()));
  if (at < 0 || ProtocolKeyword(Record(at)) != kNonstationaryVariables) {
    Fail({"Ошибка 3 в DemoInduction (MainPr.cpp)."_cp, "Error 3 in DemoInduction (MainPr.cpp)."}, at < 0 ? end_ : at);
    return std::nullopt;
  }
  cursor_ = at + 1;
  std::vector<bool> marks(items.size(), false);
  const std::string names = Argument(at, kNonstationaryVariables);
  std::string_view rest = names;
  while (!rest.empty()) {
    const std::size_t blank = rest.find(' ');
    const std::string name(rest.substr(0, blank));
    rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
    if (name.empty()) continue;
    const auto found = std::find(items.begin(), items.end(), name);
    if (found == items.end()) {
      Fail({"В файле протокола встретилась отсутствующая переменная "_cp + name,
            "In the prove field there is no variable " + name + " from protocol file."},
           at);
      return std::nullopt;
    }
    marks[static_cast<std::size_t>(found - items.begin())] = true;
  }
  if (display_ != nullptr) display_->Mark(caption, items, marks);
  return marks;
}

bool TDemoUi::ProveFirst(const std::vector<std::string>&) {
  int kind = -1;
  return Find({kTestConditionsRecord, kRefuseTestConditions}, &kind) >= 0 && kind == kTestConditionsRecord;
}

std::optional<bool> TDemoUi::AddRequiredObject() {
  int kind = -1;
  if (Find({kRequiredAdded, kRequiredSubstituted}, &kind) < 0) return std::nullopt;
  if (display_ != nullptr) display_->AddRequiredObject(kind == kRequiredAdded);
  return kind == kRequiredAdded;
}

std::optional<TSubstituteAnswer> TDemoUi::Substitute(std::string_view variable,
                                                     const std::vector<std::string>& candidates) {
  int kind = -1;
  const int line = Find({kSubstituted, kRefuseSubstitute}, &kind);
  if (line < 0) return std::nullopt;
  const std::string argument = Argument(line, kind);
  if (kind == kRefuseSubstitute) {
    if (argument == variable) return Shown(variable, candidates, TRefuse{});
    cursor_ = line;
    Unexpected(Keyword(kRefuseSubstitute) + std::string(variable));
    return std::nullopt;
  }
  // "Substituted E for V": V is the variable asked for.
  const std::string tail = Keyword(kForWord) + std::string(variable);
  if (argument.size() <= tail.size() || !argument.ends_with(tail)) {
    cursor_ = line;
    Unexpected(Keyword(kSubstituted) + "..." + tail);
    return std::nullopt;
  }
  const std::string value = argument.substr(0, argument.size() - tail.size());
  const auto found = std::find(candidates.begin(), candidates.end(), value);
  if (found != candidates.end())
    return Shown(variable, candidates, static_cast<std::size_t>(found - candidates.begin()));
  return Shown(variable, candidates, value);
}

TSubstituteAnswer TDemoUi::Shown(std::string_view variable, const std::vector<std::string>& candidates,
                                 TSubstituteAnswer answer) {
  if (display_ != nullptr) display_->Substitute(variable, candidates, answer);
  return answer;
}

// ---------------------------------------------------------------- TDemonstration

std::optional<TProtocolFault> ReadProtocolHead(const std::vector<std::string>& protocol, const TStatement& statement,
                                              TAutoSettings& settings, int& at) {
  // The twelve settings, in their order: "true"/"false" or a number; a value
  // of the other kind is taken and ignored.
  at = -1;
  for (const std::string& line : TAutoSettings{}.ProtocolLines()) {
    const std::string key = line.substr(0, line.find(" = ") + 3);
    at = NextRecordOf(protocol, at + 1);
    if (at < 0) return TProtocolFault{{"Пустой протокол доказательства."_cp, "The proof protocol is empty."}, 1};
    const std::string& read = protocol[static_cast<std::size_t>(at)];
    if (!read.starts_with(key))
      return TProtocolFault{{"В файле протокола встретилась строка "_cp + read + "\\n вместо ожидаемой строки "_cp + key,
                   "String \"" + read + "\" is found in protocol file \\n instead of expected string \"" + key + "\"."}, at + 1};
    const std::string value(Trim(std::string_view(read).substr(key.size())));
    if (value != "true" && value != "false" && !ParseInt(value))
      return TProtocolFault{{"В файле протокола в строке "_cp + key + "\\n встретилась неинтерпретируемая запись "_cp + value,
                   "Unable to interpret record \"" + value + " in line\\n " + key + "\\n of protocol file."}, at + 1};
    settings.ReadProtocolLine(read);
  }
  at = NextRecordOf(protocol, at + 1);
  const std::string beginning = Keyword(kBeginningOfProof);
  if (at < 0 || !protocol[static_cast<std::size_t>(at)].starts_with(beginning))
    return TProtocolFault{{"Неверное начало файла протокола."_cp, "Incorrect beginning of protocol file"}, at < 0 ? static_cast<int>(protocol.size()) : at + 1};
  const std::string_view name =
      TProtocolRecorder::WithoutMarks(protocol[static_cast<std::size_t>(at)]).substr(beginning.size());
  if (name != statement.Lines[kEnglishNameLine])
    return TProtocolFault{{"Выбранный файл протокола не соответствует выбранной теореме."_cp,
                 "The selected protocol file does not match to the theorem."}, at + 1};
  return std::nullopt;
}


std::optional<TMessage> ReplayCommand(TProofDriver& driver, const std::string& record) {
  const int keyword = ProtocolKeyword(record);
  if (keyword < 0)
    return TMessage{"Неинтерпретируемая запись в файле протокола:\\n "_cp + record,
                    "Unable to interpret protocol string:\\n " + record};
  const std::string argument =
      record.substr(std::min(record.size(), kProtocolKeywords[static_cast<std::size_t>(keyword)].size()));
  const TKernel* field = driver.Current();
  // "N of section S:": the position N and the section word.
  const auto numbered = [&](int section) -> std::optional<std::size_t> {
    const std::size_t blank = argument.find(' ');
    const std::optional<int> n = ParseInt(argument.substr(0, blank));
    if (!n || blank == std::string::npos || argument.substr(blank) != Keyword(section) || *n < 1) return std::nullopt;
    return static_cast<std::size_t>(*n - 1);
  };
  switch (keyword) {
    case kDefineVariable:
    case kDefineWithConditions:
    case kRecursiveDefinition:
      driver.Act(TCommand::Define);
      return std::nullopt;
    case kApplyStatement:
      driver.Act(TCommand::Apply);
      return std::nullopt;
    case kConsiderCase:
      driver.Act(TCommand::Cases);
      return std::nullopt;
    case kProveConditionRecord:
      driver.Act(TCommand::Auxiliary);
      return std::nullopt;
    case kConjectureRecord:
      driver.Act(TCommand::Conjecture);
      return std::nullopt;
    case kByContradiction:
      Ctx().Messages.Info(
          {"Применен метод доказательства от противного."_cp, "The method of proving by contradiction is used"});
      driver.Act(TCommand::Contradiction);
      return std::nullopt;
    case kByInduction:
      driver.Act(TCommand::Induction);
      return std::nullopt;
    case kMarkedVariable: {
      const std::optional<std::size_t> n = numbered(kOfSection1);
      if (const std::optional<std::size_t> required = numbered(kOfSection3)) {
        if (field == nullptr || *required >= field->RequiredObjects.size())
          return TMessage{"Ошибка при чтении из протокола:\\n искомого объекта номер "_cp + std::to_string(*required + 1),
                       "Error in protocol:\\n there is no required object number " + std::to_string(*required + 1)};
        // Only given objects are renamed; a marked required object has its value substituted.
        return TMessage{"Неверный номер переименовываемой переменной."_cp, "Invalid number of variable to be renamed."};
      }
      if (!n) return NotImplemented(keyword);
      if (field == nullptr || *n >= field->GivenObjects.size())
        return TMessage{"Ошибка при чтении из протокола:\\n данного объекта номер "_cp + std::to_string(*n + 1),
                     "Error in protocol:\\n there is no given object number " + std::to_string(*n + 1)};
      driver.MarkGivenObject(*n);
      return std::nullopt;
    }
    case kMarkedCondition: {
      const std::optional<std::size_t> given = numbered(kOfSection2);
      const std::optional<std::size_t> proving = numbered(kOfSection4);
      if (!given && !proving) return NotImplemented(keyword);
      const TSection section = given ? TSection::GivenConds : TSection::ProvingConds;
      const std::size_t n = given ? *given : *proving;
      const std::size_t size = field == nullptr ? 0 : given ? field->GivenConds.size() : field->ProvingConds.size();
      if (n >= size) {
        const std::string what = given ? "given" : "proving";
        return TMessage{"Ошибка при чтении ассоциированного преобразования из протокола:\\n нет "_cp +
                         (given ? "данного"_cp : "доказываемого"_cp) + " условия номер "_cp + std::to_string(n + 1),
                     "Error when reading an assosiated transformation from protocol file:\\n there is no " + what +
                         " condition number " + std::to_string(n + 1)};
      }
      if (driver.Offered(section, n).empty()) {
        const std::string kind = given ? "данное"_cp : "доказываемое"_cp;
        return TMessage{"Ошибка при чтении ассоциированного преобразования из протокола:\\n "_cp + kind + " условие "_cp +
                         std::to_string(n + 1) + " не допускает никаких преобразований"_cp,
                     "Error in protocol file for assosiated transformation:\\n " + kind + " condition " +
                         std::to_string(n + 1) + " does not permit any transformation"};
      }
      driver.MarkCondition(section, n);
      return std::nullopt;
    }
    case kBeginningOfProof:
      return TMessage{"Нельзя начать новое доказательство пока не закончено старое."_cp,
                   "New proof may not begin before the end of the old one"};
    case kProofAborted:
      return TMessage{"Доказательство прервано."_cp, "Proof is aborted."};
    default:
      return NotImplemented(keyword);
  }
}

TDemonstration::TDemonstration(TProofDriver& driver, TProtocolRecorder& protocol, const TBook& book)
    : driver_(driver), protocol_(protocol), book_(book), ui_(book, protocol), previous_(driver.SetUi(ui_)) {}

TDemonstration::~TDemonstration() {
  protocol_.EndDemonstration();
  driver_.SetUi(previous_);
}

bool TDemonstration::Succeeded() const { return ended_ && !failure_ && driver_.Succeeded(); }

bool TDemonstration::Fail(TMessage message, int line) {
  ended_ = true;
  if (!failure_) {
    Ctx().Messages.Error(message);
    failure_ = std::move(message);
    line_ = line;
  }
  return false;
}

int TDemonstration::NextRecord(int from) const {
  const int count = static_cast<int>(protocol_.Lines.size());
  for (int at = std::max(from, 0); at < count; ++at)
    if (!Trim(protocol_.Lines[static_cast<std::size_t>(at)]).empty()) return at;
  return -1;
}

bool TDemonstration::Begin(const TStatement& statement, std::vector<std::string> lines,
                           const std::string& fullProtocolPath) {
  ended_ = false;
  generic_ = false;
  failure_.reset();
  line_ = 0;
  if (!protocol_.StartDemonstration(std::move(lines), fullProtocolPath)) {
    // The recorder has said why.
    ended_ = true;
    failure_ = TMessage{"Невозможно открыть файл полного протокола."_cp, "The full protocol cannot be opened."};
    return false;
  }
  TAutoSettings settings = Ctx().Settings;
  int at = 0;
  if (std::optional<TProtocolFault> fault = ReadProtocolHead(protocol_.Lines, statement, settings, at))
    return Fail(std::move(fault->Message), fault->Line);
  Ctx().Settings = settings;
  protocol_.VerifyAfter(at);
  line_ = at + 1;
  if (!driver_.Start(statement, ""))
    return Fail({"Доказательство не начинается."_cp, "The proof does not start."}, line_);
  return Check(at, protocol_.VerifyPos(), Keyword(kBeginningOfProof));
}

bool TDemonstration::Check(int first, int end, const std::string& record) {
  if (const std::optional<TMessage>& failure = ui_.Failure()) return Fail(*failure, ui_.FailureLine());
  if (const auto& mismatch = protocol_.Mismatch())
    return Fail(UnexpectedRecord(mismatch->Found, mismatch->Expected), mismatch->Line);
  if (protocol_.TakeRollBack() || (!driver_.Open() && !driver_.Succeeded())) {
    generic_ = true;
    return Fail({"Шаг протокола не выполнен:\\n "_cp + record, "The step of the protocol failed:\\n " + record},
                first + 1);
  }
  const int verified = protocol_.VerifyPos();
  const std::string last = verified > 0 ? std::string(protocol_.Lines[static_cast<std::size_t>(verified - 1)]) : "";
  if (protocol_.MarksPlaced() > protocol_.MarksRead())
    return Fail({"В файле протокола не обнаружено символа поля доказательства в строке N "_cp +
                     std::to_string(verified) + " : \\n " + last,
                 "The protocol file lacks a proof-field mark at line " + std::to_string(verified) + ": \\n " + last},
                verified);
  if (protocol_.MarksPlaced() < protocol_.MarksRead())
    return Fail(
        {"В файле протокола обнаружен лишний символ поля доказательства в строке N "_cp + std::to_string(verified) +
             last,
         "The protocol file has a proof-field mark too many at line " + std::to_string(verified) + ": \\n " + last},
        verified);
  // Every record of the step must have been written again.
  const int left = NextRecord(verified);
  if (left >= 0 && left < end) {
    const std::string found(TProtocolRecorder::WithoutMarks(protocol_.Lines[static_cast<std::size_t>(left)]));
    generic_ = true;
    return Fail(UnexpectedRecord(found, ""), left + 1);
  }
  if (driver_.Succeeded()) {
    ended_ = true;
    const int more = NextRecord(verified);
    if (more >= 0) {
      const std::string& line = protocol_.Lines[static_cast<std::size_t>(more)];
      return Fail(
          {"Доказательство закончено, но протокол продолжается в строке "_cp + std::to_string(more + 1) + ":\\n " +
               line,
           "The proof is finished, but the protocol goes on at line " + std::to_string(more + 1) + ":\\n " + line},
          more + 1);
    }
    line_ = static_cast<int>(protocol_.Lines.size());
  }
  return true;
}

bool TDemonstration::Step() {
  if (ended_) return false;
  protocol_.TakeRollBack();
  const int first = NextRecord(protocol_.VerifyPos());
  if (first < 0) {
    const int count = static_cast<int>(protocol_.Lines.size());
    if (driver_.Level() > 0)
      return Fail({"Конец протокола доказательства.\\n Продолжите доказательство самостоятельно."_cp,
                   "The end of the protocol file.\\n Continue the proof yourself."},
                  count);
    return Fail({"Пустой протокол доказательства."_cp, "The proof protocol is empty."}, count);
  }
  line_ = first + 1;
  int end = first;
  const int count = static_cast<int>(protocol_.Lines.size());
  while (end < count && !Trim(protocol_.Lines[static_cast<std::size_t>(end)]).empty()) ++end;

  const std::string_view raw = TProtocolRecorder::WithoutMarks(protocol_.Lines[static_cast<std::size_t>(first)]);
  const std::size_t blanks = raw.find_first_not_of(' ');
  if (blanks != 3 * static_cast<std::size_t>(driver_.Level()))
    return Fail({"Неверный отступ в файле протокола."_cp, "Wrong indent in protocol file."}, first + 1);
  const std::string record(raw.substr(blanks));
  ui_.BeginStep(first, end);
  if (std::optional<TMessage> failure = ReplayCommand(driver_, record)) return Fail(std::move(*failure), first + 1);
  if (!Check(first, end, record)) return false;
  line_ = std::max(line_, protocol_.VerifyPos());
  return true;
}

// ---------------------------------------------------------------- verification

TVerifyResult VerifyProtocol(const TBook& book, const TStatement& statement, const std::vector<std::string>& lines,
                             const TAssotProccess* assot, TMethodProofs* methods) {
  const auto start = std::chrono::steady_clock::now();
  // A context of its own: the messages are kept, the caller's settings stay.
  const TContext& outer = Ctx();
  RecordingMessages messages;
  TContext context(messages, messages);
  InheritRun(context, outer);
  // Verification keeps no tree of reports.
  context.Commenting = false;
  context.Info = nullptr;
  context.DemoRunning = true;
  const TContextScope scope(context);

  TVerifyResult result;
  {
    TProtocolRecorder protocol(messages);
    TNoAnswers none;
    TProofDriver driver(none, protocol, book, assot);
    if (methods) driver.SetMethodProofs(*methods);
    TDemonstration demo(driver, protocol, book);
    // The messages of the last step: the driver's reason when a step did not go through.
    std::size_t stepStart = 0;
    if (demo.Begin(statement, lines))
      while (!demo.Ended()) {
        stepStart = messages.Entries().size();
        if (!demo.Step()) break;
      }
    result.Passed = demo.Succeeded();
    result.Line = demo.Line();
    if (!result.Passed) {
      TMessage said =
          demo.Failure().value_or(TMessage{"Доказательство не закончено."_cp, "The proof is not finished."});
      if (demo.FailureIsGeneric()) {
        const std::vector<RecordingMessages::Entry>& entries = messages.Entries();
        // The demonstration's own message comes last.
        for (std::size_t i = stepStart; i + 1 < entries.size(); ++i)
          if (entries[i].kind == RecordingMessages::Kind::Error) said = entries[i].message;
      }
      result.Message = DisplayText(said.Eng);
      result.Said = said;
    }
  }
  result.Milliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  return result;
}

}  // namespace lemmix
