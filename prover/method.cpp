#include "prover/method.h"

#include <algorithm>
#include <charconv>

#include "book/method_lines.h"
#include "book/part.h"
#include "book/search.h"
#include "expr/arithm.h"
#include "expr/info_sink.h"
#include "expr/typing.h"
#include "intrinsics/intr_numbers.h"
#include "intrinsics/st_func.h"
#include "notation/output.h"
#include "notation/parser.h"
#include "prover/patterns.h"
#include "prover/task.h"
#include "prover/tests.h"
#include "shell/context.h"
#include "shell/cp1251.h"
#include "shell/text.h"
#include "types/type.h"
#include "types/type_relations.h"

namespace lemmix {

namespace {

// Automatic applications of methods a registry allows per build (one proof
// run): a set of methods that rewrite in a circle stops here.
constexpr int kMaxApplications = 1000;

void Error(const std::string& rus, const std::string& eng) { Ctx().Messages.Error({rus, eng}); }
void Numbered(int n, const std::string& where) {
  Error("Ошибка "_cp + std::to_string(n) + " в "_cp + where, "Error " + std::to_string(n) + " in " + where);
}
void Say(const std::string& text, const TExpr* formula = nullptr) {
  if (Ctx().Commenting && Ctx().Info != nullptr) Ctx().Info->Add(text, formula);
}
std::string Text(const TExpr& e) { return TreeToText(e, false, false).value_or("?"); }

TExprPtr Typed(TExprPtr e) {
  if (!e || ExprType(*e, false) == nullptr) return nullptr;
  return e;
}
TExprPtr Node(int head, TExprPtr a) { return Typed(ApplyIntr(head, std::move(a))); }
TExprPtr Node(int head, TExprPtr a, TExprPtr b) { return Typed(ApplyIntr(head, std::move(a), std::move(b))); }
TExprPtr Conjunction(const TExprList& items) {
  if (items.empty()) return Typed(TExpr::OfIntr(*Ctx().StFunc->Intr(kTrue)));
  TExprPtr all = DeepCopy(*items.front());
  for (std::size_t i = 1; i < items.size(); ++i) all = ApplyIntr(kAnd, std::move(all), DeepCopy(*items[i]));
  return Typed(std::move(all));
}

std::size_t ArgCount(const TExpr& e) { return e.Class != TClass::Compound || e.Children().empty() ? 0 : e.Children().size() - 1; }
const TExpr& Arg(const TExpr& e, std::size_t i) { return *e.Children()[i + 1]; }

// The text split at " <separator> " outside brackets; blank items dropped.
std::vector<std::string> SplitTop(std::string_view text, std::string_view separator) {
  std::vector<std::string> items;
  int depth = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '(' || c == '[' || c == '{') ++depth;
    if (c == ')' || c == ']' || c == '}') --depth;
    if (depth == 0 && text.substr(i).starts_with(separator)) {
      items.emplace_back(Trim(text.substr(start, i - start)));
      i += separator.size() - 1;
      start = i + 1;
    }
  }
  items.emplace_back(Trim(text.substr(start)));
  std::erase_if(items, [](const std::string& s) { return s.empty(); });
  return items;
}

// A list of typed variables as a quantifier writes them: "x , y \in \R , n \in \N".
std::optional<TVarList> ReadVariables(std::string_view text) {
  TVarList vars;
  if (Trim(text).empty()) return vars;
  // Groups end at an item with its type: "x , y \in \R" is one group.
  std::vector<std::string> groups;
  std::string group;
  for (const std::string& item : SplitTop(text, " , ")) {
    group += group.empty() ? item : " , " + item;
    if (item.find(' ') != std::string::npos) groups.push_back(std::exchange(group, ""));
  }
  if (!group.empty()) groups.push_back(group);
  std::string formula;
  for (const std::string& g : groups) formula += "\\forall " + g + " \\Vld ";
  formula += "1 = 1";
  TExprPtr e = TextToTree(formula);
  if (!e || !VarsInput(*e, {}, {}, false) || ExprType(*e, true) == nullptr) return std::nullopt;
  for (const TExpr* q = e.get(); q->HeadIntrinsic() == kForall && q->Bound && ArgCount(*q) == 1; q = &Arg(*q, 0))
    vars.insert(vars.end(), q->Bound->begin(), q->Bound->end());
  return vars;
}

// A kernel whose given objects are the variables, to read formulas with them.
struct TScope {
  TKernel Kernel;
  std::vector<const TVar*> Vars;

  explicit TScope(const TVarList& vars) {
    for (const TVarPtr& v : vars) Vars.push_back(&Kernel.AddObject(std::make_shared<TVar>(*v), false));
  }
};

TExprPtr ReadPattern(const TScope& scope, std::string_view text) {
  const TExprPtr e = ReadProverTerm(scope.Kernel, text);
  return e ? AsPattern(*e, scope.Vars) : nullptr;
}

// A condition pattern in the normal form the kernel gives conditions, so that
// it meets the conditions of a proof field as they are stored (x ≥ y matches
// a + (−1)·b ≥ 0 with x = a, y = b, not with x = a + (−1)·b, y = 0).
TExprPtr ReadConditionPattern(const TScope& scope, std::string_view text) {
  const TExprPtr e = ReadProverTerm(scope.Kernel, text);
  if (!e) return nullptr;
  const TCondPtr standard = e->Type && e->Type->Name == "lT" ? scope.Kernel.MakeCond(*e) : nullptr;
  return AsPattern(standard && standard->Expr ? *standard->Expr : *e, scope.Vars);
}

