// Reading STFUNC.DAT and COUPLES.DAT.
#include <cctype>

#include "shell/cp1251.h"
#include "shell/files.h"
#include "shell/message.h"
#include "shell/text.h"
#include "intrinsics/st_func.h"
#include "types/types_proccess.h"

namespace lemmix {

namespace {

// The Greek letter words in the order of the Latin letters of their codes.
constexpr std::string_view kGreekWords[] = {"Alpha", "Beta",  "Chi",     "Delta", "Epsilon", "Phi",   "Gamma",
                                            "Eta",   "Iota",  "Varphi",  "Kappa", "Lambda",  "Mu",    "Nu",
                                            "Ou",    "Pi",    "Theta",   "Rho",   "Sigma",   "Tau",   "Upsilon",
                                            "Varpi", "Omega", "Xi",      "Psi",   "Zeta"};

std::vector<std::string> MakeGreekWords() {
  std::vector<std::string> words;
  for (const std::string_view word : kGreekWords) words.push_back("\\" + std::string(word));
  for (const std::string_view word : kGreekWords) {
    std::string small = "\\" + std::string(word);
    for (char& c : small) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    words.push_back(small);
  }
  return words;
}

}  // namespace

const std::vector<std::string>& GreekLetterWords() {
  static const std::vector<std::string> words = MakeGreekWords();
  return words;
}

class TStFunc::IntrinsicsReader {
 public:
  IntrinsicsReader(TStFunc& catalogue, const std::string& path) : catalogue_(catalogue), path_(path) {}

  bool Run(const std::vector<std::string>& lines) {
    std::size_t first = 0;
    std::size_t end = lines.size();
    while (first < end && Trim(lines[first]).empty()) ++first;
    while (end > first && Trim(lines[end - 1]).empty()) --end;
    if (first == end) return Empty();
    for (std::size_t i = first; i < end; ++i) {
      lineNumber_ = i + 1;
      const std::string_view line = Trim(lines[i]);
      if (line.empty() || StartsWith(line, "//")) continue;
      if (!Interpret(line)) return false;
    }
    return true;
  }

  bool Empty() {
    Report({"Файл стандартных функций пуст."_cp, "File " + path_ + " is empty."});
    return false;
  }

 private:
  bool Interpret(std::string_view line) {
    if (StartsWith(line, "Num = ")) return BeginEntry(line);
    if (current_ == nullptr)
      return LineError({"Описание стандартной функции должно начинаться со строки \"Num = \"."_cp,
                        "The description of an intrinsic function must begin with a \"Num = \" line."});
    TIntr& f = *current_;
    if (line == "SkipAfter") return Set(f.Spacing, TSpacing::SkipAfter);
    if (line == "SkipBefore") return Set(f.Spacing, TSpacing::SkipBefore);
    if (line == "SkipBeforeAndAfter") return Set(f.Spacing, TSpacing::SkipBeforeAndAfter);
    if (line == "Prefix") return Set(f.Fixity, TFixity::Prefix);
    if (line == "Postfix") return Set(f.Fixity, TFixity::Postfix);
    if (line == "Nary") return Set(f.Nary, true);
    if (StartsWith(line, "Priority = ")) return SetPriority(line);
    if (StartsWith(line, "Name = ")) return SetName(line);
    if (StartsWith(line, "DefaultConcreteType(")) return AddConcreteType(line, sizeof("DefaultConcreteType(") - 1, true);
    if (StartsWith(line, "AddConcreteType(")) return AddConcreteType(line, sizeof("AddConcreteType(") - 1, false);
    if (StartsWith(line, "AddRusLetters1(") || StartsWith(line, "AddAnyLetters1(")) return AddLetters1(line, false);
    if (StartsWith(line, "AddEngLetters1(") || StartsWith(line, "AddEngAntLetters1(")) return true;
    if (StartsWith(line, "AddRusAntLetters1(")) return AddLetters1(line, true);
    if (StartsWith(line, "AddLetters2(")) return AddLetters2(line, false);
    if (StartsWith(line, "AddAntLetters2(")) return AddLetters2(line, true);
    if (StartsWith(line, "HelpIndex=")) {
      f.HelpIndex = ParseInt(line.substr(sizeof("HelpIndex=") - 1)).value_or(-1);
      return true;
    }
    if (StartsWith(line, "MyKey(")) return AddHotKey(line, false);
    if (StartsWith(line, "MyAntKey(")) return AddHotKey(line, true);
    if (StartsWith(line, "MyKey1=")) {
      f.Palette = std::string(line.substr(sizeof("MyKey1=") - 1));
      return true;
    }
    return LineError({"Неинтерпретируемая строка в файле стандартных функций:\\n "_cp + std::string(line),
                      "Unable to interpret line in the file of intrinsic functins:\\n " + std::string(line)});
  }

