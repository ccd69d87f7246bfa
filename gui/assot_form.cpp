#include "gui/assot_form.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/qtext.h"

namespace lemmix {

TAssotForm::TAssotForm(QWidget* parent) : QDialog(parent) {
  setObjectName("AssotForm");
  setWindowTitle("Select an action");
  list_ = new QListWidget(this);
  list_->setObjectName("List");
  ok_ = new QPushButton("Ok", this);
  cancel_ = new QPushButton("Cancel", this);
  help_ = new QPushButton("Help", this);
  ok_->setObjectName("OkButton");
  cancel_->setObjectName("CancelButton");
  help_->setObjectName("HelpButton");
  ok_->setDefault(true);
  for (QPushButton* button : {cancel_, help_}) button->setAutoDefault(false);

  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    // A demonstration keeps its row: a click elsewhere puts the selection back.
    if (preselected_ >= 0 && row != preselected_)
      list_->setCurrentRow(preselected_);
    else
      ok_->setEnabled(row >= 0);
  });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    list_->setCurrentItem(item);
    Take();
  });
  connect(ok_, &QPushButton::clicked, this, [this] { Take(); });
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(help_, &QPushButton::clicked, this, [this] {
    if (openHelp_) openHelp_(HelpTopic());
  });
  list_->installEventFilter(this);
  list_->viewport()->installEventFilter(this);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* button : {ok_, cancel_, help_}) buttons->addWidget(button);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addLayout(buttons);
  resize(420, 300);
}

void TAssotForm::Fill(const std::vector<TRow>& rows) {
  rows_ = rows;
  chosen_ = -1;
  list_->clear();
  for (const TRow& row : rows_) list_->addItem(ToQString(row.Name) + ".");
}

int TAssotForm::Choose(const std::vector<TRow>& rows) {
  preselected_ = -1;
  Fill(rows);
  list_->setCurrentRow(-1);
  ok_->setEnabled(false);
  cancel_->setEnabled(true);
  help_->setEnabled(true);
  // Focus on the list would make its first row current: a choice the user did not make.
  cancel_->setFocus();
  return exec() == QDialog::Accepted ? chosen_ : -1;
}

int TAssotForm::Confirm(const std::vector<TRow>& rows, int preselected) {
  Fill(rows);
  preselected_ = -1;
  list_->setCurrentRow(preselected);
  preselected_ = preselected;
  ok_->setEnabled(true);
  cancel_->setEnabled(false);
  help_->setEnabled(false);
  ok_->setFocus();
  const int result = exec() == QDialog::Accepted ? chosen_ : -1;
  preselected_ = -1;
  return result;
}

int TAssotForm::HelpTopic() const {
  const int row = list_->currentRow();
  if (row < 0 || row >= static_cast<int>(rows_.size()) || rows_[row].HelpTopic < 0) return kDefaultHelp;
  return rows_[row].HelpTopic;
}

void TAssotForm::Take() {
  if (!ok_->isEnabled() || list_->currentRow() < 0) return;
  chosen_ = list_->currentRow();
  accept();
}

void TAssotForm::keyPressEvent(QKeyEvent* event) {
  if (preselected_ >= 0) {  // in a demonstration any key goes on
    Take();
    return;
  }
  switch (event->key()) {
    case Qt::Key_F1:
      if (openHelp_) openHelp_(HelpTopic());
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      Take();
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

bool TAssotForm::eventFilter(QObject* watched, QEvent* event) {
  if (preselected_ >= 0 && watched == list_ && event->type() == QEvent::KeyPress) {
    Take();
    return true;
  }
  // In a demonstration a click on the preselected row chooses it.
  if (preselected_ >= 0 && watched == list_->viewport() && event->type() == QEvent::MouseButtonRelease) {
    const QListWidgetItem* item = list_->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint());
    if (item != nullptr && list_->row(item) == preselected_) Take();
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace lemmix
