#include "notation/parser.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "expr/type_expr.h"
#include "expr/typing.h"
#include "intrinsics/intr_numbers.h"
#include "intrinsics/st_func.h"
#include "shell/context.h"
#include "shell/cp1251.h"
#include "types/type.h"
#include "types/type_relations.h"
#include "types/types_proccess.h"

namespace lemmix {

namespace {

constexpr int kNone = 13;  // the priority that stands for no split item

void Show(const std::string& rus, const std::string& eng) { Ctx().Messages.Error({rus, eng}); }

TIntr& F(int n) { return *Ctx().StFunc->Intr(n); }

bool IsOpener(const TExpr& e) { return e.IsIntr(kLeftRound) || e.IsIntr(kLeftSquare) || e.IsIntr(kLeftBrace); }
bool IsCloser(const TExpr& e) { return e.IsIntr(kRightRound) || e.IsIntr(kRightSquare) || e.IsIntr(kRightBrace); }
// Brackets, separators and key words: no expression by themselves. The dot
// is one too, except as the place of an argument in a declaration, f(.).
bool IsPunctuation(const TExpr& item, bool dotAllowed) {
  const TIntr* f = item.Intrinsic();
  if (f == nullptr) return false;
  switch (f->Number) {
    case kDot: return !dotAllowed;
    case kAntonymSign: case kLeftRound: case kRightRound: case kLeftSquare: case kRightSquare: case kLeftBrace:
    case kRightBrace: case kSubscript: case kRange: case kVld: case kColon: case kComma: case kSemicolon: case kBar:
    case kParameters: case kBlank: case kNestedSeparator: case kAtPoint: case kOnSet: case kAs:
      return true;
    default:
      return false;
  }
}

std::string WordOf(const TExpr& item) {
  if (const TIntr* f = item.Intrinsic()) return f->Name;
  if (const TAntIntr* a = item.Antonym()) return Ctx().StFunc->AntonymWordOf(*a, false);
  return "";
}

TType* TypeNamed(const char* id) { return Ctx().TypesProccess->FindType(id, true); }

class Parser {
 public:
  explicit Parser(const TItemList& items) {
    for (std::size_t i = 0; i < items.size(); ++i) {
      items_.push_back(ShallowCopy(*items[i]));
      origin_.push_back(i);
    }
    origin_.push_back(items.size());
  }

  TExprPtr Run() {
    if (items_.empty()) {
      Report(0, "Введена пустая строка."_cp, "An empty string.");
      return nullptr;
    }
    if (!RealNumbersInput() || !PairBars()) return nullptr;
    return Parse(0, items_.size());
  }

  // The item of the given list at which the parse failed; the list's size
  // for a fault after its last item.
  std::optional<std::size_t> Fault() const { return fault_; }

  // The items of the given list at which the nodes of the tree were built.
  TNodePlaces Places(const TExpr& tree) const {
    TNodePlaces places;
    CollectPlaces(tree, places);
    return places;
  }

 private:
  static constexpr int kMaxNesting = 200;

  const TExpr& At(std::size_t i) const { return *items_[i]; }

  // Shows the message and keeps the place of the fault: the working item at
  // `at`, or the end of the list. The first fault is the one that stopped the parse.
  void Report(std::size_t at, const std::string& rus, const std::string& eng) {
    Show(rus, eng);
    if (!fault_) fault_ = origin_[std::min(at, origin_.size() - 1)];
  }

  // The place of a fault another part of the program has reported.
  void Mark(std::size_t at) {
    if (!fault_) fault_ = origin_[std::min(at, origin_.size() - 1)];
  }

  // Notes the working item a node was built at. A node freed while parsing
  // may leave its address to a later one, which is then noted anew: every
  // node the parser builds is noted but the heads of compounds, and no place
  // is asked of them.
  TExprPtr Placed(TExprPtr node, std::size_t at) {
    if (node) built_.insert_or_assign(node.get(), origin_[std::min(at, origin_.size() - 1)]);
    return node;
  }

  void CollectPlaces(const TExpr& e, TNodePlaces& places) const {
    if (const auto found = built_.find(&e); found != built_.end()) places.emplace(&e, found->second);
    if (e.Class == TClass::Compound)
      for (const TExprPtr& child : e.Children()) CollectPlaces(*child, places);
  }

  // Bars pair by their context: a bar after an operand closes the bar open
  // last, any other opens (the summand |x| after the bound n in
  // \sum_(i=1)^n |x| too); pairs do not cross brackets.
  bool PairBars() {
    barOpens_.assign(items_.size(), false);
    std::vector<std::size_t> open;  // brackets and bars not closed yet
    const auto unclosedBar = [&](std::size_t bar, std::size_t end) {
      const std::string text = ItemL_to_String(*PartCopy(bar, end), false, false).value_or("");
      Report(bar, "В выражении "_cp + text + " не закрыта скобка."_cp, "Missing bracket in expression " + text);
      return false;
    };
    for (std::size_t k = 0; k < items_.size(); ++k) {
      const TExpr& item = At(k);
      if (IsOpener(item)) {
        open.push_back(k);
      } else if (IsCloser(item)) {
        if (!open.empty() && At(open.back()).IsIntr(kBar)) return unclosedBar(open.back(), k);
        if (!open.empty()) open.pop_back();
      } else if (item.IsIntr(kBar) && k > 0 && EndsOperand(k - 1) && !open.empty() && At(open.back()).IsIntr(kBar)) {
        open.pop_back();
      } else if (item.IsIntr(kBar)) {
        barOpens_[k] = true;
        open.push_back(k);
      }
    }
    for (const std::size_t k : open)
      if (At(k).IsIntr(kBar)) return unclosedBar(k, items_.size());
    return true;
  }

  // The item at j ends an operand: a variable, number or text, a constant,
  // a closing bracket or bar, a postfix predicate.
  bool EndsOperand(std::size_t j) const {
    const TExpr& item = At(j);
    if (item.IsIntr(kBar)) return !barOpens_[j];
    if (IsCloser(item)) return true;
    const TIntr* f = item.Antonym() ? item.Antonym()->Intr : item.Intrinsic();
    if (f == nullptr) return true;
    if (f->Fixity != TFixity::Infix) return f->Fixity == TFixity::Postfix;
    if (IsExplicitTypeSign(*f)) return true;
    return f->Priority >= kAtomPriority && !IsPunctuation(item, false);
  }

  bool Opens(std::size_t k) const { return IsOpener(At(k)) || (At(k).IsIntr(kBar) && barOpens_[k]); }
  bool Closes(std::size_t k) const { return IsCloser(At(k)) || (At(k).IsIntr(kBar) && !barOpens_[k]); }

