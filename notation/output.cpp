#include "notation/output.h"

#include <algorithm>
#include <unordered_set>

#include "expr/templates.h"
#include "expr/type_expr.h"
#include "expr/typing.h"
#include "intrinsics/intr_numbers.h"
#include "intrinsics/st_func.h"
#include "notation/parser.h"
#include "shell/context.h"
#include "types/types_proccess.h"
#include "shell/cp1251.h"
#include "types/type.h"
#include "types/type_name.h"
#include "types/type_relations.h"

namespace lemmix {

namespace {

TIntr& F(int n) { return *Ctx().StFunc->Intr(n); }

// Items outlive the tree they are written from: a variable item owns a copy
// of its variable.
TExprPtr VariableItem(TClass c, const TVar& v) {
  TExprPtr item = TExpr::NodefVar(std::make_shared<TVar>(v));
  item->Class = c;
  item->Type = v.Type;
  return item;
}

TExprPtr Item(const TExpr& e) { return e.IsVar() ? VariableItem(e.Class, *e.Var()) : ShallowCopy(e); }

void OutputError(int number, const std::string& routine) {
  Ctx().Messages.Error({"Ошибка разработчика : "_cp + std::to_string(number) + " in " + routine + " (ExprDialog)",
                        "Error " + std::to_string(number) + " in " + routine + " (ExprDialog)"});
}

bool IsOpener(const TExpr& e) { return e.IsIntr(kLeftRound) || e.IsIntr(kLeftSquare) || e.IsIntr(kLeftBrace); }
bool IsCloser(const TExpr& e) { return e.IsIntr(kRightRound) || e.IsIntr(kRightSquare) || e.IsIntr(kRightBrace); }

bool IsSetOperation(int n) { return n == kUnion || n == kIntersection || n == kSetMinus || n == kCartesian; }

// The priority by which the parser chooses the item to split a range at.
int SplitPriority(const TExpr& item) {
  if (const TIntr* f = item.Intrinsic()) return f->Fixity == TFixity::Prefix ? kAtomPriority : f->Priority;
  if (const TAntIntr* a = item.Antonym()) return a->Intr->Fixity == TFixity::Prefix ? kAtomPriority : a->Intr->Priority;
  return kAtomPriority;
}

// Untyped, or of the type its letter gives a variable read bare.
bool HasDefaultType(const TVar& v) {
  return v.Type == nullptr || v.Type == Ctx().TypesProccess->FindType(DefaultTypeOfLetter(v.Name.Letter), false);
}

// The set word that is the domain of a number type (\N for nT ...); null for other types.
TIntr* SetWordOf(const TType& type) {
  TIntr* set = Ctx().StFunc->SetIntrinsicOfType(type.Name);
  return set != nullptr && type.Base() == TBase::Simple ? set : nullptr;
}

bool IsSetWord(const TExpr& e) {
  const TTypesProccess& types = *Ctx().TypesProccess;
  return e.Intrinsic() && (SimpleTypeOfSetWord(e.Intrinsic()->Name, types) || SubsetTypeOfSetWord(e.Intrinsic()->Name, types));
}

// The side of an operation an operand stands on.
enum class Side { Left, Right };

// An operation as the parser sees it: an intrinsic function, or an antonym
// item, which does not win a tie against an earlier item of its priority.
struct TOperation {
  const TIntr* Function = nullptr;
  bool Antonym = false;
};

TOperation OperationOf(const TExpr& item) {
  if (const TAntIntr* a = item.Antonym()) return {a->Intr, true};
  return {item.Intrinsic(), false};
}

class Writer {
 public:
  // For letters the output speaks to the eye: a binary minus is spaced like
  // plus and a nested quantifier follows one blank.
  explicit Writer(bool letters) : letters_(letters) {}

