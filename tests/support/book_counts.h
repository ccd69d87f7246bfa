// What the bundled book holds, counted from its content files: the tests that
// list the whole book compare with it instead of with a number that changes
// with every edition.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace lemmix::testing {

struct TBookCounts {
  int Chapters = 0;
  int Paragraphs = 0;
  int Statements = 0;
};

// The children a content file lists (the lines after its four header lines).
inline std::vector<std::string> ContentChildren(const std::filesystem::path& directory) {
  std::ifstream in(directory / "content", std::ios::binary);
  std::vector<std::string> children;
  std::string line;
  for (int index = 0; std::getline(in, line); ++index) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (index >= 4 && !line.empty()) children.push_back(line);
  }
  return children;
}

// A statement counts when its file is there, as the book loads it.
inline TBookCounts CountBook(const std::filesystem::path& book) {
  TBookCounts counts;
  for (const std::string& chapter : ContentChildren(book)) {
    ++counts.Chapters;
    for (const std::string& paragraph : ContentChildren(book / chapter)) {
      ++counts.Paragraphs;
      for (const std::string& statement : ContentChildren(book / chapter / paragraph))
        counts.Statements += std::filesystem::is_regular_file(book / chapter / paragraph / (statement + ".st"));
    }
  }
  return counts;
}

}  // namespace lemmix::testing
