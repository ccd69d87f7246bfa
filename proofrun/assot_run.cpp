#include "proofrun/assot_run.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "expr/typing.h"
#include "intrinsics/intr_numbers.h"
#include "intrinsics/st_func.h"
#include "proofrun/assot.h"
#include "prover/needed.h"
#include "shell/context.h"
#include "shell/cp1251.h"
#include "shell/settings.h"
#include "shell/text.h"
#include "types/type_relations.h"
#include "types/types_proccess.h"

namespace lemmix {

namespace assot {

namespace {

std::string Trimmed(std::string_view text) { return std::string(Trim(text)); }

bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The leading word of a line: letters, digits and "_".
std::string_view LeadingWord(std::string_view line) {
  std::size_t n = 0;
  while (n < line.size() && IsWordChar(line[n])) ++n;
  return line.substr(0, n);
}

bool BeginsWithWordIf(std::string_view line) {
  return line.starts_with("if") && (line.size() == 2 || !IsWordChar(line[2]));
}

// The position of the bracket that closes the one at `open`; npos when none.
std::size_t Closing(std::string_view text, std::size_t open) {
  int depth = 0;
  for (std::size_t i = open; i < text.size(); ++i) {
    if (text[i] == '(') ++depth;
    else if (text[i] == ')' && --depth == 0) return i;
  }
  return std::string_view::npos;
}

// The first position of the operator outside round brackets; npos when none.
std::size_t FindOperator(std::string_view text, std::string_view op) {
  int depth = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '(') ++depth;
    else if (text[i] == ')') --depth;
    else if (depth == 0 && text.substr(i).starts_with(op)) return i;
  }
  return std::string_view::npos;
}

// The text without round brackets that enclose all of it.
std::string_view Unbracketed(std::string_view text) {
  while (text.size() >= 2 && text.front() == '(' && Closing(text, 0) == text.size() - 1)
    text = Trim(text.substr(1, text.size() - 2));
  return text;
}

struct TKindWords {
  std::string Undefined, RusUndefined, RusUndefinedEnd;  // "Expresion named " NAME " is undefined."
  std::string NotFor, RusNotFor;                         // "Name " NAME " is used not for expression"
  std::string Article, RusArticle;                       // "Unable to define an expression named ..."
};

const TKindWords& Words(TKind kind) {
  static const TKindWords words[] = {
      {"Expresion named ", "Выражение с именем "_cp, " не определено."_cp, " is used not for expression",
       " используется не для выражения"_cp, "an expression", "выражение"_cp},
      {"List named ", "Список с именем "_cp, " не определён."_cp, " is used not for list",
       " используется не для списка"_cp, "a list", "список"_cp},
      {"Variable named ", "Переменная с именем "_cp, " не определена."_cp, " is used not for variable",
       " используется не для переменной"_cp, "a variable", "переменную"_cp},
      {"Type named ", "Тип с именем "_cp, " не определён."_cp, " is used not for type",
       " используется не для типа"_cp, "a type", "тип"_cp},
      {"Integer constant named ", "Целая константа с именем "_cp, " не определена."_cp,
       " is used not for integer constant", " используется не для целой константы"_cp, "an integer constant",
       "целую константу"_cp},
      {"Bool constant named ", "Логическая константа с именем "_cp, " не определена."_cp,
       " is used not for bool constant", " используется не для логической константы"_cp, "a bool constant",
       "логическую константу"_cp},
  };
  return words[static_cast<int>(kind)];
}

// The message of a name that is not bound (found null) or bound to another kind.
TMessage KindMessage(const std::string& name, TKind kind, const TNamed* found) {
  const TKindWords& w = Words(kind);
  if (found == nullptr) return {w.RusUndefined + name + w.RusUndefinedEnd, w.Undefined + name + " is undefined."};
  return {"Имя "_cp + name + w.RusNotFor, "Name " + name + w.NotFor};
}

// Names whose meaning the interpreter gives; a script never binds them.
bool Reserved(std::string_view name) {
  static const std::set<std::string, std::less<>> reserved = {"SourceProve", "ArithmTransf", "DataCondNum",
                                                              "ProveCondNum", "SourceNum",   "ExprParamL",
                                                              "ExprArgL",     "true",        "false"};
  return reserved.contains(name);
}

// "#N": the number N of a template parameter name; -1 when the digits are
// missing or too many.
int TemplateParameterNumber(std::string_view name) {
  if (name.size() < 2 || name.size() > 6 || name.front() != '#') return -1;
  int n = 0;
  for (char c : name.substr(1)) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}

}  // namespace

