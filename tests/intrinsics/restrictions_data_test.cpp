// The restrictions of the shipped catalogue: every restriction in data/TYPES.DAT
// reads as a condition over the arguments of the function it restricts, and
// every partial intrinsic function is used under a restricted type.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "../expr/expr_fixture.h"
#include "expr/typing.h"
#include "notation/output.h"
#include "notation/parser.h"
#include "shell/cp1251.h"
#include "types/type.h"
#include "types/type_relations.h"

namespace lemmix {
namespace {

// The intrinsic functions that are not defined for every argument of their types.
const std::set<int> kPartial = {5,  6,   32,  46,  56,  74,  75,  77,  80,  81,  83,  84,  178, 179,
                                 181, 184, 185, 186, 187, 191, 194, 195, 201, 202, 214};

// The notions the book defines, closed until then under their restricted
// types; the other partial functions are open from the start. The sum itself
// is open, the sum of a series (the sum up to infinity) a notion.
bool IsNotionType(int number, const TType& type) {
  if (number == 214) return type.Name == "SeriesT";
  static const std::set<int> notions = {46, 56, 74, 75, 77, 178, 179, 181, 184, 185, 186, 187, 191, 201};
  return notions.contains(number);
}

// One application of each partial function, as the book writes it.
const std::map<int, std::string> kApplications = {
    {5, "x / y"},
    {6, "x ^ y"},
    {32, "\\sqrt ( x )"},
    {46, "\\forall A \\subset \\R \\Vld \\sup ( A ) = 0"},
    {56, "\\forall A \\subset \\R \\Vld \\inf ( A ) = 0"},
    {74, "\\forall A \\subset \\R \\Vld \\max ( A ) = 0"},
    {75, "\\forall A \\subset \\R \\Vld \\min ( A ) = 0"},
    {77, "\\lim ( n \\Arrow \\infty , 1 / n )"},
    {80, "\\tg ( x )"},
    {81, "\\ctg ( x )"},
    {83, "\\ln ( x )"},
    {84, "\\log ( a , x )"},
    {185, "\\lim ( x \\Arrow 0 , x )"},
    {186, "\\lim ( x \\Arrow 0 - 0 , x )"},
    {187, "\\lim ( x \\Arrow 0 + 0 , x )"},
    {178, "\\forall a \\FuncSpec \\N \\Arrow \\R \\Vld \\limsup ( a ) = 0"},
    {179, "\\forall a \\FuncSpec \\N \\Arrow \\R \\Vld \\liminf ( a ) = 0"},
    {181, "\\binom ( 5 , 2 )"},
    {184, "\\gcd ( 4 , 6 )"},
    {191, "\\forall f \\FuncSpec \\R \\Arrow \\R \\Vld f \\inverse = f"},
    {194, "\\arcsin ( x )"},
    {195, "\\arccos ( x )"},
    {201, "\\forall A \\subset \\R \\Vld \\card ( A ) = 0"},
    {202, "\\root ( 3 , x )"},
    {214, "\\sum \\infty _ ( n = 1 ) ^ 1 / 2 ^ n"},
};

const TExpr* FirstApplication(const TExpr& e, int head) {
  if (e.HeadIntrinsic() == head) return &e;
  if (e.Class == TClass::Compound)
    for (const TExprPtr& child : e.Children())
      if (const TExpr* found = FirstApplication(*child, head)) return found;
  return nullptr;
}

bool GiveParameterTypes(TExpr& e, const std::vector<TType*>& types) {
  if (e.Class == TClass::TemplPar) {
    if (e.ParIndex() >= static_cast<int>(types.size())) return false;
    e.Type = types[e.ParIndex()];
    return true;
  }
  if (e.Class == TClass::Compound)
    for (TExprPtr& child : e.Children())
      if (!GiveParameterTypes(*child, types)) return false;
  return true;
}

// The local variables of `bound` become the parameters #1, #2 ... of a template.
void Abstract(TExpr& e, const TVarList& bound) {
  if (e.Class == TClass::LocVar) {
    for (std::size_t k = 0; k < bound.size(); ++k) {
      if (e.Var() != bound[k].get()) continue;
      TType* type = e.Type;
      ReplaceBy(e, TExpr::Par(TClass::TemplPar, static_cast<int>(k + 1)));
      e.Type = type;
      return;
    }
  }
  if (e.Class == TClass::Compound)
    for (TExprPtr& child : e.Children()) Abstract(*child, bound);
}

// A formula read and typed with its free variables of the types that the
// variables of the same names have in `model`.
struct TLike {
  TExprPtr Tree;
  TVarList Free;
};
TLike ReadLike(const std::string& text, const TExpr& model) {
  TLike read{TextToTree(text), {}};
  if (!read.Tree) return read;
  VarsInput(*read.Tree, {}, {}, true);
  std::vector<const TExpr*> variables;
  for (const TClass c : {TClass::LocVar, TClass::DataVar}) {
    const std::vector<const TExpr*> found = CollectClass(model, c);
    variables.insert(variables.end(), found.begin(), found.end());
  }
  for (const TExpr* node : CollectClass(*read.Tree, TClass::NodefVar)) {
    const TVarName name = node->Var()->Name;
    if (std::any_of(read.Free.begin(), read.Free.end(), [&](const TVarPtr& v) { return v->Name == name; })) continue;
    const auto same = std::find_if(variables.begin(), variables.end(), [&](const TExpr* v) { return v->Var()->Name == name; });
    read.Free.push_back(std::make_shared<TVar>(TVar{name, same != variables.end() ? (*same)->Var()->Type : nullptr}));
  }
  if (!VarsInput(*read.Tree, read.Free, {}, false) || ExprType(*read.Tree, true) == nullptr) read.Tree.reset();
  return read;
}

class Restrictions : public testing::ExprTest {
 protected:
  // The template parameters of an application: its arguments' types, the last
  // argument of a function that binds variables as the function of them.
  std::vector<TType*> ParameterTypes(const TExpr& application) {
    std::vector<TType*> types;
    const TExprList& children = application.Children();
    for (std::size_t i = 1; i < children.size(); ++i) types.push_back(children[i]->Type);
    if (application.Bound && !types.empty()) {
      std::vector<TType*> variables;
      for (const TVarPtr& v : *application.Bound) variables.push_back(v->Type);
      types.back() = FunctionTypeOf(variables, types.back(), *context.TypesProccess);
    }
    return types;
  }

