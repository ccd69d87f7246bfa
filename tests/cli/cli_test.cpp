// lemmix-cli as a user runs it: exit codes and what it prints.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "shell/cp1251.h"
#include "support/book_counts.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace lemmix {
namespace {

using testing::CliRun;
using testing::RunCli;

TEST(Cli, CheckSucceedsOnTheBundledData) {
  const CliRun run = RunCli(std::string("check ") + LEMMIX_DATA_DIR);
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("types"), std::string::npos) << run.output;
}

TEST(Cli, CheckReportsTheFaultyLineAndFails) {
  testing::TempDir dir;
  dir.Write("TYPES.DAT",
            testing::CrLf({"String = nT", "Base = simpleBT", "", "String = S", "Base = setBT", "Element = xT"}));
  const CliRun russian = RunCli("check " + dir.Path().string());
  EXPECT_EQ(russian.exitCode, 1);
  EXPECT_EQ(
      russian.output,
      Cp1251ToUtf8(
          "Ошибка: Ошибка в строке 6 файла типов:\nПри определении типа S указан неверный тип элементов: xT\n"_cp));

  const CliRun english = RunCli("--lang en check " + dir.Path().string());
  EXPECT_EQ(english.exitCode, 1);
  EXPECT_EQ(
      english.output,
      "Error: Error in line 6 in file of types:\nIn specification of type S an unknown element's type is occured: "
      "xT\n");
}

TEST(Cli, CheckWithoutCatalogueFails) {
  testing::TempDir dir;
  const CliRun run = RunCli("--lang en check " + dir.Path().string());
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, "Error: File of types " + dir.Path().string() + "/TYPES.DAT is absent\n");
}

TEST(Cli, UsageErrors) {
  EXPECT_EQ(RunCli("").exitCode, 2);
  EXPECT_EQ(RunCli("frobnicate").exitCode, 2);
  EXPECT_EQ(RunCli("--lang de check").exitCode, 2);
  EXPECT_EQ(RunCli("check a b").exitCode, 2);
  const CliRun help = RunCli("--help");
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.output.find("check [DIR]"), std::string::npos);
}

}  // namespace
}  // namespace lemmix