  void EraseItems(std::size_t from, std::size_t count) {
    const auto a = static_cast<std::ptrdiff_t>(from);
    const auto b = static_cast<std::ptrdiff_t>(from + count);
    items_.erase(items_.begin() + a, items_.begin() + b);
    origin_.erase(origin_.begin() + a, origin_.begin() + b);
  }

  // Decimal point between two integers: one real number.
  bool RealNumbersInput() {
    for (std::size_t i = 1; i + 1 < items_.size(); ++i) {
      if (!At(i).IsIntr(kDot) || !At(i - 1).NumberValue() || !At(i + 1).NumberValue()) continue;
      const TNumber& a = *At(i - 1).NumberValue();
      const TNumber& b = *At(i + 1).NumberValue();
      const std::optional<TNumber> real =
          a.IsInteger() && b.IsInteger() && a.Integer() >= 0 && b.Integer() >= 0
              ? NumberFromString(std::to_string(a.Integer()) + "." + std::to_string(b.Integer()))
              : std::nullopt;
      if (!real) {
        Report(i - 1, "Ошибка при вводе действительного числа in RealNumbersInput (ExprDial)."_cp, "Wrong real number");
        return false;
      }
      items_[i - 1] = TExpr::Number(*real);
      EraseItems(i, 2);
    }
    return true;
  }

  // The closer that matches the opener at i, counting all brackets; last when none.
  std::optional<std::size_t> Match(std::size_t i, std::size_t last) const {
    int depth = 0;
    for (std::size_t k = i; k < last; ++k) {
      if (Opens(k)) ++depth;
      if (Closes(k) && --depth == 0) return k;
    }
    return std::nullopt;
  }

  // The opener that matches the closer at `close`, counting back to `first`.
  std::optional<std::size_t> Opener(std::size_t first, std::size_t close) const {
    int depth = 0;
    for (std::size_t k = close + 1; k-- > first;) {
      if (Closes(k)) ++depth;
      if (Opens(k) && --depth == 0) return k;
    }
    return std::nullopt;
  }

  // Positions of an intrinsic outside all brackets and bars in [first, last).
  std::vector<std::size_t> AtTop(std::size_t first, std::size_t last, int number) const {
    std::vector<std::size_t> found;
    int depth = 0;
    for (std::size_t k = first; k < last; ++k) {
      if (Opens(k)) ++depth;
      else if (Closes(k)) --depth;
      else if (depth == 0 && At(k).IsIntr(number)) found.push_back(k);
    }
    return found;
  }

  std::optional<std::size_t> FirstAtTop(std::size_t first, std::size_t last, std::initializer_list<int> numbers) const {
    int depth = 0;
    for (std::size_t k = first; k < last; ++k) {
      if (Opens(k)) ++depth;
      else if (Closes(k)) --depth;
      else if (depth == 0)
        for (const int n : numbers)
          if (At(k).IsIntr(n)) return k;
    }
    return std::nullopt;
  }

  int ItemPrior(const TExpr& item) const {
    if (const TIntr* f = item.Intrinsic()) return f->Fixity == TFixity::Prefix ? kAtomPriority : f->Priority;
    if (const TAntIntr* a = item.Antonym()) return a->Intr->Fixity == TFixity::Prefix ? kAtomPriority : a->Intr->Priority;
    return kAtomPriority;
  }

  bool LaterWins(const TExpr& item) const {
    const TIntr* f = item.Intrinsic();
    return f != nullptr && f->Fixity != TFixity::Prefix;
  }

  // Drops round brackets around the whole range.
  bool Strip(std::size_t& first, std::size_t& last) {
    while (last - first >= 2 && At(first).IsIntr(kLeftRound)) {
      const std::optional<std::size_t> close = Match(first, last);
      if (!close) {
        Report(first, "Не закрыта круглая скобка."_cp, "Missed right bracket.");
        return false;
      }
      if (*close != last - 1 || !At(*close).IsIntr(kRightRound) || !AtTop(first + 1, last - 1, kSemicolon).empty()) break;
      ++first;
      --last;
      if (first == last) {
        Report(first - 1, "Пустое выражение в скобках."_cp, "Empty expression in brackets.");
        return false;
      }
    }
    return true;
  }

  // Nesting deeper than any formula needs is refused before the stack runs out.
  TExprPtr Parse(std::size_t first, std::size_t last) {
    if (depth_ >= kMaxNesting) {
      if (!tooDeep_) Report(first, "Формула имеет слишком большую вложенность."_cp, "The formula is nested too deeply.");
      tooDeep_ = true;
      return nullptr;
    }
    ++depth_;
    TExprPtr tree = ParseRange(first, last);
    --depth_;
    return tree;
  }

  TExprPtr ParseRange(std::size_t first, std::size_t last) {
    if (first >= last) {
      Report(first, "Пустое выражение."_cp, "Empty expression.");
      return nullptr;
    }
    if (!Strip(first, last)) return nullptr;
    if (last - first == 1) {
      if (IsPunctuation(At(first), declaring_ > 0)) {
        const std::string word = WordOf(At(first));
        Report(first, "Неинтерпретируемое выражение "_cp + word, "Unable to interpret string " + word);
        return nullptr;
      }
      return Placed(ShallowCopy(At(first)), first);
    }
    // The split item: lowest priority outside all brackets and bars.
    int depth = 0;
    int best = kNone;
    std::size_t split = last;
    for (std::size_t k = first; k < last; ++k) {
      const TExpr& item = At(k);
      if (Opens(k)) {
        ++depth;
        continue;
      }
      if (Closes(k)) {
        if (--depth < 0) {
          Report(k, "Не хватает открывающей скобки."_cp, "Left bracket is missed.");
          return nullptr;
        }
        continue;
      }
      if (depth != 0) continue;
      const int prior = ItemPrior(item);
      if (prior == 1 && best != 1) {
        best = 1;
        split = k;
        break;
      }
      // Among atoms a named function is the one that must open its range.
      const bool function = prior == kAtomPriority && item.Intrinsic() != nullptr && split < last && !At(split).Intrinsic();
      if (prior < best || (prior == best && prior < kNone && (LaterWins(item) || function))) {
        best = prior;
        split = k;
      }
    }
    if (split < last) return Placed(Build(first, last, split), split);
    return Placed(Brackets(first, last), first);
  }