TRun::TRun(const TAssot& assot, const TKernel& field, TKernel* edit, TSection section, std::size_t index,
           IMessages& messages, const TStFunc& stFunc, const TScriptPlace& place)
    : assot_(assot),
      field_(field),
      edit_(edit),
      proving_(section == TSection::ProvingConds),
      messages_(messages),
      stFunc_(stFunc),
      place_(place) {
  const TCondList& conds = SourceSection();
  if ((section == TSection::ProvingConds || section == TSection::GivenConds) && index < conds.size() &&
      conds[index] && conds[index]->Expr)
    sourceCond_ = conds[index].get();
}

bool TRun::Fail(const std::string& rus, const std::string& eng) {
  if (!error_) error_ = TMessage{rus, eng};
  return false;
}

void TRun::ShowFrame(const std::string& line) const {
  messages_.Error({"Ошибка при интерпретации ассоциированного преобразования\\n \""_cp + assot_.Name +
                       "\"\\n в строке \""_cp + line + "\":\\n " + error_->Rus,
                   "Unable to interpret assosiated transformation\\n \"" + assot_.Name + "\"\\n in line \"" + line +
                       "\":\\n " + error_->Eng});
}

bool TRun::Run(const std::vector<std::string>& lines) {
  if (sourceCond_ == nullptr) {
    if (proving_)
      messages_.Error({"Ассоциированное преобразование применено к несуществующему условию раздела 4."_cp,
                       "The assosiated transformation is applied to unexisting condition of section 4."});
    else
      messages_.Error({"Ассоциированное преобразование применено к несуществующему условию раздела 2."_cp,
                       "The assosiated transformation is applied to unexisting condition of section 2."});
    return false;
  }
  if (lines.empty()) {
    if (edit_ != nullptr) return true;
    messages_.Error({"Пустой список команд для ассоциированного преобразования."_cp,
                     "The command list of the assosiated transformation is empty."});
    return false;
  }
  source_ = Adopt(DeepCopy(*sourceCond_->Expr, true));
  if (source_ == nullptr) {
    ShowFrame(lines.front());
    return false;
  }
  int steps = 0;
  for (std::size_t pc = 0; pc < lines.size(); ++pc) {
    if (++steps > kMaxSteps) {
      Fail("Ассоциированное преобразование выполнило более 100000 строк и остановлено."_cp,
           "The assosiated transformation has run more than 100000 lines and is stopped.");
      ShowFrame(Trimmed(lines[pc]));
      return false;
    }
    const std::size_t at = pc;
    if (!Step(lines, pc)) {
      if (!error_) Fail("Неинтерпретируемая строка."_cp, "Uninterpreted line.");
      ShowFrame(Trimmed(lines[at]));
      return false;
    }
    if (returned_) return *returned_;
  }
  if (edit_ == nullptr) {
    messages_.Error({"Проверочная часть закончилась без команды Return"_cp, "The testing part is finished without Return"});
    return false;
  }
  return true;
}

bool TRun::SkipToElseOrEndif(const std::vector<std::string>& lines, std::size_t& pc, bool acceptElse) {
  int depth = 0;
  for (std::size_t i = pc + 1; i < lines.size(); ++i) {
    const std::string line = Trimmed(lines[i]);
    if (BeginsWithWordIf(line)) {
      ++depth;
    } else if (line == "endif") {
      if (depth == 0) {
        pc = i;
        return true;
      }
      --depth;
    } else if (line == "else" && depth == 0 && acceptElse) {
      pc = i;
      return true;
    }
  }
  if (acceptElse)
    return Fail("Команде if не соответствует ни else, ни endif"_cp, "Command \"if\" does not ended with \"else\" or \"endif\"");
  return Fail("Команде else не соответствует endif"_cp, "Command \"else\" does not ended with \"endif\"");
}

bool TRun::Step(const std::vector<std::string>& lines, std::size_t& pc) {
  const std::string line = Trimmed(lines[pc]);
  if (line.empty() || line.ends_with(':') || line == "endif" || line == "pause") return true;
  if (line == "else") return SkipToElseOrEndif(lines, pc, false);
  if (BeginsWithWordIf(line)) {
    const std::string condition = Trimmed(std::string_view(line).substr(2));
    if (condition.empty()) return Fail("Пустое выражение после if"_cp, "Empty expression after \"if\"");
    if (condition.front() != '(')
      return Fail("Отсутствует открывающая скобка после if"_cp, "Left bracket after \"if\" is absent");
    if (condition.size() < 2 || condition.back() != ')')
      return Fail("Отсутствует закрывающая скобка после if"_cp, "Right bracket after \"if\" is absent");
    const std::optional<bool> value = BoolExpr(std::string_view(condition).substr(1, condition.size() - 2));
    if (!value) return false;
    return *value || SkipToElseOrEndif(lines, pc, true);
  }
  const std::string_view word = LeadingWord(line);
  if (word == "goto" && line.size() > 4 && std::isspace(static_cast<unsigned char>(line[4]))) {
    const std::string label = Trimmed(std::string_view(line).substr(4)) + ":";
    for (std::size_t i = 1; i < lines.size(); ++i)
      if (Trimmed(lines[i]) == label) {
        pc = i;
        return true;
      }
    const std::string name = label.substr(0, label.size() - 1);
    return Fail("Метка "_cp + name + " не найдена"_cp, "Label " + name + " is not found");
  }
  const auto& commands = Commands();
  const auto it = commands.find(word);
  if (it == commands.end()) return false;
  const TCommand& command = it->second;
  command_ = it->first;
  if (command.Count < 0 && line != word) return false;
  if (command.ChangesField && edit_ == nullptr) {
    if (command_ == "ReplaceSource" || command_ == "ReplaceSourceTempl")
      return Fail("Функция "_cp + command_ + " встретилась в проверочной части."_cp,
                  "Function " + command_ + " is encountered in testing part.");
    return Fail("Команда "_cp + command_ + " изменяет поле доказательства и не допускается в проверочной части."_cp,
                "Command " + command_ + " changes the proof field and is not allowed in the testing part.");
  }
  TArgs args;
  if (command.Count >= 0) {
    std::optional<TArgs> parsed = Arguments(line, word.size(), command.Count, command.TextLast);
    if (!parsed) return false;
    args = std::move(*parsed);
  }
  return (this->*command.Handler)(args);
}

