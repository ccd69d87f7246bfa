// The text of a formula edit: lines and sentinels, editing keys, selection,
// the clipboard, the keyboard of formulas and the nearest letter.
#include "notation/edit_text.h"

#include <gtest/gtest.h>

#include "../expr/expr_fixture.h"
#include "intrinsics/intr_numbers.h"
#include "notation/items.h"
#include "shell/cp1251.h"
#include "intrinsics/st_func.h"

namespace lemmix {
namespace {

std::string Codes(const TLetters& letters) {
  std::string text;
  for (const TLetter& letter : letters) text += static_cast<char>(letter.Code);
  return text;
}

// The lines joined by "|", each with its sentinel.
std::string Shown(const TEditText& edit) {
  std::string text;
  for (const TLetters& line : edit.Lines()) text += (text.empty() ? "" : "|") + Codes(line);
  return text;
}

TLetters Plain(std::string_view text) {
  TLetters letters;
  for (const char c : text) letters.push_back(TLetter{.Code = static_cast<std::uint8_t>(c)});
  return letters;
}

class EditTextTest : public testing::ExprTest {
 protected:
  void SetUp() override {
    ExprTest::SetUp();
    EditClipboard().clear();
  }
};

TEST_F(EditTextTest, AddTextCutsLinesAndKeepsSentinels) {
  TEditText edit;
  EXPECT_EQ(Shown(edit), " ");
  EXPECT_TRUE(edit.AddText("a\\n b", 1));
  EXPECT_EQ(Shown(edit), "a |b ");  // the empty first line was replaced
  EXPECT_TRUE(edit.AddText("", 1));
  EXPECT_EQ(edit.LineCount(), 2);
  EXPECT_TRUE(edit.AddText("c ", 2));
  EXPECT_EQ(Shown(edit), "a |b |c ");  // a line ending in a space needs no other
  EXPECT_EQ(edit.Lines()[2][0].Colour, kBlack);
  EXPECT_EQ(edit.Lines()[0][0].Colour, TLetter{}.Colour);
  // Formula text: the second piece cannot be read, the first stays.
  edit.Clear();
  EXPECT_FALSE(edit.AddText("x + 1\\n #x", 0));
  EXPECT_EQ(edit.LineCount(), 1);
  EXPECT_NE(Shown(edit), " ");
  edit.AddLetters(Plain("yz"));
  EXPECT_EQ(Codes(edit.Lines()[1]), "yz ");
  edit.Clear();
  EXPECT_EQ(Shown(edit), " ");
  EXPECT_EQ(edit.Caret(), (TTextPlace{0, 0}));
  EXPECT_EQ(edit.MarkedLine(), -1);
}

TEST_F(EditTextTest, EditingKeys) {
  struct Case {
    const char* name;
    const char* text;  // lines cut at "\n "
    TTextPlace caret;
    std::vector<std::pair<int, int>> keys;
    bool readOnly;
    bool autoSize;
    const char* shown;
    TTextPlace after;
  };
  const Case cases[] = {
      {"BackspaceAtStartChangesNothing", "ab", {0, 0}, {{vk::Back, 0}}, false, false, "ab ", {0, 0}},
      {"BackspaceDeletes", "ab", {2, 0}, {{vk::Back, 0}}, false, false, "a ", {1, 0}},
      {"BackspaceJoins", "ab\\n cd", {0, 1}, {{vk::Back, 0}}, false, false, "abcd ", {2, 0}},
      {"DeleteOnLastSentinel", "ab\\n cd", {2, 1}, {{vk::Delete, 0}}, false, false, "ab |cd ", {2, 1}},
      {"DeleteJoins", "ab\\n cd", {2, 0}, {{vk::Delete, 0}}, false, false, "abcd ", {2, 0}},
      {"DeleteLetter", "ab", {0, 0}, {{vk::Delete, 0}}, false, false, "b ", {0, 0}},
      {"EnterSplits", "abcd", {2, 0}, {{vk::Return, 0}}, false, false, "ab |cd ", {0, 1}},
      {"EnterAtEnd", "ab", {2, 0}, {{vk::Return, 0}}, false, false, "ab | ", {0, 1}},
      {"EnterRefusedAutoSize", "ab", {1, 0}, {{vk::Return, 0}}, false, true, "ab ", {1, 0}},
      {"ReadOnlyKeepsText", "ab", {1, 0}, {{vk::Back, 0}, {vk::Delete, 0}, {vk::Return, 0}}, true, false, "ab ", {1, 0}},
      {"HomeEnd", "abc", {1, 0}, {{vk::End, 0}}, false, false, "abc ", {3, 0}},
      {"LeftStopsAtStart", "abc", {0, 0}, {{vk::Left, 0}}, false, false, "abc ", {0, 0}},
      {"RightStopsAtSentinel", "ab", {2, 0}, {{vk::Right, 0}}, false, false, "ab ", {2, 0}},
      {"DownKeepsColumnInLine", "abcd\\n e", {4, 0}, {{vk::Down, 0}}, false, false, "abcd |e ", {1, 1}},
      {"PageDown", "ab\\n c\\n defg", {2, 0}, {{vk::Next, 0}}, false, false, "ab |c |defg ", {2, 2}},
      {"PageUp", "abc\\n d\\n e", {1, 2}, {{vk::Prior, 0}}, false, false, "abc |d |e ", {1, 0}},
      {"CutSelection", "abcd", {1, 0}, {{vk::Right, 1}, {vk::Right, 1}, {vk::Delete, 1}}, false, false, "ad ", {1, 0}},
      {"DeleteAcrossLines", "abc\\n de\\n fgh", {1, 0}, {{vk::Down, 1}, {vk::Down, 1}, {vk::Delete, 0}}, false, false, "agh ", {1, 0}},
      {"DeleteWholeLines", "ab\\n cd", {0, 0}, {{vk::Next, 1}, {vk::End, 1}, {vk::Delete, 0}}, false, false, " ", {0, 0}},
      {"BackspaceKeepsSelectedLetters", "abc", {2, 0}, {{vk::Left, 1}, {vk::Back, 0}}, false, false, "bc ", {0, 0}},
  };
  for (const Case& c : cases) {
    TEditText edit;
    edit.AddText(c.text, 1);
    edit.SetCaret(c.caret);
    edit.ReadOnly = c.readOnly;
    edit.AutoSize = c.autoSize;
    for (const auto& [key, shift] : c.keys) edit.HandleEditKey(key, shift);
    EXPECT_EQ(Shown(edit), c.shown) << c.name;
    EXPECT_EQ(edit.Caret(), c.after) << c.name;
    EXPECT_EQ(edit.LineCount(), static_cast<int>(edit.Lines().size())) << c.name;
  }
}

TEST_F(EditTextTest, KeysNotHandled) {
  TEditText edit;
  EXPECT_FALSE(edit.HandleEditKey('A', 0));
  EXPECT_FALSE(edit.HandleEditKey(vk::Insert, 0));
  EXPECT_FALSE(edit.HandleEditKey(vk::Insert, kShiftState));  // empty clipboard
  edit.AutoSize = true;
  EXPECT_FALSE(edit.HandleEditKey(vk::Return, 0));
}

TEST_F(EditTextTest, SelectionEndsWhereItBegan) {
  TEditText edit;
  edit.AddText("abc", 1);
  edit.SetCaret({1, 0});
  edit.HandleEditKey(vk::Right, kShiftState);
  EXPECT_TRUE(edit.SelectionActive());
  EXPECT_TRUE(edit.IsSelected(0, 1));
  EXPECT_FALSE(edit.IsSelected(0, 2));
  edit.HandleEditKey(vk::Left, kShiftState);
  EXPECT_FALSE(edit.SelectionActive());
  edit.HandleEditKey(vk::Left, kShiftState);
  EXPECT_TRUE(edit.IsSelected(0, 0));
  EXPECT_FALSE(edit.IsSelected(0, 1));  // the anchor stays where the selection began
  edit.HandleEditKey(vk::Right, 0);
  EXPECT_FALSE(edit.SelectionActive());
}

TEST_F(EditTextTest, ClipboardCopiesAndPastesLines) {
  TEditText source;
  source.AddText("abc\\n de", 1);
  source.SetCaret({1, 0});
  source.HandleEditKey(vk::Down, kShiftState);  // "bc", the break, "d"
  source.HandleEditKey(vk::Insert, kCtrlState);
  ASSERT_EQ(EditClipboard().size(), 2u);
  EXPECT_EQ(Codes(EditClipboard()[0]), "bc");
  EXPECT_EQ(Codes(EditClipboard()[1]), "d");
  // The clipboard belongs to the program, not to one edit.
  TEditText target;
  target.AddText("XY", 1);
  target.SetCaret({1, 0});
  EXPECT_TRUE(target.HandleEditKey(vk::Insert, kShiftState));
  EXPECT_EQ(Shown(target), "Xbc |dY ");
  EXPECT_EQ(target.Caret(), (TTextPlace{1, 1}));
  // Pasting a clipboard line that ends in a space keeps that space.
  EditClipboard() = {Plain("p "), Plain("q ")};
  target.Clear();
  target.HandleEditKey(vk::Insert, kShiftState);
  EXPECT_EQ(Shown(target), "p  |q  ");
  target.ReadOnly = true;
  EXPECT_FALSE(target.HandleEditKey(vk::Insert, kShiftState));
}

TEST_F(EditTextTest, TypedLetters) {
  const TStFunc& functions = *context.StFunc;
  struct Case {
    const char* name;
    int key;
    int shift;
    bool cyrillic;
    bool numLock;
    std::string codes;
    std::uint8_t font;
  };
  const Case cases[] = {
      {"SmallLatin", 'A', 0, false, false, "a", kPlainFont},
      {"CapitalLatin", 'A', kShiftState, false, false, "A", kPlainFont},
      {"SmallGreek", 'A', kCtrlState, false, false, "a", kMathFont},
      {"CapitalGreek", 'A', kCtrlState | kShiftState, false, false, "A", kMathFont},
      {"SmallCyrillic", 'A', 0, true, false, "ф"_cp, kPlainFont},
      {"CapitalCyrillic", 'Z', kShiftState, true, false, "Я"_cp, kPlainFont},
      {"CyrillicOnPunctuation", vk::OemSemicolon, 0, true, false, "ж"_cp, kPlainFont},
      {"CyrillicPeriodKey", vk::OemSlash, 0, true, false, ".", kPlainFont},
      {"CyrillicCommaKey", vk::OemSlash, kShiftState, true, false, ",", kPlainFont},
      {"CtrlLetterInCyrillicMode", 'B', kCtrlState, true, false, "b", kMathFont},
      {"Space", vk::Space, 0, false, false, " ", kPlainFont},
      {"PadDigit", vk::Numpad0 + 7, 0, false, true, "7", kPlainFont},
  };
  for (const Case& c : cases) {
    const std::optional<TLetters> letters = TypedLetters(functions, c.key, c.shift, c.cyrillic, c.numLock);
    ASSERT_TRUE(letters) << c.name;
    EXPECT_EQ(Codes(*letters), c.codes) << c.name;
    EXPECT_EQ(letters->front().Font, c.font) << c.name;
  }
  // Hot keys type their symbols in every register; pad keys stand for them.
  for (int reg = 0; reg < TStFunc::kRegisters; ++reg) {
    const int shift = reg == 1 ? kShiftState : reg == 2 ? kCtrlState : 0;
    for (int k = 0; k < TStFunc::kKeys; ++k) {
      const TLetters* expected = functions.HotKeyLookup(TStFunc::kKeyChars[k], reg).Visual;
      const std::optional<TLetters> typed = TypedLetters(functions, kHotKeyCodes[k], shift, false, false);
      ASSERT_EQ(typed.has_value(), expected != nullptr) << reg << k;
      if (expected) {
        EXPECT_TRUE(SameGlyphs(*typed, *expected)) << reg << k;
      }
    }
  }
  const auto padPlus = TypedLetters(functions, vk::Add, 0, false, true);
  const auto shiftEquals = TypedLetters(functions, vk::OemPlus, kShiftState, false, false);
  ASSERT_TRUE(padPlus && shiftEquals);
  EXPECT_TRUE(SameGlyphs(*padPlus, *shiftEquals));
  EXPECT_FALSE(TypedLetters(functions, vk::Add, 0, false, false));  // Num Lock off
  EXPECT_FALSE(TypedLetters(functions, vk::Space, kShiftState, false, false));
}

TEST_F(EditTextTest, LayoutAndNearestLetter) {
  TEditText edit;
  edit.AddText("ab\\n cde", 1);
  // Every letter 10 wide; 'c' is taller.
  const auto [width, height] = edit.Layout([](const TLetter& l) { return std::pair{10, l.Code == 'c' ? 20 : 12}; });
  EXPECT_EQ(width, 40);
  EXPECT_EQ(height, (12 + 5) + (20 + 5));
  EXPECT_EQ(edit.Lines()[1][2].Left, 20);
  EXPECT_EQ(edit.Lines()[1][2].Top, 17);
  const TTextRect all{0, 0, 100, 100};
  EXPECT_EQ(edit.NearestLetter(15, 5, all), (TTextPlace{1, 0}));   // inside 'b'
  EXPECT_EQ(edit.NearestLetter(95, 30, all), (TTextPlace{3, 1}));  // right of line 2: its sentinel
  EXPECT_EQ(edit.NearestLetter(5, 200, all), (TTextPlace{0, 1}));
  // Letters not wholly visible are never chosen.
  EXPECT_EQ(edit.NearestLetter(5, 5, TTextRect{0, 15, 100, 100}), (TTextPlace{0, 1}));
  EXPECT_FALSE(edit.NearestLetter(5, 5, TTextRect{0, 0, 5, 5}));
  // Dragging forward selects the letter under the mouse.
  edit.PressAt({0, 0});
  edit.DragTo({1, 1});
  EXPECT_TRUE(edit.IsSelected(1, 1));
  EXPECT_TRUE(edit.IsSelected(0, 0));
  EXPECT_FALSE(edit.IsSelected(1, 2));
  edit.PressAt({1, 0});
  EXPECT_FALSE(edit.SelectionActive());
}

TEST_F(EditTextTest, MarksAndHighlightsFollowTheirLines) {
  TEditText edit;
  edit.AddText("a\\n b\\n c", 1);
  edit.SetMarkedLine(2);
  edit.SetHighlight(2, 1);
  edit.SetCaret({0, 1});
  edit.HandleEditKey(vk::Back, 0);  // line 1 joins line 0
  EXPECT_EQ(edit.MarkedLine(), 1);
  EXPECT_EQ(edit.Highlight(1), 1);
  edit.SetCaret({0, 0});
  edit.HandleEditKey(vk::Return, 0);
  EXPECT_EQ(edit.MarkedLine(), 2);
  EXPECT_EQ(edit.Highlight(1), 0);
  edit.SetMarkedLine(7);
  EXPECT_EQ(edit.MarkedLine(), -1);
}

// The column of the first letter of the line that shows the glyph.
int ColumnOf(const TLetters& line, const TLetter& glyph) {
  for (std::size_t i = 0; i < line.size(); ++i)
    if (SameGlyph(line[i], glyph)) return static_cast<int>(i);
  return -1;
}

TEST_F(EditTextTest, AFaultOfTheFormulaTakesTheCaret) {
  const TLetter plus = F(kPlus).Visual.front();
  const TLetter comma = F(kComma).Visual.front();
  const struct {
    const char* name;
    std::vector<TLetters> lines;
    TTextPlace fault;
    const char* message;
  } cases[] = {
      // x + 1, then y + on the second line: the plus that misses its argument.
      {"SecondLine", {{Plain("x")[0], plus, Plain("1")[0]}, {Plain("y")[0], plus}}, {1, 1}, "Missed right argument of function +"},
      // x , , y: the second comma, where an expression is missing.
      {"EmptyPart", {{Plain("x")[0], comma, comma, Plain("y")[0]}}, {2, 0}, "Empty expression."},
      // x , at the end: the line's sentinel, after the last letter.
      {"AtTheEnd", {Plain("x1"), {comma}}, {1, 1}, "Empty expression."},
      // A "#" without its number is a fault of reading, at the "#".
      {"TemplateSign", {Plain("x"), {plus, Plain("#")[0]}}, {1, 1}, "Invalid index of template parameter."},
  };
  for (const auto& c : cases) {
    TEditText edit;
    for (const TLetters& line : c.lines) edit.AddLetters(line);
    edit.SetCaret({0, 0});
    messages.Clear();
    EXPECT_EQ(edit.ReadTree(true), nullptr) << c.name;
    ASSERT_FALSE(messages.Entries().empty()) << c.name;
    EXPECT_EQ(messages.Entries().front().message.Eng, c.message) << c.name;
    EXPECT_EQ(edit.Caret(), c.fault) << c.name;
    EXPECT_FALSE(edit.SelectionActive()) << c.name;
  }
  // The plus of a stored formula shown in the edit, wherever the blanks put it.
  TEditText shown;
  ASSERT_TRUE(shown.AddText("x + 1 \\and\\n y +", 0));
  EXPECT_EQ(shown.ReadTree(true), nullptr);
  EXPECT_EQ(shown.Caret(), (TTextPlace{ColumnOf(shown.Lines()[1], plus), 1}));
  // A formula that reads leaves the caret where it was.
  TEditText good;
  good.AddText("x + 1 > 0", 0);
  good.SetCaret({2, 0});
  TExprPtr tree = good.ReadTree(true);
  ASSERT_TRUE(tree);
  EXPECT_EQ(tree->HeadIntrinsic(), kGt);
  EXPECT_EQ(good.Caret(), (TTextPlace{2, 0}));
}

}  // namespace
}  // namespace lemmix