  bool Write(const TExpr& e) {
    if (e.Class != TClass::Compound) {
      out_.push_back(Item(e));
      return true;
    }
    const TExprList& ch = e.Children();
    if (ch.size() < 2) {
      OutputError(1, "ExprOutput");
      return false;
    }
    const TExpr& head = *ch[0];
    const int n = e.HeadIntrinsic();
    switch (n) {
      case kForall: return Forall(e);
      case kExists:
      case kExistsOne: return Exists(e, TExpr::OfIntr(F(n)));
      case kOneToOne: return Expect(e, 4, "OneToOneOutput") && Operand(*ch[1], kFuncSpec, Side::Left) && Intr(kFuncSpec) &&
                             Operand(*ch[2], kFuncSpec, Side::Right) && Intr(kOneToOne) &&
                             Operand(*ch[3], kOneToOne, Side::Right);
      case kDerivative: return Derivative(e);
      case kLim:
      case kLimF:
      case kLimLeft:
      case kLimRight: return Limit(e, n);
      case kImage: return Expect(e, 3, "ImageOutput") && Write(*ch[1]) && Intr(kLeftRound) && Write(*ch[2]) && Intr(kRightRound);
      case kInverse: return Ternary(e, kOnSet);
      case kAbs: return Expect(e, 2, "AbsOutput") && Abs(*ch[1]);
      case kFloor: return Expect(e, 2, "FloorOutput") && Intr(kLeftSquare) && Write(*ch[1]) && Intr(kRightSquare);
      case kSegment: return Segment(e, kLeftSquare, kRightSquare);
      case kInterval: return Segment(e, kLeftRound, kRightRound);
      case kClosedOpen: return Segment(e, kLeftSquare, kRightRound);
      case kOpenClosed: return Segment(e, kLeftRound, kRightSquare);
      case kEnum:
      case kEnumMore: return Intr(kLeftBrace) && Elements(e) && Intr(kRightBrace);
      case kSetOf: return SetOf(e);
      case kIntSegment: return Expect(e, 3, "IntSegmentOutput") && Intr(kLeftSquare) && Write(*ch[1]) && Intr(kRange) &&
                               Write(*ch[2]) && Intr(kRightSquare);
      case kEqualAs: return EqualAs(e);
      case kSum:
      case kProduct: return Sum(e);
      case kClassSign: return Expect(e, 2, "ClassOutput") && Intr(kClassSign) && Write(*ch[1]);
      case kLambda: return Lambda(e);
      case kNot:
        if (ch.size() == 2 && ch[1]->Class == TClass::Compound && ch[1]->Head()->Intrinsic() &&
            ch[1]->Head()->Intrinsic()->Antonym != nullptr) {
          const TIntr& negated = *ch[1]->Head()->Intrinsic();
          TExprPtr antonym = TExpr::OfAntIntr(*negated.Antonym);
          if (negated.Number == kExists || negated.Number == kExistsOne) return Exists(*ch[1], std::move(antonym));
          return WithHead(*ch[1], std::move(antonym));
        }
        break;
      case kPlus:
        // a + (-b) is written a - b.
        if (ch.size() == 3 && ch[2]->HeadIntrinsic() == kMinus && ch[2]->Children().size() == 2)
          return Operand(*ch[1], kMinus, Side::Left) && Minus() && Operand(*ch[2]->Children()[1], kMinus, Side::Right);
        break;
      default:
        if (IsAtPointPredicate(n)) return Ternary(e, kAtPoint);
        break;
    }
    if (head.IsVar() || head.Class == TClass::TemplPar) return Application(e);
    // A term of a sequence of functions applied, f_n(x); any other function
    // value applied stands in brackets.
    if (head.Class == TClass::Compound) {
      const std::size_t from = out_.size();
      if (!Write(head)) return false;
      if (!IsSequenceApplication(head)) Enclose(from);
      return List(ch, 1);
    }
    return WithHead(e, Item(head));
  }

  TItemList Take() { return std::move(out_); }

 private:
  bool Intr(int n) {
    out_.push_back(TExpr::OfIntr(F(n)));
    return true;
  }