namespace lemmix {
namespace {

TEST(Cli, IntrinsicsListsTheCatalogue) {
  const CliRun text = RunCli(std::string("intrinsics ") + LEMMIX_DATA_DIR);
  ASSERT_EQ(text.exitCode, 0) << text.output;
  EXPECT_NE(text.output.find("\n15   \\in                  ∈                           ∉"), std::string::npos) << text.output;
  const CliRun md = RunCli(std::string("intrinsics ") + LEMMIX_DATA_DIR + " --format md");
  ASSERT_EQ(md.exitCode, 0);
  EXPECT_NE(md.output.find("| 9 | `=` | = | ≠ | 7 | infix |  | EqualityT | `=` |  |\n"), std::string::npos) << md.output;
  // A bar in a cell is escaped, in code spans too: every row keeps its ten cells.
  EXPECT_NE(md.output.find("| 37 | `\\|` | \\| |"), std::string::npos) << md.output;
  std::istringstream rows(md.output);
  for (std::string row; std::getline(rows, row);) {
    int bars = 0;
    for (std::size_t i = 0; i < row.size(); ++i) bars += row[i] == '|' && (i == 0 || row[i - 1] != '\\');
    EXPECT_EQ(bars, 11) << row;
  }
  EXPECT_EQ(RunCli("intrinsics --format html").exitCode, 2);
  EXPECT_EQ(RunCli("check --format md").exitCode, 2);
}

// docs/keyboard.md is the listing of the shipped catalogue.
TEST(Cli, KeyboardDocumentIsUpToDate) {
  const CliRun run = RunCli(std::string("keyboard ") + LEMMIX_DATA_DIR);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  std::ifstream in(std::string(LEMMIX_DATA_DIR) + "/../docs/keyboard.md", std::ios::binary);
  const std::string document{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_EQ(run.output, document) << "regenerate it: lemmix-cli keyboard data > docs/keyboard.md";
  EXPECT_NE(run.output.find("| `` Ctrl+` `` | ∑ | `\\sum` |"), std::string::npos);
  EXPECT_NE(run.output.find("| `Ctrl+2` | ∉ | `\\NOT\\in` |"), std::string::npos);
}

TEST(Cli, CheckReportsAFontThatIsNoFontAndGoesOn) {
  testing::TempDir dir;
  for (const char* name : {"TYPES.DAT", "STFUNC.DAT", "COUPLES.DAT", "ASSOT.DAT"}) {
    std::ifstream in(std::string(LEMMIX_DATA_DIR) + "/" + name, std::ios::binary);
    dir.Write(name, std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
  }
  dir.Write("Symbolon.ttf", "not a font");
  const CliRun run = RunCli("--lang en check " + dir.Path().string());
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.output.substr(0, run.output.find('\n')), "Error: Font Symbolon.ttf is not installed.");
}

}  // namespace
}  // namespace lemmix

namespace lemmix {
namespace {

TEST(Cli, ExprReadsAndWritesTheStorageForm) {
  const std::string text = "(,,compound,((,,intr,\\3),(nT,,number,2),(,,nodef_var,(rT,x))))";
  const CliRun run = RunCli("expr '" + text + "' " + LEMMIX_DATA_DIR);
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(run.output, text + "\nsize: 4\nhead: 3\n");
  const CliRun bad = RunCli("--lang en expr '(,,intr,\\999)' " + std::string(LEMMIX_DATA_DIR));
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_EQ(bad.output, "Error: Error 2 in intrinsic function interpration \\999\n");
  EXPECT_EQ(RunCli("expr").exitCode, 2);
}

TEST(Cli, NumberArithmetic) {
  const struct {
    const char* args;
    const char* output;
    int exitCode;
  } cases[] = {{"add 1/3 2/3", "1\n", 0},
               {"add -1/3 1/6", "(-1/6)\n", 0},
               {"mul 2147483647 2", "no value\n", 1},  // no rounded result
               {"pow 2 -2", "(1/4)\n", 0},
               {"pow 4 1/2", "2\n", 0},
               {"pow 2 1/2", "no value\n", 1},
               {"add 0.1 0.2", "0.3\n", 0},
               {"sqrt 9/4", "(3/2)\n", 0},
               {"sqrt -4", "no value\n", 1},
               {"inv -4", "(-1/4)\n", 0},
               {"--lang en number inv 0", "Error: Division by zero\n0\n", 1},
               {"add x 1", "not a number: x\n", 1}};
  for (const auto& c : cases) {
    const std::string args = std::string(c.args).starts_with("--") ? c.args : std::string("number ") + c.args;
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.output, c.output) << c.args;
    EXPECT_EQ(run.exitCode, c.exitCode) << c.args;
  }
  EXPECT_EQ(RunCli("number root 4").exitCode, 2);
  EXPECT_EQ(RunCli("number add 1").exitCode, 2);
}

}  // namespace
}  // namespace lemmix

namespace lemmix {
namespace {

TEST(Cli, TypeNamesTheTypeOrTheFault) {
  const CliRun set = RunCli(
      R"(type '(,((nT,k)),compound,((,,intr,\141),(,,compound,((,,intr,\12),(,,loc_var,(nT,k)),(,,number,4)))))' )" +
      std::string(LEMMIX_DATA_DIR));
  EXPECT_EQ(set.exitCode, 0) << set.output;
  EXPECT_EQ(set.output, Cp1251ToUtf8("nMBESetT\nмножество элементов типа натуральное число, возможно пустое\n"_cp));
  const CliRun bad = RunCli(R"(--lang en type '(,,compound,((,,intr,\15),(,,number,1),(,,number,2)))' )" +
                            std::string(LEMMIX_DATA_DIR));
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_EQ(bad.output, "Error: Wrong types of arguments intrinsic function \\in :\nnatural number; natural number\n");
}

}  // namespace
}  // namespace lemmix

