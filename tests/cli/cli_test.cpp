// lemmix-cli as a user runs it: exit codes and what it prints.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>

#include "shell/cp1251.h"
#include "support/temp_dir.h"

namespace lemmix {
namespace {

struct CliRun {
  int exitCode;
  std::string output;  // standard output and standard error together
};

CliRun RunCli(const std::string& arguments) {
  const std::string command = std::string(LEMMIX_CLI) + " " + arguments + " 2>&1";
  CliRun run{-1, ""};
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 4096> buffer{};
  std::size_t n = 0;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.output.append(buffer.data(), n);
  const int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

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
