// Choosing the data directory at start: the working directory that holds data,
// a directory given on the command line, the user's copy of the installed data.
#include "session/data_location.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "shell/cp1251.h"
#include "support/temp_dir.h"

namespace lemmix {
namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A working directory, an installed data directory and the place of the
// user's copy, all under one temporary directory.
class DataLocation : public ::testing::Test {
 protected:
  DataLocation() {
    fs::create_directories(Working());
    WriteFile(Installed() / "TYPES.DAT", "installed types\r\n");
    WriteFile(Installed() / "book" / "content", "installed book\r\n");
    WriteFile(Installed() / "book" / "2" / "content", "chapter\r\n");
  }

  fs::path Working() const { return root_.Path() / "work"; }
  fs::path Installed() const { return root_.Path() / "usr" / "share" / "lemmix" / "data"; }
  fs::path User() const { return root_.Path() / "home" / ".local" / "share" / "lemmix" / "data"; }
  TDataPlaces Places() const { return {Working(), std::nullopt, Installed(), User()}; }

  testing::TempDir root_;
};

TEST_F(DataLocation, WorkingDirectoryWithDataWins) {
  WriteFile(Working() / "TYPES.DAT", "here\r\n");
  const TDataChoice choice = ChooseDataDirectory(Places());
  EXPECT_FALSE(choice.Error);
  EXPECT_EQ(choice.Dir, Working());
  EXPECT_FALSE(choice.Copied);
  EXPECT_FALSE(fs::exists(User()));
}

TEST_F(DataLocation, WorkingDirectoryWinsOverAnExistingUserCopy) {
  WriteFile(Working() / "TYPES.DAT", "here\r\n");
  WriteFile(User() / "TYPES.DAT", "user's\r\n");
  EXPECT_EQ(ChooseDataDirectory(Places()).Dir, Working());
}

TEST_F(DataLocation, GivenDirectoryWinsOverBoth) {
  WriteFile(Working() / "TYPES.DAT", "here\r\n");
  WriteFile(User() / "TYPES.DAT", "user's\r\n");
  fs::create_directories(Working() / "mine");
  TDataPlaces places = Places();
  places.Given = "mine/../mine";  // relative to the working directory
  const TDataChoice choice = ChooseDataDirectory(places);
  EXPECT_FALSE(choice.Error);
  EXPECT_EQ(choice.Dir, Working() / "mine");

  places.Given = Installed();
  EXPECT_EQ(ChooseDataDirectory(places).Dir, Installed());
}

TEST_F(DataLocation, MissingGivenDirectoryIsReportedAndNothingIsMade) {
  TDataPlaces places = Places();
  places.Given = root_.Path() / "nowhere";
  const TDataChoice choice = ChooseDataDirectory(places);
  ASSERT_TRUE(choice.Error);
  EXPECT_TRUE(choice.Dir.empty());
  EXPECT_EQ(choice.Error->Eng, "The data directory does not exist: " + (root_.Path() / "nowhere").string());
  EXPECT_EQ(choice.Error->Rus, "Каталог данных не найден: "_cp + (root_.Path() / "nowhere").string());
  EXPECT_FALSE(fs::exists(User()));
  EXPECT_FALSE(fs::exists(root_.Path() / "nowhere"));

  // A file is not a data directory either.
  WriteFile(root_.Path() / "afile", "x");
  places.Given = root_.Path() / "afile";
  EXPECT_TRUE(ChooseDataDirectory(places).Error);
}

TEST_F(DataLocation, FirstStartCopiesTheInstalledData) {
  fs::permissions(Installed() / "TYPES.DAT", fs::perms::owner_read | fs::perms::group_read);
  const TDataChoice choice = ChooseDataDirectory(Places());
  EXPECT_FALSE(choice.Error);
  EXPECT_EQ(choice.Dir, User());
  EXPECT_TRUE(choice.Copied);
  EXPECT_EQ(ReadFile(User() / "TYPES.DAT"), "installed types\r\n");
  EXPECT_EQ(ReadFile(User() / "book" / "content"), "installed book\r\n");
  EXPECT_EQ(ReadFile(User() / "book" / "2" / "content"), "chapter\r\n");
  // The user's copy is writable even where the installed file is not.
  EXPECT_NE(fs::status(User() / "TYPES.DAT").permissions() & fs::perms::owner_write, fs::perms::none);
  EXPECT_FALSE(fs::exists(User().string() + ".tmp~"));
  EXPECT_TRUE(fs::is_empty(Working()));
}

TEST_F(DataLocation, SecondStartKeepsTheUsersFiles) {
  ASSERT_TRUE(ChooseDataDirectory(Places()).Copied);
  // The user saves a protocol and edits the book; then the package is upgraded.
  WriteFile(User() / "Protocols" / "2" / "1" / "1.prt", "a saved proof\r\n");
  WriteFile(User() / "book" / "content", "the user's book\r\n");
  fs::remove(User() / "book" / "2" / "content");
  WriteFile(Installed() / "TYPES.DAT", "upgraded types\r\n");

  const TDataChoice again = ChooseDataDirectory(Places());
  EXPECT_FALSE(again.Error);
  EXPECT_EQ(again.Dir, User());
  EXPECT_FALSE(again.Copied);
  EXPECT_EQ(ReadFile(User() / "Protocols" / "2" / "1" / "1.prt"), "a saved proof\r\n");
  EXPECT_EQ(ReadFile(User() / "book" / "content"), "the user's book\r\n");
  EXPECT_FALSE(fs::exists(User() / "book" / "2" / "content"));
  EXPECT_EQ(ReadFile(User() / "TYPES.DAT"), "installed types\r\n");
}

TEST_F(DataLocation, HalfCopyOfAnInterruptedStartIsReplaced) {
  const fs::path temporary = User().string() + ".tmp~";
  WriteFile(temporary / "TYPES.DAT", "half\r\n");
  WriteFile(temporary / "stray", "junk");
  const TDataChoice choice = ChooseDataDirectory(Places());
  EXPECT_TRUE(choice.Copied);
  EXPECT_EQ(ReadFile(User() / "TYPES.DAT"), "installed types\r\n");
  EXPECT_FALSE(fs::exists(User() / "stray"));
  EXPECT_FALSE(fs::exists(temporary));
}

TEST_F(DataLocation, WithoutInstalledDataTheWorkingDirectoryStays) {
  fs::remove_all(Installed());
  const TDataChoice choice = ChooseDataDirectory(Places());
  EXPECT_FALSE(choice.Error);
  EXPECT_EQ(choice.Dir, Working());
  EXPECT_FALSE(fs::exists(User()));
}

TEST_F(DataLocation, WithoutAUserDirectoryTheWorkingDirectoryStays) {
  TDataPlaces places = Places();
  places.User.clear();
  EXPECT_EQ(ChooseDataDirectory(places).Dir, Working());
}

TEST_F(DataLocation, UserPathThatIsAFileIsReportedNotReplaced) {
  WriteFile(User(), "not a directory");
  const TDataChoice choice = ChooseDataDirectory(Places());
  ASSERT_TRUE(choice.Error);
  EXPECT_EQ(choice.Error->Eng, "The user's data directory is not a directory: " + User().string());
  EXPECT_EQ(ReadFile(User()), "not a directory");
}

TEST_F(DataLocation, FailedCopyIsReportedAndLeavesNothing) {
  // The user's directory cannot be made: a file stands where its parent should be.
  WriteFile(root_.Path() / "home" / ".local", "a file");
  const TDataChoice choice = ChooseDataDirectory(Places());
  ASSERT_TRUE(choice.Error);
  EXPECT_TRUE(choice.Dir.empty());
  EXPECT_FALSE(choice.Copied);
  EXPECT_EQ(choice.Error->Eng.rfind("Could not copy the program's data to " + User().string() + ": ", 0), 0u)
      << choice.Error->Eng;
  EXPECT_EQ(ReadFile(root_.Path() / "home" / ".local"), "a file");
}

TEST_F(DataLocation, AnUpgradeIsOfferedOnceAndTakenWithTheUsersFilesKept) {
  ASSERT_TRUE(ChooseDataDirectory(Places()).Copied);
  EXPECT_FALSE(OtherEditionInstalled(Places())) << "the copy is of the installed edition";
  // The student works: protocols, a proof journal, even a change to the book.
  WriteFile(User() / "Protocols" / "2" / "1" / "1.prt", "a saved proof\r\n");
  WriteFile(User() / "Prt.dat", "a journal");
  WriteFile(User() / "book" / "content", "the user's book\r\n");
  EXPECT_FALSE(OtherEditionInstalled(Places())) << "the user's own work is no new edition";

  // The package is upgraded.
  WriteFile(Installed() / "book" / "2" / "content", "chapter, second edition\r\n");
  WriteFile(Installed() / "book" / "3" / "content", "a new chapter\r\n");
  ASSERT_TRUE(OtherEditionInstalled(Places()));
  DeclineInstalledEdition(Places());
  EXPECT_FALSE(OtherEditionInstalled(Places())) << "declined: not asked again";
  EXPECT_EQ(ReadFile(User() / "book" / "2" / "content"), "chapter\r\n");
  WriteFile(Installed() / "TYPES.DAT", "types, third edition\r\n");
  ASSERT_TRUE(OtherEditionInstalled(Places())) << "another edition is offered again";

  ASSERT_FALSE(TakeInstalledEdition(Places()));
  EXPECT_EQ(ReadFile(User() / "TYPES.DAT"), "types, third edition\r\n");
  EXPECT_EQ(ReadFile(User() / "book" / "2" / "content"), "chapter, second edition\r\n");
  EXPECT_EQ(ReadFile(User() / "book" / "3" / "content"), "a new chapter\r\n");
  EXPECT_EQ(ReadFile(User() / "book" / "content"), "installed book\r\n");
  EXPECT_EQ(ReadFile(User() / "Protocols" / "2" / "1" / "1.prt"), "a saved proof\r\n");
  EXPECT_EQ(ReadFile(User() / "Prt.dat"), "a journal");
  // The whole previous copy stays beside it, the user's book change with it.
  const fs::path previous = User().string() + ".previous";
  EXPECT_EQ(ReadFile(previous / "book" / "content"), "the user's book\r\n");
  EXPECT_EQ(ReadFile(previous / "Protocols" / "2" / "1" / "1.prt"), "a saved proof\r\n");
  EXPECT_FALSE(fs::exists(User().string() + ".new"));
  EXPECT_FALSE(OtherEditionInstalled(Places()));
  EXPECT_EQ(ChooseDataDirectory(Places()).Dir, User());
}

TEST_F(DataLocation, ACopyThatRemembersNoEditionIsComparedAsItIs) {
  fs::create_directories(User());
  fs::copy(Installed(), User(), fs::copy_options::recursive);
  WriteFile(User() / "Protocols" / "1.prt", "mine\r\n");
  EXPECT_FALSE(OtherEditionInstalled(Places()));
  WriteFile(Installed() / "book" / "content", "upgraded book\r\n");
  EXPECT_TRUE(OtherEditionInstalled(Places()));
  // Without installed data or a user's copy there is nothing to offer.
  TDataPlaces places = Places();
  places.Installed = root_.Path() / "nowhere";
  EXPECT_FALSE(OtherEditionInstalled(places));
  places = Places();
  places.User = root_.Path() / "nobody";
  EXPECT_FALSE(OtherEditionInstalled(places));
}

TEST_F(DataLocation, AFailedUpgradeLeavesTheCopyAsItWas) {
  ASSERT_TRUE(ChooseDataDirectory(Places()).Copied);
  WriteFile(User() / "Protocols" / "1.prt", "mine\r\n");
  TDataPlaces places = Places();
  places.Installed = root_.Path() / "nowhere";
  const std::optional<TMessage> failure = TakeInstalledEdition(places);
  ASSERT_TRUE(failure);
  EXPECT_NE(failure->Eng.find("Could not update the data in " + User().string()), std::string::npos);
  EXPECT_EQ(ReadFile(User() / "Protocols" / "1.prt"), "mine\r\n");
  EXPECT_EQ(ReadFile(User() / "TYPES.DAT"), "installed types\r\n");
  EXPECT_FALSE(fs::exists(User().string() + ".new"));
  EXPECT_FALSE(fs::exists(User().string() + ".previous"));
}

TEST(DataLocationPaths, InstalledDataBesideTheExecutable) {
  EXPECT_EQ(InstalledDataDir("/usr/bin"), fs::path("/usr/share/lemmix/data"));
  EXPECT_EQ(InstalledDataDir("/opt/lemmix/bin/"), fs::path("/opt/lemmix/share/lemmix/data"));
}

TEST(DataLocationPaths, UserDataDirectoryFollowsXdgRules) {
  struct Case {
    const char* xdg;
    const char* home;
    const char* expected;
  };
  const Case cases[] = {
      {"/data", "/home/u", "/data/lemmix/data"},
      {nullptr, "/home/u", "/home/u/.local/share/lemmix/data"},
      {"", "/home/u", "/home/u/.local/share/lemmix/data"},
      {"relative/dir", "/home/u", "/home/u/.local/share/lemmix/data"},
      {"/data", nullptr, "/data/lemmix/data"},
      {nullptr, nullptr, ""},
      {"", "relative", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(UserDataDir(c.xdg, c.home), fs::path(c.expected))
        << (c.xdg ? c.xdg : "(unset)") << " " << (c.home ? c.home : "(unset)");
  }
}

}  // namespace
}  // namespace lemmix
