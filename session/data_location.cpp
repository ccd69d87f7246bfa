#include "session/data_location.h"

#include <string>
#include <system_error>

#include "shell/cp1251.h"

namespace lemmix {

namespace fs = std::filesystem;

namespace {

std::string Shown(const fs::path& path) { return Utf8ToCp1251(path.string()); }

// The copy is made under a temporary name and renamed at the end, so that an
// interrupted first start leaves no half copy behind for the next one to use.
// Answers the reason of a failure, or nothing.
std::optional<std::string> CopyData(const fs::path& from, const fs::path& to) {
  std::error_code error;
  fs::create_directories(to.parent_path(), error);
  if (error) return error.message();
  fs::path temporary = to;
  temporary += ".tmp~";
  fs::remove_all(temporary, error);  // left by an interrupted start
  fs::copy(from, temporary, fs::copy_options::recursive, error);
  if (!error) {
    // The installed files may be read-only; the user's copy is for writing.
    fs::permissions(temporary, fs::perms::owner_all, fs::perm_options::add, error);
    for (fs::recursive_directory_iterator it(temporary, error), end; !error && it != end; it.increment(error))
      fs::permissions(it->path(), fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, error);
  }
  if (!error) fs::rename(temporary, to, error);
  if (!error) return std::nullopt;
  std::error_code ignored;
  fs::remove_all(temporary, ignored);
  return error.message();
}

}  // namespace

bool HoldsData(const fs::path& dir) {
  std::error_code error;
  return fs::is_regular_file(dir / "TYPES.DAT", error);
}

fs::path InstalledDataDir(const fs::path& executableDir) {
  return (executableDir / ".." / "share" / "lemmix" / "data").lexically_normal();
}

fs::path UserDataDir(const char* xdgDataHome, const char* home) {
  fs::path base;
  if (xdgDataHome != nullptr && fs::path(xdgDataHome).is_absolute())
    base = xdgDataHome;
  else if (home != nullptr && fs::path(home).is_absolute())
    base = fs::path(home) / ".local" / "share";
  else
    return {};
  return base / "lemmix" / "data";
}

TDataChoice ChooseDataDirectory(const TDataPlaces& places) {
  TDataChoice choice;
  std::error_code error;
  if (places.Given) {
    const fs::path given = (places.Working / *places.Given).lexically_normal();
    if (!fs::is_directory(given, error)) {
      choice.Error = TMessage{"Каталог данных не найден: "_cp + Shown(given),
                              "The data directory does not exist: " + Shown(given)};
      return choice;
    }
    choice.Dir = given;
    return choice;
  }
  if (HoldsData(places.Working) || places.User.empty()) {
    choice.Dir = places.Working;
    return choice;
  }
  if (fs::exists(places.User, error)) {
    if (!fs::is_directory(places.User, error)) {
      choice.Error = TMessage{"Каталог данных пользователя не является каталогом: "_cp + Shown(places.User),
                              "The user's data directory is not a directory: " + Shown(places.User)};
      return choice;
    }
    choice.Dir = places.User;
    return choice;
  }
  if (!HoldsData(places.Installed)) {
    choice.Dir = places.Working;
    return choice;
  }
  if (const auto reason = CopyData(places.Installed, places.User)) {
    // Another start may have made the copy in the meantime; it is as good as ours.
    if (fs::is_directory(places.User, error)) {
      choice.Dir = places.User;
      return choice;
    }
    choice.Error = TMessage{"Не удалось скопировать данные программы в "_cp + Shown(places.User) + ": " +
                                Utf8ToCp1251(*reason),
                            "Could not copy the program's data to " + Shown(places.User) + ": " + *reason};
    return choice;
  }
  choice.Dir = places.User;
  choice.Copied = true;
  return choice;
}

}  // namespace lemmix