  template <typename Field, typename Value>
  static bool Set(Field& field, Value value) {
    field = value;
    return true;
  }

  bool BeginEntry(std::string_view line) {
    auto& list = catalogue_.IntrList;
    if (line == "Num = auto") {
      // Automatic numbers are bytes below the number that means "no intrinsic".
      if (list.size() >= static_cast<std::size_t>(kNoIntrinsic))
        return LineError({"Слишком много стандартных функций с автоматическими номерами."_cp,
                          "Too many intrinsic functions numbered automatically."});
      list.push_back(std::make_unique<TIntr>());
      current_ = list.back().get();
      current_->Number = static_cast<std::uint8_t>(list.size() - 1);
      return true;
    }
    const int number = ParseInt(line.substr(sizeof("Num = ") - 1)).value_or(-1);
    if (number < 0 || number >= kSlots)
      return LineError({"Неверный номер стандартной функции."_cp, "Wrong number of intrinsic function."});
    current_ = list[number].get();
    return true;
  }

  bool SetPriority(std::string_view line) {
    const int priority = ParseInt(line.substr(sizeof("Priority = ") - 1)).value_or(-1);
    if (priority < 0)
      return LineError({"Неверный приоритет стандартной функции "_cp + Name() + "\\n " + std::string(line),
                        "Incorrect priority of intrinsic function " + Name() + "\\n " + std::string(line)});
    current_->Priority = priority;
    return true;
  }

  bool SetName(std::string_view line) {
    const std::string_view name = Trim(line.substr(sizeof("Name = ") - 1));
    if (name.empty())
      return LineError({"Имя стандартной функции не может быть пустым."_cp, "Empty name of an intrinsic function."});
    current_->Name = std::string(name);
    return true;
  }

  bool AddConcreteType(std::string_view line, std::size_t keywordLength, bool isDefault) {
    static constexpr std::string_view kForbidden = "):ForbiddenAccess";
    int mode = TConcreteType::Usable;
    std::string_view inside = line.substr(keywordLength);
    if (inside.ends_with(kForbidden)) {
      mode = TConcreteType::UntilDefined;
      inside.remove_suffix(kForbidden.size());
    } else if (inside.ends_with(")")) {
      inside.remove_suffix(1);
    } else {
      return LineError({"Ошибка при определении типа стандартной функции "_cp + Name() +
                            ":\\n отсутствует закрывающая скобка."_cp,
                        "Error in specification of type of intrinsic function " + Name() +
                            ":\\n right bracket is missed."});
    }
    const std::string_view id = Trim(inside);
    TType* type = catalogue_.types_.FindType(id, false);
    if (type == nullptr)
      return LineError({"Ошибка при определении типа стандартной функции "_cp + Name() +
                            ":\\n указан несуществующий тип: "_cp + std::string(id),
                        "Error in specification of type of intrinsic function " + Name() + ":\\n unknown type."});
    if (isDefault) {
      if (current_->DefaultType != nullptr)
        return LineError({"Дважды определен тип по умолчанию стандартной функции "_cp + Name(),
                          "The default type of intrinsic function " + Name() + " is twice defined."});
      current_->DefaultType = type;
    }
    current_->ConcreteTypes.push_back({mode, type});
    return true;
  }

  TMessage MissingVisualBracket(bool antonym) const {
    if (antonym)
      return {"Ошибка при определении визуального представления антонима стандартной функции "_cp + Name() +
                  ":\\n отсутствует закрывающая скобка."_cp,
              "Error in specification of visual form of antonim's intrinsic function " + Name() +
                  ":\\n right bracket is missed."};
    return {"Ошибка при определении визуального представления стандартной функции "_cp + Name() +
                ":\\n отсутствует закрывающая скобка."_cp,
            "Error in specification of visual form of intrinsic function " + Name() + ":\\n right bracket is missed."};
  }

  TLetters& VisualOf(bool antonym) {
    return antonym ? catalogue_.AntonymOf(*current_).Visual : current_->Visual;
  }

