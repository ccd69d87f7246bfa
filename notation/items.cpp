#include "notation/items.h"

#include <algorithm>

#include "intrinsics/intr_numbers.h"
#include "intrinsics/st_func.h"
#include "shell/context.h"
#include "shell/cp1251.h"
#include "shell/message.h"
#include "shell/text.h"
#include "types/type.h"
#include "types/types_proccess.h"

namespace lemmix {

namespace {

// Letter classes: a run of letters is the longest sequence of one class;
// the other and the template classes make runs of one letter.
enum LetterClassId {
  kLatinClass = 0, kHighClass = 1, kGreekClass = 2, kDigitClass = 3, kOtherClass = 4, kTemplateClass = 5
};

void Report(const std::string& rus, const std::string& eng) { Ctx().Messages.Error({rus, eng}); }

TStFunc& Catalogue() { return *Ctx().StFunc; }

int LetterClass(const TLetter& l) {
  const bool latin = (l.Code >= 'a' && l.Code <= 'z') || (l.Code >= 'A' && l.Code <= 'Z');
  // "#" starts a template parameter; it is no letter of a name.
  if (l.Font == kPlainFont && l.Code == '#') return kTemplateClass;
  if (l.Font == kPlainFont && latin) return kLatinClass;
  if (l.Font == kPlainFont && l.Code >= 128) return kHighClass;
  if (l.Font == kMathFont && latin) return kGreekClass;
  if (l.Font == kPlainFont && l.Code >= '0' && l.Code <= '9') return kDigitClass;
  return kOtherClass;
}

bool IsTight(const TExpr& item) {
  const TIntr* f = item.Intrinsic();
  if (f == nullptr) return false;
  switch (f->Number) {
    case kBlank: case kDot: case kComma: case kColon: case kSemicolon: case kVld: case kEllipsis: return true;
    default: return false;
  }
}

int Spacing(const TExpr& item) {
  if (const TIntr* f = item.Intrinsic()) return static_cast<int>(f->Spacing);
  if (const TAntIntr* a = item.Antonym()) return static_cast<int>(a->Intr->Spacing);
  return 0;
}

TExprPtr IntrItem(int number) { return TExpr::OfIntr(*Catalogue().Intr(number)); }

// Word characters of the stored text: Latin letters, digits, Cyrillic, '"'.
bool WordChar(unsigned char c) {
  return std::isalnum(c) ? c < 128 : (c >= 0xC0 || c == 0xA8 || c == 0xB8 || c == '"');
}

// Items as a reader makes them, each with the place of its source where it begins.
struct TReadItems {
  TItemList Items;
  std::vector<std::size_t> Places;

  void Add(TExprPtr item, std::size_t place) {
    Items.push_back(std::move(item));
    Places.push_back(place);
  }
  // The items [i, i + count) become one, at the place of the first.
  void Join(std::size_t i, std::size_t count, TExprPtr item) {
    Items[i] = std::move(item);
    const auto from = static_cast<std::ptrdiff_t>(i + 1);
    const auto to = static_cast<std::ptrdiff_t>(i + count);
    Items.erase(Items.begin() + from, Items.begin() + to);
    Places.erase(Places.begin() + from, Places.begin() + to);
  }
  // Drops every item of the intrinsic function.
  void Drop(int number) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < Items.size(); ++i) {
      if (Items[i]->IsIntr(number)) continue;
      Items[kept] = std::move(Items[i]);
      Places[kept++] = Places[i];
    }
    Items.resize(kept);
    Places.resize(kept);
  }
  // The items, and their places for a caller that asked for them.
  TItemList Take(TItemPlaces* places, std::size_t end) {
    if (places != nullptr) {
      places->Items = std::move(Places);
      places->Items.push_back(end);
    }
    return std::move(Items);
  }
};

void FaultAt(TItemPlaces* places, std::size_t place) {
  if (places != nullptr) places->Fault = place;
}

