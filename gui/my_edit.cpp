#include "gui/my_edit.h"

#include <QApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <map>

#include "gui/formula_keys.h"
#include "gui/letters.h"
#include "shell/context.h"
#include "intrinsics/st_func.h"
#include "shell/files.h"

namespace lemmix {

namespace {

constexpr int kBarThickness = 16;
constexpr int kCheckSize = 15;
constexpr int kCheckMargin = 20;  // the panel moves right by it for the check buttons
constexpr int kCaretPeriodMs = 500;
const QColor kSelectionColour(0, 255, 255);
const QColor kHighlightColour(255, 255, 0);

bool cyrillicMode = false;
std::optional<bool> lastLayoutRussian;
TMyEdit::PaletteOpener paletteOpener;

QColor ColourOf(std::uint32_t rgb) { return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF); }

// The fonts of the letters at one size, measured once per paint.
class LetterFonts {
 public:
  explicit LetterFonts(int pointSize) : pointSize_(pointSize) {}
  const QFontMetrics& Metrics(std::uint8_t font) {
    auto found = metrics_.find(font);
    if (found == metrics_.end()) {
      fonts_.emplace(font, LetterFont(font, pointSize_));
      found = metrics_.emplace(font, QFontMetrics(fonts_.at(font))).first;
    }
    return found->second;
  }
  const QFont& Font(std::uint8_t font) {
    Metrics(font);
    return fonts_.at(font);
  }

 private:
  int pointSize_;
  std::map<std::uint8_t, QFont> fonts_;
  std::map<std::uint8_t, QFontMetrics> metrics_;
};

const QPixmap& MarkedGlyph() {
  // Loaded once; without the picture a green disc stands in.
  static const QPixmap glyph = [] {
    QPixmap picture;
    if (HasContext() && !Ctx().Dir.empty()) {
      picture.load(QString::fromStdString(NativePath(Ctx().Dir + "\\Images\\GreenBtn.bmp")));
    }
    if (picture.isNull()) {
      picture = QPixmap(kCheckSize, kCheckSize);
      picture.fill(Qt::transparent);
      QPainter painter(&picture);
      painter.setRenderHint(QPainter::Antialiasing);
      painter.setBrush(QColor(0, 160, 0));
      painter.drawEllipse(2, 2, kCheckSize - 5, kCheckSize - 5);
    }
    return picture;
  }();
  return glyph;
}

// A control that is no longer needed: hidden now and deleted once the
// events that may be under way for it (a click on it, say) are done.
template <typename Widget>
void Discard(QPointer<Widget>& widget) {
  if (!widget) return;
  widget->hide();
  widget->deleteLater();
}

}  // namespace

bool CyrillicMode() { return cyrillicMode; }
void SetCyrillicMode(bool on) { cyrillicMode = on; }

void TMyEdit::SetPaletteOpener(PaletteOpener opener) { paletteOpener = std::move(opener); }

// ---- TMyBox ----

TMyBox::TMyBox(TMyEdit& edit, QWidget* parent) : QWidget(parent), edit_(edit) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(Qt::IBeamCursor);
}

void TMyBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  edit_.Paint(painter);
}

void TMyBox::keyPressEvent(QKeyEvent* event) {
  // The layout as the system tells it, else as the typed character shows it.
  // Only a change of layout sets the mode, so that the user's own switch
  // holds while the layout stays.
  std::optional<bool> russian = RussianLayoutNow();
  if (!russian) russian = RussianLayoutOf(*event);
  if (russian && russian != lastLayoutRussian) {
    lastLayoutRussian = russian;
    SetCyrillicMode(*russian);
  }
  const std::optional<TKeyStroke> stroke = KeyStrokeOf(*event);
  bool consumed = false;
  if (stroke) {
    const std::vector<TMyEdit*> self{&edit_};
    TMyEdit::TypeKey(edit_.widgets_ ? *edit_.widgets_ : self, stroke->Key, stroke->Shift, stroke->NumLock, consumed);
  }
  // Enter the edit does not take goes to the form (its default button).
  if (!consumed) QWidget::keyPressEvent(event);
}

void TMyBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    if (!edit_.ReadOnly && paletteOpener) {
      if (const std::optional<TLetters> letters = paletteOpener(window())) edit_.InsertTyped(*letters);
    }
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  mouseSelecting_ = true;
  edit_.StopCaret();
  if (const std::optional<TTextPlace> place = edit_.PlaceAt(event->position().toPoint())) {
    edit_.text_.PressAt(*place);
  } else {
    edit_.text_.ClearSelection();
  }
  if (hasFocus()) {
    edit_.StartCaret();
    update();
  } else {
    setFocus(Qt::MouseFocusReason);
  }
}

void TMyBox::mouseMoveEvent(QMouseEvent* event) {
  if (!mouseSelecting_) return;
  if (const std::optional<TTextPlace> place = edit_.PlaceAt(event->position().toPoint())) {
    edit_.text_.DragTo(*place);
    update();
  }
}

void TMyBox::mouseReleaseEvent(QMouseEvent*) { mouseSelecting_ = false; }

void TMyBox::focusInEvent(QFocusEvent*) {
  edit_.ClampCaretIntoView();
  edit_.StartCaret();
  update();
}

void TMyBox::focusOutEvent(QFocusEvent*) {
  edit_.StopCaret();
  edit_.text_.ClearSelection();
  update();
}

// ---- TMyBar ----

TMyBar::TMyBar(TMyEdit& edit, Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent), edit_(edit) {
  setEnabled(false);
  hide();
  setFocusPolicy(Qt::NoFocus);
  connect(this, &QScrollBar::valueChanged, this, [this] {
    edit_.PlaceChecks();
    if (edit_.Box()) edit_.Box()->update();
  });
}

// ---- TMyCheck ----

TMyCheck::TMyCheck(TMyEdit& edit, QWidget* parent) : QAbstractButton(parent), edit_(edit) {
  setFixedSize(kCheckSize, kCheckSize);
  setFocusPolicy(Qt::NoFocus);
  setCursor(Qt::PointingHandCursor);
  connect(this, &QAbstractButton::clicked, this, [this] { edit_.CheckClicked(this); });
}

void TMyCheck::SetMarked(bool marked) {
  marked_ = marked;
  update();
}

void TMyCheck::SetCross(bool cross) {
  cross_ = cross;
  update();
}

void TMyCheck::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect box = rect().adjusted(0, 0, -1, -1);
  painter.fillRect(box, palette().button());
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(box);
  if (marked_) {
    painter.drawPixmap(rect(), MarkedGlyph());
  } else if (cross_) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(10);
    painter.setFont(font);
    painter.setPen(Qt::red);
    painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("X"));
  }
}

// ---- TMyEdit ----

TMyEdit::TMyEdit(QObject* owner) : QObject(owner) {
  caretTimer_.setInterval(kCaretPeriodMs);
  connect(&caretTimer_, &QTimer::timeout, this, [this] {
    if (!box_ || !box_->hasFocus()) {
      StopCaret();
      return;
    }
    caretDrawn_ = !caretDrawn_;
    box_->update(CaretRect().adjusted(-1, -1, 1, 1));
  });
}

TMyEdit::~TMyEdit() {
  // The controls know their edit: they go with it, unless the form has
  // already taken them along. Deleting them now keeps their last events
  // (the box losing the focus) from reaching a destroyed edit.
  std::vector<QPointer<QWidget>> controls{bevel_, panel_};
  controls.insert(controls.end(), checks_.begin(), checks_.end());
  for (QPointer<QWidget>& control : controls) delete control.data();
}

