// The proof driver without a window, answered by scripts: a small proof for
// each command and transformation of a marked condition with the records it
// must write, Undo after every command of a proof, cancelled dialogs,
// subproofs that fail, and misuses that must never prove anything.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <ostream>
#include <stdexcept>

#include "../expr/expr_fixture.h"
#include "book/html_links.h"
#include "book/part.h"
#include "book/statement.h"
#include "expr/info_sink.h"
#include "notation/output.h"
#include "proofrun/assot.h"
#include "proofrun/demo.h"
#include "proofrun/driver.h"
#include "proofrun/protocol.h"
#include "proofrun/script_ui.h"
#include "shell/cp1251.h"
#include "shell/files.h"
#include "shell/text.h"
#include "types/types_proccess.h"

namespace lemmix {
namespace {

// The proof field as the four sections show it, with its level and caption.
struct TField {
  std::vector<std::string> GivenObjects;
  std::vector<std::string> GivenConds;
  std::vector<std::string> RequiredObjects;
  std::vector<std::string> ProvingConds;
  bool ByContradiction = false;
  int Level = 0;
  int Caption = kNoCaption;
  bool operator==(const TField&) const = default;
};

void PrintTo(const TField& f, std::ostream* os) {
  const auto list = [&](const char* title, const std::vector<std::string>& items) {
    *os << title << ":";
    for (const std::string& item : items) *os << " [" << Cp1251ToUtf8(item) << "]";
    *os << "\n";
  };
  list("given objects", f.GivenObjects);
  list("given conditions", f.GivenConds);
  list("required objects", f.RequiredObjects);
  list("proving conditions", f.ProvingConds);
  *os << "by contradiction " << f.ByContradiction << ", level " << f.Level << ", caption " << f.Caption;
}

TField FieldOf(const TProofDriver& driver) {
  TField f;
  const TKernel* k = driver.Current();
  if (k == nullptr) return f;
  const auto objects = [](const TVarList& list) {
    std::vector<std::string> out;
    for (const TVarPtr& v : list)
      out.push_back(NameText(v->Name) + ":" + (v->Type ? Ctx().TypesProccess->Identifier(*v->Type) : "?"));
    return out;
  };
  const auto conds = [](const TCondList& list) {
    std::vector<std::string> out;
    for (const TCondPtr& c : list) out.push_back(TreeToText(*c->Expr, false, false).value_or("?"));
    return out;
  };
  f.GivenObjects = objects(k->GivenObjects);
  f.GivenConds = conds(k->GivenConds);
  f.RequiredObjects = objects(k->RequiredObjects);
  f.ProvingConds = conds(k->ProvingConds);
  f.ByContradiction = k->ByContradiction;
  f.Level = driver.Level();
  f.Caption = driver.Caption();
  return f;
}

// The proof-field marks of a protocol: the '@' at the ends of its lines.
std::size_t Marks(const std::vector<std::string>& lines) {
  std::size_t marks = 0;
  for (const std::string& line : lines)
    for (auto c = line.rbegin(); c != line.rend() && *c == '@'; ++c) ++marks;
  return marks;
}

// A script cut into its commands, each with the answers that follow it.
std::vector<std::vector<std::string>> Commands(const std::vector<std::string>& script) {
  std::vector<std::vector<std::string>> commands;
  for (const std::string& raw : script) {
    const std::string line(Trim(raw));
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '!') commands.emplace_back();
    if (!commands.empty()) commands.back().push_back(line);
  }
  return commands;
}

// The head of every protocol: the twelve settings (the defaults; the symbol
// package is off in book\6\24), the beginning line with the mark of the
// first proof field, and the empty line that ends that step.
std::vector<std::string> Head(const std::string& name, bool symbolPackage) {
  return {"AutoStandard = true",
          std::string("SymbolTransEnable = ") + (symbolPackage ? "true" : "false"),
          "TestDataCond = true",
          "TestProveCond = true",
          "TestProveCondWhenDataNew = true",
          "OneStepFinish0 = true",
          "OneStepFinish1 = true",
          "OneStepFinish2 = true",
          "OneStepFinish3 = true",
          "ProveEachCond = 2",
          "ImplicationSimpl = 1",
          "DisjunctionSimpl = 1",
          "The beginning of the proof: " + name + "@",
          ""};
}

class DriverFixture : public testing::ExprTest {
 protected:
  struct TState {
    TField Field;
    std::vector<std::string> Lines;
    std::size_t Depth = 0;
    bool UndoEnabled = false;
    bool operator==(const TState&) const = default;
    friend void PrintTo(const TState& s, std::ostream* os) {
      PrintTo(s.Field, os);
      *os << "\ndepth " << s.Depth << ", undo " << (s.UndoEnabled ? "enabled" : "disabled") << ", protocol:";
      for (const std::string& line : s.Lines) *os << "\n  |" << Cp1251ToUtf8(line);
    }
  };

  void SetUp() override {
    ExprTest::SetUp();
    context.StartupOk = true;
    ASSERT_TRUE(assot.LoadAssot(SystemPath(LEMMIX_DATA_DIR).value()));
  }

  // The statement at "6/24/0" (chapter, paragraph, statement).
  TStatement& At(const TBook& in, std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    TStatement* statement = FindStatementByPath(in, "\\" + path);
    if (statement == nullptr) throw std::runtime_error("no statement " + path);
    return *statement;
  }

  // Starts the proof with the script's answers; its commands run with Run.
  bool Start(const TBook& in, const std::string& path, std::vector<std::string> script) {
    driver.reset();
    ui = std::make_unique<TScriptUi>(in, std::move(script));
    driver = std::make_unique<TProofDriver>(*ui, protocol, in, &assot);
    return driver->Start(At(in, path), "");
  }

  // Runs the commands; `after` sees the number of commands run so far.
  void Run(const std::function<void(std::size_t)>& after = {}) {
    std::size_t count = 0;
    const bool understood = ui->Run(*driver, [&](const std::string&, bool) {
      ++count;
      if (driver->Open()) {
        EXPECT_EQ(Marks(protocol.Lines), driver->Depth()) << "after command " << count;
      }
      if (after) after(count);
    });
    EXPECT_TRUE(understood) << "line " << ui->FaultLine;
  }

  TState State() const { return {FieldOf(*driver), protocol.Lines, driver->Depth(), driver->UndoEnabled()}; }

  std::vector<std::string> Errors() const {
    std::vector<std::string> errors;
    for (const auto& entry : messages.Entries()) errors.push_back(entry.message.Eng);
    return errors;
  }

  // Proves with the script, taking back every command but the last right
  // after it was carried out and carrying it out again. Each Undo gives back
  // exactly the proof field and the protocol from before the command, and
  // carrying it out again gives exactly what it gave the first time.
  void ProveUndoingEveryCommand(const TBook& in, const std::string& path, const std::vector<std::string>& script) {
    const std::vector<std::vector<std::string>> commands = Commands(script);
    ASSERT_GE(commands.size(), 2u);
    std::vector<std::string> expanded;
    for (std::size_t i = 0; i < commands.size(); ++i) {
      expanded.insert(expanded.end(), commands[i].begin(), commands[i].end());
      if (i + 1 == commands.size()) break;
      expanded.push_back("!undo");
      expanded.insert(expanded.end(), commands[i].begin(), commands[i].end());
    }
    ASSERT_TRUE(Start(in, path, expanded));
    TState before = State();
    ASSERT_EQ(before.Lines.size(), static_cast<std::size_t>(TProtocolRecorder::kSettingLines) + 2);
    EXPECT_FALSE(before.UndoEnabled);
    TState after;
    Run([&](std::size_t count) {
      const std::size_t command = (count - 1) / 3;  // each but the last: done, undone, done again
      const std::size_t phase = (count - 1) % 3;
      if (command + 1 == commands.size()) return;
      ASSERT_TRUE(driver->Open()) << commands[command][0] << " ended the proof before its last command";
      if (phase == 0) {
        after = State();
        EXPECT_NE(after.Depth, before.Depth) << commands[command][0] << " (command " << command + 1 << ") made no proof field";
        EXPECT_TRUE(after.UndoEnabled);
      } else if (phase == 1) {
        EXPECT_EQ(State(), before) << "undo of " << commands[command][0] << " (command " << command + 1 << ")";
      } else {
        EXPECT_EQ(State(), after) << commands[command][0] << " (command " << command + 1 << ") again";
        before = after;
      }
    });
    EXPECT_TRUE(driver->Succeeded());
    EXPECT_FALSE(driver->Open());
  }