namespace lemmix {
namespace {

// The examples of the normalisation, as a user checks them from the command line.
TEST(Cli, NormalizeTheExamples) {
  const std::string x = "(,,data_var,(rT,x))";
  const auto num = [](int n) { return "(,,number," + std::to_string(n) + ")"; };
  const auto op = [](int head, std::vector<std::string> args) {
    std::string text = "(,,compound,((,,intr,\\" + std::to_string(head) + ")";
    for (const std::string& a : args) text += "," + a;
    return text + "))";
  };
  const struct {
    std::string input;
    std::string output;
  } cases[] = {
      // x + 2 + x + 3 = 2x + 5
      {op(3, {x, num(2), x, num(3)}),
       "(rT,,compound,((rOpT,,intr,\\3),(rT,,compound,((rOpT,,intr,\\4),(nT,,number,2),(rT,,data_var,(rT,x)))),(nT,,"
       "number,5)))"},
      // (x^2)^3 = x^6
      {op(6, {op(6, {x, num(2)}), num(3)}), "(rT,,compound,((rNatPowT,,intr,\\6),(rT,,data_var,(rT,x)),(nT,,number,6)))"},
      // x - x = 0; x * 1 = x
      {op(3, {x, op(2, {x})}), "(n0T,,number,0)"},
      {op(4, {x, num(1)}), "(rT,,data_var,(rT,x))"},
      // 5 < 0 is false, 3 >= 3 true
      {op(12, {num(5), num(0)}), "(lT,,intr,\\131)"},
      {op(13, {num(3), num(3)}), "(lT,,intr,\\130)"},
      // 3x + 6 = 0 is x + 2 = 0
      {op(9, {op(3, {op(4, {num(3), x}), num(6)}), num(0)}),
       "(lT,,compound,((EqualityT,,intr,\\9),(rT,,compound,((rOpT,,intr,\\3),(rT,,data_var,(rT,x)),(nT,,number,2))),(n0T,"
       ",number,0)))"},
  };
  for (const auto& c : cases) {
    const CliRun run = RunCli("normalize --storage '" + c.input + "' " + LEMMIX_DATA_DIR);
    EXPECT_EQ(run.exitCode, 0) << c.input << "\n" << run.output;
    EXPECT_EQ(run.output, c.output + "\n") << c.input;
  }
  // The pipeline of a condition: a definition symbol becomes an equivalence.
  const CliRun pipeline = RunCli("normalize '" + op(222, {op(11, {x, num(0)}), op(12, {num(0), x})}) + "' " +
                                 LEMMIX_DATA_DIR + " --pipeline --storage");
  EXPECT_EQ(pipeline.exitCode, 0) << pipeline.output;
  EXPECT_TRUE(pipeline.output.starts_with("(lT,,compound,((Log2T,,intr,\\8),")) << pipeline.output;
  EXPECT_EQ(RunCli("number add 1 2 --pipeline").exitCode, 2);
}

}  // namespace
}  // namespace lemmix