std::optional<TRun::TArgs> TRun::Arguments(std::string_view line, std::size_t nameLength, int count, bool textLast) {
  const std::string_view rest = Trim(line.substr(nameLength));
  if (rest.empty() || rest.front() != '(') {
    Fail("Открывающая скобка для аргументов оператора отсутствует в нужном месте."_cp,
         "The left bracket for arguments of an operator is absent in the particular place.");
    return std::nullopt;
  }
  if (rest.size() < 2 || rest.back() != ')') {
    Fail("Закрывающая скобка для аргументов оператора отсутствует в нужном месте."_cp,
         "The right bracket for arguments of an operator is absent in the particular place.");
    return std::nullopt;
  }
  const std::string_view inside = rest.substr(1, rest.size() - 2);
  TArgs pieces;
  std::size_t start = 0;
  int depth = 0;
  const auto piece = [&](std::size_t end) {
    const std::string text = Trimmed(inside.substr(start, end - start));
    if (text.empty()) {
      Fail("Пустой аргумент оператора."_cp, "Empty argument of an operator");
      return false;
    }
    pieces.push_back(text);
    start = end + 1;
    return true;
  };
  if (!Trim(inside).empty()) {
    for (std::size_t i = 0; i < inside.size(); ++i) {
      // Formula text may hold any brackets and commas of its own.
      if (textLast && static_cast<int>(pieces.size()) == count - 1) break;
      if (inside[i] == '(') {
        ++depth;
      } else if (inside[i] == ')') {
        if (--depth < 0) {
          Fail("В строке аргументов оператора лишняя закрывающая скобка."_cp, "In line of arguments there is an extra right bracket");
          return std::nullopt;
        }
      } else if (inside[i] == ',' && depth == 0 && !piece(i)) {
        return std::nullopt;
      }
    }
    if (!textLast && depth != 0) {
      Fail("В строке аргументов оператора не хватает закрывающей скобки."_cp, "In line of arguments a right bracket is missing");
      return std::nullopt;
    }
    if (!piece(inside.size())) return std::nullopt;
  }
  if (pieces.size() != static_cast<std::size_t>(count)) {
    Fail("Неверное число аргументов оператора."_cp, "Invalid argument's number for an operator");
    return std::nullopt;
  }
  return pieces;
}

// ---------------------------------------------------------------------------
// Named values.

bool TRun::Bind(const std::string& name, TNamed value) {
  if (name == "Source")
    return Fail("Имя Source нельзя использовать для выражений."_cp, "Name \"Source\" can not be used for expressions");
  if (name == "DataVarsL")
    return Fail("Имя DataVarsL нельзя использовать для списков."_cp, "Name \"DataVarsL\" can not be used for lists");
  if (name == "ProveVarsL")
    return Fail("Имя ProveVarsL нельзя использовать для списков."_cp, "Name \"ProveVarsL\" can not be used for lists");
  const bool wordLike = !name.empty() && std::all_of(name.begin(), name.end(), IsWordChar);
  const int parameter = TemplateParameterNumber(name);
  if (Reserved(name) || !(wordLike || parameter >= 0) || std::isdigit(static_cast<unsigned char>(name.front())))
    return Fail("Имя "_cp + name + " не может быть именем значения."_cp, "Name " + name + " can not name a value.");
  if (parameter >= 0 && value.Kind != TKind::Expr)
    return Fail("Параметр шаблона должен быть выражением"_cp, "Template parameter must be an expression");
  const auto it = names_.find(name);
  if (it != names_.end() && it->second.Kind != value.Kind) {
    const TKindWords& w = Words(value.Kind);
    return Fail("Невозможно определить "_cp + w.RusArticle + " с именем "_cp + name + ", так как имя занято."_cp,
                std::string("Unable to define ") + w.Article + " named " + name + " because the name is occupied.");
  }
  names_[name] = std::move(value);
  return true;
}