  // Splits at depth-0 commas and parses each part.
  std::optional<TExprList> Arguments(std::size_t first, std::size_t last) {
    TExprList args;
    std::size_t start = first;
    for (const std::size_t comma : AtTop(first, last, kComma)) {
      TExprPtr a = Parse(start, comma);
      if (!a) return std::nullopt;
      args.push_back(std::move(a));
      start = comma + 1;
    }
    TExprPtr a = Parse(start, last);
    if (!a) return std::nullopt;
    args.push_back(std::move(a));
    return args;
  }

  TExprPtr Build(std::size_t first, std::size_t last, std::size_t s) {
    const TExpr& item = At(s);
    if (const TAntIntr* a = item.Antonym()) {
      TExprPtr saved = std::move(items_[s]);
      items_[s] = TExpr::OfIntr(*a->Intr);
      antonymWord_ = WordOf(*saved);
      TExprPtr inner = Placed(Build(first, last, s), s);
      items_[s] = std::move(saved);
      if (!inner) return nullptr;
      return ApplyIntr(kNot, std::move(inner));
    }
    if (item.Intrinsic() == nullptr) return Application(first, last, s);
    const TIntr& f = *item.Intrinsic();
    // Messages name the item as written: an antonym read as its function by its own word.
    const std::string name = std::exchange(antonymWord_, std::nullopt).value_or(f.Name);
    switch (f.Number) {
      case kForall: return Forall(first, last, s);
      case kExists:
      case kExistsOne: return Exists(first, last, s, f.Number);
      case kLim: return Limit(first, last, s);
      case kSum:
      case kProduct: return Sum(first, last, s);
      case kAs: return As(first, last, s);
      case kClassSign: return ClassSign(first, last, s);
      case kComma: {
        std::optional<TExprList> parts = Arguments(first, last);
        if (!parts) return nullptr;
        return ApplyIntr(kTuple, std::move(*parts));
      }
      case kMinus: {
        if (s == first) {
          TExprPtr right = Parse(s + 1, last);
          return right ? ApplyIntr(kMinus, std::move(right)) : nullptr;
        }
        TExprPtr left = Parse(first, s);
        TExprPtr right = left ? Parse(s + 1, last) : nullptr;
        if (!right) return nullptr;
        return ApplyIntr(kPlus, std::move(left), Placed(ApplyIntr(kMinus, std::move(right)), s));
      }
      case kPower:
        if (s + 1 < last && At(s + 1).IsIntr(kLeftBrace)) return Multiderivative(first, last, s);
        break;
      case kDerivativeMark: {
        TExprPtr fn = Parse(first, s);
        TExprPtr arg = fn ? Parse(s + 1, last) : nullptr;
        if (!arg) return nullptr;
        TExprList args;
        args.push_back(std::move(fn));
        args.push_back(Placed(TExpr::Number(TNumber(std::int32_t{1})), s));
        args.push_back(std::move(arg));
        return ApplyIntr(kDerivative, std::move(args));
      }
      case kSubscript: return Subscript(first, last, s);
      case kOneToOne: return OneToOne(first, last, s);
      case kInverse: return Ternary(first, last, s, kOnSet);
      default:
        if (IsAtPointPredicate(f.Number)) return Ternary(first, last, s, kAtPoint);
        break;
    }
    if (f.Fixity == TFixity::Prefix) {
      if (s != first) {
        Report(s, "Пропущен знак математической операции перед выражением "_cp + name,
               "Operation before expression " + name + " is missed.");
        return nullptr;
      }
      if (s + 1 >= last) {
        Report(s, "Пропущены скобки для выражения "_cp + name, "The brackets for expression " + name + " are missed.");
        return nullptr;
      }
      std::size_t a = s + 1;
      std::size_t b = last;
      if (!Strip(a, b)) return nullptr;
      std::optional<TExprList> args = Arguments(a, b);
      if (!args) return nullptr;
      return ApplyIntr(f.Number, std::move(*args));
    }
    if (f.Fixity == TFixity::Postfix) {
      if (s != last - 1) {
        Report(s, "Пропущена скобка после постфиксного выражения "_cp + name,
               "Bracket after postfix expression " + name + " is missed.");
        return nullptr;
      }
      if (s == first) {
        Report(s, "Пропущены скобки для постфиксного выражения "_cp + name,
               "Brackets for postfix expression " + name + " are missed.");
        return nullptr;
      }
      std::size_t a = first;
      std::size_t b = s;
      if (!Strip(a, b)) return nullptr;
      std::optional<TExprList> args = Arguments(a, b);
      if (!args) return nullptr;
      return ApplyIntr(f.Number, std::move(*args));
    }
    if (s == last - 1) {
      Report(s, "Отсутствует правый аргумент функции "_cp + name, "Missed right argument of function " + name);
      return nullptr;
    }
    // Of the operations only negation stands before its one operand; minus is read above.
    if (s == first && f.Number != kNot) {
      Report(s, "Отсутствует левый аргумент функции "_cp + name, "Missed left argument of function " + name);
      return nullptr;
    }
    if (f.Nary) {
      TExprList parts;
      std::size_t start = first;
      for (const std::size_t k : AtTop(first, last, f.Number)) {
        TExprPtr part = Parse(start, k);
        if (!part) return nullptr;
        parts.push_back(std::move(part));
        start = k + 1;
      }
      TExprPtr part = Parse(start, last);
      if (!part) return nullptr;
      parts.push_back(std::move(part));
      return ApplyIntr(f.Number, std::move(parts));
    }
    TExprList args;
    if (s != first) {
      TExprPtr left = Parse(first, s);
      if (!left) return nullptr;
      args.push_back(std::move(left));
    }
    TExprPtr right = Parse(s + 1, last);
    if (!right) return nullptr;
    args.push_back(std::move(right));
    return ApplyIntr(f.Number, std::move(args));
  }

  // A variable that splits the range is applied to what follows it: f(x), a(n).
  TExprPtr Application(std::size_t first, std::size_t last, std::size_t s) {
    const bool function = At(s).IsVar() || At(s).Class == TClass::TemplPar;
    if (s != first || s + 1 >= last || !function) {
      const std::optional<std::string> word = OneItem_to_String(At(s), false, false);
      // Missing before the item, or, when it opens the range, after it.
      Report(s == first ? s + 1 : s, "Пропущен знак математической операции перед выражением "_cp + word.value_or(""),
             "Operation before expression " + word.value_or("") + " is missed.");
      return nullptr;
    }
    return Applied(Placed(ShallowCopy(At(s)), s), s + 1, last);
  }

  // A head applied to the arguments in [first, last), which a tuple of
  // them or one argument in brackets makes.
  TExprPtr Applied(TExprPtr head, std::size_t first, std::size_t last) {
    TExprPtr argument = Parse(first, last);
    if (!argument) return nullptr;
    TExprList children;
    children.push_back(std::move(head));
    if (argument->HeadIntrinsic() == kTuple) {
      for (std::size_t i = 1; i < argument->Children().size(); ++i) children.push_back(std::move(argument->Children()[i]));
    } else {
      children.push_back(std::move(argument));
    }
    return TExpr::Compound(std::move(children));
  }