void TMyEdit::Attach(QWidget* form, const std::vector<TMyEdit*>* widgets) {
  if (form_) return;
  form_ = form;
  widgets_ = widgets;
  bevel_ = new QFrame(form);
  bevel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  bevel_->setVisible(visible_ && !AutoSize && !Frameless);
  panel_ = new QFrame(form);
  panel_->setFrameStyle(AutoSize ? QFrame::NoFrame : (QFrame::Panel | QFrame::Sunken));
  panel_->setLineWidth(1);
  panel_->setAutoFillBackground(true);
  QPalette white = panel_->palette();
  white.setColor(QPalette::Window, Qt::white);
  panel_->setPalette(white);
  panel_->setVisible(visible_);

  box_ = new TMyBox(*this, panel_);
  hBar_ = new TMyBar(*this, Qt::Horizontal, panel_);
  vBar_ = new TMyBar(*this, Qt::Vertical, panel_);
  if (form->focusProxy() == nullptr && form->focusWidget() == nullptr) box_->setFocus();
  SetOuter(Outer);
}

void TMyEdit::SetOuter(const QRect& outer) {
  Outer = outer;
  if (!form_) return;
  const QRect bevelRect = Outer.adjusted(2, 2, -2, -2);
  bevel_->setGeometry(bevelRect);
  QRect panelRect = bevelRect.adjusted(5, 5, -5, -5);
  if (CheckButtons) panelRect.setLeft(panelRect.left() + kCheckMargin);
  panel_->setGeometry(panelRect);
  box_->setGeometry(panel_->rect().adjusted(1, 1, -1, -1));
  Refresh();
}

void TMyEdit::Clear() {
  text_.Clear();
  focusLine_ = -1;
  for (std::size_t i = 1; i < checks_.size(); ++i) {
    QPointer<TMyCheck> guarded(checks_[i]);
    Discard(guarded);
  }
  if (checks_.size() > 1) checks_.resize(1);
  if (!checks_.empty()) {
    checks_[0]->SetMarked(false);
    checks_[0]->hide();
  }
  Refresh();
}

bool TMyEdit::AddText(std::string_view text, int mode) {
  const bool added = text_.AddText(text, mode);
  Refresh();
  return added;
}

void TMyEdit::AddLetters(const TLetters& letters) {
  text_.AddLetters(letters);
  Refresh();
}

TExprPtr TMyEdit::ReadTree(bool standardFont) {
  TExprPtr tree = text_.ReadTree(standardFont);
  if (tree) return tree;
  focusLine_ = text_.Caret().Line;
  Refresh();
  if (box_ && visible_) box_->setFocus(Qt::OtherFocusReason);
  return nullptr;
}

void TMyEdit::SetVisible(bool visible) {
  visible_ = visible;
  if (!form_) return;
  panel_->setVisible(visible);
  bevel_->setVisible(visible && !AutoSize && !Frameless);
  if (!visible) {
    StopCaret();
    hBar_->hide();
    vBar_->hide();
    for (TMyCheck* check : checks_) check->hide();
  }
  Refresh();
}

void TMyEdit::SetFocusLine(int index) {
  focusLine_ = index;
  Refresh();
}

void TMyEdit::SetMarkedLine(int line) {
  text_.SetMarkedLine(line);
  PlaceChecks();
}

void TMyEdit::SetHighlight(int line, bool on) {
  if (line < 0 || line >= text_.LineCount()) return;
  text_.SetHighlight(line, on ? 1 : 0);
  if (box_) box_->update();
}

bool TMyEdit::HandleEditKey(int key, int shift) {
  text_.ReadOnly = ReadOnly;
  text_.AutoSize = AutoSize;
  if (!text_.HandleEditKey(key, shift)) return false;
  focusLine_ = text_.Caret().Line;
  Refresh();
  return true;
}

void TMyEdit::TypeKey(const std::vector<TMyEdit*>& widgets, int key, int shift, bool numLock, bool& consumed) {
  TMyEdit* edit = nullptr;
  for (TMyEdit* candidate : widgets) {
    if (candidate->box_ && candidate->CaretRunning() && candidate->box_->hasFocus()) {
      edit = candidate;
      break;
    }
  }
  if (!edit) return;
  if (edit->HandleEditKey(key, shift)) {
    consumed = true;
    return;
  }
  if (!HasContext() || !Ctx().StFunc) return;
  const std::optional<TLetters> letters = TypedLetters(*Ctx().StFunc, key, shift, CyrillicMode(), numLock);
  if (!letters) return;
  consumed = true;
  edit->InsertTyped(*letters);
}

