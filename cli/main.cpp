// lemmix-cli: the core of Lemmix without a window.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/cli_messages.h"
#include "shell/context.h"
#include "shell/cp1251.h"
#include "shell/files.h"
#include "shell/startup.h"

namespace {

constexpr const char* kUsage =
    "Usage: lemmix-cli [--lang ru|en] [--yes] COMMAND [ARGS]\n"
    "\n"
    "Commands:\n"
    "  check [DIR]   load the catalogues of the data directory DIR (default: the\n"
    "                working directory) as the program's start-up does; exit 0\n"
    "                when the start-up would succeed, 1 otherwise\n"
    "\n"
    "Options:\n"
    "  --lang en     show messages in English (default: Russian)\n"
    "  --yes         answer Yes to every question (default: No)\n";

int Check(lemmix::CliMessages& messages, const std::vector<std::string>& args) {
  if (args.size() > 1) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  lemmix::TContext context(messages, messages);
  if (args.empty()) {
    if (!lemmix::RunStartup(context)) return 1;
  } else {
    const auto dir = lemmix::SystemPath(args[0]);
    if (!dir) {
      std::fprintf(stderr, "%s: the path has characters outside Windows-1251\n", args[0].c_str());
      return 1;
    }
    context.Dir = *dir;
    if (!lemmix::LoadCatalogues(context)) return 1;
  }
  std::printf("%s: %zu types\n", lemmix::NativePath(context.Dir).c_str(), context.TypesProccess->Types().size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  bool english = false;
  bool yes = false;
  std::vector<std::string> words;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--lang" && i + 1 < argc) {
      const std::string lang = argv[++i];
      if (lang != "en" && lang != "ru") {
        std::fputs(kUsage, stderr);
        return 2;
      }
      english = lang == "en";
    } else if (arg == "--yes") {
      yes = true;
    } else if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else {
      words.push_back(arg);
    }
  }
  if (words.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  lemmix::CliMessages messages(english, yes);
  const std::string command = words.front();
  const std::vector<std::string> args(words.begin() + 1, words.end());
  if (command == "check") return Check(messages, args);
  std::fprintf(stderr, "Unknown command: %s\n\n%s", command.c_str(), kUsage);
  return 2;
}
