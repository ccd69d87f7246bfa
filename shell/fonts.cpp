#include "shell/fonts.h"

#include <fstream>

#include "shell/files.h"

namespace lemmix {

bool LooksLikeFontFile(const std::string& path) {
  std::ifstream in(NativePath(path), std::ios::binary);
  char tag[4] = {};
  if (!in.read(tag, 4)) return false;
  const std::string magic(tag, 4);
  return magic == std::string("\0\1\0\0", 4) || magic == "true" || magic == "OTTO";
}

}  // namespace lemmix