  // The binary minus; spaced like plus for the eye.
  bool Minus() {
    if (letters_) Intr(kBlank);
    Intr(kMinus);
    if (letters_) Intr(kBlank);
    return true;
  }

  bool Expect(const TExpr& e, std::size_t children, const char* routine) {
    if (e.Children().size() == children) return true;
    OutputError(1, routine);
    return false;
  }

  void Enclose(std::size_t from) {
    out_.insert(out_.begin() + static_cast<std::ptrdiff_t>(from), TExpr::OfIntr(F(kLeftRound)));
    Intr(kRightRound);
  }

  // The priority an operand binds with: the parser's item priority of its
  // head, a construction in brackets of its own binding as an atom and a
  // negation written as an antonym as that antonym.
  static int Prior(const TExpr& e) {
    const TExpr* item = e.Class == TClass::Compound ? e.Head() : &e;
    if (e.Class == TClass::Compound && e.HeadIntrinsic() == kNot && e.Children().size() == 2) {
      const TExpr& inner = *e.Children()[1];
      if (inner.Head() && inner.Head()->Intrinsic() && inner.Head()->Intrinsic()->Antonym) item = inner.Head();
    }
    if (e.Class == TClass::Compound && item->Class == TClass::Compound) return kAtomPriority;
    if (const TIntr* f = item->Intrinsic()) {
      if (f->Fixity == TFixity::Prefix) return kAtomPriority;
      // Constructions written inside their own brackets bind as atoms.
      switch (f->Number) {
        case kAbs: case kFloor: case kSegment: case kInterval: case kClosedOpen: case kOpenClosed: case kEnum:
        case kEnumMore: case kSetOf: case kIntSegment: case kImage: case kDerivative: return kAtomPriority;
        default: return f->Priority;
      }
    }
    if (const TAntIntr* a = item->Antonym()) return a->Intr->Fixity == TFixity::Prefix ? kAtomPriority : a->Intr->Priority;
    return kAtomPriority;
  }

  // Brackets that a reader needs: an operand binding weaker than the
  // operation, or as weakly on its right; on the left as weakly too, except
  // where arithmetic groups to the left (a - b + c, a / b * c), so that powers,
  // relations and implications never chain unbracketed. A set operation
  // inside another one is bracketed unless both are the same union or
  // intersection, and a negation brackets everything but an atom.
  static bool ReaderBrackets(const TExpr& x, const TIntr& op, Side side) {
    const int prior = Prior(x);
    if (op.Number == kNot) return prior < kAtomPriority;
    if (prior < op.Priority) return true;
    const bool groupsLeft = op.Priority == F(kPlus).Priority || op.Priority == F(kTimes).Priority;
    if (prior == op.Priority && (side == Side::Right || !groupsLeft)) return true;
    const int inner = x.HeadIntrinsic();
    if (!IsSetOperation(op.Number) || !IsSetOperation(inner)) return false;
    return side == Side::Right || inner != op.Number || (inner != kUnion && inner != kIntersection);
  }

  // Whether the parser, reading the items written from `from` on as an
  // operand of `op`, still splits at `op`: on the right every item outside
  // brackets and absolute values binds tighter; on the left none binds
  // weaker, none of equal priority comes before an antonym, and an n-ary
  // operation is not repeated (it would take the operand's operands for its own).
  bool ReadsAsOperand(std::size_t from, const TOperation& op, Side side) const {
    const int p = op.Function->Priority;
    int depth = 0;
    for (std::size_t k = from; k < out_.size(); ++k) {
      const TExpr& item = *out_[k];
      if (IsOpener(item) || (item.IsIntr(kBar) && !closingBars_.contains(&item))) {
        ++depth;
      } else if (IsCloser(item) || item.IsIntr(kBar)) {
        --depth;
      } else if (depth == 0) {
        const int prior = SplitPriority(item);
        if (prior > kAtomPriority) continue;
        if (side == Side::Right ? prior <= p : prior < p || (prior == p && op.Antonym)) return false;
        if (side == Side::Left && !op.Antonym && op.Function->Nary && item.Intrinsic() == op.Function) return false;
      }
    }
    return true;
  }