// A term pattern in the arithmetic normal form the field keeps its terms in
// (1 / x is x^(-1) there), when the symbol transformation package is on.
TExprPtr ReadTermPattern(const TScope& scope, std::string_view text) {
  TExprPtr e = ReadProverTerm(scope.Kernel, text);
  if (!e) return nullptr;
  if (Ctx().Settings.SymbolTransEnable && !(e->Type && e->Type->Name == "lT")) {
    TExprPtr standard = DeepCopy(*e);
    if (Standardize(*standard) && standard->HeadIntrinsic() != kNoHead) e = Typed(std::move(standard));
    if (!e) return nullptr;
  }
  return AsPattern(*e, scope.Vars);
}

bool ReadPatterns(const TScope& scope, std::string_view text, TExprList& result, bool conditions = false) {
  for (const std::string& item : SplitTop(text, " \\and ")) {
    TExprPtr p = conditions ? ReadConditionPattern(scope, item) : ReadPattern(scope, item);
    if (!p) return false;
    result.push_back(std::move(p));
  }
  return true;
}

std::optional<int> ReadInt(std::string_view text) {
  text = Trim(text);
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Forbidden type patterns: " ; "-separated typed variable lists naming parameters.
bool SetFalseTypes(std::string_view text, const TVarList& parameters, std::vector<TFalseTypes>& result) {
  for (const std::string& item : SplitTop(text, " ; ")) {
    const std::optional<TVarList> vars = ReadVariables(item);
    if (!vars) {
      Numbered(1, "SetFalseTypes (Cond)");
      return false;
    }
    TFalseTypes pattern;
    for (const TVarPtr& v : *vars) {
      const auto it = std::find_if(parameters.begin(), parameters.end(), [&](const TVarPtr& p) { return p->Name == v->Name; });
      if (it == parameters.end()) {
        Error("Невыполненные условия на типы должны содержать глобальные переменные."_cp,
              "False conditions on types are for global variables.");
        return false;
      }
      if (v->Type == nullptr) {
        Numbered(2, "SetFalseTypes (Cond)");
        return false;
      }
      pattern.emplace_back(static_cast<int>(it - parameters.begin()), v->Type);
    }
    if (pattern.empty()) {
      Numbered(3, "SetFalseTypes (Cond)");
      return false;
    }
    result.push_back(std::move(pattern));
  }
  return true;
}

bool Flag(const std::vector<std::string>& words, std::size_t i) { return i < words.size() && words[i] == "true"; }

}  // namespace

void TMethod::CopyTo(TMethod& target) const {
  target.Type = Type;
  target.Parameters = Parameters;
  target.Input = Input ? DeepCopy(*Input) : nullptr;
  target.Output = Output ? DeepCopy(*Output) : nullptr;
  target.MainFunction = MainFunction;
  target.Terminal = Terminal;
  target.RusCaption = RusCaption;
  target.EngCaption = EngCaption;
  target.Group = Group;
  target.HelpInd = HelpInd;
}

std::unique_ptr<TMethodObject> TSuperficialTransform::Copy() const {
  auto copy = std::make_unique<TSuperficialTransform>();
  CopyTo(*copy);
  copy->Connective = Connective;
  copy->Present = DeepCopyList(Present);
  copy->Testing = DeepCopyList(Testing);
  copy->Classes = Classes ? DeepCopy(*Classes) : nullptr;
  copy->FalseTypes = FalseTypes;
  copy->PreferableNames = PreferableNames;
  copy->Priority = Priority;
  copy->NegationEnabled = NegationEnabled;
  return copy;
}

std::unique_ptr<TMethodObject> TDeepAutoTransform::Copy() const {
  auto copy = std::make_unique<TDeepAutoTransform>();
  CopyTo(*copy);
  return copy;
}

std::unique_ptr<TMethodObject> TDeepDialogTransform::Copy() const {
  auto copy = std::make_unique<TDeepDialogTransform>();
  CopyTo(*copy);
  copy->NewVariables = NewVariables;
  copy->NewConditions = DeepCopyList(NewConditions);
  return copy;
}