// The finishing passes of both readers: blanks out, antonym signs joined to
// their functions, couples replaced by what they stand for.
void Finish(TReadItems& read) {
  read.Drop(kBlank);
  TItemList& items = read.Items;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (!items[i]->IsIntr(kAntonymSign)) continue;
    if (i + 1 >= items.size() || items[i + 1]->Class != TClass::Intr) {
      Report("После знака антоним встретилось выражение, не являющееся стандартной функцией."_cp,
             "After antonim sign some expresion that is not st.func. appears.");
      continue;
    }
    TIntr* f = items[i + 1]->Intrinsic();
    if (f->Antonym == nullptr) {
      Report("Использование несуществующего антонима стандартной функции: "_cp + f->Name,
             "Nonexistent antonim of standard function appears: " + f->Name);
      continue;
    }
    read.Join(i, 2, TExpr::OfAntIntr(*f->Antonym));
  }
  const auto matches = [](const TExpr& item, const TIntr& part) {
    if (const TIntr* f = item.Intrinsic()) return f->Name == part.Name;
    if (const TNumber* n = item.NumberValue()) return NumberToString(*n) == part.Name;
    return false;
  };
  for (const TCouple& couple : Catalogue().CouplesList) {
    const std::size_t k = couple.Parts.size();
    for (std::size_t i = 0; i + k <= items.size(); ++i) {
      bool all = true;
      for (std::size_t j = 0; j < k && all; ++j) all = matches(*items[i + j], *couple.Parts[j]);
      if (!all) continue;
      read.Join(i, k, couple.Positive || couple.Result->Antonym == nullptr ? TExpr::OfIntr(*couple.Result)
                                                                            : TExpr::OfAntIntr(*couple.Result->Antonym));
    }
  }
}

std::string LettersText(const TLetters& letters) {
  std::string text;
  for (const TLetter& l : letters) text += static_cast<char>(l.Code);
  return text;
}

// The point of a decimal: the plain full stop, or the sign the point key types.
bool IsDecimalPoint(const TLetter& l) {
  if (l.Code == '.' && l.Font == kPlainFont) return true;
  const TIntr* dot = Catalogue().Intr(kDot);
  return dot != nullptr && dot->Visual.size() == 1 && SameGlyph(dot->Visual.front(), l);
}

// "(" ... ")" of the plain face after position i: the text, and the position after ")".
std::optional<std::pair<std::string, std::size_t>> Parenthesised(const TLetters& letters, std::size_t i) {
  while (i < letters.size() && !(letters[i].Code == '(' && letters[i].Font == kPlainFont)) ++i;
  if (i == letters.size()) return std::nullopt;
  std::string text;
  for (++i; i < letters.size(); ++i) {
    if (letters[i].Code == ')' && letters[i].Font == kPlainFont) return std::make_pair(text, i + 1);
    text += static_cast<char>(letters[i].Code);
  }
  return std::nullopt;
}

}  // namespace

bool IsExplicitTypeSign(const TIntr& f) { return !f.Visual.empty() && f.Visual.front().Code == 220; }
bool IsClassSign(const TIntr& f) { return !f.Visual.empty() && f.Visual.front().Code == 221; }

