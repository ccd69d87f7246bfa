// Qt key events as the keys of the formula keyboard: the Windows virtual-key
// code of the key's place on a US keyboard, the shift state and Num Lock.
#pragma once

#include <optional>

class QKeyEvent;

namespace lemmix {

struct TKeyStroke {
  int Key = 0;
  int Shift = 0;         // kShiftState | kCtrlState
  bool NumLock = false;  // a numeric-pad key typed with Num Lock on
};

std::optional<TKeyStroke> KeyStrokeOf(const QKeyEvent& event);

// What the character of the event says about the keyboard layout: a Cyrillic
// letter means the Russian layout, a Latin letter another one, anything
// else nothing.
std::optional<bool> RussianLayoutOf(const QKeyEvent& event);

// The layout active now, asked of XKB when the program runs on X11: true for
// the Russian layout, false for the US English one, nothing for any other
// layout or where the question cannot be asked.
std::optional<bool> RussianLayoutNow();

}  // namespace lemmix