std::unique_ptr<TMethodObject> SetMethodData(const TStatement& statement) {
  const std::vector<std::string>& lines = statement.Lines;
  const auto fail = [](int n) -> std::unique_ptr<TMethodObject> {
    Numbered(n, "SetMethodData (Cond)");
    return nullptr;
  };
  if (lines.size() < static_cast<std::size_t>(kMethodLines)) return fail(1);
  const std::optional<int> type = ReadInt(lines[kMethodTypeField]);
  if (!type || *type < 0 || *type > 3) return fail(1);

  std::unique_ptr<TMethod> method;
  TSuperficialTransform* superficial = nullptr;
  TDeepDialogTransform* dialog = nullptr;
  if (*type == kDialogSuperficial || *type == kAutoSuperficial) {
    auto s = std::make_unique<TSuperficialTransform>();
    superficial = s.get();
    method = std::move(s);
  } else if (*type == kDialogDeep) {
    auto d = std::make_unique<TDeepDialogTransform>();
    dialog = d.get();
    method = std::move(d);
  } else {
    method = std::make_unique<TDeepAutoTransform>();
  }
  method->Type = *type;
  method->RusCaption = lines[kMethodRusCaptionField];
  method->EngCaption = lines[kMethodEngCaptionField];
  method->Group = lines[kMethodGroupField];
  method->HelpInd = ReadInt(lines[kMethodHelpField]).value_or(0);
  const std::vector<std::string> flags = SplitTop(lines[kMethodFlagsField], " ");
  method->Terminal = Flag(flags, 1);

  const std::optional<TVarList> parameters = ReadVariables(lines[kMethodVariablesField]);
  if (!parameters) return fail(4);
  method->Parameters = *parameters;
  TVarList all = *parameters;
  if (dialog) {
    const std::optional<TVarList> fresh = ReadVariables(lines[kMethodNewVariablesField]);
    if (!fresh) return fail(4);
    dialog->NewVariables = *fresh;
    all.insert(all.end(), fresh->begin(), fresh->end());
  }
  const TScope inputScope(*parameters);
  method->Input = superficial ? ReadConditionPattern(inputScope, lines[kMethodInputField])
                              : ReadTermPattern(inputScope, lines[kMethodInputField]);
  if (!method->Input) return fail(4);
  method->MainFunction = method->Input->HeadIntrinsic();
  if (method->MainFunction == kNoHead) {
    Error("Ошибка в главной функции входного выражения."_cp, "Error in the main function of input expression.");
    return nullptr;
  }
  const TScope scope(all);
  method->Output = ReadPattern(scope, lines[kMethodOutputField]);
  if (!method->Output) return fail(2);
  if (dialog && !ReadPatterns(scope, lines[kMethodNewConditionsField], dialog->NewConditions)) return fail(6);
  if (!superficial) return method;

  const std::optional<int> connective = ReadInt(lines[kMethodConnectiveField]);
  if (!connective || *connective < 0 || *connective > 2) {
    Error("Неверная связка."_cp, "Invalid connective.");
    return nullptr;
  }
  superficial->Connective = *connective;
  if (!ReadPatterns(scope, lines[kMethodPresentField], superficial->Present, true)) return fail(6);
  if (!ReadPatterns(scope, lines[kMethodTestingField], superficial->Testing)) return fail(7);
  if (!Trim(lines[kMethodClassesField]).empty()) {
    superficial->Classes = ReadPattern(scope, lines[kMethodClassesField]);
    if (!superficial->Classes) return fail(3);
  }
  if (!SetFalseTypes(lines[kMethodFalseTypesField], *parameters, superficial->FalseTypes)) return nullptr;
  superficial->PreferableNames = SplitTop(lines[kMethodPreferableField], " ; ");
  const std::optional<int> priority = ReadInt(lines[kMethodPriorityField]);
  if (!priority || *priority < 1) {
    Error("Приоритет метода должен быть натуральным числом."_cp, "The priority must be a positive integer number.");
    return nullptr;
  }
  superficial->Priority = *priority;
  superficial->NegationEnabled = Flag(flags, 0);
  return method;
}

const TMethod* MethodOf(const TStatement& statement) { return dynamic_cast<const TMethod*>(statement.Method.get()); }

bool TestFalseTypes(const std::vector<TFalseTypes>& patterns, const TBinding& binding, bool& error) {
  for (const TFalseTypes& pattern : patterns) {
    bool matches = true;
    for (const auto& [index, type] : pattern) {
      if (index < 0 || static_cast<std::size_t>(index) >= binding.size() || !binding[index]) {
        Numbered(2, "TestFalseTypes (Cond)");
        error = true;
        return false;
      }
      const TType* actual = binding[index]->Type;
      if (actual == nullptr || !IsSubtypeOf(actual, type, *Ctx().TypesProccess)) matches = false;
    }
    if (matches) return false;
  }
  return true;
}

bool TestClassCond(const TExpr& condition, const TBinding& binding) {
  const int head = condition.HeadIntrinsic();
  if (head == kClassSign && ArgCount(condition) == 2) {
    const TExpr& par = Arg(condition, 0);
    if (par.Class != TClass::TemplPar) {
      Numbered(1, "TestClassCond (Cond)");
      return false;
    }
    const int i = par.ParIndex();
    if (i < 0 || static_cast<std::size_t>(i) >= binding.size() || !binding[i]) {
      Numbered(2, "TestClassCond (Cond)");
      return false;
    }
    return binding[i]->Class == Arg(condition, 1).Class;
  }
  if (head == kNot && ArgCount(condition) == 1) return !TestClassCond(Arg(condition, 0), binding);
  if ((head == kAnd || head == kOr) && ArgCount(condition) >= 1) {
    for (std::size_t i = 0; i < ArgCount(condition); ++i)
      if (TestClassCond(Arg(condition, i), binding) != (head == kAnd)) return head != kAnd;
    return head == kAnd;
  }
  Numbered(3, "TestClassCond (Cond)");
  return false;
}

// ---------------------------------------------------------------------------
// Registry.

bool TMethodRegistry::CountApplication() const {
  if (applications_ < kMaxApplications) return true;
  if (applications_++ == kMaxApplications)
    Error("Методы применялись слишком много раз; автоматическое применение методов остановлено."_cp,
          "Methods were applied too many times; automatic methods are stopped.");
  return false;
}

void TMethodRegistry::Clear() {
  applications_ = 0;
  lists_.clear();
  built_.clear();
  preferable_.clear();
}

bool TMethodRegistry::Build(const TBook& book, const TStatement* limit, const TMethodProved& proved) {
  Clear();
  for (const TStatement* statement : StatementsBefore(book, limit)) {
    if (statement == limit || statement->Kind() != kStatementKindWords[kMethodKind]) continue;
    if (!proved || !proved(*statement)) continue;
    if (!Add(*statement)) return false;
  }
  return ResolvePreferable(book);
}