TExpr* TRun::ExprNamed(const std::string& name) {
  if (name == "Source") return source_;
  const TNamed* n = Find(name);
  if (n != nullptr && n->Kind == TKind::Expr) return n->Expr;
  Fail(KindMessage(name, TKind::Expr, n));
  return nullptr;
}

std::shared_ptr<TList> TRun::ListNamed(const std::string& name) {
  const auto objects = [](const TVarList& vars) {
    auto list = std::make_shared<TList>();
    for (const TVarPtr& v : vars) list->push_back(v.get());
    return list;
  };
  if (name == "DataVarsL") return objects(field_.GivenObjects);
  if (name == "ProveVarsL") return objects(field_.RequiredObjects);
  for (const bool arguments : {false, true}) {
    const std::string_view key = arguments ? "ExprArgL" : "ExprParamL";
    if (!name.starts_with(key)) continue;
    const std::string_view rest = Trim(std::string_view(name).substr(key.size()));
    if (rest.size() < 2 || rest.front() != '(' || rest.back() != ')') break;
    TExpr* e = ExprNamed(Trimmed(rest.substr(1, rest.size() - 2)));
    if (e == nullptr) return nullptr;
    auto list = std::make_shared<TList>();
    if (arguments && e->Class == TClass::Compound)
      for (std::size_t i = 1; i < e->Children().size(); ++i) list->push_back(e->Children()[i].get());
    if (!arguments && e->Bound)
      for (const TVarPtr& v : *e->Bound) list->push_back(v.get());
    return list;
  }
  const TNamed* n = Find(name);
  if (n != nullptr && n->Kind == TKind::List) return n->List;
  Fail(KindMessage(name, TKind::List, n));
  return nullptr;
}

TList* TRun::OwnList(const std::string& name) {
  if (name == "DataVarsL" || name == "ProveVarsL") {
    Bind(name, NamedList(nullptr));  // gives the name's own message
    return nullptr;
  }
  const TNamed* n = Find(name);
  if (n != nullptr && n->Kind == TKind::List) return n->List.get();
  Fail(KindMessage(name, TKind::List, n));
  return nullptr;
}

TVar* TRun::VarNamed(const std::string& name) {
  const TNamed* n = Find(name);
  if (n != nullptr && n->Kind == TKind::Var) return n->Var;
  Fail(KindMessage(name, TKind::Var, n));
  return nullptr;
}

TType* TRun::TypeNamed(const std::string& name) {
  const TNamed* n = Find(name);
  if (n != nullptr && n->Kind == TKind::Type) return n->Type;
  Fail(KindMessage(name, TKind::Type, n));
  return nullptr;
}

TType* TRun::AnyType(const std::string& name) const {
  const TNamed* n = Find(name);
  if (n != nullptr) return n->Kind == TKind::Type ? n->Type : nullptr;
  return Ctx().TypesProccess ? Ctx().TypesProccess->FindType(name, false) : nullptr;
}

// ---------------------------------------------------------------------------
// Integer expressions.

std::optional<std::int32_t> TRun::IntExpr(std::string_view raw) {
  const std::string text = Trimmed(raw);
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    const std::string sign(1, text.front());
    Fail("Знак "_cp + sign + " не может стоять в начале целого выражения"_cp,
         "Sign " + sign + " must not be in the first position of integer expression");
    return std::nullopt;
  }
  if (!text.empty() && (text.back() == '+' || text.back() == '-')) {
    const std::string sign(1, text.back());
    Fail("Знак "_cp + sign + " не может стоять в конце целого выражения"_cp,
         "Sign " + sign + " must not be in the last position of integer expression");
    return std::nullopt;
  }
  std::int64_t total = 0;
  char sign = '+';
  int depth = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size()) {
      if (text[i] == '(') ++depth;
      else if (text[i] == ')') --depth;
      if (depth != 0 || (text[i] != '+' && text[i] != '-')) continue;
    }
    const std::optional<std::int32_t> term = IntTerm(Trimmed(std::string_view(text).substr(start, i - start)));
    if (!term) return std::nullopt;
    total += sign == '+' ? *term : -static_cast<std::int64_t>(*term);
    if (total > std::numeric_limits<std::int32_t>::max() || total < std::numeric_limits<std::int32_t>::min()) {
      Fail("Переполнение в целом выражении "_cp + text, "Integer overflow in integer expression " + text);
      return std::nullopt;
    }
    if (i < text.size()) sign = text[i];
    start = i + 1;
  }
  return static_cast<std::int32_t>(total);
}