std::optional<TItemList> MyLetters_to_ItemL(const TLetters& letters, bool standardFont, TItemPlaces* places) {
  if (letters.empty()) {
    Report("Ошибка 1 в MyLetters_to_ItemL (ItemDial)"_cp, "Error 1 in MyLetters_to_ItemL (ItemDial)");
    return std::nullopt;
  }
  const auto fail = [&](std::size_t at) -> std::optional<TItemList> {
    FaultAt(places, at);
    return std::nullopt;
  };
  const auto digitAt = [&](std::size_t k) { return k < letters.size() && LetterClass(letters[k]) == kDigitClass; };
  TReadItems read;
  std::size_t i = 0;
  while (i < letters.size()) {
    std::size_t j = i + 1;
    const int cls = LetterClass(letters[i]);
    if (cls != kOtherClass && cls != kTemplateClass)
      while (j < letters.size() && LetterClass(letters[j]) == cls) ++j;
    if (cls == kDigitClass) {
      std::string digits;
      for (std::size_t k = i; k < j; ++k) digits += static_cast<char>(letters[k].Code);
      // A decimal is read whole, blanks around its point too, so that the
      // zeros after the point stay.
      const auto blank = [&](std::size_t k) { return k < letters.size() && letters[k].Code == ' ' && letters[k].Font == kPlainFont; };
      std::size_t k = j;
      while (blank(k)) ++k;
      if (k < letters.size() && IsDecimalPoint(letters[k])) {
        for (++k; blank(k);) ++k;
        if (digitAt(k)) {
          digits += '.';
          for (j = k; digitAt(j); ++j) digits += static_cast<char>(letters[j].Code);
        }
      }
      const std::optional<TNumber> n = NumberFromString(digits);
      if (!n) {
        Report("Ошибка при интерпретации числа "_cp + digits, "Unable to interpret number " + digits);
        return fail(i);
      }
      read.Add(TExpr::Number(*n), i);
      i = j;
      continue;
    }
    if (cls == kTemplateClass) {
      // "#" and the digits of the parameter's number.
      std::string digits;
      while (digitAt(j)) digits += static_cast<char>(letters[j++].Code);
      const std::optional<int> n = ParseInt(digits);
      if (digits.empty() || !n || *n < 0) {
        Report("Неверный индекс параметра шаблона."_cp, "Invalid index of template parameter.");
        return fail(i);
      }
      read.Add(TExpr::Par(TClass::TemplPar, *n), i);
      i = j;
      continue;
    }
    const TLetters run(letters.begin() + static_cast<std::ptrdiff_t>(i), letters.begin() + static_cast<std::ptrdiff_t>(j));
    const bool followedByDigits = digitAt(j);
    const bool lone = run.size() == 1 && (cls == kLatinClass || cls == kGreekClass);
    const bool reserved = lone && !followedByDigits &&
                          ((cls == kLatinClass && run[0].Code == 'o') || (cls == kGreekClass && run[0].Code == 'p'));
    if (lone && !reserved) {
      TVarName name{static_cast<std::int8_t>(cls == kGreekClass ? run[0].Code - 64 : run[0].Code), -1};
      if (followedByDigits) {
        std::size_t k = j;
        std::string digits;
        while (digitAt(k)) digits += static_cast<char>(letters[k++].Code);
        const std::optional<int> index = ParseInt(digits);
        if (!index) {
          Report("Ошибка при интерпретации числа "_cp + digits, "Unable to interpret number " + digits);
          return fail(j);
        }
        name.Index = *index;
        j = k;
      }
      read.Add(TExpr::NodefVar(std::make_shared<TVar>(TVar{name, nullptr})), i);
      i = j;
      continue;
    }
    const bool lookUp = standardFont || std::any_of(run.begin(), run.end(), [](const TLetter& l) { return l.Font != kPlainFont; });
    if (!lookUp) {
      read.Add(TExpr::String(LettersText(run)), i);
      i = j;
      continue;
    }
    TIntr* found = nullptr;
    for (const auto& f : Catalogue().IntrList)
      if (!f->Visual.empty() && SameGlyphs(f->Visual, run)) {
        found = f.get();
        break;
      }
    if (found != nullptr) {
      TExprPtr item = TExpr::OfIntr(*found);
      if (IsExplicitTypeSign(*found) || IsClassSign(*found)) {
        const auto parameter = Parenthesised(letters, j);
        const std::string text = parameter ? parameter->first : "";
        if (IsExplicitTypeSign(*found)) {
          item->Type = parameter ? Ctx().TypesProccess->ReadType(Trim(text), false) : nullptr;
          if (item->Type == nullptr) {
            Report("Неизвестный тип "_cp + text + " в явном описании типа."_cp,
                   "Unknown type " + text + " in explicit type notification.");
            return fail(i);
          }
          read.Add(std::move(item), i);
        } else {
          const TClass c = ClassFromName(Trim(text));
          if (!parameter || (c == TClass::NoClass && Trim(text) != "no_class")) {
            Report("Неизвестный класс "_cp + text + "."_cp, "Unknown class " + text + ".");
            return fail(i);
          }
          read.Add(std::move(item), i);
          read.Add(TExpr::String(std::string(Trim(text))), i);
        }
        i = parameter->second;
        continue;
      }
      read.Add(std::move(item), i);
      i = j;
      continue;
    }
    TAntIntr* antonym = nullptr;
    for (const auto& a : Catalogue().AntonimList)
      if (SameGlyphs(a->Visual, run)) {
        antonym = a.get();
        break;
      }
    if (antonym == nullptr) {
      const std::string shown = LettersToUtf8(run);
      if (standardFont)
        Report("Строка содержит неинтерпретируемые символы:"_cp + Utf8ToCp1251(" " + shown),
               "Uninterpreted symbols: " + Utf8ToCp1251(shown));
      else
        Report("Строка содержит неинтерпретируемые символы в нестандартном шрифте:"_cp + Utf8ToCp1251(" " + shown),
               "Uninterpreted symbols in undefault font: " + Utf8ToCp1251(shown));
      return fail(i);
    }
    read.Add(TExpr::OfAntIntr(*antonym), i);
    i = j;
  }
  Finish(read);
  return read.Take(places, letters.size());
}