bool TMethodRegistry::Add(const TStatement& statement) {
  const TMethod* method = MethodOf(statement);
  if (method == nullptr) {
    std::unique_ptr<TMethodObject> built = SetMethodData(statement);
    if (!built) return true;  // unusable: its message said why
    method = dynamic_cast<const TMethod*>(built.get());
    built_[&statement] = std::move(built);
  }
  const auto error = [](int n) {
    Error("Ошибка "_cp + std::to_string(n) + " при добавлении метода."_cp, "Error " + std::to_string(n) + " in adding method.");
    return false;
  };
  if (method->MainFunction < 0 || Ctx().StFunc->Intr(method->MainFunction) == nullptr) return error(1);
  if (method->Type < 0 || method->Type > 3) return error(2);
  TList& list = lists_[method->MainFunction][method->Type];
  const auto* superficial = dynamic_cast<const TSuperficialTransform*>(method);
  if (!superficial) {
    list.push_back(&statement);
    return true;
  }
  if (superficial->Priority < 1) return error(3);
  auto at = list.begin();
  for (; at != list.end(); ++at) {
    const auto* entry = dynamic_cast<const TSuperficialTransform*>(Method(**at));
    if (entry == nullptr || entry->Priority < 1) return error(4);
    if (entry->Priority > superficial->Priority) break;
  }
  list.insert(at, &statement);
  return true;
}

bool TMethodRegistry::ResolvePreferable(const TBook& book) {
  const std::vector<TStatement*> everything = StatementsBefore(book, nullptr);
  for (const auto& [function, lists] : lists_) {
    for (const TList& list : lists) {
      for (const TStatement* statement : list) {
        const auto* method = dynamic_cast<const TSuperficialTransform*>(Method(*statement));
        if (method == nullptr) continue;
        TList& resolved = preferable_[statement];
        for (const std::string& name : method->PreferableNames) {
          std::vector<const TStatement*> named;
          for (const TStatement* s : everything)
            if (s->Lines.size() > kEnglishNameLine && Trim(s->Lines[kEnglishNameLine]) == name) named.push_back(s);
          if (named.empty()) {
            Error("Неверное название предпочтительного метода: "_cp + name, "Wrong name of a preferable method: " + name);
            return false;
          }
          if (named.size() > 1) {
            Error("Утверждение с именем "_cp + name + " встречается 2 раза."_cp, "Statement name " + name + " is doubled.");
            return false;
          }
          resolved.push_back(named.front());
        }
      }
    }
  }
  return true;
}

const TMethodRegistry::TList& TMethodRegistry::List(int function, int type) const {
  static const TList none;
  const auto it = lists_.find(function);
  return it == lists_.end() || type < 0 || type > 3 ? none : it->second[type];
}

const TMethod* TMethodRegistry::Method(const TStatement& statement) const {
  const auto it = built_.find(&statement);
  if (it != built_.end()) return dynamic_cast<const TMethod*>(it->second.get());
  return MethodOf(statement);
}

const TMethodRegistry::TList& TMethodRegistry::Preferable(const TStatement& statement) const {
  static const TList none;
  const auto it = preferable_.find(&statement);
  return it == preferable_.end() ? none : it->second;
}

std::vector<int> TMethodRegistry::Functions() const {
  std::vector<int> functions;
  for (const auto& [function, lists] : lists_) functions.push_back(function);
  return functions;
}

// ---------------------------------------------------------------------------
// Identification.

namespace {

bool TestMethodNeededCond(const TKernel& kernel, const TSuperficialTransform& method, const TBinding& binding,
                          int depth) {
  for (const TExprPtr& testing : method.Testing) {
    TExprPtr c = Instantiated(*testing, binding);
    if (!c) {
      Numbered(1, "TestMethodNeededCond (Kernel)");
      return false;
    }
    if (c->Type == nullptr || c->Type->Name != "lT") {
      Numbered(2, "TestMethodNeededCond (Kernel)");
      return false;
    }
    Say("Проверка условия применимости метода "_cp + method.RusCaption, c.get());
    if (!ProvabilityTest(kernel, *c, depth + 1)) return false;
  }
  return true;
}

}  // namespace

