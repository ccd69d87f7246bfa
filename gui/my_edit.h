// The formula edit: the one control that shows and edits text in the
// mathematical font. A TMyEdit is no widget itself; it owns a group of
// controls (bevel, panel, paint box, scroll bars, caret timer, one check
// button per line) that Attach places on a form at the outer rectangle.
#pragma once

#include <QAbstractButton>
#include <QEvent>
#include <QObject>
#include <QRect>
#include <QScrollBar>
#include <QTimer>
#include <functional>
#include <optional>
#include <vector>

#include "notation/edit_text.h"

#include <QFrame>

namespace lemmix {

class TMyEdit;

// The event a check button posts to its window when the user marks a line.
inline constexpr QEvent::Type kLineMarkedEvent = static_cast<QEvent::Type>(33434);

// Program-wide keyboard state of formula typing: the Cyrillic mode follows
// the keyboard layout and can be switched by the user.
bool CyrillicMode();
void SetCyrillicMode(bool on);

class TMyBox : public QWidget {
  Q_OBJECT
 public:
  TMyBox(TMyEdit& edit, QWidget* parent);
  TMyEdit& Edit() { return edit_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  TMyEdit& edit_;
  bool mouseSelecting_ = false;
};

class TMyBar : public QScrollBar {
  Q_OBJECT
 public:
  TMyBar(TMyEdit& edit, Qt::Orientation orientation, QWidget* parent);

 private:
  TMyEdit& edit_;
};

// The 15 by 15 button in front of a line.
class TMyCheck : public QAbstractButton {
  Q_OBJECT
 public:
  TMyCheck(TMyEdit& edit, QWidget* parent);
  bool Marked() const { return marked_; }
  void SetMarked(bool marked);
  // The red cross some dialogs show instead of the glyph.
  void SetCross(bool cross);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TMyEdit& edit_;
  bool marked_ = false;
  bool cross_ = false;
};

class TMyEdit : public QObject {
  Q_OBJECT
 public:
  // Opens the symbol palette over `parent` and answers the chosen letters.
  using PaletteOpener = std::function<std::optional<TLetters>(QWidget* parent)>;
  static void SetPaletteOpener(PaletteOpener opener);

  explicit TMyEdit(QObject* owner = nullptr);
  ~TMyEdit() override;

  int FontSize = 12;
  bool CheckButtons = false;
  bool AutoSize = false;
  bool Frameless = false;
  bool ReadOnly = false;
  QRect Outer;  // in the form's coordinates, set before Attach

  // Places the controls on the form; `widgets` is the form's list of edits
  // that typing looks through.
  void Attach(QWidget* form, const std::vector<TMyEdit*>* widgets = nullptr);

  // Moves the edit to another outer rectangle of its form.
  void SetOuter(const QRect& outer);

  void Clear();
  bool AddText(std::string_view text, int mode);
  void AddLetters(const TLetters& letters);
  // The text read and parsed as one formula (see TEditText::ReadTree); after
  // a fault the edit takes the focus with its caret on the fault.
  TExprPtr ReadTree(bool standardFont);
  void SetVisible(bool visible);
  bool Visible() const { return visible_; }
  void SetFocusLine(int index);
  bool HandleEditKey(int key, int shift);
  // Types the key into the first edit of the list that has the focus.
  static void TypeKey(const std::vector<TMyEdit*>& widgets, int key, int shift, bool numLock, bool& consumed);

  const TEditText& Text() const { return text_; }
  int MarkedLine() const { return text_.MarkedLine(); }
  void SetMarkedLine(int line);
  void SetHighlight(int line, bool on);
  TMyCheck* Check(int line) const { return line < static_cast<int>(checks_.size()) ? checks_[line] : nullptr; }
  TMyBox* Box() const { return box_; }
  QWidget* Panel() const { return panel_; }
  QScrollBar* HorizontalBar() const { return hBar_; }
  QScrollBar* VerticalBar() const { return vBar_; }
  bool CaretRunning() const { return caretTimer_.isActive(); }
  const std::vector<TMyEdit*>* Widgets() const { return widgets_; }

  // Lays the text out, sizes the controls and repaints.
  void Refresh();
  // The letter rectangle the caret stands at, in the paint box.
  QRect CaretRect() const;

 private:
  friend class TMyBox;
  friend class TMyCheck;
  friend class TMyBar;
  void Paint(QPainter& painter);
  void StartCaret();
  void StopCaret();
  void ClampCaretIntoView();
  void PlaceChecks();
  void CheckClicked(TMyCheck* check);
  void InsertTyped(const TLetters& letters);
  std::optional<TTextPlace> PlaceAt(QPoint point) const;
  QPoint Scroll() const;

  TEditText text_;
  bool visible_ = true;
  int focusLine_ = -1;
  bool caretDrawn_ = false;
  QSize textSize_;
  QWidget* form_ = nullptr;
  const std::vector<TMyEdit*>* widgets_ = nullptr;
  QFrame* bevel_ = nullptr;
  QFrame* panel_ = nullptr;
  TMyBox* box_ = nullptr;
  TMyBar* hBar_ = nullptr;
  TMyBar* vBar_ = nullptr;
  QTimer caretTimer_;
  std::vector<TMyCheck*> checks_;
};

}  // namespace lemmix
