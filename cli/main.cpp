// lemmix-cli: the core of Lemmix without a window.
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_messages.h"
#include "cli/listing.h"
#include "shell/context.h"
#include "shell/cp1251.h"
#include "shell/files.h"
#include "shell/fonts.h"
#include "shell/startup.h"

namespace {

constexpr const char* kUsage =
    "Usage: lemmix-cli [--lang ru|en] [--yes] COMMAND [ARGS]\n"
    "\n"
    "Commands (DIR is a data directory; default: the working directory):\n"
    "  check [DIR]                          load the catalogues and check the font as the\n"
    "                                       program's start-up does; exit 0 when the\n"
    "                                       start-up would succeed, 1 otherwise\n"
    "  intrinsics [DIR] [--format text|md]  list the intrinsic functions\n"
    "  keyboard [DIR]                       the keys of the formula editor, as Markdown\n"
    "\n"
    "Options:\n"
    "  --lang en     show messages in English (default: Russian)\n"
    "  --yes         answer Yes to every question (default: No)\n";

// Without a window the font is not installed: it is checked to be a font file.
class FontFileCheck : public lemmix::IFontInstaller {
 public:
  bool Install(const std::string& path) override { return lemmix::LooksLikeFontFile(path); }
  void Uninstall() override {}
};

int Usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

// Loads the data directory as the start-up does; false after the messages.
bool Start(lemmix::TContext& context, const std::vector<std::string>& dirs) {
  if (dirs.empty()) return lemmix::RunStartup(context);
  const auto dir = lemmix::SystemPath(dirs[0]);
  if (!dir) {
    std::fprintf(stderr, "%s: the path has characters outside Windows-1251\n", dirs[0].c_str());
    return false;
  }
  context.Dir = *dir;
  return lemmix::LoadCatalogues(context);
}

}  // namespace

int main(int argc, char** argv) {
  bool english = false;
  bool yes = false;
  std::optional<lemmix::ListingFormat> format;
  std::vector<std::string> words;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--lang" && i + 1 < argc) {
      const std::string lang = argv[++i];
      if (lang != "en" && lang != "ru") return Usage();
      english = lang == "en";
    } else if (arg == "--format" && i + 1 < argc) {
      const std::string name = argv[++i];
      if (name != "text" && name != "md") return Usage();
      format = name == "md" ? lemmix::ListingFormat::Markdown : lemmix::ListingFormat::Text;
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
  if (args.size() > 1 || (format && command != "intrinsics")) return Usage();

  lemmix::CliMessages messages(english, yes);
  FontFileCheck fontCheck;
  lemmix::TContext context(messages, messages, &fontCheck);
  const lemmix::TContextScope scope(context);
  if (command == "check") {
    if (!Start(context, args)) return 1;
    std::printf("%s: %zu types, %zu couples\n", lemmix::NativePath(context.Dir).c_str(),
                context.TypesProccess->Types().size(), context.StFunc->CouplesList.size());
    return 0;
  }
  if (command == "intrinsics" || command == "keyboard") {
    if (!Start(context, args)) return 1;
    const std::string listing = command == "keyboard"
                                    ? lemmix::KeyboardListing(*context.StFunc)
                                    : lemmix::IntrinsicsListing(*context.StFunc, format.value_or(lemmix::ListingFormat::Text));
    std::fputs(listing.c_str(), stdout);
    return 0;
  }
  std::fprintf(stderr, "Unknown command: %s\n\n", command.c_str());
  return Usage();
}
