// The core's start-up: the working directory becomes the data directory and
// the catalogues load in order, the first failure stopping the start.
#include "session/startup.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "proofrun/assot.h"
#include "shell/cp1251.h"
#include "shell/recording_messages.h"
#include "support/temp_dir.h"
#include "types/types_proccess.h"

namespace lemmix {
namespace {

// Runs the start-up with `dir` as the working directory, restoring it afterwards.
bool StartIn(const std::filesystem::path& dir, TSession& context) {
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  const bool ok = RunStartup(context);
  std::filesystem::current_path(previous);
  return ok;
}

TEST(Startup, TakesTheWorkingDirectoryAsDataDirectory) {
  RecordingMessages messages;
  TSession context(messages, messages);
  ASSERT_TRUE(StartIn(LEMMIX_DATA_DIR, context));
  EXPECT_TRUE(context.StartupOk);
  EXPECT_EQ(std::filesystem::path(context.Dir), std::filesystem::canonical(LEMMIX_DATA_DIR));
  EXPECT_EQ(context.BookPath, context.Dir + "\\book");
  ASSERT_NE(context.TypesProccess, nullptr);
  EXPECT_NE(context.TypesProccess->FindType("rFunc1T", false), nullptr);
  EXPECT_TRUE(messages.Entries().empty());

  context.ReleaseCatalogues();
  EXPECT_EQ(context.TypesProccess, nullptr);
}

TEST(Startup, StopsWithoutTheTypeCatalogue) {
  testing::TempDir dir;
  RecordingMessages messages;
  TSession context(messages, messages);
  EXPECT_FALSE(StartIn(dir.Path(), context));
  EXPECT_FALSE(context.StartupOk);
  ASSERT_EQ(messages.Entries().size(), 1u);
  EXPECT_EQ(messages.Entries()[0].kind, RecordingMessages::Kind::Error);
  EXPECT_EQ(messages.Entries()[0].message.Rus,
            "Отсутствует файл типов: "_cp + std::filesystem::canonical(dir.Path()).string() + "/TYPES.DAT");
}

TEST(Startup, StopsAtABrokenTypeCatalogue) {
  testing::TempDir dir;
  dir.Write("TYPES.DAT", testing::CrLf({"// broken", "String = rT", "Base = realBT"}));
  RecordingMessages messages;
  TSession context(messages, messages);
  EXPECT_FALSE(StartIn(dir.Path(), context));
  ASSERT_EQ(messages.Entries().size(), 1u);
  EXPECT_EQ(messages.Entries()[0].message.Eng,
            "Error in line 3 in file of types:\\n In specification of type rT an unknown base type is occured: realBT");
}

// The associated transformations load last, after the font: without their
// file the start fails, though the other catalogues are there.
TEST(Startup, StopsWithoutTheAssociatedTransformations) {
  testing::TempDir dir;
  for (const char* name : {"TYPES.DAT", "STFUNC.DAT", "COUPLES.DAT"})
    std::filesystem::copy_file(std::filesystem::path(LEMMIX_DATA_DIR) / name, dir.Path() / name);
  RecordingMessages messages;
  TSession context(messages, messages);
  EXPECT_FALSE(StartIn(dir.Path(), context));
  EXPECT_FALSE(context.StartupOk);
  ASSERT_NE(context.AssotProccess, nullptr);
  ASSERT_EQ(messages.Entries().size(), 1u);
  EXPECT_EQ(messages.Entries()[0].message.Eng, "An error in the file of assosiated transformations in line 0 :\n ");
  context.ReleaseCatalogues();
  EXPECT_EQ(context.AssotProccess, nullptr);
}

}  // namespace
}  // namespace lemmix