  // a_n and a_(n + 1). A bracketed group at the end that does not open the
  // index is the argument of a term of a sequence of functions: f_n(x) is (f_n)(x).
  TExprPtr Subscript(std::size_t first, std::size_t last, std::size_t s) {
    TExprPtr base = Parse(first, s);
    if (!base) return nullptr;
    if (!base->IsVar() && base->Class != TClass::TemplPar) {
      const std::string word = ItemL_to_String(*PartCopy(first, s), false, false).value_or("");
      Report(first, "Пропущен знак математической операции перед выражением "_cp + word,
             "Operation before expression " + word + " is missed.");
      return nullptr;
    }
    std::size_t indexEnd = last;
    if (At(last - 1).IsIntr(kRightRound))
      if (const std::optional<std::size_t> open = Opener(s + 1, last - 1); open && *open > s + 1) indexEnd = *open;
    TExprPtr index = Parse(s + 1, indexEnd);
    if (!index) return nullptr;
    TExprList children;
    children.push_back(std::move(base));
    children.push_back(std::move(index));
    TExprPtr term = Placed(TExpr::Compound(std::move(children)), s);
    if (indexEnd == last) return term;
    std::size_t a = indexEnd;
    std::size_t b = last;
    if (!Strip(a, b)) return nullptr;
    std::optional<TExprList> args = Arguments(a, b);
    if (!args) return nullptr;
    TExprList applied;
    applied.push_back(std::move(term));
    for (TExprPtr& arg : *args) applied.push_back(std::move(arg));
    return TExpr::Compound(std::move(applied));
  }

  TExprPtr Multiderivative(std::size_t first, std::size_t last, std::size_t s) {
    const std::optional<std::size_t> close = Match(s + 1, last);
    if (!close || !At(*close).IsIntr(kRightBrace)) {
      Report(s + 1, "Ошибка при описании кратной производной: слово \"^{\" должно заканчиваться символом \"}\"."_cp,
             "Error in specification of multiderivative: word \"^{\" must be ended with symbol \"}\".");
      return nullptr;
    }
    TExprPtr fn = Parse(first, s);
    TExprPtr order = fn ? Parse(s + 2, *close) : nullptr;
    TExprPtr arg = order ? Parse(*close + 1, last) : nullptr;
    if (!arg) return nullptr;
    TExprList args;
    args.push_back(std::move(fn));
    args.push_back(std::move(order));
    args.push_back(std::move(arg));
    return ApplyIntr(kDerivative, std::move(args));
  }

  TExprPtr OneToOne(std::size_t first, std::size_t last, std::size_t s) {
    const std::vector<std::size_t> specs = AtTop(first, s, kFuncSpec);
    if (specs.empty()) {
      Report(s, "Пропущен символ описания функции перед знаком взаимно однозначного соответствия."_cp,
             "Missing symbol of function specification before symbol of one-to-one correspondence");
      return nullptr;
    }
    TExprList args;
    for (const auto& [a, b] : {std::pair{first, specs.front()}, std::pair{specs.front() + 1, s}, std::pair{s + 1, last}}) {
      TExprPtr part = Parse(a, b);
      if (!part) return nullptr;
      args.push_back(std::move(part));
    }
    return ApplyIntr(kOneToOne, std::move(args));
  }

  // a1 P a2 KEY a3, for the "at point" predicates and the inverse.
  TExprPtr Ternary(std::size_t first, std::size_t last, std::size_t s, int key) {
    const std::vector<std::size_t> keys = AtTop(s + 1, last, key);
    if (keys.empty()) {
      const std::string name = At(s).Intrinsic()->Name;
      if (key == kOnSet)
        Report(s, "После второго аргумента предиката \"является обратной функцией\" должны стоять ключевые слова \"на множестве\""_cp,
               "After the second argument of predicate \"is inverse for function\" key words \"on set\" are expected");
      else
        Report(s, "После второго аргумента предиката "_cp + name + "должно стоять ключевое слово \"в точке\"."_cp,
               "After the second argument of predicate \"" + name + "\" key words \"at point\" are expected");
      return nullptr;
    }
    TExprList args;
    for (const auto& [a, b] : {std::pair{first, s}, std::pair{s + 1, keys.front()}, std::pair{keys.front() + 1, last}}) {
      TExprPtr part = Parse(a, b);
      if (!part) return nullptr;
      args.push_back(std::move(part));
    }
    return ApplyIntr(At(s).Intrinsic()->Number, std::move(args));
  }

  // ---- declarations of variables

  struct Declared {
    TVarPtr var;
    TExprPtr condition;  // what stays as a condition on the variable
  };

  static TVarPtr NewVar(const TExpr& node, TType* type) {
    return std::make_shared<TVar>(TVar{node.Var()->Name, type});
  }
  static TType* DefaultType(const TVarName& name) { return TypeNamed(DefaultTypeOfLetter(name.Letter)); }

  bool IsSetWord(const TExpr& e) const { return e.Intrinsic() && SimpleTypeOfSetWord(e.Intrinsic()->Name, *Ctx().TypesProccess); }

  // The extended real line R u {-oo, +oo}, or one of its halves.
  int ExtendedReals(const TExpr& e) const {
    if (e.HeadIntrinsic() != kUnion || e.Children().size() != 3) return 0;
    const TExpr* enumeration = e.Children()[1]->IsIntr(kReals) ? e.Children()[2].get()
                               : e.Children()[2]->IsIntr(kReals) ? e.Children()[1].get() : nullptr;
    if (enumeration == nullptr) return 0;
    int found = 0;
    for (const TExpr* n : CollectClass(*enumeration, TClass::Intr)) {
      if (n->IsIntr(kPlusInfinity)) found |= 1;
      if (n->IsIntr(kMinusInfinity)) found |= 2;
    }
    return found;
  }