void TMyEdit::InsertTyped(const TLetters& letters) {
  if (ReadOnly) return;
  text_.Insert(letters);
  focusLine_ = text_.Caret().Line;
  Refresh();
}

QPoint TMyEdit::Scroll() const {
  return {hBar_ && hBar_->isVisible() ? hBar_->value() : 0, vBar_ && vBar_->isVisible() ? vBar_->value() : 0};
}

void TMyEdit::Refresh() {
  if (!form_) return;
  LetterFonts fonts(FontSize);
  const auto [width, height] = text_.Layout([&fonts](const TLetter& letter) {
    const QFontMetrics& metrics = fonts.Metrics(letter.Font);
    return std::pair{metrics.horizontalAdvance(LetterText(letter)), metrics.height()};
  });
  textSize_ = QSize(width, height);
  if (AutoSize) {
    const QSize boxSize(std::max(width, 1), std::max(height - 5, 1));
    box_->setGeometry(QRect(QPoint(1, 1), boxSize));
    panel_->resize(boxSize + QSize(2, 2));
    bevel_->resize(boxSize + QSize(12, 12));
  } else {
    const QRect inner = panel_->rect().adjusted(1, 1, -1, -1);
    bool needV = height > inner.height();
    const bool needH = width > inner.width() - (needV ? kBarThickness : 0);
    if (needH && !needV) needV = height > inner.height() - kBarThickness;
    QRect boxRect = inner;
    if (needV) boxRect.setRight(boxRect.right() - kBarThickness);
    if (needH) boxRect.setBottom(boxRect.bottom() - kBarThickness);
    box_->setGeometry(boxRect);
    vBar_->setGeometry(boxRect.right() + 1, inner.top(), kBarThickness, boxRect.height());
    hBar_->setGeometry(inner.left(), boxRect.bottom() + 1, boxRect.width(), kBarThickness);
    vBar_->setRange(0, std::max(0, height - boxRect.height()));
    vBar_->setPageStep(boxRect.height());
    vBar_->setSingleStep(20);
    hBar_->setRange(0, std::max(0, width - boxRect.width()));
    hBar_->setPageStep(boxRect.width());
    hBar_->setSingleStep(20);
    vBar_->setEnabled(needV);
    hBar_->setEnabled(needH);
    vBar_->setVisible(visible_ && needV);
    hBar_->setVisible(visible_ && needH);
    if (focusLine_ >= 0 && focusLine_ < text_.LineCount() && needV) {
      const TLetters& line = text_.Lines()[focusLine_];
      int lineTop = line.front().Top;
      int lineBottom = lineTop;
      for (const TLetter& letter : line) lineBottom = std::max(lineBottom, letter.Top + letter.Height);
      if (lineTop < vBar_->value()) vBar_->setValue(lineTop);
      if (lineBottom > vBar_->value() + boxRect.height()) vBar_->setValue(lineBottom - boxRect.height());
    }
    if (needH && focusLine_ == text_.Caret().Line) {
      const QRect caret = CaretRect().translated(Scroll());
      if (caret.left() < hBar_->value()) hBar_->setValue(caret.left());
      if (caret.right() > hBar_->value() + boxRect.width()) hBar_->setValue(caret.right() - boxRect.width() + 8);
    }
  }
  PlaceChecks();
  box_->update();
}

void TMyEdit::PlaceChecks() {
  if (!form_ || !CheckButtons) return;
  const int lines = text_.LineCount();
  while (static_cast<int>(checks_.size()) < lines) checks_.push_back(new TMyCheck(*this, form_));
  while (static_cast<int>(checks_.size()) > lines) {
    QPointer<TMyCheck> guarded(checks_.back());
    Discard(guarded);
    checks_.pop_back();
  }
  const int scrollTop = Scroll().y();
  const QRect boxOnForm(box_->mapTo(form_, QPoint(0, 0)), box_->size());
  for (int line = 0; line < lines; ++line) {
    TMyCheck* check = checks_[line];
    check->SetMarked(text_.MarkedLine() == line);
    const int y = boxOnForm.top() + text_.Lines()[line].front().Top - scrollTop;
    check->move(panel_->x() - kCheckMargin + 2, y);
    // An empty line (an empty section shows one) holds nothing to mark.
    const bool empty = text_.Lines()[line].size() <= 1;
    check->setVisible(visible_ && !empty && y >= boxOnForm.top() && y + kCheckSize <= boxOnForm.bottom() + 1);
  }
}

