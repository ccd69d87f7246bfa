#include "proofrun/proof_export.h"

#include <algorithm>

#include "book/part.h"
#include "book/search.h"
#include "book/statement.h"
#include "book/statement_kind.h"
#include "intrinsics/letter.h"
#include "notation/output.h"
#include "notation/parser.h"
#include "proofrun/assot.h"
#include "proofrun/demo.h"
#include "proofrun/driver.h"
#include "proofrun/protocol.h"
#include "proofrun/protocol_keywords.h"
#include "proofrun/script_ui.h"
#include "shell/context.h"
#include "shell/cp1251.h"
#include "shell/recording_messages.h"
#include "shell/settings.h"
#include "shell/text.h"

namespace lemmix {

namespace {

std::string Word(int keyword) { return std::string(Trim(kProtocolKeywords[static_cast<std::size_t>(keyword)])); }
std::string After(std::string_view record, int keyword) {
  return std::string(
      Trim(record.substr(std::min(record.size(), kProtocolKeywords[static_cast<std::size_t>(keyword)].size()))));
}

class TTeller {
 public:
  explicit TTeller(const TExportSources& sources) : s_(sources) {}

  // A Russian text (Windows-1251) or the English one, as UTF-8.
  std::string Say(const std::string& rus, const std::string& eng) const { return s_.English ? eng : Cp1251ToUtf8(rus); }

  // The objects of the proof: the variables the statement's formulation
  // binds, so that a record's a_n reads when a is the statement's sequence.
  void KnowObjectsOf(const TStatement& st) {
    if (st.Lines.size() <= kFormulationLine) return;
    const TQuiet quiet;
    const TReadFormula read = ReadFormula(Trim(st.Lines[kFormulationLine]), false);
    if (!read.Tree) return;
    for (const TVar* v : CollectBound(*read.Tree))
      if (std::none_of(known_.begin(), known_.end(), [&](const TVarPtr& k) { return k->Name == v->Name; }))
        known_.push_back(std::make_shared<TVar>(*v));
  }

  // The objects the proof itself brings in (defined variables, sequences,
  // objects found): the protocol is replayed quietly and every object of
  // every proof field it passes through becomes known, with its type, so
  // that later formulas naming it read. A protocol that no longer replays
  // tells its formulas as far as they read without.
  void KnowObjectsOfReplay(const std::vector<std::string>& protocol) {
    if (s_.Book == nullptr || s_.Statement == nullptr) return;
    const TQuiet quiet;
    RecordingMessages silence;
    TProtocolRecorder recorder(silence);
    TScriptUi none(*s_.Book, {});
    TProofDriver driver(none, recorder, *s_.Book, s_.Assot);
    TDemonstration demo(driver, recorder, *s_.Book);
    const auto learn = [&] {
      const TKernel* field = driver.Current();
      if (field == nullptr) return;
      for (const TVarList* list : {&field->GivenObjects, &field->RequiredObjects})
        for (const TVarPtr& v : *list)
          if (v->Type != nullptr &&
              std::none_of(known_.begin(), known_.end(), [&](const TVarPtr& k) { return k->Name == v->Name; }))
            known_.push_back(std::make_shared<TVar>(*v));
    };
    if (!demo.Begin(*s_.Statement, protocol)) return;
    learn();
    while (demo.Step()) learn();
  }

  // A formula printed as the proof window shows it; its text when it does not read.
  std::string Formula(std::string_view text) const {
    const TQuiet quiet;
    std::optional<TLetters> letters;
    // Among the objects of the proof first, so that a defined sequence
    // reads as one; names it does not know take the default types.
    if (!known_.empty()) {
      TVarList given;
      for (const TVarPtr& v : known_) given.push_back(std::make_shared<TVar>(*v));
      const TExprPtr tree = TextToTree(text);
      if (tree && DeclareVariables(*tree, given, false)) letters = TreeToLetters(*tree);
    }
    if (!letters) {
      const TReadFormula read = ReadFormula(text, false);
      if (read.Tree) letters = TreeToLetters(*read.Tree);
    }
    if (!letters || letters->empty()) return Cp1251ToUtf8(text);
    return std::string(Trim(LettersToUtf8(*letters)));
  }