  std::optional<Declared> Declaration(std::size_t first, std::size_t last) {
    // A variable followed by the explicit-type sign.
    if (last - first == 2 && At(first).IsVar() && At(first + 1).Intrinsic() && IsExplicitTypeSign(*At(first + 1).Intrinsic()))
      return Declared{NewVar(At(first), At(first + 1).Type), nullptr};
    ++declaring_;
    TExprPtr part = Parse(first, last);
    --declaring_;
    if (!part) return std::nullopt;
    if (part->IsVar()) return Declared{NewVar(*part, DefaultType(part->Var()->Name)), nullptr};
    const int head = part->HeadIntrinsic();
    if (head == kFuncSpec) {
      // The sign as the formula's text names it.
      const std::string sign = F(kFuncSpec).Name;
      if (part->Children().size() != 3) {
        Report(first, "Неверный формат описания функции с помощью символа "_cp + sign,
               "Wrong format of function specification using symbol " + sign);
        return std::nullopt;
      }
      const TExpr& name = *part->Children()[1];
      const TExpr& spec = *part->Children()[2];
      if (!name.IsVar()) {
        Report(first, "Неверное имя при описании функции с помощью символа "_cp + sign,
               "Wrong name of function specification using symbol " + sign);
        return std::nullopt;
      }
      if (spec.HeadIntrinsic() != kArrow || spec.Children().size() != 3) {
        Report(first, "Неверная правая часть при описании функции с помощью символа "_cp + sign,
               "Wrong right part of function specification using symbol " + sign);
        return std::nullopt;
      }
      TType* type = FunctionTypeFromSpec(*spec.Children()[1], *spec.Children()[2], true);
      if (type == nullptr) {
        Mark(first);
        return std::nullopt;
      }
      return Declared{NewVar(name, type), nullptr};
    }
    if (part->Class == TClass::Compound && part->Head()->IsVar()) {
      // f(., .): a real function of that many variables.
      const std::string name = NameText(part->Head()->Var()->Name);
      for (std::size_t i = 1; i < part->Children().size(); ++i) {
        if (!part->Children()[i]->IsIntr(kDot)) {
          Report(first, "Ошибка при описании функции "_cp + name, "Wrong specification of function " + name);
          return std::nullopt;
        }
      }
      TType* type = RealFunctionType(static_cast<int>(part->Children().size() - 1), *Ctx().TypesProccess);
      return Declared{NewVar(*part->Head(), type), nullptr};
    }
    if (head == kEnum && part->Children().size() == 2) return SequenceDeclaration(*part->Children()[1], first);
    if (part->Class != TClass::Compound || part->Children().size() != 3 || !part->Head()->Intrinsic()) {
      Report(first, "Неверное выражение, определяющее тип переменной."_cp, "Wrong type specification of variable.");
      return std::nullopt;
    }
    const TExpr& variable = *part->Children()[1];
    const TExpr& set = *part->Children()[2];
    if (!variable.IsVar()) {
      Report(first, "Первым аргументом выражения, определяющего тип переменной, должна быть переменная."_cp,
             "A variable must be the first symbol of type specification");
      return std::nullopt;
    }
    TTypesProccess& types = *Ctx().TypesProccess;
    if (head == kIn && IsSetWord(set))
      return Declared{NewVar(variable, SimpleTypeOfSetWord(set.Intrinsic()->Name, types)), nullptr};
    if (head == kIn && ExtendedReals(set) == 3) return Declared{NewVar(variable, TypeNamed("rrT")), nullptr};
    if (head == kIn && ExtendedReals(set) != 0) return Declared{NewVar(variable, TypeNamed("rrT")), std::move(part)};
    if (head == kSubset && set.Intrinsic() && SubsetTypeOfSetWord(set.Intrinsic()->Name, types))
      return Declared{NewVar(variable, SubsetTypeOfSetWord(set.Intrinsic()->Name, types)), nullptr};
    if (head == kSubset) return Declared{NewVar(variable, TypeNamed("rSetT")), std::move(part)};
    TVarPtr v = NewVar(variable, DefaultType(variable.Var()->Name));
    return Declared{std::move(v), std::move(part)};
  }

  // {a_n}: a sequence; {f_n(.)}: a sequence of functions.
  std::optional<Declared> SequenceDeclaration(const TExpr& element, std::size_t first) {
    if (element.Class != TClass::Compound || element.Children().size() != 2) {
      Report(first, "Ошибка при описании последовательности."_cp, "Wrong sequence specification.");
      return std::nullopt;
    }
    const TExpr& a = *element.Children()[0];
    const TExpr& b = *element.Children()[1];
    if (a.IsVar() && b.IsVar()) {
      TType* type = SequenceTypeOf(DefaultTypeOfLetter(a.Var()->Name.Letter), *Ctx().TypesProccess);
      return Declared{NewVar(a, type), nullptr};
    }
    if (!b.IsIntr(kDot) || a.Class != TClass::Compound || a.Children().size() != 2 || !a.Children()[0]->IsVar() ||
        !a.Children()[1]->IsVar()) {
      Report(first, "Неверное описание последовательности."_cp, "Invalid sequence specification.");
      return std::nullopt;
    }
    return Declared{NewVar(*a.Children()[0], TypeNamed("FuncSeqT")), nullptr};
  }

  // The comma parts of a variable section: their variables and the conditions that stay.
  bool Declarations(std::size_t first, std::size_t last, TVarList& vars, TExprList& conditions) {
    std::size_t start = first;
    std::vector<std::size_t> commas = AtTop(first, last, kComma);
    commas.push_back(last);
    for (const std::size_t end : commas) {
      std::optional<Declared> d = Declaration(start, end);
      if (!d) return false;
      vars.push_back(d->var);
      if (d->condition) conditions.push_back(std::move(d->condition));
      start = end + 1;
    }
    return true;
  }

  // The conditions joined by conjunction, built at the item `at`.
  TExprPtr Conjunction(TExprList parts, std::size_t at) {
    if (parts.size() == 1) return std::move(parts.front());
    return Placed(ApplyIntr(kAnd, std::move(parts)), at);
  }

  // Conditions split at their conjunctions; none at all is an empty expression.
  bool ConditionsBetween(std::size_t first, std::size_t last, TExprList& conditions) {
    std::size_t start = first;
    std::vector<std::size_t> ands = AtTop(first, last, kAnd);
    ands.push_back(last);
    for (const std::size_t end : ands) {
      TExprPtr c = Parse(start, end);
      if (!c) return false;
      conditions.push_back(std::move(c));
      start = end + 1;
    }
    return true;
  }