std::optional<TLetters> ItemL_to_MyLetters(const TItemList& source) {
  // Blanks: before an item spaced before, after an item spaced after.
  std::vector<const TExpr*> items;
  TExprPtr blank = IntrItem(kBlank);
  for (std::size_t i = 0; i < source.size(); ++i) {
    const TExpr& item = *source[i];
    const int spacing = Spacing(item);
    if (spacing > 1 && !items.empty() && !items.back()->IsIntr(kBlank) && !items.back()->IsIntr(kLeftRound))
      items.push_back(blank.get());
    items.push_back(&item);
    if ((spacing == 1 || spacing == 2) && i + 1 < source.size() && !IsTight(*source[i + 1])) items.push_back(blank.get());
  }
  TLetters letters;
  const auto add = [&](std::uint8_t code, std::uint8_t font, std::uint32_t colour) {
    letters.push_back(TLetter{.Code = code, .Colour = colour, .Font = font});
  };
  const auto addText = [&](const std::string& text, std::uint32_t colour) {
    for (const char c : text) add(static_cast<std::uint8_t>(c), kPlainFont, colour);
  };
  for (std::size_t i = 0; i < items.size(); ++i) {
    const TExpr& item = *items[i];
    if (i > 0 && !items[i - 1]->IsIntr(kBlank) && !IsTight(item) &&
        (item.Class == TClass::String || items[i - 1]->Class == TClass::String))
      add(' ', kPlainFont, kBlack);
    if (const TIntr* f = item.Intrinsic()) {
      if (f->Visual.empty()) {
        Report("Ошибка разработчика : попытка вывода внутреннего символа. (ItemDial)"_cp,
               "Error 3 in ItemL_to_MyLetters (ItemDial).");
        return std::nullopt;
      }
      for (TLetter l : f->Visual) {
        l.Colour = kBlack;
        letters.push_back(l);
      }
      if (IsExplicitTypeSign(*f)) {
        if (item.Type == nullptr) {
          Report("Ошибка 5 в ItemL_to_MyLetters (ItemDial)."_cp, "Error 5 in ItemL_to_MyLetters (ItemDial).");
          return std::nullopt;
        }
        addText("(" + Ctx().TypesProccess->Identifier(*item.Type) + ")", kBlue);
      } else if (IsClassSign(*f)) {
        if (i + 1 >= items.size() || items[i + 1]->Class != TClass::String) {
          Report("Ошибка 6 в ItemL_to_MyLetters (ItemDial)."_cp, "Error 6 in ItemL_to_MyLetters (ItemDial).");
          return std::nullopt;
        }
        addText("(" + *items[i + 1]->Text() + ")", kBlue);
        ++i;
      }
    } else if (const TAntIntr* a = item.Antonym()) {
      for (TLetter l : a->Visual) {
        l.Colour = kBlack;
        letters.push_back(l);
      }
    } else if (const TNumber* n = item.NumberValue()) {
      addText(NumberToString(*n), kBlack);
    } else if (const std::string* text = item.Text()) {
      addText(*text, kBlue);
    } else if (item.IsVar()) {
      const TVarName& name = item.Var()->Name;
      const std::uint32_t colour = item.Class == TClass::LocVar ? kRed : kBlack;
      if (name.Letter <= 64)
        add(static_cast<std::uint8_t>(name.Letter + 64), kMathFont, colour);
      else
        add(static_cast<std::uint8_t>(name.Letter), kPlainFont, colour);
      if (name.Index >= 0) addText(std::to_string(name.Index), colour);
    } else if (item.Class == TClass::TemplPar) {
      addText("#" + std::to_string(item.ParIndex()), kBlue);
    } else {
      Report("Ошибка 4 в ItemL_to_MyLetters (ItemDial)."_cp, "Error 4 in ItemL_to_MyLetters (ItemDial).");
      return std::nullopt;
    }
  }
  if (letters.empty() || letters.back().Code != ' ') add(' ', kPlainFont, kBlack);
  return letters;
}

