#include "session/book_check.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "book/defined_notion.h"
#include "book/html_links.h"
#include "book/search.h"
#include "intrinsics/intr_numbers.h"
#include "notation/parser.h"
#include "prover/definition.h"
#include "shell/context.h"
#include "shell/files.h"
#include "shell/text.h"
#include "shell/text_helpers.h"
#include "types/types_proccess.h"
#include "intrinsics/st_func.h"

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

// The sources of a page's images: the src attribute of every img tag, quoted or not.
std::vector<std::string> ImageSources(const std::string& html) {
  std::string lower = html;  // tag and attribute names in any case; positions stay those of `html`
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
  std::vector<std::string> sources;
  for (std::size_t tag = lower.find("<img"); tag != std::string::npos; tag = lower.find("<img", tag + 4)) {
    const std::size_t close = lower.find('>', tag);
    std::size_t at = tag;
    // "src=" as a whole attribute name, not the end of another ("data-src=").
    do at = lower.find("src=", at + 1);
    while (at != std::string::npos && at < close && !std::isspace(static_cast<unsigned char>(lower[at - 1])));
    if (at == std::string::npos || at > close) continue;
    at += 4;
    const bool quoted = at < html.size() && (html[at] == '"' || html[at] == '\'');
    const std::size_t end = quoted ? html.find(html[at], at + 1) : html.find_first_of(" \t\r\n>", at);
    if (quoted) ++at;
    sources.push_back(html.substr(at, end == std::string::npos ? std::string::npos : end - at));
  }
  return sources;
}

// Whether a file starts as a PNG, JPEG or GIF picture does: the formats the HTML window shows.
bool IsPicture(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  char head[8] = {};
  in.read(head, sizeof head);
  const std::string_view bytes(head, static_cast<std::size_t>(in.gcount()));
  return bytes.starts_with("\x89PNG\r\n\x1a\n") || bytes.starts_with("\xFF\xD8\xFF") || bytes.starts_with("GIF8");
}

// The pages' texts, each read once however many nodes and links point into it.
class TPages {
 public:
  const std::string& Text(const fs::path& page) {
    auto [at, fresh] = texts_.try_emplace(page);
    if (fresh) {
      std::ifstream in(page, std::ios::binary);
      at->second.assign(std::istreambuf_iterator<char>(in), {});
    }
    return at->second;
  }

 private:
  std::map<fs::path, std::string> texts_;
};

// Whether the place a reference names after "#" exists in the page (no "#": the page itself).
bool HasAnchor(const std::string& html, const std::string& reference) {
  const std::size_t hash = reference.find('#');
  if (hash == std::string::npos) return true;
  const std::string anchor = reference.substr(hash + 1);
  return html.find("id=\"" + anchor + "\"") != std::string::npos ||
         html.find("name=\"" + anchor + "\"") != std::string::npos;
}

void CheckPage(const TBook& book, TPages& pages, const fs::path& page, const std::string& name,
               std::vector<std::string>& faults) {
  const std::string& text = pages.Text(page);
  for (const std::string& link : Links(text)) {
    if (IsCommandLink(link)) {
      const std::optional<THtmlCommand> command = ParseCommandLink(link);
      if (!command || !FindStatementByPath(book, command->Path)) faults.push_back(name + ": command link " + link);
      continue;
    }
    if (link.starts_with("http:") || link.starts_with("https:")) continue;
    const fs::path target = link.starts_with("#") ? page : page.parent_path() / PageFile(link);
    if (!fs::exists(target) || !HasAnchor(pages.Text(target), link)) faults.push_back(name + ": link " + link);
  }
  // The HTML window loads pictures from the book's files only: nothing from the network or an absolute path.
  for (const std::string& source : ImageSources(text)) {
    const fs::path image = page.parent_path() / source;
    if (source.empty() || source.find(':') != std::string::npos || source.starts_with("/") || source.starts_with("\\"))
      faults.push_back(name + ": image " + source + " is not a file of the book");
    else if (!fs::is_regular_file(image))
      faults.push_back(name + ": image " + source + " is missing");
    else if (!IsPicture(image))
      faults.push_back(name + ": image " + source + " is not a picture");
  }
}

// A notion under one of its types: usable only after a definition opens it.
using TNotionUse = std::pair<const TIntr*, const TType*>;

void CollectClosedUses(const TExpr& e, std::set<TNotionUse>& uses) {
  if (e.Class == TClass::Intr && e.Type)
    for (const TConcreteType& concrete : e.Intrinsic()->ConcreteTypes)
      if (concrete.Mode == TConcreteType::UntilDefined && concrete.Type == e.Type) uses.insert({e.Intrinsic(), e.Type});
  if (e.Class == TClass::Compound)
    for (const TExprPtr& child : e.Children()) CollectClosedUses(*child, uses);
}