  // A statement of the book by its English name and its paragraph ("\6\3").
  const TStatement* Find(std::string_view english, std::string_view paragraph) const {
    if (s_.Book == nullptr) return nullptr;
    const std::string prefix = s_.Book->Path + std::string(paragraph) + "\\";
    for (const TStatement* st : StatementsBefore(*s_.Book, nullptr))
      if (st->Lines.size() > kRussianNameLine && st->Lines[kEnglishNameLine] == english && st->Path.starts_with(prefix))
        return st;
    return nullptr;
  }

  std::string Name(const TStatement& st) const {
    return Cp1251ToUtf8(st.Lines[s_.English ? kEnglishNameLine : kRussianNameLine]);
  }
  std::string Quoted(const std::string& utf8) const {
    return s_.English ? "\u201C" + utf8 + "\u201D" : "«" + utf8 + "»";
  }

  int KindIndex(const TStatement& st) const {
    const auto* found = std::find(kStatementKindWords.begin(), kStatementKindWords.end() - 1, st.Kind());
    return found == kStatementKindWords.end() - 1 ? -1 : static_cast<int>(found - kStatementKindWords.begin());
  }

  std::string Title(const TStatement* st, const std::string& english) const {
    if (st == nullptr) return Say("Утверждение "_cp, "Statement ") + Quoted(Cp1251ToUtf8(english));
    static const std::array<const char*, 6> rus = {"Определение", "Аксиома", "Теорема", "Лемма", "Задача", "Метод"};
    static const std::array<const char*, 6> eng = {"Definition", "Axiom", "Theorem", "Lemma", "Task", "Method"};
    const int kind = KindIndex(*st);
    const std::string word = kind < 0     ? Say("Утверждение"_cp, "Statement")
                             : s_.English ? eng[static_cast<std::size_t>(kind)]
                                          : rus[static_cast<std::size_t>(kind)];
    return word + " " + Quoted(Name(*st));
  }

  std::string Formulation(const TStatement& st) const {
    return st.Lines.size() > kFormulationLine && !Trim(st.Lines[kFormulationLine]).empty()
               ? Formula(Trim(st.Lines[kFormulationLine]))
               : std::string();
  }

  // "By the theorem “…”: formulation".
  std::string Apply(std::string_view record) const {
    std::string name(record), paragraph;
    const std::size_t open = record.rfind(" (");
    if (open != std::string_view::npos && record.ends_with(")")) {
      name = record.substr(0, open);
      paragraph = record.substr(open + 2, record.size() - open - 3);
    }
    const TStatement* st = Find(name, paragraph);
    if (st == nullptr) return Say("По утверждению "_cp, "By the statement ") + Quoted(Cp1251ToUtf8(name)) + ".";
    static const std::array<const char*, 6> rus = {"По определению ", "По аксиоме ", "По теореме ",
                                                   "По лемме ",       "По задаче ",  "По методу "};
    static const std::array<const char*, 6> eng = {"By the definition ", "By the axiom ", "By the theorem ",
                                                   "By the lemma ",      "By the task ",  "By the method "};
    const int kind = KindIndex(*st);
    std::string text = kind < 0 ? Say("По утверждению "_cp, "By the statement ")
                                : (s_.English ? eng : rus)[static_cast<std::size_t>(kind)];
    text += Quoted(Name(*st));
    const std::string formulation = Formulation(*st);
    return formulation.empty() ? text + "." : text + ": " + formulation;
  }

  // The name of a transformation in the language: the catalogue's or the
  // book method's Russian name; the recorded name when neither knows it.
  std::string Transformation(const std::string& name) const {
    if (!s_.English) {
      if (s_.Assot != nullptr)
        for (const auto& a : s_.Assot->Transformations())
          if (a->Name == name && !a->RusName.empty()) return Cp1251ToUtf8(a->RusName);
      if (s_.Book != nullptr)
        for (const TStatement* st : StatementsBefore(*s_.Book, nullptr))
          if (st->Kind() == kStatementKindWords[kMethodKind] && st->Lines[kEnglishNameLine] == name)
            return Cp1251ToUtf8(st->Lines[kRussianNameLine]);
    }
    return Cp1251ToUtf8(name);
  }