namespace lemmix {
namespace {

TEST(Cli, ParsePrintAndNormalizeStoredText) {
  const std::string data = std::string(" ") + LEMMIX_DATA_DIR;
  const CliRun parse = RunCli(R"(--unicode parse '\forall x \in \N : x > 2 \Vld x ^ 2 > 4')" + data);
  EXPECT_EQ(parse.exitCode, 0) << parse.output;
  EXPECT_NE(parse.output.find("\nlT\n∀x ∈ ℕ : x > 2 • x^2 > 4 \n"), std::string::npos) << parse.output;
  const CliRun text = RunCli(R"(parse 'a - ( b - c )')" + data);
  EXPECT_TRUE(text.output.ends_with("\nrT\na-(b-c)\n")) << text.output;
  const CliRun print = RunCli(R"(print '(,,compound,((,,intr,\12),(,,nodef_var,(rT,x)),(,,number,2)))')" + data);
  EXPECT_EQ(print.output, "x<2\n");
  const CliRun normalize = RunCli(R"(--unicode normalize '3 \cdot x + 6 = 0')" + data);
  EXPECT_EQ(normalize.output, "x + 2 = 0 \n");
  const CliRun bad = RunCli(R"(--lang en parse 'x +')" + data);
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_EQ(bad.output, "Error: Missed right argument of function +\nError: Error in input.\nx +\n  ^\n");
  EXPECT_EQ(RunCli("--unicode expr x").exitCode, 2);
}

TEST(Cli, ParseMarksTheFaultUnderTheText) {
  const std::string data = std::string(" ") + LEMMIX_DATA_DIR;
  const struct {
    const char* text;
    const char* output;
  } cases[] = {
      {"x , , y", "Error: Empty expression.\nError: Error in input.\nx , , y\n    ^\n"},
      {"{ x : }", "Error: Empty expression.\nError: Error in input.\n{ x : }\n      ^\n"},
      {"( x + 1", "Error: Missed right bracket.\nError: Error in input.\n( x + 1\n^\n"},
      // A fault after the last word: the caret after the text.
      {"\\forall x \\Vld", "Error: Empty expression.\nError: Error in input.\n\\forall x \\Vld\n              ^\n"},
      // A word that does not read ends with "Error in input." too.
      {"x + #", "Error: Invalid index of template parameter.\nError: Error in input.\nx + #\n    ^\n"},
      // A clash of types: the type message, the caret under the operation.
      {"x \\and x > 0",
       "Error: Wrong types of arguments intrinsic function \\and :\nreal number; logical object\nx \\and x > 0\n  ^\n"},
  };
  for (const auto& c : cases) {
    const CliRun run = RunCli("--lang en parse '" + std::string(c.text) + "'" + data);
    EXPECT_EQ(run.exitCode, 1) << c.text;
    EXPECT_EQ(run.output, c.output) << c.text;
  }
}

}  // namespace
}  // namespace lemmix

namespace lemmix {
namespace {

TEST(Cli, BookAndSearchListTheBundledBook) {
  const testing::TBookCounts counts = testing::CountBook(std::filesystem::path(LEMMIX_DATA_DIR) / "book");
  ASSERT_GT(counts.Statements, 0);
  const CliRun check = RunCli(std::string("check ") + LEMMIX_DATA_DIR);
  EXPECT_NE(check.output.find("book: " + std::to_string(counts.Chapters) + " chapters, " + std::to_string(counts.Paragraphs) +
                              " paragraphs, " + std::to_string(counts.Statements) + " statements; unchanged by loading"),
            std::string::npos)
      << check.output;
  const CliRun book = RunCli(std::string("book ") + LEMMIX_DATA_DIR + " --mode user");
  EXPECT_EQ(book.exitCode, 0);
  EXPECT_NE(book.output.find(Cp1251ToUtf8("      Неравенство треугольника  [theorem]  "_cp)), std::string::npos)
      << book.output;
  const CliRun theorems = RunCli(std::string("search ") + Cp1251ToUtf8("Модуль"_cp) + " " + LEMMIX_DATA_DIR +
                                 " --kind theorem");
  EXPECT_EQ(theorems.exitCode, 0);
  EXPECT_NE(theorems.output.find(Cp1251ToUtf8("Модуль числа неотрицателен"_cp)), std::string::npos);
  EXPECT_EQ(theorems.output.find(Cp1251ToUtf8("Неравенство"_cp)), std::string::npos);
  EXPECT_EQ(RunCli(std::string("search nothing-like-it ") + LEMMIX_DATA_DIR).exitCode, 1);
  EXPECT_EQ(RunCli(std::string("search x ") + LEMMIX_DATA_DIR + " --kind lemmas").exitCode, 2);
  EXPECT_EQ(RunCli(std::string("book ") + LEMMIX_DATA_DIR + " --kind axiom").exitCode, 2);
}

TEST(Cli, CheckSaysWhenTheBookIsMissing) {
  testing::TempDir dir;
  for (const char* name : {"TYPES.DAT", "STFUNC.DAT", "COUPLES.DAT", "ASSOT.DAT", "Symbolon.ttf"})
    std::filesystem::copy_file(std::filesystem::path(LEMMIX_DATA_DIR) / name, dir.Path() / name);
  const CliRun run = RunCli("check " + dir.Path().string());
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("book: 0 chapters, 0 paragraphs, 0 statements; loading found missing"), std::string::npos)
      << run.output;
}

}  // namespace
}  // namespace lemmix