  TExprPtr Forall(std::size_t first, std::size_t last, std::size_t s) {
    if (s != first) {
      Report(s, "Кванторное выражение должно быть в скобках."_cp, "Quantor expression must be within brackets.");
      return nullptr;
    }
    const std::optional<std::size_t> end = FirstAtTop(s + 1, last, {kColon, kVld, kForall, kExists, kExistsOne});
    if (!end) {
      Report(s, "После квантора общности должен стоять разделитель \\Vld или квантор."_cp,
             "A separator is expected after universal quantifier \\Vld or a quantifier.");
      return nullptr;
    }
    TVarList vars;
    TExprList conditions;
    if (!Declarations(s + 1, *end, vars, conditions)) return nullptr;
    std::size_t bodyStart = *end;
    if (At(*end).IsIntr(kColon)) {
      const std::optional<std::size_t> stop = FirstAtTop(*end + 1, last, {kVld, kForall, kExists, kExistsOne});
      const std::size_t conditionsEnd = stop.value_or(last);
      if (!ConditionsBetween(*end + 1, conditionsEnd, conditions)) return nullptr;
      bodyStart = conditionsEnd;
    }
    if (bodyStart < last && At(bodyStart).IsIntr(kVld)) ++bodyStart;
    TExprPtr body = Parse(bodyStart, last);
    if (!body) return nullptr;
    if (!conditions.empty()) body = Placed(ApplyIntr(kImplies, Conjunction(std::move(conditions), s), std::move(body)), s);
    TExprPtr e = ApplyIntr(kForall, std::move(body));
    e->Bound = std::move(vars);
    return e;
  }

  TExprPtr Exists(std::size_t first, std::size_t last, std::size_t s, int head) {
    if (s != first) {
      Report(s, "Кванторное выражение должно быть в скобках."_cp, "Quantor expression must be within brackets.");
      return nullptr;
    }
    const std::optional<std::size_t> colon = FirstAtTop(s + 1, last, {kColon});
    if (!colon) {
      Report(s, "После квантора существования должен стоять разделитель."_cp, "A separator is expected after existential quantifier.");
      return nullptr;
    }
    TVarList vars;
    TExprList conditions;
    if (!Declarations(s + 1, *colon, vars, conditions)) return nullptr;
    TExprPtr body = Parse(*colon + 1, last);
    if (!body) return nullptr;
    if (!conditions.empty()) {
      conditions.push_back(std::move(body));
      body = Placed(ApplyIntr(kAnd, std::move(conditions)), s);
    }
    TExprPtr e = ApplyIntr(head, std::move(body));
    e->Bound = std::move(vars);
    return e;
  }

  TExprPtr Limit(std::size_t first, std::size_t last, std::size_t s) {
    if (s != first) {
      Report(s, "Пропущен знак математической операции перед функцией lim."_cp, "Missing operation before function lim.");
      return nullptr;
    }
    std::size_t a = s + 1;
    std::size_t b = last;
    if (a < b && At(a).IsIntr(kLeftRound) && !Match(a, b)) {
      Report(a, "Не закрыта круглая скобка."_cp, "Missed right bracket.");
      return nullptr;
    }
    if (a >= b || !At(a).IsIntr(kLeftRound) || Match(a, b) != b - 1) {
      Report(a, "Выражение после слова \"lim\" должно быть в скобках."_cp, "An expression after word \"lim\" must be within brackets.");
      return nullptr;
    }
    ++a;
    --b;
    const std::vector<std::size_t> commas = AtTop(a, b, kComma);
    if (commas.size() != 1) {
      Report(s, "Функция lim употреблена с "_cp + std::to_string(commas.size() + 1) + " аргументами(ом), а требуется 2 аргумента."_cp,
             "Invalid number of arguments for function \"lim\".");
      return nullptr;
    }
    TExprPtr passage = Parse(a, commas.front());
    TExprPtr expression = passage ? Parse(commas.front() + 1, b) : nullptr;
    if (!expression) return nullptr;
    const auto wrong = [&] {
      Report(a, "Первым аргументом функции \\lim должно быть выражение вида x\\Arrow x0 или n\\Arrow\\infty."_cp,
             "The first argument of function \\lim must be an expression like x\\Arrow x0 or n\\Arrow\\infty.");
      return nullptr;
    };
    if (passage->Class != TClass::Compound || passage->Children().size() != 3 || !passage->Children()[1]->IsVar()) return wrong();
    if (passage->HeadIntrinsic() != kArrow) {
      Report(a, "Первым аргументом предела последовательности является индекс последовательности,\\n первым аргументом предела функции - тройка: переменная, стрелка, предел переменной"_cp,
             "The first argument of limit of sequence is the sequence index,\\n the first argument of limit of function is triple: limit variable, arrow, limit of the variable");
      return nullptr;
    }
    const TExpr& x = *passage->Children()[1];
    TExprPtr point = std::move(passage->Children()[2]);
    if (point->IsIntr(kInfinity)) {
      TExprPtr e = ApplyIntr(kLim, std::move(expression));
      e->Bound = TVarList{NewVar(x, TypeNamed("nT"))};
      return e;
    }
    int head = kLimF;
    // a + 0 and a - 0 (read as a + (-0)): the one-sided limits.
    if (point->HeadIntrinsic() == kPlus && point->Children().size() == 3) {
      const TExpr& second = *point->Children()[2];
      const TNumber* zero = second.NumberValue();
      const bool minusZero = second.HeadIntrinsic() == kMinus && second.Children().size() == 2 &&
                             second.Children()[1]->NumberValue() && EqualsInt(*second.Children()[1]->NumberValue(), 0);
      if ((zero && EqualsInt(*zero, 0)) || minusZero) {
        head = minusZero ? kLimLeft : kLimRight;
        point = std::move(point->Children()[1]);
      }
    }
    TExprPtr e = ApplyIntr(head, std::move(point), std::move(expression));
    e->Bound = TVarList{NewVar(x, TypeNamed("rT"))};
    return e;
  }

