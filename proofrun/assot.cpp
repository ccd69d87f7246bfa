#include "proofrun/assot.h"

#include <algorithm>

#include "intrinsics/st_func.h"
#include "shell/cp1251.h"
#include "shell/files.h"
#include "shell/message.h"
#include "shell/text.h"
#include "shell/text_helpers.h"

namespace lemmix {

namespace {

// The reading position in the trimmed lines of the file.
class TReader {
 public:
  explicit TReader(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) lines_.emplace_back(Trim(line));
  }
  bool AtEnd() const { return at_ >= lines_.size(); }
  int Line() const { return static_cast<int>(at_); }
  const std::string& Current() const { return lines_[at_]; }
  void Next() { ++at_; }
  // Empty lines and "%" comments between entries.
  void SkipBetweenEntries() {
    while (!AtEnd() && (Current().empty() || Current().front() == '%')) Next();
  }
  // The value after the key at the start of the current line; nothing when
  // the file has ended or the line does not begin with the key.
  std::optional<std::string> Value(std::string_view key) const {
    if (AtEnd()) return std::nullopt;
    if (Current() == Trim(key)) return std::string();  // the blank after "=" went with the trimming
    if (!Current().starts_with(key)) return std::nullopt;
    return std::string(Trim(std::string_view(Current()).substr(key.size())));
  }

 private:
  std::vector<std::string> lines_;
  std::size_t at_ = 0;
};

std::optional<bool> Boolean(const std::optional<std::string>& value) {
  if (value == "true") return true;
  if (value == "false") return false;
  return std::nullopt;
}

}  // namespace

bool TAssotProccess::Fail(int line, const std::string& rus, const std::string& eng) {
  const std::string n = std::to_string(line);
  messages_.Error({"Ошибка при чтении файла ассоцированных преобразований в строке "_cp + n + " :\n " + rus,
                   "An error in the file of assosiated transformations in line " + n + " :\n " + eng});
  return false;
}

bool TAssotProccess::LoadAssot(const std::string& dir) {
  const std::string path = dir + "\\ASSOT.DAT";
  const auto lines = FileExists(path) ? ReadLines(path) : std::nullopt;
  if (!lines) return Fail(0);
  return LoadAssotLines(*lines);
}

bool TAssotProccess::LoadAssotLines(const std::vector<std::string>& lines) {
  TReader in(lines);
  for (in.SkipBetweenEntries(); !in.AtEnd(); in.SkipBetweenEntries()) {
    auto assot = std::make_unique<TAssot>();
    // The words the transformation is attached to.
    const std::optional<std::string> mainFunc = in.Value("MainFunc = ");
    if (!mainFunc) return Fail(in.Line());
    if (mainFunc->empty()) {
      messages_.Error({"Невозможно создать преобразование, ассоциированное с пустой строкой"_cp,
                       "Unable create a transformation assosiated with empty line"});
      return Fail(in.Line());
    }
    std::vector<int> words;
    for (const std::string& word : SplitFields(*mainFunc, ',')) {
      const TIntr* f = stFunc_.FindByWord(word, false);
      if (f == nullptr) {
        messages_.Error({"Невозможно создать преобразование, ассоциированное с математическим словом "_cp + word,
                         "Unable create a transformation assosiated with mathematical word " + word});
        return Fail(in.Line());
      }
      words.push_back(f->Number);
    }
    in.Next();
    // The header.
    const std::optional<bool> data = Boolean(in.Value("DataEnabled = "));
    if (!data) return Fail(in.Line());
    assot->DataEnabled = *data;
    in.Next();
    const std::optional<bool> prove = Boolean(in.Value("ProveEnabled = "));
    if (!prove) return Fail(in.Line());
    assot->ProveEnabled = *prove;
    in.Next();
    for (auto [key, field] : {std::pair{"Name = ", &assot->Name}, std::pair{"RusName = ", &assot->RusName}}) {
      const std::optional<std::string> name = in.Value(key);
      if (!name || name->empty()) return Fail(in.Line());
      *field = *name;
      in.Next();
    }
    if (const std::optional<std::string> help = in.Value("HelpMap = ")) {
      assot->HelpMap = ParseInt(*help).value_or(-1);
      in.Next();
    }
    if (in.AtEnd()) return Fail(in.Line());
    // The test part, when there is one.
    if (in.Current() == "Test") {
      assot->Test.emplace();
      for (in.Next(); !in.AtEnd() && in.Current() != "Execute"; in.Next())
        if (!in.Current().empty()) assot->Test->push_back(in.Current());
      if (in.AtEnd()) {
        const std::string n = std::to_string(in.Line());
        return Fail(in.Line(),
                    "Проверочная часть файла ассоц. преобр. (строка "_cp + n + ") не заканчивается словом Execute"_cp,
                    "The test part (line " + n + ") does not end with the word Execute");
      }
    }
    if (in.Current() != "Execute")
      return Fail(in.Line(),
                  "В строке "_cp + std::to_string(in.Line()) + " файла ассоц. преобр. ожидается слово Execute"_cp,
                  "The word Execute is expected in line " + std::to_string(in.Line()));
    // The execution part.
    std::vector<std::string> execute;
    for (in.Next(); !in.AtEnd() && in.Current() != "End"; in.Next()) {
      if (const std::optional<std::string> dialog = in.Value("DialogTransform = ")) {
        if (std::find(kDialogTransforms.begin(), kDialogTransforms.end(), *dialog) == kDialogTransforms.end())
          return Fail(in.Line(), "Указано несуществующее диалоговое преобразование: "_cp + *dialog,
                      "There is no dialog transformation " + *dialog);
        assot->DialogTransform = *dialog;
      } else if (!in.Current().empty()) {
        execute.push_back(in.Current());
      }
    }
    if (in.AtEnd()) {
      const std::string n = std::to_string(in.Line());
      return Fail(in.Line(),
                  "Исполнительная часть файла ассоц. преобр. (строка "_cp + n + ") не заканчивается словом End"_cp,
                  "The execution part (line " + n + ") does not end with the word End");
    }
    in.Next();
    if (!execute.empty()) assot->Execute = std::move(execute);
    for (const int word : words) attached_[word].push_back(assot.get());
    all_.push_back(std::move(assot));
  }
  return true;
}

const std::vector<const TAssot*>& TAssotProccess::Attached(int intrinsic) const {
  static const std::vector<const TAssot*> none;
  const auto at = attached_.find(intrinsic);
  return at == attached_.end() ? none : at->second;
}

}  // namespace lemmix