namespace {

// A term of a sum in the normal form, negated in that form: a number, the
// product of a number and other factors (without the factor when it is 1),
// or a term standing alone (which takes the factor −1). Null on overflow.
TExprPtr NegatedTerm(const TExpr& t) {
  if (t.Class == TClass::Number) {
    TNumber n = *t.NumberValue();
    return Negate(n) ? Typed(TExpr::Number(n)) : nullptr;
  }
  if (t.HeadIntrinsic() == kTimes && ArgCount(t) >= 2 && Arg(t, 0).Class == TClass::Number) {
    TNumber n = *Arg(t, 0).NumberValue();
    if (!Negate(n)) return nullptr;
    TExprList factors;
    if (!(n == TNumber(1))) factors.push_back(TExpr::Number(n));
    for (std::size_t i = 1; i < ArgCount(t); ++i) factors.push_back(DeepCopy(Arg(t, i)));
    return factors.size() == 1 ? std::move(factors.front()) : Typed(ApplyIntr(kTimes, std::move(factors)));
  }
  return Typed(ApplyIntr(kTimes, TExpr::Number(TNumber(-1)), DeepCopy(t)));
}

// The equation E = 0 as −E = 0, also as the body of a ∀ or the conclusion of
// an implication in one: the normal form fixes the sign of an equation by
// the order of its terms, which names decide in a condition and parameter
// numbers in a pattern. Null when there is no such equation.
TExprPtr SignFlipped(const TExpr& c) {
  const int head = c.HeadIntrinsic();
  const std::size_t n = ArgCount(c);
  const std::size_t inner = head == kForall && n == 1 ? 0 : head == kImplies && n == 2 ? 1 : n;
  if (inner < n) {
    TExprPtr flipped = SignFlipped(Arg(c, inner));
    if (!flipped) return nullptr;
    TExprPtr copy = DeepCopy(c);
    copy->Children()[inner + 1] = std::move(flipped);
    return copy;
  }
  if (head != kEq || n != 2) return nullptr;
  const TNumber* zero = Arg(c, 1).Class == TClass::Number ? Arg(c, 1).NumberValue() : nullptr;
  const TExpr& side = Arg(c, 0);
  if (zero == nullptr || !(*zero == TNumber(0)) || !side.Type) return nullptr;
  TExprPtr minus;
  if (side.HeadIntrinsic() == kPlus) {
    TExprList terms;
    for (std::size_t i = 0; i < ArgCount(side); ++i) {
      TExprPtr t = NegatedTerm(Arg(side, i));
      if (!t) return nullptr;
      terms.push_back(std::move(t));
    }
    minus = Typed(ApplyIntr(kPlus, std::move(terms)));
  } else {
    minus = NegatedTerm(side);
  }
  if (!minus) return nullptr;
  TExprPtr copy = DeepCopy(c);
  copy->Children()[1] = std::move(minus);
  return copy;
}

// Matches the condition against the pattern, or against it with the sign of
// its equation turned, extending the bindings.
bool MatchCondition(const TExpr& c, const TExpr& pattern, TPatternBindings& bindings) {
  TPatternBindings trial = bindings;
  if (Comp(c, pattern, nullptr, &trial) == 0 && !trial.empty()) {
    bindings = std::move(trial);
    return true;
  }
  const TExprPtr flipped = SignFlipped(c);
  if (!flipped) return false;
  trial = bindings;
  if (Comp(*flipped, pattern, nullptr, &trial) != 0 || trial.empty()) return false;
  bindings = std::move(trial);
  return true;
}

}  // namespace

bool AddMethod(const TMethodRegistry& registry, const TKernel& kernel, const TExpr& condition,
               const TStatement& statement, bool direct, int depth, std::vector<TExtendedMeth>& found) {
  const auto* method = dynamic_cast<const TSuperficialTransform*>(registry.Method(statement));
  if (method == nullptr || !method->Input) {
    Numbered(1, "AddMethod (Kernel)");
    return false;
  }
  const TExpr* target = &condition;
  if (!direct) {
    if (condition.HeadIntrinsic() != kNot || ArgCount(condition) != 1) return false;
    target = &Arg(condition, 0);
  }
  TPatternBindings bindings{TBinding{}};
  if (!MatchCondition(*target, *method->Input, bindings)) return false;
  for (const TExprPtr& present : method->Present) {
    TPatternBindings extended;
    for (const TBinding& binding : bindings)
      for (const TCondPtr& given : kernel.GivenConds) {
        if (!given->Expr || given->Expr.get() == &condition) continue;
        TPatternBindings trial{binding};
        if (MatchCondition(*given->Expr, *present, trial)) extended.insert(extended.end(), trial.begin(), trial.end());
      }
    if (extended.empty()) return false;
    bindings = std::move(extended);
  }
  const std::size_t n = method->Parameters.size();
  for (const TBinding& binding : bindings)
    if (!Complete(binding, n)) {
      Error("Неполная идентификация параметров метода "_cp + method->RusCaption,
            "Uncomplete identification of parameters of " + method->EngCaption);
      return false;
    }
  for (const TBinding& binding : bindings) {
    bool error = false;
    if (!TestFalseTypes(method->FalseTypes, binding, error)) {
      if (error) return false;
      continue;
    }
    if (method->Classes && !TestClassCond(*method->Classes, binding)) continue;
    if (!TestMethodNeededCond(kernel, *method, binding, depth)) continue;
    const TMethodRegistry::TList& superseded = registry.Preferable(statement);
    std::erase_if(found, [&](const TExtendedMeth& c) {
      return std::find(superseded.begin(), superseded.end(), c.Method) != superseded.end();
    });
    found.push_back(TExtendedMeth{direct, &statement, binding});
    return true;
  }
  return false;
}

