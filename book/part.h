// A section of the book: its content file lists its children by name.
#pragma once

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <type_traits>

#include "book/statement.h"
#include "shell/context.h"
#include "shell/files.h"
#include "shell/text.h"

namespace lemmix {

namespace book_files {
// The section's directory exists or could be made.
bool EnsureDirectory(const std::string& path);
// Removes the file when it exists.
void RemoveFile(const std::string& path);
// Removes the directory when it exists and is empty.
void RemoveEmptyDirectory(const std::string& path);
// The lines of a node's file; nothing for a missing file, which the node
// creates. A file that is there but cannot be read is said and taken as
// `unreadable`: it must never be written over.
std::optional<std::vector<std::string>> ReadNodeFile(const std::string& path, bool& unreadable);
}  // namespace book_files

template <typename T>
class TPart : public TPathName {
 public:
  using ChildType = T;
  static constexpr std::uint8_t kLevel =
      std::is_same_v<T, TStatement> ? TPathName::kParagraphLevel : TPathName::kChapterLevel;

  TPart() : TPathName(kLevel) {}

  std::vector<std::unique_ptr<T>> Children;

  std::size_t ChildCount() const override { return Children.size(); }
  TPathName* Child(std::size_t i) const override { return Children[i].get(); }

  bool Load() override {
    Children.clear();
    bool unreadable = false;
    const std::optional<std::vector<std::string>> lines = book_files::ReadNodeFile(Path + "\\content", unreadable);
    if (!lines) {
      Changed = !unreadable;
      return Changed;
    }
    Lines = *lines;
    if (Lines.size() < kHeaderLines) {
      Lines.resize(kHeaderLines);
      Changed = true;
      return true;  // the children of a padded file are not read
    }
    bool changed = Changed;
    // A failed start-up (a message during loading) stops reading further children.
    for (std::size_t i = kHeaderLines; i < Lines.size() && (!HasContext() || Ctx().StartupOk); ++i) {
      // A blank line names no child: read as one, it would stand for the
      // section's own directory and be saved as a file without a name.
      const std::string_view name = Trim(Lines[i]);
      if (name.empty()) continue;
      auto child = std::make_unique<T>();
      child->Path = Path + "\\" + std::string(name);
      changed = child->Load() || changed;
      Children.push_back(std::move(child));
    }
    return changed;
  }

  bool Save() override {
    if (!Deleted && !book_files::EnsureDirectory(Path)) return false;
    Lines.resize(kHeaderLines);
    bool saved = true;
    for (auto child = Children.begin(); child != Children.end();) {
      saved = (*child)->Save() && saved;
      if ((*child)->Deleted) {
        // The content file must stop naming it.
        Changed = true;
        child = Children.erase(child);
      } else {
        Lines.push_back((*child)->Name());
        ++child;
      }
    }
    if (Deleted) {
      book_files::RemoveFile(Path + "\\content");
      book_files::RemoveEmptyDirectory(Path);
    } else if (Changed) {
      if (!WriteLinesReplacing(Path + "\\content", Lines)) return false;
      Changed = false;
    }
    return saved;
  }

  // Path for a new child: one more than the largest number among the
  // children's names (deleted ones too, until the next save), 0 for the first.
  std::string NewChildPath() const {
    std::uint64_t next = 0;
    for (const auto& child : Children) {
      const std::string name = child->Name();
      std::uint64_t number = 0;
      const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
      // A name at the very top of the range has no successor to take.
      if (error == std::errc{} && end == name.data() + name.size() && number < UINT64_MAX)
        next = std::max(next, number + 1);
    }
    return Path + "\\" + std::to_string(next);
  }

  // A new child with default lines at the position (clamped to the end).
  T& InsertChild(std::size_t position) {
    auto child = std::make_unique<T>();
    child->Path = NewChildPath();
    child->Changed = true;
    Changed = true;
    position = std::min(position, Children.size());
    return **Children.insert(Children.begin() + static_cast<std::ptrdiff_t>(position), std::move(child));
  }
};

using TParagraph = TPart<TStatement>;
using TChapter = TPart<TParagraph>;

// The root of the book, at the data directory's "book" directory.
class TBook : public TPart<TChapter> {};

// Deleting a node: it and its files go at the next save.
void DeleteNode(TPathName& node);

}  // namespace lemmix