 private:
  // Reading a formula of a record is a question, not an input: its faults are not shown.
  class TQuiet {
   public:
    TQuiet() : context_(silence_, silence_), scope_(Prepared(context_)) {}

   private:
    static TContext& Prepared(TContext& quiet) {
      InheritRun(quiet, Ctx());
      quiet.Commenting = false;
      quiet.Info = nullptr;
      return quiet;
    }
    RecordingMessages silence_;
    TContext context_;
    TContextScope scope_;
  };

  const TExportSources& s_;
  TVarList known_;
};

TMessage Malformed(int line, const std::string& rus, const std::string& eng) {
  return {"Строка "_cp + std::to_string(line) + " протокола: "_cp + rus,
          "Line " + std::to_string(line) + " of the protocol: " + eng};
}

}  // namespace

const TStatement* StatementOfProtocol(const TBook& book, const std::string& protocolPath) {
  std::string dir = protocolPath;
  std::replace(dir.begin(), dir.end(), '/', '\\');
  const std::size_t slash = dir.rfind('\\');
  if (slash == std::string::npos) return nullptr;
  dir.resize(slash);
  // The statement's directory under the book or under the user's mirror of it.
  for (const char* top : {"\\book\\", "\\Book\\", "\\Protocols\\"}) {
    const std::size_t at = dir.rfind(top);
    if (at == std::string::npos) continue;
    const std::string relative = dir.substr(at + std::string_view(top).size() - 1);
    for (const TStatement* st : StatementsBefore(book, nullptr))
      if (st->Path == book.Path + relative) return st;
  }
  return nullptr;
}

TExportResult ExportProof(const std::vector<std::string>& protocol, const TExportSources& sources) {
  TExportResult result;
  TTeller tell(sources);
  constexpr int kHead = TProtocolRecorder::kSettingLines;
  // The settings the proof was made under, each with a value it can hold.
  const std::vector<std::string> settings = TAutoSettings().ProtocolLines();
  TAutoSettings read;
  for (int i = 0; i < static_cast<int>(settings.size()); ++i) {
    const std::string& head = settings[static_cast<std::size_t>(i)];
    const std::string key = head.substr(0, head.find(" = "));
    if (i >= static_cast<int>(protocol.size()) ||
        !Trim(protocol[static_cast<std::size_t>(i)]).starts_with(key + " = ") ||
        !read.ReadProtocolLine(protocol[static_cast<std::size_t>(i)])) {
      result.Fault = Malformed(i + 1, "ожидалась настройка "_cp + key, "expected the setting " + key);
      return result;
    }
  }
  const std::string beginning =
      protocol.size() > kHead ? std::string(TProtocolRecorder::WithoutMarks(Trim(protocol[kHead]))) : std::string();
  if (!beginning.starts_with(Word(kBeginningOfProof))) {
    result.Fault = Malformed(kHead + 1, "ожидалось начало доказательства"_cp, "expected the beginning of the proof");
    return result;
  }
  const std::string english = After(beginning, kBeginningOfProof);
  const TStatement* statement = sources.Statement;
  if (statement != nullptr && statement->Lines[kEnglishNameLine] != english) statement = nullptr;
  TProofExport proof;
  proof.Title = tell.Title(statement, english);
  if (statement != nullptr) {
    proof.Formulation = tell.Formulation(*statement);
    tell.KnowObjectsOf(*statement);
    tell.KnowObjectsOfReplay(protocol);
  }

  int level = 0;
  // The record a following line goes on with: a marked condition's
  // transformation, a definition's values.
  int open = -1;
  bool ended = false;
  const auto add = [&](std::string text, bool continues = false) {
    proof.Steps.push_back({level, std::move(text), continues});
  };
  for (std::size_t i = kHead + 1; i < protocol.size(); ++i) {
    const int lineNo = static_cast<int>(i) + 1;
    const std::string_view raw = TProtocolRecorder::WithoutMarks(protocol[i]);
    const std::string_view record = Trim(raw);
    if (record.empty()) {
      open = -1;
      continue;
    }
    if (ended) {
      result.Fault = Malformed(lineNo, "запись после конца доказательства"_cp, "a record after the end of the proof");
      return result;
    }
    const std::size_t blanks = raw.find_first_not_of(' ');
    if (blanks % 3 != 0 || static_cast<int>(blanks / 3) > level + 1) {
      result.Fault = Malformed(lineNo, "неверный отступ"_cp, "wrong indentation");
      return result;
    }
    level = static_cast<int>(blanks / 3);
    const int keyword = ProtocolKeyword(record);
    const std::string rec(record);
    if (open == kMarkedCondition) {
      // The transformation chosen for the marked condition.
      open = -1;
      switch (keyword) {
        case kSubstituteForQuantified:
          proof.Steps.back().Text +=
              tell.Say("подстановка вместо переменной квантора."_cp, "substitution for a quantified variable.");
          open = kSubstituted;
          break;
        case kMultiplyPositive:
        case kMultiplyNonnegative:
        case kMultiplyNonzero:
        case kMultiplyAny: {
          static const std::array<const char*, 4> rus = {
              "умножим неравенство на положительное число ", "умножим неравенство на неотрицательное число ",
              "умножим равенство на ненулевое число ", "умножим равенство на число "};
          static const std::array<const char*, 4> eng = {
              "multiply the inequality by the positive number ", "multiply the inequality by the non-negative number ",
              "multiply the equality by the non-zero number ", "multiply the equality by the number "};
          const auto k = static_cast<std::size_t>(keyword - kMultiplyPositive);
          proof.Steps.back().Text += (sources.English ? eng : rus)[k] + tell.Formula(After(rec, keyword)) + ".";
          break;
        }
        case kAddToRelation:
          proof.Steps.back().Text +=
              tell.Say("прибавим к нему "_cp, "add to it ") + tell.Formula(After(rec, keyword)) + ".";
          break;
        default:
          proof.Steps.back().Text += tell.Quoted(tell.Transformation(rec)) + ".";
      }
      continue;
    }
    if (open == kSubstituted && (keyword == kSubstituted || keyword == kRefuseSubstitute)) {
      if (keyword == kRefuseSubstitute) {
        add(tell.Say("Вместо "_cp, "No substitution for ") + tell.Formula(After(rec, keyword)) +
                tell.Say(" ничего не подставляем."_cp, "."),
            true);
        continue;
      }
      const std::string body = After(rec, kSubstituted);
      const std::size_t forAt = body.rfind(std::string(kProtocolKeywords[kForWord]));
      if (forAt == std::string::npos) {
        result.Fault = Malformed(lineNo, "в подстановке нет \" for \""_cp, "a substitution without \" for \"");
        return result;
      }
      add(tell.Say("Подставим "_cp, "Substitute ") + tell.Formula(body.substr(0, forAt)) +
              tell.Say(" вместо "_cp, " for ") + tell.Formula(body.substr(forAt + kProtocolKeywords[kForWord].size())) +
              ".",
          true);
      continue;
    }
    if (open == kMarkedVariable) {
      open = -1;
      const std::string body = After(rec, kVariableName);
      const std::size_t to = body.find(std::string(kProtocolKeywords[kChangedTo]));
      if (keyword != kVariableName || to == std::string::npos) {
        result.Fault = Malformed(lineNo, "ожидалось новое имя переменной"_cp, "expected the new name of the variable");
        return result;
      }
      proof.Steps.back().Text += tell.Say("переименуем "_cp, "rename ") + tell.Formula(body.substr(0, to)) +
                                 tell.Say(" в "_cp, " to ") +
                                 tell.Formula(body.substr(to + kProtocolKeywords[kChangedTo].size())) + ".";
      continue;
    }
    switch (keyword) {
      case kDefineVariable:
        add(tell.Say("Положим "_cp, "Let ") + tell.Formula(After(rec, keyword)) + ".");
        break;
      case kRequiredAdded:
        add(tell.Say("Найденный объект добавлен к данным объектам."_cp,
                     "The object found is added to the given objects."),
            true);
        break;
      case kRequiredSubstituted:
        add(tell.Say("Значение искомого объекта подставлено вместо него."_cp,
                     "The value found is substituted for the required object."),
            true);
        break;
      case kDefineWithConditions:
        add(tell.Say("Определим "_cp, "Define ") + tell.Formula(After(rec, keyword)) +
            tell.Say(" по случаям:"_cp, " by cases:"));
        open = kDefineWithConditions;
        break;
      case kValue:
      case kCondition:
        if (open != kDefineWithConditions) {
          result.Fault = Malformed(lineNo, "значение вне определения с условиями"_cp,
                                   "a value outside a definition with conditions");
          return result;
        }
        add((keyword == kValue ? tell.Say("значение "_cp, "value ") : tell.Say("при условии "_cp, "if ")) +
                tell.Formula(After(rec, keyword)),
            true);
        break;
      case kEndOfDefinitionWithConditions:
        open = -1;
        break;
      case kRecursiveDefinition:
        add(tell.Say("Определим рекуррентно последовательность "_cp, "Define recursively the sequence ") +
            tell.Formula(After(rec, keyword)) + ":");
        open = kRecursiveDefinition;
        break;
      case kFirstElementDefined:
      case kNextElementDefined:
        add((keyword == kFirstElementDefined ? tell.Say("первый член: "_cp, "first term: ")
                                             : tell.Say("(i+1)-й член: "_cp, "(i+1)-th term: ")) +
                tell.Formula(After(rec, keyword)),
            true);
        break;
      case kEndOfRecursiveDefinition:
        break;
      case kAbortRecursiveDefinition:
        add(tell.Say("(определение прервано)"_cp, "(the definition is abandoned)"), true);
        break;
      case kApplyStatement:
        add(tell.Apply(After(rec, keyword)));
        break;
      case kConsiderCase:
        add(tell.Say("Рассмотрим случай "_cp, "Consider the case ") + tell.Formula(After(rec, keyword)) + ".");
        break;
      case kProveConditionRecord:
        add(tell.Say("Докажем, что "_cp, "Let us prove that ") + tell.Formula(After(rec, keyword)) + ".");
        break;
      case kConjectureRecord:
        add(tell.Say("Гипотеза: "_cp, "Conjecture: ") + tell.Formula(After(rec, keyword)) + ".");
        break;
      case kByContradiction:
        add(tell.Say("Докажем от противного: предположим противное."_cp, "By contradiction, assume the contrary."));
        break;
      case kByInduction:
        add(tell.Say("Докажем индукцией по "_cp, "By induction on ") + tell.Formula(After(rec, keyword)) + ".");
        break;
      case kInitialValue:
        add(tell.Say("Начальное значение переменной индукции: "_cp, "The induction starts at ") +
                tell.Formula(After(rec, keyword)) + ".",
            true);
        break;
      case kNonstationaryVariables: {
        std::string names;
        const std::string listed = After(rec, keyword);
        for (std::string_view rest = listed; !rest.empty();) {
          const std::size_t blank = rest.find(' ');
          const std::string_view name = rest.substr(0, blank);
          if (!name.empty()) names += (names.empty() ? "" : ", ") + tell.Formula(name);
          rest = blank == std::string_view::npos ? std::string_view() : Trim(rest.substr(blank));
        }
        if (!names.empty())
          add(tell.Say("В шаге индукции меняются: "_cp, "In the induction step these vary: ") + names + ".", true);
        break;
      }
      case kMarkedCondition:
      case kMarkedVariable: {
        const std::string body = After(rec, keyword);
        const std::size_t space = body.find(' ');
        const std::optional<int> n = ParseInt(body.substr(0, space));
        const std::string section = space == std::string::npos ? "" : body.substr(space + 1);
        const auto is = [&](int word) {
          return Trim(section) == Trim(kProtocolKeywords[static_cast<std::size_t>(word)]);
        };
        if (!n ||
            !(keyword == kMarkedVariable ? is(kOfSection1) || is(kOfSection3) : is(kOfSection2) || is(kOfSection4))) {
          result.Fault = Malformed(lineNo, "неверная отметка"_cp, "a malformed mark");
          return result;
        }
        const std::string number = std::to_string(*n);
        if (keyword == kMarkedVariable)
          add(is(kOfSection1) ? tell.Say("Данный объект "_cp, "Given object ") + number + ": "
                              : tell.Say("Искомый объект "_cp, "Required object ") + number + ": ");
        else
          add(tell.Say("Преобразуем отмеченное условие "_cp, "Transform the marked condition ") + number +
              (is(kOfSection2) ? tell.Say(" из данных условий: "_cp, " of the given conditions: ")
                               : tell.Say(" из доказываемых условий: "_cp, " of the conditions to prove: ")));
        open = keyword;
        break;
      }
      case kTestConditionsRecord:
        add(tell.Say("Проверим условия применяемого утверждения."_cp,
                     "Check the conditions of the statement applied."));
        break;
      case kRefuseTestConditions:
        add(tell.Say("Условия применяемого утверждения не проверяем."_cp,
                     "The conditions of the statement applied are not checked."));
        break;
      case kSuccessfulEnd:
        // The checks made after every step finish some proofs before any step.
        if (proof.Steps.empty())
          add(tell.Say("Утверждение следует из условий непосредственно: шагов доказательства не требуется."_cp,
                       "The statement follows from its conditions directly: no step is needed."));
        proof.Ending = tell.Say("Доказательство завершено."_cp, "The proof is complete.");
        ended = true;
        break;
      case kUnsuccessfulEnd:
      case kProofAborted:
        proof.Ending = tell.Say("Доказательство не завершено."_cp, "The proof is not complete.");
        ended = true;
        break;
      case kProveContinue:
      case kBeginAutoTransformations:
      case kEndAutoTransformations:
        break;
      default:
        result.Fault = Malformed(lineNo, "непонятная запись: "_cp + rec, "not a record of a proof: " + rec);
        return result;
    }
  }
  if (!ended)
    proof.Ending = tell.Say("Протокол обрывается: доказательство не завершено."_cp,
                            "The protocol breaks off: the proof is not complete.");
  result.Proof = std::move(proof);
  return result;
}

std::string ExportText(const TProofExport& proof, bool english) {
  std::string out = proof.Title + "\n";
  if (!proof.Formulation.empty()) out += proof.Formulation + "\n";
  out += "\n" + std::string(english ? "Proof." : "Доказательство.") + "\n";
  for (const TExportLine& line : proof.Steps)
    out += std::string(static_cast<std::size_t>(3 * line.Level + (line.Continues ? 2 : 0)), ' ') + line.Text + "\n";
  out += proof.Ending + "\n";
  return out;
}

namespace {

std::string Escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else if (c == '&')
      out += "&amp;";
    else if (c == '"')
      out += "&quot;";
    else
      out += c;
  }
  return out;
}

}  // namespace