// The uses a notion field opens: its function under each type it lists.
std::vector<TNotionUse> OpenedUses(const TIntr& notion, const std::string& field) {
  std::vector<TNotionUse> opened;
  const std::size_t open = field.find('('), close = field.rfind(')');
  if (open == std::string::npos || close == std::string::npos || close < open) return opened;
  for (const std::string& id : SplitFields(field.substr(open + 1, close - open - 1), ','))
    if (const TType* type = Ctx().TypesProccess->FindType(id, false)) opened.push_back({&notion, type});
  return opened;
}

bool LeftNestedImplication(const TExpr& e) {
  if (e.Class != TClass::Compound) return false;
  // Children()[0] is the head; the premise follows it.
  if (e.HeadIntrinsic() == kImplies && e.Children().size() > 1 && e.Children()[1]->HeadIntrinsic() == kImplies) return true;
  for (const TExprPtr& child : e.Children())
    if (LeftNestedImplication(*child)) return true;
  return false;
}

std::string NotionText(const TNotionUse& use) { return use.first->Name + " (" + use.second->Name + ")"; }

}  // namespace

std::vector<std::string> CheckBook(const TBook& book) {
  std::vector<std::string> faults;
  std::set<std::string> pages;
  TPages texts;
  std::map<std::string, std::string> englishNames;
  std::set<TNotionUse> defined;
  const auto checkNode = [&](const TPathName& node) {
    if (!node.Lines[kHtmlLine].empty()) {
      const std::string file = PageFile(node.Lines[kHtmlLine]);
      const std::string path = book.Path + "\\" + file;
      if (!FileExists(path))
        faults.push_back(node.Path + ": page " + file + " is missing");
      else if (!HasAnchor(texts.Text(NativePath(path)), node.Lines[kHtmlLine]))
        faults.push_back(node.Path + ": page " + node.Lines[kHtmlLine] + " has no such place");
      else
        pages.insert(file);
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
    std::vector<TNotionUse> opened;
    if (kind == kStatementKindWords[kDefinitionKind]) {
      const std::string notion = statement.Lines.size() > kNotionLine ? statement.Lines[kNotionLine] : "";
      const TIntr* function = DefinedNotionFunction(notion);
      if (function) opened = OpenedUses(*function, notion);
      if (opened.empty()) faults.push_back(node.Path + ": defined notion " + notion);
      defined.insert(opened.begin(), opened.end());
    }
    if (kind != kStatementKindWords[kMethodKind]) {
      const TReadFormula read = ReadFormula(statement.Lines[kFormulationLine]);
      const TExpr* tree = read.Tree.get();
      if (!tree) {
        faults.push_back(node.Path + ": formulation does not read");
      } else {
        // A definition defines its notion under the types it names.
        const std::set<const TType*> usedTypes =
            opened.empty() ? std::set<const TType*>{} : TypesOfUses(*tree, *opened.front().first);
        for (const TNotionUse& use : opened)
          if (!usedTypes.contains(use.second))
            faults.push_back(node.Path + ": the formulation does not use " + NotionText(use));
        // Each single definition must be one the proof of correctness can read.
        if (!opened.empty())
          for (const TSingleDefinition& definition : SplitDefinitions(*tree)) {
            const auto analysis = AnalyseDefinition(definition, *opened.front().first);
            if (const TMessage* fault = std::get_if<TMessage>(&analysis))
              faults.push_back(node.Path + ": " + fault->Eng);
          }
        // "A \implies B \implies C" reads (A => B) => C, which a statement
        // almost never means: the conclusion wants its brackets.
        if (LeftNestedImplication(*tree))
          faults.push_back(node.Path + ": an implication whose premise is an implication (bracket the conclusion: A => (B => C))");
        std::set<TNotionUse> uses;
        CollectClosedUses(*tree, uses);
        for (const TNotionUse& use : uses)
          if (!defined.contains(use))
            faults.push_back(node.Path + ": " + NotionText(use) + " is used before its definition");
      }
    }
    if (kind != kStatementKindWords[1]) {  // axioms are not proved
      const auto [at, fresh] = englishNames.emplace(statement.Lines[kEnglishNameLine], node.Path);
      if (!fresh) faults.push_back(node.Path + ": English name also at " + at->second);
    }
    return true;
  });
  for (const std::string& page : pages)
    CheckPage(book, texts, fs::path(NativePath(book.Path + "\\" + page)), page, faults);
  return faults;
}

}  // namespace lemmix