std::optional<std::string> OneItem_to_String(const TExpr& item, bool classWord, bool numeric) {
  TStFunc& catalogue = Catalogue();
  if (const TIntr* f = item.Intrinsic()) {
    std::string word = catalogue.WordOf(*f, numeric);
    if (IsExplicitTypeSign(*f)) {
      if (item.Type == nullptr) {
        Report("Ошибка 3 в OneItem_to_String (ItemDial)"_cp, "Error 3 in OneItem_to_String (ItemDial)");
        return std::nullopt;
      }
      word += " " + Ctx().TypesProccess->Identifier(*item.Type) + " ";
    }
    return word;
  }
  if (const TAntIntr* a = item.Antonym()) return catalogue.AntonymWordOf(*a, numeric);
  if (const TNumber* n = item.NumberValue()) return NumberToString(*n);
  if (const std::string* text = item.Text()) return *text;
  if (item.IsVar()) {
    std::string prefix;
    if (classWord && item.Class == TClass::DataVar) prefix = "\\DataVar ";
    if (classWord && item.Class == TClass::ProveVar) prefix = "\\ProveVar ";
    if (classWord && item.Class == TClass::LocVar) prefix = "\\LocVar ";
    return prefix + NameText(item.Var()->Name);
  }
  if (item.Class == TClass::TemplPar) return "#" + std::to_string(item.ParIndex());
  Report("Ошибка 1 в OneItem_to_String (ItemDial)"_cp, "Error 1 in OneItem_to_String (ItemDial)");
  return std::nullopt;
}

std::optional<std::string> ItemL_to_String(const TItemList& items, bool classWord, bool numeric) {
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (const TIntr* f = items[i]->Intrinsic(); f && IsClassSign(*f) && i + 1 >= items.size()) {
      Report("Ошибка 1 в ItemL_to_String (ItemDial)"_cp, "Error 1 in ItemL_to_String (ItemDial)");
      return std::nullopt;
    }
    const std::optional<std::string> word = OneItem_to_String(*items[i], classWord, numeric);
    if (!word) return std::nullopt;
    if (word->empty()) continue;
    const TIntr* previous = i > 0 ? items[i - 1]->Intrinsic() : nullptr;
    const bool classItem = previous != nullptr && IsClassSign(*previous);
    if (!text.empty() && (classItem || (WordChar(static_cast<unsigned char>(text.back())) &&
                                         WordChar(static_cast<unsigned char>(word->front())))))
      text += ' ';
    text += *word;
  }
  return text;
}