namespace lemmix {
namespace {

TEST(Cli, CheckFailsOnAFaultyBook) {
  testing::TempDir dir;
  for (const char* name : {"TYPES.DAT", "STFUNC.DAT", "COUPLES.DAT", "ASSOT.DAT", "Symbolon.ttf"})
    std::filesystem::copy_file(std::filesystem::path(LEMMIX_DATA_DIR) / name, dir.Path() / name);
  std::filesystem::create_directories(dir.Path() / "book" / "0" / "0");
  dir.Write("book/content", testing::CrLf({"S", "", "B", "B", "0"}));
  dir.Write("book/0/content", testing::CrLf({"S", "", "C", "C", "0"}));
  dir.Write("book/0/0/content", testing::CrLf({"S", "", "P", "P", "0"}));
  dir.Write("book/0/0/0.st", testing::CrLf({"S", "", "T", "T", "theorem", "x + + 1"}));
  const CliRun run = RunCli("check " + dir.Path().string());
  EXPECT_EQ(run.exitCode, 1) << run.output;
  EXPECT_NE(run.output.find("book fault: " + (dir.Path() / "book" / "0" / "0" / "0").string() +
                            ": formulation does not read"),
            std::string::npos)
      << run.output;
}

}  // namespace
}  // namespace lemmix

namespace lemmix {
namespace {

TEST(Cli, MatchShowsTheBindingsOfAPattern) {
  const std::string dir = LEMMIX_DATA_DIR;
  // forall y (y > 0) against forall x F(x): F is the template #1 > 0, nothing of y in it.
  const std::string target = "'(lT,((rT,y)),compound,((,,intr,\\0),(lT,,compound,((,,intr,\\11),(rT,,loc_var,(rT,y)),(nT,,number,0)))))'";
  const std::string pattern = "'(lT,((rT,x)),compound,((,,intr,\\0),(lT,,compound,((rT->lTFunT,,templ_par,0),(rT,,loc_var,(rT,x))))))'";
  const CliRun run = RunCli("match " + target + " " + pattern + " " + dir);
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(run.output, "#0 = (,,templ,(lT,,compound,((,,intr,\\11),(rT,,templ_par,1),(nT,,number,0))))\n");
  // x + 5 against #1 + #2: both assignments of the commutative sum.
  const CliRun sum = RunCli("--unicode match '(,,compound,((,,intr,\\3),(,,data_var,(rT,x)),(,,number,5)))' "
                            "'(,,compound,((,,intr,\\3),(rT,,templ_par,1),(rT,,templ_par,2)))' " + dir);
  EXPECT_EQ(sum.exitCode, 0) << sum.output;
  EXPECT_NE(sum.output.find("#1 = x"), std::string::npos) << sum.output;
  EXPECT_NE(sum.output.find("#1 = 5"), std::string::npos) << sum.output;
  // A parameter cannot take the bound y: forall y (y > y) against forall x (x > #1).
  const CliRun bound = RunCli(
      "match '(lT,((rT,y)),compound,((,,intr,\\0),(lT,,compound,((,,intr,\\11),(rT,,loc_var,(rT,y)),(rT,,loc_var,(rT,y))))))' "
      "'(lT,((rT,x)),compound,((,,intr,\\0),(lT,,compound,((,,intr,\\11),(rT,,loc_var,(rT,x)),(rT,,templ_par,1)))))' " + dir);
  EXPECT_EQ(bound.exitCode, 1);
  EXPECT_EQ(bound.output, "no match\n");
  EXPECT_EQ(RunCli("match '(,,number,1)'").exitCode, 2);  // the pattern is missing
}

}  // namespace
}  // namespace lemmix

