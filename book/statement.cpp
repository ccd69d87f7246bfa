#include "book/statement.h"

#include <algorithm>
#include <filesystem>

#include "book/part.h"
#include "shell/context.h"
#include "shell/cp1251.h"
#include "shell/files.h"
#include "shell/text_helpers.h"

namespace lemmix {

namespace {
TStatement::MethodBuilder methodBuilder;
}  // namespace

void TStatement::SetMethodBuilder(MethodBuilder builder) { methodBuilder = std::move(builder); }

std::size_t StatementLineCount(std::string_view kind) {
  if (kind == kStatementKindWords[kDefinitionKind]) return kDefinitionLines;
  if (kind == kStatementKindWords[kMethodKind]) return kMethodLines;
  return kStatementLines;
}

TStatement::TStatement() : TPathName(kStatementLevel) { Lines.resize(kStatementLines); }

std::string TStatement::UserProtocolDirectory() const { return UserProtocolPath(Path); }

namespace {

void AddProtocolNames(const std::string& directory, std::vector<std::string>& names) {
  namespace fs = std::filesystem;
  std::error_code error;
  std::vector<std::string> found;
  for (const fs::directory_entry& entry : fs::directory_iterator(NativePath(directory), error)) {
    if (entry.is_regular_file(error) && entry.path().extension() == ".prt") {
      if (const std::optional<std::string> name = SystemPath(entry.path().stem().string())) found.push_back(*name);
    }
  }
  std::sort(found.begin(), found.end());
  names.insert(names.end(), found.begin(), found.end());
}

}  // namespace

std::vector<std::string> TStatement::ProtocolNames(bool userMode) const {
  std::vector<std::string> names;
  AddProtocolNames(ProtocolDirectory(), names);
  if (userMode) AddProtocolNames(UserProtocolDirectory(), names);
  return names;
}

bool TStatement::Load() {
  Method.reset();
  bool unreadable = false;
  const std::optional<std::vector<std::string>> lines = book_files::ReadNodeFile(Path + ".st", unreadable);
  if (!lines) {
    if (Lines.size() < kStatementLines) Lines.resize(kStatementLines);
    Changed = !unreadable;
    return Changed;
  }
  Lines = *lines;
  if (Lines.size() < kStatementLines) Lines.resize(kStatementLines);
  // The builder sees the data as the file has them, so that it can tell
  // missing data from empty ones; a failure is reported by the builder and
  // the statement loads without object.
  BuildMethod();
  // Whatever reads the lines of the kind finds them all, empty where the file
  // ends early; the file itself stays as it is until the statement changes.
  const std::size_t count = StatementLineCount(Kind());
  if (Lines.size() < count) Lines.resize(count);
  Changed = false;
  return false;
}

bool TStatement::BuildMethod() {
  Method.reset();
  if (Kind() != kStatementKindWords[kMethodKind]) return true;
  // Without a builder there is nothing a method's data could build.
  if (!methodBuilder) return true;
  Method = methodBuilder(*this);
  return Method != nullptr;
}

bool TStatement::Save() {
  if (!Deleted) {
    if (!Changed) return true;
    if (!WriteLinesReplacing(Path + ".st", Lines)) return false;
    Changed = false;
    return true;
  }
  book_files::RemoveFile(Path + ".st");
  // The statement's proof protocols go with it.
  namespace fs = std::filesystem;
  const fs::path protocols(NativePath(ProtocolDirectory()));
  std::error_code error;
  if (!fs::is_directory(protocols, error)) return true;
  for (const fs::directory_entry& entry : fs::directory_iterator(protocols, error)) {
    if (entry.is_regular_file(error)) fs::remove(entry.path(), error);
  }
  fs::remove(protocols, error);
  return true;
}

void TStatement::Copy(TStatement& target, const TStatement& source, bool withMethod) {
  target.Method.reset();
  target.Path = source.Path;
  target.Lines = source.Lines;
  target.Changed = source.Changed;
  target.Deleted = false;
  if (withMethod && source.Method) target.Method = source.Method->Copy();
}

namespace book_files {

bool EnsureDirectory(const std::string& path) {
  std::error_code error;
  const std::filesystem::path directory(NativePath(path));
  if (std::filesystem::is_directory(directory, error)) return true;
  return std::filesystem::create_directories(directory, error) && !error;
}

void RemoveFile(const std::string& path) {
  std::error_code error;
  std::filesystem::remove(NativePath(path), error);
}

std::optional<std::vector<std::string>> ReadNodeFile(const std::string& path, bool& unreadable) {
  std::optional<std::vector<std::string>> lines = ReadLines(path);
  std::error_code error;
  unreadable = !lines && std::filesystem::exists(NativePath(path), error);
  if (unreadable && HasContext())
    Ctx().Messages.Error({"Не удалось прочитать файл "_cp + DisplayPath(path) + ". Он не будет перезаписан."_cp,
                          "Unable to read file " + DisplayPath(path) + ". It will not be written over."});
  return lines;
}

void RemoveEmptyDirectory(const std::string& path) {
  std::error_code error;
  const std::filesystem::path directory(NativePath(path));
  if (std::filesystem::is_directory(directory, error) && std::filesystem::is_empty(directory, error)) {
    std::filesystem::remove(directory, error);
  }
}

}  // namespace book_files

void DeleteNode(TPathName& node) {
  node.Deleted = true;
  node.Changed = true;
  // Everything below goes too, so that no file of the section is left behind.
  for (std::size_t i = 0; i < node.ChildCount(); ++i) DeleteNode(*node.Child(i));
}

}  // namespace lemmix
