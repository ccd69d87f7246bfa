// lemmix-cli verify as a course's CI runs it: the bundled protocols pass; a
// protocol edited to prove nothing fails the run, in the summary, the JUnit
// and the JSON reports; the results do not depend on the jobs or the order
// of the paths.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "shell/cp1251.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace lemmix {
namespace {

namespace fs = std::filesystem;

// The name of the saved protocols, in the file system's encoding.
constexpr const char* kProtocol = "Доказательство.prt";

using VerifyRun = testing::CliRun;

VerifyRun RunVerify(const std::string& arguments) { return testing::RunCli("--lang en verify " + arguments); }

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Times differ from run to run.
std::string WithoutTimes(const std::string& text) {
  return std::regex_replace(std::regex_replace(text, std::regex(" [0-9.]+ ms"), ""), std::regex("\"ms\": [0-9.e+-]+"),
                            "");
}

// A copy of the bundled data whose protocol of book\3\5\3 substitutes another value.
class BrokenProtocol : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy(LEMMIX_DATA_DIR, dir.Path() / "data", fs::copy_options::recursive);
    protocol = dir.Path() / "data" / "book" / "3" / "5" / "3" / fs::path(kProtocol);
    std::string text = ReadFile(protocol);
    // n = K alone is not beyond both thresholds: the proof no longer goes through.
    const std::string from = "Substituted K+N for n";
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, from.size(), "Substituted K for n");
    std::ofstream(protocol, std::ios::binary) << text;
    data = (dir.Path() / "data").string();
  }

  testing::TempDir dir;
  fs::path protocol;
  std::string data;
};

TEST(Verify, TheBundledProtocolsOfAParagraphPass) {
  const VerifyRun run = RunVerify(std::string(LEMMIX_DATA_DIR) + " book/3/5");
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("PASS book/3/5/3/" + std::string(kProtocol) + " \"Uniqueness of the limit of a sequence\""),
            std::string::npos)
      << run.output;
  EXPECT_EQ(run.output.find("FAIL"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find(" passed, 0 failed, "), std::string::npos) << run.output;
}

TEST(Verify, WrongArgumentsChangeNothingAndSaySo) {
  EXPECT_EQ(RunVerify(std::string(LEMMIX_DATA_DIR) + " book/99").exitCode, 2);
  EXPECT_NE(RunVerify(std::string(LEMMIX_DATA_DIR) + " book/99").output.find("no part of the book at book/99"),
            std::string::npos);
  EXPECT_EQ(RunVerify(std::string(LEMMIX_DATA_DIR) + " --jobs 0").exitCode, 2);
  EXPECT_EQ(RunVerify(std::string(LEMMIX_DATA_DIR) + " --frobnicate").exitCode, 2);
  EXPECT_EQ(RunVerify(std::string(LEMMIX_DATA_DIR) + " " + LEMMIX_DATA_DIR).exitCode, 2) << "one data directory";
}

TEST_F(BrokenProtocol, FailsTheRunAndIsReported) {
  const fs::path junit = dir.Path() / "verify.xml";
  const fs::path json = dir.Path() / "verify.json";
  const VerifyRun run = RunVerify(data + " book/3/5 --junit " + junit.string() + " --json " + json.string());
  EXPECT_EQ(run.exitCode, 1) << run.output;
  const std::string failed = "FAIL book/3/5/3/" + std::string(kProtocol);
  EXPECT_NE(run.output.find(failed), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("  line "), std::string::npos) << run.output;
  EXPECT_NE(run.output.find(" passed, 1 failed, "), std::string::npos) << run.output;

  const std::string xml = ReadFile(junit);
  EXPECT_NE(xml.find("failures=\"1\""), std::string::npos) << xml;
  EXPECT_NE(xml.find("<failure message=\"line "), std::string::npos) << xml;
  EXPECT_NE(xml.find("classname=\"book.3.5.3\""), std::string::npos) << xml;
  const std::string report = ReadFile(json);
  EXPECT_NE(report.find("\"passed\": false"), std::string::npos) << report;
  EXPECT_NE(report.find("\"failed\": 1"), std::string::npos) << report;
  // Nothing is left beside the reports.
  for (const auto& entry : fs::directory_iterator(dir.Path()))
    EXPECT_TRUE(entry.path().filename() == "data" || entry.path() == junit || entry.path() == json) << entry.path();
}

TEST_F(BrokenProtocol, ResultsDoNotDependOnJobsOrOrder) {
  const fs::path one = dir.Path() / "one.json";
  const fs::path three = dir.Path() / "three.json";
  const VerifyRun single = RunVerify(data + " book/3/5 book/2/0 --json " + one.string());
  const VerifyRun jobs = RunVerify(data + " book/2/0 book/3/5 --jobs 3 --json " + three.string());
  EXPECT_EQ(single.exitCode, 1);
  EXPECT_EQ(jobs.exitCode, 1);
  EXPECT_EQ(WithoutTimes(single.output), WithoutTimes(jobs.output));
  EXPECT_EQ(WithoutTimes(ReadFile(one)), WithoutTimes(ReadFile(three)));
  // Book order: chapter 2 before chapter 3, whatever the order of the paths.
  EXPECT_LT(single.output.find("book/2/0/"), single.output.find("book/3/5/"));
}

TEST_F(BrokenProtocol, QuietShowsTheFailuresAndTheSummaryOnly) {
  const VerifyRun run = RunVerify(data + " book/3/5 --quiet");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output.find("PASS"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("FAIL"), std::string::npos) << run.output;
}

}  // namespace
}  // namespace lemmix
