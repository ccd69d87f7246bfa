#include "notation/output.h"

#include <algorithm>

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

class Writer {
 public:
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
      case kOneToOne: return Expect(e, 4, "OneToOneOutput") && Operand(*ch[1], F(kOneToOne).Priority, true) &&
                             Intr(kFuncSpec) && Operand(*ch[2], F(kFuncSpec).Priority, false) && Intr(kOneToOne) &&
                             Operand(*ch[3], F(kOneToOne).Priority, false);
      case kDerivative: return Derivative(e);
      case kLim:
      case kLimF:
      case kLimLeft:
      case kLimRight: return Limit(e, n);
      case kImage: return Expect(e, 3, "ImageOutput") && Write(*ch[1]) && Intr(kLeftRound) && Write(*ch[2]) && Intr(kRightRound);
      case kInverse: return Ternary(e, kOnSet);
      case kAbs: return Expect(e, 2, "AbsOutput") && Intr(kBar) && Write(*ch[1]) && Intr(kBar);
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
      case kSum: return Sum(e);
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
          return Operand(*ch[1], F(kPlus).Priority, true) && Intr(kMinus) &&
                 Operand(*ch[2]->Children()[1], F(kMinus).Priority, false);
        break;
      default:
        if (IsAtPointPredicate(n)) return Ternary(e, kAtPoint);
        break;
    }
    if (head.IsVar()) return Application(e);
    // A term of a sequence of functions applied: f_n(x).
    if (head.Class == TClass::Compound) return Operand(head, kAtomPriority, true) && List(ch, 1);
    return WithHead(e, Item(head));
  }

  TItemList Take() { return std::move(out_); }

 private:
  bool Intr(int n) {
    out_.push_back(TExpr::OfIntr(F(n)));
    return true;
  }

  bool Expect(const TExpr& e, std::size_t children, const char* routine) {
    if (e.Children().size() == children) return true;
    OutputError(1, routine);
    return false;
  }

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

  // An operand next to an operation of priority p, bracketed when it binds weaker.
  bool Operand(const TExpr& x, int p, bool first) {
    const int prior = Prior(x);
    const bool bracket = first ? prior < p : prior <= p;
    if (!bracket) return Write(x);
    return Intr(kLeftRound) && Write(x) && Intr(kRightRound);
  }

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
    const TIntr* f = headItem->Intrinsic() ? headItem->Intrinsic() : headItem->Antonym() ? headItem->Antonym()->Intr : nullptr;
    const TFixity fixity = f ? f->Fixity : TFixity::Infix;
    const int p = f && fixity != TFixity::Prefix ? f->Priority : kAtomPriority;
    if (fixity == TFixity::Prefix) {
      out_.push_back(std::move(headItem));
      if (ch.size() == 2 && !(f && f->Number == kTuple)) return Intr(kLeftRound) && Write(*ch[1]) && Intr(kRightRound);
      return List(ch, 1);
    }
    if (fixity == TFixity::Postfix) {
      if (ch.size() == 2) {
        if (!Operand(*ch[1], p, true)) return false;
      } else if (!List(ch, 1)) {
        return false;
      }
      out_.push_back(std::move(headItem));
      return true;
    }
    if (ch.size() == 2) {
      out_.push_back(std::move(headItem));
      return Operand(*ch[1], p, false);
    }
    for (std::size_t i = 1; i < ch.size(); ++i) {
      if (i > 1) out_.push_back(Item(*headItem));
      // An n-ary operation read back joins its operands into one node: an
      // operand of the same operation keeps its brackets.
      const bool nested = f && f->Nary && ch[i]->HeadIntrinsic() == f->Number;
      if (nested ? !(Intr(kLeftRound) && Write(*ch[i]) && Intr(kRightRound)) : !Operand(*ch[i], p, i == 1)) return false;
    }
    return true;
  }

  // A variable applied: a sequence as a_n or a_(n + 1), any other function as f(x, y).
  bool Application(const TExpr& e) {
    const TExprList& ch = e.Children();
    out_.push_back(Item(*ch[0]));
    const TType* type = ch[0]->Var()->Type;
    if (ch.size() == 2 && type && IsNaturalSequence(*type)) {
      Intr(kSubscript);
      if (ch[1]->Class != TClass::Compound) return Write(*ch[1]);
      return Intr(kLeftRound) && Write(*ch[1]) && Intr(kRightRound);
    }
    return List(ch, 1);
  }

  // The type specification of a bound variable.
  bool Declaration(const TVar& v) {
    TExprPtr node = VariableItem(TClass::LocVar, v);
    const TType* type = v.Type;
    const TType* byDefault = Ctx().TypesProccess->FindType(DefaultTypeOfLetter(v.Name.Letter), false);
    if (type == nullptr || type == byDefault) {
      out_.push_back(std::move(node));
      return true;
    }
    if (TIntr* set = Ctx().StFunc->SetIntrinsicOfType(type->Name); set && type->Base() == TBase::Simple) {
      out_.push_back(std::move(node));
      Intr(kIn);
      out_.push_back(TExpr::OfIntr(*set));
      return true;
    }
    // A subset of a number set, as "A ⊂ ℝ" declares it.
    if (const std::string_view word = SetWordOfSubsetType(*type); !word.empty()) {
      if (TIntr* set = Ctx().StFunc->FindByWord(word, false)) {
        out_.push_back(std::move(node));
        Intr(kSubset);
        out_.push_back(TExpr::OfIntr(*set));
        return true;
      }
    }
    if (type->Name == "rrT") {
      out_.push_back(std::move(node));
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
        out_.push_back(std::move(node));
        Intr(kFuncSpec);
        for (std::size_t i = 0; i < sets.size(); ++i) {
          if (i > 0) Intr(kCartesian);
          Write(*sets[i]);
        }
        Intr(kArrow);
        return Write(*value);
      }
    }
    out_.push_back(std::move(node));
    TExprPtr sign;
    for (const auto& f : Ctx().StFunc->IntrList)
      if (IsExplicitTypeSign(*f)) sign = TExpr::OfIntr(*f);
    if (!sign) return false;
    sign->Type = const_cast<TType*>(type);
    out_.push_back(std::move(sign));
    return true;
  }

  static bool NeedsNoMembership(const TVar& v) {
    return v.Type == nullptr || v.Type == Ctx().TypesProccess->FindType(DefaultTypeOfLetter(v.Name.Letter), false);
  }

  // A relation on the bare variable that, written as its declaration, reads
  // back as the same condition and leaves the variable its default type: not a
  // membership in a set word or in the extended reals, not an inclusion.
  static bool DeclaresVariable(const TExpr& conjunct, const TVar& v) {
    if (conjunct.Class != TClass::Compound || conjunct.Children().size() != 3 || conjunct.Children()[1]->Var() != &v)
      return false;
    const TIntr* f = conjunct.Head()->Intrinsic();
    if (f == nullptr || f->Priority != F(kEq).Priority || f->Fixity != TFixity::Infix || f->Number == kSubset) return false;
    if (f->Number != kIn) return true;
    const TExpr& set = *conjunct.Children()[2];
    if (set.Intrinsic() && SimpleTypeOfSetWord(set.Intrinsic()->Name, *Ctx().TypesProccess)) return false;
    return set.HeadIntrinsic() != kUnion;
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
      const bool nested = parts[i]->HeadIntrinsic() == kAnd;
      if (nested ? !(Intr(kLeftRound) && Write(*parts[i]) && Intr(kRightRound)) : !Operand(*parts[i], F(kAnd).Priority, i == 0))
        return false;
    }
    return true;
  }

  // Variables with their declarations; declaring conjuncts taken from the front.
  bool Variables(const TVarList& bound, std::vector<const TExpr*>& conjuncts, std::size_t keep) {
    for (std::size_t i = 0; i < bound.size(); ++i) {
      if (i > 0) Intr(kComma);
      const TVar& v = *bound[i];
      if (NeedsNoMembership(v) && conjuncts.size() > keep && DeclaresVariable(*conjuncts.front(), v)) {
        if (!Write(*conjuncts.front())) return false;
        conjuncts.erase(conjuncts.begin());
      } else if (!Declaration(v)) {
        return false;
      }
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
    if (!Variables(*e.Bound, premise, 0)) return false;
    if (!premise.empty()) {
      Intr(kColon);
      if (!Joined(premise)) return false;
    }
    const int inner = conclusion->HeadIntrinsic();
    const bool nested = inner == kForall || inner == kExists || inner == kExistsOne;
    Intr(nested ? kNestedSeparator : kVld);
    return Write(*conclusion);
  }

  bool Exists(const TExpr& e, TExprPtr head) {
    if (!Expect(e, 2, "ExistsOutput") || !e.Bound) return false;
    out_.push_back(std::move(head));
    std::vector<const TExpr*> body = Conjuncts(*e.Children()[1]);
    if (!Variables(*e.Bound, body, 1)) return false;
    Intr(kColon);
    if (body.size() == 1) return Write(*body.front());
    return Joined(body);
  }

  bool Derivative(const TExpr& e) {
    if (!Expect(e, 4, "DerMultOutput")) return false;
    const TExprList& ch = e.Children();
    if (!Operand(*ch[1], F(kDerivativeMark).Priority, true)) return false;
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
    } else {
      if (!Operand(*ch[1], F(kPlus).Priority, true)) return false;
      if (head == kLimRight || head == kLimLeft) {
        Intr(head == kLimRight ? kPlus : kMinus);
        out_.push_back(TExpr::Number(TNumber(std::int32_t{0})));
      }
    }
    Intr(kComma);
    return Write(*ch.back()) && Intr(kRightRound);
  }

  bool Ternary(const TExpr& e, int key) {
    if (!Expect(e, 4, "Output")) return false;
    const TExprList& ch = e.Children();
    const int p = ch[0]->Intrinsic()->Priority;
    return Operand(*ch[1], p, true) && (out_.push_back(Item(*ch[0])), true) && Operand(*ch[2], F(key).Priority, false) &&
           Intr(key) && Operand(*ch[3], F(key).Priority, false);
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
      if (!Declaration(*e.Bound->front())) return false;
      Intr(kColon);
    } else {
      if (!Write(*ch[1])) return false;
      Intr(kColon);
      for (std::size_t i = 0; i < e.Bound->size(); ++i) {
        if (i > 0) Intr(kComma);
        if (!Declaration(*(*e.Bound)[i])) return false;
      }
      Intr(kParameters);
    }
    return Write(*ch.back()) && Intr(kRightBrace);
  }

  bool EqualAs(const TExpr& e) {
    if (!Expect(e, 3, "EqualAsOutput") || !e.Bound || e.Bound->size() != 1) return false;
    return Operand(*e.Children()[1], F(kAs).Priority, true) && Intr(kAs) &&
           (out_.push_back(VariableItem(TClass::LocVar, *e.Bound->front())), true) && Intr(kArrow) &&
           Operand(*e.Children()[2], F(kArrow).Priority, false);
  }

  // lambda(x, n (n in N)) = body: a variable whose type needs a membership is
  // followed by it in brackets.
  bool Lambda(const TExpr& e) {
    if (!Expect(e, 2, "LambdaOutput") || !e.Bound) return false;
    Intr(kLambda);
    Intr(kLeftRound);
    for (std::size_t i = 0; i < e.Bound->size(); ++i) {
      if (i > 0) Intr(kComma);
      const TVar& v = *(*e.Bound)[i];
      out_.push_back(VariableItem(TClass::LocVar, v));
      if (NeedsNoMembership(v)) continue;
      Intr(kLeftRound);
      if (!Declaration(v)) return false;
      Intr(kRightRound);
    }
    Intr(kRightRound);
    Intr(kEq);
    return Write(*e.Children()[1]);
  }

  bool Sum(const TExpr& e) {
    if (!Expect(e, 4, "SumOutput") || !e.Bound || e.Bound->size() != 1) return false;
    const TExprList& ch = e.Children();
    Intr(kSum);
    if (!Operand(*ch[1], F(kSubscript).Priority, true)) return false;
    Intr(kSubscript);
    Intr(kLeftRound);
    out_.push_back(VariableItem(TClass::LocVar, *e.Bound->front()));
    Intr(kEq);
    if (!Write(*ch[2])) return false;
    Intr(kRightRound);
    Intr(kPower);
    return Operand(*ch[3], F(kPower).Priority, false);
  }

  TItemList out_;
};

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

std::optional<TItemList> TreeToItems(const TExpr& tree) {
  TExprPtr instance = tree.Class == TClass::Templ ? TemplateToLambda(tree) : DeepCopy(tree);
  if (!instance) return std::nullopt;
  TExprPtr copy = NegativeNumbersOutput(*instance);
  ExprType(*copy, false);
  Writer writer;
  if (!writer.Write(*copy)) return std::nullopt;
  return writer.Take();
}

std::optional<std::string> TreeToText(const TExpr& tree, bool classWords, bool numeric) {
  const std::optional<TItemList> items = TreeToItems(tree);
  if (!items) return std::nullopt;
  return ItemL_to_String(*items, classWords, numeric);
}

std::optional<TLetters> TreeToLetters(const TExpr& tree) {
  const std::optional<TItemList> items = TreeToItems(tree);
  if (!items) return std::nullopt;
  return ItemL_to_MyLetters(*items);
}

}  // namespace lemmix