namespace {

struct TFindOptions {
  TSection Section = TSection::GivenConds;
  bool Automatic = false;
  int Stage = 0;
  int Depth = 0;
  bool OnlyBothWays = false;
};

int Mirrored(int f) {
  switch (f) {
    case kGt: return kLt;
    case kLt: return kGt;
    case kGe: return kLe;
    case kLe: return kGe;
    default: return -1;
  }
}

std::vector<TExtendedMeth> FindFor(const TMethodRegistry& registry, const TKernel& kernel, const TExpr& condition,
                                   const TFindOptions& options) {
  std::vector<TExtendedMeth> found;
  const int type = options.Automatic ? kAutoSuperficial : kDialogSuperficial;
  const bool given = options.Section == TSection::GivenConds;
  const auto search = [&](int function, bool direct) {
    if (function < 0) return;
    for (const TStatement* statement : registry.List(function, type)) {
      const auto* method = dynamic_cast<const TSuperficialTransform*>(registry.Method(*statement));
      if (method == nullptr) continue;
      if (method->Terminal && kernel.SearchMode == 0) continue;
      if (!direct && !method->NegationEnabled) continue;
      if (options.Stage != 0 && options.Stage != method->Priority) continue;
      if (options.OnlyBothWays && method->Connective != kBothWays) continue;
      const int forbidden = given == direct ? kOutputGivesInput : kInputGivesOutput;
      if (method->Connective == forbidden) continue;
      if (AddMethod(registry, kernel, condition, *statement, direct, options.Depth, found) && options.Automatic) return;
    }
  };
  const int f = condition.HeadIntrinsic();
  search(f, true);
  search(Mirrored(f), true);
  if (f == kNot && ArgCount(condition) == 1) search(Arg(condition, 0).HeadIntrinsic(), false);
  return found;
}

const TExpr* ConditionAt(const TKernel& kernel, TSection section, int position) {
  const TCondList& list = section == TSection::ProvingConds ? kernel.ProvingConds : kernel.GivenConds;
  if ((section != TSection::GivenConds && section != TSection::ProvingConds) || position < 0 ||
      static_cast<std::size_t>(position) >= list.size() || !list[position]->Expr) {
    Error("Отмечено несуществующее условие."_cp, "The marked condition does not exist");
    return nullptr;
  }
  return list[position]->Expr.get();
}

TExprPtr OutputOf(const TMethodRegistry& registry, const TExtendedMeth& candidate) {
  const TMethod* method = registry.Method(*candidate.Method);
  if (method == nullptr) return nullptr;
  TExprPtr out = Instantiated(*method->Output, candidate.Binding);
  if (out && !candidate.Direct) out = Node(kNot, std::move(out));
  return out;
}

// Puts `replacement` in place of the condition; the old one stays when the
// new formula gives no condition.
bool ReplaceCondition(TKernel& kernel, TSection section, int position, const TExpr& replacement) {
  TCondList& list = kernel.Conds(section);
  TCondPtr old = std::move(list[position]);
  list.erase(list.begin() + position);
  const bool added = section == TSection::GivenConds ? kernel.AddGivenCond(replacement, position)
                                                     : kernel.AddProvingCond(replacement, position);
  if (!added) list.insert(list.begin() + position, std::move(old));
  return added;
}

void SayReplaced(const std::string& rusName, TSection section, const TExpr& old, const TExpr& now) {
  const bool given = section == TSection::GivenConds;
  if (Ctx().DeveloperMode)
    Say(rusName + (given ? " заменил данное условие "_cp : " заменил доказываемое условие "_cp) + Text(old) + " на "_cp +
            Text(now),
        &now);
  else
    Say((given ? "Данное условие "_cp : "Доказываемое условие "_cp) + Text(old) + " заменено на "_cp + Text(now), &now);
}

// Whether e has a local variable bound outside it.
bool HasOuterBound(const TExpr& e) {
  std::vector<const TVar*> inside;
  for (const TVar* v : CollectBound(e)) inside.push_back(v);
  for (const TVar* v : CollectVariables(e, TClass::LocVar))
    if (std::find(inside.begin(), inside.end(), v) == inside.end()) return true;
  return false;
}

// The first subterm, in pre-order, that the deep method's input matches with
// every parameter bound and without a variable bound outside it.
const TExpr* FindDeepSubterm(const TMethod& method, const TExpr& e, TBinding& binding) {
  if (e.Class != TClass::Compound) return nullptr;
  // A term about a required object names no value yet: an object standing
  // for it would depend on the choice the proof is still to make.
  if (e.HeadIntrinsic() == method.MainFunction && !HasOuterBound(e) && !ContainsClass(e, TClass::ProveVar)) {
    TPatternBindings bindings{TBinding{}};
    if (Comp(e, *method.Input, nullptr, &bindings) == 0)
      for (const TBinding& b : bindings)
        if (Complete(b, method.Parameters.size())) {
          binding = b;
          return &e;
        }
  }
  for (std::size_t i = 1; i < e.Children().size(); ++i)
    if (const TExpr* s = FindDeepSubterm(method, *e.Children()[i], binding)) return s;
  return nullptr;
}

}  // namespace

std::vector<TExtendedMeth> FindMethods(const TMethodRegistry& registry, const TKernel& kernel,
                                       const TMethodSearch& search, bool* exists) {
  const TExpr* condition = ConditionAt(kernel, search.Section, search.Position);
  if (exists) *exists = condition != nullptr;
  if (!condition) return {};
  return FindFor(registry, kernel, *condition,
                 TFindOptions{search.Section, search.Automatic, search.Stage, search.Depth, false});
}

bool ExecuteMethod(const TMethodRegistry& registry, TKernel& kernel, TSection section, int position,
                   const std::vector<TExtendedMeth>& candidates, int k) {
  if (k < 0 || static_cast<std::size_t>(k) >= candidates.size()) {
    Error("Ошибка 1 в ExecuteMethod (Kernel)."_cp, "Error 1 in ExecuteMethod (Kernel).");
    return false;
  }
  const TExpr* condition = ConditionAt(kernel, section, position);
  if (!condition) return false;
  const TExprPtr now = OutputOf(registry, candidates[k]);
  if (!now) return false;
  const TExprPtr old = DeepCopy(*condition);
  if (!ReplaceCondition(kernel, section, position, *now)) return false;
  const TMethod* method = registry.Method(*candidates[k].Method);
  SayReplaced(method ? method->RusCaption : std::string(), section, *old, *now);
  return true;
}

std::vector<const TStatement*> FindDeepMethods(const TMethodRegistry& registry, const TKernel& kernel,
                                               TSection section, int position, bool* exists) {
  const TExpr* condition = ConditionAt(kernel, section, position);
  if (exists) *exists = condition != nullptr;
  std::vector<const TStatement*> offered;
  if (!condition) return offered;
  for (int function : registry.Functions()) {
    for (const TStatement* statement : registry.List(function, kDialogDeep)) {
      const TMethod* method = registry.Method(*statement);
      TBinding binding;
      if (method && !method->Terminal && FindDeepSubterm(*method, *condition, binding)) offered.push_back(statement);
    }
  }
  return offered;
}

