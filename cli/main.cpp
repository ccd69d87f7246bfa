// lemmix-cli: the core of Lemmix without a window.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_messages.h"
#include "session/book_check.h"
#include "cli/book_listing.h"
#include "cli/listing.h"
#include "cli/export_command.h"
#include "cli/methods_command.h"
#include "cli/prove_command.h"
#include "cli/task_command.h"
#include "cli/verify_command.h"
#include "proofrun/assot.h"
#include "shell/context.h"
#include "types/types_proccess.h"
#include "shell/cp1251.h"
#include "shell/files.h"
#include "shell/text.h"
#include "shell/fonts.h"
#include "session/startup.h"
#include "session/data_location.h"
#include "expr/expr.h"
#include "expr/number.h"
#include "expr/arithm.h"
#include "expr/logic.h"
#include "expr/typing.h"
#include "notation/output.h"
#include "notation/parser.h"
#include "types/type.h"
#include "types/type_name.h"
#include "intrinsics/st_func.h"

namespace {

constexpr const char* kUsage =
    "Usage: lemmix-cli [--lang ru|en] [--yes] COMMAND [ARGS]\n"
    "\n"
    "Commands (DIR is a data directory; default: the working directory):\n"
    "  check [DIR]                          load the catalogues, check the font and load\n"
    "                                       the book as the program's start does; exit 0\n"
    "                                       when the start would succeed, 1 otherwise\n"
    "  book [DIR] [--mode user|developer]   the contents of the book with kinds and paths\n"
    "  search TEXT [DIR] [--kind K] [--mode user|developer]\n"
    "                                       statements whose names contain TEXT (\"\" for\n"
    "                                       any); K: definition, axiom, theorem, lemma,\n"
    "                                       task or method\n"
    "  intrinsics [DIR] [--format text|md]  list the intrinsic functions\n"
    "  keyboard [DIR]                       the keys of the formula editor, as Markdown\n"
    "  expr TEXT [DIR]                      read an expression in the storage form and\n"
    "                                       print it back with its size and head number\n"
    "  type TEXT [DIR]                      type an expression in the storage form: its\n"
    "                                       type identifier and descriptive name\n"
    "  normalize TEXT [DIR] [--pipeline]    simplify a condition or standardise a term in\n"
    "                                       the storage form (--pipeline: the whole\n"
    "                                       standardisation of a condition)\n"
    "  parse TEXT [DIR] [--unicode]         read a formula in stored text: its tree in the\n"
    "                                       storage form, its type, and the text printed back;\n"
    "                                       a fault is marked by a caret under the text\n"
    "  print TEXT [DIR] [--unicode]         write a tree in the storage form as stored text\n"
    "  match TARGET PATTERN [DIR] [--unicode]\n"
    "                                       match a tree against a pattern, both in the\n"
    "                                       storage form (the pattern's template parameters\n"
    "                                       typed there): every binding found, one line per\n"
    "                                       parameter, alternatives apart; or \"no match\"\n"
    "  task PATH [DIR] [--unicode] [--trace]\n"
    "                                       the proof task of the statement at a book path\n"
    "                                       (book\\3\\2\\4 or book/3/2/4) after the automatic\n"
    "                                       tests: the four sections, the flags, with --trace\n"
    "                                       what the tests did, and \"proved: yes\" or \"proved: no\"\n"
    "  methods PATH [DIR]                   the book's methods before the statement at PATH\n"
    "                                       (book: all of them): path, type, the word each\n"
    "                                       rewrites, \"proved\" when a protocol of its own\n"
    "                                       proves it correct, its name; then how many a\n"
    "                                       proof there may use\n"
    "  task --all [DIR] [--json FILE]       the task of every statement in the book's order,\n"
    "                                       a line each and a summary (--json: also as JSON)\n"
    "  data [take]                          where the data lives for this user, chosen (and on the\n"
    "                                       first run copied from the installed data) as lemmix\n"
    "                                       chooses it at start; \"take\" takes another edition\n"
    "                                       that an upgrade installed, keeping the user's protocols\n"
    "  prove PATH [DIR] --answers FILE [--protocol OUT] [--unicode] [--trace] [--journal]\n"
    "                                       prove the statement by the commands and dialog\n"
    "                                       answers of FILE (docs/prove.md): a line per command\n"
    "                                       with where the proof stands, the proof field where\n"
    "                                       FILE ends, \"proved: yes\" or \"proved: no\"; --protocol\n"
    "                                       writes the protocol to OUT, or with a bare name\n"
    "                                       saves it beside the statement as NAME.prt (--yes\n"
    "                                       to overwrite); exit 0 when proved\n"
    "                                       --journal keeps the journal Prt.dat in DIR as the\n"
    "                                       proof window does\n"
    "  resume [DIR] [--answers FILE] [--protocol OUT] [--unicode] [--trace]\n"
    "                                       resume the proof that the journal Prt.dat of DIR\n"
    "                                       holds and that did not end (the program stopped):\n"
    "                                       its commands replayed, then FILE's, as prove goes on\n"
    "  verify [DIR] [PATH...] [--junit FILE] [--json FILE] [--jobs N] [--quiet]\n"
    "                                       replay every saved protocol (NAME.prt) of the\n"
    "                                       book, or of the parts PATH (book/3, book/3/5,\n"
    "                                       book/3/5/3), through the prover: a line per\n"
    "                                       protocol (a progress bar on a terminal; --quiet:\n"
    "                                       failures only), a summary, JUnit XML and JSON\n"
    "                                       reports; --jobs runs N processes; exit 0 when\n"
    "                                       every protocol proves its statement\n"
    "  export PROTOCOL [DIR] [--text|--html]\n"
    "                                       a saved proof protocol (NAME.prt) as a proof to\n"
    "                                       read: the statement, its formulation and every\n"
    "                                       step in words, formulas in the mathematical\n"
    "                                       letters; UTF-8 text (default) or an HTML page\n"
    "  number add|mul|pow|sqrt|inv A [B]    exact arithmetic; a number is an integer,\n"
    "                                       a fraction p/q or a decimal 1.5\n"
    "\n"
    "Options:\n"
    "  --lang en     show messages in English (default: Russian)\n"
    "  --yes         answer Yes to every question (default: No)\n"
    "  --unicode     show formulas as the letters of the mathematical font (∀x∈ℝ ...)\n"
    "  --storage     normalize reads and writes the storage form instead of stored text\n";

// Without a window the font is not installed: it is checked to be a font file.
class FontFileCheck : public lemmix::IFontInstaller {
 public:
  bool Install(const std::string& path) override { return lemmix::LooksLikeFontFile(path); }
  void Uninstall() override {}
};

// An integer, a fraction p/q (or (p/q)) or a decimal.
std::optional<lemmix::TNumber> ReadNumber(std::string text) {
  if (text.size() > 2 && text.front() == '(' && text.back() == ')') text = text.substr(1, text.size() - 2);
  const std::size_t slash = text.find('/');
  if (slash == std::string::npos) {
    if (text.starts_with('-')) {
      std::optional<lemmix::TNumber> n = lemmix::NumberFromString(text.substr(1));
      if (n) lemmix::Negate(*n);
      return n;
    }
    return lemmix::NumberFromString(text);
  }
  const auto p = lemmix::NumberFromString(text.substr(0, slash));
  const auto q = lemmix::NumberFromString(text.substr(slash + 1));
  if (!p || !q || !p->IsInteger() || !q->IsInteger() || q->Integer() == 0) return std::nullopt;
  return lemmix::TNumber::Fraction(p->Integer(), q->Integer());
}

int Number(lemmix::CliMessages& messages, const std::vector<std::string>& args) {
  if (args.empty()) return -1;
  const std::string& op = args[0];
  const bool unary = op == "sqrt" || op == "inv";
  if (args.size() != (unary ? 2u : 3u)) return -1;
  const std::optional<lemmix::TNumber> a = ReadNumber(args[1]);
  const std::optional<lemmix::TNumber> b = unary ? a : ReadNumber(args[2]);
  if (!a || !b) {
    std::fprintf(stderr, "not a number: %s\n", (!a ? args[1] : args[2]).c_str());
    return 1;
  }
  std::optional<lemmix::TNumber> result;
  if (op == "add") result = lemmix::Add(*a, *b);
  else if (op == "mul") result = lemmix::Multiply(*a, *b);
  else if (op == "pow") result = lemmix::Power(*a, *b, messages);
  else if (op == "sqrt") result = lemmix::Sqrt(*a);
  else if (op == "inv") {
    result = *a;
    lemmix::Invert(*result, messages);
  } else {
    return -1;
  }
  if (!result) {
    std::puts("no value");
    return 1;
  }
  std::printf("%s\n", lemmix::NumberToString(*result).c_str());
  return messages.ErrorCount() == 0 ? 0 : 1;
}

// In a text of the storage form every data and required variable is a variable
// of its own; the same name means the same object of the proof.
void ShareVariablesByName(lemmix::TExpr& e, std::vector<lemmix::TVarPtr>& seen) {
  if (e.Class == lemmix::TClass::DataVar || e.Class == lemmix::TClass::ProveVar) {
    const auto* owned = std::get_if<lemmix::TVarPtr>(&e.Data);
    if (owned != nullptr) {
      for (const lemmix::TVarPtr& v : seen) {
        if (v->Name == (*owned)->Name) {
          e.Data = v;
          return;
        }
      }
      seen.push_back(*owned);
    }
  }
  if (e.Class == lemmix::TClass::Compound)
    for (lemmix::TExprPtr& child : e.Children()) ShareVariablesByName(*child, seen);
}

// The text and under it a caret at the character `place` (the end when it is past the last).
std::string CaretUnder(const std::string& text, std::size_t place) {
  std::string caret;
  for (std::size_t i = 0; i < place && i < text.size(); ++i) caret += text[i] == '\t' ? '\t' : ' ';
  return lemmix::Cp1251ToUtf8(text) + "\n" + caret + "^\n";
}

// Where the program's data lives for this user, chosen (and on the first
// run made) as the program chooses it at start; "take" takes another edition
// of the installed data into the user's copy.
int DataPlace(lemmix::CliMessages& messages, bool take) {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  const lemmix::TDataPlaces places = lemmix::PlacesOfRun(error ? std::filesystem::path(".") : exe.parent_path());
  const lemmix::TDataChoice choice = lemmix::ChooseDataDirectory(places);
  if (choice.Error) {
    messages.Error(*choice.Error);
    return 1;
  }
  const bool user = choice.Dir == places.User;
  bool other = user && lemmix::OtherEditionInstalled(places);
  if (take && other) {
    if (const std::optional<lemmix::TMessage> failure = lemmix::TakeInstalledEdition(places)) {
      messages.Error(*failure);
      return 1;
    }
    other = false;
  }
  std::printf("data: %s\n", choice.Dir.string().c_str());
  std::printf("%s\n", choice.Copied ? "made now from the installed data"
                       : user        ? "the user's copy of the installed data"
                                     : "the working directory");
  std::printf("installed: %s\n", places.Installed.string().c_str());
  if (user) std::printf("another edition installed: %s\n", other ? "yes" : "no");
  return 0;
}

int Usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

// Loads the data directory as the start-up does; false after the messages.
bool Start(lemmix::TSession& context, const std::vector<std::string>& dirs) {
  if (dirs.empty()) return lemmix::RunStartup(context);
  const auto dir = lemmix::SystemPath(dirs[0]);
  if (!dir) {
    std::fprintf(stderr, "%s: the path has characters outside Windows-1251\n", dirs[0].c_str());
    return false;
  }
  context.Dir = *dir;
  return lemmix::LoadCatalogues(context);
}

// lemmix-cli verify [DIR] [PATH...] [--junit FILE] [--json FILE] [--jobs N] [--quiet] [--lang en|ru]
int Verify(bool english, bool yes, const char* program, const std::vector<std::string>& args) {
  lemmix::TVerifyOptions options;
  options.English = english;
  // The jobs run this very program.
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  options.Program = error ? std::string(program) : self.string();
  std::vector<std::string> dirs;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool valued = i + 1 < args.size();
    if (arg == "--junit" && valued) options.Junit = args[++i];
    else if (arg == "--json" && valued) options.Json = args[++i];
    else if (arg == "--jobs" && valued) {
      const std::optional<int> jobs = lemmix::ParseInt(args[++i]);
      if (!jobs || *jobs < 1 || *jobs > 256) return Usage();
      options.Jobs = *jobs;
    } else if (arg == "--quiet") options.Quiet = true;
    else if (arg == "--lang" && valued) {
      const std::string& lang = args[++i];
      if (lang != "en" && lang != "ru") return Usage();
      options.English = lang == "en";
    } else if (arg.starts_with("--")) return Usage();
    else if (lemmix::IsBookPath(arg)) options.Paths.push_back(arg);
    else if (dirs.empty() && options.Paths.empty()) dirs.push_back(arg);
    else return Usage();
  }
  if (!dirs.empty()) options.Dir = dirs[0];
  lemmix::CliMessages messages(options.English, yes);
  FontFileCheck fontCheck;
  lemmix::TSession context(messages, messages, &fontCheck);
  const lemmix::TContextScope scope(context);
  if (!Start(context, dirs)) return 2;
  return lemmix::RunVerify(context, options);
}

}  // namespace