  TExprPtr Sum(std::size_t first, std::size_t last, std::size_t s) {
    const int sign = At(s).Intrinsic()->Number;
    if (s != first) {
      Report(s, "Неверное выражение перед знаком суммы."_cp, "Invalid expression before summa symbol.");
      return nullptr;
    }
    const std::optional<std::size_t> under = FirstAtTop(s + 1, last, {kSubscript});
    if (!under) {
      Report(s, "После знака суммы ожидается символ \"_\"."_cp, "After summa symbol the symbol \"_\" is expected.");
      return nullptr;
    }
    const std::optional<std::size_t> over = FirstAtTop(*under + 1, last, {kPower});
    if (!over) {
      Report(*under, "После знака суммы и символа \"_\" ожидается символ \"^\"."_cp,
             "After summa symbol and the symbol \"_\" the symbol \"^\" is expected.");
      return nullptr;
    }
    // The upper bound stands between the sign and "_", or, as in \sum_(i=1)^n S,
    // it is the item or the bracketed group after "^".
    const bool boundAfter = *under == s + 1;
    std::size_t summandFrom = *over + 1;
    if (boundAfter)
      summandFrom = *over + 1 < last && Opens(*over + 1) ? Match(*over + 1, last).value_or(last - 1) + 1 : *over + 2;
    TExprPtr bound = boundAfter ? Parse(*over + 1, std::min(summandFrom, last)) : Parse(s + 1, *under);
    TExprPtr start = bound ? Parse(*under + 1, *over) : nullptr;
    if (!start) return nullptr;
    if (start->HeadIntrinsic() != kEq || start->Children().size() != 3 || !start->Children()[1]->IsVar()) {
      Report(*under + 1, "После знака суммы и символа \"_\" ожидается выражение вида \"i=i0\"."_cp,
             "After summa symbol and the symbol \"_\" an expression like \"i=i0\" is expected.");
      return nullptr;
    }
    TExprPtr summand = Parse(summandFrom, last);
    if (!summand) return nullptr;
    TVarPtr index = NewVar(*start->Children()[1], TypeNamed("zT"));
    TExprList args;
    args.push_back(std::move(bound));
    args.push_back(std::move(start->Children()[2]));
    args.push_back(std::move(summand));
    // ∑ and ∏ are read alike; the sign stays what was written.
    TExprPtr e = ApplyIntr(sign, std::move(args));
    e->Bound = TVarList{index};
    return e;
  }

  TExprPtr As(std::size_t first, std::size_t last, std::size_t s) {
    TExprPtr equality = Parse(first, s);
    if (!equality) return nullptr;
    if (equality->HeadIntrinsic() != kEq) {
      Report(first, "Слева от слова \"при\" должно стоять равенство."_cp, "An equality is expected from the left of word \"as\".");
      return nullptr;
    }
    TExprPtr passage = Parse(s + 1, last);
    if (!passage) return nullptr;
    if (passage->HeadIntrinsic() != kArrow || passage->Children().size() != 3) {
      Report(s + 1, "Справа от слова \"при\" ожидается выражение вида x->x0."_cp,
             "An expression in the form of x->x0 is expected from the right of word \"as\".");
      return nullptr;
    }
    if (!passage->Children()[1]->IsVar()) {
      Report(s + 1, "Между словом \"при\" и стрелкой ожидается переменная предела."_cp,
             "A limit variable is expected between word \"as\" and the arrow.");
      return nullptr;
    }
    TVarPtr x = NewVar(*passage->Children()[1], TypeNamed("rT"));
    TExprPtr e = ApplyIntr(kEqualAs, std::move(equality), std::move(passage->Children()[2]));
    e->Bound = TVarList{x};
    return e;
  }

  TExprPtr ClassSign(std::size_t first, std::size_t last, std::size_t s) {
    if (s != first || last - s != 2 || At(s + 1).Class != TClass::String) {
      Report(s, "Ошибка в описании класса."_cp, "Error in type description.");
      return nullptr;
    }
    return ApplyIntr(kClassSign, Placed(ShallowCopy(At(s + 1)), s + 1));
  }

  // ---- ranges without a split item: bracket pairs

  std::optional<TItemList> PartCopy(std::size_t first, std::size_t last) const {
    TItemList part;
    for (std::size_t k = first; k < last; ++k) part.push_back(ShallowCopy(At(k)));
    return part;
  }

  TExprPtr Brackets(std::size_t first, std::size_t last) {
    const TExpr& open = At(first);
    const TExpr& close = At(last - 1);
    const std::size_t match = Opens(first) ? Match(first, last).value_or(last) : last;
    if (open.IsIntr(kBar) && match == last - 1) {
      TExprPtr inside = Parse(first + 1, last - 1);
      return inside ? ApplyIntr(kAbs, std::move(inside)) : nullptr;
    }
    // (f \circ g)(x): an expression in brackets applied to the arguments in the brackets after it.
    if (open.IsIntr(kLeftRound) && match > first + 2 && match + 1 < last - 1 && At(match + 1).IsIntr(kLeftRound) &&
        Match(match + 1, last) == last - 1) {
      TExprPtr head = Parse(first + 1, match);
      return head ? Applied(std::move(head), match + 1, last) : nullptr;
    }
    if (match != last - 1) {
      const std::string text = ItemL_to_String(*PartCopy(first, last), false, false).value_or("");
      // An opener closed too early: the operation after its pair is missing.
      Report(match < last ? match + 1 : first, "В выражении "_cp + text + " не закрыта скобка."_cp, "Missing bracket in expression " + text);
      return nullptr;
    }
    const std::size_t a = first + 1;
    const std::size_t b = last - 1;
    if (a == b) {
      Report(first, "Пустое выражение в скобках."_cp, "Empty expression in brackets.");
      return nullptr;
    }
    if (open.IsIntr(kLeftBrace) && close.IsIntr(kRightBrace)) {
      if (!AtTop(a, b, kColon).empty()) return ConditionalSet(a, b);
      return Enumeration(a, b);
    }
    const bool roundOpen = open.IsIntr(kLeftRound);
    const bool squareOpen = open.IsIntr(kLeftSquare);
    const bool roundClose = close.IsIntr(kRightRound);
    const bool squareClose = close.IsIntr(kRightSquare);
    if (squareOpen && squareClose) {
      const std::vector<std::size_t> range = AtTop(a, b, kRange);
      if (!range.empty()) return Pair(kIntSegment, a, range.front(), b);
      if (AtTop(a, b, kSemicolon).empty()) {
        TExprPtr inside = Parse(a, b);
        return inside ? ApplyIntr(kFloor, std::move(inside)) : nullptr;
      }
    }
    int kind = 0;
    if (roundOpen && roundClose) kind = kInterval;
    else if (roundOpen && squareClose) kind = kOpenClosed;
    else if (squareOpen && squareClose) kind = kSegment;
    else if (squareOpen && roundClose) kind = kClosedOpen;
    if (kind == 0) {
      Report(last - 1, "Неинтерпретируемая пара скобок : "_cp + WordOf(open) + " " + WordOf(close),
             "Invalid couple of brackets : " + WordOf(open) + " " + WordOf(close));
      return nullptr;
    }
    const std::vector<std::size_t> semicolons = AtTop(a, b, kSemicolon);
    if (semicolons.empty()) {
      Report(last - 1, "Внутри пары скобок "_cp + WordOf(open) + " " + WordOf(close) + " ожидается точка с запятой."_cp,
             "Semicolon is expected within couple of brackets " + WordOf(open) + " " + WordOf(close));
      return nullptr;
    }
    return Pair(kind, a, semicolons.front(), b);
  }

  TExprPtr Pair(int head, std::size_t a, std::size_t middle, std::size_t b) {
    TExprPtr left = Parse(a, middle);
    TExprPtr right = left ? Parse(middle + 1, b) : nullptr;
    if (!right) return nullptr;
    return ApplyIntr(head, std::move(left), std::move(right));
  }

