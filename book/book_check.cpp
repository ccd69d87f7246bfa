#include "book/book_check.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "book/defined_notion.h"
#include "book/html_links.h"
#include "book/search.h"
#include "notation/parser.h"
#include "shell/files.h"

namespace lemmix {

namespace {

namespace fs = std::filesystem;

// The file part of a page reference, relative to the book directory.
std::string PageFile(const std::string& reference) { return reference.substr(0, reference.find('#')); }

std::vector<std::string> Links(const std::string& html) {
  std::vector<std::string> links;
  for (std::size_t at = html.find("href=\""); at != std::string::npos; at = html.find("href=\"", at)) {
    at += 6;
    const std::size_t end = html.find('"', at);
    if (end == std::string::npos) break;
    links.push_back(html.substr(at, end - at));
  }
  return links;
}

void CheckPage(const TBook& book, const fs::path& page, const std::string& name, std::vector<std::string>& faults) {
  std::ifstream in(page, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  for (const std::string& link : Links(text.str())) {
    if (IsCommandLink(link)) {
      const std::optional<THtmlCommand> command = ParseCommandLink(link);
      if (!command || !FindStatementByPath(book, command->Path)) faults.push_back(name + ": command link " + link);
      continue;
    }
    if (link.starts_with("http:") || link.starts_with("https:") || link.starts_with("#")) continue;
    if (!fs::exists(page.parent_path() / PageFile(link))) faults.push_back(name + ": link " + link);
  }
}

}  // namespace

std::vector<std::string> CheckBook(const TBook& book) {
  std::vector<std::string> faults;
  std::set<std::string> pages;
  std::map<std::string, std::string> englishNames;
  const auto checkNode = [&](const TPathName& node) {
    if (!node.Lines[kHtmlLine].empty()) {
      const std::string file = PageFile(node.Lines[kHtmlLine]);
      if (!FileExists(book.Path + "\\" + file)) faults.push_back(node.Path + ": page " + file + " is missing");
      else pages.insert(file);
    }
  };
  checkNode(book);
  WalkBook(book, {}, [&](TPathName& node, int) {
    checkNode(node);
    if (!node.IsStatement()) return true;
    const auto& statement = static_cast<const TStatement&>(node);
    const std::string& kind = statement.Kind();
    if (std::find(kStatementKindWords.begin(), kStatementKindWords.end() - 1, kind) == kStatementKindWords.end() - 1)
      faults.push_back(node.Path + ": unknown kind " + kind);
    if (kind != kStatementKindWords[kMethodKind]) {
      TExprPtr tree = TextToTree(statement.Lines[kFormulationLine]);
      TVarList variables;
      if (!tree || !DeclareVariables(*tree, variables, true)) faults.push_back(node.Path + ": formulation does not read");
    }
    if (kind == kStatementKindWords[kDefinitionKind]) {
      const std::string notion = statement.Lines.size() > kNotionLine ? statement.Lines[kNotionLine] : "";
      if (!DefinedNotionFunction(notion)) faults.push_back(node.Path + ": defined notion " + notion);
    }
    if (kind != kStatementKindWords[1]) {  // axioms are not proved
      const auto [at, fresh] = englishNames.emplace(statement.Lines[kEnglishNameLine], node.Path);
      if (!fresh) faults.push_back(node.Path + ": English name also at " + at->second);
    }
    return true;
  });
  for (const std::string& page : pages) CheckPage(book, fs::path(NativePath(book.Path + "\\" + page)), page, faults);
  return faults;
}

}  // namespace lemmix