  bool Operand(const TExpr& x, const TOperation& op, Side side) {
    const std::size_t from = out_.size();
    if (!Write(x)) return false;
    if (ReaderBrackets(x, *op.Function, side) || !ReadsAsOperand(from, op, side)) Enclose(from);
    return true;
  }

  bool Operand(const TExpr& x, int op, Side side) { return Operand(x, TOperation{&F(op), false}, side); }

  bool List(const TExprList& ch, std::size_t from) {
    Intr(kLeftRound);
    for (std::size_t i = from; i < ch.size(); ++i) {
      if (i > from) Intr(kComma);
      if (!Write(*ch[i])) return false;
    }
    return Intr(kRightRound);
  }

  // A compound written by the form of its head item.
  bool WithHead(const TExpr& e, TExprPtr headItem) {
    const TExprList& ch = e.Children();
    const TOperation op = OperationOf(*headItem);
    const TFixity fixity = op.Function ? op.Function->Fixity : TFixity::Infix;
    if (fixity == TFixity::Prefix || op.Function == nullptr) {
      const bool tuple = op.Function && op.Function->Number == kTuple;
      out_.push_back(std::move(headItem));
      if (ch.size() == 2 && !tuple) return Intr(kLeftRound) && Write(*ch[1]) && Intr(kRightRound);
      return List(ch, 1);
    }
    if (fixity == TFixity::Postfix) {
      if (ch.size() == 2) {
        if (!Operand(*ch[1], op, Side::Left)) return false;
      } else if (!List(ch, 1)) {
        return false;
      }
      out_.push_back(std::move(headItem));
      return true;
    }
    if (ch.size() == 2) {
      out_.push_back(std::move(headItem));
      return Operand(*ch[1], op, Side::Right);
    }
    for (std::size_t i = 1; i < ch.size(); ++i) {
      if (i > 1) out_.push_back(Item(*headItem));
      if (!Operand(*ch[i], op, i == 1 ? Side::Left : Side::Right)) return false;
    }
    return true;
  }

  // A function or template parameter applied to one argument, of a sequence type.
  static bool IsSequenceApplication(const TExpr& e) {
    if (e.Class != TClass::Compound || e.Children().size() != 2) return false;
    const TExpr& head = *e.Children()[0];
    if (!head.IsVar() && head.Class != TClass::TemplPar) return false;
    const TType* type = head.IsVar() && head.Var()->Type ? head.Var()->Type : head.Type;
    return type != nullptr && IsNaturalSequence(*type);
  }

  // A variable or template parameter applied: a sequence as a_n or a_(n + 1),
  // any other function as f(x, y).
  bool Application(const TExpr& e) {
    const TExprList& ch = e.Children();
    out_.push_back(Item(*ch[0]));
    if (!IsSequenceApplication(e)) return List(ch, 1);
    Intr(kSubscript);
    if (ch[1]->Class != TClass::Compound) return Write(*ch[1]);
    return Intr(kLeftRound) && Write(*ch[1]) && Intr(kRightRound);
  }

  // |x|. The closing bar is noted: bars pair as the parser pairs them by
  // their context, a bar after an operand closing the bar open last.
  bool Abs(const TExpr& argument) {
    Intr(kBar);
    if (!Write(argument)) return false;
    Intr(kBar);
    closingBars_.insert(out_.back().get());
    return true;
  }