  TAssotProccess assot{*context.StFunc, messages};
  TProtocolRecorder protocol{messages};
  std::unique_ptr<TScriptUi> ui;
  std::unique_ptr<TProofDriver> driver;
};

// ---------------------------------------------------------------------------
// A small book of its own. Chapter 1 proves with every automatic
// transformation; in book\6\24 the symbol package is off, so products and sums
// stay as written and a multiplied (in)equality is seen as the goal it gives.

struct TBookEntry {
  const char* Path;
  const char* Kind;
  const char* Name;
  const char* Formulation;
};

const TBookEntry kSmallBook[] = {
    // The same quantified condition in three places: formulas with variables
    // of their own, which only the steps of the proof bring together.
    {"1/0/0", "theorem", "Both cases",
     "\\forall A \\subset \\R \\Vld \\forall x \\in \\R \\Vld ( x > 0 \\implies ( \\forall t \\in \\R \\Vld t \\in A ) ) "
     "\\and ( \\not ( x > 0 ) \\implies ( \\forall t \\in \\R \\Vld t \\in A ) ) \\implies ( \\forall t \\in \\R \\Vld t \\in A )"},
    {"1/0/1", "theorem", "A number not below", "\\forall x \\in \\R \\Vld \\exists y \\in \\R : y \\ge x"},
    {"1/0/2", "theorem", "Counting sequence",
     "\\exists { a _ n } : a _ 1 = 1 \\and ( \\forall n \\in \\N \\Vld a _ ( n + 1 ) = a _ n + 1 )"},
    {"1/0/3", "theorem", "Bounded sums",
     "\\forall b \\in \\R \\Vld ( \\forall x , y \\in \\R \\Vld x + y \\le b ) \\implies b > 5"},
    {"1/0/4", "theorem", "Extended value",
     "\\forall x \\in \\R \\cup { - \\infty , + \\infty } \\Vld x \\le + \\infty \\implies x \\in \\R \\or x = + \\infty \\or x = - \\infty"},
    {"1/0/5", "theorem", "A greater number", "\\forall x \\in \\R \\Vld \\exists y \\in \\R : y > x"},
    {"1/0/6", "theorem", "All equal", "\\forall a \\in \\R \\Vld \\forall b \\in \\R \\Vld a = b"},
    {"1/0/7", "theorem", "Mixed objects", "\\forall n \\in \\N \\Vld \\forall x \\in \\R \\Vld x \\cdot x \\cdot x \\ge n"},
    {"1/0/8", "axiom", "Everything equal", "\\forall a \\in \\R \\Vld \\forall b \\in \\R \\Vld a = b"},
    {"1/0/9", "theorem", "Extended value below",
     "\\forall x \\in \\R \\cup { - \\infty , + \\infty } \\Vld - \\infty \\le x \\implies x \\in \\R \\or x = + \\infty \\or x = - \\infty"},
    {"1/0/10", "theorem", "Small products",
     "\\forall b \\in \\R \\Vld b > 0 \\and ( \\forall x \\in \\R \\Vld x \\cdot b \\le 1 ) \\implies b > 5"},
    {"1/0/11", "theorem", "Small sums",
     "\\forall b \\in \\R \\Vld b > 0 \\and ( \\forall x , y \\in \\R \\Vld x \\cdot b + y \\le 1 ) \\implies b > 5"},
    {"1/0/12", "theorem", "Above a bound",
     "\\forall b \\in \\R \\Vld ( \\forall x \\in \\R \\Vld x \\le b ) \\implies ( \\exists y \\in \\R : y > 0 )"},
    {"6/24/0", "theorem", "Times positive",
     "\\forall a \\in \\R \\Vld \\forall b \\in \\R \\Vld \\forall c \\in \\R \\Vld a < b \\and c > 0 \\implies a \\cdot c < b \\cdot c"},
    {"6/24/1", "theorem", "Times nonnegative",
     "\\forall a \\in \\R \\Vld \\forall b \\in \\R \\Vld \\forall c \\in \\R \\Vld a < b \\and c \\ge 0 \\implies a \\cdot c \\le b \\cdot c"},
    {"6/24/2", "theorem", "Times nonzero",
     "\\forall a \\in \\R \\Vld \\forall b \\in \\R \\Vld \\forall c \\in \\R \\Vld a = b \\and \\not ( c = 0 ) \\implies a \\cdot c = b \\cdot c"},
    {"6/24/3", "theorem", "Times any",
     "\\forall a \\in \\R \\Vld \\forall b \\in \\R \\Vld \\forall c \\in \\R \\Vld a = b \\implies a \\cdot c = b \\cdot c"},
    {"6/24/4", "theorem", "Cancel a factor",
     "\\forall a \\in \\R \\Vld \\forall b \\in \\R \\Vld \\forall c \\in \\R \\Vld a \\cdot c = b \\cdot c \\and \\not ( c = 0 ) \\implies a = b"},
    {"6/24/5", "theorem", "Two products",
     "\\forall a \\in \\R \\Vld \\forall b \\in \\R \\Vld \\forall c \\in \\R \\Vld \\forall d \\in \\R \\Vld a < b \\and c > 0 \\and d > 0 "
     "\\implies a \\cdot c < b \\cdot c \\and a \\cdot d < b \\cdot d"},
    {"6/24/6", "theorem", "Unequal numbers",
     "\\forall x \\in \\R \\Vld \\forall y \\in \\R \\Vld \\not ( x = y ) \\implies x < y \\or y < x"},
    {"6/24/7", "theorem", "Less is unequal", "\\forall x \\in \\R \\Vld \\forall y \\in \\R \\Vld x < y \\implies \\not ( x = y )"},
    {"6/24/8", "theorem", "All equal here", "\\forall a \\in \\R \\Vld \\forall b \\in \\R \\Vld a = b"},
    {"6/24/9", "theorem", "Unequal sums",
     "\\forall a \\in \\R \\Vld \\forall b \\in \\R \\Vld \\forall c \\in \\R \\Vld \\forall d \\in \\R \\Vld \\not ( a = b ) \\and \\not ( c = d ) "
     "\\implies \\not ( a + c = b + d )"},
    {"6/24/10", "theorem", "Equal plus unequal",
     "\\forall a \\in \\R \\Vld \\forall b \\in \\R \\Vld \\forall c \\in \\R \\Vld \\forall d \\in \\R \\Vld a = b \\and \\not ( c = d ) "
     "\\implies a + c = b + d"},
    {"6/24/11", "theorem", "All less", "\\forall a \\in \\R \\Vld \\forall b \\in \\R \\Vld a < b"},
    {"6/24/12", "theorem", "Equal sums",
     "\\forall a \\in \\R \\Vld \\forall b \\in \\R \\Vld \\forall c \\in \\R \\Vld \\forall d \\in \\R \\Vld a = b \\and c = d "
     "\\implies a + c = b + d"},
    // Without the symbol package the obligation b ≠ 0 of a substitution takes a step of its own.
    {"6/24/13", "theorem", "Small sums here",
     "\\forall b \\in \\R \\Vld 0 < b \\and ( \\forall x , y \\in \\R \\Vld x \\cdot b + y \\le 1 ) \\implies b > 5"},
};

class SmallBook : public DriverFixture {
 protected:
  void SetUp() override {
    DriverFixture::SetUp();
    book.Path = "lemmix\\book";
    const auto child = [](auto& parent, const std::string& name) -> auto& {
      const std::string path = parent.Path + "\\" + name;
      for (auto& c : parent.Children)
        if (c->Path == path) return *c;
      auto& c = *parent.Children.emplace_back(std::make_unique<typename std::decay_t<decltype(parent)>::ChildType>());
      c.Path = path;
      c.Lines = {"S", "", name, name};
      return c;
    };
    for (const TBookEntry& entry : kSmallBook) {
      std::vector<std::string> names;
      for (std::string_view rest = entry.Path; !rest.empty();) {
        const std::size_t slash = rest.find('/');
        names.emplace_back(rest.substr(0, slash));
        rest = slash == std::string_view::npos ? "" : rest.substr(slash + 1);
      }
      TStatement& statement = child(child(child(book, names[0]), names[1]), names[2]);
      statement.Lines = {"S", "", entry.Name, entry.Name, entry.Kind, entry.Formulation};
    }
  }

  bool Start(const std::string& path, std::vector<std::string> script) {
    return DriverFixture::Start(book, path, std::move(script));
  }
  std::string NameOf(const std::string& path) { return At(book, path).Lines[kEnglishNameLine]; }

