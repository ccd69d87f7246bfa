// Methods: their data read from statement lines, the registry relative to a
// statement, finding and identifying candidates, executing superficial and
// deep methods, the correctness tasks and the automatic use in the tests.
#include "prover/method.h"

#include <gtest/gtest.h>

#include <set>

#include "book/method_lines.h"
#include "book/part.h"
#include "intrinsics/intr_numbers.h"
#include "prover/task.h"
#include "prover/terminal.h"
#include "prover/tests.h"
#include "prover_fixture.h"

namespace lemmix {
namespace {

struct TMethodEntry {
  const char* Name;
  int Type;
  const char* Vars;
  const char* Input;
  const char* Output;
  const char* Connective = "0";  // or the new variables
  const char* Present = "";      // or the new conditions
  const char* Testing = "";
  const char* Priority = "1";
  const char* Flags = "false false";
  const char* Preferable = "";
  const char* FalseTypes = "";
};

std::vector<std::string> Lines(const TMethodEntry& m) {
  std::vector<std::string> lines(kMethodLines);
  lines[0] = "S";
  lines[kEnglishNameLine] = m.Name;
  lines[kRussianNameLine] = m.Name;
  lines[kKindLine] = std::string(kStatementKindWords[kMethodKind]);
  lines[kMethodTypeField] = std::to_string(m.Type);
  lines[kMethodVariablesField] = m.Vars;
  lines[kMethodInputField] = m.Input;
  lines[kMethodOutputField] = m.Output;
  lines[kMethodConnectiveField] = m.Connective;
  lines[kMethodPresentField] = m.Present;
  lines[kMethodTestingField] = m.Testing;
  lines[kMethodFalseTypesField] = m.FalseTypes;
  lines[kMethodPreferableField] = m.Preferable;
  lines[kMethodPriorityField] = m.Priority;
  lines[kMethodFlagsField] = m.Flags;
  lines[kMethodRusCaptionField] = m.Name;
  lines[kMethodEngCaptionField] = m.Name;
  return lines;
}

class MethodTest : public testing::ProverTest {
 protected:
  void SetUp() override {
    ProverTest::SetUp();
    context.Settings.AutoStandard = false;
    book.Path = "book";
    auto& chapter = *book.Children.emplace_back(std::make_unique<TChapter>());
    chapter.Path = "book\\1";
    auto& paragraph = *chapter.Children.emplace_back(std::make_unique<TParagraph>());
    paragraph.Path = "book\\1\\0";
  }

  TStatement& Add(const TMethodEntry& m) {
    auto& paragraph = *book.Children[0]->Children[0];
    auto& s = *paragraph.Children.emplace_back(std::make_unique<TStatement>());
    s.Path = paragraph.Path + "\\" + std::to_string(paragraph.Children.size());
    s.Lines = Lines(m);
    return s;
  }
  TStatement& Theorem() {
    auto& paragraph = *book.Children[0]->Children[0];
    auto& s = *paragraph.Children.emplace_back(std::make_unique<TStatement>());
    s.Path = paragraph.Path + "\\" + std::to_string(paragraph.Children.size());
    s.Lines = {"S", "", "Goal", "Goal", "theorem", "1 = 1"};
    return s;
  }
  void Build(const TStatement* limit = nullptr) {
    ASSERT_TRUE(registry.Build(book, limit, [this](const TStatement& s) { return !unproved.contains(&s); })) << Last();
  }

  // A kernel with the real objects a, b, c and the given conditions.
  void Given(std::initializer_list<const char*> conds) {
    for (char letter : {'a', 'b', 'c'}) kernel.AddObject(Var(letter), false);
    for (const char* c : conds) ASSERT_TRUE(kernel.AddGivenCond(*KernelFormula(kernel, c))) << c;
  }
  void Proving(const char* c) { ASSERT_TRUE(kernel.AddProvingCond(*KernelFormula(kernel, c))) << c; }

  std::vector<std::string> Found(TSection section, int position, bool automatic = false, int stage = 0) {
    std::vector<std::string> names;
    for (const TExtendedMeth& m : FindMethods(registry, kernel, TMethodSearch{section, position, automatic, stage, 0}))
      names.push_back(m.Method->Lines[kEnglishNameLine]);
    return names;
  }
  std::string Text(const TCondList& list, std::size_t i) { return ToString(*list.at(i)->Expr); }
  std::string Last() { return messages.Entries().empty() ? "" : messages.Entries().back().message.Eng; }