std::optional<std::int32_t> TRun::IntTerm(const std::string& term) {
  if (!term.empty() && std::all_of(term.begin(), term.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
    std::int64_t value = 0;
    for (char c : term) {
      value = value * 10 + (c - '0');
      if (value > std::numeric_limits<std::int32_t>::max()) break;
    }
    if (value <= std::numeric_limits<std::int32_t>::max()) return static_cast<std::int32_t>(value);
  }
  if (term == "DataCondNum") return static_cast<std::int32_t>(field_.GivenConds.size());
  if (term == "ProveCondNum") return static_cast<std::int32_t>(field_.ProvingConds.size());
  if (term == "SourceNum") return static_cast<std::int32_t>(SourcePosition().value_or(0));
  const auto inner = [&](std::string_view name) -> std::optional<std::string> {
    if (!term.starts_with(name)) return std::nullopt;
    const std::string_view rest = Trim(std::string_view(term).substr(name.size()));
    if (rest.size() < 2 || rest.front() != '(' || rest.back() != ')') return std::nullopt;
    return Trimmed(rest.substr(1, rest.size() - 2));
  };
  if (const std::optional<std::string> e = inner("ArgNum")) {
    TExpr* x = ExprNamed(*e);
    if (x == nullptr) return std::nullopt;
    if (x->Class != TClass::Compound || x->Children().size() < 2) {
      Fail("Функция ArgNum применена к выражению без аргументов."_cp, "Function ArgNum is applied to an expression without arguments.");
      return std::nullopt;
    }
    return static_cast<std::int32_t>(x->Children().size() - 1);
  }
  if (const std::optional<std::string> l = inner("ListCount")) {
    const TNamed* n = Find(*l);
    const bool reserved = *l == "DataVarsL" || *l == "ProveVarsL" || l->starts_with("ExprArgL") || l->starts_with("ExprParamL");
    if (!reserved && (n == nullptr || n->Kind != TKind::List)) {
      Fail("Невозможно вычислить размер списка, вероятно, список не создан"_cp,
           "Cann't evalute list size, probably the list is not allocated");
      return std::nullopt;
    }
    const std::shared_ptr<TList> list = ListNamed(*l);
    if (!list) return std::nullopt;
    return static_cast<std::int32_t>(list->size());
  }
  const TNamed* n = Find(term);
  if (n != nullptr && n->Kind == TKind::Int) return n->Int;
  if (n != nullptr) {
    Fail(KindMessage(term, TKind::Int, n));
    return std::nullopt;
  }
  Fail("Неверное простое целое выражение: "_cp + term, "Wrong simple integer expression: " + term);
  return std::nullopt;
}

// ---------------------------------------------------------------------------
// Boolean expressions.

std::optional<bool> TRun::BoolExpr(std::string_view raw) {
  const std::string whole = Trimmed(raw);
  const std::string text(Unbracketed(whole));
  const std::string_view word = LeadingWord(text);
  if (!word.empty() && word.size() < text.size() && text[word.size()] == '(' &&
      Closing(text, word.size()) == text.size() - 1) {
    static const std::set<std::string, std::less<>> functions = {
        "SubType", "ExprSubType", "SubExprExists", "ExprHead",  "ExprCls",    "TypeBase",
        "ExprIntr", "ExprIsInt",  "ListIsNULL",    "EqualPtr", "NotEmptySet", "StatementBefore"};
    if (functions.contains(word)) return BoolFunction(std::string(word), text);
  }
  for (const std::string_view op : {"&&", "||"}) {
    const std::size_t at = FindOperator(text, op);
    if (at == std::string_view::npos) continue;
    if (at == 0 || at + op.size() >= text.size()) {
      Fail("Неверная позиция операции "_cp + std::string(op) + " в логическом выражении "_cp + text,
           "Invalid position of operaton " + std::string(op) + " in bool expression " + text);
      return std::nullopt;
    }
    const std::optional<bool> a = BoolExpr(std::string_view(text).substr(0, at));
    if (!a) return std::nullopt;
    const std::optional<bool> b = BoolExpr(std::string_view(text).substr(at + op.size()));
    if (!b) return std::nullopt;
    return op == "&&" ? (*a && *b) : (*a || *b);
  }
  for (const std::string_view op : {"<=", ">=", "<", ">", "=="}) {
    const std::size_t at = FindOperator(text, op);
    if (at == std::string_view::npos) continue;
    if (at == 0 || at + op.size() >= text.size()) {
      Fail("Неверная позиция отношения "_cp + std::string(op) + " в логическом выражении "_cp + text,
           "Invalid position of relation " + std::string(op) + " in bool expression " + text);
      return std::nullopt;
    }
    const std::optional<std::int32_t> a = IntExpr(std::string_view(text).substr(0, at));
    if (!a) return std::nullopt;
    const std::optional<std::int32_t> b = IntExpr(std::string_view(text).substr(at + op.size()));
    if (!b) return std::nullopt;
    if (op == "<=") return *a <= *b;
    if (op == ">=") return *a >= *b;
    if (op == "<") return *a < *b;
    if (op == ">") return *a > *b;
    return *a == *b;
  }
  if (!text.empty() && text.front() == '!') {
    const std::optional<bool> value = SimpleBool(Trimmed(std::string_view(text).substr(1)));
    if (!value) return std::nullopt;
    return !*value;
  }
  return SimpleBool(text);
}

std::optional<bool> TRun::SimpleBool(const std::string& text) {
  if (text == "true") return true;
  if (text == "false") return false;
  if (text == "SourceProve") return proving_;
  if (text == "ArithmTransf") return Ctx().Settings.ChapterSwitch[3];
  const TNamed* n = Find(text);
  if (n != nullptr && n->Kind == TKind::Bool) return n->Bool;
  if (n != nullptr) {
    Fail(KindMessage(text, TKind::Bool, n));
    return std::nullopt;
  }
  Fail("Неверное простое логическое выражение: "_cp + text, "Wrong simple bool expression: " + text);
  return std::nullopt;
}

std::optional<bool> TRun::BoolFunction(const std::string& name, const std::string& whole) {
  const bool single = name == "ListIsNULL" || name == "NotEmptySet" || name == "StatementBefore";
  const std::optional<TArgs> a = Arguments(whole, name.size(), single ? 1 : 2, false);
  if (!a) return std::nullopt;
  const TArgs& args = *a;
  const auto wrongType = [&](const std::string& t) -> std::optional<bool> {
    Fail("Неверное имя типа: "_cp + t, "Wrong name of type: " + t);
    return std::nullopt;
  };
  const TTypesProccess& types = *Ctx().TypesProccess;
  if (name == "SubType") {
    TType* first = AnyType(args[0]);
    if (first == nullptr) return wrongType(args[0]);
    TType* second = AnyType(args[1]);
    if (second == nullptr) return wrongType(args[1]);
    return IsSubtypeOf(first, second, types);
  }
  if (name == "StatementBefore") return !place_.Before || place_.Before(args[0]);
  if (name == "ListIsNULL") {
    const std::shared_ptr<TList> list = ListNamed(args[0]);
    if (!list) return std::nullopt;
    return list->empty();
  }
  if (name == "TypeBase") {
    TType* t = AnyType(args[0]);
    if (t == nullptr) return wrongType(args[0]);
    static const std::map<std::string, TBase, std::less<>> bases = {
        {"simpleBT", TBase::Simple}, {"funBT", TBase::Fun}, {"setBT", TBase::Set}, {"vecBT", TBase::Vec}, {"listBT", TBase::List}};
    const auto base = bases.find(args[1]);
    if (base == bases.end()) {
      Fail("Неверный базовый тип: "_cp + args[1], "Wrong base type: " + args[1]);
      return std::nullopt;
    }
    return t->Base() == base->second;
  }
  if (name == "EqualPtr") {
    const auto object = [&](const std::string& n) -> const void* {
      if (n == "Source") return source_;
      const TNamed* v = Find(n);
      if (v == nullptr) return nullptr;
      switch (v->Kind) {
        case TKind::Expr: return v->Expr;
        case TKind::List: return v->List.get();
        case TKind::Var: return v->Var;
        case TKind::Type: return v->Type;
        default: return nullptr;
      }
    };
    const void* first = object(args[0]);
    const void* second = object(args[1]);
    for (const auto& [p, n] : {std::pair{first, args[0]}, std::pair{second, args[1]}})
      if (p == nullptr) {
        Fail("Функция EqualPtr: неверное имя объекта: "_cp + n, "Function EqualPtr: wrong name of an object: " + n);
        return std::nullopt;
      }
    return first == second;
  }
  TExpr* e = ExprNamed(args[0]);
  if (e == nullptr) return std::nullopt;
  if (name == "NotEmptySet") {
    // Decided only when it is known: an enumeration, or a set whose type
    // excludes the empty one.
    if ((e->HeadIntrinsic() == kEnum || e->HeadIntrinsic() == kEnumMore) && e->Children().size() > 1) return true;
    return e->Type != nullptr && e->Type->Set() != nullptr && !e->Type->Set()->MayBeEmpty;
  }
  if (name == "ExprSubType") {
    if (e->Type == nullptr) {
      Fail("Неопределённый тип выражения "_cp + args[0], "Undefined type of expression " + args[0]);
      return std::nullopt;
    }
    TType* t = AnyType(args[1]);
    if (t == nullptr) return wrongType(args[1]);
    return IsSubtypeOf(e->Type, t, types);
  }
  if (name == "ExprCls") {
    const TClass c = ClassFromName(args[1]);
    if (c == TClass::NoClass && args[1] != "no_class") {
      Fail("Неверный класс выражения: "_cp + args[1], "Wrong class of expression: " + args[1]);
      return std::nullopt;
    }
    return e->Class == c;
  }
  if (name == "ExprIntr") {
    const TIntr* f = stFunc_.FindByWord(args[1], false);
    if (f == nullptr) {
      Fail("Функция ExprIntr: неверное имя встроенной функции: "_cp + args[1],
           "Function ExprIntr: wrong name of intrinsic function: " + args[1]);
      return std::nullopt;
    }
    return e->Intrinsic() == f || (e->Class == TClass::Compound && e->HeadIntrinsic() == f->Number &&
                                   e->Head() != nullptr && e->Head()->Intrinsic() == f);
  }
  if (name == "ExprIsInt") {
    const std::optional<std::int32_t> n = IntExpr(args[1]);
    if (!n) {
      error_.reset();
      Fail("Функция ExprIsInt: неверное число: "_cp + args[1], "Function ExprIsInt: wrong number: " + args[1]);
      return std::nullopt;
    }
    const TNumber* value = e->NumberValue();
    return value != nullptr && value->IsInteger() && value->Integer() == *n;
  }
  TExpr* other = ExprNamed(args[1]);
  if (other == nullptr) return std::nullopt;
  if (name == "SubExprExists") return ContainsExpr(*e, *other);
  // ExprHead: the same head, and as many arguments.
  if (e->Class != other->Class) return false;
  if (e->Class != TClass::Compound) return Equal(*e, *other);
  if (e->Children().empty() || other->Children().empty()) return e->Children().empty() && other->Children().empty();
  return e->Children().size() == other->Children().size() && Equal(*e->Children()[0], *other->Children()[0]);
}

// ---------------------------------------------------------------------------
// The run's own trees and variables.

namespace {

// Whether the tree nests deeper than the limit; it looks no deeper than that.
bool Deeper(const TExpr& e, int limit) {
  if (limit < 0) return true;
  if (e.Class == TClass::Templ) return e.Inner() != nullptr && Deeper(*e.Inner(), limit - 1);
  if (e.Class != TClass::Compound) return false;
  for (const TExprPtr& child : e.Children())
    if (child && Deeper(*child, limit - 1)) return true;
  return false;
}

}  // namespace

TExpr* TRun::Adopt(TExprPtr e) {
  if (!e) return nullptr;
  const int size = Deeper(*e, kMaxTreeDepth) ? kMaxTreeNodes + 1 : Size(*e);
  if (size > kMaxTreeNodes || nodes_ + size > kMaxRunNodes) {
    Fail("Выражение слишком велико для ассоциированного преобразования."_cp,
         "The expression is too large for an assosiated transformation.");
    return nullptr;
  }
  nodes_ += size;
  Register(*e);
  trees_.push_back(std::move(e));
  return trees_.back().get();
}

void TRun::Register(TExpr& e) {
  if (e.Class == TClass::NodefVar) {
    if (const TVarPtr* v = std::get_if<TVarPtr>(&e.Data); v && *v) own_.emplace(v->get(), *v);
  }
  if (e.Bound)
    for (const TVarPtr& v : *e.Bound) own_.emplace(v.get(), v);
  if (e.Class == TClass::Compound)
    for (const TExprPtr& child : e.Children()) Register(*child);
  if (e.Class == TClass::Templ && e.Inner() != nullptr) Register(*e.Inner());
}

bool TRun::RequireOwn(const TVar& v, const std::string& name) {
  if (Own(v)) return true;
  return Fail("Переменная "_cp + name + " принадлежит полю доказательства; преобразование не может её изменить."_cp,
              "Variable " + name + " belongs to the proof field; a transformation can not change it.");
}

TVarPtr TRun::SharedVar(TVar& v) const {
  if (const auto it = own_.find(&v); it != own_.end()) return it->second;
  for (const TVarList* list : {&field_.GivenObjects, &field_.RequiredObjects})
    for (const TVarPtr& object : *list)
      if (object.get() == &v) return object;
  return nullptr;
}

// ---------------------------------------------------------------------------
// The field.

std::optional<std::size_t> TRun::SourcePosition() const {
  const TCondList& conds = SourceSection();
  for (std::size_t i = 0; i < conds.size(); ++i)
    if (conds[i].get() == sourceCond_) return i;
  return std::nullopt;
}

const TExpr& TRun::SourceCondition() const { return *sourceCond_->Expr; }

bool TRun::RefersOnlyToField(const TExpr& e, std::vector<const TVar*>& bound, int templateDepth) const {
  const auto in = [](const TVarList& list, const TVar* v) {
    return std::any_of(list.begin(), list.end(), [v](const TVarPtr& p) { return p.get() == v; });
  };
  switch (e.Class) {
    case TClass::DataVar: return in(field_.GivenObjects, e.Var());
    case TClass::ProveVar: return in(field_.RequiredObjects, e.Var());
    case TClass::LocVar: return std::find(bound.begin(), bound.end(), static_cast<const TVar*>(e.Var())) != bound.end();
    // A variable of the run's own would outlive the run in the field.
    case TClass::NodefVar: return false;
    case TClass::TemplPar:
    case TClass::MathPar: return templateDepth > 0;
    case TClass::Templ: {
      if (e.Inner() == nullptr) return false;
      ++templateDepth;
      const bool ok = RefersOnlyToField(*e.Inner(), bound);
      --templateDepth;
      return ok;
    }
    case TClass::Compound: {
      const std::size_t depth = bound.size();
      if (e.Bound)
        for (const TVarPtr& v : *e.Bound) bound.push_back(v.get());
      bool ok = true;
      for (const TExprPtr& child : e.Children()) ok = ok && child && RefersOnlyToField(*child, bound, templateDepth);
      bound.resize(depth);
      return ok;
    }
    default: return true;
  }
}

TCondPtr TRun::MakeCondition(const TExpr& e) {
  std::vector<const TVar*> bound;
  if (!RefersOnlyToField(e, bound)) {
    Fail("Выражение ссылается на объект, которого нет в поле доказательства."_cp,
         "The expression refers to an object that is not in the proof field.");
    return nullptr;
  }
  // A type a script set by hand decides nothing: the condition is typed anew.
  TExprPtr copy = DeepCopy(e);
  if (!Retype(*copy, false) || copy->Type == nullptr || copy->Type->Name != "lT") {
    Fail("Выражение не является логическим."_cp, "The expression is not a logical formula.");
    return nullptr;
  }
  TCondPtr cond = edit_->MakeCond(*copy);
  if (!cond) Fail("Поле доказательства не принимает это условие."_cp, "The proof field does not accept the condition.");
  return cond;
}

bool TRun::ReplaceSourceBy(const TExpr& e) {
  TCondPtr cond = MakeCondition(e);
  if (!cond) return false;
  const std::optional<std::size_t> at = SourcePosition();
  if (!at) return Fail("Условие исчезло из поля доказательства."_cp, "The condition has disappeared from the proof field.");
  sourceCond_ = cond.get();
  edit_->Conds(proving_ ? TSection::ProvingConds : TSection::GivenConds)[*at] = std::move(cond);
  return true;
}

bool TRun::InsertCondition(const TExpr& e, bool proving, std::int32_t position) {
  TCondPtr cond = MakeCondition(e);
  if (!cond) return false;
  TCondList& conds = edit_->Conds(proving ? TSection::ProvingConds : TSection::GivenConds);
  const std::size_t at = position < 0 || static_cast<std::size_t>(position) > conds.size() ? conds.size()
                                                                                          : static_cast<std::size_t>(position);
  inserted_.insert(cond.get());
  conds.insert(conds.begin() + static_cast<std::ptrdiff_t>(at), std::move(cond));
  return true;
}

TExprPtr TRun::Instantiate(std::string_view text, const std::vector<const TExpr*>& parameters) {
  return InstantiateTemplate(text, parameters, field_);
}

std::optional<std::vector<const TExpr*>> TRun::TemplateParameters() {
  std::map<int, const TExpr*> byNumber;
  for (const auto& [name, value] : names_) {
    if (name.empty() || name.front() != '#') continue;
    const int n = TemplateParameterNumber(name);
    if (n < 0) {
      Fail("Неверный номер параметра шаблона"_cp, "Invalid number of template parameter");
      return std::nullopt;
    }
    if (value.Kind != TKind::Expr) {
      Fail("Параметр шаблона должен быть выражением"_cp, "Template parameter must be an expression");
      return std::nullopt;
    }
    if (!byNumber.emplace(n, value.Expr).second) {
      Fail("Два параметра шаблона имеют одинаковые номера"_cp, "Two template parameters have identical numbers");
      return std::nullopt;
    }
  }
  std::vector<const TExpr*> parameters;
  for (const auto& [n, e] : byNumber) {
    if (n != static_cast<int>(parameters.size())) {
      Fail("Неверный номер параметра шаблона"_cp, "Invalid number of template parameter");
      return std::nullopt;
    }
    parameters.push_back(e);
  }
  return parameters;
}

}  // namespace assot

bool TAssotProccess::TestAssot(const TAssot& assot, const TKernel& field, TSection section, std::size_t index,
                               const TScriptPlace& place) const {
  if (!assot.Test) return true;
  assot::TRun run(assot, field, nullptr, section, index, messages_, stFunc_, place);
  return run.Run(*assot.Test);
}

bool TAssotProccess::ExecuteAssot(const TAssot& assot, TKernel& field, TSection section, std::size_t index,
                                  const TScriptPlace& place) const {
  assot::TRun run(assot, field, &field, section, index, messages_, stFunc_, place);
  return run.Run(assot.Execute ? *assot.Execute : std::vector<std::string>{});
}

}  // namespace lemmix