  // "AddRusLetters1(text)": every character of the text, in the plain face.
  bool AddLetters1(std::string_view line, bool antonym) {
    if (!line.ends_with(")")) return LineError(MissingVisualBracket(antonym));
    const std::size_t open = line.find('(');
    TLetters& visual = VisualOf(antonym);
    for (const char c : line.substr(open + 1, line.size() - open - 2))
      visual.push_back({.Code = static_cast<std::uint8_t>(c), .Colour = 0x8000, .Font = kPlainFont});
    return true;
  }

  // "AddLetters2(c,font)": one letter; c stands right after the bracket.
  bool AddLetters2(std::string_view line, bool antonym) {
    const std::size_t at = antonym ? 15 : 12;  // 0-based place of the character
    const TMessage start = {
        "Ошибка при определении визуального представления 2-го типа стандартной функции "_cp + Name(),
        "Error in specification of second type visual form of intrinsic function " + Name()};
    const auto failure = [&](const std::string& rus, const std::string& eng) {
      return LineError({start.Rus + rus, start.Eng + eng});
    };
    if (line.size() <= at + 3) return failure(":\\n слишком короткое выражение."_cp, ":\\n too short record.");
    if (line[at + 1] != ',')
      return failure(":\\n на нужном месте отсутствует запятая."_cp, ":\\n there is no comma in a certain position.");
    if (!line.ends_with(")")) return LineError(MissingVisualBracket(antonym));
    const std::string_view font = line.substr(at + 2, line.size() - at - 3);
    std::uint8_t fontIndex = 0;
    if (font == "MS Sans Serif")
      fontIndex = kPlainFont;
    else if (font == "Symbolon")
      fontIndex = kMathFont;
    else
      return failure(":\\n неизвестный шрифт: "_cp + std::string(font), ":\\n Unknown font: " + std::string(font));
    VisualOf(antonym).push_back({.Code = static_cast<std::uint8_t>(line[at]), .Colour = 0x8000, .Font = fontIndex});
    return true;
  }

  // "MyKey(key,register)": binds the form to a slot of the hot key table.
  bool AddHotKey(std::string_view line, bool antonym) {
    const std::size_t keyword = antonym ? sizeof("MyAntKey(") - 1 : sizeof("MyKey(") - 1;
    const TMessage start = {"Ошибка при определении горячей клавиши стандартной функции "_cp + Name(),
                            "Error in specification of hot key of intrinsic function " + Name()};
    const auto failure = [&](const std::string& rus, const std::string& eng) {
      return LineError({start.Rus + rus, start.Eng + eng});
    };
    if (!line.ends_with(")")) return failure(":\\n отсутствует закрывающая скобка."_cp, ":\\n right bracket is missed.");
    if (line.size() <= keyword + 4) return failure(":\\n слишком короткое выражение."_cp, ":\\n too short record.");
    const std::size_t comma = line.find(',', keyword + 1);
    if (comma == std::string_view::npos)
      return failure(":\\n на нужном месте отсутствует запятая."_cp, ":\\n there is no comma in a certain position.");
    const std::string_view key = line.substr(keyword, comma - keyword);
    const std::string_view reg = line.substr(comma + 1, line.size() - comma - 2);
    const std::size_t keyIndex = key.size() == 1 ? kKeyChars.find(key[0]) : std::string_view::npos;
    if (keyIndex == std::string_view::npos)
      return failure(":\\n неверный код клавиши."_cp, ":\\n incorrect index of the key.");
    int hotRegister = -1;
    for (int r = 0; r < kRegisters; ++r)
      if (kRegisterNames[r] == reg) hotRegister = r;
    if (hotRegister < 0) return failure(":\\n неверный регистр."_cp, ":\\n incorrect register.");

    auto& slot = catalogue_.hotKeys_[hotRegister][keyIndex];
    if (slot != nullptr)
      return LineError({"Горячая клавиша, используемая стандартной функцией "_cp + Name() + ":\\n уже занята."_cp,
                        "Hot key used by intrinsic function " + Name() + ":\\n is already used."});
    if (!antonym) {
      current_->HotKey = static_cast<int>(keyIndex);
      current_->HotRegister = hotRegister;
    }
    slot = &VisualOf(antonym);
    catalogue_.hotHelp_[hotRegister][keyIndex] = current_->HelpIndex;
    if (current_->HelpIndex < 0)
      return LineError({"Отсутствует индекс помощи для стандартной функции "_cp + Name(),
                        "Can not find help index for intrinsic function " + Name()});
    return true;
  }