  TBook book;
  TMethodRegistry registry;
  TKernel kernel;
  std::set<const TStatement*> unproved;
};

const TMethodEntry kSplitGe{"Split ge", kDialogSuperficial, "x , y \\in \\R", "x \\ge y", "x > y \\or x = y"};
const TMethodEntry kEqGivesGe{"Eq gives ge", kDialogSuperficial, "x , y \\in \\R", "x = y", "x \\ge y", "1"};

TEST_F(MethodTest, DataOfEachKind) {
  const std::vector<std::string> lines = Lines(kSplitGe);
  TStatement s;
  s.Lines = lines;
  const auto object = SetMethodData(s);
  const auto* m = dynamic_cast<const TSuperficialTransform*>(object.get());
  ASSERT_TRUE(m) << Last();
  EXPECT_EQ(m->MainFunction, kGe);
  EXPECT_EQ(m->Parameters.size(), 2u);
  // Kept in the normal form of conditions: x + (−1)·y ≥ 0.
  EXPECT_EQ(m->Input->Children()[1]->Class, TClass::Compound);
  EXPECT_EQ(m->Input->Children()[2]->Class, TClass::Number);
  EXPECT_EQ(m->Output->HeadIntrinsic(), kOr);
  const auto copy = m->Copy();
  EXPECT_TRUE(dynamic_cast<const TSuperficialTransform*>(copy.get()));

  s.Lines = Lines({"Deep", kDialogDeep, "x \\in \\Z", "| x |", "v", "v \\in \\R", "v \\ge 0 \\and v \\ge x"});
  const auto deep = SetMethodData(s);
  const auto* d = dynamic_cast<const TDeepDialogTransform*>(deep.get());
  ASSERT_TRUE(d) << Last();
  EXPECT_EQ(d->NewVariables.size(), 1u);
  EXPECT_EQ(d->NewConditions.size(), 2u);
  EXPECT_EQ(d->Output->ParIndex(), 1);  // after the one parameter
  s.Lines = Lines({"Auto deep", kAutoDeep, "x \\in \\R", "| x |", "x"});
  EXPECT_TRUE(dynamic_cast<const TDeepAutoTransform*>(SetMethodData(s).get()));
}

TEST_F(MethodTest, FaultyDataAreRefusedWithTheirMessage) {
  struct Case {
    TMethodEntry Entry;
    const char* Message;
  };
  const Case cases[] = {
      {{"m", 0, "x \\in \\R", "x \\ge", "x = x"}, "Error 4 in SetMethodData (Cond)"},
      {{"m", 0, "x \\in \\R", "x \\ge 0", "x = "}, "Error 2 in SetMethodData (Cond)"},
      {{"m", 0, "x \\in \\R", "x \\ge 0", "x = 0", "0", "x = "}, "Error 6 in SetMethodData (Cond)"},
      {{"m", 0, "x \\in \\R", "x \\ge 0", "x = 0", "0", "", "x >"}, "Error 7 in SetMethodData (Cond)"},
      {{"m", 0, "x \\in \\R", "x \\ge 0", "x = 0", "0", "", "", "0"}, "The priority must be a positive integer number."},
      {{"m", 0, "x \\in \\R", "x \\ge 0", "x = 0", "5"}, "Invalid connective."},
      {{"m", 0, "x \\in \\R", "x \\ge 0", "x = 0", "0", "", "", "1", "false false", "", "z \\in \\N"},
       "False conditions on types are for global variables."},
  };
  for (const Case& c : cases) {
    TStatement s;
    s.Lines = Lines(c.Entry);
    EXPECT_EQ(SetMethodData(s), nullptr) << c.Message;
    EXPECT_EQ(Last(), c.Message);
  }
  TStatement shortOne;
  shortOne.Lines = {"S", "", "m", "m", "method", "", "", "0"};
  EXPECT_EQ(SetMethodData(shortOne), nullptr);
  EXPECT_EQ(Last(), "Error 1 in SetMethodData (Cond)");
}

TEST_F(MethodTest, RegistryKeepsPriorityOrderAndOnlyEarlierProvedMethods) {
  TMethodEntry late = kSplitGe, early = kSplitGe, same = kSplitGe, after = kSplitGe, notProved = kSplitGe;
  late.Name = "Late", late.Priority = "3";
  early.Name = "Early", early.Priority = "2";
  same.Name = "Same", same.Priority = "2";
  after.Name = "After";
  notProved.Name = "Not proved";
  Add(late);
  Add(early);
  Add(same);
  unproved.insert(&Add(notProved));
  TStatement& goal = Theorem();
  Add(after);
  Build(&goal);
  std::vector<std::string> names;
  for (const TStatement* s : registry.List(kGe, kDialogSuperficial)) names.push_back(s->Lines[kEnglishNameLine]);
  EXPECT_EQ(names, (std::vector<std::string>{"Early", "Same", "Late"}));
  // The method statement itself is not among its own methods.
  TStatement& self = Add({"Self", kDialogSuperficial, "x , y \\in \\R", "x \\ge y", "y \\le x"});
  Build(&self);
  for (const TStatement* s : registry.List(kGe, kDialogSuperficial)) EXPECT_NE(s, &self);
}

TEST_F(MethodTest, AnUnknownPreferableNameStopsTheRegistration) {
  TMethodEntry m = kSplitGe;
  m.Preferable = "Nowhere";
  Add(m);
  EXPECT_FALSE(registry.Build(book, nullptr, [](const TStatement&) { return true; }));
  EXPECT_EQ(Last(), "Wrong name of a preferable method: Nowhere");
}

TEST_F(MethodTest, SearchRulesOfStageConnectiveTerminalAndNegation) {
  TMethodEntry second = kSplitGe, terminal = kSplitGe, negated = kSplitGe;
  second.Name = "Second", second.Priority = "2";
  terminal.Name = "Terminal", terminal.Flags = "false true";
  negated.Name = "Negated", negated.Flags = "true false", negated.Output = "x > y \\or y = x";
  Add(kEqGivesGe);
  Add(second);
  Add(terminal);
  Add(negated);
  Build();
  Given({"a = b", "a \\ge b", "\\not ( a \\ge b )"});
  Proving("a = b");
  // Stage 1 leaves the priority 2 method out; any stage tries every one.
  EXPECT_EQ(Found(TSection::GivenConds, 1, false, 1), (std::vector<std::string>{"Negated"}));
  EXPECT_EQ(Found(TSection::GivenConds, 1, false, 2), (std::vector<std::string>{"Second"}));
  // " =>" rewrites a given condition, never a proving one.
  EXPECT_EQ(Found(TSection::GivenConds, 0), (std::vector<std::string>{"Eq gives ge"}));
  EXPECT_TRUE(Found(TSection::ProvingConds, 0).empty());
  // Only a method with NegationEnabled looks through ¬.
  EXPECT_EQ(Found(TSection::GivenConds, 2), (std::vector<std::string>{"Negated"}));
  // A terminal method works in copies of the automatic search only.
  kernel.SearchMode = 1;
  EXPECT_EQ(Found(TSection::GivenConds, 1, false, 1), (std::vector<std::string>{"Terminal", "Negated"}));
  bool exists = true;
  FindMethods(registry, kernel, TMethodSearch{TSection::GivenConds, 9}, &exists);
  EXPECT_FALSE(exists);
  EXPECT_EQ(Last(), "The marked condition does not exist");
}

TEST_F(MethodTest, APreferableMethodSupersedesAnother) {
  TMethodEntry better = kSplitGe;
  better.Name = "Better", better.Preferable = "Split ge", better.Output = "x > y \\or y = x";
  Add(kSplitGe);
  Add(better);
  Build();
  Given({"a \\ge b"});
  EXPECT_EQ(Found(TSection::GivenConds, 0), (std::vector<std::string>{"Better"}));
}

TEST_F(MethodTest, PresentConditionsGiveAlternativeBindingsAndTestingConditionsMustHold) {
  // x ≥ y with some z ≥ x known: applies, through the first such z.
  Add({"Through", kDialogSuperficial, "x , y , z \\in \\R", "x \\ge y", "z \\ge y", "1", "z \\ge x"});
  Add({"Tested", kDialogSuperficial, "x , y \\in \\R", "x \\le y", "y \\ge x", "0", "", "x > 0"});
  Build();
  Given({"a \\ge b", "c \\ge a", "a \\le c"});
  const auto found = FindMethods(registry, kernel, TMethodSearch{TSection::GivenConds, 0});
  ASSERT_EQ(found.size(), 1u) << Last();
  EXPECT_EQ(found[0].Method->Lines[kEnglishNameLine], "Through");
  EXPECT_EQ(found[0].Binding.size(), 3u);
  // Nothing is known of b > 0: the test of "Tested" fails on a ≥ b read as b ≤ a.
  const std::vector<std::string> before = Found(TSection::GivenConds, 0);
  EXPECT_TRUE(std::find(before.begin(), before.end(), "Tested") == before.end());
  ASSERT_TRUE(kernel.AddGivenCond(*KernelFormula(kernel, "b > 0")));
  const std::vector<std::string> now = Found(TSection::GivenConds, 0);
  EXPECT_TRUE(std::find(now.begin(), now.end(), "Tested") != now.end()) << Last();
}

TEST_F(MethodTest, AParameterNothingBindsIsReported) {
  Add({"Unbound", kDialogSuperficial, "x , y , z \\in \\R", "x < y", "z < y", "1"});
  Build();
  Given({"a < b"});
  EXPECT_TRUE(Found(TSection::GivenConds, 0).empty());
  EXPECT_EQ(Last(), "Uncomplete identification of parameters of Unbound");
}

TEST_F(MethodTest, ExecutingReplacesTheConditionInPlace) {
  Add(kSplitGe);
  Build();
  Given({"a = c", "a \\ge b", "c = b"});
  const auto found = FindMethods(registry, kernel, TMethodSearch{TSection::GivenConds, 1});
  ASSERT_EQ(found.size(), 1u);
  EXPECT_FALSE(ExecuteMethod(registry, kernel, TSection::GivenConds, 1, found, 1));
  EXPECT_EQ(Last(), "Error 1 in ExecuteMethod (Kernel).");
  ASSERT_TRUE(ExecuteMethod(registry, kernel, TSection::GivenConds, 1, found, 0));
  ASSERT_EQ(kernel.GivenConds.size(), 3u);
  EXPECT_EQ(kernel.GivenConds[1]->Expr->HeadIntrinsic(), kOr);
  EXPECT_EQ(kernel.GivenConds[2]->Expr->HeadIntrinsic(), kEq);
}

// The normal form turns an equation's sign by the order of its terms: names
// in a condition, parameter numbers in a pattern. Either sign matches.
TEST_F(MethodTest, AnEquationMatchesWhateverItsSign) {
  Add({"Sum", kDialogSuperficial, "x \\in \\R , y \\in \\R , z \\in \\R", "x = y + z", "x - y = z"});
  Add({"Positive sum", kDialogSuperficial, "x \\in \\R , y \\in \\R , z \\in \\R", "x > 0", "y + z > 0", "0",
       "x = y + z"});
  Build();
  Given({"c = a + b", "a = b + c", "b - c = a", "c > 0"});
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Found(TSection::GivenConds, i), std::vector<std::string>{"Sum"}) << i;
  // The present condition c = a + b binds y and z to a and b.
  const auto found = FindMethods(registry, kernel, TMethodSearch{TSection::GivenConds, 3});
  ASSERT_EQ(found.size(), 1u);
  ASSERT_TRUE(ExecuteMethod(registry, kernel, TSection::GivenConds, 3, found, 0));
  EXPECT_TRUE(kernel.FindGivenCond(*KernelFormula(kernel, "a + b > 0")) >= 0) << Text(kernel.GivenConds, 3);
}

TEST_F(MethodTest, AutomaticMethodsAreBothWaysAndStayOutOfNegations) {
  TMethodEntry oneWay = kEqGivesGe, split = kSplitGe;
  oneWay.Type = split.Type = kAutoSuperficial;
  Add(oneWay);
  Add(split);
  Build();
  Given({"a = b", "\\not ( a \\ge b )", "a = c \\and b \\ge c"});
  Proving("a = b");
  for (TCondList* list : {&kernel.GivenConds, &kernel.ProvingConds})
    for (TCondPtr& c : *list) c->Stage = 2;
  // The one-way method would turn the goal a = b into the weaker a ≥ b.
  EXPECT_FALSE(ApplyAutomaticMethods(registry, kernel, TSection::ProvingConds, 0, 0));
  EXPECT_FALSE(ApplyAutomaticMethods(registry, kernel, TSection::GivenConds, 0, 0));
  EXPECT_FALSE(ApplyAutomaticMethods(registry, kernel, TSection::GivenConds, 1, 0));
  ASSERT_TRUE(ApplyAutomaticMethods(registry, kernel, TSection::GivenConds, 2, 0));
  const TExpr& now = *kernel.GivenConds[2]->Expr;
  ASSERT_EQ(now.HeadIntrinsic(), kAnd);
  EXPECT_EQ(now.Children()[2]->HeadIntrinsic(), kOr);
}

// |x| = y and |−x| = y turn into each other for ever: the tests stop all the same.
TEST_F(MethodTest, AutomaticMethodsThatUndoEachOtherStop) {
  Add({"Opposite", kAutoSuperficial, "x , y \\in \\R", "| x | = y", "| - x | = y"});
  Build();
  TProofSetup setup;
  setup.Methods = [this](TKernel& k, TSection s, int i, int depth) { return ApplyAutomaticMethods(registry, k, s, i, depth); };
  const TProofSetupScope scope(setup);
  Given({"| a | = b"});
  Proving("b = c");
  TestConditions(kernel);
  EXPECT_FALSE(kernel.Proved);
  // Each application changes the condition; the allowance of a run ends them.
  kernel.GivenConds[0]->Stage = 2;
  int applied = 0;
  while (applied < 100000 && ApplyAutomaticMethods(registry, kernel, TSection::GivenConds, 0, 0)) ++applied;
  EXPECT_GT(applied, 10);
  EXPECT_LT(applied, 100000);
  EXPECT_NE(Last().find("too many times"), std::string::npos) << Last();
}

TEST_F(MethodTest, AOneWayMethodProvesNoConverse) {
  TMethodEntry oneWay = kEqGivesGe;
  oneWay.Type = kAutoSuperficial;
  Add(oneWay);
  Build();
  TProofSetup setup;
  setup.Methods = [this](TKernel& k, TSection s, int i, int depth) { return ApplyAutomaticMethods(registry, k, s, i, depth); };
  const TProofSetupScope scope(setup);
  context.Settings.AutoStandard = true;
  TKernel empty;
  const TExprPtr claim = ReadProverFormula(empty, "\\forall a , b \\in \\R \\Vld a \\ge b \\implies a = b");
  ASSERT_TRUE(claim);
  EXPECT_FALSE(OrdinaryTask(*claim).Kernel->Proved);
}

TEST_F(MethodTest, DeepMethodsTakeDeclaredTypesAndGuardUndefinedTerms) {
  Add({"Abs", kDialogDeep, "x \\in \\Z", "| x |", "v", "v \\in \\R", "v \\ge 0"});
  Add({"Inverse", kDialogDeep, "x \\in \\R", "1 / x", "w", "w \\in \\R", "w \\cdot x = 1"});
  Build();
  kernel.AddObject(Var('n', -1, "zT"), false);
  Given({"1 / a > 2", "\\forall t \\in \\Z \\Vld | t | \\ge 0"});
  ASSERT_TRUE(kernel.AddGivenCond(*KernelFormula(kernel, "| n | > 1")));
  EXPECT_EQ(FindDeepMethods(registry, kernel, TSection::GivenConds, 2).size(), 1u);
  // A term with a variable bound outside it is never rewritten.
  EXPECT_TRUE(FindDeepMethods(registry, kernel, TSection::GivenConds, 1).empty());
  EXPECT_FALSE(DeepExecuteMethod(registry, kernel, *registry.List(kAbs, kDialogDeep).at(0), TSection::GivenConds, 1, 0));
  // Nor one with a required object: v would depend on the value still to be chosen.
  kernel.AddObject(Var('r'), true);
  Proving("| r | > r");
  EXPECT_TRUE(FindDeepMethods(registry, kernel, TSection::ProvingConds, 0).empty());
  EXPECT_FALSE(DeepExecuteMethod(registry, kernel, *registry.List(kAbs, kDialogDeep).at(0), TSection::ProvingConds, 0, 0));

  const std::size_t objects = kernel.GivenObjects.size();
  ASSERT_TRUE(DeepExecuteMethod(registry, kernel, *registry.List(kAbs, kDialogDeep).at(0), TSection::GivenConds, 2, 0));
  ASSERT_EQ(kernel.GivenObjects.size(), objects + 1);
  EXPECT_EQ(kernel.GivenObjects.back()->Type, T("rT"));
  EXPECT_EQ(kernel.GivenConds.at(3)->Expr->HeadIntrinsic(), kIdentity);
  EXPECT_EQ(kernel.GivenConds.at(4)->Expr->HeadIntrinsic(), kGe);

  // 1/a (kept as a^(-1)) with a ≠ 0 neither given nor provable: what the method says is guarded.
  ASSERT_TRUE(DeepExecuteMethod(registry, kernel, *registry.List(kPower, kDialogDeep).at(0), TSection::GivenConds, 0, 0));
  EXPECT_EQ(kernel.GivenConds.at(5)->Expr->HeadIntrinsic(), kImplies);
  EXPECT_EQ(kernel.GivenConds.at(6)->Expr->HeadIntrinsic(), kImplies);
}

// The terminal test takes the deep methods' new numbers: |a| ≥ 0 follows
// from what "the modulus as a new number" says, |a| ≥ a + 1 does not.
TEST_F(MethodTest, TheTerminalTestUsesTheDeepMethods) {
  context.Settings.AutoStandard = true;
  Add({"Modulus", kDialogDeep, "x \\in \\R", "| x |", "v", "v \\in \\R",
       "( x \\ge 0 \\implies v = x ) \\and ( x < 0 \\implies v = - x )"});
  Build();
  TProofSetup setup;
  setup.DeepMethods = [this](TKernel& k, int depth) { return DeepMethodPass(registry, k, depth); };
  const TProofSetupScope scope(setup);
  const struct {
    const char* goal;
    bool closes;
  } cases[] = {{"| a | \\ge 0", true}, {"| a | \\ge a", true}, {"| a | \\ge a + 1", false}, {"| a | > 0", false}};
  for (const auto& c : cases) {
    TKernel field;
    field.AddObject(Var('a'), false);
    ASSERT_TRUE(field.AddProvingCond(*KernelFormula(field, c.goal))) << c.goal;
    std::unique_ptr<TKernel> copy = field.Copy({.Goal = true});
    copy->SearchMode = 2;
    EXPECT_EQ(TerminalTest(*copy, 1), c.closes) << c.goal;
  }
  // Without the methods the modulus is an unknown of its own.
  const TProofSetup none;
  const TProofSetupScope without(none);
  TKernel field;
  field.AddObject(Var('a'), false);
  ASSERT_TRUE(field.AddProvingCond(*KernelFormula(field, "| a | \\ge 0")));
  EXPECT_FALSE(TerminalTest(field, 1));
}

TEST_F(MethodTest, CorrectnessTasks) {
  context.Settings.AutoStandard = true;
  TStatement s;
  // A correct method is proved correct.
  s.Lines = Lines({"Difference", kDialogSuperficial, "x , y \\in \\R", "x = y", "x - y = 0", "0"});
  EXPECT_TRUE(MethodCorrectnessTask(s).Kernel->Proved) << Last();
  // |x| -> 5 with the condition |x| = 5: the claim alone is a tautology; the
  // task goes on and is never closed.
  s.Lines = Lines({"Five", kDialogDeep, "x \\in \\R", "| x |", "5", "", "| x | = 5"});
  const TTask five = MethodCorrectnessTask(s);
  EXPECT_TRUE(five.GoesOn) << Last();
  EXPECT_FALSE(five.Kernel->Proved);
  // With a new variable the existence is a goal too.
  context.Settings.AutoStandard = false;
  s.Lines = Lines({"Value", kDialogDeep, "x \\in \\R", "| x |", "v", "v \\in \\R", "v \\ge 0"});
  const TTask value = MethodCorrectnessTask(s);
  // The existence of the new variable (∃v: |x| = v) holds and closes; the
  // claim's two directions remain.
  ASSERT_EQ(value.Kernel->ProvingConds.size(), 2u);
  EXPECT_EQ(value.Kernel->ProvingConds[0]->Expr->HeadIntrinsic(), kImplies);
  EXPECT_EQ(value.Kernel->ProvingConds[1]->Expr->HeadIntrinsic(), kImplies);
  EXPECT_FALSE(value.Kernel->Proved) << "v ≥ 0 does not make v the modulus of x";
  // x = y <=> x / y = 1 fails at x = y = 0: never proved correct.
  context.Settings.AutoStandard = true;
  s.Lines = Lines({"Quotient", kDialogSuperficial, "x , y \\in \\R", "x = y", "x / y = 1", "0"});
  EXPECT_FALSE(MethodCorrectnessTask(s).Kernel->Proved);
}

}  // namespace
}  // namespace lemmix
