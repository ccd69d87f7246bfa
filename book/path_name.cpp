#include "book/path_name.h"

#include "shell/cp1251.h"

namespace lemmix {

TPathName::TPathName(std::uint8_t level) : Level(level), Lines{"", "", "No name", "Нет названия"_cp} {}

TPathName::~TPathName() = default;

std::string TPathName::Name() const {
  const std::size_t slash = Path.find_last_of('\\');
  return slash == std::string::npos ? Path : Path.substr(slash + 1);
}

}  // namespace lemmix