std::string ExportHtml(const TProofExport& proof, bool english) {
  std::string out = "<!DOCTYPE html>\n<html lang=\"" + std::string(english ? "en" : "ru") +
                    "\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + Escaped(proof.Title) +
                    "</title>\n<style>\nbody { font-family: serif; max-width: 50em; margin: 2em auto; }\n"
                    ".formulation { font-style: italic; }\n.step { margin: 0.3em 0; }\n"
                    ".more { margin: 0.1em 0 0.1em 1.5em; }\n</style>\n</head>\n<body>\n";
  out += "<h1>" + Escaped(proof.Title) + "</h1>\n";
  if (!proof.Formulation.empty()) out += "<p class=\"formulation\">" + Escaped(proof.Formulation) + "</p>\n";
  out += "<h2>" + std::string(english ? "Proof" : "Доказательство") + "</h2>\n";
  for (const TExportLine& line : proof.Steps)
    out += "<p class=\"" + std::string(line.Continues ? "more" : "step") +
           "\" style=\"padding-left: " + std::to_string(2 * line.Level) + "em\">" + Escaped(line.Text) + "</p>\n";
  out += "<p><strong>" + Escaped(proof.Ending) + "</strong></p>\n</body>\n</html>\n";
  return out;
}

}  // namespace lemmix
