#include "gui/induction_form.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>

#include "gui/my_edit.h"
#include "gui/qtext.h"
#include "shell/cp1251.h"

namespace lemmix {

namespace {

constexpr int kWidth = 420;
constexpr int kRowHeight = 40;
constexpr int kTop = 64;
constexpr int kVisibleRows = 8;

}  // namespace

TInductionForm::TInductionForm(const QString& caption, const QStringList& names, QWidget* parent)
    : QDialog(parent) {
  setObjectName("InductionForm");
  setWindowTitle(caption);
  auto* title = new QLabel(caption, this);
  title->setObjectName("Caption");
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  title->setGeometry(12, 8, kWidth - 24, 20);
  auto* hint = new QLabel(
      ToQString("Отметьте переменные, которые меняются вместе с переменной индукции."_cp), this);
  hint->setWordWrap(true);
  hint->setGeometry(12, 28, kWidth - 24, 34);

  // Many objects scroll; a few stand in the window as they are.
  auto* scroll = new QScrollArea(this);
  scroll->setFrameShape(QFrame::NoFrame);
  auto* rows = new QWidget;
  const int count = static_cast<int>(names.size());
  rows->resize(kWidth - 40, std::max(count, 1) * kRowHeight);
  for (int i = 0; i < count; ++i) {
    auto* box = new QCheckBox(rows);
    box->setObjectName(QString("Mark%1").arg(i));
    box->setGeometry(4, i * kRowHeight + 12, 20, 20);
    boxes_.push_back(box);
    auto* name = new TMyEdit(rows);
    name->ReadOnly = true;
    name->Outer = QRect(28, i * kRowHeight, kWidth - 80, kRowHeight);
    name->Attach(rows);
    const std::string text = FromQString(names[i]);
    if (!name->AddText(text, 0)) name->AddText(text, 1);
    name->Refresh();
    // A click on the name marks it as a click on its box does.
    name->Box()->setFocusPolicy(Qt::NoFocus);
    name->Box()->installEventFilter(this);
    names_.push_back(name);
  }
  scroll->setWidget(rows);
  const int shown = std::clamp(count, 1, kVisibleRows);
  scroll->setGeometry(8, kTop, kWidth - 16, shown * kRowHeight + 4);

  const int buttonsTop = kTop + shown * kRowHeight + 14;
  ok_ = new QPushButton("OK", this);
  cancel_ = new QPushButton(ToQString("Отмена"_cp), this);
  help_ = new QPushButton(ToQString("Справка"_cp), this);
  ok_->setObjectName("OkButton");
  cancel_->setObjectName("CancelButton");
  help_->setObjectName("HelpButton");
  ok_->setDefault(true);
  int x = kWidth - 3 * 96 - 8;
  for (QPushButton* button : {ok_, cancel_, help_}) {
    button->setGeometry(x, buttonsTop, 88, 27);
    if (button != ok_) button->setAutoDefault(false);
    x += 96;
  }
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(help_, &QPushButton::clicked, this, &TInductionForm::OpenHelp);
  setFixedSize(kWidth, buttonsTop + 37);
  if (!boxes_.empty()) boxes_.front()->setFocus();
}

std::vector<bool> TInductionForm::Marks() const {
  std::vector<bool> marks;
  for (const QCheckBox* box : boxes_) marks.push_back(box->isChecked());
  return marks;
}

void TInductionForm::OpenHelp() {
  if (openHelp_) openHelp_(kHelpTopic);
}

bool TInductionForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) {
    for (std::size_t i = 0; i < names_.size(); ++i)
      if (watched == names_[i]->Box()) {
        boxes_[i]->toggle();
        boxes_[i]->setFocus();
        return true;
      }
  }
  return QDialog::eventFilter(watched, event);
}

void TInductionForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    OpenHelp();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace lemmix
