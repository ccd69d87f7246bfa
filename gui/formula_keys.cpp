#include "gui/formula_keys.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <array>
#include <string_view>

#include "notation/edit_text.h"

#ifdef LEMMIX_HAVE_X11
#include <X11/XKBlib.h>

#include <QtGui/qguiapplication_platform.h>
#endif

namespace lemmix {

namespace {

// The keys of a US keyboard by X keycode (the evdev code + 8), which names the
// key's place whatever layout is active.
int KeyOfX11Code(quint32 code) {
  static constexpr std::string_view digits = "1234567890";
  static constexpr std::string_view rows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
  static constexpr quint32 rowStarts[] = {24, 38, 52};
  if (code >= 10 && code < 20) return digits[code - 10];
  for (int row = 0; row < 3; ++row) {
    if (code >= rowStarts[row] && code < rowStarts[row] + rows[row].size()) return rows[row][code - rowStarts[row]];
  }
  switch (code) {
    case 20: return vk::OemMinus;
    case 21: return vk::OemPlus;
    case 34: return vk::OemOpenBracket;
    case 35: return vk::OemCloseBracket;
    case 47: return vk::OemSemicolon;
    case 48: return vk::OemQuote;
    case 49: return vk::OemTilde;
    case 51: return vk::OemBackslash;
    case 59: return vk::OemComma;
    case 60: return vk::OemPeriod;
    case 61: return vk::OemSlash;
    case 65: return vk::Space;
    default: return 0;
  }
}

// The character keys of a US keyboard, unshifted and shifted.
int KeyOfCharacter(int qtKey) {
  static constexpr std::string_view plain = "-=\\[];',./`";
  static constexpr std::string_view shifted = "_+|{}:\"<>?~";
  static constexpr std::string_view shiftedDigits = ")!@#$%^&*(";
  static constexpr int keys[] = {vk::OemMinus,     vk::OemPlus,   vk::OemBackslash, vk::OemOpenBracket,
                                 vk::OemCloseBracket, vk::OemSemicolon, vk::OemQuote, vk::OemComma,
                                 vk::OemPeriod,    vk::OemSlash,  vk::OemTilde};
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return qtKey;
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return qtKey;
  if (qtKey == Qt::Key_Space) return vk::Space;
  if (qtKey > 0x20 && qtKey < 0x7F) {
    const char c = static_cast<char>(qtKey);
    if (const std::size_t at = plain.find(c); at != std::string_view::npos) return keys[at];
    if (const std::size_t at = shifted.find(c); at != std::string_view::npos) return keys[at];
    if (const std::size_t at = shiftedDigits.find(c); at != std::string_view::npos) return '0' + static_cast<int>(at);
  }
  // A Cyrillic capital: the key that carries it in the Russian layout.
  static constexpr std::u16string_view russian = u"ФИСВУАПРШОЛДЬТЩЗЙКЫЕГМЦЧНЯ";
  if (const std::size_t at = russian.find(static_cast<char16_t>(qtKey)); at != std::u16string_view::npos) {
    return 'A' + static_cast<int>(at);
  }
  switch (qtKey) {
    case 0x416: return vk::OemSemicolon;    // Ж
    case 0x411: return vk::OemComma;        // Б
    case 0x42E: return vk::OemPeriod;       // Ю
    case 0x425: return vk::OemOpenBracket;  // Х
    case 0x42A: return vk::OemCloseBracket; // Ъ
    case 0x42D: return vk::OemQuote;        // Э
    default: return 0;
  }
}

int KeyOfEditing(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Backspace: return vk::Back;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vk::Return;
    case Qt::Key_PageUp: return vk::Prior;
    case Qt::Key_PageDown: return vk::Next;
    case Qt::Key_Home: return vk::Home;
    case Qt::Key_End: return vk::End;
    case Qt::Key_Left: return vk::Left;
    case Qt::Key_Up: return vk::Up;
    case Qt::Key_Right: return vk::Right;
    case Qt::Key_Down: return vk::Down;
    case Qt::Key_Insert: return vk::Insert;
    case Qt::Key_Delete: return vk::Delete;
    default: return 0;
  }
}

// A numeric-pad key that types a character, which it does only with Num Lock on.
int PadKey(int qtKey) {
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return vk::Numpad0 + (qtKey - Qt::Key_0);
  switch (qtKey) {
    case Qt::Key_Asterisk: return vk::Multiply;
    case Qt::Key_Plus: return vk::Add;
    case Qt::Key_Minus: return vk::Subtract;
    case Qt::Key_Period:
    case Qt::Key_Comma: return vk::Decimal;
    case Qt::Key_Slash: return vk::Divide;
    default: return 0;
  }
}

}  // namespace

std::optional<TKeyStroke> KeyStrokeOf(const QKeyEvent& event) {
  TKeyStroke stroke;
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  if (modifiers & Qt::ShiftModifier) stroke.Shift |= kShiftState;
  if (modifiers & Qt::ControlModifier) stroke.Shift |= kCtrlState;
  const int qtKey = event.key();
  if (modifiers & Qt::KeypadModifier) {
    if (const int pad = PadKey(qtKey)) {
      stroke.Key = pad;
      stroke.NumLock = true;
      return stroke;
    }
  }
  if (const int editing = KeyOfEditing(qtKey)) {
    stroke.Key = editing;
    return stroke;
  }
  if (QGuiApplication::platformName() == QLatin1String("xcb") && event.nativeScanCode() != 0) {
    stroke.Key = KeyOfX11Code(event.nativeScanCode());
  }
  if (stroke.Key == 0) stroke.Key = KeyOfCharacter(qtKey);
  if (stroke.Key == 0) return std::nullopt;
  return stroke;
}

std::optional<bool> RussianLayoutOf(const QKeyEvent& event) {
  const QString text = event.text();
  if (text.size() != 1) return std::nullopt;
  const QChar c = text[0];
  if ((c >= QChar(0x410) && c <= QChar(0x44F)) || c == QChar(0x401) || c == QChar(0x451)) return true;
  if (c.isLetter() && c.unicode() < 0x80) return false;
  return std::nullopt;
}

std::optional<bool> RussianLayoutNow() {
#ifdef LEMMIX_HAVE_X11
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  Display* display = x11 ? x11->display() : nullptr;
  if (!display) return std::nullopt;
  XkbStateRec state;
  if (XkbGetState(display, XkbUseCoreKbd, &state) != Success) return std::nullopt;
  XkbDescPtr keyboard = XkbAllocKeyboard();
  if (!keyboard) return std::nullopt;
  std::optional<bool> russian;
  if (XkbGetNames(display, XkbGroupNamesMask, keyboard) == Success && keyboard->names &&
      keyboard->names->groups[state.group] != None) {
    if (char* name = XGetAtomName(display, keyboard->names->groups[state.group])) {
      const std::string_view group(name);
      if (group.starts_with("Russian")) russian = true;
      else if (group == "English (US)" || group == "English") russian = false;
      XFree(name);
    }
  }
  XkbFreeKeyboard(keyboard, 0, True);
  return russian;
#else
  return std::nullopt;
#endif
}

}  // namespace lemmix