  // The declaration of a bound variable: a variable of a number type
  // always shows its domain; `shared` leaves it to the next variable, which
  // is of the same type ("x, y ∈ ℝ").
  bool Declaration(const TVar& v, bool shared) {
    out_.push_back(VariableItem(TClass::LocVar, v));
    const TType* type = v.Type;
    if (type == nullptr || shared) return true;
    if (TIntr* set = SetWordOf(*type)) {
      Intr(kIn);
      out_.push_back(TExpr::OfIntr(*set));
      return true;
    }
    // A subset of a number set, as "A ⊂ ℝ" declares it.
    if (const std::string_view word = SetWordOfSubsetType(*type); !word.empty()) {
      if (TIntr* set = Ctx().StFunc->FindByWord(word, false)) {
        Intr(kSubset);
        out_.push_back(TExpr::OfIntr(*set));
        return true;
      }
    }
    if (type->Name == "rrT") {
      Intr(kIn);
      Intr(kReals);
      Intr(kUnion);
      Intr(kLeftBrace);
      Intr(kMinusInfinity);
      Intr(kComma);
      Intr(kPlusInfinity);
      return Intr(kRightBrace);
    }
    if (const TFunType* fun = type->Fun(); fun && !fun->Restrictions) {
      std::vector<TExprPtr> sets;
      for (const TType* arg : fun->Args) {
        TExprPtr set = TypeToExpression(*arg);
        if (set->Class == TClass::String) break;
        sets.push_back(std::move(set));
      }
      TExprPtr value = fun->Value ? TypeToExpression(*fun->Value) : nullptr;
      if (sets.size() == fun->Args.size() && value && value->Class != TClass::String) {
        Intr(kFuncSpec);
        for (std::size_t i = 0; i < sets.size(); ++i) {
          if (i > 0) Intr(kCartesian);
          Write(*sets[i]);
        }
        Intr(kArrow);
        return Write(*value);
      }
    }
    TExprPtr sign;
    for (const auto& f : Ctx().StFunc->IntrList)
      if (IsExplicitTypeSign(*f)) sign = TExpr::OfIntr(*f);
    if (!sign) return false;
    sign->Type = const_cast<TType*>(type);
    out_.push_back(std::move(sign));
    return true;
  }

  // A union with ℝ, as the extended reals are written: a membership there may declare a type.
  static bool IsExtendedReals(const TExpr& set) {
    return set.HeadIntrinsic() == kUnion && set.Children().size() == 3 &&
           (set.Children()[1]->IsIntr(kReals) || set.Children()[2]->IsIntr(kReals));
  }

  // A condition that, written in place of the declaration of variable i,
  // reads back as that condition: "x ∈ A" for a variable of the default type
  // of its letter, "B ⊂ A" for a set of reals, where A is no set word (which
  // would declare a type) and mentions no variable declared from i on.
  static bool DeclaresVariable(const TExpr& conjunct, const TVarList& bound, std::size_t i) {
    const TVar& v = *bound[i];
    if (conjunct.Class != TClass::Compound || conjunct.Children().size() != 3 || conjunct.Children()[1]->Var() != &v)
      return false;
    const TExpr& set = *conjunct.Children()[2];
    if (IsSetWord(set)) return false;
    for (std::size_t j = i; j < bound.size(); ++j)
      if (ContainsPayload(set, TClass::LocVar, bound[j].get())) return false;
    switch (conjunct.HeadIntrinsic()) {
      case kIn: return HasDefaultType(v) && !IsExtendedReals(set);
      case kSubset: return v.Type != nullptr && v.Type == Ctx().TypesProccess->FindType("rSetT", false);
      default: return false;
    }
  }

  static std::vector<const TExpr*> Conjuncts(const TExpr& e) {
    if (e.HeadIntrinsic() != kAnd) return {&e};
    std::vector<const TExpr*> parts;
    for (std::size_t i = 1; i < e.Children().size(); ++i) parts.push_back(e.Children()[i].get());
    return parts;
  }

  bool Joined(const std::vector<const TExpr*>& parts) {
    for (std::size_t i = 0; i < parts.size(); ++i) {
      if (i > 0) Intr(kAnd);
      if (!Operand(*parts[i], kAnd, i == 0 ? Side::Left : Side::Right)) return false;
    }
    return true;
  }