bool DeepExecuteMethod(const TMethodRegistry& registry, TKernel& kernel, const TStatement& statement,
                       TSection section, int position, int depth) {
  const TMethod* method = registry.Method(statement);
  if (method == nullptr || !method->Input || method->Input->HeadIntrinsic() == kNoHead) {
    Error("Ошибка в при выполнении глубокого преобразования "_cp + (method ? method->RusCaption : std::string()),
          "Error in executing of deep transformation " + (method ? method->EngCaption : std::string()));
    return false;
  }
  const TExpr* condition = ConditionAt(kernel, section, position);
  if (!condition) return false;
  TBinding binding;
  const TExpr* found = FindDeepSubterm(*method, *condition, binding);
  if (!found) return false;
  const TExprPtr s = DeepCopy(*found);
  // Whether S is defined here: otherwise what the method says holds only where it is.
  TExprList needed;
  if (!NeededConditionsOf(*s, needed, kernel, false)) return false;
  bool defined = true;
  for (const TExprPtr& n : needed)
    if (kernel.FindGivenCond(*n) < 0 && !ProvabilityTest(kernel, *n, depth + 1)) defined = false;

  const std::size_t n = method->Parameters.size();
  const auto* dialog = dynamic_cast<const TDeepDialogTransform*>(method);
  if (dialog) {
    binding.resize(n + dialog->NewVariables.size());
    for (std::size_t j = 0; j < dialog->NewVariables.size(); ++j) {
      if (binding[n + j]) {
        Numbered(1, "DeepExecuteMethod2 (Kernel)");
        return false;
      }
      TVar& object = kernel.AddObject(std::make_shared<TVar>(*dialog->NewVariables[j]), false);
      binding[n + j] = std::shared_ptr<const TExpr>(TExpr::VarRef(TClass::DataVar, object));
    }
  }
  TExprPtr t = Instantiated(*method->Output, binding);
  if (!t) {
    Numbered(2, "DeepExecuteMethod2 (Kernel)");
    return false;
  }
  const TExprPtr guard = defined ? nullptr : Conjunction(needed);
  const auto guarded = [&](TExprPtr c) { return guard ? Node(kImplies, DeepCopy(*guard), std::move(c)) : std::move(c); };
  TExprPtr identity = guard ? guarded(Node(kEq, DeepCopy(*s), DeepCopy(*t))) : Node(kIdentity, DeepCopy(*s), DeepCopy(*t));
  if (!identity || !kernel.AddGivenCond(*identity)) {
    Numbered(5, "DeepExecuteMethod2 (Kernel)");
    return false;
  }
  if (dialog)
    for (const TExprPtr& c : dialog->NewConditions) {
      TExprPtr instance = Instantiated(*c, binding);
      if (!instance) {
        Numbered(3, "DeepExecuteMethod2 (Kernel)");
        return false;
      }
      TExprPtr added = guarded(std::move(instance));
      if (!added || !kernel.AddGivenCond(*added)) {
        Numbered(4, "DeepExecuteMethod2 (Kernel)");
        return false;
      }
    }
  return true;
}

bool DeepMethodPass(const TMethodRegistry& registry, TKernel& kernel, int depth) {
  bool applied = false;
  for (const int f : registry.Functions())
    for (const TStatement* statement : registry.List(f, kDialogDeep)) {
      const TMethod* method = registry.Method(*statement);
      if (method == nullptr) continue;
      for (const TSection section : {TSection::GivenConds, TSection::ProvingConds}) {
        const std::size_t count = kernel.Conds(section).size();
        for (std::size_t i = 0; i < count && i < kernel.Conds(section).size(); ++i) {
          const TExpr* c = kernel.Conds(section)[i]->Expr.get();
          TBinding binding;
          if (c == nullptr || c->HeadIntrinsic() == kIdentity || !FindDeepSubterm(*method, *c, binding)) continue;
          if (!registry.CountApplication()) return applied;
          if (DeepExecuteMethod(registry, kernel, *statement, section, static_cast<int>(i), depth)) {
            registry.Applied();
            applied = true;
          }
        }
      }
    }
  return applied;
}

bool ApplyAutomaticMethods(const TMethodRegistry& registry, TKernel& kernel, TSection section, int position,
                           int depth) {
  TCondList& list = kernel.Conds(section);
  if (position < 0 || static_cast<std::size_t>(position) >= list.size() || !list[position]->Expr) return false;
  if (!registry.CountApplication()) return false;
  const TFindOptions options{section, true, std::max(list[position]->Stage - 1, 1), depth, true};
  TExprPtr copy = DeepCopy(*list[position]->Expr);
  const TStatement* used = nullptr;
  // Rewrites e or, through ∧ and ∨, one of its operands.
  std::function<bool(TExpr&)> rewrite = [&](TExpr& e) -> bool {
    const std::vector<TExtendedMeth> found = FindFor(registry, kernel, e, options);
    if (!found.empty()) {
      TExprPtr now = OutputOf(registry, found.front());
      if (now && !Equal(*now, e)) {
        used = found.front().Method;
        ReplaceBy(e, std::move(now));
        return true;
      }
    }
    if (e.HeadIntrinsic() == kAnd || e.HeadIntrinsic() == kOr)
      for (std::size_t i = 1; i < e.Children().size(); ++i)
        if (rewrite(*e.Children()[i])) return true;
    return false;
  };
  if (!rewrite(*copy)) return false;
  copy->Type = nullptr;
  if (!Typed(DeepCopy(*copy)) || ExprType(*copy, false) == nullptr) return false;
  const TExprPtr old = DeepCopy(*list[position]->Expr);
  if (Equal(*old, *copy) || !ReplaceCondition(kernel, section, position, *copy)) return false;
  registry.Applied();
  const TMethod* method = registry.Method(*used);
  SayReplaced(method ? method->RusCaption : std::string(), section, *old, *copy);
  return true;
}

