#include "session/data_location.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

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

// What the copy remembers of the editions.
constexpr const char* kBasedOn = ".installed-edition";
constexpr const char* kDeclined = ".declined-edition";

// The user's own files in a data directory, by their path relative to it.
bool UsersOwn(const fs::path& relative) {
  const std::string top = relative.begin()->string();
  return top == "Protocols" || top == "Prt.dat" || top == "Prt.dat.resume" || top == "demo.prt" ||
         top == kBasedOn || top == kDeclined;
}

std::string ReadStamp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string stamp;
  std::getline(in, stamp);
  return stamp;
}

bool WriteStamp(const fs::path& file, const std::string& stamp) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << stamp << "\n";
  return static_cast<bool>(out.flush());
}

}  // namespace

std::string DataEdition(const fs::path& dir) {
  std::error_code error;
  std::vector<fs::path> files;
  for (fs::recursive_directory_iterator it(dir, error), end; !error && it != end; it.increment(error))
    if (it->is_regular_file(error) && !UsersOwn(it->path().lexically_relative(dir)))
      files.push_back(it->path().lexically_relative(dir));
  std::sort(files.begin(), files.end());
  // FNV-1a over the names and the contents, in the names' order.
  std::uint64_t hash = 14695981039346656037ull;
  const auto mix = [&hash](const char* bytes, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
      hash ^= static_cast<unsigned char>(bytes[i]);
      hash *= 1099511628211ull;
    }
  };
  std::vector<char> buffer(1 << 16);
  for (const fs::path& file : files) {
    const std::string name = file.generic_string();
    mix(name.data(), name.size() + 1);
    std::ifstream in(dir / file, std::ios::binary);
    while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0)
      mix(buffer.data(), static_cast<std::size_t>(in.gcount()));
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

bool OtherEditionInstalled(const TDataPlaces& places) {
  std::error_code error;
  if (places.User.empty() || !HoldsData(places.Installed) || !fs::is_directory(places.User, error)) return false;
  const std::string installed = DataEdition(places.Installed);
  if (ReadStamp(places.User / kDeclined) == installed) return false;
  std::string basedOn = ReadStamp(places.User / kBasedOn);
  if (basedOn.empty()) basedOn = DataEdition(places.User);
  return basedOn != installed;
}

std::optional<TMessage> TakeInstalledEdition(const TDataPlaces& places) {
  const auto failed = [&](const std::string& reason) {
    return TMessage{"Не удалось обновить данные в "_cp + Shown(places.User) + ": " + Utf8ToCp1251(reason),
                    "Could not update the data in " + Shown(places.User) + ": " + reason};
  };
  fs::path fresh = places.User;
  fresh += ".new";
  std::error_code error;
  fs::remove_all(fresh, error);
  if (const auto reason = CopyData(places.Installed, fresh)) return failed(*reason);
  // The user's own files go over into the new copy.
  for (fs::recursive_directory_iterator it(places.User, error), end; !error && it != end; it.increment(error)) {
    const fs::path relative = it->path().lexically_relative(places.User);
    if (!UsersOwn(relative) || !it->is_regular_file(error)) continue;
    fs::create_directories((fresh / relative).parent_path(), error);
    if (!error) fs::copy_file(it->path(), fresh / relative, fs::copy_options::overwrite_existing, error);
  }
  if (!error && !WriteStamp(fresh / kBasedOn, DataEdition(places.Installed))) error = std::make_error_code(std::errc::io_error);
  std::error_code ignored;
  if (error) {
    fs::remove_all(fresh, ignored);
    return failed(error.message());
  }
  fs::remove(fresh / kDeclined, ignored);
  fs::path previous = places.User;
  previous += ".previous";
  fs::remove_all(previous, ignored);
  fs::rename(places.User, previous, error);
  if (!error) fs::rename(fresh, places.User, error);
  if (error) {
    // Back as it was.
    if (!fs::exists(places.User, ignored)) fs::rename(previous, places.User, ignored);
    fs::remove_all(fresh, ignored);
    return failed(error.message());
  }
  return std::nullopt;
}

void DeclineInstalledEdition(const TDataPlaces& places) {
  WriteStamp(places.User / kDeclined, DataEdition(places.Installed));
}

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

TDataPlaces PlacesOfRun(const fs::path& executableDir) {
  TDataPlaces places;
  std::error_code error;
  places.Working = fs::current_path(error);
  places.Installed = InstalledDataDir(executableDir);
  places.User = UserDataDir(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
  return places;
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
  WriteStamp(places.User / kBasedOn, DataEdition(places.Installed));
  choice.Dir = places.User;
  choice.Copied = true;
  return choice;
}

}  // namespace lemmix