void TMyEdit::CheckClicked(TMyCheck* check) {
  const auto at = std::find(checks_.begin(), checks_.end(), check);
  if (at == checks_.end()) return;
  text_.SetMarkedLine(static_cast<int>(at - checks_.begin()));
  PlaceChecks();
  QCoreApplication::postEvent(form_->window(), new QEvent(kLineMarkedEvent));
}

QRect TMyEdit::CaretRect() const {
  const TTextPlace caret = text_.Caret();
  const TLetter& letter = text_.Lines()[caret.Line][caret.Column];
  return QRect(letter.Left, letter.Top, 1, letter.Height).translated(-Scroll());
}

void TMyEdit::StartCaret() {
  if (!box_) return;
  text_.SetCaret(text_.Caret());
  caretDrawn_ = true;
  caretTimer_.start();
}

void TMyEdit::StopCaret() {
  caretTimer_.stop();
  caretDrawn_ = false;
  if (box_) box_->update();
}

void TMyEdit::ClampCaretIntoView() {
  text_.SetCaret(text_.Caret());
  if (!box_) return;
  const QRect visible(QPoint(0, 0), box_->size());
  TTextPlace caret = text_.Caret();
  auto letterRect = [this](TTextPlace place) {
    const TLetter& letter = text_.Lines()[place.Line][place.Column];
    return QRect(letter.Left, letter.Top, letter.Width, letter.Height).translated(-Scroll());
  };
  while (caret.Line > 0 && letterRect(caret).bottom() > visible.bottom()) {
    --caret.Line;
    caret.Column = std::min(caret.Column, static_cast<int>(text_.Lines()[caret.Line].size()) - 1);
  }
  while (caret.Column > 0 && letterRect(caret).right() > visible.right()) --caret.Column;
  text_.SetCaret(caret);
}

std::optional<TTextPlace> TMyEdit::PlaceAt(QPoint point) const {
  const QPoint scroll = Scroll();
  const TTextRect area{scroll.x(), scroll.y(), scroll.x() + box_->width(), scroll.y() + box_->height()};
  return text_.NearestLetter(point.x() + scroll.x(), point.y() + scroll.y(), area);
}

void TMyEdit::Paint(QPainter& painter) {
  painter.fillRect(box_->rect(), Qt::white);
  if (!visible_) return;
  const QPoint scroll = Scroll();
  LetterFonts fonts(FontSize);
  for (int l = 0; l < text_.LineCount(); ++l) {
    const TLetters& line = text_.Lines()[l];
    int ascent = 0;
    int lineHeight = 0;
    for (const TLetter& letter : line) {
      ascent = std::max(ascent, fonts.Metrics(letter.Font).ascent());
      lineHeight = std::max(lineHeight, letter.Height);
    }
    const int top = line.front().Top - scroll.y();
    if (top > box_->height() || top + lineHeight + 5 < 0) continue;
    if (text_.Highlight(l)) painter.fillRect(0, top, box_->width(), lineHeight + 5, kHighlightColour);
    for (int c = 0; c < static_cast<int>(line.size()); ++c) {
      const TLetter& letter = line[c];
      const int left = letter.Left - scroll.x();
      if (text_.IsSelected(l, c)) painter.fillRect(left, top, letter.Width, lineHeight, kSelectionColour);
      painter.setFont(fonts.Font(letter.Font));
      painter.setPen(ColourOf(letter.Colour));
      painter.drawText(left, top + ascent, LetterText(letter));
    }
  }
  if (caretDrawn_ && box_->hasFocus()) painter.fillRect(CaretRect(), Qt::black);
}

}  // namespace lemmix
