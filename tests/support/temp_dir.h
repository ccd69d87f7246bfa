// A fresh directory under the system's temporary directory, removed with its
// contents at the end of the test.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace lemmix::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // Writes the bytes as they are into a file of the directory.
  void Write(const std::string& name, std::string_view bytes) const;
  // The bytes of a file of the directory (empty when there is none).
  std::string Read(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

// Joins lines with CR LF after each, as the data files are stored.
std::string CrLf(std::initializer_list<std::string_view> lines);

}  // namespace lemmix::testing