std::optional<TItemList> StringToItems(std::string_view text, bool report, TItemPlaces* places) {
  TStFunc& catalogue = Catalogue();
  TReadItems read;
  TClass pendingClass = TClass::NoClass;
  bool pending = false;
  std::size_t p = 0;
  std::size_t wordStart = 0;
  const auto isDigit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
  const auto nextWord = [&]() -> std::string {
    while (p < text.size() && text[p] == ' ') ++p;
    wordStart = p;
    if (p >= text.size()) return "";
    const unsigned char c = static_cast<unsigned char>(text[p]);
    if (!WordChar(c) && c != '\\' && c != '#') {
      ++p;
      return std::string(text.substr(wordStart, 1));
    }
    ++p;
    while (p < text.size() && (WordChar(static_cast<unsigned char>(text[p])) || text[p - 1] == '\\')) ++p;
    std::string word(text.substr(wordStart, p - wordStart));
    // A decimal is one word, blanks around its point too, so that the zeros
    // after the point stay.
    if (std::all_of(word.begin(), word.end(), isDigit)) {
      std::size_t q = p;
      while (q < text.size() && text[q] == ' ') ++q;
      if (q < text.size() && text[q] == '.') {
        for (++q; q < text.size() && text[q] == ' ';) ++q;
        if (q < text.size() && isDigit(text[q])) {
          word += '.';
          for (p = q; p < text.size() && isDigit(text[p]); ++p) word += text[p];
        }
      }
    }
    return word;
  };
  // After a parameter sign: the next word delimited by blanks.
  const auto nextBlankWord = [&]() -> std::string {
    while (p < text.size() && text[p] == ' ') ++p;
    const std::size_t start = p;
    while (p < text.size() && text[p] != ' ') ++p;
    return std::string(text.substr(start, p - start));
  };
  const auto fail = [&](const std::string& rus, const std::string& eng) -> std::optional<TItemList> {
    Report(rus, eng);
    FaultAt(places, wordStart);
    return std::nullopt;
  };
  // An intrinsic function, with the parameter the explicit-type and class signs take.
  const auto addIntrinsic = [&](TIntr& f) -> std::optional<TMessage> {
    const std::size_t at = wordStart;
    TExprPtr item = TExpr::OfIntr(f);
    if (!IsExplicitTypeSign(f) && !IsClassSign(f)) {
      read.Add(std::move(item), at);
      return std::nullopt;
    }
    const std::string parameter = nextBlankWord();
    if (parameter.empty()) return TMessage{"Ошибка 1 в явном задании типа или класса"_cp, "Error 1 in explicit type or class notification"};
    if (IsExplicitTypeSign(f)) {
      item->Type = Ctx().TypesProccess->ReadType(parameter, false);
      if (item->Type == nullptr)
        return TMessage{"Ошибка 3 в явном задании типа: "_cp + parameter, "Error 3 in explicit type notification " + parameter};
      read.Add(std::move(item), at);
      return std::nullopt;
    }
    const TClass c = ClassFromName(parameter);
    if (c == TClass::NoClass && parameter != "no_class") return TMessage{"Неверное описание класса."_cp, "Wrong description of type."};
    read.Add(std::move(item), at);
    read.Add(TExpr::String(parameter), at);
    return std::nullopt;
  };
  while (p < text.size()) {
    const std::string word(Trim(nextWord()));
    if (word.empty() || word == "\\n") continue;
    if (word == "\\LocVar" || word == "\\DataVar" || word == "\\ProveVar") {
      pendingClass = word == "\\LocVar" ? TClass::LocVar : word == "\\DataVar" ? TClass::DataVar : TClass::ProveVar;
      pending = true;
      continue;
    }
    TIntr* numbered = nullptr;
    if (word.size() > 1 && word[0] == '\\' && std::all_of(word.begin() + 1, word.end(), isDigit)) {
      const std::optional<int> n = ParseInt(word.substr(1));
      numbered = n ? catalogue.Intr(*n) : nullptr;
      if (numbered != nullptr && numbered->Name.empty()) numbered = nullptr;  // an empty slot is no function
      if (numbered == nullptr || pending) {
        if (report || pending) return fail("Неинтерпретируемое выражение "_cp + word, "Unable to interpret string " + word);
        read.Add(TExpr::String(word), wordStart);
        continue;
      }
    }
    TIntr* named = nullptr;
    if (numbered != nullptr) {
      named = numbered;
    } else if (const std::optional<TVarName> name = NameFromString(word, false)) {
      TExprPtr item = TExpr::NodefVar(std::make_shared<TVar>(TVar{*name, nullptr}));
      if (pending) item->Class = pendingClass;  // the item keeps its variable; linking comes later
      read.Add(std::move(item), wordStart);
      pending = false;
      continue;
    } else if (pending) {
      return fail("После типа переменной вместо имени переменной следует строка "_cp + word,
                  "After a variable's type the variable is expected but the following string appears: " + word);
    } else if (word[0] == '#') {
      const std::optional<int> n = word.size() > 1 ? ParseInt(word.substr(1)) : std::nullopt;
      if (!n || *n < 0) return fail("Неверный индекс параметра шаблона."_cp, "Invalid index of template parameter.");
      read.Add(TExpr::Par(TClass::TemplPar, *n), wordStart);
    } else if (const std::optional<TNumber> n = NumberFromString(word)) {
      read.Add(TExpr::Number(*n), wordStart);
    } else if (TIntr* f = catalogue.FindByWord(word, false)) {
      named = f;
    } else if (report) {
      return fail("Неинтерпретируемое выражение "_cp + word, "Unable to interpret string " + word);
    } else {
      read.Add(TExpr::String(word), wordStart);
    }
    if (named != nullptr) {
      if (const std::optional<TMessage> wrong = addIntrinsic(*named)) return fail(wrong->Rus, wrong->Eng);
    }
  }
  Finish(read);
  return read.Take(places, text.size());
}

