// The nodes of the book: a fixed tree of book, chapters, paragraphs and
// statements, each node stored as a small text file under the data
// directory's "book" directory.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lemmix {

// Header lines shared by every node.
inline constexpr int kFavouriteLine = 0;  // "S" when shown in user mode
inline constexpr int kHtmlLine = 1;       // the node's HTML text, relative to "book"
inline constexpr int kEnglishNameLine = 2;
inline constexpr int kRussianNameLine = 3;  // the title shown to the user
inline constexpr int kHeaderLines = 4;

class TPathName {
 public:
  static constexpr std::uint8_t kStatementLevel = 0;
  static constexpr std::uint8_t kParagraphLevel = 1;
  static constexpr std::uint8_t kChapterLevel = 2;

  explicit TPathName(std::uint8_t level = kChapterLevel);
  virtual ~TPathName();
  TPathName(const TPathName&) = delete;
  TPathName& operator=(const TPathName&) = delete;

  std::uint8_t Level;
  std::vector<std::string> Lines;
  bool Changed = false;
  bool Deleted = false;
  std::string Path;  // without extension; empty for a node not yet named

  // The last component of the path: the node's name in its parent's content file.
  std::string Name() const;
  const std::string& Title() const { return Lines[kRussianNameLine]; }
  bool Favourite() const { return Lines[kFavouriteLine] == "S"; }

  // The children of a section, in order; none for a statement.
  virtual std::size_t ChildCount() const { return 0; }
  virtual TPathName* Child(std::size_t) const { return nullptr; }
  virtual bool IsStatement() const { return false; }

  // Reads the node (and its children) from its files; true when anything
  // was missing or padded, so that a save would write it.
  virtual bool Load() = 0;
  // Writes what changed, removes the files of deleted nodes; false when
  // something changed could not be written (it stays marked changed).
  virtual bool Save() = 0;
};

}  // namespace lemmix