  // The restriction read and typed with #i of the i-th type; checks that it is
  // a condition with no free variable that uses no notion of the book.
  TExprPtr ReadRestriction(const std::string& text, const std::vector<TType*>& parameters) {
    TExprPtr tree = TextToTree(text);
    EXPECT_TRUE(tree) << text;
    if (!tree) return nullptr;
    EXPECT_FALSE(CollectClass(*tree, TClass::TemplPar).empty()) << text << ": no argument in it";
    EXPECT_TRUE(GiveParameterTypes(*tree, parameters)) << text << ": a parameter beyond the arguments";
    TVarList free;
    const bool typed = DeclareVariables(*tree, free, true);
    EXPECT_TRUE(typed) << text << (messages.Entries().empty() ? "" : ": " + messages.Entries().back().message.Eng);
    EXPECT_TRUE(free.empty()) << text << ": free variable " << (free.empty() ? "" : NameText(free.front()->Name));
    if (!typed) return nullptr;
    EXPECT_EQ(tree->Type, T("lT")) << text;
    for (const TExpr* node : CollectClass(*tree, TClass::Intr))
      for (const TConcreteType& concrete : node->Intrinsic()->ConcreteTypes)
        EXPECT_FALSE(concrete.Mode == TConcreteType::UntilDefined && concrete.Type == node->Type)
            << text << ": " << node->Intrinsic()->Name << " is a notion of the book";
    return free.empty() ? std::move(tree) : nullptr;
  }
};

TEST_F(Restrictions, EveryPartialFunctionIsUsedUnderRestrictedTypes) {
  for (const auto& f : context.StFunc->IntrList) {
    const bool restricted = std::any_of(f->ConcreteTypes.begin(), f->ConcreteTypes.end(), [](const TConcreteType& c) {
      return c.Type->Fun() && c.Type->Fun()->Restrictions;
    });
    EXPECT_EQ(restricted, kPartial.contains(f->Number)) << f->Name;
    if (f->DefaultType && kPartial.contains(f->Number)) {
      EXPECT_TRUE(f->DefaultType->Fun() && f->DefaultType->Fun()->Restrictions) << f->Name;
    }
  }
  // The notions the book defines stay closed until then; the others are open.
  for (const int number : kPartial) {
    for (const TConcreteType& c : F(number).ConcreteTypes) {
      if (!c.Type->Fun() || !c.Type->Fun()->Restrictions) continue;
      EXPECT_EQ(c.Mode, IsNotionType(number, *c.Type) ? TConcreteType::UntilDefined : TConcreteType::Usable)
          << F(number).Name << " under " << c.Type->Name;
    }
  }
  for (const int number : kPartial) {
    ASSERT_TRUE(kApplications.contains(number)) << number;
    SCOPED_TRACE(kApplications.at(number));
    const TReadFormula read = ReadFormula(kApplications.at(number));
    ASSERT_TRUE(read.Tree);
    const TExpr* application = FirstApplication(*read.Tree, number);
    ASSERT_NE(application, nullptr);
    const TType* head = application->Head()->Type;
    ASSERT_TRUE(head && head->Fun() && head->Fun()->Restrictions);
    EXPECT_EQ(head->Fun()->Args.size(), application->Children().size() - 1);
  }
}

TEST_F(Restrictions, EveryRestrictionIsAConditionOnTheArguments) {
  // The variables that the functions used under a type bind, found in their applications.
  std::map<const TType*, std::vector<TType*>> bound;
  for (const auto& [number, text] : kApplications) {
    const TReadFormula read = ReadFormula(text);
    ASSERT_TRUE(read.Tree) << text;
    const TExpr* application = FirstApplication(*read.Tree, number);
    ASSERT_NE(application, nullptr) << text;
    if (!application->Bound) continue;
    for (const TVarPtr& v : *application->Bound) bound[application->Head()->Type].push_back(v->Type);
  }
  int restrictions = 0;
  for (const auto& t : context.TypesProccess->Types()) {
    const TFunType* f = t->Fun();
    if (f == nullptr || !f->Restrictions) continue;
    std::vector<TType*> parameters = f->Args;
    if (const auto variables = bound.find(t.get()); variables != bound.end())
      parameters.back() = FunctionTypeOf(variables->second, parameters.back(), *context.TypesProccess);
    for (const std::string& text : *f->Restrictions) {
      SCOPED_TRACE(t->Name);
      ReadRestriction(text, parameters);
      ++restrictions;
    }
  }
  EXPECT_GE(restrictions, 20);
}

// The prover puts the arguments in: a plain argument as it is, the body of a
// limit as a template of the bound variable, which the restriction applies.
TEST_F(Restrictions, InstancesAreConditionsOnTheGivenArguments) {
  const struct {
    int head;
    std::string application;
    std::vector<std::string> instances;
  } cases[] = {
      {5, "x / ( y - 1 )", {"\\not ( y - 1 = 0 )"}},
      {6, "x ^ ( - 1 )", {"\\not ( x = 0 ) \\or - 1 > 0"}},
      {84, "\\log ( a , x )", {"a > 0", "\\not ( a = 1 )", "x > 0"}},
      {46, "\\forall A \\subset \\R \\Vld \\sup ( A ) = 0",
       {"\\not ( A = \\emptyset )", "\\exists M \\in \\R : \\forall x \\in A \\Vld x \\le M"}},
      {77, "\\lim ( n \\Arrow \\infty , 1 / n )",
       {"\\exists L \\in \\R : \\forall \\epsilon > 0 \\Vld \\exists N \\in \\N : \\forall n \\in \\N \\Vld n \\ge N "
        "\\implies | 1 / n - L | < \\epsilon"}},
      {187, "\\lim ( x \\Arrow 0 + 0 , \\sin ( x ) / x )",
       {"\\exists L \\in \\R : \\forall \\epsilon > 0 \\Vld \\exists v \\in \\R : 0 < v \\and ( \\forall x \\in \\R \\Vld 0 "
        "< x \\and x < v \\implies | \\sin ( x ) / x - L | < \\epsilon )"}},
      {202, "\\root ( 3 , x - 1 )", {"x - 1 \\ge 0 \\or \\not ( \\exists k \\in \\Z : 3 = 2 \\cdot k )"}},
      {194, "\\arcsin ( x / 2 )", {"- 1 \\le x / 2 \\and x / 2 \\le 1"}},
      {181, "\\forall n \\in \\N0 \\Vld \\binom ( n + 1 , 2 ) = 0", {"2 \\le n + 1"}},
      {184, "\\forall a \\in \\Z \\Vld \\gcd ( a , 0 ) = 1", {"\\not ( a = 0 ) \\or \\not ( 0 = 0 )"}},
      {178, "\\forall a \\FuncSpec \\N \\Arrow \\R \\Vld \\limsup ( a ) = 0",
       {"\\exists M \\in \\R : \\forall n \\in \\N \\Vld | a ( n ) | \\le M"}},
      {191, "\\forall f \\FuncSpec \\R \\Arrow \\R \\Vld f \\inverse = f",
       {"\\forall x , y \\Vld f ( x ) = f ( y ) \\implies x = y"}},
      {201, "\\forall A \\subset \\R \\Vld \\card ( A ) = 0",
       {"\\exists n \\in \\N0 : \\exists g \\FuncSpec \\N \\Arrow \\U : \\forall x \\in \\U : x \\in A \\Vld \\exists k "
        "\\in \\N : k \\le n \\and g ( k ) = x"}},
      {214, "\\sum \\infty _ ( n = 1 ) ^ 1 / 2 ^ n",
       {"\\infty = \\infty \\or \\infty = \\plusInfty",
        "\\exists L \\in \\R : \\forall \\epsilon > 0 \\Vld \\exists N \\in \\N : \\forall m \\in \\N \\Vld m \\ge N "
        "\\implies | ( \\sum m _ ( k = 1 ) ^ 1 / 2 ^ k ) - L | < \\epsilon"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.application);
    const TReadFormula read = ReadFormula(c.application);
    ASSERT_TRUE(read.Tree);
    const TExpr* application = FirstApplication(*read.Tree, c.head);
    ASSERT_NE(application, nullptr);
    std::vector<TExprPtr> owned;
    const TExprList& children = application->Children();
    for (std::size_t i = 1; i < children.size(); ++i) {
      owned.push_back(DeepCopy(*children[i]));
      if (application->Bound && i + 1 == children.size()) {
        Abstract(*owned.back(), *application->Bound);
        owned.back() = TExpr::Templ(std::move(owned.back()));
      }
    }
    std::vector<const TExpr*> values;
    for (const TExprPtr& v : owned) values.push_back(v.get());
    const std::vector<std::string>& texts = *application->Head()->Type->Fun()->Restrictions;
    ASSERT_EQ(texts.size(), c.instances.size());
    for (std::size_t k = 0; k < texts.size(); ++k) {
      TExprPtr instance = ReadRestriction(texts[k], ParameterTypes(*application));
      ASSERT_TRUE(instance);
      ASSERT_TRUE(SubstituteTemplParam(*instance, values));
      EXPECT_TRUE(CollectClass(*instance, TClass::TemplPar).empty());
      ASSERT_TRUE(Retype(*instance));
      EXPECT_EQ(instance->Type, T("lT"));
      // The expected condition, read over variables of the same names and types, prints the same.
      const TLike expected = ReadLike(c.instances[k], *instance);
      ASSERT_TRUE(expected.Tree) << c.instances[k];
      EXPECT_EQ(TreeToText(*instance, false, false), TreeToText(*expected.Tree, false, false));
    }
  }
}

// Powers are partial only where the exponent may make them undefined.
TEST_F(Restrictions, PowersAreTotalWithANaturalExponent) {
  const struct {
    std::string power;
    const char* type;
    bool restricted;
  } cases[] = {
      {"2 ^ 3", "nPowT", false},          {"n ^ 0", "nPowT", false},
      {"( - 2 ) ^ n", "zNatPowT", false}, {"( 1 / 2 ) ^ n", "qNatPowT", false},
      {"x ^ 2", "rNatPowT", false},       {"0 ^ 0", "qIntPowT", true},
      {"( 1 / 2 ) ^ ( - 1 )", "qIntPowT", true}, {"x ^ ( - 1 )", "rIntPowT", true},
      {"x ^ 0", "rIntPowT", true},        {"x ^ ( 1 / 2 )", "rPowT", true},
      {"2 ^ x", "rPowT", true},
  };
  for (const auto& c : cases) {
    const TReadFormula read = ReadFormula(c.power);
    ASSERT_TRUE(read.Tree) << c.power;
    ASSERT_EQ(read.Tree->HeadIntrinsic(), 6) << c.power;
    const TType* head = read.Tree->Head()->Type;
    EXPECT_EQ(head, T(c.type)) << c.power;
    EXPECT_EQ(head && head->Fun()->Restrictions.has_value(), c.restricted) << c.power;
  }
}

}  // namespace
}  // namespace lemmix
