#include "notation/edit_text.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <string>

#include "intrinsics/st_func.h"
#include "notation/items.h"
#include "notation/parser.h"
#include "shell/cp1251.h"

namespace lemmix {

namespace {

constexpr std::string_view kLineBreak = "\\n ";
constexpr int kLineGap = 5;  // added below the highest letter of a line

bool EndsWithSpace(const TLetters& letters) { return !letters.empty() && letters.back().Code == ' '; }

void AddSentinel(TLetters& letters) {
  if (!EndsWithSpace(letters)) letters.push_back(TLetter{});
}

TLetters PlainLetters(std::string_view text, std::uint32_t colour) {
  TLetters letters;
  for (const char c : text) {
    TLetter letter;
    letter.Code = static_cast<std::uint8_t>(c);
    letter.Colour = colour;
    letters.push_back(letter);
  }
  return letters;
}

TLetter FreshLetter(std::uint8_t code, std::uint8_t font) {
  TLetter letter;
  letter.Code = code;
  letter.Font = font;
  return letter;
}

bool IsLetterKey(int key) { return key >= 'A' && key <= 'Z'; }

// Capitals of the Russian typewriter layout on the keys A..Z, and on the
// punctuation keys that carry letters there.
std::optional<std::uint8_t> RussianCapital(int key) {
  static const std::string capitals = "ФИСВУАПРШОЛДЬТЩЗЙКЫЕГМЦЧНЯ"_cp;
  if (IsLetterKey(key)) return static_cast<std::uint8_t>(capitals[key - 'A']);
  switch (key) {
    case vk::OemSemicolon: return static_cast<std::uint8_t>("Ж"_cp[0]);
    case vk::OemComma: return static_cast<std::uint8_t>("Б"_cp[0]);
    case vk::OemPeriod: return static_cast<std::uint8_t>("Ю"_cp[0]);
    case vk::OemOpenBracket: return static_cast<std::uint8_t>("Х"_cp[0]);
    case vk::OemCloseBracket: return static_cast<std::uint8_t>("Ъ"_cp[0]);
    case vk::OemQuote: return static_cast<std::uint8_t>("Э"_cp[0]);
    default: return std::nullopt;
  }
}

// Numeric-pad keys as the keys they stand for with Num Lock on.
void TranslatePadKey(int& key, int& shift) {
  if (key >= vk::Numpad0 && key <= vk::Numpad0 + 9) {
    key = '0' + (key - vk::Numpad0);
    return;
  }
  switch (key) {
    case vk::Multiply: key = '8', shift = kShiftState; break;
    case vk::Add: key = vk::OemPlus, shift = kShiftState; break;
    case vk::Subtract: key = vk::OemMinus; break;
    case vk::Decimal: key = vk::OemPeriod; break;
    case vk::Divide: key = vk::OemSlash; break;
    default: break;
  }
}

std::optional<TLetters> HotKeyLetters(const TStFunc& functions, int key, int hotRegister) {
  const auto* code = std::find(std::begin(kHotKeyCodes), std::end(kHotKeyCodes), key);
  if (code == std::end(kHotKeyCodes)) return std::nullopt;
  const char keyChar = TStFunc::kKeyChars[static_cast<std::size_t>(code - std::begin(kHotKeyCodes))];
  const TStFunc::HotKey hot = functions.HotKeyLookup(keyChar, hotRegister);
  if (hot.Visual == nullptr || hot.Visual->empty()) return std::nullopt;
  return *hot.Visual;
}

}  // namespace

std::optional<TLetters> TypedLetters(const TStFunc& functions, int key, int shift, bool cyrillic, bool numLock) {
  if (numLock) TranslatePadKey(key, shift);
  const bool withShift = (shift & kShiftState) != 0;
  const bool withCtrl = (shift & kCtrlState) != 0;
  if (withCtrl) {
    if (IsLetterKey(key)) {
      const int code = withShift ? key : key - 'A' + 'a';
      return TLetters{FreshLetter(static_cast<std::uint8_t>(code), kMathFont)};
    }
    if (withShift) return std::nullopt;
    return HotKeyLetters(functions, key, 2);
  }
  if (cyrillic) {
    if (key == vk::OemSlash) return TLetters{FreshLetter(withShift ? ',' : '.', kPlainFont)};
    if (const std::optional<std::uint8_t> capital = RussianCapital(key)) {
      const std::uint8_t code = withShift ? *capital : static_cast<std::uint8_t>(*capital + 0x20);
      return TLetters{FreshLetter(code, kPlainFont)};
    }
  }
  if (IsLetterKey(key)) {
    const int code = withShift ? key : key - 'A' + 'a';
    return TLetters{FreshLetter(static_cast<std::uint8_t>(code), kPlainFont)};
  }
  if (!withShift && key == vk::Space) return TLetters{FreshLetter(' ', kPlainFont)};
  return HotKeyLetters(functions, key, withShift ? 1 : 0);
}

std::vector<TLetters>& EditClipboard() {
  static std::vector<TLetters> clipboard;
  return clipboard;
}

TEditText::TEditText() { Clear(); }

void TEditText::Clear() {
  lines_.assign(1, TLetters{TLetter{}});
  highlight_.assign(1, 0);
  marked_.assign(1, false);
  caret_ = {};
  anchor_ = {};
  end_ = {};
  selecting_ = false;
}

void TEditText::AppendLine(TLetters letters) {
  AddSentinel(letters);
  if (lines_.back().size() == 1 && lines_.back()[0].Code == ' ') {
    lines_.back() = std::move(letters);
    return;
  }
  InsertLine(LineCount(), std::move(letters));
}

bool TEditText::AddText(std::string_view text, int mode) {
  while (!text.empty()) {
    const std::size_t cut = text.find(kLineBreak);
    const std::string_view piece = text.substr(0, cut);
    text = cut == std::string_view::npos ? std::string_view{} : text.substr(cut + kLineBreak.size());
    if (mode == 0) {
      const std::optional<TItemList> items = StringToItems(piece, false);
      std::optional<TLetters> letters;
      if (items) letters = ItemL_to_MyLetters(*items);
      if (!letters) return false;
      AppendLine(std::move(*letters));
    } else {
      AppendLine(PlainLetters(piece, mode == 2 ? kBlack : TLetter{}.Colour));
    }
  }
  return true;
}

void TEditText::AddLetters(const TLetters& letters) { AppendLine(letters); }

TExprPtr TEditText::ReadTree(bool standardFont) {
  const auto faultAt = [this](TTextPlace place) {
    selecting_ = false;
    SetCaret(place);
  };
  TItemList items;
  std::vector<TTextPlace> places;  // of every item, and last the end of the text
  for (int line = 0; line < LineCount(); ++line) {
    TItemPlaces linePlaces;
    std::optional<TItemList> read = MyLetters_to_ItemL(lines_[line], standardFont, &linePlaces);
    if (!read) {
      if (linePlaces.Fault) faultAt({static_cast<int>(*linePlaces.Fault), line});
      return nullptr;
    }
    for (std::size_t i = 0; i < read->size(); ++i) {
      items.push_back(std::move((*read)[i]));
      places.push_back({static_cast<int>(linePlaces.Items[i]), line});
    }
  }
  places.push_back({static_cast<int>(lines_.back().size()) - 1, LineCount() - 1});
  std::optional<std::size_t> fault;
  TExprPtr tree = ParseItems(items, &fault);
  if (!tree && fault) faultAt(places[*fault]);
  return tree;
}

void TEditText::InsertLine(int at, TLetters letters) {
  AddSentinel(letters);
  InsertRawLine(at, std::move(letters));
}

void TEditText::InsertRawLine(int at, TLetters letters) {
  lines_.insert(lines_.begin() + at, std::move(letters));
  highlight_.insert(highlight_.begin() + at, 0);
  marked_.insert(marked_.begin() + at, false);
}

void TEditText::RemoveLine(int at) {
  lines_.erase(lines_.begin() + at);
  highlight_.erase(highlight_.begin() + at);
  marked_.erase(marked_.begin() + at);
}

void TEditText::JoinWithNext(int line) {
  TLetters& joined = lines_[line];
  joined.pop_back();  // the sentinel stands for the line break
  const TLetters& next = lines_[line + 1];
  joined.insert(joined.end(), next.begin(), next.end());
  AddSentinel(joined);
  RemoveLine(line + 1);
}

void TEditText::SetCaret(TTextPlace place) {
  place.Line = std::clamp(place.Line, 0, LineCount() - 1);
  place.Column = std::clamp(place.Column, 0, static_cast<int>(lines_[place.Line].size()) - 1);
  caret_ = place;
}

std::pair<TTextPlace, TTextPlace> TEditText::Selection() const {
  return anchor_ < end_ ? std::pair{anchor_, end_} : std::pair{end_, anchor_};
}

bool TEditText::IsSelected(int line, int column) const {
  if (!selecting_) return false;
  const auto [start, end] = Selection();
  const TTextPlace place{column, line};
  return start <= place && place < end;
}

void TEditText::Move(TTextPlace to, bool extend) {
  if (!extend) {
    selecting_ = false;
    SetCaret(to);
    return;
  }
  if (!selecting_) anchor_ = caret_;
  SetCaret(to);
  end_ = caret_;
  selecting_ = end_ != anchor_;
}

void TEditText::Insert(const TLetters& letters) {
  if (letters.empty()) return;
  TLetters& line = lines_[caret_.Line];
  line.insert(line.begin() + caret_.Column, letters.begin(), letters.end());
  caret_.Column += static_cast<int>(letters.size());
}

void TEditText::Copy() const {
  if (!selecting_) return;
  const auto [start, end] = Selection();
  std::vector<TLetters> copied;
  for (int line = start.Line; line <= end.Line; ++line) {
    const TLetters& letters = lines_[line];
    const int from = line == start.Line ? start.Column : 0;
    const int last = static_cast<int>(letters.size()) - 1;  // the sentinel is the line break
    const int to = line == end.Line ? std::min(end.Column, last) : last;
    copied.emplace_back(letters.begin() + from, letters.begin() + std::max(from, to));
  }
  EditClipboard() = std::move(copied);
}

void TEditText::Paste() {
  const std::vector<TLetters> clipboard = EditClipboard();  // a copy: pasting may be into itself
  if (clipboard.empty()) return;
  TLetters& line = lines_[caret_.Line];
  TLetters rest(line.begin() + caret_.Column, line.end());
  line.erase(line.begin() + caret_.Column, line.end());
  line.insert(line.end(), clipboard[0].begin(), clipboard[0].end());
  caret_.Column = static_cast<int>(line.size());
  for (std::size_t i = 1; i < clipboard.size(); ++i) {
    lines_[caret_.Line].push_back(TLetter{});
    // No sentinel yet: the rest of the caret's line follows the pasted letters.
    InsertRawLine(caret_.Line + 1, clipboard[i]);
    caret_ = {static_cast<int>(clipboard[i].size()), caret_.Line + 1};
  }
  TLetters& last = lines_[caret_.Line];
  last.insert(last.end(), rest.begin(), rest.end());
  AddSentinel(last);
  selecting_ = false;
}

void TEditText::DeleteSelection() {
  const auto [start, end] = Selection();
  selecting_ = false;
  for (int line = end.Line; line >= start.Line; --line) {
    TLetters& letters = lines_[line];
    const int from = line == start.Line ? start.Column : 0;
    const int to = line == end.Line ? end.Column : static_cast<int>(letters.size());
    letters.erase(letters.begin() + from, letters.begin() + std::max(from, to));
    if (letters.empty() && LineCount() > 1) RemoveLine(line);
  }
  // What is left of the first and the last line forms one line.
  if (start.Line != end.Line && start.Column > 0) {
    TLetters& first = lines_[start.Line];
    const TLetters& next = lines_[start.Line + 1];
    first.insert(first.end(), next.begin(), next.end());
    RemoveLine(start.Line + 1);
  }
  AddSentinel(lines_[std::min(start.Line, LineCount() - 1)]);
  SetCaret(start);
}

bool TEditText::HandleEditKey(int key, int shift) {
  const bool withShift = (shift & kShiftState) != 0;
  const bool withCtrl = (shift & kCtrlState) != 0;
  const int lastColumn = static_cast<int>(lines_[caret_.Line].size()) - 1;
  switch (key) {
    case vk::Back:
      selecting_ = false;
      if (ReadOnly) return false;
      if (caret_.Column > 0) {
        TLetters& line = lines_[caret_.Line];
        line.erase(line.begin() + caret_.Column - 1);
        --caret_.Column;
      } else if (caret_.Line > 0) {
        const int column = static_cast<int>(lines_[caret_.Line - 1].size()) - 1;
        JoinWithNext(caret_.Line - 1);
        caret_ = {column, caret_.Line - 1};
      }
      return true;
    case vk::Return: {
      selecting_ = false;
      if (ReadOnly || AutoSize) return false;
      TLetters& line = lines_[caret_.Line];
      TLetters tail(line.begin() + caret_.Column, line.end());
      line.erase(line.begin() + caret_.Column, line.end());
      line.push_back(TLetter{});
      InsertLine(caret_.Line + 1, std::move(tail));
      caret_ = {0, caret_.Line + 1};
      return true;
    }
    case vk::Prior: Move({caret_.Column, 0}, withShift); return true;
    case vk::Next: Move({caret_.Column, LineCount() - 1}, withShift); return true;
    case vk::Home: Move({0, caret_.Line}, withShift); return true;
    case vk::End: Move({lastColumn, caret_.Line}, withShift); return true;
    case vk::Left: Move({caret_.Column - 1, caret_.Line}, withShift); return true;
    case vk::Right: Move({caret_.Column + 1, caret_.Line}, withShift); return true;
    case vk::Up: Move({caret_.Column, caret_.Line - 1}, withShift); return true;
    case vk::Down: Move({caret_.Column, caret_.Line + 1}, withShift); return true;
    case vk::Insert:
      if (withShift && !withCtrl) {
        if (ReadOnly || EditClipboard().empty()) return false;
        Paste();
        return true;
      }
      if (withCtrl && !withShift) {
        Copy();
        return true;
      }
      return false;
    case vk::Delete:
      if (ReadOnly) return false;
      if (selecting_) {
        if (withShift) Copy();
        DeleteSelection();
      } else if (caret_.Column < lastColumn) {
        TLetters& line = lines_[caret_.Line];
        line.erase(line.begin() + caret_.Column);
      } else if (caret_.Line + 1 < LineCount()) {
        JoinWithNext(caret_.Line);
      }
      return true;
    default: return false;
  }
}

int TEditText::MarkedLine() const {
  const auto marked = std::find(marked_.begin(), marked_.end(), true);
  return marked == marked_.end() ? -1 : static_cast<int>(marked - marked_.begin());
}

void TEditText::SetMarkedLine(int line) {
  std::fill(marked_.begin(), marked_.end(), false);
  if (line >= 0 && line < LineCount()) marked_[line] = true;
}

std::pair<int, int> TEditText::Layout(const Measure& measure) {
  int width = 0;
  int top = 0;
  for (TLetters& line : lines_) {
    int left = 0;
    int height = 0;
    for (TLetter& letter : line) {
      const auto [w, h] = measure(letter);
      letter.Left = left;
      letter.Top = top;
      letter.Width = w;
      letter.Height = h;
      left += w;
      height = std::max(height, h);
    }
    width = std::max(width, left);
    top += height + kLineGap;
  }
  return {width, top};
}

std::optional<TTextPlace> TEditText::NearestLetter(int x, int y, const TTextRect& area) const {
  std::optional<TTextPlace> nearest;
  int best = INT_MAX;
  for (int l = 0; l < LineCount(); ++l) {
    for (int c = 0; c < static_cast<int>(lines_[l].size()); ++c) {
      const TLetter& letter = lines_[l][c];
      const int right = letter.Left + letter.Width;
      const int bottom = letter.Top + letter.Height;
      if (letter.Left < area.Left || letter.Top < area.Top || right > area.Right || bottom > area.Bottom) continue;
      if (x >= letter.Left && x < right && y >= letter.Top && y < bottom) return TTextPlace{c, l};
      const int distance = std::min(std::abs(x - letter.Left), std::abs(x - right)) +
                           std::min(std::abs(y - letter.Top), std::abs(y - bottom));
      if (distance < best) {
        best = distance;
        nearest = TTextPlace{c, l};
      }
    }
  }
  return nearest;
}

void TEditText::PressAt(TTextPlace place) {
  selecting_ = false;
  SetCaret(place);
  anchor_ = end_ = caret_;
}

void TEditText::DragTo(TTextPlace place) {
  SetCaret(place);
  // Running forward, the letter under the mouse belongs to the selection.
  const int lastColumn = static_cast<int>(lines_[caret_.Line].size()) - 1;
  if (anchor_ < caret_ && caret_.Column < lastColumn) ++caret_.Column;
  end_ = caret_;
  selecting_ = end_ != anchor_;
}

}  // namespace lemmix
