// The text of a formula edit: lines of letters, caret, selection, the line
// marks, and the keyboard of formulas. The Qt widget paints it and feeds it
// keys in Windows virtual-key codes, so that everything a key does is the
// same on every platform and can be tested without a display.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "expr/expr.h"
#include "intrinsics/letter.h"

namespace lemmix {

class TStFunc;

// Shift state bits of key handling.
inline constexpr int kShiftState = 1;
inline constexpr int kCtrlState = 4;

// The virtual-key codes the edit knows.
namespace vk {
inline constexpr int Back = 0x08, Return = 0x0D, Space = 0x20, Prior = 0x21, Next = 0x22, End = 0x23,
                     Home = 0x24, Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28, Insert = 0x2D,
                     Delete = 0x2E, Numpad0 = 0x60, Multiply = 0x6A, Add = 0x6B, Subtract = 0x6D,
                     Decimal = 0x6E, Divide = 0x6F, OemSemicolon = 0xBA, OemPlus = 0xBB,
                     OemComma = 0xBC, OemMinus = 0xBD, OemPeriod = 0xBE, OemSlash = 0xBF,
                     OemTilde = 0xC0, OemOpenBracket = 0xDB, OemBackslash = 0xDC,
                     OemCloseBracket = 0xDD, OemQuote = 0xDE;
}  // namespace vk

// The 21 hot keys in the order of the hot key table.
inline constexpr int kHotKeyCodes[] = {0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x30, 0xBD,
                                       0xBB, 0xDC, 0xDB, 0xDD, 0xBA, 0xDE, 0xBC, 0xBE, 0xBF, 0xC0};

// A place in the text: the caret stands before the letter at its column.
struct TTextPlace {
  int Column = 0;
  int Line = 0;
  friend bool operator==(const TTextPlace&, const TTextPlace&) = default;
  friend auto operator<=>(const TTextPlace& a, const TTextPlace& b) {
    return a.Line != b.Line ? a.Line <=> b.Line : a.Column <=> b.Column;
  }
};

// A rectangle in pixels of the laid-out text, right and bottom exclusive.
struct TTextRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// The letters that a key types: numeric-pad keys translated with Num Lock on,
// Ctrl and Ctrl+Shift letters of the mathematical face, the Russian layout in
// Cyrillic mode, and the hot key table. Nothing for a key that types nothing.
std::optional<TLetters> TypedLetters(const TStFunc& functions, int key, int shift, bool cyrillic, bool numLock);

// The program-wide clipboard of the formula edits: lines of letters.
std::vector<TLetters>& EditClipboard();

class TEditText {
 public:
  TEditText();

  // How wide and high a letter is drawn; the layout asks it for every letter.
  using Measure = std::function<std::pair<int, int>(const TLetter&)>;

  const std::vector<TLetters>& Lines() const { return lines_; }
  int LineCount() const { return static_cast<int>(lines_.size()); }

  bool ReadOnly = false;
  bool AutoSize = false;

  void Clear();
  // Appends the text cut at every "\n " into lines: mode 0 stored formula
  // text, mode 1 plain text, mode 2 plain text in black. False when a piece
  // of formula text cannot be read; the pieces before it stay added.
  bool AddText(std::string_view text, int mode);
  void AddLetters(const TLetters& letters);

  // The lines read and parsed as one formula, its plain-face words as symbols
  // with `standardFont`, else as texts (GetString's modes 2 and 1). A fault
  // of reading or parsing puts the caret on the letter where it lies.
  TExprPtr ReadTree(bool standardFont);

  // Inserts copies of the letters at the caret and moves the caret past them.
  void Insert(const TLetters& letters);
  // Editing and caret keys; false for a key the edit leaves to others.
  bool HandleEditKey(int key, int shift);

  TTextPlace Caret() const { return caret_; }
  // Puts the caret at the place, clamped into the text.
  void SetCaret(TTextPlace place);
  bool SelectionActive() const { return selecting_; }
  // The selection with start before end; the end letter is not selected.
  std::pair<TTextPlace, TTextPlace> Selection() const;
  bool IsSelected(int line, int column) const;
  void ClearSelection() { selecting_ = false; }
  void Copy() const;
  void Paste();
  void DeleteSelection();

  std::uint8_t Highlight(int line) const { return highlight_[line]; }
  void SetHighlight(int line, std::uint8_t value) { highlight_[line] = value; }
  int MarkedLine() const;
  void SetMarkedLine(int line);

  // Places every letter and answers the width and height of the text.
  std::pair<int, int> Layout(const Measure& measure);
  // The laid-out letter nearest to the point among those wholly inside the area.
  std::optional<TTextPlace> NearestLetter(int x, int y, const TTextRect& area) const;
  // Mouse selection: a press puts caret and anchor at the place, a move with
  // the button down extends the selection to it.
  void PressAt(TTextPlace place);
  void DragTo(TTextPlace place);

 private:
  void Move(TTextPlace to, bool extend);
  void InsertLine(int at, TLetters letters);
  void InsertRawLine(int at, TLetters letters);
  void RemoveLine(int at);
  void JoinWithNext(int line);
  void AppendLine(TLetters letters);

  std::vector<TLetters> lines_;
  std::vector<std::uint8_t> highlight_;
  std::vector<bool> marked_;
  TTextPlace caret_;
  bool selecting_ = false;
  TTextPlace anchor_;
  TTextPlace end_;
};

}  // namespace lemmix