  TBook book;
};

// ---------------------------------------------------------------------------
// A proof for each command and transformation that the book's scripts do not
// use, with the records of its protocol.

struct TProof {
  const char* Label;
  const char* Path;
  std::vector<std::string> Script;
  std::vector<std::string> Records;  // after the head
};

const TProof kProofs[] = {
    // Both cases: in each the matching implication gives y = 1. The first
    // case pushes its proof field (the second mark of the step); the second
    // case takes the first's place once it is proved.
    {"ConsiderCases",
     "1/0/0",
     {"!cases", "x > 0", "!mark given 1", "ConsiderImplD", "!mark given 2", "ConsiderImplD"},
     {"Consider case: x>0@@", "", "   Marked condition 1 of section 2:@", "   Prove the premise of the implication@", "",
      "   Marked condition 2 of section 2:@", "   Prove the premise of the implication@", "Successful end of the proof.", ""}},
    // Under the conjecture the first product is given, the second is proved
    // there; then the conjecture itself is the goal.
    {"Conjecture",
     "6/24/5",
     {"!conjecture", "a \\cdot c < b \\cdot c", "!mark given 1", "TimesIneqPosD", "d", "!mark given 1", "TimesIneqPosD", "c"},
     {"Conjecture: a\\cdot c<b\\cdot c@@", "", "   Marked condition 1 of section 2:@",
      "   Multiply the inequality by positive number d", "   Test conditions.@", "", "Marked condition 1 of section 2:@",
      "Multiply the inequality by positive number c", "Test conditions.@", "Successful end of the proof.", ""}},
    // y = x when x >= 0, else x + 1: the tests take the cases of the
    // definition by themselves.
    {"DefineByCases",
     "1/0/1",
     {"!define", "cases: y = x | x \\ge 0 | y = x + 1"},
     {"Define a variable with conditions: y@", "Value : x", "Condition : x\\ge 0", "Value : x+1",
      "The end of definition with conditions.", "Required object is added to the section of given objects.",
      "Successful end of the proof.", ""}},
    {"DefineRecursively",
     "1/0/2",
     {"!define", "recursive: a", "a_1 = 1", "a_(i+1) = a_i + 1"},
     {"Recursive definition of sequences: a@", "The first element of the sequence is defined: a_1=1",
      "The (i+1) element of the sequence is defined: a_(i+1)=a_i+1", "The end of recursive definition.",
      "Successful end of the proof.", ""}},
    {"DefineSubstitutingTheValue",
     "1/0/5",
     {"!define", "y = x + 1", "substitute"},
     {"Define a variable: y=x+1@", "The value of the required object is substituted for.", "Successful end of the proof.", ""}},
    {"RenameThenMultiplyByPositive",
     "6/24/0",
     {"!mark object 3", "k", "!mark given 1", "TimesIneqPosD", "k"},
     {"Marked variable 3 of section 1:@", "Variable name c changed to k", "", "Marked condition 1 of section 2:@",
      "Multiply the inequality by positive number k", "Test conditions.@", "Successful end of the proof.", ""}},
    // A strict inequality times a factor that may be 0 holds non-strictly.
    {"MultiplyByNonnegative",
     "6/24/1",
     {"!mark given 1", "TimesIneqNonnegD", "c"},
     {"Marked condition 1 of section 2:@", "Multiply the inequality by nonegative number c", "Test conditions.@",
      "Successful end of the proof.", ""}},
    {"MultiplyGivenByNonzero",
     "6/24/2",
     {"!mark given 1", "TimesEqNonzeroD", "c"},
     {"Marked condition 1 of section 2:@", "Multiply the equality by nonzero number c", "Test conditions.@",
      "Successful end of the proof.", ""}},
    // Any factor for a given equality: nothing to prove first.
    {"MultiplyGivenByAny",
     "6/24/3",
     {"!mark given 1", "TimesEqD", "c"},
     {"Marked condition 1 of section 2:@", "Multiply the equality by number c", "Successful end of the proof.", ""}},
    {"MultiplyGoalByNonzero",
     "6/24/4",
     {"!mark proving 1", "TimesEqNonzeroD", "c"},
     {"Marked condition 1 of section 4:@", "Multiply the equality by nonzero number c", "Test conditions.@",
      "Successful end of the proof.", ""}},
    // The first product alone in a subproof; proved, it is given to its parent.
    {"ProveMarkedCondition",
     "6/24/5",
     {"!mark proving 1", "ProveMarkedCondD", "!mark given 1", "TimesIneqPosD", "c", "!mark given 1", "TimesIneqPosD", "d"},
     {"Marked condition 1 of section 4:@", "Prove the marked condition@", "", "   Marked condition 1 of section 2:@",
      "   Multiply the inequality by positive number c", "   Test conditions.@", "", "Marked condition 1 of section 2:@",
      "Multiply the inequality by positive number d", "Test conditions.@", "Successful end of the proof.", ""}},
    // x stays bound, 0 for y: every x is at most b, which b + 1 is not.
    {"SubstituteRefusingAVariable",
     "1/0/3",
     {"!mark given 1", "ConsiderForallD", "refuse", "0", "!mark given 2", "ConsiderForallD", "b + 1"},
     {"Marked condition 1 of section 2:@", "Substiute an expression for quantor variable",
      "Refuse to substitute for quantor variable x", "Substituted 0 for y", "", "Marked condition 2 of section 2:@",
      "Substiute an expression for quantor variable", "Substituted b+1 for x", "Successful end of the proof.", ""}},
    {"SubstituteAnObjectOfTheList",
     "1/0/3",
     {"!mark given 1", "ConsiderForallD", "refuse", "object 1", "!mark given 2", "ConsiderForallD", "1"},
     {"Marked condition 1 of section 2:@", "Substiute an expression for quantor variable",
      "Refuse to substitute for quantor variable x", "Substituted b for y", "", "Marked condition 2 of section 2:@",
      "Substiute an expression for quantor variable", "Substituted 1 for x", "Successful end of the proof.", ""}},
    // 2 / b needs b ≠ 0, which the tests prove from b > 0 by themselves;
    // then (2 / b) · b ≤ 1 is false.
    {"SubstituteWithAnObligation",
     "1/0/10",
     {"!mark given 2", "ConsiderForallD", "2 / b"},
     {"Marked condition 2 of section 2:@", "Substiute an expression for quantor variable", "Substituted 2/b for x@",
      "Successful end of the proof.", ""}},
    // The three cases of an extended real value each close at once.
    {"LeftRealValue",
     "1/0/4",
     {"!mark given 1", "ConsiderLeftRealValue"},
     {"Marked condition 1 of section 2:@", "Consider the real value of the left operand@", "Successful end of the proof.", ""}},
    {"RightRealValue",
     "1/0/9",
     {"!mark given 1", "ConsiderRightRealValue"},
     {"Marked condition 1 of section 2:@", "Consider the real value of the right operand@", "Successful end of the proof.", ""}},
    // A given x ≠ y opens the cases x < y and y < x.
    {"RewriteGivenUsingStrictInequalities",
     "6/24/6",
     {"!mark given 1", "RewriteUsingStrictIneqD"},
     {"Marked condition 1 of section 2:@", "Rewrite using strict inequalities@", "Successful end of the proof.", ""}},
    // A goal x ≠ y is replaced by x < y or y < x: no subproof.
    {"RewriteGoalUsingStrictInequalities",
     "6/24/7",
     {"!mark proving 1", "RewriteUsingStrictIneqD"},
     {"Marked condition 1 of section 4:@", "Rewrite using strict inequalities", "Successful end of the proof.", ""}},
    // Two equalities add up to an equality.
    {"AddEqualities",
     "6/24/12",
     {"!mark given 1", "AddEqvD", "1"},
     {"Marked condition 1 of section 2:@", "Add to (in)equality c=d", "Successful end of the proof.", ""}},
};

void PrintTo(const TProof& p, std::ostream* os) { *os << p.Label << " (" << p.Path << ")"; }

const TProof& ProofNamed(std::string_view label) {
  const auto at = std::find_if(std::begin(kProofs), std::end(kProofs), [&](const TProof& p) { return p.Label == label; });
  if (at == std::end(kProofs)) throw std::runtime_error("no proof " + std::string(label));
  return *at;
}

// The proofs of more than one command: each but the last can be taken back.
std::vector<TProof> LongProofs() {
  std::vector<TProof> proofs;
  for (const TProof& p : kProofs)
    if (Commands(p.Script).size() >= 2) proofs.push_back(p);
  return proofs;
}

class Proofs : public SmallBook, public ::testing::WithParamInterface<TProof> {};
class UndoneProofs : public SmallBook, public ::testing::WithParamInterface<TProof> {};

TEST_P(Proofs, EndSuccessfullyWritingTheirRecords) {
  const TProof& proof = GetParam();
  ASSERT_TRUE(Start(proof.Path, proof.Script));
  const std::string path = proof.Path;
  std::vector<std::string> expected = Head(NameOf(path), !path.starts_with("6/24/"));
  expected.insert(expected.end(), proof.Records.begin(), proof.Records.end());
  Run();
  EXPECT_TRUE(driver->Succeeded());
  EXPECT_FALSE(driver->Open());
  EXPECT_EQ(protocol.Lines, expected);
  EXPECT_EQ(Errors(), std::vector<std::string>{});
}

TEST_P(UndoneProofs, UndoAfterEachCommandGivesBackTheFieldBeforeIt) {
  const TProof& proof = GetParam();
  ProveUndoingEveryCommand(book, proof.Path, proof.Script);
  std::vector<std::string> expected = Head(NameOf(proof.Path), !std::string(proof.Path).starts_with("6/24/"));
  expected.insert(expected.end(), proof.Records.begin(), proof.Records.end());
  EXPECT_EQ(protocol.Lines, expected);
}

INSTANTIATE_TEST_SUITE_P(Driver, Proofs, ::testing::ValuesIn(kProofs),
                         [](const ::testing::TestParamInfo<TProof>& info) { return std::string(info.param.Label); });
INSTANTIATE_TEST_SUITE_P(Driver, UndoneProofs, ::testing::ValuesIn(LongProofs()),
                         [](const ::testing::TestParamInfo<TProof>& info) { return std::string(info.param.Label); });

// The fields on the way: what each step leaves where it matters.
TEST_F(SmallBook, AConjectureIsGivenOnlyInItsSubproofAndThenIsTheGoal) {
  const TProof& proof = ProofNamed("Conjecture");
  ASSERT_TRUE(Start(proof.Path, proof.Script));
  std::vector<TField> fields{FieldOf(*driver)};
  Run([&](std::size_t count) {
    fields.push_back(FieldOf(*driver));
    // Proved under the conjecture is not proved.
    if (count < 3) {
      EXPECT_FALSE(driver->Succeeded());
    }
  });
  ASSERT_EQ(fields.size(), 4u);
  // Under the assumption, in a subproof of its own.
  EXPECT_EQ(fields[1].Level, 1);
  EXPECT_EQ(fields[1].Caption, kUnderAssumption);
  EXPECT_EQ(fields[1].GivenConds.back(), "a\\cdot c<b\\cdot c");
  EXPECT_EQ(fields[1].ProvingConds, std::vector<std::string>{"a\\cdot d<b\\cdot d"});
  // Back in the main proof: the conjecture is what is left to prove, not a given.
  EXPECT_EQ(fields[2].Level, 0);
  EXPECT_EQ(fields[2].ProvingConds, std::vector<std::string>{"a\\cdot c<b\\cdot c"});
  EXPECT_EQ(fields[2].GivenConds, fields[0].GivenConds);
  EXPECT_TRUE(driver->Succeeded());
}

TEST_F(SmallBook, AProvedMarkedConditionJoinsTheGivensOfItsParent) {
  const TProof& proof = ProofNamed("ProveMarkedCondition");
  ASSERT_TRUE(Start(proof.Path, proof.Script));
  const TField start = FieldOf(*driver);
  std::vector<TField> fields;
  Run([&](std::size_t) { fields.push_back(FieldOf(*driver)); });
  ASSERT_EQ(fields.size(), 3u);
  EXPECT_EQ(fields[0].Level, 1);
  EXPECT_EQ(fields[0].Caption, kMarkedProof);
  EXPECT_EQ(fields[0].ProvingConds, std::vector<std::string>{start.ProvingConds[0]});
  EXPECT_EQ(fields[1].Level, 0);
  EXPECT_EQ(fields[1].Caption, kNoCaption);
  std::vector<std::string> given = start.GivenConds;
  given.push_back(start.ProvingConds[0]);
  EXPECT_EQ(fields[1].GivenConds, given);
  EXPECT_EQ(fields[1].ProvingConds, std::vector<std::string>{start.ProvingConds[1]});
}

TEST_F(SmallBook, ARenamedObjectKeepsItsPlaceTypeAndConditions) {
  ASSERT_TRUE(Start("6/24/0", {"!mark object 3", "k"}));
  const TField start = FieldOf(*driver);
  Run();
  const TField renamed = FieldOf(*driver);
  EXPECT_EQ(renamed.GivenObjects, (std::vector<std::string>{"a:rT", "b:rT", "k:rT"}));
  EXPECT_EQ(renamed.GivenConds, (std::vector<std::string>{"a<b", "k>0"}));
  EXPECT_EQ(renamed.ProvingConds, std::vector<std::string>{"a\\cdot k<b\\cdot k"});
  EXPECT_EQ(start.GivenObjects[2], "c:rT");
}

TEST_F(SmallBook, RefusingAVariableKeepsItBoundInTheInstance) {
  ASSERT_TRUE(Start("1/0/3", {"!mark given 1", "ConsiderForallD", "refuse", "0"}));
  const TField start = FieldOf(*driver);
  Run();
  const TField after = FieldOf(*driver);
  ASSERT_EQ(after.GivenConds.size(), start.GivenConds.size() + 1);
  const std::string& instance = after.GivenConds.back();
  EXPECT_TRUE(instance.starts_with("\\forall x\\in\\R")) << instance;
  EXPECT_EQ(instance.find('y'), std::string::npos) << instance;
  EXPECT_EQ(after.ProvingConds, start.ProvingConds);
}

// ---------------------------------------------------------------------------
// Undo after every command of the book's own proofs.

std::vector<std::string> ScriptLines(const std::string& name) {
  const auto utf8 = ReadLines(std::string(LEMMIX_PROOFS_DIR) + "/" + name + ".txt");
  std::vector<std::string> script;
  if (utf8)
    for (const std::string& line : *utf8) script.push_back(Utf8ToCp1251(line));
  return script;
}

// The book's scripts of more than one command (their command lines are ASCII,
// read before the tests start).
std::vector<std::string> LongScripts() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(LEMMIX_PROOFS_DIR)) {
    if (entry.path().extension() != ".txt") continue;
    std::ifstream file(entry.path());
    std::size_t commands = 0;
    for (std::string line; std::getline(file, line);) commands += Trim(line).starts_with("!") ? 1 : 0;
    if (commands >= 2) names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class BookUndo : public DriverFixture, public ::testing::WithParamInterface<std::string> {
 protected:
  void SetUp() override {
    DriverFixture::SetUp();
    book.Path = SystemPath(LEMMIX_DATA_DIR).value() + "\\book";
    book.Load();
  }
  TBook book;
};

TEST_P(BookUndo, EveryCommandUndoneAndDoneAgainLeavesTheSavedProtocol) {
  std::string path = GetParam();
  std::replace(path.begin(), path.end(), '-', '/');
  ProveUndoingEveryCommand(book, path, ScriptLines(GetParam()));
  const auto saved = ReadLines(At(book, path).ProtocolDirectory() + "\\" + "Доказательство"_cp + ".prt");
  ASSERT_TRUE(saved);
  EXPECT_EQ(protocol.Lines, *saved);
  EXPECT_EQ(Errors(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Scripts, BookUndo, ::testing::ValuesIn(LongScripts()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = "book_" + info.param;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

TEST_F(SmallBook, UndoWithNothingToTakeBackEndsTheProofUnproved) {
  ASSERT_TRUE(Start("1/0/6", {"!undo"}));
  EXPECT_FALSE(driver->UndoEnabled());
  Run();
  EXPECT_FALSE(driver->Open());
  EXPECT_FALSE(driver->Succeeded());
}

// ---------------------------------------------------------------------------
// A cancelled dialog, or one left without an answer before the next
// command, changes nothing: neither the proof field nor the protocol.

struct TCancel {
  const char* Label;
  const char* Path;
  std::vector<std::string> Setup;      // the commands before
  std::vector<std::string> Cancelled;  // the command whose dialog is cancelled
  const char* Dialog;                  // the dialog that must have been cancelled
};

const TCancel kCancels[] = {
    {"Define", "1/0/5", {}, {"!define", "cancel"}, "Define a variable -> cancelled"},
    {"DefineWithoutAnAnswer", "1/0/5", {}, {"!define", "!define"}, "Define a variable -> cancelled"},
    {"DefineByCasesProveFirst", "1/0/1", {}, {"!define", "cases: y = 1 / x | x < 5 | y = 0", "cancel"}, "Prove first"},
    {"RecursiveFirstElement", "1/0/2", {}, {"!define", "recursive: a", "cancel"}, "Define the first element of sequence a -> cancelled"},
    {"RecursiveStep", "1/0/2", {}, {"!define", "recursive: a", "a_1 = 1", "cancel"},
     "Define the (i+1) element of sequence a -> cancelled"},
    {"Apply", "1/0/6", {}, {"!apply", "cancel"}, "Apply a statement -> cancelled"},
    {"CasesCondition", "1/0/0", {}, {"!cases", "cancel"}, "Consider cases (input condition) -> cancelled"},
    {"CasesProveFirst", "1/0/0", {}, {"!cases", "1 / x > 0", "cancel"}, "Prove first"},
    {"Auxiliary", "1/0/0", {}, {"!auxiliary", "cancel"}, "Prove an auxiliary condition (input the condition) -> cancelled"},
    {"AuxiliaryProveFirst", "1/0/0", {}, {"!auxiliary", "1 / x > 0", "cancel"}, "Prove first"},
    {"Conjecture", "6/24/5", {"!mark proving 1", "ProveMarkedCondD"}, {"!conjecture", "cancel"}, "Conjecture -> cancelled"},
    {"InductionVariable", "1/0/7", {}, {"!induction", "cancel"}, "Select induction variable: 1. n -> cancelled"},
    {"InitialValue", "1/0/7", {}, {"!induction", "n", "cancel"}, "Input initial value of the induction variable -> cancelled"},
    {"NonstationaryMarks", "1/0/7", {}, {"!induction", "n", "1"}, "Mark unstationaty variables: 1. x -> cancelled"},
    {"InductionProveFirst", "1/0/7", {}, {"!induction", "n", "2", "none", "cancel"}, "Prove first"},
    {"FirstSubstitution", "1/0/3", {}, {"!mark given 1", "ConsiderForallD", "cancel"},
     "Input expression to substitute for variable x: 1. b -> cancelled"},
    {"SecondSubstitution", "1/0/3", {}, {"!mark given 1", "ConsiderForallD", "refuse", "cancel"},
     "Input expression to substitute for variable y: 1. b -> cancelled"},
    // The command that proves the obligation of a substitution goes on with
    // the substitution: its dialog cancelled, the whole command goes.
    {"SubstitutionAfterAnObligation", "6/24/13", {"!mark given 2", "ConsiderForallD", "2 / b"},
     {"!mark proving 1", "RewriteUsingStrictIneqD"}, "Input expression to substitute for variable y: 1. b -> cancelled"},
    {"Factor", "6/24/0", {"!mark object 3", "k"}, {"!mark given 1", "TimesIneqPosD", "cancel"},
     "Multiply (in)equality by a number (input factor) -> cancelled"},
    {"FactorProveFirst", "6/24/5", {"!mark proving 1", "ProveMarkedCondD"}, {"!mark given 1", "TimesIneqPosD", "c", "cancel"},
     "Prove first"},
    {"AddChoice", "6/24/0", {}, {"!mark given 1", "AddEqvD", "cancel"}, "Add to (in)equality: 1. c>0 -> cancelled"},
    {"TransformationChoice", "1/0/0", {"!cases", "x > 0"}, {"!mark given 1", "cancel"}, "Select a transformation: 1. ConsiderImplD -> cancelled"},
    {"Rename", "6/24/0", {}, {"!mark object 1", "cancel"}, "Rename variable a -> cancelled"},
    {"RenameAfterARefusedName", "6/24/0", {}, {"!mark object 1", "b", "cancel"}, "Rename variable a -> cancelled"},
};

void PrintTo(const TCancel& c, std::ostream* os) { *os << c.Label << " (" << c.Path << ")"; }

class Cancels : public SmallBook, public ::testing::WithParamInterface<TCancel> {};

TEST_P(Cancels, ChangeNothing) {
  const TCancel& c = GetParam();
  std::vector<std::string> script = c.Setup;
  script.insert(script.end(), c.Cancelled.begin(), c.Cancelled.end());
  ASSERT_TRUE(Start(c.Path, script));
  const std::size_t setup = Commands(c.Setup).size();
  TState before = State();
  std::size_t commands = 0;
  Run([&](std::size_t count) {
    commands = count;
    if (count == setup) before = State();
  });
  EXPECT_EQ(commands, Commands(script).size());
  EXPECT_TRUE(driver->Open());
  EXPECT_FALSE(driver->Succeeded());
  EXPECT_EQ(State(), before);
  const auto asked = std::find_if(ui->Asked.begin(), ui->Asked.end(),
                                  [&](const std::string& dialog) { return dialog.starts_with(c.Dialog); });
  EXPECT_NE(asked, ui->Asked.end()) << c.Dialog;
  if (std::string(c.Dialog) == "Prove first") {
    EXPECT_TRUE(ui->Asked.back().ends_with("-> cancel")) << ui->Asked.back();
  }
  // The command before is still the one Undo takes back.
  if (setup > 0) {
    EXPECT_TRUE(driver->UndoEnabled());
    driver->Act(TCommand::Undo);
    EXPECT_EQ(protocol.Lines, Head(NameOf(c.Path), !std::string(c.Path).starts_with("6/24/")));
  }
}

INSTANTIATE_TEST_SUITE_P(Driver, Cancels, ::testing::ValuesIn(kCancels),
                         [](const ::testing::TestParamInfo<TCancel>& info) { return std::string(info.param.Label); });

// ---------------------------------------------------------------------------
// A subproof that fails leaves its parent as it was.

TEST_F(SmallBook, ARefusedCommandInASubproofLeavesItAndItsParent) {
  ASSERT_TRUE(Start("6/24/5", {"!mark proving 1", "ProveMarkedCondD", "!mark given 1", "TimesIneqPosD", "0", "!apply",
                               "book/6/24/11", "!undo"}));
  const TState parent = State();
  TState subproof;
  Run([&](std::size_t count) {
    if (count == 1) subproof = State();
    if (count == 2 || count == 3) {
      EXPECT_EQ(State(), subproof) << "command " << count;
    }
  });
  EXPECT_EQ(subproof.Field.Level, 1);
  EXPECT_EQ(Errors(), (std::vector<std::string>{"The factor must be positive.",
                                                 "Only a statement that stands before the one being proved can be applied."}));
  EXPECT_EQ(State(), parent);
}

TEST_F(SmallBook, AFalseObligationNeverClosesAndUndoGivesBackTheParent) {
  // a - a is not zero only in a proof that proves anything.
  ASSERT_TRUE(Start("1/0/6", {"!mark proving 1", "TimesEqNonzeroD", "a - a", "!contradiction", "!undo", "!undo"}));
  const TState parent = State();
  std::vector<TState> states;
  Run([&](std::size_t) { states.push_back(State()); });
  ASSERT_EQ(states.size(), 4u);
  EXPECT_EQ(states[0].Field.Level, 1);
  EXPECT_EQ(states[0].Field.Caption, kTestConditions);
  EXPECT_EQ(states[0].Field.ProvingConds, std::vector<std::string>{"\\false"});
  EXPECT_EQ(states[1].Field.Level, 1);  // by contradiction it does not close either
  EXPECT_TRUE(states[1].Field.ByContradiction);
  EXPECT_EQ(states[2], states[0]);
  EXPECT_EQ(State(), parent);
  EXPECT_FALSE(driver->Succeeded());
}

TEST_F(SmallBook, AFalseAuxiliaryConditionNeverBecomesGiven) {
  ASSERT_TRUE(Start("1/0/6", {"!auxiliary", "1 = 0", "!undo"}));
  const TState parent = State();
  std::vector<TState> states;
  Run([&](std::size_t) { states.push_back(State()); });
  ASSERT_EQ(states.size(), 2u);
  EXPECT_EQ(states[0].Field.Level, 1);
  EXPECT_EQ(states[0].Field.Caption, kAuxiliaryProof);
  EXPECT_EQ(states[0].Field.GivenConds, parent.Field.GivenConds);
  EXPECT_EQ(State(), parent);
  EXPECT_FALSE(driver->Succeeded());
}

TEST_F(SmallBook, AFailedCommandInASecondCaseLeavesTheCaseAndTheFirstIsBackAfterUndo) {
  ASSERT_TRUE(Start("1/0/0", {"!cases", "x > 0", "!mark given 1", "ConsiderImplD", "!apply", "book/1/0/8", "!undo"}));
  std::vector<TState> states;
  Run([&](std::size_t) { states.push_back(State()); });
  ASSERT_EQ(states.size(), 4u);
  EXPECT_EQ(states[1].Field.Caption, kCaseConsideration);
  EXPECT_EQ(states[1].Field.GivenConds.back(), "x\\NOT>0");  // the second case
  EXPECT_EQ(states[2], states[1]);
  EXPECT_EQ(states[3], states[0]);
  EXPECT_EQ(states[0].Field.GivenConds.back(), "x>0");  // the first case
  EXPECT_TRUE(driver->Open());
}

// ---------------------------------------------------------------------------
// Misuses: each is refused, the proof field stays as it was and nothing
// is proved.

struct TMisuse {
  const char* Label;
  const char* Path;
  std::vector<std::string> Setup;
  std::vector<std::string> Misuse;
  std::vector<std::string> Errors;  // the messages it gives
};

const TMisuse kMisuses[] = {
    // Everything equal stands after All equal: it would prove it.
    {"ApplyingALaterStatement", "1/0/6", {}, {"!apply", "book/1/0/8"},
     {"Only a statement that stands before the one being proved can be applied."}},
    {"ApplyingTheStatementItself", "1/0/6", {}, {"!apply", "book/1/0/6"},
     {"Only a statement that stands before the one being proved can be applied."}},
    {"ApplyingANonexistentStatement", "1/0/6", {}, {"!apply", "book/9/9/9"}, {"No statement at book/9/9/9"}},
    {"InductionOnARealObject", "1/0/7", {}, {"!induction", "x"}, {"No such item in the list: x"}},
    {"InductionWithoutAnIntegerObject", "6/24/8", {}, {"!induction"}, {"Error 1 in Induction (MainPr.cpp)."}},
    {"ByContradictionWithoutAGoal", "1/0/6", {"!contradiction"}, {"!contradiction"}, {"Error 1 in ContradProve (Kernel)"}},
    {"MultiplyingAGoalEqualityByAny", "6/24/8", {}, {"!mark proving 1", "TimesEqD", "0"},
     {"A proving condition may be multiplied only by a positive number (an inequality) or a nonzero one (an equality)."}},
    {"MultiplyingAGoalEqualityByZero", "6/24/8", {}, {"!mark proving 1", "TimesEqNonzeroD", "0"}, {"The factor must be nonzero."}},
    {"MultiplyingAGoalInequalityByNonnegative", "6/24/11", {}, {"!mark proving 1", "TimesIneqNonnegD", "0"},
     {"A proving condition may be multiplied only by a positive number (an inequality) or a nonzero one (an equality)."}},
    {"MultiplyingAGoalInequalityByZero", "6/24/11", {}, {"!mark proving 1", "TimesIneqPosD", "0"}, {"The factor must be positive."}},
    {"MultiplyingByARequiredObject", "1/0/5", {}, {"!mark proving 1", "TimesIneqPosD", "y"},
     {"Unable to multiply by a required object"}},
    // a ≠ b and c ≠ d say nothing about a + c and b + d.
    {"AddingInequations", "6/24/9", {}, {"!mark given 1", "AddEqvD"}, {"No such transformation is offered: AddEqvD"}},
    {"MarkingALineThatIsNotThere", "6/24/9", {}, {"!mark given 9"}, {"The section has no line 9"}},
    {"AddingAnInequationToAnEquality", "6/24/10", {}, {"!mark given 1", "AddEqvD"}, {"Nothing to add"}},
    {"ConsideringCasesOfARequiredObject", "1/0/5", {}, {"!cases", "y > 0"}, {"The expression must not have required variables."}},
    {"SubstitutingARequiredObject", "1/0/12", {}, {"!mark given 1", "ConsiderForallD", "y"}, {"Unable to use a required object."}},
    {"DefiningByARequiredObject", "1/0/5", {}, {"!define", "z = y + 1"}, {"Required variable y is present in the right part."}},
    {"DefiningAGivenObjectAgain", "1/0/5", {}, {"!define", "x = 1"}, {"The name is already used."}},
    {"RenamingToAGivenName", "6/24/0", {}, {"!mark object 1", "b"}, {"Name b is used for a given object."}},
};

void PrintTo(const TMisuse& m, std::ostream* os) { *os << m.Label << " (" << m.Path << ")"; }

class Misuses : public SmallBook, public ::testing::WithParamInterface<TMisuse> {};

TEST_P(Misuses, AreRefusedAndChangeNothing) {
  const TMisuse& m = GetParam();
  std::vector<std::string> script = m.Setup;
  script.insert(script.end(), m.Misuse.begin(), m.Misuse.end());
  ASSERT_TRUE(Start(m.Path, script));
  const std::size_t setup = Commands(m.Setup).size();
  TState before = State();
  Run([&](std::size_t count) {
    if (count == setup) {
      before = State();
      messages.Clear();
    }
  });
  EXPECT_FALSE(driver->Succeeded());
  EXPECT_TRUE(driver->Open());
  EXPECT_EQ(State(), before);
  EXPECT_EQ(Errors(), m.Errors);
}

INSTANTIATE_TEST_SUITE_P(Driver, Misuses, ::testing::ValuesIn(kMisuses),
                         [](const ::testing::TestParamInfo<TMisuse>& info) { return std::string(info.param.Label); });

TEST_F(SmallBook, OnlyIntegerObjectsAreOfferedForInduction) {
  ASSERT_TRUE(Start("1/0/7", {"!induction", "x"}));
  EXPECT_TRUE(driver->InductionEnabled());
  Run();
  ASSERT_FALSE(ui->Asked.empty());
  EXPECT_EQ(ui->Asked.front(), "Select induction variable: 1. n -> x");
}

TEST_F(SmallBook, AConjectureNeverBecomesGivenInTheMainProof) {
  // a = b is assumed to prove a = b; then it is the goal again, unproved.
  ASSERT_TRUE(Start("1/0/6", {"!conjecture", "a = b"}));
  const TField start = FieldOf(*driver);
  Run();
  EXPECT_FALSE(driver->Succeeded());
  ASSERT_TRUE(driver->Open());
  EXPECT_EQ(FieldOf(*driver), start);
  EXPECT_EQ(driver->Depth(), 3u);  // its copy and the subproof that proved the goal under it
}

TEST_F(SmallBook, AFalseConjectureLeavesAGoalThatNeverCloses) {
  ASSERT_TRUE(Start("1/0/6", {"!conjecture", "1 = 0", "!contradiction"}));
  std::vector<TField> fields;
  Run([&](std::size_t) { fields.push_back(FieldOf(*driver)); });
  ASSERT_EQ(fields.size(), 2u);
  EXPECT_EQ(fields[0].Level, 0);
  EXPECT_EQ(fields[0].ProvingConds, std::vector<std::string>{"\\false"});
  EXPECT_TRUE(fields[0].GivenConds.empty());
  EXPECT_TRUE(fields[1].ByContradiction);
  EXPECT_FALSE(driver->Succeeded());
  EXPECT_TRUE(driver->Open());
}

// ---------------------------------------------------------------------------
// The information tree: each subproof's reports below the line that opened
// it, its levels in step with the levels of the proof whatever the commands
// did, and the proof UI told of every subproof proved.

// Keeps the tree as the information window does; counts the calls the window
// would refuse (going down without a report, going up from the top).
class TTreeSink : public IInfoSink {
 public:
  struct TNode {
    std::string Text;
    std::vector<TNode> Children;
  };

  void Add(const std::string& text, const TExpr*) override { Current().Children.push_back({text, {}}); }
  void GoDown() override {
    if (Current().Children.empty()) {
      ++Refused;
      return;
    }
    path_.push_back(Current().Children.size() - 1);
  }
  void GoUp(bool keep) override {
    if (path_.empty()) {
      ++Refused;
      return;
    }
    const std::size_t left = path_.back();
    path_.pop_back();
    if (!keep) Current().Children.erase(Current().Children.begin() + static_cast<std::ptrdiff_t>(left));
  }
  int Depth() const { return static_cast<int>(path_.size()); }

  // Every node depth first with its depth (0: below the top).
  void Walk(const std::function<void(const TNode&, int)>& visit) const {
    const std::function<void(const TNode&, int)> below = [&](const TNode& node, int depth) {
      for (const TNode& child : node.Children) {
        visit(child, depth);
        below(child, depth + 1);
      }
    };
    below(Root, 0);
  }
  // The driver's own lines (subproofs opened, continued, proved), indented
  // by three blanks per level.
  std::vector<std::string> Skeleton() const {
    std::vector<std::string> lines;
    Walk([&](const TNode& node, int depth) {
      if (node.Text.starts_with("Поддоказательство"_cp) || node.Text.starts_with("Продолжение поддоказательства"_cp))
        lines.push_back(std::string(static_cast<std::size_t>(3 * depth), ' ') + node.Text);
    });
    return lines;
  }

  TNode Root;
  int Refused = 0;

 private:
  TNode& Current() {
    TNode* node = &Root;
    for (const std::size_t i : path_) node = &node->Children[i];
    return *node;
  }
  std::vector<std::size_t> path_;
};

const std::string kDone = " завершено успешно."_cp;

// The line that opens a level ("Поддоказательство (CAPTION)", or its
// continuation) and the sentence that ends it when the subproof is proved.
std::optional<std::string> CompletionOf(const std::string& opening) {
  for (const std::string& words : {"Поддоказательство"_cp, "Продолжение поддоказательства"_cp})
    if (opening.starts_with(words) && !opening.ends_with(kDone))
      return "Поддоказательство"_cp + opening.substr(words.size()) + kDone;
  return std::nullopt;
}

// In a proof that succeeded every level was left proved: it ends with its
// sentence, and the proof UI heard each sentence the tree holds.
void ExpectEveryLevelProved(const TTreeSink& sink, const std::vector<std::string>& asked) {
  std::size_t sentences = 0;
  sink.Walk([&](const TTreeSink::TNode& node, int) {
    if (node.Text.ends_with(kDone)) ++sentences;
    const std::optional<std::string> completion = CompletionOf(node.Text);
    if (!completion) return;
    ASSERT_FALSE(node.Children.empty()) << Cp1251ToUtf8(node.Text);
    EXPECT_EQ(node.Children.back().Text, *completion);
    EXPECT_TRUE(node.Children.back().Children.empty());
  });
  const auto told = std::count_if(asked.begin(), asked.end(),
                                  [](const std::string& line) { return line.ends_with(" is successfully completed. -> OK"); });
  EXPECT_EQ(static_cast<std::size_t>(told), sentences);
}

// A script with every command but the last taken back and carried out again.
std::vector<std::string> UndoingEveryCommand(const std::vector<std::string>& script) {
  const std::vector<std::vector<std::string>> commands = Commands(script);
  std::vector<std::string> expanded;
  for (std::size_t i = 0; i < commands.size(); ++i) {
    expanded.insert(expanded.end(), commands[i].begin(), commands[i].end());
    if (i + 1 == commands.size()) break;
    expanded.push_back("!undo");
    expanded.insert(expanded.end(), commands[i].begin(), commands[i].end());
  }
  return expanded;
}

class InfoTree : public SmallBook {
 protected:
  void SetUp() override {
    SmallBook::SetUp();
    context.Commenting = true;
    context.Info = &sink;
  }
  void TearDown() override {
    context.Info = nullptr;
    context.Commenting = false;
    SmallBook::TearDown();
  }
  // Runs the commands; after each the tree is exactly as deep as the level.
  void RunInStep(const std::function<void(std::size_t)>& after = {}) {
    Run([&](std::size_t count) {
      EXPECT_EQ(sink.Depth(), driver->Open() ? driver->Level() : 0) << "after command " << count;
      if (after) after(count);
    });
    EXPECT_EQ(sink.Refused, 0);
  }
  std::vector<std::string> Skeleton() const { return sink.Skeleton(); }

  TTreeSink sink;
};

class InfoTrees : public InfoTree, public ::testing::WithParamInterface<TProof> {};

TEST_P(InfoTrees, FollowTheLevelsAndLeaveTheProtocolAsItWas) {
  const TProof& proof = GetParam();
  ASSERT_TRUE(Start(proof.Path, proof.Script));
  RunInStep();
  EXPECT_TRUE(driver->Succeeded());
  EXPECT_EQ(sink.Depth(), 0);
  std::vector<std::string> expected = Head(NameOf(proof.Path), !std::string(proof.Path).starts_with("6/24/"));
  expected.insert(expected.end(), proof.Records.begin(), proof.Records.end());
  EXPECT_EQ(protocol.Lines, expected);
  ExpectEveryLevelProved(sink, ui->Asked);
}

class UndoneInfoTrees : public InfoTree, public ::testing::WithParamInterface<TProof> {};

TEST_P(UndoneInfoTrees, StayInStepWhenEveryCommandIsUndoneAndDoneAgain) {
  const TProof& proof = GetParam();
  ASSERT_TRUE(Start(proof.Path, UndoingEveryCommand(proof.Script)));
  RunInStep();
  EXPECT_TRUE(driver->Succeeded());
  EXPECT_EQ(sink.Depth(), 0);
}

INSTANTIATE_TEST_SUITE_P(Driver, InfoTrees, ::testing::ValuesIn(kProofs),
                         [](const ::testing::TestParamInfo<TProof>& info) { return std::string(info.param.Label); });
INSTANTIATE_TEST_SUITE_P(Driver, UndoneInfoTrees, ::testing::ValuesIn(LongProofs()),
                         [](const ::testing::TestParamInfo<TProof>& info) { return std::string(info.param.Label); });

class CancelledTrees : public InfoTree, public ::testing::WithParamInterface<TCancel> {};

TEST_P(CancelledTrees, KeepTheDepthTheyFound) {
  const TCancel& c = GetParam();
  std::vector<std::string> script = c.Setup;
  script.insert(script.end(), c.Cancelled.begin(), c.Cancelled.end());
  ASSERT_TRUE(Start(c.Path, script));
  const std::size_t setup = Commands(c.Setup).size();
  int before = sink.Depth();
  RunInStep([&](std::size_t count) {
    if (count == setup) before = sink.Depth();
  });
  EXPECT_EQ(sink.Depth(), before);
  EXPECT_EQ(sink.Depth(), driver->Level());
}

INSTANTIATE_TEST_SUITE_P(Driver, CancelledTrees, ::testing::ValuesIn(kCancels),
                         [](const ::testing::TestParamInfo<TCancel>& info) { return std::string(info.param.Label); });

TEST_F(InfoTree, EachCaseHoldsItsOwnSubproofs) {
  ASSERT_TRUE(Start("1/0/0", ProofNamed("ConsiderCases").Script));
  std::size_t opened = 0;  // what the tests of the first case reported as it opened
  RunInStep([&](std::size_t count) {
    if (count == 1) opened = sink.Root.Children.back().Children.size();
  });
  EXPECT_GT(opened, 0u);
  ASSERT_TRUE(driver->Succeeded());
  // In each case the premise of its implication is proved one level deeper.
  const std::string caseLine = "Поддоказательство (рассмотрение случая)"_cp;
  const std::string premiseLine = "   Поддоказательство (доказательство посылки импликации)"_cp;
  EXPECT_EQ(Skeleton(), (std::vector<std::string>{caseLine, premiseLine, "   " + premiseLine + kDone, "   " + caseLine + kDone,
                                                  caseLine, premiseLine, "   " + premiseLine + kDone, "   " + caseLine + kDone}));
  // The case's own reports stand between its lines, below the case.
  const TTreeSink::TNode& firstCase = sink.Root.Children.at(sink.Root.Children.size() - 2);
  EXPECT_EQ(firstCase.Text, caseLine);
  EXPECT_GT(firstCase.Children.size(), 2u);
}

TEST_F(InfoTree, AnUndoneSubproofLeavesNoLevel) {
  ASSERT_TRUE(Start("1/0/0", {"!cases", "x > 0", "!undo"}));
  const std::size_t reports = sink.Root.Children.size();
  std::vector<std::vector<std::string>> skeletons;
  RunInStep([&](std::size_t) { skeletons.push_back(Skeleton()); });
  ASSERT_EQ(skeletons.size(), 2u);
  EXPECT_EQ(skeletons[0], std::vector<std::string>{"Поддоказательство (рассмотрение случая)"_cp});
  EXPECT_EQ(skeletons[1], std::vector<std::string>{});
  EXPECT_EQ(sink.Root.Children.size(), reports);
}

TEST_F(InfoTree, AnUndoneAuxiliaryConditionLeavesNoLevel) {
  ASSERT_TRUE(Start("1/0/6", {"!auxiliary", "1 = 0", "!undo"}));
  std::vector<int> depths;
  RunInStep([&](std::size_t) { depths.push_back(sink.Depth()); });
  EXPECT_EQ(depths, (std::vector<int>{1, 0}));
  EXPECT_EQ(Skeleton(), std::vector<std::string>{});
}

TEST_F(InfoTree, UndoBackIntoAProvedCaseContinuesItBelowALineOfItsOwn) {
  ASSERT_TRUE(Start("1/0/0", {"!cases", "x > 0", "!mark given 1", "ConsiderImplD", "!apply", "book/1/0/8", "!undo"}));
  std::vector<std::vector<std::string>> skeletons;
  RunInStep([&](std::size_t) { skeletons.push_back(Skeleton()); });
  ASSERT_EQ(skeletons.size(), 4u);
  const std::string caseLine = "Поддоказательство (рассмотрение случая)"_cp;
  const std::string premiseLine = "   Поддоказательство (доказательство посылки импликации)"_cp;
  const std::vector<std::string> firstDone = {caseLine, premiseLine, "   " + premiseLine + kDone, "   " + caseLine + kDone};
  std::vector<std::string> secondOpen = firstDone;
  secondOpen.push_back(caseLine);
  EXPECT_EQ(skeletons[1], secondOpen);
  EXPECT_EQ(skeletons[2], secondOpen);  // the refused command changed nothing
  // The second case is gone; the first goes on.
  std::vector<std::string> firstAgain = firstDone;
  firstAgain.push_back("Продолжение поддоказательства (рассмотрение случая)"_cp);
  EXPECT_EQ(skeletons[3], firstAgain);
  EXPECT_EQ(driver->Level(), 1);
}

TEST_F(InfoTree, AFailedCommandAfterAProvedObligationReturnsToItsLevel) {
  // The obligation b ≠ 0 is proved, then the substitution for y is cancelled:
  // the whole command goes and the obligation's subproof is current again.
  ASSERT_TRUE(Start("6/24/13", {"!mark given 2", "ConsiderForallD", "2 / b", "!mark proving 1", "RewriteUsingStrictIneqD"}));
  std::vector<std::vector<std::string>> skeletons;
  RunInStep([&](std::size_t) { skeletons.push_back(Skeleton()); });
  ASSERT_EQ(skeletons.size(), 2u);
  const std::string testLine = "Поддоказательство (проверка условий)"_cp;
  EXPECT_EQ(skeletons[0], std::vector<std::string>{testLine});
  EXPECT_EQ(skeletons[1], (std::vector<std::string>{testLine, "   " + testLine + kDone,
                                                    "Продолжение поддоказательства (проверка условий)"_cp}));
  EXPECT_EQ(driver->Level(), 1);
}

TEST_F(InfoTree, NothingIsReportedWithoutCommenting) {
  context.Commenting = false;
  ASSERT_TRUE(Start("1/0/0", ProofNamed("ConsiderCases").Script));
  Run();
  EXPECT_TRUE(driver->Succeeded());
  EXPECT_TRUE(sink.Root.Children.empty());
}

TEST_F(InfoTree, ASinkSetDuringTheProofCatchesUpWithTheLevel) {
  context.Info = nullptr;
  ASSERT_TRUE(Start("6/24/5", {"!mark proving 1", "ProveMarkedCondD", "!conjecture", "cancel"}));
  Run([&](std::size_t count) {
    if (count == 1) context.Info = &sink;  // the next command finds the subproof open
  });
  EXPECT_EQ(sink.Refused, 0);
  EXPECT_EQ(Skeleton(), std::vector<std::string>{"Продолжение поддоказательства (доказательство отмеченного условия)"_cp});
  EXPECT_EQ(sink.Depth(), 1);
}

// The proof UI hears of every subproof proved, with its caption, in both
// languages, whether or not anything is commented.
class TDoneUi : public TScriptUi {
 public:
  using TScriptUi::TScriptUi;
  void SubproofDone(const std::string& rus, const std::string& eng) override {
    Done.emplace_back(rus, eng);
    TScriptUi::SubproofDone(rus, eng);
  }
  std::vector<std::pair<std::string, std::string>> Done;
};

TEST_F(SmallBook, TheProofUiHearsOfEverySubproofProvedWithItsCaption) {
  TDoneUi done(book, ProofNamed("ConsiderCases").Script);
  TProofDriver proof(done, protocol, book, &assot);
  ASSERT_TRUE(proof.Start(At(book, "1/0/0"), ""));
  ASSERT_TRUE(done.Run(proof, [](const std::string&, bool) {}));
  ASSERT_TRUE(proof.Succeeded());
  const std::pair<std::string, std::string> premise = {"Поддоказательство (доказательство посылки импликации) завершено успешно."_cp,
                                                       "Subproof (proof of hypothesis of implication) is successfully completed."};
  const std::pair<std::string, std::string> oneCase = {"Поддоказательство (рассмотрение случая) завершено успешно."_cp,
                                                       "Subproof (case consideration) is successfully completed."};
  EXPECT_EQ(done.Done, (std::vector<std::pair<std::string, std::string>>{premise, oneCase, premise, oneCase}));
  // The end of the main proof is no subproof.
  EXPECT_EQ(std::count(done.Asked.begin(), done.Asked.end(), oneCase.second + " -> OK"), 2);
}

// The book's own proofs with commenting on: the same protocols as without,
// and a tree in step with them.
std::vector<std::string> AllScripts() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(LEMMIX_PROOFS_DIR))
    if (entry.path().extension() == ".txt") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

class BookTree : public DriverFixture, public ::testing::WithParamInterface<std::string> {
 protected:
  void SetUp() override {
    DriverFixture::SetUp();
    book.Path = SystemPath(LEMMIX_DATA_DIR).value() + "\\book";
    book.Load();
  }
  TBook book;
};

TEST_P(BookTree, CommentingChangesNoProtocolAndTheTreeFollowsTheLevels) {
  std::string path = GetParam();
  std::replace(path.begin(), path.end(), '-', '/');
  ASSERT_TRUE(Start(book, path, ScriptLines(GetParam())));
  Run();
  const bool proved = driver->Succeeded();
  const std::vector<std::string> silent = protocol.Lines;

  TTreeSink sink;
  context.Commenting = true;
  context.Info = &sink;
  ASSERT_TRUE(Start(book, path, ScriptLines(GetParam())));
  Run([&](std::size_t count) { EXPECT_EQ(sink.Depth(), driver->Open() ? driver->Level() : 0) << "after command " << count; });
  context.Info = nullptr;
  context.Commenting = false;
  EXPECT_EQ(driver->Succeeded(), proved);
  EXPECT_EQ(protocol.Lines, silent);
  EXPECT_EQ(sink.Refused, 0);
  EXPECT_EQ(sink.Depth(), driver->Open() ? driver->Level() : 0);
  if (proved) ExpectEveryLevelProved(sink, ui->Asked);
}

INSTANTIATE_TEST_SUITE_P(Scripts, BookTree, ::testing::ValuesIn(AllScripts()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = "book_" + info.param;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });


// ---------------------------------------------------------------------------
// Script transformations: offered where their test part accepts the marked
// condition, recorded by name, replayed by name; a script that fails changes
// nothing.

class Scripts : public SmallBook {
 protected:
  void SetUp() override {
    SmallBook::SetUp();
    ASSERT_TRUE(assot.LoadAssotLines({
        "MainFunc = >, <",
        "DataEnabled = true",
        "ProveEnabled = true",
        "Name = Strengthened by one",
        "RusName = Усилить на единицу"_cp,
        "Test",
        "Return(SourceProve)",
        "Execute",
        "TakeArg(#0, Source, 0)",
        "TakeArg(#1, Source, 1)",
        "if (ExprIntr(Source, >))",
        "ReplaceSourceTempl(#0 > #1 + 1)",
        "else",
        "ReplaceSourceTempl(#0 + 1 < #1)",
        "endif",
        "End",
        "MainFunc = >, <",
        "DataEnabled = true",
        "ProveEnabled = true",
        "Name = After a greater number",
        "RusName = После теоремы о большем числе"_cp,
        "Test",
        "if (StatementBefore(\\1\\0\\5))",
        "else",
        "Return(false)",
        "endif",
        "Return(true)",
        "Execute",
        "End",
        "MainFunc = >, <",
        "DataEnabled = true",
        "ProveEnabled = true",
        "Name = Broken",
        "RusName = Сломано"_cp,
        "Execute",
        "ReplaceSourceTempl(#7 > 0)",
        "End",
        "MainFunc = >, <",
        "DataEnabled = true",
        "ProveEnabled = true",
        "Name = Malformed test",
        "RusName = Неверная проверка"_cp,
        "Test",
        "Return(",
        "Execute",
        "End",
    }));
  }

  // The names offered for the condition, in the order of the choice window.
  std::vector<std::string> Offered(TSection section, std::size_t position) {
    std::vector<std::string> names;
    for (const TTransformChoice& choice : driver->Offered(section, position)) names.push_back(choice.Name);
    return names;
  }
  static bool Has(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
  }
};

TEST_F(Scripts, AreOfferedWhereTheirTestAcceptsTheCondition) {
  ASSERT_TRUE(Start("1/0/3", {}));
  ASSERT_EQ(FieldOf(*driver).GivenConds.size(), 1u);
  messages.Clear();
  const std::vector<std::string> onGoal = Offered(TSection::ProvingConds, 0);
  EXPECT_TRUE(Has(onGoal, "Strengthened by one"));
  EXPECT_TRUE(Has(onGoal, "Broken")) << "an entry without a test part is always offered";
  EXPECT_FALSE(Has(onGoal, "Malformed test"));
  EXPECT_FALSE(Errors().empty()) << "the malformed test part says why";
  // The given condition is a ∀: no script of < and > is offered on it.
  const std::vector<std::string> onGiven = Offered(TSection::GivenConds, 0);
  EXPECT_FALSE(Has(onGiven, "Strengthened by one"));
  EXPECT_FALSE(Has(onGiven, "Broken"));
}

// A script that restates a theorem is offered only where the theorem could
// be applied: in the proofs of the statements after it.
TEST_F(Scripts, ThatRestateATheoremAreOfferedOnlyAfterIt) {
  ASSERT_TRUE(Start("1/0/3", {}));
  EXPECT_FALSE(Has(Offered(TSection::ProvingConds, 0), "After a greater number"));
  ASSERT_TRUE(Start("1/0/5", {}));
  ASSERT_TRUE(driver->Open());
  EXPECT_TRUE(Has(Offered(TSection::ProvingConds, 0), "Strengthened by one"));
  EXPECT_FALSE(Has(Offered(TSection::ProvingConds, 0), "After a greater number")) << "not in its own proof";
  ASSERT_TRUE(Start("1/0/10", {}));
  EXPECT_TRUE(Has(Offered(TSection::ProvingConds, 0), "After a greater number"));
}

TEST_F(Scripts, ARunIsRecordedByNameAndReplays) {
  ASSERT_TRUE(Start("1/0/3", {"!mark proving 1", "Strengthened by one"}));
  const TField before = FieldOf(*driver);
  Run();
  const TField after = FieldOf(*driver);
  ASSERT_TRUE(driver->Open());
  EXPECT_NE(after.ProvingConds, before.ProvingConds);
  EXPECT_EQ(after.GivenConds, before.GivenConds);
  const std::vector<std::string> written = protocol.Lines;
  const std::size_t marked = written.size() - 3;
  EXPECT_EQ(written[marked], "Marked condition 1 of section 4:@");
  EXPECT_EQ(written[marked + 1], "Strengthened by one");
  EXPECT_EQ(written[marked + 2], "");

  // A demonstration of what was written reaches the same field.
  TProtocolRecorder replayed(messages);
  TScriptUi none(book, {});
  TProofDriver again(none, replayed, book, &assot);
  TDemonstration demo(again, replayed, book);
  ASSERT_TRUE(demo.Begin(At(book, "1/0/3"), written));
  EXPECT_TRUE(demo.Step()) << (demo.Failure() ? demo.Failure()->Eng : "");
  EXPECT_EQ(FieldOf(again), after);
  EXPECT_FALSE(demo.Failure());
}

TEST_F(Scripts, AFailedRunChangesNothing) {
  ASSERT_TRUE(Start("1/0/3", {"!mark proving 1", "Broken"}));
  const TState before = State();
  messages.Clear();
  Run();
  EXPECT_EQ(State(), before);
  // Offered (its test part is absent), run, and its failure told in its frame.
  const std::vector<std::string> errors = Errors();
  EXPECT_TRUE(std::any_of(errors.begin(), errors.end(), [](const std::string& e) {
    return e.find("\"Broken\"") != std::string::npos;
  }));
  EXPECT_FALSE(std::any_of(errors.begin(), errors.end(), [](const std::string& e) {
    return e.find("offered") != std::string::npos;
  }));
}

}  // namespace
}  // namespace lemmix