  // The bound variables with their declarations. Leading conjuncts that can
  // stand for declarations are taken from `conjuncts`; with `oneRemains` (an
  // existential body) only when exactly one conjunct, the body, is left, as
  // the parser joins the conditions of declarations and the body in one
  // conjunction.
  bool Variables(const TVarList& bound, std::vector<const TExpr*>& conjuncts, bool oneRemains) {
    std::vector<const TExpr*> declaring(bound.size(), nullptr);
    std::size_t taken = 0;
    for (std::size_t i = 0; i < bound.size(); ++i)
      if (taken < conjuncts.size() && DeclaresVariable(*conjuncts[taken], bound, i)) declaring[i] = conjuncts[taken++];
    if (oneRemains && conjuncts.size() - taken != 1) {
      declaring.assign(bound.size(), nullptr);
      taken = 0;
    }
    conjuncts.erase(conjuncts.begin(), conjuncts.begin() + static_cast<std::ptrdiff_t>(taken));
    for (std::size_t i = 0; i < bound.size(); ++i) {
      if (i > 0) Intr(kComma);
      const TVar& v = *bound[i];
      if (declaring[i] != nullptr) {
        if (!Write(*declaring[i])) return false;
        continue;
      }
      // Read back bare, the variable takes the default type of its letter.
      const bool shared = i + 1 < bound.size() && declaring[i + 1] == nullptr && v.Type != nullptr &&
                          v.Type == bound[i + 1]->Type && SetWordOf(*v.Type) != nullptr && HasDefaultType(v);
      if (!Declaration(v, shared)) return false;
    }
    return true;
  }

  bool Forall(const TExpr& e) {
    if (!Expect(e, 2, "ForallOutput") || !e.Bound) return false;
    const TExpr& body = *e.Children()[1];
    Intr(kForall);
    std::vector<const TExpr*> premise;
    const TExpr* conclusion = &body;
    if (body.HeadIntrinsic() == kImplies && body.Children().size() == 3) {
      premise = Conjuncts(*body.Children()[1]);
      conclusion = body.Children()[2].get();
    }
    if (!Variables(*e.Bound, premise, false)) return false;
    if (!premise.empty()) {
      Intr(kColon);
      if (!Joined(premise)) return false;
    }
    const int inner = conclusion->HeadIntrinsic();
    const bool nested = inner == kForall || inner == kExists || inner == kExistsOne;
    Intr(nested ? (letters_ ? kBlank : kNestedSeparator) : kVld);
    return Write(*conclusion);
  }

  bool Exists(const TExpr& e, TExprPtr head) {
    if (!Expect(e, 2, "ExistsOutput") || !e.Bound) return false;
    out_.push_back(std::move(head));
    std::vector<const TExpr*> body = Conjuncts(*e.Children()[1]);
    if (!Variables(*e.Bound, body, true)) return false;
    Intr(kColon);
    if (body.size() == 1) return Write(*body.front());
    return Joined(body);
  }

  bool Derivative(const TExpr& e) {
    if (!Expect(e, 4, "DerMultOutput")) return false;
    const TExprList& ch = e.Children();
    if (!Operand(*ch[1], kDerivativeMark, Side::Left)) return false;
    const TNumber* order = ch[2]->NumberValue();
    if (order && EqualsInt(*order, 1)) {
      Intr(kDerivativeMark);
    } else {
      Intr(kPower);
      Intr(kLeftBrace);
      if (!Write(*ch[2])) return false;
      Intr(kRightBrace);
    }
    return Intr(kLeftRound) && Write(*ch[3]) && Intr(kRightRound);
  }

  bool Limit(const TExpr& e, int head) {
    const TExprList& ch = e.Children();
    if (!e.Bound || e.Bound->size() != 1 || ch.size() != (head == kLim ? 2u : 3u)) {
      OutputError(1, "LimOutput");
      return false;
    }
    Intr(kLim);
    Intr(kLeftRound);
    out_.push_back(VariableItem(TClass::LocVar, *e.Bound->front()));
    Intr(kArrow);
    if (head == kLim) {
      Intr(kInfinity);
    } else if (head == kLimF) {
      if (!Operand(*ch[1], kArrow, Side::Right)) return false;
    } else {
      // x0 + 0 and x0 - 0, the point the left operand of the sign.
      const int sign = head == kLimRight ? kPlus : kMinus;
      if (!Operand(*ch[1], sign, Side::Left)) return false;
      if (head == kLimRight) Intr(kPlus);
      else Minus();
      out_.push_back(TExpr::Number(TNumber(std::int32_t{0})));
    }
    Intr(kComma);
    return Write(*ch.back()) && Intr(kRightRound);
  }

