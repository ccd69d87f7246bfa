#include "gui/choose_form.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <algorithm>

#include "gui/my_edit.h"
#include "gui/qtext.h"
#include "proofrun/driver.h"
#include "shell/cp1251.h"

namespace lemmix {

namespace {

constexpr int kWidth = 520;
constexpr int kListTop = 52;
constexpr int kMinListHeight = 80;
constexpr int kMaxListHeight = 320;

// The list's own help page, known by its caption as the driver gives it.
int HelpTopicOf(const QString& caption) {
  const std::string text = FromQString(caption);
  if (text == DialogCaption(12, true) || text == DialogCaption(12, false)) return TChooseForm::kInductionVariableHelp;
  if (text == DialogCaption(11, true) || text == DialogCaption(11, false)) return TChooseForm::kAddRelationHelp;
  return TChooseForm::kDefaultHelp;
}

}  // namespace

TFormulaList::TFormulaList(QWidget* form, const QStringList& items, const QRect& area, int minHeight)
    : QObject(form), form_(form), edit_(new TMyEdit(this)) {
  edit_->ReadOnly = true;
  edit_->CheckButtons = true;
  edit_->Outer = area;
  edits_ = {edit_};
  edit_->Attach(form, &edits_);
  edit_->Box()->setObjectName("List");
  // Stored formulas show as formulas; anything that is none shows as text.
  for (const QString& item : items) {
    const std::string text = FromQString(item);
    const int lines = edit_->Text().LineCount();
    const bool blank = lines == 1 && edit_->Text().Lines()[0].size() <= 1;
    firstLines_.push_back(blank ? 0 : lines);
    if (!edit_->AddText(text, 0)) edit_->AddText(text, 1);
  }
  firstLines_.push_back(edit_->Text().LineCount());
  // A short list takes the room it needs, a long one scrolls.
  edit_->Refresh();
  const TLetters& last = edit_->Text().Lines().back();
  const int needed = last.front().Top + last.front().Height + 24;
  edit_->SetOuter(QRect(area.left(), area.top(), area.width(), std::clamp(needed, minHeight, area.height())));
  TakeArrowsFrom(edit_->Box());
  // The buttons before the lines tell the window that a line was marked.
  form->installEventFilter(this);
}

QRect TFormulaList::Outer() const { return edit_->Outer; }

void TFormulaList::TakeArrowsFrom(QWidget* widget) { widget->installEventFilter(this); }

int TFormulaList::ItemOfLine(int line) const {
  for (std::size_t i = 0; i + 1 < firstLines_.size(); ++i)
    if (line >= firstLines_[i] && line < firstLines_[i + 1]) return static_cast<int>(i);
  return -1;
}

int TFormulaList::LineAt(int y) const {
  // Each line reaches down to the next one; the last one as far as its highlight.
  const int scrolled = y + (edit_->VerticalBar()->isVisible() ? edit_->VerticalBar()->value() : 0);
  const std::vector<TLetters>& lines = edit_->Text().Lines();
  for (int line = static_cast<int>(lines.size()) - 1; line >= 0; --line) {
    if (scrolled < lines[line].front().Top) continue;
    int height = 0;
    for (const TLetter& letter : lines[line]) height = std::max(height, letter.Height);
    return line + 1 < static_cast<int>(lines.size()) || scrolled < lines[line].front().Top + height + 5 ? line : -1;
  }
  return -1;
}

void TFormulaList::Select(int item) {
  if (item < 0 || item >= Count() || firstLines_[item] == firstLines_[item + 1]) item = -1;
  for (int line = 0; line < edit_->Text().LineCount(); ++line) edit_->SetHighlight(line, ItemOfLine(line) == item);
  edit_->SetMarkedLine(item < 0 ? -1 : firstLines_[item]);
  selected_ = item;
}

void TFormulaList::Pick(int item) {
  Select(item);
  emit Picked(selected_);
}

bool TFormulaList::eventFilter(QObject* watched, QEvent* event) {
  if (watched == form_) {
    if (event->type() == kLineMarkedEvent) {
      Pick(ItemOfLine(edit_->MarkedLine()));
      return true;
    }
    return false;
  }
  if (watched == edit_->Box()) {
    // A click below the last item changes nothing.
    if (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseButtonDblClick) {
      const int item = ItemOfLine(LineAt(static_cast<QMouseEvent*>(event)->position().toPoint().y()));
      if (item >= 0) Pick(item);
      if (event->type() == QEvent::MouseButtonDblClick) {
        if (item >= 0) emit Activated(item);
        return true;
      }
    }
  }
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      if (Count() > 0) Pick(std::clamp(selected_ + (key == Qt::Key_Up ? -1 : 1), 0, Count() - 1));
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

TChooseForm::TChooseForm(const QString& caption, const QStringList& items, QWidget* parent)
    : QDialog(parent), helpTopic_(HelpTopicOf(caption)) {
  setObjectName("ChooseForm");
  setWindowTitle(caption);
  caption_ = new QLabel(caption, this);
  caption_->setObjectName("Caption");
  caption_->setWordWrap(true);
  caption_->setGeometry(12, 8, kWidth - 24, 40);
  QFont bold = caption_->font();
  bold.setBold(true);
  caption_->setFont(bold);

  list_ = new TFormulaList(this, items, QRect(6, kListTop, kWidth - 12, kMaxListHeight), kMinListHeight);
  const int listHeight = list_->Outer().height();

  ok_ = new QPushButton("OK", this);
  cancel_ = new QPushButton(ToQString("Отмена"_cp), this);
  help_ = new QPushButton(ToQString("Справка"_cp), this);
  ok_->setObjectName("OkButton");
  cancel_->setObjectName("CancelButton");
  help_->setObjectName("HelpButton");
  ok_->setDefault(true);
  int x = kWidth - 3 * 96 - 8;
  for (QPushButton* button : {ok_, cancel_, help_}) {
    button->setGeometry(x, kListTop + listHeight + 10, 88, 27);
    if (button != ok_) button->setAutoDefault(false);
    list_->TakeArrowsFrom(button);
    x += 96;
  }
  connect(list_, &TFormulaList::Picked, this, [this](int item) { ok_->setEnabled(item >= 0); });
  connect(list_, &TFormulaList::Activated, this, &TChooseForm::Take);
  connect(ok_, &QPushButton::clicked, this, &TChooseForm::Take);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(help_, &QPushButton::clicked, this, &TChooseForm::OpenHelp);
  setFixedSize(kWidth, kListTop + listHeight + 47);
  // The first item is offered: with one candidate Enter is all it takes.
  Select(items.isEmpty() ? -1 : 0);
  ok_->setFocus();
}

void TChooseForm::Select(int item) {
  list_->Select(item);
  ok_->setEnabled(list_->Selected() >= 0);
}

void TChooseForm::Take() {
  if (list_->Selected() < 0) return;
  chosen_ = list_->Selected();
  accept();
}

void TChooseForm::OpenHelp() {
  if (openHelp_) openHelp_(helpTopic_);
}

void TChooseForm::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_F1: OpenHelp(); return;
    case Qt::Key_Return:
    case Qt::Key_Enter: Take(); return;
    default: QDialog::keyPressEvent(event);
  }
}

}  // namespace lemmix