namespace lemmix {
namespace {

TEST(Cli, TaskShowsTheSectionsAndWhetherTheTestsClosedIt) {
  const std::string dir = LEMMIX_DATA_DIR;
  // There is exactly one x with 2x + 1 = 7: the tests find x = 3.
  const CliRun unique = RunCli("--lang en task book/2/1/7 " + dir + " --trace");
  EXPECT_EQ(unique.exitCode, 0) << unique.output;
  EXPECT_TRUE(unique.output.ends_with("proved: yes\n")) << unique.output;
  EXPECT_NE(unique.output.find("Proving conditions:"), std::string::npos);
  EXPECT_NE(unique.output.find("| "), std::string::npos);  // the trace
  // x > 1 => x > 0: the terminal test ends it.
  const CliRun linear = RunCli("--lang en task 'book\\2\\0\\1' " + dir);
  EXPECT_EQ(linear.exitCode, 0) << linear.output;
  EXPECT_TRUE(linear.output.ends_with("proved: yes\n")) << linear.output;
  // The uniqueness of a limit needs the definition: the task stays open.
  const CliRun open = RunCli("--lang en task book/3/5/3 " + dir);
  EXPECT_EQ(open.exitCode, 0) << open.output;
  EXPECT_TRUE(open.output.ends_with("proved: no\n")) << open.output;
  EXPECT_NE(open.output.find("Given conditions:\n  a\\ConvergesTo L\n  a\\ConvergesTo M\n"), std::string::npos)
      << open.output;
  EXPECT_EQ(RunCli("task book/9/9/9 " + dir).exitCode, 1);
}

TEST(Cli, MethodsListsTheMethodsBeforeAStatement) {
  const std::string dir = LEMMIX_DATA_DIR;
  // The method of |x| < a is proved by its protocol and usable after it, not at it.
  const CliRun after = RunCli("--lang en methods book/6/3/10 " + dir);
  EXPECT_EQ(after.exitCode, 0) << after.output;
  EXPECT_NE(after.output.find("proved   book\\6\\3\\9  dialog superficial"), std::string::npos) << after.output;
  EXPECT_NE(after.output.find("\"Absolute value less than a number\"\n"), std::string::npos) << after.output;
  EXPECT_TRUE(after.output.ends_with("1 methods usable here\n")) << after.output;
  const CliRun at = RunCli("--lang en methods book/6/3/9 " + dir);
  EXPECT_EQ(at.exitCode, 0) << at.output;
  EXPECT_EQ(at.output, "0 methods usable here\n");
  EXPECT_EQ(RunCli("methods book/9/9/9 " + dir).exitCode, 1);
}

TEST(Cli, ProveFailsOnALineAfterTheEndOfTheProof) {
  testing::TempDir dir;
  const std::filesystem::path answers = dir.Path() / "extra.txt";
  {
    std::ifstream script(std::string(LEMMIX_PROOFS_DIR) + "/6-3-1.txt", std::ios::binary);
    std::ofstream out(answers, std::ios::binary);
    out << script.rdbuf() << "!apply\nbook/6/1/0\n";
  }
  const CliRun run = RunCli("--lang en prove book/6/3/1 " + std::string(LEMMIX_DATA_DIR) + " --answers " + answers.string());
  EXPECT_EQ(run.exitCode, 1) << run.output;
  EXPECT_NE(run.output.find(": the proof ended before this line"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("proved: yes"), std::string::npos) << run.output;
}

TEST(Cli, ProveTraceIndentsTheLinesOfASubproofAndSaysWhenItIsProved) {
  const CliRun run = RunCli("--lang en prove book/3/1/10 " + std::string(LEMMIX_DATA_DIR) + " --answers " +
                            LEMMIX_PROOFS_DIR + "/3-1-10.txt --trace");
  EXPECT_EQ(run.exitCode, 0) << run.output;
  const auto has = [&](const std::string& cp1251) {
    EXPECT_NE(run.output.find(Cp1251ToUtf8(cp1251)), std::string::npos) << Cp1251ToUtf8(cp1251) << "\n" << run.output;
  };
  // The marked condition's proof at level 1, an auxiliary condition inside
  // it at level 2, an assumption inside that at level 3.
  has("\n| Поддоказательство (доказательство отмеченного условия)\n|    "_cp);
  has("\n|    Поддоказательство (доказательство вспомогательного условия)\n|       "_cp);
  has("\n|       Поддоказательство (доказательство при введенном предположении)\n|          "_cp);
  has("\n|       Поддоказательство (доказательство вспомогательного условия) завершено успешно.\n|    "_cp);
  has("\n|    Поддоказательство (доказательство отмеченного условия) завершено успешно.\n"_cp);
  has("\n? Subproof (proof of an auxiliary condition) is successfully completed. -> OK\n");
  EXPECT_TRUE(run.output.ends_with("proved: yes\n")) << run.output;
}

TEST(Cli, AProofLeftInTheJournalIsResumedAndFinished) {
  testing::TempDir dir;
  std::filesystem::copy(LEMMIX_DATA_DIR, dir.Path() / "data", std::filesystem::copy_options::recursive);
  const std::string data = (dir.Path() / "data").string();
  // The script of book\3\1\10 in two halves: the first proved with the journal kept.
  std::ifstream script(std::string(LEMMIX_PROOFS_DIR) + "/3-1-10.txt", std::ios::binary);
  std::string first, second, line;
  int commands = 0;
  while (std::getline(script, line)) {
    if (line.starts_with("!")) ++commands;
    (commands > 12 ? second : first) += line + "\n";
  }
  ASSERT_FALSE(second.empty());
  dir.Write("first.txt", first);
  dir.Write("second.txt", second);

  EXPECT_EQ(RunCli("--lang en resume " + data).exitCode, 1) << "no journal yet";
  const CliRun started =
      RunCli("--lang en prove book/3/1/10 " + data + " --journal --answers " + (dir.Path() / "first.txt").string());
  EXPECT_EQ(started.exitCode, 1) << started.output;
  EXPECT_TRUE(started.output.ends_with("proved: no\n")) << started.output;
  ASSERT_TRUE(std::filesystem::exists(dir.Path() / "data" / "Prt.dat"));

  const std::string out = (dir.Path() / "proof.prt").string();
  const CliRun resumed = RunCli("--lang en resume " + data + " --answers " + (dir.Path() / "second.txt").string() +
                                " --protocol " + out);
  EXPECT_EQ(resumed.exitCode, 0) << resumed.output;
  EXPECT_NE(resumed.output.find("resumed: "), std::string::npos) << resumed.output;
  EXPECT_EQ(resumed.output.find("stopped at line"), std::string::npos) << resumed.output;
  EXPECT_TRUE(resumed.output.ends_with("proved: yes\n")) << resumed.output;
  // The protocol of the resumed proof is the book's own.
  std::ifstream saved(std::string(LEMMIX_DATA_DIR) + "/book/3/1/10/" + Cp1251ToUtf8("Доказательство"_cp) + ".prt",
                      std::ios::binary);
  const std::string book((std::istreambuf_iterator<char>(saved)), {});
  EXPECT_EQ(dir.Read("proof.prt"), book);
  // The journal now ends with the proof's success: nothing to resume.
  const CliRun again = RunCli("--lang en resume " + data);
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_NE(again.output.find("no interrupted proof"), std::string::npos) << again.output;
}

TEST(Cli, TaskAllSummarisesTheBook) {
  testing::TempDir temp;
  const std::string json = (temp.Path() / "tasks.json").string();
  const CliRun run = RunCli("--lang en task --all " + std::string(LEMMIX_DATA_DIR) + " --json " + json);
  const int statements = testing::CountBook(std::filesystem::path(LEMMIX_DATA_DIR) / "book").Statements;
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.output.find("statements: " + std::to_string(statements) + "; closed automatically: "), std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("95th percentile"), std::string::npos);
  const std::string text = temp.Read("tasks.json");
  EXPECT_TRUE(text.starts_with("[\n"));
  std::size_t entries = 0;
  for (std::size_t at = text.find("\"path\""); at != std::string::npos; at = text.find("\"path\"", at + 1)) ++entries;
  EXPECT_EQ(entries, static_cast<std::size_t>(statements));
  EXPECT_NE(text.find("\"proved\": true"), std::string::npos);
}

}  // namespace
}  // namespace lemmix