  bool Ternary(const TExpr& e, int key) {
    if (!Expect(e, 4, "Output")) return false;
    const TExprList& ch = e.Children();
    return Operand(*ch[1], OperationOf(*ch[0]), Side::Left) && (out_.push_back(Item(*ch[0])), true) &&
           Operand(*ch[2], key, Side::Right) && Intr(key) && Operand(*ch[3], key, Side::Right);
  }

  bool Segment(const TExpr& e, int open, int close) {
    if (!Expect(e, 3, "SegmentOutput")) return false;
    return Intr(open) && Write(*e.Children()[1]) && Intr(kSemicolon) && Write(*e.Children()[2]) && Intr(close);
  }

  bool Elements(const TExpr& e) {
    if (e.HeadIntrinsic() == kEnum && e.Children().size() == 2) return Write(*e.Children()[1]);
    if (e.HeadIntrinsic() == kEnumMore && e.Children().size() == 3)
      return Elements(*e.Children()[1]) && Intr(kComma) && Write(*e.Children()[2]);
    OutputError(1, "EnumerationOutput");
    return false;
  }

  bool SetOf(const TExpr& e) {
    const TExprList& ch = e.Children();
    if (!e.Bound || e.Bound->empty() || (ch.size() != 2 && ch.size() != 3)) {
      OutputError(1, "SetCondOutput");
      return false;
    }
    Intr(kLeftBrace);
    if (ch.size() == 2) {
      if (!Declaration(*e.Bound->front(), false)) return false;
      Intr(kColon);
    } else {
      if (!Write(*ch[1])) return false;
      Intr(kColon);
      for (std::size_t i = 0; i < e.Bound->size(); ++i) {
        if (i > 0) Intr(kComma);
        if (!Declaration(*(*e.Bound)[i], false)) return false;
      }
      Intr(kParameters);
    }
    return Write(*ch.back()) && Intr(kRightBrace);
  }

  // The equality stays bare before "as", as the parser wants an equality there.
  bool EqualAs(const TExpr& e) {
    if (!Expect(e, 3, "EqualAsOutput") || !e.Bound || e.Bound->size() != 1) return false;
    return Write(*e.Children()[1]) && Intr(kAs) && (out_.push_back(VariableItem(TClass::LocVar, *e.Bound->front())), true) &&
           Intr(kArrow) && Operand(*e.Children()[2], kArrow, Side::Right);
  }

  // lambda(x, n (n in N)) = body: a variable whose type is not the default
  // type of its letter is followed by its declaration in brackets.
  bool Lambda(const TExpr& e) {
    if (!Expect(e, 2, "LambdaOutput") || !e.Bound) return false;
    Intr(kLambda);
    Intr(kLeftRound);
    for (std::size_t i = 0; i < e.Bound->size(); ++i) {
      if (i > 0) Intr(kComma);
      const TVar& v = *(*e.Bound)[i];
      out_.push_back(VariableItem(TClass::LocVar, v));
      if (HasDefaultType(v)) continue;
      Intr(kLeftRound);
      if (!Declaration(v, false)) return false;
      Intr(kRightRound);
    }
    Intr(kRightRound);
    Intr(kEq);
    return Write(*e.Children()[1]);
  }