std::optional<TLetters> StringToLetters(std::string_view text) {
  const std::optional<TItemList> items = StringToItems(text, true);
  if (!items) return std::nullopt;
  return ItemL_to_MyLetters(*items);
}

std::optional<std::string> GetString(const std::vector<TLetters>& lines, int mode, bool numeric) {
  if (mode < 0 || mode > 2) {
    Report("Ошибка разработчика in GetString (ItemDial)."_cp, "Error 1 in GetString (ItemDial).");
    return std::nullopt;
  }
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string line;
    if (mode == 0) {
      for (const TLetter& l : lines[i]) {
        if (l.Font != kPlainFont) {
          Report("Нестандартный шрифт: "_cp, "Undefault font: ");
          return std::nullopt;
        }
        line += static_cast<char>(l.Code);
      }
    } else {
      const std::optional<TItemList> items = MyLetters_to_ItemL(lines[i], mode == 2);
      if (!items) return std::nullopt;
      const std::optional<std::string> written = ItemL_to_String(*items, true, numeric);
      if (!written) return std::nullopt;
      line = *written;
    }
    if (i > 0) text += "\\n ";
    text += line;
  }
  // Trailing "\skip" words are dropped, with the blanks between them.
  for (;;) {
    const std::string_view trimmed = Trim(text);
    if (!trimmed.ends_with("\\skip")) {
      text = std::string(trimmed);
      break;
    }
    text = std::string(trimmed.substr(0, trimmed.size() - 5));
  }
  return text;
}

std::optional<TVarList> ReadVariableDeclarations(const std::vector<TLetters>& lines) {
  TVarList vars;
  for (const TLetters& line : lines) {
    std::size_t i = 0;
    while (i < line.size() && line[i].Code == ' ') ++i;
    if (i == line.size()) continue;
    const auto nameExpected = [] {
      Report("Ожидается имя переменной и ее тип."_cp, "A name and a type of variable is expected.");
      return std::nullopt;
    };
    const int cls = LetterClass(line[i]);
    if ((cls != kLatinClass && cls != kGreekClass) || i + 1 >= line.size()) return nameExpected();
    TVarName name{static_cast<std::int8_t>(cls == kGreekClass ? line[i].Code - 64 : line[i].Code), -1};
    ++i;
    const auto typeExpected = [] {
      Report("После имени переменной ожидается ее тип."_cp, "A type of variable is expected after its name.");
      return std::nullopt;
    };
    if (line[i].Code != ' ') {
      std::string digits;
      while (i < line.size() && line[i].Code != ' ') {
        if (LetterClass(line[i]) != kDigitClass) {
          Report("После имени переменной должен следовать ее индекс или пробел."_cp,
                 "An index of variable or space is expected after the variable's name.");
          return std::nullopt;
        }
        digits += static_cast<char>(line[i++].Code);
      }
      if (i == line.size()) return typeExpected();
      name.Index = ParseInt(digits).value_or(-1);
    }
    while (i < line.size() && line[i].Code == ' ') ++i;
    if (i == line.size() || !(line[i].Code == '(' && line[i].Font == kPlainFont)) return typeExpected();
    const auto parameter = Parenthesised(line, i);
    TType* type = parameter ? Ctx().TypesProccess->ReadType(Trim(parameter->first), false) : nullptr;
    if (type == nullptr) {
      Report("Ошибка в описании типа переменной."_cp, "Invalid variable type description.");
      return std::nullopt;
    }
    vars.push_back(std::make_shared<TVar>(TVar{name, type}));
  }
  return vars;
}

}  // namespace lemmix
