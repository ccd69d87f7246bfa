#include "gui/choose_form.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

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

TChooseForm::TChooseForm(const QString& caption, const QStringList& items, QWidget* parent)
    : QDialog(parent), list_(new TMyEdit(this)), helpTopic_(HelpTopicOf(caption)) {
  setObjectName("ChooseForm");
  setWindowTitle(caption);
  caption_ = new QLabel(caption, this);
  caption_->setObjectName("Caption");
  caption_->setWordWrap(true);
  caption_->setGeometry(12, 8, kWidth - 24, 40);
  QFont bold = caption_->font();
  bold.setBold(true);
  caption_->setFont(bold);

  list_->ReadOnly = true;
  list_->CheckButtons = true;
  list_->Outer = QRect(6, kListTop, kWidth - 12, kMaxListHeight);
  edits_ = {list_};
  list_->Attach(this, &edits_);
  list_->Box()->setObjectName("List");
  // Stored formulas show as formulas; anything that is none (a plain
  // sentence such as "не подставлять") shows as text.
  for (const QString& item : items) {
    const std::string text = FromQString(item);
    const int lines = list_->Text().LineCount();
    const bool blank = lines == 1 && list_->Text().Lines()[0].size() <= 1;
    firstLines_.push_back(blank ? 0 : lines);
    if (!list_->AddText(text, 0)) list_->AddText(text, 1);
  }
  firstLines_.push_back(list_->Text().LineCount());
  // A short list takes the room it needs, a long one scrolls.
  list_->Refresh();
  const TLetters& last = list_->Text().Lines().back();
  const int needed = last.front().Top + last.front().Height + 24;
  const int listHeight = std::clamp(needed, kMinListHeight, kMaxListHeight);
  list_->SetOuter(QRect(6, kListTop, kWidth - 12, listHeight));
  list_->Box()->installEventFilter(this);

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
    button->installEventFilter(this);
    x += 96;
  }
  connect(ok_, &QPushButton::clicked, this, &TChooseForm::Take);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(help_, &QPushButton::clicked, this, &TChooseForm::OpenHelp);
  setFixedSize(kWidth, kListTop + listHeight + 47);
  // The first item is offered: with one candidate Enter is all it takes.
  Select(items.isEmpty() ? -1 : 0);
  ok_->setFocus();
}

int TChooseForm::ItemOfLine(int line) const {
  for (std::size_t i = 0; i + 1 < firstLines_.size(); ++i)
    if (line >= firstLines_[i] && line < firstLines_[i + 1]) return static_cast<int>(i);
  return -1;
}

void TChooseForm::Select(int item) {
  const int items = static_cast<int>(firstLines_.size()) - 1;
  if (item < 0 || item >= items || firstLines_[item] == firstLines_[item + 1]) item = -1;
  for (int line = 0; line < list_->Text().LineCount(); ++line) list_->SetHighlight(line, ItemOfLine(line) == item);
  list_->SetMarkedLine(item < 0 ? -1 : firstLines_[item]);
  selected_ = item;
  ok_->setEnabled(item >= 0);
}

void TChooseForm::Take() {
  if (selected_ < 0) return;
  chosen_ = selected_;
  accept();
}

void TChooseForm::OpenHelp() {
  if (openHelp_) openHelp_(helpTopic_);
}

bool TChooseForm::event(QEvent* event) {
  if (event->type() == kLineMarkedEvent) {
    Select(ItemOfLine(list_->MarkedLine()));
    return true;
  }
  return QDialog::event(event);
}

bool TChooseForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_->Box()) {
    // The press has put the caret on the clicked line.
    if (event->type() == QEvent::MouseButtonRelease) Select(ItemOfLine(list_->Text().Caret().Line));
    if (event->type() == QEvent::MouseButtonDblClick) {
      Select(ItemOfLine(list_->Text().Caret().Line));
      Take();
      return true;
    }
  }
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    const int items = static_cast<int>(firstLines_.size()) - 1;
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      if (items > 0) Select(std::clamp(selected_ + (key == Qt::Key_Up ? -1 : 1), 0, items - 1));
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
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
