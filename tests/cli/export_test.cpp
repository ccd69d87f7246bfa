// lemmix-cli export: a protocol of the book as text and as a page, and the
// refusal of a file that is not a protocol.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "shell/cp1251.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace lemmix {
namespace {

namespace fs = std::filesystem;

using testing::CliRun;
using testing::RunCli;

std::string TriangleProtocol() {
  return "'" + (fs::path(LEMMIX_DATA_DIR) / "book/6/3/7" / (Cp1251ToUtf8("Доказательство"_cp) + ".prt")).string() + "'";
}

std::string Expected(const std::string& name) {
  std::ifstream in(fs::path(LEMMIX_PROOFS_DIR).parent_path() / "export_expected" / name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(CliExport, TellsAProtocolAsText) {
  const CliRun english = RunCli("--lang en export " + TriangleProtocol() + " " + LEMMIX_DATA_DIR + " --text");
  EXPECT_EQ(english.exitCode, 0) << english.output;
  EXPECT_EQ(english.output, Expected("triangle_inequality.en.txt"));
  // Russian is the default, and so is text.
  const CliRun russian = RunCli("export " + TriangleProtocol() + " " + LEMMIX_DATA_DIR);
  EXPECT_EQ(russian.exitCode, 0) << russian.output;
  EXPECT_EQ(russian.output, Expected("triangle_inequality.ru.txt"));
}

TEST(CliExport, TellsAProtocolAsAPage) {
  const CliRun run = RunCli("--lang en export " + TriangleProtocol() + " " + LEMMIX_DATA_DIR + " --html");
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_TRUE(run.output.starts_with("<!DOCTYPE html>")) << run.output;
  EXPECT_NE(run.output.find("<h1>Theorem \u201CTriangle inequality\u201D</h1>"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("|a + b| ≤ |a| + |b|"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("<p><strong>The proof is complete.</strong></p>"), std::string::npos) << run.output;
}

TEST(CliExport, RefusesWhatIsNotAProtocol) {
  testing::TempDir dir;
  dir.Write("bad.prt", "AutoStandard = true\r\nhello\r\n");
  const CliRun bad = RunCli("--lang en export " + (dir.Path() / "bad.prt").string() + " " + LEMMIX_DATA_DIR);
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_EQ(bad.output, "Error: Line 2 of the protocol: expected the setting SymbolTransEnable\n");
  const CliRun missing = RunCli("--lang en export " + (dir.Path() / "none.prt").string() + " " + LEMMIX_DATA_DIR);
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.output.find("Unable to read the protocol file"), std::string::npos) << missing.output;
  EXPECT_EQ(RunCli("export").exitCode, 2);
  EXPECT_EQ(RunCli("book --html").exitCode, 2);
}

}  // namespace
}  // namespace lemmix
