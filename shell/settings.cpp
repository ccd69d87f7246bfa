#include "shell/settings.h"

#include "shell/text.h"

#include <optional>

namespace lemmix {

namespace {

struct BoolKey {
  std::string_view key;
  bool TAutoSettings::*field;
};
struct ChoiceKey {
  std::string_view key;
  int TAutoSettings::*field;
};

constexpr BoolKey kBoolKeys[] = {
    {"AutoStandard = ", &TAutoSettings::AutoStandard},
    {"SymbolTransEnable = ", &TAutoSettings::SymbolTransEnable},
    {"TestDataCond = ", &TAutoSettings::TestDataCond},
    {"TestProveCond = ", &TAutoSettings::TestProveCond},
    {"TestProveCondWhenDataNew = ", &TAutoSettings::TestProveCondWhenDataNew},
    {"OneStepFinish0 = ", &TAutoSettings::OneStepFinish0},
    {"OneStepFinish1 = ", &TAutoSettings::OneStepFinish1},
    {"OneStepFinish2 = ", &TAutoSettings::OneStepFinish2},
    {"OneStepFinish3 = ", &TAutoSettings::OneStepFinish3},
};
constexpr ChoiceKey kChoiceKeys[] = {
    {"ProveEachCond = ", &TAutoSettings::ProveEachCond},
    {"ImplicationSimpl = ", &TAutoSettings::ImplicationSimpl},
    {"DisjunctionSimpl = ", &TAutoSettings::DisjunctionSimpl},
};

// Whether a path has the directory "\book\" + chapter (and more), not merely
// a directory whose name begins with it ("\book\60").
bool InDirectory(std::string_view path, std::string_view dir) {
  for (std::size_t at = path.find(dir); at != std::string_view::npos; at = path.find(dir, at + 1)) {
    const std::size_t end = at + dir.size();
    if (end == path.size() || path[end] == '\\') return true;
  }
  return false;
}

}  // namespace

std::vector<std::string> TAutoSettings::ProtocolLines() const {
  std::vector<std::string> lines;
  for (const BoolKey& k : kBoolKeys) lines.push_back(std::string(k.key) + (this->*k.field ? "true" : "false"));
  for (const ChoiceKey& k : kChoiceKeys) lines.push_back(std::string(k.key) + std::to_string(this->*k.field));
  return lines;
}

bool TAutoSettings::ReadProtocolLine(std::string_view line) {
  line = Trim(line);
  for (const BoolKey& k : kBoolKeys) {
    if (!StartsWith(line, k.key)) continue;
    const std::string_view value = Trim(line.substr(k.key.size()));
    if (value != "true" && value != "false") return false;
    this->*k.field = value == "true";
    return true;
  }
  for (const ChoiceKey& k : kChoiceKeys) {
    if (!StartsWith(line, k.key)) continue;
    const std::optional<int> value = ParseInt(Trim(line.substr(k.key.size())));
    if (!value || *value < 0 || *value > 2) return false;
    this->*k.field = *value;
    return true;
  }
  return false;
}

void TAutoSettings::SetChapterSwitches(std::string_view statementDir) {
  ChapterSwitch[0] = !InDirectory(statementDir, "\\book\\6");
  const bool symbolic = !InDirectory(statementDir, "\\book\\6\\24");
  SymbolTransEnable = symbolic;
  ChapterSwitch[1] = ChapterSwitch[2] = ChapterSwitch[3] = symbolic;
}

}  // namespace lemmix
