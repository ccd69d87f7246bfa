// Logical normalisation.
#include "expr/logic.h"

#include <gtest/gtest.h>

#include "expr/info_sink.h"
#include "expr/typing.h"
#include "expr_fixture.h"
#include "shell/cp1251.h"

namespace lemmix {
namespace {

class LogicTest : public testing::ExprTest {
 protected:
  TExprPtr D(const TVarPtr& v) {
    TExprPtr e = TExpr::VarRef(TClass::DataVar, *v);
    e->Type = v->Type;
    return e;
  }
  template <typename... A>
  TExprPtr Make(int head, A... args) {
    return C(I(head), std::move(args)...);
  }
  TExprPtr Bind(int head, TVarList bound, TExprPtr body) {
    TExprPtr e = Make(head, std::move(body));
    e->Bound = std::move(bound);
    return e;
  }
  TExprPtr Typed(TExprPtr e) {
    EXPECT_NE(ExprType(*e, true), nullptr) << ToString(*e);
    return e;
  }
  void ExpectSame(const TExpr& got, const TExpr& expected) {
    TBindingLists lists;
    EXPECT_EQ(Comp(got, expected, &lists), 0) << ToString(got) << "\n  expected " << ToString(expected);
  }
};

TEST_F(LogicTest, NegationGoesInside) {
  // not forall x (x > 0 and x < 1) = exists x (not x > 0 or not x < 1)
  TVarPtr x = Var('x');
  TExprPtr e = Typed(Bind(0, {x}, Make(58, Make(11, Loc(x), N(0)), Make(12, Loc(x), N(1)))));
  TExprPtr n = Negation(*e);
  ASSERT_TRUE(n);
  EXPECT_EQ(n->HeadIntrinsic(), 1);
  ASSERT_TRUE(n->Bound);
  EXPECT_EQ((*n->Bound)[0]->Name, x->Name);
  TVarPtr x2 = Var('x');
  ExpectSame(*n, *Typed(Bind(1, {x2}, Make(59, Make(55, Make(11, Loc(x2), N(0))), Make(55, Make(12, Loc(x2), N(1)))))));
  // not not A is A; not true is false.
  TExprPtr a = Typed(Make(11, V('a'), N(0)));
  TExprPtr notA = Typed(Make(55, ShallowCopy(*a)));
  TExprPtr back = Negation(*notA);
  ASSERT_TRUE(back);
  EXPECT_TRUE(Equal(*back, *a));
  EXPECT_TRUE(Negation(*I(130))->IsIntr(131));
}

TEST_F(LogicTest, ExistsExactlyOneUnfolds) {
  // exists! x (x^2 = 4): exists x (x^2 = 4 and forall x0 (x0^2 = 4 => x0 = x)).
  TVarPtr x = Var('x');
  TExprPtr e = Typed(Bind(143, {x}, Make(9, Make(6, Loc(x), N(2)), N(4))));
  TExprPtr unfolded = ExistsUniqueUnfolding(*e, {}, {});
  ASSERT_TRUE(unfolded);
  EXPECT_EQ(unfolded->Type, T("lT"));
  TVarPtr a = Var('x');
  TVarPtr b = Var('x', 0);
  TExprPtr expected = Typed(Bind(
      1, {a}, Make(58, Make(9, Make(6, Loc(a), N(2)), N(4)),
                   Bind(0, {b}, Make(7, Make(9, Make(6, Loc(b), N(2)), N(4)), Make(9, Loc(b), Loc(a)))))));
  ExpectSame(*unfolded, *expected);
  const TExpr* inner = ArgByPath(*unfolded, 12);
  EXPECT_EQ((*inner->Bound)[0]->Name, (TVarName{'x', 0}));
  // A given object named x0 pushes the new name on to x1.
  const TVarList given{Var('x', 0)};
  TExprPtr clear = ExistsUniqueUnfolding(*e, given, {});
  EXPECT_EQ((*ArgByPath(*clear, 12)->Bound)[0]->Name, (TVarName{'x', 1}));
  // Under a negation the result is negated.
  TExprPtr negated = ExistsUniqueUnfolding(*Typed(Make(55, DeepCopy(*e))), {}, {});
  ASSERT_TRUE(negated);
  EXPECT_EQ(negated->HeadIntrinsic(), 0);
}

TEST_F(LogicTest, MembershipInASetGivenByACondition) {
  // a in {x | x > 0} is a > 0.
  TVarPtr x = Var('x');
  TVarPtr a = Var('a');
  TExprPtr set = Bind(141, {x}, Make(11, Loc(x), N(0)));
  TExprPtr e = Typed(Make(15, D(a), std::move(set)));
  TExprPtr plain = SetMembershipElimination(*e);
  ASSERT_TRUE(plain);
  ExpectSame(*plain, *Typed(Make(11, D(a), N(0))));
  // A real a and a natural x: a in N is conjoined first.
  TVarPtr n = Var('n', -1, "nT");
  TExprPtr naturals = Typed(Make(15, D(a), Bind(141, {n}, Make(11, Loc(n), N(3)))));
  TExprPtr wider = SetMembershipElimination(*naturals);
  ASSERT_TRUE(wider);
  ExpectSame(*wider, *Typed(Make(58, Make(15, D(a), I(52)), Make(11, D(a), N(3)))));
  // a in {y^2 | y > 1} is exists y (a = y^2 and y > 1).
  TVarPtr y2 = Var('y');
  TExprPtr squares = Bind(141, {y2}, Make(6, Loc(y2), N(2)));
  squares->Children().push_back(Make(11, Loc(y2), N(1)));
  TExprPtr member = Typed(Make(15, D(a), std::move(squares)));
  TExprPtr exists = SetMembershipElimination(*member);
  ASSERT_TRUE(exists);
  TVarPtr y3 = Var('y');
  ExpectSame(*exists, *Typed(Bind(1, {y3}, Make(58, Make(9, D(a), Make(6, Loc(y3), N(2))), Make(11, Loc(y3), N(1))))));
}

class RecordingInfo : public IInfoSink {
 public:
  void Add(const std::string& text, const TExpr* formula) override {
    lines.push_back(text + (formula ? ToString(*formula) : ""));
  }
  std::vector<std::string> lines;
};

TEST_F(LogicTest, QuantifiedVariablesOverConditionalSets) {
  // forall x (x in {y | y > 0} => x^2 > 0) becomes forall y (y > 0 => y^2 > 0).
  TVarPtr x = Var('x');
  TVarPtr y = Var('y');
  TExprPtr e = Typed(Bind(0, {x}, Make(7, Make(15, Loc(x), Bind(141, {y}, Make(11, Loc(y), N(0)))),
                                        Make(11, Make(6, Loc(x), N(2)), N(0)))));
  RecordingInfo info;
  context.Info = &info;
  context.Commenting = true;
  QuantifiedMembershipElimination(*e);
  TVarPtr z = Var('y');
  ExpectSame(*e, *Typed(Bind(0, {z}, Make(7, Make(11, Loc(z), N(0)), Make(11, Make(6, Loc(z), N(2)), N(0))))));
  ASSERT_EQ(info.lines.size(), 1u);
  EXPECT_TRUE(info.lines[0].starts_with("Выражение "_cp));
  // exists x (x in {y | y < 5} and x > 2) becomes exists y (y < 5 and y > 2).
  TVarPtr u = Var('u');
  TVarPtr v = Var('v');
  TExprPtr ex = Typed(Bind(1, {u}, Make(58, Make(15, Loc(u), Bind(141, {v}, Make(12, Loc(v), N(5)))),
                                         Make(11, Loc(u), N(2)))));
  QuantifiedMembershipElimination(*ex);
  TVarPtr w = Var('v');
  ExpectSame(*ex, *Typed(Bind(1, {w}, Make(58, Make(12, Loc(w), N(5)), Make(11, Loc(w), N(2))))));
}

TEST_F(LogicTest, UnusedUniversalVariablesGo) {
  TVarPtr x = Var('x');
  TVarPtr y = Var('y');
  TExprPtr e = Typed(Bind(0, {x, y}, Make(11, Loc(x), N(0))));
  PruneBoundVariables(*e);
  ASSERT_TRUE(e->Bound);
  EXPECT_EQ(e->Bound->size(), 1u);
  TExprPtr none = Typed(Bind(0, {Var('z')}, Make(11, V('a'), N(0))));
  PruneBoundVariables(*none);
  EXPECT_EQ(none->HeadIntrinsic(), 11);
  // Existential variables stay.
  TExprPtr ex = Typed(Bind(1, {Var('z')}, Make(11, V('a'), N(0))));
  PruneBoundVariables(*ex);
  EXPECT_EQ(ex->HeadIntrinsic(), 1);
}

TEST_F(LogicTest, StructuralRewritings) {
  // 45(f, 0, t) is f(t).
  TVarPtr f = Var('f', -1, "rFunc1T");
  TExprPtr der = Make(45, D(f), N(0), V('t'));
  ASSERT_TRUE(DerivativeOfOrderZero(*der));
  EXPECT_EQ(der->Head()->Var(), f.get());
  EXPECT_EQ(der->Children().size(), 2u);
  // g((a, b)) is g(a, b).
  TVarPtr g = Var('g', -1, "rFunc2T");
  TExprPtr applied = C(D(g), Make(34, V('a'), V('b')));
  TupleArguments(*applied);
  EXPECT_EQ(applied->Children().size(), 3u);
  EXPECT_EQ(ExprType(*applied, true), T("rT"));
}

TEST_F(LogicTest, ThePipelineOfConditions) {
  // (a in {x | x > 1}) :<=> a - 1 > 0 becomes an equivalence of standard conditions.
  TVarPtr a = Var('a');
  TVarPtr x = Var('x');
  TExprPtr def = Typed(Make(222, Make(15, D(a), Bind(141, {x}, Make(11, Loc(x), N(1)))),
                            Make(11, Make(3, D(a), Make(2, N(1))), N(0))));
  TExprPtr condition = StandardiseForCondition(*def);
  ASSERT_TRUE(condition);
  EXPECT_EQ(condition->HeadIntrinsic(), 8);
  EXPECT_EQ(condition->Type, T("lT"));
  EXPECT_FALSE(ContainsPayload(*condition, TClass::Intr, &F(141)));
  // Nested binders of the same name are renamed apart.
  TVarPtr outer = Var('x');
  TVarPtr inner = Var('x');
  TExprPtr nested = Typed(Bind(0, {outer}, Make(7, Make(11, Loc(outer), N(0)),
                                               Bind(1, {inner}, Make(12, Loc(inner), Loc(outer))))));
  TExprPtr renamed = StandardiseForCondition(*nested);
  ASSERT_TRUE(renamed);
  EXPECT_EQ((*ArgByPath(*renamed, 12)->Bound)[0]->Name, (TVarName{'x', 0}));
  // Binders side by side keep their names: (forall x: x > 0) and (exists x: x < 1).
  TVarPtr first = Var('x');
  TVarPtr second = Var('x');
  TExprPtr siblings = Typed(Make(58, Bind(0, {first}, Make(11, Loc(first), N(0))),
                                 Bind(1, {second}, Make(12, Loc(second), N(1)))));
  TExprPtr kept = StandardiseForCondition(*siblings);
  ASSERT_TRUE(kept);
  ASSERT_EQ(kept->HeadIntrinsic(), 58) << ToString(*kept);
  EXPECT_EQ((*ArgByPath(*kept, 1)->Bound)[0]->Name, (TVarName{'x', -1}));
  EXPECT_EQ((*ArgByPath(*kept, 2)->Bound)[0]->Name, (TVarName{'x', -1}));
  // A binder named as an object of the formula is renamed, so that it reads back.
  TVarPtr bound = Var('a');
  TVarPtr given = Var('a');
  TExprPtr clash = Typed(Make(58, Make(11, D(given), N(0)), Bind(0, {bound}, Make(12, Loc(bound), D(given)))));
  TExprPtr apart = StandardiseForCondition(*clash);
  ASSERT_TRUE(apart);
  EXPECT_EQ((*ArgByPath(*apart, 2)->Bound)[0]->Name, (TVarName{'a', 0})) << ToString(*apart);
}

}  // namespace
}  // namespace lemmix