  // The sum as it is read: the sign, "_(i = i0)", "^", the upper bound (an
  // atom, or bracketed), then the summand, bracketed when it binds no tighter
  // than plus: ∑_(i = 1)^n a_i, ∑_(i = 1)^(n + 1) (i + 1).
  bool Sum(const TExpr& e) {
    if (!Expect(e, 4, "SumOutput") || !e.Bound || e.Bound->size() != 1) return false;
    const TExprList& ch = e.Children();
    Intr(e.HeadIntrinsic());
    Intr(kSubscript);
    Intr(kLeftRound);
    out_.push_back(VariableItem(TClass::LocVar, *e.Bound->front()));
    Intr(kEq);
    if (!Operand(*ch[2], kEq, Side::Right)) return false;
    Intr(kRightRound);
    Intr(kPower);
    const std::size_t bound = out_.size();
    if (!Write(*ch[1])) return false;
    if (ch[1]->Class == TClass::Compound) Enclose(bound);
    // Two atoms in a row would run together as letters.
    if (letters_) Intr(kBlank);
    const std::size_t summand = out_.size();
    if (!Write(*ch[3])) return false;
    // A bar right after the bound would close an absolute value around the sum.
    if (Prior(*ch[3]) <= F(kPlus).Priority || out_[summand]->IsIntr(kBar)) Enclose(summand);
    return true;
  }

  bool letters_;
  TItemList out_;
  std::unordered_set<const TExpr*> closingBars_;
};

std::optional<TItemList> Items(const TExpr& tree, bool letters) {
  TExprPtr instance = tree.Class == TClass::Templ ? TemplateToLambda(tree) : DeepCopy(tree);
  if (!instance) return std::nullopt;
  TExprPtr copy = NegativeNumbersOutput(*instance);
  ExprType(*copy, false);
  Writer writer(letters);
  if (!writer.Write(*copy)) return std::nullopt;
  return writer.Take();
}

bool SameLetter(const TLetter& a, const TLetter& b) { return a.Code == b.Code && a.Font == b.Font; }

// The blank that spaces a word is dropped before a closing bracket: "{n : n четно}".
void NoBlankBeforeClosers(TLetters& letters) {
  const TLetters& blank = F(kBlank).Visual;
  if (blank.size() != 1) return;
  const auto closes = [](const TLetter& l) {
    constexpr int kClosers[] = {kRightRound, kRightSquare, kRightBrace};
    return std::any_of(std::begin(kClosers), std::end(kClosers),
                       [&](int n) { return !F(n).Visual.empty() && SameLetter(F(n).Visual.front(), l); });
  };
  for (std::size_t i = 0; i + 1 < letters.size();) {
    if (SameLetter(letters[i], blank.front()) && letters[i].Colour == kBlack && closes(letters[i + 1]))
      letters.erase(letters.begin() + static_cast<std::ptrdiff_t>(i));
    else
      ++i;
  }
}

}  // namespace

TExprPtr NegativeNumbersOutput(const TExpr& e) {
  if (const TNumber* n = e.NumberValue(); n && (n->IsInteger() || n->IsReal()) && IsNegative(*n)) {
    TNumber magnitude = *n;
    Negate(magnitude);
    TExprList children;
    children.push_back(TExpr::OfIntr(F(kMinus)));
    children.push_back(TExpr::Number(magnitude));
    return TExpr::Compound(std::move(children));
  }
  TExprPtr copy = ShallowCopy(e);
  if (copy->Class == TClass::Compound)
    for (TExprPtr& child : copy->Children()) child = NegativeNumbersOutput(*child);
  return copy;
}

std::optional<TItemList> TreeToItems(const TExpr& tree) { return Items(tree, false); }

std::optional<std::string> TreeToText(const TExpr& tree, bool classWords, bool numeric) {
  const std::optional<TItemList> items = TreeToItems(tree);
  if (!items) return std::nullopt;
  return ItemL_to_String(*items, classWords, numeric);
}

std::optional<TLetters> TreeToLetters(const TExpr& tree) {
  const std::optional<TItemList> items = Items(tree, true);
  if (!items) return std::nullopt;
  std::optional<TLetters> letters = ItemL_to_MyLetters(*items);
  if (letters) NoBlankBeforeClosers(*letters);
  return letters;
}

}  // namespace lemmix
