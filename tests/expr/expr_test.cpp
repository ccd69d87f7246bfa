// The expression tree: copies, queries, the order with its matching, and the
// substitutions.
#include <gtest/gtest.h>

#include "expr/templates.h"
#include "expr/typing.h"
#include "types/type_relations.h"
#include "expr_fixture.h"
#include "shell/cp1251.h"

namespace lemmix {
namespace {

using testing::ExprTest;

TEST_F(ExprTest, QueriesOfATree) {
  // (a + b) * 2
  TExprPtr e = Op(4, "rOpT", Op(3, "rOpT", V('a'), V('b')), N(2));
  EXPECT_EQ(e->HeadIntrinsic(), 4);
  EXPECT_EQ(e->HeadWord(), "\\cdot");
  EXPECT_EQ(V('a')->HeadIntrinsic(), kNoHead);
  EXPECT_EQ(Size(*e), 1 + (1 + 2 + 2) + 1);
  EXPECT_EQ(ArgByPath(*e, 12)->Var()->Name.Letter, 'b');
  EXPECT_EQ(ArgByPath(*e, 2)->NumberValue()->Integer(), 2);
  EXPECT_EQ(ArgByPath(*e, 19), e->Children()[1].get());  // the walk stops at a bad digit
  EXPECT_EQ(ArgByPath(*e, 221), e->Children()[2].get());
  EXPECT_EQ(N(-3)->Type, T("zT"));
  EXPECT_EQ(N(0)->Type, T("n0T"));
  EXPECT_STREQ(DefaultTypeOfLetter('n'), "nT");
  EXPECT_STREQ(DefaultTypeOfLetter('N'), "nT");
  EXPECT_STREQ(DefaultTypeOfLetter('x'), "rT");
  EXPECT_STREQ(DefaultTypeOfLetter('o'), "rT");
  EXPECT_TRUE(ContainsClass(*e, TClass::Number));
  EXPECT_FALSE(ContainsClass(*e, TClass::LocVar));
  EXPECT_TRUE(ContainsPayload(*e, TClass::Intr, &F(3)));
  EXPECT_FALSE(ContainsPayload(*e, TClass::Intr, &F(5)));
  EXPECT_EQ(CollectClass(*e, TClass::NodefVar).size(), 2u);
}

TEST_F(ExprTest, OperandsFlattenAnAssociativeOperator) {
  // a + (b + (c + d)), and a + b * c
  TExprPtr sum = Op(3, nullptr, V('a'), Op(3, nullptr, V('b'), Op(3, nullptr, V('c'), V('d'))));
  EXPECT_EQ(Operands(*sum, 3).size(), 4u);
  TExprPtr mixed = Op(3, nullptr, V('a'), Op(4, nullptr, V('b'), V('c')));
  EXPECT_EQ(Operands(*mixed, 3).size(), 2u);
  EXPECT_EQ(Operands(*mixed, 4).size(), 1u);
  EXPECT_EQ(ArgumentsOf(*mixed, 3).size(), 2u);
  EXPECT_EQ(ArgumentsOf(*mixed, 4).size(), 1u);
}

TEST_F(ExprTest, DeepCopyGivesBoundVariablesOfTheirOwn) {
  // forall x: x = y
  TVarPtr x = Var('x');
  TExprPtr e = Op(0, "Log1T", Op(9, "EqualityT", Loc(x), V('y')));
  e->Bound = TVarList{x};
  TExprPtr copy = DeepCopy(*e);
  ASSERT_TRUE(copy->Bound);
  const TVar* fresh = (*copy->Bound)[0].get();
  EXPECT_NE(fresh, x.get());
  EXPECT_EQ(ArgByPath(*copy, 11)->Var(), fresh);
  EXPECT_EQ(ArgByPath(*copy, 12)->Var(), ArgByPath(*e, 12)->Var());  // undeclared stay shared
  TExprPtr owning = DeepCopy(*e, true);
  EXPECT_NE(ArgByPath(*owning, 12)->Var(), ArgByPath(*e, 12)->Var());
  // The copy lives on when the original is gone.
  e.reset();
  x.reset();
  EXPECT_EQ(ArgByPath(*copy, 11)->Var()->Name.Letter, 'x');
}

TEST_F(ExprTest, OrderOfLeaves) {
  EXPECT_EQ(Comp(*I(3), *I(4)), -1);
  EXPECT_EQ(Comp(*N(5), *N(2)), 1);
  EXPECT_EQ(Comp(*N(5), *I(3)), 1);  // classes first: intr before number
  EXPECT_EQ(Comp(*V('a'), *V('b')), -1);
  EXPECT_EQ(Comp(*V('a', 2), *V('a', 1)), 1);
  EXPECT_EQ(Comp(*V('a'), *V('a')), 1);  // equal names of different variables
  TExprPtr a = V('a');
  EXPECT_EQ(Comp(*a, *a), 0);
  // Texts and antonyms are equal only when they are the same.
  EXPECT_EQ(Comp(*TExpr::String("t"), *TExpr::String("t")), 0);
  EXPECT_NE(Comp(*TExpr::String("s"), *TExpr::String("t")), 0);
  EXPECT_EQ(Comp(*TExpr::String("s"), *TExpr::String("t")), -Comp(*TExpr::String("t"), *TExpr::String("s")));
  TAntIntr& notEqual = *context.StFunc->AntonimList.front();
  TAntIntr& other = *context.StFunc->AntonimList.back();
  ASSERT_NE(&notEqual, &other);
  EXPECT_EQ(Comp(*TExpr::OfAntIntr(notEqual), *TExpr::OfAntIntr(notEqual)), 0);
  EXPECT_NE(Comp(*TExpr::OfAntIntr(notEqual), *TExpr::OfAntIntr(other)), 0);
  EXPECT_TRUE(messages.Entries().empty());
  EXPECT_EQ(Comp(*Par(1), *Par(1)), 1);
  EXPECT_EQ(messages.Entries().at(0).message.Rus, "Ошибка разработчика 14 : in TExpr::Comp (Expr)."_cp);
}

TEST_F(ExprTest, CommutativeOperandsMatchInAnyOrder) {
  // a + (b + c) and c + (a + b) with the commutative type of +: flattened and permuted.
  TExprPtr a = V('a');
  TExprPtr b = V('b');
  TExprPtr c = V('c');
  const auto sum = [&](TExprPtr x, TExprPtr y, const char* type) { return Op(3, type, std::move(x), std::move(y)); };
  TExprPtr left = sum(ShallowCopy(*a), sum(ShallowCopy(*b), ShallowCopy(*c), "rOpT"), "rOpT");
  TExprPtr right = sum(ShallowCopy(*c), sum(ShallowCopy(*a), ShallowCopy(*b), "rOpT"), "rOpT");
  EXPECT_EQ(Comp(*left, *right), 0);
  // Without a commutative type of the head the order counts.
  TExprPtr plainLeft = sum(ShallowCopy(*a), ShallowCopy(*b), "rFunc2T");
  TExprPtr plainRight = sum(ShallowCopy(*b), ShallowCopy(*a), "rFunc2T");
  EXPECT_NE(Comp(*plainLeft, *plainRight), 0);
  // The symbol package off: only equality stays commutative.
  context.Settings.SymbolTransEnable = false;
  EXPECT_NE(Comp(*left, *right), 0);
  TExprPtr eq1 = Op(9, "EqualityT", ShallowCopy(*a), ShallowCopy(*b));
  TExprPtr eq2 = Op(9, "EqualityT", ShallowCopy(*b), ShallowCopy(*a));
  EXPECT_EQ(Comp(*eq1, *eq2), 0);
  // Different numbers of operands.
  context.Settings.SymbolTransEnable = true;
  TExprPtr three = sum(ShallowCopy(*a), sum(ShallowCopy(*b), ShallowCopy(*c), "rOpT"), "rOpT");
  TExprPtr two = sum(ShallowCopy(*a), ShallowCopy(*b), "rOpT");
  EXPECT_EQ(Comp(*two, *three), -1);
}

TEST_F(ExprTest, AComparisonEqualsItsMirrorWithTheSymbolPackage) {
  TExprPtr a = V('a');
  TExprPtr b = V('b');
  TExprPtr less = Op(12, "rrRelT", ShallowCopy(*a), ShallowCopy(*b));
  TExprPtr greater = Op(11, "rrRelT", ShallowCopy(*b), ShallowCopy(*a));
  EXPECT_EQ(Comp(*less, *greater), 0);
  context.Settings.SymbolTransEnable = false;
  EXPECT_NE(Comp(*less, *greater), 0);
}

TEST_F(ExprTest, BoundVariablesCompareByPositionWithBindingLists) {
  // forall x: x > 0 against forall y: y > 0
  const auto formula = [&](char letter) {
    TVarPtr v = Var(letter);
    TExprPtr e = Op(0, "Log1T", Op(11, "rrRelT", Loc(v), N(0)));
    e->Bound = TVarList{v};
    return e;
  };
  TExprPtr fx = formula('x');
  TExprPtr fy = formula('y');
  TBindingLists lists;
  EXPECT_EQ(Comp(*fx, *fy, &lists), 0);
  EXPECT_TRUE(lists.A.empty());
  EXPECT_NE(Comp(*fx, *fy), 0);
  EXPECT_EQ(Comp(*fx, *DeepCopy(*fx), &lists), 0);
  // A binder against none.
  TExprPtr free = Op(0, "Log1T", Op(11, "rrRelT", V('x'), N(0)));
  EXPECT_EQ(Comp(*fx, *free), -1);
  EXPECT_EQ(Comp(*free, *fx), 1);
}

TEST_F(ExprTest, VariablesBoundOutsideTheComparedFormulasDiffer) {
  // Two local variables of one name whose binders are outside both formulas
  // are different variables, with binding lists as without.
  TVarPtr u = Var('u');
  TVarPtr v = Var('u');
  TBindingLists lists;
  EXPECT_NE(Comp(*Loc(u), *Loc(v), &lists), 0);
  EXPECT_NE(Comp(*Loc(u), *Loc(v)), 0);
  EXPECT_EQ(Comp(*Loc(u), *Loc(u), &lists), 0);
  // Inside formulas that bind them at the same place they are the same.
  const auto bound = [&](const TVarPtr& w) {
    TExprPtr e = Op(0, "Log1T", Op(11, "rrRelT", Loc(w), Loc(u)));
    e->Bound = TVarList{w};
    return e;
  };
  TVarPtr w1 = Var('w');
  TVarPtr w2 = Var('w');
  EXPECT_EQ(Comp(*bound(w1), *bound(w2), &lists), 0);
  TExprPtr otherFree = Op(0, "Log1T", Op(11, "rrRelT", Loc(w2), Loc(v)));
  otherFree->Bound = TVarList{w2};
  EXPECT_NE(Comp(*bound(w1), *otherFree, &lists), 0);
}

TEST_F(ExprTest, TemplateParametersMatchAndBindConsistently) {
  // #1 + #1 matches x + x, not x + y; #1 + #2 matches x + y with the bindings.
  TExprPtr x = V('x');
  TExprPtr y = V('y');
  TExprPtr xx = Op(3, "rFunc2T", ShallowCopy(*x), ShallowCopy(*x));
  TExprPtr xy = Op(3, "rFunc2T", ShallowCopy(*x), ShallowCopy(*y));
  TExprPtr same = Op(3, "rFunc2T", Par(1), Par(1));
  TExprPtr two = Op(3, "rFunc2T", Par(1), Par(2));
  TPatternBindings patterns{TBinding{}};
  EXPECT_EQ(Comp(*xx, *same, nullptr, &patterns), 0);
  ASSERT_EQ(patterns.size(), 1u);
  EXPECT_EQ(patterns[0][1]->Var(), x->Var());
  patterns = {TBinding{}};
  EXPECT_EQ(Comp(*xy, *same, nullptr, &patterns), 1);
  patterns = {TBinding{}};
  EXPECT_EQ(Comp(*xy, *two, nullptr, &patterns), 0);
  EXPECT_EQ(patterns[0][2]->Var(), y->Var());
  // The type must fit: a real does not match a natural parameter.
  EXPECT_EQ(Comp(*x, *Par(0, "nT")), 1);
  EXPECT_EQ(Comp(*N(3), *Par(0, "nT")), 0);
  // Commutative matching collects every consistent assignment: #1 + #2 against a + b.
  TExprPtr ab = Op(3, "rOpT", V('a'), V('b'));
  TExprPtr pattern = Op(3, "rOpT", Par(1), Par(2));
  patterns = {TBinding{}};
  EXPECT_EQ(Comp(*ab, *pattern, nullptr, &patterns), 0);
  EXPECT_EQ(patterns.size(), 2u);
}

TEST_F(ExprTest, AnAppliedParameterMatchesByAbstraction) {
  // F(x) against x^2 + 1, x a bound real: F becomes the template #1^2 + 1.
  TVarPtr x = Var('x');
  TExprPtr f = Par(0, "rFunc1T");
  TExprPtr pattern = C(std::move(f), Loc(x));
  TExprPtr square = Op(6, "rFunc2T", Loc(x), N(2));
  square->Type = T("rT");
  TExprPtr target = Op(3, "rOpT", std::move(square), N(1));
  target->Type = T("rT");
  TPatternBindings patterns{TBinding{}};
  EXPECT_EQ(Comp(*target, *pattern, nullptr, &patterns), 0);
  ASSERT_EQ(patterns.size(), 1u);
  const TExpr& templ = *patterns[0][0];
  ASSERT_EQ(templ.Class, TClass::Templ);
  EXPECT_EQ(CollectClass(*templ.Inner(), TClass::TemplPar).size(), 1u);
  EXPECT_EQ(TemplateType(*templ.Inner()), T("rFunc1T"));
}

class BinderMatching : public ExprTest {
 protected:
  TType* Predicate() { return FunctionTypeOf({T("rT")}, T("lT"), *context.TypesProccess); }
  TExprPtr Typed(TExprPtr e) {
    EXPECT_NE(ExprType(*e, true), nullptr) << ToString(*e);
    return e;
  }
  TExprPtr Quantified(int head, const TVarPtr& v, TExprPtr body) {
    TExprPtr e = C(I(head), std::move(body));
    e->Bound = TVarList{v};
    return e;
  }
  // F applied to the bound variable v, F the template parameter 0.
  TExprPtr Applied(const TVarPtr& v) {
    TExprPtr f = TExpr::Par(TClass::TemplPar, 0);
    f->Type = Predicate();
    TExprPtr e = C(std::move(f), Loc(v));
    e->Type = T("lT");
    return e;
  }
  // The template that F was bound to, applied to 3.
  TExprPtr ApplyToThree(const TExpr& templ) {
    TExprPtr f = TExpr::Par(TClass::TemplPar, 0);
    f->Type = Predicate();
    TExprPtr applied = C(std::move(f), N(3));
    EXPECT_TRUE(SubstituteTemplParam(*applied, {&templ}));
    return applied;
  }
};

TEST_F(BinderMatching, AnAppliedParameterAbstractsTheBoundVariable) {
  for (const int quantifier : {0, 1}) {
    // forall x F(x) against forall y (y^2 > 0), exists likewise: F is #1^2 > 0.
    TVarPtr x = Var('x');
    TVarPtr y = Var('y');
    TExprPtr pattern = Quantified(quantifier, x, Applied(x));
    pattern->Type = T("lT");
    TExprPtr target = Typed(Quantified(quantifier, y, C(I(11), C(I(6), Loc(y), N(2)), N(0))));
    TPatternBindings patterns{TBinding{}};
    ASSERT_EQ(Comp(*target, *pattern, nullptr, &patterns), 0) << ToString(*target);
    ASSERT_EQ(patterns.size(), 1u);
    const std::shared_ptr<const TExpr> templ = patterns[0][0];
    ASSERT_TRUE(templ);
    ASSERT_EQ(templ->Class, TClass::Templ);
    EXPECT_TRUE(CollectClass(*templ->Inner(), TClass::LocVar).empty()) << ToString(*templ);
    EXPECT_EQ(CollectClass(*templ->Inner(), TClass::TemplPar).size(), 1u) << ToString(*templ);
    // Nothing of the target is left in the template: it outlives it.
    target.reset();
    y.reset();
    TExprPtr three = ApplyToThree(*templ);
    EXPECT_TRUE(Equal(*three, *Typed(C(I(11), C(I(6), N(3), N(2)), N(0))))) << ToString(*three);
  }
}

TEST_F(BinderMatching, AParameterTakesNoVariableBoundInsideTheFormula) {
  // With h given: (forall a: sum_{i=1}^{3} h(i, a) >= 0) may give sum h(i, 5) >= 0,
  // never sum h(i, i) >= 0: a cannot become the goal's own index.
  TVarPtr h = Var('h', -1, "rFunc2T");
  const auto sum = [&](const TVarPtr& i, TExprPtr second) {
    TExprPtr hd = TExpr::VarRef(TClass::DataVar, *h);
    hd->Type = h->Type;
    TExprPtr term = C(std::move(hd), Loc(i), std::move(second));
    TExprPtr s = C(I(214), N(3), N(1), std::move(term));
    s->Bound = TVarList{i};
    return C(I(13), std::move(s), N(0));
  };
  TVarPtr i = Var('i', -1, "zT");
  TExprPtr pattern = sum(i, Par(1, "rT"));
  ASSERT_NE(ExprType(*pattern, false), nullptr);
  TVarPtr j = Var('i', -1, "zT");
  TExprPtr ownIndex = Typed(sum(j, Loc(j)));
  TPatternBindings patterns{TBinding{}};
  EXPECT_NE(Comp(*ownIndex, *pattern, nullptr, &patterns), 0);
  EXPECT_NE(Comp(*ownIndex, *pattern), 0);
  TVarPtr k = Var('i', -1, "zT");
  TExprPtr five = Typed(sum(k, N(5)));
  patterns = {TBinding{}};
  ASSERT_EQ(Comp(*five, *pattern, nullptr, &patterns), 0);
  ASSERT_EQ(patterns.size(), 1u);
  EXPECT_TRUE(Equal(*patterns[0][1], *N(5)));
}

TEST_F(BinderMatching, AnAbstractionThatWouldLeaveABinderBehindFails) {
  // exists y forall x F(x) against exists y forall x (x > y): F would keep
  // the y bound outside it.
  TVarPtr x = Var('x');
  TVarPtr y = Var('y');
  TVarPtr px = Var('x');
  TVarPtr py = Var('y');
  TExprPtr pattern = Quantified(1, py, Quantified(0, px, Applied(px)));
  TExprPtr target = Typed(Quantified(1, y, Quantified(0, x, C(I(11), Loc(x), Loc(y)))));
  TPatternBindings patterns{TBinding{}};
  EXPECT_NE(Comp(*target, *pattern, nullptr, &patterns), 0);
}

TEST_F(ExprTest, SubstituteRenamesAnInsertedBinderApart) {
  // In (exists x: x > y) put (exists x: x < 0) for y: the inserted x becomes x0.
  TVarPtr x = Var('x');
  TExprPtr y = V('y');
  TExprPtr target = Op(1, "Log1T", Op(11, "rrRelT", Loc(x), ShallowCopy(*y)));
  target->Bound = TVarList{x};
  TVarPtr x2 = Var('x');
  TExprPtr replacement = Op(1, "Log1T", Op(12, "rrRelT", Loc(x2), N(0)));
  replacement->Bound = TVarList{x2};
  TExprPtr result = Substitute(*target, *y, *replacement);
  ASSERT_TRUE(result);
  TExpr* inserted = ArgByPath(*result, 12);
  ASSERT_TRUE(inserted->Bound);
  EXPECT_EQ((*inserted->Bound)[0]->Name, (TVarName{'x', 0}));
  EXPECT_EQ((*result->Bound)[0]->Name, (TVarName{'x', -1}));
  EXPECT_EQ(ArgByPath(*inserted, 11)->Var(), (*inserted->Bound)[0].get());
  // The original is untouched.
  EXPECT_EQ(ArgByPath(*target, 12)->Var(), y->Var());
}

TEST_F(ExprTest, TemplateToLambdaBindsOnlyTheUsedParameters) {
  // #0 + #2 becomes lambda(x, x2) = x + x2.
  TExprPtr body = Op(3, "rOpT", Par(0), Par(2));
  body->Type = T("rT");
  TExprPtr templ = TExpr::Templ(std::move(body));
  TExprPtr lambda = TemplateToLambda(*templ);
  ASSERT_TRUE(lambda);
  EXPECT_EQ(lambda->HeadIntrinsic(), 16);
  ASSERT_TRUE(lambda->Bound);
  ASSERT_EQ(lambda->Bound->size(), 2u);
  EXPECT_EQ((*lambda->Bound)[0]->Name, (TVarName{'x', -1}));
  EXPECT_EQ((*lambda->Bound)[1]->Name, (TVarName{'x', 2}));
  EXPECT_EQ(ArgByPath(*lambda, 12)->Var(), (*lambda->Bound)[1].get());
  EXPECT_EQ(lambda->Type, T("rFunc2T"));
}

TEST_F(ExprTest, SubstituteTemplParamAndItsErrors) {
  TExprPtr e = Op(3, "rOpT", Par(1), Par(0));
  TExprPtr a = V('a');
  EXPECT_TRUE(SubstituteTemplParam(*e, {nullptr, a.get()}));
  EXPECT_EQ(ArgByPath(*e, 1)->Var(), a->Var());
  EXPECT_EQ(ArgByPath(*e, 2)->Class, TClass::TemplPar);  // an absent value keeps the parameter
  TExprPtr out = Op(3, "rOpT", Par(5), N(1));
  EXPECT_FALSE(SubstituteTemplParam(*out, {a.get()}));
  EXPECT_EQ(messages.Entries().back().message.Eng,
            "In function SubstituteTemplParam (Expr)\\n a template parameter with index out of range is occured.");
  // A template value applied where the parameter is a head: beta reduction.
  TExprPtr body = Op(4, "rOpT", Par(1), Par(1));
  body->Type = T("rT");
  TExprPtr square = TExpr::Templ(std::move(body));
  TExprPtr applied = C(Par(0, "rFunc1T"), V('t'));
  EXPECT_TRUE(SubstituteTemplParam(*applied, {square.get()}));
  EXPECT_EQ(applied->HeadIntrinsic(), 4);
  EXPECT_EQ(ArgByPath(*applied, 1)->Var()->Name.Letter, 't');
}

TEST_F(ExprTest, VarsInputLinksToBindersGivenAndRequired) {
  // forall x: x + g = p, with g given and p required.
  TExprPtr e = Op(0, "Log1T", Op(9, "EqualityT", Op(3, "rOpT", V('x'), V('g')), V('p')));
  TVarPtr x = Var('x');
  e->Bound = TVarList{x};
  const TVarList given{Var('g')};
  const TVarList required{Var('p')};
  ASSERT_TRUE(VarsInput(*e, given, required, false));
  EXPECT_EQ(ArgByPath(*e, 111)->Class, TClass::LocVar);
  EXPECT_EQ(ArgByPath(*e, 111)->Var(), x.get());
  EXPECT_EQ(ArgByPath(*e, 112)->Class, TClass::DataVar);
  EXPECT_EQ(ArgByPath(*e, 112)->Var(), given[0].get());
  EXPECT_EQ(ArgByPath(*e, 12)->Class, TClass::ProveVar);
  TExprPtr stray = Op(9, "EqualityT", V('q'), N(1));
  EXPECT_FALSE(VarsInput(*stray, given, required, false));
  EXPECT_EQ(messages.Entries().back().message, (TMessage{"Переменная q не определена."_cp, "Varaible q is not defined."}));
  EXPECT_TRUE(VarsInput(*stray, given, required, true));
}

TEST_F(ExprTest, RenameApartAndConcat) {
  TVarPtr x = Var('x');
  TExprPtr e = Op(0, "Log1T", Loc(x));
  e->Bound = TVarList{x};
  TVarPtr other = Var('x');
  TExprPtr binder = Op(1, "Log1T", Loc(other));
  binder->Bound = TVarList{other};
  RenameApart(*e, {binder.get()});
  EXPECT_EQ(x->Name, (TVarName{'x', 0}));
  EXPECT_EQ(other->Name, (TVarName{'x', -1}));

  TExprList target;
  TExprList source;
  source.push_back(N(1));
  source.push_back(V('a'));
  EXPECT_TRUE(Concat(&target, &source));
  EXPECT_EQ(target.size(), 2u);
  EXPECT_NE(target[0].get(), source[0].get());
  EXPECT_FALSE(Concat(nullptr, &source));
  EXPECT_EQ(messages.Entries().back().message.Eng, "Error 1 in TExpr::Concat (Expr).");
}

TEST_F(ExprTest, ReplaceByTakesAChildOfTheNode) {
  TExprPtr e = Op(3, "rOpT", V('a'), N(7));
  TExprPtr child = std::move(e->Children()[2]);
  ReplaceBy(*e, std::move(child));
  EXPECT_EQ(e->Class, TClass::Number);
  EXPECT_EQ(e->NumberValue()->Integer(), 7);
}

}  // namespace
}  // namespace lemmix