int main(int argc, char** argv) {
  bool english = false;
  bool yes = false;
  bool pipeline = false;
  bool unicode = false;
  bool storage = false;
  bool trace = false;
  bool all = false;
  bool journal = false;
  std::optional<bool> html;
  std::optional<std::string> json;
  std::optional<std::string> answers;
  std::optional<std::string> protocolOut;
  std::optional<bool> userMode;
  std::optional<int> kind;
  std::optional<lemmix::ListingFormat> format;
  std::vector<std::string> words;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (words.empty() && arg == "verify") return Verify(english, yes, argv[0], std::vector<std::string>(argv + i + 1, argv + argc));
    if (arg == "--lang" && i + 1 < argc) {
      const std::string lang = argv[++i];
      if (lang != "en" && lang != "ru") return Usage();
      english = lang == "en";
    } else if (arg == "--format" && i + 1 < argc) {
      const std::string name = argv[++i];
      if (name != "text" && name != "md") return Usage();
      format = name == "md" ? lemmix::ListingFormat::Markdown : lemmix::ListingFormat::Text;
    } else if (arg == "--mode" && i + 1 < argc) {
      const std::string mode = argv[++i];
      if (mode != "user" && mode != "developer") return Usage();
      userMode = mode == "user";
    } else if (arg == "--kind" && i + 1 < argc) {
      const std::string name = argv[++i];
      const auto* found = std::find(lemmix::kStatementKindWords.begin(), lemmix::kStatementKindWords.end() - 1, name);
      if (found == lemmix::kStatementKindWords.end() - 1) return Usage();
      kind = static_cast<int>(found - lemmix::kStatementKindWords.begin());
    } else if (arg == "--json" && i + 1 < argc) {
      json = argv[++i];
    } else if (arg == "--answers" && i + 1 < argc) {
      answers = argv[++i];
    } else if (arg == "--protocol" && i + 1 < argc) {
      protocolOut = argv[++i];
    } else if (arg == "--trace") {
      trace = true;
    } else if (arg == "--journal") {
      journal = true;
    } else if (arg == "--html" || arg == "--text") {
      html = arg == "--html";
    } else if (arg == "--all") {
      all = true;
    } else if (arg == "--unicode") {
      unicode = true;
    } else if (arg == "--storage") {
      storage = true;
    } else if (arg == "--pipeline") {
      pipeline = true;
    } else if (arg == "--yes") {
      yes = true;
    } else if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg.starts_with("--")) {
      return Usage();
    } else {
      words.push_back(arg);
    }
  }
  if (words.empty()) return Usage();
  const std::string command = words.front();
  const std::vector<std::string> args(words.begin() + 1, words.end());
  if ((format && command != "intrinsics") || ((pipeline || storage) && command != "normalize") ||
      (unicode && command != "parse" && command != "print" && command != "normalize" && command != "match" &&
       command != "task" && command != "prove" && command != "resume") ||
      ((trace || all || json) && command != "task" && !(trace && (command == "prove" || command == "resume"))) ||
      ((answers || protocolOut) && command != "prove" && command != "resume") || (command == "prove" && !answers) ||
      (journal && command != "prove") || (json && !all) || (trace && all) ||
      (userMode && command != "book" && command != "search") || (kind && command != "search") ||
      (html && command != "export"))
    return Usage();

  lemmix::CliMessages messages(english, yes);
  if (command == "data") {
    if (args.size() > 1 || (args.size() == 1 && args[0] != "take")) return Usage();
    return DataPlace(messages, args.size() == 1);
  }
  if (command == "number") {
    const int code = Number(messages, args);
    return code < 0 ? Usage() : code;
  }
  const bool takesText = command == "expr" || command == "type" || command == "normalize" || command == "parse" ||
                         command == "print" || command == "search";
  const std::size_t texts = command == "match" ? 2 : takesText || (command == "task" && !all) || command == "prove" ||
                                    command == "methods" || command == "export"
                                ? 1
                                : 0;
  if (args.size() < texts || args.size() > texts + 1) return Usage();
  const std::vector<std::string> dirs(args.begin() + static_cast<std::ptrdiff_t>(texts), args.end());
  FontFileCheck fontCheck;
  lemmix::TSession context(messages, messages, &fontCheck);
  const lemmix::TContextScope scope(context);
  if (command == "check") {
    if (!Start(context, dirs)) return 1;
    std::printf("%s: %zu types, %zu couples, %zu associated transformations\n",
                lemmix::NativePath(context.Dir).c_str(), context.TypesProccess->Types().size(),
                context.StFunc->CouplesList.size(), context.AssotProccess->Transformations().size());
    lemmix::TBook book;
    book.Path = context.BookPath;
    const bool changed = book.Load();
    std::printf("book: %s; %s\n", lemmix::BookSummary(book).c_str(),
                changed ? "loading found missing or short files (a save would write them)" : "unchanged by loading");
    const std::vector<std::string> faults = lemmix::CheckBook(book);
    for (const std::string& fault : faults)
      std::printf("book fault: %s\n", lemmix::Cp1251ToUtf8(lemmix::DisplayPath(fault)).c_str());
    return faults.empty() ? 0 : 1;
  }
  if (command == "book" || command == "search") {
    if (!Start(context, dirs)) return 1;
    lemmix::TBook book;
    book.Path = context.BookPath;
    book.Load();
    const bool user = userMode.value_or(false);
    if (command == "book") {
      std::fputs(lemmix::BookListing(book, user).c_str(), stdout);
      return 0;
    }
    const auto found = lemmix::SearchBook(book, user, kind.value_or(lemmix::kAnyStatementKind),
                                          lemmix::Utf8ToCp1251(args[0]));
    if (found) std::fputs(lemmix::SearchListing(*found).c_str(), stdout);
    return found ? 0 : 1;
  }
  if (command == "expr") {
    if (!Start(context, dirs)) return 1;
    lemmix::TVarList scope;
    const lemmix::TExprPtr e = lemmix::FromString(lemmix::Utf8ToCp1251(args[0]), &scope);
    if (!e) return 1;
    std::printf("%s\nsize: %d\nhead: %d\n", lemmix::Cp1251ToUtf8(lemmix::ToString(*e)).c_str(), lemmix::Size(*e),
                e->HeadIntrinsic());
    return 0;
  }
  // A formula as the user shows it: stored text, or Unicode letters with --unicode.
  const auto show = [&](const lemmix::TExpr& e) -> std::string {
    if (unicode) {
      const std::optional<lemmix::TLetters> letters = lemmix::TreeToLetters(e);
      return letters ? lemmix::LettersToUtf8(*letters) : "";
    }
    return lemmix::Cp1251ToUtf8(lemmix::TreeToText(e, false, false).value_or(""));
  };
  if (command == "parse" || command == "print") {
    if (!Start(context, dirs)) return 1;
    if (command == "print") {
      lemmix::TVarList scope;
      const lemmix::TExprPtr e = lemmix::FromString(lemmix::Utf8ToCp1251(args[0]), &scope);
      if (!e) return 1;
      const std::string text = show(*e);
      if (text.empty()) return 1;
      std::printf("%s\n", text.c_str());
      return 0;
    }
    const std::string text = lemmix::Utf8ToCp1251(args[0]);
    const lemmix::TReadFormula read = lemmix::ReadFormula(text);
    if (!read.Tree) {
      if (read.Fault) std::fputs(CaretUnder(text, *read.Fault).c_str(), stderr);
      return 1;
    }
    const lemmix::TExpr& e = *read.Tree;
    std::printf("%s\n%s\n%s\n", lemmix::Cp1251ToUtf8(lemmix::ToString(e)).c_str(), context.TypesProccess->Identifier(*e.Type).c_str(), show(e).c_str());
    return 0;
  }
  if (command == "normalize") {
    if (!Start(context, dirs)) return 1;
    lemmix::TVarList scope;
    // The objects the formula speaks of; they outlive every rewriting of it.
    lemmix::TVarList given;
    lemmix::TExprPtr e;
    if (storage) {
      e = lemmix::FromString(lemmix::Utf8ToCp1251(args[0]), &scope);
      if (!e) return 1;
      ShareVariablesByName(*e, given);
      if (lemmix::ExprType(*e, true) == nullptr) return 1;
    } else {
      e = lemmix::TextToTree(lemmix::Utf8ToCp1251(args[0]));
      if (!e || !lemmix::DeclareVariables(*e, given, true)) return 1;
    }
    if (pipeline) {
      e = lemmix::StandardiseForCondition(*e);
      if (!e) {
        std::puts("no result");
        return 1;
      }
    } else if (e->Type->Name == "lT") {
      lemmix::SimplifyCondition(*e);
    } else {
      lemmix::Standardize(*e);  // a term
    }
    std::printf("%s\n", storage ? lemmix::Cp1251ToUtf8(lemmix::ToString(*e)).c_str() : show(*e).c_str());
    return 0;
  }
  if (command == "task") {
    if (!Start(context, dirs)) return 1;
    const lemmix::TTaskOptions options{english, unicode, trace, json};
    return all ? lemmix::RunAllTasks(context, options) : lemmix::RunTask(context, args[0], options);
  }
  if (command == "methods") {
    if (!Start(context, dirs)) return 1;
    return lemmix::RunMethods(context, args[0], english);
  }
  if (command == "export") {
    if (!Start(context, dirs)) return 1;
    return lemmix::RunExport(context, args[0], {english, html.value_or(false)});
  }
  if (command == "prove") {
    if (!Start(context, dirs)) return 1;
    const lemmix::TProveOptions options{{english, unicode, trace, std::nullopt}, *answers, protocolOut, journal};
    return lemmix::RunProve(context, args[0], options);
  }
  if (command == "resume") {
    if (!Start(context, dirs)) return 1;
    const lemmix::TProveOptions options{{english, unicode, trace, std::nullopt}, answers.value_or(""), protocolOut};
    return lemmix::RunResume(context, options);
  }
  if (command == "match") {
    if (!Start(context, dirs)) return 1;
    lemmix::TVarList scope;
    lemmix::TVarList given;
    lemmix::TExprPtr target = lemmix::FromString(lemmix::Utf8ToCp1251(args[0]), &scope);
    lemmix::TExprPtr pattern = target ? lemmix::FromString(lemmix::Utf8ToCp1251(args[1]), &scope) : nullptr;
    if (!target || !pattern) return 1;
    // The same name is the same object in both.
    ShareVariablesByName(*target, given);
    ShareVariablesByName(*pattern, given);
    if (lemmix::ExprType(*target, true) == nullptr || lemmix::ExprType(*pattern, true) == nullptr) return 1;
    lemmix::TPatternBindings bindings{lemmix::TBinding{}};
    if (lemmix::Comp(*target, *pattern, nullptr, &bindings) != 0) {
      std::puts("no match");
      return 1;
    }
    for (std::size_t a = 0; a < bindings.size(); ++a) {
      if (a > 0) std::puts("");
      for (std::size_t i = 0; i < bindings[a].size(); ++i) {
        if (!bindings[a][i]) continue;
        const lemmix::TExpr& value = *bindings[a][i];
        const std::string text = value.Class == lemmix::TClass::Templ || !unicode ? lemmix::Cp1251ToUtf8(lemmix::ToString(value))
                                                                                  : show(value);
        std::printf("#%zu = %s\n", i, text.c_str());
      }
    }
    return 0;
  }
  if (command == "type") {
    if (!Start(context, dirs)) return 1;
    lemmix::TVarList scope;
    const lemmix::TExprPtr e = lemmix::FromString(lemmix::Utf8ToCp1251(args[0]), &scope);
    if (!e) return 1;
    const lemmix::TType* type = lemmix::ExprType(*e, true);
    if (type == nullptr) return 1;
    std::printf("%s\n%s\n", context.TypesProccess->Identifier(*type).c_str(),
                lemmix::Cp1251ToUtf8(lemmix::TypeName(*type, &messages)).c_str());
    return 0;
  }
  if (command == "intrinsics" || command == "keyboard") {
    if (!Start(context, dirs)) return 1;
    const std::string listing = command == "keyboard"
                                    ? lemmix::KeyboardListing(*context.StFunc)
                                    : lemmix::IntrinsicsListing(*context.StFunc, format.value_or(lemmix::ListingFormat::Text));
    std::fputs(listing.c_str(), stdout);
    return 0;
  }
  std::fprintf(stderr, "Unknown command: %s\n\n", command.c_str());
  return Usage();
}