  TExprPtr Enumeration(std::size_t a, std::size_t b) {
    const std::vector<std::size_t> commas = AtTop(a, b, kComma);
    if (commas.empty()) {
      TExprPtr element = Parse(a, b);
      return element ? ApplyIntr(kEnum, std::move(element)) : nullptr;
    }
    TExprPtr earlier = Placed(Enumeration(a, commas.back()), a - 1);
    TExprPtr element = earlier ? Parse(commas.back() + 1, b) : nullptr;
    if (!element) return nullptr;
    return ApplyIntr(kEnumMore, std::move(earlier), std::move(element));
  }

  // {x : P} binds x; {T : y1, y2 | P} binds the parameters y and keeps the term T.
  TExprPtr ConditionalSet(std::size_t a, std::size_t b) {
    const std::size_t colon = AtTop(a, b, kColon).front();
    const std::vector<std::size_t> params = AtTop(colon + 1, b, kParameters);
    TVarList vars;
    TExprList conditions;
    TExprPtr term;
    if (params.empty()) {
      std::optional<Declared> d = Declaration(a, colon);
      if (!d) {
        Report(a, "В левой части множества, заданного условием, должна стоять переменная (возможно с описанием типа)."_cp,
               "In the left part of the conditional set a variable (may be with type specification) is expected.");
        return nullptr;
      }
      vars.push_back(d->var);
      if (d->condition) conditions.push_back(std::move(d->condition));
    } else {
      term = Parse(a, colon);
      if (!term) return nullptr;
      if (!Declarations(colon + 1, params.front(), vars, conditions)) {
        Report(colon + 1, "В разделе параметров множества, заданного условием, допускаются только переменные (возможно с описанием типа)."_cp,
               "In section of parameters of the conditional set only variables (may be with type specification) are expected.");
        return nullptr;
      }
    }
    TExprPtr condition = Parse(params.empty() ? colon + 1 : params.front() + 1, b);
    if (!condition) return nullptr;
    if (!conditions.empty()) {
      conditions.push_back(std::move(condition));
      condition = Placed(ApplyIntr(kAnd, std::move(conditions)), a - 1);
    }
    TExprPtr e = term ? ApplyIntr(kSetOf, std::move(term), std::move(condition)) : ApplyIntr(kSetOf, std::move(condition));
    e->Bound = std::move(vars);
    return e;
  }

  TItemList items_;
  // The index in the given list of each working item, and last its end.
  std::vector<std::size_t> origin_;
  std::vector<bool> barOpens_;  // for each bar: whether it opens a pair
  std::optional<std::string> antonymWord_;  // the word of the antonym Build reads as its function
  std::unordered_map<const TExpr*, std::size_t> built_;  // nodes and the given items they were built at
  std::optional<std::size_t> fault_;
  int depth_ = 0;
  int declaring_ = 0;  // inside a declaration the dot stands for an argument
  bool tooDeep_ = false;
};

}  // namespace

TExprPtr ParseItems(const TItemList& items, std::optional<std::size_t>* faultItem, TNodePlaces* nodes) {
  Parser parser(items);
  TExprPtr tree = parser.Run();
  if (tree) {
    if (nodes != nullptr) *nodes = parser.Places(*tree);
    return tree;
  }
  Show("Ошибка ввода."_cp, "Error in input.");
  if (faultItem != nullptr) *faultItem = parser.Fault();
  return nullptr;
}

TExprPtr TextToTree(std::string_view text, std::optional<std::size_t>* faultPlace, TNodePlaces* nodes) {
  TItemPlaces places;
  std::optional<TItemList> items = StringToItems(text, true, &places);
  if (!items) {
    Show("Ошибка ввода."_cp, "Error in input.");
    if (faultPlace != nullptr) *faultPlace = places.Fault;
    return nullptr;
  }
  for (std::size_t i = items->size(); i-- > 0;) {
    if (!(*items)[i]->IsIntr(kNestedSeparator)) continue;
    items->erase(items->begin() + static_cast<std::ptrdiff_t>(i));
    places.Items.erase(places.Items.begin() + static_cast<std::ptrdiff_t>(i));
  }
  std::optional<std::size_t> faultItem;
  TExprPtr tree = ParseItems(*items, &faultItem, nodes);
  if (!tree && faultPlace != nullptr && faultItem) *faultPlace = places.Items[*faultItem];
  if (tree && nodes != nullptr)
    for (auto& [node, place] : *nodes) place = places.Items[place];
  return tree;
}

namespace {

// The path from e down to the node `target`, e included; empty when it is not there.
bool PathTo(const TExpr& e, const TExpr* target, std::vector<const TExpr*>& path) {
  path.push_back(&e);
  if (&e == target) return true;
  if (e.Class == TClass::Compound)
    for (const TExprPtr& child : e.Children())
      if (PathTo(*child, target, path)) return true;
  path.pop_back();
  return false;
}

}  // namespace

std::optional<std::size_t> TypeFaultPlace(const TExpr& tree, const TNodePlaces& nodes) {
  std::vector<const TExpr*> path;
  if (!PathTo(tree, TypeFault(tree), path)) return std::nullopt;
  for (auto node = path.rbegin(); node != path.rend(); ++node)
    if (const auto found = nodes.find(*node); found != nodes.end()) return found->second;
  return std::nullopt;
}

}  // namespace lemmix

namespace lemmix {

bool DeclareVariables(TExpr& tree, TVarList& given, bool report) {
  VarsInput(tree, {}, {}, true);
  for (const TExpr* node : CollectClass(tree, TClass::NodefVar)) {
    const TVarName& name = node->Var()->Name;
    const bool known = std::any_of(given.begin(), given.end(), [&](const TVarPtr& v) { return v->Name == name; });
    if (!known)
      given.push_back(std::make_shared<TVar>(TVar{name, Ctx().TypesProccess->FindType(DefaultTypeOfLetter(name.Letter), true)}));
  }
  if (!VarsInput(tree, given, {}, false)) return false;
  return ExprType(tree, report) != nullptr;
}

TReadFormula ReadFormula(std::string_view text, bool report) {
  TReadFormula formula;
  TNodePlaces nodes;
  formula.Tree = TextToTree(text, &formula.Fault, &nodes);
  if (formula.Tree && !DeclareVariables(*formula.Tree, formula.Free, report)) {
    formula.Fault = TypeFaultPlace(*formula.Tree, nodes);
    formula.Tree.reset();
  }
  return formula;
}

}  // namespace lemmix