  const std::string& Name() const { return current_->Name; }

  // Every faulty line is named by its number in the file.
  bool LineError(const TMessage& message) {
    const std::string n = std::to_string(lineNumber_);
    Report({"Ошибка в строке "_cp + n + " файла стандартных функций:\\n "_cp + message.Rus,
            "Error in line " + n + " of file of intrinsic functions:\\n " + message.Eng});
    return false;
  }

  void Report(const TMessage& message) { catalogue_.messages_.Error(message); }

  TStFunc& catalogue_;
  const std::string& path_;
  std::size_t lineNumber_ = 0;
  TIntr* current_ = nullptr;
};

bool TStFunc::LoadIntrinsics(const std::string& directory) {
  GreekLetters = GreekLetterWords();
  const std::string path = directory + "\\STFUNC.DAT";
  const auto lines = FileExists(path) ? ReadLines(path) : std::nullopt;
  if (!lines) {
    messages_.Error({"Отсутствует файл стандартных функций: "_cp + DisplayPath(path),
                     "Can not open file of intrinsic functions: " + DisplayPath(path)});
    return false;
  }
  if (!LoadIntrinsicLines(*lines, DisplayPath(path))) return false;

  const std::string couplesPath = directory + "\\COUPLES.DAT";
  const auto couples = FileExists(couplesPath) ? ReadLines(couplesPath) : std::nullopt;
  if (!couples) {
    messages_.Error({"Отсутствует файл пар стандартных функций: "_cp + DisplayPath(couplesPath),
                     "Can not open file of couples of intrinsic functions: " + DisplayPath(couplesPath)});
    return false;
  }
  return LoadCoupleLines(*couples, DisplayPath(couplesPath));
}

bool TStFunc::LoadIntrinsicLines(const std::vector<std::string>& lines, const std::string& path) {
  if (GreekLetters.empty()) GreekLetters = GreekLetterWords();
  IntrinsicsReader reader(*this, path);
  if (lines.empty()) return reader.Empty();
  for (auto& row : hotKeys_) row.fill(nullptr);
  for (auto& row : hotHelp_) row.fill(-1);
  return reader.Run(lines);
}

// Paragraphs separated by blank lines, one couple each: the parts' words, then
// the result's word, or "\NOT" and the word of a function with an antonym.
// Lines beginning with "//" are comments and belong to no paragraph.
bool TStFunc::LoadCoupleLines(const std::vector<std::string>& lines, const std::string& path) {
  const auto error = [&](std::size_t n, const std::string& rus, const std::string& eng) {
    messages_.Error({"Ошибка в строке "_cp + std::to_string(n) + " файла пар стандартных функций:\\n "_cp + rus,
                     "Error in line " + std::to_string(n) + " of file " + path + "\\n " + eng});
    return false;
  };
  std::vector<std::pair<std::size_t, std::string>> paragraph;  // line number, word
  const auto finish = [&](std::size_t end) {
    if (paragraph.size() < 3) return error(end, "Число строк в абзаце < 3."_cp, "number of lines in a paragraph < 3.");
    TCouple couple;
    for (std::size_t i = 0; i + 1 < paragraph.size(); ++i) {
      TIntr* part = FindByWord(paragraph[i].second, false);
      if (part == nullptr)
        return error(paragraph[i].first, "Неверное математическое слово "_cp + paragraph[i].second,
                     "wrong mathematical word " + paragraph[i].second);
      couple.Parts.push_back(part);
    }
    const auto& [n, word] = paragraph.back();
    if (StartsWith(word, "\\NOT")) {
      const TAntIntr* antonym = FindAntonymByWord(word);
      if (antonym == nullptr) return error(n, "Неверный антоним слово "_cp + word, "wrong antonim " + word);
      couple.Result = antonym->Intr;
      couple.Positive = false;
    } else {
      couple.Result = FindByWord(word, false);
      if (couple.Result == nullptr)
        return error(n, "Неверное математическое слово "_cp + word, "wrong mathematical word " + word);
    }
    CouplesList.push_back(std::move(couple));
    paragraph.clear();
    return true;
  };
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = Trim(lines[i]);
    if (StartsWith(line, "//")) continue;
    if (line.empty()) {
      if (!finish(i + 1)) return false;
    } else {
      paragraph.emplace_back(i + 1, std::string(line));
    }
  }
  return finish(lines.size() + 1);
}

}  // namespace lemmix