// ---------------------------------------------------------------------------
// Correctness.

TTask MethodCorrectnessTask(const TStatement& statement) {
  TTask task;
  task.Kernel = std::make_unique<TKernel>();
  TKernel& kernel = *task.Kernel;
  kernel.Root = 1;
  std::unique_ptr<TMethodObject> object = SetMethodData(statement);
  const auto* method = dynamic_cast<const TMethod*>(object.get());
  if (method == nullptr) return task;
  const auto* dialog = dynamic_cast<const TDeepDialogTransform*>(method);
  const auto* superficial = dynamic_cast<const TSuperficialTransform*>(method);

  // The parameters (and new variables) as given objects; new variables first.
  const std::size_t n = method->Parameters.size();
  TBinding binding(n + (dialog ? dialog->NewVariables.size() : 0));
  if (dialog)
    for (std::size_t j = 0; j < dialog->NewVariables.size(); ++j)
      binding[n + j] = TExpr::VarRef(TClass::DataVar, kernel.AddObject(std::make_shared<TVar>(*dialog->NewVariables[j]), false));
  for (std::size_t i = 0; i < n; ++i)
    binding[i] = TExpr::VarRef(TClass::DataVar, kernel.AddObject(std::make_shared<TVar>(*method->Parameters[i]), false));

  const TExprPtr input = Instantiated(*method->Input, binding);
  const TExprPtr output = Instantiated(*method->Output, binding);
  if (!input || !output) return task;
  TExprList neededIn, neededOut;
  if (!NeededConditionsOf(*input, neededIn, kernel, true) || !NeededConditionsOf(*output, neededOut, kernel, true))
    return task;

  TExprList goals;  // after the claim, in order
  TExprPtr claim;
  if (superficial) {
    for (const TExprPtr& testing : superficial->Testing) {
      TExprPtr c = Instantiated(*testing, binding);
      if (!c || !kernel.AddGivenCond(*c)) return task;
    }
    for (const TExprPtr& present : superficial->Present) {
      TExprPtr c = Instantiated(*present, binding);
      TExprList needed;
      if (!c || !kernel.AddGivenCond(*c) || !NeededConditionsOf(*c, needed, kernel, true)) return task;
      for (const TExprPtr& m : needed)
        if (!kernel.AddGivenCond(*m, 0)) return task;
    }
    switch (superficial->Connective) {
      case kBothWays: claim = Node(kIff, DeepCopy(*input), DeepCopy(*output)); break;
      case kInputGivesOutput: claim = Node(kImplies, DeepCopy(*input), DeepCopy(*output)); break;
      case kOutputGivesInput: claim = Node(kImplies, DeepCopy(*output), DeepCopy(*input)); break;
      default: Error("Неверная связка."_cp, "Invalid connective."); return task;
    }
    // The output must be defined wherever the method may be used.
    goals = std::move(neededOut);
  } else if (dialog) {
    TExprList conditions;
    for (const TExprPtr& c : dialog->NewConditions) {
      TExprPtr instance = Instantiated(*c, binding);
      if (!instance) return task;
      conditions.push_back(std::move(instance));
    }
    const TExprPtr all = Conjunction(conditions);
    if (!all) return task;
    claim = Node(kIff, Node(kEq, DeepCopy(*input), DeepCopy(*output)), DeepCopy(*all));
    // (I = O) ⇔ C alone holds when C is I = O: the new variables must also be
    // able to take the value, ∃v: I = O.
    TBinding bound(binding.size());
    for (std::size_t i = 0; i < n; ++i) bound[i] = binding[i];
    TVarList fresh;
    for (std::size_t j = 0; j < dialog->NewVariables.size(); ++j) {
      fresh.push_back(std::make_shared<TVar>(*dialog->NewVariables[j]));
      bound[n + j] = TExpr::VarRef(TClass::LocVar, *fresh.back());
    }
    TExprPtr equal = Instantiated(*ApplyIntr(kEq, DeepCopy(*method->Input), DeepCopy(*method->Output)), bound);
    if (!equal) return task;
    if (!fresh.empty()) {
      TExprPtr exists = ApplyIntr(kExists, std::move(equal));
      exists->Bound = std::move(fresh);
      equal = Typed(std::move(exists));
      if (!equal) return task;
    }
    goals.push_back(std::move(equal));
    for (const TExprPtr& m : neededOut)
      goals.push_back(conditions.empty() ? DeepCopy(*m) : Node(kImplies, DeepCopy(*all), DeepCopy(*m)));
  } else {
    claim = input->Type && input->Type->Name == "lT" ? Node(kIff, DeepCopy(*input), DeepCopy(*output))
                                                     : Node(kEq, DeepCopy(*input), DeepCopy(*output));
    goals = std::move(neededOut);
  }
  if (!claim) return task;
  for (const TExprPtr& m : neededIn)
    if (!kernel.AddGivenCond(*m, 0)) return task;
  if (!kernel.AddProvingCond(*claim, 0)) return task;
  for (const TExprPtr& goal : goals)
    if (!goal || !kernel.AddProvingCond(*goal)) return task;
  task.GoesOn = TestConditions(kernel);
  return task;
}

}  // namespace lemmix
